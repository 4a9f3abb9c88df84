#include "tests/plugins/TesselModule.h"
#include "tests/support/DffBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <map>
#include <string>

namespace sonavel {
namespace {

using test::DffBuilder;
using test::TempDir;

std::u16string Wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

class PluginTesselTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_.Loaded()); }

    test::TesselModule::Instance OpenBytes(const std::vector<uint8_t>& file, int32_t* result = nullptr)
    {
        auto plugin = module_.Make();
        const auto path = dir_.Write("case" + std::to_string(count_++) + ".dff", file);
        const int32_t r = plugin->OpenFile(Wide(path.string()).c_str());
        if (result != nullptr) {
            *result = r;
        } else {
            EXPECT_EQ(r, PPI_OK);
        }
        return plugin;
    }

    std::vector<uint8_t> ReadRange(CPlayerPluginIF& plugin, uint64_t first, uint64_t last)
    {
        void* data = nullptr;
        uint32_t bytes = 0;
        EXPECT_EQ(plugin.SetRange(first, last), PPI_OK);
        EXPECT_EQ(plugin.Read(&data, &bytes), PPI_OK);
        const auto* p = static_cast<const uint8_t*>(data);
        std::vector<uint8_t> out(p, p + bytes);
        plugin.ReleaseReadBuffer();
        return out;
    }

    test::TesselModule module_;
    TempDir dir_;
    int count_ = 0;
};

TEST_F(PluginTesselTest, NamesAndFixedAnswers)
{
    auto plugin = module_.Make();
    char16_t buffer[100];
    ASSERT_EQ(plugin->GetName(buffer, 100), PPI_OK);
    EXPECT_EQ(std::u16string(buffer), u"DFF Plugin");
    ASSERT_EQ(plugin->GetExtension(buffer, 4), PPI_OK);
    EXPECT_EQ(std::u16string(buffer), u"DFF");
    ASSERT_EQ(plugin->GetVersion(buffer, 6), PPI_OK);
    EXPECT_EQ(std::u16string(buffer), u"1.0.5");
    EXPECT_EQ(plugin->GetName(buffer, 10), PPI_BAD_ARGUMENT);
    EXPECT_EQ(plugin->GetName(nullptr, 100), PPI_BAD_ARGUMENT);
    EXPECT_EQ(plugin->GetExtension(buffer, 0), PPI_BAD_ARGUMENT);
    int32_t flag = 0;
    EXPECT_EQ(plugin->IsMultiInstance(&flag), PPI_OK);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(plugin->IsDsd(&flag), PPI_OK);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(plugin->GetFrameGranularity(&flag), PPI_OK);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(plugin->SetOutputMode(2), PPI_BAD_ARGUMENT);
    EXPECT_EQ(plugin->IsDsd(nullptr), PPI_BAD_ARGUMENT);
    uint64_t frames = 0;
    EXPECT_EQ(plugin->GetTotalFrames(&frames), PPI_FAIL);
    EXPECT_EQ(plugin->SetRange(0, 1), PPI_FAIL);
}

TEST_F(PluginTesselTest, SizesAndFormatInBothLayouts)
{
    auto plugin = OpenBytes(DffBuilder().Properties(2822400, 2).Sound(test::CountingBytes(705600)).Build());
    uint64_t frames = 0;
    uint64_t bytes = 0;
    PpiWaveFormat format{};
    ASSERT_EQ(plugin->GetTotalFrames(&frames), PPI_OK);
    ASSERT_EQ(plugin->GetTotalBytes(&bytes), PPI_OK);
    ASSERT_EQ(plugin->GetFormat(&format), PPI_OK);
    EXPECT_EQ(frames, 176400u);
    EXPECT_EQ(bytes, 1411200u);
    EXPECT_EQ(format.nSamplesPerSec, 176400u);
    EXPECT_EQ(format.wBitsPerSample, 24);
    EXPECT_EQ(format.nBlockAlign, 8);

    ASSERT_EQ(plugin->SetOutputMode(PPI_MODE_NATIVE_DSD), PPI_OK);
    ASSERT_EQ(plugin->GetTotalFrames(&frames), PPI_OK);
    ASSERT_EQ(plugin->GetTotalBytes(&bytes), PPI_OK);
    ASSERT_EQ(plugin->GetFormat(&format), PPI_OK);
    EXPECT_EQ(frames, 88200u);
    EXPECT_EQ(bytes, 705600u);
    EXPECT_EQ(format.wFormatTag, 1);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.nSamplesPerSec, 88200u);
    EXPECT_EQ(format.nAvgBytesPerSec, 705600u);
    EXPECT_EQ(format.wBitsPerSample, 32);
    EXPECT_EQ(format.cbSize, 0);
}

