#include "output/AsioHost.h"
#include "output/AsioWrapperImpl.h"
#include "tests/output/OutputTestTree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace sonavel {
namespace {

class AsioWrapperTest : public ::testing::Test {
protected:
    AsioWrapperTest()
    {
        tree_.AddRegistration("writer", "File Writer", test::FileWriterModule());
        test::WriteText(tree_.Locations().programFolder / "broken.so", "not a module");
        tree_.AddRegistration("broken", "Broken", tree_.Locations().programFolder / "broken.so");
    }

    std::shared_ptr<CAsioWrapperImpl> MakeWrapper() const
    {
        return std::make_shared<CAsioWrapperImpl>(tree_.Locations());
    }

    test::OutputTestTree tree_;
};

TEST_F(AsioWrapperTest, UnknownNameFailsToLoadAndEveryCallAnswersNotPresent)
{
    tree_.InstallFakeRenderer();
    const auto wrapper = MakeWrapper();
    EXPECT_FALSE(LoadAsioDriverByName(wrapper, u"No Such Device"));
    EXPECT_FALSE(ASIOIsWasapiSelected(wrapper));

    ASIODriverInfo info{};
    info.driverVersion = 5;
    EXPECT_EQ(ASIOInit(wrapper, &info), ASE_NotPresent);
    EXPECT_STREQ(info.name, "No ASIO Driver");
    EXPECT_EQ(info.driverVersion, 0);

    AsioLong a = 9, b = 9, c = 9, d = 9;
    EXPECT_EQ(ASIOGetChannels(wrapper, &a, &b), ASE_NotPresent);
    EXPECT_EQ(a + b, 0);
    a = b = 9;
    EXPECT_EQ(ASIOGetLatencies(wrapper, &a, &b), ASE_NotPresent);
    EXPECT_EQ(a + b, 0);
    a = b = 9;
    EXPECT_EQ(ASIOGetBufferSize(wrapper, &a, &b, &c, &d), ASE_NotPresent);
    EXPECT_EQ(a + b + c + d, 0);

    ASIOChannelInfo channel{};
    EXPECT_EQ(ASIOGetChannelInfo(wrapper, &channel), ASE_NotPresent);
    EXPECT_EQ(channel.channelGroup, -1);
    EXPECT_EQ(channel.type, 0);
    EXPECT_STREQ(channel.name, "None");

    int dummy = 0;
    ASIOBufferInfo buffers[2] = {{0, 0, {&dummy, &dummy}}, {0, 1, {&dummy, &dummy}}};
    const ASIOCallbacks callbacks{};
    EXPECT_EQ(ASIOCreateBuffers(wrapper, buffers, 2, 512, &callbacks), ASE_NotPresent);
    for (const auto& buffer : buffers) {
        EXPECT_EQ(buffer.buffers[0], nullptr);
        EXPECT_EQ(buffer.buffers[1], nullptr);
    }

    ASIOSamples position = 0;
    ASIOTimeStamp stamp = 0;
    EXPECT_EQ(ASIOStart(wrapper), ASE_NotPresent);
    EXPECT_EQ(ASIOStop(wrapper), ASE_NotPresent);
    EXPECT_EQ(ASIOCanSampleRate(wrapper, 44100), ASE_NotPresent);
    EXPECT_EQ(ASIOSetSampleRate(wrapper, 44100), ASE_NotPresent);
    EXPECT_EQ(ASIOGetSamplePosition(wrapper, &position, &stamp), ASE_NotPresent);
    EXPECT_EQ(ASIODisposeBuffers(wrapper), ASE_NotPresent);
    EXPECT_EQ(ASIOControlPanel(wrapper), ASE_NotPresent);
    EXPECT_EQ(ASIOFuture(wrapper, kAsioCanDoIoFormat, nullptr), ASE_NotPresent);
    EXPECT_EQ(ASIOOutputReady(wrapper), ASE_NotPresent);
    EXPECT_EQ(ASIOGetSelectedFlags(wrapper), 0);
    EXPECT_EQ(ASIOExit(wrapper), ASE_OK);
}

TEST_F(AsioWrapperTest, WithoutWrapperEveryCallAnswersInvalidMode)
{
    const std::shared_ptr<CAsioWrapperImpl> none;
    ASIODriverInfo info{};
    AsioLong a = 0, b = 0;
    EXPECT_FALSE(LoadAsioDriverByName(none, u"File Writer"));
    EXPECT_EQ(ASIOInit(none, &info), ASE_InvalidMode);
    EXPECT_EQ(ASIOExit(none), ASE_InvalidMode);
    EXPECT_EQ(ASIOGetChannels(none, &a, &b), ASE_InvalidMode);
    EXPECT_EQ(ASIOOutputReady(none), ASE_InvalidMode);
    EXPECT_EQ(ASIOGetSelectedFlags(none), 0);
    EXPECT_FALSE(ASIOIsWasapiSelected(none));
}

TEST_F(AsioWrapperTest, DriversLoadWithoutTheRendererLibrary)
{
    const auto wrapper = MakeWrapper();
    EXPECT_FALSE(wrapper->Renderer().Loaded());
    ASSERT_TRUE(wrapper->LoadDriver(u"File Writer"));
    ASIODriverInfo info{};
    ASSERT_EQ(wrapper->Init(&info), ASE_OK);
    EXPECT_STREQ(info.name, "File Writer");
    EXPECT_STREQ(info.errorMessage, "No ASIO Driver Error");
    EXPECT_EQ(info.driverVersion, 1);
    AsioLong in = 0, out = 0;
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_OK);
    EXPECT_EQ(out, 2);
    // A name nobody takes leaves the loaded driver as it was.
    EXPECT_FALSE(wrapper->LoadDriver(u"WASAPI: HDMI Output"));
    EXPECT_FALSE(wrapper->IsWasapiSelected());
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_OK);
}

