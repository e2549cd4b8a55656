// propgridpaint.cpp - the property grid's painter (colours, fonts, rows,
// help and verbs panes, in-place list rows, in-place buttons) and the
// in-place buttons with their collection.
#include <qx/propertygrid.h>

#include <qx/drawing.h>

#include <algorithm>

static COLORREF C(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

static BOOL HasColor(const ColorValue& v)
{
    return v.m_clrStandard != QX_COLOR_NONE || v.m_clrOverride != QX_COLOR_NONE;
}

// Text format of a part: the metrics' flags, else single line and centred.
static UINT TextFormatOf(CQXPPropertyGridPaintMetrics* pMetrics)
{
    return pMetrics ? pMetrics->m_uDrawTextFormat : (UINT)(DT_SINGLELINE | DT_VCENTER);
}

// ---------------------------------------------------------------------------
// Painter

CQXPPropertyGridPainter::CQXPPropertyGridPainter(CQXPPropertyGrid* pGrid)
    : m_nLook(qxpGridLookClassic), m_bTransparent(FALSE), m_pGrid(pGrid), m_clrFace(0), m_clrShadow(0)
{
    m_pMetrics = new CQXPPropertyGridPaintMetrics(this);
    LOGFONTA lf = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
    lf.lfItalic = FALSE;
    lf.lfWeight = FW_NORMAL;
    m_fntNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_pMetrics->m_fntBold.CreateFontIndirect(&lf);
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = TRUE;
    m_fntLink.CreateFontIndirect(&lf);
    RefreshMetrics();
}

CQXPPropertyGridPainter::~CQXPPropertyGridPainter()
{
    m_pMetrics->InternalRelease();
    m_themeTree.CloseThemeData();
    m_themeButton.CloseThemeData();
    m_themeCombo.CloseThemeData();
}

void CQXPPropertyGridPainter::RefreshMetrics()
{
    ToolkitColorManager::Instance()->RefreshColors();
    m_clrFace = C(15);
    m_clrShadow = C(16);
    CQXPPropertyGridPaintMetrics* m = m_pMetrics;
    m->m_clrHelpBack.SetStandard(m_clrFace);
    m->m_clrHelpFore.SetStandard(C(18));
    m->m_clrLine.SetStandard(::GetSysColor(COLOR_SCROLLBAR));
    m->m_clrFore.SetStandard(C(8));
    m->m_clrCategoryFore.SetStandard(C(17));
    m->m_clrBack.SetStandard(C(5));
    m->m_clrReadOnlyFore.SetStandard(C(17));
    m->m_clrVerbFace.Set(C(2));
    m_themeTree.CloseThemeData();
    m_themeButton.CloseThemeData();
    m_themeCombo.CloseThemeData();
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->GetSafeHwnd()) {
        m_themeTree.OpenThemeData(pMain->m_hWnd, L"TREEVIEW");
        m_themeButton.OpenThemeData(pMain->m_hWnd, L"BUTTON");
        m_themeCombo.OpenThemeData(pMain->m_hWnd, L"COMBOBOX");
    }
}

COLORREF CQXPPropertyGridPainter::GetItemTextColor(CQXPPropertyGridItem* pItem, BOOL bValuePart)
{
    if (!pItem)
        return m_pMetrics->m_clrFore;
    CQXPPropertyGridPaintMetrics* m = pItem->GetMetrics(bValuePart, FALSE);
    if (m && HasColor(m->m_clrFore))
        return m->m_clrFore;
    if (pItem->IsCategory())
        return m_pMetrics->m_clrCategoryFore;
    if (pItem->IsReadOnly())
        return m_pMetrics->m_clrReadOnlyFore;
    return m_pMetrics->m_clrFore;
}

COLORREF CQXPPropertyGridPainter::GetItemBackColor(CQXPPropertyGridItem* pItem, BOOL bValuePart)
{
    CQXPPropertyGridPaintMetrics* m = pItem ? pItem->GetMetrics(bValuePart, FALSE) : NULL;
    if (m && HasColor(m->m_clrBack))
        return m->m_clrBack;
    return m_pMetrics->m_clrBack;
}

