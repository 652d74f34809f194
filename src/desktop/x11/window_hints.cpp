#include "desktop/x11/window_hints.h"

#include <xcb/xcb.h>

#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "icons/kelto-32.xpm"

namespace kelto {
namespace {

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr std::uint32_t kFunctionsAndDecorations = 1 | 2;
constexpr std::uint32_t kMove = 4;
constexpr std::uint32_t kClose = 32;
constexpr std::uint32_t kBorder = 2;
constexpr std::uint32_t kTitle = 8;
// Clear: larger than openbox's title-bar icon (14 pixels, more with a large font), smaller than
// any switcher's, and none of the sizes icewm takes only when they are there exactly (16, 32,
// 48; it scales the largest for a missing one).
constexpr std::uint32_t kClearIconSide = 24;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// _NET_WM_ICON: width, height and ARGB rows for each size. Window managers draw the size
// nearest to the place they draw in, and scale the largest where they need an exact size that
// is missing. A title bar takes the clear one and stays empty, where openbox would draw a stock
// icon of its own without any; window switchers and task lists take the program's icon.
std::vector<std::uint32_t> IconSizes() {
    std::vector<std::uint32_t> sizes(2 + kClearIconSide * kClearIconSide, 0);
    sizes[0] = sizes[1] = kClearIconSide;
    const QImage stock = QImage(kelto_32).convertToFormat(QImage::Format_ARGB32);
    sizes.push_back(static_cast<std::uint32_t>(stock.width()));
    sizes.push_back(static_cast<std::uint32_t>(stock.height()));
    for (int y = 0; y < stock.height(); ++y)
        for (int x = 0; x < stock.width(); ++x) sizes.push_back(stock.pixel(x, y));
    return sizes;
}

// The toolkit's own hints for a window without buttons allow only move and resize, so
// several desktops grey out their close; asking for the close button allows the close but
// adds the window menu. Hence the hints are written here: move and close, and a border
// and title without menu, minimise or maximise, and a title bar without an icon.
void TellTheDesktop(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t motif = Atom(connection, "_MOTIF_WM_HINTS");
    const std::array<std::uint32_t, 5> hints = {kFunctionsAndDecorations, kMove | kClose,
                                                kBorder | kTitle, 0, 0};
    if (motif != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, motif, motif, 32, hints.size(),
                            hints.data());
    const xcb_atom_t icon = Atom(connection, "_NET_WM_ICON");
    const std::vector<std::uint32_t> sizes = IconSizes();
    if (icon != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, icon, XCB_ATOM_CARDINAL, 32,
                            static_cast<std::uint32_t>(sizes.size()), sizes.data());
    xcb_flush(connection);
}

// Written on Show, before the window is mapped, so the window manager reads them as it takes
// the window in.
class HintsOnShow final : public QObject {
  public:
    explicit HintsOnShow(QWidget& window) : QObject(&window), window_(&window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) TellTheDesktop(*window_);
        return false;
    }

  private:
    QPointer<QWidget> window_;
};

}  // namespace

void WriteWindowHintsOnShow(QWidget& window) {
    window.installEventFilter(new HintsOnShow(window));
}

}  // namespace kelto
