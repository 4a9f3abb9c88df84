// The real program window over the running player core, playing through the file writer.
#include "app/AppConfigData.h"
#include "app/ConfigStartup.h"
#include "core/CoreDialogs.h"
#include "core/PlayerCore.h"
#include "core/PlaylistCtrl.h"
#include "ui/CommandIds.h"
#include "ui/CustomButton.h"
#include "ui/CustomLED.h"
#include "ui/DlgErrorNotify.h"
#include "ui/DlgProperty.h"
#include "ui/ExListCtrl.h"
#include "ui/LcdDisplayAreaCtrl.h"
#include "ui/MainFrame.h"
#include "ui/MainMenu.h"
#include "ui/QELDSDPlayerView.h"
#include "ui/StatusTextArea.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"
#include "tests/ui/QtTestEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QMenu>
#include <QProgressBar>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <thread>

namespace sonavel::test {
namespace {

class AnsweredDialogs : public ICoreDialogs {
  public:
    bool AskFileNames(const FileDialogRequest&, std::vector<std::u16string>* chosen) override
    {
        ++asked;
        if (answers.empty()) {
            return false;
        }
        *chosen = answers.front();
        answers.pop_front();
        return true;
    }
    std::deque<std::vector<std::u16string>> answers;
    int asked = 0;
};

// Runs the GUI thread's events until `done` holds, at most 20 seconds.
bool WaitUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 20000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The program's window as main() builds it, with its configuration in a folder of the test's
// own and the file writer as the output device.
class PlayerWindowTest : public ::testing::Test {
  protected:
    PlayerWindowTest()
    {
        setenv("SONAVEL_FILEWRITER_OUT", (dir.Path() / "out.wav").c_str(), 1);
        setenv("SONAVEL_FILEWRITER_SPEED", "10", 1);
        setenv("SONAVEL_FILEWRITER_TYPE", "18", 1);
        setenv("SONAVEL_FILEWRITER_CHANNELS", "2", 1);
        setenv("SONAVEL_FILEWRITER_BUFFER", "512", 1);
        unsetenv("SONAVEL_FILEWRITER_RATES");
        config = LoadStartupConfig(dir.Path() / "config");
        config->device.value = u"File Writer";
        PlayerCore& core = Core();
        core.config = config.get();
        core.errors = &errors;
        frame = std::make_unique<CMainFrame>(*config, std::vector<std::u16string>{u"ui-window-test"});
        core.dialogs = &dialogs;
        View().SetMessageBoxFunction([this](uint32_t id, QMessageBox::StandardButtons) {
            asked.push_back(id);
            return answer;
        });
        View().OnInitialUpdate();
        frame->show();
    }
    ~PlayerWindowTest() override
    {
        if (Core().ready) {
            frame->close();
        }
        frame.reset();
        Core().config = nullptr;
        Core().errors = nullptr;
    }

    CQELDSDPlayerView& View() { return frame->View(); }
    std::u16string AddWave(const std::string& name, double seconds, const std::string& title,
                           const std::string& artist = {})
    {
        std::vector<std::pair<std::string, std::string>> tags;
        if (!title.empty()) {
            tags.emplace_back("INAM", title);
        }
        if (!artist.empty()) {
            tags.emplace_back("IART", artist);
        }
        const auto frames = static_cast<size_t>(seconds * 44100);
        const auto path = dir.Write(name, WaveBuilder()
                                              .Format(1, 2, 44100, 16)
                                              .InfoList(tags)
                                              .Data(std::vector<uint8_t>(frames * 4, 0x11))
                                              .Build());
        return path.u16string();
    }
    void AddToPlaylist(const std::vector<std::u16string>& paths)
    {
        std::u16string text;
        for (const auto& path : paths) {
            text += (text.empty() ? u"" : u"|") + path;
        }
        frame->OnCommandLine(QString::fromStdU16String(text));
        ASSERT_TRUE(
            WaitUntil([&] { return View().List().GetItemCount() == static_cast<int32_t>(paths.size()); }));
        // The core's report of the edit reaches the view through the event queue.
        QCoreApplication::processEvents();
    }
    QString Title() const { return frame->windowTitle(); }

