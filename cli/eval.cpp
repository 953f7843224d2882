#include "eval.h"

#include <algorithm>
#include <ostream>

#include "check.h"
#include "gamelua.h"
#include "platformfile.h"
#include "u8path.h"

const char* const kEvalUsage = "tarvisk-cli eval [--format text|json] FILE...";

namespace {

constexpr std::uintmax_t kMaxScriptBytes = 64u * 1024 * 1024;

std::string Json(const gamelua::Value& v) {
    using gamelua::Value;
    switch (v.kind) {
        case Value::Nil: return "null";
        case Value::Boolean: return v.boolean ? "true" : "false";
        case Value::Number:
            if (v.text.find('/') == std::string::npos) return v.text;  // not 1/0, 0/0
            break;
        case Value::String: return '"' + JsonEscape(v.string) + '"';
        default: break;
    }
    return "{\"lua\": \"" + JsonEscape(v.text) + "\"}";
}

void Text(const gamelua::Reading& r, std::ostream& out) {
    for (const auto& [key, value] : r.keys) out << key << " = " << value.text << '\n';
    for (const auto& call : r.calls) out << gamelua::CallText(call) << '\n';
}

void Json(const std::string& file, const gamelua::Reading& r, std::ostream& out) {
    out << "{\"file\": \"" << JsonEscape(file) << "\", \"loads\": " << (r.load.loads ? "true" : "false")
        << ", \"finished\": " << (r.finished ? "true" : "false");
    if (!r.load.loads || !r.finished) {
        const int line = r.load.loads ? r.errorLine : r.load.line;
        out << ", \"line\": " << line << ", \"error\": \""
            << JsonEscape(r.load.loads ? r.error : r.load.message) << '"';
    }
    out << ",\n   \"keys\": {";
    bool first = true;
    for (const auto& [key, value] : r.keys) {
        out << (first ? "" : ", ") << "\n    \"" << JsonEscape(key) << "\": " << Json(value);
        first = false;
    }
    out << "},\n   \"calls\": [";
    first = true;
    for (const auto& call : r.calls) {
        out << (first ? "" : ", ") << "\n    {\"name\": \"" << JsonEscape(call.name) << "\", \"args\": [";
        for (std::size_t i = 0; i < call.args.size(); ++i) out << (i ? ", " : "") << Json(call.args[i]);
        out << "]}";
        first = false;
    }
    out << "]}";
}

}  // namespace

int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size() && (args[i + 1] == "json" || args[i + 1] == "text")) {
            json = args[++i] == "json";
        } else if (args[i] == "--" ) {
            files.insert(files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            files.clear();
            break;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty()) {
        err << "usage: " << kEvalUsage << '\n';
        return 2;
    }
    if (!gamelua::Available()) {
        err << "tarvisk-cli: eval needs Lua, and " << gamelua::kNoLua << ".\n";
        return 2;
    }
    int worst = 0;
    bool firstJson = true;
    if (json) out << "{\"files\": [";
    for (const std::string& file : files) {
        std::string bytes, why;
        const auto rc = platformfile::ReadWhole(U8Path(file), kMaxScriptBytes, bytes, why);
        if (rc != platformfile::ReadResult::Read) {
            const bool missing = rc == platformfile::ReadResult::Missing;
            err << "tarvisk-cli: '" << file << "' "
                << (missing ? "does not exist" : "cannot be read: " + (why.empty() ? std::string("it is larger than 64 MiB") : why))
                << ".\n";
            worst = std::max(worst, missing ? 1 : 2);
            continue;
        }
        const gamelua::Reading r = gamelua::Read(bytes);
        if (!r.load.loads || !r.finished) {
            const int line = r.load.loads ? r.errorLine : r.load.line;
            err << file;
            if (line > 0) err << ':' << line;
            err << ": error: " << (r.load.loads ? r.error : r.load.message) << '\n';
        }
        if (!r.load.loads || !r.finished) worst = std::max(worst, 3);
        if (json) {
            out << (firstJson ? "\n  " : ",\n  ");
            Json(file, r, out);
            firstJson = false;
        } else {
            if (files.size() > 1) out << "== " << file << '\n';
            Text(r, out);
        }
    }
    if (json) out << "\n]}\n";
    return worst;
}
