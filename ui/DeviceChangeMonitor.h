#pragma once

#include <QObject>

#include <string>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace sonavel {

// Device changes from udev on the GUI thread: sound cards coming and going, and CD drives losing
// their disc. Without udev (no netlink socket) it reports nothing.
class CDeviceChangeMonitor : public QObject {
    Q_OBJECT
  public:
    explicit CDeviceChangeMonitor(QObject* parent = nullptr);
    ~CDeviceChangeMonitor() override;

    bool IsMonitoring() const { return monitor_ != nullptr; }

  signals:
    void soundDevicesChanged();
    // device: the drive's node, such as /dev/sr0.
    void cdRemoved(std::u16string device);

  private:
    void OnReadable();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace sonavel
