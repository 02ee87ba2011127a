#include "adif/adif_bands.h"

#include <string.h>

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

// The figures Japanese logbooks write for a band: the figure, whether it is
// in GHz, and the band's name.
const struct {
    const char* figure;
    bool gigahertz;
    const char* band;
} kBandFigures[] = {
    {"1.9", false, "160m"}, {"3.5", false, "80m"},   {"3.8", false, "80m"},
    {"7", false, "40m"},    {"10", false, "30m"},    {"14", false, "20m"},
    {"18", false, "17m"},   {"21", false, "15m"},    {"24", false, "12m"},
    {"28", false, "10m"},   {"50", false, "6m"},     {"144", false, "2m"},
    {"430", false, "70cm"}, {"1200", false, "23cm"}, {"2400", false, "13cm"},
    {"5600", false, "6cm"}, {"10", true, "3cm"},
};

inline char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether text (length bytes) is `unit` (lower case), letter case aside.
bool isUnit(const char* text, size_t length, const char* unit) {
    size_t i = 0;
    for (; i < length && unit[i] != '\0'; ++i) {
        if (lower(text[i]) != unit[i]) return false;
    }
    return i == length && unit[i] == '\0';
}

}  // namespace

const AdifBand* adifBandOfFigure(const char* text, size_t length) {
    while (length > 0 && isBlank(*text)) {
        ++text;
        --length;
    }
    while (length > 0 && isBlank(text[length - 1]))
        --length;
    if (length > 7 || length == 0) return nullptr;  // the longest is 1200MHz
    size_t number = 0;
    while (number < length && ((text[number] >= '0' && text[number] <= '9') || text[number] == '.'))
        ++number;
    if (number == 0 || number > 4) return nullptr;  // the longest is 1200
    const char* unit = text + number;
    const size_t unitLength = length - number;
    const bool megahertz =
        unitLength == 0 || isUnit(unit, unitLength, "m") || isUnit(unit, unitLength, "mhz");
    const bool gigahertz = isUnit(unit, unitLength, "g") || isUnit(unit, unitLength, "ghz");
    if (number == 0 || (!megahertz && !gigahertz)) return nullptr;
    for (const auto& figure : kBandFigures) {
        if (figure.gigahertz == gigahertz && figure.figure[0] == text[0] &&
            strncmp(figure.figure, text, number) == 0 && figure.figure[number] == '\0')
            return adifBandNamed(figure.band, strlen(figure.band));
    }
    return nullptr;
}

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
