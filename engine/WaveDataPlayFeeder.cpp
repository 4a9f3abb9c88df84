// The feeder thread: moves decoded frames of the slot being fed into per-channel chunk queues of
// channel words, ahead of the buffer switch, and follows the tracks from slot to slot.
#include "engine/WaveDataPlay.h"

#include "engine/ChannelWord.h"
#include "engine/DopMarker.h"

#include <algorithm>
#include <vector>

namespace sonavel {

namespace {

constexpr uint32_t kFeederIdleMs = 1;
constexpr uint32_t kFeederMaxIdleMs = 50;
// One second of frames is popped at a time; a hostile rate or block align cannot ask for more.
constexpr uint64_t kMaxScratchBytes = 64u << 20;

// With full queues the callback takes a chunk every chunk's play time at the output rate: the
// feeder looks again after half of that instead of every millisecond, which would cost more CPU
// than the playing itself.
uint32_t FullQueueWaitMs(const WAVEFORMATEX& format, bool dop)
{
    const uint64_t framesPerSecond = uint64_t{format.nSamplesPerSec} * (dop ? 2 : 1);
    if (framesPerSecond == 0) {
        return kFeederIdleMs;
    }
    const uint64_t halfChunkMs = uint64_t{kChunkWords} * 1000 / framesPerSecond / 2;
    return static_cast<uint32_t>(std::clamp<uint64_t>(halfChunkMs, kFeederIdleMs, kFeederMaxIdleMs));
}

} // namespace

bool CWaveDataPlay::PushChunks(int slot, int channels, std::array<ChunkWords, kMaxOutputChannels>& chunks,
    uint32_t bytes, bool endMarker, uint32_t fullWaitMs)
{
    Slot& target = slots_[slot];
    for (int channel = 0; channel < channels; ++channel) {
        for (;;) {
            if (feederStop_.IsSet() || target.flushRequest) {
                return false;
            }
            {
                std::lock_guard guard(queueLock_);
                ChunkQueue& queue = target.queues[channel];
                if (queue.Size() < kMaxQueuedChunks) {
                    queue.Push({std::move(chunks[channel]), bytes});
                    if (endMarker) {
                        queue.Push({});
                    }
                    if (queue.Size() > kPrimedChunks) {
                        primed_ = true;
                    }
                    break;
                }
            }
            feederWake_.Wait(fullWaitMs);
        }
        chunks[channel] = chunkPool_.Take();
    }
    return true;
}

bool CWaveDataPlay::ServeFlushRequests(int& slot, bool& formatLoaded)
{
    bool fedSlotFlushed = false;
    for (int flagged = 0; flagged < 2; ++flagged) {
        if (!slots_[flagged].flushRequest) {
            continue;
        }
        EmptyQueues(slots_[flagged]);
        // The flagged slot is being reloaded: its format is read again from the new source. The
        // feeder moves there only from a slot it has drained, never off a track still loading.
        if (flagged == slot || slotSource_.SlotState(slot) == kSlotIdle) {
            slot = flagged;
            formatLoaded = false;
            fedSlotFlushed = true;
        }
        {
            std::lock_guard guard(flushMutex_);
            slots_[flagged].flushRequest = false;
        }
        flushServed_.notify_all();
    }
    return fedSlotFlushed;
}

void CWaveDataPlay::FeederRun()
{
    int slot = renderSlot_;
    int channels = 0;
    {
        std::lock_guard guard(outputLock_);
        channels = outputBuffers_;
    }
    const bool dopAtStart = slots_[slot].dsd && !nativeMode_;
    double readSeconds = kDefaultReadSeconds;
    {
        const std::u16string device = settings_->Get().deviceName;
        std::lock_guard guard(deviceListMutex_);
        readSeconds = deviceList_.ReadSeconds(device, dopAtStart);
    }
    EmptyQueues(slots_[slot]);
    std::array<ChunkWords, kMaxOutputChannels> chunks;
    for (int channel = 0; channel < channels; ++channel) {
        chunks[channel] = chunkPool_.Take();
    }
    uint32_t filled = 0;
    bool formatLoaded = false;
    bool leadIn = true;
    WAVEFORMATEX format{};
    bool isDsd = false;
    uint32_t fullWaitMs = kFeederIdleMs;
    std::vector<uint8_t> scratch;
    std::shared_ptr<IDecodedData> decoded;

    while (!feederStop_.IsSet()) {
        if ((slots_[0].flushRequest || slots_[1].flushRequest) && ServeFlushRequests(slot, formatLoaded)) {
            filled = 0;
            decoded.reset();
        }
        if (!formatLoaded && slotSource_.SlotState(slot) != kSlotIdle) {
            formatLoaded = slotSource_.ReadSlotFormat(slot, format, isDsd) && format.nBlockAlign != 0 &&
                format.nSamplesPerSec != 0;
            if (formatLoaded) {
                fullWaitMs = FullQueueWaitMs(format, isDsd && !nativeMode_);
                const uint64_t bytes = uint64_t{format.nBlockAlign} * format.nSamplesPerSec;
                scratch.resize(std::min(bytes, kMaxScratchBytes));
                decoded = slotSource_.Decoded(slot);
            }
        }
        FetchDescriptor block;
        uint32_t frames = 0;
        if (formatLoaded) {
            if (leadIn) {
                frames = static_cast<uint32_t>(format.nSamplesPerSec * readSeconds);
                leadIn = false;
            } else if (decoded) {
                const auto wanted = static_cast<uint32_t>(scratch.size() / format.nBlockAlign);
                frames = static_cast<uint32_t>(std::max(decoded->Pop(scratch.data(), wanted), 0));
                block.data = scratch.data();
            }
        }
        if (frames == 0 && !(formatLoaded && slotSource_.SlotState(slot) == kSlotComplete)) {
            // A slot without a track stays so until the playback thread hands one over, which
            // wakes the feeder; a loading slot gets data within moments.
            const bool nothingToFeed = slotSource_.SlotState(slot) == kSlotIdle;
            feederWake_.Wait(nothingToFeed ? kFeederMaxIdleMs : kFeederIdleMs);
            continue;
        }
        if (frames > 0) {
            block.frameCount = frames;
            block.format = format;
            block.isDsd = isDsd ? 1 : 0;
            block.dop = isDsd && !nativeMode_ ? 1 : 0;
            uint64_t outputFrames = uint64_t{frames} * (block.dop ? 2 : 1);
            while (outputFrames > 0) {
                const auto run = static_cast<uint32_t>(std::min<uint64_t>(outputFrames, kChunkWords - filled));
                const uint32_t markerState = DopMarkerState();
                for (int channel = 0; channel < channels; ++channel) {
                    FetchRun(static_cast<uint32_t>(channel), block, markerState,
                        std::span<uint32_t>(chunks[channel].get() + filled, run));
                }
                AdvanceOutputFrames(block, run);
                filled += run;
                outputFrames -= run;
                if (filled == kChunkWords) {
                    if (!PushChunks(slot, channels, chunks, kChunkBytes, false, fullWaitMs)) {
                        break;
                    }
                    filled = 0;
                }
            }
            continue;
        }
        // The slot delivered everything: its queues end with the marker, and the next track
        // follows from the other slot (without a second lead-in).
        if (!PushChunks(slot, channels, chunks, filled * 4, true, fullWaitMs)) {
            filled = 0;
            continue;
        }
        if (slotSource_.IsStreaming()) {
            slotSource_.SetSlotIdle(slot);
        }
        formatLoaded = false;
        decoded.reset();
        slot = 1 - slot;
        filled = 0;
    }
    primed_ = true;
    {
        std::lock_guard guard(flushMutex_);
        feederRunning_ = false;
        slots_[0].flushRequest = false;
        slots_[1].flushRequest = false;
    }
    flushServed_.notify_all();
}

} // namespace sonavel
