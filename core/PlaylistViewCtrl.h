#pragma once

#include "core/ViewGeometry.h"

#include <cstdint>

namespace sonavel {

// How the player core switches row dragging and file dropping of the playlist list on and off.
class IPlaylistViewCtrl {
  public:
    virtual ~IPlaylistViewCtrl() = default;
    virtual void EnableDragReorder(int32_t enable) = 0;
    // A width below 1 means no minimum.
    virtual void SetMinColumnWidth(int32_t width) = 0;
    virtual void EnableFileDrop(int32_t enable) = 0;
    // Writes the point of the last accepted file drop and returns 1; 0 when point is null.
    virtual int32_t GetLastDropPoint(ViewPoint* point) = 0;
};

} // namespace sonavel
