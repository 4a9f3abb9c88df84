#pragma once

#include <QDialog>

class QLineEdit;

namespace sonavel {

// File name, title and artist of one playlist entry; modeless, hidden again with OK.
class CDlgProperty : public QDialog {
    Q_OBJECT
  public:
    explicit CDlgProperty(QWidget* parent);

    void SetDetails(const QString& displayName, const QString& title, const QString& artist);
    QString FieldText(int field) const;

  private:
    QLineEdit* fields_[3];
};

} // namespace sonavel
