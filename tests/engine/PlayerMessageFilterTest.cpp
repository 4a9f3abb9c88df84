#include "engine/PlayerMessageFilter.h"
#include "engine/PlayerMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace sonavel {
namespace {

std::vector<uint32_t> Collapsed(const std::vector<uint32_t>& messages)
{
    CThrAudioPlayMessageFilter filter;
    for (uint32_t message : messages) {
        filter.Append({message, 0, 0});
    }
    filter.Collapse();
    std::vector<uint32_t> left;
    while (!filter.Empty()) {
        left.push_back(filter.PopFront().message);
    }
    return left;
}

TEST(PlayerMessageFilterTest, CollapsesBurstsByTheSupersessionRules)
{
    struct Case {
        std::vector<uint32_t> queued;
        std::vector<uint32_t> executed;
    };
    const std::vector<Case> cases = {
        {{WM_PLAYER_SEEK, WM_PLAYER_NEXT, WM_PLAYER_NEXT, WM_PLAYER_NEXT},
            {WM_PLAYER_NEXT, WM_PLAYER_NEXT, WM_PLAYER_NEXT}},
        {{WM_PLAYER_STOP, WM_PLAYER_PLAY}, {WM_PLAYER_PLAY}},
        {{WM_PLAYER_PLAY, WM_PLAYER_STOP}, {WM_PLAYER_STOP}},
        {{WM_PLAYER_SEEK, WM_PLAYER_SEEK, WM_PLAYER_SEEK}, {WM_PLAYER_SEEK}},
        {{WM_PLAYER_PAUSE, WM_PLAYER_PREVIOUS}, {WM_PLAYER_PREVIOUS}},
        {{WM_PLAYER_REPORT_TIME, WM_PLAYER_PLAYLIST_CHANGED, WM_PLAYER_STOP}, {WM_PLAYER_STOP}},
        {{WM_PLAYER_PAUSE, WM_PLAYER_REPORT_TIME, WM_PLAYER_SEEK}, {WM_PLAYER_PAUSE, WM_PLAYER_REPORT_TIME,
            WM_PLAYER_SEEK}},
        {{WM_PLAYER_TRACK_END, WM_PLAYER_PLAY}, {WM_PLAYER_TRACK_END, WM_PLAYER_PLAY}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Collapsed(c.queued), c.executed);
    }
}

TEST(PlayerMessageFilterTest, TakeAllKeepsTheNewestOfAKind)
{
    CThrAudioPlayMessageFilter filter;
    filter.Append({WM_PLAYER_SEEK, 3, 0});
    filter.Append({WM_PLAYER_REPORT_TIME, 0, 0});
    filter.Append({WM_PLAYER_SEEK, 9, 0});
    const auto newest = filter.TakeAll(WM_PLAYER_SEEK);
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->wParam, 9u);
    EXPECT_EQ(filter.PopFront().message, WM_PLAYER_REPORT_TIME);
    EXPECT_TRUE(filter.Empty());
}

} // namespace
} // namespace sonavel