CFont* CQXPPropertyGridPainter::GetItemFont(CQXPPropertyGridItem* pItem, BOOL bValuePart)
{
    CQXPPropertyGridPaintMetrics* m = pItem ? pItem->GetMetrics(bValuePart, FALSE) : NULL;
    if (m && m->m_fntNormal.GetSafeHandle())
        return &m->m_fntNormal;
    if (pItem && pItem->IsCategory())
        return &m_pMetrics->m_fntBold;
    if (pItem && bValuePart && pItem->IsValueChanged() && m_pGrid && m_pGrid->m_bHighlightChanged)
        return &m_pMetrics->m_fntBold;
    return &m_fntNormal;
}

void CQXPPropertyGridPainter::AdjustValueIndent(CQXPPropertyGridItem*, int&)
{
    // Images come from the grid's image manager; nothing here sets one.
}

void CQXPPropertyGridPainter::AdjustCaptionIndent(CQXPPropertyGridItem*, int&) {}

void CQXPPropertyGridPainter::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    CQXPPropertyGridItem* pItem = (CQXPPropertyGridItem*)lpMIS->itemData;
    CQXPPropertyGridView* pView = m_pGrid ? m_pGrid->m_pView : NULL;
    if (pItem && pView && pView->GetSafeHwnd() && (pView->GetStyle() & LBS_OWNERDRAWVARIABLE))
        pItem->MeasureItem(lpMIS);
}

int CQXPPropertyGridPainter::DrawGridBorder(CDC* pDC, RECT& rc, BOOL bAdjust)
{
    const int nStyle = m_pGrid ? m_pGrid->m_nBorderStyle : qxpGridBorderNone;
    int nThickness = 0;
    CRect r(rc);
    switch (nStyle) {
    case qxpGridBorderFlat:
        nThickness = 1;
        if (pDC)
            pDC->Draw3dRect(r, C(6), C(6));
        break;
    case qxpGridBorderSingle:
        nThickness = 1;
        if (pDC)
            pDC->Draw3dRect(r, m_clrShadow, m_clrShadow);
        break;
    case qxpGridBorderSunken:
        nThickness = 2;
        if (pDC) {
            pDC->Draw3dRect(r, C(16), C(20));
            r.DeflateRect(1, 1);
            pDC->Draw3dRect(r, C(21), C(15));
        }
        break;
    default:
        break;
    }
    if (bAdjust)
        ::InflateRect(&rc, -nThickness, -nThickness);
    return nThickness;
}

void CQXPPropertyGridPainter::FillViewBackground(CDC* pDC, const CRect& rc)
{
    pDC->FillSolidRect(rc, m_pMetrics->m_clrBack);
}

void CQXPPropertyGridPainter::DrawCategoryCaptionBackground(CDC* pDC, const CRect& rc)
{
    pDC->FillSolidRect(rc, m_pMetrics->m_clrLine);
}

void CQXPPropertyGridPainter::FillPropertyGrid(CDC* pDC)
{
    if (!m_pGrid || !m_pGrid->m_hWnd)
        return;
    CRect rc;
    m_pGrid->GetClientRect(&rc);
    HBRUSH hbr = NULL;
    if (m_bTransparent || m_clrFace == C(15)) {
        CWnd* pParent = m_pGrid->GetParent();
        if (pParent && pParent->m_hWnd)
            hbr = (HBRUSH)pParent->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)pDC->GetSafeHdc(), (LPARAM)m_pGrid->m_hWnd);
    }
    if (hbr)
        ::FillRect(pDC->GetSafeHdc(), &rc, hbr);
    else
        pDC->FillSolidRect(rc, m_clrFace);
    pDC->SetBkMode(TRANSPARENT);

    PropertyGridPanes panes = m_pGrid->GetPanes();
    PropertyGridBands bands = CalcPropertyGridBands(rc, panes);
    const BOOL bFill = !(hbr && m_bTransparent);
    if (panes.bHelp) {
        CRect rcHelp(bands.rcHelp);
        if (bFill)
            pDC->FillSolidRect(rcHelp, m_pMetrics->m_clrHelpBack);
        RECT rcBorder = rcHelp;
        DrawGridBorder(pDC, rcBorder, FALSE);
        CQXPPropertyGridItem* pItem = m_pGrid->m_pView ? m_pGrid->m_pView->GetSelectedItem() : NULL;
        if (pItem) {
            pDC->SetTextColor(m_pMetrics->m_clrHelpFore);
            CFont* pOld = pDC->SelectObject(&m_pMetrics->m_fntBold);
            CRect rcCaption(rcHelp);
            rcCaption.DeflateRect(6, 3);
            pDC->DrawText(pItem->GetCaption(), rcCaption, DT_SINGLELINE | DT_NOPREFIX);
            if (!pItem->GetDescription().IsEmpty()) {
                CRect rcCalc(rcCaption);
                pDC->DrawText(pItem->GetCaption(), rcCalc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
                pDC->SelectObject(&m_fntNormal);
                CRect rcText(rcHelp.left + 6, rcHelp.top + rcCalc.Height() + 6, rcHelp.right - 6, rcHelp.bottom - 3);
                pDC->DrawText(pItem->GetDescription(), rcText, DT_WORDBREAK | DT_NOPREFIX);
            }
            pDC->SelectObject(pOld);
        }
    }
    if (panes.nVerbs > 0) {
        CRect rcVerbs(bands.rcVerbs);
        if (bFill)
            pDC->FillSolidRect(rcVerbs, m_pMetrics->m_clrHelpBack);
        RECT rcBorder = rcVerbs;
        DrawGridBorder(pDC, rcBorder, FALSE);
        DrawVerbs(pDC, rcVerbs);
    }
}

