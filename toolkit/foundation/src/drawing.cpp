// Drawing and window helpers.
#include <qx/drawing.h>
#include <qx/images.h>
#include <qx/sysutil.h>

#include <algorithm>
#include <cctype>
#include <vector>

// ---------------------------------------------------------------------------
// Drawing-helper object

DrawHelpers::DrawHelpers()
    : m_hMsimg32(NULL), m_pfnGradientFill(NULL), m_pfnAlphaBlend(NULL), m_pfnTransparentBlt(NULL)
{
    m_hMsimg32 = ::LoadLibraryA("msimg32.dll");
    if (m_hMsimg32) {
        m_pfnGradientFill = (PFNGRADIENTFILL)(void*)::GetProcAddress(m_hMsimg32, "GradientFill");
        m_pfnAlphaBlend = (PFNALPHABLEND)(void*)::GetProcAddress(m_hMsimg32, "AlphaBlend");
        m_pfnTransparentBlt = (PFNTRANSPARENTBLT)(void*)::GetProcAddress(m_hMsimg32, "TransparentBlt");
    }
}

DrawHelpers::~DrawHelpers()
{
    // The library stays loaded until the process ends: other static objects
    // may still blend while they are destroyed.
}

DrawHelpers* AFXAPI DrawHelpers::Instance()
{
    static DrawHelpers s_helpers;
    return &s_helpers;
}

namespace {

void FillSolid(HDC hdc, const RECT& rc, COLORREF clr)
{
    COLORREF old = ::SetBkColor(hdc, clr);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    ::SetBkColor(hdc, old);
}

} // namespace

BOOL DrawHelpers::GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh, ULONG ulMode)
{
    return m_pfnGradientFill ? m_pfnGradientFill(hdc, pVertex, nVertex, pMesh, nMesh, ulMode) : FALSE;
}

void DrawHelpers::BandFill(HDC hdc, LPCRECT lpRect, COLORREF clrA, COLORREF clrB, BOOL bHorz)
{
    RECT rcClip;
    RECT rc = *lpRect;
    if (::GetClipBox(hdc, &rcClip) != NULLREGION && !::IsRectEmpty(&rcClip)) {
        if (!::IntersectRect(&rc, lpRect, &rcClip))
            return;
    }
    if (bHorz) {
        int extent = std::max(1, (int)(lpRect->right - lpRect->left));
        for (int x = rc.left; x < rc.right; ++x) {
            RECT band = {x, rc.top, x + 1, rc.bottom};
            FillSolid(hdc, band, BlendColors(clrA, clrB, 1.0 - (double)(x - lpRect->left) / extent));
        }
    } else {
        int extent = std::max(1, (int)(lpRect->bottom - lpRect->top));
        for (int y = rc.top; y < rc.bottom; ++y) {
            RECT band = {rc.left, y, rc.right, y + 1};
            FillSolid(hdc, band, BlendColors(clrA, clrB, 1.0 - (double)(y - lpRect->top) / extent));
        }
    }
}

void DrawHelpers::FillGradient(HDC hdc, LPCRECT lpRect, COLORREF clrA, COLORREF clrB, BOOL bHorz)
{
    if (!lpRect || ::IsRectEmpty(lpRect))
        return;
    if (clrA == clrB || IsLowColorDisplay()) {
        FillSolid(hdc, *lpRect, clrA);
        return;
    }
    if (m_pfnGradientFill && !(IsLayoutRTL(hdc) && GetOSVersionInfo()->IsWin9x())) {
        TRIVERTEX v[2];
        v[0].x = lpRect->left;
        v[0].y = lpRect->top;
        v[0].Red = (COLOR16)(GetRValue(clrA) << 8);
        v[0].Green = (COLOR16)(GetGValue(clrA) << 8);
        v[0].Blue = (COLOR16)(GetBValue(clrA) << 8);
        v[0].Alpha = 0;
        v[1].x = lpRect->right;
        v[1].y = lpRect->bottom;
        v[1].Red = (COLOR16)(GetRValue(clrB) << 8);
        v[1].Green = (COLOR16)(GetGValue(clrB) << 8);
        v[1].Blue = (COLOR16)(GetBValue(clrB) << 8);
        v[1].Alpha = 0;
        GRADIENT_RECT mesh = {0, 1};
        if (m_pfnGradientFill(hdc, v, 2, &mesh, 1, bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V))
            return;
    }
    BandFill(hdc, lpRect, clrA, clrB, bHorz);
}

