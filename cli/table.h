// tarvisk-cli table and apply: a whole mod's values as one table, for balancing in a spreadsheet.
//
//   tarvisk-cli table [--fields KEY,...] [--format csv|json] PATH...
//       one row per script (folders searched as check searches them): the column "file", then one
//       column per entry, each cell the entry's value as the script writes it (the text after
//       "=", without a trailing comment, a plain string without its quotes), empty when the
//       script does not set it. CSV as RFC 4180, UTF-8, one header row.
//   tarvisk-cli apply [--dry-run] TABLE...
//       sets every cell that differs from its script's value as written, as set does, line by
//       line; an empty cell leaves the entry alone. Every cell of every table is checked before
//       any file is written: one refused cell refuses everything (exit 2), each listed on
//       standard error as TABLE:ROW: column: why, rows counted as a spreadsheet counts them (the
//       header is row 1). --dry-run prints the unified diff instead of writing. Each script is
//       locked as set locks it, from before it is read until it is replaced; one that another
//       program changed meanwhile refuses everything too.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

int TableCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ApplyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kTableUsage;
extern const char* const kApplyUsage;

// ----- CSV as RFC 4180 -----

// A cell as a CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view cell);

struct CsvRecord {
    int row = 0;  // from 1
    std::vector<std::string> cells;
};
// Splits text into records. Quoted fields may hold commas, doubled quotes and line breaks; records
// end at CR LF, LF or CR. A UTF-8 byte-order mark at the start is skipped. False, with why set,
// for a quoted field that is not closed or is followed by anything but a comma or a line end.
bool ParseCsv(std::string_view text, std::vector<CsvRecord>& records, std::string& why);

// The value part of an assignment statement as written: the text after its first "=", without a
// trailing "--" comment and surrounding blanks; a plain double-quoted string loses its quotes.
std::string WrittenValue(std::string_view statement);
