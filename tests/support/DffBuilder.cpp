#include "tests/support/DffBuilder.h"

namespace sonavel::test {

void AppendBe(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

std::vector<uint8_t> ChunkBytes(const std::string& id, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> chunk(id.begin(), id.begin() + 4);
    AppendBe(chunk, body.size(), 8);
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        chunk.push_back(0);
    }
    return chunk;
}

DffBuilder& DffBuilder::Chunk(const std::string& id, const std::vector<uint8_t>& body)
{
    const auto chunk = ChunkBytes(id, body);
    body_.insert(body_.end(), chunk.begin(), chunk.end());
    return *this;
}

DffBuilder& DffBuilder::Properties(uint32_t rate, uint16_t channels, const std::string& compression)
{
    std::vector<uint8_t> prop{'S', 'N', 'D', ' '};
    std::vector<uint8_t> fs;
    AppendBe(fs, rate, 4);
    std::vector<uint8_t> chnl;
    AppendBe(chnl, channels, 2);
    for (uint16_t c = 0; c < channels; ++c) {
        chnl.insert(chnl.end(), {'C', static_cast<uint8_t>('0' + c / 10), static_cast<uint8_t>('0' + c % 10), ' '});
    }
    std::vector<uint8_t> cmpr(compression.begin(), compression.end());
    cmpr.insert(cmpr.end(), {14, 'n', 'o', 't', ' ', 'c', 'o', 'm', 'p', 'r', 'e', 's', 's', 'e', 'd', 0});
    for (const auto& part : {ChunkBytes("FS  ", fs), ChunkBytes("CHNL", chnl), ChunkBytes("CMPR", cmpr)}) {
        prop.insert(prop.end(), part.begin(), part.end());
    }
    return Chunk("PROP", prop);
}

DffBuilder& DffBuilder::Sound(const std::vector<uint8_t>& bytes)
{
    return Chunk("DSD ", bytes);
}

DffBuilder& DffBuilder::SoundClaiming(uint64_t size, const std::vector<uint8_t>& bytes)
{
    body_.insert(body_.end(), {'D', 'S', 'D', ' '});
    AppendBe(body_, size, 8);
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
}

DffBuilder& DffBuilder::Info(const std::string& artist, const std::string& title)
{
    std::vector<uint8_t> diin;
    for (const auto& [id, text] : {std::pair{"DIAR", artist}, std::pair{"DITI", title}}) {
        if (text.empty()) {
            continue;
        }
        std::vector<uint8_t> body;
        AppendBe(body, text.size(), 4);
        body.insert(body.end(), text.begin(), text.end());
        const auto chunk = ChunkBytes(id, body);
        diin.insert(diin.end(), chunk.begin(), chunk.end());
    }
    return Chunk("DIIN", diin);
}

DffBuilder& DffBuilder::Comments(const std::vector<std::pair<uint16_t, std::string>>& comments)
{
    std::vector<uint8_t> body;
    AppendBe(body, comments.size(), 2);
    for (const auto& [type, text] : comments) {
        body.insert(body.end(), {0x07, 0xE9, 1, 2, 3, 4});
        AppendBe(body, type, 2);
        AppendBe(body, 0, 2);
        AppendBe(body, text.size(), 4);
        body.insert(body.end(), text.begin(), text.end());
        if (text.size() % 2 != 0) {
            body.push_back(0);
        }
    }
    return Chunk("COMT", body);
}

std::vector<uint8_t> DffBuilder::Build() const
{
    std::vector<uint8_t> file{'F', 'R', 'M', '8'};
    AppendBe(file, body_.size() + 4 + 16, 8);
    file.insert(file.end(), {'D', 'S', 'D', ' '});
    const auto version = ChunkBytes("FVER", {1, 5, 0, 0});
    file.insert(file.end(), version.begin(), version.end());
    file.insert(file.end(), body_.begin(), body_.end());
    return file;
}

} // namespace sonavel::test