void DrawHelpers::FillGradientClipped(HDC hdc, LPCRECT lpRect, COLORREF clrA, COLORREF clrB, BOOL bHorz,
                                      LPCRECT lpClip)
{
    if (!lpRect)
        return;
    if (!lpClip) {
        FillGradient(hdc, lpRect, clrA, clrB, bHorz);
        return;
    }
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, lpRect, lpClip))
        return;
    // The full gradient drawn through a clip: the visible part has exactly
    // the colours of the whole.
    int nSaved = ::SaveDC(hdc);
    ::IntersectClipRect(hdc, rcVisible.left, rcVisible.top, rcVisible.right, rcVisible.bottom);
    FillGradient(hdc, lpRect, clrA, clrB, bHorz);
    ::RestoreDC(hdc, nSaved);
}

void DrawHelpers::FillGradientValue(HDC hdc, LPCRECT lpRect, const GradientColorValue& value, BOOL bHorz,
                                    LPCRECT lpClip)
{
    if (!lpRect || ::IsRectEmpty(lpRect))
        return;
    COLORREF clrStart = value.GetStart(), clrEnd = value.GetEnd();
    if (value.m_fFactor == 0.5f) {
        FillGradientClipped(hdc, lpRect, clrStart, clrEnd, bHorz, lpClip);
        return;
    }
    COLORREF clrMiddle = BlendColors(clrStart, clrEnd, value.m_fFactor);
    RECT first = *lpRect, second = *lpRect;
    if (bHorz)
        first.right = second.left = lpRect->left + (lpRect->right - lpRect->left) / 2;
    else
        first.bottom = second.top = lpRect->top + (lpRect->bottom - lpRect->top) / 2;
    FillGradientClipped(hdc, &first, clrStart, clrMiddle, bHorz, lpClip);
    FillGradientClipped(hdc, &second, clrMiddle, clrEnd, bHorz, lpClip);
}

void DrawHelpers::BlurPixelPairs(HDC hdc, const int* pEntries, int nEntries)
{
    if (!pEntries)
        return;
    for (int i = 0; i < nEntries; ++i) {
        const int* e = pEntries + 4 * i;
        COLORREF a = ::GetPixel(hdc, e[0], e[1]);
        COLORREF b = ::GetPixel(hdc, e[0] + e[2], e[1] + e[3]);
        if (a == CLR_INVALID || b == CLR_INVALID)
            continue;
        ::SetPixel(hdc, e[0], e[1],
                   RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                       (GetBValue(a) + GetBValue(b)) / 2));
    }
}

// ---------------------------------------------------------------------------
// Selectors

GdiObjectSelector::GdiObjectSelector(HDC hdc, HGDIOBJ hObject) : m_hdc(hdc), m_hOld(NULL)
{
    if (m_hdc && hObject)
        m_hOld = ::SelectObject(m_hdc, hObject);
}

GdiObjectSelector::~GdiObjectSelector()
{
    if (m_hdc && m_hOld)
        ::SelectObject(m_hdc, m_hOld);
}

FontSelector::FontSelector(HDC hdc, HFONT hFont, COLORREF clrText)
    : m_hdc(hdc), m_hOldFont(NULL), m_clrOldText((COLORREF)-1)
{
    SetFont(hFont);
    if (m_hdc && clrText != (COLORREF)-1)
        m_clrOldText = ::SetTextColor(m_hdc, clrText);
}

void FontSelector::SetFont(HFONT hFont)
{
    if (!m_hdc || !hFont)
        return;
    HGDIOBJ hOld = ::SelectObject(m_hdc, hFont);
    if (!m_hOldFont)
        m_hOldFont = hOld;
}

FontSelector::~FontSelector()
{
    if (m_hdc && m_hOldFont)
        ::SelectObject(m_hdc, m_hOldFont);
    if (m_hdc && m_clrOldText != (COLORREF)-1)
        ::SetTextColor(m_hdc, m_clrOldText);
}

PenSelector::PenSelector(HDC hdc, COLORREF clr) : m_hdc(hdc), m_hPen(::CreatePen(PS_SOLID, 1, clr)), m_hOld(NULL)
{
    if (m_hdc && m_hPen)
        m_hOld = ::SelectObject(m_hdc, m_hPen);
}

PenSelector::~PenSelector()
{
    if (m_hdc && m_hOld)
        ::SelectObject(m_hdc, m_hOld);
    if (m_hPen)
        ::DeleteObject(m_hPen);
}

BrushSelector::BrushSelector(HDC hdc, COLORREF clr) : m_hdc(hdc), m_hBrush(::CreateSolidBrush(clr)), m_hOld(NULL)
{
    if (m_hdc && m_hBrush)
        m_hOld = ::SelectObject(m_hdc, m_hBrush);
}

