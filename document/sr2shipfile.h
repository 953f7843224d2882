// SR2ShipFile: the in-memory model of one ship script, its reader and its writer.
//
// Every property of the script is a public field with the name the property sheets use; the same
// names reach the fields at run time through the field table (Fields(), GetField, SetFieldText).
// The lists (weapons, salvage chunks, sound patches, mirror manoeuvres) are private and edited
// through the current-item fields and the list operations.
//
// Faithfulness: a line that the document cannot store exactly (a fraction in an integer field, an
// expression, more arguments than it keeps, a value that does not convert) is remembered as read,
// and the writer puts it back unchanged for as long as the value it set is unchanged. Editing the
// value drops the remembered line, so the written file always says what was set last.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "result.h"
#include "scriptformat.h"

enum class FieldType { String, Int32, Int16, Real, Flag };

// A field's value as its own type: string, int32, int16, real or flag.
using FieldValue = std::variant<std::string, std::int32_t, std::int16_t, double, bool>;


class SR2ShipFile {
public:
    // ----- Public fields, in declaration order (see fields.def) -----
#define TARVISK_FIELD_String std::string
#define TARVISK_FIELD_Int32 std::int32_t
#define TARVISK_FIELD_Int16 std::int16_t
#define TARVISK_FIELD_Real double
#define TARVISK_FIELD_Flag bool
#define TARVISK_FIELD(type, name) TARVISK_FIELD_##type name{};
#include "fields.def"
#undef TARVISK_FIELD

    // ----- Field table: every public field by its exact name -----
    struct FieldInfo {
        const char* name;
        FieldType type;
        std::size_t index;  // position in Fields()
    };
    static const std::vector<FieldInfo>& Fields();
    static const FieldInfo* FindField(std::string_view name);  // nullptr for an unknown name

    // Typed access. Unknown names and values of the wrong type throw std::invalid_argument.
    FieldValue GetField(std::string_view name) const;
    void SetField(std::string_view name, const FieldValue& value);

    // Text access, as the sheets show and store values: plain number-to-text form out; in, the
    // reader's conversion. A text that does not convert leaves the field unchanged and fails with
    // a short reason ("is not a number", "is out of range"). Flags read as "1"/"0"; storing a
    // flag takes any number, non-zero meaning set. Strings store as given.
    std::string GetFieldText(std::string_view name) const;
    Result SetFieldText(std::string_view name, std::string_view text);

    // ----- Lists. Indices run from 0 to the list's _Num field; out-of-range indices throw
    // std::out_of_range. -----
    void Initialize();

    void SSWC_AddItem(const std::string& WeaponName, const std::string& WeaponHardpoint,
                      const std::string& FiringEffect);
    void SSWC_RemoveItem(std::int16_t Index);
    void SSWC_LoadValues(std::int16_t Index);
    void SSWC_SaveValues(std::int16_t Index);
    void SSWC_Reset();

    void SSOD_AddItem(const std::string& ChunkName);
    void SSOD_RemoveItem(std::int16_t Index);
    void SSOD_LoadValues(std::int16_t Index);
    void SSOD_SaveValues(std::int16_t Index);
    void SSOD_Reset();

    void LSPL_LoadValues(std::int16_t Index);
    void LSPL_SaveValues(std::int16_t Index);
    void LSPL_AddItem(std::int32_t Value, const std::string& Effect, const std::string& Marker);
    void LSPL_RemoveItem(std::int16_t Index);

    void MAM_AddValue(const std::string& NewValue);
    std::string MAM_GetValue(std::int16_t Index) const;
    void MAM_Reset();
    void MBM_AddValue(const std::string& NewValue);
    std::string MBM_GetValue(std::int16_t Index) const;
    void MBM_Reset();

    void CanAttack_Reset();
    void CanBuildShips_Reset();

