#include "table.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "check.h"
#include "findings.h"
#include "getset.h"
#include "openscript.h"
#include "platformfile.h"
#include "scriptformat.h"
#include "shipdocument.h"
#include "statements.h"
#include "u8path.h"
#include "unifieddiff.h"

namespace fs = std::filesystem;

const char* const kTableUsage = "tarvisk-cli table [--fields KEY,...] [--format csv|json] PATH...";
const char* const kApplyUsage = "tarvisk-cli apply [--dry-run] TABLE...";

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// The key each field's script line belongs to: the entry as scripts write it (the level-of-detail
// and mirror entries before their single slots), for the columns of a table.
const std::vector<const Key*>& EntryOfField() {
    static const std::vector<const Key*> entries = [] {
        const auto& fields = SR2ShipFile::Fields();
        std::vector<const Key*> byField(fields.size(), nullptr);
        const std::vector<Key>& keys = Keys();
        // The field names come first among the keys; the entries follow.
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t k = fields.size(); k < keys.size(); ++k) {
                const Key& key = keys[k];
                if ((key.kind == Key::Field) != (pass == 1)) continue;
                for (const std::string& name : key.fields) {
                    const auto* info = SR2ShipFile::FindField(name);
                    if (!info) continue;
                    const auto index = static_cast<std::size_t>(info - fields.data());
                    if (!byField[index]) byField[index] = &key;
                }
            }
        return byField;
    }();
    return entries;
}

std::size_t FieldIndex(const std::string& name) {
    const auto* info = SR2ShipFile::FindField(name);
    return info ? static_cast<std::size_t>(info - SR2ShipFile::Fields().data()) : SR2ShipFile::kNoTarget;
}

// The statement an origin came from, its lines joined.
std::string Statement(const SR2ShipFile::LineOrigin& o, const std::vector<std::string_view>& lines) {
    std::string s;
    for (std::size_t i = o.first; i <= o.last && i < lines.size(); ++i) {
        if (i > o.first) s += '\n';
        s += lines[i];
    }
    return s;
}

