// The texts of tarvisk-cli table and apply: CSV as spreadsheets write it, and an entry's value as
// the script writes it.
#include <gtest/gtest.h>

#include "table.h"

namespace {

std::vector<std::vector<std::string>> Cells(std::string_view text) {
    std::vector<CsvRecord> records;
    std::string why;
    EXPECT_TRUE(ParseCsv(text, records, why)) << why;
    std::vector<std::vector<std::string>> cells;
    for (const CsvRecord& r : records) cells.push_back(r.cells);
    return cells;
}

}  // namespace

TEST(TableText, CsvReadsWhatItWritesAndWhatSpreadsheetsWrite) {
    const std::string tricky = "a, \"b\"\r\nc";
    EXPECT_EQ(CsvField(tricky), "\"a, \"\"b\"\"\r\nc\"");
    EXPECT_EQ(CsvField("plain text"), "plain text");
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(Cells("file,x\r\n" + CsvField("p.ship") + "," + CsvField(tricky) + "\r\n"),
              (Rows{{"file", "x"}, {"p.ship", tricky}}));
    // A byte-order mark, LF or lone CR line ends, empty cells, no line end at the end.
    EXPECT_EQ(Cells("\xEF\xBB\xBF" "file,x\n,\r\"q\",\"\""), (Rows{{"file", "x"}, {"", ""}, {"q", ""}}));
    std::vector<CsvRecord> records;
    std::string why;
    EXPECT_FALSE(ParseCsv("file\n\"open", records, why));
    EXPECT_EQ(why, "row 2: a quoted cell is not closed");
    EXPECT_FALSE(ParseCsv("file\n\"a\"b", records, why));
}

TEST(TableText, ValueAsWritten) {
    EXPECT_EQ(WrittenValue("NewShipType.buildCost = 500"), "500");
    EXPECT_EQ(WrittenValue("NewShipType.buildCost=500 -- cheap for its class"), "500");
    EXPECT_EQ(WrittenValue("NewShipType.displayedName = \"Lyr -- Picket\"  -- name"), "Lyr -- Picket");
    EXPECT_EQ(WrittenValue("NewShipType.mass = 10 + 5"), "10 + 5");
    // Only a plain string loses its quotes.
    EXPECT_EQ(WrittenValue("NewShipType.displayedName = \"a\" .. \"b\""), "\"a\" .. \"b\"");
    EXPECT_EQ(WrittenValue("NewShipType.displayedName = \"a\\\"b\""), "\"a\\\"b\"");
}
