#include "ui/QELDSDPlayerApp.h"

#include "app/ConfigStartup.h"
#include "core/PlayerCore.h"
#include "output/DevNameInfo.h"
#include "ui/DlgErrorNotify.h"
#include "ui/ForwardedPaths.h"
#include "ui/MainFrame.h"
#include "ui/PlaybackAlertBox.h"
#include "ui/QELDSDPlayerView.h"
#include "ui/QtText.h"
#include "ui/SingleInstance.h"

#include <QApplication>

namespace sonavel {

CQELDSDPlayerApp::CQELDSDPlayerApp() = default;

CQELDSDPlayerApp::~CQELDSDPlayerApp()
{
    frame_.reset();
    PlayerCore& core = Core();
    core.config = nullptr;
    core.errors = nullptr;
    core.alerts = nullptr;
}

std::vector<std::u16string> CQELDSDPlayerApp::FileArguments(const std::vector<std::u16string>& arguments)
{
    std::vector<std::u16string> files;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].starts_with(u'-')) {
            files.push_back(arguments[i]);
        }
    }
    return files;
}

int CQELDSDPlayerApp::Run(const std::vector<std::u16string>& arguments)
{
    const std::vector<std::u16string> files = FileArguments(arguments);
    const QString serverName = CSingleInstance::ServerNameForThisUser();
    instance_ = std::make_unique<CSingleInstance>(serverName);
    if (!instance_->Listen()) {
        CSingleInstance::Forward(serverName, JoinForwardedPaths(files));
        return 0;
    }

    config_ = LoadStartupConfig();
    errorDialog_ = std::make_unique<CDlgErrorNotify>();
    alerts_ = std::make_unique<CPlaybackAlertBox>();
    PlayerCore& core = Core();
    core.config = config_.get();
    core.errors = errorDialog_.get();
    core.alerts = alerts_.get();

    frame_ = std::make_unique<CMainFrame>(*config_, arguments);
    alerts_->SetParentWindow(frame_.get());
    QObject::connect(instance_.get(), &CSingleInstance::textReceived, frame_.get(),
                     &CMainFrame::OnCommandLine);
    frame_->View().OnInitialUpdate();
    frame_->show();
    if (!files.empty()) {
        QMetaObject::invokeMethod(
            frame_.get(),
            [this, text = ToQString(JoinForwardedPaths(files))] { frame_->OnCommandLine(text); },
            Qt::QueuedConnection);
    }
    ChooseFirstDevice();
    return QApplication::exec();
}

void CQELDSDPlayerApp::ChooseFirstDevice()
{
    if (!config_->device.value.empty() || !Core().ready) {
        return;
    }
    std::unique_ptr<CDevNameInfo> devices;
    if (CoreCreateDeviceList(&devices) != kCoreOk || !devices) {
        return;
    }
    std::vector<std::u16string> names;
    for (int32_t i = 0; i < devices->Count(); ++i) {
        names.push_back(devices->Name(i));
    }
    ChooseDefaultDevice(*config_, names);
}

} // namespace sonavel
