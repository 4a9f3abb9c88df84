#pragma once

#include <cstdint>

namespace sonavel {

// Client coordinates of a window, in pixels.
struct ViewPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// A rectangle in client coordinates; right and bottom lie just outside it.
struct ViewRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

} // namespace sonavel
