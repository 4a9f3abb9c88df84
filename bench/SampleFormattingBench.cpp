// Fetch and conversion cost per channel word, set against memcpy of the same bytes.
#include "RatioReporter.h"

#include "engine/ChannelWord.h"
#include "engine/SampleConversion.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace sonavel {
namespace {

constexpr uint32_t kChannels = 2;
// One chunk of the engine's queues: 10240 channel words per channel.
constexpr uint32_t kFrames = 10240;

struct Source {
    const char* name;
    uint16_t formatTag;
    uint16_t bytesPerSample;
    uint8_t isDsd;
    uint8_t dop;
    std::vector<AsioSampleType> types;
};

const std::vector<Source> kSources{
    {"pcm16", WAVE_FORMAT_PCM, 2, 0, 0, {ASIOSTInt32LSB, ASIOSTInt24LSB, ASIOSTFloat32LSB}},
    {"pcm24", WAVE_FORMAT_PCM, 3, 0, 0, {ASIOSTInt32LSB, ASIOSTInt24LSB, ASIOSTFloat32LSB}},
    {"pcm32", WAVE_FORMAT_PCM, 4, 0, 0, {ASIOSTInt32LSB, ASIOSTInt24LSB, ASIOSTFloat32LSB}},
    {"float32", WAVE_FORMAT_IEEE_FLOAT, 4, 0, 0, {ASIOSTInt32LSB, ASIOSTInt24LSB, ASIOSTFloat32LSB}},
    {"dsd", WAVE_FORMAT_PCM, 4, 1, 0, {ASIOSTDSDInt8MSB1}},
    {"dop", WAVE_FORMAT_PCM, 4, 1, 1, {ASIOSTInt32LSB, ASIOSTInt24LSB}},
};

// One stereo source block with sample values spread over the whole range.
struct Workload {
    std::vector<uint8_t> data;
    FetchDescriptor block;
    uint32_t outputFrames = 0;
    const SampleTypeRow* row = nullptr;

    Workload(const Source& source, AsioSampleType type)
    {
        WAVEFORMATEX format;
        format.wFormatTag = source.formatTag;
        format.nChannels = kChannels;
        format.nBlockAlign = static_cast<uint16_t>(kChannels * source.bytesPerSample);
        format.wBitsPerSample = static_cast<uint16_t>(8 * source.bytesPerSample);
        data.resize(size_t{kFrames} * format.nBlockAlign);
        uint32_t noise = 0x12345678;
        for (size_t offset = 0; offset < data.size(); offset += source.bytesPerSample) {
            noise = noise * 1664525u + 1013904223u;
            if (source.formatTag == WAVE_FORMAT_IEEE_FLOAT) {
                const float value = static_cast<float>(static_cast<int32_t>(noise)) / 2147483648.0f;
                std::memcpy(data.data() + offset, &value, sizeof value);
            } else {
                std::memcpy(data.data() + offset, &noise, source.bytesPerSample);
            }
        }
        block.data = data.data();
        block.frameCount = kFrames;
        block.format = format;
        block.isDsd = source.isDsd;
        block.dop = source.dop;
        outputFrames = source.dop ? 2 * kFrames : kFrames;
        row = FindSampleTypeRow(type);
    }

    size_t Words() const { return size_t{kChannels} * outputFrames; }
    size_t OutputBytes() const { return Words() * row->bytes; }
};

// The engine's path: the feeder fetches a run of words per channel, the callback converts it.
void FetchAndConvert(benchmark::State& state, const Workload& work)
{
    std::vector<uint32_t> words(work.outputFrames);
    std::vector<uint8_t> output(work.OutputBytes());
    for (auto _ : state) {
        uint8_t* target = output.data();
        for (uint32_t channel = 0; channel < kChannels; ++channel) {
            FetchRun(channel, work.block, 0, words);
            target += work.row->convertRun(target, words);
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
}

void Memcpy(benchmark::State& state, size_t bytes)
{
    // The target sits half a page off the source: glibc's memcpy slows down tenfold on this
    // machine when the two are a few bytes apart modulo 4096, which would flatter every ratio.
    constexpr size_t kPage = 4096;
    const size_t span = (bytes + kPage - 1) / kPage * kPage;
    std::vector<uint8_t> buffer(2 * span + 2 * kPage, 0x5A);
    uint8_t* source = buffer.data() + (kPage - reinterpret_cast<uintptr_t>(buffer.data()) % kPage);
    uint8_t* target = source + span + kPage / 2;
    for (auto _ : state) {
        std::memcpy(target, source, bytes);
        benchmark::DoNotOptimize(target);
        benchmark::ClobberMemory();
    }
}

} // namespace
} // namespace sonavel

int main(int argc, char** argv)
{
    using namespace sonavel;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::vector<RatioReporter::Row> rows;
    std::set<size_t> baselines;
    for (const Source& source : kSources) {
        for (AsioSampleType type : source.types) {
            const Workload work(source, type);
            RatioReporter::Row row;
            row.caseName = std::string(source.name) + "->" + std::to_string(type);
            row.sourceBytes = work.data.size();
            row.outputBytes = work.OutputBytes();
            row.words = work.Words();
            rows.push_back(row);
            baselines.insert(work.data.size());
            baselines.insert(work.OutputBytes());
            benchmark::RegisterBenchmark(row.caseName.c_str(),
                                         [work](benchmark::State& state) { FetchAndConvert(state, work); });
        }
    }
    for (size_t bytes : baselines) {
        benchmark::RegisterBenchmark(RatioReporter::MemcpyName(bytes).c_str(),
                                     [bytes](benchmark::State& state) { Memcpy(state, bytes); });
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double worst = reporter.PrintRatios(rows);
    std::printf(
        "\nworst ratio to memcpy of the larger of source and output bytes: %.2f (target: within 10)\n",
        worst);
    benchmark::Shutdown();
    return 0;
}
