#include "output/AsioWrapperImpl.h"
#include "tests/drivers/TestHost.h"
#include "tests/output/OutputTestTree.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>

namespace sonavel {
namespace {

class FileWriterTest : public ::testing::Test {
protected:
    FileWriterTest() { tree_.AddRegistration("writer", "File Writer", test::FileWriterModule()); }

    // Loads and initialises the file writer with the settings in the environment at that moment.
    std::shared_ptr<CAsioWrapperImpl> Open() const
    {
        auto wrapper = std::make_shared<CAsioWrapperImpl>(tree_.Locations());
        EXPECT_TRUE(wrapper->LoadDriver(u"File Writer"));
        ASIODriverInfo info{};
        EXPECT_EQ(wrapper->Init(&info), ASE_OK);
        return wrapper;
    }

    static void SetFormat(CAsioWrapperImpl& wrapper, ASIOIoFormatType type)
    {
        ASIOIoFormat format{};
        format.FormatType = type;
        ASSERT_EQ(wrapper.Future(kAsioCanDoIoFormat, &format), ASE_SUCCESS);
        ASSERT_EQ(wrapper.Future(kAsioSetIoFormat, &format), ASE_SUCCESS);
    }

    // Plays `switches` buffer switches (the host stops the driver in the last one).
    static void Play(
        test::TestHost& host, CAsioWrapperImpl& wrapper, int32_t channels, AsioLong size, int switches)
    {
        ASSERT_EQ(host.CreateBuffers(channels, size), ASE_OK);
        ASSERT_EQ(wrapper.Start(), ASE_OK);
        ASSERT_TRUE(host.WaitForSwitches(switches));
        ASSERT_EQ(wrapper.Stop(), ASE_OK);
        EXPECT_EQ(host.Switches(), switches);
    }

    std::filesystem::path Out(int n = 1) const
    {
        return n == 1 ? out_.Path() / "out.wav" : out_.Path() / ("out." + std::to_string(n) + ".wav");
    }

    test::OutputTestTree tree_;
    test::TempDir out_;
    test::ScopedEnv outEnv_{"SONAVEL_FILEWRITER_OUT", Out().string()};
    test::ScopedEnv speedEnv_{"SONAVEL_FILEWRITER_SPEED", "0"};
};

struct WaveCase {
    int32_t type;
    int32_t channels;
    bool outputReady;
    uint16_t tag;
    uint16_t bits;
};

TEST_F(FileWriterTest, LittleEndianPcmBecomesAWaveFileOfExactlyTheGivenSamples)
{
    const WaveCase cases[] = {
        {18, 2, true, 0xFFFE, 32},
        {16, 2, false, 1, 16},
        {17, 2, true, 0xFFFE, 24},
        {19, 2, false, 3, 32},
        {20, 1, true, 3, 64},
        {16, 6, false, 0xFFFE, 16},
        {27, 2, true, 0xFFFE, 32},
    };
    // Every case opens the driver anew and so writes the next file of the sequence.
    int fileNumber = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " channels " + std::to_string(c.channels));
        const test::ScopedEnv type("SONAVEL_FILEWRITER_TYPE", std::to_string(c.type));
        const test::ScopedEnv channels("SONAVEL_FILEWRITER_CHANNELS", std::to_string(c.channels));
        auto wrapper = Open();
        ASSERT_EQ(wrapper->SetSampleRate(96000), ASE_OK);
        std::vector<uint8_t> expected;
        {
            test::TestHost host(wrapper, c.outputReady, 5);
            Play(host, *wrapper, c.channels, 64, 5);
            expected = host.Interleaved(c.bits / 8);
        }
        wrapper->Exit();

        const auto file = test::ReadFileBytes(Out(++fileNumber));
        ASSERT_GE(file.size(), 44u);
        EXPECT_EQ(test::Tag(file, 0), "RIFF");
        EXPECT_EQ(test::ReadLe32(file, 4), file.size() - 8);
        EXPECT_EQ(test::Tag(file, 8), "WAVE");
        const uint32_t fmtSize = test::ReadLe32(file, 16);
        EXPECT_EQ(test::ReadLe16(file, 20), c.tag);
        EXPECT_EQ(test::ReadLe16(file, 22), c.channels);
        EXPECT_EQ(test::ReadLe32(file, 24), 96000u);
        EXPECT_EQ(test::ReadLe32(file, 28), 96000u * c.channels * c.bits / 8);
        EXPECT_EQ(test::ReadLe16(file, 32), c.channels * c.bits / 8);
        EXPECT_EQ(test::ReadLe16(file, 34), c.bits);
        if (c.tag == 0xFFFE) {
            EXPECT_EQ(fmtSize, 40u);
            EXPECT_EQ(test::ReadLe16(file, 38), c.bits);
            EXPECT_EQ(test::ReadLe16(file, 44), c.type == 19 || c.type == 20 ? 3 : 1);
        }
        const size_t data = 20 + fmtSize;
        EXPECT_EQ(test::Tag(file, data), "data");
        EXPECT_EQ(test::ReadLe32(file, data + 4), expected.size());
        EXPECT_EQ(
            std::vector<uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(data + 8), file.end()), expected);
    }
}

