#include "sources/Mp3Decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mpg123.h>
#include <mutex>
#include <vector>

namespace sonavel {

namespace {

// Frames decoded before a seek target and discarded, so that the bit reservoir, the overlap of
// the transform and the synthesis filter are filled exactly as in a decode from the start.
constexpr uint32_t kSeekPrerollFrames = 8;

void InitLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

Mp3Decoder::Mp3Decoder(CSmartFileReader& reader, Mp3Stream& stream) : reader_(reader), stream_(stream) {}

Mp3Decoder::~Mp3Decoder()
{
    if (handle_ != nullptr) {
        mpg123_delete(handle_);
    }
}

bool Mp3Decoder::Open()
{
    InitLibrary();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) {
        return false;
    }
    const long channels = Channels() == 1 ? MPG123_MONO : MPG123_STEREO;
    if (mpg123_param(handle_, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0) != MPG123_OK ||
        mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0) != MPG123_OK || mpg123_format_none(handle_) != MPG123_OK ||
        mpg123_format(handle_, stream_.first.sampleRate, static_cast<int>(channels), MPG123_ENC_SIGNED_16) != MPG123_OK) {
        return false;
    }
    return Seek(0);
}

bool Mp3Decoder::Restart()
{
    output_ = {};
    readPos_ = 0;
    return mpg123_open_feed(handle_) == MPG123_OK;
}

bool Mp3Decoder::Seek(uint64_t t)
{
    if (failed_ || handle_ == nullptr) {
        return false;
    }
    const uint32_t spf = stream_.first.samplesPerFrame;
    const uint64_t target = t / spf;
    const uint32_t startFrame = static_cast<uint32_t>(target > kSeekPrerollFrames ? target - kSeekPrerollFrames : 0);
    Mp3Stream::SeekEntry entry;
    if (target > UINT32_MAX || !stream_.FindFrame(startFrame, entry) || !Restart()) {
        return false;
    }
    consumed_ = entry.offset;
    produced_ = uint64_t{startFrame} * spf;
    skipSamples_ = stream_.encoderDelay + (t - produced_) + kDecoderDelay;
    position_ = t;
    return true;
}

bool Mp3Decoder::FeedWindow()
{
    const uint64_t left = stream_.audioSize - std::min(consumed_, stream_.audioSize);
    if (left == 0) {
        return false;
    }
    const auto window = reader_.View(stream_.audioStart + consumed_, static_cast<uint32_t>(std::min<uint64_t>(left, reader_.BufferBytes())));
    if (window.empty() || mpg123_feed(handle_, window.data(), window.size()) != MPG123_OK) {
        failed_ = true;
        return false;
    }
    consumed_ += window.size();
    return true;
}

bool Mp3Decoder::DecodeFrame()
{
    for (;;) {
        off_t frame = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(handle_, &frame, &audio, &bytes);
        if (bytes > 0) {
            // The decoder's own buffer, valid until the next call.
            output_ = std::span<const uint8_t>(audio, bytes);
            readPos_ = 0;
            produced_ += bytes / BlockAlign();
            return true;
        }
        if (result == MPG123_NEED_MORE) {
            if (!FeedWindow()) {
                return false;
            }
        } else if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            // The end of the stream, or a broken frame: what came before it stays.
            consumed_ = stream_.audioSize;
            return false;
        }
    }
}

void Mp3Decoder::Trim()
{
    const uint32_t align = BlockAlign();
    const uint64_t unread = (output_.size() - readPos_) / align;
    const uint64_t front = std::min(skipSamples_, unread);
    readPos_ += static_cast<size_t>(front * align);
    skipSamples_ -= front;

    const uint64_t padding = stream_.encoderPadding > kDecoderDelay ? stream_.encoderPadding - kDecoderDelay : 0;
    const uint64_t endLimit = stream_.totalSamples > padding ? stream_.totalSamples - padding : 0;
    if (produced_ > endLimit) {
        const uint64_t excess = std::min(produced_ - endLimit, (output_.size() - readPos_) / align);
        output_ = output_.first(output_.size() - static_cast<size_t>(excess * align));
        produced_ -= excess;
    }
}

bool Mp3Decoder::Decode(std::span<uint8_t> target, uint64_t samples, uint64_t& decoded)
{
    decoded = 0;
    if (failed_ || handle_ == nullptr) {
        return false;
    }
    const uint32_t align = BlockAlign();
    samples = std::min<uint64_t>(samples, target.size() / align);
    while (decoded < samples) {
        if (output_.size() - readPos_ < align) {
            if (!DecodeFrame()) {
                return !failed_;
            }
            Trim();
        }
        const uint64_t unread = (output_.size() - readPos_) / align;
        const uint64_t take = std::min(unread, samples - decoded);
        std::memcpy(target.data() + decoded * align, output_.data() + readPos_, static_cast<size_t>(take * align));
        readPos_ += static_cast<size_t>(take * align);
        decoded += take;
        position_ += take;
    }
    return true;
}

void Mp3Decoder::MeasureSilence(double thresholdDb)
{
    if (Channels() > 2) {
        return;
    }
    const double level = std::pow(10.0, std::clamp(thresholdDb, -96.0, 0.0) / 20.0);
    const int32_t amplitude = static_cast<int32_t>(level * 32767);
    const uint64_t usable = stream_.totalSamples;
    const uint64_t edge = std::min<uint64_t>(stream_.first.sampleRate, usable);
    if (edge == 0) {
        return;
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(edge * BlockAlign()));
    // Sample frames from one end of the decoded edge whose every channel is at most amplitude.
    auto quiet = [&](uint64_t count, bool fromEnd) -> uint64_t {
        if (amplitude == 0) {
            return 0;
        }
        const auto* pcm = reinterpret_cast<const int16_t*>(buffer.data());
        uint64_t n = 0;
        while (n < count) {
            const uint64_t frame = fromEnd ? count - 1 - n : n;
            bool loud = false;
            for (uint16_t c = 0; c < Channels(); ++c) {
                int16_t sample = 0;
                std::memcpy(&sample, pcm + frame * Channels() + c, sizeof(sample));
                loud = loud || std::abs(int32_t{sample}) > amplitude;
            }
            if (loud) {
                break;
            }
            ++n;
        }
        return n;
    };
    uint64_t got = 0;
    if (!Seek(0) || !Decode(buffer, edge, got)) {
        return;
    }
    uint64_t leading = quiet(got, false);
    if (!Seek(usable - edge) || !Decode(buffer, edge, got)) {
        return;
    }
    uint64_t trailing = quiet(got, true);
    leading = std::min(leading, usable - 1);
    trailing = std::min(trailing, usable - leading - 1);
    stream_.encoderDelay = leading > kDecoderDelay ? static_cast<uint32_t>(leading - kDecoderDelay) : 0;
    stream_.encoderPadding = static_cast<uint32_t>(trailing + kDecoderDelay);
}

} // namespace sonavel
