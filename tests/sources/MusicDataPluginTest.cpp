#include "platform/Utf.h"
#include "plugin-api/PlayerPluginIF.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicDataPlugin.h"
#include "tests/sources/WaveTestSupport.h"
#include "tests/support/DffBuilder.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

// Native words of a byte-interleaved stereo DSD stream: four bytes of channel 0, then four of
// channel 1, per frame.
std::vector<uint8_t> NativeWords(const std::vector<uint8_t>& sound)
{
    std::vector<uint8_t> words(sound.size());
    for (size_t frame = 0; frame < sound.size() / 8; ++frame) {
        for (size_t c = 0; c < 2; ++c) {
            for (size_t k = 0; k < 4; ++k) {
                words[frame * 8 + c * 4 + k] = sound[frame * 8 + k * 2 + c];
            }
        }
    }
    return words;
}

class MusicDataPluginTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(registry_->Load(), 0); }

    std::shared_ptr<CPluginCtrl> registry_ = std::make_shared<CPluginCtrl>();
    test::TempDir dir_;
};

TEST_F(MusicDataPluginTest, Dsd64FileDeliversNativeWordsInGranuleSizedBlocks)
{
    const auto sound = test::CountingBytes(705600 * 2 + 800);
    const auto path = dir_.Write("one.dff", test::DffBuilder().Properties(2822400, 2).Sound(sound).Info("Artist", "Title").Build());
    CMusicDataPlugin source(registry_, Utf8ToUtf16(path.string()));
    MusicOpenParams params;
    params.path = Utf8ToUtf16(path.string());
    ASSERT_EQ(source.Open(&params), kResultOk);
    MusicTrackInfo info;
    info.path = u"kept";
    ASSERT_EQ(source.GetTrackInfo(0, &info), kResultOk);
    EXPECT_EQ(info.path, u"kept");
    EXPECT_EQ(info.sourceType, kSourcePlugin);
    EXPECT_EQ(info.formatName, u"DFF");
    EXPECT_EQ(info.title, u"Title");
    EXPECT_EQ(info.artist, u"Artist");
    EXPECT_EQ(info.format.nSamplesPerSec, 88200u);
    EXPECT_EQ(info.format.wBitsPerSample, 32);
    EXPECT_EQ(info.format.nBlockAlign, 8);
    EXPECT_EQ(info.format.nAvgBytesPerSec, 705600u);
    EXPECT_EQ(info.dataBytes, sound.size());
    EXPECT_EQ(info.lengthFrames, 151u);
    int flag = 0;
    EXPECT_EQ(source.IsDsd(&flag), kResultOk);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(source.CanPrepareAhead(&flag), kResultOk);
    EXPECT_EQ(flag, 1);

    ASSERT_EQ(source.SetRange(0, info.endFrame, 0), kResultOk);
    void* block = nullptr;
    uint32_t bytes = 0;
    ASSERT_EQ(source.ReadNext(&block, &bytes), kResultOk);
    EXPECT_EQ(bytes, 655360u);
    source.FreeBuffer(block);
    source.SetRange(0, info.endFrame, 0);
    EXPECT_EQ(test::ReadToEnd(source), NativeWords(sound));
}

TEST_F(MusicDataPluginTest, RangeEndsAfterItsLastFrame75)
{
    const auto sound = test::CountingBytes(705600);
    const auto path = dir_.Write("range.dff", test::DffBuilder().Properties(2822400, 2).Sound(sound).Build());
    CMusicDataPlugin source(registry_, Utf8ToUtf16(path.string()));
    MusicOpenParams params;
    params.path = Utf8ToUtf16(path.string());
    ASSERT_EQ(source.Open(&params), kResultOk);
    const auto words = NativeWords(sound);
    for (uint32_t first = 0; first < 75; first += 25) {
        ASSERT_EQ(source.SetRange(first, first + 24, 0), kResultOk);
        const auto range = test::ReadToEnd(source);
        const size_t from = FrameToSample(first, 88200) * 8;
        const size_t to = FrameToSample(first + 25, 88200) * 8;
        EXPECT_EQ(range, std::vector<uint8_t>(words.begin() + from, words.begin() + to));
    }
    ASSERT_EQ(source.SetRange(0, 74, 80), kResultOk);
    EXPECT_TRUE(test::ReadToEnd(source).empty());
}

TEST_F(MusicDataPluginTest, BrokenFilesAndTheResultMapping)
{
    const auto dst = dir_.Write("dst.dff", test::DffBuilder().Properties(2822400, 2, "DST ").Sound(test::CountingBytes(64)).Build());
    CMusicDataPlugin source(registry_, Utf8ToUtf16(dst.string()));
    MusicOpenParams params;
    params.path = Utf8ToUtf16(dst.string());
    EXPECT_EQ(source.Open(&params), kResultBroken);
    params.path = Utf8ToUtf16((dir_.Path() / "missing.dff").string());
    EXPECT_EQ(source.Open(&params), kResultCannotOpen);

    const std::pair<int32_t, int32_t> mapping[] = {{0, 0}, {-1, -1101}, {-2, -1000}, {-3, -1100}, {-4, -1102},
                                                   {-5, -1101}, {-6, -1104}, {-7, -1103}, {-1000, -1001}, {42, -1101}};
    for (const auto& [plugin, music] : mapping) {
        EXPECT_EQ(CMusicDataPlugin::MapResult(plugin), music) << plugin;
    }
}

TEST_F(MusicDataPluginTest, FileTypeOfARegistryRecord)
{
    ASSERT_FALSE(registry_->Records().empty());
    CMusicDataPlugin source(registry_, size_t{0});
    ASSERT_NE(source.GetFileType(), nullptr);
    EXPECT_EQ(std::u16string_view(source.GetFileType()->description), u"DFF Plugin");
    EXPECT_EQ(std::u16string_view(source.GetFileType()->extensions), u"DFF");
    CMusicDataPlugin none(registry_, size_t{99});
    EXPECT_EQ(std::u16string_view(none.GetFileType()->description), u"");
}

} // namespace
} // namespace sonavel
