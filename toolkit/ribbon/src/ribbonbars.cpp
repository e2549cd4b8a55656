// ribbonbars.cpp - CRibbonStyleTheme: split buttons, menu split parts and
// submenu arrows, drop-down glyphs, expand buttons, popup resize grippers
// and tooltips, drawn from the theme's images.
#include <qx/drawing.h>
#include <qx/office2007.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>

// The grey of dividers in popups.
static const COLORREF kRibbonDivider = RGB(197, 197, 197);

static BOOL IsEnabledControl(const CQXPControlView* pControl) { return pControl->GetEnabled() == 1; }

// The ribbon a control sits on directly (NULL for any other bar).
static CQXPRibbonBar* RibbonOf(CQXPControlView* pControl)
{
    CQXPControl* p = dynamic_cast<CQXPControl*>(pControl);
    return p ? DYNAMIC_DOWNCAST(CQXPRibbonBar, p->GetParent()) : NULL;
}

int AFXAPI CRibbonStyleTheme::GetGlassFlags(CQXPControlView* pControl)
{
    CQXPRibbonBar* pRibbon = pControl ? RibbonOf(pControl) : NULL;
    return pRibbon && pRibbon->IsRectInCaption(pControl->GetRect()) ? kThemeImageOnGlass : 0;
}

COLORREF CRibbonStyleTheme::GetControlTextColor(CQXPControlView* pControl)
{
    CQXPRibbonBar* pRibbon = pControl ? RibbonOf(pControl) : NULL;
    CQXPControl* p = dynamic_cast<CQXPControl*>(pControl);
    if (!pRibbon || pRibbon->FindControlGroup(p))
        return COffice2007Theme::GetControlTextColor(pControl);
    // Collapsed groups' buttons and check or radio controls take the base
    // colour only when disabled; the others in any state but the plain one.
    const int nType = pControl->GetType();
    const BOOL bMarked = dynamic_cast<CQXPRibbonGroupControlPopup*>(p) != NULL || nType == qxpControlCheckBox ||
                         nType == qxpControlRadioButton;
    const BOOL bDisabled = pControl->GetEnabled() != 1;
    if (bMarked ? bDisabled
                : (bDisabled || pControl->GetSelected() || pControl->GetPressed() || pControl->GetChecked() ||
                   pControl->GetPopped()))
        return COffice2007Theme::GetControlTextColor(pControl);
    // On the glass caption: white on a maximized frame, else black.
    const BOOL bCaptionControl =
        pRibbon->IsQuickAccessControl(p) || p == (CQXPControl*)pRibbon->GetSystemButton();
    if (bCaptionControl && pRibbon->IsRectInCaption(pControl->GetRect())) {
        CWnd* pSite = pRibbon->GetOwnerSite();
        return pSite && ::IsZoomed(pSite->GetSafeHwnd()) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
    return m_clrRibbonText.GetColor();
}

void CRibbonStyleTheme::DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rc)
{
    // In a run of grouped controls the split button takes the run's end
    // pieces, whose images have one extra leading state.
    BOOL bStarts = FALSE, bEnds = FALSE;
    const BOOL bGrouped = GetGroupedRun(pButton, &bStarts, &bEnds);
    const int o = bGrouped ? 1 : 0;
    const BOOL bLarge = !bGrouped && pButton->GetStyle() == qxpButtonIconAndCaptionBelow;
    LPCSTR pszMain = bGrouped ? (bStarts ? "TOOLBARBUTTONSSPECIALSPLITLEFT" : "TOOLBARBUTTONSSPECIALSPLITCENTER")
                     : bLarge ? "TOOLBARBUTTONSSPLIT50"
                              : "TOOLBARBUTTONSSPLIT22";
    LPCSTR pszDrop = bGrouped ? (bEnds ? "TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT"
                                       : "TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER")
                     : bLarge ? "TOOLBARBUTTONSSPLITDROPDOWN50"
                              : "TOOLBARBUTTONSSPLITDROPDOWN22";
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
    const int nGlass = GetGlassFlags(pButton);
    if (m >= 0)
        DrawThemeImage(pDC, pszMain, rcMain, m + o, 6 + o, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR, nGlass);
    if (v >= 0)
        DrawThemeImage(pDC, pszDrop, rcDrop, v + o, 5 + o, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR, nGlass);
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
                   CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR, GetGlassFlags(pControl));
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

CSize CRibbonStyleTheme::DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw)
{
    if (pBar->GetType() != qxpBarTypePopup)
        return COffice2007Theme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    if (bDraw && pDC && pControl) {
        CRect rc = pControl->GetRect();
        if (pControl->IsWrapped()) {
            // Between two columns: one line down the column.
            CRect rcBar = pBar->GetBarClientRect();
            VerticalLine(pDC, rc.left - 2, rcBar.top + 1, rcBar.bottom - 1, kRibbonDivider);
        } else {
            int x = rc.left - 1 + GetPopupItemIconColumn(pControl, pBar) + m_nPopupMargin;
            HorizontalLine(pDC, x, rc.top - 2, rc.right, kRibbonDivider);
            HorizontalLine(pDC, x, rc.top - 1, rc.right, RGB(245, 245, 245));
        }
    }
    return CSize(2, 2);
}

