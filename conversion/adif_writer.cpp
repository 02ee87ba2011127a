#include "conversion/adif_writer.h"

#include <string.h>

#include "common/text.h"
#include "conversion/conversion_job.h"
#include "platform/platform.h"

void flushAdifOutput(AdifOutput& out) {
    if (out.used == 0 || out.file == nullptr) return;
    if (!out.failed && fwrite(out.buffer, 1, out.used, out.file) != out.used) out.failed = true;
    out.used = 0;
}

namespace {

// Makes room for one header or record. Without a file to drain into, a full
// buffer marks the output failed rather than writing past its end.
bool reserve(AdifOutput& out) {
    if (out.capacity - out.used >= kMaxAdifRecordBytes) return true;
    flushAdifOutput(out);
    if (out.capacity - out.used >= kMaxAdifRecordBytes) return true;
    out.failed = true;
    return false;
}

// Appends raw bytes; reserve() has made sure they fit.
inline char* put(char* p, const char* bytes, size_t n) {
    memcpy(p, bytes, n);
    return p + n;
}

// One data item on a line of its own: <NAME:n>value CR LF, n the value's bytes.
inline char* putItem(char* p, const char* name, size_t nameLength, const char* value,
                     size_t valueLength) {
    *p++ = '<';
    p = put(p, name, nameLength);
    *p++ = ':';
    if (valueLength < 10) {  // the usual lengths, without the general formatter
        *p++ = static_cast<char>('0' + valueLength);
    } else if (valueLength < 100) {
        *p++ = static_cast<char>('0' + valueLength / 10);
        *p++ = static_cast<char>('0' + valueLength % 10);
    } else {
        p += formatInt(p, static_cast<int64_t>(valueLength), 0, ' ');
    }
    *p++ = '>';
    p = put(p, value, valueLength);
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

#define VANTREL_ITEM(p, name, value, length) putItem(p, name, sizeof(name) - 1, value, length)

inline int letterValue(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    return 0;
}

// The text of the column a designator names, or null when it names none of
// the 32 columns (designators beyond AF count as none).
inline const char* columnText(const CsvFields& fields, const char* designator) {
    int column = resolveColumn(designator);
    if (column < 1 || column > static_cast<int>(kCsvColumns)) return nullptr;
    return fields.column[column - 1];
}

// A column's text, or an empty column for none (a whole slot, so that every
// text handed to slotLength is slot-sized).
const char kEmptyColumn[kCsvFieldCapacity] = {};
inline const char* textOrEmpty(const char* text) {
    return text != nullptr ? text : kEmptyColumn;
}

// Length of a column's text, never looking past its slot. Columns are short:
// the NUL is looked for eight bytes at a time (a slot is a whole number of
// words long).
inline size_t slotLength(const char* text) {
    for (size_t n = 0; n < kCsvFieldCapacity; n += 8) {
        uint64_t word;
        memcpy(&word, text + n, 8);
        uint64_t nul = bytesEqualTo(word, 0);
        if (nul != 0) return n + lowestFlaggedByte(nul);
    }
    return kCsvFieldCapacity;
}

inline int64_t columnNumber(const CsvFields& fields, const char* designator) {
    return parseLeadingInt(textOrEmpty(columnText(fields, designator)));
}

inline bool isLeapYear(int64_t year) {
    return year % 4 == 0;
}

int64_t monthLength(int64_t month, int64_t year) {
    if (month == 2) return isLeapYear(year) ? 29 : 28;
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    return 31;
}

}  // namespace

int resolveColumn(ColumnDesignator designator) {
    const unsigned char* d = reinterpret_cast<const unsigned char*>(designator);
    int first = letterValue(d[0]);
    if (first == 0) return 0;
    if (d[1] == '\0') return first;
    int second = letterValue(d[1]);
    if (second == 0) return 0;
    return first * 26 + second;
}

void applyTimeDifference(QsoTimestamp& t, int32_t timeZone) {
    t.hour -= timeZone;
    if (t.hour < 0) {
        t.hour += 24;
        t.day -= 1;
        if (t.day < 1) {
            t.month -= 1;
            if (t.month < 1) {
                t.year -= 1;
                t.month = 12;
            }
            t.day = monthLength(t.month, t.year);
        }
    }
    if (t.hour > 23) {
        t.hour -= 24;
        t.day += 1;
        switch (t.day) {
            case 29:
                if (t.month == 2 && !isLeapYear(t.year)) {
                    t.month = 3;
                    t.day = 1;
                }
                break;
            case 30:
                if (t.month == 2) {
                    t.month = 3;
                    t.day = 1;
                }
                break;
            case 31:
                if (t.month == 4 || t.month == 6 || t.month == 9 || t.month == 11) {
                    t.month += 1;
                    t.day = 1;
                }
                break;
            case 32:
                t.month += 1;
                t.day = 1;
                if (t.month > 12) {
                    t.year += 1;
                    t.month = 1;
                }
                break;
            default:
                break;
        }
    }
    t.date = (t.year * 100 + t.month) * 100 + t.day;
    t.time = t.hour * 100 + t.minute;
}

void writeHeader(AdifOutput& out, const ConversionSettings& settings) {
    if (!reserve(out)) return;
    LocalTime now = currentLocalTime();
    QsoTimestamp t = {now.year, now.month, now.day, now.hour, now.minute, 0, 0};
    applyTimeDifference(t, settings.timeZone);

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
    copyText(callsign, settings.myCallsign);
    p = put(p, callsign, strlen(callsign));
    static const char kRest[] = "\r\n<ADIF_VER:5>3.0.0\r\n<EOH>\r\n";
    p = put(p, kRest, sizeof kRest - 1);
    out.used = static_cast<size_t>(p - out.buffer);
}

void writeRecord(AdifOutput& out, const ConversionSettings& settings, const CsvFields& fields) {
    if (!reserve(out)) return;

    QsoTimestamp t = {columnNumber(fields, settings.columnYear),
                      columnNumber(fields, settings.columnMonth),
                      columnNumber(fields, settings.columnDay),
                      columnNumber(fields, settings.columnHour),
                      columnNumber(fields, settings.columnMinute),
                      0,
                      0};
    applyTimeDifference(t, settings.timeZone);

    char* p = out.buffer + out.used;
    const char* text = textOrEmpty(columnText(fields, settings.columnCallsign));
    p = VANTREL_ITEM(p, "CALL", text, slotLength(text));

    // QSO_DATE is printed blank-padded to 8 and TIME_ON zero-padded to 4; the
    // declared length is that of the printed value, 8 and 4 for normal dates.
    char number[32];
    size_t n = formatInt(number, t.date, 8, ' ');
    p = VANTREL_ITEM(p, "QSO_DATE", number, n);
    n = formatInt(number, t.time, 4, '0');
    p = VANTREL_ITEM(p, "TIME_ON", number, n);

    text = textOrEmpty(columnText(fields, settings.columnBand));
    p = VANTREL_ITEM(p, "BAND", text, slotLength(text));

    const char* freq = columnText(fields, settings.columnFreq);
    if (freq != nullptr) {
        if (settings.checkMhz == 1) {
            p = VANTREL_ITEM(p, "FREQ", freq, slotLength(freq));
        } else if (settings.checkKhz == 1) {
            char mhz[400];
            int len = snprintf(mhz, sizeof mhz, "%.3f", parseLeadingNumber(freq) / 1000.0);
            size_t length =
                len < 0 ? 0
                        : (static_cast<size_t>(len) >= sizeof mhz ? sizeof mhz - 1
                                                                  : static_cast<size_t>(len));
            p = VANTREL_ITEM(p, "FREQ", mhz, length);
        }
    }

    text = textOrEmpty(columnText(fields, settings.columnMode));
    p = VANTREL_ITEM(p, "MODE", text, slotLength(text));
    text = textOrEmpty(columnText(fields, settings.columnRstSent));
    p = VANTREL_ITEM(p, "RST_SENT", text, slotLength(text));

    text = columnText(fields, settings.columnRstRcvd);
    if (text != nullptr && settings.checkRstRcvd == 1) {
        p = VANTREL_ITEM(p, "RST_RCVD", text, slotLength(text));
    }
    text = columnText(fields, settings.columnGl);
    if (text != nullptr && settings.checkMyGl == 1) {
        p = VANTREL_ITEM(p, "MY_GRIDSQUARE", text, slotLength(text));
    }
    text = textOrEmpty(columnText(fields, settings.columnComment));
    if (text[0] != '\0' && settings.checkComment == 1) {
        size_t length = slotLength(text);
        p = VANTREL_ITEM(p, "COMMENT", text, length);
        p = VANTREL_ITEM(p, "QSLMSG", text, length);
    }
    static const char kEor[] = "<EOR>\r\n";
    p = put(p, kEor, sizeof kEor - 1);
    out.used = static_cast<size_t>(p - out.buffer);
}
