#pragma once

#include <QSize>
#include <Qt>
#include <functional>
#include <memory>

class QWindow;

namespace kelto {

// What the program settles with a Wayland compositor about its one window, on the window's
// xdg_toplevel, which the toolkit keeps to itself:
// - who draws the title bar, where the compositor offers xdg-decoration (sway, KWin): the
//   program asks to draw its own, as it must where nothing is offered (weston, mutter), so the
//   whole caption shows the same everywhere; a compositor that insists on drawing it wins.
// - one size: minimum and maximum alike, so desktops offer neither maximise nor resize. The
//   maximum goes out here, not through the toolkit: the toolkit would clamp a size the
//   compositor imposes to it, and weston, which maximises anyway, ends a client whose buffer
//   then misses the size it asked for. While maximised or full screen the maximum is lifted.
class ToplevelTerms final {
  public:
    // For a window just shown on Wayland, before its first buffer; nullptr where the toolkit
    // does not hand out its toplevel. ownBar hears the compositor's answer: true when the program
    // draws the bar.
    static std::unique_ptr<ToplevelTerms> For(QWindow& window, std::function<void(bool)> ownBar);
    ~ToplevelTerms();
    ToplevelTerms(const ToplevelTerms&) = delete;
    ToplevelTerms& operator=(const ToplevelTerms&) = delete;

    // The window's one size, sent again after the toolkit has sent its own size hints.
    void KeepSize(QSize size);
    // The window's states as the compositor set them.
    void FollowStates(Qt::WindowStates states);

    struct Protocol;  // the protocol objects, in the source

  private:
    explicit ToplevelTerms(std::unique_ptr<Protocol> protocol);
    void SendLimits();

    std::unique_ptr<Protocol> protocol_;
    QSize size_;
    bool sizeIsCompositors_ = false;
};

}  // namespace kelto
