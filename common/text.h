// Byte-text helpers shared by every part of the program: bounded copies and
// the locale-independent leading-integer and leading-number conversions used
// for settings, form and CSV values.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Tells the lead bytes of the double-byte characters of a code page (a lead
// byte and the trail byte after it are one character).
typedef bool (*LeadBytePredicate)(unsigned char c);

// Where text may be cut at no more than `limit` bytes without splitting a
// double-byte character: limit, or limit - 1 when byte limit - 1 is the lead
// byte of a character whose trail byte would be lost. With no predicate (a
// single-byte code page) always limit.
size_t characterCut(const char* text, size_t limit, LeadBytePredicate isLead);

// Copies the NUL-terminated text `src` into `dst` of `capacity` bytes, cutting
// it to capacity - 1 bytes (or one less, where isLead says that would split a
// character) when longer. `dst` is always NUL-terminated (unless capacity is
// 0, when nothing is written). Returns true when the whole text fit.
bool copyText(char* dst, size_t capacity, const char* src, LeadBytePredicate isLead = nullptr);

template <size_t N>
inline bool copyText(char (&dst)[N], const char* src, LeadBytePredicate isLead = nullptr) {
    return copyText(dst, N, src, isLead);
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
