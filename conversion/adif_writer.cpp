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

// The head of a data item, "<NAME:n>", n the value's length in bytes.
inline char* putItemHead(char* p, const char* name, size_t nameLength, size_t valueLength) {
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
    return p;
}

inline char* putLineEnd(char* p) {
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

// One data item on a line of its own: <NAME:n>value CR LF.
inline char* putItem(char* p, const char* name, size_t nameLength, const char* value,
                     size_t valueLength) {
    p = putItemHead(p, name, nameLength, valueLength);
    return putLineEnd(put(p, value, valueLength));
}
#define VANTREL_ITEM(p, name, value, length) putItem(p, name, sizeof(name) - 1, value, length)
// An item from a column.
#define VANTREL_COLUMN_ITEM(p, name, fields, index) \
    putItem(p, name, sizeof(name) - 1, (fields).column[index], (fields).length[index])
// An item always written: from its column, or empty when it has none.
#define VANTREL_ALWAYS_ITEM(p, name, fields, index)      \
    ((index) == kNoColumn ? VANTREL_ITEM(p, name, "", 0) \
                          : VANTREL_COLUMN_ITEM(p, name, fields, index))

inline int letterValue(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    return 0;
}

// The column index (0 to 31) a designator names, or kNoColumn: designators
// beyond AF count as none.
int8_t columnIndex(const char* designator) {
    const int column = resolveColumn(designator);
    if (column < 1 || column > static_cast<int>(kCsvColumns)) return kNoColumn;
    return static_cast<int8_t>(column - 1);
}

// The text of a column, or the empty text for none.
inline const char* textOf(const CsvFields& fields, int8_t column) {
    return column == kNoColumn ? "" : fields.column[column];
}

inline bool isLeapYear(int64_t year) {
    return year % 4 == 0;
}

int64_t monthLength(int64_t month, int64_t year) {
    if (month == 2) return isLeapYear(year) ? 29 : 28;
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    return 31;
}

// Whether a shifted timestamp is a date and time that exist: a year of four
// digits from 1900 to 2100, month 1 to 12, a day within its month (leap
// years as the calendar has them), 00:00 to 23:59.
unsigned timestampFaults(const QsoTimestamp& t) {
    unsigned faults = 0;
    const bool leap = t.year % 4 == 0 && (t.year % 100 != 0 || t.year % 400 == 0);
    const int64_t days = t.month == 2 ? (leap ? 29 : 28) : monthLength(t.month, t.year);
    if (t.year < 1900 || t.year > 2100 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > days)
        faults |= kRecordBadDate;
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59) faults |= kRecordBadTime;
    return faults;
}

// The FREQ value in MHz of a column in kHz: its number divided by 1000 with
// three decimals. In a file whose decimal mark is ',', a ',' reads as '.'.
size_t megahertzFromKilohertz(const char* text, size_t length, bool decimalComma,
                              char (&mhz)[400]) {
    char number[kCsvFieldCapacity];
    memcpy(number, text, length + 1);
    if (decimalComma) {
        for (size_t i = 0; i < length; ++i)
            if (number[i] == ',') number[i] = '.';
    }
    const int n = snprintf(mhz, sizeof mhz, "%.3f", parseLeadingNumber(number) / 1000.0);
    if (n < 0) return 0;
    return static_cast<size_t>(n) < sizeof mhz ? static_cast<size_t>(n) : sizeof mhz - 1;
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
    copyText(callsign, settings.myCallsign, isLeadByte);
    p = put(p, callsign, strlen(callsign));
    static const char kRest[] = "\r\n<ADIF_VER:5>3.0.0\r\n<EOH>\r\n";
    p = put(p, kRest, sizeof kRest - 1);
    out.used = static_cast<size_t>(p - out.buffer);
}

