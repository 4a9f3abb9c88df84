#pragma once

#include "engine/PlaybackAlerts.h"

#include <QObject>

class QWidget;

namespace sonavel {

// Shows the engine's alerts (such as "Not enough memory") as message boxes on the GUI thread.
class CPlaybackAlertBox : public QObject, public IPlaybackAlerts {
    Q_OBJECT
  public:
    explicit CPlaybackAlertBox(QObject* parent = nullptr) : QObject(parent) {}

    void SetParentWindow(QWidget* window) { window_ = window; }
    void ShowAlert(const std::u16string& text) override;

  private:
    QWidget* window_ = nullptr;
};

} // namespace sonavel
