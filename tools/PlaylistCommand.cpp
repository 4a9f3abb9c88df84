#include "tools/PlaylistCommand.h"

#include "core/PlayerCore.h"
#include "core/PlaylistCtrlImpl.h"
#include "platform/Utf.h"
#include "tools/ConsoleView.h"
#include "tools/HeadlessSession.h"

#include <optional>
#include <vector>

namespace sonavel {

namespace {

struct PlaylistOptions {
    std::string out;
    std::vector<std::string> files;
};

std::optional<PlaylistOptions> Parse(std::span<const std::string> args, std::ostream& err)
{
    PlaylistOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            options.files.insert(options.files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                 args.end());
            break;
        }
        if (arg == "--out") {
            if (i + 1 == args.size()) {
                err << "sonavel-cli: option --out needs a value\n";
                return std::nullopt;
            }
            options.out = args[++i];
        } else if (arg.size() >= 2 && arg.compare(0, 2, "--") == 0) {
            err << "sonavel-cli: bad option " << arg << '\n';
            return std::nullopt;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.out.empty() || options.files.empty()) {
        err << "sonavel-cli: playlist needs --out FILE.ppl and at least one file\n";
        return std::nullopt;
    }
    return options;
}

} // namespace

int RunPlaylistCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    const auto options = Parse(args, err);
    if (!options) {
        return 2;
    }
    // Nothing plays: the view's time reports are not wanted, its error reports are.
    std::ostream quiet(nullptr);
    ConsoleView view(quiet, err);
    HeadlessSession session(view, false);
    const int status = session.AddFiles(options->files, err) == 0 ? 0 : 1;
    const int32_t entries = Core().playlistStore->GetEntryCount();
    if (!CoreWritePlaylistFile(Utf8ToUtf16(options->out))) {
        err << "sonavel-cli: cannot write " << options->out << '\n';
        return 1;
    }
    out << "entries: " << entries << '\n';
    return status;
}

} // namespace sonavel
