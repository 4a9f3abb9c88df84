#include "tools/InfoCommand.h"

#include "app/ErrorText.h"
#include "core/PlaylistFile.h"
#include "platform/FileExtension.h"
#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicResult.h"
#include "sources/SourceFactory.h"

#include <vector>

namespace sonavel {

namespace {

void PrintTrack(const MusicTrackInfo& info, std::ostream& out)
{
    const WAVEFORMATEX& f = info.format;
    out << "path: " << Utf16ToUtf8(info.path) << '\n'
        << "displayName: " << Utf16ToUtf8(info.displayName) << '\n'
        << "sourceType: " << info.sourceType << '\n'
        << "formatName: " << Utf16ToUtf8(info.formatName) << '\n'
        << "dataBytes: " << info.dataBytes << '\n'
        << "title: " << Utf16ToUtf8(info.title) << '\n'
        << "artist: " << Utf16ToUtf8(info.artist) << '\n'
        << "formatTag: " << f.wFormatTag << '\n'
        << "channels: " << f.nChannels << '\n'
        << "samplesPerSec: " << f.nSamplesPerSec << '\n'
        << "avgBytesPerSec: " << f.nAvgBytesPerSec << '\n'
        << "blockAlign: " << f.nBlockAlign << '\n'
        << "bitsPerSample: " << f.wBitsPerSample << '\n'
        << "lengthFrames: " << info.lengthFrames << '\n'
        << "startFrame: " << info.startFrame << '\n'
        << "endFrame: " << info.endFrame << '\n'
        << '\n';
}

// Prints every track of an opened source (a file or a disc); returns the source's result code.
int32_t PrintSource(CMusicData& source, const std::u16string& path, std::ostream& out)
{
    MusicOpenParams params;
    params.path = path;
    if (const int32_t result = source.Open(&params); result != kResultOk) {
        return result;
    }
    int count = 0;
    source.GetTrackCount(&count);
    for (int i = 0; i < count; ++i) {
        // Sources that do not know their path (plug-ins) leave the caller's in place.
        MusicTrackInfo info;
        info.path = path;
        if (const int32_t result = source.GetTrackInfo(i, &info); result != kResultOk) {
            return result;
        }
        // As the playlist does: a track without a name of its own shows its file name.
        if (info.displayName.empty()) {
            info.displayName = FileNameOf(path);
        }
        PrintTrack(info, out);
    }
    return kResultOk;
}

// A playlist file prints the entries that loading it gives, as the player reads them.
int32_t PrintPlaylistFile(const std::u16string& path, const std::shared_ptr<CPluginCtrl>& plugins,
                          std::ostream& out)
{
    std::vector<MusicTrackInfo> entries;
    if (!ReadPlaylistFile(path, plugins, entries)) {
        return kResultCannotOpen;
    }
    for (const MusicTrackInfo& entry : entries) {
        PrintTrack(entry, out);
    }
    return kResultOk;
}

int32_t PrintFile(const std::u16string& path, const std::shared_ptr<CPluginCtrl>& plugins, std::ostream& out)
{
    if (ExtensionOf(path) == u"ppl") {
        return PrintPlaylistFile(path, plugins, out);
    }
    return PrintSource(*CreateSourceForPath(path, plugins), path, out);
}

} // namespace

int RunInfoCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    auto plugins = std::make_shared<CPluginCtrl>();
    plugins->Load();
    int status = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool disc = args[i] == "--cd";
        if (disc && i + 1 == args.size()) {
            err << "sonavel-cli: --cd needs a device\n";
            return 2;
        }
        const std::u16string path = Utf8ToUtf16(disc ? args[++i] : args[i]);
        const int32_t result = disc ? PrintSource(*CreateSourceOfType(kSourceCdda, path, plugins), path, out)
                                    : PrintFile(path, plugins, out);
        if (result != kResultOk) {
            err << Utf16ToUtf8(ResultMessage(result, path)) << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace sonavel
