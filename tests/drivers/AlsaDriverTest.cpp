#include "drivers/alsa/AlsaFormats.h"
#include "output/AsioDriverRegistry.h"
#include "output/AsioWrapperImpl.h"
#include "output/RendererLibrary.h"
#include "tests/drivers/TestHost.h"
#include "tests/output/OutputTestTree.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace sonavel {
namespace {

// ALSA's null device and its file plugin stand in for a card: they take every format and rate.
class AlsaDriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        alsaDir_ = std::make_unique<test::TempDir>();
        const auto config = alsaDir_->WriteText("asound.conf",
            "pcm.sonavel_null { type null }\n"
            "pcm.sonavel_file { type file slave.pcm \"null\" file \"" +
                RawOut().string() + "\" format \"raw\" }\n");
        setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + config.string()).c_str(), 1);
    }

    static void TearDownTestSuite() { alsaDir_.reset(); }

    static std::filesystem::path RawOut() { return alsaDir_->Path() / "out.raw"; }

    AlsaDriverTest()
    {
        tree_.AddAlsaCard(0, "Test Card", true);
        std::filesystem::copy_file(
            SONAVEL_ALSA_MODULE, tree_.Locations().programFolder / "Drivers" / kAlsaDriverModuleName);
        std::filesystem::remove(RawOut());
    }

    std::shared_ptr<CAsioWrapperImpl> Open(const char* pcm, ASIOError expectedInit = ASE_OK)
    {
        pcm_ = std::make_unique<test::ScopedEnv>("SONAVEL_ALSA_PCM", pcm);
        auto wrapper = std::make_shared<CAsioWrapperImpl>(tree_.Locations());
        EXPECT_TRUE(wrapper->LoadDriver(u"Test Card"));
        ASIODriverInfo info{};
        EXPECT_EQ(wrapper->Init(&info), expectedInit);
        error_ = info.errorMessage;
        return wrapper;
    }

    static inline std::unique_ptr<test::TempDir> alsaDir_;
    test::OutputTestTree tree_;
    std::unique_ptr<test::ScopedEnv> pcm_;
    std::string error_;
};

TEST_F(AlsaDriverTest, NullDeviceOpensNegotiatesAndCallsBack)
{
    auto wrapper = Open("sonavel_null");
    AsioLong in = 0, out = 0;
    ASSERT_EQ(wrapper->GetChannels(&in, &out), ASE_OK);
    EXPECT_EQ(in, 0);
    EXPECT_EQ(out, 8);
    EXPECT_EQ(wrapper->CanSampleRate(44100), ASE_OK);
    EXPECT_EQ(wrapper->CanSampleRate(384000), ASE_OK);
    EXPECT_EQ(wrapper->CanSampleRate(44100.5), ASE_NoClock);
    ASIOChannelInfo info{};
    ASSERT_EQ(wrapper->GetChannelInfo(&info), ASE_OK);
    EXPECT_EQ(info.type, ASIOSTInt32LSB);
    ASIOIoFormat format{};
    format.FormatType = kASIODSDFormat;
    EXPECT_EQ(wrapper->Future(kAsioCanDoIoFormat, &format), ASE_SUCCESS);
    format.FormatType = 7;
    EXPECT_EQ(wrapper->Future(kAsioCanDoIoFormat, &format), ASE_NotPresent);

    AsioLong minSize = 0, maxSize = 0, preferred = 0, granularity = 0;
    ASSERT_EQ(wrapper->GetBufferSize(&minSize, &maxSize, &preferred, &granularity), ASE_OK);
    ASSERT_EQ(wrapper->SetSampleRate(96000), ASE_OK);
    test::TestHost host(wrapper, true, 10);
    ASSERT_EQ(host.CreateBuffers(2, preferred), ASE_OK);
    ASSERT_EQ(wrapper->Start(), ASE_OK);
    EXPECT_TRUE(host.WaitForSwitches(10));
    EXPECT_EQ(wrapper->Stop(), ASE_OK);
}

TEST_F(AlsaDriverTest, TheCardReceivesExactlyTheGivenPcmBytes)
{
    auto wrapper = Open("sonavel_file");
    std::vector<uint8_t> given;
    {
        test::TestHost host(wrapper, false, 12);
        ASSERT_EQ(host.CreateBuffers(2, 256), ASE_OK);
        ASSERT_EQ(wrapper->Start(), ASE_OK);
        ASSERT_TRUE(host.WaitForSwitches(12));
        ASSERT_EQ(wrapper->Stop(), ASE_OK);
        given = host.Interleaved(4);
    }
    wrapper->Exit();
    const auto written = test::ReadFileBytes(RawOut());
    // The plugin writes what the null device consumed: a whole prefix of what was given.
    ASSERT_GE(written.size(), 256u * 2 * 4 * 4);
    ASSERT_LE(written.size(), given.size());
    EXPECT_TRUE(std::equal(written.begin(), written.end(), given.begin()));
}

