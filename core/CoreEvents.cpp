#include "core/CoreInternals.h"
#include "core/PlayerCore.h"

#include "core/PlaylistCtrl.h"
#include "core/PlaylistListCtrl.h"
#include "core/PlayerEvent.h"
#include "core/TkCallback.h"

namespace sonavel {

namespace {

class EventSink final : public IPlayerEventSink {
  public:
    void OnPlayerEvent(int32_t event, std::unique_ptr<PlayStartInfo> startInfo, int32_t value) override
    {
        CoreOnPlayerEvent(event, std::move(startInfo), value);
    }
};

class CallbackRelay final : public ITkCallback {
  public:
    void OnPrepare() override
    {
        if (ITkCallback* view = Core().callback) {
            view->OnPrepare();
        }
    }
    void OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo) override
    {
        if (ITkCallback* view = Core().callback) {
            view->OnStatus(kind, value, std::move(startInfo));
        }
    }
    void OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist) override
    {
        if (ITkCallback* view = Core().callback) {
            view->OnTime(secondsInTrack, secondsInPlaylist);
        }
    }
    void OnSourceMode(int32_t change) override
    {
        if (ITkCallback* view = Core().callback) {
            view->OnSourceMode(change);
        }
    }
    void OnTrackText(std::u16string text, int32_t deselectAll) override
    {
        if (ITkCallback* view = Core().callback) {
            view->OnTrackText(std::move(text), deselectAll);
        }
    }
};

int32_t PlaylistCurrentEntry()
{
    const auto& playlist = Core().playlist;
    return playlist ? playlist->GetCurrentEntry() : -1;
}

// Clears the row images and marks the current entry's row with `image`.
void ShowCurrentRow(int32_t image)
{
    PlayerCore& core = Core();
    CoreClearRowImages();
    core.currentEntry = PlaylistCurrentEntry();
    if (IPlaylistListCtrl* list = core.listCtrl) {
        list->SetItemImage(core.currentEntry, image);
        list->RedrawItems(core.currentEntry, core.currentEntry);
    }
}

} // namespace

IPlayerEventSink& CoreEventSink()
{
    static EventSink sink;
    return sink;
}

ITkCallback& CoreCallbackRelay()
{
    static CallbackRelay relay;
    return relay;
}

void CoreOnPlayerEvent(int32_t event, std::unique_ptr<PlayStartInfo> startInfo, int32_t value)
{
    PlayerCore& core = Core();
    ITkCallback* view = core.callback;
    if (view == nullptr) {
        return;
    }
    switch (event) {
    case kPlayerEventStopped:
        core.playState = 0;
        core.currentEntry = PlaylistCurrentEntry();
        CoreClearRowImages();
        core.currentLength = 0;
        view->OnStatus(kStatusStopped, core.cdMode ? 1 : 0, nullptr);
        break;
    case kPlayerEventStarted:
        core.playState = 1;
        core.currentEntry = PlaylistCurrentEntry();
        CoreClearRowImages();
        core.currentLength = startInfo ? startInfo->lengthSeconds : 0;
        view->OnStatus(kStatusStarted, 0, std::move(startInfo));
        break;
    case kPlayerEventPaused:
        core.playState = 2;
        ShowCurrentRow(kRowImagePaused);
        view->OnStatus(kStatusPaused, 0, nullptr);
        break;
    case kPlayerEventResumed:
        core.playState = 1;
        ShowCurrentRow(kRowImagePlaying);
        view->OnStatus(kStatusPaused, 1, nullptr);
        break;
    case kPlayerEventLoading:
        view->OnStatus(kStatusLoading, value, nullptr);
        break;
    default:
        break;
    }
}

} // namespace sonavel
