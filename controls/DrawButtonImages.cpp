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
// the monochrome mask (white there) and turns those pixels of the image black. A bitmap whose mask
// or contexts the system refuses is deleted, the slot left empty: it was handed over, so it must
// not be lost. A handle that is no bitmap is left alone (it may be an object its caller owns).
void FillBitmapSlot(ButtonBitmap* slot, HBITMAP image, COLORREF transparent)
{
    *slot = ButtonBitmap{};
    if (image == NULL || ::GetObjectType(image) != OBJ_BITMAP)
        return;
    BITMAP bm = {};
    CBitmap mask;
    CDC imageDC, maskDC;
    if (!::GetObjectW(image, sizeof bm, &bm) || !mask.CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, NULL) ||
        !imageDC.CreateCompatibleDC(nullptr) || !maskDC.CreateCompatibleDC(nullptr)) {
        ::DeleteObject(image);
        return;
    }
    const int width = bm.bmWidth, height = bm.bmHeight;
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
    ButtonBitmap held[2] = {m_bitmaps[0], m_bitmaps[1]};
    for (int slot = 0; slot < 2; ++slot) {
        // An image held already keeps its mask: its transparent pixels are black by now, and a
        // new mask would find none of them.
        ButtonBitmap* kept = nullptr;
        for (ButtonBitmap& old : held)
            if (images[slot] != NULL && old.image == images[slot])
                kept = &old;
        if (kept != nullptr) {
            m_bitmaps[slot] = *kept;
            *kept = ButtonBitmap{};
        } else {
            FillBitmapSlot(&m_bitmaps[slot], images[slot], transparent[slot]);
        }
    }
    for (const ButtonBitmap& old : held) {   // what was let go
        if (old.image != NULL)
            ::DeleteObject(old.image);
        if (old.mask != NULL)
            ::DeleteObject(old.mask);
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
