#include "FileInfoDsf.h"

#include "ByteOrder.h"
#include "Id3Tag.h"
#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace sonavel::dsd {

using plugin::LoadLe;

namespace {

constexpr uint64_t kDsdChunkBytes = 28;
constexpr uint64_t kFmtChunkBytes = 52;
constexpr uint64_t kDataHeaderBytes = 12;
// A larger tag is passed over.
constexpr uint64_t kMaxId3Bytes = 16u << 20;
constexpr uint32_t kMaxBlockBytes = 1u << 20;
// Channels of each channel type 1 to 7: mono, stereo, 3 channels, quad, 4 channels, 5 channels, 5.1.
constexpr uint32_t kChannelsOfType[8] = {0, 1, 2, 3, 4, 4, 5, 6};

bool IsId(const uint8_t* id, const char* wanted)
{
    return std::memcmp(id, wanted, 4) == 0;
}

// DSD64 to DSD512 of the 44.1 kHz and the 48 kHz families.
bool IsDsdRate(uint32_t rate)
{
    for (const uint32_t base : {2822400u, 3072000u}) {
        for (const uint32_t multiple : {1u, 2u, 4u, 8u}) {
            if (rate == base * multiple) {
                return true;
            }
        }
    }
    return false;
}

constexpr std::array<uint8_t, 256> MakeBitReversal()
{
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        uint8_t r = 0;
        for (int b = 0; b < 8; ++b) {
            r = static_cast<uint8_t>(r | ((i >> b) & 1) << (7 - b));
        }
        table[i] = r;
    }
    return table;
}

constexpr std::array<uint8_t, 256> kBitReversal = MakeBitReversal();

} // namespace

int32_t CFileInfo_DSF::FrameGranularity(int32_t* out)
{
    if (out == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *out = 1;
    return PPI_OK;
}

int32_t CFileInfo_DSF::ReadDopWords(void** data, uint32_t* bytes)
{
    return ReadInterleavedDop(data, bytes);
}

int32_t CFileInfo_DSF::ReadNativeWords(void** data, uint32_t* bytes)
{
    return ReadInterleavedNative(data, bytes);
}

void CFileInfo_DSF::ReadId3(uint64_t position)
{
    const uint64_t size = source.Size();
    if (position == 0 || position >= size || size - position > kMaxId3Bytes || !source.GoTo(position)) {
        return;
    }
    std::vector<uint8_t> tag(static_cast<size_t>(size - position));
    tag.resize(static_cast<size_t>(source.Read(tag.data(), tag.size())));
    plugin::Id3Texts id3;
    plugin::ParseId3v2(tag, id3);
    title = id3.title;
    artist = id3.artist;
    album = id3.album;
    track = id3.track;
}

int32_t CFileInfo_DSF::Parse()
{
    blockBytes_ = 0;
    lsbFirst_ = false;
    uint8_t head[kDsdChunkBytes];
    if (!source.ReadAll(head, sizeof head) || !IsId(head, "DSD ")) {
        return PPI_FAIL;
    }
    const uint64_t headSize = LoadLe(head + 4, 8);
    const uint64_t metadata = LoadLe(head + 20, 8);
    uint8_t fmt[kFmtChunkBytes];
    if (headSize < kDsdChunkBytes || !source.GoTo(headSize) || !source.ReadAll(fmt, sizeof fmt) || !IsId(fmt, "fmt ")) {
        return PPI_FAIL;
    }
    const uint64_t fmtSize = LoadLe(fmt + 4, 8);
    const uint32_t version = static_cast<uint32_t>(LoadLe(fmt + 12, 4));
    const uint32_t formatId = static_cast<uint32_t>(LoadLe(fmt + 16, 4));
    const uint32_t channelType = static_cast<uint32_t>(LoadLe(fmt + 20, 4));
    const uint32_t channels = static_cast<uint32_t>(LoadLe(fmt + 24, 4));
    const uint32_t rate = static_cast<uint32_t>(LoadLe(fmt + 28, 4));
    const uint32_t bits = static_cast<uint32_t>(LoadLe(fmt + 32, 4));
    const uint64_t sampleCount = LoadLe(fmt + 36, 8);
    const uint32_t blockBytes = static_cast<uint32_t>(LoadLe(fmt + 44, 4));
    if (version != 1 || formatId != 0 || channelType == 0 || channelType > 7 || channels != kChannelsOfType[channelType] ||
        !IsDsdRate(rate) || (bits != 1 && bits != 8) || blockBytes == 0 || blockBytes > kMaxBlockBytes ||
        fmtSize < kFmtChunkBytes || fmtSize > source.Size() - headSize) {
        return PPI_FAIL;
    }
    uint8_t data[kDataHeaderBytes];
    if (!source.GoTo(headSize + fmtSize) || !source.ReadAll(data, sizeof data) || !IsId(data, "data") ||
        LoadLe(data + 4, 8) < kDataHeaderBytes) {
        return PPI_FAIL;
    }
    dataOffset = source.Position();
    // Each channel holds its samples' bytes; the padding of the last block is not sound.
    const uint64_t channelBytes = sampleCount / 8 + (sampleCount % 8 != 0 ? 1 : 0);
    // A file cut short holds only the blocks that are there: whole groups of one block per channel
    // and, of a cut group, what its last channel got.
    const uint64_t declared = LoadLe(data + 4, 8) - kDataHeaderBytes;
    const uint64_t present = std::min(declared, source.Size() - dataOffset);
    const uint64_t group = uint64_t{blockBytes} * channels;
    const uint64_t rest = present % group;
    const uint64_t lastChannelRest = rest > group - blockBytes ? rest - (group - blockBytes) : 0;
    const uint64_t channelPresent = present / group * blockBytes + lastChannelRest;
    if (std::min(channelBytes, channelPresent) == 0) {
        return PPI_FAIL;
    }
    dataSize = std::min(channelBytes, channelPresent) * channels;
    sampleRate = rate;
    channelCount = static_cast<uint16_t>(channels);
    channelMask = (uint32_t{1} << channels) - 1;
    blockBytes_ = blockBytes;
    lsbFirst_ = bits == 1;
    ReadId3(metadata);
    BuildTagTable();
    return PPI_OK;
}

bool CFileInfo_DSF::FetchInterleaved(uint64_t start, uint64_t n, uint8_t* target, uint64_t* got)
{
    *got = 0;
    const uint64_t channels = channelCount;
    if (channels == 0 || blockBytes_ == 0) {
        return false;
    }
    const uint64_t first = start / channels;
    const uint64_t end = first + n / channels;
    std::vector<uint8_t> block(blockBytes_);
    for (uint64_t at = first; at < end;) {
        const uint64_t index = at / blockBytes_;
        const uint64_t within = at % blockBytes_;
        const uint64_t length = std::min<uint64_t>(blockBytes_ - within, end - at);
        for (uint64_t c = 0; c < channels; ++c) {
            if (!source.GoTo(dataOffset + (index * channels + c) * blockBytes_ + within)) {
                return false;
            }
            if (!source.ReadAll(block.data(), length)) {
                return true;
            }
            uint8_t* to = target + (at - first) * channels + c;
            for (uint64_t k = 0; k < length; ++k, to += channels) {
                *to = lsbFirst_ ? kBitReversal[block[k]] : block[k];
            }
        }
        at += length;
        *got = (at - first) * channels;
    }
    return true;
}

} // namespace sonavel::dsd
