#include "ui/DlgProperty.h"

#include "app/StringTable.h"
#include "ui/FormFont.h"
#include "ui/QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sonavel {
namespace {

constexpr uint32_t kFieldLabels[] = {1050, 1051, 1052};

} // namespace

CDlgProperty::CDlgProperty(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(ToQString(LoadString(strings::kPropertiesCaption)));
    setFont(DialogFont());
    setModal(false);
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setReadOnly(true);
        fields_[i]->setMinimumWidth(330);
        form->addRow(ToQString(LoadString(kFieldLabels[i])), fields_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ToQString(LoadString(strings::kOk)));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CDlgProperty::SetDetails(const QString& displayName, const QString& title, const QString& artist)
{
    fields_[0]->setText(displayName);
    fields_[1]->setText(title);
    fields_[2]->setText(artist);
}

QString CDlgProperty::FieldText(int field) const
{
    return field >= 0 && field < 3 ? fields_[field]->text() : QString();
}

} // namespace sonavel
