#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace sonavel::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "sonavel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::Write(const std::string& name, std::span<const uint8_t> bytes) const
{
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::filesystem::path TempDir::WriteText(const std::string& name, const std::string& text) const
{
    return Write(name, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace sonavel::test