void CQXPPropertyGridPainter::LayoutVerbs(CDC* pDC, const CRect& rcVerbs)
{
    LayoutVerbs(pDC, rcVerbs, NULL);
}

void CQXPPropertyGridPainter::LayoutVerbs(CDC* pDC, const CRect& rcVerbs, std::vector<VerbSeparator>* pSeparators)
{
    CQXPPropertyGridVerbs* pVerbs = m_pGrid->GetVerbs();
    std::vector<CString> captions;
    for (int i = 0; i < pVerbs->GetCount(); i++)
        captions.push_back(pVerbs->GetAt(i)->GetCaption());
    CFont* pOld = pDC->SelectObject(&m_fntLink);
    const int nLineHeight = pDC->GetTextExtent("XXX").cy;
    CRect rcArea(rcVerbs);
    rcArea.DeflateRect(6, 4);
    HDC hdc = pDC->GetSafeHdc();
    ::LayoutVerbs(
        rcArea, captions, nLineHeight, 8,
        [hdc](LPCSTR p, int n) {
            SIZE sz = {0, 0};
            ::GetTextExtentPoint32A(hdc, p, n, &sz);
            return (int)sz.cx;
        },
        m_arrVerbPieces, pSeparators);
    pDC->SelectObject(pOld);
}

void CQXPPropertyGridPainter::DrawVerbs(CDC* pDC, const CRect& rcVerbs)
{
    std::vector<VerbSeparator> separators;
    LayoutVerbs(pDC, rcVerbs, &separators);
    CQXPPropertyGridVerbs* pVerbs = m_pGrid->GetVerbs();
    CFont* pOld = pDC->SelectObject(&m_fntLink);
    pDC->SetTextColor(m_pMetrics->m_clrVerbFace);
    const BOOL bFocus = ::GetFocus() == m_pGrid->m_hWnd;
    for (const VerbPiece& piece : m_arrVerbPieces) {
        CRect rc(piece.rc);
        const CString str = pVerbs->GetAt(piece.nVerb)->GetCaption();
        pDC->DrawText(str.GetString() + piece.nStart, piece.nLength, rc, DT_SINGLELINE | DT_NOPREFIX);
        if (bFocus && m_pGrid->m_nFocusedVerb == piece.nVerb) {
            CRect rcFocus(rc);
            rcFocus.bottom += 1;
            pDC->DrawFocusRect(rcFocus);
        }
    }
    pDC->SelectObject(&m_fntNormal);
    pDC->SetTextColor(m_pMetrics->m_clrHelpFore);
    for (const VerbSeparator& sep : separators) {
        CRect rc(sep.rc);
        pDC->DrawText(",", 1, rc, DT_SINGLELINE | DT_NOPREFIX);
    }
    pDC->SelectObject(pOld);
}

