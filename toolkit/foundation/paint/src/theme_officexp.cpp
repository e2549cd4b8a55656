// theme_officexp.cpp - the "Office XP" theme: flat faces in the toolkit's
// derived colours, the icon column of menus, faded and shadowed icons.
#include "paintinternal.h"

#include "imageaccess.h"

#include <qx/drawing.h>
#include <qx/themes.h>

#include <cmath>

using namespace qxpaint;

ToolkitPaintThemeA::ToolkitPaintThemeA()
{
    m_iconsInfo.bUseFadedIcons = TRUE;
    m_iconsInfo.bUseDisabledIcons = TRUE;
    m_iconsInfo.bIconsWithShadow = TRUE;
    m_bEmbossedDisabledText = FALSE;
    m_bFlatMenuBar = TRUE;
    m_nPopupMargin = 8;
}

ToolkitPaintThemeA::~ToolkitPaintThemeA() {}

void ToolkitPaintThemeA::DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                       BOOL bPopped, int /*nBarType*/, int nBarPosition)
{
    BOOL bKeyboard = nSelected == 2 || nSelected == 3;
    if (!bEnabled) {
        if (bKeyboard)
            Rectangle(pDC, rc, 32, nBarPosition == qxpBarPopup ? 41 : (nChecked ? 33 : 31));
        else if (nChecked)
            Rectangle(pDC, rc, 58, nBarPosition == qxpBarPopup ? -1 : 36);
        return;
    }
    if (bPopped) {
        Rectangle(pDC, rc, qxColorMenuBorder, qxColorBarFace);
        return;
    }
    if (nChecked && !bPressed) {
        if (nSelected)
            Rectangle(pDC, rc, qxColorCheckedBorder, qxColorPressedFace);
        else
            Rectangle(pDC, rc, 37, nChecked == 2 ? 51 : 36);
        return;
    }
    if (bPressed == 2 || bPressed == 3 || (nSelected && bPressed)) {
        Rectangle(pDC, rc, qxColorCheckedBorder, qxColorPressedFace);
        return;
    }
    if (nSelected || bPressed)
        Rectangle(pDC, rc, qxColorHotBorder, qxColorHotFace);
}

COLORREF ToolkitPaintThemeA::GetRectangleTextColor(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                                   BOOL bPopped, int nBarType, int nBarPosition)
{
    if (nBarType == qxpBarTypePopup)
        return GetColor(!bEnabled ? qxColorDisabledText : (nSelected ? qxColorHotText : qxColorMenuText));
    if (!bEnabled)
        return GetColor(qxColorBarDisabledText);
    if (bPopped)
        return GetColor(qxColorBarText);
    if (nChecked && !nSelected && !bPressed)
        return GetColor(qxColorHotText);
    if (bPressed == 2 || bPressed == 3 || (nSelected && (bPressed || nChecked)))
        return GetColor(qxColorPressedText);
    if (nSelected || bPressed)
        return GetColor(qxColorHotText);
    return GetColor(nBarPosition == qxpBarPopup ? qxColorMenuText : qxColorBarText);
}

// The overlap of a popup with the control that opened it, in the popup's
// client coordinates; empty when there is none.
static CRect OpenerOverlap(CQXPBarView* pBar)
{
    CRect rcOpener;
    if (!pBar->GetOpenerRect(&rcOpener))
        return CRect();
    CRect rcWindow = pBar->GetBarWindowRect();
    CRect rc;
    if (!::IntersectRect(&rc, &rcWindow, &rcOpener))
        return CRect();
    if (rc.Width() > 1)
        rc.DeflateRect(1, 0);
    if (rc.Height() > 1)
        rc.DeflateRect(0, 1);
    rc.OffsetRect(-rcWindow.left, -rcWindow.top);
    return rc;
}