    // Whole-list copies for editors that must put a list back exactly as it was on Cancel,
    // including the remembered text of lines that were read but could not be stored exactly.
    // extra: the arguments after those the editor knows, as written ("1, 2"), carried unchanged
    // after them when the item's line is written.
    struct WeaponItem {
        std::string name, hardpoint, effect;
        std::string extra;
        bool operator==(const WeaponItem&) const = default;
    };
    struct SalvageItem {
        std::string name;
        std::int32_t chunks = 1;
        // percent, position X Y Z, random add, vertical, horizontal, unknown 1 2, velocity X Y Z,
        // cloud dispersion, rotation X, rotation Z, rotation Y, random tumble modifier
        std::array<double, 17> reals{};
        std::string extra;  // the later game versions' further values
        bool operator==(const SalvageItem&) const = default;
    };
    // Where a statement read after the script's first block stood: after the kept statement
    // `afterKept` (its position among the lines kept as read, the first block being one of them),
    // `line` its first line. The canonical writer writes it there, among the kept statements,
    // instead of in its section: what a block does depends on what comes before and after it.
    struct Place {
        std::size_t afterKept = 0;
        std::size_t line = 0;
        auto operator<=>(const Place&) const = default;
    };
    template <class V>
    struct Entry {
        V values;
        std::optional<std::string> keptText;  // written instead while values == keptValues
        V keptValues;
        std::optional<Place> place;           // read after the first block: written where it stood
    };
    using WeaponList = std::vector<Entry<WeaponItem>>;
    using SalvageList = std::vector<Entry<SalvageItem>>;
    WeaponList SSWC_GetList() const { return weapons_; }
    void SSWC_SetList(WeaponList list);
    SalvageList SSOD_GetList() const { return salvage_; }
    void SSOD_SetList(SalvageList list);
    // The patch list: directory, items and the line as read (defined below the class).
    struct PatchListCopy;
    PatchListCopy LSPL_GetList() const;
    void LSPL_SetList(PatchListCopy list);

    // The sound patch list as a whole (LSPL_Num follows it).
    struct PatchItem {
        std::string effect;
        std::int32_t value = 0;
        std::string marker;
        bool operator==(const PatchItem&) const = default;
    };

    // ----- Reading and writing -----

    // Folder for "debug.txt" and "errors.txt". Empty (the default) means the current directory;
    // the editor passes its program directory. When the folder cannot take both logs they go to
    // a per-user folder instead (FallbackLogFolder(), made private to the user), and reading goes
    // on regardless. A log is never opened through a link.
    void SetLogFolder(std::string folder) { logFolder_ = std::move(folder); }
    // Empty when the system names no per-user folder: then there is no fallback.
    static std::string FallbackLogFolder();
    // Where the last read's logs went; both empty when no log could be written.
    const std::string& DebugLogPath() const { return debugLogPath_; }
    const std::string& ErrorLogPath() const { return errorLogPath_; }

    // Whether reading recreates "debug.txt" and "errors.txt" (the default). A tool that only
    // looks at files turns it off, and then nothing is written.
    void SetWriteLogs(bool on) { writeLogs_ = on; }
    bool WritesLogs() const { return writeLogs_; }
    // For a tool that reads several files in one run: each file's part of both logs begins with
    // the line "Opening '<path>' for input...", and with append the logs are added to instead of
    // recreated, so that one file's lines never pass for another's nor replace them.
    void SetSharedLogs(bool headed, bool append) {
        headedLogs_ = headed;
        appendLogs_ = append;
    }

    // Reads a script into this document. Returns 0 when it was read (lines that could not be read
    // are logged, kept and counted in ErrorCount()), 1 when the file does not exist, 2 when it
    // exists but cannot be read (OpenFailure() says why): a file over 256 MiB is refused unread,
    // and running out of memory leaves the document empty.
    // When bytesRead is given, it receives the file's bytes exactly as they were read; then
    // linesRead, when given, receives the script's lines as the reader split them, views into
    // *bytesRead (the first after a byte-order mark, if the file has one).
    std::int16_t OpenShipFile(const std::string& strShipFilePath, std::string* bytesRead = nullptr,
                              std::vector<std::string_view>* linesRead = nullptr);
    const std::string& OpenFailure() const { return openFailure_; }
    // Reads a script's bytes already in memory as OpenShipFile reads the file at path, without
    // touching the file or writing logs: how a tool sees the script a save would write.
    void ReadScriptText(const std::string& path, std::string bytes);
    // When the last read refused the file as no text script (compiled to Lua bytecode, UTF-16,
    // NUL bytes): what it is, to follow the file's quoted name ("is a compiled script, not a text
    // script: edit its source file instead"). Empty otherwise; OpenShipFile then returned 2.
    const std::string& NotTextReason() const { return notText_; }
    // Whether the file read began with a UTF-8 byte-order mark (skipped on reading, written
    // again before the first line), and whether it had a StartShipConfig line at all.
    bool HasByteOrderMark() const { return bom_; }
    bool HasStartShipConfig() const { return startShipConfig_; }
    int ErrorCount() const { return errorCount_; }        // lines logged as errors by the last read
    int KeptLineCount() const;                             // lines that will be written as read

