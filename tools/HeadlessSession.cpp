#include "tools/HeadlessSession.h"

#include "app/ConfigStartup.h"
#include "core/PlayerCore.h"
#include "platform/Utf.h"
#include "tools/ConsoleView.h"

#include <filesystem>
#include <system_error>

namespace sonavel {

HeadlessSession::HeadlessSession(
    ConsoleView& view, bool debug, const std::function<void(CAppConfigData&)>& adjust)
    : config_(LoadStartupConfig())
{
    // Nothing the commands do may reach the user's configuration file.
    config_->SetBackend(nullptr);
    if (adjust) {
        adjust(*config_);
    }
    std::vector<std::u16string> arguments{u"sonavel-cli"};
    if (debug) {
        arguments.insert(arguments.end(), {u"-d", u"pX2w"});
    }
    const CoreFrontEnd frontEnd{&view, &dialogs_, &list_, &list_, config_.get(), &view, &view};
    ready_ = CoreStartFrontEnd(frontEnd, arguments) == kCoreOk;
    CoreSetupPlaylistView(18, 191, 676, 330, 60, 165, 340, 110);
}

HeadlessSession::~HeadlessSession()
{
    CoreEndFrontEnd();
}

int HeadlessSession::AddFiles(const std::vector<std::string>& files, std::ostream& err)
{
    int skipped = 0;
    for (const std::string& file : files) {
        std::error_code error;
        const std::filesystem::path path = std::filesystem::absolute(file, error);
        if (error || CoreAddPaths({Utf8ToUtf16(path.string())}, -1) == 0) {
            err << "skipped: " << file << std::endl;
            ++skipped;
        }
    }
    return skipped;
}

} // namespace sonavel
