#include "adif/adif_bands.h"

namespace {

// A text of up to 8 bytes as one word, its first byte lowest; 0 past its end.
constexpr uint64_t wordOf(const char* text) {
    uint64_t word = 0;
    for (int i = 0; i < 8 && text[i] != '\0'; ++i)
        word |= static_cast<uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    return word;
}

#define VANTREL_BAND(name, lower, upper) \
    { name, wordOf(name), lower, upper }
const AdifBand kAdifBands[] = {
    VANTREL_BAND("2190m", 0.1357, 0.1378),
    VANTREL_BAND("630m", 0.472, 0.479),
    VANTREL_BAND("560m", 0.501, 0.504),
    VANTREL_BAND("160m", 1.8, 2.0),
    VANTREL_BAND("80m", 3.5, 4.0),
    VANTREL_BAND("60m", 5.06, 5.45),
    VANTREL_BAND("40m", 7.0, 7.3),
    VANTREL_BAND("30m", 10.1, 10.15),
    VANTREL_BAND("20m", 14.0, 14.35),
    VANTREL_BAND("17m", 18.068, 18.168),
    VANTREL_BAND("15m", 21.0, 21.45),
    VANTREL_BAND("12m", 24.89, 24.99),
    VANTREL_BAND("10m", 28.0, 29.7),
    VANTREL_BAND("8m", 40.0, 45.0),
    VANTREL_BAND("6m", 50.0, 54.0),
    VANTREL_BAND("5m", 54.000001, 69.9),
    VANTREL_BAND("4m", 70.0, 71.0),
    VANTREL_BAND("2m", 144.0, 148.0),
    VANTREL_BAND("1.25m", 222.0, 225.0),
    VANTREL_BAND("70cm", 420.0, 450.0),
    VANTREL_BAND("33cm", 902.0, 928.0),
    VANTREL_BAND("23cm", 1240.0, 1300.0),
    VANTREL_BAND("13cm", 2300.0, 2450.0),
    VANTREL_BAND("9cm", 3300.0, 3500.0),
    VANTREL_BAND("6cm", 5650.0, 5925.0),
    VANTREL_BAND("3cm", 10000.0, 10500.0),
    VANTREL_BAND("1.25cm", 24000.0, 24250.0),
    VANTREL_BAND("6mm", 47000.0, 47200.0),
    VANTREL_BAND("4mm", 75500.0, 81000.0),
    VANTREL_BAND("2.5mm", 119980.0, 123000.0),
    VANTREL_BAND("2mm", 134000.0, 149000.0),
    VANTREL_BAND("1mm", 241000.0, 250000.0),
    VANTREL_BAND("submm", 300000.0, 7500000.0),
};
#undef VANTREL_BAND

}  // namespace

const AdifBand* adifBandNamed(const char* text, size_t length) {
    if (length > 8) return nullptr;
    uint64_t word = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned lowered = c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
        word |= static_cast<uint64_t>(lowered) << (8 * i);
    }
    for (const AdifBand& band : kAdifBands) {
        if (band.code == word) return &band;
    }
    return nullptr;
}

const AdifBand* adifBandHolding(double mhz) {
    for (const AdifBand& band : kAdifBands) {
        if (mhz >= band.lowerMhz && mhz <= band.upperMhz) return &band;
    }
    return nullptr;
}

const AdifBand* adifBands(size_t& count) {
    count = sizeof kAdifBands / sizeof kAdifBands[0];
    return kAdifBands;
}
