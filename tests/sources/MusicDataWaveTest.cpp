#include "tests/sources/WaveTestSupport.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sonavel {
namespace {

using test::CountingBytes;
using test::OpenWaveBytes;
using test::ReadToEnd;
using test::TempDir;
using test::WaveBuilder;

struct FormatCase {
    const char* name;
    std::vector<uint8_t> file;
    uint16_t tag;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t dataBytes;
    uint32_t lengthFrames;
};

TEST(MusicDataWaveTest, ReportsFormatAndLengthAndDeliversTheDataUnchanged)
{
    const FormatCase cases[] = {
        {"8-bit mono 8 kHz", WaveBuilder().Format(1, 1, 8000, 8).Data(CountingBytes(8000)).Build(), 1, 1, 8000, 8, 8000, 75},
        {"16-bit stereo 44.1 kHz", WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(176400)).Build(), 1, 2, 44100, 16, 176400, 75},
        {"24-bit stereo 96 kHz, 18-byte fmt", WaveBuilder().Format(1, 2, 96000, 24, true).Data(CountingBytes(6 * 1000)).Build(), 1, 2, 96000, 24, 6000, 1},
        {"32-bit int 6 ch 192 kHz", WaveBuilder().Format(1, 6, 192000, 32).Data(CountingBytes(24 * 192000 / 2 + 24)).Build(), 1, 6, 192000, 32, 24 * 96001, 38},
        {"32-bit float", WaveBuilder().Format(3, 2, 48000, 32).Data(CountingBytes(8 * 4800)).Build(), 3, 2, 48000, 32, 38400, 8},
        {"64-bit float", WaveBuilder().Format(3, 2, 44100, 64).Data(CountingBytes(16 * 44100 * 2)).Build(), 3, 2, 44100, 64, 1411200, 150},
        {"extensible PCM", WaveBuilder().ExtensibleFormat(2, 88200, 24, 1).Data(CountingBytes(6 * 882)).Build(), 1, 2, 88200, 24, 5292, 1},
        {"extensible float", WaveBuilder().ExtensibleFormat(2, 44100, 32, 3).Data(CountingBytes(8 * 441)).Build(), 3, 2, 44100, 32, 3528, 1},
        {"extensible cbSize 21", WaveBuilder().ExtensibleFormat(2, 44100, 16, 1, 21).Data(CountingBytes(4 * 441)).Build(), 0xFFFE, 2, 44100, 16, 1764, 1},
        {"extensible other sub-format", WaveBuilder().ExtensibleFormat(2, 44100, 16, 9).Data(CountingBytes(4 * 441)).Build(), 0xFFFE, 2, 44100, 16, 1764, 1},
        {"odd chunks before fmt and data",
         WaveBuilder().Chunk("junk", {1, 2, 3}).Format(1, 2, 44100, 16).Chunk("fact", {9}).Data(CountingBytes(1764)).Build(), 1, 2, 44100, 16, 1764, 1},
        {"first chunk id not RIFF", WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(1764)).Build("RIFX"), 1, 2, 44100, 16, 1764, 1},
    };
    TempDir dir;
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto wave = OpenWaveBytes(dir, c.file);
        ASSERT_EQ(wave.result, kResultOk);
        const MusicTrackInfo& info = wave.info;
        EXPECT_EQ(info.sourceType, kSourceWave);
        EXPECT_EQ(info.formatName, u"WAVE");
        EXPECT_EQ(info.format.wFormatTag, c.tag);
        EXPECT_EQ(info.format.nChannels, c.channels);
        EXPECT_EQ(info.format.nSamplesPerSec, c.rate);
        EXPECT_EQ(info.format.wBitsPerSample, c.bits);
        EXPECT_EQ(info.format.nBlockAlign, c.channels * c.bits / 8);
        EXPECT_EQ(info.dataBytes, c.dataBytes);
        EXPECT_EQ(info.lengthFrames, c.lengthFrames);
        EXPECT_EQ(info.startFrame, 0u);
        EXPECT_EQ(info.endFrame, c.lengthFrames - 1);
        EXPECT_TRUE(info.displayName.empty());

        ASSERT_EQ(wave.source->SetRange(0, info.endFrame, 0), kResultOk);
        size_t blocks = 0;
        const auto data = ReadToEnd(*wave.source, &blocks);
        EXPECT_EQ(data, CountingBytes(c.dataBytes));
        EXPECT_EQ(blocks, (c.dataBytes + c.rate * info.format.nBlockAlign - 1) / (c.rate * info.format.nBlockAlign));
    }
}

