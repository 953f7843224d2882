// Text helpers for number boxes. Standard library only.
#pragma once

#include <cstdint>
#include <string>

namespace modValueChecking {

// The key to let through for a key typed into a number box holding Text: backspace, digits, and
// one decimal point pass; everything else (the minus sign included) gives 0, meaning "drop it".
std::int16_t FilterNumericKey(const std::string& Text, std::int16_t KeyAscii);

// Text without its blanks (code 32); tabs and other white space stay.
std::string RemoveBlanks(const std::string& Text);

}  // namespace modValueChecking
