#include "model/foldedidtable.h"

#include "support/textroutines.h"

#include <gtest/gtest.h>

#include <string>

TEST(FoldedIdTable, NumbersDistinctIdsIgnoringAsciiCase) {
    FoldedIdTable table;
    EXPECT_EQ(table.Find("Start"), -1);
    EXPECT_EQ(table.Insert("Start"), 0);
    EXPECT_EQ(table.Insert("START"), 0);
    EXPECT_EQ(table.Find("sTaRt"), 0);
    EXPECT_EQ(table.Insert(""), 1);
    EXPECT_EQ(table.Find(""), 1);
    // Only A-Z fold: accented letters and the bytes next to the letter ranges stay distinct.
    EXPECT_EQ(table.Insert("\xC3\xA9"), 2);
    EXPECT_EQ(table.Insert("\xC3\x89"), 3);
    EXPECT_EQ(table.Insert("@"), 4);
    EXPECT_EQ(table.Find("`"), -1);
    EXPECT_EQ(table.Find("Start "), -1);
    EXPECT_EQ(table.Count(), 5);
}

TEST(FoldedIdTable, KeepsNumbersWhenGrowingPastTheExpectedSize) {
    FoldedIdTable table(1);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(table.Insert("Screen" + IntToStr(i)), i);
    EXPECT_EQ(table.Count(), 5000);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(table.Find("SCREEN" + IntToStr(i)), i);
    EXPECT_EQ(table.Find("Screen5000"), -1);
}
