// The two entry points the player looks up in the plug-in library.
#include "AiffDecoder.h"
#include "PluginPcm.h"

extern "C" __attribute__((visibility("default"))) CPlayerPluginIF* ppi_MakeInstance()
{
    return sonavel::pcm::MakePcmPlugin<sonavel::aiff::AiffDecoder>();
}

extern "C" __attribute__((visibility("default"))) void ppi_ReleaseInstance(CPlayerPluginIF* instance)
{
    delete instance;
}
