#include "desktop/wayland/wayland_flush.h"

#include <QAbstractEventDispatcher>

namespace kelto {

void WaylandFlush::EndOfEventStep() {
    // Qt's Wayland plugin writes its requests to the compositor when the event dispatcher
    // wakes, that is at the start of an event step, before this step's repaint is committed.
    // The loop then waits a whole pass, so every commit would wait for the next step, or for
    // whatever the compositor sends in between: frames reached the screen in pairs. Waking the
    // plugin's listeners once more after the repaint sends the commit at once.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        emit dispatcher->awake();
}

}  // namespace kelto
