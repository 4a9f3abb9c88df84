#include "AiffDecoder.h"

#include "ByteOrder.h"
#include "Id3Tag.h"
#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace sonavel::aiff {

using plugin::LoadBe;

namespace {

constexpr uint16_t kMaxChannels = 32;
// A larger ID3 chunk is passed over.
constexpr uint64_t kMaxId3Bytes = 16u << 20;

bool IsId(const uint8_t* id, const char* wanted)
{
    return std::memcmp(id, wanted, 4) == 0;
}

// What the chunk walk collects.
struct Chunks {
    bool common = false;
    bool sound = false;
    bool aifc = false;
    uint16_t channels = 0;
    uint64_t frames = 0;
    uint16_t sampleBits = 0;
    uint32_t rate = 0;
    bool littleEndian = false;
    bool supported = true;
    uint64_t dataOffset = 0;
    uint64_t dataBytes = 0;
    plugin::TagText name;
    plugin::TagText author;
    plugin::Id3Texts id3;
};

bool ReadCommon(plugin::PluginSource& source, uint64_t size, Chunks& chunks)
{
    uint8_t body[22];
    const uint64_t wanted = chunks.aifc ? 22 : 18;
    if (size < wanted || !source.ReadAll(body, wanted)) {
        return false;
    }
    chunks.common = true;
    chunks.channels = static_cast<uint16_t>(LoadBe(body, 2));
    chunks.frames = LoadBe(body + 2, 4);
    chunks.sampleBits = static_cast<uint16_t>(LoadBe(body + 6, 2));
    chunks.rate = ExtendedToRate(body + 8);
    if (chunks.aifc) {
        chunks.littleEndian = IsId(body + 18, "sowt");
        chunks.supported = chunks.littleEndian || IsId(body + 18, "NONE") || IsId(body + 18, "twos");
    }
    return true;
}

bool ReadText(plugin::PluginSource& source, uint64_t size, plugin::TagText& text)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(size, plugin::kMaxHostTextBytes)));
    if (!source.ReadAll(bytes.data(), bytes.size())) {
        return false;
    }
    // Texts may end in zero bytes of padding.
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    if (text.Empty() && end != bytes.begin()) {
        plugin::SetTextForHost(text, bytes.data(), static_cast<size_t>(end - bytes.begin()), 0);
    }
    return true;
}

void ReadId3(plugin::PluginSource& source, uint64_t size, plugin::Id3Texts& id3)
{
    if (size < 10 || size > kMaxId3Bytes) {
        return;
    }
    std::vector<uint8_t> tag(static_cast<size_t>(size));
    tag.resize(static_cast<size_t>(source.Read(tag.data(), size)));
    plugin::ParseId3v2(tag, id3);
}

// Walks the chunks of the form; false when the file is not an AIFF or AIFF-C form.
bool WalkChunks(plugin::PluginSource& source, Chunks& chunks)
{
    uint8_t header[12];
    if (!source.ReadAll(header, sizeof header) || !IsId(header, "FORM") || !(IsId(header + 8, "AIFF") || IsId(header + 8, "AIFC"))) {
        return false;
    }
    chunks.aifc = IsId(header + 8, "AIFC");
    const uint64_t formEnd = std::min<uint64_t>(8 + LoadBe(header + 4, 4), source.Size());
    while (source.Position() + 8 <= formEnd) {
        uint8_t chunk[8];
        if (!source.ReadAll(chunk, sizeof chunk)) {
            break;
        }
        const uint64_t size = LoadBe(chunk + 4, 4);
        const uint64_t start = source.Position();
        bool ok = true;
        if (IsId(chunk, "COMM") && !chunks.common) {
            ok = ReadCommon(source, size, chunks);
        } else if (IsId(chunk, "SSND") && !chunks.sound) {
            uint8_t offsets[8];
            ok = size >= 8 && source.ReadAll(offsets, sizeof offsets);
            const uint64_t skip = LoadBe(offsets, 4);
            if (ok && skip <= size - 8) {
                chunks.sound = true;
                chunks.dataOffset = start + 8 + skip;
                // A file cut short holds only the bytes that are there.
                const uint64_t inFile = source.Size() > chunks.dataOffset ? source.Size() - chunks.dataOffset : 0;
                chunks.dataBytes = std::min(size - 8 - skip, inFile);
            }
        } else if (IsId(chunk, "NAME")) {
            ok = ReadText(source, size, chunks.name);
        } else if (IsId(chunk, "AUTH")) {
            ok = ReadText(source, size, chunks.author);
        } else if (IsId(chunk, "ID3 ") || IsId(chunk, "id3 ")) {
            ReadId3(source, size, chunks.id3);
        }
        if (!ok || !source.GoTo(start + size + (size & 1))) {
            break;
        }
    }
    return true;
}

} // namespace

