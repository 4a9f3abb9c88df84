#include "tests/support/WrittenStream.h"

#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace sonavel::test {

namespace {

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

} // namespace

WrittenStream ReadWrittenStream(const std::filesystem::path& path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    WrittenStream stream;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) {
        return stream;
    }
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        const uint32_t size = Le32(bytes, at + 4);
        const size_t body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            std::memcpy(&stream.channels, bytes.data() + body + 2, 2);
            stream.rate = Le32(bytes, body + 4);
        } else if (id == "data") {
            const size_t end = std::min(bytes.size(), body + size);
            stream.words.resize((end - body) / 4);
            if (!stream.words.empty()) {
                std::memcpy(stream.words.data(), bytes.data() + body, stream.words.size() * 4);
            }
        }
        at = body + size + (size & 1);
    }
    return stream;
}

std::vector<int32_t> ExpectedWords(const std::vector<uint8_t>& samples, uint16_t bits)
{
    const size_t bytesPerSample = bits / 8;
    std::vector<int32_t> words;
    for (size_t at = 0; at + bytesPerSample <= samples.size(); at += bytesPerSample) {
        uint32_t value = 0;
        for (size_t b = 0; b < bytesPerSample; ++b) {
            value |= uint32_t{samples[at + b]} << (8 * b);
        }
        words.push_back(static_cast<int32_t>(value << (32 - bits)));
    }
    return words;
}

} // namespace sonavel::test
