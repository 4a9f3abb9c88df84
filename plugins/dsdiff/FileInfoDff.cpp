#include "FileInfoDff.h"

#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace sonavel::dsd {

namespace {

constexpr char16_t kWideName[] = u"DFF Plugin";
constexpr char16_t kWideExtension[] = u"DFF";
constexpr char16_t kWideVersion[] = u"1.0.5";
// Longer texts are cut; the rest of their chunk is skipped.
constexpr uint64_t kMaxTextBytes = 64 * 1024;
// A larger ID3 chunk is passed over.
constexpr uint64_t kMaxId3Bytes = 16u << 20;
// Sizes above this cannot belong to a real file and would overflow position arithmetic.
constexpr uint64_t kMaxChunkSize = uint64_t{1} << 62;

uint64_t LoadBe(const uint8_t* p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = value << 8 | p[i];
    }
    return value;
}

uint32_t Synchsafe(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0] & 0x7F) << 21 | static_cast<uint32_t>(p[1] & 0x7F) << 14 |
           static_cast<uint32_t>(p[2] & 0x7F) << 7 | static_cast<uint32_t>(p[3] & 0x7F);
}

bool IsId(const uint8_t* id, const char* wanted)
{
    return std::memcmp(id, wanted, 4) == 0;
}

void SetFromFrame(DsdText& text, std::span<const uint8_t> data)
{
    if (text.Empty() && !data.empty()) {
        text.Set(data.data() + 1, data.size() - 1, data[0]);
    }
}

} // namespace

int32_t CFileInfo_DFF::NarrowName(char* buffer, int32_t capacity)
{
    return CopyNarrowText("DFF Plugin", buffer, capacity);
}

int32_t CFileInfo_DFF::NarrowExtension(char* buffer, int32_t capacity)
{
    return CopyNarrowText("DFF", buffer, capacity);
}

int32_t CFileInfo_DFF::NarrowVersion(char* buffer, int32_t capacity)
{
    return CopyNarrowText("1.0.5", buffer, capacity);
}

int32_t CFileInfo_DFF::WideName(char16_t* buffer, int32_t capacity)
{
    return CopyWideText(kWideName, buffer, capacity);
}

int32_t CFileInfo_DFF::WideExtension(char16_t* buffer, int32_t capacity)
{
    return CopyWideText(kWideExtension, buffer, capacity);
}

int32_t CFileInfo_DFF::WideVersion(char16_t* buffer, int32_t capacity)
{
    return CopyWideText(kWideVersion, buffer, capacity);
}

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

bool CFileInfo_DFF::ReadTextChunk(uint64_t size, DsdText& text)
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
    ParseId3(tag);
}

void CFileInfo_DFF::ParseId3(std::span<const uint8_t> tag)
{
    if (tag.size() < 10 || std::memcmp(tag.data(), "ID3", 3) != 0) {
        return;
    }
    const uint8_t version = tag[3];
    const uint8_t flags = tag[5];
    uint64_t end = std::min<uint64_t>(10 + uint64_t{Synchsafe(tag.data() + 6)}, tag.size());
    size_t pos = 10;
    DsdText* const targets[4] = {&id3Title, &id3Artist, &id3Album, &id3Track};
    auto allSeen = [&targets] { return std::none_of(std::begin(targets), std::end(targets), [](const DsdText* t) { return t->Empty(); }); };
    if (version == 2) {
        if ((flags & 0x40) != 0) {
            return;
        }
        static const char* const kIds[4] = {"TT2", "TP1", "TAL", "TRK"};
        while (end - pos >= 6 && !allSeen()) {
            const uint8_t* header = tag.data() + pos;
            const uint64_t size = LoadBe(header + 3, 3);
            if (size > end - pos - 6) {
                return;
            }
            for (int i = 0; i < 4; ++i) {
                if (std::memcmp(header, kIds[i], 3) == 0) {
                    SetFromFrame(*targets[i], tag.subspan(pos + 6, static_cast<size_t>(size)));
                }
            }
            pos += 6 + static_cast<size_t>(size);
        }
        return;
    }
    if (version != 3 && version != 4) {
        return;
    }
    if ((flags & 0x40) != 0) {
        if (end - pos < 4) {
            return;
        }
        if (version == 3) {
            const uint64_t extended = LoadBe(tag.data() + pos, 4);
            if ((extended != 6 && extended != 10) || end - pos < 10) {
                return;
            }
            const uint64_t padding = LoadBe(tag.data() + pos + 6, 4);
            end = end > padding ? end - padding : 0;
            pos += static_cast<size_t>(extended + 4);
        } else {
            pos += Synchsafe(tag.data() + pos);
        }
        if (pos > end) {
            return;
        }
    }
    static const char* const kIds[4] = {"TIT2", "TPE1", "TALB", "TRCK"};
    while (end - pos >= 10 && !allSeen()) {
        const uint8_t* header = tag.data() + pos;
        const uint64_t size = version == 3 ? LoadBe(header + 4, 4) : Synchsafe(header + 4);
        if (size > end - pos - 10) {
            return;
        }
        const uint8_t format = header[9];
        const bool packed = version == 3 ? (format & 0xE0) != 0 : (format & 0x4C) != 0;
        if (!packed) {
            for (int i = 0; i < 4; ++i) {
                if (IsId(header, kIds[i])) {
                    SetFromFrame(*targets[i], tag.subspan(pos + 10, static_cast<size_t>(size)));
                }
            }
        }
        pos += 10 + static_cast<size_t>(size);
    }
}

void CFileInfo_DFF::BuildTagTable()
{
    tagTable.clear();
    static const char* const kEncodings[4] = {"ENC_SYSTEM", "ENC_UTF-16LE_BOM", "ENC_UTF-16BE", "ENC_UTF-8"};
    const std::pair<const char*, const DsdText*> texts[4] = {{"Artist", &artist}, {"Title", &title}, {"Album", &album}, {"Track", &track}};
    for (const auto& [key, text] : texts) {
        if (text->Empty()) {
            continue;
        }
        tagTable[key] = std::string(text->bytes.begin(), text->bytes.end() - 2);
        if (text->encoding <= 3) {
            tagTable[std::string("enc") + key] = kEncodings[text->encoding];
        }
    }
}

int32_t CFileInfo_DFF::Parse()
{
    id3Title.Clear();
    id3Artist.Clear();
    id3Album.Clear();
    id3Track.Clear();
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
    for (auto [from, to] : {std::pair{&id3Title, &title}, {&id3Artist, &artist}, {&id3Album, &album}, {&id3Track, &track}}) {
        if (!from->Empty()) {
            *to = *from;
        }
    }
    BuildTagTable();
    return PPI_OK;
}

} // namespace sonavel::dsd
