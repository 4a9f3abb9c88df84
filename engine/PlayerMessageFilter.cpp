#include "engine/PlayerMessageFilter.h"

#include "engine/PlayerMessages.h"

#include <algorithm>
#include <vector>

namespace sonavel {

bool IsSupersedingMessage(uint32_t message)
{
    switch (message) {
    case WM_QUIT:
    case WM_PLAYER_PLAY:
    case WM_PLAYER_SEEK:
    case WM_PLAYER_STOP:
    case WM_PLAYER_PREVIOUS:
    case WM_PLAYER_NEXT:
        return true;
    default:
        return false;
    }
}

bool Supersedes(uint32_t newer, uint32_t older)
{
    switch (newer) {
    case WM_QUIT:
    case WM_PLAYER_STOP:
        return true;
    case WM_PLAYER_PLAY:
        return older == WM_PLAYER_PLAY || older == WM_PLAYER_STOP;
    case WM_PLAYER_SEEK:
        return older == WM_PLAYER_SEEK;
    case WM_PLAYER_PREVIOUS:
    case WM_PLAYER_NEXT:
        return older == WM_PLAYER_PLAY || older == WM_PLAYER_SEEK || older == WM_PLAYER_STOP ||
            older == WM_PLAYER_PAUSE;
    default:
        return false;
    }
}

void CThrAudioPlayMessageFilter::Append(const ThreadMessage& message)
{
    records_.push_back({message, false});
}

void CThrAudioPlayMessageFilter::Collapse()
{
    std::vector<uint32_t> superseding;
    for (auto record = records_.rbegin(); record != records_.rend(); ++record) {
        if (record->dropped) {
            break;
        }
        const uint32_t message = record->message.message;
        if (std::any_of(superseding.begin(), superseding.end(),
                [message](uint32_t newer) { return Supersedes(newer, message); })) {
            record->dropped = true;
            continue;
        }
        if (IsSupersedingMessage(message)) {
            superseding.push_back(message);
        }
    }
    PopDropped();
}

void CThrAudioPlayMessageFilter::PopDropped()
{
    while (!records_.empty() && records_.front().dropped) {
        records_.pop_front();
    }
}

bool CThrAudioPlayMessageFilter::Empty() const
{
    return std::none_of(records_.begin(), records_.end(), [](const Record& record) { return !record.dropped; });
}

ThreadMessage CThrAudioPlayMessageFilter::PopFront()
{
    PopDropped();
    if (records_.empty()) {
        return {};
    }
    const ThreadMessage front = records_.front().message;
    records_.pop_front();
    PopDropped();
    return front;
}

std::optional<ThreadMessage> CThrAudioPlayMessageFilter::Take(std::initializer_list<uint32_t> kinds)
{
    for (auto record = records_.begin(); record != records_.end(); ++record) {
        if (!record->dropped && std::find(kinds.begin(), kinds.end(), record->message.message) != kinds.end()) {
            const ThreadMessage message = record->message;
            records_.erase(record);
            return message;
        }
    }
    return std::nullopt;
}

std::optional<ThreadMessage> CThrAudioPlayMessageFilter::TakeAll(uint32_t kind)
{
    std::optional<ThreadMessage> newest;
    for (auto record = records_.begin(); record != records_.end();) {
        if (!record->dropped && record->message.message == kind) {
            newest = record->message;
            record = records_.erase(record);
        } else {
            ++record;
        }
    }
    return newest;
}

void CThrAudioPlayMessageFilter::RemoveAll(uint32_t kind)
{
    TakeAll(kind);
}

} // namespace sonavel
