// One conversion from a CSV logbook to an ADIF file beside it.
#pragma once

enum ConversionOutcome {
    ConversionFinished,
    ConversionCsvNotOpened,
    ConversionAdiNotOpened,
    ConversionAdiIsCsv,
    ConversionReadFailed,
    ConversionWriteFailed,
};

// One whole conversion with a snapshot of the current settings. Its results
// are the output file, the status line and the StatusChanged bit; the outcome
// tells callers that want it what happened.
ConversionOutcome runConversion();
