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

// Every band, from 2190m to submm.
const AdifBand* adifBands(size_t& count);
