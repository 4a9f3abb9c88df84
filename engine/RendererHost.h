#pragma once

#include "engine/DecodedData.h"
#include "sources/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sonavel {

enum TrackSlotState : int32_t {
    kSlotIdle = 0,
    kSlotLoading = 1,
    kSlotComplete = 2,
};

// What the renderer's feeder reads of the playback thread's two track slots.
class ITrackSlotSource {
public:
    virtual ~ITrackSlotSource() = default;
    virtual int32_t SlotState(int slot) const = 0;
    // The feeder drained the slot (streaming mode only).
    virtual void SetSlotIdle(int slot) = 0;
    virtual bool IsStreaming() const = 0;
    // The slot's delivered format, read under the slot's source lock; false without a source.
    virtual bool ReadSlotFormat(int slot, WAVEFORMATEX& format, bool& isDsd) = 0;
    virtual std::shared_ptr<IDecodedData> Decoded(int slot) = 0;
};

// Where the renderer's threads send what they learn.
class IRendererEvents {
public:
    virtual ~IRendererEvents() = default;
    // A thread message to the playback thread.
    virtual void PostToPlayer(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Elapsed whole seconds of the current track, for the view's time.
    virtual void ReportElapsed(uint32_t seconds) = 0;
    virtual void ReportError(const std::u16string& text) = 0;
};

} // namespace sonavel
