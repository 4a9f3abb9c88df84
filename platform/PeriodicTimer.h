#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace sonavel {

// Calls a function every periodMs on a thread of its own until stopped; the replacement of a
// periodic multimedia timer. Ticks are scheduled on a steady clock, so a slow callback delays only
// its own tick.
class PeriodicTimer {
public:
    PeriodicTimer() = default;
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;
    ~PeriodicTimer();

    bool Start(uint32_t periodMs, std::function<void()> tick);
    // Stops and joins; must not be called from the callback itself.
    void Stop();
    bool IsRunning() const { return thread_.joinable(); }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace sonavel
