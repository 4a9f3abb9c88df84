#include "ui/CommandIds.h"
#include "ui/ForwardedPaths.h"
#include "ui/PlayerDisplayRules.h"

#include <gtest/gtest.h>

namespace sonavel::test {
namespace {

TEST(MenuEnablingTest, FollowsTheTableInAllFourStates)
{
    using namespace command;
    // Columns: stopped, stopped CD, playing, playing CD.
    const struct {
        int id;
        bool enabled[4];
    } table[] = {
        {kOpen, {true, true, false, false}},         {kOpenCd, {true, true, false, false}},
        {kAddFiles, {true, false, true, false}},     {kNewPlaylist, {true, true, false, false}},
        {kLoadPlaylist, {true, true, false, false}}, {kSavePlaylist, {true, false, false, false}},
        {kShuffle, {true, true, false, false}},      {kPlay, {true, true, true, true}},
    };
    for (const auto& row : table) {
        for (int state = 0; state < 4; ++state) {
            EXPECT_EQ(IsMenuItemEnabled(row.id, state >= 2, state % 2 == 1), row.enabled[state])
                << row.id << " in state " << state;
        }
    }
}

TEST(WindowTitleTest, ShowsTrackLoadingAndDebugForms)
{
    const struct {
        bool hasTrack;
        std::u16string_view track;
        int32_t percent;
        bool debug;
        std::u16string_view title;
    } cases[] = {
        {true, u"Song", -1, false, u"Song - KESTRANE Sonavel"},
        {true, u"Song", 37, false, u"[Loading 37%...] Song - KESTRANE Sonavel"},
        {false, u"", 37, false, u"KESTRANE Sonavel"},
        {false, u"", -1, true, u"KESTRANE Sonavel [Debug Mode]"},
        {true, u"Song", -1, true, u"Song - KESTRANE Sonavel [Debug Mode]"},
        {true, u"Song", 37, true, u"[Loading 37%...] Song - KESTRANE Sonavel [Debug Mode]"},
        {true, u"Song", 100, false, u"Song - KESTRANE Sonavel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildWindowTitle(c.hasTrack, c.track, c.percent, c.debug), c.title);
    }
}

TEST(TimeTextTest, FormatsElapsedAndTotal)
{
    EXPECT_EQ(FormatTimeText(0, 0), u"0:00:00 / 0:00:00");
    EXPECT_EQ(FormatTimeText(3725, 36061), u"1:02:05 / 10:01:01");
    EXPECT_EQ(FormatSeekTip(125), u"2:05");
    EXPECT_EQ(FormatSeekTip(3600), u"60:00");
}

TEST(SeekReportRuleTest, ThumbStaysWhileDraggingPendingOrJustTouched)
{
    const struct {
        bool tracking;
        int32_t seekState;
        uint32_t lastTick;
        uint32_t now;
        bool follows;
    } cases[] = {
        {false, 0, 0, 10000, true},
        {true, 0, 0, 10000, false},
        {false, 1, 0, 10000, false},
        {false, 2, 0, 10000, false},
        {false, 0, 9800, 10000, false},
        {false, 0, 9750, 10000, true},
        {false, 0, 10000, 10000, true},
        {false, 0, 0xFFFFFFF0U, 5, true},
        // No wrap-around: a tick near the top of the range still holds the thumb just after it.
        {false, 0, 0xFFFFFF00U, 0xFFFFFF10U, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ThumbFollowsReports(c.tracking, c.seekState, c.lastTick, c.now), c.follows)
            << c.lastTick << " " << c.now;
    }
}

TEST(StatusWordTest, IsTheFirstTokenOfTheFormat)
{
    EXPECT_EQ(FirstFormatToken(u"AIFF,AIF"), u"AIFF");
    EXPECT_EQ(FirstFormatToken(u" DSF 64"), u"DSF");
    EXPECT_EQ(FirstFormatToken(u""), u"");
}

TEST(ForwardedPathsTest, SplitsAtBarsKeepingTheLastPiece)
{
    EXPECT_EQ(SplitForwardedPaths(u"a.wav||b.wav|"), (std::vector<std::u16string>{u"a.wav", u"b.wav", u""}));
    EXPECT_EQ(SplitForwardedPaths(u"/music/x y.flac"), (std::vector<std::u16string>{u"/music/x y.flac"}));
    const std::vector<std::u16string> paths{u"/a/1.wav", u"/b/2.dff"};
    EXPECT_EQ(SplitForwardedPaths(JoinForwardedPaths(paths)), paths);
}

TEST(MainFrameSizeTest, MinimumTrackingSizeScalesWithDpi)
{
    EXPECT_EQ(MinimumTrackingSize(96, 96), (TrackingSize{320, 240}));
    EXPECT_EQ(MinimumTrackingSize(144, 144), (TrackingSize{480, 360}));
    EXPECT_EQ(MinimumTrackingSize(120, 0), (TrackingSize{400, 240}));
}

} // namespace
} // namespace sonavel::test
