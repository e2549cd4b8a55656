// gallerypaint.cpp - COffice2007GalleryPaint: gallery backgrounds, group
// captions, scroll and popup buttons and the light and dark scroll bars,
// from the theme's images and its Toolbar colours.
#include <qx/drawing.h>
#include <qx/office2007.h>

static const COLORREF kDivider = RGB(197, 197, 197);

COffice2007GalleryPaint::COffice2007GalleryPaint(COffice2007Theme* pTheme)
    : CGalleryPainter(pTheme), m_pTheme(pTheme)
{
    m_nUpHeight = 21;
}

void COffice2007GalleryPaint::RefreshMetrics()
{
    CGalleryPainter::RefreshMetrics();
    ThemeResources* r = m_pTheme->GetThemeResources();
    m_clrSelected.Set(r->GetColor("Toolbar", "ControlGallerySelected"));
    m_clrNormal.Set(r->GetColor("Toolbar", "ControlGalleryNormal"));
    m_clrBorder.Set(r->GetColor("Toolbar", "ControlGalleryBorder"));
    m_nUpHeight = 21;
    m_nDownHeight = 19;
}

void COffice2007GalleryPaint::FillBackground(CDC* pDC, const QXPGalleryView& g, CRect rc)
{
    COLORREF clr = g.bInPopupGallery ? m_pTheme->GetColor(qxColorMenuFace)
                                     : (g.bEnabled && g.bSelected ? m_clrSelected.GetColor() : m_clrNormal.GetColor());
    if (clr == QX_COLOR_NONE)
        clr = m_pTheme->GetColor(qxColorMenuFace);
    pDC->FillSolidRect(rc, clr);
    if (g.bBorders && m_clrBorder.GetColor() != QX_COLOR_NONE)
        pDC->Draw3dRect(rc, m_clrBorder.GetColor(), m_clrBorder.GetColor());
    if (g.bBottomDivider)
        m_pTheme->HorizontalLine(pDC, rc.left, rc.bottom - 2, rc.right, kDivider);
}

void COffice2007GalleryPaint::DrawGroupCaption(CDC* pDC, LPCSTR lpszCaption, CRect rc)
{
    pDC->FillSolidRect(rc, m_pTheme->GetColor(qxColorLabelFace));
    m_pTheme->HorizontalLine(pDC, rc.left, rc.bottom - 1, rc.right, kDivider);
    if (!lpszCaption || !*lpszCaption)
        return;
    CRect rcText(rc);
    rcText.DeflateRect(10, 0, 10, 0);
    CFont* pOld = pDC->SelectObject(m_pTheme->GetRegularBoldFont());
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(m_pTheme->GetColor(qxColorMenuText));
    pDC->DrawText(lpszCaption, -1, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOld);
}

int AFXAPI COffice2007GalleryPaint::GetButtonState(const QXPGalleryView& g, int nPart)
{
    BOOL bDisabled = !g.bEnabled || (nPart == qxpGalleryHitUp && !g.bCanScrollUp) ||
                     (nPart == qxpGalleryHitDown && !g.bCanScrollDown);
    if (bDisabled)
        return 4;
    if (g.nPressedPart == nPart)
        return 3;
    if (g.nHotPart == nPart)
        return 2;
    if (g.nHotPart || g.nPressedPart)
        return 1;
    return 0;
}

void COffice2007GalleryPaint::DrawScrollButtons(CDC* pDC, const QXPGalleryView& g)
{
    const CRect& rc = g.rc;
    CRect rcUp(rc.right - 15, rc.top, rc.right, rc.top + m_nUpHeight);
    CRect rcDown(rcUp.left, rcUp.bottom, rc.right, rcUp.bottom + m_nDownHeight);
    CRect rcPopup(rcUp.left, rcDown.bottom, rc.right, rc.bottom);
    const struct {
        const char* name;
        CRect rc;
        int part;
    } buttons[] = {{"CONTROLGALLERYUP", rcUp, qxpGalleryHitUp},
                   {"CONTROLGALLERYDOWN", rcDown, qxpGalleryHitDown},
                   {"CONTROLGALLERYPOPUP", rcPopup, qxpGalleryHitPopup}};
    for (const auto& b : buttons)
        if (!b.rc.IsRectEmpty())
            m_pTheme->DrawThemeImage(pDC, b.name, b.rc, GetButtonState(g, b.part), 5, CRect(0, 0, 0, 0),
                                     QX_THEME_KEY_COLOR);
}

