// ADIF's modes with their submodes (its Mode and Submode enumerations), as
// ADIF 3.1.6 publishes them, and the emission designators Japanese logbooks
// write for a mode.
#pragma once

#include <stddef.h>

// A mode as ADIF names it: the mode, and the submode ("" for none), both as
// ADIF spells them.
struct AdifModeName {
    const char* mode;
    const char* submode;
};

// What a mode column's text names, in any letter case: an ADIF mode; an ADIF
// submode (with the mode it belongs to); or an emission designator (A1A,
// J3E, F3E, ...) with the mode it stands for. False for anything else.
bool adifModeOf(const char* text, size_t length, AdifModeName& name);
