#include "conversion/conversion_report.h"

#include <stdio.h>
#include <string.h>

#include "common/text.h"

namespace {

// Counts one more, stopping at the 32-bit limit (a file of billions of lines).
void tally(FaultTally& tally, int32_t line) {
    if (tally.count < static_cast<int32_t>(kReportedLines)) tally.lines[tally.count] = line;
    if (tally.count < INT32_MAX) ++tally.count;
}

// Room for one line of the report.
enum : size_t { kLineCapacity = 512 };

// A line of the report, made a piece at a time and cut where it is full.
struct Line {
    char text[kLineCapacity];
    size_t used;
};

void append(Line& line, const char* piece) {
    const size_t room = sizeof line.text - 1 - line.used;
    const size_t length = strlen(piece);
    const size_t n = length < room ? length : room;
    memcpy(line.text + line.used, piece, n);
    line.used += n;
    line.text[line.used] = '\0';
}

void appendNumber(Line& line, int32_t number) {
    char digits[24];
    digits[formatInt(digits, number, 0, ' ')] = '\0';
    append(line, digits);
}

// "CSV line 3" or "CSV lines 1, 2, 3, ...".
void appendLines(Line& line, const FaultTally& tally) {
    const int32_t shown = tally.count < static_cast<int32_t>(kReportedLines)
                              ? tally.count
                              : static_cast<int32_t>(kReportedLines);
    append(line, tally.count == 1 ? "CSV line" : "CSV lines");
    for (int32_t i = 0; i < shown; ++i) {
        append(line, i == 0 ? " " : ", ");
        appendNumber(line, tally.lines[i]);
    }
    if (tally.count > shown) append(line, ", ...");
}

}  // namespace

const FaultTally& tallyOf(const ConversionReport& report, unsigned bit) {
    size_t k = 0;
    while (k + 1 < kRecordFaultKindCount && kRecordFaultKinds[k].bit != bit)
        ++k;
    return report.kinds[k];
}

void noteRowNotWritten(ConversionReport& report, int32_t line) {
    tally(report.rowsNotWritten, line);
}

void noteRecord(ConversionReport& report, const QsoRecord& record, int32_t line, bool emptyLine) {
    if (record.notAscii) {
        if (report.notAsciiRecords < INT32_MAX) ++report.notAsciiRecords;
        for (size_t i = 0; i < record.count; ++i) {
            if (record.items[i].flags & kItemNotAscii)
                report.notAsciiItems[record.items[i].id] = true;
        }
    }
    const unsigned faults = record.faults;
    if (faults & kRecordSystemDateOrder) report.dateOrderFromSystem = true;
    if ((faults & kRecordUtcTime) && report.utcTimes < INT32_MAX) ++report.utcTimes;
    if ((faults & kRecordFrequencyFigure) && report.frequencyFigures < INT32_MAX)
        ++report.frequencyFigures;
    if ((faults & kRecordFaults) == 0) return;
    tally(report.faulty, line);
    for (size_t k = 0; k < kRecordFaultKindCount; ++k) {
        if (faults & kRecordFaultKinds[k].bit) tally(report.kinds[k], line);
    }
    if (faults & kRecordFieldRefused) {
        for (size_t i = 0; i < record.count; ++i) {
            const RecordItem& item = record.items[i];
            if (item.flags & kItemRefused)
                tally(report.refusedFields[item.id - kFirstFieldItem], line);
        }
    }
    if (line == 1 || emptyLine) report.titleOrEmptyAmongThem = true;
}

