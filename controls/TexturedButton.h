// CTexturedButton: an owner-drawn button whose face is a generated picture (a ramp, curve or
// scratch pattern with noise, tinted toward a colour) and which shows a lightened face while hot.
#pragma once

#include "controls/DrawButton.h"
#include "controls/PixelCanvas.h"

// A CDrawButton that paints one of two generated faces instead of a solid background.
class CTexturedButton : public CDrawButton
{
public:
    CTexturedButton();
    // Releases both faces (image memory, display bitmap, memory context), then the base button.
    ~CTexturedButton() override;

    // Generates the normal and the hot face at the window's current size from the current system
    // button colours (face, shadow, highlight), tintColor and the shared random source. effect 1 to 8
    // picks a layout, any other value noise only; of grain, hotTint and tint the low 8 bits count,
    // and percentages above 100 act as 100. Neither repaints nor invalidates. Without a window, or
    // when its rectangle cannot be read, nothing happens: the faces stay as they were.
    void SetTexture(UINT effect, UINT grain, UINT hotTint, UINT tint, COLORREF tintColor);

    // The faces as the last SetTexture made them (empty before).
    const CPixelCanvas& Face() const { return m_face; }
    const CPixelCanvas& HotFace() const { return m_hotFace; }

    // Copies the face of the paint state at the client origin, or one pixel right and down while
    // hot and pressed, at the face's own size; rect takes a plain face when the system refuses the
    // face's display objects. Answers 0.
    DWORD DrawFaceBackground(CDC* dc, CRect* rect) override;
    // The base button's frame: raised, sunken while pressed. Answers 0.
    DWORD DrawFaceBorder(CDC* dc, CRect* rect) override;

protected:
    // The base button's handling, then both faces made again, as the last SetTexture asked, from
    // the new system colours.
    void OnSysColorChange();

    CPixelCanvas m_face;     // normal face: the button's size, 8 bits per pixel, 256 colours
    CPixelCanvas m_hotFace;  // hot face: m_face's pixels, palette lightened toward the highlight
    // The arguments of the last SetTexture that made faces.
    struct TextureArgs { BOOL made; UINT effect, grain, hotTint, tint; COLORREF tintColor; };
    TextureArgs m_textureArgs = {};

    DECLARE_MESSAGE_MAP()
};
