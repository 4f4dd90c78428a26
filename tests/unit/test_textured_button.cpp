// The textured button's face choice: which face a paint shows in which state, and where.
#include <gtest/gtest.h>

#include "controls/TexturedButton_core.h"

using namespace texturedbutton;

namespace {

TEST(TexturedButtonFace, StateTableGivesFaceAndOffset)
{
    struct Row {
        const char* what;
        bool hot, pressed;
        Face face;
        int32_t x, y;
    } rows[] = {
        {"normal", false, false, Face::Normal, 0, 0},
        {"pressed from the keyboard, pointer elsewhere: normal face, unmoved", false, true, Face::Normal, 0, 0},
        {"hot", true, false, Face::Hot, 0, 0},
        {"hot and pressed: hot face one pixel right and down", true, true, Face::Hot, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const FacePlacement place = PlaceFace(row.hot, row.pressed);
        EXPECT_TRUE(place.face == row.face);
        EXPECT_EQ(place.x, row.x);
        EXPECT_EQ(place.y, row.y);
    }
}

}  // namespace
