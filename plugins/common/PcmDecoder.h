#pragma once

#include "PluginSource.h"
#include "TagText.h"

#include <cstdint>

namespace sonavel::pcm {

// What a PCM format reader learns from a file.
struct PcmStream {
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    // Bytes of one sample (1 to 4); samples are left-justified in them.
    uint16_t bytesPerSample = 0;
    uint64_t totalFrames = 0;
    plugin::TagText title;
    plugin::TagText artist;
};

// The display texts of a plug-in.
struct PluginTexts {
    const char16_t* name;
    const char16_t* extension;
    const char16_t* version;
};

// A PCM format reader behind the PCM plug-in object: parses a file and decodes its frames into
// the little-endian interleaved words the player takes from a WAVE file (1-byte samples unsigned,
// wider ones signed).
class PcmDecoder {
public:
    PcmDecoder() = default;
    PcmDecoder(const PcmDecoder&) = delete;
    PcmDecoder& operator=(const PcmDecoder&) = delete;
    virtual ~PcmDecoder() = default;

    virtual PluginTexts Texts() const = 0;
    // Parses the file in `source` (which stays open and positioned by the reader until Close):
    // 0 with a playable stream described, or -1.
    virtual int32_t Parse(plugin::PluginSource& source, PcmStream& stream) = 0;
    // Decodes `count` frames from frame `first` (first < totalFrames) into `out`, which holds
    // count frames; *written = the frames delivered, fewer only when the file ends early.
    // 0, or -1 when positioning or decoding fails.
    virtual int32_t Decode(uint64_t first, uint32_t count, uint8_t* out, uint32_t* written) = 0;
    // Forgets the parsed file.
    virtual void Close() = 0;
};

} // namespace sonavel::pcm
