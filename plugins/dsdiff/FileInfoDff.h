#pragma once

#include "FileInfoDsd.h"
#include "Id3Tag.h"

#include <cstdint>

namespace sonavel::dsd {

// The DSDIFF (.dff) reader: walks the chunks once, finds the uncompressed sound data and its
// layout, and collects the texts of the DSDIFF text chunks and of an embedded ID3v2 tag.
class CFileInfo_DFF : public CFileInfo_DSD {
public:
    CFileInfo_DFF() : CFileInfo_DSD({"DFF Plugin", "DFF", "1.0.5"}) {}

    int32_t FrameGranularity(int32_t* out) override;
    int32_t Parse() override;
    int32_t ReadDopWords(void** data, uint32_t* bytes) override;
    int32_t ReadNativeWords(void** data, uint32_t* bytes) override;

    // The values found in the ID3 tag, which win over the DSDIFF texts.
    plugin::Id3Texts id3;

private:
    bool ReadComments();
    bool ReadTextChunk(uint64_t size, plugin::TagText& text);
    void ReadId3Chunk(uint64_t size);
};

} // namespace sonavel::dsd
