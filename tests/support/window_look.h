#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace kelto::testing {

// The client area as the user must see it while a frame is shown, every pixel of it: the
// picture area's sunken edge as the toolkit draws it with this desktop's colours, the frame
// from the inner area's top-left cut off at the inner area (479 of its columns), and the
// background colour in the visible inner row below it. At a whole scale factor `scale` each
// frame pixel is a square of that many device pixels across.
// Needs a QApplication: its palette and style are the ones the program gets.
QImage ExpectedClient(const QImage& frame, int scale = 1);

// Where a shot differs from what was expected, the shot's part at `origin` against the
// whole of `expected`; parts of `expected` outside the shot count as differing.
struct Difference {
    int count = 0;
    QPoint first;  // in `expected`'s pixels
    QRgb shown = 0;
    QRgb expected = 0;

    // "N pixels differ, the first at (x, y): shown #rrggbb, expected #rrggbb", or "none".
    QString Describe() const;
};
Difference Compare(const QImage& shot, QPoint origin, const QImage& expected);

}  // namespace kelto::testing