TEST_F(FileWriterTest, BigEndianTypesAreWrittenAsRawBytes)
{
    const test::ScopedEnv type("SONAVEL_FILEWRITER_TYPE", "1");
    auto wrapper = Open();
    std::vector<uint8_t> expected;
    {
        test::TestHost host(wrapper, true, 3);
        Play(host, *wrapper, 2, 64, 3);
        expected = host.Interleaved(3);
    }
    EXPECT_EQ(test::ReadFileBytes(Out()), expected);
}

TEST_F(FileWriterTest, NativeDsdBecomesADsdiffFileAtTheBitRate)
{
    int fileNumber = 0;
    for (const bool outputReady : {true, false}) {
        auto wrapper = Open();
        SetFormat(*wrapper, kASIODSDFormat);
        ASSERT_EQ(wrapper->CanSampleRate(2822400), ASE_OK);
        ASSERT_EQ(wrapper->SetSampleRate(2822400), ASE_OK);
        std::vector<uint8_t> expected;
        {
            test::TestHost host(wrapper, outputReady, 4);
            Play(host, *wrapper, 2, 512, 4);
            ASIOChannelInfo info{};
            ASSERT_EQ(wrapper->GetChannelInfo(&info), ASE_OK);
            EXPECT_EQ(info.type, ASIOSTDSDInt8MSB1);
            expected = host.Interleaved(1);
        }
        wrapper->Exit();

        const auto file = test::ReadFileBytes(Out(++fileNumber));
        ASSERT_GE(file.size(), 100u);
        EXPECT_EQ(test::Tag(file, 0), "FRM8");
        EXPECT_EQ(test::ReadBe64(file, 4), file.size() - 12);
        EXPECT_EQ(test::Tag(file, 12), "DSD ");
        EXPECT_EQ(test::Tag(file, 16), "FVER");
        EXPECT_EQ(test::Tag(file, 32), "PROP");
        EXPECT_EQ(test::Tag(file, 44), "SND ");
        EXPECT_EQ(test::Tag(file, 48), "FS  ");
        EXPECT_EQ(test::ReadBe32(file, 60), 2822400u);
        EXPECT_EQ(test::Tag(file, 64), "CHNL");
        EXPECT_EQ(test::Tag(file, 78), "SLFT");
        EXPECT_EQ(test::Tag(file, 82), "SRGT");
        EXPECT_EQ(test::Tag(file, 86), "CMPR");
        EXPECT_EQ(test::Tag(file, 98), "DSD ");
        const size_t dsd = 12 + 4 + 16 + 12 + test::ReadBe64(file, 36);
        ASSERT_EQ(dsd, 118u);
        EXPECT_EQ(test::Tag(file, dsd), "DSD ");
        EXPECT_EQ(test::ReadBe64(file, dsd + 4), expected.size());
        EXPECT_EQ(
            std::vector<uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(dsd + 12), file.end()), expected);
    }
}

TEST_F(FileWriterTest, LsbFirstDsdIsStoredMostSignificantBitFirst)
{
    const test::ScopedEnv type("SONAVEL_FILEWRITER_TYPE", "32");
    auto wrapper = Open();
    SetFormat(*wrapper, kASIODSDFormat);
    std::vector<uint8_t> given;
    {
        test::TestHost host(wrapper, true, 2);
        Play(host, *wrapper, 2, 64, 2);
        given = host.Interleaved(1);
    }
    const auto file = test::ReadFileBytes(Out());
    ASSERT_EQ(file.size(), 118 + 12 + given.size());
    for (size_t i = 0; i < given.size(); ++i) {
        uint8_t reversed = 0;
        for (int bit = 0; bit < 8; ++bit) {
            reversed |= static_cast<uint8_t>(((given[i] >> bit) & 1) << (7 - bit));
        }
        ASSERT_EQ(file[130 + i], reversed) << "byte " << i;
    }
}

