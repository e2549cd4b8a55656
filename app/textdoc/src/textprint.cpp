// textprint.cpp - printing of a text view: page count, page header and
// footer, page margins.
#include "textview.h"

#include "textdoc.h"

#include <qx/drawing.h>

#include <algorithm>

namespace {

// The main frame's print settings, or none.
CEditorSettings* EditorSettings()
{
    IEditorFrame* pFrame = GetEditorFrame();
    return pFrame != NULL ? pFrame->GetEditorSettings() : NULL;
}

Sci_Rectangle ToSciRect(const CRect& rc)
{
    Sci_Rectangle r;
    r.left = rc.left;
    r.top = rc.top;
    r.right = rc.right;
    r.bottom = rc.bottom;
    return r;
}

} // namespace

CString CDoodleView::MakeHeaderText(LPCSTR lpszPath, LPCSTR lpszTitle)
{
    CString strPath = lpszPath != NULL ? lpszPath : "";
    // Characters, not bytes: a letter beyond ASCII takes several bytes in
    // the process's char text (UTF-8).
    if (fx::ToWide(strPath).GetLength() < 69)
        return strPath;
    return lpszTitle != NULL ? lpszTitle : "";
}

CRect CDoodleView::GetDeviceMargins(CDC* pDC) const
{
    CRect rc(0, 0, 0, 0);
    CEditorSettings* pSettings = EditorSettings();
    if (pSettings == NULL)
        return rc;
    const RECT& m = pSettings->rcMargins;
    if (m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0)
        return rc;
    int nUnits = pSettings->nMetric == 1 ? 2540 : 1000;
    int dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    int dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    rc.left = ::MulDiv(m.left, dpiX, nUnits);
    rc.right = ::MulDiv(m.right, dpiX, nUnits);
    rc.top = ::MulDiv(m.top, dpiY, nUnits);
    rc.bottom = ::MulDiv(m.bottom, dpiY, nUnits);
    return rc;
}

CRect CDoodleView::ComputeTextRect(CDC* pDC, const CRect& rectArea) const
{
    CRect rcMargins = GetDeviceMargins(pDC);
    CRect rc(rectArea.left + rcMargins.left, rectArea.top + rcMargins.top, rectArea.right - rcMargins.right,
             rectArea.bottom - rcMargins.bottom);
    CEditorSettings* pSettings = EditorSettings();
    if (pSettings != NULL && pSettings->nPrintHeader)
        rc.top += m_print.nBandHeight;
    if (pSettings != NULL && pSettings->nPrintFooter)
        rc.bottom -= m_print.nBandHeight;
    return rc;
}

void CDoodleView::CreatePrintFont(CDC* pDC)
{
    CViewSettings s = GetViewSettings();
    m_print.font.DeleteObject();
    m_print.font.CreatePointFont((s.nFontSize > 0 ? s.nFontSize : 10) * 10,
                                 FixedPitchFontFace(s.pszFontFace != NULL && *s.pszFontFace ? s.pszFontFace
                                                                                            : "Courier New"),
                                 pDC);
    CFont* pOld = pDC->SelectObject(&m_print.font);
    TEXTMETRICA tm = {};
    pDC->GetTextMetrics(&tm);
    pDC->SelectObject(pOld);
    m_print.nLineHeight = std::max(1, (int)(tm.tmHeight + tm.tmExternalLeading));
    m_print.nBandHeight = 2 * m_print.nLineHeight;
}

UINT CDoodleView::CountPages(CDC* pDC)
{
    m_print.Reset();
    CreatePrintFont(pDC);
    CEditorSettings* pSettings = EditorSettings();
    int nVertRes = pDC->GetDeviceCaps(VERTRES);
    int nLines = nVertRes / m_print.nLineHeight;
    if (pSettings != NULL && pSettings->nPrintHeader && nLines > 3)
        nLines -= 2;
    if (pSettings != NULL && pSettings->nPrintFooter && nLines > 3)
        nLines -= 2;
    m_print.nLinesPerPage = nLines;

    CPoint ptOrigin(0, 0);
    pDC->DPtoLP(&ptOrigin);
    m_print.rectPage.SetRect(ptOrigin.x, ptOrigin.y, pDC->GetDeviceCaps(HORZRES), nVertRes);
    CRect rectText = ComputeTextRect(pDC, m_print.rectPage);

    Sci_Position nLength = m_editor.GetLength();
    UINT nPages = 0;
    Sci_Position nStart = 0;
    // A page without room for one line prints nothing: the count ends
    // instead of asking for the same page forever.
    BOOL bRoom = rectText.Height() >= m_print.nLineHeight && rectText.Width() > 0;
    do {
        Sci_RangeToFormatFull fr = {};
        fr.hdc = pDC->GetSafeHdc();
        fr.hdcTarget = pDC->GetSafeHdc();
        fr.rc = ToSciRect(rectText);
        fr.rcPage = ToSciRect(m_print.rectPage);
        fr.chrg.cpMin = nStart;
        fr.chrg.cpMax = nLength;
        Sci_Position nNext = bRoom ? m_editor.FormatRange(FALSE, &fr) : nStart;
        nPages++;
        if (nNext <= nStart)
            break;
        nStart = nNext;
    } while (nStart < nLength);
    m_editor.FormatRange(FALSE, NULL);
    m_print.pageStarts.assign(1, 0);
    m_nPageCount = std::max(1u, nPages);
    return m_nPageCount;
}

