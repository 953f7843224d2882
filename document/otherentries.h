// The statements of a script that no sheet or list editor shows: entries the document does not
// know, calls of functions it does not hold, lines it could not read, blocks. The reader keeps
// them as written; here they are listed, and edited, added and removed as text. Save rewrites only
// the lines of the statements changed (ShipLayout), Save As writes them in its last section.
//
// The few entries the document knows but no sheet shows (the shared model, the parade data, the
// controller type, ...: HeldFields()) are listed here too. Their rows edit the document's field,
// so that Save rewrites their line as it does after any sheet's edit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sr2shipfile.h"

class OtherEntries {
public:
    enum class Form {
        Assignment,  // name = value
        Call,        // name(args)
        Block,       // anything else, or a statement of several lines: edited as a whole
    };
    static constexpr std::size_t kNoField = static_cast<std::size_t>(-1);
    struct Row {
        std::size_t id = 0;  // the statement or known entry, as long as the document lives
        int line = 0;        // its first line in the file, from 1; 0 for a statement added since
        Form form = Form::Block;
        std::string entry;   // the key (without "NewShipType."), the function, or a block's first word
        std::string value;   // as written: after "=", the arguments after NewShipType, or the whole block
        std::string text;    // the whole statement as written
        // A known entry's field (index into SR2ShipFile::Fields()), or kNoField for a statement
        // kept as written. A known entry's row cannot be removed.
        std::size_t field = kNoField;
    };

    // The fields of the known entries that no sheet or editor shows, each listed when its script
    // has a line for it (a document without a file: when the writer writes one), or once Add
    // set it.
    static const std::vector<std::size_t>& HeldFields();
    static bool HoldsField(std::size_t field);

    // The statements in file order; `origins` say where they stand in the file (the document's
    // line records; empty for a document without a file).
    static std::vector<Row> List(const SR2ShipFile& ship, const std::vector<SR2ShipFile::LineOrigin>& origins);

    // Puts value in place of a statement's value (a block's whole text). A value that the game
    // could not read is refused with the reason; the value as it stands is always taken. A known
    // entry takes what its field can hold: a quoted text without quotes or backslashes in it, or
    // a number of the field's type.
    static Result SetValue(SR2ShipFile& ship, std::size_t id, std::string_view value);
    // Adds a statement typed as "key = value" or "name(args)": a key without a table gets
    // "NewShipType.", a call without it as first argument gets it. Entries and calls that a sheet
    // or editor holds are refused, and so is a value the game could not read; a known entry of
    // HeldFields() is set, unless it has its row already. *id (when given) receives the new row's
    // id.
    static Result Add(SR2ShipFile& ship, std::string_view statement, std::size_t* id = nullptr);
    static void Remove(SR2ShipFile& ship, std::size_t id);

    // Whether a value can stand in a statement of the given form; the reason when not.
    static Result CheckValue(std::string_view value, Form form);

    // A statement's text cut into its form, entry and value.
    struct Parts {
        Form form = Form::Block;
        std::string entry;
        std::string before;  // the text before the value
        std::string value;
        std::string after;   // the text after it
    };
    static Parts Parse(std::string_view text);

private:
    // The row of a known entry of HeldFields(), on the given line.
    static Row KnownRow(const SR2ShipFile& ship, std::size_t field, int line);
    static Result AddKnown(SR2ShipFile& ship, std::size_t field, std::string_view value, std::size_t* id);
};
