#include "sources/MusicDataCDDA.h"

#include "app/TextFormat.h"
#include "platform/Utf.h"
#include "sources/MusicResult.h"

#include <algorithm>
#include <vector>

namespace sonavel {

namespace {

constexpr size_t kTocBytes = 804;
constexpr uint32_t kSectorsPerCommand = 15;
constexpr uint32_t kSectorsPerBlock = 75;
constexpr uint16_t kReadSpeed = 1200;
constexpr uint8_t kDataTrackControl = 0x04;

uint32_t LoadBe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

} // namespace

std::mutex& CdAccessLock()
{
    static std::mutex lock;
    return lock;
}

CMusicDataCDDA::CMusicDataCDDA(std::shared_ptr<IScsiTransport> transport) : transport_(std::move(transport))
{
    format_.wFormatTag = WAVE_FORMAT_PCM;
    format_.nChannels = 2;
    format_.nSamplesPerSec = 44100;
    format_.nAvgBytesPerSec = 176400;
    format_.nBlockAlign = 4;
    format_.wBitsPerSample = 16;
}

CMusicDataCDDA::~CMusicDataCDDA()
{
    std::lock_guard guard(CdAccessLock());
    transport_->Close();
}

bool CMusicDataCDDA::OpenDevice()
{
    return transport_->IsOpen() || transport_->Open(Utf16ToUtf8(devicePath_));
}

void CMusicDataCDDA::SetSpeed()
{
    const uint8_t cdb[12] = {0xBB, 0, kReadSpeed >> 8, kReadSpeed & 0xFF, kReadSpeed >> 8, kReadSpeed & 0xFF, 0, 0, 0, 0, 0, 0};
    size_t ignored = 0;
    transport_->Command(cdb, {}, ignored);
}

int32_t CMusicDataCDDA::ReadToc()
{
    const uint8_t cdb[10] = {0x43, 0, 0, 0, 0, 0, 1, kTocBytes >> 8, kTocBytes & 0xFF, 0};
    std::vector<uint8_t> toc(kTocBytes, 0);
    size_t transferred = 0;
    if (transport_->Command(cdb, toc, transferred) != IScsiTransport::Status::Ok || transferred < 4) {
        return kResultCannotOpen;
    }
    // Descriptors follow the 4-byte header; the one after the last track is the lead-out.
    const size_t descriptors = (std::min(transferred, kTocBytes) - 4) / 8;
    const int last = std::min<int>({toc[3], kMaxTracks, static_cast<int>(descriptors) - 1});
    trackCount_ = 0;
    tocTracks_ = std::max(last, 0);
    for (int g = 0; g < tocTracks_; ++g) {
        const uint8_t* descriptor = toc.data() + 4 + 8 * g;
        const uint32_t lba = LoadBe32(descriptor + 4);
        const uint32_t next = LoadBe32(descriptor + 12);
        Track& track = tracks_[static_cast<size_t>(g)];
        track = Track{};
        track.name = FormatText(u"CD Track %02d", {int64_t{g + 1}});
        track.firstLba = lba;
        if ((descriptor[1] & kDataTrackControl) != 0 || next <= lba) {
            continue;
        }
        track.sectors = next - lba;
        track.lastLba = next - 1;
        track.bytes = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{track.sectors} * kSectorBytes, UINT32_MAX));
        ++trackCount_;
    }
    return kResultOk;
}

int32_t CMusicDataCDDA::Open(const MusicOpenParams* params)
{
    if (params == nullptr) {
        return kResultBadArgument;
    }
    devicePath_ = params->path;
    std::lock_guard guard(CdAccessLock());
    if (!OpenDevice()) {
        return kResultCannotOpen;
    }
    if (const int32_t result = ReadToc(); result != kResultOk) {
        transport_->Close();
        return result;
    }
    SetSpeed();
    return kResultOk;
}

int32_t CMusicDataCDDA::GetTrackCount(int* count)
{
    if (count == nullptr) {
        return kResultBadArgument;
    }
    *count = trackCount_;
    return kResultOk;
}

