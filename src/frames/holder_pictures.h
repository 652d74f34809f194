#pragma once

#include "frames/mono_picture.h"
#include "frames/picture_block.h"

namespace kelto::frames {

inline constexpr int kHolderCount = 18;

// The picture carried by holder Image<holderNumber>, 1 to 18; holder k is frame k - 1.
MonoPicture HolderPicture(int holderNumber);
// The same picture as rows of bits, as the window loads it.
PackedPicture HolderPictureRows(int holderNumber);

}  // namespace kelto::frames