// The first double-quoted text of a call line ("X" of LoadSharedModel(NewShipType, "X")).
std::string QuotedArgument(std::string_view line) {
    const auto open = line.find('"');
    if (open == std::string_view::npos) return std::string(Trim(line));
    const auto close = line.find('"', open + 1);
    return std::string(line.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
}

// The values as written of the fields that lines of a script set, by field index, each line's
// value in file order (the level-of-detail slots have a line each).
using WrittenFields = std::vector<std::vector<std::string>>;

// Fills written (its lists emptied first, so that one can serve many scripts without new
// allocations).
void ReadWrittenFields(const SR2ShipFile& ship, const std::vector<std::string_view>& lines, WrittenFields& written) {
    written.resize(SR2ShipFile::Fields().size());
    for (auto& values : written) values.clear();
    std::string joined;
    for (const SR2ShipFile::LineOrigin& o : ship.LineOrigins()) {
        using Kind = SR2ShipFile::LineOrigin::Kind;
        if ((o.kind != Kind::Assignment && o.kind != Kind::SharedModel) || o.target >= written.size()) continue;
        std::string_view statement;
        if (o.first == o.last && o.first < lines.size()) {
            statement = lines[o.first];
        } else {
            joined = Statement(o, lines);
            statement = joined;
        }
        written[o.target].push_back(o.kind == Kind::SharedModel ? QuotedArgument(statement) : WrittenValue(statement));
    }
}

// The field indices of a key's fields.
const std::vector<std::size_t>& FieldsOf(const Key& key) {
    static const std::vector<std::vector<std::size_t>> byKey = [] {
        std::vector<std::vector<std::size_t>> all;
        for (const Key& k : Keys()) {
            all.emplace_back();
            for (const std::string& f : k.fields) all.back().push_back(FieldIndex(f));
        }
        return all;
    }();
    return byKey[static_cast<std::size_t>(&key - Keys().data())];
}

// A key's value in a script as written; empty when no line of the script sets it. The slots of
// a level-of-detail entry are joined with ", ", as set takes them; of an entry set twice, the
// later line counts, as it does in the game.
std::string CellText(const WrittenFields& written, const Key& key) {
    std::string text;
    bool any = false;
    for (std::size_t f : FieldsOf(key)) {
        if (f >= written.size()) continue;
        for (const std::string& value : written[f]) {
            if (key.kind == Key::Lod) text += (any ? ", " : "") + value;
            else text = value;
            any = true;
        }
    }
    return text;
}

struct TableOptions {
    std::vector<std::string> fields;
    bool fieldsGiven = false;
    bool json = false;
    std::vector<std::string> paths;
};

std::optional<TableOptions> ParseTableOptions(const std::vector<std::string>& args) {
    TableOptions o;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnd && a == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (a == "--fields" || a == "--format")) {
            if (i + 1 >= args.size()) return std::nullopt;
            const std::string& value = args[++i];
            if (a == "--fields") {
                o.fieldsGiven = true;
                std::stringstream list(value);
                for (std::string name; std::getline(list, name, ',');)
                    if (!Trim(name).empty()) o.fields.emplace_back(Trim(name));
            } else if (value == "csv" || value == "json") {
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
    if (o.paths.empty() || (o.fieldsGiven && o.fields.empty())) return std::nullopt;
    return o;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(U8Path(path), std::ios::binary);
    if (!in) return false;
    std::stringstream s;
    s << in.rdbuf();
    if (in.bad()) return false;
    bytes = s.str();
    return true;
}

// The script a table's row names, as one full name whatever the row calls it: one file under two
// names ("a/../x.ship", a link) is still one file.
std::string ScriptIdentity(const std::string& file) {
    const std::string absolute = AbsolutePath(file);
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(U8Path(absolute), ec);
    return ec ? absolute : U8String(resolved);
}

}  // namespace

std::string WrittenValue(std::string_view statement) {
    const auto eq = statement.find('=');
    std::string_view value = eq == std::string_view::npos ? statement : statement.substr(eq + 1);
    // A comment starts at "--" outside a quoted string.
    char quote = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quote) {
            if (c == '\\') ++i;
            else if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '-' && i + 1 < value.size() && value[i + 1] == '-') {
            value = value.substr(0, i);
            break;
        }
    }
    value = Trim(value);
    // Only a plain string loses its quotes: "a" .. "b" or an escape stays as written.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"' &&
        value.substr(1, value.size() - 2).find_first_of("\"\\") == std::string_view::npos)
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string CsvField(std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(cell);
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

bool ParseCsv(std::string_view text, std::vector<CsvRecord>& records, std::string& why) {
    scriptformat::SkipByteOrderMark(text);  // as spreadsheets write it
    std::size_t i = 0;
    int row = 1;
    while (i < text.size()) {
        CsvRecord record;
        record.row = row;
        while (true) {
            std::string cell;
            if (i < text.size() && text[i] == '"') {
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        why = "row " + std::to_string(row) + ": a quoted cell is not closed";
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    cell += text[i++];
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    why = "row " + std::to_string(row) + ": text after a quoted cell";
                    return false;
                }
            } else {
                const auto end = text.find_first_of(",\r\n", i);
                const std::size_t stop = end == std::string_view::npos ? text.size() : end;
                cell.assign(text.substr(i, stop - i));
                i = stop;
            }
            record.cells.push_back(std::move(cell));
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
        records.push_back(std::move(record));
        ++row;
    }
    return true;
}

int TableCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<TableOptions> options = ParseTableOptions(args);
    if (!options) {
        err << "usage: " << kTableUsage << "\n";
        return 2;
    }
    std::vector<const Key*> columns;
    for (const std::string& name : options->fields) {
        const Key* key = FindKey(name);
        if (!key) {
            err << "tarvisk-cli: unknown key '" << name << "'\n";
            return 2;
        }
        columns.push_back(key);
    }

    // A row's cells by key index, in key order (with --fields: in column order).
    struct Row {
        std::string file;
        std::vector<std::pair<std::size_t, std::string>> cells;
    };
    WrittenFields written;
    std::vector<std::size_t> rowOf(Keys().size(), 0);  // 1 + the last row that has a key's cell
    std::vector<Row> rows;
    std::vector<bool> used(Keys().size(), false);
    int worst = 0;
    for (const std::string& path : options->paths) {
        for (const std::string& file : Scripts(path, err, worst)) {
            SR2ShipFile ship;
            ship.SetWriteLogs(false);
            std::string bytes;
            const int rc = ship.OpenShipFile(file, &bytes);
            if (rc != 0) {
                ReportRead(rc, ship, file);
                worst = std::max(worst, rc == 1 ? 1 : 2);
                continue;
            }
            ReadWrittenFields(ship, statements::Lines(bytes), written);
            Row row{file, {}};
            if (options->fieldsGiven) {
                for (std::size_t c = 0; c < columns.size(); ++c) row.cells.emplace_back(c, CellText(written, *columns[c]));
            } else {
                // Every entry some line sets, each once.
                for (std::size_t f = 0; f < written.size(); ++f) {
                    const Key* key = EntryOfField()[f];
                    if (written[f].empty() || !key) continue;
                    const auto k = static_cast<std::size_t>(key - Keys().data());
                    if (rowOf[k] == rows.size() + 1) continue;
                    rowOf[k] = rows.size() + 1;
                    row.cells.emplace_back(k, CellText(written, *key));
                    used[k] = true;
                }
                std::sort(row.cells.begin(), row.cells.end());
            }
            rows.push_back(std::move(row));
        }
    }
    if (!options->fieldsGiven)
        for (std::size_t k = 0; k < used.size(); ++k)
            if (used[k]) columns.push_back(&Keys()[k]);
    std::vector<std::string> names;
    std::vector<std::size_t> ids;  // what a row's cells are known by: the column, or the key
    for (std::size_t c = 0; c < columns.size(); ++c) {
        names.push_back(options->fieldsGiven ? options->fields[c] : columns[c]->name);
        ids.push_back(options->fieldsGiven ? c : static_cast<std::size_t>(columns[c] - Keys().data()));
    }
    // Each row's cells for the columns in order: both are sorted, so one walk finds them.
    auto forEachCell = [&](const Row& row, auto&& cell) {
        auto it = row.cells.begin();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            while (it != row.cells.end() && it->first < ids[c]) ++it;
            cell(c, it != row.cells.end() && it->first == ids[c] ? &it->second : nullptr);
        }
    };

    std::string text;
    if (options->json) {
        text = "[";
        for (std::size_t r = 0; r < rows.size(); ++r) {
            text += r ? ",\n{" : "\n{";
            text += "\"file\":\"" + JsonEscape(rows[r].file) + "\"";
            forEachCell(rows[r], [&](std::size_t c, const std::string* value) {
                const bool set = value && !value->empty();
                text += ",\"" + JsonEscape(names[c]) + "\":" + (set ? "\"" + JsonEscape(*value) + "\"" : "null");
            });
            text += "}";
        }
        text += "\n]\n";
    } else {
        text = "file";
        for (const std::string& name : names) text += "," + CsvField(name);
        text += "\r\n";
        for (const Row& row : rows) {
            text += CsvField(row.file);
            forEachCell(row, [&](std::size_t, const std::string* value) {
                text += ',';
                if (value) text += CsvField(*value);
            });
            text += "\r\n";
        }
    }
    out << text;
    return worst;
}

