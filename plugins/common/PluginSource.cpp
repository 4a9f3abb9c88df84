#include "PluginSource.h"

#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonavel::plugin {

int32_t PluginSource::OpenFile(const std::string& path, uint64_t maxBytes)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return PPI_CANNOT_OPEN;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return PPI_CANNOT_OPEN;
    }
    kind_ = Kind::File;
    fd_ = fd;
    size_ = static_cast<uint64_t>(info.st_size);
    position_ = 0;
    return size_ >= maxBytes ? PPI_TOO_LARGE : PPI_OK;
}

void PluginSource::SetMemory(const void* image, uint64_t size)
{
    Close();
    kind_ = Kind::Memory;
    memory_ = static_cast<const uint8_t*>(image);
    size_ = size;
    position_ = 0;
}

void PluginSource::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = -1;
    memory_ = nullptr;
    kind_ = Kind::None;
    size_ = position_ = 0;
}

uint64_t PluginSource::Read(void* target, uint64_t n)
{
    if (n == 0) {
        return 0;
    }
    if (kind_ == Kind::Memory) {
        if (position_ > size_ || n > size_ - position_) {
            return 0;
        }
        std::memcpy(target, memory_ + position_, static_cast<size_t>(n));
        position_ += n;
        return n;
    }
    if (kind_ != Kind::File) {
        return 0;
    }
    uint64_t done = 0;
    auto* to = static_cast<uint8_t*>(target);
    while (done < n) {
        const ssize_t got = ::pread(fd_, to + done, static_cast<size_t>(std::min<uint64_t>(n - done, 1u << 30)),
                                    static_cast<off_t>(position_ + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<uint64_t>(got);
    }
    position_ += done;
    return done;
}

bool PluginSource::Skip(uint64_t n)
{
    if (n > UINT64_MAX - position_) {
        return false;
    }
    return GoTo(position_ + n);
}

bool PluginSource::GoTo(uint64_t position)
{
    if (kind_ == Kind::None || (kind_ == Kind::Memory && position > size_) || position > static_cast<uint64_t>(INT64_MAX)) {
        return false;
    }
    position_ = position;
    return true;
}

} // namespace sonavel::plugin
