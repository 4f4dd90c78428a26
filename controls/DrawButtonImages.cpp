// CDrawButton's images: the icon and bitmap slots (held, masked, released), which slot a paint
// shows, where it goes, and the two painting steps that draw them.
#include "controls/DrawButton.h"

#include "controls/DisplayScale.h"

namespace {

// The size of an icon: its colour bitmap's, or half the height of a monochrome icon's mask.
void IconSize(HICON icon, DWORD* width, DWORD* height)
{
    *width = *height = 0;
    ICONINFO info = {};
    if (icon == NULL || !::GetIconInfo(icon, &info))
        return;
    BITMAP bm = {};
    if (info.hbmColor != NULL && ::GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        *width = (DWORD)bm.bmWidth;
        *height = (DWORD)bm.bmHeight;
    } else if (info.hbmMask != NULL && ::GetObjectW(info.hbmMask, sizeof bm, &bm)) {
        *width = (DWORD)bm.bmWidth;
        *height = (DWORD)bm.bmHeight / 2;
    }
    // The icon's bitmaps are copies made for this call.
    if (info.hbmColor != NULL)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != NULL)
        ::DeleteObject(info.hbmMask);
}

// Fills a bitmap slot from an image whose pixels of colour transparent are to show the face: makes
// the monochrome mask (white there) and turns those pixels of the image black.
void FillBitmapSlot(ButtonBitmap* slot, HBITMAP image, COLORREF transparent)
{
    *slot = ButtonBitmap{};
    BITMAP bm = {};
    if (image == NULL || ::GetObjectType(image) != OBJ_BITMAP || !::GetObjectW(image, sizeof bm, &bm))
        return;
    const int width = bm.bmWidth, height = bm.bmHeight;
    CBitmap mask;
    CDC imageDC, maskDC;
    if (!mask.CreateBitmap(width, height, 1, 1, NULL) || !imageDC.CreateCompatibleDC(nullptr) ||
        !maskDC.CreateCompatibleDC(nullptr))
        return;
    {
        CScopedSelect selectImage(imageDC, image);
        CScopedSelect selectMask(&maskDC, &mask);
        // Colour to monochrome: pixels of the source's background colour become white.
        ::SetBkColor(imageDC, transparent);
        ::BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCCOPY);
        // Monochrome to colour: white gives the destination's background colour (black), black its
        // text colour (white), so SRCAND blackens the transparent pixels and keeps the rest.
        ::SetBkColor(imageDC, RGB(0, 0, 0));
        ::SetTextColor(imageDC, RGB(255, 255, 255));
        ::BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
    }
    *slot = ButtonBitmap{image, (DWORD)width, (DWORD)height, (HBITMAP)mask.Detach()};
}

}  // namespace

