// Writes the ADIF output: the header, one record per CSV line, the column
// resolution and the time shift to UTC.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "conversion/csv_splitter.h"
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

// What each record is made of, settled once from the settings for a whole
// conversion: the column of each item (kNoColumn for none; an optional item
// switched off counts as none), the frequency's unit and the time difference.
constexpr int8_t kNoColumn = -1;
enum FrequencyUnit : int8_t { kFreqNone, kFreqMegahertz, kFreqKilohertz };
struct RecordPlan {
    int8_t year, month, day, hour, minute;
    int8_t callsign, band, mode, rstSent, comment;
    int8_t freq, rstRcvd, gl;  // written only when not kNoColumn
    FrequencyUnit freqUnit;
    int32_t timeZone;
    bool decimalComma;  // the file's decimal mark is ',': FREQ reads it as '.'
};
void planRecord(RecordPlan& plan, const ConversionSettings& settings, bool decimalComma);

// What may be wrong with a record a writer wrote (bits of its result): it has
// no callsign; its date, after the time shift, is no calendar date from 1900
// to 2100; its time is not from 00:00 to 23:59.
enum RecordFault : unsigned {
    kRecordNoCallsign = 1,
    kRecordBadDate = 2,
    kRecordBadTime = 4,
};

// Writes one record from the current CSV line's columns; returns its faults.
unsigned writeRecord(AdifOutput& out, const RecordPlan& plan, const CsvFields& fields);
// The same, planned from the settings for this one record.
unsigned writeRecord(AdifOutput& out, const ConversionSettings& settings, const CsvFields& fields);
