#include <QApplication>
#include <QtTest>

#include "support/fake_host.h"
#include "support/form1_driver.h"
#include "support/recording_end.h"
#include "window/form1.h"

using namespace kelto;

// Run with QT_SCALE_FACTOR set: frames grow by whole device pixels only, with no smoothing.
class DensityTest : public QObject {
    Q_OBJECT

  private slots:
    void framesGrowByTheWholeFactorBelowTheScreensWithoutGrey() {
        testing::RecordingEnd end;
        testing::CountingWaiter waiter;
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const qreal ratio = form.devicePixelRatioF();
        const int whole = std::max(1, static_cast<int>(std::floor(ratio)));
        QCOMPARE(form.size(), QSize(483, 483));  // logical size stays

        drive.ShowFrame(drive.Holder(1));
        QApplication::processEvents();
        QImage screen = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        screen.setDevicePixelRatio(1);
        const QImage frame = drive.Holder(1).Loaded().convertToFormat(QImage::Format_RGB32);
        const QImage expected =
            frame.scaled(frame.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const int origin = static_cast<int>(std::lround(2 * ratio));
        const int visible = static_cast<int>(std::floor(481 * ratio)) - origin;
        const int width = std::min(expected.width(), visible);
        const int height = std::min(expected.height(), visible);
        QCOMPARE(screen.copy(origin, origin, width, height), expected.copy(0, 0, width, height));
        for (int y = origin; y < origin + height; ++y)
            for (int x = origin; x < origin + width; ++x) {
                const QRgb pixel = screen.pixel(x, y);
                QVERIFY2(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255),
                         qPrintable(QStringLiteral("grey at %1,%2").arg(x).arg(y)));
            }
    }
};

QTEST_MAIN(DensityTest)
#include "density_test.moc"
