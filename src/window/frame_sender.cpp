#include "window/frame_sender.h"

namespace kelto {

bool FrameSender::Start(QWidget&, std::function<void()>) {
    return false;
}

void FrameSender::Show(const QImage&, const QRect&) {}

void FrameSender::EndOfEventStep() {}

bool FrameSender::KeepsPixelSize(qreal devicePixelRatio) const {
    return devicePixelRatio == 1.0;
}

}  // namespace kelto
