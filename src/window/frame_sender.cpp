#include "window/frame_sender.h"

namespace kelto {

bool FrameSender::Start(QWidget&, std::function<void()>) {
    return false;
}

void FrameSender::Show(const QImage&, const QRect&) {}

void FrameSender::EndOfEventStep() {}

}  // namespace kelto
