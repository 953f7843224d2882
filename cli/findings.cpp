#include "findings.h"

#include <array>
#include <map>
#include <ostream>

bool IsUnknownName(const Finding& f) { return f.rule.rfind(kRuleUnknownPrefix, 0) == 0; }

void CountFindings(const FileReport& report, CheckTotals& totals) {
    if (report.status == 0) ++totals.filesRead;
    for (const Finding& f : report.findings) {
        if (f.severity == Severity::Error) ++totals.errorLines;
        if (IsUnknownName(f)) ++totals.unknownNames;
    }
}

std::string TerminalSafe(std::string_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    // Per byte: whether it is printed as it is (C2 may begin a C1 control character).
    static constexpr auto kPlain = [] {
        std::array<bool, 256> t{};
        for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = (c >= 0x20 || c == '\t' || c == '\n') && c != 0x7F && c != 0xC2;
        return t;
    }();
    auto plain = [](unsigned char c) { return kPlain[c]; };
    // Most text has nothing to escape: it is copied whole, from the first byte that might need it.
    std::size_t first = 0;
    while (first < text.size() && plain(static_cast<unsigned char>(text[first]))) ++first;
    std::string out(text.substr(0, first));
    if (first == text.size()) return out;
    out.reserve(text.size() + 16);
    for (std::size_t i = first; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            const auto c1 = static_cast<unsigned char>(text[++i]);
            out += "\\u00";
            out += kHex[c1 >> 4];
            out += kHex[c1 & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

namespace {

const char* SeverityWord(Severity s) {
    switch (s) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Note: return "note";
    }
    return "error";
}

// The message with its suggestion, as people read it.
void AppendFullMessage(std::string& out, const Finding& f) {
    out += f.message;
    if (f.suggestion) ((out += " (did you mean '") += *f.suggestion) += "'?)";
}

std::string FullMessage(const Finding& f) {
    std::string out;
    AppendFullMessage(out, f);
    return out;
}

// ----- text: FILE:LINE: severity: message, a summary per file, a total -----

class TextFormatter : public FindingFormatter {
public:
    TextFormatter(std::ostream& out, bool namesChecked) : out_(out), names_(namesChecked) {}

    void File(const FileReport& r) override {
        if (r.status != 0) {
            if (!r.failure.empty()) out_ << TerminalSafe(r.path + ": error: " + r.failure) << "\n";
            return;
        }
        CheckTotals counts;
        CountFindings(r, counts);
        std::string text;
        for (const Finding& f : r.findings) {
            text += f.file;
            if (f.line > 0) (text += ':') += std::to_string(f.line);
            ((text += ": ") += SeverityWord(f.severity)) += ": ";
            AppendFullMessage(text, f);
            text += '\n';
        }
        text += r.path + ": " + std::to_string(counts.errorLines) + " error line(s), " +
                std::to_string(r.kept) + " line(s) kept verbatim";
        if (names_) text += ", " + std::to_string(counts.unknownNames) + " unknown name(s)";
        out_ << TerminalSafe(text) << "\n";
    }

    void Finish(const CheckTotals& t) override {
        out_ << "total: " << t.filesRead << " file(s) read, " << t.errorLines << " error line(s)";
        if (names_) out_ << ", " << t.unknownNames << " unknown name(s)";
        out_ << "\n";
    }

private:
    std::ostream& out_;
    bool names_;
};

// ----- json: one document with every file -----

class JsonFormatter : public FindingFormatter {
public:
    JsonFormatter(std::ostream& out, bool namesChecked) : out_(out), names_(namesChecked) {}

    void File(const FileReport& r) override {
        static const char* const kStatus[] = {"read", "missing", "unreadable"};
        std::string& j = json_;
        if (files_++) j += ",";
        j += "\n{\"path\":\"" + JsonEscape(r.path) + "\",\"status\":\"" + kStatus[r.status] + "\"";
        if (!r.failure.empty()) j += ",\"reason\":\"" + JsonEscape(r.failure) + "\"";
        j += ",\"errors\":[";
        bool first = true;
        for (const Finding& f : r.findings) {
            if (f.severity != Severity::Error) continue;
            if (!first) j += ",";
            first = false;
            j += "{\"line\":" + std::to_string(f.line) + ",\"rule\":\"" + JsonEscape(f.rule) + "\",\"message\":\"" +
                 JsonEscape(f.message) + "\",\"text\":\"" + JsonEscape(f.lineText) + "\"}";
        }
        j += "],\"unknown_names\":[";
        first = true;
        for (const Finding& f : r.findings) {
            if (!IsUnknownName(f)) continue;
            if (!first) j += ",";
            first = false;
            j += "{\"line\":" + std::to_string(f.line) + ",\"kind\":\"" + f.kind + "\",\"name\":\"" +
                 JsonEscape(f.name) + "\",\"suggestion\":" +
                 (f.suggestion ? "\"" + JsonEscape(*f.suggestion) + "\"" : std::string("null")) + "}";
        }
        j += "],\"notes\":[";
        first = true;
        for (const Finding& f : r.findings) {
            if (f.severity != Severity::Note) continue;
            if (!first) j += ",";
            first = false;
            j += "{\"line\":" + std::to_string(f.line) + ",\"rule\":\"" + JsonEscape(f.rule) + "\",\"text\":\"" +
                 JsonEscape(f.lineText) + "\"}";
        }
        j += "],\"kept_verbatim\":" + std::to_string(r.kept) + "}";
    }

    void Finish(const CheckTotals& t) override {
        out_ << "{\"files\":[" << json_ << "\n],\"names_checked\":" << (names_ ? "true" : "false")
             << ",\"total\":{\"files\":" << files_ << ",\"error_lines\":" << t.errorLines
             << ",\"unknown_names\":" << t.unknownNames << "}}\n";
    }

private:
    std::ostream& out_;
    bool names_;
    std::string json_;
    std::size_t files_ = 0;
};

// ----- sarif: SARIF 2.1.0, one result per finding -----

// A path as a URI reference: a relative path stays relative (code-scanning services resolve it
// against the checkout), an absolute one becomes a file URI. Bytes outside the unreserved set
// are percent-encoded, so any file name survives.
std::string PathUri(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    std::string prefix;
    if (!p.empty() && p[0] == '/') {
        prefix = "file://";
    } else if (p.size() > 2 && p[1] == ':' && p[2] == '/') {
        prefix = "file:///";
    }
    static const char* const kHex = "0123456789ABCDEF";
    std::string out = prefix;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
                           (c == ':' && i == 1 && !prefix.empty());
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

const char* SarifLevel(Severity s) {
    switch (s) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Note: return "note";
    }
    return "error";
}

class SarifFormatter : public FindingFormatter {
public:
    explicit SarifFormatter(std::ostream& out) : out_(out) {}

    void File(const FileReport& r) override {
        for (const Finding& f : r.findings) {
            auto rule = rules_.emplace(f.rule, rules_.size()).first;
            if (!results_.empty()) results_ += ",";
            results_ += "\n{\"ruleId\":\"" + JsonEscape(f.rule) + "\",\"ruleIndex\":" +
                        std::to_string(rule->second) + ",\"level\":\"" + SarifLevel(f.severity) +
                        "\",\"message\":{\"text\":\"" + JsonEscape(FullMessage(f)) + "\"}" +
                        ",\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":\"" +
                        JsonEscape(PathUri(f.file)) + "\"}";
            if (f.line > 0) {
                results_ += ",\"region\":{\"startLine\":" + std::to_string(f.line);
                if (!f.lineText.empty())
                    results_ += ",\"snippet\":{\"text\":\"" + JsonEscape(f.lineText) + "\"}";
                results_ += "}";
            }
            results_ += "}}]}";
        }
    }

    void Finish(const CheckTotals&) override {
        std::vector<std::string> ids(rules_.size());
        for (const auto& [id, index] : rules_) ids[index] = id;
        std::string rules;
        for (const std::string& id : ids) {
            if (!rules.empty()) rules += ",";
            rules += "{\"id\":\"" + JsonEscape(id) + "\",\"shortDescription\":{\"text\":\"" +
                     JsonEscape(Describe(id)) + "\"}}";
        }
        out_ << "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\","
                "\"runs\":[{\"tool\":{\"driver\":{\"name\":\"tarvisk-cli\",\"rules\":["
             << rules << "]}},\"results\":[" << results_ << "\n]}]}\n";
    }

private:
    static std::string Describe(const std::string& rule) {
        if (rule == kRuleUnreadableLine) return "A line the editor keeps as written: no sheet shows it";
        if (rule.rfind(kRuleUnknownPrefix, 0) == 0) {
            std::string kind = rule.substr(std::string(kRuleUnknownPrefix).size());
            for (char& c : kind)
                if (c == '-') c = ' ';
            return "A " + kind + " name the game's data does not know";
        }
        return rule;
    }

    std::ostream& out_;
    std::map<std::string, std::size_t> rules_;  // rule id to its index in the rules array
    std::string results_;
};

// ----- github: one workflow command per finding -----

// A workflow command's message: %, CR and LF are escaped; a property value also escapes : and ,.
std::string GithubEscape(const std::string& text, bool property) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '%': out += "%25"; break;
            case '\r': out += "%0D"; break;
            case '\n': out += "%0A"; break;
            case ':': out += property ? "%3A" : ":"; break;
            case ',': out += property ? "%2C" : ","; break;
            default: out += c;
        }
    }
    return out;
}

class GithubFormatter : public FindingFormatter {
public:
    explicit GithubFormatter(std::ostream& out) : out_(out) {}

    void File(const FileReport& r) override {
        std::string text;
        for (const Finding& f : r.findings) {
            static const char* const kCommand[] = {"error", "warning", "notice"};
            text += std::string("::") + kCommand[static_cast<int>(f.severity)] +
                    " file=" + GithubEscape(f.file, true);
            if (f.line > 0) text += ",line=" + std::to_string(f.line);
            text += ",title=" + GithubEscape(f.rule, true) + "::" + GithubEscape(FullMessage(f), false) + "\n";
        }
        out_ << text;
    }

    void Finish(const CheckTotals&) override {}

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<FindingFormatter> MakeFormatter(ReportFormat format, std::ostream& out, bool namesChecked) {
    switch (format) {
        case ReportFormat::Json: return std::make_unique<JsonFormatter>(out, namesChecked);
        case ReportFormat::Sarif: return std::make_unique<SarifFormatter>(out);
        case ReportFormat::Github: return std::make_unique<GithubFormatter>(out);
        case ReportFormat::Text: break;
    }
    return std::make_unique<TextFormatter>(out, namesChecked);
}

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
