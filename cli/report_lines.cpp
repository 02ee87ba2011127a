#include "cli/report_lines.h"

#include <string>

void printFormatNotes(FILE* to, const char* path, const LogbookFormat& format) {
    if (format.skip != 0) fprintf(to, "%s: skipped the UTF-8 byte order mark at its start\n", path);
    if (format.terminator == '\r') fprintf(to, "%s: read with lines ended by CR alone\n", path);
    if (format.separator == ';') fprintf(to, "%s: read as ';'-separated\n", path);
    if (format.separator == '\t') fprintf(to, "%s: read as TAB-separated\n", path);
}

void printDateNotes(FILE* to, const char* path, const ConversionReport& report) {
    if (report.dateOrderFromSystem)
        fprintf(to,
                "%s: read dates such as 3/5/2024 as %s, the order of the system's short date "
                "format (no date among the file's first lines has a day above 12)\n",
                path,
                report.dateOrder == kDayFirst ? "3 May 2024 (day/month/year)"
                                              : "5 March 2024 (month/day/year)");
    if (report.wholeDatesColumn[0] != '\0')
        fprintf(to,
                "%s: warning: column %s holds whole dates such as %s: name it for year, month "
                "and day\n",
                path, report.wholeDatesColumn, report.wholeDateExample);
    if (report.wholeTimesColumn[0] != '\0')
        fprintf(to,
                "%s: warning: column %s holds whole times such as %s: name it for hour and "
                "minute\n",
                path, report.wholeTimesColumn, report.wholeTimeExample);
}

void printRecordWarning(FILE* to, const char* path, const ConversionReport& report) {
    if (report.faulty == 0) return;
    std::string why;
    const struct {
        int32_t count;
        const char* what;
    } kinds[] = {
        {report.noCallsign, "without a callsign"},
        {report.badDate, "with a date that is no calendar date (1900 to 2100)"},
        {report.twoDigitYear, "with a two-digit year"},
        {report.badTime, "with a time outside 00:00 to 23:59"},
        {report.dateNumber,
         "with a spreadsheet's date number: format the column as a date before saving"},
    };
    for (const auto& kind : kinds) {
        if (kind.count == 0) continue;
        why += (why.empty() ? "" : ", ") + std::to_string(kind.count) + " " + kind.what;
    }
    std::string lines;
    const int32_t shown = report.faulty < static_cast<int32_t>(kReportedLines)
                              ? report.faulty
                              : static_cast<int32_t>(kReportedLines);
    for (int32_t i = 0; i < shown; ++i)
        lines += (i == 0 ? "" : ", ") + std::to_string(report.faultyLines[i]);
    if (report.faulty > shown) lines += ", ...";
    fprintf(to, "%s: warning: %d of %d records look wrong: %s; CSV line%s %s%s\n", path,
            static_cast<int>(report.faulty), static_cast<int>(report.records), why.c_str(),
            report.faulty == 1 ? "" : "s", lines.c_str(),
            report.titleOrEmptyAmongThem ? " (a title row or an empty line?)" : "");
}
