// paintlayout.cpp - layout and drawing of controls: menu items on popups, and
// buttons, popups, split buttons, check boxes, radio buttons, edits and
// combo boxes on toolbars, menu bars and floating bars. One routine serves
// measuring and drawing, so what is drawn fits what was measured.
#include "paintinternal.h"

#include "imageaccess.h"

#include <qx/drawing.h>
#include <qx/visualstyles.h>

using namespace qxpaint;

// ---------------------------------------------------------------------------
// Captions.

void CQXPThemePainter::DrawCaptionText(CDC* pDC, CQXPControlView* pControl, CRect rc, const CString& strText,
                                       UINT nFormat)
{
    if (pControl && pControl->IntersectsBarRect()) {
        // Text on a composited frame goes through the visual style so that
        // it keeps its alpha.
        CVisualStyleTheme theme(FALSE);
        if (theme.OpenThemeData(NULL, L"GLOBALS")) {
            HDC hdcBuffer = NULL;
            HPAINTBUFFER hBuffer =
                theme.BeginBufferedPaint(pDC->GetSafeHdc(), rc, BPBF_TOPDOWNDIB, NULL, &hdcBuffer);
            if (hBuffer && hdcBuffer) {
                ::BitBlt(hdcBuffer, rc.left, rc.top, rc.Width(), rc.Height(), pDC->GetSafeHdc(), rc.left, rc.top,
                         SRCCOPY);
                DTTOPTS opts;
                ZeroMemory(&opts, sizeof(opts));
                opts.dwSize = sizeof(opts);
                opts.dwFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;
                opts.crText = pDC->GetTextColor();
                ::SelectObject(hdcBuffer, ::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT));
                CStringW strWide(CA2W(strText.GetString()));
                CRect r(rc);
                HRESULT hr = theme.DrawThemeTextEx(hdcBuffer, 0, 0, strWide.GetString(), -1, nFormat, r, &opts);
                theme.EndBufferedPaint(hBuffer, SUCCEEDED(hr));
                if (SUCCEEDED(hr))
                    return;
            }
        }
    }
    CRect r(rc);
    pDC->DrawText(strText, r, nFormat);
}

void CQXPThemePainter::DrawControlCaption(CDC* pDC, CQXPControlView* pControl, CRect rc, const CString& strCaption,
                                          UINT nFormat)
{
    CQXPBarView* pBar = pControl ? pControl->GetParentBar() : NULL;
    CString strText = strCaption;
    if (IsKeyboardCuesVisible(pBar))
        nFormat &= ~DT_NOPREFIX;
    else {
        StripAccelerator(strText);
        nFormat |= DT_NOPREFIX;
    }
    int nMode = pDC->SetBkMode(TRANSPARENT);
    if (pControl && !IsControlEnabled(pControl) && m_bEmbossedDisabledText) {
        COLORREF clrOld = pDC->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
        CRect rcShadow(rc);
        rcShadow.OffsetRect(1, 1);
        DrawCaptionText(pDC, pControl, rcShadow, strText, nFormat);
        pDC->SetTextColor(clrOld);
    }
    DrawCaptionText(pDC, pControl, rc, strText, nFormat);
    pDC->SetBkMode(nMode);
}

// Vertical captions have no prefix processing: the stripped text is drawn.
static void DrawVerticalCaption(CQXPThemePainter* pPaint, CDC* pDC, CQXPControlView* pControl, int x, int y,
                                const CString& strStripped)
{
    int nMode = pDC->SetBkMode(TRANSPARENT);
    if (pControl && !IsControlEnabled(pControl) && pPaint->m_bEmbossedDisabledText) {
        COLORREF clrOld = pDC->SetTextColor(pPaint->GetColor(COLOR_BTNHIGHLIGHT));
        DrawVerticalText(pDC, x + 1, y + 1, strStripped);
        pDC->SetTextColor(clrOld);
    }
    DrawVerticalText(pDC, x, y, strStripped);
    pDC->SetBkMode(nMode);
}

