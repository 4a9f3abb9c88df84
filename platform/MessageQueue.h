#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace sonavel {

inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_APP = 0x8000;

struct ThreadMessage {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// A thread's message queue: any thread posts, the owning thread peeks or waits. Quitting posts
// WM_QUIT, which Get reports by returning false.
class MessageQueue {
public:
    bool Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostQuit();
    // Copies the first message into out without waiting; removes it when remove is true.
    bool Peek(ThreadMessage& out, bool remove);
    // Waits for a message and removes it; false when it is WM_QUIT.
    bool Get(ThreadMessage& out);
    // Stops accepting posts; later Post calls fail, as posting to an ended thread does.
    void Close();
    size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<ThreadMessage> messages_;
    bool closed_ = false;
};

} // namespace sonavel
