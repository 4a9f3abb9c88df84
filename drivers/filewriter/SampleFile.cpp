#include "drivers/filewriter/SampleFile.h"

#include "drivers/filewriter/SampleFileFormats.h"

namespace sonavel {

namespace {

constexpr size_t kStreamBufferBytes = 1u << 20;

} // namespace

std::unique_ptr<SampleFile> SampleFile::Create(
    const std::filesystem::path& path, const SampleFileFormat& format)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return nullptr;
    }
    std::unique_ptr<SampleFile> sampleFile(new SampleFile(file, format, CreateSampleLayout(format)));
    if (!sampleFile->WriteHeader()) {
        return nullptr;
    }
    return sampleFile;
}

SampleFile::SampleFile(std::FILE* file, const SampleFileFormat& format, std::unique_ptr<SampleLayout> layout)
    : file_(file), buffer_(std::make_unique_for_overwrite<char[]>(kStreamBufferBytes)), format_(format),
      layout_(std::move(layout))
{
    // Half buffers are small: one write to the file per megabyte, not one per buffer switch.
    std::setvbuf(file_, buffer_.get(), _IOFBF, kStreamBufferBytes);
}

SampleFile::~SampleFile()
{
    const auto trailer = layout_->Trailer(dataBytes_);
    if (!trailer.empty()) {
        std::fseek(file_, 0, SEEK_END);
        std::fwrite(trailer.data(), 1, trailer.size(), file_);
    }
    WriteHeader();
    std::fclose(file_);
}

bool SampleFile::Append(std::span<const std::span<const uint8_t>> channels)
{
    scratch_.clear();
    layout_->Encode(channels, scratch_);
    if (std::fwrite(scratch_.data(), 1, scratch_.size(), file_) != scratch_.size()) {
        return false;
    }
    dataBytes_ += scratch_.size();
    return true;
}

bool SampleFile::Finish()
{
    return WriteHeader();
}

bool SampleFile::WriteHeader()
{
    const auto header = layout_->Header(dataBytes_);
    const bool written = std::fseek(file_, 0, SEEK_SET) == 0 &&
        std::fwrite(header.data(), 1, header.size(), file_) == header.size() &&
        std::fseek(file_, 0, SEEK_END) == 0;
    return std::fflush(file_) == 0 && written;
}

std::filesystem::path NumberedPath(const std::filesystem::path& path, int n)
{
    if (n <= 1) {
        return path;
    }
    std::filesystem::path numbered = path.parent_path() / path.stem();
    numbered += ".";
    numbered += std::to_string(n);
    numbered += path.extension();
    return numbered;
}

} // namespace sonavel
