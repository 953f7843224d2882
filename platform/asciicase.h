// Letter case as scripts and the game compare names: ASCII letters only, whatever the locale.
// The reader and the name look-ups compare names with case ignored by the hundred thousand, so
// besides one character at a time they can lower-case eight characters at once.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace asciicase {

inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Lower(c);
    return out;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Whether s begins with prefix (lower case) in any letter case.
inline bool StartsWithNoCase(std::string_view s, std::string_view lowerPrefix) {
    if (s.size() < lowerPrefix.size()) return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
        if (Lower(s[i]) != lowerPrefix[i]) return false;
    return true;
}

// Eight characters lower-cased at once: 0x20 is added to each byte from 'A' to 'Z'.
inline std::uint64_t LowerBlock(std::uint64_t x) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t low7 = x & (0x7F * ones);
    const std::uint64_t aboveZ = low7 + (0x25 * ones);  // high bit set where the byte is above 'Z'
    const std::uint64_t fromA = low7 + (0x3F * ones);   // high bit set where it is 'A' or above
    const std::uint64_t upper = (fromA ^ aboveZ) & ~x & (0x80 * ones);
    return x | (upper >> 2);  // 0x80 >> 2 is the case bit 0x20
}

// Block b of s lower-cased: its characters 8b to 8b+7, the last block padded with zeros.
inline std::uint64_t LowerBlockAt(std::string_view s, std::size_t b) {
    static_assert(std::endian::native == std::endian::little, "blocks are loaded little-endian");
    std::uint64_t x = 0;
    const std::size_t at = 8 * b;
    if (at + 8 <= s.size()) {
        std::memcpy(&x, s.data() + at, 8);
    } else if (s.size() >= 8) {
        // The eight characters that end s, shifted down past those of the block before.
        std::memcpy(&x, s.data() + s.size() - 8, 8);
        x >>= 8 * (at + 8 - s.size());
    } else {
        for (std::size_t i = at; i < s.size(); ++i)
            x |= std::uint64_t{static_cast<unsigned char>(s[i])} << (8 * (i - at));
    }
    return LowerBlock(x);
}

inline std::size_t BlockCount(std::string_view s) { return (s.size() + 7) / 8; }

// A hash of a name with letter case ignored, taken from its lower-cased blocks in order.
class BlockHash {
public:
    explicit BlockHash(std::size_t length) : h_(length * 0x9E3779B97F4A7C15ull) {}
    void Add(std::uint64_t block) { h_ = (h_ ^ block) * 0xFF51AFD7ED558CCDull; }
    std::uint64_t Value() const { return h_ ^ (h_ >> 29); }

private:
    std::uint64_t h_;
};

inline std::uint64_t HashNoCase(std::string_view s) {
    BlockHash h(s.size());
    for (std::size_t b = 0, n = BlockCount(s); b < n; ++b) h.Add(LowerBlockAt(s, b));
    return h.Value();
}

}  // namespace asciicase
