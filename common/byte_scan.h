// Word-at-a-time byte scanning for the hot loops (little-endian targets).
#pragma once

#include <stdint.h>

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
