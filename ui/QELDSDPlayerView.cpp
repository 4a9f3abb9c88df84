#include "ui/QELDSDPlayerView.h"

#include "app/AppConfigData.h"
#include "app/StringTable.h"
#include "core/PlayerCore.h"
#include "core/PlaylistCtrl.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"
#include "ui/CommandIds.h"
#include "ui/CoreDeviceProbe.h"
#include "ui/CustomButton.h"
#include "ui/CustomLED.h"
#include "ui/DlgConfig.h"
#include "ui/DlgOpenCD.h"
#include "ui/DlgProperty.h"
#include "ui/ExListCtrl.h"
#include "ui/LcdDisplayAreaCtrl.h"
#include "ui/MainMenu.h"
#include "ui/PlayerDisplayRules.h"
#include "ui/QtText.h"
#include "ui/SkinPicture.h"
#include "ui/StatusTextArea.h"
#include "ui/ViewMessageBox.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

namespace sonavel {
namespace {

constexpr int kViewWidth = 709;
constexpr int kViewHeight = 567;
constexpr int kBackgroundBitmap = 300;
constexpr uint32_t kContextPlayText = 250;
constexpr uint32_t kContextRemoveText = 251;
constexpr uint32_t kContextPropertiesText = 252;

struct ButtonPlace {
    int id;
    QRect rect;
};
// In the order of the view's button indexes: Stop, Play, Pause, Previous, Next.
const ButtonPlace kButtons[] = {
    {command::kStop, {527, 115, 27, 27}},  {command::kPlay, {576, 115, 27, 27}},
    {command::kPause, {625, 115, 27, 27}}, {command::kPrevious, {576, 58, 27, 27}},
    {command::kNext, {625, 58, 27, 27}},
};
// Play LED, Pause LED.
const QRect kLedRects[] = {{573, 107, 9, 9}, {622, 107, 9, 9}};

// "desc|patterns|desc|patterns||" as Qt's "desc (patterns);;desc (patterns)".
QString QtFilter(std::u16string_view filter)
{
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace

CQELDSDPlayerView::CQELDSDPlayerView(CAppConfigData& config, CMainMenu& menu,
                                     const std::vector<std::u16string>& arguments, QWidget* parent)
    : QWidget(parent), config_(config), menu_(menu), list_(new CExListCtrl(this)),
      seekBar_(new CSeekbarSliderCtrl(this)), seekHelper_(this), progress_(new QProgressBar(this)),
      timeText_(new CStatusTextArea(this)), lcd_(new CLcdDisplayAreaCtrl(this)),
      properties_(new CDlgProperty(this)),
      messageBox_([this](uint32_t id, QMessageBox::StandardButtons buttons) {
          return ShowViewMessage(this, id, buttons,
                                 buttons == QMessageBox::Ok ? QMessageBox::Information
                                                            : QMessageBox::Question);
      })
{
    setFixedSize(kViewWidth, kViewHeight);
    for (const ButtonPlace& place : kButtons) {
        buttons_.push_back(new CCustomButton(place.id, this));
    }
    for (size_t i = 0; i < std::size(kLedRects); ++i) {
        leds_.push_back(new CCustomLED(this));
    }
    // The application has lent the core its configuration and error sinks; the view adds its own.
    PlayerCore& core = Core();
    if (!core.ready) {
        CoreStartFrontEnd({this, this, list_, list_, core.config, core.errors, core.alerts}, arguments);
    }
}

CQELDSDPlayerView::~CQELDSDPlayerView()
{
    qApp->removeEventFilter(this);
}

void CQELDSDPlayerView::OnInitialUpdate()
{
    PlayerCore& core = Core();
    UpdateWindowTitle();
    MoveToStoredPosition();

    background_ = LoadSkinBitmap(kBackgroundBitmap);
    seekBar_->SetListener(this);
    seekBar_->SetGeometryRects(ViewRect{212, 127, 488, 157}, ViewRect{179, 125, 521, 157},
                               ViewRect{0, 11, 0, 10});
    seekBar_->ComputeChannel();
    seekBar_->MoveToWindowRect();
    if (!background_.isNull()) {
        seekBar_->SetParentBackground(background_);
    }
    connect(seekBar_, &CSeekbarSliderCtrl::scrolled, this, &CQELDSDPlayerView::OnSeekBarScroll);

    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setGeometry(206, 525, 300, 10);
    progress_->hide();

    lcd_->LoadBitmaps();
    lcd_->setGeometry(211, 52, 278, 71);
    lcd_->SetParentBackground(background_);

    for (size_t i = 0; i < buttons_.size(); ++i) {
        CCustomButton* button = buttons_[i];
        button->setGeometry(kButtons[i].rect);
        button->SetParentBackground(background_);
        connect(button, &CCustomButton::commandTriggered, this, &CQELDSDPlayerView::OnCommand);
        button->setEnabled(true);
        button->show();
    }
    for (size_t i = 0; i < leds_.size(); ++i) {
        leds_[i]->setGeometry(kLedRects[i]);
        leds_[i]->SetParentBackground(background_);
        leds_[i]->show();
    }

    seekBar_->setEnabled(false);
    timeText_->setGeometry(507, 520, 180, 20);
    timeText_->setText(QStringLiteral("0:00:00 / 0:00:00"));

    list_->SetMinColumnWidth(50);
    list_->SetDropFilter([](const std::u16string& path) {
        const PlayerCore& state = Core();
        return state.ready && (CoreHasListedExtension(path, state.playableExtensions) ||
                               CoreHasListedExtension(path, state.playlistExtensions));
    });
    connect(list_, &CExListCtrl::reorderRequested, this, [](int32_t index) {
        if (Core().ready) {
            CoreMoveSelectedRows(index);
        }
    });
    // Queued: the drop's own event handling ends before the files are read.
    connect(
        list_, &CExListCtrl::filesDropped, this,
        [](const QStringList& paths) {
            if (!Core().ready) {
                return;
            }
            std::vector<std::u16string> dropped;
            for (const QString& path : paths) {
                dropped.push_back(ToU16(path));
            }
            CoreDropFiles(dropped);
        },
        Qt::QueuedConnection);
    connect(list_, &CExListCtrl::rowActivated, this, [](int32_t row) {
        if (row >= 0 && Core().ready) {
            CorePlayRow(row);
        }
    });
    connect(list_, &CExListCtrl::deleteKeyPressed, this, [] {
        if (Core().ready) {
            CoreRemoveSelectedByKey();
        }
    });
    connect(list_, &CExListCtrl::contextMenuRequested, this, &CQELDSDPlayerView::ShowContextMenu);
    if (core.ready) {
        CoreSetupPlaylistView(18, 191, 676, 330, 60, 165, 340, 110);
    } else {
        list_->setGeometry(18, 191, 676, 330);
    }
    ShowTime(0);

    PostToPlayer(WM_PLAYER_REPEAT, 0);
    if (!menu_.IsChecked(command::kOrderDefault)) {
        menu_.SetChecked(command::kOrderDefault, true);
    }
    menu_.SetChecked(command::kShuffle, false);
    PostToPlayer(WM_PLAYER_SHUFFLE, 0);

    SetPlayChecks(false, true, false);
    UpdateLeds();
    ApplyMenuEnabling(false);
    list_->EnableFileDrop(1);
    qApp->installEventFilter(this);
    CoreApplyOutputSettings();
}

void CQELDSDPlayerView::MoveToStoredPosition()
{
    QWidget* frame = window();
    const int caption = std::max(1, frame->frameGeometry().height() - frame->geometry().height());
    const QRect strip(config_.x.value, config_.y.value, frame->frameGeometry().width(), caption);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->geometry().intersected(strip);
        if (shown.height() >= caption && shown.width() >= 60) {
            frame->move(config_.x.value, config_.y.value);
            return;
        }
    }
}

void CQELDSDPlayerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!background_.isNull()) {
        painter.drawImage(0, 0, background_);
    }
}

