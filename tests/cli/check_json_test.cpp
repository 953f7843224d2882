// The JSON string escaper of tarvisk-cli check: every byte of a script line must come out as
// valid JSON, whatever the script's encoding.
#include <gtest/gtest.h>

#include "check.h"

TEST(CheckJson, EscapesQuotesControlsAndBytesThatAreNotUtf8) {
    EXPECT_EQ(JsonEscape("say \"hi\"\\now"), "say \\\"hi\\\"\\\\now");
    EXPECT_EQ(JsonEscape("a\tb\r\n\x01"), "a\\tb\\r\\n\\u0001");
    EXPECT_EQ(JsonEscape("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xC3\xA9 \xE2\x82\xAC");  // UTF-8 stays
    EXPECT_EQ(JsonEscape("caf\xE9"), "caf\\u00e9");                                // Latin-1 byte
    EXPECT_EQ(JsonEscape("\xC3"), "\\u00c3");                                      // cut short
    EXPECT_EQ(JsonEscape("\xC0\xAF"), "\\u00c0\\u00af");                           // overlong
    EXPECT_EQ(JsonEscape("\xED\xA0\x80"), "\\u00ed\\u00a0\\u0080");                // surrogate
    // A bad third or fourth byte spoils the sequence: each byte stands for itself.
    EXPECT_EQ(JsonEscape("\xE2\x82\x41"), "\\u00e2\\u0082A");
    EXPECT_EQ(JsonEscape("\xF0\x9F\x98\x41"), "\\u00f0\\u009f\\u0098A");
    EXPECT_EQ(JsonEscape("\xF0\x9F\x41\x80"), "\\u00f0\\u009fA\\u0080");
    EXPECT_EQ(JsonEscape("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
}

TEST(CheckText, ControlCharactersReachTheTerminalEscaped) {
    EXPECT_EQ(TerminalSafe("a\x1B[2Jb\x07\x7F\tc\xC2\x9B" "1m\xC2\xA0"), "a\\x1B[2Jb\\x07\\x7F\tc\\u009B1m\xC2\xA0");
}
