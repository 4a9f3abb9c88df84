#pragma once

namespace sonavel {

// Where every thread hands the texts of errors the user must see. Implementations only queue the
// text for the GUI thread, so ReportError is safe on the playback, loader and driver threads.
class IAppErrorManager {
public:
    virtual ~IAppErrorManager() = default;
    virtual void ReportError(const char16_t* text) = 0;
};

} // namespace sonavel
