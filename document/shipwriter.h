// The canonical line forms of the writer, shared with the reader, which compares each line it
// stores with the line that would be written back for it. Internal to the document library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scriptformat.h"
#include "sr2shipfile.h"

class ShipWriter {
public:
    static std::string Quote(const std::string& s) { return '"' + s + '"'; }
    static std::string StripBlanksAndParens(const std::string& s);
    // A value in its script form: quoted text, plain integer, real, or 1/0 for a flag.
    static std::string Form(const FieldValue& v);
    // Whether Form(v) == text; the usual values are compared without building their form.
    static bool FormIs(const FieldValue& v, std::string_view text);

    // The writer's key for a field ("NewShipType.buildCost = "), or null when no line is written
    // for it. Indexed like SR2ShipFile::Fields().
    static const char* KeyOf(std::size_t field);
    static std::string FieldLine(const SR2ShipFile& d, std::size_t field);
    // FieldLine, or for a mirror list's _Num field the list's line (none for an empty list).
    static std::string ValueLine(const SR2ShipFile& d, std::size_t field);
    static std::string MirrorLine(const char* key, const std::vector<std::string>& list);
    static std::string SharedModelLine(const std::string& model);
    static std::string WeaponLine(const SR2ShipFile::WeaponItem& w);
    static std::string SalvageLine(const SR2ShipFile::SalvageItem& s);
    static std::string PatchLine(const std::string& directory,
                                 const std::vector<SR2ShipFile::PatchItem>& items);
    static std::string AbilityLine(const SR2ShipFile& d, const scriptformat::Ability& a);
    // Whether line is AbilityLine exactly, for an ability whose argument fields (and then its
    // quoted field) hold values; compared piece by piece without building the line.
    static bool IsAbilityLine(std::string_view line, const scriptformat::Ability& a,
                              const std::vector<FieldValue>& values);

    static std::string Script(const SR2ShipFile& d);
};
