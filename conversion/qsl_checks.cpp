#include "conversion/qsl_checks.h"

#include <stdint.h>
#include <string.h>

#include "common/text.h"
#include "conversion/record_faults.h"

namespace {

// ADIF's first date.
const int64_t kFirstAdifDate = 19300101;

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What each byte is in a callsign: a letter, a digit, '/' or none of them.
enum : unsigned char { kLetter = 1, kDigit = 2, kSlash = 4 };
struct CallsignBytes {
    unsigned char kind[256];
    constexpr CallsignBytes() : kind() {
        for (int c = 'A'; c <= 'Z'; ++c)
            kind[c] = kind[c + 'a' - 'A'] = kLetter;
        for (int c = '0'; c <= '9'; ++c)
            kind[c] = kDigit;
        kind[static_cast<int>('/')] = kSlash;
    }
};
constexpr CallsignBytes kCallsignBytes;

}  // namespace

bool callsignAccepted(const char* text, size_t length) {
    if (length < 3 || text[0] == '/' || text[length - 1] == '/') return false;
    unsigned seen = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned kind = kCallsignBytes.kind[static_cast<unsigned char>(text[i])];
        if (kind == 0) return false;
        seen |= kind;
    }
    return (seen & (kLetter | kDigit)) == (kLetter | kDigit);
}

double frequencyMhz(const char* text, size_t length) {
    // The usual "14.025": digits, a point and digits, at most 15 of them in
    // all, make a whole number and a power of ten, both exact in a double,
    // whose one division rounds as the conversion of the text does.
    static const double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    int64_t whole = 0;
    int digits = 0, decimals = 0;
    for (; i < length && isDigit(text[i]) && digits < 15; ++i, ++digits)
        whole = whole * 10 + (text[i] - '0');
    if (i < length && text[i] == '.') {
        for (++i; i < length && isDigit(text[i]) && digits < 15; ++i, ++digits, ++decimals)
            whole = whole * 10 + (text[i] - '0');
    }
    if (digits > 0 && i == length) return static_cast<double>(whole) / kPowersOfTen[decimals];
    // Anything else (a sign, blanks, an exponent, more digits, text after the
    // number) by the leading-number conversion itself.
    char copy[256];
    const size_t n = length < sizeof copy ? length : sizeof copy - 1;
    memcpy(copy, text, n);
    copy[n] = '\0';
    return parseLeadingNumber(copy);
}

unsigned qslFaults(const QslItems& items, int64_t latestDate) {
    unsigned faults = 0;
    if (items.callLength != 0 && !callsignAccepted(items.call, items.callLength))
        faults |= kRecordCallsignRefused;
    if (items.date != 0 && (items.date < kFirstAdifDate || items.date > latestDate))
        faults |= kRecordDateOutOfRange;
    if (items.bandLength != 0) {
        const AdifBand* band = items.adifBand;
        if (band == nullptr) {
            faults |= kRecordUnknownBand;
        } else if (items.freq != nullptr && items.freqLength != 0) {
            const double mhz = frequencyMhz(items.freq, items.freqLength);
            if (mhz < band->lowerMhz || mhz > band->upperMhz) faults |= kRecordBandFrequency;
        }
    }
    return faults;
}
