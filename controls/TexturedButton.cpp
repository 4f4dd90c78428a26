// CTexturedButton: face generation from the system colours and painting of the face by state. The
// generation itself is in Texture_core, the face choice in TexturedButton_core.
#include "controls/TexturedButton.h"

#include "controls/TexturedButton_core.h"
#include "controls/Texture_core.h"

BEGIN_MESSAGE_MAP(CTexturedButton, CDrawButton)
    // void OnSysColorChange()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CTexturedButton::CTexturedButton() = default;

CTexturedButton::~CTexturedButton()
{
    m_face.Free();
    m_hotFace.Free();
}

void CTexturedButton::SetTexture(UINT effect, UINT grain, UINT hotTint, UINT tint, COLORREF tintColor)
{
    // The window rectangle gives the size. Without it there is nothing sensible to make, and the
    // faces the button already has are worth more than faces of an unknown size.
    RECT window = {};
    if (m_hWnd == NULL || !::GetWindowRect(m_hWnd, &window))
        return;
    m_textureArgs = {TRUE, effect, grain, hotTint, tint, tintColor};

    const texture::TextureColors colors = {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNSHADOW),
                                           ::GetSysColor(COLOR_BTNHIGHLIGHT)};
    texture::GenerateTextureFaces(window.right - window.left, window.bottom - window.top, colors, effect,
                                  grain, hotTint, tint, tintColor, m_face, m_hotFace);
}

void CTexturedButton::OnSysColorChange()
{
    CDrawButton::OnSysColorChange();   // repaints
    const TextureArgs args = m_textureArgs;
    if (args.made)
        SetTexture(args.effect, args.grain, args.hotTint, args.tint, args.tintColor);
}

DWORD CTexturedButton::DrawFaceBackground(CDC* dc, CRect* rect)
{
    const texturedbutton::FacePlacement place = texturedbutton::PlaceFace(m_state.m_hot, m_state.m_drawPressed);
    CPixelCanvas& face = place.face == texturedbutton::Face::Hot ? m_hotFace : m_face;
    // An empty face (no SetTexture yet, or no image memory) draws nothing. One that the system gives
    // no display objects for leaves a plain face in the system's colour, which needs nothing made.
    HDC hdc = dc != nullptr ? dc->GetSafeHdc() : NULL;
    if (!face.Draw(hdc, place.x, place.y) && face.Block() != nullptr && hdc != NULL && rect != nullptr)
        ::FillRect(hdc, rect, ::GetSysColorBrush(COLOR_BTNFACE));
    return 0;
}

DWORD CTexturedButton::DrawFaceBorder(CDC* dc, CRect* rect)
{
    return CDrawButton::DrawFaceBorder(dc, rect);
}