BrushSelector::~BrushSelector()
{
    if (m_hdc && m_hOld)
        ::SelectObject(m_hdc, m_hOld);
    if (m_hBrush)
        ::DeleteObject(m_hBrush);
}

GdiObjectDC::GdiObjectDC(HDC hdcCompatible, HGDIOBJ hObject) : m_hdc(::CreateCompatibleDC(hdcCompatible)), m_hOld(NULL)
{
    if (m_hdc && hObject)
        m_hOld = ::SelectObject(m_hdc, hObject);
}

GdiObjectDC::~GdiObjectDC()
{
    if (m_hdc) {
        if (m_hOld)
            ::SelectObject(m_hdc, m_hOld);
        ::DeleteDC(m_hdc);
    }
}

// ---------------------------------------------------------------------------
// Buffered DCs

BufferedDC::BufferedDC(HDC hdcTarget, const RECT& rect) { Init(hdcTarget, rect, rect.right, rect.bottom); }

void BufferedDC::Init(HDC hdcTarget, const RECT& rect, int cx, int cy)
{
    m_hdcTarget = hdcTarget;
    m_rect = rect;
    if (!hdcTarget)
        return;
    HDC hdc = ::CreateCompatibleDC(hdcTarget);
    if (!hdc)
        return;
    Attach(hdc);
    m_hBitmap = ::CreateCompatibleBitmap(hdcTarget, std::max(1, cx), std::max(1, cy));
    if (m_hBitmap)
        m_hOldBitmap = ::SelectObject(hdc, m_hBitmap);
    m_bValid = m_hBitmap != NULL;
}

BufferedDC::~BufferedDC()
{
    if (m_bValid)
        ::BitBlt(m_hdcTarget, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC,
                 m_rect.left, m_rect.top, SRCCOPY);
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    // The framework DC deletes the memory DC itself.
}

