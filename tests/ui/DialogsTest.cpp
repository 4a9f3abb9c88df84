#include "output/DevNameInfo.h"
#include "ui/DlgAboutbox.h"
#include "ui/DlgConfig.h"
#include "ui/DlgErrorNotify.h"
#include "ui/DlgOpenCD.h"
#include "ui/DlgProperty.h"
#include "ui/ExListCtrl.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <thread>

namespace sonavel::test {
namespace {

TEST(DlgErrorNotifyTest, AppendsEachErrorWithAnEmptyLineAndStartsAfreshAfterClosing)
{
    CDlgErrorNotify window;
    std::thread loader([&window] {
        window.ReportError(u"Cannot open file.");
        window.ReportError(u"Read error.");
    });
    loader.join();
    // Reports from other threads wait for the GUI thread.
    EXPECT_TRUE(window.Text().isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(window.Text(), QStringLiteral("Cannot open file.\n\nRead error.\n\n"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("KESTRANE Sonavel Error"));
    window.close();
    EXPECT_FALSE(window.isVisible());
    window.AppendMessage(QStringLiteral("Device error."));
    EXPECT_EQ(window.Text(), QStringLiteral("Device error.\n\n"));
    EXPECT_TRUE(window.isVisible());
}

class FakeProbe : public IOutputDeviceProbe {
  public:
    std::vector<ProbedDevice> ProbeDevices() override
    {
        ++probes;
        return devices;
    }
    std::vector<ProbedDevice> devices;
    int probes = 0;
};

class DlgConfigTest : public ::testing::Test {
  protected:
    DlgConfigTest() : dialog(probe, nullptr)
    {
        probe.devices = {{u"KESTRANE ASIO USB DRIVER", kDeviceFlagDsdModeChoice},
                         {u"WASAPI: Speakers", 0},
                         {u"File Writer", 0}};
    }
    void Select(const char16_t* name)
    {
        dialog.DeviceCombo().setCurrentIndex(dialog.DeviceCombo().findText(QString::fromUtf16(name)));
    }
    QRadioButton& Radio(int id) { return dialog.Radio(id); }

    FakeProbe probe;
    CDlgConfig dialog;
};

TEST_F(DlgConfigTest, DecodeRadiosFollowTheSelectedDevice)
{
    dialog.Config().device.value = u"KESTRANE ASIO USB DRIVER";
    dialog.Config().decodeMode.value = 1;
    dialog.InitDialog();
    EXPECT_EQ(dialog.DeviceCombo().currentText(), QStringLiteral("KESTRANE ASIO USB DRIVER"));
    EXPECT_TRUE(Radio(1024).isEnabled());
    EXPECT_TRUE(Radio(1025).isChecked());

    Select(u"WASAPI: Speakers");
    EXPECT_FALSE(Radio(1024).isEnabled());
    EXPECT_FALSE(Radio(1025).isEnabled());
    EXPECT_TRUE(Radio(1024).isChecked());

    Select(u"File Writer");
    EXPECT_FALSE(Radio(1024).isEnabled());
    EXPECT_TRUE(Radio(1025).isEnabled());
    EXPECT_TRUE(Radio(1025).isChecked());

    // The device with the choice shows the decode mode the last selection left.
    Select(u"KESTRANE ASIO USB DRIVER");
    EXPECT_TRUE(Radio(1024).isEnabled());
    EXPECT_TRUE(Radio(1025).isChecked());
}

TEST_F(DlgConfigTest, OkStoresWhatTheRadiosShowAndKeepsTheHiddenValues)
{
    dialog.Config().device.value = u"KESTRANE ASIO USB DRIVER";
    dialog.Config().decodeMode.value = 0;
    dialog.Config().ramMode.value = 0;
    dialog.Config().thrGapless.value = -60;
    dialog.Config().mp3Gapless.value = false;
    dialog.InitDialog();
    Radio(1027).setChecked(true);
    dialog.ClickOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Config().device.value, u"KESTRANE ASIO USB DRIVER");
    EXPECT_EQ(dialog.Config().decodeMode.value, 0);
    EXPECT_EQ(dialog.Config().ramMode.value, 1);
    EXPECT_EQ(dialog.Config().thrGapless.value, -60);
    EXPECT_FALSE(dialog.Config().mp3Gapless.value);
}

TEST_F(DlgConfigTest, AMissingDeviceIsSelectedAgainWhenItReappears)
{
    dialog.Config().device.value = u"File Writer";
    probe.devices.pop_back();
    dialog.InitDialog();
    EXPECT_EQ(dialog.DeviceCombo().currentIndex(), -1);
    EXPECT_FALSE(Radio(1024).isEnabled());
    EXPECT_FALSE(Radio(1025).isEnabled());
    // OK is refused without a selection.
    dialog.ClickOk();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.Config().device.value, u"File Writer");

    probe.devices.push_back({u"File Writer", 0});
    dialog.OnDeviceChange();
    EXPECT_EQ(dialog.DeviceCombo().count(), 3);
    EXPECT_EQ(dialog.DeviceCombo().currentText(), QStringLiteral("File Writer"));
    EXPECT_TRUE(Radio(1025).isChecked());
    // An unchanged list is not rebuilt.
    const int probes = probe.probes;
    dialog.DeviceCombo().setCurrentIndex(0);
    dialog.OnDeviceChange();
    EXPECT_EQ(probe.probes, probes + 1);
    EXPECT_EQ(dialog.DeviceCombo().currentIndex(), 0);
}

TEST(DlgOpenCdTest, ListsOnlyDrivesWithAnAudioCdAndReturnsTheChosenOne)
{
    CDlgOpenCD dialog(
        {u"/dev/sr0", u"/dev/sr1", u"/dev/sr2"},
        [](const std::u16string& drive) { return drive == u"/dev/sr0" ? 0 : 12; }, nullptr);
    ASSERT_EQ(dialog.DriveList().count(), 2);
    EXPECT_EQ(dialog.DriveList().currentRow(), 0);
    EXPECT_TRUE(dialog.IsOkEnabled());
    dialog.ClickOk();
    EXPECT_EQ(dialog.ChosenDrive(), u"/dev/sr1");

    CDlgOpenCD empty(
        {u"/dev/sr0"}, [](const std::u16string&) { return 0; }, nullptr);
    EXPECT_EQ(empty.DriveList().count(), 0);
    EXPECT_FALSE(empty.IsOkEnabled());
    empty.ClickOk();
    EXPECT_TRUE(empty.ChosenDrive().empty());
}

TEST(DlgAboutboxTest, ListsOneRowPerPlugin)
{
    const std::vector<PluginListItem> plugins = {{u"Plugin-Tessel", u"DFF", u"1.0.0.0"},
                                                 {u"FLAC decoder", u"FLAC|FLA", u"1.2.0.0"}};
    CDlgAboutbox about(plugins, nullptr);
    CExListCtrl& list = about.PluginList();
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 0), u"Plugin-Tessel");
    EXPECT_EQ(list.GetItemText(0, 1), u"DFF");
    EXPECT_EQ(list.GetItemText(1, 2), u"1.2.0.0");
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Version Information KESTRANE Sonavel"));
    EXPECT_EQ(list.ColumnWidths().size(), 3U);

    CDlgAboutbox empty({}, nullptr);
    EXPECT_EQ(empty.PluginList().GetItemCount(), 0);
}

TEST(DlgPropertyTest, ShowsTheThreeFields)
{
    CDlgProperty dialog(nullptr);
    dialog.SetDetails(QStringLiteral("a.wav"), QStringLiteral("Song"), QStringLiteral("Band"));
    EXPECT_EQ(dialog.FieldText(0), QStringLiteral("a.wav"));
    EXPECT_EQ(dialog.FieldText(1), QStringLiteral("Song"));
    EXPECT_EQ(dialog.FieldText(2), QStringLiteral("Band"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Properties"));
}

} // namespace
} // namespace sonavel::test
