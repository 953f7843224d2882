#include "check.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <tuple>

#include "gamedata.h"
#include "sr2shipfile.h"
#include "u8path.h"
#include "unknownnames.h"

namespace fs = std::filesystem;
using scriptformat::NameKind;

const char* const kCheckUsage = "tarvisk-cli check [--data DIR] [--format text|json] PATH...";

namespace {

struct Options {
    std::optional<std::string> dataDir;
    bool json = false;
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
        } else if (!optionsEnd && (a == "--data" || a == "--format")) {
            if (i + 1 >= args.size()) return std::nullopt;
            const std::string& value = args[++i];
            if (a == "--data") {
                o.dataDir = value;
            } else if (value == "json" || value == "text") {
                o.json = value == "json";
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

struct FileReport {
    std::string path;
    int status = 0;  // what OpenShipFile returned: 0 read, 1 missing, 2 unreadable
    std::vector<SR2ShipFile::ErrorLine> errors;
    std::vector<UnknownName> unknown;
    int kept = 0;
};

// The scripts a path names: the file itself, or every *.ship file under a folder (in path
// order). A folder that cannot be searched is reported and counts as unreadable.
bool HasShipEnding(const fs::path& p) { return gamedata::Lower(U8String(p.extension())) == ".ship"; }

std::vector<std::string> Scripts(const std::string& path, std::ostream& err, int& worst) {
    std::vector<std::string> files;
    std::error_code ec;
    const fs::path root = U8Path(path);
    if (!fs::is_directory(root, ec)) {
        files.push_back(path);
        return files;
    }
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError) && HasShipEnding(it->path())) files.push_back(U8String(it->path()));
    }
    if (ec) {
        err << "tarvisk-cli: '" << path << "' could not be searched: " << ec.message() << ".\n";
        worst = std::max(worst, 2);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Summary(const FileReport& r, bool withData) {
    std::string s = r.path + ": " + std::to_string(r.errors.size()) + " error line(s), " +
                    std::to_string(r.kept) + " line(s) kept verbatim";
    if (withData) s += ", " + std::to_string(r.unknown.size()) + " unknown name(s)";
    return s + "\n";
}

void WriteText(std::ostream& out, const FileReport& r, bool withData) {
    // Errors and unknown names in line order; an error before a name of the same line.
    std::size_t e = 0, u = 0;
    std::string text;
    while (e < r.errors.size() || u < r.unknown.size()) {
        const bool error = u == r.unknown.size() ||
                           (e < r.errors.size() && r.errors[e].line <= r.unknown[u].line);
        if (error) {
            const auto& x = r.errors[e++];
            text += r.path + ":" + std::to_string(x.line) + ": error: could not read: " + x.text + "\n";
        } else {
            const auto& x = r.unknown[u++];
            text += r.path + ":" + std::to_string(x.line) + ": warning: unknown " + NameKindWord(x.kind) +
                    " '" + x.name + "'";
            if (x.suggestion) text += " (did you mean '" + *x.suggestion + "'?)";
            text += "\n";
        }
    }
    text += Summary(r, withData);
    out << text;
}

void WriteJson(std::ostream& out, const std::vector<FileReport>& reports, bool withData,
               std::size_t errors, std::size_t unknown) {
    static const char* const kStatus[] = {"read", "missing", "unreadable"};
    std::string j = "{\"files\":[";
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const FileReport& r = reports[i];
        if (i) j += ",";
        j += "\n{\"path\":\"" + JsonEscape(r.path) + "\",\"status\":\"" + kStatus[r.status] + "\"";
        j += ",\"errors\":[";
        for (std::size_t k = 0; k < r.errors.size(); ++k) {
            if (k) j += ",";
            j += "{\"line\":" + std::to_string(r.errors[k].line) + ",\"text\":\"" +
                 JsonEscape(r.errors[k].text) + "\"}";
        }
        j += "],\"unknown_names\":[";
        for (std::size_t k = 0; k < r.unknown.size(); ++k) {
            const UnknownName& x = r.unknown[k];
            if (k) j += ",";
            j += "{\"line\":" + std::to_string(x.line) + ",\"kind\":\"" + NameKindWord(x.kind) +
                 "\",\"name\":\"" + JsonEscape(x.name) + "\",\"suggestion\":" +
                 (x.suggestion ? "\"" + JsonEscape(*x.suggestion) + "\"" : std::string("null")) + "}";
        }
        j += "],\"kept_verbatim\":" + std::to_string(r.kept) + "}";
    }
    j += "\n],\"names_checked\":" + std::string(withData ? "true" : "false");
    j += ",\"total\":{\"files\":" + std::to_string(reports.size()) +
         ",\"error_lines\":" + std::to_string(errors) + ",\"unknown_names\":" + std::to_string(unknown) +
         "}}\n";
    out << j;
}

}  // namespace

