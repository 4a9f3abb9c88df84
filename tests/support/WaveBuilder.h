#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace sonavel::test {

// Builds RIFF WAVE images chunk by chunk, so tests can make exactly the file a case needs.
class WaveBuilder {
public:
    // Plain PCM (tag 1) or float (tag 3) format chunk of 16 bytes (18 with cbSize when given).
    WaveBuilder& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool withCbSize = false);
    // An extensible format chunk (40 bytes) with the given sub-format first byte (1 PCM, 3 float)
    // and cbSize.
    WaveBuilder& ExtensibleFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint8_t subFormat, uint16_t cbSize = 22);
    WaveBuilder& Data(const std::vector<uint8_t>& samples);
    // A data chunk header that claims `size` bytes, followed by `samples`.
    WaveBuilder& DataClaiming(uint32_t size, const std::vector<uint8_t>& samples);
    WaveBuilder& Chunk(const std::string& id, const std::vector<uint8_t>& body);
    // A LIST chunk of type INFO with (id, text) sub-chunks, each text zero-terminated.
    WaveBuilder& InfoList(const std::vector<std::pair<std::string, std::string>>& texts);
    WaveBuilder& Id3Chunk(const std::vector<uint8_t>& tag);
    // The file; the RIFF size covers everything written.
    std::vector<uint8_t> Build(const std::string& riffId = "RIFF") const;

private:
    std::vector<uint8_t> body_;
};

// An ID3v2.3 tag with text frames (id, encoding byte, raw text bytes).
std::vector<uint8_t> MakeId3Tag(const std::vector<std::tuple<std::string, uint8_t, std::vector<uint8_t>>>& frames);

// Sample bytes 0, 1, 2, ... (mod 251, so blocks do not repeat at power-of-two distances).
std::vector<uint8_t> CountingBytes(size_t count);

void AppendLe16(std::vector<uint8_t>& out, uint16_t value);
void AppendLe32(std::vector<uint8_t>& out, uint32_t value);

} // namespace sonavel::test