static int FontHeight(CDC* pDC)
{
    TEXTMETRICA tm;
    return ::GetTextMetricsA(pDC->GetSafeHdc(), &tm) ? tm.tmHeight : 0;
}

CSize CQXPThemePainter::DrawControlText(CDC* pDC, CQXPControlView* pControl, CRect rcText, BOOL bDraw, BOOL bVert,
                                        BOOL bCentered, BOOL bTriangled)
{
    CString strCaption = pControl->GetCaption();
    CString strStripped = strCaption;
    StripAccelerator(strStripped);
    CSize szText = TextSize(pDC, strStripped);

    if (!bDraw) {
        CSize sz = szText;
        if (bTriangled)
            sz.cx += m_bTightCaptionSpacing ? 8 : 10;
        return bVert ? CSize(sz.cy, sz.cx) : sz;
    }

    int t = szText.cx + (bTriangled ? 5 : 0);
    if (!bVert) {
        CRect rc(rcText);
        if (bCentered)
            rc.left += (rc.Width() - t) / 2;
        DrawControlCaption(pDC, pControl, rc, strCaption, DT_SINGLELINE | DT_VCENTER);
        if (bTriangled)
            DrawDropDownGlyph(pDC, pControl, CPoint(rc.left + t, (rc.top + rc.bottom) / 2), pControl->GetSelected(),
                              pControl->GetPopped(), IsControlEnabled(pControl), FALSE);
    } else {
        int nHeight = FontHeight(pDC);
        int x = rcText.right - (rcText.Width() - nHeight + 1) / 2;
        int y = rcText.top;
        if (bCentered)
            y += (rcText.Height() - t + 1) / 2;
        DrawVerticalCaption(this, pDC, pControl, x, y, strStripped);
        if (bTriangled)
            DrawDropDownGlyph(pDC, pControl, CPoint((rcText.left + rcText.right) / 2, y + t - 1),
                              pControl->GetSelected(), pControl->GetPopped(), IsControlEnabled(pControl), TRUE);
    }
    return CSize(0, 0);
}