void ToolkitPaintThemeA::FillCommandBar(CDC* pDC, CQXPBarView* pBar)
{
    CRect rc = pBar->GetBarClientRect();
    int w = rc.Width(), h = rc.Height();
    switch (pBar->GetPosition()) {
    case qxpBarFloating: {
        Rectangle(pDC, rc, 61, -1);
        CRect rcInner(rc);
        rcInner.DeflateRect(1, 1);
        int nFill = pBar->GetType() == qxpBarTypePopup ? 41 : (IsFlatBar(pBar) ? 15 : 30);
        Rectangle(pDC, rcInner, 61, nFill);
        COLORREF clr = GetColor(qxColorFloatingFrame);
        pDC->SetPixelV(2, 2, clr);
        pDC->SetPixelV(w - 3, 2, clr);
        pDC->SetPixelV(2, h - 3, clr);
        pDC->SetPixelV(w - 3, h - 3, clr);
        break;
    }
    case qxpBarPopup: {
        Rectangle(pDC, rc, qxColorMenuBorder, qxColorMenuFace);
        CRect rcOverlap = OpenerOverlap(pBar);
        if (!rcOverlap.IsRectEmpty())
            pDC->FillSolidRect(rcOverlap, GetColor(qxColorBarFace));
        break;
    }
    default:
        if (IsFlatBar(pBar)) {
            pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        } else {
            Rectangle(pDC, rc, COLOR_BTNFACE, qxColorBarFace);
            COLORREF clr = GetColor(COLOR_BTNFACE);
            pDC->SetPixelV(1, 1, clr);
            pDC->SetPixelV(w - 2, 1, clr);
            pDC->SetPixelV(1, h - 2, clr);
            pDC->SetPixelV(w - 2, h - 2, clr);
        }
        break;
    }
}

CSize ToolkitPaintThemeA::DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    int nPosition = pBar->GetPosition();
    if (nPosition == qxpBarFloating)
        return CQXPThemePainter::DrawCommandBarGripper(pDC, pBar, bDraw);
    if (nPosition == qxpBarPopup)
        return CSize(0, 0);
    CRect rc = pBar->GetBarClientRect();
    COLORREF clr = GetColor(qxColorGripper);
    if (IsVerticalPosition(nPosition)) {
        if (bDraw && pDC)
            for (int x = 5; x < rc.Width() - 5; x += 2)
                VerticalLine(pDC, x, 3, 7, clr);
        return CSize(0, 8);
    }
    if (bDraw && pDC)
        for (int y = 5; y < rc.Height() - 5; y += 2)
            HorizontalLine(pDC, 3, y, 7, clr);
    return CSize(6, 0);
}

CSize ToolkitPaintThemeA::DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw)
{
    BOOL bPopup = pBar->GetType() == qxpBarTypePopup;
    if (bDraw && pDC && pControl) {
        CRect rc = pControl->GetRect();
        COLORREF clr = GetColor(qxColorSeparator);
        if (bPopup) {
            int nColumn = GetPopupItemIconColumn(pControl, pBar);
            CRect rcBar = pBar->GetBarClientRect();
            HorizontalLine(pDC, rc.left + nColumn + m_nPopupMargin, rc.top - 2, rcBar.right - 2, clr);
        } else if (IsVerticalBar(pBar)) {
            HorizontalLine(pDC, rc.left + 4, rc.top - 3, rc.right - 4, clr);
        } else {
            VerticalLine(pDC, rc.left - 3, rc.top + 4, rc.bottom - 4, clr);
        }
    }
    return bPopup ? CSize(3, 3) : CSize(6, 6);
}

// The tick of a check mark in a 13 x 13 square at (x, y): three strokes.
static void DrawTick(CDC* pDC, int x, int y, COLORREF clr, BOOL bRTL)
{
    PenSelector pen(pDC->GetSafeHdc(), clr);
    for (int k = 0; k < 3; ++k) {
        POINT pts[3] = {{x + 3, y + 5 + k}, {x + 5, y + 7 + k}, {x + 10, y + 2 + k}};
        if (bRTL)
            for (POINT& p : pts)
                p.x = 2 * x + 12 - p.x;
        pDC->MoveTo(pts[0].x, pts[0].y);
        pDC->LineTo(pts[1].x, pts[1].y);
        pDC->LineTo(pts[2].x, pts[2].y);
    }
}

CSize ToolkitPaintThemeA::DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                                           BOOL bEnabled)
{
    if (bDraw && pDC) {
        CRect r(CPoint(rc.left, rc.top), CSize(13, 13));
        if (bEnabled) {
            BOOL bHot = nSelected != 0;
            if (bHot && bPressed)
                Rectangle(pDC, r, qxColorHotBorder, qxColorPressedFace);
            else if (bHot || bPressed)
                Rectangle(pDC, r, qxColorHotBorder, qxColorHotFace);
            else
                Rectangle(pDC, r, qxColorControlBorder, COLOR_WINDOW);
        } else {
            Draw3dRect(pDC, r, qxColorDisabledText, qxColorDisabledText);
        }
        if (nChecked)
            DrawTick(pDC, r.left, r.top, GetColor(!bEnabled || nChecked == 2 ? qxColorDisabledText : COLOR_BTNTEXT),
                     IsLayoutRTL(pDC->GetSafeHdc()));
    }
    return CSize(13, 13);
}

