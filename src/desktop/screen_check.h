#pragma once

namespace kelto {

// Throws, with a line for the user, when the display cannot show the frames: the toolkit
// paints nothing on a screen of fewer than 15 bits a pixel (an 8-bit colour-map display),
// and would say so several times a frame.
void RequireDisplayThatShowsFrames();

// The same rule for a screen of DEPTH bits a pixel.
bool DepthShowsFrames(int depth);

}  // namespace kelto
