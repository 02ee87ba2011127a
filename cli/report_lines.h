// What the command-line converter tells about each file beyond its status:
// how it was read, when that is not as a plain ',' file, how its dates were
// read, and how many records look wrong.
#pragma once

#include <stdio.h>

#include "conversion/conversion_job.h"

// One line for each way the file was read differently: "PATH: read as
// ';'-separated", a skipped byte order mark, lines ended by CR alone.
void printFormatNotes(FILE* to, const char* path, const LogbookFormat& format);

// A note when year-last dates were read in the system's order of day and
// month, and a warning for a column named for the year (hour) alone that
// holds whole dates (times).
void printDateNotes(FILE* to, const char* path, const ConversionReport& report);

// One warning line when some records look wrong: how many, and why, with the
// first CSV lines among them and a hint where line 1 or an empty line is one.
void printRecordWarning(FILE* to, const char* path, const ConversionReport& report);