    TempDir dir;
    std::shared_ptr<CAppConfigData> config;
    CDlgErrorNotify errors;
    AnsweredDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
    std::vector<uint32_t> asked;
    QMessageBox::StandardButton answer = QMessageBox::No;
};

TEST_F(PlayerWindowTest, ControlsSitAtTheirPanelPositions)
{
    CQELDSDPlayerView& view = View();
    EXPECT_EQ(view.size(), QSize(709, 567));
    EXPECT_EQ(view.Lcd().geometry(), QRect(211, 52, 278, 71));
    EXPECT_EQ(view.SeekBar().geometry(), QRect(179, 125, 342, 32));
    EXPECT_EQ(view.ProgressBar().geometry(), QRect(206, 525, 300, 10));
    EXPECT_EQ(view.TimeText().geometry(), QRect(507, 520, 180, 20));
    EXPECT_EQ(view.List().geometry(), QRect(18, 191, 676, 330));
    const QRect buttons[] = {
        {527, 115, 27, 27}, {576, 115, 27, 27}, {625, 115, 27, 27}, {576, 58, 27, 27}, {625, 58, 27, 27}};
    const int ids[] = {command::kStop, command::kPlay, command::kPause, command::kPrevious, command::kNext};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(view.Button(i).geometry(), buttons[i]);
        EXPECT_EQ(view.Button(i).CommandId(), ids[i]);
        EXPECT_TRUE(view.Button(i).HasParentBackground());
    }
    EXPECT_EQ(view.Led(0).geometry(), QRect(573, 107, 9, 9));
    EXPECT_EQ(view.Led(1).geometry(), QRect(622, 107, 9, 9));
    // The stopped state before any report.
    EXPECT_FALSE(view.SeekBar().isEnabled());
    EXPECT_FALSE(view.ProgressBar().isVisible());
    EXPECT_EQ(view.TimeText().text(), QStringLiteral("0:00:00 / 0:00:00"));
    EXPECT_TRUE(frame->Menu().IsChecked(command::kStop));
    EXPECT_TRUE(frame->Menu().IsChecked(command::kOrderDefault));
    EXPECT_EQ(Title(), QStringLiteral("KESTRANE Sonavel"));
    EXPECT_EQ(View().List().ColumnWidths(),
              (std::vector<int32_t>{60, 165, 340, View().List().viewport()->width() - 565}));
}

TEST_F(PlayerWindowTest, PlaysShowsPausesSeeksStopsAndClosesCleanly)
{
    AddToPlaylist({AddWave("a.wav", 40, "Alpha"), AddWave("b.wav", 2, "")});
    EXPECT_EQ(View().TimeText().text(), QStringLiteral("0:00:00 / 0:00:42"));
    View().OnCommand(command::kPlay);
    ASSERT_TRUE(WaitUntil([&] { return Title() == QStringLiteral("Alpha - KESTRANE Sonavel"); }));
    CMainMenu& menu = frame->Menu();
    EXPECT_TRUE(menu.IsChecked(command::kPlay));
    EXPECT_FALSE(menu.IsChecked(command::kStop));
    EXPECT_TRUE(View().Led(0).IsLit());
    EXPECT_FALSE(menu.IsEnabled(command::kOpen));
    EXPECT_TRUE(menu.IsEnabled(command::kAddFiles));
    EXPECT_FALSE(menu.TopLevel(2)->isEnabled());
    EXPECT_EQ(View().List().GetItemImage(0), kRowImagePlaying);
    EXPECT_EQ(View().Lcd().Indexes().format, 0);
    EXPECT_EQ(View().Lcd().Indexes().rate, 1);
    EXPECT_EQ(View().Lcd().Indexes().bitDepth, 0);
    EXPECT_EQ(View().SeekBar().RangeMax(), 40);
    EXPECT_TRUE(View().SeekBar().isEnabled());
    EXPECT_EQ(View().StatusText(), u"WAVE");

    // Position reports move the thumb, the time text and the LCD clock.
    ASSERT_TRUE(WaitUntil([&] { return View().SeekBar().Pos() >= 2; }));
    ASSERT_TRUE(WaitUntil([&] {
        return View().TimeText().text().startsWith(QStringLiteral("0:00:0")) &&
               !View().TimeText().text().startsWith(QStringLiteral("0:00:00"));
    }));
    EXPECT_NE(View().Lcd().ClockCells()[7], 0);

    View().OnCommand(command::kPause);
    ASSERT_TRUE(WaitUntil([&] { return View().Led(1).IsLit(); }));
    EXPECT_FALSE(View().Led(0).IsLit());
    EXPECT_TRUE(menu.IsChecked(command::kPause));
    EXPECT_EQ(View().StatusText(), u"Pause");
    EXPECT_EQ(View().List().GetItemImage(0), kRowImagePaused);
    View().OnCommand(command::kPause);
    ASSERT_TRUE(WaitUntil([&] { return View().Led(0).IsLit(); }));

    // A click on the groove at 30 s asks for exactly one seek, which the engine confirms.
    CSeekbarSliderCtrl& bar = View().SeekBar();
    const int x = bar.Channel().left + (bar.Channel().right - bar.Channel().left) * 30 / 40;
    SendMouse(bar, QEvent::MouseButtonPress, QPoint(x, 17), Qt::LeftButton, Qt::LeftButton);
    SendMouse(bar, QEvent::MouseButtonRelease, QPoint(x, 17), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(View().SeekState(), 2);
    ASSERT_TRUE(WaitUntil([&] { return View().SeekState() == 0; }));
    ASSERT_TRUE(WaitUntil([&] { return View().Lcd().ClockCells()[6] >= 3; }));

    View().OnCommand(command::kStop);
    ASSERT_TRUE(WaitUntil([&] { return Title() == QStringLiteral("KESTRANE Sonavel"); }));
    EXPECT_TRUE(menu.IsChecked(command::kStop));
    EXPECT_FALSE(View().Led(0).IsLit());
    EXPECT_FALSE(View().Led(1).IsLit());
    EXPECT_FALSE(View().SeekBar().isEnabled());
    EXPECT_EQ(View().Lcd().Indexes().format, -1);
    EXPECT_TRUE(menu.IsEnabled(command::kOpen));
    EXPECT_TRUE(menu.TopLevel(2)->isEnabled());
    EXPECT_EQ(View().TimeText().text(), QStringLiteral("0:00:00 / 0:00:42"));
    EXPECT_EQ(View().StatusText(), u"Stop");

    // Closing joins the playback thread and saves the configuration.
    frame->move(40, 30);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(Core().ready);
    EXPECT_EQ(Core().player, nullptr);
    EXPECT_EQ(Core().callback.load(), nullptr);
    const std::shared_ptr<CAppConfigData> saved = LoadStartupConfig(dir.Path() / "config");
    EXPECT_EQ(saved->device.value, u"File Writer");
    EXPECT_EQ(saved->x.value, frame->x());
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out.wav"));
    EXPECT_TRUE(errors.Text().isEmpty());
}

TEST_F(PlayerWindowTest, AnEntryWithoutTitleIsNamedByItsFileAndLoadingShowsInTheTitle)
{
    AddToPlaylist({AddWave("untitled.wav", 30, "")});
    View().OnCommand(command::kPlay);
    ASSERT_TRUE(WaitUntil([&] { return Title() == QStringLiteral("untitled.wav - KESTRANE Sonavel"); }));
    View().ShowLoadProgress(37);
    EXPECT_EQ(Title(), QStringLiteral("[Loading 37%...] untitled.wav - KESTRANE Sonavel"));
    EXPECT_TRUE(View().ProgressBar().isVisible());
    EXPECT_FALSE(View().SeekBar().isEnabled());
    View().ShowLoadProgress(100);
    EXPECT_EQ(Title(), QStringLiteral("untitled.wav - KESTRANE Sonavel"));
    EXPECT_FALSE(View().ProgressBar().isVisible());
    EXPECT_TRUE(View().SeekBar().isEnabled());
}

TEST_F(PlayerWindowTest, SaveConfirmationPaths)
{
    AddToPlaylist({AddWave("a.wav", 1, "A")});
    ASSERT_TRUE(Core().playlist->Store().IsModified());
    // No: the command goes on without saving.
    answer = QMessageBox::No;
    EXPECT_TRUE(View().ConfirmSaving());
    EXPECT_EQ(asked, std::vector<uint32_t>{161});
    EXPECT_EQ(dialogs.asked, 0);
    // Yes, and the save dialog is cancelled: the window stays open.
    answer = QMessageBox::Yes;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_TRUE(Core().ready);
    // Yes, and saved: the command goes on.
    const std::u16string list = (dir.Path() / "list.ppl").u16string();
    dialogs.answers.push_back({list});
    EXPECT_TRUE(View().ConfirmSaving());
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "list.ppl"));
    EXPECT_FALSE(Core().playlist->Store().IsModified());
    EXPECT_TRUE(View().ConfirmSaving());
    EXPECT_EQ(asked.size(), 3U);
}