void forEachReportLine(const ConversionReport& report, ReportSink sink, void* context) {
    const LogbookFormat& format = report.format;
    if (format.skip != 0)
        sink(context, kReportNote, "skipped the UTF-8 byte order mark at its start");
    if (format.terminator == '\r') sink(context, kReportNote, "read with lines ended by CR alone");
    if (format.separator == ';') sink(context, kReportNote, "read as ';'-separated");
    if (format.separator == '\t') sink(context, kReportNote, "read as TAB-separated");
    if (report.titleRowNotWritten) sink(context, kReportNote, "line 1 is a title row: not written");
    if (report.rowsNotWritten.count > 0) {
        Line note = {{0}, 0};
        appendNumber(note, report.rowsNotWritten.count);
        append(note, report.rowsNotWritten.count == 1 ? " row" : " rows");
        append(note, " without callsign, date or time not written: ");
        appendLines(note, report.rowsNotWritten);
        sink(context, kReportNote, note.text);
    }
    char line[kLineCapacity];
    if (report.dateOrderFromSystem) {
        snprintf(line, sizeof line,
                 "read dates such as 3/5/2024 as %s, the order of the system's short date format "
                 "(no date among the file's first lines has a day above 12)",
                 report.dateOrder == kDayFirst ? "3 May 2024 (day/month/year)"
                                               : "5 March 2024 (month/day/year)");
        sink(context, kReportNote, line);
    }
    const DateExample& shortYear = report.twoDigitYear;
    if (shortYear.text[0] != '\0') {
        snprintf(line, sizeof line,
                 "read %s as %04d-%02d-%02d: two-digit years 00 to 29 are 2000 to 2029, 30 to 99 "
                 "are 1930 to 1999",
                 shortYear.text, static_cast<int>(shortYear.year),
                 static_cast<int>(shortYear.month), static_cast<int>(shortYear.day));
        sink(context, kReportNote, line);
    }
    if (report.utcTimes > 0) {
        const bool one = report.utcTimes == 1;
        snprintf(line, sizeof line,
                 "%d record%s had %s marked as UTC (U, Z, UTC or GMT): not shifted by the time "
                 "difference",
                 static_cast<int>(report.utcTimes), one ? "" : "s", one ? "a time" : "times");
        sink(context, kReportNote, line);
    }
    if (report.frequencyFigures > 0) {
        snprintf(line, sizeof line,
                 "%d record%s a band figure such as 7 or 430 in the frequency column: written as "
                 "BAND, without FREQ",
                 static_cast<int>(report.frequencyFigures),
                 report.frequencyFigures == 1 ? " has" : "s have");
        sink(context, kReportNote, line);
    }
    if (report.notAsciiRecords > 0) {
        // QSLMSG repeats COMMENT: named once.
        Line note = {{0}, 0};
        appendNumber(note, report.notAsciiRecords);
        append(note, report.notAsciiRecords == 1 ? " record holds" : " records hold");
        append(note, " text outside ASCII in ");
        const char* separator = "";
        for (uint16_t id = 0; id < kItemIdCount; ++id) {
            if (!report.notAsciiItems[id] || id == kItemQslMessage) continue;
            append(note, separator);
            append(note, recordItemName(id));
            separator = ", ";
        }
        append(note, ": ADIF files are ASCII, so programs that read them as such show it garbled");
        sink(context, kReportNote, note.text);
    }
    if (report.wholeDatesColumn[0] != '\0') {
        snprintf(line, sizeof line,
                 "column %s holds whole dates such as %s: name it for year, month and day",
                 report.wholeDatesColumn, report.wholeDateExample);
        sink(context, kReportWarning, line);
    }
    if (report.wholeTimesColumn[0] != '\0') {
        snprintf(line, sizeof line,
                 "column %s holds whole times such as %s: name it for hour and minute",
                 report.wholeTimesColumn, report.wholeTimeExample);
        sink(context, kReportWarning, line);
    }
    if (report.faulty.count == 0) return;
    Line summary = {{0}, 0};
    appendNumber(summary, report.faulty.count);
    append(summary, " of ");
    appendNumber(summary, report.records);
    append(summary, " records look wrong; ");
    appendLines(summary, report.faulty);
    if (report.titleOrEmptyAmongThem) append(summary, " (a title row or an empty line?)");
    sink(context, kReportWarning, summary.text);
    for (size_t k = 0; k < kRecordFaultKindCount; ++k) {
        const FaultTally& kind = report.kinds[k];
        if (kind.count == 0) continue;
        Line detail = {{0}, 0};
        appendNumber(detail, kind.count);
        append(detail, " ");
        append(detail, kRecordFaultKinds[k].what);
        append(detail, ": ");
        appendLines(detail, kind);
        sink(context, kReportDetail, detail.text);
    }
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        const FaultTally& field = report.refusedFields[k];
        if (field.count == 0) continue;
        const AdifValueRuleText& rule = adifValueRuleText(adifValueRule(columnField(k)));
        Line detail = {{0}, 0};
        appendNumber(detail, field.count);
        append(detail, " with a ");
        append(detail, columnField(k).name);
        append(detail, " that is no ADIF ");
        append(detail, rule.type);
        append(detail, " (");
        append(detail, rule.takes);
        append(detail, "): ");
        appendLines(detail, field);
        sink(context, kReportDetail, detail.text);
    }
}

namespace {

struct WindowText {
    char* text;
    size_t capacity;
    size_t used;
    int32_t notes, warnings;
};

void addWindowLine(void* context, ReportLevel level, const char* line) {
    WindowText& out = *static_cast<WindowText*>(context);
    if (level == kReportNote) ++out.notes;
    if (level == kReportWarning) ++out.warnings;
    static const char* const kLead[] = {"", "Warning: ", "    "};
    char whole[kLineCapacity + 16];
    joinText(whole, sizeof whole, kLead[level], line);
    const size_t length = strlen(whole);
    if (out.used + length + 3 > out.capacity) return;  // the whole line, CR LF and NUL
    memcpy(out.text + out.used, whole, length);
    memcpy(out.text + out.used + length, "\r\n", 3);
    out.used += length + 2;
}

}  // namespace

void formatReportText(const ConversionReport& report, char* text, size_t capacity, int32_t& notes,
                      int32_t& warnings) {
    WindowText out = {text, capacity, 0, 0, 0};
    if (capacity > 0) text[0] = '\0';
    forEachReportLine(report, addWindowLine, &out);
    notes = out.notes;
    warnings = out.warnings;
}

void formatReportCounts(int32_t notes, int32_t warnings, char (&out)[64]) {
    int n = 0;
    out[0] = '\0';
    if (warnings > 0)
        n = snprintf(out, sizeof out, "%d warning%s", static_cast<int>(warnings),
                     warnings == 1 ? "" : "s");
    if (notes > 0)
        snprintf(out + n, sizeof out - static_cast<size_t>(n), "%s%d note%s", n > 0 ? ", " : "",
                 static_cast<int>(notes), notes == 1 ? "" : "s");
}

void publishReport(ReportText& shown, const ConversionReport& report) {
    std::lock_guard<std::mutex> guard(shown.lock);
    formatReportText(report, shown.text, sizeof shown.text, shown.notes, shown.warnings);
}

void clearReport(ReportText& shown) {
    std::lock_guard<std::mutex> guard(shown.lock);
    shown.text[0] = '\0';
    shown.notes = shown.warnings = 0;
}

void readReport(ReportText& shown, char* text, size_t capacity, int32_t& notes, int32_t& warnings) {
    std::lock_guard<std::mutex> guard(shown.lock);
    if (capacity > 0) copyText(text, capacity, shown.text);
    notes = shown.notes;
    warnings = shown.warnings;
}
