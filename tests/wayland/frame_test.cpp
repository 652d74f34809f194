// The frame the program draws around its window on Wayland, without a compositor: where the
// client sits at its own size and when the compositor makes the frame larger, that the
// caption is drawn whole, and that a close reaches the client.
#include <QtGui/private/qhighdpiscaling_p.h>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QImage>
#include <QtTest>

#include "desktop/wayland/wayland_frame.h"

using kelto::WaylandFrame;

namespace {

const QString kCaption =
    QStringLiteral("KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit");

class Client final : public QWidget {
  public:
    Client() {
        setWindowTitle(kCaption);
        setFixedSize(483, 483);
        setAutoFillBackground(true);
    }
    int closes = 0;

  protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        event->ignore();
    }
};

// Columns of the frame's caption bar, as it draws it, that hold dark ink.
std::pair<int, int> InkColumns(WaylandFrame& frame) {
    const QImage shot = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage bar = shot.copy(1, 1, 483, WaylandFrame::kBarHeight);
    int left = bar.width(), right = -1;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            if (qGray(bar.pixel(x, y)) < 96) left = std::min(left, x), right = std::max(right, x);
    return {left, right};
}

bool Shown(WaylandFrame& frame) {
    frame.show();
    return QTest::qWaitForWindowExposed(&frame);
}

}  // namespace

class WaylandFrameTest : public QObject {
    Q_OBJECT

  private slots:
    void ClientSitsUnderTheBarAtItsOwnSize() {
        Client client;
        WaylandFrame frame(client);
        QCOMPARE(client.parentWidget(), &frame);
        QCOMPARE(frame.size(), QSize(483 + 2, 483 + WaylandFrame::kBarHeight + 2));
        QCOMPARE(frame.minimumSize(), frame.size());
        QVERIFY(Shown(frame));
        QCOMPARE(client.geometry(), QRect(1, 1 + WaylandFrame::kBarHeight, 483, 483));
        QCOMPARE(frame.windowTitle(), kCaption);
        QVERIFY(frame.windowFlags() & Qt::FramelessWindowHint);
    }

    // Maximised or full screen the compositor sets the size; the client keeps its own, in the
    // middle of what lies below the bar.
    void LargerFrameCentresTheClient() {
        Client client;
        WaylandFrame frame(client);
        QVERIFY(Shown(frame));
        frame.resize(1024, 736);
        QCOMPARE(client.size(), QSize(483, 483));
        const int below = 736 - WaylandFrame::kBarHeight - 2;
        QCOMPARE(client.pos(),
                 QPoint(1 + (1022 - 483) / 2, 1 + WaylandFrame::kBarHeight + (below - 483) / 2));
        frame.resize(frame.minimumSize());
        QCOMPARE(client.pos(), QPoint(1, 1 + WaylandFrame::kBarHeight));
    }

    // The whole caption in the bar: its ink as wide as the caption in the bar's font. Cut
    // short, or with buttons beside it, it would be narrower or wider.
    void BarShowsTheWholeCaption() {
        Client client;
        WaylandFrame frame(client);
        QVERIFY(Shown(frame));
        QFont font = frame.font();
        font.setPixelSize(WaylandFrame::kCaptionPixelSize);
        const int width = QFontMetrics(font).horizontalAdvance(kCaption);
        const auto [left, right] = InkColumns(frame);
        QVERIFY2(right >= 0, "no caption drawn");
        QVERIFY2(
            std::abs((right - left + 1) - width) <= 3,
            qPrintable(
                QStringLiteral("ink %1..%2, caption %3 wide").arg(left).arg(right).arg(width)));
        QVERIFY(right < 483 - 8);
    }

    // Where the compositor insists on drawing the title bar, the frame is the client alone,
    // with no bar of its own; agreed back, the bar returns.
    void CompositorsBarLeavesTheClientAlone() {
        Client client;
        WaylandFrame frame(client);
        QVERIFY(Shown(frame));
        frame.DrawOwnBar(false);
        QCOMPARE(frame.size(), QSize(483, 483));
        QCOMPARE(frame.minimumSize(), QSize(483, 483));
        QCOMPARE(client.geometry(), QRect(0, 0, 483, 483));
        frame.DrawOwnBar(true);
        QCOMPARE(frame.size(), QSize(483 + 2, 483 + WaylandFrame::kBarHeight + 2));
        QCOMPARE(client.pos(), QPoint(1, 1 + WaylandFrame::kBarHeight));
        QVERIFY2(InkColumns(frame).second >= 0, "no caption drawn once the bar is back");
    }

    void CloseReachesTheClient() {
        Client client;
        WaylandFrame frame(client);
        QVERIFY(Shown(frame));
        QVERIFY(!frame.close());
        QCOMPARE(client.closes, 1);
        QVERIFY(frame.isVisible());
    }

    // The client outlives the frame and can be shown again on its own.
    // Following a fractional scale (1.25 here, a grain of 5 pixels), the bar and the client
    // start on whole surface units, at its own size and in a larger frame alike: off the grain,
    // a move of the client would put the frames' surface between two screen pixels.
    void FractionalScaleLaysTheFrameOnTheGrain() {
        Client client;
        WaylandFrame frame(client);
        QVERIFY(Shown(frame));
        QHighDpiScaling::setScreenFactor(frame.screen(), 0.8);
        frame.resize(frame.minimumSize() + QSize(1, 1));
        frame.resize(frame.minimumSize());
        const QSize minimum = frame.minimumSize();
        const QPoint at = client.pos();
        frame.resize(1024, 736);
        const QPoint inLarger = client.pos();
        QHighDpiScaling::setScreenFactor(frame.screen(), 1.0);
        QCOMPARE(minimum, QSize(485 + 2 * 5, 30 + 485 + 5));
        QCOMPARE(at, QPoint(5, 30));
        QCOMPARE(inLarger.x() % 5, 0);
        QCOMPARE(inLarger.y() % 5, 0);
        QCOMPARE(client.size(), QSize(483, 483));
    }

    void ClientOutlivesTheFrame() {
        Client client;
        { WaylandFrame frame(client); }
        QCOMPARE(client.parentWidget(), nullptr);
    }
};

QTEST_MAIN(WaylandFrameTest)
#include "frame_test.moc"
