#pragma once

#include "sources/ScsiTransport.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sonavel {

// A CD drive made of a disc image in memory: answers READ TOC, READ CD, SET CD SPEED and TEST
// UNIT READY as a drive would, so the CD source runs without hardware. The medium can be taken
// out at any time.
class DiscImageTransport : public IScsiTransport {
public:
    static constexpr uint32_t kSectorBytes = 2352;

    struct Track {
        uint32_t lba = 0;
        bool data = false;
    };

    // Tracks in order; the lead-out follows the last sector of the image.
    DiscImageTransport(std::vector<Track> tracks, std::vector<uint8_t> sectors);

    bool Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    Status Command(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred) override;

    void SetMediumPresent(bool present) { present_ = present; }
    uint32_t LargestRead() const { return largestRead_; }
    uint32_t ReadSpeed() const { return readSpeed_; }
    uint32_t OpenCount() const { return opens_; }

private:
    Status ReadToc(std::span<uint8_t> data, size_t& transferred) const;
    Status ReadCd(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred);

    std::vector<Track> tracks_;
    std::vector<uint8_t> sectors_;
    std::atomic<bool> present_{true};
    std::atomic<bool> open_{false};
    std::atomic<uint32_t> largestRead_{0};
    std::atomic<uint32_t> readSpeed_{0};
    std::atomic<uint32_t> opens_{0};
};

} // namespace sonavel
