#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace sonavel {

// A signalled/unsignalled flag that threads wait on. A manual-reset event stays signalled until
// Reset; an auto-reset event releases one waiter and clears itself.
class Event {
public:
    explicit Event(bool manualReset = true, bool initiallySet = false);

    void Set();
    void Reset();
    bool IsSet() const;
    // Waits until the event is signalled or timeoutMs passes; true when it was signalled.
    bool Wait(uint32_t timeoutMs);
    void Wait();

private:
    const bool manualReset_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool set_;
};

} // namespace sonavel
