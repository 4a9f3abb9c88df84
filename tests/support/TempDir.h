#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace sonavel::test {

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::string& name, std::span<const uint8_t> bytes) const;
    std::filesystem::path WriteText(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);

} // namespace sonavel::test
