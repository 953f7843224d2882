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
#include "vouch.h"
#include "safewrite.h"
#include "scriptformat.h"
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

// Reads one script and gathers its findings in line order (on one line, the unreadable line
// before its names). Problems reading it go to err and raise worst.
FileReport CheckFile(const std::string& file, NameFindings* checker, std::ostream& err, int& worst) {
    FileReport r;
    r.path = file;
    SR2ShipFile doc;
    doc.SetWriteLogs(false);
    doc.SetRecordNameUses(checker != nullptr);
    std::string bytes;
    std::vector<std::string_view> lines;
    r.status = doc.OpenShipFile(file, &bytes, &lines);
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
        whole(Severity::Error, "byte-order-mark", 1, kByteOrderMarkProblem);
    if (!doc.HasStartShipConfig())
        whole(Severity::Warning, "no-startshipconfig", 0, "no StartShipConfig line: it may be no ship script");
    // The lines as Lua sees them: a byte-order mark is part of the first.
    if (doc.HasByteOrderMark())
        lines.front() = std::string_view(bytes.data(), lines.front().size() + scriptformat::kByteOrderMark.size());
    // Lua, the game's own language, judges whether the script loads: its refusal is an error,
    // with Lua's line and message.
    if (gamelua::Available()) {
        const gamelua::LoadCheck load = gamelua::CheckLoadVouched(bytes, lines);
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
    const bool mayIgnore = MayIgnore(bytes);
    if (mayIgnore && std::any_of(lines.begin(), lines.end(), IgnoresFile)) {
        r.findings.clear();
        return r;
    }
    // Silenced findings are dropped in place, those kept moving down over them.
    std::size_t kept = 0;
    for (Finding& f : r.findings) {
        const bool onLine = f.line > 0 && static_cast<std::size_t>(f.line) <= lines.size();
        const std::string_view line = onLine ? lines[static_cast<std::size_t>(f.line) - 1] : std::string_view();
        if (mayIgnore && IgnoresLine(line)) continue;
        if (f.lineText.empty()) f.lineText.assign(line);
        if (&f != &r.findings[kept]) r.findings[kept] = std::move(f);
        ++kept;
    }
    r.findings.erase(r.findings.begin() + static_cast<std::ptrdiff_t>(kept), r.findings.end());
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
