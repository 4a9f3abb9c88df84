#include "sources/ScsiTransport.h"

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace sonavel {

namespace {

constexpr unsigned kTimeoutMs = 10000;
constexpr uint8_t kSenseKeyNotReady = 2;

uint8_t SenseKey(const uint8_t* sense, size_t length)
{
    if (length < 3) {
        return 0;
    }
    // Descriptor format keeps the key in byte 1, fixed format in byte 2.
    const uint8_t code = sense[0] & 0x7F;
    return (code == 0x72 || code == 0x73) ? sense[1] & 0x0F : sense[2] & 0x0F;
}

} // namespace

SgIoTransport::~SgIoTransport()
{
    Close();
}

bool SgIoTransport::Open(const std::string& device)
{
    Close();
    fd_ = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd_ >= 0;
}

void SgIoTransport::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

IScsiTransport::Status SgIoTransport::Command(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred)
{
    transferred = 0;
    if (fd_ < 0) {
        return Status::Failed;
    }
    uint8_t sense[32] = {};
    sg_io_hdr_t io{};
    io.interface_id = 'S';
    io.cmdp = const_cast<uint8_t*>(cdb.data());
    io.cmd_len = static_cast<unsigned char>(cdb.size());
    io.dxfer_direction = data.empty() ? SG_DXFER_NONE : SG_DXFER_FROM_DEV;
    io.dxferp = data.data();
    io.dxfer_len = static_cast<unsigned>(data.size());
    io.sbp = sense;
    io.mx_sb_len = sizeof(sense);
    io.timeout = kTimeoutMs;
    if (ioctl(fd_, SG_IO, &io) != 0) {
        return Status::Failed;
    }
    if ((io.info & SG_INFO_OK_MASK) != SG_INFO_OK) {
        return SenseKey(sense, io.sb_len_wr) == kSenseKeyNotReady ? Status::NotReady : Status::Failed;
    }
    transferred = data.size() - static_cast<size_t>(io.resid > 0 ? io.resid : 0);
    return Status::Ok;
}

} // namespace sonavel
