#include "sources/Mp3Stream.h"

#include "sources/Mp3VbrHeaders.h"

#include <algorithm>

namespace sonavel {

namespace {

constexpr uint32_t kSearchBytes = 1u << 20;
constexpr uint32_t kPairViewBytes = 0x4000;
constexpr uint32_t kFirstFrameViewBytes = 8192;
constexpr uint32_t kId3v1MaxBytes = 355;
// Larger ID3v2 tags (whole albums of cover art) are skipped without reading their texts.
constexpr uint64_t kMaxId3v2Bytes = 64u << 20;
constexpr uint32_t kWalkToEnd = UINT32_MAX;

} // namespace

void Mp3Stream::ReadTags()
{
    Mp3Tags v2;
    bool v2Present = false;
    const uint64_t v2Bytes = Id3v2TagBytes(reader_.View(0, 10));
    if (v2Bytes > 0 && audioSize >= v2Bytes) {
        if (v2Bytes <= kMaxId3v2Bytes && reader_.EnsureBuffer(static_cast<uint32_t>(v2Bytes))) {
            v2Present = ParseId3v2Tag(reader_.View(0, static_cast<uint32_t>(v2Bytes)), v2);
        }
        if (v2Present || v2Bytes > kMaxId3v2Bytes) {
            audioStart += v2Bytes;
            audioSize -= v2Bytes;
        }
    }
    const uint32_t endBytes = static_cast<uint32_t>(std::min<uint64_t>(audioSize, kId3v1MaxBytes));
    const auto end = reader_.View(audioStart + audioSize - endBytes, endBytes);
    if (end.size() == endBytes) {
        audioSize -= ParseId3v1Tag(end, tags);
    }
    if (v2Present) {
        tags.title = std::move(v2.title);
        tags.artist = std::move(v2.artist);
        tags.album = std::move(v2.album);
        tags.trackNumber = v2.trackNumber;
        tags.hasItunes = v2.hasItunes;
        tags.itunesDelay = v2.itunesDelay;
        tags.itunesPadding = v2.itunesPadding;
        tags.itunesSamples = v2.itunesSamples;
    }
}

bool Mp3Stream::FindFirstFrame()
{
    const uint32_t range = static_cast<uint32_t>(std::min<uint64_t>(audioSize, kSearchBytes));
    const auto window = reader_.View(audioStart, range);
    for (size_t o = 0; o + 4 <= window.size(); ++o) {
        Mp3FrameHeader header;
        Mp3FrameHeader next;
        if (!DecodeFrameHeader(LoadBe32(window.data() + o), header)) {
            continue;
        }
        const size_t view = std::min<size_t>(kPairViewBytes, window.size() - o);
        const size_t second = header.frameBytes;
        if (second + 4 > view || !DecodeFrameHeader(LoadBe32(window.data() + o + second), next) ||
            second + next.frameBytes > view) {
            continue;
        }
        audioStart += o;
        audioSize -= o;
        first = header;
        return true;
    }
    return false;
}

Mp3Stream::SeekEntry Mp3Stream::Walk(uint32_t n)
{
    const uint32_t spf = first.samplesPerFrame;
    const uint64_t second = n == kWalkToEnd ? table_.size() : (uint64_t{n} + 1) * spf / first.sampleRate;
    SeekEntry current = second < table_.size() ? table_[static_cast<size_t>(second)] : table_.back();
    Mp3FrameHeader header;
    DecodeFrameHeader(current.header, header);
    while (current.frame < n) {
        const uint64_t nextOffset = current.offset + header.frameBytes;
        const auto bytes = reader_.View(audioStart + nextOffset, 4);
        Mp3FrameHeader next;
        if (bytes.size() < 4 || !DecodeFrameHeader(LoadBe32(bytes.data()), next) || nextOffset + next.frameBytes > audioSize) {
            break;
        }
        header = next;
        current = {nextOffset, current.frame + 1, next.word};
        if (uint64_t{table_.size()} * first.sampleRate / spf == current.frame) {
            table_.push_back(current);
        }
    }
    return current;
}

bool Mp3Stream::FindFrame(uint32_t n, SeekEntry& out)
{
    if (table_.empty()) {
        return false;
    }
    out = Walk(n);
    return out.frame == n;
}

void Mp3Stream::DropFirstFrame(uint32_t newFirstHeader)
{
    audioStart += first.frameBytes;
    audioSize -= first.frameBytes;
    DecodeFrameHeader(newFirstHeader, first);
    table_.assign(1, SeekEntry{0, 0, newFirstHeader});
}

bool Mp3Stream::CountFrames(bool xingFrame, uint32_t xingFrames, uint32_t musicLength, bool hasVbri, uint32_t vbriFrames)
{
    const uint32_t spf = first.samplesPerFrame;
    const uint64_t itunesTotal = uint64_t{tags.itunesDelay} + tags.itunesPadding + tags.itunesSamples;
    if (tags.hasItunes && tags.itunesDelay != 0 && tags.itunesPadding != 0 && itunesTotal % spf == 0 &&
        itunesTotal / spf <= UINT32_MAX) {
        totalFrames = static_cast<uint32_t>(itunesTotal / spf);
        encoderDelay = tags.itunesDelay;
        encoderPadding = tags.itunesPadding;
    } else if (hasLameTag) {
        totalFrames = xingFrames;
        if (musicLength != 0 && musicLength < audioSize) {
            audioSize = musicLength;
        }
    } else if (hasVbri) {
        totalFrames = vbriFrames;
    }
    // The decoder never outputs a Xing/Info frame, so it is never counted as audio.
    if (xingFrame) {
        SeekEntry second;
        if (!FindFrame(1, second)) {
            return false;
        }
        DropFirstFrame(second.header);
    }
    if (totalFrames == 0) {
        totalFrames = Walk(kWalkToEnd).frame + 1;
    }
    totalSamples = uint64_t{totalFrames} * spf;
    return true;
}

bool Mp3Stream::Parse(bool full)
{
    audioStart = 0;
    audioSize = reader_.Size();
    ReadTags();
    if (!FindFirstFrame()) {
        return false;
    }
    table_.assign(1, SeekEntry{0, 0, first.word});
    const auto frame = reader_.View(audioStart, kFirstFrameViewBytes);
    const XingInfo xing = ParseXingHeader(frame, first);
    hasLameTag = xing.hasLame;
    if (hasLameTag) {
        encoderDelay = xing.delay;
        encoderPadding = xing.padding;
    }
    const auto vbri = hasLameTag ? std::nullopt : ParseVbriFrameCount(frame, first);
    if (!full) {
        return true;
    }
    return CountFrames(xing.found, xing.frames, xing.musicLength, vbri.has_value(), vbri.value_or(0));
}

} // namespace sonavel
