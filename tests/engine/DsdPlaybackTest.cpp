// DSDIFF files played end to end through the plug-in, the playback thread and the file writer:
// natively in the three DSD sample types and as DoP in 32-bit PCM.
#include "app/ErrorText.h"
#include "engine/PlayerMessages.h"
#include "tests/engine/DsdStreams.h"
#include "tests/engine/PlaybackTestHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace sonavel {
namespace {

using test::FileWriterSetup;
using test::PlaybackHarness;
using test::PlaybackRecorder;
using test::Stopped;

constexpr uint32_t kDsd64 = 2822400;
constexpr uint32_t kDsd128 = 5644800;
constexpr uint32_t kDsd256 = 11289600;

// Bytes per channel of `seconds` of DSD at `dsdRate`, in whole 32-bit words.
uint32_t DsdBytes(uint32_t dsdRate, double seconds)
{
    return static_cast<uint32_t>(dsdRate / 8 * seconds) / 4 * 4;
}

FileWriterSetup Writer(bool native, int32_t nativeType, int channels, double speed)
{
    FileWriterSetup setup;
    setup.speed = speed;
    setup.type = native ? nativeType : ASIOSTInt32LSB;
    setup.channels = channels;
    return setup;
}

struct FormatCase {
    uint32_t dsdRate;
    uint16_t channels;
    bool native;
    int32_t type; // the native sample type; DoP goes out as 32-bit PCM
};

std::string Name(const ::testing::TestParamInfo<FormatCase>& info)
{
    const FormatCase& c = info.param;
    return "Dsd" + std::to_string(c.dsdRate / 44100) + "Ch" + std::to_string(c.channels) +
        (c.native ? "Native" + std::to_string(c.type) : std::string("Dop"));
}

class DsdFormatTest : public ::testing::TestWithParam<FormatCase> { };

TEST_P(DsdFormatTest, CarriesExactlyTheFilesBytesPerChannel)
{
    const FormatCase c = GetParam();
    PlaybackHarness harness(Writer(c.native, c.type, c.channels, 2));
    const auto sound = harness.AddDff("a.dff", c.dsdRate, c.channels, DsdBytes(c.dsdRate, 0.1), 1);
    harness.SetDecodeMode(c.native ? kDecodeModeNativeDsd : 0);
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    EXPECT_TRUE(harness.Recorder().Errors().empty());
    const test::DsdOutput output = test::ReadDsdOutput(harness.LastOutput(), c.native);
    // DSD64 goes out at 2822400 bits per second natively, or as DoP at 176400 frames per second.
    EXPECT_EQ(output.rate, c.native ? c.dsdRate : c.dsdRate / 16);
    ASSERT_EQ(output.channels.size(), c.channels);
    const bool contiguous = harness.Player().Underruns() == 0;
    for (uint16_t channel = 0; channel < c.channels; ++channel) {
        SCOPED_TRACE("channel " + std::to_string(channel));
        test::ExpectCarries(output.channels[channel], test::ChannelOf(sound, c.channels, channel),
            test::LeadInBytes(c.dsdRate), contiguous);
    }
}

INSTANTIATE_TEST_SUITE_P(NativeAndDop, DsdFormatTest,
    ::testing::Values(FormatCase{kDsd64, 2, true, ASIOSTDSDInt8MSB1},
        FormatCase{kDsd128, 2, true, ASIOSTDSDInt8LSB1}, FormatCase{kDsd256, 2, true, ASIOSTDSDInt8NER8},
        FormatCase{kDsd64, 6, true, ASIOSTDSDInt8NER8}, FormatCase{kDsd128, 6, true, ASIOSTDSDInt8MSB1},
        FormatCase{kDsd256, 6, true, ASIOSTDSDInt8LSB1},
        FormatCase{kDsd64, 2, false, 0}, FormatCase{kDsd128, 2, false, 0}, FormatCase{kDsd256, 2, false, 0},
        FormatCase{kDsd64, 6, false, 0}, FormatCase{kDsd256, 6, false, 0}),
    Name);

// Native DSD in the one-bit type, or DoP.
class DsdTransportTest : public ::testing::TestWithParam<bool> {
protected:
    bool Native() const { return GetParam(); }
    FileWriterSetup WriterAt(double speed) const { return Writer(Native(), ASIOSTDSDInt8MSB1, 2, speed); }
    void Start(PlaybackHarness& harness) const
    {
        harness.SetDecodeMode(Native() ? kDecodeModeNativeDsd : 0);
        harness.Start(false);
        harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    }
    // Every channel of the output holds the lead-in, then exactly `expected`'s channel.
    void ExpectOutputCarries(const std::filesystem::path& path, const std::vector<uint8_t>& expected,
        bool contiguous) const
    {
        const test::DsdOutput output = test::ReadDsdOutput(path, Native());
        ASSERT_EQ(output.channels.size(), 2u);
        for (uint16_t channel = 0; channel < 2; ++channel) {
            SCOPED_TRACE("channel " + std::to_string(channel));
            test::ExpectCarries(output.channels[channel], test::ChannelOf(expected, 2, channel),
                test::LeadInBytes(kDsd64), contiguous);
        }
    }
};

TEST_P(DsdTransportTest, TwoFilesInARowJoinSampleContinuously)
{
    PlaybackHarness harness(WriterAt(2));
    // The first file ends in the middle of a buffer half and of a feeder chunk.
    auto expected = harness.AddDff("a.dff", kDsd64, 2, DsdBytes(kDsd64, 0.5) + 4, 1);
    const auto second = harness.AddDff("b.dff", kDsd64, 2, DsdBytes(kDsd64, 0.1), 2);
    Start(harness);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    EXPECT_EQ(harness.Recorder().Starts().size(), 2u);
    EXPECT_EQ(harness.Output().Outputs().size(), 1u) << "no restart between the files";
    ASSERT_EQ(harness.Player().Underruns(), 0u);
    expected.insert(expected.end(), second.begin(), second.end());
    ExpectOutputCarries(harness.LastOutput(), expected, true);
}

TEST_P(DsdTransportTest, ASeekStartsTheNewOutputAtTheTargetSecond)
{
    PlaybackHarness harness(WriterAt(4));
    const auto sound = harness.AddDff("a.dff", kDsd64, 2, DsdBytes(kDsd64, 2), 3);
    Start(harness);
    ASSERT_TRUE(harness.Recorder().WaitFor([](const PlaybackRecorder& r) { return !r.starts.empty(); }));
    harness.Post(WM_PLAYER_SEEK, 1);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    const std::vector<uint8_t> fromOneSecond(sound.begin() + 2 * DsdBytes(kDsd64, 1), sound.end());
    ExpectOutputCarries(harness.LastOutput(), fromOneSecond, harness.Player().Underruns() == 0);
}

TEST_P(DsdTransportTest, PauseAndResumeGoOnInOneStream)
{
    PlaybackHarness harness(WriterAt(2));
    const auto sound = harness.AddDff("a.dff", kDsd64, 2, DsdBytes(kDsd64, 2), 4);
    Start(harness);
    auto& recorder = harness.Recorder();
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.lastTrackSeconds >= 1; }));
    harness.Post(WM_PLAYER_PAUSE, 1);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.Count(kPlayerEventPaused) == 1; }));
    harness.Post(WM_PLAYER_PAUSE, 1);
    ASSERT_TRUE(recorder.WaitFor(Stopped));
    EXPECT_EQ(recorder.Count(kPlayerEventResumed), 1);
    EXPECT_EQ(harness.Output().Outputs().size(), 1u);
    ExpectOutputCarries(harness.LastOutput(), sound, harness.Player().Underruns() == 0);
}