std::string JsonEscape(const std::string& text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    auto escapeCodePoint = [&out](unsigned c) {
        out += "\\u00";
        out += kHex[(c >> 4) & 0xF];
        out += kHex[c & 0xF];
    };
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned c = s[i];
        if (c < 0x80) {
            switch (c) {
                case '"': out += "\\\""; break;
                case '\\': out += "\\\\"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                case '\t': out += "\\t"; break;
                default:
                    if (c < 0x20) escapeCodePoint(c);
                    else out += static_cast<char>(c);
            }
            ++i;
            continue;
        }
        // A well-formed UTF-8 sequence (no overlong forms, no surrogates) is copied as it is.
        std::size_t len = 0;
        unsigned lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) len = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        }
        bool valid = len > 0 && i + len <= n && s[i + 1] >= lo && s[i + 1] <= hi;
        for (std::size_t k = 2; valid && k < len; ++k) valid = s[i + k] >= 0x80 && s[i + k] <= 0xBF;
        if (valid) {
            out.append(text, i, len);
            i += len;
        } else {
            // Not UTF-8: the byte is a Latin-1 character.
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
            ++i;
        }
    }
    return out;
}

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<Options> options = ParseOptions(args);
    if (!options) {
        err << "usage: " << kCheckUsage << "\n";
        return 2;
    }
    int worst = 0;

    std::optional<gamedata::GameData> data;
    if (options->dataDir) {
        std::error_code ec;
        if (!fs::is_directory(U8Path(*options->dataDir), ec)) {
            err << "tarvisk-cli: the data directory '" << *options->dataDir << "' does not exist.\n";
            return 1;
        }
        data = gamedata::GameData::Read(*options->dataDir);
        if (!data->familyFileRead)
            err << "tarvisk-cli: no family list in '" << *options->dataDir
                << "' could be read; family names are not checked.\n";
    }
    std::optional<NameChecker> checker;
    if (data) checker.emplace(*data);

    std::vector<FileReport> reports;
    std::size_t errors = 0, unknown = 0, filesRead = 0;
    bool found = false;
    for (const std::string& path : options->paths) {
        for (const std::string& file : Scripts(path, err, worst)) {
            FileReport r;
            r.path = file;
            SR2ShipFile doc;
            doc.SetWriteLogs(false);
            r.status = doc.OpenShipFile(file);
            if (r.status == 1) {
                err << "tarvisk-cli: '" << file << "' does not exist.\n";
                worst = std::max(worst, 1);
            } else if (r.status != 0) {
                r.status = 2;
                err << "tarvisk-cli: '" << file << "' could not be read.\n";
                worst = std::max(worst, 2);
            } else {
                ++filesRead;
                r.errors = doc.ErrorLines();
                r.kept = doc.KeptLineCount();
                if (checker) checker->Check(doc, r.unknown);
                errors += r.errors.size();
                unknown += r.unknown.size();
                found = found || !r.errors.empty() || !r.unknown.empty();
                if (!options->json) WriteText(out, r, data.has_value());
            }
            if (options->json) reports.push_back(std::move(r));
        }
    }
    if (options->json) {
        WriteJson(out, reports, data.has_value(), errors, unknown);
    } else {
        out << "total: " << filesRead << " file(s) read, " << errors << " error line(s)";
        if (data) out << ", " << unknown << " unknown name(s)";
        out << "\n";
    }
    if (worst) return worst;
    return found ? 3 : 0;
}
