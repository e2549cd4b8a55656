// ruler.cpp - the ruler strips in a window's non-client area.
#include "ruler.h"

#include <limits.h>
#include <math.h>
#include <stdio.h>

#include <qx/fonts.h>

IMPLEMENT_DYNAMIC(CRulerBar, CWnd)

const char* const CRulerBar::kClassName = "RulerBarWnd";

namespace {

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

} // namespace

// ---------------------------------------------------------------------------
// CRulerBar

CRulerBar::CRulerBar()
    : m_bHorizontal(TRUE),
      m_nOffset(0),
      m_nUnitPixels(100),
      m_nUnits(100),
      m_dZoom(100.0),
      m_bUseZoom(FALSE),
      m_hFontHorizontal(NULL),
      m_hFontVertical(NULL),
      m_bMarkerShown(FALSE)
{
    ::SetRectEmpty(&m_rcMarker);
    ::SetRectEmpty(&m_rcMarkerPrev);
}

CRulerBar::~CRulerBar()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
    DeleteFonts();
}

void CRulerBar::DeleteFonts()
{
    if (m_hFontHorizontal != NULL)
        ::DeleteObject(m_hFontHorizontal);
    if (m_hFontVertical != NULL)
        ::DeleteObject(m_hFontVertical);
    m_hFontHorizontal = NULL;
    m_hFontVertical = NULL;
}

BOOL CRulerBar::Create(CWnd* pParent, BOOL bHorizontal, const RECT& rect, DWORD dwStyle, int nUnits, UINT nID)
{
    return Create(pParent ? pParent->GetSafeHwnd() : (HWND)NULL, bHorizontal, rect, dwStyle, nUnits, nID);
}

BOOL CRulerBar::Create(HWND hParent, BOOL bHorizontal, const RECT& rect, DWORD dwStyle, int nUnits, UINT nID)
{
    WNDCLASSA wc;
    ::ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = (HICON)::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!AfxRegisterClass(&wc))
        return FALSE;
    if (!CreateEx(WS_EX_NOPARENTNOTIFY, kClassName, "", dwStyle, rect.left, rect.top, Width(rect), Height(rect),
                  hParent, (HMENU)(UINT_PTR)nID))
        return FALSE;
    SetOrientation(bHorizontal, nUnits);
    return TRUE;
}

void CRulerBar::SetOrientation(BOOL bHorizontal, int nUnits)
{
    m_bHorizontal = bHorizontal;
    m_nUnits = nUnits > 0 ? nUnits : 100;
    DeleteFonts();
    LOGFONTA lf;
    ::ZeroMemory(&lf, sizeof(lf));
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    // The face of the toolkit's UI font.
    LOGFONTA lfUI;
    HFONT hUI = GetGlobalUIFonts()->GetNormalFont();
    if (hUI != NULL && ::GetObjectA(hUI, sizeof(lfUI), &lfUI) == sizeof(lfUI))
        ::lstrcpynA(lf.lfFaceName, lfUI.lfFaceName, LF_FACESIZE);
    m_hFontHorizontal = ::CreateFontIndirectA(&lf);
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    m_hFontVertical = ::CreateFontIndirectA(&lf);
}

BOOL CRulerBar::SetOffset(int nOffset)
{
    if (nOffset == m_nOffset)
        return FALSE;
    m_nOffset = nOffset;
    return TRUE;
}

