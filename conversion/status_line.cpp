#include "conversion/status_line.h"

#include <string.h>

#include "common/text.h"
#include "platform/platform.h"

namespace {

// Room for the program's own count texts: the longest words and a 32-bit count.
enum : size_t { kCountTextCapacity = 64 };

// before + count + after, NUL-terminated, into kCountTextCapacity bytes.
void formatCountText(char (&out)[kCountTextCapacity], const char* before, int32_t count,
                     const char* after) {
    char digits[24];
    digits[formatInt(digits, count, 0, ' ')] = '\0';
    copyText(out, before);
    const size_t n = strlen(out);
    joinText(out + n, sizeof out - n, digits, after);
}

// Raising an already raised bit changes nothing, so the common case (the user
// interface has not yet taken the last change) costs only a load.
inline void raiseStatusChanged(RequestFlags& flags) {
    if (!isFlagSet(flags, StatusChanged)) raiseFlag(flags, StatusChanged);
}

}  // namespace

void publishStatus(StatusText& status, RequestFlags& flags, const char* text) {
    {
        std::lock_guard<std::mutex> guard(status.lock);
        copyText(status.text, text);
        status.convertedCount.store(-1, std::memory_order_release);
    }
    raiseFlag(flags, StatusChanged);
}

void publishConvertedCount(StatusText& status, RequestFlags& flags, int32_t count) {
    status.convertedCount.store(count, std::memory_order_release);
    raiseStatusChanged(flags);
}

void publishFinished(StatusText& status, RequestFlags& flags, int32_t count) {
    char finished[kCountTextCapacity];
    formatCountText(finished, "Finished ", count, " QSOs conversion");
    const LocalTime now = currentLocalTime();
    char text[kStatusTextCapacity];
    size_t n = formatInt(text, now.hour, 2, '0');
    text[n++] = ':';
    n += formatInt(text + n, now.minute, 2, '0');
    text[n++] = ':';
    n += formatInt(text + n, now.second, 2, '0');
    text[n] = '\0';
    joinText(text + n, sizeof text - n, "   ", finished);
    publishStatus(status, flags, text);
}

void clearStatus(StatusText& status) {
    std::lock_guard<std::mutex> guard(status.lock);
    status.text[0] = '\0';
    status.convertedCount.store(-1, std::memory_order_release);
}

void readStatusText(StatusText& status, char* out, size_t cap) {
    if (cap == 0) return;
    std::lock_guard<std::mutex> guard(status.lock);
    const int32_t count = status.convertedCount.load(std::memory_order_acquire);
    if (count < 0) {
        copyText(out, cap, status.text);
        return;
    }
    char text[kCountTextCapacity];
    formatCountText(text, "Converted  ", count, " QSOs");
    copyText(out, cap, text);
}
