#include "getset.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <variant>
#include <vector>

#include "asciicase.h"
#include "numbers.h"
#include "openscript.h"
#include "platformfile.h"
#include "scriptformat.h"
#include "shipdocument.h"
#include "u8path.h"
#include "unifieddiff.h"


// The entries as scripts write them, from the writer's layout, then every field by its name.
const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = [] {
        std::vector<Key> entries;
        auto entry = [&](const std::string& name) -> Key& {
            for (Key& k : entries)
                if (k.name == name) return k;
            entries.push_back({name, Key::Field, {}, true});
            return entries.back();
        };
        using scriptformat::Row;
        for (const auto& section : scriptformat::Sections())
            for (const Row& row : section.rows) {
                std::string name = row.key;
                if (row.kind == Row::SharedModel) name = "LoadSharedModel";
                if (name.rfind("NewShipType.", 0) == 0) name.erase(0, 12);
                if (const auto at = name.find(" = "); at != std::string::npos) name.erase(at);
                Key& k = entry(name);
                k.fields.push_back(row.field);
                if (row.kind == Row::Mirror) k.kind = Key::Mirror;
                if (row.kind == Row::Lod) {
                    k.kind = Key::Lod;
                    entry(name + std::to_string(k.fields.size() - 1)).fields = {row.field};
                }
            }
        std::vector<std::string> written;
        for (const Key& k : entries)
            if (k.kind != Key::Mirror) written.insert(written.end(), k.fields.begin(), k.fields.end());
        for (const auto& a : scriptformat::Abilities()) {
            if (a.listValued) continue;
            written.push_back(a.presence);
            written.insert(written.end(), a.args.begin(), a.args.end());
            if (a.quotedArg) written.push_back(a.quotedArg);
        }
        std::vector<Key> keys;
        // Field names first: an exact field name always means that field.
        for (const auto& info : SR2ShipFile::Fields())
            keys.push_back({info.name, Key::Field, {info.name},
                            std::find(written.begin(), written.end(), info.name) != written.end()});
        keys.insert(keys.end(), entries.begin(), entries.end());
        return keys;
    }();
    return keys;
}

const Key* FindKey(const std::string& name) {
    for (const Key& k : Keys())
        if (k.name == name) return &k;
    for (const Key& k : Keys())
        if (asciicase::EqualNoCase(k.name, name)) return &k;
    return nullptr;
}

namespace {

std::vector<std::string> SplitAt(const std::string& s, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i)
        if (i == s.size() || s[i] == at) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

int OpenDocument(ShipDocument& doc, const std::string& path, const std::string& logFolder) {
    doc.Ship().SetLogFolder(logFolder);
    doc.Ship().SetWriteLogs(!logFolder.empty());
    const int rc = ReportRead(doc.Open(AbsolutePath(path)), doc.Ship(), path);
    if (rc == 0) ReportErrorLines(doc.Ship(), path, "are kept as they are");
    return rc;
}

std::string ValueText(const SR2ShipFile& d, const Key& key) {
    switch (key.kind) {
        case Key::Lod: {
            std::string out;
            for (const auto& f : key.fields) out += (out.empty() ? "" : ", ") + d.GetFieldText(f);
            return out;
        }
        case Key::Mirror: {
            const bool above = key.fields[0] == std::string("MAM_Num");
            const int num = above ? d.MAM_Num : d.MBM_Num;
            std::string joined;
            for (int i = 0; i <= num; ++i) {
                if (i > 0) joined += ',';
                joined += above ? d.MAM_GetValue(static_cast<std::int16_t>(i)) : d.MBM_GetValue(static_cast<std::int16_t>(i));
            }
            return '"' + joined + '"';
        }
        case Key::Field: break;
    }
    const std::string text = d.GetFieldText(key.fields[0]);
    return SR2ShipFile::FindField(key.fields[0])->type == FieldType::String ? '"' + text + '"' : text;
}

bool ScriptSafe(const std::string& text) { return text.find_first_of("\"\r\n") == std::string::npos; }

}  // namespace

std::optional<Assignment> Convert(const std::string& pair, std::string& why) {
    const auto eq = pair.find('=');
    if (eq == std::string::npos) {
        why = "'" + pair + "' is not KEY=VALUE";
        return std::nullopt;
    }
    const std::string name = pair.substr(0, eq), text = pair.substr(eq + 1);
    const Key* key = FindKey(name);
    if (!key) {
        why = "unknown key '" + name + "'";
        return std::nullopt;
    }
    if (!key->writable) {
        why = "'" + name + "' is not held by any script line and cannot be set";
        return std::nullopt;
    }
    Assignment a{key, {}, {}};
    auto refuse = [&](const std::string& reason) {
        why = "'" + text + "' is not a valid value for " + name + ": " + reason;
        return std::nullopt;
    };
    if (key->kind == Key::Mirror) {
        if (!ScriptSafe(text)) return refuse("a script line cannot hold a double quote or a line break");
        if (!text.empty()) a.names = SplitAt(text, ',');
        return a;
    }
    if (key->kind == Key::Lod) {
        const auto parts = SplitAt(text, ',');
        if (parts.size() > key->fields.size()) return refuse("at most three values");
        for (const auto& p : parts) {
            std::string err;
            auto v = numbers::ParseInt32(p, &err);
            if (!v) return refuse(err);
            // The slots fill in order when a script is read: a value after an empty slot is lost.
            if (!a.values.empty() && std::get<std::int32_t>(a.values.back()) == 0 && *v != 0)
                return refuse("a slot after an empty one cannot be written");
            a.values.emplace_back(*v);
        }
        while (a.values.size() < key->fields.size()) a.values.emplace_back(std::int32_t(0));
        return a;
    }
    if (SR2ShipFile::FindField(key->fields[0])->type == FieldType::String && !ScriptSafe(text))
        return refuse("a script line cannot hold a double quote or a line break");
    // Converted as a sheet's box converts it.
    SR2ShipFile scratch;
    if (const Result stored = scratch.SetFieldText(key->fields[0], text); !stored) return refuse(stored.reason);
    a.values.push_back(scratch.GetField(key->fields[0]));
    return a;
}

