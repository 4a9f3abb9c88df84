// Feeds arbitrary bytes to the DSDIFF plug-in as a memory image and as a file: chunk walk, texts,
// embedded ID3 tag, and reads in both word layouts.
#include "FileInfoDff.h"
#include "PluginDsd.h"

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

void Exercise(CPlayerPluginIF& plugin)
{
    char title[512];
    char artist[512];
    int32_t e1 = 0;
    int32_t e2 = 0;
    plugin.GetTitleArtist(title, sizeof title, &e1, artist, sizeof artist, &e2);
    const void* map = nullptr;
    plugin.GetTagMap(&map);
    for (const int32_t mode : {PPI_MODE_DSD_OVER_PCM, PPI_MODE_NATIVE_DSD}) {
        plugin.SetOutputMode(mode);
        uint64_t frames = 0;
        PpiWaveFormat format{};
        plugin.GetFormat(&format);
        if (plugin.GetTotalFrames(&frames) != PPI_OK || frames == 0) {
            continue;
        }
        const uint64_t last = frames > 4096 ? 4095 : frames - 1;
        void* data = nullptr;
        uint32_t bytes = 0;
        if (plugin.SetRange(frames / 2 > last ? last : frames / 2, last) == PPI_OK && plugin.Read(&data, &bytes) == PPI_OK) {
            plugin.ReleaseReadBuffer();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > INT32_MAX) {
        return 0;
    }
    auto memory = std::make_unique<sonavel::dsd::CPlugin_DSD>(std::make_unique<sonavel::dsd::CFileInfo_DFF>());
    memory->OpenMemory(data, static_cast<int32_t>(size));
    Exercise(*memory);

    static const std::string path = "/tmp/sonavel-dff-fuzz-" + std::to_string(getpid()) + ".dff";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    auto onDisk = std::make_unique<sonavel::dsd::CPlugin_DSD>(std::make_unique<sonavel::dsd::CFileInfo_DFF>());
    const std::u16string widePath(path.begin(), path.end());
    if (onDisk->OpenFile(widePath.c_str()) == PPI_OK) {
        Exercise(*onDisk);
    }
    return 0;
}
