#include "editor/debouncedsaver.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

// A short interval keeps the tests quick; they check how many writes happened, never how long anything took.
constexpr int kInterval = 60;

TEST(DebouncedSaver, FirstChangeWritesAtOnceAndABurstWritesOnceMoreAtTheIntervalEnd) {
    int writes = 0;
    DebouncedSaver saver([&] { ++writes; }, kInterval);
    saver.Changed();
    EXPECT_EQ(writes, 1);
    for (int i = 0; i < 5; ++i)
        saver.Changed();
    EXPECT_EQ(writes, 1) << "changes inside the interval must wait";
    EXPECT_TRUE(saver.Pending());
    QTRY_COMPARE_WITH_TIMEOUT(writes, 2, 5000);
    EXPECT_FALSE(saver.Pending());
    // With nothing changed since, the next interval's end writes nothing.
    QTest::qWait(kInterval * 3);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(saver.Writes(), 2);
}

TEST(DebouncedSaver, FlushWritesOnlyAPendingChange) {
    int writes = 0;
    DebouncedSaver saver([&] { ++writes; }, kInterval);
    saver.Flush();
    EXPECT_EQ(writes, 0) << "no change, nothing to write";
    saver.Changed();
    saver.Changed();
    ASSERT_EQ(writes, 1);
    saver.Flush();
    EXPECT_EQ(writes, 2) << "focus loss writes the pending change at once";
    saver.Flush();
    EXPECT_EQ(writes, 2);
    QTest::qWait(kInterval * 3);
    EXPECT_EQ(writes, 2) << "the flushed change must not be written again";
}

TEST(DebouncedSaver, ChangeLaterWaitsForTheIntervalAndJoinsOtherChanges) {
    int writes = 0;
    DebouncedSaver saver([&] { ++writes; }, kInterval);
    saver.ChangedLater();
    EXPECT_EQ(writes, 0) << "typing is never written at once";
    EXPECT_TRUE(saver.Pending());
    saver.ChangedLater();
    saver.Changed(); // a stored change inside the same interval waits with it
    EXPECT_EQ(writes, 0);
    QTRY_COMPARE_WITH_TIMEOUT(writes, 1, 5000);
    EXPECT_FALSE(saver.Pending());
    QTest::qWait(kInterval * 3);
    EXPECT_EQ(writes, 1) << "one write for everything noted in the interval";
    // Flush writes typing that is still waiting, as for a stored change.
    saver.ChangedLater();
    saver.Flush();
    EXPECT_EQ(writes, 2);
}

} // namespace
