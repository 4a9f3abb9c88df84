#include "sources/MusicDataWave.h"

#include "app/StringTable.h"
#include "app/TextEncoding.h"
#include "sources/MusicResult.h"
#include "sources/RiffChunks.h"
#include "sources/WaveId3Chunk.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace sonavel {

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{1} << 32;
constexpr uint64_t kRiffHeaderBytes = 12;
constexpr size_t kMaxFormatBytes = 40;
constexpr size_t kExtensibleGuidOffset = 24;
constexpr uint16_t kExtensibleMinCbSize = 22;
// Tags are read whole; a larger "id3 " chunk (huge cover art) is passed over.
constexpr uint64_t kMaxId3ChunkBytes = 64u << 20;
constexpr uint32_t kMaxInfoTextBytes = 512;
// Caps the block of one ReadNext whatever rate and block align a header claims.
constexpr uint64_t kMaxBlockBytes = 64u << 20;

// The sub-format GUIDs of the extensible header, as stored in the file.
constexpr uint8_t kSubtypePcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                     0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr uint8_t kSubtypeFloat[16] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// An INFO sub-chunk's text: at most 512 bytes, up to its first zero byte.
std::u16string ReadInfoText(const ReadOnlyFile& file, const RiffChunk& chunk)
{
    const uint32_t length = std::min(chunk.size, kMaxInfoTextBytes);
    std::vector<uint8_t> text(length);
    if (file.ReadAt(chunk.dataOffset, text) != static_cast<int64_t>(length)) {
        return {};
    }
    const auto zero = std::find(text.begin(), text.end(), 0);
    return DecodeDetectedText(std::string_view(reinterpret_cast<const char*>(text.data()),
                                               static_cast<size_t>(zero - text.begin())));
}

} // namespace

CMusicDataWave::CMusicDataWave()
    : fileType_{LoadString(strings::kWaveFile).data(), u"wav"}
{
}

const MusicFileType* CMusicDataWave::GetFileType()
{
    return &fileType_;
}

int32_t CMusicDataWave::Open(const MusicOpenParams* params)
{
    if (params == nullptr) {
        return kResultBadArgument;
    }
    const int32_t result = OpenFile(*params);
    if (result != kResultOk) {
        file_.Close();
        dataSize_ = 0;
        consumed_ = rangeEnd_ = 0;
    }
    return result;
}

int32_t CMusicDataWave::OpenFile(const MusicOpenParams& params)
{
    info_ = MusicTrackInfo{};
    info_.path = params.path;
    info_.sourceType = kSourceWave;
    info_.formatName = u"WAVE";
    if (file_.Open(params.path) != ReadOnlyFile::OpenError::None) {
        return kResultCannotOpen;
    }
    if (file_.Size() >= kMaxFileBytes) {
        return kResultTooLarge;
    }
    uint8_t riff[kRiffHeaderBytes];
    if (file_.ReadAt(0, riff) != static_cast<int64_t>(sizeof(riff)) || LoadLe32(riff + 8) != FourCC("WAVE")) {
        return kResultBroken;
    }
    ReadTags();
    uint64_t pos = kRiffHeaderBytes;
    if (const int32_t result = ReadFormat(pos); result != kResultOk) {
        return result;
    }
    return ReadDataChunk(pos);
}

void CMusicDataWave::ReadTags()
{
    if (const auto chunk = FindChunk(file_, kRiffHeaderBytes, FourCC("id3 "))) {
        const uint64_t available = file_.Size() - std::min(file_.Size(), chunk->dataOffset);
        const uint64_t length = std::min<uint64_t>(chunk->size, available);
        if (length <= kMaxId3ChunkBytes) {
            std::vector<uint8_t> tag(static_cast<size_t>(length));
            if (file_.ReadAt(chunk->dataOffset, tag) == static_cast<int64_t>(length)) {
                ReadId3ChunkTags(tag, info_.title, info_.artist);
            }
        }
    }
    ReadInfoList();
}

void CMusicDataWave::ReadInfoList()
{
    const auto list = FindChunk(file_, kRiffHeaderBytes, FourCC("LIST"));
    if (!list) {
        return;
    }
    // Sub-chunks start after the 4-byte list type; the walk is not bounded by the list, so a
    // text found after it is taken as well.
    const uint64_t first = list->dataOffset + 4;
    if (info_.artist.empty()) {
        if (const auto art = FindChunk(file_, first, FourCC("IART"))) {
            info_.artist = ReadInfoText(file_, *art);
        }
    }
    if (info_.title.empty()) {
        if (const auto name = FindChunk(file_, first, FourCC("INAM"))) {
            info_.title = ReadInfoText(file_, *name);
        }
    }
}

