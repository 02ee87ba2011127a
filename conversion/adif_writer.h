// Writes the ADIF output: the header, one record per CSV line, and the
// column resolution. Dates and times are read and shifted by qso_time.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "conversion/csv_splitter.h"
#include "conversion/qso_time.h"
#include "settings/conversion_settings.h"

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

// One or two letters naming a CSV column, as a spreadsheet does.
typedef const char* ColumnDesignator;

// The column a designator names (1 to 702), or 0 for none.
int resolveColumn(ColumnDesignator designator);

// Writes the header; returns the date (YYYYMMDD) it states, today's in UTC.
int64_t writeHeader(AdifOutput& out, const ConversionSettings& settings);

// The letters of a column index (0 to 31), as resolveColumn reads them.
void columnName(int8_t column, char (&name)[3]);

// What each record is made of, settled once from the settings for a whole
// conversion: the column of each item (kNoColumn for none; an optional item
// switched off counts as none), how the date and time are read with the time
// difference, and the frequency's unit.
enum FrequencyUnit : int8_t { kFreqNone, kFreqMegahertz, kFreqKilohertz };
struct RecordPlan {
    QsoTimePlan time;
    int8_t callsign, band, mode, rstSent, comment;
    int8_t freq, rstRcvd, gl;  // written only when not kNoColumn
    FrequencyUnit freqUnit;
    bool decimalComma;   // the file's decimal mark is ',': FREQ reads it as '.'
    int64_t latestDate;  // the latest date QSL services take: the day after the header's
};
// Settles the plan; its latest date is the day after today's in UTC, which a
// conversion sets again from the date its header states.
void planRecord(RecordPlan& plan, const ConversionSettings& settings, bool decimalComma);

// Writes one record from the current CSV line's columns; returns what looks
// wrong with it (RecordFault bits).
unsigned writeRecord(AdifOutput& out, const RecordPlan& plan, const CsvFields& fields);
// The same, planned from the settings for this one record.
unsigned writeRecord(AdifOutput& out, const ConversionSettings& settings, const CsvFields& fields);
