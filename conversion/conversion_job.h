// One conversion from a CSV logbook to an ADIF file beside it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/conversion_report.h"
#include "conversion/logbook_records.h"

// One whole conversion with a snapshot of the current settings. Its results
// are the output file, the status line and the StatusChanged bit; the outcome,
// and the report when one is asked for, tell callers that want them more.
ConversionOutcome runConversion(ConversionReport* report = nullptr);