CSize CQXPThemePainter::DrawControlText2Lines(CDC* pDC, CQXPControlView* pControl, CRect rcText, BOOL bDraw,
                                              BOOL bVert, BOOL bTriangled)
{
    CString strCaption = pControl->GetCaption();
    CString strLine1, strLine2;
    if (m_bSplitCaption)
        SplitCaption(strCaption, strLine1, strLine2);
    else
        strLine1 = strCaption;
    CString strPlain1 = strLine1, strPlain2 = strLine2;
    StripAccelerator(strPlain1);
    StripAccelerator(strPlain2);
    int w1 = TextSize(pDC, strPlain1).cx;
    int w2 = TextSize(pDC, strPlain2).cx;

    if (!bDraw) {
        int w = max(w1, w2 + (bTriangled ? 8 : 0));
        return bVert ? CSize(24, w) : CSize(w, 24);
    }

    int nHeight = FontHeight(pDC);
    if (!bVert) {
        int mid = (rcText.top + rcText.bottom) / 2;
        DrawControlCaption(pDC, pControl, CRect(rcText.left, rcText.top, rcText.right, mid + 1), strLine1,
                           DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        int x2 = rcText.left + (rcText.Width() - (w2 + (bTriangled ? 9 : 0))) / 2;
        if (!strLine2.IsEmpty())
            DrawControlCaption(pDC, pControl, CRect(x2, mid, rcText.right, rcText.bottom), strLine2,
                               DT_SINGLELINE | DT_VCENTER);
        if (bTriangled) {
            int y = (mid + rcText.bottom) / 2;
            CPoint pt = strLine2.IsEmpty() ? CPoint((rcText.left + rcText.right) / 2 - 1, y) : CPoint(x2 + w2 + 5, y);
            DrawDropDownGlyph(pDC, pControl, pt, pControl->GetSelected(), pControl->GetPopped(),
                              IsControlEnabled(pControl), FALSE);
        }
    } else {
        int mx = (rcText.left + rcText.right) / 2;
        int x1 = (rcText.right - 1) - (rcText.right - 1 - mx - nHeight + 1) / 2;
        int y1 = rcText.top + (rcText.Height() - w1 + 1) / 2;
        DrawVerticalCaption(this, pDC, pControl, x1, y1, strPlain1);
        int t2 = w2 + (bTriangled ? 8 : 0);
        int x2 = (mx + 1) - (mx + 1 - nHeight - (rcText.left + 1) + 1) / 2;
        int y2 = rcText.top + (rcText.Height() - t2 + 1) / 2;
        if (!strPlain2.IsEmpty())
            DrawVerticalCaption(this, pDC, pControl, x2, y2, strPlain2);
        if (bTriangled)
            DrawDropDownGlyph(pDC, pControl, CPoint((rcText.left + 1 + mx + 1) / 2 - 2, y2 + t2 - 4),
                              pControl->GetSelected(), pControl->GetPopped(), IsControlEnabled(pControl), TRUE);
    }
    return CSize(0, 0);
}

CSize CQXPThemePainter::DrawButtonCaption(CDC* pDC, CQXPControlView* pControl, CRect rcButton, BOOL bDraw,
                                          BOOL bTriangled, int nButtonWidth, int nButtonHeight, BOOL bHasIcon)
{
    BOOL bVert = IsVerticalBar(pControl->GetParentBar());
    CSize szText = DrawControlText(pDC, pControl, CRect(0, 0, 0, 0), FALSE, bVert, FALSE, bTriangled);
    int w = szText.cx, h = szText.cy;
    CRect rc(rcButton);
    if (bVert) {
        if (bHasIcon) {
            rc.top += nButtonHeight;
            if (bDraw)
                DrawControlText(pDC, pControl, rc, TRUE, TRUE, FALSE, bTriangled);
            return CSize(max(nButtonWidth, w + 6), h + nButtonWidth + 3);
        }
        if (bDraw)
            DrawControlText(pDC, pControl, rc, TRUE, TRUE, TRUE, bTriangled);
        return CSize(max(nButtonWidth, w + 6), h + 8);
    }
    if (bHasIcon) {
        rc.left += nButtonWidth - (m_bTightCaptionSpacing ? 0 : 1);
        if (bDraw)
            DrawControlText(pDC, pControl, rc, TRUE, FALSE, FALSE, bTriangled);
        return CSize(nButtonWidth + w + 3 + (m_bTightCaptionSpacing ? 1 : 0), max(nButtonHeight, h + 6));
    }
    if (bDraw)
        DrawControlText(pDC, pControl, rc, TRUE, FALSE, TRUE, bTriangled);
    return CSize(w + 8, max(nButtonHeight, h + 6));
}

// ---------------------------------------------------------------------------
// Sizes.

CSize CQXPThemePainter::ApplyCustomSize(CSize sz, CQXPControlView* pControl)
{
    int nWidth = pControl->GetWidth();
    int nHeight = pControl->GetHeight();
    if (IsVerticalBar(pControl->GetParentBar())) {
        if (nWidth > 0)
            sz.cy = nWidth;
        if (nHeight > 0)
            sz.cx = nHeight;
    } else {
        if (nWidth > 0)
            sz.cx = nWidth;
        if (nHeight > 0)
            sz.cy = nHeight;
    }
    return sz;
}

CSize CQXPThemePainter::GetControlIconSize(CQXPControlView* pControl)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    if (!pBar)
        return GetAutoIconSize(FALSE);
    if (pControl->GetStyle() == qxpButtonIconAndCaptionBelow && !IsPopupBar(pBar))
        return pBar->GetLargeIconSize();
    return pBar->GetIconSize();
}

int CQXPThemePainter::GetLargeCaptionHeight() const
{
    if (m_nFixedControlHeight > 0)
        return 2 * m_nTextHeight - 17;
    return 2 * max(m_nTextHeight + 3, 22) - 17;
}

CQXPIconImage* CQXPThemePainter::GetShownImage(CQXPControlView* pControl, CSize szIcon)
{
    if (!pControl->IsImageVisible())
        return NULL;
    return pControl->GetImage(szIcon.cx);
}

