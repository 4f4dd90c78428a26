// Texture generation of the textured button: the random source, the face palette and the nine
// pixel effects, producing the normal and the hot face canvases without any window system.
#pragma once

#include <cstdint>

#include "controls/PixelCanvas_core.h"

namespace texture {

// ---- Random source -----------------------------------------------------------------------------
// One process-wide generator with the C runtime's rand() rule: state = state * 214013 + 2531011
// (mod 2^32), value = (state >> 16) & 0x7FFF. It starts from state 1 and nothing in the program
// seeds it, so every run gives the same faces; all buttons draw from it in turn.

// The next value, 0 to 32767.
int NextTextureRandom();
// Puts the generator back to a state (1 is the start of the sequence). For tests.
void ResetTextureRandom(uint32_t state = 1);
// The generator's current state. For tests.
uint32_t TextureRandomState();

// ---- Faces -------------------------------------------------------------------------------------

// Pixel layouts of a face, by effect number; any number other than 1 to 8 means TextureNoise.
enum TextureEffect : uint32_t
{
    TextureNoise = 0,
    TextureDiagonalRamp = 1,
    TextureVerticalRamp = 2,
    TextureHorizontalRamp = 3,
    TextureVerticalCurve = 4,
    TextureHorizontalCurve = 5,
    TextureCushion = 6,
    TextureCapsule = 7,
    TextureScratched = 8,
};

// The system's button colours that the face palette runs along, each a COLORREF (0x00BBGGRR).
struct TextureColors
{
    uint32_t face;   // GetSysColor(COLOR_BTNFACE): palette index 128 (nearly)
    uint32_t shadow; // GetSysColor(COLOR_BTNSHADOW): palette index 0
    uint32_t light;  // GetSysColor(COLOR_BTNHIGHLIGHT): palette index 255, and the hot face's tint
};

// Generates both faces of a textured button of width x height pixels (the window rectangle's
// size, not clamped):
//  - face: created anew at 8 bits per pixel, palette ramped shadow -> face -> light, tinted toward
//    tintColor by (tint & 0xFF) percent, pixels laid out by effect with (grain & 0xFF) noise steps;
//  - hotFace: a copy of face whose palette is then tinted toward colors.light by (hotTint & 0xFF).
// Percentages above 100 act as 100. One value of the shared random source is drawn per pixel and
// pass, in the effect's visiting order. Sizes for which a face cannot be made leave both canvases
// empty; effect 8 outside 1 to 32767 pixels either way leaves a face of zeros, and effect 7 with a
// height below 2 skips its side bands.
//
// CTexturedButton::SetTexture is a thin wrapper:
//     CRect rc; GetWindowRect(&rc);
//     GenerateTextureFaces(rc.right - rc.left, rc.bottom - rc.top,
//                          TextureColors{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW),
//                                        GetSysColor(COLOR_BTNHIGHLIGHT)},
//                          effect, grain, hotTint, tint, tintColor, m_face, m_hotFace);
void GenerateTextureFaces(int width, int height, const TextureColors& colors, uint32_t effect, uint32_t grain,
                          uint32_t hotTint, uint32_t tint, uint32_t tintColor, pixelcanvas::Image& face,
                          pixelcanvas::Image& hotFace);

}  // namespace texture