TEST_F(PluginTesselTest, WordLayouts)
{
    // Channel 0 bytes 12 34, channel 1 bytes 56 78, interleaved by byte in the file.
    auto plugin = OpenBytes(DffBuilder().Properties(2822400, 2).Sound({0x12, 0x56, 0x34, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}).Build());
    EXPECT_EQ(ReadRange(*plugin, 0, 0), (std::vector<uint8_t>{0x00, 0x34, 0x12, 0x05, 0x00, 0x78, 0x56, 0x05}));
    // Every Read starts its markers at 0x05; within a Read they alternate.
    EXPECT_EQ(ReadRange(*plugin, 1, 1), (std::vector<uint8_t>{0x00, 0xDE, 0x9A, 0x05, 0x00, 0xF0, 0xBC, 0x05}));
    EXPECT_EQ(ReadRange(*plugin, 0, 1), (std::vector<uint8_t>{0x00, 0x34, 0x12, 0x05, 0x00, 0x78, 0x56, 0x05, 0x00, 0xDE, 0x9A, 0xFA, 0x00, 0xF0, 0xBC, 0xFA}));

    ASSERT_EQ(plugin->SetOutputMode(PPI_MODE_NATIVE_DSD), PPI_OK);
    EXPECT_EQ(ReadRange(*plugin, 0, 0), (std::vector<uint8_t>{0x12, 0x34, 0x9A, 0xDE, 0x56, 0x78, 0xBC, 0xF0}));
}

TEST_F(PluginTesselTest, NativeWordsCarryEveryChannelsBytesForMultichannelFiles)
{
    const std::vector<uint8_t> sound = test::CountingBytes(6 * 4 * 1000);
    auto plugin = OpenBytes(DffBuilder().Properties(5644800, 6).Sound(sound).Build());
    ASSERT_EQ(plugin->SetOutputMode(PPI_MODE_NATIVE_DSD), PPI_OK);
    const auto words = ReadRange(*plugin, 0, 999);
    ASSERT_EQ(words.size(), sound.size());
    for (size_t frame = 0; frame < 1000; ++frame) {
        for (size_t c = 0; c < 6; ++c) {
            for (size_t k = 0; k < 4; ++k) {
                ASSERT_EQ(words[frame * 24 + c * 4 + k], sound[frame * 24 + k * 6 + c]);
            }
        }
    }
    PpiWaveFormat format{};
    plugin->GetFormat(&format);
    EXPECT_EQ(format.nSamplesPerSec, 176400u);
    EXPECT_EQ(format.nBlockAlign, 24);
}

TEST_F(PluginTesselTest, RangeAndBufferRules)
{
    auto plugin = OpenBytes(DffBuilder().Properties(2822400, 2).Sound(test::CountingBytes(64)).Build());
    EXPECT_EQ(plugin->SetRange(5, 4), PPI_BAD_ARGUMENT);
    ASSERT_EQ(plugin->SetRange(4, 4), PPI_OK);
    void* data = nullptr;
    uint32_t bytes = 0;
    ASSERT_EQ(plugin->Read(&data, &bytes), PPI_OK);
    EXPECT_EQ(bytes, 8u);
    EXPECT_EQ(plugin->Read(&data, &bytes), PPI_FAIL);
    EXPECT_EQ(plugin->ReleaseReadBuffer(), PPI_OK);
    EXPECT_EQ(plugin->Read(nullptr, &bytes), PPI_BAD_ARGUMENT);
    // Past the sound data nothing is read from the file: the words stay zero.
    const auto beyond = ReadRange(*plugin, 15, 17);
    ASSERT_EQ(beyond.size(), 24u);
    EXPECT_EQ(std::vector<uint8_t>(beyond.begin() + 8, beyond.end()), std::vector<uint8_t>(16, 0));
}

