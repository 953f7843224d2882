// The number forms shared by scripts, controls and logs, and the conversion of text to numbers.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <random>
#include <locale>
#include <sstream>

#include "linevalues.h"
#include "numbers.h"

using numbers::FormatInteger;
using numbers::FormatReal;
using numbers::ParseInt16;
using numbers::ParseInt32;
using numbers::ParseReal;

TEST(NumberForms, RealsInTheShortestGeneralForm) {
    const std::pair<double, const char*> cases[] = {
        {0.5, "0.5"}, {2, "2"}, {1E-05, "1E-05"}, {0.0001, "0.0001"}, {0.00012345, "0.00012345"},
        {1E+15, "1E+15"}, {123456789012345, "123456789012345"}, {1.5E+20, "1.5E+20"}, {-3, "-3"},
        {0.1 + 0.2, "0.3"}, {-0.25, "-0.25"}, {0, "0"}, {1234567890123456, "1.23456789012346E+15"},
        {2.5E-300, "2.5E-300"}, {1E+100, "1E+100"}, {99999.5, "99999.5"}, {1.0 / 3, "0.333333333333333"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatReal(value), text) << value;
}

TEST(NumberForms, IntegersAsPlainDigits) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(500), "500");
    EXPECT_EQ(FormatInteger(-1), "-1");
    EXPECT_EQ(FormatInteger(-2147483648LL), "-2147483648");
    EXPECT_EQ(FormatInteger(1234567), "1234567");  // no thousands separators
}

TEST(NumberParsing, AcceptsBlanksAndTabsAroundAndPlainForms) {
    EXPECT_EQ(ParseReal(" \t0.25\t "), 0.25);
    EXPECT_EQ(ParseReal("1E-05"), 1E-05);
    EXPECT_EQ(ParseReal("1e5"), 100000.0);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    EXPECT_EQ(ParseReal("-7"), -7.0);
    EXPECT_EQ(ParseReal("1e308"), 1e308);
    EXPECT_EQ(ParseInt32("  42  "), 42);
    EXPECT_EQ(ParseInt32("\t-17"), -17);
}

TEST(NumberParsing, FractionsRoundToTheNearestAndTiesToEven) {
    const std::pair<const char*, int> cases[] = {
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4}, {"0.5", 0}, {"1.5", 2},
        {"2.4999", 2}, {"2.5001", 3}, {"3.1", 3}, {"1E1", 10},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseInt32(text), value) << text;
    EXPECT_EQ(ParseInt16("-2.5"), -2);
    EXPECT_EQ(numbers::RoundHalfEven(4.5), 4.0);
    EXPECT_EQ(numbers::RoundHalfEven(-0.5), 0.0);
}

TEST(NumberParsing, RangeLimitsOfTheIntegerTypes) {
    EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseInt32("2147483647.4"), 2147483647);
    EXPECT_EQ(ParseInt16("32767"), 32767);
    EXPECT_EQ(ParseInt16("-32768"), -32768);
    for (const char* text : {"2147483648", "-2147483649", "2147483647.5", "1e10", "99999999999999999999"}) {
        std::string why;
        EXPECT_FALSE(ParseInt32(text, &why)) << text;
        EXPECT_EQ(why, "is out of range") << text;
    }
    EXPECT_FALSE(ParseInt16("32768"));
    EXPECT_FALSE(ParseInt16("-32769"));
}

TEST(NumberParsing, RefusesTextThatIsNotOneNumber) {
    for (const char* text : {"12abc", "inf", "-inf", "nan", "NaN", "0x10", "1,5", "1.2.3", "--1", "- 5",
                             "abc", "1 2", "5;", "5 -- comment", "e5", ".", "+", "1e", "\x01", "\xff"}) {
        std::string why;
        EXPECT_FALSE(ParseReal(text, &why)) << text;
        EXPECT_EQ(why, "is not a number") << text;
        EXPECT_FALSE(ParseInt32(text)) << text;
    }
    for (const char* text : {"", "   ", "\t"}) {
        std::string why;
        EXPECT_FALSE(ParseReal(text, &why)) << '[' << text << ']';
        EXPECT_FALSE(why.empty());
    }
    std::string why;
    EXPECT_FALSE(ParseReal("1e400", &why));
    EXPECT_EQ(why, "is out of range");
    EXPECT_FALSE(ParseReal("-1e400"));
}

