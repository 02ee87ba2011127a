#include "conversion/output_path.h"

#include <string.h>

#include "platform/platform.h"

namespace {

// Where the extension of path starts (its '.'), or null when it has none. A
// double-byte character counts as one unit, so its trail byte never splits.
const char* extensionOf(const char* path, size_t length) {
    const char* dot = nullptr;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* const end = p + length;
    if (length >= 2 && p[1] == ':') p += 2;  // the drive
    while (p < end) {
        if (isLeadByte(*p) && p + 1 < end) {
            p += 2;
            continue;
        }
        if (*p == '\\' || *p == '/')
            dot = nullptr;
        else if (*p == '.')
            dot = reinterpret_cast<const char*>(p);
        ++p;
    }
    return dot;
}

}  // namespace

bool outputPathFor(const char* csvPath, char (&out)[kPathCapacity]) {
    const char* dot = extensionOf(csvPath, strlen(csvPath));
    size_t stem = dot != nullptr ? static_cast<size_t>(dot - csvPath) : strlen(csvPath);
    static const char kAdi[] = ".adi";
    if (stem + sizeof kAdi > sizeof out) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, csvPath, stem);
    memcpy(out + stem, kAdi, sizeof kAdi);
    return true;
}

bool hasAdiExtension(const char* csvPath) {
    // Windows ignores trailing blanks and dots of a file name, so "log.adi. "
    // names log.adi as well.
    size_t length = strlen(csvPath);
    while (length > 0 && (csvPath[length - 1] == ' ' || csvPath[length - 1] == '.'))
        --length;
    const char* dot = extensionOf(csvPath, length);
    if (dot == nullptr || csvPath + length - dot != 4) return false;
    return (dot[1] | 0x20) == 'a' && (dot[2] | 0x20) == 'd' && (dot[3] | 0x20) == 'i';
}