// The drawn height of an icon: the icon width scaled by the image's aspect.
static int DrawnIconHeight(CQXPIconImage* pImage, CSize szIcon)
{
    CSize szImage = qxpimage::Extent(pImage);
    if (szImage.cx <= 0)
        return szIcon.cy;
    return szIcon.cx * szImage.cy / szImage.cx;
}

// ---------------------------------------------------------------------------
// Controls on toolbars, menu bars and floating bars.

CSize CQXPThemePainter::DrawControlToolBarParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    BOOL bVert = IsVerticalBar(pBar);
    ScopedFont font(pDC, GetCommandFont(pBar, pControl->IsDefaultItem()));
    CRect rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);

    CSize szIcon = GetControlIconSize(pControl);
    CSize szButton = pBar ? pBar->GetButtonSize() : CSize(22, 22);
    CQXPIconImage* pImage = GetShownImage(pControl, szIcon);
    BOOL bHasIcon = pImage != NULL;
    int nType = pControl->GetType();

    if (nType == qxpControlCheckBox || nType == qxpControlRadioButton)
        return DrawToolBarCheckOrRadio(pDC, pControl, bDraw, bVert);

    if (bDraw) {
        if (nType == qxpControlSplitButtonPopup)
            DrawSplitButtonFrame(pDC, pControl, rc);
        else if (!pControl->IsCustomBackground())
            DrawControlBackground(pDC, pControl);
        pDC->SetTextColor(GetControlTextColor(pControl));
    }

    CSize sz;
    if (pControl->GetStyle() == qxpButtonIconAndCaptionBelow)
        sz = DrawLargeButton(pDC, pControl, rc, bDraw, bVert, bHasIcon, szIcon, pImage);
    else if (pBar && pBar->IsTextBelowIcons() && bHasIcon)
        sz = DrawTextBelowIcon(pDC, pControl, rc, bDraw, szIcon, szButton, pImage);
    else
        sz = DrawNormalLayout(pDC, pControl, rc, bDraw, bVert, bHasIcon, szIcon, szButton, pImage);
    return ApplyCustomSize(sz, pControl);
}

CSize CQXPThemePainter::DrawToolBarCheckOrRadio(CDC* pDC, CQXPControlView* pControl, BOOL bDraw, BOOL bVert)
{
    BOOL bRadio = pControl->GetType() == qxpControlRadioButton;
    CQXPBarView* pBar = pControl->GetParentBar();
    CSize szButton = pBar ? pBar->GetButtonSize() : CSize(22, 22);
    int nSelected = pControl->GetSelected();
    BOOL bPressed = pControl->GetPressed();
    int nChecked = pControl->GetChecked();
    BOOL bEnabled = IsControlEnabled(pControl);
    CSize szMark = bRadio ? DrawRadioButtonMark(pDC, CRect(), FALSE, nSelected, bPressed, nChecked, bEnabled)
                          : DrawCheckBoxMark(pDC, CRect(), FALSE, nSelected, bPressed, nChecked, bEnabled);

    if (!bDraw) {
        CSize szCaption =
            DrawButtonCaption(pDC, pControl, CRect(0, 0, 0, 0), FALSE, FALSE, szButton.cx, szButton.cy, FALSE);
        if (bVert)
            return CSize(szCaption.cx, szCaption.cy + szMark.cy + 5);
        return CSize(szCaption.cx + szMark.cx + 5, szCaption.cy);
    }

    CRect rc = pControl->GetRect();
    pDC->SetTextColor(GetControlTextColor(pControl));
    CRect rcMark, rcCaption(rc);
    if (!bVert) {
        int y = (rc.top + rc.bottom - szMark.cy) / 2;
        rcMark = CRect(CPoint(rc.left + 3, y), szMark);
        rcCaption.left = rc.left + szMark.cx + 5;
    } else {
        int x = (rc.left + rc.right) / 2 - szMark.cx / 2;
        rcMark = CRect(CPoint(x, rc.top + 3), szMark);
        rcCaption.top = rc.top + szMark.cy + 5;
    }
    if (bRadio)
        DrawRadioButtonMark(pDC, rcMark, TRUE, nSelected, bPressed, nChecked, bEnabled);
    else
        DrawCheckBoxMark(pDC, rcMark, TRUE, nSelected, bPressed, nChecked, bEnabled);
    DrawButtonCaption(pDC, pControl, rcCaption, TRUE, FALSE, szButton.cx, szButton.cy, FALSE);
    if (nSelected == 2 || nSelected == 3) {
        pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
        pDC->SetBkColor(GetColor(COLOR_BTNFACE));
        pDC->DrawFocusRect(rcCaption);
    }
    return CSize(0, 0);
}

