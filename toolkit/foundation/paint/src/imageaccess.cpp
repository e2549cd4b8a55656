// imageaccess.cpp - the paint code's access to the image manager's images.
#include "imageaccess.h"

#include <qx/images.h>

namespace qxpimage {

CSize Extent(CQXPIconImage* pImage)
{
    if (!pImage)
        return CSize(0, 0);
    SIZE sz = pImage->GetExtent();
    return CSize(sz.cx, sz.cy);
}

BOOL HasExplicitDisabled(CQXPIconImage* pImage)
{
    if (!pImage)
        return FALSE;
    pImage->MakePendingIcon();
    return !pImage->m_hDisabled.IsEmpty();
}

static const CQXPIconHandle* HandleOf(CQXPIconImage* pImage, Variant variant)
{
    switch (variant) {
    case kHot:
        return &pImage->GetHotIcon();
    case kChecked:
        return &pImage->GetCheckedIcon();
    case kPressed:
        return &pImage->GetPressedIcon();
    case kDisabled:
        return &pImage->GetDisabledIcon(TRUE);
    case kFaded:
        return &pImage->GetFadedIcon();
    case kShadow:
        return &pImage->GetShadowIcon();
    default:
        return &pImage->GetNormalIcon();
    }
}

BOOL Draw(HDC hdc, CPoint pt, CSize sz, CQXPIconImage* pImage, Variant variant)
{
    if (!pImage || !hdc)
        return FALSE;
    const CQXPIconHandle* pHandle = HandleOf(pImage, variant);
    if (!pHandle || pHandle->IsEmpty())
        pHandle = &pImage->GetNormalIcon();
    if (pHandle->IsEmpty())
        return FALSE;
    pImage->DrawImage(hdc, pt, *pHandle, sz);
    return TRUE;
}

BOOL DrawShape(HDC hdc, CPoint pt, CSize sz, CQXPIconImage* pImage, COLORREF clr)
{
    if (!pImage || !hdc)
        return FALSE;
    const CQXPIconHandle& normal = pImage->GetNormalIcon();
    if (normal.IsEmpty())
        return FALSE;
    pImage->DrawMono(hdc, pt, normal, sz.cx, sz.cy, clr);
    return TRUE;
}

} // namespace qxpimage
