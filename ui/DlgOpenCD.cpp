#include "ui/DlgOpenCD.h"

#include "app/StringTable.h"
#include "sources/MusicDataCDDA.h"
#include "ui/FormFont.h"
#include "ui/QtText.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace sonavel {
namespace {

// The drive's model as the kernel reports it, for a readable list entry.
QString DriveDisplayName(const QString& device)
{
    QFile model(QStringLiteral("/sys/block/%1/device/model").arg(QFileInfo(device).fileName()));
    QString name;
    if (model.open(QIODevice::ReadOnly)) {
        name = QString::fromUtf8(model.readAll()).trimmed();
    }
    return name.isEmpty() ? device : QStringLiteral("%1 (%2)").arg(name, device);
}

} // namespace

CDlgOpenCD::CDlgOpenCD(std::vector<std::u16string> drives, TrackCounter countTracks, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    setWindowTitle(ToQString(LoadString(strings::kOpenCdCaption)));
    setFont(DialogFont());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(ToQString(LoadString(strings::kOk)));
    buttons->button(QDialogButtonBox::Cancel)->setText(ToQString(LoadString(strings::kCancel)));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgOpenCD::ClickOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Found CD drives"), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(300, 150);

    for (std::u16string& drive : drives) {
        if (countTracks(drive) > 0) {
            list_->addItem(DriveDisplayName(ToQString(drive)));
            listed_.push_back(std::move(drive));
        }
    }
    list_->setCurrentRow(listed_.empty() ? -1 : 0);
    ok_->setEnabled(!listed_.empty());
}

std::vector<std::u16string> CDlgOpenCD::FindCdDrives()
{
    std::vector<std::u16string> drives;
    const QStringList names =
        QDir(QStringLiteral("/dev")).entryList({QStringLiteral("sr*")}, QDir::System, QDir::Name);
    for (const QString& name : names) {
        drives.push_back(ToU16(QStringLiteral("/dev/") + name));
    }
    return drives;
}

int CDlgOpenCD::CountAudioTracks(const std::u16string& device)
{
    CMusicDataCDDA disc;
    MusicOpenParams params;
    params.path = device;
    params.useThreshold = false;
    params.thresholdDb = -96.0;
    int count = 0;
    if (disc.Open(&params) != 0 || disc.GetTrackCount(&count) != 0) {
        return 0;
    }
    return count;
}

bool CDlgOpenCD::IsOkEnabled() const
{
    return ok_->isEnabled();
}

void CDlgOpenCD::ClickOk()
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(listed_.size())) {
        return;
    }
    chosen_ = listed_[static_cast<size_t>(row)];
    accept();
}

} // namespace sonavel
