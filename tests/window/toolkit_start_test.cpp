#include <QtTest>

#include "desktop/screen_check.h"
#include "desktop/toolkit_failure.h"
#include "desktop/whole_scale.h"

using namespace kelto;

// What a user is told when the toolkit cannot start, from the messages it gave on the way,
// and how scale factors from the environment are taken.
class ToolkitStartTest : public QObject {
    Q_OBJECT

  private:
    static inline const QString kFatal = QStringLiteral(
        "This application failed to start because no Qt platform plugin could be initialized. "
        "Reinstalling the application may fix this problem.\n\nAvailable platform plugins are: "
        "offscreen, xcb, wayland.\n");

  private slots:
    void aMissingDisplayIsNamed() {
        QCOMPARE(StartFailure({"could not connect to display :999",
                               "Could not load the Qt platform plugin \"xcb\" in \"\" even though "
                               "it was found."},
                              kFatal),
                 QStringLiteral("cannot open display \":999\""));
        QCOMPARE(StartFailure({"could not connect to display "}, kFatal),
                 QStringLiteral("cannot open an X display: DISPLAY is not set"));
    }

    void anUnknownPluginIsNamedWithTheOnesThereAre() {
        QCOMPARE(
            StartFailure({"Could not find the Qt platform plugin \"nonsense\" in \"\""}, kFatal),
            QStringLiteral("no Qt platform plugin \"nonsense\" (there are: offscreen, xcb, "
                           "wayland)"));
    }

    void everyFailedPlatformIsSaidInTheOneLine() {
        qputenv("WAYLAND_DISPLAY", "wayland-7");
        const QString line =
            StartFailure({"Failed to create wl_display (No such file or directory)",
                          "could not connect to display "},
                         kFatal);
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(line, QStringLiteral("cannot connect to Wayland display \"wayland-7\" (No such "
                                      "file or directory); cannot open an X display: DISPLAY is "
                                      "not set"));
        QVERIFY(!line.contains(QLatin1Char('\n')));
    }

    void otherwiseTheFatalMessagesFirstLine() {
        QCOMPARE(
            StartFailure({"something else"}, QStringLiteral("\n  The toolkit gave up  \nmore")),
            QStringLiteral("The toolkit gave up"));
        QVERIFY(!StartFailure({}, QString()).isEmpty());
    }

    void runtimeFolderRemarksAreNoise() {
        QVERIFY(IsNoise("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-u'"));
        QVERIFY(!IsNoise("QPainter::begin: Paint device returned engine == 0, type: 1"));
    }

    void fractionalFactorsGoDownToWholeOnes() {
        QCOMPARE(WholeScaleFactor("1.5"), QByteArray("1"));
        QCOMPARE(WholeScaleFactor("2.75"), QByteArray("2"));
        QCOMPARE(WholeScaleFactor("2"), QByteArray("2"));
        QCOMPARE(WholeScaleFactor("0.5"), QByteArray("1"));      // never below one device pixel
        QCOMPARE(WholeScaleFactor("junk"), QByteArray("junk"));  // the toolkit ignores it
        QCOMPARE(WholeScreenScaleFactors("1.5;HDMI-1=2.5;eDP-1=3"),
                 QByteArray("1;HDMI-1=2;eDP-1=3"));
        QCOMPARE(WholeScreenScaleFactors("1.25;"), QByteArray("1;"));
    }

    void onlyTrueColourDepthsShowFrames() {
        for (const int depth : {1, 8})
            QVERIFY2(!DepthShowsFrames(depth), qPrintable(QString::number(depth)));
        for (const int depth : {15, 16, 24, 30})
            QVERIFY2(DepthShowsFrames(depth), qPrintable(QString::number(depth)));
    }
};

QTEST_GUILESS_MAIN(ToolkitStartTest)
#include "toolkit_start_test.moc"
