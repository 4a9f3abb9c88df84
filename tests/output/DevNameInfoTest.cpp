#include "output/AsioWrapperImpl.h"
#include "output/DevNameInfo.h"
#include "output/RendererLibrary.h"
#include "tests/output/OutputTestTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace sonavel {
namespace {

class DevNameInfoTest : public ::testing::Test {
protected:
    DevNameInfoTest()
    {
        for (const char* name :
            {"KESTRANE ASIO USB DRIVER", "Some Driver", "Realtek ASIO", "Generic Low Latency ASIO Driver"}) {
            tree_.AddRegistration(
                std::string("driver") + std::to_string(++count_), name, test::FileWriterModule());
        }
    }

    CDevNameInfo Build(bool includeAll) const
    {
        renderer_ = std::make_unique<RendererLibrary>(tree_.Locations().programFolder);
        return CDevNameInfo::Build(includeAll, DeviceSources{tree_.Locations(), renderer_.get()});
    }

    static std::vector<std::u16string> Names(const CDevNameInfo& list)
    {
        std::vector<std::u16string> names;
        for (int32_t i = 0; i < list.Count(); ++i) {
            names.push_back(list.Name(i));
        }
        return names;
    }

    test::OutputTestTree tree_;
    int count_ = 0;
    mutable std::unique_ptr<RendererLibrary> renderer_;
};

TEST_F(DevNameInfoTest, WithoutUsbHardwareNoDriverIsListedEvenInDebugMode)
{
    EXPECT_EQ(Build(true).Count(), 0);
    CAsioWrapperImpl wrapper(tree_.Locations());
    CDevNameInfo list;
    EXPECT_EQ(GetDeviceList(&list, true, wrapper), kDeviceListEmpty);
    EXPECT_EQ(GetDeviceList(nullptr, true, wrapper), kDeviceListNoOutput);
}

TEST_F(DevNameInfoTest, NormalModeListsOnlyProfilesNamingPresentHardware)
{
    tree_.AddUsbDevice("1-1", "0b7e", "4a31");
    tree_.AddUsbDevice("2-1", "046d", "c52b");
    const auto normal = Build(false);
    EXPECT_EQ(Names(normal), (std::vector<std::u16string>{u"KESTRANE ASIO USB DRIVER"}));
    const DeviceRecord* record = normal.Record(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, kDeviceKindAsio);
    EXPECT_EQ(record->pcmExcludedRates, 0x800u);
    EXPECT_EQ(record->dopExcludedRates, 0xFFFFFD5Fu);
    EXPECT_EQ(record->nativeExcludedRates, 0xFFFFFAAFu);
    EXPECT_EQ(record->flags, 3);
    EXPECT_EQ(record->readSecondsPcm, 0.1);

    EXPECT_EQ(Names(Build(true)), (std::vector<std::u16string>{u"KESTRANE ASIO USB DRIVER", u"Some Driver"}));
}

TEST_F(DevNameInfoTest, TheMakersDriverWithoutItsHardwareFallsToTheGenericProfile)
{
    tree_.AddUsbDevice("1-1", "046d", "c52b");
    EXPECT_EQ(Build(false).Count(), 0);
    const auto all = Build(true);
    ASSERT_EQ(all.Count(), 2);
    EXPECT_EQ(all.Record(0)->pcmExcludedRates, 0u);
    EXPECT_EQ(all.Record(0)->flags, 3);
}

TEST_F(DevNameInfoTest, RendererDevicesGetTheirOwnProfiles)
{
    tree_.InstallFakeRenderer();
    tree_.AddUsbDevice("1-1", "0b7e", "4a3e");
    EXPECT_EQ(Names(Build(false)),
        (std::vector<std::u16string>{u"KESTRANE ASIO USB DRIVER", u"WASAPI: KESTRANE DAC"}));
    const auto all = Build(true);
    EXPECT_EQ(Names(all),
        (std::vector<std::u16string>{u"KESTRANE ASIO USB DRIVER", u"Some Driver",
            u"WASAPI: Speakers (KESTRANE USB)", u"WASAPI: KESTRANE DAC"}));
    EXPECT_EQ(all.Record(0)->pcmExcludedRates, 0x200u);
    for (int32_t i = 2; i < 4; ++i) {
        EXPECT_EQ(all.Record(i)->kind, kDeviceKindWasapi);
        EXPECT_EQ(all.Record(i)->flags, 0);
    }

    CAsioWrapperImpl wrapper(tree_.Locations());
    CDevNameInfo list;
    EXPECT_EQ(GetDeviceList(&list, false, wrapper), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Name(2), u"");
    EXPECT_EQ(list.ReadSeconds(u"WASAPI: KESTRANE DAC", true), 0.1);
    EXPECT_EQ(list.ReadSeconds(u"Not Listed", false), kDefaultReadSeconds);
}

TEST_F(DevNameInfoTest, RatesFollowTheProfileMasks)
{
    tree_.InstallFakeRenderer();
    tree_.AddUsbDevice("1-1", "0b7e", "4a31");
    tree_.AddUsbDevice("1-2", "0b7e", "4a3e");
    const auto list = Build(true);
    // 0: the maker's driver (first row, 4a31), 1: generic driver, 2: generic renderer device.
    ASSERT_EQ(list.Name(0), u"KESTRANE ASIO USB DRIVER");
    ASSERT_EQ(list.Name(1), u"Some Driver");
    ASSERT_EQ(list.Name(2), u"WASAPI: Speakers (KESTRANE USB)");
    struct Case {
        int32_t index;
        bool isDsd;
        bool native;
        double rate;
        bool allowed;
    };
    const Case cases[] = {
        {0, false, false, 1411200, false},
        {0, false, false, 705600, true},
        {0, false, false, 44100, true},
        {0, false, false, 12345, true},
        {0, true, false, 176400, true},
        {0, true, false, 352800, true},
        {0, true, false, 705600, true},
        {0, true, false, 192000, false},
        {0, true, false, 88200, false},
        {0, true, false, 99999, true},
        {0, true, true, 2822400, true},
        {0, true, true, 22579200, true},
        {0, true, true, 3072000, false},
        {0, true, true, 1411200, false},
        {0, true, true, 44100, false},
        {1, true, true, 24576000, true},
        {1, true, false, 192000, true},
        {2, true, true, 2822400, false},
        {2, false, false, 1536000, true},
        {4, false, false, 44100, false},
        {-1, false, false, 44100, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsRateAllowed(list, c.index, c.isDsd, c.native, c.rate), c.allowed)
            << "index " << c.index << " dsd " << c.isDsd << " native " << c.native << " rate " << c.rate;
    }
}

TEST_F(DevNameInfoTest, ProductOfTheThirdRowRefuses705600ForPcm)
{
    tree_.AddUsbDevice("1-1", "0b7e", "4a3e");
    const auto list = Build(false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_FALSE(IsRateAllowed(list, 0, false, false, 705600));
    EXPECT_TRUE(IsRateAllowed(list, 0, false, false, 1411200));
}

} // namespace
} // namespace sonavel
