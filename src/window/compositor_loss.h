#pragma once

namespace kelto {

// When Qt's Wayland plugin reports that the compositor connection broke or failed, says so in
// one line and ends the process at once, as for a lost X display.
void EndAtOnceOnCompositorLoss();

}  // namespace kelto
