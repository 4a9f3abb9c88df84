// Feeds arbitrary bytes to the WAVE reader as a file: open, tags, every read path.
#include "platform/Utf.h"
#include "sources/MusicDataWave.h"
#include "sources/MusicResult.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchFile()
{
    return "/tmp/sonavel-wave-fuzz-" + std::to_string(getpid()) + ".wav";
}

void ReadUntilEnd(sonavel::CMusicDataWave& wave)
{
    for (int i = 0; i < 64; ++i) {
        void* block = nullptr;
        uint32_t bytes = 0;
        if (wave.ReadNext(&block, &bytes) != sonavel::kResultOk) {
            return;
        }
        wave.FreeBuffer(block);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = ScratchFile();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    sonavel::CMusicDataWave wave;
    sonavel::MusicOpenParams params;
    params.path = sonavel::Utf8ToUtf16(path);
    if (wave.Open(&params) != sonavel::kResultOk) {
        return 0;
    }
    sonavel::MusicTrackInfo info;
    wave.GetTrackInfo(0, &info);
    ReadUntilEnd(wave);
    wave.SetRange(info.endFrame / 2, info.endFrame, 1);
    ReadUntilEnd(wave);
    void* block = nullptr;
    uint32_t bytes = 0;
    wave.SetRange(0, info.endFrame, 0);
    if (wave.ReadAll(&block, &bytes) == sonavel::kResultOk) {
        wave.FreeBuffer(block);
    }
    return 0;
}
