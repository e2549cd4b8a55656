// ribbonbars.cpp - CRibbonStyleTheme: split buttons, menu split parts and
// submenu arrows, drop-down glyphs, expand buttons, popup resize grippers
// and tooltips, drawn from the theme's images.
#include <qx/drawing.h>
#include <qx/office2007.h>

static BOOL IsEnabledControl(const CQXPControlView* pControl) { return pControl->GetEnabled() == 1; }

void CRibbonStyleTheme::DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rc)
{
    const BOOL bLarge = pButton->GetStyle() == qxpButtonIconAndCaptionBelow;
    LPCSTR pszMain = bLarge ? "TOOLBARBUTTONSSPLIT50" : "TOOLBARBUTTONSSPLIT22";
    LPCSTR pszDrop = bLarge ? "TOOLBARBUTTONSSPLITDROPDOWN50" : "TOOLBARBUTTONSSPLITDROPDOWN22";
    ThemeBitmap* pMain = GetImage(pszMain);
    ThemeBitmap* pDrop = GetImage(pszDrop);
    if (!pMain || !pDrop)
        return;
    const int E = pButton->GetEnabled(), S = pButton->GetSelected(), P = pButton->GetPressed();
    const BOOL O = pButton->GetPopped();
    const int Ck = pButton->GetChecked();
    const int w = m_nSplitButtonDropDownWidth;
    CRect rcMain, rcDrop;
    if (bLarge) {
        rcMain = CRect(rc.left, rc.top, rc.right, rc.bottom - m_metrics.nLargeDropDown);
        rcDrop = CRect(rc.left, rc.bottom - m_metrics.nLargeDropDown, rc.right, rc.bottom);
    } else {
        rcMain = CRect(rc.left, rc.top, rc.right - w, rc.bottom);
        rcDrop = CRect(rc.right - w, rc.top, rc.right, rc.bottom);
    }
    int m = GetSplitMainState(E, S, P, O, Ck), v = GetSplitDropState(E, S, P, O, Ck);
    if (m >= 0)
        DrawThemeImage(pDC, pszMain, rcMain, m, 6, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR);
    if (v >= 0)
        DrawThemeImage(pDC, pszDrop, rcDrop, v, 5, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR);
    if (!bLarge)
        DrawDropDownGlyph(pDC, pButton, CPoint(rc.right - w / 2 - 1, (rc.top + rc.bottom) / 2), S, O,
                          E == 3 ? 0 : E, FALSE);
}

