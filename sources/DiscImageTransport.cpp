#include "sources/DiscImageTransport.h"

#include <algorithm>
#include <cstring>

namespace sonavel {

namespace {

constexpr uint8_t kTestUnitReady = 0x00;
constexpr uint8_t kReadToc = 0x43;
constexpr uint8_t kReadCd = 0xBE;
constexpr uint8_t kSetCdSpeed = 0xBB;
constexpr uint8_t kLeadOut = 0xAA;

void StoreBe32(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
}

} // namespace

DiscImageTransport::DiscImageTransport(std::vector<Track> tracks, std::vector<uint8_t> sectors)
    : tracks_(std::move(tracks)), sectors_(std::move(sectors))
{
}

bool DiscImageTransport::Open(const std::string&)
{
    open_ = true;
    ++opens_;
    return true;
}

void DiscImageTransport::Close()
{
    open_ = false;
}

IScsiTransport::Status DiscImageTransport::ReadToc(std::span<uint8_t> data, size_t& transferred) const
{
    std::vector<uint8_t> toc(4 + 8 * (tracks_.size() + 1), 0);
    const size_t length = toc.size() - 2;
    toc[0] = static_cast<uint8_t>(length >> 8);
    toc[1] = static_cast<uint8_t>(length);
    toc[2] = 1;
    toc[3] = static_cast<uint8_t>(tracks_.size());
    for (size_t i = 0; i <= tracks_.size(); ++i) {
        uint8_t* descriptor = toc.data() + 4 + 8 * i;
        const bool leadOut = i == tracks_.size();
        descriptor[1] = static_cast<uint8_t>(0x10 | (!leadOut && tracks_[i].data ? 0x04 : 0x00));
        descriptor[2] = leadOut ? kLeadOut : static_cast<uint8_t>(i + 1);
        StoreBe32(descriptor + 4, leadOut ? static_cast<uint32_t>(sectors_.size() / kSectorBytes) : tracks_[i].lba);
    }
    transferred = std::min(data.size(), toc.size());
    std::memcpy(data.data(), toc.data(), transferred);
    return Status::Ok;
}

IScsiTransport::Status DiscImageTransport::ReadCd(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred)
{
    if (cdb.size() < 12) {
        return Status::Failed;
    }
    const uint32_t lba = static_cast<uint32_t>(cdb[2]) << 24 | static_cast<uint32_t>(cdb[3]) << 16 | static_cast<uint32_t>(cdb[4]) << 8 | cdb[5];
    const uint32_t count = static_cast<uint32_t>(cdb[6]) << 16 | static_cast<uint32_t>(cdb[7]) << 8 | cdb[8];
    const uint64_t begin = uint64_t{lba} * kSectorBytes;
    const uint64_t bytes = uint64_t{count} * kSectorBytes;
    if (count == 0 || begin + bytes > sectors_.size() || bytes > data.size()) {
        return Status::Failed;
    }
    uint32_t largest = largestRead_;
    while (count > largest && !largestRead_.compare_exchange_weak(largest, count)) {
    }
    std::memcpy(data.data(), sectors_.data() + begin, static_cast<size_t>(bytes));
    transferred = static_cast<size_t>(bytes);
    return Status::Ok;
}

IScsiTransport::Status DiscImageTransport::Command(std::span<const uint8_t> cdb, std::span<uint8_t> data, size_t& transferred)
{
    transferred = 0;
    if (!open_ || cdb.empty()) {
        return Status::Failed;
    }
    if (!present_) {
        return Status::NotReady;
    }
    switch (cdb[0]) {
    case kTestUnitReady:
        return Status::Ok;
    case kReadToc:
        return ReadToc(data, transferred);
    case kReadCd:
        return ReadCd(cdb, data, transferred);
    case kSetCdSpeed:
        readSpeed_ = cdb.size() >= 4 ? static_cast<uint32_t>(cdb[2] << 8 | cdb[3]) : 0;
        return Status::Ok;
    default:
        return Status::Failed;
    }
}

} // namespace sonavel
