#include "sources/Mp3FrameHeader.h"
#include "sources/Mp3Tags.h"
#include "sources/Mp3VbrHeaders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <vector>

namespace sonavel {
namespace {

TEST(Mp3FrameHeaderTest, DecodesTheStandardRowsAndRejectsReservedFields)
{
    struct Case {
        uint32_t word;
        bool valid;
        uint32_t rate;
        uint32_t bitrate;
        uint32_t spf;
        uint32_t bytes;
        uint16_t channels;
    };
    const Case cases[] = {
        {0xFFFB9064, true, 44100, 128000, 1152, 417, 2},  // MPEG-1 L3 128k 44.1k
        {0xFFFB9264, true, 44100, 128000, 1152, 418, 2},  // with padding
        {0xFFFBA4C4, true, 48000, 160000, 1152, 480, 1},  // mono
        {0xFFF3A4C4, true, 24000, 96000, 576, 288, 1},    // MPEG-2 L3
        {0xFFE31000, true, 11025, 8000, 576, 52, 2},      // MPEG-2.5 L3
        {0xFFFDA400, true, 48000, 192000, 1152, 576, 2},  // MPEG-1 L2
        {0xFFFF9000, true, 44100, 288000, 384, 312, 2},   // MPEG-1 L1
        {0xFFEB9000, false, 0, 0, 0, 0, 0},                // reserved version
        {0xFFF99000, false, 0, 0, 0, 0, 0},                // reserved layer
        {0xFFFB0000, false, 0, 0, 0, 0, 0},                // free format
        {0xFFFBF000, false, 0, 0, 0, 0, 0},                // bitrate 15
        {0xFFFB9C00, false, 0, 0, 0, 0, 0},                // rate 3
        {0xFFFB9002, false, 0, 0, 0, 0, 0},                // emphasis 2
        {0xFFCB9000, false, 0, 0, 0, 0, 0},                // too few sync bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        Mp3FrameHeader header;
        ASSERT_EQ(DecodeFrameHeader(c.word, header), c.valid);
        if (c.valid) {
            EXPECT_EQ(header.sampleRate, c.rate);
            EXPECT_EQ(header.bitrate, c.bitrate);
            EXPECT_EQ(header.samplesPerFrame, c.spf);
            EXPECT_EQ(header.frameBytes, c.bytes);
            EXPECT_EQ(header.channels, c.channels);
        }
    }
}

TEST(Mp3TagsTest, Id3v2VersionsAndOverrunningFrames)
{
    auto v23 = [](std::vector<std::pair<std::string, std::string>> frames, uint8_t version) {
        std::vector<uint8_t> body;
        for (const auto& [id, text] : frames) {
            const uint32_t size = static_cast<uint32_t>(text.size() + 1);
            body.insert(body.end(), id.begin(), id.end());
            for (int shift = 24; shift >= 0; shift -= 8) {
                body.push_back(static_cast<uint8_t>(version == 4 ? (size >> (shift * 7 / 8)) & 0x7F : size >> shift));
            }
            body.insert(body.end(), {0, 0, 3});
            body.insert(body.end(), text.begin(), text.end());
        }
        body.insert(body.end(), 20, 0);
        const uint8_t header[10] = {'I', 'D', '3', version, 0, 0, 0, 0, 0, static_cast<uint8_t>(body.size())};
        std::vector<uint8_t> tag(std::begin(header), std::end(header));
        std::copy(body.begin(), body.end(), std::back_inserter(tag));
        return tag;
    };
    Mp3Tags tags;
    ASSERT_TRUE(ParseId3v2Tag(v23({{"TIT2", "Title"}, {"TPE1", "Artist"}, {"TALB", "Album"}, {"TRCK", "4/9"}}, 3), tags));
    EXPECT_EQ(tags.title, u"Title");
    EXPECT_EQ(tags.trackNumber, 4);
    Mp3Tags v24;
    ASSERT_TRUE(ParseId3v2Tag(v23({{"tit2", "Vier"}}, 4), v24));
    EXPECT_EQ(v24.title, u"Vier");

    auto overrun = v23({{"TIT2", "Kept out"}, {"TPE1", "Last"}}, 3);
    overrun[10 + 10 + 9 + 7] = 0x7F;
    Mp3Tags kept;
    kept.title = u"from ID3v1";
    EXPECT_FALSE(ParseId3v2Tag(overrun, kept));
    EXPECT_EQ(kept.title, u"from ID3v1");
    std::vector<uint8_t> v25 = v23({{"TIT2", "x"}}, 5);
    EXPECT_FALSE(ParseId3v2Tag(v25, kept));
    EXPECT_FALSE(ParseId3v2Tag(std::vector<uint8_t>{'I', 'D', '3'}, kept));
}

TEST(Mp3TagsTest, Id3v1AndTheExtendedBlock)
{
    std::vector<uint8_t> end(400, 0);
    std::memcpy(end.data() + 400 - 128, "TAGTitle with spaces   ", 23);
    std::memcpy(end.data() + 400 - 128 + 33, "Artist", 6);
    Mp3Tags tags;
    EXPECT_EQ(ParseId3v1Tag(end, tags), 128u);
    EXPECT_EQ(tags.title, u"Title with spaces");
    EXPECT_EQ(tags.artist, u"Artist");
    std::memcpy(end.data() + 400 - 355, "TAG+", 4);
    EXPECT_EQ(ParseId3v1Tag(end, tags), 355u);
    EXPECT_EQ(ParseId3v1Tag(std::span(end).first(127), tags), 0u);
}

TEST(Mp3TagsTest, ItunesNumbers)
{
    Mp3Tags tags;
    ASSERT_TRUE(ParseItunesGapless("  00000000 00000210 000003C4 00000000002A5A3C 00000000", tags));
    EXPECT_EQ(tags.itunesDelay, 0x210u);
    EXPECT_EQ(tags.itunesPadding, 0x3C4u);
    EXPECT_EQ(tags.itunesSamples, 0x2A5A3Cu);
    Mp3Tags none;
    EXPECT_FALSE(ParseItunesGapless("00000000 00000210", none));
    EXPECT_FALSE(none.hasItunes);
}

TEST(Mp3VbrHeadersTest, VbriFrameCountAndCrc)
{
    EXPECT_EQ(Crc16Arc(std::vector<uint8_t>{'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xBB3D);
    Mp3FrameHeader header;
    ASSERT_TRUE(DecodeFrameHeader(0xFFFB9064, header));
    std::vector<uint8_t> frame(header.frameBytes, 0);
    std::memcpy(frame.data() + 36, "VBRI", 4);
    frame[36 + 14 + 2] = 0x01;
    frame[36 + 14 + 3] = 0x2C;
    frame[36 + 23] = 2;
    EXPECT_EQ(ParseVbriFrameCount(frame, header), 300u);
    frame[36 + 23] = 5;
    EXPECT_FALSE(ParseVbriFrameCount(frame, header));
    EXPECT_FALSE(ParseXingHeader(frame, header).found);
}

} // namespace
} // namespace sonavel