Sci_Position CDoodleView::EnsurePageStart(CDC* pDC, UINT nPage, const CRect& rectText, const CRect& rectPage)
{
    if (m_print.nTextLength < 0)
        m_print.nTextLength = m_editor.GetLength();
    if (m_print.pageStarts.empty())
        m_print.pageStarts.assign(1, 0);
    // Pages shown out of order (a preview that jumps ahead): the starts of
    // the pages in between are measured without drawing.
    while (m_print.pageStarts.size() < nPage) {
        Sci_Position nStart = m_print.pageStarts.back();
        if (nStart >= m_print.nTextLength)
            return m_print.nTextLength;
        Sci_RangeToFormatFull fr = {};
        fr.hdc = pDC->m_hAttribDC != NULL ? pDC->m_hAttribDC : pDC->GetSafeHdc();
        fr.hdcTarget = fr.hdc;
        fr.rc = ToSciRect(rectText);
        fr.rcPage = ToSciRect(rectPage);
        fr.chrg.cpMin = nStart;
        fr.chrg.cpMax = m_print.nTextLength;
        Sci_Position nNext = m_editor.FormatRange(FALSE, &fr);
        if (nNext <= nStart)
            return m_print.nTextLength;
        m_print.pageStarts.push_back(nNext);
    }
    return m_print.pageStarts[nPage - 1];
}

BOOL CDoodleView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CDoodleView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CEditorSettings* pSettings = EditorSettings();
    m_editor.SetLineNumberMargin(pSettings != NULL && pSettings->nPrintLineNumbers ? 1 : 0,
                                 CMFCScintilla::LINENUMBER_MARGIN);
    CDoodleDoc* pDoc = GetDocument();
    m_print.strHeader.Empty();
    CString strHeader = pDoc != NULL ? MakeHeaderText(pDoc->GetPathName(), pDoc->GetTitle()) : CString();
    UINT nPages = CountPages(pDC);
    m_print.strHeader = strHeader;
    if (pInfo != NULL)
        pInfo->SetMaxPage(nPages);
}

void CDoodleView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo == NULL || pInfo->m_nCurPage < 1)
        return;
    if (m_print.font.GetSafeHandle() == NULL)
        CreatePrintFont(pDC);
    CEditorSettings* pSettings = EditorSettings();
    CFont* pOldFont = pDC->SelectObject(&m_print.font);
    CRect rectArea = pInfo->m_rectDraw;
    CRect rectText = ComputeTextRect(pDC, rectArea);
    int nLine = m_print.nLineHeight;

    if (pSettings != NULL && pSettings->nPrintHeader) {
        int y = rectText.top - 2 * nLine;
        CRect rcClip(rectText.left, y, rectText.right, y + nLine);
        pDC->ExtTextOut(rectText.left, y, ETO_CLIPPED, &rcClip, m_print.strHeader,
                        m_print.strHeader.GetLength(), NULL);
        int yLine = y + nLine + nLine / 4;
        pDC->MoveTo(rectText.left, yLine);
        pDC->LineTo(rectText.right, yLine);
    }

    UINT nPage = pInfo->m_nCurPage;
    Sci_Position nStart = EnsurePageStart(pDC, nPage, rectText, rectArea);
    Sci_Position nEnd = m_print.nTextLength;
    if (nStart < nEnd && rectText.Height() >= nLine) {
        Sci_RangeToFormatFull fr = {};
        fr.hdc = pDC->GetSafeHdc();
        fr.hdcTarget = pDC->m_hAttribDC != NULL ? pDC->m_hAttribDC : pDC->GetSafeHdc();
        fr.rc = ToSciRect(rectText);
        fr.rcPage = ToSciRect(rectArea);
        fr.chrg.cpMin = nStart;
        fr.chrg.cpMax = nEnd;
        Sci_Position nNext = m_editor.FormatRange(TRUE, &fr);
        if (m_print.pageStarts.size() == nPage)
            m_print.pageStarts.push_back(nNext);
        else if (m_print.pageStarts.size() > nPage)
            m_print.pageStarts[nPage] = nNext;
    }

    if (pSettings != NULL && pSettings->nPrintFooter) {
        int y = rectText.bottom + nLine / 4;
        CString strPage;
        strPage.Format("Page %d", (int)nPage);
        CSize size = pDC->GetTextExtent(strPage);
        int yText = y + nLine + nLine / 4;
        CRect rcClip(rectText.left, yText, rectText.right, yText + nLine);
        pDC->ExtTextOut(rectText.right - size.cx, yText, ETO_CLIPPED, &rcClip, strPage, strPage.GetLength(), NULL);
        pDC->MoveTo(rectText.left, y);
        pDC->LineTo(rectText.right, y);
    }
    pDC->SelectObject(pOldFont);
    CView::OnPrint(pDC, pInfo);
}

void CDoodleView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    m_editor.FormatRange(FALSE, NULL);
    m_print.Reset();
    m_nPageCount = 0;
    CViewSettings s = GetViewSettings();
    m_editor.SetLineNumberMargin(s.nLineNumbers ? 1 : 0, CMFCScintilla::LINENUMBER_MARGIN);
    CView::OnEndPrinting(pDC, pInfo);
}
