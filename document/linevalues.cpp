#include "linevalues.h"

#include <charconv>
#include <system_error>

namespace linevalues {
namespace {

enum class Kind { End, Quoted, Number, Name, Other };

struct Token {
    Kind kind = Kind::End;
    std::string_view text;
    double number = 0;
};

// ASCII only, whatever the locale: the scripts' names are ASCII, and this runs for every
// character of most lines read.
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(unsigned char c) { return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '_'; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || IsDigit(c); }

class Tokenizer {
public:
    explicit Tokenizer(std::string_view s) : s_(s) {}

    Token Next() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
        Token t;
        if (pos_ >= s_.size()) return t;
        const std::size_t start = pos_;
        const auto c = static_cast<unsigned char>(s_[pos_]);
        if (c == '"') {
            std::size_t close = s_.find('"', pos_ + 1);
            pos_ = close == std::string_view::npos ? s_.size() : close + 1;
            t.kind = Kind::Quoted;
        } else if (IsDigit(c) || (c == '.' && pos_ + 1 < s_.size() &&
                                  IsDigit(static_cast<unsigned char>(s_[pos_ + 1])))) {
            auto res = std::from_chars(s_.data() + pos_, s_.data() + s_.size(), t.number,
                                       std::chars_format::general);
            std::size_t used = static_cast<std::size_t>(res.ptr - (s_.data() + pos_));
            if (res.ec != std::errc() || used == 0) {
                // Beyond the range of a double: compare the digits as they stand.
                while (pos_ < s_.size() && (IsNameChar(static_cast<unsigned char>(s_[pos_])) ||
                                            s_[pos_] == '.'))
                    ++pos_;
                t.kind = Kind::Name;
            } else {
                pos_ += used;
                t.kind = Kind::Number;
            }
        } else if (IsNameStart(c)) {
            while (pos_ < s_.size() && IsNameChar(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            t.kind = Kind::Name;
        } else {
            ++pos_;
            t.kind = Kind::Other;
        }
        t.text = s_.substr(start, pos_ - start);
        return t;
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace

bool SameValues(std::string_view a, std::string_view b) {
    if (a == b) return true;
    Tokenizer ta(a), tb(b);
    for (;;) {
        Token x = ta.Next(), y = tb.Next();
        if (x.kind != y.kind) return false;
        if (x.kind == Kind::End) return true;
        if (x.kind == Kind::Number ? x.number != y.number : x.text != y.text) return false;
    }
}

}  // namespace linevalues
