#pragma once

#include "app/AppConfigData.h"

#include <QDialog>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QRadioButton;

namespace sonavel {

// An output device that loaded, initialised and reported output channels when probed.
struct ProbedDevice {
    std::u16string name;
    // The device list's flag word; kDeviceFlagDsdModeChoice lets the user choose the DSD transport.
    uint8_t flags = 0;

    bool operator==(const ProbedDevice&) const = default;
};

// Lists the usable output devices, releasing the player's own driver first.
class IOutputDeviceProbe {
  public:
    virtual ~IOutputDeviceProbe() = default;
    virtual std::vector<ProbedDevice> ProbeDevices() = 0;
};

// The preferences: output device, DSD transport and RAM mode, on a configuration copy of its own.
// The device list is probed again every second and on device changes while the dialog is open.
class CDlgConfig : public QDialog {
    Q_OBJECT
  public:
    CDlgConfig(IOutputDeviceProbe& probe, QWidget* parent);

    // The dialog's configuration copy: filled before InitDialog, read after OK.
    CAppConfigData& Config() { return config_; }
    // Loads the controls from the copy, lists the devices and starts the refresh timer.
    void InitDialog();
    int RunModal();
    // A device was plugged in or removed.
    void OnDeviceChange();

    QComboBox& DeviceCombo() { return *device_; }
    QRadioButton& Radio(int id);
    void ClickOk();

  protected:
    void done(int result) override;

  private:
    void RefreshDeviceList(bool force);
    void UpdateDecodeRadios(const std::u16string& name);
    void OnSelectionChanged();

    IOutputDeviceProbe& probe_;
    CAppConfigData config_;
    QComboBox* device_;
    QRadioButton* dsdOverPcm_;
    QRadioButton* dsdNative_;
    QRadioButton* normal_;
    QRadioButton* expandToRam_;
    QTimer refreshTimer_;
    std::u16string selectedDevice_;
    int32_t decodeMode_ = 0;
    std::vector<ProbedDevice> lastList_;
};

// Copies every setting's value, not the backend.
void CopyConfigValues(const CAppConfigData& from, CAppConfigData& to);

} // namespace sonavel