void CRulerBar::ComputeMarks(int nLength, std::vector<Mark>& marks) const
{
    marks.clear();
    const int nSubdivisions = m_nUnits == 100 ? 10 : 4;
    const double dMajor = (m_bUseZoom ? m_dZoom : 100.0) * (double)(m_nUnitPixels * 100 / m_nUnits) * 0.01;
    // A step below one pixel would draw nothing but a smear (and loop long).
    if (!(dMajor >= 1.0) || nLength <= 0)
        return;
    const double dMinor = dMajor / nSubdivisions;
    const double dOffset = m_nOffset;
    const double dPhase = fmod(dOffset, dMajor);
    const int nFirstUnit = (int)floor(dOffset / dMajor);
    const double dStart = nSubdivisions - fmod(dOffset, m_nUnitPixels * 0.1);
    const double dLimit = nLength + dMajor + m_nUnitPixels * 0.2;

    for (int k = 0; dStart + k * dMajor < dLimit; ++k) {
        const double dUnitPos = k * dMajor - dPhase;
        const int nUnit = nFirstUnit + k;
        Mark mark;
        mark.nUnit = nUnit;
        mark.szText[0] = '\0';
        if (dMinor > 7.0) {
            for (int i = 1; i < nSubdivisions; ++i) {
                double dPos = floor(dUnitPos + i * dMinor + 0.5);
                if (dPos < 0 || dPos > nLength)
                    continue;
                mark.dPos = dPos;
                mark.nKind = i == nSubdivisions / 2 ? 1 : 0;
                marks.push_back(mark);
            }
        } else if (dMajor >= 14.0) {
            double dPos = floor(dUnitPos + (dMajor + 1.0) / 2.0);
            if (dPos >= 0 && dPos <= nLength) {
                mark.dPos = dPos;
                mark.nKind = 1;
                marks.push_back(mark);
            }
        }
        if (nUnit > 0) {
            if (dMajor >= 14.0)
                snprintf(mark.szText, sizeof(mark.szText), "%d", nUnit % 10);
            else if (nUnit % 5 == 0)
                snprintf(mark.szText, sizeof(mark.szText), "%d", nUnit % 100);
            if (mark.szText[0] != '\0') {
                mark.dPos = dUnitPos;
                mark.nKind = 2;
                marks.push_back(mark);
            }
        }
    }
}

void CRulerBar::InvertBand(HDC hDC, const RECT& rcInner, int nFrom, int nTo)
{
    if (nFrom >= nTo)
        return;
    if (m_bHorizontal)
        ::PatBlt(hDC, nFrom, rcInner.top, nTo - nFrom, Height(rcInner), DSTINVERT);
    else
        ::PatBlt(hDC, rcInner.left, nFrom, Width(rcInner), nTo - nFrom, DSTINVERT);
}

void CRulerBar::Draw(CDC* pDC, const RECT& rcBar, const RECT& rcClip)
{
    Draw(pDC->GetSafeHdc(), rcBar, rcClip);
}

