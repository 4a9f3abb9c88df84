// Feeds arbitrary bytes to the DSDIFF plug-in: chunk walk, texts, embedded ID3 tag, and reads in
// both word layouts.
#include "FileInfoDff.h"
#include "PluginDsd.h"
#include "PluginFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sonavel::fuzz::FuzzPlugin([] { return std::make_unique<sonavel::dsd::CPlugin_DSD>(std::make_unique<sonavel::dsd::CFileInfo_DFF>()); },
                              "dff", data, size);
    return 0;
}
