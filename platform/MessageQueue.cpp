#include "platform/MessageQueue.h"

namespace sonavel {

bool MessageQueue::Post(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return false;
        }
        messages_.push_back({message, wParam, lParam});
    }
    arrived_.notify_one();
    return true;
}

void MessageQueue::PostQuit()
{
    Post(WM_QUIT);
}

bool MessageQueue::Peek(ThreadMessage& out, bool remove)
{
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        return false;
    }
    out = messages_.front();
    if (remove) {
        messages_.pop_front();
    }
    return true;
}

bool MessageQueue::Get(ThreadMessage& out)
{
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [this] { return !messages_.empty(); });
    out = messages_.front();
    messages_.pop_front();
    return out.message != WM_QUIT;
}

void MessageQueue::Close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
}

size_t MessageQueue::Size() const
{
    std::lock_guard lock(mutex_);
    return messages_.size();
}

} // namespace sonavel