void CQXPPropertyGridPainter::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CQXPPropertyGridItem* pItem = (CQXPPropertyGridItem*)lpDIS->itemData;
    CQXPPropertyGridView* pView = m_pGrid ? m_pGrid->m_pView : NULL;
    if (!pItem || !pView)
        return;
    CRect rcRow(lpDIS->rcItem);
    BufferedDC dcBuf(lpDIS->hDC, rcRow);
    CDC& dc = dcBuf;
    dc.FillSolidRect(rcRow, GetItemBackColor(pItem, FALSE));
    dc.SetBkMode(TRANSPARENT);
    const int xDivider = rcRow.left + pView->GetDividerPos();
    CRect rcCaption(rcRow.left, rcRow.top, xDivider, rcRow.bottom);
    CRect rcValue(xDivider, rcRow.top, rcRow.right, rcRow.bottom);
    const COLORREF clrLine = m_pMetrics->m_clrLine;
    const int nLevel = pItem->GetIndent();

    if (pItem->IsCategory()) {
        DrawCategoryCaptionBackground(&dc, rcRow);
        CFont* pOld = dc.SelectObject(GetItemFont(pItem, FALSE));
        dc.SetTextColor(GetItemTextColor(pItem, FALSE));
        CRect rcText(rcRow.left + nLevel * QXP_GRID_INDENT + 13, rcRow.top + 1, rcRow.right, rcRow.bottom - 2);
        CRect rcCalc(rcText);
        dc.DrawText(pItem->GetCaption(), rcCalc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        rcText.right = std::min(rcRow.right, rcText.left + rcCalc.Width() + 4);
        dc.DrawText(pItem->GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT);
        if (lpDIS->itemState & ODS_FOCUS) {
            dc.SetTextColor(RGB(0, 0, 0));
            dc.SetBkColor(RGB(255, 255, 255));
            dc.DrawFocusRect(rcText);
        }
        dc.SelectObject(pOld);
    } else {
        CRect rcV(rcValue);
        rcV.bottom -= 1;
        DrawItemValue(&dc, pItem, rcV);
        CFont* pOld = dc.SelectObject(GetItemFont(pItem, FALSE));
        COLORREF clrText = GetItemTextColor(pItem, FALSE);
        if (lpDIS->itemState & ODS_SELECTED) {
            HWND hFocus = ::GetFocus();
            if (hFocus && (hFocus == pView->m_hWnd || ::IsChild(pView->m_hWnd, hFocus) ||
                           ::GetWindow(hFocus, GW_OWNER) == pView->m_hWnd)) {
                dc.FillSolidRect(rcCaption, C(13));
                clrText = C(14);
            } else {
                dc.FillSolidRect(rcCaption, clrLine);
            }
        }
        for (CQXPPropertyGridItem* p = pItem->GetParentItem(); p; p = p->GetParentItem())
            if (p->IsCategory())
                dc.FillSolidRect(rcRow.left + p->GetIndent() * QXP_GRID_INDENT, rcRow.top, QXP_GRID_INDENT,
                                 rcRow.Height(), clrLine);
        dc.FillSolidRect(0, rcRow.bottom - 1, rcRow.right, 1, clrLine);
        dc.FillSolidRect(xDivider, rcRow.top, 1, rcRow.Height(), clrLine);
        dc.SetTextColor(clrText);
        DrawItemCaption(&dc, pItem, rcCaption);
        dc.SelectObject(pOld);
        if ((lpDIS->itemState & ODS_SELECTED) || m_pGrid->m_bShowInplaceButtonsAlways)
            DrawInplaceButtons(&dc, pItem, rcValue);
    }

    CQXPPropertyGridItem* pNext = pView->GetItem((int)lpDIS->itemID + 1);
    if (pNext && pNext->IsCategory())
        dc.FillSolidRect(pNext->GetIndent() * QXP_GRID_INDENT, rcRow.bottom - 1, rcRow.Width(), 1, m_clrFace);

    if (pItem->HasChilds()) {
        if (!pItem->IsCategory()) {
            int nSaved = dc.SaveDC();
            dc.IntersectClipRect(rcCaption);
            DrawExpandButton(dc, pItem, rcCaption);
            dc.RestoreDC(nSaved);
        } else {
            DrawExpandButton(dc, pItem, rcCaption);
        }
    }
}

