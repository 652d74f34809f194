#include "desktop/fixed_size.h"

#include <QApplication>
#include <QWindow>
#include <QtTest>

using namespace kelto;

// The window keeps its client size whatever the window system grants it.
class FixedSizeTest : public QObject {
    Q_OBJECT

  private:
    static constexpr QSize kFixed{483, 483};

  private slots:
    void aResizeFromOutsideIsUndone() {
        QWidget window;
        KeepFixedSize(window, kFixed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), kFixed);
        // As a window manager that ignores the size hints would: on the native window.
        window.windowHandle()->resize(800, 700);
        QTRY_COMPARE(window.windowHandle()->size(), kFixed);
        QCOMPARE(window.size(), kFixed);
    }

    void maximiseAndFullscreenAreUndone() {
        QWidget window;
        KeepFixedSize(window, kFixed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
            window.windowHandle()->setWindowStates(state);
            QTRY_COMPARE(window.windowHandle()->windowStates(), Qt::WindowStates{});
            QTRY_COMPARE(window.windowHandle()->size(), kFixed);
            QCOMPARE(window.size(), kFixed);
        }
    }

    void minimisingIsLeftToTheDesktop() {
        QWidget window;
        KeepFixedSize(window, kFixed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.windowHandle()->setWindowStates(Qt::WindowMinimized);
        QTest::qWait(50);
        QCOMPARE(window.windowHandle()->windowStates(), Qt::WindowStates{Qt::WindowMinimized});
    }
};

QTEST_MAIN(FixedSizeTest)
#include "fixed_size_test.moc"
