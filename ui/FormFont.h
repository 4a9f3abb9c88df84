#pragma once

#include <QFont>

namespace sonavel {

// The font of the main form, its playlist and time text: Tahoma at 10 points on a 96-dpi screen,
// with the system's nearest sans-serif face where Tahoma is not installed.
QFont FormFont();

// The dialogs' font, the same face at 9 points.
QFont DialogFont();

} // namespace sonavel