// A disc of radius r around (cx, cy) in one colour, with its edge pixel
// mixed with what is there.
static void FillDisc(CQXPThemePainter* pPaint, CDC* pDC, double cx, double cy, double r, COLORREF clr, CRect rcBound)
{
    for (int y = rcBound.top; y < rcBound.bottom; ++y)
        for (int x = rcBound.left; x < rcBound.right; ++x) {
            double d = std::sqrt((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy));
            if (d <= r - 0.5)
                pDC->SetPixelV(x, y, clr);
            else if (d < r + 0.5)
                pPaint->MixPixel(pDC, x, y, clr, clr, d - (r - 0.5));
        }
}

CSize ToolkitPaintThemeA::DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed,
                                              int nChecked, BOOL bEnabled)
{
    if (bDraw && pDC) {
        CRect r(CPoint(rc.left, rc.top), CSize(13, 13));
        int nBorder, nFill;
        if (!bEnabled) {
            nBorder = 35;
            nFill = 51;
        } else if (nSelected && bPressed) {
            nBorder = 32;
            nFill = 33;
        } else if (nSelected || bPressed) {
            nBorder = 32;
            nFill = 31;
        } else {
            nBorder = 52;
            nFill = 5;
        }
        double cx = r.left + 6.5, cy = r.top + 6.5;
        FillDisc(this, pDC, cx, cy, 6.5, GetColor(nBorder), r);
        FillDisc(this, pDC, cx, cy, 5.5, GetColor(nFill), r);
        if (nChecked)
            FillDisc(this, pDC, r.left + 4 + 2.5, r.top + 4 + 2.5, 2.5,
                     GetColor(!bEnabled || nChecked == 2 ? qxColorDisabledText : COLOR_BTNTEXT), CRect(r.left + 4, r.top + 4, r.left + 9, r.top + 9));
    }
    return CSize(13, 13);
}

void ToolkitPaintThemeA::FillPopupGutter(CDC* pDC, CRect rcGutter, BOOL bRarelyUsed)
{
    pDC->FillSolidRect(rcGutter, GetColor(bRarelyUsed ? qxColorExpandedGutter : qxColorBarFace));
}

CSize ToolkitPaintThemeA::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (bDraw && pDC) {
        pDC->FillSolidRect(rc, GetColor(qxColorMenuFace));
        rc.DeflateRect(1, 1);
        int cx = rc.CenterPoint().x;
        int nReach = min(rc.Width() / 2 - 10, 16);
        if (bSelected) {
            Rectangle(pDC, rc, qxColorHotBorder, qxColorHotFace);
            if (nReach > 0)
                for (int y : {4, 6})
                    HorizontalLine(pDC, cx - nReach, rc.top + y, cx + nReach, GetColor(qxColorHotText));
        } else {
            pDC->FillSolidRect(rc, GetColor(qxColorBarFace));
            if (nReach > 0)
                for (int y : {3, 5, 7})
                    HorizontalLine(pDC, cx - nReach, rc.top + y, cx + nReach, GetColor(qxColorGripper));
        }
    }
    return CSize(0, 9);
}

void ToolkitPaintThemeA::DrawDotPair(CDC* pDC, int x, int y, int nLight, int nDark)
{
    pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetColor(nLight));
    pDC->FillSolidRect(x, y, 2, 2, GetColor(nDark));
}

void ToolkitPaintThemeA::DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags)
{
    pDC->FillSolidRect(rc, GetColor(qxColorBarFace));
    if (nFlags == 1) {
        int cx = rc.CenterPoint().x;
        for (int x = cx - 8; x < cx + 8; x += 4)
            DrawDotPair(pDC, x, rc.top + 3, 5, 38);
    } else {
        int x = rc.right - 4, y = rc.bottom - 4;
        DrawDotPair(pDC, x - 1, y - 1, 5, 38);
        DrawDotPair(pDC, x - 5, y - 1, 5, 38);
        DrawDotPair(pDC, x - 1, y - 5, 5, 38);
    }
}

