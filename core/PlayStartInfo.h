#pragma once

#include <cstdint>

namespace sonavel {

// What the view learns about a track that started; handed over with OnStatus kind 1.
struct PlayStartInfo {
    // The entry's duration in whole seconds, halves rounded up.
    int32_t lengthSeconds = 0;
    // Playlist index of the started entry.
    int32_t entryIndex = 0;
    // Non-zero: the view clears the list selection.
    int32_t deselectAll = 0;
};

} // namespace sonavel