void CQXPPropertyGridPainter::DrawItemCaption(CDC* pDC, CQXPPropertyGridItem* pItem, CRect rcCaption)
{
    const int nLevel = pItem->GetIndent();
    CRect rcText(rcCaption);
    rcText.left += (pItem->IsCategory() ? nLevel : nLevel - 1) * QXP_GRID_INDENT + 17;
    rcText.right -= 1;
    rcText.bottom -= 1;
    int x = rcText.left;
    AdjustCaptionIndent(pItem, x);
    rcText.left = x;
    pDC->DrawText(pItem->GetCaption(), rcText, TextFormatOf(pItem->GetMetrics(FALSE, FALSE)) | DT_NOPREFIX);
}

void CQXPPropertyGridPainter::DrawItemValue(CDC* pDC, CQXPPropertyGridItem* pItem, CRect rcValue)
{
    pDC->SetTextColor(GetItemTextColor(pItem, TRUE));
    pDC->FillSolidRect(rcValue, GetItemBackColor(pItem, TRUE));
    rcValue.left += 4;
    if (pItem->OnDrawItemValue(*pDC, rcValue))
        return;
    int x = rcValue.left;
    AdjustValueIndent(pItem, x);
    rcValue.left = x;
    rcValue.DeflateRect(0, 1);
    UINT nFormat = TextFormatOf(pItem->GetMetrics(TRUE, FALSE));
    if (pItem->GetMultiLinesCount() > 1)
        nFormat = (nFormat & ~(UINT)DT_SINGLELINE) | DT_WORDBREAK;
    CFont* pOld = pDC->SelectObject(GetItemFont(pItem, TRUE));
    pDC->DrawText(pItem->GetViewValue(), rcValue, nFormat | DT_NOPREFIX);
    pDC->SelectObject(pOld);
}

void CQXPPropertyGridPainter::DrawExpandButton(CDC& dc, CQXPPropertyGridItem* pItem, CRect rcCaption)
{
    const int nLevel = pItem->GetIndent();
    const int yMiddle = rcCaption.CenterPoint().y;
    CRect rc(rcCaption.left + 2, yMiddle - 4, rcCaption.left + 11, yMiddle + 5);
    if (nLevel > 0)
        rc.OffsetRect((pItem->IsCategory() ? nLevel : nLevel - 1) * QXP_GRID_INDENT, 0);
    if (m_nLook == qxpGridLookVisualStyles && m_themeTree.IsOpen()) {
        m_themeTree.DrawThemeBackground(dc.GetSafeHdc(), 2 /* TVP_GLYPH */, pItem->IsExpanded() ? 2 : 1, &rc);
        return;
    }
    const COLORREF clr = m_pMetrics->m_clrFore;
    if (!pItem->IsCategory())
        dc.FillSolidRect(rc, m_pMetrics->m_clrBack);
    dc.Draw3dRect(rc, clr, clr);
    const int xm = rc.left + rc.Width() / 2, ym = rc.top + rc.Height() / 2;
    dc.FillSolidRect(xm - 2, ym, 5, 1, clr);
    if (!pItem->IsExpanded())
        dc.FillSolidRect(xm, ym - 2, 1, 5, clr);
}

void CQXPPropertyGridPainter::DrawInplaceButtons(CDC* pDC, CQXPPropertyGridItem* pItem, CRect rcValue)
{
    CQXPPropertyGridButtons* pButtons = pItem->GetInplaceButtons();
    int right = rcValue.right;
    for (int i = pButtons->GetCount() - 1; i >= 0; i--) {
        CQXPPropertyGridButton* pButton = pButtons->GetAt(i);
        CRect rc(right - pButton->GetWidth(), rcValue.top, right, rcValue.bottom);
        pButton->Draw(pDC, rc);
        right = rc.left;
    }
}

