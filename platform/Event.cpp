#include "platform/Event.h"

#include <chrono>

namespace sonavel {

Event::Event(bool manualReset, bool initiallySet) : manualReset_(manualReset), set_(initiallySet) {}

void Event::Set()
{
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    if (manualReset_) {
        changed_.notify_all();
    } else {
        changed_.notify_one();
    }
}

void Event::Reset()
{
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool Event::IsSet() const
{
    std::lock_guard lock(mutex_);
    return set_;
}

bool Event::Wait(uint32_t timeoutMs)
{
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return set_; })) {
        return false;
    }
    if (!manualReset_) {
        set_ = false;
    }
    return true;
}

void Event::Wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
    if (!manualReset_) {
        set_ = false;
    }
}

} // namespace sonavel
