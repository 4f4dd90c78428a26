// The styled label's platform-free rules.
#include "controls/TextLabel_core.h"

#include <cstring>

namespace textlabel {

std::int32_t FontHeightFor(std::int32_t charHeight)
{
    // Negated in unsigned arithmetic: INT32_MIN wraps to itself rather than being undefined.
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(charHeight));
}

std::int32_t FontWeightFor(int bold)
{
    return bold != 0 ? WeightBold : WeightNormal;
}

std::size_t CopyFaceName(char (&face)[FaceNameSize], const char* name)
{
    std::size_t length = name != nullptr ? std::strlen(name) : 0;
    if (length > FaceNameSize - 1)
        length = FaceNameSize - 1;
    if (length > 0)
        std::memmove(face, name, length);   // name may lie inside face
    std::memset(face + length, 0, FaceNameSize - length);
    return length;
}

BlinkTick BlinkTickFor(int mode, bool phase)
{
    BlinkTick tick{!phase, TextChange::None, false};
    if (mode == BlinkText)
        tick.text = tick.phase ? TextChange::Clear : TextChange::ShowBlinkText;
    else if (mode == BlinkBackground)
        tick.repaint = true;
    return tick;
}

LabelBrush BrushFor(int mode, bool phase)
{
    return mode == BlinkBackground && !phase ? LabelBrush::Blink : LabelBrush::Back;
}

}  // namespace textlabel