void CQXPPropertyGridPainter::DrawInplaceButton(CDC* pDC, CQXPPropertyGridButton* pButton)
{
    CRect rc = pButton->GetRect();
    const BOOL bPressedHot = pButton->IsPressed() && pButton->IsHot();
    const BOOL bHot = pButton->IsHot();
    const COLORREF clrGlyph = C(pButton->GetEnabled() ? 18 : 17);
    const BOOL bCombo = pButton->GetID() == QXP_GRID_BUTTON_COMBO;
    const CPoint ptMid = rc.CenterPoint();
    BOOL bThemed = FALSE;
    if (m_nLook == qxpGridLookVisualStyles && m_themeButton.IsOpen() && m_themeCombo.IsOpen()) {
        pDC->FillSolidRect(rc, m_pMetrics->m_clrBack);
        int nState = !pButton->GetEnabled() ? 4 : bPressedHot ? 3
                                              : bHot          ? 2
                                                              : 1;
        if (bCombo) {
            m_themeCombo.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, &rc);
        } else {
            if (nState == 1 && pButton->IsFocused())
                nState = 5;
            m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, &rc);
        }
        bThemed = TRUE;
    } else if (m_nLook == qxpGridLookFlat) {
        pDC->FillSolidRect(rc, C(bPressedHot ? 33 : bHot ? 31
                                                         : 30));
        COLORREF clrFrame = C(bPressedHot ? 50 : bHot ? 32
                                                      : 16);
        pDC->Draw3dRect(rc, clrFrame, clrFrame);
    } else {
        pDC->FillSolidRect(rc, C(15));
        if (!bPressedHot) {
            CRect r(rc);
            pDC->Draw3dRect(r, C(15), C(21));
            r.DeflateRect(1, 1);
            pDC->Draw3dRect(r, C(5), C(16));
        } else {
            pDC->Draw3dRect(rc, C(16), C(16));
        }
    }
    if (bCombo) {
        if (!bThemed)
            DrawFilledTriangle(pDC->GetSafeHdc(), CPoint(ptMid.x - 3, ptMid.y - 1), CPoint(ptMid.x + 3, ptMid.y - 1),
                               CPoint(ptMid.x, ptMid.y + 2), clrGlyph);
    } else if (!pButton->m_strCaption.IsEmpty()) {
        CFont* pOld = pDC->SelectObject(GetItemFont(pButton->m_pItem, TRUE));
        pDC->SetTextColor(clrGlyph);
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(pButton->m_strCaption, rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
        pDC->SelectObject(pOld);
    } else if (pButton->GetID() == QXP_GRID_BUTTON_EXPAND) {
        for (int dx = -4; dx <= 4; dx += 4)
            pDC->FillSolidRect(ptMid.x + dx, ptMid.y + 3, 2, 2, clrGlyph);
    }
    if (pButton->IsFocused()) {
        CRect rcFocus(rc);
        rcFocus.DeflateRect(2, 2);
        pDC->SetTextColor(C(18));
        pDC->SetBkColor(C(15));
        pDC->DrawFocusRect(rcFocus);
    }
}

