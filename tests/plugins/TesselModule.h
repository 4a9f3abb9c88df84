#pragma once

#include "plugin-api/PlayerPluginIF.h"

#include <memory>

namespace sonavel::test {

// The DSDIFF plug-in library of the program folder, opened as the player opens it.
class TesselModule {
public:
    TesselModule();
    ~TesselModule();
    TesselModule(const TesselModule&) = delete;
    TesselModule& operator=(const TesselModule&) = delete;

    bool Loaded() const { return make_ != nullptr && release_ != nullptr; }
    using Instance = std::unique_ptr<CPlayerPluginIF, PpiReleaseInstanceFn>;
    Instance Make() const { return Instance(make_(), release_); }

private:
    void* module_ = nullptr;
    PpiMakeInstanceFn make_ = nullptr;
    PpiReleaseInstanceFn release_ = nullptr;
};

} // namespace sonavel::test
