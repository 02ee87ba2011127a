// The command-line converter's look at a settings file beyond loading it:
// keys in it that the program does not know (a misspelt key is otherwise
// ignored without a word), and check values the window reads otherwise.
#pragma once

#include <stdio.h>

#include <string>

// Writes to `to` one warning line for each key of the settings section that
// is no key of the settings table (lines that start with ';' or '#' are
// comments, not keys), naming the nearest known key:
// "PATH: warning: unknown key COLUMN_CALL; did you mean COLUMN_CALLSIGN?"
// And one for each CHECK_ key whose value is neither 0 nor 1, which the
// window shows checked while the converter counts it as off:
// "PATH: warning: CHECK_RST_RCVD=2 counts as off here; the window shows it checked"
void warnAboutSettings(FILE* to, const char* path, const std::string& text);
