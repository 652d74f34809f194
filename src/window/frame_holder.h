#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include "frames/mono_picture.h"

namespace kelto {

// Image1 to Image18: never shown, they only carry the pictures the frame table refers to.
struct FrameHolder {
    QString name;
    QPixmap picture;
};

// The picture as the display wants it, converted once so no pass converts anything.
QImage ToImage(const frames::MonoPicture& picture);
QPixmap ToDisplayPixmap(const frames::MonoPicture& picture);

}  // namespace kelto
