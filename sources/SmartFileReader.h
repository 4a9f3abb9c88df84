#pragma once

#include "platform/File.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sonavel {

// A read-only window over a file: views of it come from one buffer that is refilled with one
// large read whenever a view falls outside what it holds.
class CSmartFileReader {
public:
    static constexpr uint32_t kDefaultBufferBytes = 1u << 20;

    CSmartFileReader() = default;
    CSmartFileReader(const CSmartFileReader&) = delete;
    CSmartFileReader& operator=(const CSmartFileReader&) = delete;

    bool Open(const std::u16string& path);
    uint64_t Size() const { return file_.Size(); }
    uint32_t BufferBytes() const { return static_cast<uint32_t>(buffer_.size()); }
    // Grows the buffer so that views of `bytes` bytes fit; false when that much cannot be had.
    bool EnsureBuffer(uint32_t bytes);
    // Up to `bytes` bytes from `offset`: fewer at the end of the file or beyond the buffer size;
    // empty on a read error or past the end.
    std::span<const uint8_t> View(uint64_t offset, uint32_t bytes);

private:
    ReadOnlyFile file_;
    std::vector<uint8_t> buffer_;
    uint64_t bufferOffset_ = 0;
    uint64_t bufferFilled_ = 0;
};

} // namespace sonavel
