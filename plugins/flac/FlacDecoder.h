#pragma once

#include "PcmDecoder.h"

#include <FLAC/stream_decoder.h>

#include <cstdint>
#include <vector>

namespace sonavel::flac {

// The FLAC reader: libFLAC's stream decoder over the plug-in's byte source. The stream info gives
// the layout and length, the Vorbis comment block the title and artist (UTF-8). Decoding runs
// forward from the last position and seeks to the exact sample otherwise.
class FlacDecoder : public pcm::PcmDecoder {
public:
    FlacDecoder() = default;
    ~FlacDecoder() override;

    pcm::PluginTexts Texts() const override;
    int32_t Parse(plugin::PluginSource& source, pcm::PcmStream& stream) override;
    int32_t Decode(uint64_t first, uint32_t count, uint8_t* out, uint32_t* written) override;
    void Close() override;

private:
    static FLAC__StreamDecoderReadStatus OnRead(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* self);
    static FLAC__StreamDecoderSeekStatus OnSeek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* self);
    static FLAC__StreamDecoderTellStatus OnTell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* self);
    static FLAC__StreamDecoderLengthStatus OnLength(const FLAC__StreamDecoder*, FLAC__uint64* length, void* self);
    static FLAC__bool OnEof(const FLAC__StreamDecoder*, void* self);
    static FLAC__StreamDecoderWriteStatus OnWrite(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                  const FLAC__int32* const buffer[], void* self);
    static void OnMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* self);
    static void OnError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

    void TakeComment(const FLAC__StreamMetadata_VorbisComment_Entry& entry);
    // Moves up to `count` decoded frames from the pending block into `out`; the frames moved.
    uint32_t TakePending(uint8_t* out, uint32_t count);

    FLAC__StreamDecoder* decoder_ = nullptr;
    plugin::PluginSource* source_ = nullptr;
    pcm::PcmStream* stream_ = nullptr;
    bool streamInfoSeen_ = false;
    // Set by the write callback when a frame does not match the stream's layout.
    bool badFrame_ = false;
    uint32_t bits_ = 0;
    uint32_t channels_ = 0;
    uint32_t frameBytes_ = 0;
    // Decoded frames not yet delivered, packed as delivered, and the frame number of the first.
    std::vector<uint8_t> pending_;
    size_t pendingOffset_ = 0;
    uint64_t nextFrame_ = 0;
};

} // namespace sonavel::flac
