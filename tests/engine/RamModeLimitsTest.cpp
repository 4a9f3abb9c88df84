#include "engine/MusicDataAnalyze.h"
#include "engine/RamModeLimits.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint64_t kGiB = 1024 * kMiB;

TEST(RamModeLimitsTest, RefusesTracksBeyondAnyLimit)
{
    const MemoryStatus big{16 * kGiB, 8 * kGiB, 128 * kGiB, 100 * kGiB};
    EXPECT_TRUE(RamModeTrackFits(3 * kGiB, big));
    EXPECT_FALSE(RamModeTrackFits(3584 * kMiB + 1, big)) << "3.5 GiB at most";
    const MemoryStatus small{2 * kGiB, 1 * kGiB, 128 * kGiB, 100 * kGiB};
    EXPECT_TRUE(RamModeTrackFits(1200 * kMiB, small));
    EXPECT_FALSE(RamModeTrackFits(1300 * kMiB, small)) << "1.2 times the available memory";
    const MemoryStatus tight{1 * kGiB, 1 * kGiB, 128 * kGiB, 100 * kGiB};
    EXPECT_FALSE(RamModeTrackFits(700 * kMiB, tight)) << "installed memory less 350 MiB";
    const MemoryStatus tiny{300 * kMiB, 300 * kMiB, 128 * kGiB, 100 * kGiB};
    EXPECT_FALSE(RamModeTrackFits(1, tiny));
}

TEST(RamModeLimitsTest, LoadingNeedsHeadroom)
{
    EXPECT_TRUE(RamModeHeadroomLeft({4 * kGiB, 200 * kMiB, 1 * kGiB, 100 * kMiB}));
    EXPECT_FALSE(RamModeHeadroomLeft({4 * kGiB, 200 * kMiB - 1, 1 * kGiB, 1 * kGiB}));
    EXPECT_FALSE(RamModeHeadroomLeft({4 * kGiB, 1 * kGiB, 1 * kGiB, 100 * kMiB - 1}));
}

TEST(RamModeLimitsTest, SlotBytesCoverTheRangeInWholeFrames)
{
    // 75 frame75 units of 44100 × 4 bytes; the last 30 of them from cursor 15.
    EXPECT_EQ(SlotBytesForRange(176400, 75, 30, 74, 15, 4), 70560u);
    EXPECT_EQ(SlotBytesForRange(1000, 3, 0, 0, 0, 6), 330u);
    EXPECT_EQ(SlotBytesForRange(1000, 3, 5, 4, 0, 4), 0u);
}

} // namespace
} // namespace sonavel
