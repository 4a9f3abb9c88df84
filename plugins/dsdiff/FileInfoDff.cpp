#include "FileInfoDff.h"

#include "ByteOrder.h"
#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace sonavel::dsd {

using plugin::LoadBe;

namespace {

// Longer texts are cut; the rest of their chunk is skipped.
constexpr uint64_t kMaxTextBytes = 64 * 1024;
// A larger ID3 chunk is passed over.
constexpr uint64_t kMaxId3Bytes = 16u << 20;
// Sizes above this cannot belong to a real file and would overflow position arithmetic.
constexpr uint64_t kMaxChunkSize = uint64_t{1} << 62;

bool IsId(const uint8_t* id, const char* wanted)
{
    return std::memcmp(id, wanted, 4) == 0;
}

} // namespace

int32_t CFileInfo_DFF::FrameGranularity(int32_t* out)
{
    if (out == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *out = 1;
    return PPI_OK;
}

int32_t CFileInfo_DFF::ReadDopWords(void** data, uint32_t* bytes)
{
    return ReadInterleavedDop(data, bytes);
}

int32_t CFileInfo_DFF::ReadNativeWords(void** data, uint32_t* bytes)
{
    return ReadInterleavedNative(data, bytes);
}

bool CFileInfo_DFF::ReadComments()
{
    uint8_t count[2];
    if (!source.ReadAll(count, 2)) {
        return false;
    }
    for (uint64_t i = 0, n = LoadBe(count, 2); i < n; ++i) {
        uint8_t header[14];
        if (!source.ReadAll(header, sizeof header)) {
            return false;
        }
        const uint64_t type = LoadBe(header + 6, 2);
        const uint64_t length = LoadBe(header + 10, 4);
        const uint64_t padded = length + (length & 1);
        if (type == 0 && album.Empty()) {
            const uint64_t kept = std::min(length, kMaxTextBytes);
            std::vector<uint8_t> text(static_cast<size_t>(kept));
            if (!source.ReadAll(text.data(), kept) || !source.Skip(padded - kept)) {
                return false;
            }
            album.Set(text.data(), text.size(), 0);
        } else if (!source.Skip(padded)) {
            return false;
        }
    }
    return true;
}

bool CFileInfo_DFF::ReadTextChunk(uint64_t size, plugin::TagText& text)
{
    if (size < 4 || size - 4 > UINT32_MAX) {
        return false;
    }
    uint8_t count[4];
    if (!source.ReadAll(count, 4)) {
        return false;
    }
    const uint64_t length = std::min({LoadBe(count, 4), size - 4, kMaxTextBytes});
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (!source.ReadAll(bytes.data(), length)) {
        return false;
    }
    if (text.Empty()) {
        text.Set(bytes.data(), bytes.size(), 0);
    }
    return true;
}

void CFileInfo_DFF::ReadId3Chunk(uint64_t size)
{
    if (size < 10 || size > kMaxId3Bytes) {
        return;
    }
    std::vector<uint8_t> tag(static_cast<size_t>(size));
    const uint64_t got = source.Read(tag.data(), size);
    tag.resize(static_cast<size_t>(got));
    plugin::ParseId3v2(tag, id3);
}

int32_t CFileInfo_DFF::Parse()
{
    id3.Clear();
    bool fsSeen = false;
    bool chnlSeen = false;
    bool dsdSeen = false;
    bool notDsd = false;
    for (;;) {
        uint8_t header[12];
        if (!source.ReadAll(header, sizeof header)) {
            break;
        }
        const uint8_t* id = header;
        const uint64_t size = LoadBe(header + 4, 8);
        if (size > kMaxChunkSize) {
            break;
        }
        const uint64_t start = source.Position();
        const uint64_t padded = size + (size & 1);
        if (IsId(id, "FRM8") || IsId(id, "PROP")) {
            // Containers: their sub-chunks follow their 4-byte type.
            if (IsId(id, "FRM8")) {
                formSize = size + 12;
            }
            if (!source.Skip(4)) {
                break;
            }
            continue;
        }
        if (IsId(id, "DST ") || IsId(id, "DIIN")) {
            continue;
        }
        bool ok = true;
        bool stop = false;
        if (IsId(id, "FS  ")) {
            uint8_t rate[4];
            ok = size >= 4 && source.ReadAll(rate, 4);
            sampleRate = static_cast<uint32_t>(LoadBe(rate, 4));
            fsSeen = ok;
        } else if (IsId(id, "CHNL")) {
            uint8_t count[2];
            ok = size >= 2 && source.ReadAll(count, 2);
            channelCount = static_cast<uint16_t>(LoadBe(count, 2));
            channelMask = channelCount >= 32 ? UINT32_MAX : (uint32_t{1} << channelCount) - 1;
            chnlSeen = ok;
        } else if (IsId(id, "CMPR")) {
            uint8_t type[4];
            ok = size >= 4 && source.ReadAll(type, 4);
            notDsd = !ok || !IsId(type, "DSD ");
            stop = notDsd;
        } else if (IsId(id, "DSD ")) {
            dataOffset = start;
            // A file cut short holds only the bytes that are there.
            dataSize = std::min(size, source.Size() > start ? source.Size() - start : 0);
            dsdSeen = true;
        } else if (IsId(id, "COMT")) {
            stop = !ReadComments();
        } else if (IsId(id, "DIAR")) {
            ok = ReadTextChunk(size, artist);
        } else if (IsId(id, "DITI")) {
            ok = ReadTextChunk(size, title);
        } else if (IsId(id, "ID3 ")) {
            ReadId3Chunk(size);
        }
        if (!ok || stop || !source.GoTo(start + padded)) {
            break;
        }
    }
    if (!fsSeen || !chnlSeen || !dsdSeen || dataSize == 0 || notDsd || channelCount == 0) {
        return PPI_FAIL;
    }
    for (auto [from, to] : {std::pair{&id3.title, &title}, {&id3.artist, &artist}, {&id3.album, &album}, {&id3.track, &track}}) {
        if (!from->Empty()) {
            *to = *from;
        }
    }
    BuildTagTable();
    return PPI_OK;
}

} // namespace sonavel::dsd
