#pragma once

#include "sources/Mp3Stream.h"
#include "sources/SmartFileReader.h"

#include <cstdint>
#include <memory>
#include <span>

struct mpg123_handle_struct;

namespace sonavel {

// Decodes an MP3 stream to 16-bit PCM with libmpg123 used as a plain frame decoder (no gapless
// handling of its own), fed from the audio region the parser found, and trims the encoder delay,
// the padding and the decoder's own delay so that the output is exactly the encoder's input.
// Positions are counted in these trimmed samples.
class Mp3Decoder {
public:
    // The decoder's output lags its input by this many samples.
    static constexpr uint32_t kDecoderDelay = 529;

    Mp3Decoder(CSmartFileReader& reader, Mp3Stream& stream);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    bool Open();
    uint16_t Channels() const { return stream_.first.channels; }
    uint32_t BlockAlign() const { return 2u * Channels(); }
    uint64_t Position() const { return position_; }
    // Places the decoder at trimmed sample t.
    bool Seek(uint64_t t);
    // Decodes up to `samples` sample frames into target (which must hold them); false on a decoder
    // failure, after which every call fails.
    bool Decode(std::span<uint8_t> target, uint64_t samples, uint64_t& decoded);
    // Measures leading and trailing silence below the threshold and takes it as delay and padding.
    void MeasureSilence(double thresholdDb);

private:
    bool Restart();
    // Gives the decoder the next window of the audio region; false at its end or on a read error.
    bool FeedWindow();
    // Decodes the next frame into output_ (counting it in produced_); false at the stream's end.
    bool DecodeFrame();
    void Trim();

    CSmartFileReader& reader_;
    Mp3Stream& stream_;
    mpg123_handle_struct* handle_ = nullptr;
    // The unread output of the last decoded frame, in the decoder's own buffer.
    std::span<const uint8_t> output_;
    size_t readPos_ = 0;
    uint64_t consumed_ = 0;
    uint64_t produced_ = 0;
    uint64_t skipSamples_ = 0;
    uint64_t position_ = 0;
    bool failed_ = false;
};

} // namespace sonavel
