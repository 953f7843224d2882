// What tarvisk-cli check found, as a list of findings, and the formats it prints them in: text
// for people, JSON for programs, SARIF for code-scanning services, and GitHub workflow commands.
// The check gathers findings per file; a formatter only prints them.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class Severity { Error, Warning, Note };

// The rules of the findings the check makes today; a rule names a kind of finding for SARIF and
// for baselines, so it never changes once released.
inline constexpr const char* kRuleUnreadableLine = "unreadable-line";
// A script that Lua, the game's language, refuses to load: Lua's line and message.
inline constexpr const char* kRuleLuaSyntax = "lua-syntax";
// What check and the Problems list say of a script that begins with a byte-order mark.
inline constexpr const char* kByteOrderMarkProblem =
    "the file begins with a UTF-8 byte-order mark, which Lua 5.1 does not load";
// Unknown names: "unknown-" followed by the kind with blanks as dashes ("unknown-salvage-chunk").
inline constexpr const char* kRuleUnknownPrefix = "unknown-";

struct Finding {
    std::string file;        // the script's path as given or found
    int line = 0;            // from 1; 0 for the file as a whole
    Severity severity = Severity::Error;
    std::string rule;        // a stable identifier, e.g. "unreadable-line", "unknown-weapon"
    std::string kind;        // unknown names: the kind of name ("weapon", "salvage chunk")
    std::string name;        // the name concerned; empty when none
    std::string message;     // e.g. "unknown weapon 'x'", without the suggestion
    std::optional<std::string> suggestion;
    std::string lineText;    // the line as read, without its line end
};

bool IsUnknownName(const Finding& f);

// One script the check looked at.
struct FileReport {
    std::string path;        // as given or found
    int status = 0;          // what reading it gave: 0 read, 1 missing, 2 unreadable
    std::string failure;     // unreadable: why ("Permission denied", "it is a FIFO", ...)
    int kept = 0;            // lines kept verbatim
    std::vector<Finding> findings;  // in line order
};

struct CheckTotals {
    std::size_t filesRead = 0;
    std::size_t errorLines = 0;    // unreadable lines reported
    std::size_t unknownNames = 0;  // unknown names reported
};

// Counts a file's findings into the totals.
void CountFindings(const FileReport& report, CheckTotals& totals);

enum class ReportFormat { Text, Json, Sarif, Github };

// Takes each file as it is checked and prints what it should as early as it can.
class FindingFormatter {
public:
    virtual ~FindingFormatter() = default;
    virtual void File(const FileReport& report) = 0;
    virtual void Finish(const CheckTotals& totals) = 0;
};

// namesChecked: whether the game's names were looked up (a data directory was given).
std::unique_ptr<FindingFormatter> MakeFormatter(ReportFormat format, std::ostream& out, bool namesChecked);

// text as the body of a JSON string: quotes, backslashes and control characters escaped; bytes
// that are not UTF-8 are taken as Latin-1 characters.
std::string JsonEscape(const std::string& text);

// text as a terminal may show it: control characters (C0, DEL, and C1 written in UTF-8), which a
// script could use to move the cursor, recolour or retitle the terminal, are written as \xHH
// (C1: \u00HH); tabs and everything else pass.
std::string TerminalSafe(std::string_view text);
