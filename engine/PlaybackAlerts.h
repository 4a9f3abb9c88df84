#pragma once

#include <string>

namespace sonavel {

// Texts the user must acknowledge, such as "Not enough memory" when a track does not fit into
// memory. The front end shows them as it shows message boxes; called on loader threads.
class IPlaybackAlerts {
public:
    virtual ~IPlaybackAlerts() = default;
    virtual void ShowAlert(const std::u16string& text) = 0;
};

} // namespace sonavel
