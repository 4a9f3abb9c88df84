// A minimal plug-in for loader tests, built several times with different answers.
#include "plugin-api/PlayerPluginIF.h"

#include <atomic>
#include <cstring>
#include <new>
#include <string>

namespace {

std::atomic<int> gLive{0};

int32_t Copy(const char16_t* text, char16_t* buffer, int32_t capacity)
{
    const std::u16string value(text);
    if (buffer == nullptr || capacity <= static_cast<int32_t>(value.size())) {
        return PPI_BAD_ARGUMENT;
    }
    std::memcpy(buffer, value.c_str(), (value.size() + 1) * sizeof(char16_t));
    return PPI_OK;
}

class FakePlugin : public CPlayerPluginIF {
public:
    FakePlugin() { ++gLive; }
    ~FakePlugin() override { --gLive; }
    int32_t GetName(char16_t* b, int32_t c) override { return Copy(FAKE_NAME, b, c); }
    int32_t GetExtension(char16_t* b, int32_t c) override { return Copy(FAKE_EXTENSIONS, b, c); }
    int32_t GetVersion(char16_t* b, int32_t c) override { return Copy(u"0.1", b, c); }
    int32_t OpenFile(const char16_t*) override { return PPI_FAIL; }
    int32_t OpenMemory(const void*, int32_t) override { return PPI_FAIL; }
    int32_t GetTotalFrames(uint64_t*) override { return PPI_FAIL; }
    int32_t GetTotalBytes(uint64_t*) override { return PPI_FAIL; }
    int32_t SetRange(uint64_t, uint64_t) override { return PPI_FAIL; }
    int32_t GetTitleArtist(void*, int32_t, int32_t*, void*, int32_t, int32_t*) override { return PPI_FAIL; }
    int32_t GetFormat(PpiWaveFormat*) override { return PPI_FAIL; }
    int32_t Read(void**, uint32_t*) override { return PPI_FAIL; }
    int32_t ReleaseReadBuffer() override { return PPI_OK; }
    int32_t IsMultiInstance(int32_t* out) override
    {
        *out = FAKE_MULTI;
        return PPI_OK;
    }
    int32_t GetFrameGranularity(int32_t* out) override
    {
        *out = 0;
        return PPI_OK;
    }
    int32_t IsDsd(int32_t* out) override
    {
        *out = 0;
        return PPI_OK;
    }
    int32_t SetOutputMode(int32_t) override { return PPI_OK; }
    int32_t GetTagMap(const void**) override { return PPI_FAIL; }
};

} // namespace

extern "C" __attribute__((visibility("default"))) CPlayerPluginIF* ppi_MakeInstance()
{
    return FAKE_MAKES_NULL ? nullptr : new (std::nothrow) FakePlugin();
}

extern "C" __attribute__((visibility("default"))) void ppi_ReleaseInstance(CPlayerPluginIF* instance)
{
    delete instance;
}

// How many instances of this library are alive, for the tests' checks of who releases what.
extern "C" __attribute__((visibility("default"))) int fake_LiveInstances()
{
    return gLive.load();
}
