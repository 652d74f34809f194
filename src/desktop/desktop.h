#pragma once

#include <QObject>
#include <QSize>
#include <QWidget>
#include <memory>

#include "window/frame_sender.h"

namespace kelto {

// The desktop the program runs on, decided once, when the toolkit has started: the one place
// that asks which platform runs, and what follows from it.
class Desktop {
  public:
    enum class Platform { X11, Wayland, Other };

    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Platform Running() const { return platform_; }
    // How frames reach the screen here: kept on the X server on X11, the toolkit's painting
    // with a prompt flush on Wayland, the toolkit's painting alone elsewhere.
    FrameSender& Frames() { return *frames_; }
    // Shows the window at its fixed client size: with its hints on X11, inside the program's
    // own frame on Wayland. What the result holds must live as long as the window.
    [[nodiscard]] std::unique_ptr<QObject> Show(QWidget& window, QSize clientSize);

  private:
    Platform platform_;
    std::unique_ptr<FrameSender> frames_;
};

}  // namespace kelto
