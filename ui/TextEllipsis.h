#pragma once

#include <QString>

class QFontMetrics;

namespace sonavel {

// Texts longer than this are cut before they are fitted.
inline constexpr int kMaxCellTextLength = 259;

// The text as it fits into `width` pixels: unchanged when it fits, otherwise its longest prefix
// (at least one character) that fits together with "...", followed by "...". *shortened tells
// which.
QString FitTextToWidth(const QString& text, int width, const QFontMetrics& metrics, bool* shortened);

} // namespace sonavel