void ToolkitPaintThemeA::DrawImage(CDC* pDC, CPoint pt, CSize sz, CQXPIconImage* pImage, BOOL bSelected,
                                   BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopped, BOOL)
{
    if (!pImage)
        return;
    HDC hdc = pDC->GetSafeHdc();
    if (!bEnabled) {
        // A disabled picture of the command's own, else its shape.
        if (m_iconsInfo.bUseDisabledIcons && qxpimage::HasExplicitDisabled(pImage))
            qxpimage::Draw(hdc, pt, sz, pImage, qxpimage::kDisabled);
        else
            qxpimage::DrawShape(hdc, pt, sz, pImage, GetColor(qxColorDisabledIcon));
        return;
    }
    BOOL bHot = bSelected || bPressed || bPopped;
    if (bChecked) {
        qxpimage::Draw(hdc, pt, sz, pImage, qxpimage::kHot);
        return;
    }
    if (bHot) {
        if (m_iconsInfo.bIconsWithShadow && !bPressed) {
            qxpimage::Draw(hdc, CPoint(pt.x + 1, pt.y + 1), sz, pImage, qxpimage::kShadow);
            qxpimage::Draw(hdc, CPoint(pt.x - 1, pt.y - 1), sz, pImage, qxpimage::kHot);
        } else {
            qxpimage::Draw(hdc, pt, sz, pImage, bPressed ? qxpimage::kPressed : qxpimage::kHot);
        }
        return;
    }
    qxpimage::Draw(hdc, pt, sz, pImage, m_iconsInfo.bUseFadedIcons ? qxpimage::kFaded : qxpimage::kNormal);
}

void ToolkitPaintThemeA::DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rc)
{
    CQXPBarView* pBar = pButton->GetParentBar();
    int nSelected = pButton->GetSelected();
    BOOL bPressed = pButton->GetPressed();
    BOOL bEnabled = IsControlEnabled(pButton);
    BOOL bPopped = pButton->GetPopped();
    int nWidth = m_nSplitButtonDropDownWidth;
    CRect rcMain(rc.left, rc.top, rc.right - nWidth, rc.bottom);
    CRect rcDrop(rc.right - nWidth - 1, rc.top, rc.right, rc.bottom);
    DrawRectangle(pDC, rcMain, nSelected, bPressed, bEnabled, pButton->GetChecked(), bPopped, BarType(pBar),
                  BarPosition(pBar));
    DrawRectangle(pDC, rcDrop, nSelected, FALSE, bEnabled, 0, bPopped, BarType(pBar), BarPosition(pBar));
    if ((nSelected || bPressed) && bEnabled && !bPopped)
        VerticalLine(pDC, rc.right - nWidth - 1, rc.top, rc.bottom, GetColor(qxColorHotBorder));
    COLORREF clr = GetControlTextColor(pButton);
    DrawSmallDownTriangle(pDC, CPoint(rc.right - 6, rc.CenterPoint().y), clr);
}

CSize ToolkitPaintThemeA::DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    CSize sz = CQXPThemePainter::DrawControlComboBox(pDC, pControl, bDraw);
    if (!bDraw)
        return sz;
    CQXPBarView* pBar = pControl->GetParentBar();
    BOOL bPopup = IsPopupBar(pBar);
    CRect rcField = GetFieldRect(pControl);
    CQXPControlView::EditLayout* pLayout = pControl->GetEditLayout();
    int nButton = pLayout && pLayout->nButtonWidth > 0 ? pLayout->nButtonWidth : 15;
    CRect rcDrop(rcField.right - nButton, rcField.top, rcField.right, rcField.bottom);
    BOOL bEnabled = IsControlEnabled(pControl);
    int nSelected = pControl->GetSelected();
    BOOL bDropped = pControl->IsDroppedDown();
    int nArrow;
    if (bEnabled) {
        Rectangle(pDC, rcField, COLOR_WINDOW, COLOR_WINDOW);
        if (nSelected || bDropped) {
            Rectangle(pDC, rcField, 32, -1);
            CRect rcState(rcDrop);
            DrawRectangle(pDC, rcState, TRUE, bDropped, TRUE, 0, FALSE, BarType(pBar), BarPosition(pBar));
            nArrow = bDropped ? 47 : 45;
        } else {
            if (bPopup) {
                CRect rcInner(rcDrop);
                rcInner.DeflateRect(1, 1);
                Rectangle(pDC, rcInner, qxColorEditFrame, qxColorEditFrame);
            }
            nArrow = 46;
        }
    } else {
        Rectangle(pDC, rcField, (nSelected == 2 || nSelected == 3) ? 32 : 40, 15);
        nArrow = 40;
    }
    DrawFieldText(pDC, pControl, CRect(rcField.left + 4, rcField.top, rcDrop.left - 2, rcField.bottom), bEnabled);
    DrawDownArrow(pDC, rcDrop, nArrow);
    return sz;
}

