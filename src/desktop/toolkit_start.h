#pragma once

namespace kelto {

// What the toolkit must be told before the application object exists: how events are pumped
// from inside a handler, whole scale factors only, and failures that end the program in one
// line. Every program that runs the window calls it first.
void PrepareToolkit();

// Right after the application object exists: throws, with a line for the user, when the
// display it reached cannot show the frames.
void CheckToolkitStarted();

}  // namespace kelto