    // Each line the last read logged as an error: its number (from 1) and its text as read.
    struct ErrorLine {
        int line;
        std::string text;
    };
    const std::vector<ErrorLine>& ErrorLines() const { return errorLines_; }

    // The names of game data that the last read stored, each with the number (from 1) of the
    // line that gave it: every weapon and salvage chunk, and each value of the fields of
    // scriptformat::NamedFields() (a mirror list gives one per entry, as stored).
    struct NameUse {
        int line;
        scriptformat::NameKind kind;
        int family;  // the family-list section for families, else -1
        std::string name;
    };
    const std::vector<NameUse>& NameUses() const { return nameUses_; }
    // Whether reading records them (the default): a check that looks up no names turns it off.
    void SetRecordNameUses(bool on) { recordNameUses_ = on; }

    // Writes the canonical script. The target is replaced only when the whole file was written;
    // on failure it is left as it was and the result says why.
    Result WriteShipFile(const std::string& FileName) const;
    std::string ScriptText() const;  // what WriteShipFile writes, lines ending in CR LF

    // Lines not placed in any category, in file order (what the last section of the script holds).
    std::vector<std::string> UnrecognizedLines() const;

    // Where the statements of the last read file came from, in file order: the first and last raw
    // line (counted from 0) of each statement that set something, and what it set. The save that
    // keeps the file's own layout rewrites, removes and inserts lines by these records.
    struct LineOrigin {
        // Block: a block (if ... end and the like), or an assignment of several entries at once
        // (NewShipType.a, NewShipType.b = 1, 2), that assigns the entry `target`, one record per
        // entry it assigns; the statement itself is kept as read and never rewritten.
        // Other: a statement no field or list holds, kept as read and edited as text (see
        // OtherEntries); its target is its position among the kept lines. A kept statement that
        // also has a record of another kind (a block, an ability's earlier call, an ability the
        // editor does not know) has both records, over the same lines.
        // Ability: the last call of an ability, the one the game keeps and the document holds.
        // AbilityAgain: an earlier call of an ability called again later (`target`), kept as read:
        // never rewritten, removed with the ability.
        // AbilityKept: a call of an ability (`target`) that the editor cannot rewrite, kept as
        // read: inside a block, or a call it could not read. While one comes after the ability's
        // last read call (or there is none), an edit of the ability could not take effect.
        enum class Kind : std::uint8_t { StartShipConfig, Assignment, SharedModel, Weapon, Salvage, PatchList, Ability, Block, AbilityAgain, Other, AbilityKept };
        // Every statement has one or more records, so they are kept small: a script has at most
        // 100,000 lines, and a target is a position or kNoTarget (which reads as past any).
        LineOrigin() = default;
        LineOrigin(Kind k, std::size_t f, std::size_t l, std::size_t t)
            : kind(k), first(static_cast<std::uint32_t>(f)), last(static_cast<std::uint32_t>(l)),
              target(static_cast<std::uint32_t>(t)) {}
        Kind kind = Kind::Other;
        std::uint32_t first = 0, last = 0;
        // Assignment, SharedModel: index into Fields() (the mirror lists: MAM_Num, MBM_Num);
        // Weapon, Salvage: item index; Ability: position in the ability table, kNoTarget for an
        // ability name the table does not hold; Other (a statement no field or list holds, kept as
        // read and edited as text, see OtherEntries): its position among the kept lines.
        std::uint32_t target = 0;
    };
    static constexpr std::size_t kNoTarget = static_cast<std::size_t>(-1);
    const std::vector<LineOrigin>& LineOrigins() const { return *origins_; }

    // The text of a field's line kept as read, while the field still holds what that line set:
    // the value part of an assignment ("10 + 5", "500 -- cheap for its class"), or the whole line
    // of a call. Empty when the field's line is written as the writer writes it.
    std::optional<std::string> KeptFieldText(std::string_view name) const;

private:
    friend class ShipReader;
    friend class ShipWriter;
    friend class ShipLayout;
    friend class OtherEntries;

    struct PatchList {
        std::string directory;
        std::vector<PatchItem> items;
        bool operator==(const PatchList&) const = default;
    };

