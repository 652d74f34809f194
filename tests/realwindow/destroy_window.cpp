// Destroys a window of another client, as a broken window manager or a stray tool might:
// the owner's next drawing request into it is refused by the server.
//   destroy_window WINDOW_ID
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: destroy_window WINDOW_ID\n");
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "destroy_window: cannot open the display\n");
        return 1;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const xcb_void_cookie_t cookie = xcb_destroy_window_checked(connection, window);
    const std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
        xcb_request_check(connection, cookie), &std::free);
    xcb_disconnect(connection);
    if (error) {
        std::fprintf(stderr, "destroy_window: the server refused (error %d)\n", error->error_code);
        return 1;
    }
    return 0;
}
