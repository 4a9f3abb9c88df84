#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sonavel {

// Sends SCSI multimedia commands to a CD drive. Real drives are reached through SG_IO; tests
// answer the same commands from a disc image.
class IScsiTransport {
public:
    enum class Status { Ok, NotReady, Failed };

    virtual ~IScsiTransport() = default;
    virtual bool Open(const std::string& device) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Sends a command whose data (if any) comes in from the drive; `transferred` is set to the
    // bytes received. NotReady when the drive reports that no medium is ready.
    virtual Status Command(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred) = 0;
};

// SG_IO on a CD device node such as /dev/sr0.
class SgIoTransport : public IScsiTransport {
public:
    ~SgIoTransport() override;
    bool Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }
    Status Command(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred) override;

private:
    int fd_ = -1;
};

} // namespace sonavel
