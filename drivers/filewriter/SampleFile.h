#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace sonavel {

class SampleLayout;

// What a file holds: the ASIO sample type of every channel, the channel count and the rate (the
// DSD bit rate for DSD types).
struct SampleFileFormat {
    int32_t type = 0;
    int32_t channels = 0;
    double rate = 0;

    bool operator==(const SampleFileFormat&) const = default;
};

// A file of interleaved samples that grows by half buffers. Finish() makes the header describe
// everything written so far, so the file is complete whenever the stream stops; writing may go on.
class SampleFile {
public:
    // A WAV file for little-endian integer and float types, DSDIFF for the DSD types, raw bytes
    // otherwise; null when the file cannot be created.
    static std::unique_ptr<SampleFile> Create(
        const std::filesystem::path& path, const SampleFileFormat& format);

    SampleFile(const SampleFile&) = delete;
    SampleFile& operator=(const SampleFile&) = delete;
    ~SampleFile();

    const SampleFileFormat& Format() const { return format_; }
    // One half buffer per channel, all of the same size.
    bool Append(std::span<const std::span<const uint8_t>> channels);
    bool Finish();

private:
    SampleFile(std::FILE* file, const SampleFileFormat& format, std::unique_ptr<SampleLayout> layout);
    bool WriteHeader();

    std::FILE* file_;
    // The stream's buffer (the C library would use a few kilobytes), freed after the stream is closed.
    std::unique_ptr<char[]> buffer_;
    SampleFileFormat format_;
    std::unique_ptr<SampleLayout> layout_;
    uint64_t dataBytes_ = 0;
    std::vector<uint8_t> scratch_;
};

// The n-th file of a sequence: the path itself for n = 1, then "name.2.ext", "name.3.ext" ...
std::filesystem::path NumberedPath(const std::filesystem::path& path, int n);

} // namespace sonavel
