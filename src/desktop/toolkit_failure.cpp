#include "desktop/toolkit_failure.h"

#include <QRegularExpression>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "desktop/error_line.h"

namespace kelto {
namespace {

QtMessageHandler toolkitHandler = nullptr;
std::mutex heldLock;
QStringList held;
bool started = false;
int passedOn = 0;
// A toolkit that repeats itself (a paint fault every frame) must not flood the terminal.
constexpr int kMostMessagesPassedOn = 10;

[[noreturn]] void Fail(const QString& what) {
    WriteErrorLine(what.toLocal8Bit().toStdString());
    std::_Exit(EXIT_FAILURE);
}

// The last words of a broken display connection: X11's, and the Wayland plugin's two, which it
// may say from its event thread.
bool IsLostConnection(const QString& message) {
    return message.contains(QLatin1String("X11 connection broke")) ||
           message.startsWith(QLatin1String("The Wayland connection broke")) ||
           message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

QString FirstLine(const QString& text) {
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.trimmed().isEmpty()) return line.trimmed();
    return QStringLiteral("the windowing toolkit failed");
}

void PassOn(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (IsNoise(message) || passedOn >= kMostMessagesPassedOn) return;
    ++passedOn;
    if (toolkitHandler) toolkitHandler(type, context, message);
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (IsLostConnection(message)) Fail(message);
    std::unique_lock lock(heldLock);
    if (type == QtFatalMsg) Fail(started ? FirstLine(message) : StartFailure(held, message));
    if (!started) {
        held << message;
        return;
    }
    lock.unlock();
    PassOn(type, context, message);
}

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

bool IsNoise(const QString& message) {
    return message.startsWith(QLatin1String("QStandardPaths: "));
}

QString StartFailure(const QStringList& messages, const QString& fatal) {
    static const QRegularExpression noDisplay(QStringLiteral("could not connect to display (.*)$"));
    static const QRegularExpression noWayland(
        QStringLiteral("^Failed to create wl_display \\((.*)\\)"));
    static const QRegularExpression noPlugin(
        QStringLiteral("Could not find the Qt platform plugin \"([^\"]*)\""));
    static const QRegularExpression available(
        QStringLiteral("Available platform plugins are: ([^\n]*?)\\.?\\s*$"));
    QStringList reasons;
    for (const QString& message : messages) {
        if (const auto m = noDisplay.match(message); m.hasMatch()) {
            const QString name = m.captured(1).trimmed();
            reasons << (name.isEmpty()
                            ? QStringLiteral("cannot open an X display: DISPLAY is not set")
                            : QStringLiteral("cannot open display %1").arg(Quoted(name)));
        } else if (const auto w = noWayland.match(message); w.hasMatch()) {
            QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
            if (name.isEmpty()) name = QStringLiteral("wayland-0");
            reasons << QStringLiteral("cannot connect to Wayland display %1 (%2)")
                           .arg(Quoted(name), w.captured(1));
        } else if (const auto p = noPlugin.match(message); p.hasMatch()) {
            QString reason = QStringLiteral("no Qt platform plugin %1").arg(Quoted(p.captured(1)));
            if (const auto a = available.match(fatal); a.hasMatch())
                reason += QStringLiteral(" (there are: %1)").arg(a.captured(1));
            reasons << reason;
        }
    }
    if (reasons.isEmpty()) return FirstLine(fatal);
    return reasons.join(QLatin1String("; "));
}

void EndAtOnceOnToolkitFailure() {
    toolkitHandler = qInstallMessageHandler(Handle);
}

void ToolkitStarted() {
    std::unique_lock lock(heldLock);
    started = true;
    const QStringList earlier = std::exchange(held, {});
    lock.unlock();
    for (const QString& message : earlier) PassOn(QtWarningMsg, QMessageLogContext(), message);
}

}  // namespace kelto
