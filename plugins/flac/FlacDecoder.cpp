#include "FlacDecoder.h"

#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace sonavel::flac {

namespace {

constexpr uint32_t kMaxChannels = 8;

FlacDecoder& Self(void* self)
{
    return *static_cast<FlacDecoder*>(self);
}

bool IsKey(std::string_view entry, std::string_view key)
{
    return entry.size() > key.size() && entry[key.size()] == '=' &&
           std::equal(key.begin(), key.end(), entry.begin(), [](char a, char b) { return a == (b & ~0x20); });
}

// Packs one channel's samples left-justified into `bytes`-byte little-endian slots `stride` apart.
template <int Bytes>
void PackChannel(const FLAC__int32* samples, uint32_t count, uint32_t shift, uint8_t* out, size_t stride)
{
    for (uint32_t i = 0; i < count; ++i, out += stride) {
        const uint32_t v = static_cast<uint32_t>(samples[i]) << shift;
        if constexpr (Bytes == 1) {
            out[0] = static_cast<uint8_t>(v ^ 0x80);
        } else {
            for (int b = 0; b < Bytes; ++b) {
                out[b] = static_cast<uint8_t>(v >> (8 * b));
            }
        }
    }
}

} // namespace

FlacDecoder::~FlacDecoder()
{
    Close();
}

pcm::PluginTexts FlacDecoder::Texts() const
{
    return {u"FLAC Plugin", u"FLAC", u"1.0.0"};
}

void FlacDecoder::Close()
{
    if (decoder_ != nullptr) {
        FLAC__stream_decoder_delete(decoder_);
    }
    decoder_ = nullptr;
    source_ = nullptr;
    stream_ = nullptr;
    streamInfoSeen_ = false;
    badFrame_ = false;
    bits_ = channels_ = frameBytes_ = 0;
    pending_.clear();
    pendingOffset_ = 0;
    nextFrame_ = 0;
}

int32_t FlacDecoder::Parse(plugin::PluginSource& source, pcm::PcmStream& stream)
{
    Close();
    decoder_ = FLAC__stream_decoder_new();
    if (decoder_ == nullptr) {
        return PPI_FAIL;
    }
    source_ = &source;
    stream_ = &stream;
    FLAC__stream_decoder_set_metadata_respond(decoder_, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    const bool ready = FLAC__stream_decoder_init_stream(decoder_, OnRead, OnSeek, OnTell, OnLength, OnEof, OnWrite,
                                                        OnMetadata, OnError, this) == FLAC__STREAM_DECODER_INIT_STATUS_OK &&
                       FLAC__stream_decoder_process_until_end_of_metadata(decoder_);
    stream_ = nullptr;
    if (!ready || !streamInfoSeen_ || stream.totalFrames == 0) {
        return PPI_FAIL;
    }
    return PPI_OK;
}

void FlacDecoder::OnMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* self)
{
    FlacDecoder& me = Self(self);
    if (me.stream_ == nullptr) {
        return;
    }
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO) {
        const FLAC__StreamMetadata_StreamInfo& info = metadata->data.stream_info;
        if (info.channels == 0 || info.channels > kMaxChannels || info.bits_per_sample < 4 || info.bits_per_sample > 32 ||
            info.sample_rate == 0) {
            return;
        }
        me.bits_ = info.bits_per_sample;
        me.channels_ = info.channels;
        me.stream_->sampleRate = info.sample_rate;
        me.stream_->channels = static_cast<uint16_t>(info.channels);
        me.stream_->bytesPerSample = static_cast<uint16_t>((info.bits_per_sample + 7) / 8);
        me.stream_->totalFrames = info.total_samples;
        me.frameBytes_ = info.channels * me.stream_->bytesPerSample;
        me.streamInfoSeen_ = true;
    } else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT) {
        const FLAC__StreamMetadata_VorbisComment& comments = metadata->data.vorbis_comment;
        for (FLAC__uint32 i = 0; i < comments.num_comments; ++i) {
            me.TakeComment(comments.comments[i]);
        }
    }
}

void FlacDecoder::TakeComment(const FLAC__StreamMetadata_VorbisComment_Entry& entry)
{
    if (entry.entry == nullptr) {
        return;
    }
    const std::string_view text(reinterpret_cast<const char*>(entry.entry), entry.length);
    for (auto [key, target] : {std::pair{std::string_view("TITLE"), &stream_->title}, {std::string_view("ARTIST"), &stream_->artist}}) {
        if (target->Empty() && IsKey(text, key) && text.size() > key.size() + 1) {
            plugin::SetTextForHost(*target, entry.entry + key.size() + 1, text.size() - key.size() - 1, 3);
        }
    }
}

