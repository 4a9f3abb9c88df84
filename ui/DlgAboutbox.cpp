#include "ui/DlgAboutbox.h"

#include "app/StringTable.h"
#include "ui/ExListCtrl.h"
#include "ui/FormFont.h"
#include "ui/QtText.h"
#include "ui/SkinPicture.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace sonavel {
namespace {

constexpr int kProgramIcon = 110;
constexpr uint32_t kVersionLabel = 1001;
constexpr uint32_t kPluginName = 150;
constexpr uint32_t kPluginExtension = 151;
constexpr uint32_t kPluginVersion = 152;

} // namespace

CDlgAboutbox::CDlgAboutbox(const std::vector<PluginListItem>& plugins, QWidget* parent)
    : QDialog(parent), plugins_(new CExListCtrl(this))
{
    setWindowTitle(ToQString(LoadString(strings::kAboutCaption)));
    setFont(DialogFont());
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(LoadSkinPicture(kProgramIcon))
                        .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* product = new QLabel(ToQString(LoadString(strings::kApplicationTitle)), this);
    auto* version = new QLabel(
        ToQString(LoadString(kVersionLabel)) + QStringLiteral(" ") + QStringLiteral(SONAVEL_VERSION), this);
    auto* copyright = new QLabel(QStringLiteral(SONAVEL_COPYRIGHT), this);

    plugins_->setFrameShape(QFrame::StyledPanel);
    plugins_->InsertColumn(0, LoadString(kPluginName), 150);
    plugins_->InsertColumn(1, LoadString(kPluginExtension), 150);
    plugins_->InsertColumn(2, LoadString(kPluginVersion), 110);
    plugins_->SetMinColumnWidth(50);
    plugins_->setMinimumSize(362, 106);
    for (const PluginListItem& plugin : plugins) {
        const int32_t row = plugins_->InsertItem(plugins_->GetItemCount(), plugin.name, 0);
        plugins_->SetItemText(row, 1, plugin.extension);
        plugins_->SetItemText(row, 2, plugin.version);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ToQString(LoadString(strings::kOk)));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(version);
    text->addWidget(copyright);
    auto* top = new QGridLayout;
    top->addWidget(icon, 0, 0, Qt::AlignTop);
    top->addLayout(text, 0, 1);
    top->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(plugins_);
    layout->addWidget(buttons);
}

} // namespace sonavel
