// Feeds arbitrary bytes to the AIFF plug-in: the chunk walk, the extended-precision rate, texts,
// the ID3 chunk and sample reads.
#include "AiffDecoder.h"
#include "PluginFuzzing.h"
#include "PluginPcm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sonavel::fuzz::FuzzPlugin([] { return std::make_unique<sonavel::pcm::CPlugin_PCM>(std::make_unique<sonavel::aiff::AiffDecoder>()); },
                              "aiff", data, size);
    return 0;
}
