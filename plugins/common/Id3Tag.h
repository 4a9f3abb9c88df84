#pragma once

#include "TagText.h"

#include <cstdint>
#include <span>

namespace sonavel::plugin {

// The texts an ID3v2 tag can give; a text already filled is kept.
struct Id3Texts {
    TagText title;
    TagText artist;
    TagText album;
    TagText track;

    void Clear()
    {
        title.Clear();
        artist.Clear();
        album.Clear();
        track.Clear();
    }
};

// Reads the title, artist, album and track frames of an ID3v2.2, 2.3 or 2.4 tag (header
// included). Compressed, encrypted or grouped frames and tags of other versions are passed over;
// a frame larger than what remains of the tag ends it.
void ParseId3v2(std::span<const uint8_t> tag, Id3Texts& texts);

} // namespace sonavel::plugin
