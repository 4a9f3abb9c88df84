#pragma once

#include "platform/Event.h"
#include "platform/MessageQueue.h"

#include <functional>
#include <thread>

namespace sonavel {

// A thread that owns a message queue and runs a body until the body returns (normally after Get
// reported WM_QUIT). Others post to it and may wait a bounded time for it to end.
class MessageThread {
public:
    using Body = std::function<void(MessageQueue&)>;

    MessageThread() = default;
    MessageThread(const MessageThread&) = delete;
    MessageThread& operator=(const MessageThread&) = delete;
    // Posts quit and joins a thread that is still running.
    ~MessageThread();

    bool Start(Body body);
    bool Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) { return queue_.Post(message, wParam, lParam); }
    void PostQuit() { queue_.PostQuit(); }
    // Waits up to timeoutMs for the body to return; true when it has (the thread is then joined).
    bool WaitForExit(uint32_t timeoutMs);
    bool IsRunning() const { return thread_.joinable() && !exited_.IsSet(); }
    MessageQueue& Queue() { return queue_; }

private:
    MessageQueue queue_;
    Event exited_{true, false};
    std::thread thread_;
};

} // namespace sonavel
