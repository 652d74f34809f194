#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include "frames/picture_block.h"

namespace kelto {

// Image1 to Image18: never shown, they only carry the pictures the frame table refers to.
class FrameHolder {
  public:
    FrameHolder() = default;
    FrameHolder(QString name, QImage loaded) : name_(std::move(name)), loaded_(std::move(loaded)) {}

    const QString& Name() const { return name_; }
    // Decoded when the window is created, one bit a pixel.
    const QImage& Loaded() const { return loaded_; }
    // The same picture in the display's format, made on first use: only the toolkit's own
    // painting needs it, and that is rare where a FrameSender shows the frames.
    const QPixmap& Pixmap() const;

  private:
    QString name_;
    QImage loaded_;
    mutable QPixmap pixmap_;
};

// One bit a pixel, colour 0 black and 1 white as in the picture.
QImage ToMonoImage(const frames::PackedPicture& picture);

}  // namespace kelto