// A user whose regional settings write 1,5 must still get and give 1.5.
TEST(NumberForms, IndependentOfTheUsersLocale) {
    struct CommaPoint : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    bool german = false;
    try {
        std::locale::global(std::locale("de_DE.UTF-8"));
        german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    } catch (const std::runtime_error&) {
        // Not installed: the numpunct facet above stands in for it.
    }
    std::ostringstream probe;
    probe << 1.5;
    EXPECT_EQ(probe.str(), "1,5") << "the test locale did not take effect";
    EXPECT_EQ(FormatReal(1.5), "1.5");
    EXPECT_EQ(FormatReal(0.1), "0.1");
    EXPECT_EQ(FormatReal(1E-05), "1E-05");
    EXPECT_EQ(FormatInteger(1234567), "1234567");
    EXPECT_EQ(ParseReal("0.25"), 0.25);
    EXPECT_FALSE(ParseReal("0,25"));
    EXPECT_EQ(ParseInt32("2.5"), 2);
    std::locale::global(previous);
    if (german) std::setlocale(LC_ALL, "C");
}

TEST(NumberParsing, ALeadingPlusAndNumbersBeyondADouble) {
    EXPECT_EQ(numbers::ParseReal("+5"), 5.0);
    EXPECT_EQ(numbers::ParseReal(" +0.5 "), 0.5);
    EXPECT_EQ(numbers::ParseInt32("+2.5"), 2);
    EXPECT_EQ(numbers::ParseInt32("-2.5"), -2);
    EXPECT_EQ(numbers::ParseReal("+-5"), std::nullopt);
    // Inside a compared line a number beyond a double is compared by its digits, never as infinity.
    EXPECT_TRUE(linevalues::SameValues("f(1e400, 2)", "f( 1e400 ,2)"));
    EXPECT_FALSE(linevalues::SameValues("f(1e400)", "f(1e500)"));
    EXPECT_FALSE(linevalues::SameValues("f(1e400)", "f(inf)"));
    EXPECT_TRUE(linevalues::SameValues("f(2.50)", "f(2.5)"));
}

// The reader's shortcuts must agree with the full conversions: the plain-decimal reading with
// from_chars, plain integers with rounding a real, and FormatsAs with formatting and comparing, on texts made to sit on every edge
// (leading and trailing zeros, points at either end, 15 and 16 digits, four and five zeros after
// the point, signs).
TEST(NumberParsing, ShortcutsAgreeWithTheFullConversions) {
    std::mt19937 rng(7);
    const std::string alphabet = "0000123456789.";
    for (int n = 0; n < 200000; ++n) {
        std::string t;
        if (rng() % 3 == 0) t += "-";
        const std::size_t length = 1 + rng() % 18;
        for (std::size_t i = 0; i < length; ++i) t += alphabet[rng() % alphabet.size()];
        if (rng() % 4 == 0) t = (t[0] == '-' ? "-0.000" : "0.000") + t.substr(t[0] == '-');
        const std::string_view body = std::string_view(t).substr(t[0] == '-');
        double slow = 0;
        const auto res = std::from_chars(body.data(), body.data() + body.size(), slow);
        const bool slowOk = res.ec == std::errc() && res.ptr == body.data() + body.size() &&
                            (std::isdigit(static_cast<unsigned char>(body[0])) || body[0] == '.');
        const auto fast = ParseReal(t);
        ASSERT_EQ(fast.has_value(), slowOk) << t;
        if (!fast) continue;
        const double whole = numbers::RoundHalfEven(*fast);
        const bool fits = whole >= -2147483648.0 && whole <= 2147483647.0;
        ASSERT_EQ(ParseInt32(t), fits ? std::optional<std::int32_t>(static_cast<std::int32_t>(whole)) : std::nullopt) << t;
        const double value = t[0] == '-' ? -slow : slow;
        ASSERT_EQ(std::signbit(*fast), std::signbit(value)) << t;
        ASSERT_EQ(*fast, value) << t;
        ASSERT_EQ(numbers::FormatsAs(value, t), FormatReal(value) == t) << t;
        ASSERT_TRUE(numbers::FormatsAs(value, FormatReal(value))) << t;
        const double next = std::nextafter(value, 1e300);
        ASSERT_EQ(numbers::FormatsAs(next, t), FormatReal(next) == t) << t;
    }
}
