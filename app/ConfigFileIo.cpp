#include "app/ConfigFileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonavel {

namespace {

// Closes the descriptor when the scope ends.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }
    // Closes now, so that a failing close (a late write error) can be seen.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes the rename itself durable.
void SyncFolder(const std::filesystem::path& folder)
{
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        ::fsync(dir.Get());
    }
}

} // namespace

std::optional<std::string> ReadConfigText(const std::filesystem::path& path, size_t maxBytes)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) > maxBytes) {
        return std::nullopt;
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            return text;
        }
        // The file may grow while it is read.
        if (text.size() + static_cast<size_t>(got) > maxBytes) {
            return std::nullopt;
        }
        text.append(buffer, static_cast<size_t>(got));
    }
}

std::filesystem::path AtomicTempPath(const std::filesystem::path& path)
{
    std::filesystem::path temp = path;
    temp += ".tmp";
    return temp;
}

bool WriteFileAtomically(const std::filesystem::path& link, std::string_view text)
{
    // A file kept as a symbolic link (a dot-files folder) is replaced where it really lives.
    std::error_code error;
    std::filesystem::path path = std::filesystem::canonical(link, error);
    if (error) {
        path = link;
    }
    const std::filesystem::path temp = AtomicTempPath(path);
    FileDescriptor file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (file.Get() < 0) {
        return false;
    }
    const bool written = WriteAll(file.Get(), text) && ::fsync(file.Get()) == 0;
    if (!file.Close() || !written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path());
    return true;
}

} // namespace sonavel
