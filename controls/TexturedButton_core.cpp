// The textured button's face choice (see TexturedButton_core.h).
#include "controls/TexturedButton_core.h"

namespace texturedbutton {

FacePlacement PlaceFace(bool hot, bool drawPressed)
{
    if (!hot)
        return {Face::Normal, 0, 0};
    // A fixed offset of its own, independent of the press shift of the caption and images.
    return drawPressed ? FacePlacement{Face::Hot, 1, 1} : FacePlacement{Face::Hot, 0, 0};
}

}  // namespace texturedbutton
