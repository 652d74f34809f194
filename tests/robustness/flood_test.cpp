#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtTest>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>

#include "support/fake_host.h"
#include "support/form1_driver.h"
#include "support/recording_end.h"
#include "window/form1.h"
#include "window/picture_area_units.h"

using namespace kelto;

namespace {

// Counts the input events that reach the picture area.
class InputCounter final : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseMove) ++seen;
        return false;
    }
    long seen = 0;
};

long ResidentKib() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

QMouseEvent* Mouse(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                   Qt::MouseButtons buttons) {
    return new QMouseEvent(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
}

// A pointer move with no button held, to post.
QMouseEvent* Move(QWidget* target, QPointF pos) {
    return Mouse(target, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}

QKeyEvent* Key(const QString& text) {
    return new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, text);
}

void Send(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    std::unique_ptr<QMouseEvent> event(Mouse(target, type, pos, button, buttons));
    QApplication::sendEvent(target, event.get());
}

// The pace a pointer at widget position pos sets in the normal mode.
// The handlers get the pixel under the pointer, fractions dropped.
double PaceAt(QPointF pos) {
    const PointerUnits units = PointerToUnits(std::floor(pos.x()) - 2, std::floor(pos.y()) - 2);
    return static_cast<float>((double{units.X} * 70) * double{units.Y});
}

constexpr long kFlood = 100000;
const QString kKeys[] = {QStringLiteral("+"), QStringLiteral("a"), QStringLiteral("-"),
                         QStringLiteral("="), QStringLiteral("*")};

}  // namespace

class FloodTest : public QObject {
    Q_OBJECT

  private:
    testing::RecordingEnd end;
    testing::CountingWaiter waiter;

    // A shown window whose loop has been entered, driven pass by pass by the test; each test
    // gets a new one.
    struct Running {
        explicit Running(FloodTest& test) : form(test.end, test.waiter), drive(form) {}
        Form1 form;
        testing::Form1Driver drive;
    };
    std::unique_ptr<Running> running;

  private slots:
    void init() {
        end = {};
        waiter.waits.clear();
        waiter.duringWait = nullptr;
        running = std::make_unique<Running>(*this);
        running->form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&running->form));
        running->drive.Start();
    }
    void cleanup() { running.reset(); }

    void aFloodArrivingDuringOnePassIsHandledInThatPassAndTheNextPassStarts() {
        testing::Form1Driver& drive = running->drive;
        InputCounter counter;
        drive.Picture1()->installEventFilter(&counter);
        PictureArea* area = drive.Picture1();
        const QPointF lastMove(2 + 300.25, 2 + 200.5);
        waiter.duringWait = [&] {
            // Keys and pointer moves interleaved; the last of each kind decides the state.
            for (long i = 0; i < kFlood - 2; ++i) {
                if (i % 2 == 0)
                    QCoreApplication::postEvent(area, Key(kKeys[i % 5]));
                else
                    QCoreApplication::postEvent(area, Move(area, {2.0 + i % 479, 2.0 + i % 481}));
            }
            QCoreApplication::postEvent(area, Move(area, lastMove));
            QCoreApplication::postEvent(area, Key(QStringLiteral("/")));
        };
        const std::int16_t before = drive.State().Position;
        drive.RunPass();
        QCOMPARE(counter.seen, kFlood);
        QCOMPARE(drive.State().StepCommand, std::int16_t{-2});
        QCOMPARE(drive.State().DelayCount, PaceAt(lastMove));
        QCOMPARE(drive.State().Position, static_cast<std::int16_t>((before + 1) % 18));

        // Nothing of the flood is left for the next pass, which starts and takes the stop.
        waiter.duringWait = nullptr;
        drive.RunPass();
        QCOMPARE(counter.seen, kFlood);
        QCOMPARE(waiter.waits.size(), std::size_t{2});
        QCOMPARE(waiter.waits.back(), static_cast<std::uint64_t>(std::floor(PaceAt(lastMove))) + 1);
        QCOMPARE(drive.State().Position, static_cast<std::int16_t>((before + 1 + 17) % 18));
        QCOMPARE(drive.State().StepCommand, std::int16_t{0});
        QCOMPARE(end.quits, 0);
        QVERIFY(end.failures.empty());
    }

    void repeatedFloodsLeaveNothingBehind() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer holds freed memory back; its leak check covers this");
