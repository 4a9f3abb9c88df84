#pragma once

#include "PcmDecoder.h"

#include <cstdint>

namespace sonavel::aiff {

// The AIFF and AIFF-C reader: walks the chunks of the FORM once for the common chunk, the sound
// data, the NAME and AUTH texts and an ID3 tag, then reads frames straight from the sound data,
// turning big-endian samples (AIFF, AIFF-C "NONE"/"twos") or little-endian ones ("sowt") into the
// delivered little-endian words.
class AiffDecoder : public pcm::PcmDecoder {
public:
    pcm::PluginTexts Texts() const override;
    int32_t Parse(plugin::PluginSource& source, pcm::PcmStream& stream) override;
    int32_t Decode(uint64_t first, uint32_t count, uint8_t* out, uint32_t* written) override;
    void Close() override;

private:
    plugin::PluginSource* source_ = nullptr;
    uint64_t dataOffset_ = 0;
    uint32_t frameBytes_ = 0;
    uint16_t sampleBytes_ = 0;
    bool littleEndian_ = false;
};

// The integer value of an 80-bit IEEE extended number (big-endian), or 0 when it is not a
// positive number below 2^32.
uint32_t ExtendedToRate(const uint8_t* p);

} // namespace sonavel::aiff
