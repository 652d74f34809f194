#include "window/frame_holder.h"

#include <algorithm>

namespace kelto {

QImage ToMonoImage(const frames::MonoPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    static_assert(frames::kBlack == 0 && frames::kWhite == 1);
    const std::uint8_t* source = picture.pixels.data();
    for (int y = 0; y < picture.height; ++y, source += picture.width) {
        uchar* row = image.scanLine(y);
        std::fill(row, row + image.bytesPerLine(), uchar{0});
        // Eight pixels to a byte, the leftmost in the highest bit.
        int x = 0;
        for (; x + 8 <= picture.width; x += 8) {
            uchar byte = 0;
            for (int bit = 0; bit < 8; ++bit) byte = uchar(byte << 1 | source[x + bit]);
            row[x / 8] = byte;
        }
        for (; x < picture.width; ++x) row[x / 8] |= uchar(source[x] << (7 - x % 8));
    }
    return image;
}

const QPixmap& FrameHolder::Pixmap() const {
    // Converted once, so that painting it again converts nothing.
    if (pixmap_.isNull())
        pixmap_ = QPixmap::fromImage(loaded_.convertToFormat(QImage::Format_RGB32));
    return pixmap_;
}

}  // namespace kelto