uint32_t ExtendedToRate(const uint8_t* p)
{
    const uint32_t exponent = static_cast<uint32_t>(LoadBe(p, 2));
    const uint64_t mantissa = LoadBe(p + 2, 8);
    // Sign set, zero, or a value of 2^32 or more; values below 1 round to 0.
    if ((exponent & 0x8000) != 0 || mantissa == 0 || exponent < 16383 || exponent > 16383 + 31) {
        return 0;
    }
    return static_cast<uint32_t>(mantissa >> (63 - (exponent - 16383)));
}

pcm::PluginTexts AiffDecoder::Texts() const
{
    return {u"AIFF Plugin", u"AIFF, AIF", u"1.0.0"};
}

void AiffDecoder::Close()
{
    source_ = nullptr;
    dataOffset_ = 0;
    frameBytes_ = 0;
    sampleBytes_ = 0;
    littleEndian_ = false;
}

int32_t AiffDecoder::Parse(plugin::PluginSource& source, pcm::PcmStream& stream)
{
    Close();
    Chunks chunks;
    if (!WalkChunks(source, chunks) || !chunks.common || !chunks.sound || !chunks.supported || chunks.channels == 0 ||
        chunks.channels > kMaxChannels || chunks.sampleBits == 0 || chunks.sampleBits > 32 || chunks.rate == 0) {
        return PPI_FAIL;
    }
    const uint16_t sampleBytes = static_cast<uint16_t>((chunks.sampleBits + 7) / 8);
    const uint32_t frameBytes = uint32_t{chunks.channels} * sampleBytes;
    const uint64_t frames = std::min(chunks.frames, chunks.dataBytes / frameBytes);
    if (frames == 0) {
        return PPI_FAIL;
    }
    source_ = &source;
    dataOffset_ = chunks.dataOffset;
    frameBytes_ = frameBytes;
    sampleBytes_ = sampleBytes;
    littleEndian_ = chunks.littleEndian;
    stream.sampleRate = chunks.rate;
    stream.channels = chunks.channels;
    stream.bytesPerSample = sampleBytes;
    stream.totalFrames = frames;
    // An ID3 tag's texts win over the AIFF text chunks.
    stream.title = chunks.id3.title.Empty() ? chunks.name : chunks.id3.title;
    stream.artist = chunks.id3.artist.Empty() ? chunks.author : chunks.id3.artist;
    return PPI_OK;
}

int32_t AiffDecoder::Decode(uint64_t first, uint32_t count, uint8_t* out, uint32_t* written)
{
    *written = 0;
    if (source_ == nullptr || frameBytes_ == 0) {
        return PPI_FAIL;
    }
    const uint64_t bytes = uint64_t{count} * frameBytes_;
    if (!source_->GoTo(dataOffset_ + first * frameBytes_)) {
        return PPI_FAIL;
    }
    const uint64_t got = source_->Read(out, bytes);
    const uint64_t frames = got / frameBytes_;
    const uint64_t samples = frames * frameBytes_ / sampleBytes_;
    uint8_t* p = out;
    for (uint64_t i = 0; i < samples; ++i, p += sampleBytes_) {
        if (sampleBytes_ == 1) {
            // AIFF's 8-bit samples are signed, the delivered ones unsigned.
            p[0] ^= 0x80;
        } else if (!littleEndian_) {
            std::reverse(p, p + sampleBytes_);
        }
    }
    *written = static_cast<uint32_t>(frames);
    return PPI_OK;
}

} // namespace sonavel::aiff
