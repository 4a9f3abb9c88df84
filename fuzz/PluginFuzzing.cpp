#include "PluginFuzzing.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace sonavel::fuzz {

namespace {

void ReadOnce(CPlayerPluginIF& plugin, uint64_t first, uint64_t last)
{
    void* data = nullptr;
    uint32_t bytes = 0;
    if (plugin.SetRange(first, last) == PPI_OK && plugin.Read(&data, &bytes) == PPI_OK) {
        // Touch the delivered buffer so that a wrong length shows as an overflow.
        volatile uint8_t sink = bytes > 0 ? static_cast<const uint8_t*>(data)[bytes - 1] : 0;
        (void)sink;
        plugin.ReleaseReadBuffer();
    }
}

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
        PpiWaveFormat format{};
        plugin.GetFormat(&format);
        uint64_t bytes = 0;
        plugin.GetTotalBytes(&bytes);
        uint64_t frames = 0;
        if (plugin.GetTotalFrames(&frames) != PPI_OK || frames == 0) {
            continue;
        }
        const uint64_t last = frames > 4096 ? 4095 : frames - 1;
        ReadOnce(plugin, 0, last);
        ReadOnce(plugin, frames / 2, frames / 2 + 1000);
        ReadOnce(plugin, frames - 1, frames + 100);
    }
}

} // namespace

void FuzzPlugin(const std::function<std::unique_ptr<CPlayerPluginIF>()>& make, const char* extension, const uint8_t* data,
                size_t size)
{
    if (size == 0 || size > INT32_MAX) {
        return;
    }
    const auto memory = make();
    memory->OpenMemory(data, static_cast<int32_t>(size));
    Exercise(*memory);

    static const std::string path = "/tmp/sonavel-plugin-fuzz-" + std::to_string(getpid()) + "." + extension;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const auto onDisk = make();
    const std::u16string widePath(path.begin(), path.end());
    if (onDisk->OpenFile(widePath.c_str()) == PPI_OK) {
        Exercise(*onDisk);
    }
}

} // namespace sonavel::fuzz