DWORD CDrawButton::SetIcons(HICON hotIcon, HICON normalIcon, BOOL repaint)
{
    // One handle given for both slots is held once, in the hot slot, which serves the normal state too:
    // held twice, it would be destroyed twice.
    const HICON icons[2] = {hotIcon, normalIcon != hotIcon ? normalIcon : NULL};
    for (int slot = 0; slot < 2; ++slot) {
        ButtonIcon& held = m_icons[slot];
        if (held.icon != NULL && held.icon != icons[0] && held.icon != icons[1])
            ::DestroyIcon(held.icon);
        held = ButtonIcon{icons[slot], 0, 0};
        IconSize(icons[slot], &held.width, &held.height);
    }
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetBitmaps(HBITMAP hotBitmap, COLORREF hotTransparent, HBITMAP normalBitmap,
                              COLORREF normalTransparent, BOOL repaint)
{
    // As with the icons: a bitmap given for both slots is held (and masked) once.
    const HBITMAP images[2] = {hotBitmap, normalBitmap != hotBitmap ? normalBitmap : NULL};
    const COLORREF transparent[2] = {hotTransparent, normalTransparent};
    for (int slot = 0; slot < 2; ++slot) {
        ButtonBitmap& held = m_bitmaps[slot];
        if (held.image != NULL && held.image != images[0] && held.image != images[1])
            ::DeleteObject(held.image);
        if (held.mask != NULL)
            ::DeleteObject(held.mask);
        FillBitmapSlot(&held, images[slot], transparent[slot]);
    }
    Repaint(repaint);
    return drawbutton::ResultDone;
}

void CDrawButton::ReleaseImages(BOOL destroy)
{
    if (destroy) {
        for (const ButtonIcon& slot : m_icons)
            if (slot.icon != NULL)
                ::DestroyIcon(slot.icon);
        for (const ButtonBitmap& slot : m_bitmaps)
            if (slot.image != NULL)
                ::DeleteObject(slot.image);
        for (const ButtonBitmap& slot : m_bitmaps)
            if (slot.mask != NULL)
                ::DeleteObject(slot.mask);
    }
    for (ButtonIcon& slot : m_icons)
        slot = ButtonIcon{};
    for (ButtonBitmap& slot : m_bitmaps)
        slot = ButtonBitmap{};
}

void CDrawButton::PlaceImage(BOOL hasText, const RECT* item, RECT* caption, BOOL pressed,
                             DWORD width, DWORD height, RECT* image)
{
    CRect client;
    GetClientRect(&client);
    // The margins are pixels at 96 DPI. The press shift stays as set: like the one-pixel frame
    // lines it is no length of the layout, and the pressed face moves by one pixel at every scale.
    const drawbutton::Placement out = drawbutton::PlaceImage(
        m_state, {hasText != FALSE, drawbutton::Rect::From(*item), drawbutton::Rect::From(*caption),
                pressed != FALSE, (int32_t)width, (int32_t)height, ScaleToSystemDpi(m_state.m_imageMarginX),
                ScaleToSystemDpi(m_state.m_imageMarginY), client.right});
    out.image.To(image);
    out.caption.To(caption);
}

int CDrawButton::ChooseIconSlot(BOOL pressed) const
{
    return drawbutton::ChooseImageSlot(m_state, pressed, m_icons[1].icon != NULL);
}

int CDrawButton::ChooseBitmapSlot(BOOL pressed) const
{
    return drawbutton::ChooseImageSlot(m_state, pressed, m_bitmaps[1].image != NULL);
}

DWORD CDrawButton::DrawFaceIcon(CDC* dc, BOOL hasText, const RECT* item, RECT* caption,
                                BOOL pressed, BOOL disabled)
{
    const ButtonIcon& slot = m_icons[ChooseIconSlot(pressed)];
    RECT place = {};
    PlaceImage(hasText, item, caption, pressed, slot.width, slot.height, &place);
    ::DrawStateW(dc->m_hDC, NULL, NULL, (LPARAM)slot.icon, 0, place.left, place.top,
                 place.right - place.left, place.bottom - place.top,
                 DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    return 0;
}

DWORD CDrawButton::DrawFaceBitmap(CDC* dc, BOOL hasText, const RECT* item, RECT* caption,
                                  BOOL pressed, BOOL disabled)
{
    const ButtonBitmap& slot = m_bitmaps[ChooseBitmapSlot(pressed)];
    RECT place = {};
    PlaceImage(hasText, item, caption, pressed, slot.width, slot.height, &place);
    const int width = (int)slot.width, height = (int)slot.height;

    CDC imageDC, maskDC;
    imageDC.CreateCompatibleDC(dc);
    maskDC.CreateCompatibleDC(nullptr);
    CScopedSelect selectImage(imageDC, slot.image);
    CScopedSelect selectMask(maskDC, slot.mask);

    if (disabled && m_embossDisabledBitmap) {
        // The image on white in a bitmap of its own, drawn in the system's disabled style; none
        // when the system refuses the bitmap.
        CBitmap temp;
        if (!temp.CreateCompatibleBitmap(dc, width, height))
            return 0;
        {
            CDC tempDC;
            tempDC.CreateCompatibleDC(dc);
            CScopedSelect selectTemp(&tempDC, &temp);   // out again before DrawState takes the bitmap
            RECT whole = {0, 0, width, height};
            ::FillRect(tempDC, &whole, (HBRUSH)::GetStockObject(WHITE_BRUSH));
            ::SetBkColor(tempDC, RGB(255, 255, 255));
            ::BitBlt(tempDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
            ::BitBlt(tempDC, 0, 0, width, height, imageDC, 0, 0, SRCPAINT);
        }
        ::DrawStateW(dc->m_hDC, NULL, NULL, (LPARAM)(HBITMAP)temp, 0, place.left, place.top, width,
                     height, DST_BITMAP | DSS_DISABLED);
    } else {
        ::BitBlt(dc->m_hDC, place.left, place.top, width, height, maskDC, 0, 0, SRCAND);
        ::BitBlt(dc->m_hDC, place.left, place.top, width, height, imageDC, 0, 0, SRCPAINT);
    }
    return 0;
}
