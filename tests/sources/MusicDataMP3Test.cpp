#include "platform/Utf.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicResult.h"
#include "tests/sources/WaveTestSupport.h"
#include "tests/support/Mp3Fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace sonavel {
namespace {

using test::DecodeWithMpg123;
using test::MakeWave;
using test::ReadToEnd;
using test::Shell;
using test::TempDir;

struct OpenedMp3 {
    std::unique_ptr<CMusicDataMP3> source;
    int32_t result = kResultOk;
    MusicTrackInfo info;
};

OpenedMp3 OpenMp3(const std::filesystem::path& path, bool quick = false, double thresholdDb = 0, bool useThreshold = false)
{
    OpenedMp3 mp3;
    mp3.source = std::make_unique<CMusicDataMP3>(quick);
    MusicOpenParams params;
    params.path = Utf8ToUtf16(path.string());
    params.useThreshold = useThreshold;
    params.thresholdDb = thresholdDb;
    mp3.result = mp3.source->Open(&params);
    mp3.source->GetTrackInfo(0, &mp3.info);
    return mp3;
}

std::vector<uint8_t> DecodeAll(OpenedMp3& mp3)
{
    mp3.source->SetRange(0, mp3.info.endFrame, 0);
    return ReadToEnd(*mp3.source);
}

std::filesystem::path Encode(const TempDir& dir, const std::filesystem::path& wave, const std::string& name, const std::string& options)
{
    const auto mp3 = dir.Path() / name;
    EXPECT_TRUE(test::EncodeMp3(wave, mp3, options)) << options;
    return mp3;
}

class MusicDataMP3Test : public ::testing::Test {
protected:
    TempDir dir_;
};

TEST_F(MusicDataMP3Test, LameFilesDecodeToExactlyTheEncodersInput)
{
    struct Case {
        uint32_t rate;
        int channels;
        std::string options;
    };
    const Case cases[] = {
        {44100, 2, "-b 128"},       {44100, 2, "-V 2"},   {48000, 2, "--abr 160"}, {32000, 1, "-b 64"},
        {22050, 1, "-V 5"},         {24000, 2, "-b 64"},  {16000, 1, "-b 64"},     {11025, 2, "-b 32"},
        {8000, 1, "-b 32"},          {44100, 1, "-V 0"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " ch, " + c.options);
        const std::string name = "case" + std::to_string(n++);
        const auto wave = MakeWave(dir_, name + ".wav", c.rate, c.channels, 1.7);
        const auto mp3 = Encode(dir_, wave, name + ".mp3", c.options);
        auto opened = OpenMp3(mp3);
        ASSERT_EQ(opened.result, kResultOk);
        const auto input = test::RawSamples(dir_, wave);
        const uint32_t align = 2u * c.channels;
        EXPECT_EQ(opened.info.format.nSamplesPerSec, c.rate);
        EXPECT_EQ(opened.info.format.nChannels, c.channels);
        EXPECT_EQ(opened.info.format.nBlockAlign, align);
        EXPECT_EQ(opened.info.format.wBitsPerSample, 16);
        EXPECT_EQ(opened.info.dataBytes, input.size());
        EXPECT_EQ(opened.info.lengthFrames, (input.size() / align * 75 + c.rate - 1) / c.rate);
        const auto decoded = DecodeAll(opened);
        EXPECT_EQ(decoded.size(), input.size());
        EXPECT_TRUE(decoded == DecodeWithMpg123(dir_, mp3));
    }
}

TEST_F(MusicDataMP3Test, AlbumCutIntoTracksPlaysAsOneContinuousStream)
{
    const auto album = MakeWave(dir_, "album.wav", 44100, 2, 6.0);
    std::vector<uint8_t> joined;
    std::vector<uint8_t> reference;
    const char* cuts[][2] = {{"0", "1.9"}, {"1.9", "2.35"}, {"4.25", "-0"}};
    for (int i = 0; i < 3; ++i) {
        const auto part = dir_.Path() / ("part" + std::to_string(i) + ".wav");
        ASSERT_TRUE(Shell("sox '" + album.string() + "' '" + part.string() + "' trim " + cuts[i][0] + (i == 2 ? "" : std::string(" ") + cuts[i][1])));
        const auto mp3 = Encode(dir_, part, "part" + std::to_string(i) + ".mp3", "-V 2");
        auto opened = OpenMp3(mp3);
        ASSERT_EQ(opened.result, kResultOk);
        const auto decoded = DecodeAll(opened);
        joined.insert(joined.end(), decoded.begin(), decoded.end());
        const auto gapless = DecodeWithMpg123(dir_, mp3);
        reference.insert(reference.end(), gapless.begin(), gapless.end());
    }
    EXPECT_EQ(joined.size(), test::RawSamples(dir_, album).size());
    EXPECT_TRUE(joined == reference);
}

TEST_F(MusicDataMP3Test, SeekingLandsOnTheRightSample)
{
    const auto mp3 = Encode(dir_, MakeWave(dir_, "seek.wav", 44100, 2, 4.0), "seek.mp3", "-V 4");
    auto opened = OpenMp3(mp3);
    ASSERT_EQ(opened.result, kResultOk);
    const auto whole = DecodeAll(opened);
    for (const auto& [first, offset] : std::vector<std::pair<uint32_t, uint32_t>>{{0, 75}, {100, 0}, {7, 13}, {0, 0}, {299, 0}}) {
        SCOPED_TRACE(std::to_string(first) + "+" + std::to_string(offset));
        opened.source->SetRange(first, opened.info.endFrame, offset);
        void* block = nullptr;
        uint32_t bytes = 0;
        ASSERT_EQ(opened.source->ReadNext(&block, &bytes), kResultOk);
        const size_t start = FrameToSample(first + offset, 44100) * 4;
        ASSERT_LE(start + bytes, whole.size());
        EXPECT_EQ(0, std::memcmp(block, whole.data() + start, bytes));
        EXPECT_LE(bytes, 44100u * 4);
        opened.source->FreeBuffer(block);
    }
    // A range ends on its last 1/75 s.
    opened.source->SetRange(10, 19, 0);
    const auto range = ReadToEnd(*opened.source);
    EXPECT_EQ(range.size(), (FrameToSample(20, 44100) - FrameToSample(10, 44100)) * 4);
}

TEST_F(MusicDataMP3Test, FilesWithoutGaplessDataKeepAllButTheDecoderDelayUnlessTheThresholdCuts)
{
    // A stream without a Xing/Info frame: no delay or padding is known.
    const auto wave = dir_.Path() / "quiet.wav";
    ASSERT_TRUE(Shell("sox -n -r 44100 -b 16 -c 2 '" + dir_.Path().string() + "/tone.wav' synth 1 sine 440 vol 0.5"));
    ASSERT_TRUE(Shell("sox '" + dir_.Path().string() + "/tone.wav' '" + wave.string() + "' pad 0.5 0.5"));
    const auto mp3 = Encode(dir_, wave, "notag.mp3", "-t -b 128");
    auto plain = OpenMp3(mp3);
    ASSERT_EQ(plain.result, kResultOk);
    const uint64_t frames = (44100 * 2 + 576 + 1151 + 1152) / 1152;
    EXPECT_EQ(plain.info.dataBytes % 4, 0u);
    EXPECT_GE(plain.info.dataBytes / 4, frames * 1152 - 529 - 1152);
    const auto all = DecodeAll(plain);
    EXPECT_EQ(all.size(), plain.info.dataBytes);

    auto cut = OpenMp3(mp3, false, -60.0, true);
    ASSERT_EQ(cut.result, kResultOk);
    // About half a second of silence at each end is gone.
    EXPECT_LT(cut.info.dataBytes, plain.info.dataBytes - 2 * 19000 * 4);
    EXPECT_GT(cut.info.dataBytes, 44100u * 4 - 4000);
}

TEST_F(MusicDataMP3Test, TagsFromId3v2WinOverId3v1)
{
    const auto wave = MakeWave(dir_, "tags.wav", 44100, 2, 0.5);
    const auto both = Encode(dir_, wave, "both.mp3", "-b 128 --add-id3v2 --tt 'Caf\xc3\xa9' --ta Artist --tl Album --tn 7/12");
    auto opened = OpenMp3(both);
    ASSERT_EQ(opened.result, kResultOk);
    EXPECT_EQ(opened.info.title, u"Caf\u00e9");
    EXPECT_EQ(opened.info.artist, u"Artist");
    EXPECT_EQ(opened.info.album, u"Album");
    EXPECT_EQ(opened.info.trackNumber, 7);

    const auto v1 = Encode(dir_, wave, "v1.mp3", "-b 128 --id3v1-only --tt Old --ta Timer");
    auto old = OpenMp3(v1);
    ASSERT_EQ(old.result, kResultOk);
    EXPECT_EQ(old.info.title, u"Old");
    EXPECT_EQ(old.info.artist, u"Timer");
    EXPECT_EQ(old.info.trackNumber, 0);
    // Neither tag is decoded as audio.
    EXPECT_EQ(DecodeAll(opened), DecodeAll(old));
}

TEST_F(MusicDataMP3Test, GarbageBeforeTheFirstFrameAndBrokenLameCrc)
{
    const auto mp3 = Encode(dir_, MakeWave(dir_, "g.wav", 44100, 2, 1.0), "g.mp3", "-b 160");
    auto bytes = test::ReadFileBytes(mp3);
    std::vector<uint8_t> garbage(3001, 0);
    for (size_t i = 0; i < garbage.size(); i += 7) {
        garbage[i] = 0xFF;
    }
    garbage.insert(garbage.end(), bytes.begin(), bytes.end());
    auto original = OpenMp3(mp3);
    auto prefixed = OpenMp3(dir_.Write("garbage.mp3", garbage));
    ASSERT_EQ(prefixed.result, kResultOk);
    EXPECT_EQ(prefixed.info.dataBytes, original.info.dataBytes);
    EXPECT_TRUE(DecodeAll(prefixed) == DecodeAll(original));

    // The LAME tag's low-pass byte changed: the CRC fails, the tag is not trusted, and the
    // stream keeps its delay and padding (all but the decoder's own delay are kept).
    const size_t lame = std::string(bytes.begin(), bytes.end()).find("LAME");
    ASSERT_NE(lame, std::string::npos);
    bytes[lame + 10] ^= 0x55;
    auto broken = OpenMp3(dir_.Write("brokencrc.mp3", bytes));
    ASSERT_EQ(broken.result, kResultOk);
    const uint64_t audioFrames = (44100 + 576 + 1151 + 1152) / 1152;
    EXPECT_GE(broken.info.dataBytes, (audioFrames - 1) * 1152 * 4 - 529 * 4);
    EXPECT_GT(broken.info.dataBytes, original.info.dataBytes);
}

TEST_F(MusicDataMP3Test, ItunesGaplessCommentSuppliesDelayAndPadding)
{
    const auto wave = MakeWave(dir_, "it.wav", 44100, 2, 1.3);
    const auto tagged = Encode(dir_, wave, "lame.mp3", "-b 128");
    const auto bare = Encode(dir_, wave, "bare.mp3", "-t -b 128");
    auto reference = OpenMp3(tagged);
    ASSERT_EQ(reference.result, kResultOk);
    const uint64_t samples = test::RawSamples(dir_, wave).size() / 4;
    const auto stream = test::ReadFileBytes(bare);
    const uint64_t frames = (samples + 576 + 1151) / 1152 + 1;
    char text[128];
    std::snprintf(text, sizeof text, " 00000000 %08X %08X %016llX", 576u, static_cast<unsigned>(frames * 1152 - 576 - samples),
                  static_cast<unsigned long long>(samples));
    std::vector<uint8_t> comment{0, 'e', 'n', 'g'};
    comment.insert(comment.end(), {'i', 'T', 'u', 'n', 'S', 'M', 'P', 'B', 0});
    comment.insert(comment.end(), text, text + std::strlen(text) + 1);
    std::vector<uint8_t> tag{'I', 'D', '3', 2, 0, 0, 0, 0, 0, 0};
    tag.insert(tag.end(), {'C', 'O', 'M', 0, 0, static_cast<uint8_t>(comment.size())});
    tag.insert(tag.end(), comment.begin(), comment.end());
    tag[9] = static_cast<uint8_t>(tag.size() - 10);
    tag.insert(tag.end(), stream.begin(), stream.end());

    auto itunes = OpenMp3(dir_.Write("itunes.mp3", tag));
    ASSERT_EQ(itunes.result, kResultOk);
    EXPECT_EQ(itunes.info.dataBytes, samples * 4);
    EXPECT_TRUE(DecodeAll(itunes) == DecodeAll(reference));
}

TEST_F(MusicDataMP3Test, QuickModeBadFilesAndContract)
{
    const auto mp3 = Encode(dir_, MakeWave(dir_, "q.wav", 48000, 1, 0.3), "q.mp3", "-b 64");
    auto quick = OpenMp3(mp3, true);
    ASSERT_EQ(quick.result, kResultOk);
    EXPECT_EQ(quick.info.format.nSamplesPerSec, 48000u);
    EXPECT_EQ(quick.info.format.nAvgBytesPerSec, 96000u);
    EXPECT_EQ(quick.source->SetRange(0, 10, 0), kResultCannotOpen);

    auto full = OpenMp3(mp3);
    void* block = nullptr;
    uint32_t bytes = 0;
    EXPECT_EQ(full.source->ReadAll(&block, &bytes), kResultBadArgument);
    MusicTrackInfo info;
    EXPECT_EQ(full.source->GetTrackInfo(1, &info), kResultBadArgument);
    EXPECT_EQ(std::u16string_view(full.source->GetFileType()->description), u"MP3 File");

    EXPECT_EQ(OpenMp3(dir_.Path() / "missing.mp3").result, kResultCannotOpen);
    EXPECT_EQ(OpenMp3(dir_.WriteText("text.mp3", std::string(5000, 'x'))).result, kResultCannotOpen);
    EXPECT_EQ(OpenMp3(dir_.Write("empty.mp3", {})).result, kResultCannotOpen);
    // Cut in the middle of the stream: what is there plays, then the stream ends.
    auto cutBytes = test::ReadFileBytes(mp3);
    cutBytes.resize(cutBytes.size() / 2 + 3);
    auto cut = OpenMp3(dir_.Write("cut.mp3", cutBytes));
    ASSERT_EQ(cut.result, kResultOk);
    EXPECT_LE(DecodeAll(cut).size(), cut.info.dataBytes);
}

} // namespace
} // namespace sonavel
