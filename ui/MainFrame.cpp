#include "ui/MainFrame.h"

#include "app/AppConfigData.h"
#include "core/PlayerCore.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"
#include "ui/CommandIds.h"
#include "ui/DeviceChangeMonitor.h"
#include "ui/DlgAboutbox.h"
#include "ui/ExListCtrl.h"
#include "ui/ForwardedPaths.h"
#include "ui/MainMenu.h"
#include "ui/PlayerDisplayRules.h"
#include "ui/QELDSDPlayerView.h"
#include "ui/QtText.h"
#include "ui/SkinPicture.h"
#include "ui/SuspendWatcher.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

namespace sonavel {
namespace {

constexpr int kProgramIcon = 110;

} // namespace

CMainFrame::CMainFrame(CAppConfigData& config, const std::vector<std::u16string>& arguments)
    : config_(config), menu_(new CMainMenu(*menuBar())), suspend_(new CSuspendWatcher(this)),
      devices_(new CDeviceChangeMonitor(this))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowIcon(QPixmap::fromImage(LoadSkinPicture(kProgramIcon)));
    view_ = new CQELDSDPlayerView(config, *menu_, arguments, this);
    setCentralWidget(view_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    const TrackingSize minimum = MinimumTrackingSize(logicalDpiX(), logicalDpiY());
    setMinimumSize(minimum.width, minimum.height);

    connect(menu_, &CMainMenu::commandTriggered, this, [this](int id) {
        if (id == command::kAbout) {
            ShowAbout();
        } else {
            view_->OnCommand(id);
        }
    });
    connect(menu_->TopLevel(0), &QMenu::aboutToShow, this, &CMainFrame::UpdateRemoveItem);
    connect(view_, &CQELDSDPlayerView::exitRequested, this, [this] {
        exitConfirmed_ = true;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
    connect(devices_, &CDeviceChangeMonitor::cdRemoved, view_, &CQELDSDPlayerView::OnCdRemoved);
    connect(devices_, &CDeviceChangeMonitor::soundDevicesChanged, view_,
            &CQELDSDPlayerView::OnSoundDevicesChanged);
    connect(suspend_, &CSuspendWatcher::suspending, this, [] {
        const PlayerCore& core = Core();
        if (core.ready && core.player) {
            core.player->Post(WM_PLAYER_STOP, 1, 0);
        }
    });
}

CMainFrame::~CMainFrame()
{
    ShutdownCore();
}

void CMainFrame::UpdateRemoveItem()
{
    menu_->SetEnabled(command::kRemove, Core().ready && !view_->List().GetSelectedRows().empty());
}

void CMainFrame::OnCommandLine(const QString& text)
{
    if (!text.isEmpty() && Core().ready) {
        CoreAddPaths(SplitForwardedPaths(ToU16(text)), -1);
    }
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void CMainFrame::ShowAbout()
{
    std::vector<PluginListItem> plugins;
    if (Core().ready) {
        CoreCreatePluginList(&plugins);
    }
    CDlgAboutbox about(plugins, this);
    about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    if (!exitConfirmed_ && !view_->ConfirmSaving()) {
        event->ignore();
        return;
    }
    exitConfirmed_ = false;
    ShutdownCore();
    event->accept();
}

void CMainFrame::ShutdownCore()
{
    if (closed_) {
        return;
    }
    closed_ = true;
    suspend_->Unregister();
    // The core stops calling into the view, then stops the playback thread and waits for it.
    if (Core().ready) {
        CoreEndFrontEnd();
    }
    config_.x.value = x();
    config_.y.value = y();
    config_.Save();
}

} // namespace sonavel
