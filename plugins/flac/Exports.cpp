// The two entry points the player looks up in the plug-in library.
#include "FlacDecoder.h"
#include "PluginPcm.h"

extern "C" __attribute__((visibility("default"))) CPlayerPluginIF* ppi_MakeInstance()
{
    return sonavel::pcm::MakePcmPlugin<sonavel::flac::FlacDecoder>();
}

extern "C" __attribute__((visibility("default"))) void ppi_ReleaseInstance(CPlayerPluginIF* instance)
{
    delete instance;
}
