// The styled label's rules that need no window system: how its setters change the font
// description, what a blink tick does, and which of its two brushes it names.
#pragma once

#include <cstddef>
#include <cstdint>

namespace textlabel {

// Blinking modes (the label's m_blinkMode).
constexpr int BlinkNone = 0;
constexpr int BlinkText = 1;
constexpr int BlinkBackground = 2;

constexpr std::int32_t WeightNormal = 400;   // FW_NORMAL
constexpr std::int32_t WeightBold = 700;     // FW_BOLD
// The face name field of a font description, terminating zero included (LF_FACESIZE).
constexpr std::size_t FaceNameSize = 32;

// lfHeight for a requested character height: its negative, so that a positive height asks for the
// character height and a negative one for a cell height. Any value is taken; the most negative
// one stays as it is instead of overflowing.
std::int32_t FontHeightFor(std::int32_t charHeight);

// lfWeight for the bold flag: bold for any non-zero value, normal for zero.
std::int32_t FontWeightFor(int bold);

// Copies name into the face name field: at most FaceNameSize - 1 bytes, then zeros to the end of
// the field, so a long name is cut instead of running past it. NULL copies as the empty name.
// Returns the number of bytes kept.
std::size_t CopyFaceName(char (&face)[FaceNameSize], const char* name);

// What one timer tick does to the label.
enum class TextChange {
    None,            // the text stays
    Clear,           // the text becomes empty
    ShowBlinkText,   // the text becomes the blink text
};

struct BlinkTick {
    bool phase;        // the new phase: always the old one inverted
    TextChange text;
    bool repaint;      // repaint at once, so that the background is asked for again
};

BlinkTick BlinkTickFor(int mode, bool phase);

enum class LabelBrush {
    Back,    // the label's background brush
    Blink,   // the brush of the background blink's off phase
};

// The brush the label names for its colours: the blink brush only in background blinking while
// the phase is off, the background brush in every other case.
LabelBrush BrushFor(int mode, bool phase);

}  // namespace textlabel
