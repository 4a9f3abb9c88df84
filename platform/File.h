#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sonavel {

// A regular file opened for reading; reads are positioned, so the object keeps no file offset.
class ReadOnlyFile {
public:
    enum class OpenError { None, CannotOpen, NotRegular };

    ReadOnlyFile() = default;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    OpenError Open(const std::u16string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    uint64_t Size() const { return size_; }
    // Reads up to target.size() bytes at offset; returns the count read (short at the end of the
    // file), or -1 on a read error.
    int64_t ReadAt(uint64_t offset, std::span<uint8_t> target) const;

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

} // namespace sonavel