CSize ToolkitPaintThemeA::DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    CSize sz = CQXPThemePainter::DrawControlEdit(pDC, pControl, bDraw);
    if (!bDraw)
        return sz;
    CQXPBarView* pBar = pControl->GetParentBar();
    CRect rcField = GetFieldRect(pControl);
    BOOL bEnabled = IsControlEnabled(pControl);
    int nSelected = pControl->GetSelected();
    BOOL bSpin = pControl->HasSpinButtons();
    CRect rcEdit(rcField);
    if (bSpin)
        rcEdit.right -= 18;
    if (bEnabled) {
        int nFrame = nSelected ? 32 : (IsPopupBar(pBar) ? 53 : 5);
        Rectangle(pDC, rcField, nFrame, 5);
    } else {
        Rectangle(pDC, rcField, (nSelected == 2 || nSelected == 3) ? 32 : 40, 15);
    }
    if (bSpin) {
        CRect rcSpin(rcEdit.right, rcField.top, rcField.right, rcField.bottom);
        CRect rcUp(rcSpin.left, rcSpin.top, rcSpin.right, rcSpin.top + rcSpin.Height() / 2);
        CRect rcDown(rcSpin.left, rcUp.bottom, rcSpin.right, rcSpin.bottom);
        int nPressed = pControl->GetSpinPressed();
        if (bEnabled && nSelected) {
            pDC->FillSolidRect(rcSpin, GetColor(qxColorHotFace));
            if (nPressed == 1)
                pDC->FillSolidRect(rcUp, GetColor(qxColorPressedFace));
            else if (nPressed == 2)
                pDC->FillSolidRect(rcDown, GetColor(qxColorPressedFace));
            VerticalLine(pDC, rcSpin.left, rcSpin.top, rcSpin.bottom, GetColor(qxColorHotBorder));
            HorizontalLine(pDC, rcSpin.left, rcUp.bottom, rcSpin.right, GetColor(qxColorHotBorder));
        } else {
            Rectangle(pDC, rcSpin, 5, -1);
        }
        DrawSpinArrows(pDC, rcUp, rcDown, GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    }
    return sz;
}

void ToolkitPaintThemeA::DrawPopupSplitDivider(CDC* pDC, CQXPControlView* pControl, CRect rc)
{
    BOOL bEnabled = IsControlEnabled(pControl);
    if (pControl->GetPopped() && pControl->GetSelected()) {
        if (bEnabled)
            Rectangle(pDC, CRect(rc.right - m_nSplitButtonPopupWidth, rc.top, rc.right, rc.bottom), qxColorHotBorder, qxColorPressedFace);
        return;
    }
    COLORREF clr = pControl->GetSelected() ? GetColor(qxColorHotBorder) : (bEnabled ? GetColor(COLOR_BTNSHADOW) : GetControlTextColor(pControl));
    VerticalLine(pDC, rc.right - m_nSplitButtonPopupWidth, rc.top + 1, rc.bottom - 1, clr);
}

void ToolkitPaintThemeA::DrawPopupArrow(CDC* pDC, CQXPControlView* pControl, CRect rc)
{
    COLORREF clr = GetControlTextColor(pControl);
    if (pControl->GetType() == qxpControlSplitButtonPopup && pControl->GetSelected() && pControl->GetPopped() &&
        IsControlEnabled(pControl))
        clr = GetColor(qxColorPressedText);
    int cy = rc.CenterPoint().y;
    DrawTriangle(pDC, CPoint(rc.right - 11, cy - 3), CPoint(rc.right - 11, cy + 3), CPoint(rc.right - 8, cy), clr);
}

void ToolkitPaintThemeA::FillPopupLabel(CDC* pDC, CRect rc) { pDC->FillSolidRect(rc, GetColor(qxColorLabelFace)); }

