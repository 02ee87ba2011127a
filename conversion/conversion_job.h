// One conversion from a CSV logbook to an ADIF file beside it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/logbook_format.h"
#include "conversion/qso_time.h"

enum ConversionOutcome {
    ConversionFinished,
    ConversionCsvNotOpened,
    ConversionCsvNotText,
    ConversionAdiNotOpened,
    ConversionAdiIsCsv,
    ConversionReadFailed,
    ConversionWriteFailed,
};

// What a conversion found, for callers that tell the user more than the
// status line does: how the file was read, how its dates were, and the
// records that look wrong (no callsign, a date that is no calendar date, a
// time outside the day).
enum : size_t { kReportedLines = 5 };
struct ConversionReport {
    LogbookFormat format;
    int32_t records;
    int32_t noCallsign, badDate, badTime;
    int32_t twoDigitYear, dateNumber;     // bad dates of these kinds (RecordFault)
    int32_t faulty;                       // records with any of the three
    int32_t faultyLines[kReportedLines];  // the first of them, by CSV line (from 1)
    bool titleOrEmptyAmongThem;           // line 1, or a line of empty columns, is one
    // Year-last dates with '/' or '-' were read in the system's order of day
    // and month, dateOrder, the file's first lines not settling it.
    bool dateOrderFromSystem;
    DateOrder dateOrder;
    // A column named for the year (hour) alone that holds whole dates (times):
    // its letters ("" for none) and the first record's date (time) there.
    char wholeDatesColumn[3], wholeTimesColumn[3];
    char wholeDateExample[kExampleCapacity], wholeTimeExample[kExampleCapacity];
};

// One whole conversion with a snapshot of the current settings. Its results
// are the output file, the status line and the StatusChanged bit; the outcome,
// and the report when one is asked for, tell callers that want them more.
ConversionOutcome runConversion(ConversionReport* report = nullptr);