TEST_F(AsioWrapperTest, NamesAreComparedAsTheir32ByteForm)
{
    const std::string longName = "File Writer With A Rather Long Name";
    tree_.AddRegistration("long", longName, test::FileWriterModule());
    const auto wrapper = MakeWrapper();
    EXPECT_FALSE(wrapper->LoadDriver(std::u16string(longName.begin(), longName.end())));
    const std::string cut = longName.substr(0, 28) + "...";
    EXPECT_TRUE(wrapper->LoadDriver(std::u16string(cut.begin(), cut.end())));
}

TEST_F(AsioWrapperTest, AFailedLoadBringsBackThePreviousDriver)
{
    const auto wrapper = MakeWrapper();
    ASSERT_TRUE(wrapper->LoadDriver(u"File Writer"));
    EXPECT_FALSE(wrapper->LoadDriver(u"Broken"));
    AsioLong in = 0, out = 0;
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_OK);
    EXPECT_EQ(out, 2);
    EXPECT_EQ(wrapper->Exit(), ASE_OK);
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_NotPresent);
}

TEST_F(AsioWrapperTest, RendererDevicesAreSelectedWithTheirFlags)
{
    tree_.InstallFakeRenderer();
    const auto wrapper = MakeWrapper();
    ASSERT_TRUE(wrapper->Renderer().Loaded());
    struct Case {
        std::u16string name;
        bool selected;
        int32_t flags;
    };
    const Case cases[] = {
        {u"WASAPI: Speakers (KESTRANE USB)", true, 0x10001},
        {u"WASAPI: HDMI Output", true, 1},
        {u"HDMI Output", true, 1},
        {u"WASAPI: KESTRANE DAC", false, 0x10001},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wrapper->LoadDriver(c.name), c.selected);
        EXPECT_EQ(wrapper->IsWasapiSelected(), c.selected);
        EXPECT_EQ(wrapper->Renderer().Table().GetSelectedFlags(), c.flags);
    }

    ASSERT_TRUE(wrapper->LoadDriver(u"WASAPI: HDMI Output"));
    EXPECT_EQ(wrapper->GetSelectedFlags(), 1);
    EXPECT_EQ(wrapper->Start(), 7);
    AsioLong in = 0, out = 0;
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_OK);
    EXPECT_EQ(out, 6);

    ASSERT_TRUE(wrapper->LoadDriver(u"File Writer"));
    EXPECT_FALSE(wrapper->IsWasapiSelected());
    EXPECT_EQ(wrapper->GetSelectedFlags(), 0);
    EXPECT_EQ(wrapper->GetChannels(&in, &out), ASE_OK);
    EXPECT_EQ(out, 2);
}

} // namespace
} // namespace sonavel