TEST_F(PluginTesselTest, TextsFromDsdiffChunksAndId3)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        std::string title;
        int32_t titleEncoding;
        std::string artist;
        std::string album;
    };
    const auto sound = test::CountingBytes(32);
    std::vector<uint8_t> id3Body;
    for (const auto& [id, text] : {std::pair{"TIT2", std::string("\x03Id3 Title")}, std::pair{"TALB", std::string("\x00Id3 Album", 10)}}) {
        id3Body.insert(id3Body.end(), id, id + 4);
        test::AppendBe(id3Body, text.size(), 4);
        id3Body.insert(id3Body.end(), {0, 0});
        id3Body.insert(id3Body.end(), text.begin(), text.end());
    }
    const uint8_t id3Header[10] = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<uint8_t>(id3Body.size())};
    std::vector<uint8_t> id3(std::begin(id3Header), std::end(id3Header));
    std::copy(id3Body.begin(), id3Body.end(), std::back_inserter(id3));
    auto compressed = id3;
    compressed[10 + 9] = 0x80;

    const Case cases[] = {
        {"DIAR and DITI", DffBuilder().Properties(2822400, 2).Sound(sound).Info("Artist", "Title").Build(), "Title", 0, "Artist", ""},
        {"ID3 after the sound wins over DITI",
         DffBuilder().Properties(2822400, 2).Sound(sound).Info("Artist", "Title").Chunk("ID3 ", id3).Build(), "Id3 Title", 3, "Artist", "Id3 Album"},
        {"compressed ID3 frame is skipped",
         DffBuilder().Properties(2822400, 2).Sound(sound).Info("Artist", "Title").Chunk("ID3 ", compressed).Build(), "Title", 0, "Artist", "Id3 Album"},
        {"general comment fills the album",
         DffBuilder().Properties(2822400, 2).Comments({{1, "channel note"}, {2, "x"}, {0, "The Album"}, {0, "second"}}).Sound(sound).Build(), "", 0, "", "The Album"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto plugin = OpenBytes(c.file);
        char title[512] = {};
        char artist[512] = {};
        int32_t titleEncoding = -1;
        int32_t artistEncoding = -1;
        ASSERT_EQ(plugin->GetTitleArtist(title, 512, &titleEncoding, artist, 512, &artistEncoding), PPI_OK);
        EXPECT_EQ(std::string(title), c.title);
        EXPECT_EQ(titleEncoding, c.titleEncoding);
        EXPECT_EQ(std::string(artist), c.artist);
        const void* map = nullptr;
        ASSERT_EQ(plugin->GetTagMap(&map), PPI_OK);
        const auto& tags = *static_cast<const std::map<std::string, std::string>*>(map);
        EXPECT_EQ(tags.count("Album") ? tags.at("Album") : "", c.album);
        if (!c.title.empty()) {
            EXPECT_EQ(tags.at("encTitle"), c.titleEncoding == 3 ? "ENC_UTF-8" : "ENC_SYSTEM");
        }
    }
    auto small = OpenBytes(DffBuilder().Properties(2822400, 2).Sound(sound).Info("Artist", "Title").Build());
    char title[5];
    char artist[512];
    int32_t e1 = 0;
    int32_t e2 = 0;
    EXPECT_EQ(small->GetTitleArtist(title, 5, &e1, artist, 512, &e2), PPI_FAIL);
    EXPECT_EQ(small->GetTitleArtist(title, 0, &e1, artist, 512, &e2), PPI_BAD_ARGUMENT);
}

TEST_F(PluginTesselTest, UnplayableFilesAreRefused)
{
    const auto sound = test::CountingBytes(32);
    const auto good = DffBuilder().Properties(2822400, 2).Sound(sound).Build();
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int32_t expected;
    };
    const Case cases[] = {
        {"DST compressed", DffBuilder().Properties(2822400, 2, "DST ").Sound(sound).Build(), PPI_FAIL},
        {"no sound chunk", DffBuilder().Properties(2822400, 2).Build(), PPI_FAIL},
        {"empty sound chunk", DffBuilder().Properties(2822400, 2).Sound({}).Build(), PPI_FAIL},
        {"no properties", DffBuilder().Sound(sound).Build(), PPI_FAIL},
        {"zero channels", DffBuilder().Properties(2822400, 0).Sound(sound).Build(), PPI_FAIL},
        {"empty file", {}, PPI_FAIL},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 16), PPI_FAIL},
        {"WAVE file", test::WaveBuilder().Format(1, 2, 44100, 16).Data(sound).Build(), PPI_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t result = 0;
        OpenBytes(c.file, &result);
        EXPECT_EQ(result, c.expected);
    }
    auto plugin = module_.Make();
    EXPECT_EQ(plugin->OpenFile(u"/nonexistent/file.dff"), PPI_CANNOT_OPEN);
    EXPECT_EQ(plugin->OpenFile(nullptr), PPI_BAD_ARGUMENT);
    EXPECT_EQ(plugin->OpenFile(Wide(dir_.Path().string()).c_str()), PPI_CANNOT_OPEN);
}

TEST_F(PluginTesselTest, FileCutShortInsideTheSoundStillPlaysWhatItHolds)
{
    auto plugin = OpenBytes(DffBuilder().Properties(2822400, 2).SoundClaiming(1000000, test::CountingBytes(80)).Build());
    ASSERT_EQ(plugin->SetOutputMode(PPI_MODE_NATIVE_DSD), PPI_OK);
    uint64_t frames = 0;
    ASSERT_EQ(plugin->GetTotalFrames(&frames), PPI_OK);
    EXPECT_EQ(frames, 10u);
}

TEST_F(PluginTesselTest, OpenMemoryParsesAnImage)
{
    const auto image = DffBuilder().Properties(2822400, 2).Sound(test::CountingBytes(64)).Build();
    auto plugin = module_.Make();
    EXPECT_EQ(plugin->OpenMemory(nullptr, 10), PPI_BAD_ARGUMENT);
    ASSERT_EQ(plugin->OpenMemory(image.data(), static_cast<int32_t>(image.size())), PPI_OK);
    uint64_t frames = 0;
    ASSERT_EQ(plugin->GetTotalFrames(&frames), PPI_OK);
    EXPECT_EQ(frames, 16u);
    EXPECT_EQ(ReadRange(*plugin, 0, 0), (std::vector<uint8_t>{0x00, 0x02, 0x00, 0x05, 0x00, 0x03, 0x01, 0x05}));
}

} // namespace
} // namespace sonavel
