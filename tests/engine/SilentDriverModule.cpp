// A driver module that takes every setting and creates its buffers but never calls back once
// started: the driver that hangs, for the renderer's watchdog.
#include "output/AsioDriver.h"
#include "output/AsioDriverModule.h"

#include <cstring>
#include <vector>

namespace sonavel {
namespace {

constexpr AsioLong kBufferSize = 512;

class SilentDriver final : public IAsioDriver {
public:
    ASIOBool init(void*) override { return ASIOTrue; }
    void getDriverName(char* name) override { std::strcpy(name, "Silent Driver"); }
    AsioLong getDriverVersion() override { return 1; }
    void getErrorMessage(char* string) override { string[0] = '\0'; }
    ASIOError start() override { return ASE_OK; }
    ASIOError stop() override { return ASE_OK; }
    ASIOError getChannels(AsioLong* inputs, AsioLong* outputs) override
    {
        *inputs = 0;
        *outputs = 2;
        return ASE_OK;
    }
    ASIOError getLatencies(AsioLong* input, AsioLong* output) override
    {
        *input = *output = kBufferSize;
        return ASE_OK;
    }
    ASIOError getBufferSize(AsioLong* minSize, AsioLong* maxSize, AsioLong* preferred, AsioLong* granularity) override
    {
        *minSize = *maxSize = *preferred = kBufferSize;
        *granularity = 0;
        return ASE_OK;
    }
    ASIOError canSampleRate(ASIOSampleRate) override { return ASE_OK; }
    ASIOError getSampleRate(ASIOSampleRate* rate) override
    {
        *rate = rate_;
        return ASE_OK;
    }
    ASIOError setSampleRate(ASIOSampleRate rate) override
    {
        rate_ = rate;
        return ASE_OK;
    }
    ASIOError getClockSources(ASIOClockSource*, AsioLong* count) override
    {
        *count = 0;
        return ASE_OK;
    }
    ASIOError setClockSource(AsioLong) override { return ASE_OK; }
    ASIOError getSamplePosition(ASIOSamples* position, ASIOTimeStamp* stamp) override
    {
        *position = 0;
        *stamp = 0;
        return ASE_OK;
    }
    ASIOError getChannelInfo(ASIOChannelInfo* info) override
    {
        info->type = 18;
        info->isActive = ASIOTrue;
        return ASE_OK;
    }
    ASIOError createBuffers(ASIOBufferInfo* infos, AsioLong channels, AsioLong size, const ASIOCallbacks*) override
    {
        halves_.assign(static_cast<size_t>(channels) * 2, std::vector<uint8_t>(static_cast<size_t>(size) * 4));
        for (AsioLong channel = 0; channel < channels; ++channel) {
            infos[channel].buffers[0] = halves_[channel * 2].data();
            infos[channel].buffers[1] = halves_[channel * 2 + 1].data();
        }
        return ASE_OK;
    }
    ASIOError disposeBuffers() override
    {
        halves_.clear();
        return ASE_OK;
    }
    ASIOError controlPanel() override { return ASE_OK; }
    ASIOError future(AsioLong, void*) override { return ASE_NotPresent; }
    ASIOError outputReady() override { return ASE_NotPresent; }

private:
    ASIOSampleRate rate_ = 44100;
    std::vector<std::vector<uint8_t>> halves_;
};

} // namespace
} // namespace sonavel

extern "C" __attribute__((visibility("default"))) sonavel::IAsioDriver* SonavelCreateAsioDriver(const char*)
{
    return new sonavel::SilentDriver();
}
