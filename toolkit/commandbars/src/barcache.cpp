// The command bars' off-screen copy and fades.

#include <qx/barcache.h>
#include <qx/commandbar.h>

#include <algorithm>
#include <cstring>

namespace {

// A 32-bit top-down DIB section; its pixels through *ppBits.
HBITMAP CreateDib(HDC hdc, int cx, int cy, BYTE** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = std::max(1, cx);
    bmi.bmiHeader.biHeight = -std::max(1, cy);
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hbm = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    *ppBits = (BYTE*)pBits;
    return hbm;
}

// Copies an area of one DC into a bitmap at (0, 0).
void CopyInto(HBITMAP hbm, HDC hdcSrc, int x, int y, int cx, int cy)
{
    HDC hdc = ::CreateCompatibleDC(hdcSrc);
    HGDIOBJ hOld = ::SelectObject(hdc, hbm);
    ::BitBlt(hdc, 0, 0, cx, cy, hdcSrc, x, y, SRCCOPY);
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
}

} // namespace

CQXPBarAnimationCache::BarFade::~BarFade()
{
    if (hNew)
        ::DeleteObject(hNew);
    if (hOld)
        ::DeleteObject(hOld);
}

CQXPBarAnimationCache::CQXPBarAnimationCache(CQXPCommandBar* pBar)
    : m_bAnimation(FALSE), m_bBuffered(FALSE), m_pBar(pBar), m_hCache(NULL), m_szCache(0, 0), m_bInvalid(TRUE),
      m_nTimer(0)
{
}

CQXPBarAnimationCache::~CQXPBarAnimationCache()
{
    Reset();
}

HWND CQXPBarAnimationCache::BarWindow() const
{
    HWND hWnd = m_pBar->GetSafeHwnd();
    return hWnd && ::IsWindow(hWnd) ? hWnd : NULL;
}

BOOL CQXPBarAnimationCache::IsFadeEnabled() const
{
    if (!m_bAnimation)
        return FALSE;
    CQXPThemePainter* pPaintManager = m_pBar->GetPaintManager();
    return pPaintManager && pPaintManager->m_bEnableAnimation;
}

void CQXPBarAnimationCache::DeleteCache()
{
    if (m_hCache)
        ::DeleteObject(m_hCache);
    m_hCache = NULL;
    m_szCache = CSize(0, 0);
}

void CQXPBarAnimationCache::ClearFades()
{
    for (BarFade* pFade : m_fades)
        delete pFade;
    m_fades.clear();
    HWND hWnd = BarWindow();
    if (m_nTimer && hWnd)
        ::KillTimer(hWnd, QXP_TID_ANIMATION);
    m_nTimer = 0;
}

void CQXPBarAnimationCache::Reset()
{
    ClearFades();
    DeleteCache();
    m_bInvalid = TRUE;
}

void CQXPBarAnimationCache::PaintBar(HDC hdc, const CRect& rcClip)
{
    CDC* pDC = CDC::FromHandle(hdc);
    int nSaved = ::SaveDC(hdc);
    ::IntersectClipRect(hdc, rcClip.left, rcClip.top, rcClip.right, rcClip.bottom);
    m_pBar->DrawCommandBar(pDC, rcClip);
    ::RestoreDC(hdc, nSaved);
}

void AFXAPI CQXPBarAnimationCache::BlendPixels(BYTE* pDest, const BYTE* pNew, const BYTE* pOld, size_t nBytes,
                                               int nAlpha)
{
    for (size_t i = 0; i < nBytes; i++)
        pDest[i] = (BYTE)(((int)pNew[i] * nAlpha + (int)pOld[i] * (255 - nAlpha)) >> 8);
}

