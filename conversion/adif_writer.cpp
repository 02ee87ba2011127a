#include "conversion/adif_writer.h"

#include <string.h>

#include "common/text.h"
#include "platform/platform.h"

void flushAdifOutput(AdifOutput& out) {
    if (out.used == 0 || out.file == nullptr) return;
    if (!out.failed && !writeFileBlock(out.file, out.buffer, out.used)) out.failed = true;
    out.used = 0;
}

namespace {

// Makes room for `bytes` more. Without a file to drain into, a full buffer
// marks the output failed rather than writing past its end.
bool reserve(AdifOutput& out, size_t bytes) {
    if (out.capacity - out.used >= bytes) return true;
    flushAdifOutput(out);
    if (out.capacity - out.used >= bytes) return true;
    out.failed = true;
    return false;
}

// Appends raw bytes; reserve() has made sure they fit.
inline char* put(char* p, const char* bytes, size_t n) {
    memcpy(p, bytes, n);
    return p + n;
}

// One data item on a line of its own: <NAME:n>value CR LF, n the value's
// length in bytes.
// The head and a short value are copied with fixed-size moves, which may
// write past the item's end into room reserved as kRecordSlack.
inline char* putItem(char* p, const RecordItem& item) {
    if (item.nameLength <= 14) {  // "<NAME:" in 16 bytes, as most are
        memcpy(p, item.name - 1, 16);
    } else {
        memcpy(p, item.name - 1, kItemHeadBytes);
    }
    p += item.nameLength + 2;
    const size_t n = item.length;
    if (n < 10) {  // the usual lengths, without the general formatter
        *p++ = static_cast<char>('0' + n);
    } else if (n < 100) {
        *p++ = static_cast<char>('0' + n / 10);
        *p++ = static_cast<char>('0' + n % 10);
    } else {
        p += formatInt(p, static_cast<int64_t>(n), 0, ' ');
    }
    *p++ = '>';
    if (n <= 16 && (item.flags & kItemPadded)) {
        memcpy(p, item.value, 16);
        p += n;
    } else {
        p = put(p, item.value, n);
    }
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

}  // namespace

int64_t writeHeader(AdifOutput& out, const ConversionSettings& settings) {
    const LocalTime now = currentLocalTime();
    const QsoTimestamp t = shiftedNow(now, settings.timeZone);
    if (!reserve(out, kMaxAdifHeaderBytes)) return t.date;

    char* p = out.buffer + out.used;
    static const char kGenerated[] = "Generated on ";
    p = put(p, kGenerated, sizeof kGenerated - 1);
    p += formatInt(p, t.year, 4, ' ');
    *p++ = '-';
    p += formatInt(p, t.month, 2, '0');
    *p++ = '-';
    p += formatInt(p, t.day, 2, '0');
    static const char kAt[] = " at ";
    p = put(p, kAt, sizeof kAt - 1);
    p += formatInt(p, t.hour, 2, '0');
    *p++ = ':';
    p += formatInt(p, t.minute, 2, '0');
    *p++ = ':';
    p += formatInt(p, now.second, 2, '0');
    static const char kBy[] = "Z by Vantrel for ";
    p = put(p, kBy, sizeof kBy - 1);
    char callsign[kCallsignCapacity];
    copyText(callsign, settings.myCallsign, isLeadByte);
    p = put(p, callsign, strlen(callsign));
    static const char kRest[] = "\r\n<ADIF_VER:5>3.0.0\r\n<EOH>\r\n";
    p = put(p, kRest, sizeof kRest - 1);
    out.used = static_cast<size_t>(p - out.buffer);
    return t.date;
}

void writeRecord(AdifOutput& out, const QsoRecord& record) {
    if (!reserve(out, record.mostBytes + kRecordSlack)) return;
    char* p = out.buffer + out.used;
    for (size_t i = 0; i < record.count; ++i)
        p = putItem(p, record.items[i]);
    static const char kEor[] = "<EOR>\r\n";
    p = put(p, kEor, sizeof kEor - 1);
    out.used = static_cast<size_t>(p - out.buffer);
}
