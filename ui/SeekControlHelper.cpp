#include "ui/SeekControlHelper.h"

#include "ui/SeekbarSliderCtrl.h"

namespace sonavel {

void CSeekControlHelper::OnHScroll(int32_t code, CSeekbarSliderCtrl& bar)
{
    const int32_t position = bar.Pos();
    if (code == kSeekThumbTrack) {
        if (!tracking_) {
            tracking_ = true;
            listener_->OnSeekBegin(position);
        }
        listener_->OnSeekTracking(position, 1);
    } else if (code == kSeekThumbPosition || code == kSeekEndTrack) {
        if (tracking_) {
            listener_->OnSeekTracking(position, 1);
            tracking_ = false;
            listener_->OnSeekEnd(position);
        }
    }
    bar.update();
}

} // namespace sonavel