void CQXPBarAnimationCache::RedrawRect(LPCRECT lpRect, BOOL bAnimate)
{
    HWND hWnd = BarWindow();
    if (!hWnd)
        return;
    if (!lpRect) {
        DeleteCache();
        m_bInvalid = TRUE;
        ::InvalidateRect(hWnd, NULL, FALSE);
        return;
    }
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    CRect rc;
    if (!rc.IntersectRect(lpRect, rcClient))
        return;
    if (!m_hCache || !IsCaching() || m_szCache != rcClient.Size() || (bAnimate && !IsFadeEnabled())) {
        if (!m_hCache || !IsCaching() || m_szCache != rcClient.Size()) {
            m_bInvalid = TRUE;
            ::InvalidateRect(hWnd, &rc, FALSE);
            return;
        }
        bAnimate = FALSE;
    }

    // The new look of the area, painted off screen.
    HDC hdcWindow = ::GetDC(hWnd);
    HDC hdcFresh = ::CreateCompatibleDC(hdcWindow);
    HBITMAP hFresh = ::CreateCompatibleBitmap(hdcWindow, rcClient.Width(), rcClient.Height());
    HGDIOBJ hOldFresh = ::SelectObject(hdcFresh, hFresh);
    PaintBar(hdcFresh, rc);
    HDC hdcCache = ::CreateCompatibleDC(hdcWindow);
    HGDIOBJ hOldCache = ::SelectObject(hdcCache, m_hCache);

    if (bAnimate) {
        BarFade* pFade = new BarFade;
        pFade->rc = rc;
        pFade->hNew = CreateDib(hdcWindow, rc.Width(), rc.Height(), &pFade->pNew);
        pFade->hOld = CreateDib(hdcWindow, rc.Width(), rc.Height(), &pFade->pOld);
        if (pFade->hNew && pFade->hOld && pFade->pNew && pFade->pOld) {
            CopyInto(pFade->hNew, hdcFresh, rc.left, rc.top, rc.Width(), rc.Height());
            CopyInto(pFade->hOld, hdcCache, rc.left, rc.top, rc.Width(), rc.Height());
            ::GdiFlush();
            ::BitBlt(hdcCache, rc.left, rc.top, rc.Width(), rc.Height(), hdcFresh, rc.left, rc.top, SRCCOPY);
            size_t nBytes = (size_t)rc.Width() * rc.Height() * 4;
            if (memcmp(pFade->pNew, pFade->pOld, nBytes) == 0) {
                delete pFade; // nothing changed there
            } else {
                ::SelectObject(hdcCache, hOldCache);
                AddFade(pFade);
                hOldCache = ::SelectObject(hdcCache, m_hCache);
            }
        } else {
            delete pFade;
            ::BitBlt(hdcCache, rc.left, rc.top, rc.Width(), rc.Height(), hdcFresh, rc.left, rc.top, SRCCOPY);
            ::BitBlt(hdcWindow, rc.left, rc.top, rc.Width(), rc.Height(), hdcFresh, rc.left, rc.top, SRCCOPY);
        }
    } else {
        ExcludeRect(rc, TRUE);
        ::BitBlt(hdcCache, rc.left, rc.top, rc.Width(), rc.Height(), hdcFresh, rc.left, rc.top, SRCCOPY);
        ::BitBlt(hdcWindow, rc.left, rc.top, rc.Width(), rc.Height(), hdcFresh, rc.left, rc.top, SRCCOPY);
    }
    ::SelectObject(hdcCache, hOldCache);
    ::DeleteDC(hdcCache);
    ::SelectObject(hdcFresh, hOldFresh);
    ::DeleteObject(hFresh);
    ::DeleteDC(hdcFresh);
    ::ReleaseDC(hWnd, hdcWindow);
}

void CQXPBarAnimationCache::ExcludeRect(const CRect& rc, BOOL bKeep)
{
    for (size_t i = 0; i < m_fades.size();) {
        BarFade* pFade = m_fades[i];
        CRect rcInter;
        if (!rcInter.IntersectRect(pFade->rc, rc)) {
            i++;
            continue;
        }
        if (rcInter == pFade->rc) {
            delete pFade;
            m_fades.erase(m_fades.begin() + (long)i);
            continue;
        }
        if (bKeep)
            pFade->exclusions.push_back(rc);
        i++;
    }
}

void CQXPBarAnimationCache::AddFade(BarFade* pFade)
{
    ExcludeRect(pFade->rc, FALSE);
    m_fades.push_back(pFade);
    HWND hWnd = BarWindow();
    if (!m_nTimer && hWnd)
        m_nTimer = ::SetTimer(hWnd, QXP_TID_ANIMATION, QXP_FADE_INTERVAL, NULL);
    if (hWnd) {
        HDC hdc = ::GetDC(hWnd);
        DrawFadeFrame(hdc, pFade);
        ::ReleaseDC(hWnd, hdc);
    }
}

