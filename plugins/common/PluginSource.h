#pragma once

#include <cstdint>
#include <string>

namespace sonavel::plugin {

// Plug-ins refuse files of this size or more.
constexpr uint64_t kMaxFileBytes = uint64_t{64} << 30;

// What a plug-in's file parser and sample reader read from: an open file or a memory image held by
// the caller. Memory reads never leave the image; file reads accept a short read at the end.
class PluginSource {
public:
    enum class Kind { None, File, Memory };

    PluginSource() = default;
    PluginSource(const PluginSource&) = delete;
    PluginSource& operator=(const PluginSource&) = delete;
    ~PluginSource() { Close(); }

    // 0, or the plug-in result code for a file that cannot be opened or is too large.
    int32_t OpenFile(const std::string& path, uint64_t maxBytes);
    void SetMemory(const void* image, uint64_t size);
    void Close();

    Kind GetKind() const { return kind_; }
    uint64_t Size() const { return size_; }
    // Reads up to n bytes at the current position; the count read, 0 on failure or at the end.
    uint64_t Read(void* target, uint64_t n);
    // Reads exactly n bytes.
    bool ReadAll(void* target, uint64_t n) { return Read(target, n) == n; }
    bool Skip(uint64_t n);
    bool GoTo(uint64_t position);
    uint64_t Position() const { return position_; }

private:
    Kind kind_ = Kind::None;
    int fd_ = -1;
    const uint8_t* memory_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

} // namespace sonavel::plugin
