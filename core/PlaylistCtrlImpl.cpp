#include "core/PlaylistCtrlImpl.h"

#include "core/EntryDuration.h"
#include "core/Shuffle.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <utility>

namespace sonavel {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

} // namespace

std::unique_lock<std::recursive_mutex> CPlaylistCtrlImpl::Lock() const
{
    return std::unique_lock(lock_);
}

void CPlaylistCtrlImpl::Clear()
{
    Guard guard(lock_);
    modified_ = false;
    position_ = 0;
    entries_.clear();
    order_.clear();
}

void CPlaylistCtrlImpl::Append(const MusicTrackInfo& entry)
{
    Guard guard(lock_);
    entries_.push_back(entry);
    entries_.back().played = false;
    order_.push_back(Count());
    // A playlist emptied by removals keeps its old position; it must point into the new entries.
    if (!HasValidPosition()) {
        position_ = 0;
    }
    modified_ = true;
}

int32_t CPlaylistCtrlImpl::InsertAt(const MusicTrackInfo& entry, int32_t at)
{
    Guard guard(lock_);
    const int32_t n = Count();
    at = std::clamp(at, 0, n);
    int32_t cur = 0;
    if (HasValidPosition()) {
        cur = order_[position_];
    } else {
        position_ = 0;
    }
    auto inserted = entries_.insert(entries_.begin() + at, entry);
    inserted->played = false;
    order_.insert(order_.begin() + at, n);
    const int32_t k = at <= cur ? cur + 1 : cur;
    SetShuffle(shuffle_, k);
    SetPositionTo(k);
    return 0;
}

int32_t CPlaylistCtrlImpl::Remove(int32_t index)
{
    Guard guard(lock_);
    if (index < 0 || index >= Count()) {
        return 0;
    }
    int32_t cur = CurrentEntryLocked();
    const int32_t result = index == cur ? 1 : 0;
    if (index < cur) {
        --cur;
    }
    entries_.erase(entries_.begin() + index);
    order_.erase(order_.begin() + index);
    SetShuffle(shuffle_, cur);
    SetPositionTo(cur);
    return result;
}

int32_t CPlaylistCtrlImpl::Move(std::span<const int32_t> indices, int32_t target)
{
    if (indices.empty()) {
        return 0;
    }
    const std::vector<int32_t> rows(indices.begin(), indices.end());
    if (rows.size() == 1 && rows.front() == target) {
        return 0;
    }
    Guard guard(lock_);
    const int32_t n = Count();
    const bool ascending = std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()) == rows.end();
    if (!ascending || rows.front() < 0 || rows.back() >= n || target < 0 || target > n) {
        return 0;
    }
    const int32_t cur = CurrentEntryLocked();

    std::vector<std::pair<int32_t, MusicTrackInfo>> moved;
    moved.reserve(rows.size());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        moved.emplace_back(order_[*row], std::move(entries_[*row]));
        order_.erase(order_.begin() + *row);
        entries_.erase(entries_.begin() + *row);
    }
    std::reverse(moved.begin(), moved.end());

    const auto below =
        std::count_if(rows.begin(), rows.end(), [target](int32_t row) { return row < target; });
    const int32_t t = target - static_cast<int32_t>(below);
    for (auto pair = moved.rbegin(); pair != moved.rend(); ++pair) {
        order_.insert(order_.begin() + t, pair->first);
        entries_.insert(entries_.begin() + t, std::move(pair->second));
    }

    const auto found = std::find(order_.begin(), order_.end(), cur);
    const auto p = static_cast<int32_t>(found - order_.begin());
    SetShuffle(shuffle_, p);
    SetPositionTo(p);
    return 0;
}

void CPlaylistCtrlImpl::SetShuffle(bool on, int32_t first)
{
    Guard guard(lock_);
    shuffle_ = on;
    const int32_t n = Count();
    if (n == 0) {
        return;
    }
    if (first >= n) {
        first = 0;
    }
    position_ = 0;
    if (!on) {
        std::iota(order_.begin(), order_.end(), 0);
        return;
    }
    std::mt19937 generator = MakeShuffleGenerator();
    ShuffleOrder(order_, first, generator);
    ClearPlayed();
}

