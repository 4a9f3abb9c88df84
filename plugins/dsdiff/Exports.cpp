// The two entry points the player looks up in the plug-in library.
#include "PluginDsd.h"

#include <new>

extern "C" __attribute__((visibility("default"))) CPlayerPluginIF* ppi_MakeInstance()
{
    auto fileInfo = std::unique_ptr<sonavel::dsd::CFileInfo_DFF>(new (std::nothrow) sonavel::dsd::CFileInfo_DFF());
    if (!fileInfo) {
        return nullptr;
    }
    return new (std::nothrow) sonavel::dsd::CPlugin_DSD(std::move(fileInfo));
}

extern "C" __attribute__((visibility("default"))) void ppi_ReleaseInstance(CPlayerPluginIF* instance)
{
    delete instance;
}
