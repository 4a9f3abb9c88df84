// Feeds arbitrary bytes to the DSF plug-in: chunk headers, block layout, the ID3 tag at the end
// and reads in both word layouts.
#include "FileInfoDsf.h"
#include "PluginDsd.h"
#include "PluginFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sonavel::fuzz::FuzzPlugin([] { return std::make_unique<sonavel::dsd::CPlugin_DSD>(std::make_unique<sonavel::dsd::CFileInfo_DSF>()); },
                              "dsf", data, size);
    return 0;
}
