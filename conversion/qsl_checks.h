// What QSL services (and the logging programs that import ADIF) refuse in a
// record although ADIF itself carries it: a callsign no station has, a date
// outside ADIF's or in the future, a band ADIF does not know, a frequency
// outside its band. The ADIF output never changes for them; the conversion
// report tells them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "adif/adif_bands.h"

// False for a callsign services refuse: fewer than 3 characters, a character
// other than a letter, a digit or '/', no letter or no digit, or a '/' at
// either end.
bool callsignAccepted(const char* text, size_t length);

// The number a FREQ value gives in MHz, by the leading-number conversion (no
// number gives 0).
double frequencyMhz(const char* text, size_t length);

// What a record written so draws: kRecordCallsignRefused for a callsign (not
// empty) that services refuse; kRecordDateOutOfRange for a calendar date
// (YYYYMMDD; 0 for none) before 1930-01-01 or after latestDate;
// kRecordUnknownBand for a band (not empty) that is no ADIF band (adifBand,
// the band's ADIF band as adifBandNamed finds it, is null);
// kRecordBandFrequency for an ADIF band whose FREQ value (not empty; null when
// none is written) lies outside its edges.
struct QslItems {
    const char* call;
    size_t callLength;
    int64_t date;
    size_t bandLength;
    const AdifBand* adifBand;
    const char* freq;
    size_t freqLength;
};
unsigned qslFaults(const QslItems& items, int64_t latestDate);
