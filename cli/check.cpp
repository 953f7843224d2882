#include "check.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <tuple>

#include "findings.h"
#include "gamedata.h"
#include "gamelua.h"
#include "safewrite.h"
#include "sr2shipfile.h"
#include "suppression.h"
#include "u8path.h"
#include "unknownnames.h"

namespace fs = std::filesystem;
using scriptformat::NameKind;

const char* const kCheckUsage = "tarvisk-cli check [--data DIR]... [--format text|json|sarif|github]\n"
    "                         [--baseline FILE] [--write-baseline FILE] PATH...";

namespace {

struct Options {
    std::vector<std::string> dataDirs;  // in load order
    ReportFormat format = ReportFormat::Text;
    std::optional<std::string> baseline, writeBaseline;
    std::vector<std::string> paths;
};

// Nothing when the arguments are wrong.
std::optional<Options> ParseOptions(const std::vector<std::string>& args) {
    Options o;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnd && a == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (a == "--data" || a == "--format" || a == "--baseline" ||
                                   a == "--write-baseline")) {
            if (i + 1 >= args.size()) return std::nullopt;
            const std::string& value = args[++i];
            if (a == "--baseline") {
                o.baseline = value;
            } else if (a == "--write-baseline") {
                o.writeBaseline = value;
            } else if (a == "--data") {
                o.dataDirs.push_back(value);
            } else if (value == "text") {
                o.format = ReportFormat::Text;
            } else if (value == "json") {
                o.format = ReportFormat::Json;
            } else if (value == "sarif") {
                o.format = ReportFormat::Sarif;
            } else if (value == "github") {
                o.format = ReportFormat::Github;
            } else {
                return std::nullopt;
            }
        } else if (!optionsEnd && a.size() > 1 && a[0] == '-') {
            return std::nullopt;
        } else {
            o.paths.push_back(a);
        }
    }
    if (o.paths.empty()) return std::nullopt;
    return o;
}

// Unknown names as findings, through the look-up that the editor's Problems list shares.
class NameFindings {
public:
    explicit NameFindings(const gamedata::GameData& data) : names_(data) {}

    // Adds a finding for each name of doc that the game does not know.
    void Check(const SR2ShipFile& doc, const std::string& path, std::vector<Finding>& findings) {
        std::vector<UnknownName> unknown;
        names_.Check(doc, unknown);
        for (UnknownName& u : unknown) {
            Finding f;
            f.file = path;
            f.line = u.line;
            f.severity = Severity::Warning;
            f.kind = NameKindWord(u.kind);
            f.rule = kRuleUnknownPrefix + f.kind;
            std::replace(f.rule.begin(), f.rule.end(), ' ', '-');
            f.name = std::move(u.name);
            f.message = "unknown " + f.kind + " '" + f.name + "'";
            f.suggestion = std::move(u.suggestion);
            findings.push_back(std::move(f));
        }
    }

private:
    NameChecker names_;
};

bool HasShipEnding(const fs::path& p) { return gamedata::Lower(U8String(p.extension())) == ".ship"; }

}  // namespace

