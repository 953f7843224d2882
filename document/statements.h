// Groups a script's lines into statements the way Lua reads them: a call whose parentheses close on
// a later line, a table whose braces do, a long string or long comment ([[ ... ]]) that runs over
// several lines, each is one statement of consecutive lines. The reader sorts statements, not
// lines, so that a statement is stored or kept as a whole and never cut in two.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace statements {

// Where a line's code stands: after its leading blanks, before a comment at its end, and before
// a ";" that ends it (with the blanks around them). What lies outside is kept when the code is
// rewritten.
struct Span {
    std::size_t begin = 0, end = 0;
};

struct Statement {
    std::size_t first = 0;  // index of its first line
    std::size_t count = 1;  // number of lines, at least 1
    // For a statement of several lines: its lines without their comments, joined by one blank,
    // which is what the line parsers read. Empty for a statement of one line (the line itself).
    std::string joined;
    // The statement never closes (the script is broken there): its call or string is still open
    // where the next statement, a comment line or the end of the file begins.
    bool open = false;
    // A long string or comment opens in its last line and never closes: the statement ends with
    // that line (its first, unless the line begins inside a string the statement opened).
    bool neverEnds = false;
    // A block: its first line begins with if, for, while, repeat, do or function (local function
    // too), and it runs to the line where its end (or until) closes it, or to the end of the
    // file. The reader keeps it whole, as written: what it does depends on where it stands.
    bool block = false;
    // A block that never closes: it runs to the end of the file, and nothing can follow it.
    bool toEnd = false;
    // For the usual statement, one line read alone: its CodeSpan, found while it was split.
    bool codeKnown = false;
    Span code;
};

// A script's lines, as views into its text: LF, CR LF and a CR alone each end a line, as they do
// for Lua, and an empty text is one empty line.
std::vector<std::string_view> Lines(std::string_view text);
// How often byte occurs in text, eight bytes at a time (std::count looks at one at a time).
std::size_t CountByte(std::string_view text, char byte);

// Every line belongs to exactly one statement; statements come in file order.
//
// A script that is not valid Lua still gives every line a statement: a call or string still open
// when a line begins a statement of its own, a line begins with "--", or the file ends, ends
// there, open; a long string or comment that never closes covers only its first line; a block
// that never closes runs to the end of the file.
std::vector<Statement> Split(const std::vector<std::string_view>& lines);

// The same statements one at a time, so that a long script is sorted without holding them all.
class Splitter {
public:
    explicit Splitter(const std::vector<std::string_view>& lines);
    // The next statement into out (reusing the memory of its joined text); false after the last.
    bool Next(Statement& out);

private:
    const std::vector<std::string_view>& lines_;
    std::size_t i_ = 0;  // the next statement's first line
    // Long brackets known to stay open to the end of the file, by (comment?, level): a later one
    // of the same kind cannot close either, so it is not looked for again.
    std::set<std::pair<bool, int>> neverClosed_;
    // Per long-bracket level: the last line that holds a closing bracket of that level, worked
    // out in one pass over the file the first time a long bracket stays open past its line. A
    // bracket still open after a line closes on a later one only if such a line follows, so a
    // bracket that never closes is known at once instead of being followed to the end of the
    // file (once per level, which made a file of many unclosed levels quadratic).
    std::unordered_map<int, std::size_t> lastClose_;
    bool lastCloseKnown_ = false;
    bool ClosesAfter(int level, std::size_t line);
    std::string code_;                // the statement's code, while it is gathered
    std::vector<std::size_t> codeAt_;  // where each of its lines' code begins in code_
    std::vector<bool> inCodeAt_;       // whether each of its lines begins outside strings and brackets
};

// A line read on its own, from outside any statement: Split's shortcut for the usual line, which
// is a whole statement. Unsure for what it leaves to the full scan (long brackets, a string that
// does not close in the line); Closed and Open agree with OpenAfter, the full scan.
enum class Alone { Closed, Open, Unsure };

// The Span of a line.
Span CodeSpan(std::string_view line);
// When the line is Closed and code is given, code receives its CodeSpan, found in the same pass.
Alone ReadAlone(std::string_view line, Span* code = nullptr);
bool OpenAfter(std::string_view line);

}  // namespace statements
