#include "platform/MemoryStatus.h"

#include "platform/VirtualMemory.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace sonavel {

namespace {

// The user half of the x86_64 address space.
constexpr uint64_t kUserAddressSpace = uint64_t{1} << 47;
constexpr uint64_t kMaxKiloBytes = UINT64_MAX / 1024;

std::optional<uint64_t> FieldKiloBytes(std::string_view text, std::string_view key)
{
    size_t at = 0;
    while ((at = text.find(key, at)) != std::string_view::npos) {
        if (at == 0 || text[at - 1] == '\n') {
            break;
        }
        at += key.size();
    }
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    size_t pos = at + key.size();
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data() + pos || value > kMaxKiloBytes) {
        return std::nullopt;
    }
    return value * 1024;
}

std::string ReadWholeFile(const char* path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::optional<MemoryStatus> ParseMemInfo(std::string_view text)
{
    const auto total = FieldKiloBytes(text, "MemTotal:");
    const auto available = FieldKiloBytes(text, "MemAvailable:");
    if (!total || !available) {
        return std::nullopt;
    }
    MemoryStatus status;
    status.totalPhys = *total;
    status.availPhys = *available;
    return status;
}

std::optional<MemoryStatus> QueryMemoryStatus()
{
    auto status = ParseMemInfo(ReadWholeFile("/proc/meminfo"));
    if (!status) {
        return std::nullopt;
    }
    uint64_t pages = 0;
    std::istringstream(ReadWholeFile("/proc/self/statm")) >> pages;
    const uint64_t used = pages * PageSize();
    status->totalVirtual = kUserAddressSpace;
    status->availVirtual = used < kUserAddressSpace ? kUserAddressSpace - used : 0;
    return status;
}

} // namespace sonavel
