// The conversion report as the command-line converter prints it on stderr,
// each line after the CSV file's path: "PATH: read as ';'-separated",
// "PATH: warning: 2 of 120 records look wrong; ...", and the kinds of records
// that look wrong indented below.
#pragma once

#include <stdio.h>

#include "conversion/conversion_report.h"

void printReport(FILE* to, const char* path, const ConversionReport& report);
