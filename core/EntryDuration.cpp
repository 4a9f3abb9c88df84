#include "core/EntryDuration.h"

#include <cmath>
#include <limits>

namespace sonavel {

namespace {

// ceil(frames * 75 / rate) == lengthFrames, in integers: a double product can land just above a
// whole number and make an exact file look inexact.
bool FrameCountAgrees(uint64_t frames, uint32_t rate, uint32_t lengthFrames)
{
    const uint64_t wholeSeconds = frames / rate;
    const uint64_t restFrames = frames % rate;
    if (wholeSeconds > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    const uint64_t rounded =
        wholeSeconds * kFramesPerSecond + (restFrames * kFramesPerSecond + rate - 1) / rate;
    return rounded == lengthFrames;
}

} // namespace

double EntryDurationSeconds(const MusicTrackInfo& entry)
{
    const double frameLength = entry.lengthFrames / static_cast<double>(kFramesPerSecond);
    const uint32_t rate = entry.format.nSamplesPerSec;
    const uint16_t blockAlign = entry.format.nBlockAlign;
    if (entry.dataBytes == 0 || entry.startFrame != 0 || rate == 0 || blockAlign == 0) {
        return frameLength;
    }
    const uint64_t frames = entry.dataBytes / blockAlign;
    if (!FrameCountAgrees(frames, rate, entry.lengthFrames)) {
        return frameLength;
    }
    return static_cast<double>(frames) / rate;
}

int32_t RoundSeconds(double seconds)
{
    return static_cast<int32_t>(std::floor(seconds + 0.5));
}

} // namespace sonavel
