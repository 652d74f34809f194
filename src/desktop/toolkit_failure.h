#pragma once

#include <QString>
#include <QStringList>

namespace kelto {

// Routes the toolkit's messages: a fatal one, at start or later, and a broken display
// connection end the process at once with one "kelto: error: ..." line and status 1, with
// no abort and no core; the toolkit's own exit would run destructors that touch a dead
// connection again and add messages of their own. Messages given while the toolkit starts
// are held back, so that a failed start says in one line what is missing.
void EndAtOnceOnToolkitFailure();

// The toolkit is up: held messages that matter are passed on, later ones go straight through.
void ToolkitStarted();

// The one line for a start that failed with FATAL after the messages HELD.
QString StartFailure(const QStringList& held, const QString& fatal);

// Whether a message is only noise for a program that keeps no files (runtime folder remarks).
bool IsNoise(const QString& message);

}  // namespace kelto
