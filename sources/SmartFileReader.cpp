#include "sources/SmartFileReader.h"

#include <algorithm>
#include <new>

namespace sonavel {

bool CSmartFileReader::Open(const std::u16string& path)
{
    bufferOffset_ = bufferFilled_ = 0;
    if (file_.Open(path) != ReadOnlyFile::OpenError::None) {
        return false;
    }
    return EnsureBuffer(kDefaultBufferBytes);
}

bool CSmartFileReader::EnsureBuffer(uint32_t bytes)
{
    if (bytes <= buffer_.size()) {
        return true;
    }
    std::vector<uint8_t> larger;
    try {
        larger.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    buffer_.swap(larger);
    bufferOffset_ = bufferFilled_ = 0;
    return true;
}

std::span<const uint8_t> CSmartFileReader::View(uint64_t offset, uint32_t bytes)
{
    if (offset >= file_.Size()) {
        return {};
    }
    const uint64_t wanted = std::min<uint64_t>({bytes, buffer_.size(), file_.Size() - offset});
    if (offset < bufferOffset_ || offset + wanted > bufferOffset_ + bufferFilled_) {
        const int64_t got = file_.ReadAt(offset, buffer_);
        if (got <= 0) {
            bufferFilled_ = 0;
            return {};
        }
        bufferOffset_ = offset;
        bufferFilled_ = static_cast<uint64_t>(got);
    }
    const uint64_t inside = offset - bufferOffset_;
    return std::span<const uint8_t>(buffer_).subspan(static_cast<size_t>(inside),
                                                       static_cast<size_t>(std::min(wanted, bufferFilled_ - inside)));
}

} // namespace sonavel
