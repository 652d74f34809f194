#include "desktop/wayland/wayland_globals.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace kelto {
namespace {

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t version) {
    for (const WantedGlobal& global : *static_cast<std::initializer_list<WantedGlobal>*>(data)) {
        if (*global.bound || std::strcmp(interface, global.interface.name) != 0) continue;
        *global.bound =
            wl_registry_bind(registry, name, &global.interface, std::min(version, global.version));
    }
}

void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {Global, GlobalRemoved};

}  // namespace

void BindGlobals(wl_display* display, wl_event_queue* queue,
                 std::initializer_list<WantedGlobal> wanted) {
    for (const WantedGlobal& global : wanted) *global.bound = nullptr;
    wl_event_queue* lookupQueue = queue ? queue : wl_display_create_queue(display);
    auto* ownDisplay = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(ownDisplay), lookupQueue);
    wl_registry* registry = wl_display_get_registry(ownDisplay);
    wl_registry_add_listener(registry, &kRegistryListener, &wanted);
    wl_display_roundtrip_queue(display, lookupQueue);
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(ownDisplay);
    if (queue) return;
    for (const WantedGlobal& global : wanted)
        if (*global.bound) wl_proxy_set_queue(static_cast<wl_proxy*>(*global.bound), nullptr);
    wl_event_queue_destroy(lookupQueue);
}

std::uint32_t BoundVersion(const void* object) {
    return wl_proxy_get_version(static_cast<wl_proxy*>(const_cast<void*>(object)));
}

}  // namespace kelto
