// theme_windows.cpp - the "Windows 2000" and "Windows XP" themes.
#include "paintinternal.h"

#include "imageaccess.h"

#include <qx/drawing.h>
#include <qx/themes.h>

using namespace qxpaint;

// ---------------------------------------------------------------------------
// "Windows 2000"

ToolkitPaintThemeD::ToolkitPaintThemeD() : m_nPopupTextColor(COLOR_BTNTEXT)
{
    // Popups follow the system's drop-shadow setting.
    m_bForceShadows = FALSE;
    m_iconsInfo.bUseFadedIcons = FALSE;
    m_iconsInfo.bIconsWithShadow = FALSE;
}

ToolkitPaintThemeD::~ToolkitPaintThemeD() {}

void ToolkitPaintThemeD::RefreshMetrics()
{
    CQXPThemePainter::RefreshMetrics();
    m_clrFloatingGripper.SetStandard(GetColor(COLOR_ACTIVECAPTION));
    m_clrFloatingGripperText.SetStandard(GetColor(COLOR_CAPTIONTEXT));
}

void ToolkitPaintThemeD::DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                       BOOL bPopped, int nBarType, int /*nBarPosition*/)
{
    if (nBarType == qxpBarTypePopup && !nChecked) {
        if (nSelected || bPressed)
            Rectangle(pDC, rc, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
        return;
    }
    if (bEnabled) {
        if (nChecked) {
            if (!nSelected && !bPressed)
                DrawPatternRect(pDC, rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNFACE));
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
            return;
        }
        if (bPopped || bPressed == 2 || bPressed == 3 || (nSelected && bPressed))
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        else if (nSelected || bPressed)
            Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        return;
    }
    if (nChecked || nSelected == 2 || nSelected == 3)
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

COLORREF ToolkitPaintThemeD::GetRectangleTextColor(int nSelected, BOOL, BOOL bEnabled, int, BOOL, int nBarType,
                                                   int nBarPosition)
{
    if (nBarType == qxpBarTypePopup) {
        if (!bEnabled)
            return GetColor(COLOR_GRAYTEXT);
        return GetColor(nSelected ? COLOR_HIGHLIGHTTEXT : m_nPopupTextColor);
    }
    if (!bEnabled)
        return GetColor(COLOR_GRAYTEXT);
    return GetColor(nBarPosition == qxpBarPopup ? m_nPopupTextColor : COLOR_BTNTEXT);
}

void ToolkitPaintThemeD::FillCommandBar(CDC* pDC, CQXPBarView* pBar)
{
    CRect rc = pBar->GetBarClientRect();
    pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
    int nPosition = pBar->GetPosition();
    if (nPosition == qxpBarFloating || nPosition == qxpBarPopup) {
        Draw3dRect(pDC, rc, COLOR_3DDKSHADOW, COLOR_BTNFACE);
        rc.DeflateRect(1, 1);
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    } else if (!IsFlatBar(pBar)) {
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    }
}

CSize ToolkitPaintThemeD::DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    int nPosition = pBar->GetPosition();
    if (nPosition == qxpBarFloating)
        return CQXPThemePainter::DrawCommandBarGripper(pDC, pBar, bDraw);
    if (nPosition == qxpBarPopup)
        return CSize(0, 0);
    CRect rc = pBar->GetBarClientRect();
    if (IsVerticalPosition(nPosition)) {
        if (bDraw && pDC)
            Draw3dRect(pDC, CRect(3, 3, rc.Width() - 3, 6), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        return CSize(0, 8);
    }
    if (bDraw && pDC)
        Draw3dRect(pDC, CRect(3, 3, 6, rc.Height() - 3), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    return CSize(6, 0);
}

CSize ToolkitPaintThemeD::DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl,
                                                  BOOL bDraw)
{
    BOOL bPopup = pBar->GetType() == qxpBarTypePopup;
    if (bDraw && pDC && pControl) {
        CRect rc = pControl->GetRect();
        CRect rcBar = pBar->GetBarClientRect();
        if (bPopup) {
            CRect rcLine(rcBar.left + 4, rc.top - 5, rcBar.right - 4, rc.top - 3);
            Draw3dRect(pDC, rcLine, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        } else if (IsVerticalBar(pBar)) {
            Draw3dRect(pDC, CRect(rc.left + 4, rc.top - 4, rc.right - 4, rc.top - 2), COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        } else {
            Draw3dRect(pDC, CRect(rc.left - 4, rc.top + 4, rc.left - 2, rc.bottom - 4), COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        }
    }
    return bPopup ? CSize(8, 8) : CSize(6, 6);
}

void ToolkitPaintThemeD::DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rc)
{
    CQXPBarView* pBar = pButton->GetParentBar();
    int nSelected = pButton->GetSelected();
    BOOL bPressed = pButton->GetPressed();
    BOOL bEnabled = IsControlEnabled(pButton);
    BOOL bPopped = pButton->GetPopped();
    int nWidth = m_nSplitButtonDropDownWidth + 1;
    CRect rcMain(rc.left, rc.top, rc.right - nWidth, rc.bottom);
    CRect rcDrop(rc.right - nWidth, rc.top, rc.right, rc.bottom);
    DrawRectangle(pDC, rcMain, nSelected || bPopped, bPressed, bEnabled, pButton->GetChecked(), FALSE, BarType(pBar),
                  BarPosition(pBar));
    DrawRectangle(pDC, rcDrop, nSelected, bPressed, bEnabled, 0, bPopped, BarType(pBar), BarPosition(pBar));
    COLORREF clr = GetControlTextColor(pButton);
    DrawSmallDownTriangle(pDC, CPoint(rc.right - 7, rc.CenterPoint().y), clr);
}

CSize ToolkitPaintThemeD::DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    CSize sz = CQXPThemePainter::DrawControlComboBox(pDC, pControl, bDraw);
    if (!bDraw)
        return sz;
    CRect rcField = GetFieldRect(pControl);
    BOOL bEnabled = IsControlEnabled(pControl);
    if (bEnabled)
        Rectangle(pDC, CRect(rcField.left + 1, rcField.top + 1, rcField.right - 1, rcField.bottom - 1), COLOR_WINDOW, COLOR_WINDOW);
    CQXPControlView::EditLayout* pLayout = pControl->GetEditLayout();
    int nButton = pLayout && pLayout->nButtonWidth > 0 ? pLayout->nButtonWidth : 15;
    DrawFieldText(pDC, pControl, CRect(rcField.left + 4, rcField.top, rcField.right - nButton - 3, rcField.bottom),
                  bEnabled);
    DrawComboBoxDropDownButton(pDC, CRect(rcField.right - nButton - 2, rcField.top + 2, rcField.right - 2, rcField.bottom - 2),
                               pControl);
    DrawControlEditFrame(pDC, rcField, pControl);
    return sz;
}

CSize ToolkitPaintThemeD::DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    CSize sz = CQXPThemePainter::DrawControlEdit(pDC, pControl, bDraw);
    if (!bDraw)
        return sz;
    CRect rcField = GetFieldRect(pControl);
    if (IsControlEnabled(pControl))
        Rectangle(pDC, rcField, COLOR_WINDOW, COLOR_WINDOW);
    DrawControlEditFrame(pDC, rcField, pControl);
    if (pControl->HasSpinButtons())
        DrawEditSpinButtons(pDC, CRect(rcField.right - 18, rcField.top + 2, rcField.right - 2, rcField.bottom - 2),
                            pControl);
    return sz;
}

void ToolkitPaintThemeD::DrawControlEditFrame(CDC* pDC, CRect rc, CQXPControlView* pControl)
{
    if (IsControlEnabled(pControl)) {
        if (pControl->GetSelected())
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        else
            Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
        rc.DeflateRect(1, 1);
        Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
        return;
    }
    if (IsPopupBar(pControl->GetParentBar()))
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    else
        Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT);
}

