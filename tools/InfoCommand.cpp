#include "tools/InfoCommand.h"

#include "app/ErrorText.h"
#include "platform/FileExtension.h"
#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicResult.h"
#include "sources/SourceFactory.h"


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

// Prints every track of one file; returns the source's result code.
int32_t PrintFile(const std::string& file, const std::shared_ptr<CPluginCtrl>& plugins, std::ostream& out)
{
    const std::u16string path = Utf8ToUtf16(file);
    auto source = CreateSourceForPath(path, plugins);
    MusicOpenParams params;
    params.path = path;
    if (const int32_t result = source->Open(&params); result != kResultOk) {
        return result;
    }
    int count = 0;
    source->GetTrackCount(&count);
    for (int i = 0; i < count; ++i) {
        // Sources that do not know their path (plug-ins) leave the caller's in place.
        MusicTrackInfo info;
        info.path = path;
        if (const int32_t result = source->GetTrackInfo(i, &info); result != kResultOk) {
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

} // namespace

int RunInfoCommand(std::span<const std::string> files, std::ostream& out, std::ostream& err)
{
    auto plugins = std::make_shared<CPluginCtrl>();
    plugins->Load();
    int status = 0;
    for (const std::string& file : files) {
        const int32_t result = PrintFile(file, plugins, out);
        if (result != kResultOk) {
            err << Utf16ToUtf8(ResultMessage(result, Utf8ToUtf16(file))) << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace sonavel
