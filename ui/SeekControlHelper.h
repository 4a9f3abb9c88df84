#pragma once

#include <cstdint>

namespace sonavel {

class CSeekbarSliderCtrl;

class ISeekControlEventListener {
  public:
    virtual ~ISeekControlEventListener() = default;
    virtual void OnSeekTracking(int32_t position, int32_t tracking) = 0;
    virtual void OnSeekBegin(int32_t position) = 0;
    virtual void OnSeekEnd(int32_t position) = 0;
};

// Turns the seek bar's scroll codes into one begin, tracking and exactly one end per drag.
class CSeekControlHelper {
  public:
    explicit CSeekControlHelper(ISeekControlEventListener* listener) : listener_(listener) {}
    virtual ~CSeekControlHelper() = default;

    void OnHScroll(int32_t code, CSeekbarSliderCtrl& bar);
    bool IsTracking() const { return tracking_; }

  private:
    ISeekControlEventListener* listener_;
    bool tracking_ = false;
};

} // namespace sonavel
