#pragma once

#include "PluginSource.h"
#include "TagText.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sonavel::dsd {

// An open DSD file: where its sound data lies, its layout and texts, and the delivery of that
// data in one of two word layouts. Format readers derive from it and supply the parse.
class CFileInfo_DSD {
public:
    enum WordKind : uint32_t { kDopWords = 1, kNativeWords = 2 };
    // The display texts of a format (ASCII), answered in narrow and in wide form.
    struct FormatTexts {
        std::string name;
        std::string extension;
        std::string version;
    };

    CFileInfo_DSD() = default;
    explicit CFileInfo_DSD(FormatTexts texts) : texts_(std::move(texts)) {}
    CFileInfo_DSD(const CFileInfo_DSD&) = delete;
    CFileInfo_DSD& operator=(const CFileInfo_DSD&) = delete;
    virtual ~CFileInfo_DSD() = default;

    virtual int32_t NarrowName(char* buffer, int32_t capacity);
    virtual int32_t NarrowExtension(char* buffer, int32_t capacity);
    virtual int32_t NarrowVersion(char* buffer, int32_t capacity);
    virtual int32_t WideName(char16_t* buffer, int32_t capacity);
    virtual int32_t WideExtension(char16_t* buffer, int32_t capacity);
    virtual int32_t WideVersion(char16_t* buffer, int32_t capacity);
    virtual int32_t FrameGranularity(int32_t* out);
    virtual int32_t GetTagTable(const void** out);
    virtual int32_t Parse();
    virtual int32_t ReadDopWords(void** data, uint32_t* bytes);
    virtual int32_t ReadNativeWords(void** data, uint32_t* bytes);

    // Forgets the open file: buffer, source, sizes, layout and texts.
    void Reset();
    // The caller is done with the words of the last read; the memory stays for the next one.
    void FreeReadBuffer() { readBytes_ = 0; holdsReadBuffer_ = false; }
    bool HoldsReadBuffer() const { return holdsReadBuffer_; }

    uint32_t wordKind = kDopWords;
    uint32_t bytesPerWord = 2;
    plugin::PluginSource source;
    uint64_t formSize = 0;
    uint64_t dataOffset = 0;
    uint64_t dataSize = 0;
    uint64_t rangeFirst = 0;
    uint64_t rangeLast = 0;
    uint32_t rangeCount = 0;
    plugin::TagMap tagTable;
    uint32_t sampleRate = 0;
    uint16_t channelCount = 0;
    uint32_t channelMask = 0;
    plugin::TagText title;
    plugin::TagText artist;
    plugin::TagText album;
    plugin::TagText track;

protected:
    // Reads the range from sound data interleaved by byte (one byte per channel in turn, the
    // earliest sample in each byte's top bit) as DSD-over-PCM words or as native words.
    int32_t ReadInterleavedDop(void** data, uint32_t* bytes);
    int32_t ReadInterleavedNative(void** data, uint32_t* bytes);
    // Fills `target` with up to n bytes of the sound data in that interleaved order, starting at
    // interleaved byte `start` (a whole number of frames; n keeps within dataSize) and sets *got to
    // the count delivered; false when the source cannot be positioned there. The sound data lies
    // interleaved at dataOffset unless a format reader says otherwise.
    virtual bool FetchInterleaved(uint64_t start, uint64_t n, uint8_t* target, uint64_t* got);
    // Rebuilds the tag table from the four texts.
    void BuildTagTable();

private:
    // Reads the range's input bytes and converts them frame by frame into output words.
    template <typename Convert>
    int32_t ReadWords(void** data, uint32_t* bytes, Convert convert);

    // Grows the buffer to `bytes`; false when memory is short.
    static bool Reserve(std::unique_ptr<uint8_t[]>& buffer, uint64_t& capacity, uint64_t bytes);

    FormatTexts texts_;
    // Kept from read to read: a read is a second of audio, and fresh pages for each cost more
    // than the conversion.
    std::unique_ptr<uint8_t[]> inputBuffer_;
    uint64_t inputCapacity_ = 0;
    std::unique_ptr<uint8_t[]> readBuffer_;
    uint64_t readCapacity_ = 0;
    uint32_t readBytes_ = 0;
    bool holdsReadBuffer_ = false;
};

} // namespace sonavel::dsd
