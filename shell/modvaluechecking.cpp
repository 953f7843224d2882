#include "modvaluechecking.h"

namespace modValueChecking {

std::int16_t FilterNumericKey(const std::string& Text, std::int16_t KeyAscii) {
    constexpr std::int16_t kBackspace = 8, kPoint = 46;
    if (KeyAscii == kBackspace) return KeyAscii;
    if (KeyAscii == kPoint) return Text.find('.') == std::string::npos ? KeyAscii : 0;
    if (KeyAscii >= '0' && KeyAscii <= '9') return KeyAscii;
    return 0;
}

std::string RemoveBlanks(const std::string& Text) {
    std::string out;
    out.reserve(Text.size());
    for (char c : Text)
        if (c != ' ') out += c;
    return out;
}

}  // namespace modValueChecking