void Apply(SR2ShipFile& d, const Assignment& a) {
    if (a.key->kind == Key::Mirror) {
        const bool above = a.key->fields[0] == std::string("MAM_Num");
        if (above) d.MAM_Reset();
        else d.MBM_Reset();
        for (const auto& n : a.names) above ? d.MAM_AddValue(n) : d.MBM_AddValue(n);
        return;
    }
    for (std::size_t i = 0; i < a.values.size(); ++i) d.SetField(a.key->fields[i], a.values[i]);
}

namespace {

int Usage() {
    std::cerr << "usage: tarvisk-cli get [--logs] FILE KEY...\n"
                 "       tarvisk-cli set [--logs] [--dry-run] [--output OUT] KEY=VALUE... -- FILE...\n";
    return 2;
}

}  // namespace

int GetCommand(int argc, char** argv, const std::string& logFolder) {
    if (argc < 4) return Usage();
    std::vector<const Key*> keys;
    for (int i = 3; i < argc; ++i) {
        const Key* key = FindKey(argv[i]);
        if (!key) {
            std::cerr << "tarvisk-cli: unknown key '" << argv[i] << "'\n";
            return 2;
        }
        keys.push_back(key);
    }
    // get only reads: without a document to save there is no copy of the file's lines or of the
    // ship as read, which for a long script is most of the memory.
    SR2ShipFile ship;
    ship.SetLogFolder(logFolder);
    ship.SetWriteLogs(!logFolder.empty());
    if (int rc = ReportRead(ship.OpenShipFile(AbsolutePath(argv[2])), ship, argv[2])) return rc;
    ReportErrorLines(ship, argv[2], "are kept as they are");
    for (int i = 3; i < argc; ++i) std::cout << argv[i] << " = " << ValueText(ship, *keys[i - 3]) << '\n';
    return 0;
}

int SetCommand(int argc, char** argv, const std::string& logFolder) {
    bool dryRun = false;
    std::optional<std::string> output;
    int i = 2;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dry-run") dryRun = true;
        else if (arg == "--output" && i + 1 < argc) output = argv[++i];
        else break;
    }
    if (std::find(argv + i, argv + argc, std::string("--")) == argv + argc) return Usage();
    std::vector<Assignment> assignments;
    for (; i < argc && std::string(argv[i]) != "--"; ++i) {
        std::string why;
        auto a = Convert(argv[i], why);
        if (!a) {
            std::cerr << "tarvisk-cli: " << why << "\n";
            return 2;
        }
        assignments.push_back(std::move(*a));
    }
    if (i >= argc || assignments.empty() || i + 1 >= argc) return Usage();
    const std::vector<std::string> files(argv + i + 1, argv + argc);
    if (output && files.size() != 1) {
        std::cerr << "tarvisk-cli: --output takes exactly one FILE\n";
        return 2;
    }

    int worst = 0;
    for (const std::string& file : files) {
        SR2ShipFile ship;
        ShipDocument doc(ship);
        // Several files share the logs of one run, each under its own heading.
        if (files.size() > 1) ship.SetSharedLogs(true, &file != &files.front());
        // Held from the read to the replace, so that two runs on one file take turns. A file that
        // cannot be locked (missing, a FIFO, a file system without locks) is read without.
        platformfile::FileLock lock;
        if (!dryRun && !output) (void)lock.Acquire(U8Path(AbsolutePath(file)));
        if (int rc = OpenDocument(doc, file, logFolder)) {
            worst = std::max(worst, rc);
            continue;
        }
        const std::string before = dryRun ? doc.SaveBytes() : std::string();
        for (const auto& a : assignments) Apply(ship, a);
        // An edit that the game would not see is refused, and the file is left as it is.
        if (const std::string refused = doc.EditRefusal(); !refused.empty()) {
            std::cerr << "tarvisk-cli: '" << file << "' was not changed: " << refused << ".\n";
            worst = std::max(worst, 2);
            continue;
        }
        if (dryRun) {
            std::cout << UnifiedDiff(file, before, doc.SaveBytes());
            continue;
        }
        worst = std::max(worst, SaveScript(doc, file, output));
    }
    return worst;
}

int SaveScript(ShipDocument& doc, const std::string& file, const std::optional<std::string>& output) {
    const std::string target = output ? *output : file;
    // Another program (one that takes no lock) may have written the file since it was read:
    // its edit is not thrown away unseen.
    if (!output && doc.ChangedOnDisk()) {
        std::cerr << "tarvisk-cli: '" << file
                  << "' was changed by another program while it was being edited; it was left as that program wrote it.\n";
        return 2;
    }
    const Result r = output ? doc.SaveCopy(AbsolutePath(*output)) : doc.Save();
    if (!r) {
        std::cerr << "tarvisk-cli: '" << target << "' could not be saved: " << r.reason << ".\n";
        return 2;
    }
    return 0;
}
