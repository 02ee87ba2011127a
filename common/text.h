// Byte-text helpers shared by every part of the program: bounded copies and
// the locale-independent leading-integer and leading-number conversions used
// for settings, form and CSV values.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Copies the NUL-terminated text `src` into `dst` of `capacity` bytes, cutting
// it to capacity - 1 bytes when longer. `dst` is always NUL-terminated (unless
// capacity is 0, when nothing is written). Returns true when the whole text fit.
bool copyText(char* dst, size_t capacity, const char* src);

template <size_t N>
inline bool copyText(char (&dst)[N], const char* src) {
    return copyText(dst, N, src);
}

// Joins a and b into dst; false (and dst empty) when the result does not fit.
bool joinText(char* dst, size_t capacity, const char* a, const char* b);

// True for blank, tab, CR, LF, vertical tab and form feed.
inline bool isSpaceByte(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Leading-integer conversion: skips leading white space, takes an optional
// sign and the decimal digits that follow. No digits gives 0; values beyond the
// signed 32-bit range stop at its limits.
int32_t parseLeadingInt(const char* text);

// Leading-number conversion: skips leading white space, then takes the longest
// prefix of the decimal form [sign] digits [. digits] [(e|E|d|D) [sign] digits]
// (at least one mantissa digit; '.' whatever the locale). No such prefix gives 0.
double parseLeadingNumber(const char* text);

// printf-like formatting of a 64-bit integer: "%d" when width is 0, "%<width>d"
// with pad ' ' and "%0<width>d" with pad '0'. Writes at most max(width, 20)
// bytes, no NUL; returns the number of bytes written.
size_t formatInt(char* dst, int64_t value, int width, char pad);

// ---- word-at-a-time byte scanning (little-endian targets) ----
//
// A word of 8 bytes is tested for several byte values at once: the result has
// the high bit set in the lowest byte equal to one of them (bytes above it may
// be flagged falsely, so only the lowest flag counts), and is 0 when none is.

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
#error "word-at-a-time scanning assumes a little-endian target"
#endif

inline uint64_t bytesEqualTo(uint64_t word, unsigned char value) {
    const uint64_t ones = 0x0101010101010101ULL;
    uint64_t x = word ^ (ones * value);
    return (x - ones) & ~x & (ones * 0x80);
}

// Flags the bytes below limit (limit at most 128), with the same rule.
inline uint64_t bytesBelow(uint64_t word, unsigned char limit) {
    const uint64_t ones = 0x0101010101010101ULL;
    return (word - ones * limit) & ~word & (ones * 0x80);
}

// Index (0 to 7) of the lowest flagged byte of a nonzero mask.
inline unsigned lowestFlaggedByte(uint64_t mask) {
#if defined(__GNUC__)
    return static_cast<unsigned>(__builtin_ctzll(mask)) >> 3;
#else
    unsigned index = 0;
    while ((mask & 0x80) == 0) {
        mask >>= 8;
        ++index;
    }
    return index;
#endif
}