CSize CQXPThemePainter::DrawLargeButton(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bDraw, BOOL bVert,
                                        BOOL bHasIcon, CSize szIcon, CQXPIconImage* pImage)
{
    int R = max(m_nTextHeight, 22);
    int S = max(2 * R - 3, 42);
    int nBand = GetLargeCaptionHeight();
    int Q = m_nFixedControlHeight > 0 ? 3 * m_nFixedControlHeight : szIcon.cy + nBand + 7;
    BOOL bArrow = pControl->HasLargeDropDown();

    if (bDraw) {
        if (bHasIcon) {
            CPoint pt = !bVert ? CPoint(rc.CenterPoint().x - szIcon.cx / 2, rc.top + 3)
                               : CPoint(rc.left + nBand + 4, rc.CenterPoint().y - szIcon.cy / 2);
            DrawImage(pDC, pt, szIcon, pImage, pControl->GetSelected(), pControl->GetPressed(),
                      IsControlEnabled(pControl), pControl->GetChecked(), pControl->GetPopped());
        }
        CRect rcBand = !bVert ? CRect(rc.left, rc.bottom - 1 - nBand, rc.right, rc.bottom - 1)
                              : CRect(rc.left, rc.top, rc.left + nBand, rc.bottom);
        DrawControlText2Lines(pDC, pControl, rcBand, TRUE, bVert, bArrow);
        return CSize(0, 0);
    }
    CSize szCaption = DrawControlText2Lines(pDC, pControl, CRect(0, 0, 0, 0), FALSE, bVert, bArrow);
    if (!bVert)
        return CSize(max(S, (int)szCaption.cx + 5), Q);
    return CSize(Q, max(S, (int)szCaption.cy + 6));
}

CSize CQXPThemePainter::DrawTextBelowIcon(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bDraw, CSize szIcon,
                                          CSize szButton, CQXPIconImage* pImage)
{
    ScopedFont font(pDC, pControl->IsDefaultItem() ? &m_fontRegularBold : &m_fontRegular);
    int nType = pControl->GetType();
    BOOL bArrow = nType == qxpControlPopup;
    if (bDraw) {
        if (nType == qxpControlSplitButtonPopup)
            rc.right -= m_nSplitButtonDropDownWidth;
        DrawImage(pDC, CPoint(rc.CenterPoint().x - szIcon.cx / 2, rc.top + 4), szIcon, pImage,
                  pControl->GetSelected(), pControl->GetPressed(), IsControlEnabled(pControl),
                  pControl->GetChecked(), pControl->GetPopped());
        DrawControlText(pDC, pControl, CRect(rc.left, rc.top + szButton.cy - 4, rc.right, rc.bottom), TRUE, FALSE,
                        TRUE, bArrow);
        return CSize(0, 0);
    }
    CSize szText = DrawControlText(pDC, pControl, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE, bArrow);
    int h = szButton.cy + szText.cy;
    int w = max((int)szButton.cx, (int)szText.cx + 10);
    if (nType == qxpControlSplitButtonPopup)
        w += 11;
    return CSize(max(w, h), h);
}