FLAC__StreamDecoderReadStatus FlacDecoder::OnRead(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* self)
{
    plugin::PluginSource& source = *Self(self).source_;
    if (*bytes == 0) {
        return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    }
    // A memory image reads all or nothing, so ask only for what is left.
    const uint64_t left = source.Position() < source.Size() ? source.Size() - source.Position() : 0;
    *bytes = static_cast<size_t>(source.Read(buffer, std::min<uint64_t>(*bytes, left)));
    if (*bytes > 0) {
        return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    }
    return source.Position() >= source.Size() ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_ABORT;
}

FLAC__StreamDecoderSeekStatus FlacDecoder::OnSeek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* self)
{
    plugin::PluginSource& source = *Self(self).source_;
    return offset <= source.Size() && source.GoTo(offset) ? FLAC__STREAM_DECODER_SEEK_STATUS_OK : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
}

FLAC__StreamDecoderTellStatus FlacDecoder::OnTell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* self)
{
    *offset = Self(self).source_->Position();
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus FlacDecoder::OnLength(const FLAC__StreamDecoder*, FLAC__uint64* length, void* self)
{
    *length = Self(self).source_->Size();
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool FlacDecoder::OnEof(const FLAC__StreamDecoder*, void* self)
{
    const plugin::PluginSource& source = *Self(self).source_;
    return source.Position() >= source.Size();
}

FLAC__StreamDecoderWriteStatus FlacDecoder::OnWrite(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                    const FLAC__int32* const buffer[], void* self)
{
    FlacDecoder& me = Self(self);
    const FLAC__FrameHeader& header = frame->header;
    if (header.channels != me.channels_ || header.bits_per_sample != me.bits_) {
        me.badFrame_ = true;
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    if (me.pendingOffset_ == me.pending_.size()) {
        me.pending_.clear();
        me.pendingOffset_ = 0;
    }
    const size_t start = me.pending_.size();
    me.pending_.resize(start + size_t{header.blocksize} * me.frameBytes_);
    const uint32_t bytes = me.frameBytes_ / header.channels;
    const uint32_t shift = 8 * bytes - me.bits_;
    for (uint32_t c = 0; c < header.channels; ++c) {
        uint8_t* out = me.pending_.data() + start + size_t{c} * bytes;
        switch (bytes) {
        case 1:
            PackChannel<1>(buffer[c], header.blocksize, shift, out, me.frameBytes_);
            break;
        case 2:
            PackChannel<2>(buffer[c], header.blocksize, shift, out, me.frameBytes_);
            break;
        case 3:
            PackChannel<3>(buffer[c], header.blocksize, shift, out, me.frameBytes_);
            break;
        default:
            PackChannel<4>(buffer[c], header.blocksize, shift, out, me.frameBytes_);
            break;
        }
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

uint32_t FlacDecoder::TakePending(uint8_t* out, uint32_t count)
{
    const size_t available = (pending_.size() - pendingOffset_) / frameBytes_;
    const uint32_t taken = static_cast<uint32_t>(std::min<size_t>(available, count));
    if (taken == 0) {
        return 0;
    }
    std::memcpy(out, pending_.data() + pendingOffset_, size_t{taken} * frameBytes_);
    pendingOffset_ += size_t{taken} * frameBytes_;
    nextFrame_ += taken;
    return taken;
}

int32_t FlacDecoder::Decode(uint64_t first, uint32_t count, uint8_t* out, uint32_t* written)
{
    *written = 0;
    if (decoder_ == nullptr || frameBytes_ == 0) {
        return PPI_FAIL;
    }
    if (first != nextFrame_) {
        // The seek delivers the frame that holds `first`, cut to start at it.
        pending_.clear();
        pendingOffset_ = 0;
        nextFrame_ = first;
        if (!FLAC__stream_decoder_seek_absolute(decoder_, first)) {
            FLAC__stream_decoder_flush(decoder_);
            pending_.clear();
            pendingOffset_ = 0;
            // The decoder's position is unknown now; the next decode seeks again.
            nextFrame_ = UINT64_MAX;
            return PPI_FAIL;
        }
    }
    uint32_t done = TakePending(out, count);
    while (done < count) {
        if (FLAC__stream_decoder_get_state(decoder_) == FLAC__STREAM_DECODER_END_OF_STREAM) {
            break;
        }
        if (!FLAC__stream_decoder_process_single(decoder_) || badFrame_) {
            nextFrame_ = UINT64_MAX;
            return PPI_FAIL;
        }
        done += TakePending(out + size_t{done} * frameBytes_, count - done);
    }
    *written = done;
    return PPI_OK;
}

} // namespace sonavel::flac
