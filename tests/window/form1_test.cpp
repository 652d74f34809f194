#include "window/form1.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest>
#include <vector>

#include "frames/holder_pictures.h"
#include "support/fake_host.h"
#include "support/form1_driver.h"
#include "support/recording_end.h"
#include "window/picture_area_units.h"

using namespace kelto;

namespace {

struct MoveSeen {
    float X;
    float Y;
};

// Catches what the picture area hands on, in its own terms.
class RecordingInput final : public PictureAreaInput {
  public:
    void Typed(char16_t codeUnit) override { keys.push_back(codeUnit); }
    void PointerMoved(int, int, float X, float Y) override { moves.push_back({X, Y}); }
    void Clicked() override { events.push_back("click"); }
    void DoubleClicked() override { events.push_back("dblclick"); }
    std::vector<char16_t> keys;
    std::vector<MoveSeen> moves;
    std::vector<QString> events;
};

QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SendMouse(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Click(QWidget* target, QPointF pos, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(target, QEvent::MouseButtonPress, pos, button, button);
    SendMouse(target, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

// The whole gesture, as the toolkit delivers it: the second press comes as a double-click.
void DoubleClick(QWidget* target, QPointF pos, Qt::MouseButton button = Qt::LeftButton) {
    Click(target, pos, button);
    SendMouse(target, QEvent::MouseButtonDblClick, pos, button, button);
    SendMouse(target, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

  private:
    testing::RecordingEnd end;
    testing::CountingWaiter waiter;

  private slots:
    void windowHasFixedSizeCaptionAndOnlyATitleBar() {
        Form1 form(end, waiter);
        QCOMPARE(form.windowTitle(), QStringLiteral("KELTO Valve Control         Use:  "
                                                    "+-/*mouse,.        ESC to Quit"));
        QCOMPARE(form.windowTitle().size(), 64);
        QCOMPARE(form.size(), QSize(483, 483));
        QCOMPARE(form.minimumSize(), QSize(483, 483));
        QCOMPARE(form.maximumSize(), QSize(483, 483));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags & Qt::CustomizeWindowHint);
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(!(flags & Qt::WindowSystemMenuHint));
        QVERIFY(!(flags & Qt::WindowCloseButtonHint));
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    }

    void pictureAreaGeometryAndEdge() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        QCOMPARE(drive.Picture1()->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(drive.Picture1()->geometry(), QRect(0, 0, 483, 768));
        QCOMPARE(drive.Picture1()->InnerRect(), QRect(2, 2, 479, 764));
        QCOMPARE(drive.Picture1()->frameShadow(), QFrame::Sunken);
    }

    void holdersCarryTheFramePicturesInHolderOrder() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        for (int k = 1; k <= 18; ++k) {
            QCOMPARE(drive.Holder(k).Name(), QStringLiteral("Image%1").arg(k));
            const frames::MonoPicture source = frames::HolderPicture(k);
            const QImage shown = drive.Holder(k).Loaded();
            QCOMPARE(shown.size(), QSize(source.width, source.height));
            for (int y = 0; y < source.height; y += 7)
                for (int x = 0; x < source.width; x += 3)
                    QCOMPARE(qGray(shown.pixel(x, y)) == 0, source.IsBlack(x, y));
        }
    }

    void showingAFrameDrawsItClippedToTheInnerArea() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        drive.ShowFrame(drive.Holder(3));
        QApplication::processEvents();
        const QImage screen = Grab(form);
        const QImage frame = drive.Holder(3).Loaded().convertToFormat(QImage::Format_RGB32);
        // Inner area: 479 columns and the top 481 rows show; the frame's last column is cut.
        QCOMPARE(screen.copy(2, 2, 479, 480), frame.copy(0, 0, 479, 480));
        // Below the frame, inner row 480 shows the background.
        const QColor background = drive.Picture1()->palette().color(QPalette::Button);
        for (int x = 2; x < 481; ++x) QCOMPARE(screen.pixelColor(x, 482), background);
    }

    void fillingShowsFrameZeroFirstAndTheLoopShowsAFrameEveryPass() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        drive.FillFrameTable();
        QCOMPARE(drive.Picture1()->Picture(), &drive.Holder(1));
        for (int k = 0; k < 18; ++k) QCOMPARE(&drive.Frames().Lookup(k), &drive.Holder(k + 1));
        drive.EnterLoop();
        drive.RunPass();
        QCOMPARE(drive.Picture1()->Picture(), &drive.Holder(2));
        QCOMPARE(
            Grab(form).copy(2, 2, 479, 480),
            drive.Holder(2).Loaded().convertToFormat(QImage::Format_RGB32).copy(0, 0, 479, 480));
        QCOMPARE(waiter.waits.back(), std::uint64_t{1000001});
    }

    void keysReachTheHandlerThroughThePictureAreaWhichHoldsTheFocus() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), drive.Picture1());
        drive.State().StepCommand = 1;
        QTest::keyClick(form.windowHandle(), '-');
        QCOMPARE(drive.State().StepCommand, std::int16_t{-1});
        QTest::keyClick(form.windowHandle(), '*', Qt::KeypadModifier);
        QCOMPARE(drive.State().StepCommand, std::int16_t{2});
        QTest::keyClick(form.windowHandle(), '=');
        QCOMPARE(drive.State().StepCommand, std::int16_t{2});
        // Tab stays in the picture area: it is a character like any other.
        QTest::keyClick(form.windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), drive.Picture1());
        QCOMPARE(end.quits, 0);
        QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
        QCOMPARE(end.quits, 1);
    }

    void textOfSeveralCharactersActsAsTheCharactersInOrder() {
        RecordingInput input;
        PictureArea area(input, Form1::ToolkitPaintingOnly(), nullptr);
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("+x/"));
        QApplication::sendEvent(&area, &event);
        QCOMPARE(input.keys, (std::vector<char16_t>{u'+', u'x', u'/'}));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString());
        QApplication::sendEvent(&area, &escape);
        QCOMPARE(input.keys.back(), char16_t{27});
    }

    void pointerMovesArriveInTheAreasUnitsAndNotOverItsEdge() {
        RecordingInput input;
        PictureArea area(input, Form1::ToolkitPaintingOnly(), nullptr);
        const auto move = [&](QPointF p) {
            SendMouse(&area, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        };
        move({2, 2});
        move({480, 482});
        // Sub-pixel positions reach the handlers as the pixel they lie in.
        move({3.7, 14.99});
        QCOMPARE(input.moves.size(), std::size_t{3});
        QCOMPARE(input.moves[0].X, 0.0f);
        QCOMPARE(input.moves[0].Y, 0.0f);
        QVERIFY(qAbs(input.moves[1].X - 14.8517f) < 5e-5f);
        QCOMPARE(input.moves[1].Y, 18.75f);
        QCOMPARE(input.moves[2].X, PointerToUnits(1, 12).X);
        QCOMPARE(input.moves[2].Y, 0.46875f);
        // Within the same pixel the pointer has not moved.
        move({3.01, 14.5});
        QCOMPARE(input.moves.size(), std::size_t{3});
        // The sunken edge is not part of the inner area.
        for (QPointF edge : {QPointF(1, 100), QPointF(100, 1), QPointF(481, 50), QPointF(0, 0),
                             QPointF(1.99, 300)})
            move(edge);
        QCOMPARE(input.moves.size(), std::size_t{3});
    }

    void pointerScale_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<float>("X");
        QTest::addColumn<float>("Y");
        QTest::addColumn<float>("tolerance");  // on X; Y is always exact
        QTest::newRow("top-left") << 0.0 << 0.0 << 0.0f << 0.0f << 0.0f;
        QTest::newRow("last visible pixel") << 478.0 << 480.0 << 14.8517f << 18.75f << 5e-5f;
        QTest::newRow("inner bottom-right") << 479.0 << 764.0 << 14.88274f << 29.84375f << 0.0f;
        QTest::newRow("one unit down") << 0.0 << 25.6 << 0.0f << 1.0f << 0.0f;
        QTest::newRow("one unit across") << 32.185 << 0.0 << 1.0f << 0.0f << 1e-5f;
        QTest::newRow("fraction") << 0.5 << 12.8 << 0.0155352196f << 0.5f << 0.0f;
        QTest::newRow("far past the top-left")
            << -32767.0 << -32767.0 << -1018.0851f << -1279.9609375f << 1e-3f;
    }

    void pointerScale() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(float, X);
        QFETCH(float, Y);
        QFETCH(float, tolerance);
        const PointerUnits units = PointerToUnits(x, y);
        QVERIFY2(qAbs(units.X - X) <= tolerance, qPrintable(QString::number(units.X, 'g', 9)));
        QCOMPARE(units.Y, Y);
    }

    void aDragFromInsideReportsMovesOutsideWithNegativeUnits() {
        RecordingInput input;
        PictureArea area(input, Form1::ToolkitPaintingOnly(), nullptr);
        SendMouse(&area, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&area, QEvent::MouseMove, {-30, 40}, Qt::NoButton, Qt::LeftButton);
        SendMouse(&area, QEvent::MouseMove, {600, -100}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(input.moves.size(), std::size_t{2});
        QVERIFY(input.moves[0].X < 0 && input.moves[0].Y > 0);
        QVERIFY(input.moves[1].X > 14.88274f && input.moves[1].Y < 0);
        // Just past the top-left corner is pixel -1, not 0.
        SendMouse(&area, QEvent::MouseMove, {1.5, 1.5}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(input.moves.size(), std::size_t{3});
        QCOMPARE(input.moves[2].X, PointerToUnits(-1, -1).X);
        QCOMPARE(input.moves[2].Y, -0.0390625f);
        input.moves.pop_back();
        SendMouse(&area, QEvent::MouseButtonRelease, {600, -100}, Qt::LeftButton, Qt::NoButton);
        QVERIFY(input.events.empty());  // released outside: no click
        SendMouse(&area, QEvent::MouseMove, {-30, 40}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(input.moves.size(), std::size_t{2});
        // A press on the edge does not open the outside.
        SendMouse(&area, QEvent::MouseButtonPress, {1, 50}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&area, QEvent::MouseMove, {-5, 50}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(input.moves.size(), std::size_t{2});
    }

    // The toolkit makes up a move to where the pointer rests when the window opened under a
    // pointer that has not moved since, before the first press: that is no move.
    void aMoveToWhereThePointerRestedAtShowIsNoMove() {
        RecordingInput input;
        PictureArea area(input, Form1::ToolkitPaintingOnly(), nullptr);
        area.move(0, 0);
        const QPointF rest(100.25, 200.5);
        QCursor::setPos(area.mapToGlobal(rest.toPoint()));
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        const QPointF at = area.mapFromGlobal(QCursor::pos().toPointF());
        SendMouse(&area, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        Click(&area, at);
        QCOMPARE(input.moves.size(), std::size_t{0});
        QCOMPARE(input.events, (std::vector<QString>{"click"}));
        // A real move, one pixel down, is reported; so is a move back to where it rested.
        SendMouse(&area, QEvent::MouseMove, at + QPointF(0, 1), Qt::NoButton, Qt::NoButton);
        SendMouse(&area, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QCOMPARE(input.moves.size(), std::size_t{2});
        QCOMPARE(input.moves[0].Y, static_cast<float>((std::floor(at.y()) + 1 - 2) / 25.6));
    }

    // The pointer that comes in from outside moves, even to a pixel it was on before.
    void aMoveIntoTheAreaIsAMove() {
        RecordingInput input;
        PictureArea area(input, Form1::ToolkitPaintingOnly(), nullptr);
        QCursor::setPos(area.mapToGlobal(QPoint(100, 200)));
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&area, &leave);
        const QPointF at = area.mapFromGlobal(QCursor::pos().toPointF());
        SendMouse(&area, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QCOMPARE(input.moves.size(), std::size_t{1});
    }

    void aDoubleClickGestureGivesOneClickThenTheDoubleClick() {
        RecordingInput input;
        PictureArea area(input, Form1::ToolkitPaintingOnly(), nullptr);
        const QPointF p(100, 100);
        DoubleClick(&area, p);
        QCOMPARE(input.events, (std::vector<QString>{"click", "dblclick"}));
        // Other buttons neither click nor double-click.
        DoubleClick(&area, p, Qt::RightButton);
        QCOMPARE(input.events.size(), std::size_t{2});
        // A click on the edge is no click on the picture, nor is a press and release of which
        // only one is inside.
        Click(&area, {1, 1});
        SendMouse(&area, QEvent::MouseButtonPress, {1, 50}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&area, QEvent::MouseButtonRelease, {50, 50}, Qt::LeftButton, Qt::NoButton);
        SendMouse(&area, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&area, QEvent::MouseButtonRelease, {1, 50}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(input.events.size(), std::size_t{2});
    }

    void mouseEventsThroughTheWindowWriteTheState() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseMove(drive.Picture1(), QPoint(100, 100));
        QTest::mouseMove(drive.Picture1(), QPoint(2 + 320, 2 + 384));  // 10 by 15 units, nearly
        const PointerUnits units = PointerToUnits(320, 384);
        QCOMPARE(drive.State().DelayCount,
                 double{static_cast<float>((double{units.X} * 70) * units.Y)});
        QTest::mouseClick(drive.Picture1(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
        QCOMPARE(drive.State().MouseMode, std::int16_t{1});
        QTest::mouseDClick(drive.Picture1(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
        QCOMPARE(end.quits, 1);
    }

    void aCloseRequestFromTheDesktopQuitsLikeEscape() {
        Form1 form(end, waiter);
        testing::Form1Driver drive(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.close());
        QCOMPARE(end.quits, 1);
        QVERIFY(form.isVisible());
    }

    void init() {
        end = {};
        waiter = testing::CountingWaiter{};
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
