// OpenShipFile: reads a script, sorts every line into its category and hands it to its parser.
//
// Every line either takes effect exactly, takes effect and is remembered as read (when writing
// back what was stored would not give the same values), or is kept among the not-yet-recognised
// lines. Failures are logged and sorting goes on with the next line.
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <new>
#include <stdexcept>

#include "asciicase.h"
#include "filequery.h"
#include "linevalues.h"
#include "numbers.h"
#include "platformfile.h"
#include "scriptformat.h"
#include "shipwriter.h"
#include "statements.h"
#include "u8path.h"

namespace fs = std::filesystem;
using scriptformat::AssignmentKey;
using scriptformat::KeyKind;

namespace {

// A call line that cannot be stored at all.
struct LineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Finds a lower-case ASCII word in a text in any letter case. Every assignment is searched for
// one, so the search steps ahead by as much as the text's character under the word's last
// letter allows (Horspool), usually the word's whole length.
class WordFinder {
public:
    explicit WordFinder(std::string_view word) : word_(word) {
        skip_.fill(word.size());
        for (std::size_t i = 0; i + 1 < word.size(); ++i) {
            const auto c = static_cast<unsigned char>(word[i]);
            skip_[c] = word.size() - 1 - i;
            if (c >= 'a' && c <= 'z') skip_[c - 'a' + 'A'] = word.size() - 1 - i;
        }
    }
    bool In(std::string_view text) const {
        const std::size_t n = word_.size();
        for (std::size_t at = 0; at + n <= text.size();) {
            if (asciicase::StartsWithNoCase(text.substr(at), word_)) return true;
            at += skip_[static_cast<unsigned char>(text[at + n - 1])];
        }
        return false;
    }

private:
    std::string_view word_;
    std::array<std::size_t, 256> skip_;
};

// The pieces of s between the separators, as views into s; only the first `most` of them when
// that is given. A parser asks for no more than it reads: a line of millions of quotes or commas
// would otherwise cost a view for each.
std::vector<std::string_view> Split(std::string_view s, char at, std::size_t most = std::string_view::npos) {
    std::vector<std::string_view> parts;
    parts.reserve(8);
    for (std::size_t start = 0; parts.size() < most;) {
        const std::size_t end = s.find(at, start);
        if (end == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The text between the first pair of double quotes, if there is such a pair.
std::optional<std::string> FirstQuoted(std::string_view s) {
    std::size_t a = s.find('"');
    if (a == std::string_view::npos) return std::nullopt;
    std::size_t b = s.find('"', a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    return std::string(s.substr(a + 1, b - a - 1));
}

// The next `c` in s from `from` on that is not inside a quoted string.
std::size_t NextOutsideQuotes(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == c) return i;
        if (s[i] == '"' || s[i] == '\'') {
            const char q = s[i];
            for (++i; i < s.size() && s[i] != q; ++i)
                if (s[i] == '\\') ++i;
        }
    }
    return std::string_view::npos;
}

// The arguments of a call from comma argument `from` on, as written (blanks round them cut),
// up to the call's closing parenthesis; empty when it has no more.
std::string ExtraArgs(std::string_view line, const std::vector<std::string_view>& args, std::size_t from) {
    if (from >= args.size()) return {};
    const std::size_t start = static_cast<std::size_t>(args[from].data() - line.data());
    std::size_t end = line.rfind(')');
    if (end == std::string_view::npos || end < start) end = line.size();
    std::string_view text = line.substr(start, end - start);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    // Carried only when the call ends there and they are whole arguments (quotes closed, brackets
    // balanced): anything else is no call the writer could write again, and its line is kept.
    if (end == line.size() || end + 1 != line.size()) return {};
    int depth = 0;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(' || c == '{' || c == '[') {
            ++depth;
        } else if (c == ')' || c == '}' || c == ']') {
            if (--depth < 0) return {};
        } else if (c == '\\' || (c == '-' && i > 0 && text[i - 1] == '-')) {
            return {};
        }
    }
    if (quote || depth != 0) return {};
    return std::string(text);
}

std::size_t FieldIndex(const char* name) { return SR2ShipFile::FindField(name)->index; }

// The field of a KeyKind::Field key, looked up once for the whole table.
int KeyFieldIndex(const AssignmentKey& key) {
    static const std::vector<int> fields = [] {
        std::vector<int> v;
        for (const auto& k : scriptformat::AssignmentKeys())
            v.push_back(k.kind == KeyKind::Field ? static_cast<int>(FieldIndex(k.field)) : -1);
        return v;
    }();
    return fields[static_cast<std::size_t>(&key - scriptformat::AssignmentKeys().data())];
}

double Real(std::string_view text, const char* what) {
    std::string why;
    if (auto v = numbers::ParseReal(text, &why)) return *v;
    throw LineError(std::string(what) + " '" + std::string(text) + "' " + why);
}

std::int32_t Int32(std::string_view text, const char* what) {
    std::string why;
    if (auto v = numbers::ParseInt32(text, &why)) return *v;
    throw LineError(std::string(what) + " '" + std::string(text) + "' " + why);
}


// What a file's bytes are when they are no text script, or null: Lua takes a file that begins
// with ESC for a compiled chunk; UTF-16 begins with its byte-order mark; a NUL byte is in no text.
const char* NotTextKind(std::string_view data) {
    if (!data.empty() && data[0] == '\x1B') return "is a compiled script, not a text script: edit its source file instead";
    if (data.substr(0, 2) == "\xFF\xFE" || data.substr(0, 2) == "\xFE\xFF")
        return "is UTF-16 text, which the game does not read: save it as ANSI or UTF-8 text";
    if (data.find('\0') != std::string_view::npos) return "is not a text file: it holds NUL bytes";
    return nullptr;
}

// Lists are indexed by 16-bit numbers, so they end at 32768 items.
constexpr std::size_t kListLimit = 32768;

// A real script is under 100 KB; anything this big is refused before it is read.
constexpr std::uintmax_t kMaxScriptBytes = 256u << 20;
// A ship script is a few hundred lines, and each line costs the document some hundred bytes of
// records however short it is (a save a few hundred more): a file of very many short lines would
// take many times its size. One with more lines than this is refused before anything is built
// from it, so that what a line costs stays within a fixed allowance.
constexpr std::size_t kMaxScriptLines = 100'000;

// A log file, written in large pieces. It is opened without following a link, so a link planted
// under its name in a shared folder never makes the reader overwrite another file.
class LogFile {
public:
    ~LogFile() { Close(); }
    bool Open(const fs::path& path, bool append) { return file_.OpenNoFollow(path, append).empty(); }
    explicit operator bool() const { return file_.IsOpen(); }
    void Line(std::string_view text) {
        if (!file_.IsOpen()) return;
        buffer_.append(text);
        buffer_ += '\n';
        if (buffer_.size() >= (1u << 16)) Flush();
    }
    void Close() {
        Flush();
        file_.Close();
    }

private:
    void Flush() {
        if (file_.IsOpen() && !buffer_.empty() && !file_.Write(buffer_).empty()) file_.Close();
        buffer_.clear();
    }
    platformfile::OutFile file_;
    std::string buffer_;
};

}  // namespace

class ShipReader {
public:
    explicit ShipReader(SR2ShipFile& d) : d_(d) {}
    std::int16_t Open(const std::string& path, std::string* bytesRead, std::vector<std::string_view>* linesRead);
    // Reads bytes already in memory as the script at path, without logs.
    void ReadText(const std::string& path, std::string data);

private:
    SR2ShipFile& d_;
    LogFile debug_, errors_;
    std::optional<std::string> keepText_;  // text to keep for an unrecognised line, if not the line
    // What the statement being sorted set, for the line-origin records (LineOrigins()).
    using OriginKind = SR2ShipFile::LineOrigin::Kind;
    std::optional<std::pair<OriginKind, std::size_t>> origin_;
    void SetOrigin(OriginKind kind, std::size_t target) { origin_.emplace(kind, target); }
    // The statement being sorted exactly as read: its line, or its lines joined by CR LF. What is
    // kept of a statement is always all of it.
    std::string_view asRead_;
    std::string joinedRead_;  // asRead_ of a statement of several lines
    // What the statement being sorted was taken as, or null while it is not (yet) taken.
    const char* marker_ = nullptr;
    // The statement being sorted, as the parsers read it: a copy, since they may even out its
    // blanks.
    std::string line_;
    bool multiLine_ = false;  // several lines or never closed: kept only ever as read
    bool cleaned_ = false;    // a comment or a ";" was cut off the statement's code
    bool reformed_ = false;   // that, or blanks before it: what is kept of it is the line as read
    // Whether the line says what the writer's line says, the way the writer says it.
    bool Same(std::string_view line, std::string_view written) const {
        return !cleaned_ && linevalues::SameValues(line, written);
    }
    // Per field: its last line kept among the unrecognised, -1 for none; each such line links to
    // the field's one before it (by position in unrecognized_), so a later line drops them all.
    std::vector<int> lastUnrecOf_;
    std::vector<int> unrecBefore_;
    std::vector<int> inPlaceOf_;             // per field: its line kept in place, -1 for none
    // The first block has been read: from there on every statement is written where it stood.
    bool afterBlock_ = false;
    std::vector<bool> setBeforeBlock_;    // per field: a line before the first block set it
    // Called before a line stores a field's value: remembers the value set before the first
    // block, when this line sets it again after it.
    void SettingAgain(std::size_t field);
    std::optional<SR2ShipFile::Place> Here() const {
        if (!afterBlock_) return std::nullopt;
        return SR2ShipFile::Place{d_.unrecognized_.size() - 1, lineIndex_};
    }
    // A call the document holds once (an ability, the patch list) may come twice: the game makes
    // both calls. Of an ability's calls the last is read, the one the game keeps; an earlier one
    // is kept as read, and written before it. Of patch lists the first is read, a later one kept.
    std::vector<bool> abilityRead_;         // by ability: a line of it was read
    std::vector<std::string> abilityText_;  // by ability: its read call as read
    // By ability: where its read call stands among the kept lines, a line that holds nothing
    // until a later call makes the read one an earlier call, kept in its own place.
    std::vector<std::size_t> abilitySlot_;
    bool patchRead_ = false;
    void KeepEarlierCall(std::size_t ability);
    // The ability the statement being sorted calls, once its name is known: a call that cannot
    // be read is still known as a call of it.
    std::optional<std::size_t> abilityCalled_;
    void NoteBlockAbilities(std::string_view text, std::size_t first, std::size_t last);
    void NoteBlockAssignments(std::string_view text, std::size_t first, std::size_t last);
    void NoteKeptAssignment(std::string_view entry, std::size_t first, std::size_t last);
    bool NoteMultipleAssignment(std::string_view code, std::size_t first, std::size_t last);

    void OpenLogs();
    std::int16_t Read(const std::string& path, std::string* bytesRead, std::vector<std::string_view>* linesRead);
    // Reads data as the script at path; its lines go to linesRead when that is given.
    void Sort(const std::string& path, const std::string& data, std::vector<std::string_view>* linesRead = nullptr);
    void Debug(std::string_view text) { debug_.Line(text); }
    // The log line is given in pieces, joined only when the error log is open: a check of a mod
    // logs nothing, and would otherwise build a line for every line kept.
    void LogError(std::initializer_list<std::string_view> pieces) {
        ++d_.errorCount_;
        if (errors_) {
            std::string text;
            for (std::string_view p : pieces) text += p;
            errors_.Line(text);
        }
        const int line = static_cast<int>(lineIndex_) + 1;
        d_.errorLines_.push_back({line, errorText_ ? *errorText_ : std::string(asRead_)});
    }
    // The statement being sorted, for the error and name records: its first line's index and
    // its text (as read, or its lines joined when it has several).
    std::size_t lineIndex_ = 0;
    const std::string* errorText_ = nullptr;  // null for asRead_
    void RecordName(scriptformat::NameKind kind, int family, std::string name) {
        if (d_.recordNameUses_) d_.nameUses_.push_back({static_cast<int>(lineIndex_) + 1, kind, family, std::move(name)});
    }
    void Categorize(const std::vector<std::string_view>& raw);
    void CategorizeLine(std::string& line);

    void ParseAssignment(std::string& line);
    void ParseSharedModel(const std::string& line);
    void ParseWeaponConfig(const std::string& line);
    void ParseSalvageOnDeath(const std::string& line);
    void ParseShipPatchList(const std::string& line);
    void ParseAbility(const std::string& line);

    // Bookkeeping of lines kept for a field: a later line for the same field drops them.
    void DropKept(std::size_t field);
    SR2ShipFile::KeptLine Bound(std::string text, std::size_t field, int list) const;
    // A kept line that holds whatever the document's values become.
    static SR2ShipFile::KeptLine Unbound(std::string text) {
        SR2ShipFile::KeptLine k;
        k.text = std::move(text);
        return k;
    }
    void KeepUnrecognized(std::size_t field, int list, std::string text);
    void KeepInPlace(std::size_t field, int list, std::string text);
    // Records the names a line stored in a field of scriptformat::NamedFields().
    void RecordNames(std::size_t field, int list);
};

std::int16_t SR2ShipFile::OpenShipFile(const std::string& strShipFilePath, std::string* bytesRead,
                                       std::vector<std::string_view>* linesRead) {
    return ShipReader(*this).Open(strShipFilePath, bytesRead, bytesRead ? linesRead : nullptr);
}

void SR2ShipFile::ReadScriptText(const std::string& path, std::string bytes) {
    ShipReader(*this).ReadText(path, std::move(bytes));
}

void ShipReader::OpenLogs() {
    // The logs are a help, never a condition for reading: when the chosen folder cannot take both
    // of them they go to the per-user folder, and when that fails too the file is read without.
    auto tryFolder = [this](const fs::path& folder) {
        if (debug_.Open(folder / "debug.txt", d_.appendLogs_) && errors_.Open(folder / "errors.txt", d_.appendLogs_)) {
            d_.debugLogPath_ = U8String(folder / "debug.txt");
            d_.errorLogPath_ = U8String(folder / "errors.txt");
            return true;
        }
        debug_.Close();
        errors_.Close();
        return false;
    };
    d_.debugLogPath_.clear();
    d_.errorLogPath_.clear();
    const fs::path chosen = d_.logFolder_.empty() ? fs::path(".") : U8Path(d_.logFolder_);
    if (tryFolder(chosen)) return;
    const std::string fallback = SR2ShipFile::FallbackLogFolder();
    if (fallback.empty() || !platformfile::MakePrivateFolder(U8Path(fallback)).empty()) return;
    tryFolder(U8Path(fallback));
}

std::int16_t ShipReader::Open(const std::string& path, std::string* bytesRead,
                              std::vector<std::string_view>* linesRead) {
    d_.errorLines_.clear();
    d_.nameUses_.clear();
    if (d_.writeLogs_) {
        OpenLogs();
    } else {
        d_.debugLogPath_.clear();
        d_.errorLogPath_.clear();
    }
    d_.errorCount_ = 0;
    d_.openFailure_.clear();
    d_.notText_.clear();
    // The debug log names the file anyway; the error log does so only when it is shared.
    if (d_.headedLogs_) errors_.Line("Opening '" + path + "' for input...");
    try {
        return Read(path, bytesRead, linesRead);
    } catch (const std::bad_alloc&) {
        // Out of memory: the document is left empty rather than half read.
        d_.origins_.Clear();
        d_.unrecognized_.Clear();
        d_.inPlace_.Clear();
        d_.weapons_ = {};
        d_.salvage_ = {};
        d_.openFailure_ = "it is too large for the memory available";
        Debug("ERROR: '" + path + "' could not be read: " + d_.openFailure_ + ".");
        return 2;
    }
}

std::int16_t ShipReader::Read(const std::string& path, std::string* bytesRead,
                              std::vector<std::string_view>* linesRead) {
    std::string local, why;
    std::string& data = bytesRead ? *bytesRead : local;
    auto refuse = [&](const std::string& reason) -> std::int16_t {
        data.clear();  // only a script read has its bytes handed out
        d_.openFailure_ = reason;
        Debug("ERROR: '" + path + "' could not be read: " + reason + ".");
        return 2;
    };
    // One open and one read: a mod is hundreds of small files, and each look at a file costs.
    // Read into the caller's string when it wants the bytes, so that the lines read are views
    // into them.
    switch (platformfile::ReadWhole(U8Path(filequery::NativePath(path)), kMaxScriptBytes, data, why)) {
        case platformfile::ReadResult::Read: break;
        case platformfile::ReadResult::Missing:
            Debug("ERROR: '" + path + "' does not exist.");
            return 1;
        case platformfile::ReadResult::TooBig: return refuse("it is larger than 256 MiB");
        case platformfile::ReadResult::NotAFile: return refuse(why);
        case platformfile::ReadResult::CannotOpen: return refuse("it cannot be opened (" + why + ")");
        case platformfile::ReadResult::ReadFailed: return refuse("reading it failed (" + why + ")");
    }

    // Bytes the game's Lua would not read as a text script are refused before anything is taken
    // from them, so that no command stores into them or writes text after them.
    if (const char* what = NotTextKind(data)) {
        d_.notText_ = what;
        return refuse(what);
    }
    // (A file of fewer bytes cannot have more lines. With lone CRs among LFs a file may have up
    // to twice as many lines as the larger count says.)
    if (data.size() > kMaxScriptLines &&
        std::max(statements::CountByte(data, '\n'), statements::CountByte(data, '\r')) > kMaxScriptLines)
        return refuse("it has more than 100,000 lines");
    Sort(path, data, linesRead);
    return 0;
}

void ShipReader::ReadText(const std::string& path, std::string data) {
    d_.errorLines_.clear();
    d_.nameUses_.clear();
    d_.debugLogPath_.clear();
    d_.errorLogPath_.clear();
    d_.errorCount_ = 0;
    d_.openFailure_.clear();
    Sort(path, data);
}

void ShipReader::Sort(const std::string& path, const std::string& data, std::vector<std::string_view>* linesRead) {
    d_.unrecognized_.Clear();
    d_.inPlace_.Clear();
    d_.origins_.Clear();
    d_.assigned_.assign(SR2ShipFile::Fields().size(), false);
    d_.keptAbilities_.assign(scriptformat::Abilities().size(), std::nullopt);
    d_.abilityExtra_.assign(scriptformat::Abilities().size(), std::string());
    lastUnrecOf_.assign(SR2ShipFile::Fields().size(), -1);
    unrecBefore_.clear();
    inPlaceOf_.assign(SR2ShipFile::Fields().size(), -1);
    abilityRead_.assign(scriptformat::Abilities().size(), false);
    abilityText_.assign(scriptformat::Abilities().size(), std::string());
    abilitySlot_.assign(scriptformat::Abilities().size(), 0);
    patchRead_ = false;
    afterBlock_ = false;
    setBeforeBlock_.assign(SR2ShipFile::Fields().size(), false);
    d_.beforeBlock_.assign(SR2ShipFile::Fields().size(), std::nullopt);
    d_.fieldPlace_.assign(SR2ShipFile::Fields().size(), std::nullopt);
    d_.abilityPlace_.assign(scriptformat::Abilities().size(), std::nullopt);
    d_.patchPlace_.reset();

    Debug("Opening '" + path + "' for input...");
    std::string name = filequery::FileName(path);
    d_.sLoadSharedModel = name.substr(0, name.find(".ship"));

    // One byte per character; LF, CR LF and a CR alone each end a line, as they do for Lua, and
    // an empty file is one empty line. A UTF-8 byte-order mark is no part of the first line.
    // The lines are views into the bytes read: only what the document keeps is copied.
    std::string_view all(data);
    d_.bom_ = scriptformat::SkipByteOrderMark(all);
    std::vector<std::string_view> lines = statements::Lines(all);
    // Nearly every statement sets something: room for their records at once, rather than growing
    // (and copying) the list again and again through a long script.
    // Not more than a real script could use, though: a file of a million lines that set nothing
    // must not claim room for a million records it never fills.
    d_.origins_.Edit().reserve(std::min<std::size_t>(lines.size(), 1u << 16));
    Debug("Finished opening ship file.");
    Categorize(lines);
    if (linesRead) *linesRead = std::move(lines);
}

void ShipReader::Categorize(const std::vector<std::string_view>& raw) {
    Debug("Beginning categorization.");
    Debug("");
    d_.weapons_.clear();
    d_.salvage_.clear();
    d_.patches_.clear();
    d_.patchKeptText_.reset();
    d_.patchLineUnread_ = false;
    Debug("Array dimensioning complete.");
    Debug("");
    d_.SSOD_Num = d_.SSWC_Num = d_.MAM_Num = d_.MBM_Num = -1;
    d_.LSPL_Num = -1;  // no patch list until a patch-list line gives one
    d_.startShipConfig_ = false;
    d_.mam_.clear();
    d_.mbm_.clear();
    d_.CanAttack_Reset();
    d_.CanBuildShips_Reset();
    Debug("UBound(strLines) = " + numbers::FormatInteger(static_cast<std::int64_t>(raw.size()) - 1));

    // Statements, not lines: a call that goes on over several lines is sorted as one statement,
    // which starts at its first line (the index in messages).
    statements::Splitter splitter(raw);
    for (statements::Statement st; splitter.Next(st);) {
        const std::size_t i = st.first;
        multiLine_ = st.count > 1 || st.open;
        if (multiLine_) {
            joinedRead_.assign(raw[i]);
            for (std::size_t k = 1; k < st.count; ++k) {
                joinedRead_ += "\r\n";
                joinedRead_ += raw[i + k];
            }
            // A statement that never closes is kept with a comment line after it: read again,
            // the written script then ends it in the same place, whatever the writer put after it.
            if (st.open) joinedRead_ += "\r\n--";
            asRead_ = joinedRead_;
        } else {
            asRead_ = raw[i];
        }
        if (st.block) {
            // A block is kept whole, as written: what it does depends on where it stands.
            Debug(asRead_);
            NoteBlockAssignments(asRead_, i, i + st.count - 1);
            NoteBlockAbilities(asRead_, i, i + st.count - 1);
            d_.unrecognized_.Edit().push_back(Unbound(std::string(asRead_)));
            afterBlock_ = true;
            d_.origins_.Edit().push_back({OriginKind::Other, i, i + st.count - 1, d_.unrecognized_.size() - 1});
            continue;
        }
        // A comment block is sorted by its first line; any other statement by what the line
        // parsers read of all its lines.
        // Either is sorted in a copy of its own (the parsers may even out its blanks), so that
        // what was read stays as read.
        const std::size_t firstLength = raw[i].size();
        const bool joined = st.count > 1 && raw[i].rfind("--", 0) != 0;
        std::string& line = line_;
        // What the parsers read is the statement's code: without the blanks before it, a comment
        // after it or a ";" that ends it. A statement that had a comment or a ";" is never taken
        // as written the writer's way, so that it is written back as read.
        const std::string_view whole = joined ? std::string_view(st.joined) : raw[i];
        const statements::Span code = st.codeKnown ? st.code : statements::CodeSpan(whole);
        line.assign(whole.data() + code.begin, code.end - code.begin);
        std::size_t solid = whole.size();
        while (solid > code.end && (whole[solid - 1] == ' ' || whole[solid - 1] == '\t')) --solid;
        // (A statement of several lines is read without its comments: one of its lines may have had one.)
        cleaned_ = solid != code.end || (joined && asRead_.find("--") != std::string_view::npos);
        reformed_ = cleaned_ || code.begin > 0;
        const std::string_view parsed = joined ? std::string_view(st.joined) : std::string_view(asRead_.data(), firstLength);
        lineIndex_ = i;
        errorText_ = joined ? &st.joined : multiLine_ ? &line : nullptr;
        marker_ = nullptr;
        keepText_.reset();
        origin_.reset();
        abilityCalled_.reset();
        bool failed = false;
        try {
            // A line whose long string or comment never closes is never stored, only kept as
            // read among the unrecognised lines: written anywhere else, its bracket could close
            // on a line it never met here.
            if (st.neverEnds && (st.count > 1 || line.rfind("--", 0) != 0)) throw LineError("a long bracket never closes");
            CategorizeLine(line);
        } catch (const LineError&) {
            failed = true;
        }
        // Where the statement came from, for the save that keeps the file's own lines.
        // A statement kept as read (nothing took it, or it is an ability's earlier call or an
        // ability the editor does not know) also has a record that says which kept line it is, so
        // that it can be edited as text and its lines rewritten on their own.
        const bool other = failed || !marker_;
        if (!failed && origin_)
            d_.origins_.Edit().push_back({origin_->first, i, i + st.count - 1, origin_->second});
        if (failed) {
            LogError({"Error on line ", numbers::FormatInteger(static_cast<std::int64_t>(i)), ": ", parsed});
            // Kept as read; a patch list that could not be read is this line, and no other.
            if (asciicase::StartsWithNoCase(line, "loadshippa")) d_.patchLineUnread_ = true;
            // A call of an ability that cannot be read still adds it in the game.
            if (abilityCalled_) d_.origins_.Edit().push_back({OriginKind::AbilityKept, i, i + st.count - 1, *abilityCalled_});
            d_.unrecognized_.Edit().push_back(Unbound(std::string(asRead_)));
        } else if (!marker_) {
            Debug(line);
            std::string kept = multiLine_ || reformed_ ? std::string(asRead_) : keepText_ ? *keepText_ : line;
            d_.unrecognized_.Edit().push_back(Unbound(std::move(kept)));
            // An assignment of several entries at once is kept as read, and like a block, what
            // it does depends on where it stands: from here on, statements keep their places.
            if (NoteMultipleAssignment(line, i, i + st.count - 1)) afterBlock_ = true;
        }
        if (other)
            d_.origins_.Edit().push_back({OriginKind::Other, i, i + st.count - 1, d_.unrecognized_.size() - 1});
    }
    Debug("");
    Debug("Categorization completed.");
}

void ShipReader::CategorizeLine(std::string& line) {
    // The prefixes are tested on the line exactly as read: an indented line is never recognised.
    struct Category {
        std::string_view prefix;
        const char* marker;
        void (ShipReader::*parse)(const std::string&);
    };
    static const Category categories[] = {
        {"--", "CMT -CLEARED-", nullptr},
        {"", "EMPTY -CLEARED-", nullptr},
        {"loadmo", "LOADMODEL -CLEARED-", nullptr},
        {"loadsha", "SHAREDMODEL -CLEARED-", &ShipReader::ParseSharedModel},
        {"startshipw", "SSWC -CLEARED-", &ShipReader::ParseWeaponConfig},
        {"spawnsal", "SSOD -CLEARED-", &ShipReader::ParseSalvageOnDeath},
        {"loadshippa", "LSPL -CLEARED-", &ShipReader::ParseShipPatchList},
        {"addability", "ABILITY -CLEARED-", &ShipReader::ParseAbility},
    };
    // Nearly every line begins with NewShipType as the game writes it: that is told by one
    // comparison before the comparison that ignores case.
    if (line.starts_with("NewS") || asciicase::StartsWithNoCase(line, "news")) {
        marker_ = "NST -CLEARED-";
        ParseAssignment(line);
        return;
    }
    for (const auto& c : categories) {
        const bool match = !c.prefix.empty() ? asciicase::StartsWithNoCase(line, c.prefix) : line.empty();
        if (!match) continue;
        marker_ = c.marker;
        if (c.parse) (this->*c.parse)(line);
        return;
    }
}

// ----- Blocks -----

// The entries a block assigns (NewShipType.name = ..., NewShipType["name"] = ...), each recorded
// with the block's lines: an edit of such an entry cannot take effect by rewriting another line.
void ShipReader::NoteBlockAssignments(std::string_view text, std::size_t first, std::size_t last) {
    constexpr std::string_view table = "newshiptype";
    for (std::size_t at = 0; (at = text.find_first_of("Nn", at)) != std::string_view::npos; ++at) {
        if (!asciicase::StartsWithNoCase(text.substr(at), table)) continue;
        std::size_t p = at + table.size();
        auto blanks = [&] {
            while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
        };
        blanks();
        std::string_view name;
        if (p < text.size() && text[p] == '.') {
            ++p;
            blanks();
            const std::size_t from = p;
            while (p < text.size() && (std::isalnum(static_cast<unsigned char>(text[p])) || text[p] == '_')) ++p;
            name = text.substr(from, p - from);
        } else if (p + 1 < text.size() && text[p] == '[' && (text[p + 1] == '"' || text[p + 1] == '\'')) {
            const std::size_t close = text.find(text[p + 1], p + 2);
            if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ']') continue;
            name = text.substr(p + 2, close - p - 2);
            p = close + 2;
        }
        blanks();
        if (name.empty() || p >= text.size() || text[p] != '=' || (p + 1 < text.size() && text[p + 1] == '=')) continue;
        NoteKeptAssignment(name, first, last);
    }
}

void ShipReader::NoteKeptAssignment(std::string_view name, std::size_t first, std::size_t last) {
    const AssignmentKey* key = scriptformat::FindAssignmentKey(name);
    if (!key) return;
    std::vector<std::size_t> fields;
    switch (key->kind) {
        case KeyKind::Field: fields.push_back(static_cast<std::size_t>(KeyFieldIndex(*key))); break;
        case KeyKind::UpLod:
            for (const char* f : {"iUpLOD0", "iUpLOD1", "iUpLOD2"}) fields.push_back(FieldIndex(f));
            break;
        case KeyKind::DownLod:
            for (const char* f : {"iDownLOD0", "iDownLOD1", "iDownLOD2"}) fields.push_back(FieldIndex(f));
            break;
        case KeyKind::MirrorAbove: fields.push_back(FieldIndex("MAM_Num")); break;
        case KeyKind::MirrorBelow: fields.push_back(FieldIndex("MBM_Num")); break;
    }
    for (std::size_t f : fields) d_.origins_.Edit().push_back({OriginKind::Block, first, last, f});
}

// An assignment of several targets at once (NewShipType.a, NewShipType.b = 1, 2): its entries are
// recorded as a block's are, since the line is kept as read and never rewritten. True when it
// sets an entry the document knows.
bool ShipReader::NoteMultipleAssignment(std::string_view code, std::size_t first, std::size_t last) {
    if (code.find(',') == std::string_view::npos || code.find('=') == std::string_view::npos) return false;
    // The targets: the code before its first "=" outside strings and brackets that is no
    // comparison, cut at the commas outside brackets.
    std::vector<std::string_view> targets;
    std::size_t from = 0;
    int depth = 0;
    bool assigns = false;
    for (std::size_t i = 0; i < code.size() && !assigns; ++i) {
        const char c = code[i];
        if (c == '"' || c == '\'') {
            while (++i < code.size() && code[i] != c)
                if (code[i] == '\\') ++i;
        } else if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if (c == ')' || c == ']' || c == '}') {
            --depth;
        } else if (depth == 0 && c == ',') {
            targets.push_back(code.substr(from, i - from));
            from = i + 1;
        } else if (depth == 0 && c == '=') {
            if ((i + 1 < code.size() && code[i + 1] == '=') || (i > 0 && std::string_view("=~<>").find(code[i - 1]) != std::string_view::npos))
                return false;
            targets.push_back(code.substr(from, i - from));
            assigns = true;
        }
    }
    if (!assigns || targets.size() < 2) return false;
    const std::size_t before = d_.origins_.size();
    constexpr std::string_view table = "newshiptype";
    for (std::string_view t : targets) {
        while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
        if (!asciicase::StartsWithNoCase(t, table)) continue;
        t.remove_prefix(table.size());
        while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
        if (!t.empty() && t.front() == '.') {
            t.remove_prefix(1);
            while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
        } else if (t.size() >= 4 && t[0] == '[' && (t[1] == '"' || t[1] == '\'') && t.back() == ']' && t[t.size() - 2] == t[1]) {
            t = t.substr(2, t.size() - 4);
        } else {
            continue;
        }
        NoteKeptAssignment(t, first, last);
    }
    return d_.origins_.size() > before;
}

// The abilities a block adds (addAbility(NewShipType, "name", ...)): an edit of such an ability
// cannot take effect by rewriting another line.
void ShipReader::NoteBlockAbilities(std::string_view text, std::size_t first, std::size_t last) {
    constexpr std::string_view call = "addability", table = "newshiptype";
    const auto& abilities = scriptformat::Abilities();
    for (std::size_t at = 0; (at = text.find_first_of("Aa", at)) != std::string_view::npos; ++at) {
        if (!asciicase::StartsWithNoCase(text.substr(at), call)) continue;
        std::size_t p = at + call.size();
        auto blanks = [&] {
            while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
        };
        auto take = [&](std::string_view what) {
            blanks();
            if (!asciicase::StartsWithNoCase(text.substr(p), what)) return false;
            p += what.size();
            return true;
        };
        if (!take("(") || !take(table) || !take(",")) continue;
        blanks();
        if (p >= text.size() || (text[p] != '"' && text[p] != '\'')) continue;
        const std::size_t close = text.find(text[p], p + 1);
        if (close == std::string_view::npos) continue;
        const std::string_view name = text.substr(p + 1, close - p - 1);
        for (std::size_t a = 0; a < abilities.size(); ++a)
            if (asciicase::EqualNoCase(name, abilities[a].name)) d_.origins_.Edit().push_back({OriginKind::AbilityKept, first, last, a});
    }
}

// ----- Kept lines -----

void ShipReader::SettingAgain(std::size_t field) {
    if (!afterBlock_) {
        setBeforeBlock_[field] = true;
        return;
    }
    if (!setBeforeBlock_[field] || d_.fieldPlace_[field]) return;
    d_.beforeBlock_[field] = inPlaceOf_[field] >= 0 ? d_.inPlace_[static_cast<std::size_t>(inPlaceOf_[field])].text
                                                    : ShipWriter::ValueLine(d_, field);
}

void ShipReader::DropKept(std::size_t field) {
    for (int at = lastUnrecOf_[field]; at >= 0; at = unrecBefore_[static_cast<std::size_t>(at)])
        d_.unrecognized_.Edit()[static_cast<std::size_t>(at)].dropped = true;
    if (inPlaceOf_[field] >= 0) d_.inPlace_.Edit()[static_cast<std::size_t>(inPlaceOf_[field])].dropped = true;
    lastUnrecOf_[field] = -1;
    inPlaceOf_[field] = -1;
}

SR2ShipFile::KeptLine ShipReader::Bound(std::string text, std::size_t field, int list) const {
    SR2ShipFile::KeptLine k;
    k.text = std::move(text);
    k.field = static_cast<int>(field);
    k.list = list;
    using Value = std::variant<FieldValue, std::vector<std::string>>;
    if (list >= 0) k.valueRead = std::make_shared<const Value>(list == 0 ? d_.mam_ : d_.mbm_);
    else k.valueRead = std::make_shared<const Value>(d_.GetFieldAt(field));
    return k;
}

void ShipReader::KeepUnrecognized(std::size_t field, int list, std::string text) {
    const auto at = d_.unrecognized_.size();
    unrecBefore_.resize(at + 1, -1);
    unrecBefore_[at] = lastUnrecOf_[field];
    lastUnrecOf_[field] = static_cast<int>(at);
    d_.unrecognized_.Edit().push_back(Bound(std::move(text), field, list));
}

void ShipReader::KeepInPlace(std::size_t field, int list, std::string text) {
    inPlaceOf_[field] = static_cast<int>(d_.inPlace_.size());
    d_.inPlace_.Edit().push_back(Bound(std::move(text), field, list));
}

// ----- Assignments -----

void ShipReader::ParseAssignment(std::string& line) {
    // The line as it came: copied only when evening out the blanks changes it.
    std::string original;
    const std::string* asParsed = &line;
    // The first "=" and the next one: how many the line holds (none, one, or more) and where the
    // entry name and the value are.
    std::size_t first = line.find('=');
    std::size_t second = first == std::string::npos ? first : NextOutsideQuotes(line, '=', first + 1);
    const int equals = first == std::string::npos ? 0 : second == std::string::npos ? 1 : 2;

    // Even out the blanks round the first "=": a=b, a =b, a= b and a = b all become a = b.
    bool failed = equals == 0;
    if (!failed) {
        // The text before the first "=" and the text between it and the next one.
        const std::size_t p1End = second == std::string::npos ? line.size() : second;
        const bool p0Blank = first > 0 && line[first - 1] == ' ';
        const bool p1Blank = first + 1 < p1End && line[first + 1] == ' ';
        // Most lines already read "a = b" and stay as they are.
        if (!p0Blank || !p1Blank) {
            original = line;
            asParsed = &original;
            const std::string p0 = line.substr(0, first);
            const std::string p1 = line.substr(first + 1, p1End - first - 1);
            if (p0Blank) line = p0 + "= " + p1;
            else line = p0 + (p1Blank ? " =" : " = ") + p1;
            // What followed a second "=" is gone from the evened line.
            first = line.find('=');
            second = std::string::npos;
        }
    }
    // Kept as normalised only when normalising dropped nothing (a second "=" would be lost), and
    // a statement of several lines always as read.
    const std::string& parsed = *asParsed;
    const std::string_view keepText = equals == 1 && !multiLine_ && !reformed_ ? std::string_view(line) : asRead_;

    static const WordFinder startShipConfig("startshipconfig");
    if (line.find('(') != std::string::npos && startShipConfig.In(line)) {  // a StartShipConfig line calls it
        marker_ = "NST -- SSC -CLEARED-";
        d_.startShipConfig_ = true;
        SetOrigin(OriginKind::StartShipConfig, 0);
        return;
    }
    // The entry is known by its whole name, between "NewShipType." and "=", blanks trimmed:
    // maxhealthRegenBonus is not maxhealth, and massless is no mass. NewShipType["mass"] (or
    // with single quotes) is the same entry.
    const AssignmentKey* key = nullptr;
    constexpr std::string_view prefix = "newshiptype";
    if ((line.starts_with("NewShipType") || asciicase::StartsWithNoCase(line, prefix)) && first != std::string::npos) {
        // (No "=" is in the prefix, so the first comes after it.)
        std::string_view name(line.data() + prefix.size(), first - prefix.size());
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
        if (!name.empty() && name[0] == '.') {
            name.remove_prefix(1);
        } else if (name.size() >= 4 && name[0] == '[' && name.back() == ']' && (name[1] == '"' || name[1] == '\'') &&
                   name[name.size() - 2] == name[1]) {
            name = name.substr(2, name.size() - 4);
        } else {
            name = {};
        }
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
        if (!name.empty()) key = scriptformat::FindAssignmentKey(name);
    }

    // The field this line sets; -1 for an entry the document does not know.
    int field = -1, list = -1;
    if (key) {
        switch (key->kind) {
            case KeyKind::Field: field = KeyFieldIndex(*key); break;
            case KeyKind::UpLod:
            case KeyKind::DownLod: {
                // One entry of three slots: each line fills the first slot still 0, else slot 2.
                const char* up[] = {"iUpLOD0", "iUpLOD1", "iUpLOD2"};
                const char* down[] = {"iDownLOD0", "iDownLOD1", "iDownLOD2"};
                const char** slots = key->kind == KeyKind::UpLod ? up : down;
                field = static_cast<int>(FieldIndex(slots[2]));
                for (int s = 0; s < 3; ++s)
                    if (std::get<std::int32_t>(d_.GetField(slots[s])) == 0) {
                        field = static_cast<int>(FieldIndex(slots[s]));
                        break;
                    }
                break;
            }
            case KeyKind::MirrorAbove: field = static_cast<int>(FieldIndex("MAM_Num")); list = 0; break;
            case KeyKind::MirrorBelow: field = static_cast<int>(FieldIndex("MBM_Num")); list = 1; break;
        }
    }
    if (field < 0) {
        if (failed) LogError({"ERROR: ", line});
        marker_ = nullptr;
        keepText_ = std::string(keepText);
        return;
    }
    const std::size_t f = static_cast<std::size_t>(field);
    const FieldType type = SR2ShipFile::Fields()[f].type;
    // Whether or not its value converts, the line is the one that sets this entry.
    SetOrigin(OriginKind::Assignment, f);

    // The value: quoted text for strings and the mirror lists, else the number after " = ".
    std::optional<FieldValue> value;
    if (!failed) {
        if (type == FieldType::String || list >= 0) {
            if (auto q = FirstQuoted(line)) value = std::move(*q);
        } else {
            // Evened out, the line's first "=" stands between blanks: the value follows it, up to
            // the next " = " if there is one.
            std::string_view text = std::string_view(line).substr(first + 2);
            if (second != std::string::npos) text = text.substr(0, text.find(" = "));
            if (type == FieldType::Int32) {
                if (auto v = numbers::ParseInt32(text)) value = *v;
            } else if (type == FieldType::Int16) {
                if (auto v = numbers::ParseInt16(text)) value = *v;
            } else if (auto v = numbers::ParseReal(text)) {
                value = *v;
            }
        }
    }

    if (!value) {
        // Nothing stored: the field keeps its value, and so do the lines kept for it earlier. The
        // line comes back among the not-yet-recognised lines for as long as the field keeps it.
        LogError({"ERROR: ", line});
        KeepUnrecognized(f, list, std::string(keepText));
        return;
    }
    SettingAgain(f);
    DropKept(f);
    std::string canonical;
    bool exact = false;  // the line reads as the writer writes it
    if (list >= 0) {
        const auto pieces = Split(std::get<std::string>(*value), ',');
        std::vector<std::string> names(pieces.begin(), pieces.end());
        if (std::get<std::string>(*value).empty()) names.clear();
        if (list == 0) {
            d_.mam_ = std::move(names);
            d_.MAM_Num = static_cast<std::int32_t>(d_.mam_.size()) - 1;
        } else {
            d_.mbm_ = std::move(names);
            d_.MBM_Num = static_cast<std::int32_t>(d_.mbm_.size()) - 1;
        }
        canonical = ShipWriter::MirrorLine(ShipWriter::KeyOf(f), list == 0 ? d_.mam_ : d_.mbm_);
    } else {
        // Most lines read exactly as they are written back: key and value form are compared
        // without building the whole line.
        static const std::size_t sharedModel = FieldIndex("sLoadSharedModel");
        const char* key = ShipWriter::KeyOf(f);
        if (key && f != sharedModel) {
            const std::string_view k(key), p(parsed);
            exact = !cleaned_ && p.starts_with(k) && ShipWriter::FormIs(*value, p.substr(k.size()));
        }
        d_.SetFieldAt(f, std::move(*value));
        if (!exact) canonical = ShipWriter::FieldLine(d_, f);
    }
    d_.assigned_[f] = true;
    d_.fieldPlace_[f] = Here();
    RecordNames(f, list);
    if (!exact && !Same(parsed, canonical)) KeepInPlace(f, list, std::string(asRead_));
}

void ShipReader::RecordNames(std::size_t field, int list) {
    // Per field: its entry of the named-field table, found once.
    static const std::vector<const scriptformat::NamedField*> named = [] {
        std::vector<const scriptformat::NamedField*> byField(SR2ShipFile::Fields().size(), nullptr);
        for (const auto& n : scriptformat::NamedFields()) byField[FieldIndex(n.field)] = &n;
        return byField;
    }();
    const scriptformat::NamedField* n = named[field];
    if (!n || !d_.recordNameUses_) return;  // (nor the field's value copied when none is recorded)
    if (list >= 0) {
        for (const std::string& name : list == 0 ? d_.mam_ : d_.mbm_) RecordName(n->kind, n->family, name);
    } else {
        RecordName(n->kind, n->family, std::get<std::string>(d_.GetFieldAt(field)));
    }
}

// ----- Call lines -----

void ShipReader::ParseSharedModel(const std::string& line) {
    auto q = Split(line, '"', 3);
    if (q.size() < 3) throw LineError("no quoted model name");
    const std::size_t f = FieldIndex("sLoadSharedModel");
    SettingAgain(f);
    DropKept(f);
    d_.sLoadSharedModel = q[1];
    d_.fieldPlace_[f] = Here();
    SetOrigin(OriginKind::SharedModel, f);
    if (!Same(line, ShipWriter::SharedModelLine(d_.sLoadSharedModel)))
        KeepInPlace(f, -1, std::string(asRead_));
}

void ShipReader::ParseWeaponConfig(const std::string& line) {
    auto q = Split(line, '"', 6);
    if (q.size() < 6) throw LineError("fewer than three quoted names");
    if (d_.weapons_.size() >= kListLimit) throw LineError("the weapon list is full");
    // Arguments after the third name are carried as written.
    std::string extra;
    const std::size_t closing = static_cast<std::size_t>(q[5].data() - line.data()) + q[5].size();
    if (const std::size_t comma = line.find(',', closing); comma != std::string::npos) {
        const std::vector<std::string_view> rest{std::string_view(line).substr(comma + 1)};
        extra = ExtraArgs(line, rest, 0);
    }
    SR2ShipFile::Entry<SR2ShipFile::WeaponItem> e{
        {std::string(q[1]), std::string(q[3]), std::string(q[5]), std::move(extra)}, std::nullopt, {}, Here()};
    if (!Same(line, ShipWriter::WeaponLine(e.values))) {
        e.keptText = std::string(asRead_);
        e.keptValues = e.values;
    }
    RecordName(scriptformat::NameKind::Weapon, -1, e.values.name);
    d_.weapons_.push_back(std::move(e));
    d_.SSWC_Num = static_cast<std::int32_t>(d_.weapons_.size()) - 1;
    SetOrigin(OriginKind::Weapon, d_.weapons_.size() - 1);
}

void ShipReader::ParseSalvageOnDeath(const std::string& line) {
    auto q = Split(line, '"', 3);
    auto args = Split(line, ',', 21);  // 20 when the call has no more arguments
    if (q.size() < 3) throw LineError("no quoted chunk name");
    if (args.size() < 20) throw LineError("too few arguments");
    if (d_.salvage_.size() >= kListLimit) throw LineError("the salvage list is full");
    SR2ShipFile::Entry<SR2ShipFile::SalvageItem> e;
    e.place = Here();
    e.values.name = q[1];
    e.values.chunks = Int32(args[2], "number of chunks");
    for (int i = 0; i < 16; ++i) e.values.reals[i] = Real(args[3 + i], "value");
    // The last argument carries the closing parenthesis. Later game versions give 22 or 25
    // values: those after the 19 the editor knows are carried as written.
    std::string_view last = args[19];
    if (args.size() == 20) {
        if (last.empty()) throw LineError("no last argument");
        last.remove_suffix(1);
    } else {
        e.values.extra = ExtraArgs(line, args, 20);
    }
    e.values.reals[16] = Real(last, "random tumble modifier");
    if (!Same(line, ShipWriter::SalvageLine(e.values))) {
        e.keptText = std::string(asRead_);
        e.keptValues = e.values;
    }
    RecordName(scriptformat::NameKind::SalvageChunk, -1, e.values.name);
    d_.salvage_.push_back(std::move(e));
    d_.SSOD_Num = static_cast<std::int32_t>(d_.salvage_.size()) - 1;
    SetOrigin(OriginKind::Salvage, d_.salvage_.size() - 1);
}

void ShipReader::ParseShipPatchList(const std::string& line) {
    auto q = Split(line, '"', 3);
    if (q.size() < 3) throw LineError("no quoted directory");
    // The comma arguments are taken one at a time and the patches grow as they are read: a line
    // of millions of commas costs neither a view per argument nor room for patches it never has.
    const int last = static_cast<int>(statements::CountByte(line, ','));  // the last argument's index
    const int num = static_cast<int>(numbers::RoundHalfEven((last - 2) / 3.0 - 1));
    if (num < -1) throw LineError("too few arguments");
    std::size_t at = line.find(',');
    at = line.find(',', at + 1);  // the second: argument 2 follows it
    auto nextArg = [&] {
        const std::size_t from = at + 1;
        at = line.find(',', from);
        return std::string_view(line).substr(from, (at == std::string::npos ? line.size() : at) - from);
    };
    std::vector<SR2ShipFile::PatchItem> items;
    for (int i = 2; i <= last; i += 3) {
        if ((i - 2) / 3 > num || i + 2 > last) throw LineError("an incomplete patch");
        SR2ShipFile::PatchItem patch;
        patch.value = Int32(nextArg(), "patch value");
        auto effect = FirstQuoted(nextArg());
        auto marker = FirstQuoted(nextArg());
        if (!effect || !marker) throw LineError("a patch without its quoted names");
        patch.effect = std::move(*effect);
        patch.marker = std::move(*marker);
        items.push_back(std::move(patch));
    }
    items.resize(static_cast<std::size_t>(num + 1));
    if (patchRead_ && d_.LSPL_Num >= 0) {
        marker_ = nullptr;
        return;
    }
    patchRead_ = true;
    d_.patchPlace_ = Here();
    d_.LSPL_Directory = q[1];
    d_.patches_ = std::move(items);
    d_.LSPL_Num = num;
    SetOrigin(OriginKind::PatchList, 0);
    if (Same(line, ShipWriter::PatchLine(d_.LSPL_Directory, d_.patches_))) {
        d_.patchKeptText_.reset();
    } else {
        d_.patchKeptText_ = std::string(asRead_);
        d_.patchKeptValues_ = {d_.LSPL_Directory, d_.patches_};
    }
}

void ShipReader::ParseAbility(const std::string& line) {
    auto q = Split(line, '"', 5);
    if (q.size() < 3) throw LineError("no quoted ability name");
    const auto& abilities = scriptformat::Abilities();
    const auto it = std::find_if(abilities.begin(), abilities.end(), [&q](const scriptformat::Ability& a) {
        return asciicase::EqualNoCase(q[1], a.name);
    });
    if (it == abilities.end()) {
        // Not an ability the editor knows: kept as read.
        marker_ = nullptr;
        SetOrigin(OriginKind::Ability, SR2ShipFile::kNoTarget);
        return;
    }
    const std::size_t index = static_cast<std::size_t>(it - abilities.begin());
    abilityCalled_ = index;
    // Per ability: the fields of its presence, its arguments and its quoted text, found once.
    struct AbilityFields {
        std::size_t presence = 0;
        std::vector<std::size_t> args;
        std::optional<std::size_t> quoted;
    };
    static const std::vector<AbilityFields> fieldsOf = [&abilities] {
        std::vector<AbilityFields> v;
        for (const auto& a : abilities) {
            AbilityFields f{FieldIndex(a.presence), {}, std::nullopt};
            for (const char* arg : a.args) f.args.push_back(FieldIndex(arg));
            if (a.quotedArg) f.quoted = FieldIndex(a.quotedArg);
            v.push_back(std::move(f));
        }
        return v;
    }();
    const AbilityFields& fields = fieldsOf[index];
    if (it->listValued) {
        // Its family lists are not read, so the line itself is what keeps them.
        d_.SetFieldAt(fields.presence, true);
        marker_ = nullptr;
        SetOrigin(OriginKind::Ability, index);
        return;
    }
    // The arguments it knows, and the start of the first it does not.
    const std::size_t known = 2 + fields.args.size() + (fields.quoted ? 1 : 0);
    auto args = Split(line, ',', known + 1);
    std::vector<FieldValue> values;
    values.reserve(fields.args.size() + 1);
    for (std::size_t j = 0; j < fields.args.size(); ++j) {
        if (2 + j >= args.size()) throw LineError("too few arguments");
        const std::string cleaned = ShipWriter::StripBlanksAndParens(std::string(args[2 + j]));
        switch (SR2ShipFile::Fields()[fields.args[j]].type) {
            case FieldType::Flag: values.emplace_back(cleaned == "1"); break;
            case FieldType::Int32: values.emplace_back(Int32(cleaned, "argument")); break;
            default: values.emplace_back(Real(cleaned, "argument")); break;
        }
    }
    if (fields.quoted) {
        if (q.size() < 5) throw LineError("no second quoted text");
        values.emplace_back(ShipWriter::StripBlanksAndParens(std::string(q[3])));
    }
    // Arguments beyond those the editor knows ("RepCap") are carried as written.
    d_.abilityExtra_[index] = ExtraArgs(line, args, known);
    const bool again = abilityRead_[index];
    if (again) KeepEarlierCall(index);
    abilityRead_[index] = true;
    abilityText_[index].assign(asRead_);
    // Written where it stood after the first block, else after its earlier call (now kept).
    d_.abilityPlace_[index] = again && !Here() ? SR2ShipFile::Place{d_.unrecognized_.size() - 1, lineIndex_} : Here();
    abilitySlot_[index] = d_.unrecognized_.size();
    SR2ShipFile::KeptLine slot = Unbound({});
    slot.dropped = true;  // until a later call makes this one an earlier call
    d_.unrecognized_.Edit().push_back(std::move(slot));
    d_.SetFieldAt(fields.presence, true);
    for (std::size_t j = 0; j < fields.args.size(); ++j) d_.SetFieldAt(fields.args[j], values[j]);
    if (fields.quoted) d_.SetFieldAt(*fields.quoted, values.back());

    SetOrigin(OriginKind::Ability, index);
    // Most lines are written as the writer writes them; only the others are compared by value.
    if (!cleaned_ && (ShipWriter::IsAbilityLine(line, *it, values) ||
                      linevalues::SameValues(line, ShipWriter::AbilityLine(d_, *it))))
        d_.keptAbilities_[index].reset();
    else
        d_.keptAbilities_[index] = SR2ShipFile::KeptAbility{std::string(asRead_), d_.AbilityValues(index)};
}

// The ability's call read until now is an earlier one: kept as read from here on, in its own
// place among the kept lines (its record says so), the document holding the later call.
void ShipReader::KeepEarlierCall(std::size_t ability) {
    auto& origins = d_.origins_.Edit();
    for (std::size_t o = origins.size(); o-- > 0;) {
        auto& record = origins[o];
        if (record.kind != OriginKind::Ability || record.target != ability) continue;
        record.kind = OriginKind::AbilityAgain;
        auto& k = d_.unrecognized_.Edit()[abilitySlot_[ability]];
        k.text = std::move(abilityText_[ability]);
        k.ability = static_cast<int>(ability);
        k.dropped = false;
        const SR2ShipFile::LineOrigin kept{OriginKind::Other, record.first, record.last, abilitySlot_[ability]};
        origins.insert(origins.begin() + static_cast<std::ptrdiff_t>(o) + 1, kept);
        return;
    }
}

// ----- Abilities kept as read -----

std::vector<FieldValue> SR2ShipFile::AbilityValues(std::size_t ability) const {
    const auto& a = scriptformat::Abilities()[ability];
    std::vector<FieldValue> v{GetField(a.presence)};
    for (const char* arg : a.args) v.push_back(GetField(arg));
    if (a.quotedArg) v.push_back(GetField(a.quotedArg));
    return v;
}

bool SR2ShipFile::AbilityKept(std::size_t ability) const {
    return ability < keptAbilities_.size() && keptAbilities_[ability] &&
           AbilityValues(ability) == keptAbilities_[ability]->values;
}