int32_t CMusicDataWave::ReadFormat(uint64_t& pos)
{
    const auto chunk = FindChunk(file_, pos, FourCC("fmt "));
    if (!chunk) {
        return kResultBroken;
    }
    const size_t wanted = std::min<size_t>(chunk->size, kMaxFormatBytes);
    uint8_t bytes[kMaxFormatBytes] = {};
    if (file_.ReadAt(chunk->dataOffset, std::span(bytes, wanted)) != static_cast<int64_t>(wanted)) {
        return kResultBroken;
    }
    WAVEFORMATEX& format = info_.format;
    format = WAVEFORMATEX{};
    std::memcpy(&format, bytes, std::min(wanted, sizeof(WAVEFORMATEX)));
    if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && format.cbSize >= kExtensibleMinCbSize && wanted >= kMaxFormatBytes) {
        const uint8_t* guid = bytes + kExtensibleGuidOffset;
        if (std::memcmp(guid, kSubtypePcm, sizeof(kSubtypePcm)) == 0) {
            format.wFormatTag = WAVE_FORMAT_PCM;
        } else if (std::memcmp(guid, kSubtypeFloat, sizeof(kSubtypeFloat)) == 0) {
            format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
        }
    }
    // Without a block size or a rate no position or length can be computed.
    if (format.nBlockAlign == 0 || format.nSamplesPerSec == 0) {
        return kResultBroken;
    }
    pos = chunk->End();
    return kResultOk;
}

int32_t CMusicDataWave::ReadDataChunk(uint64_t pos)
{
    const auto chunk = FindChunk(file_, pos, FourCC("data"));
    if (!chunk) {
        return kResultBroken;
    }
    const WAVEFORMATEX& format = info_.format;
    // A size beyond the end of the file (a file cut short, or written by a streaming recorder)
    // counts only what the file holds, so that the length is the one that plays.
    const uint64_t inFile = file_.Size() > chunk->dataOffset ? file_.Size() - chunk->dataOffset : 0;
    const uint64_t size = std::min<uint64_t>(chunk->size, inFile);
    dataOffset_ = chunk->dataOffset;
    dataSize_ = size - size % format.nBlockAlign;
    const uint64_t bytesPerSecond = uint64_t{format.nBlockAlign} * format.nSamplesPerSec;
    const uint64_t lengthFrames = (kFramesPerSecond * dataSize_ + bytesPerSecond - 1) / bytesPerSecond;
    if (lengthFrames == 0 || lengthFrames > UINT32_MAX) {
        return kResultBroken;
    }
    blockBytes_ = std::max<uint64_t>(std::min(bytesPerSecond, kMaxBlockBytes) / format.nBlockAlign, 1) * format.nBlockAlign;
    info_.dataBytes = dataSize_;
    info_.lengthFrames = static_cast<uint32_t>(lengthFrames);
    info_.startFrame = 0;
    info_.endFrame = info_.lengthFrames - 1;
    consumed_ = 0;
    rangeEnd_ = dataSize_;
    return kResultOk;
}

int32_t CMusicDataWave::GetTrackCount(int* count)
{
    if (count == nullptr) {
        return kResultBadArgument;
    }
    *count = 1;
    return kResultOk;
}

int32_t CMusicDataWave::GetTrackInfo(int index, MusicTrackInfo* out)
{
    if (index != 0 || out == nullptr) {
        return kResultBadArgument;
    }
    out->path = info_.path;
    out->displayName = info_.displayName;
    CopyTrackFields(info_, *out);
    return kResultOk;
}

uint64_t CMusicDataWave::ByteOfFrame(uint64_t frame) const
{
    return std::min(FrameToSample(frame, info_.format.nSamplesPerSec) * info_.format.nBlockAlign, dataSize_);
}

int32_t CMusicDataWave::SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames)
{
    // Positions are whole sample frames, so that a range ends exactly where the next one starts
    // at every rate, also where one frame75 is not a whole number of bytes.
    const uint64_t end = uint64_t{lastFrame} + 1;
    const uint64_t cursor = std::min(uint64_t{firstFrame} + offsetFrames, end);
    rangeEnd_ = ByteOfFrame(end);
    consumed_ = std::min(ByteOfFrame(cursor), rangeEnd_);
    return kResultOk;
}

int32_t CMusicDataWave::ReadBlock(uint64_t maxBytes, void** block, uint32_t* bytes)
{
    *block = nullptr;
    *bytes = 0;
    if (consumed_ >= rangeEnd_) {
        return kResultEndOfRange;
    }
    const uint64_t wanted = std::min(rangeEnd_ - consumed_, maxBytes);
    if (wanted > UINT32_MAX) {
        return kResultNoMemory;
    }
    auto* target = static_cast<uint8_t*>(AllocBuffer(static_cast<uint32_t>(wanted)));
    if (target == nullptr) {
        return kResultNoMemory;
    }
    const int64_t got = file_.ReadAt(dataOffset_ + consumed_, std::span(target, static_cast<size_t>(wanted)));
    if (got < 0) {
        FreeBuffer(target);
        return kResultReadError;
    }
    const uint64_t whole = static_cast<uint64_t>(got) - static_cast<uint64_t>(got) % info_.format.nBlockAlign;
    if (whole == 0) {
        // The file ended early (it shrank after Open): nothing more will come.
        FreeBuffer(target);
        rangeEnd_ = consumed_;
        return kResultEndOfRange;
    }
    consumed_ += whole;
    *block = target;
    *bytes = static_cast<uint32_t>(whole);
    return kResultOk;
}

int32_t CMusicDataWave::ReadNext(void** block, uint32_t* bytes)
{
    if (block == nullptr || bytes == nullptr) {
        return kResultBadArgument;
    }
    return ReadBlock(blockBytes_, block, bytes);
}

int32_t CMusicDataWave::ReadAll(void** block, uint32_t* bytes)
{
    if (block == nullptr || bytes == nullptr) {
        return kResultBadArgument;
    }
    return ReadBlock(rangeEnd_, block, bytes);
}

} // namespace sonavel
