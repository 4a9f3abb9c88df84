#include "sources/Mp3VbrHeaders.h"

#include <cstring>

namespace sonavel {

namespace {

constexpr uint32_t kXingFrames = 1;
constexpr uint32_t kXingBytes = 2;
constexpr uint32_t kXingToc = 4;
constexpr uint32_t kXingQuality = 8;
constexpr size_t kLameExtensionBytes = 36;
constexpr size_t kLameCrcCoverage = 158;
constexpr size_t kVbriOffset = 36;
constexpr size_t kVbriMinFrameBytes = 58;
constexpr size_t kVbriHeaderBytes = 26;

// Reads big-endian fields in order; a read past the end fails and stays failed.
class FieldReader {
public:
    FieldReader(std::span<const uint8_t> bytes, size_t pos) : bytes_(bytes), pos_(pos) {}

    bool Skip(size_t count)
    {
        if (count > Remaining()) {
            pos_ = bytes_.size() + 1;
            return false;
        }
        pos_ += count;
        return true;
    }
    bool Be32(uint32_t& value)
    {
        if (Remaining() < 4) {
            return Skip(5);
        }
        value = LoadBe32(bytes_.data() + pos_);
        pos_ += 4;
        return true;
    }
    size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }
    size_t Pos() const { return pos_; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_;
};

} // namespace

uint16_t Crc16Arc(std::span<const uint8_t> bytes)
{
    uint16_t crc = 0;
    for (const uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<uint16_t>(crc >> 1 ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
        }
    }
    return crc;
}

XingInfo ParseXingHeader(std::span<const uint8_t> frame, const Mp3FrameHeader& header)
{
    XingInfo info;
    const size_t sideInfo = header.SideInfoBytes();
    const size_t idAt = 4 + sideInfo;
    if (frame.size() > header.frameBytes) {
        frame = frame.first(header.frameBytes);
    }
    if (frame.size() < idAt + 4 || (std::memcmp(frame.data() + idAt, "Xing", 4) != 0 && std::memcmp(frame.data() + idAt, "Info", 4) != 0)) {
        return info;
    }
    info.found = true;
    if (header.frameBytes < sideInfo + 160) {
        return info;
    }
    FieldReader fields(frame, idAt + 4);
    uint32_t flags = 0;
    uint32_t ignored = 0;
    if (!fields.Be32(flags) || ((flags & kXingFrames) != 0 && !fields.Be32(info.frames)) ||
        ((flags & kXingBytes) != 0 && !fields.Be32(ignored)) || ((flags & kXingToc) != 0 && !fields.Skip(100)) ||
        ((flags & kXingQuality) != 0 && !fields.Be32(ignored))) {
        return info;
    }
    if (fields.Remaining() < kLameExtensionBytes || sideInfo + kLameCrcCoverage > frame.size()) {
        return info;
    }
    const uint8_t* lame = frame.data() + fields.Pos();
    const uint16_t tagCrc = static_cast<uint16_t>(lame[34] << 8 | lame[35]);
    if (Crc16Arc(frame.first(sideInfo + kLameCrcCoverage)) != tagCrc) {
        return info;
    }
    const uint32_t delayPadding = static_cast<uint32_t>(lame[21]) << 16 | static_cast<uint32_t>(lame[22]) << 8 | lame[23];
    info.hasLame = true;
    info.delay = delayPadding >> 12;
    info.padding = delayPadding & 0xFFF;
    info.musicLength = LoadBe32(lame + 28);
    return info;
}

std::optional<uint32_t> ParseVbriFrameCount(std::span<const uint8_t> frame, const Mp3FrameHeader& header)
{
    if (header.frameBytes < kVbriMinFrameBytes || frame.size() < kVbriOffset + kVbriHeaderBytes ||
        std::memcmp(frame.data() + kVbriOffset, "VBRI", 4) != 0) {
        return std::nullopt;
    }
    const uint8_t* vbri = frame.data() + kVbriOffset;
    const uint16_t entryBytes = static_cast<uint16_t>(vbri[22] << 8 | vbri[23]);
    if (entryBytes < 1 || entryBytes > 4) {
        return std::nullopt;
    }
    return LoadBe32(vbri + 14);
}

} // namespace sonavel