CSize CQXPThemePainter::DrawNormalLayout(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bDraw, BOOL bVert,
                                         BOOL bHasIcon, CSize szIcon, CSize szButton, CQXPIconImage* pImage)
{
    int nType = pControl->GetType();
    BOOL bCaption = pControl->IsCaptionVisible();
    CQXPBarView* pBar = pControl->GetParentBar();
    int nBarType = BarType(pBar);

    if (bDraw && bHasIcon) {
        int h = DrawnIconHeight(pImage, szIcon);
        CPoint c = rc.CenterPoint();
        CPoint pt = !bVert ? CPoint(rc.left + 3, c.y - h / 2) : CPoint(c.x - szIcon.cx / 2, rc.top + 3);
        if (nType == qxpControlSplitButtonPopup || (nType == qxpControlPopup && !bCaption))
            pt.x = rc.left + 3;
        else if ((nType == qxpControlButton || nType == qxpControlButtonPopup) && !bCaption)
            pt = CPoint(c.x - szIcon.cx / 2, c.y - h / 2);
        DrawImage(pDC, pt, CSize(szIcon.cx, h), pImage, pControl->GetSelected(), pControl->GetPressed(),
                  IsControlEnabled(pControl), pControl->GetChecked(), pControl->GetPopped());
    }

    switch (nType) {
    case qxpControlPopup:
        if (bHasIcon && bCaption)
            return DrawButtonCaption(pDC, pControl, rc, bDraw, nBarType != qxpBarTypeMenuBar, szButton.cx,
                                     szButton.cy, TRUE);
        if (bHasIcon) {
            if (bDraw) {
                int cy = rc.CenterPoint().y;
                DrawTriangle(pDC, CPoint(rc.right - 9, cy - 1), CPoint(rc.right - 5, cy - 1),
                             CPoint(rc.right - 7, cy + 1), pDC->GetTextColor());
            }
            return CSize(szButton.cy + 7, szButton.cy);
        }
        {
            BOOL bArrow = bDraw ? nBarType != qxpBarTypeMenuBar : TRUE;
            CSize sz = DrawControlText(pDC, pControl, rc, bDraw, bVert, TRUE, bArrow);
            return CSize(sz.cx + 6, sz.cy + 6);
        }

    case qxpControlSplitButtonPopup: {
        if (!bHasIcon)
            szButton = CSize(22, 22);
        if (!bCaption)
            return CSize(szButton.cx + m_nSplitButtonDropDownWidth, szButton.cy);
        CRect rcCaption(rc);
        rcCaption.right -= m_nSplitButtonDropDownWidth;
        CSize sz = DrawButtonCaption(pDC, pControl, rcCaption, bDraw, FALSE, szButton.cx, szButton.cy, bHasIcon);
        return CSize(sz.cx + m_nSplitButtonDropDownWidth, sz.cy);
    }

    case qxpControlButton:
    case qxpControlButtonPopup:
    case qxpControlLabel:
    case qxpControlGallery:
        if (!bCaption)
            return szButton;
        return DrawButtonCaption(pDC, pControl, rc, bDraw, FALSE, bHasIcon ? szButton.cx : 22, szButton.cy,
                                 bHasIcon);

    default:
        return CSize(0, 0);
    }
}

CRect CQXPThemePainter::GetSplitCommandRect(CQXPControlView* pButton)
{
    CRect rc = pButton->GetRect();
    CQXPBarView* pBar = pButton->GetParentBar();
    if (IsPopupBar(pBar)) {
        rc.right -= m_nSplitButtonPopupWidth;
    } else if (pButton->GetStyle() == qxpButtonIconAndCaptionBelow) {
        if (IsVerticalBar(pBar))
            rc.left += GetLargeCaptionHeight();
        else
            rc.bottom -= GetLargeCaptionHeight();
    } else {
        rc.right -= m_nSplitButtonDropDownWidth + 1;
    }
    return rc;
}

// ---------------------------------------------------------------------------
// Edit and combo-box controls.

CSize CQXPThemePainter::DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    return LayoutEditOrCombo(pDC, pControl, bDraw, FALSE);
}

CSize CQXPThemePainter::DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    return LayoutEditOrCombo(pDC, pControl, bDraw, TRUE);
}

