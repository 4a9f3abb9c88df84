#include "drivers/osmerun/UsbCardDevices.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sonavel {
namespace {

namespace fs = std::filesystem;

TEST(UsbCardDevicesTest, InstancePathFromTheCardsUsbDevice)
{
    test::TempDir dir;
    const fs::path sys = dir.Path() / "sys";
    const fs::path usb = sys / "devices" / "pci0000:00" / "usb1" / "1-1";
    fs::create_directories(usb / "1-1:1.0");
    dir.WriteText("sys/devices/pci0000:00/usb1/1-1/idVendor", "0b7e\n");
    dir.WriteText("sys/devices/pci0000:00/usb1/1-1/idProduct", "4a0d\n");
    fs::create_directories(sys / "class" / "sound" / "card1");
    fs::create_directory_symlink(usb / "1-1:1.0", sys / "class" / "sound" / "card1" / "device");
    // A card on the PCI bus has no USB ids above it.
    fs::create_directories(sys / "devices" / "pci0000:00" / "0000:00:1f.3");
    fs::create_directories(sys / "class" / "sound" / "card0");
    fs::create_directory_symlink(sys / "devices" / "pci0000:00" / "0000:00:1f.3", sys / "class" / "sound" / "card0" / "device");

    EXPECT_EQ(UsbCardInstancePath(sys, 1), u"USB\\VID_0B7E&PID_4A0D\\card1");
    EXPECT_EQ(UsbCardInstancePath(sys, 0), u"");
    EXPECT_EQ(UsbCardInstancePath(sys, 7), u"");
}

} // namespace
} // namespace sonavel
