#pragma once

#include <QSize>
#include <QWidget>

namespace kelto {

// What the desktop is told about the one window, set before it is first shown:
// - the desktop's own close (Alt+F4, the window menu, a task list) is allowed, while the
//   window still asks for a title bar without buttons, menu or icon;
// - its client size stays fixed: a maximise, fullscreen or resize that a window manager
//   grants in spite of the size hints is undone at once.
// The menus keep the program's icon through its desktop entry.
void PrepareForDesktop(QWidget& window, QSize fixedSize);

}  // namespace kelto
