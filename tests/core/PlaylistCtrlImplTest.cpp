#include "core/PlaylistCtrlImpl.h"

#include "tests/core/PlaylistTestEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace sonavel {
namespace {

using test::EntryId;
using test::NamedEntry;

bool IsPermutation(std::vector<int32_t> order)
{
    std::sort(order.begin(), order.end());
    for (size_t k = 0; k < order.size(); ++k) {
        if (order[k] != static_cast<int32_t>(k)) {
            return false;
        }
    }
    return true;
}

std::vector<int32_t> Identity(int32_t n)
{
    std::vector<int32_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

class PlaylistStoreTest : public ::testing::Test {
  protected:
    void Fill(int32_t count)
    {
        for (int32_t i = 0; i < count; ++i) {
            store.InsertAt(NamedEntry(i), i);
        }
    }

    std::vector<int32_t> RowIds() const
    {
        std::vector<int32_t> ids;
        for (int32_t i = 0; i < store.GetEntryCount(); ++i) {
            MusicTrackInfo entry;
            store.GetEntry(i, &entry);
            ids.push_back(EntryId(entry));
        }
        return ids;
    }

    int32_t CurrentId() const
    {
        MusicTrackInfo entry;
        store.GetEntry(store.GetCurrentEntry(), &entry);
        return EntryId(entry);
    }

    void ExpectConsistent() const
    {
        const auto order = store.GetOrder();
        EXPECT_EQ(static_cast<int32_t>(order.size()), store.GetEntryCount());
        EXPECT_TRUE(IsPermutation(order));
        if (!order.empty()) {
            EXPECT_GE(store.GetPosition(), 0);
            EXPECT_LT(store.GetPosition(), store.GetEntryCount());
        }
        if (!store.IsShuffle()) {
            EXPECT_EQ(order, Identity(store.GetEntryCount()));
        }
    }

    CPlaylistCtrlImpl store;
};

TEST_F(PlaylistStoreTest, InsertIntoEmptyGivesSingleOrderAndClearsPlayedMark)
{
    MusicTrackInfo entry = NamedEntry(0);
    entry.played = true;
    EXPECT_EQ(store.InsertAt(entry, 0), 0);
    EXPECT_EQ(store.GetOrder(), std::vector<int32_t>{0});
    EXPECT_EQ(store.GetPosition(), 0);
    MusicTrackInfo copy;
    ASSERT_EQ(store.GetEntry(0, &copy), 0);
    EXPECT_FALSE(copy.played);
    EXPECT_EQ(copy.path, entry.path);
}

TEST_F(PlaylistStoreTest, InsertKeepsTheCurrentEntryCurrent)
{
    struct Case {
        int32_t position;
        int32_t at;
        int32_t expectedPosition;
    };
    for (const Case c : {Case{2, 0, 3}, Case{2, 2, 3}, Case{2, 3, 2}, Case{4, 5, 4}, Case{0, 0, 1}}) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " insert at " << c.at);
        store.Clear();
        Fill(5);
        store.SetPosition(c.position);
        store.InsertAt(NamedEntry(9), c.at);
        EXPECT_EQ(store.GetPosition(), c.expectedPosition);
        EXPECT_EQ(CurrentId(), c.position);
        EXPECT_EQ(RowIds()[c.at], 9);
        ExpectConsistent();
    }
}

TEST_F(PlaylistStoreTest, InsertWithShuffleStartsANewOrderWithTheCurrentEntry)
{
    Fill(5);
    store.SetShuffle(true, -1);
    store.SetPosition(3);
    const int32_t current = CurrentId();
    store.MarkPlayed(1);
    store.InsertAt(NamedEntry(7), 0);
    EXPECT_EQ(store.GetPosition(), 0);
    EXPECT_EQ(CurrentId(), current);
    EXPECT_FALSE(store.AllPlayed());
    MusicTrackInfo entry;
    store.GetEntry(2, &entry);
    EXPECT_FALSE(entry.played);
    ExpectConsistent();
}