PaintBufferDC::PaintBufferDC(HDC hdcPaint, const RECT& rcPaint)
{
    Init(hdcPaint, rcPaint, rcPaint.right, rcPaint.bottom);
    if (m_hDC)
        ::IntersectClipRect(m_hDC, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
}

PaintBufferDC::PaintBufferDC(const PAINTSTRUCT& ps) : PaintBufferDC(ps.hdc, ps.rcPaint) {}

PaintBufferDC::PaintBufferDC(CPaintDC& dcPaint) : PaintBufferDC(dcPaint.m_hDC, dcPaint.m_ps.rcPaint) {}

// ---------------------------------------------------------------------------
// Memory DC

IMPLEMENT_DYNAMIC(CQXMemDC, CDC)

CQXMemDC::CQXMemDC(HDC hdcTarget, const RECT& rect, const GradientColorValue& background, BOOL bHorz)
    : m_hdcTarget(hdcTarget), m_bValid(FALSE), m_rect(rect), m_hBitmap(NULL), m_hOldBitmap(NULL)
{
    if (!hdcTarget)
        return;
    if (::IsRectEmpty(&m_rect))
        ::GetClipBox(hdcTarget, &m_rect);
    HDC hdc = ::CreateCompatibleDC(hdcTarget);
    if (!hdc)
        return;
    Attach(hdc);
    ::SetMapMode(hdc, ::GetMapMode(hdcTarget));
    int cx = std::max(1, (int)(m_rect.right - m_rect.left)), cy = std::max(1, (int)(m_rect.bottom - m_rect.top));
    m_hBitmap = ::CreateCompatibleBitmap(hdcTarget, cx, cy);
    if (!m_hBitmap)
        return;
    m_hOldBitmap = ::SelectObject(hdc, m_hBitmap);
    if (background.m_end.m_clrStandard != (COLORREF)-1 || background.m_end.m_clrOverride != (COLORREF)-1) {
        RECT rc = {0, 0, cx, cy};
        DrawHelpers::Instance()->FillGradient(hdc, &rc, background.GetStart(), background.GetEnd(), bHorz);
    }
    m_bValid = TRUE;
}

CQXMemDC::~CQXMemDC()
{
    if (m_bValid)
        ::BitBlt(m_hdcTarget, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC,
                 0, 0, SRCCOPY);
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

void CQXMemDC::FromDC()
{
    if (m_hDC && m_hBitmap)
        ::BitBlt(m_hDC, 0, 0, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hdcTarget, m_rect.left,
                 m_rect.top, SRCCOPY);
}

BOOL AFXAPI GetTopLevelRectOfDC(HDC hDC, RECT* pRect)
{
    HWND hWnd = hDC ? ::WindowFromDC(hDC) : NULL;
    HWND hRoot = hWnd ? ::GetAncestor(hWnd, GA_ROOT) : NULL;
    if (!hRoot || !pRect)
        return FALSE;
    ::GetClientRect(hRoot, pRect);
    ::MapWindowPoints(hRoot, hWnd, (POINT*)pRect, 2);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Screen capture

ScreenCaptureDC::ScreenCaptureDC(HDC hdcSource, const RECT& rect) : m_hdcSource(hdcSource), m_rect(rect)
{
    if (!hdcSource || ::IsRectEmpty(&m_rect))
        return;
    HDC hdc = ::CreateCompatibleDC(hdcSource);
    if (!hdc)
        return;
    Attach(hdc);
    BYTE* pBits = NULL;
    m_hBitmap = Create32BitDIBSection(hdcSource, Width(), Height(), &pBits);
    if (!m_hBitmap)
        return;
    m_pBits = (DWORD*)pBits;
    m_hOldBitmap = ::SelectObject(hdc, m_hBitmap);
}

ScreenCaptureDC::~ScreenCaptureDC()
{
    if (m_hBitmap && m_bWriteBack)
        ::BitBlt(m_hdcSource, m_rect.left, m_rect.top, Width(), Height(), m_hDC, 0, 0, SRCCOPY);
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

BOOL ScreenCaptureDC::Capture()
{
    if (!m_hBitmap)
        return FALSE;
    return ::BitBlt(m_hDC, 0, 0, Width(), Height(), m_hdcSource, m_rect.left, m_rect.top, SRCCOPY);
}

HBITMAP ScreenCaptureDC::DetachBitmap()
{
    HBITMAP hBitmap = m_hBitmap;
    if (hBitmap && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    m_hOldBitmap = NULL;
    m_hBitmap = NULL;
    m_pBits = NULL;
    return hBitmap;
}

// ---------------------------------------------------------------------------
// Masked bitmap

HICON MaskedBitmap::CreateIcon() const
{
    if (!m_hBitmap)
        return NULL;
    BITMAP bm;
    if (!::GetObjectA(m_hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return NULL;
    COLORREF clrMask = CLR_DEFAULT;
    {
        HDC hdc = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hdc, m_hBitmap);
        clrMask = ::GetPixel(hdc, 0, 0);
        ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
    }
    HIMAGELIST hList = ::ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 1);
    if (!hList)
        return NULL;
    HICON hIcon = NULL;
    if (::ImageList_AddMasked(hList, m_hBitmap, clrMask) >= 0)
        hIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hList);
    return hIcon;
}

// ---------------------------------------------------------------------------
// Splitter tracker

SplitterTracker::SplitterTracker(HWND hWndOwner, BOOL bSolid)
    : m_rcExtra(EmptyRect()), m_bSolid(bSolid), m_hWndOwner(hWndOwner), m_hdc(NULL)
{
}

BOOL AFXAPI QxpDispatchPendingPaint()
{
    MSG msg;
    for (int n = 0; n < 64 && ::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE); n++) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            return FALSE;
        }
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

void SplitterTracker::DrawTracker(const RECT& rcScreen)
{
    RECT rc = rcScreen;
    if (m_hWndDraw) {
        RECT rcWindow = GetWindowRectOf(m_hWndDraw);
        ::OffsetRect(&rc, -rcWindow.left, -rcWindow.top);
        HBRUSH hBrush = ::CreateSolidBrush(m_clrInvert);
        HGDIOBJ hOld = ::SelectObject(m_hdc, hBrush);
        ::PatBlt(m_hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATINVERT);
        ::SelectObject(m_hdc, hOld);
        ::DeleteObject(hBrush);
        return;
    }
    if (m_bSolid) {
        ::InvertRect(m_hdc, &rc);
        if (!::IsRectEmpty(&m_rcExtra))
            ::InvertRect(m_hdc, &m_rcExtra);
        return;
    }
    WORD pattern[8];
    for (int i = 0; i < 8; ++i)
        pattern[i] = (WORD)(0x5555 << (i & 1));
    HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH hBrush = ::CreatePatternBrush(hbm);
    HGDIOBJ hOld = ::SelectObject(m_hdc, hBrush);
    ::PatBlt(m_hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATINVERT);
    if (!::IsRectEmpty(&m_rcExtra))
        ::PatBlt(m_hdc, m_rcExtra.left, m_rcExtra.top, m_rcExtra.right - m_rcExtra.left,
                 m_rcExtra.bottom - m_rcExtra.top, PATINVERT);
    ::SelectObject(m_hdc, hOld);
    ::DeleteObject(hBrush);
    ::DeleteObject(hbm);
}

namespace {

BOOL TrackLoop(SplitterTracker& t, HWND hWndOwner, RECT& rcTrack, int nMin, int nMax, BOOL bHorz, POINT ptStart,
               HDC& hdc, void (SplitterTracker::*draw)(const RECT&))
{
    ::SetCapture(hWndOwner);
    const BOOL bInWindow = t.m_hWndDraw != NULL;
    HWND hDesktop = bInWindow ? t.m_hWndDraw : ::GetDesktopWindow();
    BOOL bLocked = !bInWindow && ::LockWindowUpdate(hDesktop);
    hdc = ::GetDCEx(hDesktop, NULL, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));
    const int offset = bHorz ? ptStart.x - rcTrack.left : ptStart.y - rcTrack.top;
    (t.*draw)(rcTrack);

    BOOL bAccept = FALSE;
    for (;;) {
        if (::GetCapture() != hWndOwner)
            break;
        if (bInWindow && !QxpDispatchPendingPaint())
            break;
        MSG msg;
        int r = ::GetMessageA(&msg, NULL, 0, 0);
        if (r <= 0) {
            if (r == 0)
                ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            POINT pt = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            ::ClientToScreen(msg.hwnd, &pt);
            int pos = (bHorz ? pt.x : pt.y) - offset;
            pos = std::max(nMin, std::min(nMax, pos));
            int cur = bHorz ? rcTrack.left : rcTrack.top;
            if (pos != cur) {
                (t.*draw)(rcTrack);
                if (bHorz)
                    ::OffsetRect(&rcTrack, pos - cur, 0);
                else
                    ::OffsetRect(&rcTrack, 0, pos - cur);
                (t.*draw)(rcTrack);
            }
        } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        } else if (msg.message == WM_LBUTTONUP) {
            bAccept = TRUE;
            break;
        } else {
            ::DispatchMessageA(&msg);
        }
    }
    (t.*draw)(rcTrack);
    if (::GetCapture() == hWndOwner)
        ::ReleaseCapture();
    if (bLocked)
        ::LockWindowUpdate(NULL);
    ::ReleaseDC(hDesktop, hdc);
    hdc = NULL;
    return bAccept;
}

} // namespace

BOOL SplitterTracker::Track(HWND hWndOwner, RECT& rcTrack, int nMin, int nMax, BOOL bHorz)
{
    m_hWndOwner = hWndOwner;
    POINT pt;
    ::GetCursorPos(&pt);
    RECT rc = rcTrack;
    BOOL bOk = TrackLoop(*this, hWndOwner, rc, nMin, nMax, bHorz, pt, m_hdc, &SplitterTracker::DrawTracker);
    if (bOk)
        rcTrack = rc;
    return bOk;
}

BOOL SplitterTracker::Track(const RECT& rcLimits, RECT& rcTrack, POINT ptStart, BOOL bHorz)
{
    int nMin = bHorz ? rcLimits.left : rcLimits.top;
    int nMax = bHorz ? rcLimits.right - (rcTrack.right - rcTrack.left) : rcLimits.bottom - (rcTrack.bottom - rcTrack.top);
    if (nMax < nMin)
        nMax = nMin;
    RECT rc = rcTrack;
    BOOL bOk = TrackLoop(*this, m_hWndOwner, rc, nMin, nMax, bHorz, ptStart, m_hdc, &SplitterTracker::DrawTracker);
    if (bOk)
        rcTrack = rc;
    return bOk;
}

// ---------------------------------------------------------------------------
// Text and fonts

void AFXAPI StripAccelerator(CString& str)
{
    std::string& s = str.str();
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    s.swap(out);
}

void AFXAPI StripAccelerator(LPSTR lpsz)
{
    if (!lpsz || lpsz == (LPSTR)(INT_PTR)-1)
        return;
    char* d = lpsz;
    for (const char* p = lpsz; *p; ++p) {
        if (*p == '&') {
            if (p[1] == '&')
                *d++ = *++p;
            continue;
        }
        *d++ = *p;
    }
    *d = 0;
}

namespace {

int CALLBACK FaceFound(const LOGFONTA* plf, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    const char* face = reinterpret_cast<const char*>(lParam);
    return lstrcmpiA(plf->lfFaceName, face) == 0 ? 0 : 1;
}


// Enumerates the installed families of a face (every face when empty), in
// every character set; the result of the last callback (0: it stopped).
int EnumFontFaces(LPCSTR lpszFace, FONTENUMPROCA pfn, LPARAM lParam)
{
    HWND hDesktop = ::GetDesktopWindow();
    HDC hdc = ::GetWindowDC(hDesktop);
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, lpszFace, LF_FACESIZE);
    int r = ::EnumFontFamiliesExA(hdc, &lf, pfn, lParam, 0);
    ::ReleaseDC(hDesktop, hdc);
    return r;
}

} // namespace