TEST(MusicDataWaveTest, OneSecondFileIsOneBlockThenEnd)
{
    TempDir dir;
    auto wave = OpenWaveBytes(dir, WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(176400)).Build());
    ASSERT_EQ(wave.result, kResultOk);
    EXPECT_EQ(wave.info.endFrame, 74u);
    wave.source->SetRange(0, 74, 0);
    void* block = nullptr;
    uint32_t bytes = 0;
    ASSERT_EQ(wave.source->ReadNext(&block, &bytes), kResultOk);
    EXPECT_EQ(bytes, 176400u);
    wave.source->FreeBuffer(block);
    EXPECT_EQ(wave.source->ReadNext(&block, &bytes), kResultEndOfRange);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(bytes, 0u);

    // An offset past the range places the cursor at its end.
    wave.source->SetRange(0, 74, 100);
    EXPECT_EQ(wave.source->ReadNext(&block, &bytes), kResultEndOfRange);
}

// At 8, 16 and 32 kHz one frame75 is not a whole number of bytes: consecutive ranges must still
// join without a lost or doubled sample frame, and each must end on a whole sample frame.
TEST(MusicDataWaveTest, ConsecutiveRangesJoinExactlyAtEveryRate)
{
    TempDir dir;
    for (const uint32_t rate : {8000u, 16000u, 22050u, 32000u, 44100u, 88200u}) {
        SCOPED_TRACE(rate);
        const uint32_t dataBytes = rate * 4 * 2 + 12;
        auto wave = OpenWaveBytes(dir, WaveBuilder().Format(1, 2, rate, 16).Data(CountingBytes(dataBytes)).Build());
        ASSERT_EQ(wave.result, kResultOk);
        std::vector<uint8_t> joined;
        for (uint32_t first = 0; first <= wave.info.endFrame; first += 7) {
            const uint32_t last = std::min(first + 6, wave.info.endFrame);
            wave.source->SetRange(first, last, 0);
            const auto piece = ReadToEnd(*wave.source);
            EXPECT_EQ(piece.size() % 4, 0u);
            EXPECT_EQ(joined.size(), FrameToSample(first, rate) * 4);
            joined.insert(joined.end(), piece.begin(), piece.end());
        }
        EXPECT_EQ(joined, CountingBytes(dataBytes));
    }
}

TEST(MusicDataWaveTest, SeekOffsetAndReadAllDeliverTheRestOfTheRange)
{
    TempDir dir;
    auto wave = OpenWaveBytes(dir, WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(176400 * 3)).Build());
    ASSERT_EQ(wave.result, kResultOk);
    const auto all = CountingBytes(176400 * 3);

    wave.source->SetRange(75, 149, 30);
    const auto seeked = ReadToEnd(*wave.source);
    EXPECT_EQ(seeked, std::vector<uint8_t>(all.begin() + 105 * 2352, all.begin() + 150 * 2352));

    wave.source->SetRange(10, 224, 0);
    void* block = nullptr;
    uint32_t bytes = 0;
    ASSERT_EQ(wave.source->ReadAll(&block, &bytes), kResultOk);
    const auto* data = static_cast<const uint8_t*>(block);
    EXPECT_EQ(std::vector<uint8_t>(data, data + bytes), std::vector<uint8_t>(all.begin() + 10 * 2352, all.end()));
    wave.source->FreeBuffer(block);
    EXPECT_EQ(wave.source->ReadAll(&block, &bytes), kResultEndOfRange);
}

TEST(MusicDataWaveTest, DataChunkClaimingMoreThanTheFileCountsWhatTheFileHolds)
{
    TempDir dir;
    auto wave = OpenWaveBytes(dir, WaveBuilder().Format(1, 2, 44100, 16).DataClaiming(0xFFFFFFF0, CountingBytes(1766)).Build());
    ASSERT_EQ(wave.result, kResultOk);
    EXPECT_EQ(wave.info.dataBytes, 1764u);
    EXPECT_EQ(wave.info.lengthFrames, 1u);
    wave.source->SetRange(0, wave.info.endFrame, 0);
    EXPECT_EQ(ReadToEnd(*wave.source), CountingBytes(1764));
}

