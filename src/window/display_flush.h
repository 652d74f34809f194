#pragma once

namespace kelto {

// Sends what the window system connection holds back, so that the repaint made in this event
// step reaches the screen now rather than after the next wait.
void SendPendingDisplayRequests();

}  // namespace kelto
