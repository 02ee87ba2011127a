// ADIF's bands (its Band enumeration) with their edges, as ADIF 3.1.6
// publishes them.
#pragma once

#include <stddef.h>
#include <stdint.h>

// One of ADIF's bands: its name (also as one word, for a quick lookup) and
// its edges in MHz, both inside the band.
struct AdifBand {
    const char* name;
    uint64_t code;
    double lowerMhz, upperMhz;
};

// The band of that name, in any letter case, or null when ADIF has none.
const AdifBand* adifBandNamed(const char* text, size_t length);

// The band whose edges hold a frequency in MHz, or null.
const AdifBand* adifBandHolding(double mhz);

// The band a figure names as Japanese logbooks write bands: the column's
// whole text (blanks around it aside) is one of 1.9, 3.5, 3.8, 7, 10, 14,
// 18, 21, 24, 28, 50, 144, 430, 1200, 2400 and 5600, alone or followed by M
// or MHz, or 10 followed by G or GHz (the unit in any case); null for any
// other text.
const AdifBand* adifBandOfFigure(const char* text, size_t length);

// Every band, from 2190m to submm.
const AdifBand* adifBands(size_t& count);
