#pragma once

#include "FileInfoDsd.h"

#include <cstdint>

namespace sonavel::dsd {

// The DSF (.dsf) reader: the DSD, fmt and data chunks give the layout and the sound data, the
// metadata pointer an ID3v2 tag at the end of the file. The file keeps each channel's samples in
// blocks of its own (4096 bytes per channel in turn), and in 1-bit files the earliest sample is
// each byte's least significant bit; reads regroup them into the byte-interleaved, earliest-bit-
// first order both word layouts are made from.
class CFileInfo_DSF : public CFileInfo_DSD {
public:
    CFileInfo_DSF() : CFileInfo_DSD({"DSF Plugin", "DSF", "1.0.0"}) {}

    int32_t FrameGranularity(int32_t* out) override;
    int32_t Parse() override;
    int32_t ReadDopWords(void** data, uint32_t* bytes) override;
    int32_t ReadNativeWords(void** data, uint32_t* bytes) override;

protected:
    bool FetchInterleaved(uint64_t start, uint64_t n, uint8_t* target, uint64_t* got) override;

private:
    void ReadId3(uint64_t position);

    // Bytes of one channel's block, and whether bytes hold their earliest sample in bit 0.
    uint32_t blockBytes_ = 0;
    bool lsbFirst_ = false;
};

} // namespace sonavel::dsd
