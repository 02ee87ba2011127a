#include "conversion/adif_writer.h"

#include <string.h>

#include "common/text.h"
#include "conversion/qsl_checks.h"
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

// The text and length of a column, empty for none.
inline const char* textOf(const CsvFields& fields, int8_t column) {
    return column == kNoColumn ? "" : fields.column[column];
}
inline size_t lengthOf(const CsvFields& fields, int8_t column) {
    return column == kNoColumn ? 0 : fields.length[column];
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

// The local time now, shifted by the time difference as the header states it.
QsoTimestamp shifted(const LocalTime& now, int32_t timeZone) {
    QsoTimestamp t = {now.year, now.month, now.day, now.hour, now.minute, 0, 0};
    applyTimeDifference(t, timeZone);
    return t;
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

void columnName(int8_t column, char (&name)[3]) {
    const int c = column + 1;
    name[0] = static_cast<char>(c > 26 ? 'A' + c / 26 - 1 : 'A' + c - 1);
    name[1] = c > 26 ? static_cast<char>('A' + c % 26 - 1) : '\0';
    name[2] = '\0';
}

int64_t writeHeader(AdifOutput& out, const ConversionSettings& settings) {
    const LocalTime now = currentLocalTime();
    const QsoTimestamp t = shifted(now, settings.timeZone);
    if (!reserve(out)) return t.date;

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

void planRecord(RecordPlan& plan, const ConversionSettings& s, bool decimalComma) {
    plan.time.year = columnIndex(s.columnYear);
    plan.time.month = columnIndex(s.columnMonth);
    plan.time.day = columnIndex(s.columnDay);
    plan.time.hour = columnIndex(s.columnHour);
    plan.time.minute = columnIndex(s.columnMinute);
    plan.time.timeZone = s.timeZone;
    planQsoTime(plan.time);
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
    plan.decimalComma = decimalComma;
    plan.latestDate = calendarDayAfter(shifted(currentLocalTime(), s.timeZone).date);
}

unsigned writeRecord(AdifOutput& out, const RecordPlan& plan, const CsvFields& fields) {
    if (!reserve(out)) return 0;

    QsoTimestamp t;
    unsigned faults = readQsoTime(t, plan.time, fields);
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
    QslItems qsl = {textOf(fields, plan.callsign),
                    lengthOf(fields, plan.callsign),
                    (faults & kRecordBadDate) == 0 ? t.date : 0,
                    textOf(fields, plan.band),
                    lengthOf(fields, plan.band),
                    nullptr,
                    0};
    char mhz[400];
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
            qsl.freq = value;
            qsl.freqLength = length;
        } else {
            const size_t written = megahertzFromKilohertz(text, length, plan.decimalComma, mhz);
            p = VANTREL_ITEM(p, "FREQ", mhz, written);
            qsl.freq = mhz;
            qsl.freqLength = length == 0 ? 0 : written;  // no frequency given: none to check
        }
    }
    faults |= qslFaults(qsl, plan.latestDate);
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