void planRecord(RecordPlan& plan, const ConversionSettings& s, bool decimalComma) {
    plan.year = columnIndex(s.columnYear);
    plan.month = columnIndex(s.columnMonth);
    plan.day = columnIndex(s.columnDay);
    plan.hour = columnIndex(s.columnHour);
    plan.minute = columnIndex(s.columnMinute);
    plan.callsign = columnIndex(s.columnCallsign);
    plan.band = columnIndex(s.columnBand);
    plan.mode = columnIndex(s.columnMode);
    plan.rstSent = columnIndex(s.columnRstSent);
    plan.comment = s.checkComment == 1 ? columnIndex(s.columnComment) : kNoColumn;
    // The optional items: none where their column is none or their switch off.
    plan.freq = columnIndex(s.columnFreq);
    plan.freqUnit = s.checkMhz == 1 ? kFreqMegahertz : s.checkKhz == 1 ? kFreqKilohertz : kFreqNone;
    if (plan.freqUnit == kFreqNone) plan.freq = kNoColumn;
    plan.rstRcvd = s.checkRstRcvd == 1 ? columnIndex(s.columnRstRcvd) : kNoColumn;
    plan.gl = s.checkMyGl == 1 ? columnIndex(s.columnGl) : kNoColumn;
    plan.timeZone = s.timeZone;
    plan.decimalComma = decimalComma;
}

unsigned writeRecord(AdifOutput& out, const RecordPlan& plan, const CsvFields& fields) {
    if (!reserve(out)) return 0;

    QsoTimestamp t = {parseLeadingInt(textOf(fields, plan.year)),
                      parseLeadingInt(textOf(fields, plan.month)),
                      parseLeadingInt(textOf(fields, plan.day)),
                      parseLeadingInt(textOf(fields, plan.hour)),
                      parseLeadingInt(textOf(fields, plan.minute)),
                      0,
                      0};
    applyTimeDifference(t, plan.timeZone);
    unsigned faults = timestampFaults(t);
    if (plan.callsign == kNoColumn || fields.length[plan.callsign] == 0)
        faults |= kRecordNoCallsign;

    char* p = out.buffer + out.used;
    p = VANTREL_ALWAYS_ITEM(p, "CALL", fields, plan.callsign);

    // QSO_DATE is printed blank-padded to 8 and TIME_ON zero-padded to 4; the
    // declared length is that of the printed value, 8 and 4 for normal dates.
    char number[32];
    size_t n = formatInt(number, t.date, 8, ' ');
    p = VANTREL_ITEM(p, "QSO_DATE", number, n);
    n = formatInt(number, t.time, 4, '0');
    p = VANTREL_ITEM(p, "TIME_ON", number, n);

    p = VANTREL_ALWAYS_ITEM(p, "BAND", fields, plan.band);
    if (plan.freq != kNoColumn) {
        const char* text = fields.column[plan.freq];
        const size_t length = fields.length[plan.freq];
        if (plan.freqUnit == kFreqMegahertz) {
            // The text as it is; in a file whose decimal mark is ',', with '.'.
            char* value = putItemHead(p, "FREQ", 4, length);
            p = putLineEnd(put(value, text, length));
            if (plan.decimalComma) {
                for (size_t k = 0; k < length; ++k)
                    if (value[k] == ',') value[k] = '.';
            }
        } else {
            char mhz[400];
            p = VANTREL_ITEM(p, "FREQ", mhz,
                             megahertzFromKilohertz(text, length, plan.decimalComma, mhz));
        }
    }
    p = VANTREL_ALWAYS_ITEM(p, "MODE", fields, plan.mode);
    p = VANTREL_ALWAYS_ITEM(p, "RST_SENT", fields, plan.rstSent);
    if (plan.rstRcvd != kNoColumn) p = VANTREL_COLUMN_ITEM(p, "RST_RCVD", fields, plan.rstRcvd);
    if (plan.gl != kNoColumn) p = VANTREL_COLUMN_ITEM(p, "MY_GRIDSQUARE", fields, plan.gl);
    if (plan.comment != kNoColumn && fields.length[plan.comment] != 0) {
        p = VANTREL_COLUMN_ITEM(p, "COMMENT", fields, plan.comment);
        p = VANTREL_COLUMN_ITEM(p, "QSLMSG", fields, plan.comment);
    }
    static const char kEor[] = "<EOR>\r\n";
    p = put(p, kEor, sizeof kEor - 1);
    out.used = static_cast<size_t>(p - out.buffer);
    return faults;
}

unsigned writeRecord(AdifOutput& out, const ConversionSettings& settings, const CsvFields& fields) {
    RecordPlan plan;
    planRecord(plan, settings, false);
    return writeRecord(out, plan, fields);
}
