#pragma once

#include "platform/Utf.h"
#include "sources/MusicDataWave.h"
#include "sources/MusicResult.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace sonavel::test {

// Opens a WAVE image written to a temporary folder; the result code tells how Open went.
struct OpenedWave {
    std::unique_ptr<CMusicDataWave> source = std::make_unique<CMusicDataWave>();
    int32_t result = kResultOk;
    MusicTrackInfo info;
};

inline OpenedWave OpenWavePath(const std::filesystem::path& path)
{
    OpenedWave wave;
    MusicOpenParams params;
    params.path = Utf8ToUtf16(path.string());
    wave.result = wave.source->Open(&params);
    if (wave.result == kResultOk) {
        wave.source->GetTrackInfo(0, &wave.info);
    }
    return wave;
}

inline OpenedWave OpenWaveBytes(const TempDir& dir, const std::vector<uint8_t>& bytes)
{
    return OpenWavePath(dir.Write("case.wav", bytes));
}

// Reads blocks until the source reports the end; the blocks' bytes joined.
inline std::vector<uint8_t> ReadToEnd(CMusicData& source, size_t* blocks = nullptr)
{
    std::vector<uint8_t> all;
    size_t count = 0;
    for (;;) {
        void* block = nullptr;
        uint32_t bytes = 0;
        if (source.ReadNext(&block, &bytes) != kResultOk) {
            break;
        }
        const auto* data = static_cast<const uint8_t*>(block);
        all.insert(all.end(), data, data + bytes);
        source.FreeBuffer(block);
        ++count;
    }
    if (blocks != nullptr) {
        *blocks = count;
    }
    return all;
}

} // namespace sonavel::test
