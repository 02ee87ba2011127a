// The first records of a logbook as its ADIF file would hold them, without
// writing any file: what the settings make of a file before it is converted.
#pragma once

#include <stddef.h>

#include "conversion/logbook_records.h"
#include "settings/conversion_settings.h"

enum : size_t { kPreviewRecords = 5, kPreviewTextCapacity = 32768 };

// Reads the CSV file of `settings` as a conversion would and describes its
// first kPreviewRecords records into `text` (lines ended by CR LF): for each,
// its CSV line number and every item written, with the column it came from
// and its value (for the date and time, the text read and the value after the
// time difference); then the report's notes and warnings for those records.
// Writes no file and uses nothing of theApp's buffers (but buffers of its
// own: one caller at a time), so the user-interface thread may call it while
// a conversion runs. A file that cannot be opened or is refused gives, as the
// text, the status line Convert would show.
ConversionOutcome previewConversion(const ConversionSettings& settings, char* text,
                                    size_t capacity);
