// Feeds arbitrary bytes to the playlist-file reader: UTF-8 decoding, line splitting, the field
// scanner and the entries' format look-up.
#include "core/PlaylistFile.h"
#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/sonavel-ppl-fuzz-" + std::to_string(getpid()) + ".ppl";
    static const auto registry = std::make_shared<sonavel::CPluginCtrl>();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    std::vector<sonavel::MusicTrackInfo> entries;
    sonavel::ReadPlaylistFile(sonavel::Utf8ToUtf16(path), registry, entries);
    for (const auto& entry : entries) {
        sonavel::SplitPlaylistFileLine(sonavel::PlaylistFileLine(entry));
    }
    return 0;
}