BOOL AFXAPI IsFontInstalled(LPCSTR lpszFace)
{
    if (!lpszFace || !*lpszFace)
        return FALSE;
    // The callback stops the enumeration (result 0) at the face.
    return EnumFontFaces(lpszFace, FaceFound, (LPARAM)lpszFace) == 0;
}

CString AFXAPI DefaultGuiFontFace(BOOL bPreferTahoma)
{
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CString stock(lf.lfFaceName);
    if (GetOSVersionInfo()->IsWin2KOrGreater() && lf.lfCharSet >= 3 && stock.CompareNoCase("MS Shell Dlg") != 0)
        return stock;
    CString face("Arial");
    if (!IsFontInstalled(face))
        face = stock;
    if (bPreferTahoma && IsFontInstalled("Tahoma"))
        face = "Tahoma";
    return face;
}

namespace {

// Takes the first scalable fixed-pitch family with a plain name ("@" faces
// are the vertical forms of East Asian fonts).
int CALLBACK FixedPitchFound(const LOGFONTA* plf, const TEXTMETRICA*, DWORD nFontType, LPARAM lParam)
{
    if ((plf->lfPitchAndFamily & 0x3) != FIXED_PITCH || plf->lfFaceName[0] == '@' ||
        !(nFontType & TRUETYPE_FONTTYPE))
        return 1;
    *reinterpret_cast<CString*>(lParam) = plf->lfFaceName;
    return 0;
}

} // namespace

