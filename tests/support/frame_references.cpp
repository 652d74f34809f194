#include "support/frame_references.h"

#include <cstdio>

#include "animation/animation_state.h"
#include "window/form1.h"
#include "window/picture_area_units.h"

namespace kelto::testing {
namespace {

enum Expect : unsigned char { kBlackPixel, kWhitePixel, kBackground };

}  // namespace

QSize FrameReferences::Visible() const {
    // The bottom edge lies below the client; the right one is seen.
    return QSize(kInnerWidth, Form1::kClientSize - kPictureEdge) * scale_;
}

QSize FrameReferences::Client() const {
    return QSize(Form1::kClientSize, Form1::kClientSize) * scale_;
}

QPoint FrameReferences::InnerOrigin() const {
    return QPoint(kPictureEdge, kPictureEdge) * scale_;
}

bool FrameReferences::Load(const QString& dir, int scale) {
    scale_ = scale;
    frames_.clear();
    const QSize visible = Visible();
    for (int k = 1; k <= kFrameCount; ++k) {
        const QString path = QStringLiteral("%1/Image%2.pbm").arg(dir).arg(k);
        Frame frame;
        if (!frame.picture.load(path, "PBM")) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return false;
        }
        const QImage picture = frame.picture.convertToFormat(QImage::Format_RGB32);
        frame.expect.assign(static_cast<std::size_t>(visible.width()) * visible.height(),
                            kBackground);
        bool found = false;
        for (int y = 0; y < visible.height(); ++y)
            for (int x = 0; x < visible.width(); ++x) {
                const int px = x / scale, py = y / scale;
                if (px >= picture.width() || py >= picture.height()) continue;
                const bool black = (picture.pixel(px, py) & 0xffffff) == 0;
                frame.expect[static_cast<std::size_t>(y) * visible.width() + x] =
                    black ? kBlackPixel : kWhitePixel;
                if (black && !found) frame.firstBlack = {x, y}, found = true;
            }
        frames_.push_back(std::move(frame));
    }
    return true;
}

bool FrameReferences::Matches(const QImage& shot, QPoint origin, int index) const {
    const QSize visible = Visible();
    if (origin.x() < 0 || origin.y() < 0 || origin.x() + visible.width() > shot.width() ||
        origin.y() + visible.height() > shot.height())
        return false;
    const std::vector<unsigned char>& expect = frames_.at(static_cast<std::size_t>(index)).expect;
    for (int y = 0; y < visible.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(origin.y() + y));
        const unsigned char* want = &expect[static_cast<std::size_t>(y) * visible.width()];
        for (int x = 0; x < visible.width(); ++x) {
            const QRgb colour = row[origin.x() + x] & 0xffffff;
            switch (want[x]) {
                case kBlackPixel:
                    if (colour != 0) return false;
                    break;
                case kWhitePixel:
                    if (colour != 0xffffff) return false;
                    break;
                default:
                    // The background shows where no frame lies: neither line nor paper.
                    if (colour == 0 || colour == 0xffffff) return false;
            }
        }
    }
    return true;
}

int FrameReferences::Identify(const QImage& shot, QPoint origin, int near) const {
    for (int offset : {0, 1, -1, 2, -2}) {
        const int index = ((near + offset) % kFrameCount + kFrameCount) % kFrameCount;
        if (Matches(shot, origin, index)) return index;
    }
    for (int index = 0; index < kFrameCount; ++index)
        if (Matches(shot, origin, index)) return index;
    return -1;
}

}  // namespace kelto::testing
