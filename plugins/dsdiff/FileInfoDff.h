#pragma once

#include "FileInfoDsd.h"

#include <cstdint>
#include <span>

namespace sonavel::dsd {

// The DSDIFF (.dff) reader: walks the chunks once, finds the uncompressed sound data and its
// layout, and collects the texts of the DSDIFF text chunks and of an embedded ID3v2 tag.
class CFileInfo_DFF : public CFileInfo_DSD {
public:
    int32_t NarrowName(char* buffer, int32_t capacity) override;
    int32_t NarrowExtension(char* buffer, int32_t capacity) override;
    int32_t NarrowVersion(char* buffer, int32_t capacity) override;
    int32_t WideName(char16_t* buffer, int32_t capacity) override;
    int32_t WideExtension(char16_t* buffer, int32_t capacity) override;
    int32_t WideVersion(char16_t* buffer, int32_t capacity) override;
    int32_t FrameGranularity(int32_t* out) override;
    int32_t Parse() override;
    int32_t ReadDopWords(void** data, uint32_t* bytes) override;
    int32_t ReadNativeWords(void** data, uint32_t* bytes) override;

    // The values found in the ID3 tag, which win over the DSDIFF texts.
    DsdText id3Title;
    DsdText id3Artist;
    DsdText id3Album;
    DsdText id3Track;

private:
    bool ReadComments();
    bool ReadTextChunk(uint64_t size, DsdText& text);
    void ReadId3Chunk(uint64_t size);
    void ParseId3(std::span<const uint8_t> tag);
    void BuildTagTable();
};

} // namespace sonavel::dsd
