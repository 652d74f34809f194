#include "desktop/fixed_size.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>

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
        if (watched != window_) return false;
        switch (event->type()) {
            case QEvent::WindowStateChange:
            case QEvent::Resize:
                QTimer::singleShot(0, this, &FixedSizeKeeper::Restore);
                break;
            default:
                break;
        }
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

void KeepFixedSize(QWidget& window, QSize fixedSize) {
    window.setFixedSize(fixedSize);
    window.installEventFilter(new FixedSizeKeeper(window, fixedSize));
}

}  // namespace kelto
