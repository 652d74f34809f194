#pragma once

namespace kelto {

// What happens in the picture area, already in its own terms: typed UTF-16 code units and
// pointer positions in its units. Buttons: 1 left, 2 right, 4 middle; shift: 1 shift,
// 2 control, 4 alt.
class PictureAreaInput {
  public:
    virtual ~PictureAreaInput() = default;
    virtual void Typed(char16_t codeUnit) = 0;
    virtual void PointerMoved(int Button, int Shift, float X, float Y) = 0;
    virtual void Clicked() = 0;
    virtual void DoubleClicked() = 0;
};

}  // namespace kelto