int32_t CMusicDataCDDA::GetTrackInfo(int index, MusicTrackInfo* out)
{
    if (out == nullptr || index < 0 || index >= trackCount_) {
        return kResultBadArgument;
    }
    // Data tracks keep their places in the table but are not counted: the index-th audio track.
    int seen = -1;
    const Track* track = nullptr;
    for (int g = 0; g < tocTracks_ && track == nullptr; ++g) {
        if (tracks_[static_cast<size_t>(g)].sectors != 0 && ++seen == index) {
            track = &tracks_[static_cast<size_t>(g)];
        }
    }
    if (track == nullptr) {
        return kResultBadArgument;
    }
    out->path = devicePath_;
    out->displayName = devicePath_;
    out->sourceType = kSourceCdda;
    out->formatName = u"CD-DA";
    out->dataBytes = track->bytes;
    out->title = track->name;
    out->artist.clear();
    out->format = format_;
    out->lengthFrames = track->sectors;
    out->startFrame = track->firstLba;
    out->endFrame = track->lastLba;
    return kResultOk;
}

int32_t CMusicDataCDDA::SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames)
{
    const uint64_t cursor = uint64_t{firstFrame} + offsetFrames;
    cursor_ = static_cast<uint32_t>(cursor > lastFrame ? (lastFrame > 0 ? lastFrame - 1 : 0) : cursor);
    rangeStart_ = cursor_;
    rangeLast_ = lastFrame;
    return kResultOk;
}

int32_t CMusicDataCDDA::ReadSectors(uint8_t* target, uint32_t count)
{
    const uint8_t cdb[12] = {0xBE, 0, static_cast<uint8_t>(cursor_ >> 24), static_cast<uint8_t>(cursor_ >> 16),
                             static_cast<uint8_t>(cursor_ >> 8), static_cast<uint8_t>(cursor_), 0, 0, static_cast<uint8_t>(count),
                             0x10, 0, 0};
    size_t transferred = 0;
    const auto status = transport_->Command(cdb, std::span(target, size_t{count} * kSectorBytes), transferred);
    if (status == IScsiTransport::Status::Ok && transferred != 0) {
        cursor_ += count;
        return kResultOk;
    }
    const uint8_t testUnitReady[6] = {};
    size_t ignored = 0;
    return transport_->Command(testUnitReady, {}, ignored) == IScsiTransport::Status::NotReady ? kResultNoMedium : kResultReadError;
}

int32_t CMusicDataCDDA::ReadBlock(uint32_t maxSectors, void** block, uint32_t* bytes)
{
    if (block == nullptr || bytes == nullptr) {
        return kResultBadArgument;
    }
    *block = nullptr;
    *bytes = 0;
    const uint64_t left = cursor_ <= rangeLast_ ? uint64_t{rangeLast_} - cursor_ + 1 : 0;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(left, maxSectors));
    if (count == 0) {
        return kResultEndOfRange;
    }
    std::lock_guard guard(CdAccessLock());
    if (!transport_->IsOpen()) {
        if (!OpenDevice()) {
            return kResultCannotOpen;
        }
        SetSpeed();
    }
    auto* target = static_cast<uint8_t*>(AllocBuffer(count * kSectorBytes));
    if (target == nullptr) {
        return kResultNoMemory;
    }
    for (uint32_t done = 0; done < count;) {
        const uint32_t n = std::min(count - done, kSectorsPerCommand);
        if (const int32_t result = ReadSectors(target + size_t{done} * kSectorBytes, n); result != kResultOk) {
            transport_->Close();
            FreeBuffer(target);
            return result;
        }
        done += n;
    }
    *block = target;
    *bytes = count * kSectorBytes;
    return kResultOk;
}

int32_t CMusicDataCDDA::ReadNext(void** block, uint32_t* bytes)
{
    return ReadBlock(kSectorsPerBlock, block, bytes);
}

int32_t CMusicDataCDDA::ReadAll(void** block, uint32_t* bytes)
{
    cursor_ = rangeStart_;
    return ReadBlock(UINT32_MAX / kSectorBytes, block, bytes);
}

} // namespace sonavel
