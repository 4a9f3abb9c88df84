#pragma once

#include "engine/DecodedData.h"

namespace sonavel {

// RAM mode's container: the whole track in one linear store, readable from any position and kept
// after playback so the track can start again without loading.
class CDecodedDataBuffer : public CDecodedData {
public:
    int InitStorage(uint32_t bytesPerFrame, uint64_t frames) override;
    int Push(const void* source, uint32_t frames) override;
    int Pop(void* target, uint32_t frames) override;
    int Seek(uint64_t frame) override;
    int HoldsWholeTrack() override { return 1; }
};

} // namespace sonavel