void CRibbonStyleTheme::DrawDropDownGlyph(CDC* pDC, CQXPControlView* pControl, CPoint pt, int nSelected,
                                          BOOL bPopped, BOOL bEnabled, BOOL bVert)
{
    if (bVert || !GetImage("TOOLBARBUTTONDROPDOWNGLYPH")) {
        COffice2007Theme::DrawDropDownGlyph(pDC, pControl, pt, nSelected, bPopped, bEnabled, bVert);
        return;
    }
    int nState = bEnabled ? (nSelected ? 1 : 0) : 3;
    DrawThemeImage(pDC, "TOOLBARBUTTONDROPDOWNGLYPH", CRect(pt.x - 2, pt.y - 2, pt.x + 3, pt.y + 2), nState, 4,
                   CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
}

void CRibbonStyleTheme::DrawPopupSplitDivider(CDC* pDC, CQXPControlView* pControl, CRect rc)
{
    const BOOL bEnabled = IsEnabledControl(pControl);
    int nState = pControl->GetSelected() && bEnabled ? (pControl->GetPopped() ? 2 : 1) : 0;
    if (!DrawThemeImage(pDC, "MENUSPLITDROPDOWN", CRect(rc.right - m_nSplitButtonPopupWidth, rc.top, rc.right, rc.bottom),
                        nState, 3, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR))
        COffice2007Theme::DrawPopupSplitDivider(pDC, pControl, rc);
}

void CRibbonStyleTheme::DrawPopupArrow(CDC* pDC, CQXPControlView* pControl, CRect rc)
{
    ThemeBitmap* p = GetImage("MENUPOPUPGLYPH");
    if (!p) {
        COffice2007Theme::DrawPopupArrow(pDC, pControl, rc);
        return;
    }
    CRect rcSrc = p->GetSource(IsEnabledControl(pControl) ? 0 : 1, 2);
    CPoint pt(rc.right - 14, rc.top + (rc.Height() - rcSrc.Height()) / 2);
    DrawThemeImage(pDC, "MENUPOPUPGLYPH", CRect(pt, rcSrc.Size()), IsEnabledControl(pControl) ? 0 : 1, 2,
                   CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
}

CSize CRibbonStyleTheme::DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                                          BOOL bDraw, int nParam1, int nParam2)
{
    if (nKind != qxpExpandToolbar || !pBar)
        return COffice2007Theme::DrawExpandButton(pDC, nKind, pControl, pBar, bDraw, nParam1, nParam2);
    const int nPos = pBar->GetPosition();
    const BOOL bVert = nPos == qxpBarLeft || nPos == qxpBarRight || nPos == qxpBarPopup;
    LPCSTR pszImage = bVert ? "TOOLBAREXPANDBUTTONVERTICAL" : "TOOLBAREXPANDBUTTONHORIZONTAL";
    if (!GetImage(pszImage))
        return COffice2007Theme::DrawExpandButton(pDC, nKind, pControl, pBar, bDraw, nParam1, nParam2);
    if (!bDraw || !pDC || !pControl) {
        // The chevron takes the last 12 pixels of the bar (nParam1 x nParam2).
        if (pControl)
            pControl->SetRect(bVert ? CRect(0, nParam2 - 12, nParam1, nParam2)
                                    : CRect(nParam1 - 12, 0, nParam1, nParam2));
        return CSize(0, 0);
    }
    const int S = pControl->GetSelected();
    const BOOL O = pControl->GetPopped();
    CRect rc = pControl->GetRect();
    DrawThemeImage(pDC, pszImage, rc, O ? 2 : (S ? 1 : 0), 3, CRect(3, 3, 3, 3));
    // The glyph: a shadow one pixel off in colour 20, then in place.
    CPoint c = rc.CenterPoint();
    COLORREF clr = GetColor(S && !O ? qxColorHotText : qxColorBarText);
    auto glyph = [&](int dx, int dy, COLORREF clrGlyph) {
        int x = c.x + dx, y = c.y + 2 + dy;
        HorizontalLine(pDC, x - 2, y - 4, x + 2, clrGlyph);
        DrawTriangle(pDC, CPoint(x - 2, y - 1), CPoint(x + 2, y - 1), CPoint(x, y + 1), clrGlyph);
    };
    if (bVert)
        glyph(-1, 0, GetColor(COLOR_BTNHIGHLIGHT));
    else
        glyph(0, 1, GetColor(COLOR_BTNHIGHLIGHT));
    glyph(0, 0, clr);
    return CSize(0, 0);
}

void CRibbonStyleTheme::DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags)
{
    if (!DrawThemeImage(pDC, "POPUPBARRESIZEGRIPPERFACE", rc, 0, 1, CRect(1, 1, 1, 1), QX_THEME_KEY_COLOR)) {
        COffice2007Theme::DrawPopupResizeGripper(pDC, rc, nFlags);
        return;
    }
    // Both ways (a corner): the height grip centred on the bottom edge,
    // else the width grip in the bottom-right corner.
    LPCSTR pszGrip = nFlags == 2 ? "POPUPBARRESIZEGRIPPERHEIGHT" : "POPUPBARRESIZEGRIPPERWIDTH";
    ThemeBitmap* p = GetImage(pszGrip);
    if (!p)
        return;
    CSize sz(p->GetWidth(), p->GetHeight());
    CRect rcGrip = nFlags == 2 ? CRect(CPoint(rc.CenterPoint().x - sz.cx / 2, rc.bottom - sz.cy - 1), sz)
                               : CRect(CPoint(rc.right - sz.cx - 1, rc.bottom - sz.cy - 1), sz);
    DrawThemeImage(pDC, pszGrip, rcGrip, 0, 1, CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
}
