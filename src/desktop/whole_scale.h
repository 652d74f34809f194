#pragma once

#include <QByteArray>

namespace kelto {

// One-pixel lines stay crisp only when a frame pixel covers whole device pixels, so a
// fractional scale factor asked for through the environment is taken down to the whole
// factor at or below it (at least 1): at 1.5 the window is 483 device pixels across, at 2.5
// it is 966. The screen's own factor is rounded the same way by the toolkit's policy.
// Call before the application object exists.
void UseWholeScaleFactorsOnly();

// "1.5" -> "1"; for QT_SCALE_FACTOR.
QByteArray WholeScaleFactor(const QByteArray& factor);
// "1.5;HDMI-1=2.5" -> "1;HDMI-1=2"; for QT_SCREEN_SCALE_FACTORS.
QByteArray WholeScreenScaleFactors(const QByteArray& factors);

}  // namespace kelto
