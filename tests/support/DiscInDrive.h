#pragma once

#include "sources/DiscImageTransport.h"
#include "sources/SourceFactory.h"
#include "tests/support/WaveBuilder.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace sonavel::test {

// A disc in a drive, reached by the CD sources created while it exists through the transport
// factory; its sectors hold CountingBytes. Each source gets a handle of its own, as each opens the
// device node of a real drive, so one source closing its handle leaves the others' open. The disc
// can be taken out once the drive has read a number of sectors: at a point of playback that does
// not depend on timing.
class DiscInDrive {
  public:
    DiscInDrive(std::vector<DiscImageTransport::Track> tracks, uint32_t sectors)
        : drive_(std::make_shared<Drive>(std::move(tracks), sectors))
    {
        SetCdTransportFactory([drive = drive_] { return std::make_shared<Handle>(drive); });
    }
    ~DiscInDrive() { SetCdTransportFactory({}); }
    DiscInDrive(const DiscInDrive&) = delete;
    DiscInDrive& operator=(const DiscInDrive&) = delete;

    void SetMediumPresent(bool present) { drive_->disc.SetMediumPresent(present); }
    void TakeOutAfter(uint32_t sectors) { drive_->sectorsBeforeEject = sectors; }

  private:
    struct Drive {
        Drive(std::vector<DiscImageTransport::Track> tracks, uint32_t sectors)
            : disc(std::move(tracks), CountingBytes(size_t{sectors} * DiscImageTransport::kSectorBytes))
        {
            disc.Open("/dev/sr0");
        }
        DiscImageTransport disc;
        std::atomic<uint32_t> sectorsBeforeEject{UINT32_MAX};
    };

    class Handle final : public IScsiTransport {
      public:
        explicit Handle(std::shared_ptr<Drive> drive) : drive_(std::move(drive)) {}
        bool Open(const std::string&) override { return open_ = true; }
        void Close() override { open_ = false; }
        bool IsOpen() const override { return open_; }
        Status Command(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred) override
        {
            transferred = 0;
            if (!open_) {
                return Status::Failed;
            }
            const Status status = drive_->disc.Command(cdb, data, transferred);
            // Reads come one at a time: the sources hold the CD access lock.
            const auto sectors = static_cast<uint32_t>(transferred / DiscImageTransport::kSectorBytes);
            const uint32_t left = drive_->sectorsBeforeEject;
            drive_->sectorsBeforeEject = left > sectors ? left - sectors : 0;
            if (sectors != 0 && left <= sectors) {
                drive_->disc.SetMediumPresent(false);
            }
            return status;
        }

      private:
        std::shared_ptr<Drive> drive_;
        std::atomic<bool> open_{false};
    };

    std::shared_ptr<Drive> drive_;
};

} // namespace sonavel::test
