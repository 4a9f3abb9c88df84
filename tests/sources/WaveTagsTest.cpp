#include "tests/sources/WaveTestSupport.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace sonavel {
namespace {

using test::CountingBytes;
using test::MakeId3Tag;
using test::OpenWaveBytes;
using test::TempDir;
using test::WaveBuilder;

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

class WaveTagsTest : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("SONAVEL_LEGACY_CODEPAGE"); }

    MusicTrackInfo Open(WaveBuilder& builder)
    {
        auto wave = OpenWaveBytes(dir_, builder.Format(1, 2, 44100, 16).Data(CountingBytes(1764)).Build());
        EXPECT_EQ(wave.result, kResultOk);
        return wave.info;
    }

    TempDir dir_;
};

TEST_F(WaveTagsTest, InfoTextsInUtf8Cp1252AndShiftJis)
{
    struct Case {
        std::string artist;
        std::string title;
        std::u16string_view expectedArtist;
        std::u16string_view expectedTitle;
    };
    const Case cases[] = {
        {"Bj\xc3\xb6rk", "J\xc3\xb3ga", u"Bj\u00f6rk", u"J\u00f3ga"},
        {"Caf\xe9 M\xfcller", "Tr\xe4umerei", u"Caf\u00e9 M\u00fcller", u"Tr\u00e4umerei"},
        {"\x8d\xb2\x93\xa1\x82\xdc\x82\xe8\x82\xa9\x81\x40\x82\xc6\x89\xb9\x8a\x79", "\x93\x8c\x8b\x9e\x82\xcc\x96\xe9\x81\x40\x82\xa0\x82\xc8\x82\xbd\x82\xc6\x88\xea\x8f\x8f\x82\xc9",
         u"\u4f50\u85e4\u307e\u308a\u304b\u3000\u3068\u97f3\u697d", u"\u6771\u4eac\u306e\u591c\u3000\u3042\u306a\u305f\u3068\u4e00\u7dd2\u306b"},
    };
    for (const Case& c : cases) {
        WaveBuilder builder;
        builder.InfoList({{"IART", c.artist}, {"INAM", c.title}});
        const MusicTrackInfo info = Open(builder);
        EXPECT_EQ(info.artist, c.expectedArtist);
        EXPECT_EQ(info.title, c.expectedTitle);
    }
}

TEST_F(WaveTagsTest, Id3ChunkWinsAndInfoFillsTheRest)
{
    const std::vector<uint8_t> utf16Title{0xFF, 0xFE, 'S', 0, 'o', 0, 'n', 0, 'g', 0};
    WaveBuilder builder;
    builder.InfoList({{"IART", "Info Artist"}, {"INAM", "Info Title"}})
        .Id3Chunk(MakeId3Tag({{"TIT2", 1, utf16Title}}));
    MusicTrackInfo info = Open(builder);
    EXPECT_EQ(info.title, u"Song");
    EXPECT_EQ(info.artist, u"Info Artist");

    WaveBuilder both;
    both.Id3Chunk(MakeId3Tag({{"TXXX", 3, Bytes("ignored")}, {"tpe1", 3, Bytes("Art\xc3\xa9")}, {"TIT2", 0, Bytes("Ti")}}))
        .InfoList({{"IART", "x"}, {"INAM", "y"}});
    info = Open(both);
    EXPECT_EQ(info.artist, u"Art\u00e9");
    EXPECT_EQ(info.title, u"Ti");
}

TEST_F(WaveTagsTest, LongInfoTextKeepsItsFirst512Bytes)
{
    WaveBuilder builder;
    builder.InfoList({{"IART", std::string(600, 'a')}});
    EXPECT_EQ(Open(builder).artist, std::u16string(512, u'a'));
}

TEST_F(WaveTagsTest, BrokenTagsLeaveFieldsEmptyButTheFileOpens)
{
    auto truncatedTag = MakeId3Tag({{"TIT2", 3, Bytes("Title")}});
    truncatedTag.resize(truncatedTag.size() - 2);
    auto frameTooLong = MakeId3Tag({{"TIT2", 3, Bytes("Title")}});
    frameTooLong[14] = 0x7F;
    const std::vector<std::vector<uint8_t>> tags = {
        truncatedTag,
        frameTooLong,
        {'I', 'D', '3'},
        Bytes("not a tag at all"),
        MakeId3Tag({{"TIT2", 1, {0xFF}}}),
    };
    for (const auto& tag : tags) {
        WaveBuilder builder;
        builder.Id3Chunk(tag);
        const MusicTrackInfo info = Open(builder);
        EXPECT_TRUE(info.artist.empty());
    }
    WaveBuilder emptyList;
    emptyList.Chunk("LIST", Bytes("IN"));
    EXPECT_TRUE(Open(emptyList).title.empty());
}

} // namespace
} // namespace sonavel
