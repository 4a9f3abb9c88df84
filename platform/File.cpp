#include "platform/File.h"

#include "platform/Utf.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonavel {

ReadOnlyFile::~ReadOnlyFile()
{
    Close();
}

ReadOnlyFile::OpenError ReadOnlyFile::Open(const std::u16string& path)
{
    Close();
    const std::string native = Utf16ToUtf8(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return OpenError::CannotOpen;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        ::close(fd);
        return OpenError::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return OpenError::NotRegular;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(info.st_size);
    return OpenError::None;
}

void ReadOnlyFile::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        size_ = 0;
    }
}

int64_t ReadOnlyFile::ReadAt(uint64_t offset, std::span<uint8_t> target) const
{
    if (fd_ < 0 || offset > static_cast<uint64_t>(INT64_MAX)) {
        return -1;
    }
    size_t done = 0;
    while (done < target.size()) {
        const ssize_t got = ::pread(fd_, target.data() + done, target.size() - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

} // namespace sonavel
