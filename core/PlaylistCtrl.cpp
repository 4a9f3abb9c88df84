#include "core/PlaylistCtrl.h"

#include <utility>

namespace sonavel {

CPlaylistCtrl::CPlaylistCtrl(std::shared_ptr<CPlaylistCtrlImpl> store)
    : store_(std::move(store))
{
}

int32_t CPlaylistCtrl::GetEntryCount() const
{
    return store_->GetEntryCount();
}

int32_t CPlaylistCtrl::GetPosition() const
{
    return store_->GetPosition();
}

void CPlaylistCtrl::SetPosition(int32_t position)
{
    store_->SetPosition(position);
}

int32_t CPlaylistCtrl::GetCurrentEntry() const
{
    return store_->GetCurrentEntry();
}

bool CPlaylistCtrl::IsShuffle() const
{
    return store_->IsShuffle();
}

void CPlaylistCtrl::SetShuffleFree(bool on)
{
    store_->SetShuffle(on, -1);
}

} // namespace sonavel
