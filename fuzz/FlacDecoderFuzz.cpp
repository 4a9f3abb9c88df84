// Feeds arbitrary bytes to the FLAC plug-in: libFLAC's metadata and frame decoding over the
// plug-in's byte source, the Vorbis comments, seeks and reads.
#include "FlacDecoder.h"
#include "PluginFuzzing.h"
#include "PluginPcm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sonavel::fuzz::FuzzPlugin([] { return std::make_unique<sonavel::pcm::CPlugin_PCM>(std::make_unique<sonavel::flac::FlacDecoder>()); },
                              "flac", data, size);
    return 0;
}
