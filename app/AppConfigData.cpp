#include "app/AppConfigData.h"

#include "app/AppConfigDataBackend.h"

#include <utility>

namespace sonavel {

void CAppConfigData::ResetToDefaults()
{
    x.Reset();
    y.Reset();
    device.Reset();
    mp3Gapless.Reset();
    thrGapless.Reset();
    decodeMode.Reset();
    ramMode.Reset();
    repeatMode.Reset();
    shuffleMode.Reset();
    playlistFile.Reset();
}

void CAppConfigData::Save()
{
    if (backend_) {
        backend_->Save(*this);
    }
}

void CAppConfigData::Load()
{
    if (backend_) {
        backend_->Load(*this);
    }
}

void CAppConfigData::SetBackend(std::shared_ptr<CAppConfigDataBackendBase> backend)
{
    backend_ = std::move(backend);
}

} // namespace sonavel
