#pragma once

#include <cstdint>
#include <initializer_list>

struct wl_display;
struct wl_event_queue;
struct wl_interface;

namespace kelto {

// One of the compositor's globals the program binds for itself, where found: `bound` receives
// the new object, or nullptr.
struct WantedGlobal {
    const wl_interface& interface;
    std::uint32_t version;  // the highest the program knows; a lower one offered is taken
    void** bound;
};

// The toolkit's registry is its own: asks the compositor once more, on a queue of the
// program's, so that nothing of the toolkit's is dispatched meanwhile. The objects' events go
// to `queue`, or to the toolkit's with nullptr.
void BindGlobals(wl_display* display, wl_event_queue* queue,
                 std::initializer_list<WantedGlobal> wanted);

// The version an object was bound at.
std::uint32_t BoundVersion(const void* object);

}  // namespace kelto
