// Speed of the music sources, each set against a reference measured in the same run:
//  - MP3: full decode with the gapless trims against the mpg123 program decoding the same file
//    to nothing, and the cost of opening a file for the playlist (files per second);
//  - DSD256 through the plug-in source in both word layouts, as a multiple of real time.
// The test files are made in a temporary folder with sox and lame.
#include "bench/SourceTiming.h"
#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicDataPlugin.h"
#include "sources/MusicResult.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRepetitions = 5;

double Best(const std::function<void()>& run)
{
    return sonavel::bench::Best(run, kRepetitions);
}

using sonavel::bench::OpenSource;
using sonavel::bench::ReadAll;
using sonavel::bench::Shell;

void WriteDsd256(const fs::path& path, uint32_t seconds)
{
    auto be = [](std::ofstream& out, uint64_t value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) {
            out.put(static_cast<char>(value >> (8 * i)));
        }
    };
    const uint64_t sound = uint64_t{11289600} / 8 * 2 * seconds;
    std::ofstream out(path, std::ios::binary);
    out.write("FRM8", 4);
    be(out, 4 + 16 + 12 + 4 + 16 + 22 + 12 + 32 + 12 + sound, 8);
    out.write("DSD ", 4);
    out.write("FVER", 4);
    be(out, 4, 8);
    be(out, 0x01050000, 4);
    out.write("PROP", 4);
    be(out, 4 + 16 + 22 + 12 + 32 - 12, 8);
    out.write("SND ", 4);
    out.write("FS  ", 4);
    be(out, 4, 8);
    be(out, 11289600, 4);
    out.write("CHNL", 4);
    be(out, 10, 8);
    be(out, 2, 2);
    out.write("SLFTSRGT", 8);
    out.write("CMPR", 4);
    be(out, 20, 8);
    out.write("DSD \x0fnot compressed", 20);
    out.write("DSD ", 4);
    be(out, sound, 8);
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>(0x69 ^ (i * 7));
    }
    for (uint64_t written = 0; written < sound; written += block.size()) {
        out.write(block.data(), static_cast<std::streamsize>(std::min<uint64_t>(block.size(), sound - written)));
    }
}

} // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("sonavel-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path wave = dir / "five-minutes.wav";
    const fs::path mp3 = dir / "five-minutes.mp3";
    const fs::path bare = dir / "five-minutes-no-tag.mp3";
    std::printf("making a 5-minute MP3 with sox and lame...\n");
    if (!Shell("sox -n -r 44100 -b 16 -c 2 '" + wave.string() + "' synth 300 sine 200-3000 vol 0.5 2>/dev/null") ||
        !Shell("lame --quiet -V 2 '" + wave.string() + "' '" + mp3.string() + "'") ||
        !Shell("lame --quiet -t -b 128 '" + wave.string() + "' '" + bare.string() + "'")) {
        std::fprintf(stderr, "sox or lame failed\n");
        return 1;
    }

    const double mpg123 = Best([&] { Shell("mpg123 -q -t '" + mp3.string() + "'"); });
    uint64_t decoded = 0;
    const double ours = Best([&] {
        sonavel::CMusicDataMP3 source;
        const auto info = OpenSource(source, mp3);
        decoded = ReadAll(source, info.endFrame);
    });
    const double open = Best([&] {
        sonavel::CMusicDataMP3 source;
        OpenSource(source, mp3);
    });
    // Without a LAME tag every frame is walked and the silence at both ends is measured.
    const double openBare = Best([&] {
        sonavel::CMusicDataMP3 source;
        OpenSource(source, bare);
    });
    const double quick = Best([&] {
        sonavel::CMusicDataMP3 source(true);
        OpenSource(source, mp3);
    });
    std::printf("\nMP3, 5 minutes, lame -V 2, best of %d\n", kRepetitions);
    std::printf("  mpg123 -t (decode to nothing)   %8.3f s\n", mpg123);
    std::printf("  full decode with trims          %8.3f s   ratio %.2f (target <= 1.20), %llu bytes\n", ours, ours / mpg123,
                static_cast<unsigned long long>(decoded));
    std::printf("  open for the playlist           %8.4f s   %.0f files/s (target >= 20)\n", open, 1.0 / open);
    std::printf("  open, CBR without LAME tag      %8.4f s   %.0f files/s (target >= 20)\n", openBare, 1.0 / openBare);
    std::printf("  quick open (playlist file)      %8.4f s   %.0f files/s\n", quick, 1.0 / quick);

    constexpr uint32_t kDsdSeconds = 30;
    const fs::path dff = dir / "dsd256.dff";
    WriteDsd256(dff, kDsdSeconds);
    auto registry = std::make_shared<sonavel::CPluginCtrl>();
    registry->LoadFolder(SONAVEL_PLUGIN_DIR);
    std::printf("\nDSD256 stereo, %u s, through the plug-in source, best of %d\n", kDsdSeconds, kRepetitions);
    for (const int mode : {1, 0}) {
        uint64_t bytes = 0;
        const double seconds = Best([&] {
            sonavel::CMusicDataPlugin source(registry, sonavel::Utf8ToUtf16(dff.string()));
            const auto info = OpenSource(source, dff);
            source.SetDsdMode(mode);
            bytes = ReadAll(source, info.endFrame);
        });
        // Native words carry 32 DSD samples per channel word, DSD-over-PCM words 16.
        const double bytesPerSecond = 11289600.0 / (mode == 1 ? 32 : 16) * 8;
        std::printf("  %-28s %8.3f s   %6.0f x real time (target >= 100), %llu bytes\n",
                    mode == 1 ? "native words" : "DSD-over-PCM words", seconds, bytes / bytesPerSecond / seconds,
                    static_cast<unsigned long long>(bytes));
    }
    fs::remove_all(dir);
    return 0;
}