CSize CQXPThemePainter::LayoutEditOrCombo(CDC* pDC, CQXPControlView* pControl, BOOL bDraw, BOOL bCombo)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    BOOL bPopup = IsPopupBar(pBar);
    CSize szIcon = GetControlIconSize(pControl);
    CQXPIconImage* pImage = GetShownImage(pControl, szIcon);

    if (bDraw) {
        if (bPopup) {
            DrawControlPopupParent(pDC, pControl, TRUE);
            return CSize(0, 0);
        }
        CRect rc = pControl->GetRect();
        int nCaptionLeft = rc.left + 2;
        if (pImage) {
            int h = DrawnIconHeight(pImage, szIcon);
            DrawImage(pDC, CPoint(rc.left + 3, (rc.top + rc.bottom) / 2 - h / 2), CSize(szIcon.cx, h), pImage, FALSE,
                      FALSE, IsControlEnabled(pControl), FALSE, FALSE);
            nCaptionLeft = rc.left + szIcon.cx + 6;
        }
        if (pControl->IsCaptionVisible()) {
            ScopedFont font(pDC, &m_fontRegular);
            pDC->SetTextColor(GetRectangleTextColor(0, FALSE, IsControlEnabled(pControl), 0, FALSE, BarType(pBar),
                                                    BarPosition(pBar)));
            DrawControlText(pDC, pControl, CRect(nCaptionLeft, rc.top, rc.right, rc.bottom), TRUE, FALSE, FALSE,
                            FALSE);
        }
        return CSize(0, 0);
    }

    // Height.
    int nHeight;
    int nButtonWidth = 0;
    if (m_nFixedControlHeight > 0) {
        nHeight = m_nFixedControlHeight;
    } else {
        int nSpace = SpaceHeight((HFONT)m_fontIcon.GetSafeHandle());
        if (!bCombo)
            nHeight = nSpace + 7;
        else
            nHeight = nSpace >= 13 ? nSpace + 7 : 20;
    }
    if (bCombo) {
        int n = MulDiv(nHeight, 9, 14);
        nButtonWidth = n >= 14 ? n + 1 : 15;
    }
    BOOL bCaption = pControl->IsCaptionVisible();
    if (bCaption && m_nFixedControlHeight == 0) {
        int h = SpaceHeight((HFONT)m_fontRegular.GetSafeHandle()) + 7;
        if (h >= nHeight)
            nHeight = h;
    }

    // Width and the label.
    CString strCaption = pControl->GetCaption();
    StripAccelerator(strCaption);
    int nCaptionWidth = 0;
    if (pDC) {
        ScopedFont font(pDC, &m_fontRegular);
        nCaptionWidth = TextSize(pDC, strCaption).cx;
    }
    int nLabel, nWidth;
    if (bPopup) {
        int nColumn = GetSplitDropDownWidth(pBar);
        nLabel = nColumn + m_nPopupMargin + nCaptionWidth + 5;
        nWidth = nColumn + pControl->GetWidth();
    } else {
        nLabel = 0;
        if (pImage) {
            nLabel = szIcon.cx + 4;
            int nButtonHeight = pBar ? pBar->GetButtonSize().cy : 22;
            if (nButtonHeight >= nHeight)
                nHeight = nButtonHeight;
        }
        if (bCaption)
            nLabel += nCaptionWidth + 5;
        nWidth = pControl->GetWidth();
    }

    CQXPControlView::EditLayout* pLayout = pControl->GetEditLayout();
    if (pLayout) {
        if (pLayout->nLabelWidth != nLabel || (bCombo && pLayout->nButtonWidth != nButtonWidth))
            pLayout->bLayoutChanged = TRUE;
        pLayout->nLabelWidth = nLabel;
        if (bCombo)
            pLayout->nButtonWidth = nButtonWidth;
    }
    return CSize(nWidth, nHeight);
}

// ---------------------------------------------------------------------------
// Menu items.

int CQXPThemePainter::GetPopupItemIconColumn(CQXPControlView* pControl, CQXPBarView* pBar)
{
    if (pControl->GetType() == qxpControlLabel && !m_bLabelIconColumn)
        return 0;
    CSize szIcon = pBar ? pBar->GetIconSize() : GetAutoIconSize(FALSE);
    int nColumn = GetPopupIconColumnSize(szIcon).cx;
    if (pBar && pBar->IsDoubleIconColumn())
        nColumn *= 2;
    return nColumn;
}

