#pragma once

#include "output/OutputLocations.h"

#include <ostream>
#include <span>
#include <string>

namespace sonavel {

// `devices [--debug] [--all]`: the offered output devices, one name per line; --debug admits the
// generic profiles as debug mode does; --all lists every registered driver and renderer device by
// the name that loads it. Returns the exit status.
int RunDevicesCommand(std::span<const std::string> args, const OutputLocations& locations, std::ostream& out,
    std::ostream& err);

} // namespace sonavel