bool CQELDSDPlayerView::eventFilter(QObject* watched, QEvent* event)
{
    // Up and Down always move in the playlist, whichever control has the focus.
    if (event->type() == QEvent::KeyPress && watched != list_ && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && widget->window() == window() &&
            !qobject_cast<const QMenu*>(widget)) {
            QKeyEvent copy(key->type(), key->key(), key->modifiers());
            QCoreApplication::sendEvent(list_, &copy);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CQELDSDPlayerView::PostToPlayer(uint32_t message, uintptr_t wParam)
{
    const PlayerCore& core = Core();
    if (core.ready && core.player) {
        core.player->Post(message, wParam, 0);
    }
}

bool CQELDSDPlayerView::ConfirmSaving()
{
    const PlayerCore& core = Core();
    const bool modified = core.playlist && core.playlist->Store().IsModified();
    if (!modified || cdMode_) {
        return true;
    }
    if (messageBox_(strings::kPlaylistChanged, QMessageBox::Yes | QMessageBox::No) == QMessageBox::No) {
        return true;
    }
    return core.ready && CoreSavePlaylist() == kCoreOk;
}

void CQELDSDPlayerView::OnCommand(int id)
{
    const bool ready = Core().ready;
    switch (id) {
    case command::kOpen:
        if (ConfirmSaving() && ready) {
            CoreOpenFiles();
        }
        break;
    case command::kOpenCd:
        OpenCd();
        break;
    case command::kAddFiles:
        if (ready) {
            CoreAddFiles();
        }
        break;
    case command::kRemove:
        if (ready) {
            CoreRemoveSelected();
        }
        break;
    case command::kNewPlaylist:
        if (ConfirmSaving() && ready) {
            CoreNewPlaylist();
        }
        break;
    case command::kLoadPlaylist:
        if (ConfirmSaving() && ready) {
            CoreLoadPlaylist();
        }
        break;
    case command::kSavePlaylist:
        if (ready) {
            CoreSavePlaylist();
        }
        break;
    case command::kExit:
        if (ConfirmSaving()) {
            emit exitRequested();
        }
        break;
    case command::kStop:
        PostToPlayer(WM_PLAYER_STOP, 1);
        break;
    case command::kPause:
        if (Core().playState != 0) {
            PostToPlayer(WM_PLAYER_PAUSE, 1);
        }
        break;
    case command::kPlay:
        if (ready) {
            CorePlay(false);
        }
        break;
    case command::kPrevious:
        PostToPlayer(WM_PLAYER_PREVIOUS, 1);
        break;
    case command::kNext:
        PostToPlayer(WM_PLAYER_NEXT, 1);
        break;
    case command::kShuffle:
        ToggleShuffle();
        break;
    case command::kOrderDefault:
        SetOrder(id, 0);
        break;
    case command::kOrderRepeatPlaylist:
        SetOrder(id, 2);
        break;
    case command::kOrderRepeatTitle:
        SetOrder(id, 1);
        break;
    case command::kDevice:
        RunConfiguration();
        break;
    case command::kControlPanel:
        if (ready) {
            CoreOpenControlPanel(config_.device.value);
        }
        break;
    case command::kContextPlay:
        if (config_.device.value.empty()) {
            messageBox_(strings::kNoOutputDevice, QMessageBox::Ok);
        } else if (ready) {
            CorePlay(true);
        }
        break;
    case command::kContextProperties:
        ShowProperties();
        break;
    default:
        break;
    }
}

void CQELDSDPlayerView::OpenCd()
{
    if (!ConfirmSaving()) {
        return;
    }
    CDlgOpenCD dialog(CDlgOpenCD::FindCdDrives(), &CDlgOpenCD::CountAudioTracks, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    cdDrive_ = dialog.ChosenDrive();
    if (Core().ready) {
        CoreOpenCd(cdDrive_);
    }
}

void CQELDSDPlayerView::OnCdRemoved(const std::u16string& device)
{
    if (cdDrive_.empty() || device != cdDrive_) {
        return;
    }
    if (cdMode_) {
        OnCommand(command::kNewPlaylist);
    }
    cdDrive_.clear();
}

void CQELDSDPlayerView::OnSoundDevicesChanged()
{
    if (openConfig_ != nullptr) {
        openConfig_->OnDeviceChange();
    }
}

void CQELDSDPlayerView::SetOrder(int id, int32_t order)
{
    config_.repeatMode.value = order;
    PostToPlayer(WM_PLAYER_REPEAT, static_cast<uintptr_t>(order));
    if (!menu_.IsChecked(id)) {
        menu_.SetChecked(id, true);
    }
}

void CQELDSDPlayerView::ToggleShuffle()
{
    const bool on = !menu_.IsChecked(command::kShuffle);
    menu_.SetChecked(command::kShuffle, on);
    config_.shuffleMode.value = on ? 1 : 0;
    PostToPlayer(WM_PLAYER_SHUFFLE, on ? 1 : 0);
}

void CQELDSDPlayerView::RunConfiguration()
{
    CCoreDeviceProbe probe;
    CDlgConfig dialog(probe, this);
    if (Core().ready) {
        CoreReleaseOutputDriver();
    }
    CopyConfigValues(config_, dialog.Config());
    openConfig_ = &dialog;
    const int result = dialog.RunModal();
    openConfig_ = nullptr;
    if (result != QDialog::Accepted) {
        return;
    }
    CopyConfigValues(dialog.Config(), config_);
    config_.Save();
    CoreApplyOutputSettings();
}

void CQELDSDPlayerView::ShowProperties()
{
    if (list_->GetSelectionMark() < 0) {
        return;
    }
    TrackDetails details;
    if (!Core().ready || CoreGetTrackDetails(true, &details) != kCoreOk) {
        details = TrackDetails{};
    }
    properties_->SetDetails(ToQString(details.displayName), ToQString(details.title),
                            ToQString(details.artist));
    properties_->show();
    properties_->raise();
}

void CQELDSDPlayerView::ShowContextMenu(QPoint globalPosition)
{
    if (list_->IsDragging()) {
        return;
    }
    const size_t selected = list_->GetSelectedRows().size();
    if (selected == 0) {
        return;
    }
    QMenu menu(this);
    if (selected == 1) {
        menu.addAction(ToQString(LoadString(kContextPlayText)))->setData(command::kContextPlay);
    }
    menu.addAction(ToQString(LoadString(kContextRemoveText)))->setData(command::kRemove);
    if (selected == 1) {
        menu.addAction(ToQString(LoadString(kContextPropertiesText)))->setData(command::kContextProperties);
    }
    if (const QAction* chosen = menu.exec(globalPosition)) {
        OnCommand(chosen->data().toInt());
    }
}

bool CQELDSDPlayerView::AskFileNames(const FileDialogRequest& request, std::vector<std::u16string>* chosen)
{
    QFileDialog dialog(this, ToQString(request.title), QString(), QtFilter(request.filter));
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave
                                                              : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogKind::Save ? QFileDialog::AnyFile
                       : request.multipleSelection          ? QFileDialog::ExistingFiles
                                                            : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    if (!request.initialName.empty()) {
        dialog.selectFile(ToQString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || chosen == nullptr) {
        return false;
    }
    chosen->clear();
    for (const QString& file : dialog.selectedFiles()) {
        chosen->push_back(ToU16(file));
    }
    return !chosen->empty();
}

} // namespace sonavel