INSTANTIATE_TEST_SUITE_P(NativeAndDop, DsdTransportTest, ::testing::Bool(),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Native" : "Dop"; });

// A DSD file and a PCM file never share an output, even where the DoP carrier rate equals the PCM
// rate and the renderer would take the prepared file without a restart.
TEST(DsdAfterPcmTest, ADffAfterAWaveAndAWaveAfterADffRestartTheOutput)
{
    PlaybackHarness harness(Writer(false, 0, 2, 4));
    // The WAVE's rate equals the DFF's word rate, so it is prepared while the DFF plays.
    const auto wave = harness.AddWave("a.wav", 88200, 16, 8820, 1);
    const auto sound = harness.AddDff("b.dff", kDsd64, 2, DsdBytes(kDsd64, 0.5), 2);
    // This one runs at the DoP carrier rate; it is prepared after the seek below.
    const auto last = harness.AddWave("c.wav", 176400, 16, 17640, 3);
    // What each restart left, read before the next output can take its file's name.
    std::vector<test::WrittenStream> outputs;
    harness.Recorder().onStarted = [&](const PlayStartInfo& info) {
        if (info.entryIndex > 0) {
            outputs.push_back(test::ReadWrittenStream(harness.LastOutput()));
        }
        if (info.entryIndex == 1) {
            harness.Post(WM_PLAYER_SEEK, 0);
        }
    };
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 3; }));
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    ASSERT_EQ(outputs.size(), 2u);
    test::ExpectStreamHolds(outputs[0], test::ExpectedWords(wave, 16), 88200);

    const test::DsdOutput dop = test::DopOutput(outputs[1]);
    EXPECT_EQ(dop.rate, 176400u);
    ASSERT_EQ(dop.channels.size(), 2u);
    for (uint16_t channel = 0; channel < 2; ++channel) {
        test::ExpectCarries(dop.channels[channel], test::ChannelOf(sound, 2, channel), test::LeadInBytes(kDsd64),
            false);
    }
    test::ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), test::ExpectedWords(last, 16), 176400);
}

