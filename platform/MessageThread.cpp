#include "platform/MessageThread.h"

namespace sonavel {

MessageThread::~MessageThread()
{
    if (thread_.joinable()) {
        queue_.PostQuit();
        thread_.join();
    }
}

bool MessageThread::Start(Body body)
{
    if (thread_.joinable()) {
        return false;
    }
    exited_.Reset();
    thread_ = std::thread([this, body = std::move(body)] {
        body(queue_);
        queue_.Close();
        exited_.Set();
    });
    return true;
}

bool MessageThread::WaitForExit(uint32_t timeoutMs)
{
    if (!thread_.joinable()) {
        return true;
    }
    if (!exited_.Wait(timeoutMs)) {
        return false;
    }
    thread_.join();
    return true;
}

} // namespace sonavel