TEST_F(PlaylistStoreTest, RemoveReportsTheCurrentEntryAndMovesCurrentAsExpected)
{
    struct Case {
        int32_t position;
        int32_t index;
        int32_t result;
        int32_t currentId;
    };
    const Case cases[] = {
        {2, 2, 1, 3}, // the entry after the removed current one plays next
        {4, 4, 1, 0}, // removing the last, current entry makes entry 0 current
        {3, 1, 0, 3}, // an entry before the current one
        {1, 3, 0, 1}, // an entry after the current one
        {1, 7, 0, 1}, // out of range: nothing happens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " remove " << c.index);
        store.Clear();
        Fill(5);
        store.SetPosition(c.position);
        EXPECT_EQ(store.Remove(c.index), c.result);
        EXPECT_EQ(CurrentId(), c.currentId);
        ExpectConsistent();
    }
}

TEST_F(PlaylistStoreTest, RemovingEverythingThenAddingAgainGivesAValidPosition)
{
    Fill(3);
    store.SetPosition(2);
    store.Remove(2);
    store.Remove(1);
    store.Remove(0);
    EXPECT_EQ(store.GetEntryCount(), 0);
    EXPECT_EQ(store.GetCurrentEntry(), 0);
    EXPECT_EQ(store.GetNextEntry(), 0);
    EXPECT_EQ(store.GetNextPosition(), 0);
    EXPECT_EQ(store.GetElapsedBefore(), 0);

    store.Append(NamedEntry(5));
    ExpectConsistent();
    EXPECT_EQ(CurrentId(), 5);
    store.Remove(0);
    store.InsertAt(NamedEntry(6), 0);
    ExpectConsistent();
    EXPECT_EQ(CurrentId(), 6);
}

TEST_F(PlaylistStoreTest, MoveRowsKeepsTheirOrderAndTheCurrentEntry)
{
    struct Case {
        std::vector<int32_t> rows;
        int32_t target;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {{1, 3}, 0, {1, 3, 0, 2, 4}}, {{2}, 2, {0, 1, 2, 3, 4}},    {{0, 2}, 5, {1, 3, 4, 0, 2}},
        {{0, 4}, 2, {1, 0, 4, 2, 3}}, {{3, 1}, 0, {0, 1, 2, 3, 4}}, // not ascending: refused
        {{1, 5}, 0, {0, 1, 2, 3, 4}},                               // beyond the end: refused
        {{1}, 6, {0, 1, 2, 3, 4}},                                  // target beyond the end: refused
        {{}, 0, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target);
        store.Clear();
        Fill(5);
        store.SetPosition(3);
        EXPECT_EQ(store.Move(c.rows, c.target), 0);
        EXPECT_EQ(RowIds(), c.expected);
        EXPECT_EQ(CurrentId(), 3);
        ExpectConsistent();
    }
}

TEST_F(PlaylistStoreTest, MoveWithShuffleKeepsAPermutation)
{
    Fill(6);
    store.SetShuffle(true, -1);
    store.SetPosition(2);
    const std::vector<int32_t> rows{0, 4, 5};
    store.Move(rows, 2);
    EXPECT_EQ(store.GetPosition(), 0);
    ExpectConsistent();
}

TEST_F(PlaylistStoreTest, ShuffleWithAFixedFirstEntryAlwaysBeginsWithIt)
{
    Fill(5);
    for (int round = 0; round < 50; ++round) {
        store.SetShuffle(true, 3);
        const auto order = store.GetOrder();
        ASSERT_EQ(order.front(), 3);
        ASSERT_TRUE(IsPermutation(order));
        ASSERT_EQ(store.GetPosition(), 0);
    }
    store.SetShuffle(true, 9); // beyond the end fixes entry 0
    EXPECT_EQ(store.GetOrder().front(), 0);
}

TEST_F(PlaylistStoreTest, ShuffleOfOneEntryAndSwitchingShuffleOff)
{
    Fill(1);
    store.SetShuffle(true, -1);
    EXPECT_EQ(store.GetOrder(), std::vector<int32_t>{0});

    store.Clear();
    Fill(5);
    store.SetShuffle(true, -1);
    store.SetPosition(3);
    store.MarkPlayed(2);
    store.SetShuffle(false, -1);
    EXPECT_EQ(store.GetOrder(), Identity(5));
    EXPECT_EQ(store.GetPosition(), 0);
    EXPECT_EQ(store.GetNextEntry(), 1);
    MusicTrackInfo entry;
    store.GetEntry(2, &entry);
    EXPECT_TRUE(entry.played); // switching off keeps the marks
}

