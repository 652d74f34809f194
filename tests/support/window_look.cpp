#include "support/window_look.h"

#include <QFrame>
#include <QPainter>

#include "window/form1.h"
#include "window/picture_area_units.h"

namespace kelto::testing {

QImage ExpectedClient(const QImage& frame, int scale) {
    constexpr int kClient = Form1::kClientSize;
    QImage client(kClient * scale, kClient * scale, QImage::Format_RGB32);
    client.setDevicePixelRatio(scale);
    // The edge is whatever the toolkit's style draws for a sunken panel of the picture area's
    // size with the desktop's palette, on the background colour; only its top rows fit in the
    // client. At a scale above 1 its lines may be thinner than the edge.
    QFrame panel;
    panel.setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    panel.setLineWidth(kPictureEdge);
    panel.resize(kPictureOuterWidth, kPictureOuterHeight);
    const QColor background = panel.palette().color(QPalette::Button);
    client.fill(background);
    panel.render(&client, QPoint(), QRegion(0, 0, kClient, kClient), QWidget::DrawChildren);

    // The frame grows by whole device pixels: each of its pixels a solid square.
    QImage grown = frame.convertToFormat(QImage::Format_RGB32);
    grown = grown.scaled(frame.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    grown.setDevicePixelRatio(scale);
    QPainter painter(&client);
    const QRect inner(kPictureEdge, kPictureEdge, kInnerWidth, kInnerHeight);
    painter.fillRect(inner, background);
    painter.setClipRect(inner);
    painter.drawImage(inner.topLeft(), grown);
    painter.end();
    client.setDevicePixelRatio(1);
    return client;
}

Difference Compare(const QImage& shot, QPoint origin, const QImage& expected) {
    Difference difference;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            const QRgb want = expected.pixel(x, y) & 0xffffff;
            const QRgb got = shot.rect().contains(at) ? shot.pixel(at) & 0xffffff : ~want;
            if (got == want) continue;
            if (difference.count++ == 0)
                difference.first = {x, y}, difference.shown = got, difference.expected = want;
        }
    return difference;
}

QString Difference::Describe() const {
    if (count == 0) return QStringLiteral("none");
    const auto hex = [](QRgb colour) {
        return QStringLiteral("#%1").arg(colour & 0xffffff, 6, 16, QLatin1Char('0'));
    };
    return QStringLiteral("%1 pixels differ, the first at (%2, %3): shown %4, expected %5")
        .arg(count)
        .arg(first.x())
        .arg(first.y())
        .arg(hex(shown), hex(expected));
}

}  // namespace kelto::testing
