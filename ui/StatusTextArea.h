#pragma once

#include <QLabel>

namespace sonavel {

// Text drawn straight onto the parent's background (the time display): no background of its own,
// so the parent repaints under every new text and nothing of a longer old text remains.
class CStatusTextArea : public QLabel {
    Q_OBJECT
  public:
    explicit CStatusTextArea(QWidget* parent);
};

} // namespace sonavel