TEST_F(PlaylistStoreTest, ShuffleClearsPlayedMarks)
{
    Fill(3);
    store.MarkPlayed(0);
    store.MarkPlayed(1);
    store.MarkPlayed(2);
    EXPECT_TRUE(store.AllPlayed());
    store.SetShuffle(true, -1);
    EXPECT_FALSE(store.AllPlayed());
    EXPECT_TRUE(store.IsShuffle());
}

TEST_F(PlaylistStoreTest, EntryAccessReplacesOutOfRangeIndicesByZero)
{
    MusicTrackInfo entry;
    EXPECT_EQ(store.GetEntry(0, &entry), -1);
    EXPECT_EQ(store.MarkPlayed(0), -1);
    EXPECT_TRUE(store.AllPlayed());

    Fill(3);
    EXPECT_EQ(store.GetEntry(0, nullptr), -1);
    ASSERT_EQ(store.GetEntry(3, &entry), 0);
    EXPECT_EQ(EntryId(entry), 0);
    ASSERT_EQ(store.GetEntry(-2, &entry), 0);
    EXPECT_EQ(EntryId(entry), 0);

    EXPECT_EQ(store.MarkPlayed(10), 0);
    store.GetEntry(0, &entry);
    EXPECT_TRUE(entry.played);
    store.MarkPlayed(1);
    EXPECT_FALSE(store.AllPlayed());
    store.MarkPlayed(2);
    EXPECT_TRUE(store.AllPlayed());
    store.ClearPlayed();
    store.GetEntry(1, &entry);
    EXPECT_FALSE(entry.played);
}

TEST_F(PlaylistStoreTest, PositionWrapsAndNextWrapsToTheStart)
{
    store.SetPosition(-1);
    EXPECT_EQ(store.GetPosition(), 0);
    Fill(4);
    store.SetPosition(-1);
    EXPECT_EQ(store.GetPosition(), 3);
    EXPECT_EQ(store.GetNextPosition(), 0);
    EXPECT_EQ(store.GetNextEntry(), 0);
    store.SetPosition(4);
    EXPECT_EQ(store.GetPosition(), 0);
    EXPECT_EQ(store.GetNextPosition(), 1);

    store.SetShuffle(true, 2);
    const auto order = store.GetOrder();
    EXPECT_EQ(store.GetNextEntry(), order[1]);
    EXPECT_EQ(store.FindPosition(order[3]), 3);
    EXPECT_EQ(store.FindPosition(8), 3); // no such entry: unchanged
}

TEST_F(PlaylistStoreTest, AppendAndClearKeepTheModifiedFlagAndShuffle)
{
    store.SetShuffle(true, -1);
    MusicTrackInfo entry = NamedEntry(0);
    entry.played = true;
    store.Append(entry);
    store.Append(NamedEntry(1));
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(store.GetOrder(), Identity(2));
    EXPECT_FALSE(store.AllPlayed());

    store.Clear();
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(store.GetEntryCount(), 0);
    EXPECT_TRUE(store.IsShuffle());
}

TEST_F(PlaylistStoreTest, ElapsedBeforeSumsDurationsInPlayOrderAndRoundsOnce)
{
    for (int32_t i = 0; i < 4; ++i) {
        MusicTrackInfo entry = NamedEntry(i);
        entry.lengthFrames = 105 + 75 * i; // 1.4 s, 2.4 s, 3.4 s, 4.4 s
        store.InsertAt(entry, i);
    }
    store.SetPosition(2);
    EXPECT_EQ(store.GetElapsedBefore(), 4); // 3.8 rounded once, not 1 + 2

    store.SetShuffle(true, 3);
    store.SetPosition(1);
    EXPECT_EQ(store.GetElapsedBefore(), 4); // entry 3 alone: 4.4 s
}

} // namespace
} // namespace sonavel
