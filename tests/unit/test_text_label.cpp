// The styled label's rules: font description (height sign, weight, face name cut), blink ticks and
// the brush the label names.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "controls/TextLabel_core.h"

using namespace textlabel;

namespace {

TEST(TextLabelFont, HeightIsTheNegatedArgument)
{
    const struct { int height; std::int32_t lfHeight; } cases[] = {
        {18, -18}, {11, -11}, {9, -9},   // character heights of the warning dialog
        {-9, 9},                         // a negative argument asks for a cell height
        {0, 0},                          // the font mapper's default size
        {INT_MAX, -INT_MAX},
        {INT_MIN, INT_MIN},              // no overflow: stays as it is
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lfHeight, FontHeightFor(c.height)) << "height " << c.height;
}

TEST(TextLabelFont, WeightIsBoldForAnyNonZeroFlag)
{
    const struct { int bold; std::int32_t weight; } cases[] = {
        {1, 700}, {5, 700}, {-1, 700}, {INT_MIN, 700}, {0, 400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.weight, FontWeightFor(c.bold)) << "bold " << c.bold;
}

// A face name field with neighbours, as lfFaceName sits inside LOGFONTA and the label behind it.
struct GuardedFace
{
    std::uint32_t before = 0xA5A5A5A5;
    char face[FaceNameSize];
    std::uint32_t after = 0x5A5A5A5A;
};

TEST(TextLabelFont, FaceNameIsCutToThirtyOneBytes)
{
    const std::string n31(31, 'x'), n32(32, 'y'), n40 = "Liberation Sans Narrow Bold Italic Extra";
    const struct { const char* name; std::string kept; } cases[] = {
        {"Arial", "Arial"},
        {"", ""},
        {nullptr, ""},
        {n31.c_str(), n31},                // fits exactly with its zero
        {n32.c_str(), n32.substr(0, 31)},  // one byte too long
        {n40.c_str(), n40.substr(0, 31)},
    };
    for (const auto& c : cases) {
        GuardedFace g;
        std::memset(g.face, '#', sizeof g.face);   // an earlier, longer name
        EXPECT_EQ(c.kept.size(), CopyFaceName(g.face, c.name)) << c.kept;
        EXPECT_EQ(c.kept, std::string(g.face));
        for (size_t i = c.kept.size(); i < FaceNameSize; ++i)
            ASSERT_EQ('\0', g.face[i]) << "byte " << i << " after " << c.kept;
        EXPECT_EQ(0xA5A5A5A5u, g.before);
        EXPECT_EQ(0x5A5A5A5Au, g.after) << "ran over the field with " << c.kept;
    }
}

const char* Name(TextChange t)
{
    return t == TextChange::None ? "None" : t == TextChange::Clear ? "Clear" : "ShowBlinkText";
}

TEST(TextLabelBlink, TickInvertsThePhaseAndActsByMode)
{
    const struct { int mode; bool phase; bool newPhase; TextChange text; bool repaint; } cases[] = {
        {0, false, true, TextChange::None, false},   // no blinking
        {0, true, false, TextChange::None, false},
        {1, false, true, TextChange::Clear, false},   // text blinking: the first tick empties the text
        {1, true, false, TextChange::ShowBlinkText, false},
        {2, false, true, TextChange::None, true},    // background blinking
        {2, true, false, TextChange::None, true},
        {7, false, true, TextChange::None, false},   // an unknown mode acts as none
    };
    for (const auto& c : cases) {
        const BlinkTick tick = BlinkTickFor(c.mode, c.phase);
        const std::string where = "mode " + std::to_string(c.mode) + " phase " + std::to_string(c.phase);
        EXPECT_EQ(c.newPhase, tick.phase) << where;
        EXPECT_STREQ(Name(c.text), Name(tick.text)) << where;
        EXPECT_EQ(c.repaint, tick.repaint) << where;
    }
}

TEST(TextLabelBlink, BlinkBrushOnlyInBackgroundBlinkingWhilePhaseIsOff)
{
    const struct { int mode; bool phase; LabelBrush brush; } cases[] = {
        {0, false, LabelBrush::Back},  {0, true, LabelBrush::Back},    // no blinking
        {1, false, LabelBrush::Back},  {1, true, LabelBrush::Back},    // text blinking
        {2, false, LabelBrush::Blink}, {2, true, LabelBrush::Back},    // background blinking
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.brush == LabelBrush::Blink, BrushFor(c.mode, c.phase) == LabelBrush::Blink)
            << "mode " << c.mode << " phase " << c.phase;
}

}  // namespace
