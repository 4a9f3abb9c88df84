#pragma once

#include "sources/Mp3FrameHeader.h"
#include "sources/Mp3Tags.h"
#include "sources/SmartFileReader.h"

#include <cstdint>
#include <vector>

namespace sonavel {

// Where an MP3 file's audio frames lie, how many samples they hold and how many of them the
// encoder added, found by walking its tags and frame headers. The per-second seek table is filled
// lazily, as far as a walk has gone.
class Mp3Stream {
public:
    struct SeekEntry {
        uint64_t offset = 0; // from audioStart
        uint32_t frame = 0;
        uint32_t header = 0;
    };

    explicit Mp3Stream(CSmartFileReader& reader) : reader_(reader) {}

    // Finds tags, the first frame and the gapless data; a full parse also counts the frames.
    // False when the file holds no MPEG audio frames.
    bool Parse(bool full);
    // Walks to frame n; false when the stream ends before it.
    bool FindFrame(uint32_t n, SeekEntry& out);

    uint64_t audioStart = 0;
    uint64_t audioSize = 0;
    Mp3FrameHeader first;
    uint32_t totalFrames = 0;
    uint64_t totalSamples = 0;
    uint32_t encoderDelay = 0;
    uint32_t encoderPadding = 0;
    bool hasLameTag = false;
    Mp3Tags tags;

private:
    void ReadTags();
    bool FindFirstFrame();
    bool CountFrames(bool xingFrame, uint32_t xingFrames, uint32_t musicLength, bool hasVbri, uint32_t vbriFrames);
    void DropFirstFrame(uint32_t newFirstHeader);
    // Walks from the best table entry towards frame n (or to the end); returns the entry reached.
    SeekEntry Walk(uint32_t n);

    CSmartFileReader& reader_;
    std::vector<SeekEntry> table_;
};

} // namespace sonavel