void ToolkitPaintThemeD::DrawComboBoxDropDownButton(CDC* pDC, CRect rc, CQXPControlView* pControl)
{
    BOOL bEnabled = IsControlEnabled(pControl);
    BOOL bPressed = pControl->IsDroppedDown() || pControl->GetPressed();
    Rectangle(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
    if (bEnabled) {
        if (pControl->GetSelected())
            VerticalLine(pDC, rc.left - 1, rc.top, rc.bottom, GetColor(COLOR_BTNFACE));
        CRect rcFrame(rc);
        if (bPressed)
            Draw3dRect(pDC, rcFrame, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        else
            Draw3dRect(pDC, rcFrame, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
    CRect rcArrow(rc);
    if (bPressed)
        rcArrow.OffsetRect(1, 1);
    DrawDownArrow(pDC, rcArrow, bEnabled ? 18 : 17);
}

void ToolkitPaintThemeD::DrawEditSpinButtons(CDC* pDC, CRect rc, CQXPControlView* pControl)
{
    BOOL bEnabled = IsControlEnabled(pControl);
    CRect rcUp(rc.left, rc.top, rc.right, rc.top + rc.Height() / 2);
    CRect rcDown(rc.left, rcUp.bottom, rc.right, rc.bottom);
    int nPressed = pControl->GetSpinPressed();
    if (bEnabled && pControl->GetSelected()) {
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        Draw3dRect(pDC, rcUp, nPressed == 1 ? 16 : 20, nPressed == 1 ? 20 : 16);
        Draw3dRect(pDC, rcDown, nPressed == 2 ? 16 : 20, nPressed == 2 ? 20 : 16);
    } else {
        Rectangle(pDC, rc, COLOR_WINDOW, COLOR_BTNFACE);
    }
    DrawSpinArrows(pDC, rcUp, rcDown, GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

CSize ToolkitPaintThemeD::DrawControlPopupParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    if (bDraw) {
        CQXPBarView* pBar = pControl->GetParentBar();
        CRect rc = pControl->GetRect();
        int nColumn = GetPopupItemIconColumn(pControl, pBar);
        BOOL bEnabled = IsControlEnabled(pControl);
        int nType = pControl->GetType();
        if (pControl->IsRarelyUsed())
            pDC->FillSolidRect(rc, GetColor(COLOR_3DLIGHT));
        if (nType != qxpControlLabel)
            DrawRectangle(pDC, rc, pControl->GetSelected(), pControl->GetPressed(), bEnabled, 0,
                          pControl->GetPopped(), qxpBarTypePopup, qxpBarPopup);
        COLORREF clrText = GetControlTextColor(pControl);
        CRect rcColumn(rc.left, rc.top, rc.left + nColumn, rc.bottom);
        CSize szIcon = pBar ? pBar->GetIconSize() : GetAutoIconSize(FALSE);
        CQXPIconImage* pImage = GetShownImage(pControl, szIcon);
        if (pControl->GetChecked()) {
            CRect rcCheck(rcColumn);
            rcCheck.DeflateRect(2, 1);
            if (pImage)
                Draw3dRect(pDC, rcCheck, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
            else if (nType == qxpControlRadioButton)
                DrawDot(pDC, rcCheck, clrText);
            else
                DrawCheckMark(pDC, rcCheck, clrText);
        }
        if (pImage) {
            CPoint c = rcColumn.CenterPoint();
            DrawImage(pDC, CPoint(c.x - szIcon.cx / 2, c.y - szIcon.cy / 2), szIcon, pImage, pControl->GetSelected(),
                      pControl->GetPressed(), bEnabled, pControl->GetChecked(), pControl->GetPopped(), FALSE);
        }
        if (nType == qxpControlPopup || nType == qxpControlButtonPopup || nType == qxpControlSplitButtonPopup) {
            int cy = rc.CenterPoint().y;
            if (nType == qxpControlSplitButtonPopup)
                VerticalLine(pDC, rc.right - m_nSplitButtonPopupWidth, rc.top + 1, rc.bottom - 1, clrText);
            DrawTriangle(pDC, CPoint(rc.right - 11, cy - 4), CPoint(rc.right - 11, cy + 4), CPoint(rc.right - 7, cy),
                         clrText);
        }
    }
    return CQXPThemePainter::DrawControlPopupParent(pDC, pControl, bDraw);
}

CSize ToolkitPaintThemeD::DrawCommandListEntry(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bSelected,
                                               BOOL bDraw)
{
    if (!bDraw || !pDC || !pControl)
        return CSize(rc.Width(), max(GetControlHeight(), 22));
    pDC->FillSolidRect(rc, GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString strCaption = pControl->GetCaption();
    StripAccelerator(strCaption);
    DrawSingleLineText(pDC, strCaption, CRect(rc.left + 26, rc.top, rc.right - 2, rc.bottom),
                       bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    CQXPIconImage* pImage = pControl->GetIconId() ? pControl->GetImage(16) : NULL;
    if (pImage)
        DrawImage(pDC, CPoint(rc.left + 4, rc.CenterPoint().y - 8), CSize(16, 16), pImage, FALSE, FALSE, TRUE,
                  FALSE, FALSE, FALSE);
    return CSize(rc.Width(), rc.Height());
}

CSize ToolkitPaintThemeD::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (bDraw && pDC)
        pDC->FillSolidRect(rc, GetColor(bSelected ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    return CSize(0, 8);
}

void ToolkitPaintThemeD::DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags)
{
    if (nFlags == 1) {
        int cx = rc.CenterPoint().x;
        for (int x = cx - 8; x < cx + 8; x += 4) {
            pDC->FillSolidRect(x + 1, rc.top + 4, 2, 2, GetColor(COLOR_WINDOW));
            pDC->FillSolidRect(x, rc.top + 3, 2, 2, GetColor(qxColorGripper));
        }
    } else {
        static const POINT kDots[] = {{-4, -4}, {-8, -4}, {-4, -8}};
        for (const POINT& p : kDots) {
            int x = rc.right + p.x - 1, y = rc.bottom + p.y - 1;
            pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetColor(COLOR_WINDOW));
            pDC->FillSolidRect(x, y, 2, 2, GetColor(qxColorGripper));
        }
    }
}

void ToolkitPaintThemeD::DrawImage(CDC* pDC, CPoint pt, CSize sz, CQXPIconImage* pImage, BOOL bSelected,
                                   BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopped, BOOL)
{
    if (!pImage)
        return;
    HDC hdc = pDC->GetSafeHdc();
    if (!bEnabled) {
        if (m_iconsInfo.bUseDisabledIcons && qxpimage::HasExplicitDisabled(pImage)) {
            qxpimage::Draw(hdc, pt, sz, pImage, qxpimage::kDisabled);
        } else {
            qxpimage::DrawShape(hdc, CPoint(pt.x + 1, pt.y + 1), sz, pImage, GetColor(COLOR_BTNHIGHLIGHT));
            qxpimage::DrawShape(hdc, pt, sz, pImage, GetColor(COLOR_BTNSHADOW));
        }
        return;
    }
    qxpimage::Variant v = qxpimage::kNormal;
    if (bChecked)
        v = qxpimage::kChecked;
    else if (bPressed)
        v = qxpimage::kPressed;
    else if (bSelected || bPopped)
        v = qxpimage::kHot;
    else if (m_iconsInfo.bUseFadedIcons)
        v = qxpimage::kFaded;
    qxpimage::Draw(hdc, pt, sz, pImage, v);
}

CSize ToolkitPaintThemeD::DrawDialogBarGripper(CDC* pDC, CQXPBarView*, BOOL bDraw)
{
    int h = m_nTextHeight + 4;
    if (h < 18)
        h = 22;
    if (bDraw && pDC)
        Draw3dRect(pDC, CRect(3, 3, 6, h), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    return CSize(6, h);
}

CRect ToolkitPaintThemeD::GetCommandBarBorders(CQXPBarView* pBar)
{
    if (IsPopupBar(pBar))
        return CRect(3, 3, 3, 3);
    return CQXPThemePainter::GetCommandBarBorders(pBar);
}

void ToolkitPaintThemeD::AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical)
{
    if (IsPopupBar(pControl ? pControl->GetParentBar() : NULL))
        rc.DeflateRect(1, 0);
    else if (bVertical)
        rc.InflateRect(1, 0);
    else
        rc.InflateRect(0, 1);
}

CSize ToolkitPaintThemeD::DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                                           BOOL bDraw, int nParam1, int nParam2)
{
    if (bDraw && pDC && pControl && (nKind == qxpExpandFloatClose || nKind == qxpExpandFloatMenu)) {
        if (pControl->GetPressed() || pControl->GetSelected() ||
            (nKind == qxpExpandFloatMenu && pControl->GetPopped()))
            pDC->FillSolidRect(pControl->GetRect(), GetColor(COLOR_BTNFACE));
    }
    return CQXPThemePainter::DrawExpandButton(pDC, nKind, pControl, pBar, bDraw, nParam1, nParam2);
}

// ---------------------------------------------------------------------------
// "Windows XP"

ToolkitPaintThemeE::ToolkitPaintThemeE()
    : m_bFlatMenus(TRUE), m_clrEdgeShadowColor(0), m_clrEdgeHighlightColor(0)
{
    m_iconsInfo.bUseFadedIcons = TRUE;
    m_iconsInfo.bIconsWithShadow = FALSE;
    m_bThemedStatusBar = TRUE;
    m_bThemedCheckBox = TRUE;
    m_nPopupTextColor = COLOR_MENUTEXT;
}

ToolkitPaintThemeE::~ToolkitPaintThemeE() {}

BOOL ToolkitPaintThemeE::IsThemed() { return m_themeRebar.IsAppThemed() && m_themeToolbar.IsAppThemed(); }

void ToolkitPaintThemeE::RefreshMetrics()
{
    ToolkitPaintThemeD::RefreshMetrics();

    CWnd* pMain = AfxGetMainWnd();
    HWND hWndMain = pMain ? pMain->GetSafeHwnd() : NULL;
    m_themeToolbar.OpenThemeData(hWndMain, L"TOOLBAR");
    m_themeRebar.OpenThemeData(hWndMain, L"REBAR");
    m_themeComboBox.OpenThemeData(hWndMain, L"COMBOBOX");
    m_themeWindow.OpenThemeData(hWndMain, L"WINDOW");
    m_themeSpin.OpenThemeData(hWndMain, L"SPIN");

    BOOL bFlat = FALSE;
    m_bFlatMenus = ::SystemParametersInfoA(0x1022 /* SPI_GETFLATMENU */, 0, &bFlat, 0) ? bFlat : FALSE;

    BOOL bThemed = IsThemed();
    COLORREF clr;
    m_clrEdgeShadowColor = GetColor(COLOR_BTNSHADOW);
    m_clrEdgeHighlightColor = GetColor(COLOR_BTNHIGHLIGHT);
    if (bThemed && SUCCEEDED(m_themeRebar.GetThemeColor(3, 0, 3806, &clr)))
        m_clrEdgeShadowColor = clr;
    if (bThemed && SUCCEEDED(m_themeRebar.GetThemeColor(3, 0, 3805, &clr)))
        m_clrEdgeHighlightColor = clr;
    if (m_themeToolbar.IsAppThemed() && SUCCEEDED(m_themeToolbar.GetThemeColor(0, 0, 3803, &clr)))
        m_colors.GetAt(COLOR_BTNTEXT)->SetStandard(clr);
    if (!m_bFlatMenus && m_themeRebar.IsAppThemed())
        m_bFlatMenus = m_themeRebar.GetThemeSysBool(1001);
    if (!m_bFlatMenus)
        m_colors.GetAt(COLOR_MENUHILIGHT)->SetStandard(GetColor(COLOR_HIGHLIGHT));
}

void ToolkitPaintThemeE::DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                       BOOL bPopped, int nBarType, int nBarPosition)
{
    if (!IsThemed()) {
        ToolkitPaintThemeD::DrawRectangle(pDC, rc, nSelected, bPressed, bEnabled, nChecked, bPopped, nBarType,
                                          nBarPosition);
        return;
    }
    if (nBarType == qxpBarTypePopup) {
        if (nSelected || bPressed)
            Rectangle(pDC, rc, COLOR_MENUHILIGHT, COLOR_HIGHLIGHT);
        return;
    }
    int nState;
    if (!bEnabled) {
        if (!nSelected && !nChecked)
            return;
        nState = 4;
    } else if (bPressed || bPopped || (nChecked && nSelected))
        nState = 3;
    else if (nChecked)
        nState = 5;
    else if (nSelected)
        nState = 2;
    else
        nState = 1;
    if (nChecked && nSelected && !bPressed && bEnabled)
        nState = 6;
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, rc);
}

BOOL ToolkitPaintThemeE::IsThemedMenuBarItem(CQXPControlView* pControl)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    int nType = pControl->GetType();
    return IsThemed() && m_bFlatMenus && pBar && pBar->GetType() == qxpBarTypeMenuBar &&
           pBar->GetPosition() != qxpBarFloating &&
           (nType == qxpControlPopup || nType == qxpControlButtonPopup || nType == qxpControlSplitButtonPopup);
}

void ToolkitPaintThemeE::DrawControlBackground(CDC* pDC, CQXPControlView* pControl)
{
    if (IsThemedMenuBarItem(pControl)) {
        if (pControl->GetSelected() || pControl->GetPressed() || pControl->GetPopped())
            pDC->FillSolidRect(pControl->GetRect(), GetColor(COLOR_HIGHLIGHT));
        return;
    }
    ToolkitPaintThemeD::DrawControlBackground(pDC, pControl);
}

COLORREF ToolkitPaintThemeE::GetControlTextColor(CQXPControlView* pControl)
{
    if (IsThemedMenuBarItem(pControl) && (pControl->GetSelected() || pControl->GetPressed() || pControl->GetPopped()))
        return GetColor(COLOR_HIGHLIGHTTEXT);
    return ToolkitPaintThemeD::GetControlTextColor(pControl);
}

void ToolkitPaintThemeE::FillCommandBar(CDC* pDC, CQXPBarView* pBar)
{
    if (!IsThemed()) {
        ToolkitPaintThemeD::FillCommandBar(pDC, pBar);
        return;
    }
    CRect rc = pBar->GetBarClientRect();
    int nPosition = pBar->GetPosition();
    if (nPosition == qxpBarPopup) {
        if (m_bFlatMenus)
            Rectangle(pDC, rc, COLOR_BTNSHADOW, COLOR_MENU);
        else {
            pDC->FillSolidRect(rc, GetColor(COLOR_MENU));
            Draw3dRect(pDC, rc, COLOR_3DDKSHADOW, COLOR_BTNFACE);
            rc.DeflateRect(1, 1);
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        }
        return;
    }
    if (nPosition == qxpBarFloating) {
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rc);
        // The style's small tool-window frame in the bar's 3-pixel borders
        // (left, right and bottom pieces; the caption covers the top).
        if (m_themeWindow.IsAppThemed()) {
            const int b = 3;
            HDC hdc = pDC->GetSafeHdc();
            m_themeWindow.DrawThemeBackground(hdc, 10, 1, CRect(rc.left, rc.top, rc.left + b, rc.bottom));
            m_themeWindow.DrawThemeBackground(hdc, 11, 1, CRect(rc.right - b, rc.top, rc.right, rc.bottom));
            m_themeWindow.DrawThemeBackground(hdc, 12, 1, CRect(rc.left, rc.bottom - b, rc.right, rc.bottom));
        }
        return;
    }
    pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
    if (nPosition == qxpBarTop && pBar->GetDockBarHwnd()) {
        CRect rcDock = GetWindowRectOf(pBar->GetDockBarHwnd());
        CRect rcBar = pBar->GetBarWindowRect();
        CRect rcBack(rcDock.left - rcBar.left, rcDock.top - rcBar.top, rcDock.right - rcBar.left,
                     rcDock.bottom - rcBar.top);
        m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rcBack, rc);
    }
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, rc);
    if (!IsFlatBar(pBar))
        pDC->Draw3dRect(rc, m_clrEdgeHighlightColor, m_clrEdgeShadowColor);
}

