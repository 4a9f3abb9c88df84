#include "tests/support/WaveBuilder.h"

#include <tuple>

namespace sonavel::test {

void AppendLe16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendLe32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

WaveBuilder& WaveBuilder::Chunk(const std::string& id, const std::vector<uint8_t>& body)
{
    body_.insert(body_.end(), id.begin(), id.begin() + 4);
    AppendLe32(body_, static_cast<uint32_t>(body.size()));
    body_.insert(body_.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        body_.push_back(0);
    }
    return *this;
}

WaveBuilder& WaveBuilder::Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool withCbSize)
{
    const uint16_t align = static_cast<uint16_t>(channels * ((bits + 7) / 8));
    std::vector<uint8_t> fmt;
    AppendLe16(fmt, tag);
    AppendLe16(fmt, channels);
    AppendLe32(fmt, rate);
    AppendLe32(fmt, rate * align);
    AppendLe16(fmt, align);
    AppendLe16(fmt, bits);
    if (withCbSize) {
        AppendLe16(fmt, 0);
    }
    return Chunk("fmt ", fmt);
}

WaveBuilder& WaveBuilder::ExtensibleFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint8_t subFormat, uint16_t cbSize)
{
    const uint16_t align = static_cast<uint16_t>(channels * ((bits + 7) / 8));
    std::vector<uint8_t> fmt;
    AppendLe16(fmt, 0xFFFE);
    AppendLe16(fmt, channels);
    AppendLe32(fmt, rate);
    AppendLe32(fmt, rate * align);
    AppendLe16(fmt, align);
    AppendLe16(fmt, bits);
    AppendLe16(fmt, cbSize);
    AppendLe16(fmt, bits);
    AppendLe32(fmt, 3);
    const uint8_t guid[16] = {subFormat, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    fmt.insert(fmt.end(), guid, guid + 16);
    return Chunk("fmt ", fmt);
}

WaveBuilder& WaveBuilder::Data(const std::vector<uint8_t>& samples)
{
    return Chunk("data", samples);
}

WaveBuilder& WaveBuilder::DataClaiming(uint32_t size, const std::vector<uint8_t>& samples)
{
    body_.insert(body_.end(), {'d', 'a', 't', 'a'});
    AppendLe32(body_, size);
    body_.insert(body_.end(), samples.begin(), samples.end());
    return *this;
}

WaveBuilder& WaveBuilder::InfoList(const std::vector<std::pair<std::string, std::string>>& texts)
{
    std::vector<uint8_t> list{'I', 'N', 'F', 'O'};
    for (const auto& [id, text] : texts) {
        list.insert(list.end(), id.begin(), id.begin() + 4);
        AppendLe32(list, static_cast<uint32_t>(text.size() + 1));
        list.insert(list.end(), text.begin(), text.end());
        list.push_back(0);
        if ((text.size() + 1) % 2 != 0) {
            list.push_back(0);
        }
    }
    return Chunk("LIST", list);
}

WaveBuilder& WaveBuilder::Id3Chunk(const std::vector<uint8_t>& tag)
{
    return Chunk("id3 ", tag);
}

std::vector<uint8_t> WaveBuilder::Build(const std::string& riffId) const
{
    std::vector<uint8_t> file(riffId.begin(), riffId.begin() + 4);
    AppendLe32(file, static_cast<uint32_t>(body_.size() + 4));
    file.insert(file.end(), {'W', 'A', 'V', 'E'});
    file.insert(file.end(), body_.begin(), body_.end());
    return file;
}

std::vector<uint8_t> MakeId3Tag(const std::vector<std::tuple<std::string, uint8_t, std::vector<uint8_t>>>& frames)
{
    std::vector<uint8_t> body;
    for (const auto& [id, encoding, text] : frames) {
        body.insert(body.end(), id.begin(), id.begin() + 4);
        const uint32_t size = static_cast<uint32_t>(text.size() + 1);
        for (int shift = 24; shift >= 0; shift -= 8) {
            body.push_back(static_cast<uint8_t>(size >> shift));
        }
        body.push_back(0);
        body.push_back(0);
        body.push_back(encoding);
        body.insert(body.end(), text.begin(), text.end());
    }
    const uint32_t size = static_cast<uint32_t>(body.size());
    std::vector<uint8_t> tag{'I', 'D', '3', 3, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag.push_back(static_cast<uint8_t>((size >> shift) & 0x7F));
    }
    tag.insert(tag.end(), body.begin(), body.end());
    return tag;
}

std::vector<uint8_t> CountingBytes(size_t count)
{
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(i % 251);
    }
    return bytes;
}

} // namespace sonavel::test
