#include "tests/plugins/TesselModule.h"

#include "tests/support/RunProgram.h"

#include <dlfcn.h>

namespace sonavel::test {

TesselModule::TesselModule()
{
    module_ = dlopen((ProgramDir() / "Plugin" / "Plugin-Tessel.ppi").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module_ != nullptr) {
        make_ = reinterpret_cast<PpiMakeInstanceFn>(dlsym(module_, "ppi_MakeInstance"));
        release_ = reinterpret_cast<PpiReleaseInstanceFn>(dlsym(module_, "ppi_ReleaseInstance"));
    }
}

TesselModule::~TesselModule()
{
    if (module_ != nullptr) {
        dlclose(module_);
    }
}

} // namespace sonavel::test