TEST(MusicDataWaveTest, BrokenFilesGiveTheirResultCodes)
{
    const auto good = WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(1764)).Build();
    struct BadCase {
        const char* name;
        std::vector<uint8_t> file;
        int32_t expected;
    };
    const BadCase cases[] = {
        {"empty file", {}, kResultBroken},
        {"header cut short", std::vector<uint8_t>(good.begin(), good.begin() + 10), kResultBroken},
        {"not WAVE", [&good] {
             auto f = good;
             f[8] = 'A'; f[9] = 'V'; f[10] = 'I'; f[11] = ' ';
             return f;
         }(), kResultBroken},
        {"no fmt", WaveBuilder().Data(CountingBytes(1764)).Build(), kResultBroken},
        {"fmt cut short", std::vector<uint8_t>(good.begin(), good.begin() + 30), kResultBroken},
        {"no data", WaveBuilder().Format(1, 2, 44100, 16).Build(), kResultBroken},
        {"data header cut short", std::vector<uint8_t>(good.begin(), good.begin() + 40), kResultBroken},
        {"empty data", WaveBuilder().Format(1, 2, 44100, 16).Data({}).Build(), kResultBroken},
        {"less than one sample frame", WaveBuilder().Format(1, 2, 44100, 16).Data({1, 2, 3}).Build(), kResultBroken},
        {"block align 0", WaveBuilder().Format(1, 0, 44100, 16).Data(CountingBytes(64)).Build(), kResultBroken},
        {"rate 0", WaveBuilder().Format(1, 2, 0, 16).Data(CountingBytes(64)).Build(), kResultBroken},
        {"fmt size beyond the file", WaveBuilder().Chunk("fmt ", {1, 0}).Build(), kResultBroken},
        {"chunk size beyond the file before fmt", [] {
             auto f = WaveBuilder().Chunk("junk", {0}).Format(1, 2, 44100, 16).Data(CountingBytes(4)).Build();
             f[16] = 0xFF; f[17] = 0xFF; f[18] = 0xFF; f[19] = 0x7F;
             return f;
         }(), kResultBroken},
    };
    TempDir dir;
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OpenWaveBytes(dir, c.file).result, c.expected);
    }
}

TEST(MusicDataWaveTest, UnopenableFilesAndTooLargeFiles)
{
    TempDir dir;
    EXPECT_EQ(test::OpenWavePath(dir.Path() / "missing.wav").result, kResultCannotOpen);
    std::filesystem::create_directory(dir.Path() / "folder.wav");
    EXPECT_EQ(test::OpenWavePath(dir.Path() / "folder.wav").result, kResultCannotOpen);

    const auto big = dir.Path() / "big.wav";
    const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, off_t{1} << 32), 0);
    ::close(fd);
    EXPECT_EQ(test::OpenWavePath(big).result, kResultTooLarge);
}

TEST(MusicDataWaveTest, FileWithoutReadPermissionCannotBeOpened)
{
    TempDir dir;
    const auto path = dir.Write("locked.wav", WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(1764)).Build());
    std::filesystem::permissions(path, std::filesystem::perms::none);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
    // Root reads anything, so the check runs in a child that has dropped to an ordinary user.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) {
            _exit(2);
        }
        _exit(test::OpenWavePath(path).result == kResultCannotOpen ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(MusicDataWaveTest, ContractDefaults)
{
    TempDir dir;
    auto wave = OpenWaveBytes(dir, WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(1764)).Build());
    ASSERT_EQ(wave.result, kResultOk);
    int count = 0;
    EXPECT_EQ(wave.source->GetTrackCount(&count), kResultOk);
    EXPECT_EQ(count, 1);
    MusicTrackInfo info;
    EXPECT_EQ(wave.source->GetTrackInfo(1, &info), kResultBadArgument);
    EXPECT_EQ(wave.source->GetTrackInfo(-1, &info), kResultBadArgument);
    const MusicFileType* type = wave.source->GetFileType();
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(std::u16string_view(type->description), u"WAVE File");
    EXPECT_EQ(std::u16string_view(type->extensions), u"wav");
    int flag = -1;
    EXPECT_EQ(wave.source->IsDsd(&flag), kResultOk);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(wave.source->CanPrepareAhead(&flag), kResultOk);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(wave.source->CanPrepareAhead(nullptr), kResultBadArgument);
    EXPECT_EQ(wave.source->AllocBuffer(0), nullptr);

    CMusicData base;
    EXPECT_EQ(base.GetFileType(), nullptr);
    void* block = &flag;
    uint32_t bytes = 5;
    EXPECT_EQ(base.ReadNext(&block, &bytes), kResultOk);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(bytes, 0u);
}

} // namespace
} // namespace sonavel