void CRulerBar::Draw(HDC hDC, const RECT& rcBar, const RECT& rcClip)
{
    RECT rcVisible;
    if (hDC == NULL || !::IntersectRect(&rcVisible, &rcBar, &rcClip))
        return;
    const int cx = Width(rcBar);
    const int cy = Height(rcBar);
    HDC hMem = ::CreateCompatibleDC(hDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, cx, cy);
    if (hMem == NULL || hBitmap == NULL) {
        if (hBitmap != NULL)
            ::DeleteObject(hBitmap);
        if (hMem != NULL)
            ::DeleteDC(hMem);
        return;
    }
    HGDIOBJ hOldBitmap = ::SelectObject(hMem, hBitmap);

    RECT rc = {0, 0, cx, cy};
    ::FillRect(hMem, &rc, ::GetSysColorBrush(COLOR_WINDOW));
    ::DrawEdge(hMem, &rc, EDGE_SUNKEN, BF_RECT);
    RECT rcInner = rc;
    ::InflateRect(&rcInner, -2, -2);
    int nSaved = ::SaveDC(hMem);
    ::IntersectClipRect(hMem, rcInner.left, rcInner.top, rcInner.right, rcInner.bottom);

    HGDIOBJ hOldFont = ::SelectObject(hMem, m_bHorizontal ? m_hFontHorizontal : m_hFontVertical);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ hOldPen = ::SelectObject(hMem, hPen);
    ::SetTextColor(hMem, ::GetSysColor(COLOR_BTNTEXT));
    int nOldMode = ::SetBkMode(hMem, TRANSPARENT);

    const int nLength = m_bHorizontal ? Width(rcInner) : Height(rcInner);
    const int nThickness = m_bHorizontal ? Height(rcInner) : Width(rcInner);
    std::vector<Mark> marks;
    ComputeMarks(nLength, marks);
    int nPrevEnd = INT_MIN;
    for (const Mark& mark : marks) {
        if (mark.nKind != 2) {
            int nTick = mark.nKind == 1 ? nThickness / 2 : nThickness / 4;
            int nAcross = (nThickness - nTick + 1) / 2;
            int nPos = (int)mark.dPos;
            if (m_bHorizontal) {
                ::MoveToEx(hMem, rcInner.left + nPos, rcInner.top + nAcross, NULL);
                ::LineTo(hMem, rcInner.left + nPos, rcInner.top + nAcross + nTick);
            } else {
                ::MoveToEx(hMem, rcInner.left + nAcross, rcInner.top + nPos, NULL);
                ::LineTo(hMem, rcInner.left + nAcross + nTick, rcInner.top + nPos);
            }
            continue;
        }
        int nText = ::lstrlenA(mark.szText);
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hMem, mark.szText, nText, &size);
        if (m_bHorizontal) {
            int x = (int)floor(mark.dPos + rcInner.left + 0.5 - size.cx / 2.0);
            int y = rcInner.top + (nThickness - size.cy) / 2;
            if (x > nPrevEnd) {
                ::TextOutA(hMem, x, y, mark.szText, nText);
                nPrevEnd = x + size.cx;
            }
        } else {
            // The turned text runs upwards from its reference point.
            int x = rcInner.left + (nThickness - size.cy) / 2;
            int y = (int)floor(mark.dPos + rcInner.top + size.cx / 2.0 + 0.5);
            if (y - size.cx > nPrevEnd) {
                ::TextOutA(hMem, x, y, mark.szText, nText);
                nPrevEnd = y;
            }
        }
    }

    ::SetBkMode(hMem, nOldMode);
    ::SelectObject(hMem, hOldPen);
    ::DeleteObject(hPen);
    ::SelectObject(hMem, hOldFont);
    ::RestoreDC(hMem, nSaved);

    // The marker stays where it was: the screen must keep matching what
    // MoveMarker remembers, or its next move would leave a trail.
    if (m_bMarkerShown) {
        RECT rcBand = m_rcMarker;
        ::OffsetRect(&rcBand, -rcBar.left, -rcBar.top);
        if (m_bHorizontal)
            InvertBand(hMem, rcInner, rcBand.left, rcBand.right);
        else
            InvertBand(hMem, rcInner, rcBand.top, rcBand.bottom);
    }

    ::BitBlt(hDC, rcVisible.left, rcVisible.top, Width(rcVisible), Height(rcVisible), hMem,
             rcVisible.left - rcBar.left, rcVisible.top - rcBar.top, SRCCOPY);
    ::SelectObject(hMem, hOldBitmap);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
}

void CRulerBar::MoveMarker(CDC* pDC, const RECT& rcBar, int nPosition, int nWidth)
{
    MoveMarker(pDC->GetSafeHdc(), rcBar, nPosition, nWidth);
}

void CRulerBar::MoveMarker(HDC hDC, const RECT& rcBar, int nPosition, int nWidth)
{
    if (hDC == NULL)
        return;
    RECT rcInner = rcBar;
    ::InflateRect(&rcInner, -2, -2);
    const int nStart = m_bHorizontal ? rcBar.left : rcBar.top;
    const int nEnd = m_bHorizontal ? rcBar.right : rcBar.bottom;
    const int nOldFrom = m_bHorizontal ? m_rcMarker.left : m_rcMarker.top;
    const int nOldTo = m_bHorizontal ? m_rcMarker.right : m_rcMarker.bottom;

    if (!(nPosition > 2 && nPosition < nEnd - nStart)) {
        if (m_bMarkerShown)
            InvertBand(hDC, rcInner, nOldFrom, nOldTo);
        m_bMarkerShown = FALSE;
        ::SetRectEmpty(&m_rcMarker);
        return;
    }

    int nFrom = nStart + nPosition;
    int nTo = nFrom + (nWidth > 0 ? nWidth : 1);
    if (nTo > nEnd - 2)
        nTo = nEnd - 2;
    if (nTo <= nFrom)
        nTo = nFrom;

    if (!m_bMarkerShown) {
        InvertBand(hDC, rcInner, nFrom, nTo);
    } else if (nTo <= nOldFrom || nFrom >= nOldTo) {
        InvertBand(hDC, rcInner, nOldFrom, nOldTo);
        InvertBand(hDC, rcInner, nFrom, nTo);
    } else {
        // Overlapping bands: only the two ends that differ change.
        InvertBand(hDC, rcInner, nFrom < nOldFrom ? nFrom : nOldFrom, nFrom < nOldFrom ? nOldFrom : nFrom);
        InvertBand(hDC, rcInner, nTo < nOldTo ? nTo : nOldTo, nTo < nOldTo ? nOldTo : nTo);
    }
    m_rcMarkerPrev = m_rcMarker;
    if (m_bHorizontal)
        ::SetRect(&m_rcMarker, nFrom, rcInner.top, nTo, rcInner.bottom);
    else
        ::SetRect(&m_rcMarker, rcInner.left, nFrom, rcInner.right, nTo);
    m_bMarkerShown = TRUE;
}

