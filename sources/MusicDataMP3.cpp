#include "sources/MusicDataMP3.h"

#include "app/StringTable.h"
#include "sources/Mp3Decoder.h"
#include "sources/Mp3Stream.h"
#include "sources/MusicResult.h"
#include "sources/SmartFileReader.h"

#include <algorithm>

namespace sonavel {

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{1} << 32;

WAVEFORMATEX PcmFormat(const Mp3FrameHeader& header)
{
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = header.channels;
    format.nSamplesPerSec = header.sampleRate;
    format.nBlockAlign = static_cast<uint16_t>(2 * header.channels);
    format.nAvgBytesPerSec = header.sampleRate * format.nBlockAlign;
    format.wBitsPerSample = 16;
    return format;
}

} // namespace

CMusicDataMP3::CMusicDataMP3(bool quickMode)
    : quickMode_(quickMode), fileType_{LoadString(strings::kMp3File).data(), u"mp3"}
{
    info_.sourceType = kSourceMp3;
    info_.formatName = u"MP3";
}

CMusicDataMP3::~CMusicDataMP3() = default;

const MusicFileType* CMusicDataMP3::GetFileType()
{
    return &fileType_;
}

void CMusicDataMP3::Close()
{
    decoder_.reset();
    stream_.reset();
    reader_.reset();
    usable_ = 0;
}

int32_t CMusicDataMP3::Open(const MusicOpenParams* params)
{
    if (params == nullptr) {
        return kResultBadArgument;
    }
    Close();
    info_.path = params->path;
    reader_ = std::make_unique<CSmartFileReader>();
    if (!reader_->Open(params->path)) {
        Close();
        return kResultCannotOpen;
    }
    if (reader_->Size() >= kMaxFileBytes) {
        Close();
        return kResultTooLarge;
    }
    stream_ = std::make_unique<Mp3Stream>(*reader_);
    if (!stream_->Parse(!quickMode_)) {
        Close();
        return kResultCannotOpen;
    }
    info_.format = PcmFormat(stream_->first);
    if (quickMode_) {
        Close();
        return kResultOk;
    }
    decoder_ = std::make_unique<Mp3Decoder>(*reader_, *stream_);
    if (!decoder_->Open()) {
        Close();
        return kResultCannotOpen;
    }
    if (stream_->encoderDelay == 0 && stream_->encoderPadding == 0) {
        decoder_->MeasureSilence(params->useThreshold ? params->thresholdDb : -96.0);
    }
    const uint64_t trimmed = uint64_t{stream_->encoderDelay} + stream_->encoderPadding;
    usable_ = stream_->totalSamples > trimmed ? stream_->totalSamples - trimmed : 0;
    const uint32_t rate = info_.format.nSamplesPerSec;
    const uint64_t lengthFrames = (usable_ * kFramesPerSecond + rate - 1) / rate;
    if (usable_ == 0 || lengthFrames > UINT32_MAX) {
        Close();
        return kResultBroken;
    }
    info_.dataBytes = usable_ * info_.format.nBlockAlign;
    info_.lengthFrames = static_cast<uint32_t>(lengthFrames);
    info_.startFrame = 0;
    info_.endFrame = info_.lengthFrames - 1;
    info_.title = stream_->tags.title;
    info_.artist = stream_->tags.artist;
    info_.album = stream_->tags.album;
    info_.trackNumber = stream_->tags.trackNumber;
    rangeFirst_ = 0;
    rangeLast_ = info_.endFrame;
    cursorOffset_ = 0;
    repositionPending_ = true;
    return kResultOk;
}

int32_t CMusicDataMP3::GetTrackCount(int* count)
{
    if (count == nullptr) {
        return kResultBadArgument;
    }
    *count = 1;
    return kResultOk;
}

int32_t CMusicDataMP3::GetTrackInfo(int index, MusicTrackInfo* out)
{
    if (index != 0 || out == nullptr) {
        return kResultBadArgument;
    }
    out->path = info_.path;
    CopyTrackFields(info_, *out);
    out->album = info_.album;
    out->trackNumber = info_.trackNumber;
    return kResultOk;
}

int32_t CMusicDataMP3::SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames)
{
    if (!decoder_) {
        return kResultCannotOpen;
    }
    rangeFirst_ = firstFrame;
    rangeLast_ = lastFrame;
    cursorOffset_ = static_cast<uint32_t>(std::min<uint64_t>(offsetFrames, uint64_t{lastFrame} + 1));
    repositionPending_ = true;
    return kResultOk;
}

int32_t CMusicDataMP3::ReadNext(void** block, uint32_t* bytes)
{
    if (block == nullptr || bytes == nullptr) {
        return kResultBadArgument;
    }
    *block = nullptr;
    *bytes = 0;
    if (!decoder_) {
        return kResultCannotOpen;
    }
    const uint32_t rate = info_.format.nSamplesPerSec;
    if (repositionPending_) {
        if (!decoder_->Seek(FrameToSample(uint64_t{rangeFirst_} + cursorOffset_, rate))) {
            return kResultCannotOpen;
        }
        repositionPending_ = false;
    }
    const uint64_t endSample = std::min(FrameToSample(uint64_t{rangeLast_} + 1, rate), usable_);
    const uint64_t position = decoder_->Position();
    if (endSample <= position) {
        return kResultEndOfRange;
    }
    const uint64_t wanted = std::min<uint64_t>(endSample - position, rate);
    const uint32_t align = info_.format.nBlockAlign;
    auto* target = static_cast<uint8_t*>(AllocBuffer(static_cast<uint32_t>(wanted * align)));
    if (target == nullptr) {
        return kResultNoMemory;
    }
    uint64_t decoded = 0;
    if (!decoder_->Decode(std::span(target, static_cast<size_t>(wanted * align)), wanted, decoded)) {
        FreeBuffer(target);
        return kResultReadError;
    }
    if (decoded == 0) {
        FreeBuffer(target);
        return kResultEndOfRange;
    }
    *block = target;
    *bytes = static_cast<uint32_t>(decoded * align);
    return kResultOk;
}

int32_t CMusicDataMP3::ReadAll(void**, uint32_t*)
{
    return kResultBadArgument;
}

} // namespace sonavel