TEST_F(AlsaDriverTest, NativeDsdGoesOutAsBigEndianDsdWords)
{
    auto wrapper = Open("sonavel_file");
    ASIOIoFormat format{};
    format.FormatType = kASIODSDFormat;
    ASSERT_EQ(wrapper->Future(kAsioSetIoFormat, &format), ASE_SUCCESS);
    ASSERT_EQ(wrapper->CanSampleRate(2822400), ASE_OK);
    ASSERT_EQ(wrapper->SetSampleRate(2822400), ASE_OK);
    EXPECT_EQ(wrapper->CreateBuffers(nullptr, 2, 100, nullptr), ASE_InvalidParameter);
    std::vector<uint8_t> given;
    {
        test::TestHost host(wrapper, true, 12);
        ASSERT_EQ(host.CreateBuffers(2, 8192), ASE_OK);
        ASIOChannelInfo info{};
        ASSERT_EQ(wrapper->GetChannelInfo(&info), ASE_OK);
        EXPECT_EQ(info.type, ASIOSTDSDInt8MSB1);
        ASSERT_EQ(wrapper->Start(), ASE_OK);
        ASSERT_TRUE(host.WaitForSwitches(12));
        ASSERT_EQ(wrapper->Stop(), ASE_OK);
        given = host.Interleaved(4);
    }
    wrapper->Exit();
    const auto written = test::ReadFileBytes(RawOut());
    ASSERT_GE(written.size(), 8192u / 8 * 2 * 4);
    ASSERT_LE(written.size(), given.size());
    EXPECT_TRUE(std::equal(written.begin(), written.end(), given.begin()));
}

TEST_F(AlsaDriverTest, AMissingDeviceFailsInitWithItsReason)
{
    auto wrapper = Open("sonavel_no_such_pcm", ASE_NotPresent);
    EXPECT_NE(error_.find("cannot open sonavel_no_such_pcm"), std::string::npos) << error_;
    AsioLong in = 0, out = 0;
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_NotPresent);
}

TEST_F(AlsaDriverTest, TheRendererLibraryPlaysToASharedModeDevice)
{
    std::filesystem::copy_file(
        SONAVEL_OSMERUN_MODULE, tree_.Locations().programFolder / kRendererLibraryName);
    const test::ScopedEnv pcms("SONAVEL_OSMERUN_PCMS", "sonavel_null,sonavel_file");
    auto wrapper = std::make_shared<CAsioWrapperImpl>(tree_.Locations());
    const auto devices = wrapper->Renderer().EnumerateDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(RecordText(devices[1].name, std::size(devices[1].name)), u"sonavel_file");
    EXPECT_FALSE(wrapper->LoadDriver(u"WASAPI: sonavel_elsewhere"));

    ASSERT_TRUE(wrapper->LoadDriver(u"WASAPI: sonavel_null"));
    EXPECT_TRUE(wrapper->IsWasapiSelected());
    EXPECT_EQ(wrapper->GetSelectedFlags(), 1);
    ASIODriverInfo info{};
    ASSERT_EQ(wrapper->Init(&info), ASE_OK);
    ASIOIoFormat dsd{};
    dsd.FormatType = kASIODSDFormat;
    EXPECT_EQ(wrapper->Future(kAsioCanDoIoFormat, &dsd), ASE_NotPresent);
    ASSERT_EQ(wrapper->SetSampleRate(48000), ASE_OK);
    {
        test::TestHost host(wrapper, true, 6);
        ASSERT_EQ(host.CreateBuffers(2, 512), ASE_OK);
        ASSERT_EQ(wrapper->Start(), ASE_OK);
        EXPECT_TRUE(host.WaitForSwitches(6));
        EXPECT_EQ(wrapper->Stop(), ASE_OK);
    }
    EXPECT_EQ(wrapper->Exit(), ASE_OK);
    AsioLong in = 0, out = 0;
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_NotPresent);
}

TEST(AlsaFormatsTest, InterleavingKeepsTimeOrderAndFillsMissingChannels)
{
    const uint8_t left[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const uint8_t right[] = {11, 12, 13, 14, 15, 16, 17, 18};
    const uint8_t* const channels[] = {left, nullptr, right};
    struct Case {
        AlsaSampleFormat format;
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {{SND_PCM_FORMAT_S32_LE, ASIOSTInt32LSB, 4, false, false},
            {1, 2, 3, 4, 0, 0, 0, 0, 11, 12, 13, 14, 5, 6, 7, 8, 0, 0, 0, 0, 15, 16, 17, 18}},
        {{SND_PCM_FORMAT_DSD_U32_LE, ASIOSTDSDInt8MSB1, 4, true, true},
            {4, 3, 2, 1, 0x96, 0x96, 0x96, 0x96, 14, 13, 12, 11, 8, 7, 6, 5, 0x96, 0x96, 0x96, 0x96, 18, 17,
                16, 15}},
        {{SND_PCM_FORMAT_DSD_U16_BE, ASIOSTDSDInt8MSB1, 2, true, false},
            {1, 2, 0x96, 0x96, 11, 12, 3, 4, 0x96, 0x96, 13, 14, 5, 6, 0x96, 0x96, 15, 16, 7, 8, 0x96, 0x96,
                17, 18}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> out(c.expected.size(), 0xEE);
        InterleaveForCard(c.format, channels, 8 / c.format.bytesPerChannelFrame, out);
        EXPECT_EQ(out, c.expected) << "format " << c.format.format;
    }
}

} // namespace
} // namespace sonavel
