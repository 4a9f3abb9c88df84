// Speed of adding files to the playlist: 1000 four-minute WAVE files and 1000 four-minute MP3
// files handed to CoreAddPaths on a headless player core, as a drop of that many files is added,
// in files per second. Each figure is set against stat() of the same 1000 paths measured in the
// same run. The files are hard links of one file of each kind, made with sox and lame in a
// temporary folder.
#include "SourceTiming.h"

#include "core/PlayerCore.h"
#include "platform/Utf.h"
#include "tools/ConsoleView.h"
#include "tools/HeadlessSession.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr int kRepetitions = 3;
constexpr uint32_t kSeconds = 240;

void Fail(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::exit(1);
}

// kFiles hard links of one file, named so that the natural sort has work to do.
std::vector<std::u16string> LinkCopies(const fs::path& original, const fs::path& folder,
                                       const std::string& extension)
{
    fs::create_directory(folder);
    std::vector<std::u16string> paths;
    for (int i = kFiles; i >= 1; --i) {
        const fs::path link = folder / ("Track " + std::to_string(i) + extension);
        fs::create_hard_link(original, link);
        paths.push_back(sonavel::Utf8ToUtf16(link.string()));
    }
    return paths;
}

double StatSeconds(const std::vector<std::u16string>& paths)
{
    std::vector<std::string> names;
    for (const std::u16string& path : paths) {
        names.push_back(sonavel::Utf16ToUtf8(path));
    }
    return sonavel::bench::Best(
        [&] {
            for (const std::string& name : names) {
                struct stat info {};
                if (stat(name.c_str(), &info) != 0) {
                    Fail("cannot stat " + name);
                }
            }
        },
        kRepetitions);
}

// The best time for adding all paths to an empty playlist.
double AddSeconds(const std::vector<std::u16string>& paths)
{
    return sonavel::bench::Best(
        [&] {
            sonavel::CoreNewPlaylist();
            if (sonavel::CoreAddPaths(paths, -1) != kFiles) {
                Fail("not every file was added");
            }
        },
        kRepetitions);
}

void Report(const char* kind, double add, double stat, int target)
{
    std::printf("  %-5s add %8.4f s  %8.0f files/s (target >= %4d)   stat %8.5f s   ratio %.0f\n", kind, add,
                kFiles / add, target, stat, add / stat);
}

} // namespace

int main()
{
    char folderTemplate[] = "/tmp/sonavel-bench-add-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr) {
        Fail("cannot make a temporary folder");
    }
    const fs::path dir = folderTemplate;
    const fs::path wave = dir / "tone.wav";
    const fs::path mp3 = dir / "tone.mp3";
    const std::string seconds = std::to_string(kSeconds);
    if (!sonavel::bench::Shell("sox -n -r 44100 -c 2 -b 16 '" + wave.string() + "' synth " + seconds +
                               " sine 440 2>/dev/null") ||
        !sonavel::bench::Shell("lame --quiet -b 192 '" + wave.string() + "' '" + mp3.string() + "'")) {
        Fail("sox or lame failed");
    }
    const auto waves = LinkCopies(wave, dir / "wave", ".wav");
    const auto mp3s = LinkCopies(mp3, dir / "mp3", ".mp3");

    std::ostream quiet(nullptr);
    sonavel::ConsoleView view(quiet, std::cerr);
    double waveAdd = 0;
    double mp3Add = 0;
    {
        sonavel::HeadlessSession session(view, false);
        waveAdd = AddSeconds(waves);
        mp3Add = AddSeconds(mp3s);
    }
    std::printf("Adding %d files of %u s to the playlist (CoreAddPaths, headless core), best of %d;\n"
                "ratio: adding against stat() of the same paths\n",
                kFiles, kSeconds, kRepetitions);
    Report("WAVE", waveAdd, StatSeconds(waves), 2000);
    Report("MP3", mp3Add, StatSeconds(mp3s), 50);
    fs::remove_all(dir);
    return 0;
}
