#pragma once

#include "platform/File.h"
#include "sources/MusicData.h"

#include <cstdint>

namespace sonavel {

// The source of RIFF WAVE files: streams the data chunk's sample bytes unchanged together with
// the file's own format record; title and artist come from an "id3 " chunk or the INFO list.
class CMusicDataWave : public CMusicData {
public:
    CMusicDataWave();

    const MusicFileType* GetFileType() override;
    int32_t Open(const MusicOpenParams* params) override;
    int32_t GetTrackCount(int* count) override;
    int32_t GetTrackInfo(int index, MusicTrackInfo* out) override;
    int32_t SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames) override;
    int32_t ReadNext(void** block, uint32_t* bytes) override;
    int32_t ReadAll(void** block, uint32_t* bytes) override;

private:
    int32_t OpenFile(const MusicOpenParams& params);
    void ReadTags();
    void ReadInfoList();
    int32_t ReadFormat(uint64_t& pos);
    int32_t ReadDataChunk(uint64_t pos);
    uint64_t ByteOfFrame(uint64_t frame) const;
    int32_t ReadBlock(uint64_t maxBytes, void** block, uint32_t* bytes);

    ReadOnlyFile file_;
    MusicTrackInfo info_;
    MusicFileType fileType_;
    uint64_t dataOffset_ = 0;
    // Bytes of whole sample frames in the data chunk, as far as the file holds them.
    uint64_t dataSize_ = 0;
    // About one second of whole sample frames: the largest block ReadNext delivers.
    uint64_t blockBytes_ = 0;
    uint64_t consumed_ = 0;
    uint64_t rangeEnd_ = 0;
};

} // namespace sonavel
