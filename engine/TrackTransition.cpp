// Moving from one track to the next: the seamless test, the preparation of the next entry in
// the other slot, and the handlers of track ends and playlist, repeat and output changes.
#include "engine/TrackTransition.h"

#include "core/PlayOrder.h"
#include "core/PlaylistCtrl.h"
#include "engine/ThrAudioPlay.h"
#include "engine/WaveDataPlay.h"

#include <algorithm>

namespace sonavel {

namespace {

std::u16string Upper(std::u16string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; });
    return text;
}

bool IsDsdFormatName(const std::u16string& upper)
{
    return upper == u"DFF" || upper == u"DSF";
}

} // namespace

bool IsDffDsfPair(const MusicTrackInfo& current, const MusicTrackInfo& next)
{
    const std::u16string a = Upper(current.formatName);
    const std::u16string b = Upper(next.formatName);
    return (a == u"DFF" && b == u"DSF") || (a == u"DSF" && b == u"DFF");
}

bool IsSeamlessPair(const MusicTrackInfo& current, const MusicTrackInfo& next)
{
    if (IsDffDsfPair(current, next)) {
        return false;
    }
    if (IsDsdFormatName(Upper(current.formatName)) != IsDsdFormatName(Upper(next.formatName))) {
        return false;
    }
    return current.format.nSamplesPerSec == next.format.nSamplesPerSec;
}

void CThrAudioPlay::PrepareNext(PrepareVariant variant)
{
    CPlaylistCtrlImpl& store = context_.playlist->Store();
    const int32_t count = store.GetEntryCount();
    const int32_t nextPosition = store.GetNextPosition();
    const int32_t nextIndex = store.GetNextEntry();
    const MusicTrackInfo current = Entry(currentIndex_);
    const MusicTrackInfo next = Entry(nextIndex);
    // Also after a seamless end: a track prepared across the end of the order in the default
    // mode, or the same title again, would start playing before the stop or restart arrives.
    if (!MayPrepareNext(repeatMode_, store.GetPosition(), count)) {
        return;
    }
    if (variant != PrepareVariant::AfterSeamlessEnd) {
        const auto analyzer = slots_.Analyzer(slots_.CurrentSlot());
        const bool allowed = !IsCdMode() && analyzer && analyzer->CanPrepareAhead() && slots_.IsStreaming() &&
            count >= 2 && repeatMode_ != kRepeatTitle && nextPosition < count &&
            (nextPosition != 0 || repeatMode_ != kRepeatDefault);
        if (!allowed) {
            return;
        }
        if (variant == PrepareVariant::AfterPlay &&
            next.format.nSamplesPerSec != current.format.nSamplesPerSec) {
            return;
        }
    }
    if (next.played || IsDffDsfPair(current, next)) {
        return;
    }
    const int slot = slots_.LoadingSlot();
    if (!slots_.OpenInSlot(nextIndex, false)) {
        if (variant != PrepareVariant::AfterPlay) {
            store.MarkPlayed(nextIndex);
        }
        return;
    }
    const auto analyzer = slots_.Analyzer(slot);
    const bool prepareAhead = analyzer && analyzer->CanPrepareAhead();
    if (prepareAhead || variant == PrepareVariant::AfterSeamlessEnd) {
        slots_.StartLoader();
    }
    HandSlotFormat(slot, true);
}

void CThrAudioPlay::ContinueSeamlessly(int32_t entryIndex)
{
    slots_.SetCurrentSlot(1 - slots_.CurrentSlot());
    currentIndex_ = entryIndex;
    RaiseStarted(Entry(entryIndex), entryIndex, 0);
    PrepareNext(PrepareVariant::AfterSeamlessEnd);
}

void CThrAudioPlay::OnTrackEnd(uint32_t endKind, intptr_t fromOutput)
{
    if (playState_ == kPlayStopped) {
        return;
    }
    playState_ = kPlayPlaying;
    CPlaylistCtrlImpl& store = context_.playlist->Store();
    const PlayOrderState state = OrderState();
    const PlayOrderStep step = DecidePlayOrderStep(PlayOrderTrigger::TrackEnd, state);
    if (step.reshuffle) {
        context_.playlist->SetShuffleFree(true);
    }
    if (step.action == PlayOrderAction::Stop) {
        StopAsRequested(0);
        store.SetPosition(std::max(step.position, 0));
        return;
    }
    const MusicTrackInfo current = Entry(currentIndex_);
    store.SetPosition(step.position);
    const int32_t nextIndex = store.GetCurrentEntry();
    if (step.action == PlayOrderAction::PlayFromStart) {
        OnPlay(nextIndex, 0, false, 0);
        return;
    }
    const bool seamless = fromOutput == 0 || IsSeamlessPair(current, Entry(nextIndex));
    if (seamless && endKind == 0 && !state.shuffle) {
        if (IsCdMode()) {
            return;
        }
        if (slots_.IsStreaming()) {
            ContinueSeamlessly(nextIndex);
            return;
        }
    }
    OnPlay(nextIndex, 0, false, 0);
}

void CThrAudioPlay::OnPlaylistChanged()
{
    if (playState_ == kPlayStopped) {
        return;
    }
    const int other = 1 - slots_.CurrentSlot();
    slots_.StopLoader(other);
    slots_.ClearContainer(other);
    renderer_->RequestFlush(other);
    // The old preparation no longer counts: the renderer must not switch to that slot.
    renderer_->SetSlotFormat(0, 1, false, true, 0.0, false);
    slots_.SetLoadingSlot(other);
    PrepareNext(PrepareVariant::AfterSeekOrEdit);
}

} // namespace sonavel