void ToolkitPaintThemeE::FillDockBar(CDC* pDC, CWnd* pDockBar)
{
    CRect rcWindow = GetWindowRectOf(pDockBar);
    CRect rc(0, 0, rcWindow.Width(), rcWindow.Height());
    CWnd* pParent = pDockBar ? pDockBar->GetParent() : NULL;
    BOOL bFloatingFrame = pParent && (pParent->GetExStyle() & WS_EX_TOOLWINDOW);
    if (!IsThemed() || bFloatingFrame) {
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        return;
    }
    CRect rcFrame = GetClientRectOf(pParent);
    if (pParent)
        pParent->ClientToScreen(&rcFrame);
    rcFrame.OffsetRect(-rcWindow.left, -rcWindow.top);
    if (FAILED(m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rcFrame, rc)))
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
}

CSize ToolkitPaintThemeE::DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    if (!IsThemed())
        return ToolkitPaintThemeD::DrawCommandBarGripper(pDC, pBar, bDraw);
    CRect rc = pBar->GetBarClientRect();
    int nPosition = pBar->GetPosition();
    if (nPosition == qxpBarFloating) {
        int nCaption = max(m_nTextHeight + 3, 18);
        if (bDraw && pDC) {
            CRect rcCaption(rc.left, rc.top, rc.right, rc.top + nCaption);
            m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), 2, 1, rcCaption);
            // The close and options buttons sit at the right of the caption.
            int nButton = max(m_nTextHeight, 15);
            CRect rcText(5, rcCaption.top, rcCaption.right - 3 - 2 * nButton, rcCaption.bottom);
            ScopedFont font(pDC, &m_fontSmCaption);
            COLORREF clrOld = pDC->SetTextColor(GetColor(m_clrFloatingGripperText));
            int nMode = pDC->SetBkMode(TRANSPARENT);
            CString strTitle = pBar->GetTitle();
            pDC->DrawText(strTitle, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            pDC->SetBkMode(nMode);
            pDC->SetTextColor(clrOld);
        }
        return CSize(rc.Width(), max(m_nTextHeight, 15));
    }
    if (nPosition == qxpBarPopup)
        return CSize(0, 0);
    if (IsVerticalPosition(nPosition)) {
        if (bDraw && pDC)
            m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 2, 0, CRect(2, 2, rc.Width() - 2, 8));
        return CSize(0, 8);
    }
    if (bDraw && pDC)
        m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 1, 0, CRect(2, 2, 8, rc.Height() - 2));
    return CSize(8, 0);
}

