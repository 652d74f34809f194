#include "window/frame_holder.h"

#include <algorithm>

namespace kelto {

QImage ToMonoImage(const frames::PackedPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    static_assert(frames::kBlack == 0 && frames::kWhite == 1);
    // The same layout: eight pixels to a byte, the leftmost in the highest bit.
    const auto rowBytes = std::min<std::size_t>(frames::RowStride(picture.width),
                                                static_cast<std::size_t>(image.bytesPerLine()));
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.Row(y), rowBytes, image.scanLine(y));
    return image;
}

const QPixmap& FrameHolder::Pixmap() const {
    // Converted once, so that painting it again converts nothing.
    if (pixmap_.isNull())
        pixmap_ = QPixmap::fromImage(loaded_.convertToFormat(QImage::Format_RGB32));
    return pixmap_;
}

}  // namespace kelto
