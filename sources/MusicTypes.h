#pragma once

#include "sources/WaveFormat.h"

#include <cstdint>
#include <string>

namespace sonavel {

// Positions and lengths are counted in frame75 units: 1/75 s, one audio-CD sector.
inline constexpr uint32_t kFramesPerSecond = 75;

enum MusicSourceType : int32_t {
    kSourceNone = 0,
    kSourceCdda = 1,
    kSourceWave = 2,
    kSourceMp3 = 3,
    kSourcePlugin = 4,
};

struct MusicOpenParams {
    std::u16string path;
    bool useThreshold = false;
    double thresholdDb = -96.0;
};

// What a source reports of one track; also the playlist's entry record, whose trailing fields the
// sources leave as they are.
struct MusicTrackInfo {
    std::u16string path;
    std::u16string displayName;
    int32_t sourceType = kSourceNone;
    std::u16string formatName;
    uint64_t dataBytes = 0;
    std::u16string title;
    std::u16string artist;
    WAVEFORMATEX format{};
    uint32_t lengthFrames = 0;
    uint32_t startFrame = 0;
    uint32_t endFrame = 0;
    std::u16string album;
    int32_t trackNumber = 0;
    // Set by the playlist when the entry has been played in the current pass of the play order.
    bool played = false;
};

// A source's entry for the open-file dialog: description and extensions without dots.
struct MusicFileType {
    const char16_t* description = nullptr;
    const char16_t* extensions = nullptr;
};

// Copies what every source reports of a track (not path, display name and the tag fields that
// only some sources fill): source type, format name, data size, title, artist, format and range.
inline void CopyTrackFields(const MusicTrackInfo& from, MusicTrackInfo& to)
{
    to.sourceType = from.sourceType;
    to.formatName = from.formatName;
    to.dataBytes = from.dataBytes;
    to.title = from.title;
    to.artist = from.artist;
    to.format = from.format;
    to.lengthFrames = from.lengthFrames;
    to.startFrame = from.startFrame;
    to.endFrame = from.endFrame;
}

// Sample frame at a frame75 position, in 64-bit arithmetic.
inline uint64_t FrameToSample(uint64_t frame, uint32_t sampleRate)
{
    return frame * sampleRate / kFramesPerSecond;
}

} // namespace sonavel
