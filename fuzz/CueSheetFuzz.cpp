// Feeds arbitrary bytes to the cue sheet reader: encoding detection, line splitting, every
// command and the finishing rules. FILE lines find one small WAVE file, "a.wav", in the folder.
#include "plugin-host/PluginCtrl.h"
#include "sources/CueSheetText.h"
#include "sources/MusicDataCue.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::u16string PrepareFolder()
{
    const std::string folder = "/tmp/sonavel-cue-fuzz-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(folder);
    // 8 kHz 8-bit mono, 1 s.
    const unsigned char header[44] = {'R', 'I', 'F', 'F', 0x64, 0x1F, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                      1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a', 0x40, 0x1F, 0, 0};
    FILE* file = std::fopen((folder + "a.wav").c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(header, 1, sizeof header, file);
        for (int i = 0; i < 8000; ++i) {
            std::fputc(i & 0xFF, file);
        }
        std::fclose(file);
    }
    return std::u16string(folder.begin(), folder.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::u16string folder = PrepareFolder();
    static const auto registry = std::make_shared<sonavel::CPluginCtrl>();
    sonavel::CMusicDataCue cue(registry);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (cue.Parse(sonavel::DecodeCueSheet(bytes), folder) == 0) {
        int count = 0;
        cue.GetTrackCount(&count);
        for (int i = 0; i < count; ++i) {
            sonavel::MusicTrackInfo info;
            cue.GetTrackInfo(i, &info);
        }
    }
    return 0;
}
