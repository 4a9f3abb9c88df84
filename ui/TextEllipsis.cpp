#include "ui/TextEllipsis.h"

#include <QFontMetrics>

namespace sonavel {

QString FitTextToWidth(const QString& text, int width, const QFontMetrics& metrics, bool* shortened)
{
    const QString cut = text.left(kMaxCellTextLength);
    *shortened = false;
    if (metrics.horizontalAdvance(cut) <= width) {
        return cut;
    }
    *shortened = true;
    const QString dots = QStringLiteral("...");
    const int dotsWidth = metrics.horizontalAdvance(dots);
    qsizetype length = cut.size() - 1;
    while (length > 1 && metrics.horizontalAdvance(cut.left(length)) + dotsWidth > width) {
        --length;
    }
    return cut.left(std::max<qsizetype>(length, 1)) + dots;
}

} // namespace sonavel