// ---------------------------------------------------------------------------
// CRulerHook

CRulerHook::CRulerHook()
    : m_bShowHorizontal(FALSE), m_bShowVertical(FALSE), m_nHorizontalHeight(18), m_nVerticalWidth(18)
{
    ::SetRectEmpty(&m_rcHorizontal);
    ::SetRectEmpty(&m_rcVertical);
    ::SetRectEmpty(&m_rcCorner);
}

CRulerHook::~CRulerHook()
{
    Detach();
}

BOOL CRulerHook::Attach(HWND hWnd, BOOL bShowHorizontal, BOOL bShowVertical)
{
    if (hWnd == NULL || !::IsWindow(hWnd) || m_hWnd != NULL)
        return FALSE;
    if (!HookWindow(hWnd))
        return FALSE;
    RECT rcEmpty = {0, 0, 0, 0};
    if (!m_horizontal.Create(hWnd, TRUE, rcEmpty, WS_CHILD, 100, 0xFFFF) ||
        !m_vertical.Create(hWnd, FALSE, rcEmpty, WS_CHILD, 100, 0xFFFF)) {
        Detach();
        return FALSE;
    }
    m_bShowHorizontal = bShowHorizontal;
    m_bShowVertical = bShowVertical;
    RecalcLayout(TRUE);
    SyncScrollOffsets();
    return TRUE;
}

