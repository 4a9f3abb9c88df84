#include "SourceTiming.h"

#include "platform/Utf.h"
#include "sources/MusicResult.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace sonavel::bench {

double Best(const std::function<void()>& run, int repetitions)
{
    using Clock = std::chrono::steady_clock;
    double best = 1e30;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

bool Shell(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

MusicTrackInfo OpenSource(CMusicData& source, const std::filesystem::path& path)
{
    MusicOpenParams params;
    params.path = Utf8ToUtf16(path.string());
    MusicTrackInfo info;
    info.path = params.path;
    if (source.Open(&params) != kResultOk || source.GetTrackInfo(0, &info) != kResultOk) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(1);
    }
    return info;
}

uint64_t ReadAll(CMusicData& source, uint32_t lastFrame)
{
    source.SetRange(0, lastFrame, 0);
    uint64_t total = 0;
    for (;;) {
        void* block = nullptr;
        uint32_t bytes = 0;
        if (source.ReadNext(&block, &bytes) != kResultOk) {
            return total;
        }
        total += bytes;
        source.FreeBuffer(block);
    }
}

} // namespace sonavel::bench
