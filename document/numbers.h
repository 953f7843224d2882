// The one pair of number conversions of the whole program: the plain number-to-text form used in
// scripts, controls, messages and logs, and the text-to-number conversion used by the reader and
// by every box that stores into the document. Both ignore the user's locale: "." is always the
// decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numbers {

// Integers as plain decimal digits, "-" for negatives, no leading blank.
std::string FormatInteger(std::int64_t value);

// Reals in the shortest general form with at most 15 significant digits: 0.5, 2, 1E-05, 1E+15.
std::string FormatReal(double value);

// Whether FormatReal(value) == text, mostly without formatting: the reader asks it of every
// number it reads, to know whether the line reads as it would be written.
bool FormatsAs(double value, std::string_view text);

// Text to number. Blanks and tabs around the number are allowed; anything else that is not part
// of the number (letters, a second point, a trailing comment) makes the conversion fail, and so do
// values beyond the type's range. A fraction given for an integer rounds to the nearest whole
// number, a tie to the even one (2.5 gives 2, 3.5 gives 4). On failure the result is empty and
// *error (when given) says why in a short phrase such as "is not a number".
std::optional<double> ParseReal(std::string_view text, std::string* error = nullptr);
std::optional<std::int32_t> ParseInt32(std::string_view text, std::string* error = nullptr);
std::optional<std::int16_t> ParseInt16(std::string_view text, std::string* error = nullptr);

// Rounds half to even, as the integer conversions do.
double RoundHalfEven(double value);

}  // namespace numbers