struct DeviceRateCase {
    const char* name;
    bool kestraneDevice; // the device list's profile decides; otherwise the driver's own rates
    const char* driverRates;
    bool native;
    uint32_t dsdRate;
    uint32_t refusedRate; // 0: plays
};

class DsdDeviceRateTest : public ::testing::TestWithParam<DeviceRateCase> { };

TEST_P(DsdDeviceRateTest, ARefusedRateIsReportedAndTheFileSkipped)
{
    const DeviceRateCase c = GetParam();
    FileWriterSetup setup = Writer(c.native, ASIOSTDSDInt8MSB1, 2, 4);
    setup.rates = c.driverRates;
    PlaybackHarness harness(setup);
    if (c.kestraneDevice) {
        harness.Output().AddKestraneDevice();
    }
    const auto sound = harness.AddDff("a.dff", c.dsdRate, 2, DsdBytes(c.dsdRate, 0.1), 1);
    harness.SetDecodeMode(c.native ? kDecodeModeNativeDsd : 0);
    harness.Start(false, c.kestraneDevice ? test::kKestraneDevice : u"File Writer");
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    MusicTrackInfo entry;
    harness.Playlist().Store().GetEntry(0, &entry);
    if (c.refusedRate == 0) {
        EXPECT_TRUE(harness.Recorder().Errors().empty());
        const test::DsdOutput output = test::ReadDsdOutput(harness.LastOutput(), c.native);
        ASSERT_EQ(output.channels.size(), 2u);
        for (uint16_t channel = 0; channel < 2; ++channel) {
            test::ExpectCarries(output.channels[channel], test::ChannelOf(sound, 2, channel),
                test::LeadInBytes(c.dsdRate), false);
        }
        return;
    }
    EXPECT_EQ(harness.Recorder().Errors(),
        std::vector<std::u16string>{FormatNotSupportedMessage(true, c.refusedRate, entry.path)});
    EXPECT_EQ(harness.Recorder().trackTexts.size(), 1u) << "the file was skipped";
}

INSTANTIATE_TEST_SUITE_P(ProfilesAndDrivers, DsdDeviceRateTest,
    ::testing::Values(DeviceRateCase{"ProfileTakesDop176k", true, "", false, kDsd64, 0},
        DeviceRateCase{"ProfileTakesNativeDsd64", true, "", true, kDsd64, 0},
        DeviceRateCase{"ProfileRefusesDop192k", true, "", false, 3072000, 192000},
        DeviceRateCase{"ProfileRefusesNative3072k", true, "", true, 3072000, 3072000},
        DeviceRateCase{"DriverRefusesNativeDsd64", false, "44100,176400", true, kDsd64, kDsd64},
        DeviceRateCase{"DriverRefusesDop176k", false, "44100,2822400", false, kDsd64, 176400}),
    [](const ::testing::TestParamInfo<DeviceRateCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace sonavel
