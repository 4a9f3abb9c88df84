#pragma once

#include "platform/MessageQueue.h"

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>

namespace sonavel {

// Whether a message is one that can make older waiting requests pointless (quit, play, seek,
// stop, previous, next).
bool IsSupersedingMessage(uint32_t message);
// Whether `newer` makes the waiting `older` pointless: quit and stop supersede everything, play
// supersedes play and stop, seek supersedes seek, previous and next supersede play, seek, stop
// and pause.
bool Supersedes(uint32_t newer, uint32_t older);

// The playback thread's collapsing queue: messages taken from the thread's queue wait here, and
// a burst of requests is cut down to the ones that still matter. Only the playback thread uses it.
class CThrAudioPlayMessageFilter {
public:
    void Append(const ThreadMessage& message);
    // Marks what newer waiting messages supersede and drops marked records from the front.
    void Collapse();
    bool Empty() const;
    ThreadMessage PopFront();
    // Removes and returns the first waiting message of one of the kinds.
    std::optional<ThreadMessage> Take(std::initializer_list<uint32_t> kinds);
    // Removes every waiting message of the kind; returns the newest of them.
    std::optional<ThreadMessage> TakeAll(uint32_t kind);
    void RemoveAll(uint32_t kind);

private:
    struct Record {
        ThreadMessage message;
        bool dropped = false;
    };
    void PopDropped();

    std::deque<Record> records_;
};

} // namespace sonavel
