#pragma once

#include "sources/MusicData.h"

#include <memory>

namespace sonavel {

class Mp3Decoder;
class Mp3Stream;
class CSmartFileReader;

// The source of MP3 files: decoded to 16-bit PCM with the encoder's delay and padding removed,
// so that consecutive tracks join without gaps. In quick mode (playlist files that already hold
// length and tags) Open only learns the PCM format.
class CMusicDataMP3 : public CMusicData {
public:
    explicit CMusicDataMP3(bool quickMode = false);
    ~CMusicDataMP3() override;

    const MusicFileType* GetFileType() override;
    int32_t Open(const MusicOpenParams* params) override;
    int32_t GetTrackCount(int* count) override;
    int32_t GetTrackInfo(int index, MusicTrackInfo* out) override;
    int32_t SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames) override;
    int32_t ReadNext(void** block, uint32_t* bytes) override;
    int32_t ReadAll(void** block, uint32_t* bytes) override;

private:
    void Close();

    const bool quickMode_;
    MusicTrackInfo info_;
    MusicFileType fileType_;
    std::unique_ptr<CSmartFileReader> reader_;
    std::unique_ptr<Mp3Stream> stream_;
    std::unique_ptr<Mp3Decoder> decoder_;
    uint64_t usable_ = 0;
    uint32_t rangeFirst_ = 0;
    uint32_t rangeLast_ = 0;
    uint32_t cursorOffset_ = 0;
    bool repositionPending_ = false;
};

} // namespace sonavel
