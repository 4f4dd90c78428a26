// The textured button's paint rule that needs no window system: which face a paint shows and where
// it is placed. CTexturedButton (TexturedButton.cpp) asks it and draws the face itself.
#pragma once

#include <cstdint>

namespace texturedbutton {

enum class Face { Normal, Hot };

// A face and the client position of its top-left pixel.
struct FacePlacement
{
    Face face;
    int32_t x;
    int32_t y;
};

// The face for a paint: the normal face at the origin unless the button is hot (pressed or not:
// a button pressed from the keyboard without the pointer over it stays unmoved); while hot, the hot
// face, moved one pixel right and down while the button is drawn pressed.
FacePlacement PlaceFace(bool hot, bool drawPressed);

}  // namespace texturedbutton