CSize ToolkitPaintThemeE::DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl,
                                                  BOOL bDraw)
{
    if (!IsThemed() || pBar->GetType() == qxpBarTypePopup || pBar->GetPosition() == qxpBarPopup)
        return ToolkitPaintThemeD::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    if (bDraw && pDC && pControl) {
        CRect rc = pControl->GetRect();
        if (IsVerticalBar(pBar))
            m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 6, 0, CRect(rc.left, rc.top - 6, rc.right, rc.top));
        else
            m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 5, 0, CRect(rc.left - 6, rc.top, rc.left, rc.bottom));
    }
    return CSize(6, 6);
}

void ToolkitPaintThemeE::DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rc)
{
    if (!IsThemed() || IsPopupBar(pButton->GetParentBar())) {
        ToolkitPaintThemeD::DrawSplitButtonFrame(pDC, pButton, rc);
        return;
    }
    BOOL bEnabled = IsControlEnabled(pButton);
    int nSelected = pButton->GetSelected();
    int nChecked = pButton->GetChecked();
    BOOL bPopped = pButton->GetPopped();
    int nState = !bEnabled ? 4 : (pButton->GetPressed() || bPopped ? 3 : (nChecked ? (nSelected ? 6 : 5) : (nSelected ? 2 : 1)));
    int nDropState = !bEnabled ? 4 : (nChecked && bPopped ? 3 : nState);
    CRect rcMain(rc.left, rc.top, rc.right - 12, rc.bottom);
    CRect rcDrop(rc.right - 12, rc.top, rc.right, rc.bottom);
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 3, nState, rcMain);
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 4, nDropState, rcDrop);
}