std::vector<std::string> Scripts(const std::string& path, std::ostream& err, int& worst,
                                 std::vector<Unsearched>* unsearched) {
    std::vector<std::string> files;
    std::error_code ec;
    const fs::path root = U8Path(path);
    if (!fs::is_directory(root, ec)) {
        files.push_back(path);
        return files;
    }
    // Folder by folder, so that one that cannot be searched is reported and the others are
    // still searched; a link to a folder is not followed into (it may lead back up the tree).
    std::vector<fs::path> folders{root};
    while (!folders.empty()) {
        const fs::path folder = std::move(folders.back());
        folders.pop_back();
        fs::directory_iterator it(folder, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::error_code kindError;
            if (it->is_directory(kindError) && !it->is_symlink(kindError)) folders.push_back(it->path());
            else if (it->is_regular_file(kindError) && HasShipEnding(it->path()))
                files.push_back(U8String(it->path()));
        }
        if (ec) {
            err << TerminalSafe("tarvisk-cli: '" + U8String(folder) + "' could not be searched: " + ec.message()) << ".\n";
            worst = std::max(worst, 2);
            if (unsearched) unsearched->push_back({U8String(folder), ec.message()});
            ec.clear();
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string_view> SplitScriptLines(std::string_view all) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = std::min(all.find_first_of("\r\n", start), all.size());
        lines.push_back(all.substr(start, end - start));
        start = end + (all.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

namespace {

// A script's path relative to the path that found it, with "/" between folders: a folder's
// script relative to that folder, a script named itself as it was named. A baseline written in
// one checkout, or on one system, then fits another.
std::string RelativeTo(const std::string& given, const std::string& file) {
    std::error_code ec;
    const fs::path root = U8Path(given);
    const fs::path p = fs::is_directory(root, ec) ? U8Path(file).lexically_relative(root) : U8Path(file);
    std::string s;
    for (const fs::path& part : p) {
        const std::string name = U8String(part);
        if (name == "/" || name == "\\") continue;  // the root's separator, already between parts
        if (!s.empty() && s.back() != '/') s += '/';
        s += name;
    }
    return p.has_root_directory() && !p.has_root_name() ? "/" + s : s;
}

// Lines whose meaning to Lua the hand-written reader vouches for: blank lines, plain comments and
// whole statements in the writer's own shapes (Name.Name = value, Name(value, ...), values being
// numbers, strings without escapes and names). Anything else is left to Lua.
class LineVoucher {
public:
    enum Kind { Blank, Statement, Other };

    static Kind Of(std::string_view line) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        if (line.empty()) return Blank;
        if (line.substr(0, 2) == "--")  // a long comment would reach over the following lines
            return line.size() > 2 && line[2] == '[' ? Other : Blank;
        LineVoucher v{line};
        if (!v.Name()) return Other;
        const bool field = v.Take('.');
        if (field && !v.Name()) return Other;
        v.Blanks();
        if (v.Take('=')) {  // Name.Name = value, or Name = Name() as the first line has it
            v.Blanks();
            if (field ? !v.Value() : !(v.Name() && v.Call())) return Other;
        } else if (field || !v.Call()) {
            return Other;
        }
        return v.rest_.empty() ? Statement : Other;
    }

private:
    explicit LineVoucher(std::string_view line) : rest_(line) {}
    std::string_view rest_;

    void Blanks() {
        while (!rest_.empty() && (rest_[0] == ' ' || rest_[0] == '\t')) rest_.remove_prefix(1);
    }
    // (value, value, ...) with blanks after the commas.
    bool Call() {
        if (!Take('(')) return false;
        if (Take(')')) return true;
        do {
            Blanks();
            if (!Value()) return false;
        } while (Take(','));
        return Take(')');
    }
    bool Take(char c) {
        if (rest_.empty() || rest_[0] != c) return false;
        rest_.remove_prefix(1);
        return true;
    }
    static bool Alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
    static bool Digit(char c) { return c >= '0' && c <= '9'; }
    bool Digits() {
        std::size_t n = 0;
        while (n < rest_.size() && Digit(rest_[n])) ++n;
        rest_.remove_prefix(n);
        return n > 0;
    }
    bool Name() {
        static constexpr std::string_view reserved[] = {"and", "break", "do", "else", "elseif", "end",
            "false", "for", "function", "if", "in", "local", "nil", "not", "or", "repeat", "return",
            "then", "true", "until", "while"};
        std::size_t n = 0;
        while (n < rest_.size() && (Alpha(rest_[n]) || (n > 0 && Digit(rest_[n])))) ++n;
        if (n == 0) return false;
        const std::string_view name = rest_.substr(0, n);
        if (n <= 8 && name[0] >= 'a' && name[0] <= 'w')  // the reserved words' letters and lengths
            for (std::string_view r : reserved)
                if (name == r) return false;
        rest_.remove_prefix(n);
        return true;
    }
    bool Value() {
        if (Take('"')) {
            const std::size_t close = rest_.find_first_of("\"\\");
            if (close == std::string_view::npos || rest_[close] != '"') return false;
            rest_.remove_prefix(close + 1);
            return true;
        }
        if (!rest_.empty() && Alpha(rest_[0])) return Name();
        Take('-');
        if (!Digits()) return false;
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('-')) Take('+');
            if (!Digits()) return false;
        }
        return rest_.empty() || rest_[0] == ',' || rest_[0] == ')';
    }
};

// The script as Lua needs to see it to say whether it loads: the statements the reader vouches
// for are blanked, lines keeping their numbers, except those next to a line it does not vouch
// for, which keep the statement boundaries round that line as they are. Empty when every line is
// vouched for.
std::string LinesForLua(const std::vector<std::string_view>& lines) {
    std::vector<LineVoucher::Kind> kinds;
    kinds.reserve(lines.size());
    bool any = false;
    for (std::string_view line : lines) {
        kinds.push_back(LineVoucher::Of(line));
        any = any || kinds.back() == LineVoucher::Other;
    }
    if (!any) return {};
    std::vector<bool> keep(lines.size());
    auto keepNeighbour = [&](std::size_t i, int step) {
        for (std::size_t j = i + step; j < lines.size(); j += step) {  // j wraps below 0 to the end
            if (kinds[j] == LineVoucher::Blank) continue;
            keep[j] = true;
            return;
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (kinds[i] == LineVoucher::Other) {
            keep[i] = true;
            keepNeighbour(i, -1);
            keepNeighbour(i, 1);
        }
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (keep[i]) text.append(lines[i]);
        text += '\n';
    }
    return text;
}

// Reads one script and gathers its findings in line order (on one line, the unreadable line
// before its names). Problems reading it go to err and raise worst.
FileReport CheckFile(const std::string& file, NameFindings* checker, std::ostream& err, int& worst) {
    FileReport r;
    r.path = file;
    SR2ShipFile doc;
    doc.SetWriteLogs(false);
    std::string bytes;
    r.status = doc.OpenShipFile(file, &bytes);
    if (r.status == 1) {
        err << TerminalSafe("tarvisk-cli: '" + file + "' does not exist.") << "\n";
        worst = std::max(worst, 1);
        return r;
    }
    auto whole = [&](Severity severity, const char* rule, int line, std::string message) {
        Finding f;
        f.file = file;
        f.line = line;
        f.severity = severity;
        f.rule = rule;
        f.message = std::move(message);
        r.findings.push_back(std::move(f));
    };
    if (r.status == 2 && !doc.NotTextReason().empty()) {
        // A compiled script or a binary file: an error of that file, which nothing reads further.
        r.status = 0;
        whole(Severity::Error, "not-text", 0, "'" + U8String(U8Path(file).filename()) + "' " + doc.NotTextReason());
        return r;
    }
    if (r.status != 0) {
        r.status = 2;
        r.failure = doc.OpenFailure().empty() ? "it could not be read" : doc.OpenFailure();
        err << TerminalSafe("tarvisk-cli: '" + file + "' could not be read: " + r.failure) << ".\n";
        worst = std::max(worst, 2);
        return r;
    }
    r.kept = doc.KeptLineCount();
    if (doc.HasByteOrderMark())
        whole(Severity::Error, "byte-order-mark", 1, "the file begins with a UTF-8 byte-order mark, which Lua 5.1 does not load");
    if (!doc.HasStartShipConfig())
        whole(Severity::Warning, "no-startshipconfig", 0, "no StartShipConfig line: it may be no ship script");
    const std::vector<std::string_view> lines = SplitScriptLines(bytes);
    // Lua, the game's own language, judges whether the script loads: its refusal is an error,
    // with Lua's line and message.
    if (gamelua::Available()) {
        const std::string forLua = LinesForLua(lines);
        gamelua::LoadCheck load{true, 0, {}};
        // What fails in part is asked again whole, for Lua's own line and message.
        if (!forLua.empty() && !gamelua::CheckLoad(forLua).loads) load = gamelua::CheckLoad(bytes);
        if (!load.loads) {
            Finding f;
            f.file = file;
            f.line = std::max(1, load.line);
            f.rule = kRuleLuaSyntax;
            f.message = load.message;
            r.findings.push_back(std::move(f));
        }
    }
    // A line the editor keeps as written is no fault of the script: Lua alone says whether the
    // script loads, and the game runs such lines as they stand. It is a note, so that a modder
    // knows which lines no sheet shows, and it never makes the run fail.
    for (const SR2ShipFile::ErrorLine& e : doc.ErrorLines()) {
        Finding f;
        f.file = file;
        f.line = e.line;
        f.severity = Severity::Note;
        f.rule = kRuleUnreadableLine;
        f.message = "kept as written: " + e.text;
        f.lineText = e.text;
        r.findings.push_back(std::move(f));
    }
    if (checker) checker->Check(doc, file, r.findings);
    std::stable_sort(r.findings.begin(), r.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    if (std::any_of(lines.begin(), lines.end(), IgnoresFile)) {
        r.findings.clear();
        return r;
    }
    std::vector<Finding> kept;
    for (Finding& f : r.findings) {
        const bool onLine = f.line > 0 && static_cast<std::size_t>(f.line) <= lines.size();
        const std::string_view line = onLine ? lines[static_cast<std::size_t>(f.line) - 1] : std::string_view();
        if (IgnoresLine(line)) continue;
        if (f.lineText.empty()) f.lineText.assign(line);
        kept.push_back(std::move(f));
    }
    r.findings = std::move(kept);
    return r;
}

}  // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<Options> options = ParseOptions(args);
    if (!options) {
        err << "usage: " << kCheckUsage << "\n";
        return 2;
    }
    int worst = 0;

    std::optional<gamedata::GameData> data;
    if (!options->dataDirs.empty()) {
        for (const std::string& dir : options->dataDirs) {
            std::error_code ec;
            if (!fs::is_directory(U8Path(dir), ec)) {
                err << "tarvisk-cli: the data directory '" << dir << "' does not exist.\n";
                return 1;
            }
        }
        data = gamedata::GameData::Read(options->dataDirs);
        if (!data->familyFileRead) {
            if (options->dataDirs.size() == 1)
                err << "tarvisk-cli: no family list in '" << options->dataDirs[0] << "'";
            else
                err << "tarvisk-cli: no family list in the data directories";
            err << " could be read";
            if (data->familyFileFound && !data->familyFileError.empty()) err << " (" << data->familyFileError << ")";
            err << "; family names are not checked.\n";
        }
    }
    std::optional<NameFindings> checker;
    if (data) checker.emplace(*data);

    // Findings known from a baseline are left out of the report. A baseline being written records
    // today's findings, which are then known too: the run that writes it reports nothing found.
    Baseline known, today;
    if (options->baseline) {
        std::string why;
        bool missing = false;
        if (!known.Read(*options->baseline, why, missing)) {
            err << "tarvisk-cli: the baseline '" << *options->baseline << "' " << why << ".\n";
            return missing ? 1 : 2;
        }
    }

    const std::unique_ptr<FindingFormatter> formatter = MakeFormatter(options->format, out, data.has_value());
    CheckTotals totals;
    bool found = false;
    for (const std::string& path : options->paths) {
        std::vector<Unsearched> unsearched;
        const std::vector<std::string> files = Scripts(path, err, worst, &unsearched);
        // A folder that could not be searched is part of the report too: its scripts were not
        // checked.
        for (const Unsearched& u : unsearched) {
            FileReport r;
            r.path = u.path;
            r.status = 2;
            r.failure = "it could not be searched (" + u.reason + ")";
            formatter->File(r);
        }
        for (const std::string& file : files) {
            FileReport r = CheckFile(file, checker ? &*checker : nullptr, err, worst);
            if (options->baseline || options->writeBaseline) {
                const std::string relative = RelativeTo(path, file);
                std::vector<Finding> fresh;
                for (Finding& f : r.findings) {
                    const std::string key = Baseline::Key(relative, f);
                    if (options->writeBaseline) today.Add(key);
                    else if (!known.Take(key)) fresh.push_back(std::move(f));
                }
                r.findings = std::move(fresh);
            }
            CountFindings(r, totals);
            for (const Finding& f : r.findings) found = found || f.severity != Severity::Note;
            formatter->File(r);
        }
    }
    formatter->Finish(totals);
    if (options->writeBaseline) {
        const std::string why = SafeWriteFile(*options->writeBaseline, today.Text()).reason;
        if (!why.empty()) {
            err << "tarvisk-cli: the baseline '" << *options->writeBaseline << "' could not be written: " << why
                << ".\n";
            return 2;
        }
    }
    if (worst) return worst;
    return found ? 3 : 0;
}
