#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include "frames/mono_picture.h"

namespace kelto {

// Image1 to Image18: never shown, they only carry the pictures the frame table refers to.
struct FrameHolder {
    QString name;
    // Decoded when the window is created, one bit a pixel.
    QImage loaded;
    // The same picture in the display's format, made on first use (Form1::Holder).
    QPixmap picture;
};

// One bit a pixel, colour 0 black and 1 white as in the picture.
QImage ToMonoImage(const frames::MonoPicture& picture);
// The picture as the display wants it, converted once so no pass converts anything.
QPixmap ToDisplayPixmap(const QImage& loaded);

}  // namespace kelto
