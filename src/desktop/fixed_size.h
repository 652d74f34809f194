#pragma once

#include <QSize>
#include <QWidget>

namespace kelto {

// The window's client size stays fixed: a maximise, fullscreen or resize that a window manager
// grants in spite of the size hints is undone at once. Minimising is left to the desktop.
void KeepFixedSize(QWidget& window, QSize fixedSize);

}  // namespace kelto
