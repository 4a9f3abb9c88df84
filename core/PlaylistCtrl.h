#pragma once

#include "core/PlaylistCtrlImpl.h"

#include <cstdint>
#include <memory>

namespace sonavel {

// The handle to the playlist store that the player core, the view and the playback thread pass
// around. Its operations forward to the store, which holds its lock for each of them; the store
// itself is reached through Store() with the same locking.
class CPlaylistCtrl {
  public:
    explicit CPlaylistCtrl(std::shared_ptr<CPlaylistCtrlImpl> store);

    int32_t GetEntryCount() const;
    int32_t GetPosition() const;
    // Below 0 becomes the last position, at or beyond the entry count becomes 0.
    void SetPosition(int32_t position);
    int32_t GetCurrentEntry() const;
    bool IsShuffle() const;
    // A new shuffled order without a fixed first entry, or row order.
    void SetShuffleFree(bool on);

    CPlaylistCtrlImpl& Store() const { return *store_; }
    const std::shared_ptr<CPlaylistCtrlImpl>& StorePointer() const { return store_; }

  private:
    std::shared_ptr<CPlaylistCtrlImpl> store_;
};

} // namespace sonavel
