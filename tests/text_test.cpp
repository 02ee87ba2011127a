#include <gtest/gtest.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/text.h"

TEST(LeadingInt, ReadsSignedDigitsAfterWhiteSpace) {
    EXPECT_EQ(parseLeadingInt("2014"), 2014);
    EXPECT_EQ(parseLeadingInt(" \t\r\n\v\f-9xyz"), -9);
    EXPECT_EQ(parseLeadingInt("+12.7"), 12);
    EXPECT_EQ(parseLeadingInt("007"), 7);
    EXPECT_EQ(parseLeadingInt(""), 0);
    EXPECT_EQ(parseLeadingInt("abc"), 0);
    EXPECT_EQ(parseLeadingInt("- 5"), 0);
    EXPECT_EQ(parseLeadingInt("0x1F"), 0);
}

TEST(LeadingInt, StopsAtThe32BitLimits) {
    EXPECT_EQ(parseLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(parseLeadingInt("-2147483649"), INT_MIN);
    EXPECT_EQ(parseLeadingInt("99999999999999999999999999999"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("-99999999999999999999999999999"), INT_MIN);
}

TEST(LeadingNumber, DecimalFormWithEveryExponentLetter) {
    EXPECT_DOUBLE_EQ(parseLeadingNumber("14025"), 14025.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("  14.025MHz"), 14.025);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("7."), 7.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("1E-3"), 0.001);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("2d2"), 200.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("2D+2"), 200.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("3e"), 3.0);  // exponent without digits is not taken
    EXPECT_DOUBLE_EQ(parseLeadingNumber("3e+x"), 3.0);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("0.000123"), 0.000123);
}

TEST(LeadingNumber, NoNumberGivesZeroAndThereAreNoSpecialForms) {
    EXPECT_EQ(parseLeadingNumber(""), 0.0);
    EXPECT_EQ(parseLeadingNumber("."), 0.0);
    EXPECT_EQ(parseLeadingNumber("-"), 0.0);
    EXPECT_EQ(parseLeadingNumber("e5"), 0.0);
    EXPECT_EQ(parseLeadingNumber("inf"), 0.0);
    EXPECT_EQ(parseLeadingNumber("nan"), 0.0);
    EXPECT_EQ(parseLeadingNumber("0x10"), 0.0);  // the 0 only
    EXPECT_EQ(parseLeadingNumber("infinity"), 0.0);
}

TEST(LeadingNumber, LongAndExtremeMantissas) {
    std::string longInt(400, '9');
    EXPECT_TRUE(std::isinf(parseLeadingNumber(longInt.c_str())));  // overflows as strtod does
    std::string hundredDigits(100, '1');
    EXPECT_DOUBLE_EQ(parseLeadingNumber(hundredDigits.c_str()), 1.1111111111111111e99);
    std::string longFraction = "0." + std::string(300, '0') + "5";
    EXPECT_DOUBLE_EQ(parseLeadingNumber(longFraction.c_str()), 5e-301);
    std::string manyDigits = "1" + std::string(1000, '0');  // beyond the kept digits
    EXPECT_TRUE(parseLeadingNumber(manyDigits.c_str()) > 1e308);
    EXPECT_DOUBLE_EQ(parseLeadingNumber("123456789012345678901234567890"), 1.2345678901234568e29);
}

TEST(FormatInt, MatchesPrintfAtEveryDigitCountAndPadding) {
    // Every power of ten and its neighbours, both signs, against printf.
    std::vector<int64_t> values = {0, INT64_MAX, INT64_MIN, INT64_MIN + 1};
    for (int64_t power = 1;; power *= 10) {
        for (int64_t v : {power - 1, power, power + 1})
            values.insert(values.end(), {v, -v});
        if (power > INT64_MAX / 10) break;
    }
    for (int64_t v : values) {
        for (int width : {0, 4, 8}) {
            for (char pad : {' ', '0'}) {
                char expected[48];
                snprintf(expected, sizeof expected, pad == '0' ? "%0*lld" : "%*lld", width,
                         static_cast<long long>(v));
                char buf[48];
                const size_t n = formatInt(buf, v, width, pad);
                EXPECT_EQ(std::string(buf, n), expected) << v << " width " << width;
            }
        }
    }
}

TEST(LeadingNumber, ExponentsBeyondAnyDoubleSaturate) {
    EXPECT_TRUE(std::isinf(parseLeadingNumber("1e999999999999")));
    EXPECT_EQ(parseLeadingNumber("1e-999999999999"), 0.0);
    EXPECT_TRUE(std::isinf(parseLeadingNumber("-1D400")));
    EXPECT_DOUBLE_EQ(parseLeadingNumber("+2.5"), 2.5);
    EXPECT_TRUE(std::signbit(parseLeadingNumber("-0.000")));
    EXPECT_FALSE(std::signbit(parseLeadingNumber("0.000")));
    // A fraction longer than the digits kept still reads as its value.
    std::string longFraction = "1." + std::string(1000, '1');
    EXPECT_DOUBLE_EQ(parseLeadingNumber(longFraction.c_str()), 1.1111111111111112);
}

TEST(CopyText, AlwaysTerminatesAndTellsWhetherItFit) {
    char small[4];
    memset(small, 'x', sizeof small);
    EXPECT_FALSE(copyText(small, "abcdef"));
    EXPECT_STREQ(small, "abc");
    EXPECT_TRUE(copyText(small, "abc"));
    EXPECT_STREQ(small, "abc");
    char joined[8];
    EXPECT_TRUE(joinText(joined, sizeof joined, "abc", "defg"));
    EXPECT_STREQ(joined, "abcdefg");
    EXPECT_FALSE(joinText(joined, sizeof joined, "abcd", "efgh"));
    EXPECT_STREQ(joined, "");

    char guard = 'g';  // no room: nothing written
    EXPECT_TRUE(copyText(&guard, 0, ""));
    EXPECT_FALSE(copyText(&guard, 0, "a"));
    EXPECT_FALSE(joinText(&guard, 0, "", ""));
    EXPECT_EQ(guard, 'g');
}

namespace {

// Shift-JIS's lead bytes, for tests that run on any code page.
bool shiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

TEST(CopyText, ACutNeverSplitsADoubleByteCharacter) {
    // "\x95\x5C" is one character; so is "\x83\x5C".
    const struct {
        const char* text;
        size_t capacity;
        const char* expected;
    } cases[] = {
        {"ab\x95\x5C", 4, "ab"},          // the cut would keep the lead byte alone
        {"ab\x95\x5C", 5, "ab\x95\x5C"},  // fits whole
        {"a\x95\x5C"
         "c",
         4, "a\x95\x5C"},             // the cut falls between characters
        {"\x5C\x95\x5C", 3, "\x5C"},  // a trail-like byte alone is a character
        {"\x95\x5C\x83\x5C", 4, "\x95\x5C"},
        {"\x95\x95\x5C", 3, "\x95\x95"},  // 95 95 is a character: the cut is whole
    };
    for (const auto& c : cases) {
        char out[8];
        copyText(out, c.capacity, c.text, shiftJisLead);
        EXPECT_STREQ(out, c.expected) << c.text << " in " << c.capacity;
    }
    // Without a code page's lead bytes the cut is where the room ends.
    char out[4];
    copyText(out, "ab\x95\x5C");
    EXPECT_STREQ(out, "ab\x95");
}
