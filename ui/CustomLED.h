#pragma once

#include <QImage>
#include <QWidget>

namespace sonavel {

// A two-state indicator lamp over the panel: grey when off, blue when lit.
class CCustomLED : public QWidget {
    Q_OBJECT
  public:
    explicit CCustomLED(QWidget* parent);

    virtual void SetParentBackground(const QImage& background);
    void SetLit(bool lit);
    bool IsLit() const { return lit_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage off_;
    QImage on_;
    QImage background_;
    bool lit_ = false;
};

} // namespace sonavel
