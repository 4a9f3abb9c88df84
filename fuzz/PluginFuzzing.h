#pragma once

#include "plugin-api/PlayerPluginIF.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace sonavel::fuzz {

// Feeds arbitrary bytes to fresh instances of a decoder plug-in, as a memory image and as a file
// with the given extension: parse, texts, tag table, sizes and formats in both output modes, and
// reads at the start, in the middle and across the end.
void FuzzPlugin(const std::function<std::unique_ptr<CPlayerPluginIF>()>& make, const char* extension, const uint8_t* data,
                size_t size);

} // namespace sonavel::fuzz
