#include "adif/adif_modes.h"

#include <stddef.h>
#include <stdint.h>

namespace {

// ADIF's modes (its Mode enumeration).
constexpr const char* kAdifModes[] = {
    "AM",     "ARDOP",   "ATV",    "CHIP",  "CLO",    "CONTESTI", "CW",     "DIGITALVOICE",
    "DOMINO", "DYNAMIC", "FAX",    "FM",    "FSK441", "FSK",      "FT8",    "HELL",
    "ISCAT",  "JT4",     "JT6M",   "JT9",   "JT44",   "JT65",     "MFSK",   "MSK144",
    "MTONE",  "MT63",    "OLIVIA", "OPERA", "PAC",    "PAX",      "PKT",    "PSK",
    "PSK2K",  "Q15",     "QRA64",  "ROS",   "RTTY",   "RTTYM",    "SSB",    "SSTV",
    "T10",    "THOR",    "THRB",   "TOR",   "V4",     "VOI",      "WINMOR", "WSPR",
};

// ADIF's submodes (its Submode enumeration), each with its mode.
struct Submode {
    const char* submode;
    const char* mode;
};
constexpr Submode kAdifSubmodes[] = {
    {"CHIP64", "CHIP"},
    {"CHIP128", "CHIP"},
    {"PCW", "CW"},
    {"C4FM", "DIGITALVOICE"},
    {"DMR", "DIGITALVOICE"},
    {"DSTAR", "DIGITALVOICE"},
    {"FREEDV", "DIGITALVOICE"},
    {"M17", "DIGITALVOICE"},
    {"DOM-M", "DOMINO"},
    {"DOM4", "DOMINO"},
    {"DOM5", "DOMINO"},
    {"DOM8", "DOMINO"},
    {"DOM11", "DOMINO"},
    {"DOM16", "DOMINO"},
    {"DOM22", "DOMINO"},
    {"DOM44", "DOMINO"},
    {"DOM88", "DOMINO"},
    {"DOMINOEX", "DOMINO"},
    {"DOMINOF", "DOMINO"},
    {"VARA HF", "DYNAMIC"},
    {"VARA SATELLITE", "DYNAMIC"},
    {"VARA FM 1200", "DYNAMIC"},
    {"VARA FM 9600", "DYNAMIC"},
    {"SCAMP_FAST", "FSK"},
    {"SCAMP_SLOW", "FSK"},
    {"SCAMP_VSLOW", "FSK"},
    {"FMHELL", "HELL"},
    {"FSKH105", "HELL"},
    {"FSKH245", "HELL"},
    {"FSKHELL", "HELL"},
    {"HELL80", "HELL"},
    {"HELLX5", "HELL"},
    {"HELLX9", "HELL"},
    {"HFSK", "HELL"},
    {"PSKHELL", "HELL"},
    {"SLOWHELL", "HELL"},
    {"ISCAT-A", "ISCAT"},
    {"ISCAT-B", "ISCAT"},
    {"JT4A", "JT4"},
    {"JT4B", "JT4"},
    {"JT4C", "JT4"},
    {"JT4D", "JT4"},
    {"JT4E", "JT4"},
    {"JT4F", "JT4"},
    {"JT4G", "JT4"},
    {"JT9-1", "JT9"},
    {"JT9-2", "JT9"},
    {"JT9-5", "JT9"},
    {"JT9-10", "JT9"},
    {"JT9-30", "JT9"},
    {"JT9A", "JT9"},
    {"JT9B", "JT9"},
    {"JT9C", "JT9"},
    {"JT9D", "JT9"},
    {"JT9E", "JT9"},
    {"JT9E FAST", "JT9"},
    {"JT9F", "JT9"},
    {"JT9F FAST", "JT9"},
    {"JT9G", "JT9"},
    {"JT9G FAST", "JT9"},
    {"JT9H", "JT9"},
    {"JT9H FAST", "JT9"},
    {"JT65A", "JT65"},
    {"JT65B", "JT65"},
    {"JT65B2", "JT65"},
    {"JT65C", "JT65"},
    {"JT65C2", "JT65"},
    {"FSQCALL", "MFSK"},
    {"FST4", "MFSK"},
    {"FST4W", "MFSK"},
    {"FT4", "MFSK"},
    {"JS8", "MFSK"},
    {"JTMS", "MFSK"},
    {"MFSK4", "MFSK"},
    {"MFSK8", "MFSK"},
    {"MFSK11", "MFSK"},
    {"MFSK16", "MFSK"},
    {"MFSK22", "MFSK"},
    {"MFSK31", "MFSK"},
    {"MFSK32", "MFSK"},
    {"MFSK64", "MFSK"},
    {"MFSK64L", "MFSK"},
    {"MFSK128", "MFSK"},
    {"MFSK128L", "MFSK"},
    {"Q65", "MFSK"},
    {"SCAMP_OO", "MTONE"},
    {"SCAMP_OO_SLW", "MTONE"},
    {"OLIVIA 4/125", "OLIVIA"},
    {"OLIVIA 4/250", "OLIVIA"},
    {"OLIVIA 8/250", "OLIVIA"},
    {"OLIVIA 8/500", "OLIVIA"},
    {"OLIVIA 16/500", "OLIVIA"},
    {"OLIVIA 16/1000", "OLIVIA"},
    {"OLIVIA 32/1000", "OLIVIA"},
    {"OPERA-BEACON", "OPERA"},
    {"OPERA-QSO", "OPERA"},
    {"PAC2", "PAC"},
    {"PAC3", "PAC"},
    {"PAC4", "PAC"},
    {"PAX2", "PAX"},
    {"8PSK125", "PSK"},
    {"8PSK125F", "PSK"},
    {"8PSK125FL", "PSK"},
    {"8PSK250", "PSK"},
    {"8PSK250F", "PSK"},
    {"8PSK250FL", "PSK"},
    {"8PSK500", "PSK"},
    {"8PSK500F", "PSK"},
    {"8PSK1000", "PSK"},
    {"8PSK1000F", "PSK"},
    {"8PSK1200F", "PSK"},
    {"FSK31", "PSK"},
    {"PSK10", "PSK"},
    {"PSK31", "PSK"},
    {"PSK63", "PSK"},
    {"PSK63F", "PSK"},
    {"PSK63RC10", "PSK"},
    {"PSK63RC20", "PSK"},
    {"PSK63RC32", "PSK"},
    {"PSK63RC4", "PSK"},
    {"PSK63RC5", "PSK"},
    {"PSK125", "PSK"},
    {"PSK125RC10", "PSK"},
    {"PSK125RC12", "PSK"},
    {"PSK125RC16", "PSK"},
    {"PSK125RC4", "PSK"},
    {"PSK125RC5", "PSK"},
    {"PSK250", "PSK"},
    {"PSK250RC2", "PSK"},
    {"PSK250RC3", "PSK"},
    {"PSK250RC5", "PSK"},
    {"PSK250RC6", "PSK"},
    {"PSK250RC7", "PSK"},
    {"PSK500", "PSK"},
    {"PSK500RC2", "PSK"},
    {"PSK500RC3", "PSK"},
    {"PSK500RC4", "PSK"},
    {"PSK800RC2", "PSK"},
    {"PSK1000", "PSK"},
    {"PSK1000RC2", "PSK"},
    {"PSKAM10", "PSK"},
    {"PSKAM31", "PSK"},
    {"PSKAM50", "PSK"},
    {"PSKFEC31", "PSK"},
    {"QPSK31", "PSK"},
    {"QPSK63", "PSK"},
    {"QPSK125", "PSK"},
    {"QPSK250", "PSK"},
    {"QPSK500", "PSK"},
    {"SIM31", "PSK"},
    {"QRA64A", "QRA64"},
    {"QRA64B", "QRA64"},
    {"QRA64C", "QRA64"},
    {"QRA64D", "QRA64"},
    {"QRA64E", "QRA64"},
    {"ROS-EME", "ROS"},
    {"ROS-HF", "ROS"},
    {"ROS-MF", "ROS"},
    {"ASCI", "RTTY"},
    {"LSB", "SSB"},
    {"USB", "SSB"},
    {"THOR-M", "THOR"},
    {"THOR4", "THOR"},
    {"THOR5", "THOR"},
    {"THOR8", "THOR"},
    {"THOR11", "THOR"},
    {"THOR16", "THOR"},
    {"THOR22", "THOR"},
    {"THOR25X4", "THOR"},
    {"THOR50X1", "THOR"},
    {"THOR50X2", "THOR"},
    {"THOR100", "THOR"},
    {"THRBX", "THRB"},
    {"THRBX1", "THRB"},
    {"THRBX2", "THRB"},
    {"THRBX4", "THRB"},
    {"THROB1", "THRB"},
    {"THROB2", "THRB"},
    {"THROB4", "THRB"},
    {"AMTORFEC", "TOR"},
    {"GTOR", "TOR"},
    {"NAVTEX", "TOR"},
    {"SITORB", "TOR"},
};

// The designators of emissions that Japanese logbooks write for a mode.
struct Designator {
    const char* designator;
    const char* mode;
};
constexpr Designator kEmissionDesignators[] = {
    {"A1A", "CW"},  {"A1", "CW"},  {"A3E", "AM"}, {"A3", "AM"},  {"J3E", "SSB"},
    {"A3J", "SSB"}, {"F3E", "FM"}, {"F3", "FM"},  {"G3E", "FM"}, {"F1B", "RTTY"},
};

inline char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr int compareNames(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

// Every name a mode column may hold (the tables' names are upper case), with
// what it names, in byte order, found by a binary search: a record asks for
// its mode among some three hundred names.
struct ModeName {
    const char* text;
    AdifModeName name;
};
constexpr size_t kModeNameCount = sizeof kAdifModes / sizeof kAdifModes[0] +
                                  sizeof kAdifSubmodes / sizeof kAdifSubmodes[0] +
                                  sizeof kEmissionDesignators / sizeof kEmissionDesignators[0];
struct ModeNames {
    ModeName entries[kModeNameCount];
    size_t count;
    constexpr void insert(const char* text, const char* mode, const char* submode) {
        size_t at = count++;
        while (at > 0 && compareNames(entries[at - 1].text, text) > 0) {
            entries[at] = entries[at - 1];
            --at;
        }
        entries[at] = {text, {mode, submode}};
    }
};
constexpr ModeNames makeModeNames() {
    ModeNames names = {};
    for (const char* mode : kAdifModes)
        names.insert(mode, mode, "");
    for (const Submode& submode : kAdifSubmodes)
        names.insert(submode.submode, submode.mode, submode.submode);
    for (const Designator& emission : kEmissionDesignators)
        names.insert(emission.designator, emission.mode, "");
    return names;
}
constexpr ModeNames kModeNames = makeModeNames();

// Where the names of each first byte begin in that order (those of byte c
// from begin[c] to begin[c + 1]).
struct FirstBytes {
    uint16_t begin[257];
};
constexpr FirstBytes makeFirstBytes() {
    FirstBytes first = {};
    size_t k = 0;
    for (int c = 0; c < 256; ++c) {
        first.begin[c] = static_cast<uint16_t>(k);
        while (k < kModeNameCount && static_cast<unsigned char>(kModeNames.entries[k].text[0]) == c)
            ++k;
    }
    first.begin[256] = static_cast<uint16_t>(k);
    return first;
}
constexpr FirstBytes kFirstBytes = makeFirstBytes();

constexpr bool namesDiffer() {
    for (size_t i = 1; i < kModeNameCount; ++i) {
        if (compareNames(kModeNames.entries[i - 1].text, kModeNames.entries[i].text) == 0)
            return false;
    }
    return true;
}
static_assert(namesDiffer(), "no name stands for two modes");

}  // namespace

bool adifModeOf(const char* text, size_t length, AdifModeName& name) {
    char key[24];
    if (length == 0 || length >= sizeof key) return false;
    for (size_t i = 0; i < length; ++i)
        key[i] = upper(text[i]);
    key[length] = '\0';
    const unsigned char c = static_cast<unsigned char>(key[0]);
    size_t low = kFirstBytes.begin[c], high = kFirstBytes.begin[c + 1];
    while (low < high) {
        const size_t middle = (low + high) / 2;
        const int order = compareNames(kModeNames.entries[middle].text, key);
        if (order == 0) {
            name = kModeNames.entries[middle].name;
            return true;
        }
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return false;
}