int32_t CPlaylistCtrlImpl::GetEntry(int32_t index, MusicTrackInfo* out) const
{
    Guard guard(lock_);
    if (out == nullptr || entries_.empty()) {
        return -1;
    }
    if (index < 0 || index >= Count()) {
        index = 0;
    }
    *out = entries_[index];
    return 0;
}

int32_t CPlaylistCtrlImpl::MarkPlayed(int32_t index)
{
    Guard guard(lock_);
    if (entries_.empty()) {
        return -1;
    }
    if (index < 0 || index >= Count()) {
        index = 0;
    }
    entries_[index].played = true;
    return 0;
}

bool CPlaylistCtrlImpl::AllPlayed() const
{
    Guard guard(lock_);
    return std::all_of(entries_.begin(), entries_.end(), [](const MusicTrackInfo& e) { return e.played; });
}

void CPlaylistCtrlImpl::ClearPlayed()
{
    Guard guard(lock_);
    for (auto& entry : entries_) {
        entry.played = false;
    }
}

int32_t CPlaylistCtrlImpl::GetElapsedBefore() const
{
    Guard guard(lock_);
    const int32_t end = std::clamp(position_, 0, Count());
    double seconds = 0.0;
    for (int32_t k = 0; k < end; ++k) {
        seconds += EntryDurationSeconds(entries_[order_[k]]);
    }
    return RoundSeconds(seconds);
}

int32_t CPlaylistCtrlImpl::GetNextEntry() const
{
    Guard guard(lock_);
    if (order_.empty()) {
        return 0;
    }
    return order_[GetNextPosition()];
}

int32_t CPlaylistCtrlImpl::GetNextPosition() const
{
    Guard guard(lock_);
    const int32_t next = position_ + 1;
    return next >= 0 && next < Count() ? next : 0;
}

int32_t CPlaylistCtrlImpl::FindPosition(int32_t entryIndex)
{
    Guard guard(lock_);
    SetPositionTo(entryIndex);
    return position_;
}

int32_t CPlaylistCtrlImpl::GetEntryCount() const
{
    Guard guard(lock_);
    return static_cast<int32_t>(entries_.size());
}

int32_t CPlaylistCtrlImpl::GetPosition() const
{
    Guard guard(lock_);
    return position_;
}

void CPlaylistCtrlImpl::SetPosition(int32_t position)
{
    Guard guard(lock_);
    const int32_t n = Count();
    // On an empty playlist "the last position" would be -1; 0 keeps the position usable.
    if (position < 0) {
        position = n > 0 ? n - 1 : 0;
    } else if (position >= n) {
        position = 0;
    }
    position_ = position;
}

int32_t CPlaylistCtrlImpl::GetCurrentEntry() const
{
    Guard guard(lock_);
    return CurrentEntryLocked();
}

bool CPlaylistCtrlImpl::IsShuffle() const
{
    Guard guard(lock_);
    return shuffle_;
}

bool CPlaylistCtrlImpl::IsModified() const
{
    Guard guard(lock_);
    return modified_;
}

void CPlaylistCtrlImpl::SetModified(bool modified)
{
    Guard guard(lock_);
    modified_ = modified;
}

std::vector<int32_t> CPlaylistCtrlImpl::GetOrder() const
{
    Guard guard(lock_);
    return order_;
}

int32_t CPlaylistCtrlImpl::CurrentEntryLocked() const
{
    return HasValidPosition() ? order_[position_] : 0;
}

int32_t CPlaylistCtrlImpl::FirstPositionOf(int32_t value) const
{
    const auto found = std::find(order_.begin(), order_.end(), value);
    return found == order_.end() ? -1 : static_cast<int32_t>(found - order_.begin());
}

void CPlaylistCtrlImpl::SetPositionTo(int32_t value)
{
    const int32_t found = FirstPositionOf(value);
    if (found >= 0) {
        position_ = found;
    }
}

} // namespace sonavel
