#include "cli/report_lines.h"

namespace {

struct Printing {
    FILE* to;
    const char* path;
};

void printLine(void* context, ReportLevel level, const char* text) {
    const Printing& p = *static_cast<const Printing*>(context);
    static const char* const kLead[] = {"", "warning: ", "  "};
    fprintf(p.to, "%s: %s%s\n", p.path, kLead[level], text);
}

}  // namespace

void printReport(FILE* to, const char* path, const ConversionReport& report) {
    Printing printing = {to, path};
    forEachReportLine(report, printLine, &printing);
}
