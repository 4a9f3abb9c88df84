#pragma once

#include "ui/LcdIndication.h"
#include "ui/PseudoTransparentBackgroundControl.h"

#include <QImage>
#include <QWidget>

#include <array>

namespace sonavel {

struct MusicTrackInfo;

// The front panel's display: the format strip with the current format lit, the sample rate and
// bit depth labels and an eight-cell clock, all cut from the LCD bitmaps 340 to 344.
class CLcdDisplayAreaCtrl : public QWidget, public IPseudoTransparentBackgroundControl {
    Q_OBJECT
  public:
    explicit CLcdDisplayAreaCtrl(QWidget* parent);

    void LoadBitmaps();
    void SetParentBackground(const QImage& background) override;
    // entry: the track whose format is shown; null clears the labels.
    void SetFormat(const MusicTrackInfo* entry);
    void SetClock(int32_t seconds, int32_t minutes, int32_t hours);

    const LcdIndexes& Indexes() const { return indexes_; }
    const std::array<int32_t, 8>& ClockCells() const { return clock_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage background_;
    std::array<QImage, 5> bitmaps_;
    LcdIndexes indexes_;
    std::array<int32_t, 8> clock_ = {-1, -1, -1, 0, 0, 10, 0, 0};
};

} // namespace sonavel
