#include "ui/DeviceChangeMonitor.h"

#include "ui/QtText.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <cstring>

namespace sonavel {
namespace {

bool Equals(const char* text, const char* expected)
{
    return text != nullptr && std::strcmp(text, expected) == 0;
}

} // namespace

CDeviceChangeMonitor::CDeviceChangeMonitor(QObject* parent) : QObject(parent), udev_(udev_new())
{
    if (udev_ == nullptr) {
        return;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr) {
        return;
    }
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "sound", nullptr);
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "block", "disk");
    if (udev_monitor_enable_receiving(monitor_) < 0) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
        return;
    }
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CDeviceChangeMonitor::OnReadable);
}

CDeviceChangeMonitor::~CDeviceChangeMonitor()
{
    delete notifier_;
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

void CDeviceChangeMonitor::OnReadable()
{
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (device == nullptr) {
        return;
    }
    const char* subsystem = udev_device_get_subsystem(device);
    const char* action = udev_device_get_action(device);
    const char* node = udev_device_get_devnode(device);
    if (Equals(subsystem, "sound")) {
        emit soundDevicesChanged();
    } else if (Equals(subsystem, "block") && node != nullptr &&
               Equals(udev_device_get_property_value(device, "ID_CDROM"), "1")) {
        // A drive that goes away, or whose disc is ejected or no longer there.
        const bool ejected = Equals(udev_device_get_property_value(device, "DISK_EJECT_REQUEST"), "1") ||
                             udev_device_get_property_value(device, "ID_CDROM_MEDIA") == nullptr;
        if (Equals(action, "remove") || (Equals(action, "change") && ejected)) {
            emit cdRemoved(ToU16(QString::fromLocal8Bit(node)));
        }
    }
    udev_device_unref(device);
}

} // namespace sonavel
