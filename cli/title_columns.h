// The converter's use of a logbook's title row: the settings lines its titles
// give (--print-columns), and the warning where they differ from the settings.
#pragma once

#include <stdio.h>

#include "conversion/title_row.h"
#include "settings/conversion_settings.h"

// Prints to `out` the settings lines the title row of csvPath gives, ready for
// the settings file: a line for each of the thirteen items ("COLUMN_YEAR=B",
// "COLUMN_BAND=-" for one without a title), one for each field a title
// names, TIME_ZONE and CHECK_MHZ and CHECK_KHZ where a title said them.
// Returns 0, or 1 after telling `err` why there is none ("PATH: line 1 is no
// title row", or why the file cannot be read).
int printTitleColumns(FILE* out, FILE* err, const char* csvPath);

// Tells `to` when the title row gives other columns than the settings:
// "PATH: warning: line 1 is a title row whose columns differ from the
// settings: Date B, Time C, Callsign D; --columns-from-title takes them".
void warnAboutTitleRow(FILE* to, const char* csvPath, const TitleRow& row,
                       const ConversionSettings& settings);
