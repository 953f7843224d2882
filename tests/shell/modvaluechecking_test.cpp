// The key filter of number boxes and the blank remover.
#include <gtest/gtest.h>

#include "modvaluechecking.h"

using modValueChecking::FilterNumericKey;
using modValueChecking::RemoveBlanks;

TEST(FilterNumericKey, DigitsBackspaceAndOnePoint) {
    for (std::int16_t key = '0'; key <= '9'; ++key) EXPECT_EQ(FilterNumericKey("1.5", key), key);
    EXPECT_EQ(FilterNumericKey("", 8), 8);
    EXPECT_EQ(FilterNumericKey("12", '.'), '.');
    EXPECT_EQ(FilterNumericKey("", '.'), '.');
    EXPECT_EQ(FilterNumericKey("1.5", '.'), 0);
    EXPECT_EQ(FilterNumericKey(".", '.'), 0);
    EXPECT_EQ(FilterNumericKey("1.5", '7'), '7');
}

TEST(FilterNumericKey, EverythingElseIsDropped) {
    const int keys[] = {'-', '+', ',', ' ', 'a', 'E', 'e', '\t', 13, 27, 127, 0, 200, -1};
    for (int key : keys)
        EXPECT_EQ(FilterNumericKey("12", static_cast<std::int16_t>(key)), 0) << key;
    EXPECT_EQ(FilterNumericKey("", '-'), 0);
}

TEST(RemoveBlanks, OnlyBlanksGo) {
    EXPECT_EQ(RemoveBlanks(" a b "), "ab");
    EXPECT_EQ(RemoveBlanks(""), "");
    EXPECT_EQ(RemoveBlanks("   "), "");
    EXPECT_EQ(RemoveBlanks("a\tb\nc"), "a\tb\nc");
    EXPECT_EQ(RemoveBlanks("Fighter, Corvette"), "Fighter,Corvette");
}
