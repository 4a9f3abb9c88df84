#include "core/EntryDuration.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

MusicTrackInfo Entry(uint64_t dataBytes, uint32_t rate, uint16_t blockAlign, uint32_t lengthFrames,
                     uint32_t startFrame = 0)
{
    MusicTrackInfo entry;
    entry.dataBytes = dataBytes;
    entry.format.nSamplesPerSec = rate;
    entry.format.nBlockAlign = blockAlign;
    entry.lengthFrames = lengthFrames;
    entry.startFrame = startFrame;
    return entry;
}

TEST(EntryDurationTest, ExactLengthForWholeFilesFrameLengthOtherwise)
{
    struct Case {
        const char* name;
        MusicTrackInfo entry;
        double seconds;
    };
    const Case cases[] = {
        {"whole file", Entry(4 * 44100 * 10 + 4 * 100, 44100, 4, 751), 10.0 + 100.0 / 44100},
        // 588 frames are exactly one frame75 at 44.1 kHz
        {"exact frame75 boundary", Entry(4 * 588, 44100, 4, 1), 588.0 / 44100},
        {"partial block ignored", Entry(4 * 441 + 3, 44100, 4, 1), 0.01},
        {"frame count disagrees", Entry(4 * 44100, 44100, 4, 80), 80.0 / 75},
        {"cue track", Entry(4 * 44100, 44100, 4, 75, 150), 1.0},
        {"no data size", Entry(0, 44100, 4, 150), 2.0},
        {"no block align", Entry(4 * 44100, 44100, 0, 75), 1.0},
        {"no rate", Entry(4 * 44100, 0, 4, 30), 0.4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(EntryDurationSeconds(c.entry), c.seconds);
    }
}

TEST(EntryDurationTest, RoundsHalvesUp)
{
    EXPECT_EQ(RoundSeconds(2.5), 3);
    EXPECT_EQ(RoundSeconds(2.4999), 2);
    EXPECT_EQ(RoundSeconds(0.0), 0);
    EXPECT_EQ(RoundSeconds(199.5), 200);
}

} // namespace
} // namespace sonavel
