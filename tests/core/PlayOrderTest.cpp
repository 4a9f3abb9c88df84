#include "core/PlayOrder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

constexpr auto kStop = PlayOrderAction::Stop;
constexpr auto kPlay = PlayOrderAction::PlayFromStart;
constexpr auto kContinue = PlayOrderAction::Continue;
constexpr auto kNext = PlayOrderTrigger::Next;
constexpr auto kPrevious = PlayOrderTrigger::Previous;
constexpr auto kTrackEnd = PlayOrderTrigger::TrackEnd;

struct Case {
    const char* name;
    PlayOrderTrigger trigger;
    PlayOrderState state;
    PlayOrderStep expected;
};

TEST(PlayOrderTest, MovesThroughTheOrderAsTheModesSay)
{
    // state: repeat mode, shuffle, position, count, all played
    const Case cases[] = {
        {"next, default, inside", kNext, {0, false, 1, 4, false}, {kPlay, 2, false}},
        {"next, default, on the last", kNext, {0, true, 3, 4, false}, {kStop, -1, false}},
        {"next, repeat playlist, on the last", kNext, {2, false, 3, 4, false}, {kPlay, 0, false}},
        {"next, repeat title, on the last", kNext, {1, false, 3, 4, false}, {kPlay, 0, false}},
        {"next, empty", kNext, {2, false, 0, 0, false}, {kStop, -1, false}},
        {"previous, default, on the first", kPrevious, {0, false, 0, 4, false}, {kStop, -1, false}},
        {"previous, default, inside", kPrevious, {0, false, 2, 4, false}, {kPlay, 1, false}},
        {"previous, repeat playlist, on the first", kPrevious, {2, true, 0, 4, false}, {kPlay, 3, false}},
        {"previous, empty", kPrevious, {1, false, 0, 0, false}, {kStop, -1, false}},
        {"end, repeat title", kTrackEnd, {1, true, 2, 4, false}, {kPlay, 2, false}},
        {"end, default, inside", kTrackEnd, {0, false, 1, 4, false}, {kContinue, 2, false}},
        {"end, default, last", kTrackEnd, {0, false, 3, 4, false}, {kStop, 0, false}},
        {"end, default shuffled, last", kTrackEnd, {0, true, 3, 4, false}, {kStop, 0, true}},
        {"end, repeat playlist, last", kTrackEnd, {2, false, 3, 4, false}, {kContinue, 0, false}},
        {"end, repeat playlist shuffled, inside", kTrackEnd, {2, true, 1, 4, false}, {kContinue, 2, false}},
        {"end, repeat playlist shuffled, last", kTrackEnd, {2, true, 3, 4, false}, {kContinue, 0, true}},
        {"end, repeat playlist shuffled, nothing playable",
         kTrackEnd,
         {2, true, 3, 4, true},
         {kStop, 0, true}},
        {"end, playlist emptied meanwhile", kTrackEnd, {2, false, 3, 0, false}, {kStop, 0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlayOrderStep step = DecidePlayOrderStep(c.trigger, c.state);
        EXPECT_EQ(step.action, c.expected.action);
        EXPECT_EQ(step.position, c.expected.position);
        EXPECT_EQ(step.reshuffle, c.expected.reshuffle);
    }
}

TEST(PlayOrderTest, PreparesAheadExceptForRepeatTitleAndTheDefaultModesWrap)
{
    EXPECT_TRUE(MayPrepareNext(kRepeatDefault, 1, 3));
    EXPECT_FALSE(MayPrepareNext(kRepeatDefault, 2, 3));
    EXPECT_TRUE(MayPrepareNext(kRepeatPlaylist, 2, 3));
    EXPECT_FALSE(MayPrepareNext(kRepeatTitle, 0, 3));
    EXPECT_FALSE(MayPrepareNext(kRepeatPlaylist, 0, 0));
}

} // namespace
} // namespace sonavel
