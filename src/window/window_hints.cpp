#include "window/window_hints.h"

#include <QEvent>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace kelto {
namespace {

constexpr Qt::WindowStates kSizeChangingStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// Undoes what a window manager grants against the size hints. The undo is queued: it
// runs in the next event step, after the toolkit has taken in the change.
class FixedSizeKeeper final : public QObject {
  public:
    FixedSizeKeeper(QWidget& window, QSize fixedSize)
        : QObject(&window), window_(&window), fixedSize_(fixedSize) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ &&
            (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Resize))
            QTimer::singleShot(0, this, &FixedSizeKeeper::Restore);
        return false;
    }

  private:
    void Restore() {
        if (!window_) return;
        if (window_->windowState() & kSizeChangingStates)
            window_->setWindowState(window_->windowState() & ~kSizeChangingStates);
        if (window_->size() != fixedSize_) window_->resize(fixedSize_);
    }

    QPointer<QWidget> window_;
    QSize fixedSize_;
};

}  // namespace

void PrepareForDesktop(QWidget& window, QSize fixedSize) {
    // Without the close hint the toolkit allows only move and resize, and several desktops
    // then grey out their own close. With it the title bar still asks for no menu and no
    // minimise or maximise button; a close button is the desktop's own choice.
    window.setWindowFlag(Qt::WindowCloseButtonHint, true);
    window.setFixedSize(fixedSize);
    window.installEventFilter(new FixedSizeKeeper(window, fixedSize));
    // The title bar shows no icon; an empty icon removes the toolkit's default one.
    window.winId();
    if (QWindow* handle = window.windowHandle()) handle->setIcon(QIcon());
}

}  // namespace kelto
