#include "ui/DlgConfig.h"

#include "app/StringTable.h"
#include "output/DevNameInfo.h"
#include "ui/FormFont.h"
#include "ui/QtText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace sonavel {
namespace {

constexpr int kRadioDsdOverPcm = 1024;
constexpr int kRadioDsdNative = 1025;
constexpr int kRadioNormal = 1026;
constexpr int kRadioExpandToRam = 1027;
constexpr int kRefreshMilliseconds = 1000;

QRadioButton* MakeRadio(int id, QWidget* parent)
{
    return new QRadioButton(ToQString(LoadString(static_cast<uint32_t>(id))), parent);
}

QGroupBox* MakeGroup(const QString& title, QRadioButton* first, QRadioButton* second, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    auto* exclusive = new QButtonGroup(group);
    exclusive->addButton(first);
    exclusive->addButton(second);
    return group;
}

} // namespace

void CopyConfigValues(const CAppConfigData& from, CAppConfigData& to)
{
    to.x.value = from.x.value;
    to.y.value = from.y.value;
    to.device.value = from.device.value;
    to.mp3Gapless.value = from.mp3Gapless.value;
    to.thrGapless.value = from.thrGapless.value;
    to.decodeMode.value = from.decodeMode.value;
    to.ramMode.value = from.ramMode.value;
    to.repeatMode.value = from.repeatMode.value;
    to.shuffleMode.value = from.shuffleMode.value;
    to.playlistFile.value = from.playlistFile.value;
}

CDlgConfig::CDlgConfig(IOutputDeviceProbe& probe, QWidget* parent)
    : QDialog(parent), probe_(probe), device_(new QComboBox(this)),
      dsdOverPcm_(MakeRadio(kRadioDsdOverPcm, this)), dsdNative_(MakeRadio(kRadioDsdNative, this)),
      normal_(MakeRadio(kRadioNormal, this)), expandToRam_(MakeRadio(kRadioExpandToRam, this))
{
    setWindowTitle(ToQString(LoadString(strings::kPreferencesCaption)));
    setFont(FormFont());
    device_->setMinimumWidth(360);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(new QLabel(QStringLiteral("Device"), this));
    deviceRow->addWidget(device_, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(MakeGroup(QStringLiteral("Decode mode"), dsdOverPcm_, dsdNative_, this));
    groups->addWidget(MakeGroup(QStringLiteral("Audio Data Handling"), normal_, expandToRam_, this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ToQString(LoadString(strings::kOk)));
    buttons->button(QDialogButtonBox::Cancel)->setText(ToQString(LoadString(strings::kCancel)));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConfig::ClickOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(deviceRow);
    layout->addLayout(groups);
    layout->addWidget(buttons);

    connect(device_, &QComboBox::currentIndexChanged, this, &CDlgConfig::OnSelectionChanged);
    connect(dsdOverPcm_, &QRadioButton::clicked, this, [this] { decodeMode_ = 0; });
    connect(dsdNative_, &QRadioButton::clicked, this, [this] { decodeMode_ = 1; });
    refreshTimer_.setInterval(kRefreshMilliseconds);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { RefreshDeviceList(false); });
}

QRadioButton& CDlgConfig::Radio(int id)
{
    switch (id) {
    case kRadioDsdOverPcm:
        return *dsdOverPcm_;
    case kRadioDsdNative:
        return *dsdNative_;
    case kRadioNormal:
        return *normal_;
    default:
        return *expandToRam_;
    }
}

void CDlgConfig::InitDialog()
{
    selectedDevice_ = config_.device.value;
    decodeMode_ = config_.decodeMode.value;
    RefreshDeviceList(true);
    (decodeMode_ == 0 ? dsdOverPcm_ : dsdNative_)->setChecked(true);
    (config_.ramMode.value == 0 ? normal_ : expandToRam_)->setChecked(true);
    refreshTimer_.start();
}

int CDlgConfig::RunModal()
{
    InitDialog();
    return exec();
}

void CDlgConfig::OnDeviceChange()
{
    RefreshDeviceList(false);
}

void CDlgConfig::RefreshDeviceList(bool force)
{
    std::vector<ProbedDevice> devices = probe_.ProbeDevices();
    if (!force && devices == lastList_) {
        return;
    }
    {
        const QSignalBlocker blocker(device_);
        device_->clear();
        for (const ProbedDevice& device : devices) {
            device_->addItem(ToQString(device.name));
        }
        device_->setCurrentIndex(device_->findText(ToQString(selectedDevice_), Qt::MatchExactly));
    }
    lastList_ = std::move(devices);
    UpdateDecodeRadios(device_->currentIndex() >= 0 ? selectedDevice_ : std::u16string());
}

void CDlgConfig::UpdateDecodeRadios(const std::u16string& name)
{
    if (name.empty()) {
        dsdOverPcm_->setEnabled(false);
        dsdNative_->setEnabled(false);
        return;
    }
    dsdNative_->setEnabled(true);
    const auto listed = std::find_if(lastList_.begin(), lastList_.end(),
                                     [&name](const ProbedDevice& device) { return device.name == name; });
    if (listed != lastList_.end() && (listed->flags & kDeviceFlagDsdModeChoice) != 0) {
        dsdOverPcm_->setEnabled(true);
        if (decodeMode_ == 0) {
            dsdOverPcm_->setChecked(true);
        } else if (decodeMode_ == 1) {
            dsdNative_->setChecked(true);
        }
    } else if (name.starts_with(u"WASAPI:")) {
        dsdOverPcm_->setEnabled(false);
        dsdNative_->setEnabled(false);
        dsdOverPcm_->setChecked(true);
        decodeMode_ = 0;
    } else {
        dsdOverPcm_->setEnabled(false);
        dsdNative_->setChecked(true);
        decodeMode_ = 1;
    }
}

void CDlgConfig::OnSelectionChanged()
{
    const std::u16string text = ToU16(device_->currentText());
    if (!text.empty()) {
        selectedDevice_ = text;
    }
    UpdateDecodeRadios(text);
}

void CDlgConfig::ClickOk()
{
    if (device_->currentIndex() < 0) {
        return;
    }
    config_.device.value = ToU16(device_->currentText());
    config_.decodeMode.value = dsdOverPcm_->isChecked() ? 0 : 1;
    config_.ramMode.value = normal_->isChecked() ? 0 : 1;
    accept();
}

void CDlgConfig::done(int result)
{
    refreshTimer_.stop();
    QDialog::done(result);
}

} // namespace sonavel
