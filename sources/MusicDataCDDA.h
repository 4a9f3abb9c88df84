#pragma once

#include "sources/MusicData.h"
#include "sources/ScsiTransport.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>

namespace sonavel {

// The process-wide lock that every CD operation holds while it talks to a drive.
std::mutex& CdAccessLock();

// The audio tracks of a CD, read as raw 2352-byte sectors: one sector is 1/75 s of 44.1 kHz
// 16-bit stereo, so positions are the disc's own block addresses.
class CMusicDataCDDA : public CMusicData {
public:
    static constexpr uint32_t kSectorBytes = 2352;
    static constexpr int kMaxTracks = 100;

    explicit CMusicDataCDDA(std::shared_ptr<IScsiTransport> transport = std::make_shared<SgIoTransport>());
    ~CMusicDataCDDA() override;

    int32_t Open(const MusicOpenParams* params) override;
    int32_t GetTrackCount(int* count) override;
    int32_t GetTrackInfo(int index, MusicTrackInfo* out) override;
    int32_t SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames) override;
    int32_t ReadNext(void** block, uint32_t* bytes) override;
    int32_t ReadAll(void** block, uint32_t* bytes) override;

private:
    struct Track {
        uint32_t bytes = 0;
        std::u16string name;
        uint32_t sectors = 0;
        uint32_t firstLba = 0;
        uint32_t lastLba = 0;
    };

    bool OpenDevice();
    int32_t ReadToc();
    void SetSpeed();
    int32_t ReadSectors(uint8_t* target, uint32_t count);
    int32_t ReadBlock(uint32_t maxSectors, void** block, uint32_t* bytes);

    std::shared_ptr<IScsiTransport> transport_;
    std::u16string devicePath_;
    WAVEFORMATEX format_;
    int trackCount_ = 0;
    int tocTracks_ = 0;
    std::array<Track, kMaxTracks> tracks_;
    uint32_t rangeStart_ = 0;
    uint32_t rangeLast_ = 0;
    uint32_t cursor_ = 0;
};

} // namespace sonavel