#endif
        testing::Form1Driver& drive = running->drive;
        PictureArea* area = drive.Picture1();
        waiter.duringWait = [&] {
            for (long i = 0; i < kFlood; ++i) QCoreApplication::postEvent(area, Key(kKeys[i % 5]));
        };
        drive.RunPass();
        const long afterFirst = ResidentKib();
        for (int pass = 0; pass < 6; ++pass) drive.RunPass();
        const long afterLast = ResidentKib();
        qInfo("resident after 1 flood: %ld KiB, after 7: %ld KiB", afterFirst, afterLast);
        // Each flood allocates some 10 MiB of events; keeping even 20 bytes of each one
        // would show up here as 12 MiB.
        QVERIFY2(afterLast - afterFirst < 2048,
                 qPrintable(QStringLiteral("grew by %1 KiB").arg(afterLast - afterFirst)));
    }

    void everyCodeUnitInOneTextEventActsInOrderAndNothingQuits() {
        testing::Form1Driver& drive = running->drive;
        QString text;
        for (char32_t code = 0; code <= 0xFFFF; ++code)
            if (code != 27) text.append(QChar(static_cast<char16_t>(code)));
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(drive.Picture1(), &event);
        // "/" (47) is the last code that acts.
        QCOMPARE(drive.State().StepCommand, std::int16_t{-2});
        QCOMPARE(end.quits, 0);
        drive.RunPass();
        QCOMPARE(waiter.waits.size(), std::size_t{1});
    }

    void pointerExtremesWhileDraggingKeepThePaceAndTheLoopRunning() {
        testing::Form1Driver& drive = running->drive;
        PictureArea* area = drive.Picture1();
        Send(area, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
        const double tiny = std::numeric_limits<double>::denorm_min();
        const QPointF extremes[] = {
            {32767, 32767},         {-32767, -32767},       {32767, -32767},
            {-32767, 32767},        {32767.999, 2},         {2, -32766.75},
            {2 + 1e-30, 2 + 1e-30}, {2 - 1e-30, 2 + 5},     {2 + tiny, 2 + tiny},
            {2 - 1e-38, 2 - 1e-38}, {1e6 + 0.5, 1e6 + 0.5}, {-1e6, 1e6}};
        for (const QPointF pos : extremes) {
            Send(area, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
            const double pace = PaceAt(pos);
            QCOMPARE(drive.State().DelayCount, pace);
            const std::size_t waitsBefore = waiter.waits.size();
            drive.RunPass();
            QCOMPARE(waiter.waits.size(), waitsBefore + 1);
            const std::uint64_t expected =
                pace < 0 ? 0 : static_cast<std::uint64_t>(std::floor(pace)) + 1;
            QCOMPARE(waiter.waits.back(), expected);
        }
        QVERIFY(end.failures.empty());
        QCOMPARE(end.quits, 0);

        // Beyond what a float holds the product faults: one failure, the pace untouched.
        const double paceBefore = drive.State().DelayCount;
        Send(area, QEvent::MouseMove, {1e30, 1e30}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(end.failures.size(), std::size_t{1});
        QVERIFY(QString::fromStdString(end.failures[0]).contains(QStringLiteral("floating")));
        QCOMPARE(drive.State().DelayCount, paceBefore);
        Send(area, QEvent::MouseMove, {std::nan(""), 10}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(end.failures.size(), std::size_t{2});
        Send(area, QEvent::MouseButtonRelease, {50, 50}, Qt::LeftButton, Qt::NoButton);
    }
};

QTEST_MAIN(FloodTest)
#include "flood_test.moc"
