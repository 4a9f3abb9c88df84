// FLAC decoding through the plug-in (straight reads, as the music source makes them) and through
// the plug-in music source, set against the flac program decoding the same file to nothing in the
// same run. The files are made with sox and flac in a
// temporary folder: 5 minutes of 16-bit 44.1 kHz stereo and 2 minutes of 24-bit 96 kHz stereo.
#include "SourceTiming.h"

#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicDataPlugin.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using sonavel::bench::Best;
using sonavel::bench::Shell;

constexpr int kRepetitions = 5;

struct FlacFile {
    const char* label;
    int bits;
    int rate;
    int seconds;
};

// Reads a whole file straight from a plug-in instance, about a second of audio per read as the
// music source asks; the bytes delivered.
uint64_t ReadThroughPlugin(sonavel::CPluginCtrl& registry, const fs::path& file)
{
    const std::u16string path = sonavel::Utf8ToUtf16(file.string());
    CPlayerPluginIF* plugin = registry.InstanceForFile(path);
    uint64_t frames = 0;
    uint64_t total = 0;
    if (plugin != nullptr && plugin->OpenFile(path.c_str()) == PPI_OK && plugin->GetTotalFrames(&frames) == PPI_OK) {
        constexpr uint64_t kChunk = 32768;
        for (uint64_t first = 0; first < frames; first += kChunk) {
            void* data = nullptr;
            uint32_t bytes = 0;
            if (plugin->SetRange(first, std::min(first + kChunk, frames) - 1) != PPI_OK || plugin->Read(&data, &bytes) != PPI_OK) {
                break;
            }
            total += bytes;
            plugin->ReleaseReadBuffer();
        }
    }
    registry.ReleaseForSource(plugin);
    return total;
}

} // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("sonavel-bench-flac-" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto registry = std::make_shared<sonavel::CPluginCtrl>();
    registry->LoadFolder(SONAVEL_PLUGIN_DIR);
    double worst = 0;
    for (const FlacFile& f : {FlacFile{"16-bit 44.1 kHz stereo, 5 min", 16, 44100, 300}, FlacFile{"24-bit 96 kHz stereo, 2 min", 24, 96000, 120}}) {
        const fs::path wave = dir / "music.wav";
        const fs::path flac = dir / "music.flac";
        std::printf("making %s with sox and flac...\n", f.label);
        // Pink noise under a sweep: a bit rate like that of music, so the residual decoding counts.
        if (!Shell("sox -n -r " + std::to_string(f.rate) + " -b " + std::to_string(f.bits) + " -c 2 '" + wave.string() +
                   "' synth " + std::to_string(f.seconds) + " sine 200-3000 pinknoise remix 1,2 1,2 vol 0.4 2>/dev/null") ||
            !Shell("flac -s -f -o '" + flac.string() + "' '" + wave.string() + "' 2>/dev/null")) {
            std::fprintf(stderr, "sox or flac failed\n");
            return 1;
        }
        const std::string reference = "flac -d -s -f -o /dev/null '" + flac.string() + "'";
        const double program = Best([&] { Shell(reference); }, kRepetitions);
        uint64_t decoded = 0;
        const double plugin = Best([&] { decoded = ReadThroughPlugin(*registry, flac); }, kRepetitions);
        uint64_t sourced = 0;
        const double source = Best([&] {
            sonavel::CMusicDataPlugin music(registry, sonavel::Utf8ToUtf16(flac.string()));
            const auto info = sonavel::bench::OpenSource(music, flac);
            sourced = sonavel::bench::ReadAll(music, info.endFrame);
        }, kRepetitions);
        worst = std::max(worst, plugin / program);
        std::printf("\nFLAC, %s (%.1f MB), best of %d\n", f.label, fs::file_size(flac) / 1e6, kRepetitions);
        std::printf("  %-46s %8.3f s\n", "flac -d -s -f -o /dev/null", program);
        std::printf("  %-46s %8.3f s   ratio %.2f (target <= 1.20), %llu bytes\n", "plug-in reads", plugin, plugin / program,
                    static_cast<unsigned long long>(decoded));
        // The source also copies every block into freshly mapped memory of its own.
        std::printf("  %-46s %8.3f s   ratio %.2f, %llu bytes\n\n", "plug-in music source (with the host's copies)", source,
                    source / program, static_cast<unsigned long long>(sourced));
        fs::remove(wave);
        fs::remove(flac);
    }
    fs::remove_all(dir);
    std::printf("largest ratio %.2f (target <= 1.20)\n", worst);
    return 0;
}
