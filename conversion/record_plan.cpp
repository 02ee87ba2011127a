#include "conversion/record_plan.h"

#include <string.h>

#include "platform/platform.h"

namespace {

inline int letterValue(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    return 0;
}

// The distinct columns among parts (kNoColumn counts as none).
template <size_t N>
uint8_t distinctColumns(const int8_t (&parts)[N], int8_t (&columns)[N]) {
    uint8_t n = 0;
    for (int8_t column : parts) {
        bool seen = column == kNoColumn;
        for (uint8_t k = 0; k < n; ++k)
            seen = seen || columns[k] == column;
        if (!seen) columns[n++] = column;
    }
    return n;
}

// The most bytes an item takes: "<", its name, ":", up to 3 digits, ">",
// its value and CR LF; a column's value is at most 255 bytes, a date or time
// at most 20, a frequency made from kHz at most 400.
constexpr size_t itemBytes(size_t nameLength, size_t valueBytes) {
    return 7 + nameLength + valueBytes;
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

int8_t columnIndex(ColumnDesignator designator) {
    const int column = resolveColumn(designator);
    if (column < 1 || column > static_cast<int>(kCsvColumns)) return kNoColumn;
    return static_cast<int8_t>(column - 1);
}

void columnName(int8_t column, char (&name)[3]) {
    const int c = column + 1;
    name[0] = static_cast<char>(c > 26 ? 'A' + c / 26 - 1 : 'A' + c - 1);
    name[1] = c > 26 ? static_cast<char>('A' + c % 26 - 1) : '\0';
    name[2] = '\0';
}

QsoTimestamp shiftedNow(const LocalTime& now, int32_t timeZone) {
    QsoTimestamp t = {now.year, now.month, now.day, now.hour, now.minute, 0, 0};
    applyTimeDifference(t, timeZone);
    return t;
}

void planRecord(RecordPlan& plan, const ConversionSettings& s, bool decimalComma) {
    plan.time.year = columnIndex(s.columnYear);
    plan.time.month = columnIndex(s.columnMonth);
    plan.time.day = columnIndex(s.columnDay);
    plan.time.hour = columnIndex(s.columnHour);
    plan.time.minute = columnIndex(s.columnMinute);
    plan.time.timeZone = s.timeZone;
    planQsoTime(plan.time);
    const int8_t dateParts[3] = {plan.time.year, plan.time.month, plan.time.day};
    const int8_t timeParts[3] = {
        plan.time.timeReading == kTimeAfterDate ? plan.time.year : plan.time.hour,
        plan.time.timeReading == kTimeAfterDate ? kNoColumn : plan.time.minute, kNoColumn};
    plan.dateColumnCount = distinctColumns(dateParts, plan.dateColumns);
    plan.timeColumnCount = distinctColumns(timeParts, plan.timeColumns);
    plan.callsign = columnIndex(s.columnCallsign);
    const int8_t rowParts[6] = {plan.callsign, plan.time.year, plan.time.month,
                                plan.time.day, plan.time.hour, plan.time.minute};
    plan.rowColumnCount = distinctColumns(rowParts, plan.rowColumns);
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
    plan.latestDate = calendarDayAfter(shiftedNow(currentLocalTime(), s.timeZone).date);
    // The form's items at their longest (QSLMSG as COMMENT), <EOR> CR LF,
    // and then the fields from columns of their own.
    size_t bytes = 7 + 3 * itemBytes(8, 400);                        // QSO_DATE, TIME_ON, FREQ
    static const size_t kNameLengths[] = {4, 4, 4, 8, 8, 13, 7, 6};  // CALL ... QSLMSG
    for (size_t nameLength : kNameLengths)
        bytes += itemBytes(nameLength, kCsvFieldCapacity - 1);
    plan.bandFromFreq = s.bandFromFreq == 1;
    plan.modeToAdif = s.modeToAdif == 1;
    bytes += itemBytes(7, kCsvFieldCapacity - 1);  // SUBMODE
    plan.fieldCount = 0;
    constexpr size_t kSubmode = columnFieldNamed("SUBMODE");
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        const int8_t column = columnIndex(s.fieldColumns[k]);
        const bool submode = k == kSubmode;
        if (column == kNoColumn && !submode) continue;
        const AdifField& field = columnField(k);
        PlannedField& planned = submode ? plan.submode : plan.fields[plan.fieldCount++];
        planned.head = itemHeadOf(field.name);
        planned.nameLength = static_cast<uint8_t>(strlen(field.name));
        planned.field = static_cast<uint8_t>(k);
        planned.column = column;
        planned.rule = adifValueRule(field);
        if (!submode) bytes += itemBytes(planned.nameLength, kCsvFieldCapacity - 1);
    }
    plan.recordBytes = bytes;
}
