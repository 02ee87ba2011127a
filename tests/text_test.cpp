#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include <cmath>
#include <string>

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

TEST(FormatInt, MatchesPrintfPadding) {
    char buf[32];
    auto f = [&](int64_t v, int w, char pad) {
        size_t n = formatInt(buf, v, w, pad);
        return std::string(buf, n);
    };
    EXPECT_EQ(f(20141207, 8, ' '), "20141207");
    EXPECT_EQ(f(101, 8, ' '), "     101");
    EXPECT_EQ(f(-8769, 8, ' '), "   -8769");
    EXPECT_EQ(f(815, 4, '0'), "0815");
    EXPECT_EQ(f(-4, 4, '0'), "-004");
    EXPECT_EQ(f(-400, 4, '0'), "-400");
    EXPECT_EQ(f(123456, 4, '0'), "123456");
    EXPECT_EQ(f(0, 0, ' '), "0");
    EXPECT_EQ(f(INT64_MIN, 0, ' '), "-9223372036854775808");
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
}
