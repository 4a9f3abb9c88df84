// The buffer switch: fills the half the driver hands over from the chunk queues of the slot
// being played, and moves to the prepared slot when the track ends.
#include "engine/WaveDataPlay.h"

#include "engine/ChannelWord.h"
#include "engine/DopMarker.h"
#include "engine/OutputSilence.h"
#include "engine/PlayerMessages.h"
#include "output/AsioHost.h"

#include <algorithm>

namespace sonavel {

namespace {

constexpr int32_t kWatchdogRefresh = 20;
constexpr int kAtomicAttempts = 100;

} // namespace

void CWaveDataPlay::RefreshWatchdog() noexcept
{
    int32_t value = watchdog_;
    for (int attempt = 0; attempt < kAtomicAttempts && value < kWatchdogRefresh; ++attempt) {
        if (watchdog_.compare_exchange_weak(value, kWatchdogRefresh)) {
            return;
        }
    }
}

bool CWaveDataPlay::SlotStarving(const Slot& slot) const noexcept
{
    for (int channel = 0; channel < outputBuffers_; ++channel) {
        if (slot.queues[channel].Empty() && slot.consumers[channel].remainingWords == 0) {
            return true;
        }
    }
    return false;
}

bool CWaveDataPlay::Switchable(int other) const noexcept
{
    const Slot& slot = slots_[other];
    const bool native = nativeMode_ && slot.dsd;
    // DoP goes out in the PCM format and its carrier rate can be a PCM track's rate: the DSD kind
    // must match too, or PCM words would follow DoP words in one stream (and the playback thread,
    // whose seamless test refuses the pair, would restart the track the output already began).
    return slot.rate == currentRate_ && (native ? kOutputFormatNativeDsd : kOutputFormatPcm) == currentFormat_ &&
        slot.dsd == slots_[1 - other].dsd && slot.prepareAhead;
}

void CWaveDataPlay::FillSilence(int channel, bool dop, bool nativeDsd, uint8_t* target, size_t bytes) noexcept
{
    const SampleTypeRow& row = *typeRows_[channel];
    if (dop) {
        markerStates_[channel] = FillDopSilence(row, {target, bytes}, markerStates_[channel]);
        return;
    }
    FillSilenceWord(row, {target, bytes}, nativeDsd ? kDsdSilenceWord : kPcmSilenceWord);
}

size_t CWaveDataPlay::FillFromQueue(Slot& slot, int channel, const SampleTypeRow& row, bool dop, uint8_t* target,
    size_t bytes, bool& endMet) noexcept
{
    Consumer& consumer = slot.consumers[channel];
    size_t written = 0;
    while (written + row.bytes <= bytes) {
        if (consumer.remainingWords == 0) {
            Chunk next;
            {
                std::lock_guard guard(queueLock_);
                if (slot.queues[channel].Empty()) {
                    break;
                }
                next = slot.queues[channel].Pop();
            }
            if (next.IsEndMarker()) {
                endMet = true;
                break;
            }
            if (next.bytes < 4) {
                continue;
            }
            consumer.words = std::move(next.words);
            consumer.offsetWords = 0;
            consumer.remainingWords = next.bytes / 4;
        }
        const uint32_t words =
            std::min<uint32_t>(consumer.remainingWords, static_cast<uint32_t>((bytes - written) / row.bytes));
        const std::span<uint32_t> run(consumer.words.get() + consumer.offsetWords, words);
        if (dop) {
            markerStates_[channel] = ContinueDopMarkers(run, markerStates_[channel]);
        }
        written += row.convertRun(target + written, run);
        consumer.offsetWords += words;
        consumer.remainingWords -= words;
        if (consumer.remainingWords == 0) {
            chunkPool_.Give(std::move(consumer.words));
        }
    }
    return written;
}

void CWaveDataPlay::BufferSwitch(AsioLong index) noexcept
{
    std::unique_lock guard(outputLock_);
    RefreshWatchdog();
    if (!opened_ || index < 0 || index > 1) {
        return;
    }
    const int current = renderSlot_;
    const int other = 1 - current;
    Slot& slot = slots_[current];
    bool starving = false;
    bool nextReady = false;
    {
        std::lock_guard queues(queueLock_);
        starving = SlotStarving(slot);
        nextReady = !SlotStarving(slots_[other]);
    }
    const bool switchable = Switchable(other);
    const bool nativeDsd = nativeMode_ && slot.dsd;
    const bool dop = slot.dsd && !nativeDsd;
    const bool playing = slot.endCountdown < 0;
    if (playing && starving && dataConsumed_) {
        ++underruns_;
    }
    bool trackEnded = false;
    uint64_t samplesOld = 0;
    uint64_t samplesNew = 0;
    const int last = outputBuffers_ - 1;
    for (int channel = 0; channel < outputBuffers_; ++channel) {
        const SampleTypeRow* row = typeRows_[channel];
        auto* target = static_cast<uint8_t*>(bufferInfos_[channel].buffers[index]);
        if (row == nullptr || target == nullptr) {
            continue;
        }
        const size_t bytes = size_t{row->bits} * static_cast<size_t>(preferredSize_) / 8;
        size_t written = 0;
        if (playing && !starving) {
            bool endMet = false;
            written = FillFromQueue(slot, channel, *row, dop, target, bytes, endMet);
            const size_t oldBytes = written;
            // Gapless: the rest of this half comes from the prepared track when it has data.
            if (endMet && switchable && nextReady) {
                written +=
                    FillFromQueue(slots_[other], channel, *row, dop, target + written, bytes - written, endMet);
            }
            if (channel == last) {
                trackEnded = endMet || trackEnded;
                samplesOld = oldBytes * 8 / row->bits;
                samplesNew = (written - oldBytes) * 8 / row->bits;
            }
        }
        if (written < bytes) {
            FillSilence(channel, dop, nativeDsd, target + written, bytes - written);
        }
    }
    if (samplesOld + samplesNew > 0) {
        dataConsumed_ = true;
        deliveredSamples_ += samplesOld + samplesNew;
    }
    if (postOutput_) {
        ASIOOutputReady(wrapper_);
    }
    if (trackEnded) {
        {
            std::lock_guard queues(queueLock_);
            for (ChunkQueue& queue : slot.queues) {
                queue.Clear();
            }
        }
        playedSamples_ = switchable ? samplesNew : playedSamples_ + samplesOld;
        slot.rate = 0.0;
        if (switchable) {
            slot.endCountdown = 1;
            slot.endKind = 0;
            renderSlot_ = other;
        } else {
            slot.endKind = 1;
            slot.endCountdown = postOutput_ ? 1 : 2;
        }
    } else {
        playedSamples_ += samplesOld + samplesNew;
    }
    if (slot.endCountdown >= 1 && --slot.endCountdown == 0) {
        const uint32_t kind = slot.endKind;
        guard.unlock();
        events_.PostToPlayer(WM_PLAYER_TRACK_END, kind, 1);
    }
}

} // namespace sonavel
