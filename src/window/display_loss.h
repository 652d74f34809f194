#pragma once

namespace kelto {

// When the toolkit reports that the display connection broke, says so in one line and ends
// the process at once: the toolkit's own exit would run destructors that touch the dead
// connection again and add messages of their own.
void EndAtOnceOnDisplayLoss();

}  // namespace kelto