void CQXPBarAnimationCache::DrawFadeFrame(HDC hdc, BarFade* pFade)
{
    CRect rc = pFade->rc;
    if (pFade->nStep >= QXP_FADE_STEPS) {
        if (m_hCache) {
            HDC hdcCache = ::CreateCompatibleDC(hdc);
            HGDIOBJ hOld = ::SelectObject(hdcCache, m_hCache);
            ::BitBlt(hdc, rc.left, rc.top, rc.Width(), rc.Height(), hdcCache, rc.left, rc.top, SRCCOPY);
            ::SelectObject(hdcCache, hOld);
            ::DeleteDC(hdcCache);
        }
    } else {
        int nAlpha = pFade->nStep * 255 / QXP_FADE_STEPS;
        BYTE* pBits = NULL;
        HBITMAP hFrame = CreateDib(hdc, rc.Width(), rc.Height(), &pBits);
        if (hFrame && pBits) {
            ::GdiFlush();
            BlendPixels(pBits, pFade->pNew, pFade->pOld, (size_t)rc.Width() * rc.Height() * 4, nAlpha);
            HDC hdcFrame = ::CreateCompatibleDC(hdc);
            HGDIOBJ hOld = ::SelectObject(hdcFrame, hFrame);
            ::BitBlt(hdc, rc.left, rc.top, rc.Width(), rc.Height(), hdcFrame, 0, 0, SRCCOPY);
            ::SelectObject(hdcFrame, hOld);
            ::DeleteDC(hdcFrame);
        }
        if (hFrame)
            ::DeleteObject(hFrame);
    }
    pFade->nStep++;
}

void CQXPBarAnimationCache::OnAnimationTimer()
{
    HWND hWnd = BarWindow();
    if (!hWnd) {
        ClearFades();
        return;
    }
    HDC hdc = ::GetDC(hWnd);
    // Animations switched off while fades run: every area shows its final
    // look now (the copy already holds it).
    BOOL bFinish = !IsFadeEnabled();
    for (BarFade* pFade : m_fades) {
        if (bFinish && pFade->nStep < QXP_FADE_STEPS)
            pFade->nStep = QXP_FADE_STEPS;
        int nSaved = ::SaveDC(hdc);
        for (const CRect& rcOut : pFade->exclusions)
            ::ExcludeClipRect(hdc, rcOut.left, rcOut.top, rcOut.right, rcOut.bottom);
        DrawFadeFrame(hdc, pFade);
        ::RestoreDC(hdc, nSaved);
    }
    ::ReleaseDC(hWnd, hdc);
    for (size_t i = 0; i < m_fades.size();) {
        if (m_fades[i]->nStep > QXP_FADE_STEPS) {
            delete m_fades[i];
            m_fades.erase(m_fades.begin() + (long)i);
        } else {
            i++;
        }
    }
    if (m_fades.empty() && m_nTimer) {
        ::KillTimer(hWnd, QXP_TID_ANIMATION);
        m_nTimer = 0;
    }
}

void CQXPBarAnimationCache::PaintCached(CDC* pPaintDC, const CRect& rcPaint)
{
    HWND hWnd = BarWindow();
    if (!hWnd)
        return;
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    HDC hdc = pPaintDC->GetSafeHdc();
    if (m_hCache && m_szCache != rcClient.Size())
        DeleteCache();
    if (!IsCaching()) {
        // Painted straight through a buffer.
        DeleteCache();
        HDC hdcMem = ::CreateCompatibleDC(hdc);
        HBITMAP hbm = ::CreateCompatibleBitmap(hdc, std::max(1, rcClient.Width()), std::max(1, rcClient.Height()));
        HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
        PaintBar(hdcMem, rcClient);
        ::BitBlt(hdc, rcPaint.left, rcPaint.top, rcPaint.Width(), rcPaint.Height(), hdcMem, rcPaint.left,
                 rcPaint.top, SRCCOPY);
        ::SelectObject(hdcMem, hOld);
        ::DeleteObject(hbm);
        ::DeleteDC(hdcMem);
        ClearFades();
        m_bInvalid = FALSE;
        return;
    }
    HDC hdcCache = ::CreateCompatibleDC(hdc);
    if (m_bInvalid || !m_hCache) {
        CRect rcDraw = rcPaint;
        if (!m_hCache) {
            m_hCache = ::CreateCompatibleBitmap(hdc, std::max(1, rcClient.Width()), std::max(1, rcClient.Height()));
            m_szCache = rcClient.Size();
            rcDraw = rcClient;
        }
        HGDIOBJ hOld = ::SelectObject(hdcCache, m_hCache);
        PaintBar(hdcCache, rcDraw);
        ::BitBlt(hdc, rcDraw.left, rcDraw.top, rcDraw.Width(), rcDraw.Height(), hdcCache, rcDraw.left, rcDraw.top,
                 SRCCOPY);
        ::SelectObject(hdcCache, hOld);
        ClearFades();
    } else {
        HGDIOBJ hOld = ::SelectObject(hdcCache, m_hCache);
        ::BitBlt(hdc, 0, 0, rcClient.Width(), rcClient.Height(), hdcCache, 0, 0, SRCCOPY);
        ::SelectObject(hdcCache, hOld);
    }
    ::DeleteDC(hdcCache);
    m_bInvalid = FALSE;
}