TEST_F(PlayerWindowTest, ContextPlayWithoutDeviceShowsTheMessageAndPauseWhenStoppedSendsNothing)
{
    AddToPlaylist({AddWave("a.wav", 1, "A")});
    config->device.value.clear();
    View().OnCommand(command::kContextPlay);
    EXPECT_EQ(asked, std::vector<uint32_t>{160});
    View().OnCommand(command::kPause);
    QCoreApplication::processEvents();
    EXPECT_EQ(Core().playState, 0);
    EXPECT_TRUE(frame->Menu().IsChecked(command::kStop));
}

TEST_F(PlayerWindowTest, EngineReportsReachTheWidgetsOnlyOnTheGuiThread)
{
    AddToPlaylist({AddWave("a.wav", 10, "Alpha")});
    std::thread engine([this] {
        auto info = std::make_unique<PlayStartInfo>();
        info->lengthSeconds = 10;
        info->entryIndex = 0;
        View().OnStatus(kStatusStarted, 0, std::move(info));
        View().OnTime(3, 3);
        View().OnSourceMode(kSourceModeUnchanged);
    });
    engine.join();
    // Nothing was touched by the other thread.
    EXPECT_EQ(Title(), QStringLiteral("KESTRANE Sonavel"));
    EXPECT_EQ(View().TimeText().text(), QStringLiteral("0:00:00 / 0:00:10"));
    EXPECT_FALSE(View().Led(0).IsLit());
    QCoreApplication::processEvents();
    EXPECT_EQ(Title(), QStringLiteral("Alpha - KESTRANE Sonavel"));
    EXPECT_EQ(View().TimeText().text(), QStringLiteral("0:00:03 / 0:00:10"));
    EXPECT_EQ(View().SeekBar().Pos(), 3);
    EXPECT_TRUE(View().Led(0).IsLit());
    EXPECT_EQ(View().thread(), QThread::currentThread());
}