TEST_F(FileWriterTest, EachNewRateFormatOrInstanceStartsTheNextFile)
{
    auto wrapper = Open();
    size_t firstFileData = 0;
    {
        test::TestHost host(wrapper, true, 2);
        Play(host, *wrapper, 2, 64, 2);
        firstFileData = host.Interleaved(4).size();
    }
    {
        test::TestHost host(wrapper, true, 2);
        Play(host, *wrapper, 2, 64, 2);
        firstFileData += host.Interleaved(4).size();
    }
    ASSERT_EQ(wrapper->SetSampleRate(48000), ASE_OK);
    {
        test::TestHost host(wrapper, true, 2);
        Play(host, *wrapper, 2, 64, 2);
    }
    SetFormat(*wrapper, kASIODSDFormat);
    ASSERT_EQ(wrapper->SetSampleRate(5644800), ASE_OK);
    {
        test::TestHost host(wrapper, true, 2);
        Play(host, *wrapper, 2, 64, 2);
    }
    wrapper->Exit();
    // The host reopens the driver for the next start: the sequence goes on, nothing is overwritten.
    auto reopened = Open();
    {
        test::TestHost host(reopened, true, 2);
        Play(host, *reopened, 2, 64, 2);
    }
    reopened->Exit();

    const auto first = test::ReadFileBytes(Out(1));
    ASSERT_GE(first.size(), 68u);
    EXPECT_EQ(test::ReadLe32(first, 64), firstFileData);
    EXPECT_EQ(test::ReadLe32(first, 24), 44100u);
    const auto second = test::ReadFileBytes(Out(2));
    ASSERT_GE(second.size(), 28u);
    EXPECT_EQ(test::ReadLe32(second, 24), 48000u);
    const auto third = test::ReadFileBytes(Out(3));
    ASSERT_GE(third.size(), 64u);
    EXPECT_EQ(test::Tag(third, 0), "FRM8");
    EXPECT_EQ(test::ReadBe32(third, 60), 5644800u);
    const auto fourth = test::ReadFileBytes(Out(4));
    ASSERT_GE(fourth.size(), 28u);
    EXPECT_EQ(test::ReadLe32(fourth, 24), 44100u);
    EXPECT_FALSE(std::filesystem::exists(Out(5)));
}

TEST_F(FileWriterTest, TheClockPacesTheSwitchesAndThePositionAdvances)
{
    const test::ScopedEnv speed("SONAVEL_FILEWRITER_SPEED", "20");
    const test::ScopedEnv buffer("SONAVEL_FILEWRITER_BUFFER", "441");
    auto wrapper = Open();
    AsioLong minSize = 0, maxSize = 0, preferred = 0, granularity = 0;
    ASSERT_EQ(wrapper->GetBufferSize(&minSize, &maxSize, &preferred, &granularity), ASE_OK);
    ASSERT_EQ(preferred, 441);
    test::TestHost host(wrapper, false);
    ASSERT_EQ(host.CreateBuffers(2, preferred), ASE_OK);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(wrapper->Start(), ASE_OK);
    // 441 samples at 44100 Hz run 20 times faster: 0.5 ms a switch.
    ASSERT_TRUE(host.WaitForSwitches(40));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(19));
    ASIOSamples position = 0;
    ASIOTimeStamp stamp = 0;
    ASSERT_EQ(wrapper->GetSamplePosition(&position, &stamp), ASE_OK);
    EXPECT_GE(position, 39 * 441);
    EXPECT_EQ(position % 441, 0);
}

TEST_F(FileWriterTest, OnlyTheConfiguredRatesAreAccepted)
{
    const test::ScopedEnv rates("SONAVEL_FILEWRITER_RATES", "44100, 96000,bad");
    auto wrapper = Open();
    EXPECT_EQ(wrapper->CanSampleRate(44100), ASE_OK);
    EXPECT_EQ(wrapper->CanSampleRate(96000), ASE_OK);
    EXPECT_EQ(wrapper->CanSampleRate(48000), ASE_NoClock);
    EXPECT_EQ(wrapper->SetSampleRate(48000), ASE_NoClock);
    ASIOSampleRate rate = 0;
    EXPECT_EQ(wrapper->GetSampleRate(&rate), ASE_OK);
    EXPECT_EQ(rate, 44100);

    const test::ScopedEnv defaults("SONAVEL_FILEWRITER_RATES", "");
    auto all = Open();
    for (const double r : {32000.0, 1536000.0, 2822400.0, 24576000.0}) {
        EXPECT_EQ(all->CanSampleRate(r), ASE_OK) << r;
    }
    EXPECT_EQ(all->CanSampleRate(22050), ASE_NoClock);
}

TEST_F(FileWriterTest, BuffersAreRefusedForInputsAndUnknownChannels)
{
    auto wrapper = Open();
    static const ASIOCallbacks callbacks{[](AsioLong, ASIOBool) {}, nullptr, nullptr, nullptr};
    ASIOBufferInfo input{ASIOTrue, 0, {}};
    EXPECT_EQ(wrapper->CreateBuffers(&input, 1, 64, &callbacks), ASE_InvalidParameter);
    ASIOBufferInfo third{ASIOFalse, 2, {}};
    EXPECT_EQ(wrapper->CreateBuffers(&third, 1, 64, &callbacks), ASE_InvalidParameter);
    ASIOBufferInfo first{ASIOFalse, 0, {}};
    EXPECT_EQ(wrapper->CreateBuffers(&first, 1, 64, nullptr), ASE_InvalidParameter);
    EXPECT_EQ(wrapper->Start(), ASE_InvalidMode);
    EXPECT_EQ(wrapper->CreateBuffers(&first, 1, 64, &callbacks), ASE_OK);
    EXPECT_NE(first.buffers[0], nullptr);
    EXPECT_NE(first.buffers[1], nullptr);
    EXPECT_EQ(wrapper->DisposeBuffers(), ASE_OK);
}

} // namespace
} // namespace sonavel
