#pragma once

#include "frames/mono_picture.h"

namespace kelto::frames {

inline constexpr int kHolderCount = 18;

// The picture carried by holder Image<holderNumber>, 1 to 18; holder k is frame k - 1.
MonoPicture HolderPicture(int holderNumber);

}  // namespace kelto::frames
