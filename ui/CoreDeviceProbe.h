#pragma once

#include "ui/DlgConfig.h"

namespace sonavel {

// The configuration dialog's devices through the player core: every listed device whose driver
// loads, initialises and reports output channels.
class CCoreDeviceProbe : public IOutputDeviceProbe {
  public:
    std::vector<ProbedDevice> ProbeDevices() override;
};

} // namespace sonavel