TEST_F(PlayerWindowTest, CdModeGraysAddAndSaveAndSwitchesOffDragAndDrop)
{
    View().OnSourceMode(kSourceModeToCd);
    QCoreApplication::processEvents();
    EXPECT_TRUE(View().IsCdMode());
    EXPECT_FALSE(frame->Menu().IsEnabled(command::kAddFiles));
    EXPECT_FALSE(frame->Menu().IsEnabled(command::kSavePlaylist));
    EXPECT_TRUE(frame->Menu().IsEnabled(command::kOpen));
    EXPECT_FALSE(View().List().acceptDrops());
    View().OnSourceMode(kSourceModeToFiles);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->Menu().IsEnabled(command::kSavePlaylist));
    EXPECT_TRUE(View().List().acceptDrops());
}

TEST_F(PlayerWindowTest, ListGesturesReachThePlaylist)
{
    AddToPlaylist({AddWave("a.wav", 1, "A"), AddWave("b.wav", 1, "B"), AddWave("c.wav", 1, "C")});
    CExListCtrl& list = View().List();
    // Remove is gray without a selection.
    emit frame->Menu().TopLevel(0)->aboutToShow();
    EXPECT_FALSE(frame->Menu().IsEnabled(command::kRemove));

    // Dragging the first row below the last moves it to the end.
    ViewRect first;
    ASSERT_TRUE(list.GetItemRect(0, &first));
    const QPoint start(100, (first.top + first.bottom) / 2 - list.HeaderHeight());
    QWidget& port = *list.viewport();
    SendMouse(port, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    SendMouse(port, QEvent::MouseMove, start + QPoint(0, 12), Qt::NoButton, Qt::LeftButton);
    SendMouse(port, QEvent::MouseMove, QPoint(100, port.height() - 3), Qt::NoButton, Qt::LeftButton);
    SendMouse(port, QEvent::MouseButtonRelease, QPoint(100, port.height() - 3), Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(WaitUntil([&] { return list.GetItemText(2, 2) == u"A"; }));
    EXPECT_EQ(list.GetItemText(0, 2), u"B");
    emit frame->Menu().TopLevel(0)->aboutToShow();
    EXPECT_TRUE(frame->Menu().IsEnabled(command::kRemove));

    // Up and Down move in the playlist even when another control has the key.
    list.SelectOnly(0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&View().Button(1), &down);
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int32_t>{1});

    // Files dropped on the list are added where they were dropped.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdU16String(AddWave("d.wav", 1, "D")))});
    ViewRect second;
    ASSERT_TRUE(list.GetItemRect(1, &second));
    const QPoint at(100, second.top + 2 - list.HeaderHeight());
    QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&port, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&port, &drop);
    ASSERT_TRUE(WaitUntil([&] { return list.GetItemCount() == 4; }));
    EXPECT_EQ(list.GetItemText(1, 2), u"D");

    // Properties shows the selected entry.
    list.SelectOnly(1);
    View().OnCommand(command::kContextProperties);
    EXPECT_TRUE(View().PropertyDialog().isVisible());
    EXPECT_EQ(View().PropertyDialog().FieldText(1), QStringLiteral("D"));
    EXPECT_EQ(View().PropertyDialog().FieldText(0), QStringLiteral("d.wav"));
}