CSize CQXPThemePainter::DrawControlPopupParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    return LayoutPopupItem(pDC, pControl, bDraw);
}

CSize CQXPThemePainter::LayoutPopupItem(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    CSize szIcon = pBar ? pBar->GetIconSize() : GetAutoIconSize(FALSE);
    CSize szColumn = GetPopupIconColumnSize(szIcon);
    int nColumn = GetPopupItemIconColumn(pControl, pBar);
    CRect rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);

    BOOL bBold = pControl->IsDefaultItem();
    ScopedFont font(pDC, GetCommandFont(pBar, bBold));
    if (bDraw)
        pDC->SetTextColor(GetControlTextColor(pControl));

    CString strCaption = pControl->GetCaption();
    CString strStripped = strCaption;
    StripAccelerator(strStripped);
    int nCaptionWidth = TextSize(pDC, strStripped).cx;

    CRect rcText(rc.left + m_nPopupMargin + nColumn, rc.top, rc.right, rc.bottom);
    CRect rcShortcut(rc.left + nColumn + 8, rc.top, rc.right - 19, rc.bottom);
    int nShortcutWidth = 0;
    CString strShortcut = pControl->GetShortcutText();
    if (pControl->GetType() == qxpControlButton && !strShortcut.IsEmpty()) {
        nShortcutWidth = TextSize(pDC, strShortcut).cx;
        rcText.right -= nShortcutWidth + 19;
        if (bDraw) {
            int nMode = pDC->SetBkMode(TRANSPARENT);
            if (!IsControlEnabled(pControl) && m_bEmbossedDisabledText) {
                COLORREF clrOld = pDC->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
                CRect r(rcShortcut);
                r.OffsetRect(1, 1);
                pDC->DrawText(strShortcut, r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
                pDC->SetTextColor(clrOld);
            }
            pDC->DrawText(strShortcut, rcShortcut, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
            pDC->SetBkMode(nMode);
        }
    }

    CString strDescription = pControl->GetDescription();
    CSize szRule5(pControl->GetWidth() > 0 ? pControl->GetWidth()
                                           : m_nPopupMargin + nColumn + nCaptionWidth + nShortcutWidth + 32,
                  pControl->GetHeight() > 0 ? pControl->GetHeight() : szColumn.cy);

    if (pControl->GetStyle() == qxpButtonCaptionAndDescription && !strDescription.IsEmpty()) {
        // A two-part item: the caption in bold, the description under it.
        int nCaptionHeight = m_nTextHeight + 10;
        int nDescriptionWidth = TextSize(pDC, strDescription).cx;
        if (bDraw) {
            {
                ScopedFont bold(pDC, &m_fontRegularBold);
                DrawControlCaption(pDC, pControl, CRect(rcText.left, rc.top, rcText.right, rc.top + nCaptionHeight),
                                   strCaption, DT_SINGLELINE | DT_VCENTER);
            }
            CRect rcDescription(rcText.left, rc.top + nCaptionHeight - 2, rc.right - 10, rc.bottom);
            int nMode = pDC->SetBkMode(TRANSPARENT);
            pDC->DrawText(strDescription, rcDescription, DT_WORDBREAK | DT_NOPREFIX);
            pDC->SetBkMode(nMode);
            return CSize(0, 0);
        }
        CRect rcCalc(0, 0, max(nDescriptionWidth / 2, 1), 0);
        pDC->DrawText(strDescription, rcCalc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        int w = max(m_nPopupMargin + nDescriptionWidth / 2 + nColumn + 32, (int)szRule5.cx);
        int h = max((int)szColumn.cy, nCaptionHeight + rcCalc.Height() + 20 + 19);
        return CSize(w, h);
    }

    if (bDraw) {
        DrawControlCaption(pDC, pControl, rcText, strCaption, DT_SINGLELINE | DT_VCENTER);
        return CSize(0, 0);
    }
    return szRule5;
}