void CQXPPropertyGridPainter::DrawInplaceListItem(LPDRAWITEMSTRUCT lpDIS)
{
    CQXPPropertyGridItemConstraint* pConstraint = (CQXPPropertyGridItemConstraint*)lpDIS->itemData;
    if (!pConstraint)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    pDC->FillSolidRect(rc, C(bSelected ? 13 : 5));
    pDC->SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    rc.left += 2;
    pDC->DrawText(pConstraint->m_strConstraint, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------
// In-place buttons

CQXPPropertyGridButton::CQXPPropertyGridButton(UINT nID, CQXPPropertyGridItem* pItem)
    : m_nIndex(0), m_nID(nID), m_pItem(pItem), m_pView(pItem ? pItem->GetView() : NULL), m_rcButton(0, 0, 0, 0),
      m_nWidth(::GetSystemMetrics(SM_CXHTHUMB)), m_nImage(-1), m_bEnabled(TRUE), m_bPressed(FALSE)
{
}

BOOL CQXPPropertyGridButton::IsHot() const
{
    CQXPPropertyGridView* pView = m_pItem ? m_pItem->GetView() : NULL;
    return pView && pView->GetHotButton() == this && m_bEnabled;
}

BOOL CQXPPropertyGridButton::IsFocused() const
{
    CQXPPropertyGridView* pView = m_pItem ? m_pItem->GetView() : NULL;
    return pView && pView->GetFocusedButton() == this;
}

void CQXPPropertyGridButton::Draw(CDC* pDC, const CRect& rc)
{
    m_pView = m_pItem ? m_pItem->GetView() : NULL;
    m_rcButton = rc;
    CQXPPropertyGridPainter* pPainter = m_pView ? m_pView->GetPaintManager() : NULL;
    if (pPainter)
        pPainter->DrawInplaceButton(pDC, this);
}

void CQXPPropertyGridButton::OnLButtonDown(UINT, CPoint point)
{
    CQXPPropertyGridView* pView = m_pItem ? m_pItem->GetView() : NULL;
    if (!m_bEnabled || !pView || !pView->m_hWnd)
        return;
    m_bPressed = TRUE;
    pView->SetFocus();
    pView->SetHotButton(m_rcButton.PtInRect(point) ? this : NULL);
    pView->Invalidate(FALSE);
    const HWND hView = pView->m_hWnd;
    ::SetCapture(hView);
    BOOL bClick = FALSE;
    for (;;) {
        if (::GetCapture() != hView)
            break; // the capture went elsewhere: no click
        if (!QxpDispatchPendingPaint())
            break;
        MSG msg;
        int r = ::GetMessageA(&msg, NULL, 0, 0);
        if (r <= 0) {
            if (r == 0)
                ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != hView)
                ::MapWindowPoints(msg.hwnd, hView, &pt, 1);
            CQXPPropertyGridButton* pHot = m_rcButton.PtInRect(pt) ? this : NULL;
            if (pHot != pView->GetHotButton()) {
                pView->SetHotButton(pHot);
                pView->Invalidate(FALSE);
            }
        } else if (msg.message == WM_LBUTTONUP) {
            bClick = IsHot() && m_bEnabled;
            break;
        } else {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bPressed = FALSE;
    if (::GetCapture() == hView)
        ::ReleaseCapture();
    if (::IsWindow(hView))
        ::InvalidateRect(hView, NULL, FALSE);
    if (bClick && m_pItem)
        m_pItem->OnInplaceButtonDown(this);
}

BOOL CQXPPropertyGridButton::OnKeyDown(UINT nChar)
{
    if (!m_pItem || !m_bEnabled)
        return FALSE;
    if (nChar == VK_RETURN || nChar == VK_SPACE || nChar == VK_DOWN || nChar == VK_F4) {
        m_pItem->OnInplaceButtonDown(this);
        return TRUE;
    }
    return FALSE;
}

CQXPPropertyGridButton* CQXPPropertyGridButtons::Find(UINT nID) const
{
    for (CQXPPropertyGridButton* p : m_arr)
        if (p->GetID() == nID)
            return p;
    return NULL;
}

CQXPPropertyGridButton* CQXPPropertyGridButtons::HitTest(CPoint point) const
{
    if (!m_pItem || !m_pItem->IsVisible())
        return NULL;
    for (CQXPPropertyGridButton* p : m_arr)
        if (p->GetRect().PtInRect(point))
            return p;
    return NULL;
}

CQXPPropertyGridButton* CQXPPropertyGridButtons::Add(CQXPPropertyGridButton* pButton)
{
    m_arr.push_back(pButton);
    for (int i = 0; i < GetCount(); i++)
        m_arr[(size_t)i]->m_nIndex = i;
    return pButton;
}

CQXPPropertyGridButton* CQXPPropertyGridButtons::AddComboButton()
{
    CQXPPropertyGridButton* p = Find(QXP_GRID_BUTTON_COMBO);
    return p ? p : Add(new CQXPPropertyGridButton(QXP_GRID_BUTTON_COMBO, m_pItem));
}

CQXPPropertyGridButton* CQXPPropertyGridButtons::AddExpandButton()
{
    CQXPPropertyGridButton* p = Find(QXP_GRID_BUTTON_EXPAND);
    return p ? p : Add(new CQXPPropertyGridButton(QXP_GRID_BUTTON_EXPAND, m_pItem));
}

void CQXPPropertyGridButtons::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    CQXPPropertyGridButton* p = m_arr[(size_t)nIndex];
    m_arr.erase(m_arr.begin() + nIndex);
    CQXPPropertyGridView* pView = m_pItem ? m_pItem->GetView() : NULL;
    if (pView)
        pView->OnButtonRemoved(p);
    p->InternalRelease();
    for (int i = 0; i < GetCount(); i++)
        m_arr[(size_t)i]->m_nIndex = i;
}

void CQXPPropertyGridButtons::Remove(CQXPPropertyGridButton* pButton)
{
    auto it = std::find(m_arr.begin(), m_arr.end(), pButton);
    if (it != m_arr.end())
        Remove((int)(it - m_arr.begin()));
}

void CQXPPropertyGridButtons::RemoveId(UINT nID)
{
    if (CQXPPropertyGridButton* p = Find(nID))
        Remove(p);
}

void CQXPPropertyGridButtons::RemoveAll()
{
    while (!m_arr.empty())
        Remove(GetCount() - 1);
}