CString AFXAPI FixedPitchFontFace(LPCSTR lpszWanted)
{
    if (lpszWanted != NULL && IsFontInstalled(lpszWanted))
        return lpszWanted;
    static const char* const kCodeFaces[] = {"Courier New", "Consolas", "Lucida Console",
                                             "DejaVu Sans Mono", "Liberation Mono", "Courier"};
    for (const char* pszFace : kCodeFaces)
        if (IsFontInstalled(pszFace))
            return pszFace;
    CString strFound;
    EnumFontFaces("", FixedPitchFound, (LPARAM)&strFound);
    if (!strFound.IsEmpty())
        return strFound;
    return lpszWanted != NULL ? lpszWanted : "";
}

BOOL AFXAPI MatchesMnemonicKey(UINT nChar, UINT nVirtKey)
{
    UINT ch = ::MapVirtualKeyA(nVirtKey, MAPVK_VK_TO_CHAR) & 0xFFFF;
    if (ch == 0)
        return FALSE;
    auto upper = [](UINT c) { return (UINT)(BYTE)toupper((int)(BYTE)c); };
    const UINT want = upper(nChar);
    if (want == upper(ch))
        return TRUE;
    HKL layouts[32];
    int n = ::GetKeyboardLayoutList(32, layouts);
    for (int i = 0; i < n; ++i) {
        for (int shift = 0; shift < 2; ++shift) {
            BYTE keys[256] = {0};
            if (shift)
                keys[VK_SHIFT] = 0x80;
            WORD out = 0;
            UINT scan = ::MapVirtualKeyExA(nVirtKey, MAPVK_VK_TO_VSC, layouts[i]);
            if (::ToAsciiEx(nVirtKey, scan, keys, &out, 0, layouts[i]) == 1 && upper(out & 0xFF) == want)
                return TRUE;
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Geometry and windows

RECT AFXAPI GetWindowRectOf(HWND hWnd)
{
    RECT rc = EmptyRect();
    if (hWnd && ::IsWindow(hWnd))
        ::GetWindowRect(hWnd, &rc);
    return rc;
}

void AFXAPI GetWindowRectOfHwnd(RECT* pRect, HWND hWnd)
{
    if (pRect)
        *pRect = GetWindowRectOf(hWnd);
}

RECT AFXAPI GetClientRectOf(HWND hWnd)
{
    RECT rc = EmptyRect();
    if (hWnd && ::IsWindow(hWnd))
        ::GetClientRect(hWnd, &rc);
    return rc;
}

POINT AFXAPI CursorPosInClient(HWND hWnd)
{
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    if (hWnd)
        ::ScreenToClient(hWnd, &pt);
    return pt;
}

BOOL AFXAPI IsTopLevelActive(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    HWND hTop = hWnd;
    for (HWND h = ::GetParent(hTop); h; h = ::GetParent(h))
        hTop = h;
    return ::GetForegroundWindow() == ::GetLastActivePopup(hTop);
}

namespace {

typedef DWORD(WINAPI* PFNGETLAYOUT)(HDC);
typedef DWORD(WINAPI* PFNSETLAYOUT)(HDC, DWORD);

void* LayoutFunction(const char* name, void*& slot)
{
    if (slot == (void*)(INT_PTR)-1)
        slot = (void*)::GetProcAddress(::GetModuleHandleA("GDI32.DLL"), name);
    return slot;
}

void* g_pfnGetLayout = (void*)(INT_PTR)-1;
void* g_pfnSetLayout = (void*)(INT_PTR)-1;

} // namespace

DWORD AFXAPI GetDCLayout(HDC hdc)
{
    PFNGETLAYOUT pfn = (PFNGETLAYOUT)LayoutFunction("GetLayout", g_pfnGetLayout);
    if (!pfn || !hdc)
        return 0;
    DWORD dw = pfn(hdc);
    return dw == GDI_ERROR ? 0 : dw;
}

BOOL AFXAPI IsLayoutRTL(HDC hdc) { return (GetDCLayout(hdc) & LAYOUT_RTL) != 0; }

void AFXAPI SetDCLayout(HDC hdc, DWORD dwLayout)
{
    PFNSETLAYOUT pfn = (PFNSETLAYOUT)LayoutFunction("SetLayout", g_pfnSetLayout);
    if (pfn && hdc)
        pfn(hdc, dwLayout);
}

POINT AFXAPI ScreenToWindowPoint(HWND hWnd, POINT pt)
{
    RECT rc = GetWindowRectOf(hWnd);
    POINT out;
    if (hWnd && (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        out.x = rc.right - pt.x;
    else
        out.x = pt.x - rc.left;
    out.y = pt.y - rc.top;
    return out;
}

void AFXAPI AdjustArrowKeyForRTL(HWND hWnd, UINT& nKey)
{
    if (!hWnd || !(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        return;
    if (nKey == VK_LEFT)
        nKey = VK_RIGHT;
    else if (nKey == VK_RIGHT)
        nKey = VK_LEFT;
}

void AFXAPI DrawTriangleOutline(HDC hdc, POINT pt0, POINT pt1, POINT pt2)
{
    POINT pts[3] = {pt0, pt1, pt2};
    ::Polygon(hdc, pts, 3);
}

void AFXAPI DrawFilledTriangle(HDC hdc, POINT pt0, POINT pt1, POINT pt2, COLORREF clr)
{
    PenSelector pen(hdc, clr);
    BrushSelector brush(hdc, clr);
    DrawTriangleOutline(hdc, pt0, pt1, pt2);
}

BOOL AFXAPI StretchBltDC(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc, int cxSrc,
                         int cySrc, DWORD dwRop)
{
    return ::StretchBlt(hdcDest, x, y, cx, cy, hdcSrc, xSrc, ySrc, cxSrc, cySrc, dwRop);
}

void AFXAPI MakeRectOpaque(HDC hdc, LPCRECT lpRect)
{
    if (!hdc || !lpRect || ::IsRectEmpty(lpRect))
        return;
    int cx = lpRect->right - lpRect->left, cy = lpRect->bottom - lpRect->top;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP hbm = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (!hbm)
        return;
    HDC hMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hMem, hbm);
    ::BitBlt(hMem, 0, 0, cx, cy, hdc, lpRect->left, lpRect->top, SRCCOPY);
    ::GdiFlush();
    BYTE* p = static_cast<BYTE*>(pv);
    for (int i = 0; i < cx * cy; ++i)
        p[i * 4 + 3] = 0xFF;
    ::BitBlt(hdc, lpRect->left, lpRect->top, cx, cy, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hbm);
}

void AFXAPI ExcludeRectCorners(HDC hdc, LPCRECT lpRect)
{
    if (!hdc || !lpRect)
        return;
    ::ExcludeClipRect(hdc, lpRect->left, lpRect->top, lpRect->left + 1, lpRect->top + 1);
    ::ExcludeClipRect(hdc, lpRect->right - 1, lpRect->top, lpRect->right, lpRect->top + 1);
    ::ExcludeClipRect(hdc, lpRect->left, lpRect->bottom - 1, lpRect->left + 1, lpRect->bottom);
    ::ExcludeClipRect(hdc, lpRect->right - 1, lpRect->bottom - 1, lpRect->right, lpRect->bottom);
}

HRGN AFXAPI CreateCornerCutRegion(int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return NULL;
    HRGN hRgn = ::CreateRectRgn(1, 0, cx - 1, 1);
    HRGN hMiddle = ::CreateRectRgn(0, 1, cx, cy - 1);
    HRGN hBottom = ::CreateRectRgn(1, cy - 1, cx - 1, cy);
    ::CombineRgn(hRgn, hRgn, hMiddle, RGN_OR);
    ::CombineRgn(hRgn, hRgn, hBottom, RGN_OR);
    ::DeleteObject(hMiddle);
    ::DeleteObject(hBottom);
    return hRgn;
}

void AFXAPI AnimateStretch(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc, int nSteps, int nDuration)
{
    const int cx = rcDest.right - rcDest.left, cy = rcDest.bottom - rcDest.top;
    const int cxSrc = rcSrc.right - rcSrc.left, cySrc = rcSrc.bottom - rcSrc.top;
    if (nSteps > 0) {
        const int nPause = nDuration > 0 ? nDuration / nSteps : 0;
        for (int i = 1; i < nSteps; ++i) {
            ::StretchBlt(hdcDest, rcDest.left, rcDest.top, std::max(1, cx * i / nSteps), std::max(1, cy * i / nSteps),
                         hdcSrc, rcSrc.left, rcSrc.top, cxSrc, cySrc, SRCCOPY);
            ::GdiFlush();
            if (nPause > 0)
                ::Sleep((DWORD)nPause);
        }
    }
    ::StretchBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, hdcSrc, rcSrc.left, rcSrc.top, cxSrc, cySrc, SRCCOPY);
}

BOOL AFXAPI RegisterToolkitWndClass(HINSTANCE hInstance, LPCSTR lpszClassName, UINT nStyle, HICON hIcon)
{
    if (!lpszClassName)
        return FALSE;
    if (!hInstance)
        hInstance = AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (::GetClassInfoA(hInstance, lpszClassName, &wc))
        return TRUE;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = nStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = lpszClassName;
    return ::RegisterClassA(&wc) != 0;
}

// ---------------------------------------------------------------------------
// Mouse hook

namespace {

thread_local HHOOK t_hMouseHook = NULL;
thread_local HWND t_hWndMouseTarget = NULL;

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && t_hWndMouseTarget && lParam) {
        const MOUSEHOOKSTRUCT* p = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        switch (wParam) {
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            RECT rc = GetWindowRectOf(t_hWndMouseTarget);
            if (!::PtInRect(&rc, p->pt)) {
                HWND hOwner = ::GetWindow(t_hWndMouseTarget, GW_OWNER);
                if (!hOwner)
                    hOwner = ::GetParent(t_hWndMouseTarget);
                if (hOwner)
                    ::SetFocus(hOwner);
                return 1;
            }
            break;
        }
        default:
            break;
        }
    }
    return ::CallNextHookEx(t_hMouseHook, nCode, wParam, lParam);
}

} // namespace

void AFXAPI SetMouseHookTarget(HWND hWndTarget)
{
    if (hWndTarget && !t_hMouseHook)
        t_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, MouseHookProc, NULL, ::GetCurrentThreadId());
    t_hWndMouseTarget = hWndTarget;
    if (!hWndTarget && t_hMouseHook) {
        ::UnhookWindowsHookEx(t_hMouseHook);
        t_hMouseHook = NULL;
    }
}

BOOL AFXAPI IsMouseHookActive() { return t_hWndMouseTarget != NULL; }

// ---------------------------------------------------------------------------
// Halftone pattern

void AFXAPI DrawPatternRect(CDC* pDC, const RECT& rc)
{
    DrawPatternRect(pDC, rc, ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE),
                    ToolkitColorManager::Instance()->GetColor(COLOR_BTNHIGHLIGHT));
}

void AFXAPI DrawPatternRect(CDC* pDC, const RECT& rc, COLORREF clrBackColor, COLORREF clrTextColor)
{
    static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, kRows);
    HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
    HDC hdc = pDC->GetSafeHdc();
    HGDIOBJ hOldBrush = ::SelectObject(hdc, hBrush);
    COLORREF clrBack = ::SetBkColor(hdc, clrBackColor);
    COLORREF clrText = ::SetTextColor(hdc, clrTextColor);
    ::PatBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATCOPY);
    ::SetTextColor(hdc, clrText);
    ::SetBkColor(hdc, clrBack);
    ::SelectObject(hdc, hOldBrush);
    ::DeleteObject(hBrush);
    ::DeleteObject(hBitmap);
}