void CRulerHook::Detach()
{
    if (m_horizontal.m_hWnd != NULL && ::IsWindow(m_horizontal.m_hWnd))
        m_horizontal.DestroyWindow();
    if (m_vertical.m_hWnd != NULL && ::IsWindow(m_vertical.m_hWnd))
        m_vertical.DestroyWindow();
    HWND hWnd = m_hWnd;
    // The strips go back to the client area only once this hook no longer
    // answers WM_NCCALCSIZE.
    m_bShowHorizontal = FALSE;
    m_bShowVertical = FALSE;
    UnhookWindow();
    if (hWnd != NULL && ::IsWindow(hWnd)) {
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::RedrawWindow(hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
    }
    ::SetRectEmpty(&m_rcHorizontal);
    ::SetRectEmpty(&m_rcVertical);
    ::SetRectEmpty(&m_rcCorner);
    m_horizontal.ResetMarker();
    m_vertical.ResetMarker();
}

void CRulerHook::ShowRulers(BOOL bShowHorizontal, BOOL bShowVertical)
{
    m_bShowHorizontal = bShowHorizontal;
    m_bShowVertical = bShowVertical;
    RecalcLayout(TRUE);
}

void CRulerHook::RedrawFrame()
{
    if (m_hWnd != NULL)
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

void CRulerHook::RecalcLayout(BOOL bRedraw)
{
    if (m_hWnd == NULL)
        return;
    // The frame first, so the client rectangle read below is the new one.
    if (bRedraw)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    RECT rcArea;
    ::GetClientRect(m_hWnd, &rcArea);
    POINT ptOrigin = {0, 0};
    ::ClientToScreen(m_hWnd, &ptOrigin);
    ::OffsetRect(&rcArea, ptOrigin.x - rcWindow.left, ptOrigin.y - rcWindow.top);
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    if (dwStyle & WS_VSCROLL)
        rcArea.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (dwStyle & WS_HSCROLL)
        rcArea.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    if (m_bShowVertical)
        rcArea.left -= m_nVerticalWidth + 2;
    if (m_bShowHorizontal)
        rcArea.top -= m_nHorizontalHeight + 2;

    ::SetRectEmpty(&m_rcCorner);
    ::SetRectEmpty(&m_rcHorizontal);
    ::SetRectEmpty(&m_rcVertical);
    if (m_bShowHorizontal && m_bShowVertical) {
        ::SetRect(&m_rcCorner, rcArea.left, rcArea.top, rcArea.left + m_nVerticalWidth,
                  rcArea.top + m_nHorizontalHeight);
        ::SetRect(&m_rcHorizontal, m_rcCorner.right, rcArea.top, rcArea.right, rcArea.top + m_nHorizontalHeight);
        ::SetRect(&m_rcVertical, rcArea.left, m_rcCorner.bottom, rcArea.left + m_nVerticalWidth, rcArea.bottom);
    } else if (m_bShowHorizontal) {
        ::SetRect(&m_rcHorizontal, rcArea.left, rcArea.top, rcArea.right, rcArea.top + m_nHorizontalHeight);
    } else if (m_bShowVertical) {
        ::SetRect(&m_rcVertical, rcArea.left, rcArea.top, rcArea.left + m_nVerticalWidth, rcArea.bottom);
    }
    // A marker drawn into the old layout is gone with the next paint.
    m_horizontal.ResetMarker();
    m_vertical.ResetMarker();
    if (bRedraw)
        RedrawFrame();
}

int CRulerHook::ScrollToOffset(int nPos, int nPage, int nClientExtent, int nUnitPixels)
{
    LONGLONG llPosition = nPos;
    if (nPos != 0 && nPage != 0)
        llPosition = (LONGLONG)nPos * nClientExtent / nPage;
    if (nUnitPixels <= 0)
        return (int)llPosition;
    return (int)(llPosition * 100 / nUnitPixels * nUnitPixels / 100);
}

int CRulerHook::ScrollOffset(int nBar)
{
    if (m_hWnd == NULL)
        return 0;
    SCROLLINFO si;
    ::ZeroMemory(&si, sizeof(si));
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(m_hWnd, nBar, &si))
        return 0;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    CRulerBar& bar = nBar == SB_HORZ ? m_horizontal : m_vertical;
    return ScrollToOffset(si.nPos, (int)si.nPage, nBar == SB_HORZ ? Width(rcClient) : Height(rcClient),
                          bar.GetUnitPixels());
}

void CRulerHook::OnScroll(int nBar, const SCROLLINFO& si)
{
    if (m_hWnd == NULL)
        return;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    CRulerBar& bar = nBar == 0 ? m_horizontal : m_vertical;
    int nOffset = ScrollToOffset(si.nPos, (int)si.nPage, nBar == 0 ? Width(rcClient) : Height(rcClient),
                                 bar.GetUnitPixels());
    if (bar.SetOffset(nOffset)) {
        HDC hDC = ::GetWindowDC(m_hWnd);
        PaintRulers(hDC);
        ::ReleaseDC(m_hWnd, hDC);
    }
}

BOOL CRulerHook::SyncScrollOffsets()
{
    if (m_hWnd == NULL)
        return FALSE;
    BOOL bChanged = m_horizontal.SetOffset(ScrollOffset(SB_HORZ));
    bChanged = m_vertical.SetOffset(ScrollOffset(SB_VERT)) || bChanged;
    if (bChanged && (m_bShowHorizontal || m_bShowVertical)) {
        HDC hDC = ::GetWindowDC(m_hWnd);
        PaintRulers(hDC);
        ::ReleaseDC(m_hWnd, hDC);
    }
    return bChanged;
}

void CRulerHook::PaintRulers(HDC hDC)
{
    if (hDC == NULL)
        return;
    if (!::IsRectEmpty(&m_rcCorner))
        ::FillRect(hDC, &m_rcCorner, ::GetSysColorBrush(COLOR_BTNFACE));
    HPEN hShadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    if (m_bShowHorizontal && !::IsRectEmpty(&m_rcHorizontal)) {
        const RECT& rc = m_rcHorizontal;
        m_horizontal.Draw(hDC, rc, rc);
        ::MoveToEx(hDC, rc.left + 1, rc.bottom + 1, NULL);
        ::LineTo(hDC, rc.right, rc.bottom + 1);
        HGDIOBJ hOld = ::SelectObject(hDC, hShadow);
        ::MoveToEx(hDC, rc.left, rc.bottom, NULL);
        ::LineTo(hDC, rc.right, rc.bottom);
        ::SelectObject(hDC, hOld);
    }
    if (m_bShowVertical && !::IsRectEmpty(&m_rcVertical)) {
        const RECT& rc = m_rcVertical;
        m_vertical.Draw(hDC, rc, rc);
        ::MoveToEx(hDC, rc.right + 1, rc.top + 1, NULL);
        ::LineTo(hDC, rc.right + 1, rc.bottom);
        HGDIOBJ hOld = ::SelectObject(hDC, hShadow);
        ::MoveToEx(hDC, rc.right, rc.top, NULL);
        ::LineTo(hDC, rc.right, rc.bottom);
        ::SelectObject(hDC, hOld);
    }
    ::DeleteObject(hShadow);
}

LRESULT CRulerHook::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_NCCALCSIZE: {
        LRESULT lResult = COXHookWnd::WindowProc(nMsg, wParam, lParam);
        // Both forms of the message start with the client rectangle.
        RECT* prc = reinterpret_cast<RECT*>(lParam);
        if (prc != NULL) {
            if (m_bShowVertical) {
                prc->left += m_nVerticalWidth + 2;
                if (prc->left > prc->right)
                    prc->left = prc->right;
            }
            if (m_bShowHorizontal) {
                prc->top += m_nHorizontalHeight + 2;
                if (prc->top > prc->bottom)
                    prc->top = prc->bottom;
            }
        }
        return lResult;
    }
    case WM_NCPAINT: {
        LRESULT lResult = COXHookWnd::WindowProc(nMsg, wParam, lParam);
        if (m_bShowHorizontal || m_bShowVertical) {
            HDC hDC = ::GetWindowDC(m_hWnd);
            PaintRulers(hDC);
            ::ReleaseDC(m_hWnd, hDC);
        }
        return lResult;
    }
    case WM_SIZE: {
        LRESULT lResult = COXHookWnd::WindowProc(nMsg, wParam, lParam);
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
            RecalcLayout(FALSE);
            m_horizontal.SetOffset(ScrollOffset(SB_HORZ));
            m_vertical.SetOffset(ScrollOffset(SB_VERT));
            RedrawFrame();
        }
        return lResult;
    }
    case WM_MOUSEMOVE: {
        LRESULT lResult = COXHookWnd::WindowProc(nMsg, wParam, lParam);
        if (m_bShowHorizontal || m_bShowVertical) {
            // The cursor in window coordinates.
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            RECT rcWindow;
            ::GetWindowRect(m_hWnd, &rcWindow);
            ::ClientToScreen(m_hWnd, &pt);
            pt.x -= rcWindow.left;
            pt.y -= rcWindow.top;
            HDC hDC = ::GetWindowDC(m_hWnd);
            if (m_bShowHorizontal)
                m_horizontal.MoveMarker(hDC, m_rcHorizontal, pt.x - m_rcHorizontal.left, 1);
            if (m_bShowVertical)
                m_vertical.MoveMarker(hDC, m_rcVertical, pt.y - m_rcVertical.top, 1);
            ::ReleaseDC(m_hWnd, hDC);
        }
        return lResult;
    }
    case WM_PAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
        // Whatever scrolled the window repaints it: the rulers follow.
        LRESULT lResult = COXHookWnd::WindowProc(nMsg, wParam, lParam);
        if (m_bShowHorizontal || m_bShowVertical)
            SyncScrollOffsets();
        return lResult;
    }
    default:
        return COXHookWnd::WindowProc(nMsg, wParam, lParam);
    }
}
