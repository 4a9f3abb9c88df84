#pragma once

#include "engine/DecodedData.h"

namespace sonavel {

// The streaming container: a ring over one fixed block. Push refuses when the ring is full (the
// loader retries); nothing is allocated after InitStorage.
class CDecodedDataQueue : public CDecodedData {
public:
    int InitStorage(uint32_t bytesPerFrame, uint64_t frames) override;
    int Push(const void* source, uint32_t frames) override;
    int Pop(void* target, uint32_t frames) override;
    int Seek(uint64_t frame) override;
    int HoldsWholeTrack() override { return 0; }
};

} // namespace sonavel
