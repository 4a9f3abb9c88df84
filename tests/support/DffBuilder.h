#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonavel::test {

// Builds DSDIFF images chunk by chunk (big-endian sizes), so tests make exactly the file a case
// needs.
class DffBuilder {
public:
    // The property chunk: sample rate, channels, compression type.
    DffBuilder& Properties(uint32_t rate, uint16_t channels, const std::string& compression = "DSD ");
    DffBuilder& Sound(const std::vector<uint8_t>& bytes);
    // A sound chunk header that claims `size` bytes, followed by `bytes`.
    DffBuilder& SoundClaiming(uint64_t size, const std::vector<uint8_t>& bytes);
    DffBuilder& Chunk(const std::string& id, const std::vector<uint8_t>& body);
    // DIIN with DIAR (artist) and DITI (title) texts; an empty text leaves its chunk out.
    DffBuilder& Info(const std::string& artist, const std::string& title);
    // COMT with (type, text) comments.
    DffBuilder& Comments(const std::vector<std::pair<uint16_t, std::string>>& comments);
    std::vector<uint8_t> Build() const;

private:
    std::vector<uint8_t> body_;
};

void AppendBe(std::vector<uint8_t>& out, uint64_t value, int bytes);
std::vector<uint8_t> ChunkBytes(const std::string& id, const std::vector<uint8_t>& body);

} // namespace sonavel::test
