#pragma once

#include <cstdint>

namespace kelto {

// The picture area's events, already in its own terms: typed characters and pointer
// positions in its units.
class PictureAreaHandlers {
  public:
    virtual ~PictureAreaHandlers() = default;
    virtual void Picture1_KeyPress(std::uint16_t KeyAscii) = 0;
    virtual void Picture1_MouseMove(int Button, int Shift, float X, float Y) = 0;
    virtual void Picture1_Click() = 0;
    virtual void Picture1_DblClick() = 0;
};

}  // namespace kelto