namespace {

// A script a table changes, checked and held until every table has been checked.
struct Pending {
    std::string where;  // TABLE:ROW
    std::string file;
    std::unique_ptr<SR2ShipFile> ship;
    std::unique_ptr<ShipDocument> doc;
    std::string before;  // what Save would write unchanged
    std::string read;    // the file's bytes when it was read
};

}  // namespace

int ApplyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool dryRun = false;
    std::vector<std::string> tables;
    bool optionsEnd = false, wrongUse = false;
    for (const std::string& a : args) {
        if (!optionsEnd && a == "--") optionsEnd = true;
        else if (!optionsEnd && a == "--dry-run") dryRun = true;
        else if (!optionsEnd && a.size() > 1 && a[0] == '-') wrongUse = true;
        else tables.push_back(a);
    }
    if (tables.empty() || wrongUse) {
        err << "usage: " << kApplyUsage << "\n";
        return 2;
    }

    // Every table is read before any script, so that the scripts can be locked first.
    struct ReadTable {
        std::string name;
        std::vector<CsvRecord> records;
    };
    std::vector<ReadTable> read;
    for (const std::string& table : tables) {
        std::string bytes, why;
        std::error_code ec;
        if (!fs::exists(U8Path(table), ec)) {
            err << "tarvisk-cli: '" << table << "' does not exist.\n";
            return 1;
        }
        std::vector<CsvRecord> records;
        if (!ReadWhole(table, bytes) || !ParseCsv(bytes, records, why)) {
            err << "tarvisk-cli: '" << table << "' could not be read" << (why.empty() ? "" : ": " + why) << ".\n";
            return 2;
        }
        read.push_back({table, std::move(records)});
    }
    // Each script is locked from before it is read until it has been replaced, as set does, so
    // that runs on one script take turns. The locks are taken in the order of the scripts' full
    // names, the same in every run: two runs naming the same scripts never each hold one that the
    // other waits for. A script that cannot be locked (missing, a file system without locks) is
    // read without; the check just before replacing still catches a change.
    std::map<std::string, platformfile::FileLock> locks;
    if (!dryRun)
        for (const ReadTable& t : read)
            for (std::size_t r = 1; r < t.records.size(); ++r)
                if (!t.records[r].cells.empty() && !t.records[r].cells[0].empty())
                    locks.try_emplace(ScriptIdentity(t.records[r].cells[0]));
    for (auto& [script, lock] : locks) (void)lock.Acquire(U8Path(script));

    std::vector<std::string> refused;
    std::vector<Pending> pending;
    std::map<std::string, std::string> named;  // script (absolute) to the TABLE:ROW that names it
    for (const ReadTable& t : read) {
        const std::string& table = t.name;
        const std::vector<CsvRecord>& records = t.records;
        std::string why;
        auto refuse = [&](int row, const std::string& column, const std::string& reason) {
            refused.push_back(table + ":" + std::to_string(row) + ": " + column + ": " + reason);
        };
        if (records.empty() || records[0].cells.empty() || records[0].cells[0] != "file") {
            refuse(1, "file", "the first column must be 'file'");
            continue;
        }
        const std::vector<std::string>& header = records[0].cells;
        // A column that cannot be set is refused once; the rows are still checked for the others.
        std::vector<const Key*> keys(header.size(), nullptr);
        for (std::size_t c = 1; c < header.size(); ++c) {
            keys[c] = FindKey(header[c]);
            if (!keys[c]) refuse(1, header[c], "unknown key");
            else if (!keys[c]->writable) refuse(1, header[c], "not held by any script line and cannot be set");
            for (std::size_t d = 1; keys[c] && d < c; ++d)
                if (keys[d] == keys[c]) refuse(1, header[c], "the same entry as column '" + header[d] + "'");
            if (keys[c] && !keys[c]->writable) keys[c] = nullptr;
        }

        for (std::size_t r = 1; r < records.size(); ++r) {
            const CsvRecord& record = records[r];
            if (record.cells.size() == 1 && record.cells[0].empty()) continue;  // a blank line
            if (record.cells.size() > header.size()) {
                refuse(record.row, "file", "more cells than the header has columns");
                continue;
            }
            const std::string& file = record.cells[0];
            if (file.empty()) {
                refuse(record.row, "file", "no script named");
                continue;
            }
            const std::string absolute = AbsolutePath(file);
            const std::string here = table + ":" + std::to_string(record.row);
            if (auto [it, fresh] = named.emplace(ScriptIdentity(file), here); !fresh) {
                refuse(record.row, "file", "'" + file + "' is named by " + it->second + " already");
                continue;
            }
            Pending p{here, file, std::make_unique<SR2ShipFile>(), nullptr, {}, {}};
            p.doc = std::make_unique<ShipDocument>(*p.ship);
            p.ship->SetWriteLogs(false);
            ReadWhole(absolute, p.read);
            const int rc = p.doc->Open(absolute);
            if (rc != 0) {
                refuse(record.row, "file",
                       "'" + file + "' " + (rc == 1 ? "does not exist" : "could not be read") +
                           (rc != 1 && !p.ship->OpenFailure().empty() ? ": " + p.ship->OpenFailure() : ""));
                continue;
            }
            p.before = p.doc->SaveBytes();
            WrittenFields written;
            ReadWrittenFields(*p.ship, statements::Lines(p.before), written);
            // Compared with the script as read, before any cell of this row is applied.
            std::vector<Assignment> changes;
            for (std::size_t c = 1; c < record.cells.size(); ++c) {
                const std::string& cell = record.cells[c];
                if (!keys[c] || cell.empty() || cell == CellText(written, *keys[c])) continue;
                auto a = Convert(header[c] + "=" + cell, why);
                if (!a) refuse(record.row, header[c], why);
                else changes.push_back(std::move(*a));
            }
            if (changes.empty()) continue;
            for (const Assignment& a : changes) Apply(*p.ship, a);
            pending.push_back(std::move(p));
        }
    }
    // A script changed by someone else since it was read is not overwritten: then none is.
    for (const Pending& p : pending) {
        std::string now;
        if (!ReadWhole(AbsolutePath(p.file), now) || now != p.read)
            refused.push_back(p.where + ": file: '" + p.file + "' changed on disk since it was read");
    }
    if (!refused.empty()) {
        std::string text;
        for (const std::string& r : refused) text += r + "\n";
        err << text << "tarvisk-cli: " << refused.size() << " cell(s) refused; no script was written.\n";
        return 2;
    }

    int worst = 0;
    for (Pending& p : pending) {
        const std::string after = p.doc->SaveBytes();
        if (after == p.before) continue;
        if (dryRun) out << UnifiedDiff(p.file, p.before, after);
        else worst = std::max(worst, SaveScript(*p.doc, p.file, std::nullopt));
    }
    return worst;
}
