#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sonavel {

// Texts and gapless data taken from an MP3 file's ID3 tags.
struct Mp3Tags {
    std::u16string title;
    std::u16string artist;
    std::u16string album;
    int32_t trackNumber = 0;
    // The iTunes gapless comment ("iTunSMPB"), when found.
    bool hasItunes = false;
    uint32_t itunesDelay = 0;
    uint32_t itunesPadding = 0;
    uint64_t itunesSamples = 0;
};

// Size of the ID3v2 tag whose 10-byte header is given (header included); 0 when it is none.
uint64_t Id3v2TagBytes(std::span<const uint8_t> header);

// Parses a whole ID3v2.2/2.3/2.4 tag; false (and `out` untouched) when the tag is broken or of
// another version, so that none of its texts are used.
bool ParseId3v2Tag(std::span<const uint8_t> tag, Mp3Tags& out);

// Size of the ID3v1 tag at the end of an audio region (128, or 355 with a TAG+ block in front of
// it), given the region's last bytes (up to 355); 0 without a tag. Fills title, artist and album.
uint32_t ParseId3v1Tag(std::span<const uint8_t> regionEnd, Mp3Tags& out);

// The numbers of an iTunSMPB comment text: delay, padding and original sample count.
bool ParseItunesGapless(std::string_view text, Mp3Tags& out);

} // namespace sonavel
