// Writes the ADIF output: the header, one record per CSV line, the column
// resolution and the time shift to UTC.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "settings/conversion_settings.h"

struct CsvFields;

// Output formatted into a fixed buffer and written to the file in large blocks.
struct AdifOutput {
    FILE* file;  // may be null: then everything stays in the buffer
    char* buffer;
    size_t capacity;
    size_t used;
    bool failed;  // a write to the file failed, or the buffer overflowed
};

// Room a header or one record may need at most.
enum : size_t { kMaxAdifRecordBytes = 4096 };

// Writes the buffered bytes to the file (nothing when file is null).
void flushAdifOutput(AdifOutput& out);

// Date and time of one QSO. The first five are inputs; applyTimeDifference
// adjusts them and fills date and time. Kept in 64 bits so that no value the
// leading-integer conversion can give overflows on its way.
struct QsoTimestamp {
    int64_t year, month, day, hour, minute, date, time;
};

// One or two letters naming a CSV column, as a spreadsheet does.
typedef const char* ColumnDesignator;

// The column a designator names (1 to 702), or 0 for none.
int resolveColumn(ColumnDesignator designator);

// Subtracts timeZone hours, with at most one day of calendar roll-over.
void applyTimeDifference(QsoTimestamp& timestamp, int32_t timeZone);

void writeHeader(AdifOutput& out, const ConversionSettings& settings);
void writeRecord(AdifOutput& out, const ConversionSettings& settings, const CsvFields& fields);
