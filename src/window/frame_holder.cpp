#include "window/frame_holder.h"

namespace kelto {

QImage ToImage(const frames::MonoPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x)
            row[x] = picture.IsBlack(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return image;
}

QPixmap ToDisplayPixmap(const frames::MonoPicture& picture) {
    return QPixmap::fromImage(ToImage(picture));
}

}  // namespace kelto