// Not a check: with SONAVEL_UI_SCREENSHOT=<file.png> it saves a picture of the playing window for
// the README (tests/ui/make-screenshot.sh).
TEST_F(PlayerWindowTest, ScreenshotForTheReadme)
{
    const char* target = std::getenv("SONAVEL_UI_SCREENSHOT");
    if (target == nullptr) {
        GTEST_SKIP() << "SONAVEL_UI_SCREENSHOT not set";
    }
    AddToPlaylist(
        {AddWave("01.wav", 31, "Morning Glass", "Aster Quartet"),
         AddWave("02.wav", 48, "Kestrel Over the Weir", "Aster Quartet"),
         AddWave("03.wav", 27, "Slow Current", "Lina Moreau"),
         AddWave("04.wav", 39, "Harbour Lights (Live at the Old Mill, Second Night, Encore)", "Lina Moreau"),
         AddWave("05.wav", 22, "Night Train", "The Halverson Trio")});
    CorePlayRow(1);
    ASSERT_TRUE(WaitUntil([&] { return View().SeekBar().Pos() >= 21; }));
    View().OnCommand(command::kPause);
    ASSERT_TRUE(WaitUntil([&] { return View().Led(1).IsLit(); }));
    View().OnCommand(command::kPause);
    ASSERT_TRUE(WaitUntil([&] { return View().Led(0).IsLit(); }));
    View().List().SetItemSelected(3, true);
    QCoreApplication::processEvents();
    ASSERT_TRUE(frame->grab().save(QString::fromLocal8Bit(target), "PNG"));
}

} // namespace
} // namespace sonavel::test
