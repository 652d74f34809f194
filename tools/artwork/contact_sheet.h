#pragma once

#include <string>
#include <vector>

#include "frames/mono_picture.h"

namespace kelto::artwork {

// Writes the frames as a 3 by 6 PNG sheet, each labelled by its index in the left margin.
void WriteContactSheet(const std::vector<frames::MonoPicture>& frames, const std::string& path);

}  // namespace kelto::artwork
