// The two entry points the player looks up in the plug-in library.
#include "FileInfoDsf.h"
#include "PluginDsd.h"

extern "C" __attribute__((visibility("default"))) CPlayerPluginIF* ppi_MakeInstance()
{
    return sonavel::dsd::MakeDsdPlugin<sonavel::dsd::CFileInfo_DSF>();
}

extern "C" __attribute__((visibility("default"))) void ppi_ReleaseInstance(CPlayerPluginIF* instance)
{
    delete instance;
}
