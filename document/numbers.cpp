#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace numbers {

std::string FormatInteger(std::int64_t value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string FormatReal(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return std::signbit(value) ? "-0" : "0";
    // Whole numbers below 10^15 come out as their digits, however they are written below; most
    // values of a script are such numbers.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return std::to_string(static_cast<long long>(value));

    // Without an exponent, the general form with 15 significant digits is already what is
    // written below (same digits, same thresholds, trailing zeros dropped).
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (res.ec == std::errc() && std::find(buf, res.ptr, 'e') == res.ptr) return std::string(buf, res.ptr);

    // Fifteen significant digits in scientific form give the digits and the decimal exponent.
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string sci(buf, res.ptr);  // e.g. "-1.23450000000000e+03"
    std::size_t e = sci.find('e');
    int exponent = std::stoi(sci.substr(e + 1));
    bool negative = sci[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (sci[i] != '.') digits += sci[i];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        // Exponent form: 1E-05, 1.5E+20.
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += exponent < 0 ? "E-" : "E+";
        int a = std::abs(exponent);
        if (a < 10) out += '0';
        out += std::to_string(a);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits + std::string(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
        }
    }
    return out;
}

double RoundHalfEven(double value) {
    double r = std::round(value);  // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) r = 2.0 * std::round(value / 2.0);
    return r;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The plain decimals of a script ("12", "0.25", "-3.5", ".5", "7."): digits, at most one point,
// nothing else. When their digits make a whole number m below 2^53 and k of them follow the
// point, m and 10^k are both exact doubles, so m / 10^k is the correctly rounded value, the one
// from_chars gives too. Anything else (an exponent, too many digits) is left to from_chars.
struct PlainDecimal {
    bool ok = false;
    std::uint64_t digits = 0;      // all digits as one whole number
    int fraction = 0;              // how many digits follow the point
    int significant = 0;           // digits from the first non-zero one on
    int leadingIntegerZeros = 0;   // zeros before the first other digit of the integer part
    std::size_t integerDigits = 0;
    bool point = false;
};

PlainDecimal ReadPlainDecimal(std::string_view t) {
    PlainDecimal d;
    std::size_t i = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        if (d.digits == 0 && t[i] == '0') ++d.leadingIntegerZeros;
        d.digits = d.digits * 10 + static_cast<unsigned>(t[i] - '0');
        if (d.digits != 0) ++d.significant;
        if (d.significant > 15) return d;
    }
    d.integerDigits = i;
    if (i < t.size() && t[i] == '.') {
        d.point = true;
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            d.digits = d.digits * 10 + static_cast<unsigned>(t[i] - '0');
            if (d.digits != 0) ++d.significant;
            if (d.significant > 15 || ++d.fraction > 22) return d;
        }
    }
    d.ok = i == t.size() && i > (d.point ? 1u : 0u);
    return d;
}

double ValueOf(const PlainDecimal& d) { return static_cast<double>(d.digits) / kPowersOfTen[d.fraction]; }

void SetError(std::string* error, const char* text) {
    if (error) *error = text;
}

}  // namespace

std::optional<double> ParseReal(std::string_view text, std::string* error) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string_view t = text.substr(b, e - b);
    if (t.empty()) {
        SetError(error, "is empty");
        return std::nullopt;
    }
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    // Only decimal digits, one point and an exponent: no "inf", "nan", hexadecimal or a second sign.
    if (t.empty() || !(std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '.')) {
        SetError(error, "is not a number");
        return std::nullopt;
    }
    if (const PlainDecimal d = ReadPlainDecimal(t); d.ok) return negative ? -ValueOf(d) : ValueOf(d);
    double value = 0;
    auto res = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        SetError(error, "is out of range");
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != t.data() + t.size()) {
        SetError(error, "is not a number");
        return std::nullopt;
    }
    return negative ? -value : value;
}

namespace {

template <class Int>
std::optional<Int> ParseInteger(std::string_view text, std::string* error) {
    // The usual case, plain digits after perhaps a "-", needs no real number and no rounding.
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() > sign && text.size() <= 10) {
        std::int64_t v = 0;
        std::size_t i = sign;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') v = v * 10 + (text[i++] - '0');
        if (sign) v = -v;
        if (i == text.size() && v >= std::numeric_limits<Int>::min() && v <= std::numeric_limits<Int>::max())
            return static_cast<Int>(v);
    }
    auto real = ParseReal(text, error);
    if (!real) return std::nullopt;
    double r = RoundHalfEven(*real);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max())) {
        SetError(error, "is out of range");
        return std::nullopt;
    }
    return static_cast<Int>(r);
}

}  // namespace

std::optional<std::int32_t> ParseInt32(std::string_view text, std::string* error) {
    return ParseInteger<std::int32_t>(text, error);
}

std::optional<std::int16_t> ParseInt16(std::string_view text, std::string* error) {
    return ParseInteger<std::int16_t>(text, error);
}

bool FormatsAs(double value, std::string_view text) {
    // The usual case needs no formatting: a plain decimal with at most 15 significant digits,
    // written as FormatReal writes (no sign but "-", no needless zero in front or at the end,
    // "0." before a fraction, no more than four zeros after the point before the first digit), is
    // what FormatReal gives for the value it reads as, since 15 digits survive a double.
    std::string_view t = text;
    const bool negative = !t.empty() && t[0] == '-';
    if (negative) t.remove_prefix(1);
    const PlainDecimal d = ReadPlainDecimal(t);
    if (d.ok && d.digits != 0 && t.back() != '.' && (!d.point || t.back() != '0')) {
        const bool wholeZero = d.integerDigits == 1 && d.leadingIntegerZeros == 1;
        const bool integerForm =
            d.integerDigits >= 1 && (d.leadingIntegerZeros == 0 || (wholeZero && d.point));
        // The first significant digit's place: digits - significant zeros after the point.
        const int zerosAfterPoint = wholeZero ? d.fraction - d.significant : 0;
        // Another value may still round to the same 15 digits: that is left to the full form.
        const double read = negative ? -ValueOf(d) : ValueOf(d);
        if (integerForm && zerosAfterPoint <= 3 && read == value) return true;
    }
    return FormatReal(value) == text;
}

}  // namespace numbers
