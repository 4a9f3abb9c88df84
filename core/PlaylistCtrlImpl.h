#pragma once

#include "sources/MusicTypes.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace sonavel {

// The playlist: entries in row order, the play order over them and the play position, shared by
// the GUI thread (which edits) and the playback thread (which reads, moves the position and marks
// entries). Every operation holds the recursive lock for its whole duration; a caller that needs
// several operations to see one state holds Lock() around them.
//
// Invariants after every operation: order is a permutation of 0..n-1 (row order without shuffle)
// and, for a non-empty playlist, position is in 0..n-1. Readers treat an empty playlist as having
// current entry 0.
class CPlaylistCtrlImpl {
  public:
    [[nodiscard]] std::unique_lock<std::recursive_mutex> Lock() const;

    // Empties the playlist; the shuffle setting stays.
    void Clear();
    // Adds a copy at the end, played last; for loading a playlist file, which rebuilds the order.
    void Append(const MusicTrackInfo& entry);
    // Inserts a copy before row `at` (the entry count appends) and rebuilds the order so that the
    // entry that was current stays current; with shuffle the new order begins with it. Returns 0.
    int32_t InsertAt(const MusicTrackInfo& entry, int32_t at);
    // Returns 1 when the removed entry was the current one (the entry after it, or entry 0 when it
    // was the last, becomes current), else 0.
    int32_t Remove(int32_t index);
    // Moves the rows listed in strictly ascending order so that they stand, in their relative
    // order, before the entry that stood at target (0..n). Invalid lists move nothing. Returns 0.
    int32_t Move(std::span<const int32_t> indices, int32_t target);
    // Rebuilds the order: row order (position 0) without shuffle; with shuffle a new random order
    // beginning with `first` (-1: none), position 0 and all played marks cleared.
    void SetShuffle(bool on, int32_t first);

    // Copies entry `index` (0 when out of range); -1 when out is null or the playlist is empty.
    int32_t GetEntry(int32_t index, MusicTrackInfo* out) const;
    // Marks entry `index` (0 when out of range) as unplayable; -1 when the playlist is empty.
    int32_t MarkPlayed(int32_t index);
    bool AllPlayed() const;
    void ClearPlayed();
    // Whole seconds of the entries before the current position in play order, rounded once.
    int32_t GetElapsedBefore() const;
    // Entry and position after the current one, wrapping to the start; 0 when empty.
    int32_t GetNextEntry() const;
    int32_t GetNextPosition() const;
    // Makes the first position that plays entryIndex current (unchanged when none); returns it.
    int32_t FindPosition(int32_t entryIndex);

    int32_t GetEntryCount() const;
    int32_t GetPosition() const;
    // Below 0 becomes the last position, at or beyond the end becomes 0.
    void SetPosition(int32_t position);
    // order[position], or 0 when the playlist is empty.
    int32_t GetCurrentEntry() const;
    bool IsShuffle() const;
    bool IsModified() const;
    void SetModified(bool modified);
    std::vector<int32_t> GetOrder() const;

  private:
    int32_t Count() const { return static_cast<int32_t>(order_.size()); }
    bool HasValidPosition() const { return position_ >= 0 && position_ < Count(); }
    int32_t CurrentEntryLocked() const;
    int32_t FirstPositionOf(int32_t value) const;
    void SetPositionTo(int32_t value);

    mutable std::recursive_mutex lock_;
    bool modified_ = false;
    bool shuffle_ = false;
    int32_t position_ = 0;
    std::vector<MusicTrackInfo> entries_;
    std::vector<int32_t> order_;
};

} // namespace sonavel
