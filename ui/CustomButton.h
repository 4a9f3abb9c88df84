#pragma once

#include "ui/PseudoTransparentBackgroundControl.h"

#include <QAbstractButton>
#include <QImage>

namespace sonavel {

// A round transport button: the silver knob picture over the panel, the darker one while held.
// Only presses inside the knob's circle count; the keyboard cannot operate it.
class CCustomButton : public QAbstractButton, public IPseudoTransparentBackgroundControl {
    Q_OBJECT
  public:
    CCustomButton(int commandId, QWidget* parent);

    int CommandId() const { return commandId_; }
    void SetParentBackground(const QImage& background) override;
    bool HasParentBackground() const { return !background_.isNull(); }

  signals:
    // The button's command id, sent on every click.
    void commandTriggered(int commandId);

  protected:
    bool hitButton(const QPoint& position) const override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    int commandId_;
    QImage normal_;
    QImage pressed_;
    QImage background_;
};

} // namespace sonavel
