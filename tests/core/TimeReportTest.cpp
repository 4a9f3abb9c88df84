#include "core/TimeReport.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

TEST(TimeReportTest, HoldsAtTheTrackLengthAndAddsTheTimeBefore)
{
    struct Case {
        int32_t elapsed;
        int32_t length;
        int32_t before;
        int32_t inTrack;
        int32_t inPlaylist;
    };
    const Case cases[] = {
        {205, 200, 30, 200, 230},
        {50, 200, 30, 50, 80},
        {12, 0, 30, 12, 30}, // unknown length: only the time before the entry
        {0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const TimeReport report = MakeTimeReport(c.elapsed, c.length, c.before);
        EXPECT_EQ(report.secondsInTrack, c.inTrack);
        EXPECT_EQ(report.secondsInPlaylist, c.inPlaylist);
    }
}

} // namespace
} // namespace sonavel
