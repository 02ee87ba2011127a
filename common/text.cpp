#include "common/text.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

size_t characterCut(const char* text, size_t limit, LeadBytePredicate isLead) {
    if (isLead == nullptr) return limit;
    size_t at = 0;
    while (at < limit) {
        const size_t step = isLead(static_cast<unsigned char>(text[at])) ? 2 : 1;
        if (at + step > limit) return at;
        at += step;
    }
    return limit;
}

bool copyText(char* dst, size_t capacity, const char* src, LeadBytePredicate isLead) {
    if (capacity == 0) return src[0] == '\0';
    size_t n = 0;
    while (n + 1 < capacity && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    const bool whole = src[n] == '\0';
    if (!whole) n = characterCut(dst, n, isLead);
    dst[n] = '\0';
    return whole;
}

bool joinText(char* dst, size_t capacity, const char* a, const char* b) {
    size_t la = strlen(a);
    size_t lb = strlen(b);
    if (capacity == 0) return false;
    if (la + lb + 1 > capacity) {
        dst[0] = '\0';
        return false;
    }
    memmove(dst, a, la);
    memmove(dst + la, b, lb);
    dst[la + lb] = '\0';
    return true;
}

int32_t parseLeadingInt(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (isSpaceByte(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate as a magnitude capped just above the 32-bit range.
    const int64_t cap = static_cast<int64_t>(INT32_MAX) + 1;
    int64_t magnitude = 0;
    while (*p >= '0' && *p <= '9') {
        if (magnitude < cap) magnitude = magnitude * 10 + (*p - '0');
        ++p;
    }
    if (magnitude > cap) magnitude = cap;
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    return static_cast<int32_t>(value);
}

namespace {
inline bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

double parseLeadingNumber(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (isSpaceByte(*p))
        ++p;

    // The number is rebuilt as "[-]DIGITSe[-]EXP" with no decimal point, so
    // that the library conversion never meets a locale-dependent character.
    enum { kMaxDigits = 800 };
    char buf[kMaxDigits + 48];
    size_t n = 0;
    if (*p == '+' || *p == '-') {
        if (*p == '-') buf[n++] = '-';
        ++p;
    }
    const size_t digitsStart = n;
    long long exponent = 0;  // decimal exponent adjustment for the kept digits
    size_t mantissaDigits = 0;
    bool significant = false;  // a nonzero digit has been kept
    while (isDigit(*p)) {
        if (*p != '0' || significant) {
            significant = true;
            if (n - digitsStart < kMaxDigits) {
                buf[n++] = static_cast<char>(*p);
            } else {
                ++exponent;  // digit dropped from the integer part
            }
        }
        ++mantissaDigits;
        ++p;
    }
    if (*p == '.') {
        const unsigned char* q = p + 1;
        while (isDigit(*q)) {
            if (*q != '0' || significant) {
                significant = true;
                if (n - digitsStart < kMaxDigits) {
                    buf[n++] = static_cast<char>(*q);
                    --exponent;
                }
            } else {
                --exponent;  // leading zero after the point
            }
            ++mantissaDigits;
            ++q;
        }
        if (mantissaDigits > 0) p = q;
    }
    if (mantissaDigits == 0) return 0.0;
    if (!significant) return (digitsStart == 1) ? -0.0 : 0.0;

    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const unsigned char* q = p + 1;
        bool expNegative = false;
        if (*q == '+' || *q == '-') {
            expNegative = (*q == '-');
            ++q;
        }
        if (isDigit(*q)) {
            long long e = 0;
            while (isDigit(*q)) {
                if (e < 100000000) e = e * 10 + (*q - '0');
                ++q;
            }
            exponent += expNegative ? -e : e;
        }
    }
    if (exponent > 100000000) exponent = 100000000;
    if (exponent < -100000000) exponent = -100000000;
    buf[n++] = 'e';
    n += formatInt(buf + n, exponent, 0, ' ');
    buf[n] = '\0';
    return strtod(buf, nullptr);
}

size_t formatInt(char* dst, int64_t value, int width, char pad) {
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    // Digits from the right, two at a time, into a scratch area.
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    uint64_t v = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    while (v >= 100) {
        const char* pair = kPairs + (v % 100) * 2;
        v /= 100;
        *--p = pair[1];
        *--p = pair[0];
    }
    if (v >= 10) {
        const char* pair = kPairs + v * 2;
        *--p = pair[1];
        *--p = pair[0];
    } else {
        *--p = static_cast<char>('0' + v);
    }
    const size_t count = static_cast<size_t>(end - p);
    const size_t signLength = value < 0 ? 1 : 0;
    const size_t total = count + signLength;
    const size_t padding = (width > 0 && static_cast<size_t>(width) > total) ? width - total : 0;
    size_t n = 0;
    if (pad == '0') {
        if (signLength) dst[n++] = '-';
        for (size_t i = 0; i < padding; ++i)
            dst[n++] = '0';
    } else {
        for (size_t i = 0; i < padding; ++i)
            dst[n++] = ' ';
        if (signLength) dst[n++] = '-';
    }
    memcpy(dst + n, p, count);
    return n + count;
}