void CRibbonStyleTheme::FillPopupLabel(CDC* pDC, CRect rc)
{
    pDC->FillSolidRect(rc, GetColor(qxColorLabelFace));
    HorizontalLine(pDC, rc.left, rc.bottom - 1, rc.right, kRibbonDivider);
}

// ---------------------------------------------------------------------------
// Edit and combo fields

COLORREF CRibbonStyleTheme::GetControlStateColor(CQXPControlView* pControl)
{
    if (!IsEnabledControl(pControl))
        return GetColor(COLOR_BTNFACE);
    if (pControl->GetSelected())
        return GetColor(COLOR_WINDOW);
    CQXPBarView* pBar = pControl->GetParentBar();
    if (pBar && pBar->GetType() == qxpBarTypePopup)
        return GetColor(qxpSlotPopupFace);
    COLORREF clr = m_clrControlEditNormal.GetColor();
    return clr != QX_COLOR_NONE ? clr : GetColor(COLOR_WINDOW);
}

CSize CRibbonStyleTheme::DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    if (!bDraw || !pDC || !GetImage("TOOLBARBUTTONSCOMBODROPDOWN"))
        return COffice2007Theme::DrawControlComboBox(pDC, pControl, bDraw);
    // The label as every theme draws it; the field and its button here.
    CSize sz = CQXPThemePainter::DrawControlComboBox(pDC, pControl, bDraw);
    CRect rcField = GetFieldRect(pControl);
    CQXPControlView::EditLayout* pLayout = pControl->GetEditLayout();
    const int nButton = pLayout && pLayout->nButtonWidth > 0 ? pLayout->nButtonWidth : 15;
    CRect rcButton(rcField.right - nButton, rcField.top + 1, rcField.right, rcField.bottom - 1);
    const BOOL bEnabled = IsEnabledControl(pControl);
    const int nSelected = pControl->GetSelected();
    const BOOL bDropped = pControl->IsDroppedDown();
    const int nPart = !bEnabled ? 4 : (bDropped ? 3 : (nSelected ? 2 : 0));
    pDC->FillSolidRect(rcField, GetControlStateColor(pControl));
    Draw3dRect(pDC, rcField, 53, 53);
    DrawThemeImage(pDC, "TOOLBARBUTTONSCOMBODROPDOWN", rcButton, nPart, 5, CRect(2, 2, 2, 2));
    DrawFieldText(pDC, pControl, CRect(rcField.left + 3, rcField.top + 1, rcButton.left, rcField.bottom - 1), bEnabled);
    DrawDropDownGlyph(pDC, pControl, rcButton.CenterPoint(), nSelected, bDropped, bEnabled, FALSE);
    return sz;
}

int AFXAPI CRibbonStyleTheme::GetSpinImageState(BOOL bUp, BOOL bEnabled, int nSelected, int nSpinPressed)
{
    const int nFirst = bUp ? 0 : 5;
    if (!bEnabled)
        return nFirst + 4;
    if (!nSelected)
        return nFirst;
    return nSpinPressed == (bUp ? 1 : 2) ? nFirst + 3 : nFirst + 1;
}

CSize CRibbonStyleTheme::DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    if (!bDraw || !pDC)
        return COffice2007Theme::DrawControlEdit(pDC, pControl, bDraw);
    CSize sz = CQXPThemePainter::DrawControlEdit(pDC, pControl, bDraw);
    CRect rcField = GetFieldRect(pControl);
    const BOOL bEnabled = IsEnabledControl(pControl);
    const int nSelected = pControl->GetSelected();
    if (!bEnabled) {
        CRect rc(rcField.left + 1, rcField.top, rcField.right, rcField.bottom);
        Rectangle(pDC, rc, (nSelected == 2 || nSelected == 3) ? 32 : 53, COLOR_BTNFACE);
    } else {
        pDC->FillSolidRect(rcField, GetControlStateColor(pControl));
        Draw3dRect(pDC, rcField, 53, 53);
    }
    if (pControl->HasSpinButtons() && GetImage("TOOLBARBUTTONSPIN")) {
        const int yMiddle = (rcField.top + rcField.bottom) / 2;
        const int nPressed = pControl->GetSpinPressed();
        DrawThemeImage(pDC, "TOOLBARBUTTONSPIN", CRect(rcField.right - 18, rcField.top + 1, rcField.right - 1, yMiddle),
                       GetSpinImageState(TRUE, bEnabled, nSelected, nPressed), 10, CRect(0, 0, 0, 0),
                       QX_THEME_KEY_COLOR);
        DrawThemeImage(pDC, "TOOLBARBUTTONSPIN", CRect(rcField.right - 18, yMiddle, rcField.right - 1, rcField.bottom - 1),
                       GetSpinImageState(FALSE, bEnabled, nSelected, nPressed), 10, CRect(0, 0, 0, 0),
                       QX_THEME_KEY_COLOR);
    }
    return sz;
}
