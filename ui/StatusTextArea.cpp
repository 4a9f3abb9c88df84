#include "ui/StatusTextArea.h"

#include "ui/FormFont.h"

namespace sonavel {

CStatusTextArea::CStatusTextArea(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setFont(FormFont());
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
}

} // namespace sonavel