CSize ToolkitPaintThemeA::DrawControlPopupParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    if (bDraw) {
        CQXPBarView* pBar = pControl->GetParentBar();
        CRect rc = pControl->GetRect();
        int nColumn = GetPopupItemIconColumn(pControl, pBar);
        CRect rcColumn(rc.left, rc.top, rc.left + nColumn, rc.bottom);
        BOOL bEnabled = IsControlEnabled(pControl);
        int nType = pControl->GetType();
        if (pControl->IsRarelyUsed())
            FillPopupGutter(pDC, rcColumn, TRUE);
        if (nType == qxpControlLabel)
            FillPopupLabel(pDC, CRect(rcColumn.right, rc.top, rc.right, rc.bottom));
        else
            DrawRectangle(pDC, rc, pControl->GetSelected(), pControl->GetPressed(), bEnabled, 0,
                          pControl->GetPopped(), qxpBarTypePopup, qxpBarPopup);
        CSize szIcon = pBar ? pBar->GetIconSize() : GetAutoIconSize(FALSE);
        CQXPIconImage* pImage = GetShownImage(pControl, szIcon);
        if (pControl->GetChecked()) {
            CRect rcCheck(rcColumn);
            rcCheck.DeflateRect(2, 1);
            DrawRectangle(pDC, rcCheck, pControl->GetSelected(), FALSE, bEnabled, 1, FALSE, qxpBarTypeNormal, qxpBarTop);
            if (!pImage) {
                COLORREF clr = GetControlTextColor(pControl);
                if (nType == qxpControlRadioButton)
                    DrawDot(pDC, rcCheck, clr);
                else
                    DrawCheckMark(pDC, rcCheck, clr);
            }
        }
        if (pImage) {
            CPoint c = rcColumn.CenterPoint();
            DrawImage(pDC, CPoint(c.x - szIcon.cx / 2, c.y - szIcon.cy / 2), szIcon, pImage, pControl->GetSelected(),
                      pControl->GetPressed(), bEnabled, pControl->GetChecked(), pControl->GetPopped(), FALSE);
        }
        if (nType == qxpControlSplitButtonPopup)
            DrawPopupSplitDivider(pDC, pControl, rc);
        if (nType == qxpControlPopup || nType == qxpControlButtonPopup || nType == qxpControlSplitButtonPopup)
            DrawPopupArrow(pDC, pControl, rc);
    }
    return CQXPThemePainter::DrawControlPopupParent(pDC, pControl, bDraw);
}

CSize ToolkitPaintThemeA::DrawCommandListEntry(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bSelected,
                                               BOOL bDraw)
{
    if (!bDraw || !pDC || !pControl)
        return CSize(rc.Width(), max(GetControlHeight(), 22));
    pDC->FillSolidRect(rc, GetColor(COLOR_WINDOW));
    if (bSelected)
        Rectangle(pDC, rc, qxColorHotBorder, qxColorHotFace);
    CString strCaption = pControl->GetCaption();
    StripAccelerator(strCaption);
    DrawSingleLineText(pDC, strCaption, CRect(rc.left + 26, rc.top, rc.right - 2, rc.bottom),
                       bSelected ? qxColorHotText : qxColorMenuText);
    CQXPIconImage* pImage = pControl->GetIconId() ? pControl->GetImage(16) : NULL;
    if (pImage)
        DrawImage(pDC, CPoint(rc.left + 4, rc.CenterPoint().y - 8), CSize(16, 16), pImage, FALSE, FALSE, TRUE, FALSE,
                  FALSE, FALSE);
    return CSize(rc.Width(), rc.Height());
}

void ToolkitPaintThemeA::DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL)
{
    if (pPane && (pPane->GetStyle() & CQXPStatusPaneView::styleNoBorders))
        return;
    Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
}

CSize ToolkitPaintThemeA::DrawDialogBarGripper(CDC* pDC, CQXPBarView*, BOOL bDraw)
{
    int h = max(m_nTextHeight + 4, 22);
    if (bDraw && pDC)
        for (int y = 6; y < h - 2; y += 2)
            HorizontalLine(pDC, 3, y, 7, GetColor(qxColorGripper));
    return CSize(6, h);
}

void ToolkitPaintThemeA::AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical)
{
    CQXPBarView* pBar = pControl ? pControl->GetParentBar() : NULL;
    if (BarPosition(pBar) == qxpBarPopup)
        return;
    if (IsPopupBar(pBar))
        rc.InflateRect(1, 0);
    else if (bVertical)
        rc.DeflateRect(1, 0);
    else
        rc.DeflateRect(0, 1);
}
