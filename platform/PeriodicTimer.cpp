#include "platform/PeriodicTimer.h"

#include <chrono>

namespace sonavel {

PeriodicTimer::~PeriodicTimer()
{
    Stop();
}

bool PeriodicTimer::Start(uint32_t periodMs, std::function<void()> tick)
{
    if (thread_.joinable() || periodMs == 0) {
        return false;
    }
    stopping_ = false;
    thread_ = std::thread([this, periodMs, tick = std::move(tick)] {
        const auto period = std::chrono::milliseconds(periodMs);
        auto next = std::chrono::steady_clock::now() + period;
        std::unique_lock lock(mutex_);
        while (!wake_.wait_until(lock, next, [this] { return stopping_; })) {
            lock.unlock();
            tick();
            lock.lock();
            next += period;
            const auto now = std::chrono::steady_clock::now();
            if (next < now) {
                next = now + period;
            }
        }
    });
    return true;
}

void PeriodicTimer::Stop()
{
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

} // namespace sonavel
