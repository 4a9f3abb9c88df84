// Feeds arbitrary bytes to the MP3 source as a file (tags, frame search, gapless headers, frame
// walk, decoding, seeking) and to the tag parsers directly.
#include "platform/Utf.h"
#include "sources/Mp3Tags.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicResult.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void ReadSome(sonavel::CMusicDataMP3& mp3)
{
    for (int i = 0; i < 4; ++i) {
        void* block = nullptr;
        uint32_t bytes = 0;
        if (mp3.ReadNext(&block, &bytes) != sonavel::kResultOk) {
            return;
        }
        mp3.FreeBuffer(block);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    sonavel::Mp3Tags tags;
    sonavel::ParseId3v2Tag(bytes, tags);
    sonavel::ParseId3v1Tag(bytes, tags);
    sonavel::ParseItunesGapless(std::string_view(reinterpret_cast<const char*>(data), size), tags);

    static const std::string path = "/tmp/sonavel-mp3-fuzz-" + std::to_string(getpid()) + ".mp3";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    for (const bool quick : {true, false}) {
        sonavel::CMusicDataMP3 mp3(quick);
        sonavel::MusicOpenParams params;
        params.path = sonavel::Utf8ToUtf16(path);
        params.useThreshold = true;
        params.thresholdDb = -60.0;
        if (mp3.Open(&params) != sonavel::kResultOk || quick) {
            continue;
        }
        sonavel::MusicTrackInfo info;
        mp3.GetTrackInfo(0, &info);
        mp3.SetRange(0, info.endFrame, 0);
        ReadSome(mp3);
        mp3.SetRange(info.endFrame / 2, info.endFrame, 1);
        ReadSome(mp3);
    }
    return 0;
}
