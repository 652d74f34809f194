#include "desktop/screen_check.h"

#include <QGuiApplication>
#include <QScreen>
#include <stdexcept>
#include <string>

namespace kelto {

bool DepthShowsFrames(int depth) {
    return depth >= 15;
}

void RequireDisplayThatShowsFrames() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) throw std::runtime_error("the display has no screen");
    const int depth = screen->depth();
    if (!DepthShowsFrames(depth))
        throw std::runtime_error("the display has " + std::to_string(depth) +
                                 "-bit colour; kelto needs 16-bit colour or more");
}

}  // namespace kelto