void ToolkitPaintThemeE::DrawControlEditFrame(CDC* pDC, CRect rc, CQXPControlView* pControl)
{
    COLORREF clr;
    if (m_themeComboBox.IsAppThemed() &&
        SUCCEEDED(m_themeComboBox.GetThemeColor(1, IsControlEnabled(pControl) ? 1 : 4, 3801, &clr))) {
        pDC->Draw3dRect(rc, clr, clr);
        return;
    }
    ToolkitPaintThemeD::DrawControlEditFrame(pDC, rc, pControl);
}

void ToolkitPaintThemeE::DrawComboBoxDropDownButton(CDC* pDC, CRect rc, CQXPControlView* pControl)
{
    if (!m_themeComboBox.IsAppThemed()) {
        ToolkitPaintThemeD::DrawComboBoxDropDownButton(pDC, rc, pControl);
        return;
    }
    int nState = !IsControlEnabled(pControl) ? 4 : (pControl->IsDroppedDown() || pControl->GetPressed() ? 3 : (pControl->GetSelected() ? 2 : 1));
    if (FAILED(m_themeComboBox.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, rc)))
        ToolkitPaintThemeD::DrawComboBoxDropDownButton(pDC, rc, pControl);
}

void ToolkitPaintThemeE::DrawEditSpinButtons(CDC* pDC, CRect rc, CQXPControlView* pControl)
{
    if (!m_themeSpin.IsAppThemed()) {
        ToolkitPaintThemeD::DrawEditSpinButtons(pDC, rc, pControl);
        return;
    }
    BOOL bEnabled = IsControlEnabled(pControl);
    int nPressed = pControl->GetSpinPressed();
    CRect rcUp(rc.left, rc.top, rc.right, rc.top + rc.Height() / 2);
    CRect rcDown(rc.left, rcUp.bottom, rc.right, rc.bottom);
    auto state = [&](int nHalf) { return !bEnabled ? 4 : (nPressed == nHalf ? 3 : (pControl->GetSelected() ? 2 : 1)); };
    m_themeSpin.DrawThemeBackground(pDC->GetSafeHdc(), 1, state(1), rcUp);
    m_themeSpin.DrawThemeBackground(pDC->GetSafeHdc(), 2, state(2), rcDown);
}

CSize ToolkitPaintThemeE::DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    if (!IsThemed())
        return ToolkitPaintThemeD::DrawDialogBarGripper(pDC, pBar, bDraw);
    int h = m_nTextHeight + 4;
    if (h < 18)
        h = 22;
    if (bDraw && pDC)
        m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 1, 0, CRect(1, 1, 7, h - 2));
    return CSize(8, h);
}

void ToolkitPaintThemeE::AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical)
{
    if (!IsThemed()) {
        ToolkitPaintThemeD::AdjustExcludeRect(rc, pControl, bVertical);
        return;
    }
    if (IsPopupBar(pControl ? pControl->GetParentBar() : NULL)) {
        rc.DeflateRect(3, 0);
        rc.InflateRect(0, 3);
    }
}

CSize ToolkitPaintThemeE::DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                                           BOOL bDraw, int nParam1, int nParam2)
{
    if (IsThemed() && (nKind == qxpExpandFloatClose || nKind == qxpExpandFloatMenu))
        return CQXPThemePainter::DrawExpandButton(pDC, nKind, pControl, pBar, bDraw, nParam1, nParam2);
    return ToolkitPaintThemeD::DrawExpandButton(pDC, nKind, pControl, pBar, bDraw, nParam1, nParam2);
}