    // A line kept as read. Field-bound lines (kept for one field of the field table, or for the
    // mirror lists) hold while the field still has the value it had right after the line was read.
    struct KeptLine {
        std::string text;
        int field = -1;                       // index into Fields(); -1 when not bound to a field
        int list = -1;                        // 0 mirror-above, 1 mirror-below, when list-bound
        // The field's value, or that list, right after the line was read. Only a line bound to a
        // field has one, and the document's copies share it (it never changes): a script of many
        // lines that no field holds costs little more than their text.
        std::shared_ptr<const std::variant<FieldValue, std::vector<std::string>>> valueRead;
        bool dropped = false;                 // a later line set the same field
        // An earlier call of an ability called again later (its position in the ability table):
        // it holds while the ability is present, and goes with it.
        int ability = -1;
    };
    bool KeptLineHolds(const KeptLine& k) const;
    // A statement that no field or list holds (an Other Entries row), still in the script.
    bool OtherStatementHolds(const KeptLine& k) const { return k.field < 0 && k.list < 0 && KeptLineHolds(k); }

    FieldValue GetFieldAt(std::size_t index) const;
    void SetFieldAt(std::size_t index, FieldValue value);

    WeaponList weapons_;
    SalvageList salvage_;
    std::vector<PatchItem> patches_;
    std::optional<std::string> patchKeptText_;
    bool patchLineUnread_ = false;  // the read kept a patch-list line it could not read
    PatchList patchKeptValues_;
    std::vector<std::string> mam_, mbm_;

    // Abilities read from lines that could not be stored exactly: ability index -> text and the
    // values of its fields right after reading.
    struct KeptAbility {
        std::string text;
        std::vector<FieldValue> values;
    };
    std::vector<std::optional<KeptAbility>> keptAbilities_;  // by position in the ability table
    // By position in the ability table: the arguments its line had beyond those the editor knows,
    // as written, carried after them when the line is written; empty for none.
    std::vector<std::string> abilityExtra_;
    std::vector<FieldValue> AbilityValues(std::size_t ability) const;
    bool AbilityKept(std::size_t ability) const;

    // A list that copies of the document share until one of them changes it: a script may keep
    // very many lines as read, and the document's copies (the state a save compares with, the
    // states an undo returns to) then cost nothing for them. Reading is as of a vector; a change
    // goes through Edit(), which first makes the list this copy's own.
    template <class T, class List = std::vector<T>>
    class SharedList {
    public:
        SharedList() : v_(std::make_shared<List>()) {}
        std::size_t size() const { return v_->size(); }
        bool empty() const { return v_->empty(); }
        const T& operator[](std::size_t i) const { return (*v_)[i]; }
        const T& back() const { return v_->back(); }
        typename List::const_iterator begin() const { return v_->cbegin(); }
        typename List::const_iterator end() const { return v_->cend(); }
        const List& operator*() const { return *v_; }
        // Empty, without allocating when this copy's list is its own (also when memory ran out).
        void Clear() {
            if (v_.use_count() > 1) v_ = std::make_shared<List>();
            else List().swap(*v_);
        }
        List& Edit() {
            if (v_.use_count() > 1) v_ = std::make_shared<List>(*v_);
            return *v_;
        }

    private:
        std::shared_ptr<List> v_;
    };
    // The kept lines grow one at a time while a script is read, as many as its statements: in
    // blocks, so that a long script's list is never held twice while it grows, nor with room to
    // spare.
    using KeptLines = SharedList<KeptLine, std::deque<KeptLine>>;

    SharedList<LineOrigin> origins_;         // filled by the reader, in file order
    KeptLines unrecognized_;                 // the last section, in file order
    KeptLines inPlace_;                      // written in place of a field's canonical line
    std::vector<bool> assigned_;             // per field: the script read assigned it
    // Where the statements read after the first block stood (see Place): per field, the line
    // that set it last; per ability (by position in the ability table), its first call; the
    // patch list. None for a statement read before the first block, or added since.
    std::vector<std::optional<Place>> fieldPlace_, abilityPlace_;
    std::optional<Place> patchPlace_;
    // Per field set both before and after the first block: the line that set it last before the
    // block, as the writer writes it; written in the field's section, since the block may read it.
    std::vector<std::optional<std::string>> beforeBlock_;
    std::string logFolder_;
    std::string debugLogPath_, errorLogPath_;
    std::string openFailure_;
    std::string notText_;
    bool bom_ = false;
    bool startShipConfig_ = true;
    int errorCount_ = 0;
    bool writeLogs_ = true;
    bool recordNameUses_ = true;
    bool headedLogs_ = false, appendLogs_ = false;
    std::vector<ErrorLine> errorLines_;
    std::vector<NameUse> nameUses_;
};

struct SR2ShipFile::PatchListCopy {
    std::string directory;
    std::int32_t num = -1;
    std::vector<PatchItem> items;
    std::optional<std::string> keptText;
    PatchList keptValues;
};
