#pragma once

#include <QWidget>

namespace kelto {

// What an X11 desktop is told about the one window, before it is first mapped: the desktop's
// own close (Alt+F4, the window menu, a task list) is allowed, while the window still asks
// for a title bar without buttons, menu or icon. The menus keep the program's icon through
// its desktop entry.
void WriteWindowHintsOnShow(QWidget& window);

}  // namespace kelto
