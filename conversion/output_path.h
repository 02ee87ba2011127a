// The ADIF file's path beside the CSV logbook, and the one name it must never
// take: the logbook's own.
#pragma once

#include "settings/conversion_settings.h"

// The ADIF path beside csvPath: the extension replaced by "adi" (added when
// there is none). A double-byte character of the code page is one unit, so its
// trail byte never counts as a separator or a dot. False (and out empty) when
// the result would not fit kPathCapacity.
bool outputPathFor(const char* csvPath, char (&out)[kPathCapacity]);

// True when csvPath's extension is "adi" in any letter case (trailing blanks
// and dots aside, as Windows ignores them), so that the output path would name
// the input itself.
bool hasAdiExtension(const char* csvPath);