int AFXAPI COffice2007GalleryPaint::GetArrowGlyph(BOOL bVertical, BOOL bBefore, BOOL bEnabled, BOOL bBackground)
{
    // Vertical: up 1-4, down 5-8; horizontal: left 9-12, right 13-16.
    int nFirst = bVertical ? (bBefore ? 1 : 5) : (bBefore ? 9 : 13);
    if (!bEnabled)
        return nFirst + 3;
    return bBackground ? nFirst + 1 : nFirst;
}

void COffice2007GalleryPaint::DrawScrollBar(CDC* pDC, const QXPGalleryScrollBarView& bar)
{
    if (bar.nType != qxpGalleryBarImages && bar.nType != qxpGalleryBarImagesDark) {
        CGalleryPainter::DrawScrollBar(pDC, bar);
        return;
    }
    if (bar.rc.IsRectEmpty())
        return;
    const char* pszDir = bar.bVertical ? "VERTICAL" : "HORIZONTAL";
    const char* pszShade = bar.nType == qxpGalleryBarImages ? "LIGHT" : "DARK";
    CString strTrack, strArrows, strThumb, strGripper;
    strTrack.Format("CONTROLGALLERYSCROLL%s%s", pszDir, pszShade);
    strArrows.Format("CONTROLGALLERYSCROLLARROWS%s%s", pszDir, pszShade);
    strThumb.Format("CONTROLGALLERYSCROLLTHUMB%s", pszDir);
    strGripper.Format("CONTROLGALLERYSCROLLTHUMBGRIPPER%s", pszDir);

    m_pTheme->DrawThemeImage(pDC, strTrack, bar.rc, 0, 2, CRect(0, 0, 0, 0));
    const BOOL bActive = bar.bEnabled && (bar.nHotPart || bar.nPressedPart);
    const struct {
        CRect rc;
        int part;
        BOOL bBefore;
    } arrows[] = {{bar.rcArrowBefore, qxpGalleryHitUp, TRUE}, {bar.rcArrowAfter, qxpGalleryHitDown, FALSE}};
    ThemeBitmap* pGlyphs = m_pTheme->GetImage("CONTROLGALLERYSCROLLARROWGLYPHS");
    for (const auto& a : arrows) {
        if (a.rc.IsRectEmpty())
            continue;
        CRect rcButton(a.rc);
        rcButton.DeflateRect(1, 1);
        if (bActive) {
            int nState = bar.nPressedPart == a.part ? 3 : (bar.nHotPart == a.part ? 2 : 1);
            m_pTheme->DrawThemeImage(pDC, strArrows, rcButton, nState, 4, CRect(0, 0, 0, 0));
        }
        if (pGlyphs) {
            int nCell = GetArrowGlyph(bar.bVertical, a.bBefore, bar.bEnabled, bActive);
            CRect rcSrc(0, (nCell - 1) * 9, 9, nCell * 9);
            CPoint pt(a.rc.left + (a.rc.Width() - 9) / 2, a.rc.top + (a.rc.Height() - 9) / 2);
            pGlyphs->DrawImageOnColor(pDC, CRect(pt, CSize(9, 9)), rcSrc, CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
        }
    }
    if (!bar.bEnabled)
        return;
    if (bar.nPressedPart == qxpGalleryHitPageBefore && !bar.rcPageBefore.IsRectEmpty())
        m_pTheme->DrawThemeImage(pDC, strTrack, bar.rcPageBefore, 1, 2, CRect(0, 0, 0, 0));
    if (bar.nPressedPart == qxpGalleryHitPageAfter && !bar.rcPageAfter.IsRectEmpty())
        m_pTheme->DrawThemeImage(pDC, strTrack, bar.rcPageAfter, 1, 2, CRect(0, 0, 0, 0));
    if (bar.rcThumb.IsRectEmpty())
        return;
    m_pTheme->DrawThemeImage(pDC, strThumb, bar.rcThumb, 0, 3, CRect(2, 2, 2, 2));
    const int nLength = bar.bVertical ? bar.rcThumb.Height() : bar.rcThumb.Width();
    if (nLength > 10) {
        ThemeBitmap* p = m_pTheme->GetImage(strGripper);
        if (p) {
            CSize sz(p->GetWidth(), p->GetHeight());
            CPoint c = bar.rcThumb.CenterPoint();
            m_pTheme->DrawThemeImage(pDC, strGripper, CRect(CPoint(c.x - sz.cx / 2, c.y - sz.cy / 2), sz), 0, 1,
                                     CRect(0, 0, 0, 0));
        }
    }
}
