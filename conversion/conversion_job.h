// One conversion from a CSV logbook to an ADIF file beside it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/logbook_format.h"

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
// status line does: how the file was read, and the records that look wrong
// (no callsign, a date that is no calendar date, a time outside the day).
enum : size_t { kReportedLines = 5 };
struct ConversionReport {
    LogbookFormat format;
    int32_t records;
    int32_t noCallsign, badDate, badTime;
    int32_t faulty;                       // records with any of the three
    int32_t faultyLines[kReportedLines];  // the first of them, by CSV line (from 1)
    bool titleOrEmptyAmongThem;           // line 1, or a line of empty columns, is one
};

// One whole conversion with a snapshot of the current settings. Its results
// are the output file, the status line and the StatusChanged bit; the outcome,
// and the report when one is asked for, tell callers that want them more.
ConversionOutcome runConversion(ConversionReport* report = nullptr);
