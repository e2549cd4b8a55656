// GDI object and device-context wrappers.
#include "fx/gdi.h"
#include "fx/except.h"
#include "fx/wnd.h"
#include "handlemap.h"

#include <string>

namespace {

void ClearGdi(CGdiObject* p) { p->m_hObject = NULL; }
void ClearDC(CDC* p) { p->m_hDC = p->m_hAttribDC = NULL; }

fx::detail::HandleMap<CGdiObject, HGDIOBJ>& GdiMap()
{
    static auto* map = new fx::detail::HandleMap<CGdiObject, HGDIOBJ>(&ClearGdi);
    return *map;
}
fx::detail::HandleMap<CDC, HDC>& DCMap()
{
    static auto* map = new fx::detail::HandleMap<CDC, HDC>(&ClearDC);
    return *map;
}

} // namespace

size_t fx::detail::GdiTempCount() { return GdiMap().TemporaryCount(); }
size_t fx::detail::DCTempCount() { return DCMap().TemporaryCount(); }

namespace {

// The kind of temporary object FromHandle makes is chosen by the caller;
// it is handed over in this thread variable because the map's factory takes
// only the handle.
thread_local CGdiObject* (*t_pfnNewGdi)() = NULL;
CGdiObject* NewTempGdi(HGDIOBJ h)
{
    CGdiObject* p = t_pfnNewGdi ? t_pfnNewGdi() : new CGdiObject;
    p->m_hObject = h;
    return p;
}
template <class T>
CGdiObject* NewOf() { return new T; }

CDC* NewTempDC(HDC h)
{
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = h;
    return p;
}

} // namespace

// ---------------------------------------------------------------------------
// CGdiObject and its kinds

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandleOf(HGDIOBJ h, CGdiObject* (*pfnNew)())
{
    t_pfnNewGdi = pfnNew;
    CGdiObject* p = GdiMap().FromHandle(h, &NewTempGdi);
    t_pfnNewGdi = NULL;
    return p;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return FromHandleOf(hObject, &NewOf<CGdiObject>); }
CPen* PASCAL CPen::FromHandle(HPEN h) { return static_cast<CPen*>(FromHandleOf(h, &NewOf<CPen>)); }
CBrush* PASCAL CBrush::FromHandle(HBRUSH h) { return static_cast<CBrush*>(FromHandleOf(h, &NewOf<CBrush>)); }
CFont* PASCAL CFont::FromHandle(HFONT h) { return static_cast<CFont*>(FromHandleOf(h, &NewOf<CFont>)); }
CBitmap* PASCAL CBitmap::FromHandle(HBITMAP h) { return static_cast<CBitmap*>(FromHandleOf(h, &NewOf<CBitmap>)); }
CPalette* PASCAL CPalette::FromHandle(HPALETTE h) { return static_cast<CPalette*>(FromHandleOf(h, &NewOf<CPalette>)); }
CRgn* PASCAL CRgn::FromHandle(HRGN h) { return static_cast<CRgn*>(FromHandleOf(h, &NewOf<CRgn>)); }

void PASCAL CGdiObject::DeleteTempMap() { GdiMap().DeleteTemp(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return FALSE;
    // Attaching a second handle would leak the first: delete it.
    if (m_hObject != NULL && m_hObject != hObject)
        DeleteObject();
    m_hObject = hObject;
    GdiMap().SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h != NULL)
        GdiMap().RemovePermanent(h, this);
    m_hObject = NULL;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    // Stock objects are not deleted (DeleteObject ignores them anyway).
    return (m_hObject = ::GetStockObject(nIndex)) != NULL;
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    if (!CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle))
        AfxThrowResourceException();
}

CBrush::CBrush(COLORREF crColor)
{
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    if (!CreateHatchBrush(nIndex, crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap)
{
    if (!CreatePatternBrush(pBitmap))
        AfxThrowResourceException();
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    if (pBitmap == NULL || pBitmap->m_hObject == NULL)
        return FALSE;
    return Attach(::CreatePatternBrush((HBITMAP)pBitmap->m_hObject));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA logFont;
    ZeroMemory(&logFont, sizeof(logFont));
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName)
        lstrcpynA(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC)
{
    HDC hDC = pDC != NULL && pDC->m_hAttribDC != NULL ? pDC->m_hAttribDC : ::GetDC(NULL);
    // Tenths of a point to logical units: device pixels at the DC's
    // resolution, then through the DC's mapping (the origin cancels out).
    LOGFONTA logFont = *lpLogFont;
    POINT pt = {0, 0};
    pt.y = ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), logFont.lfHeight, 720);
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    logFont.lfHeight = -abs(pt.y - ptOrg.y);
    if (pDC == NULL || pDC->m_hAttribDC == NULL)
        ::ReleaseDC(NULL, hDC);
    return CreateFontIndirect(&logFont);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_BITMAP);
    return Attach(::LoadBitmapA(hInst, lpszResourceName));
}

BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap, UINT nFlags, LPCOLORMAP lpColorMap, int nMapSize)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nIDBitmap), (LPCSTR)RT_BITMAP);
    return Attach(::CreateMappedBitmap(hInst, (INT_PTR)nIDBitmap, nFlags, lpColorMap, nMapSize));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    HDC hDC = pDC ? pDC->m_hDC : NULL;
    if (hDC == NULL) {
        HDC hScreen = ::GetDC(NULL);
        BOOL b = Attach(::CreateCompatibleBitmap(hScreen, nWidth, nHeight));
        ::ReleaseDC(NULL, hScreen);
        return b;
    }
    return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC)
{
    return Attach(::CreateHalftonePalette(pDC ? pDC->m_hDC : NULL));
}

BOOL CRgn::CreateFromPath(CDC* pDC)
{
    return pDC != NULL && Attach(::PathToRegion(pDC->m_hDC));
}

// ---------------------------------------------------------------------------
// CDC

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC()
{
    if (m_hDC != NULL)
        ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) { return DCMap().FromHandle(hDC, &NewTempDC); }
void PASCAL CDC::DeleteTempMap() { DCMap().DeleteTemp(); }

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == NULL)
        return FALSE;
    m_hDC = hDC;
    SetAttribDC(hDC);
    DCMap().SetPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC != NULL)
        DCMap().RemovePermanent(hDC, this);
    ReleaseAttribDC();
    ReleaseOutputDC();
    return hDC;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == NULL)
        return FALSE;
    return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const
{
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

int CDC::SaveDC()
{
    int nRetVal = 0;
    if (m_hAttribDC != NULL)
        nRetVal = ::SaveDC(m_hAttribDC);
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0)
        nRetVal = -1; // the two states can only be restored by "last saved"
    return nRetVal;
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    BOOL bRetVal = TRUE;
    if (m_hDC != NULL && m_hDC != m_hAttribDC)
        bRetVal = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC != NULL)
        bRetVal = ::RestoreDC(m_hAttribDC, nSavedDC);
    return bRetVal;
}

CGdiObject* PASCAL CDC::SelectGdiObject(HDC hDC, HGDIOBJ h)
{
    return CGdiObject::FromHandle(::SelectObject(hDC, h));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    HGDIOBJ hOld = NULL;
    if (m_hDC != NULL && m_hDC != m_hAttribDC)
        hOld = ::SelectObject(m_hDC, hObject);
    if (m_hAttribDC != NULL)
        hOld = ::SelectObject(m_hAttribDC, hObject);
    return hOld;
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    HGDIOBJ hObject = ::GetStockObject(nIndex);
    return CGdiObject::FromHandle(SelectObject(hObject));
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return CPen::FromHandle((HPEN)SelectObject(pPen->GetSafeHandle()));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return CBrush::FromHandle((HBRUSH)SelectObject(pBrush->GetSafeHandle()));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle((HFONT)SelectObject(pFont->GetSafeHandle()));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle((HBITMAP)SelectObject(pBitmap->GetSafeHandle()));
}

int CDC::SelectObject(CRgn* pRgn)
{
    int nRetVal = GDI_ERROR;
    if (m_hDC != NULL && m_hDC != m_hAttribDC)
        nRetVal = (int)(INT_PTR)::SelectObject(m_hDC, pRgn->GetSafeHandle());
    if (m_hAttribDC != NULL)
        nRetVal = (int)(INT_PTR)::SelectObject(m_hAttribDC, pRgn->GetSafeHandle());
    return nRetVal;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return CGdiObject::FromHandle(SelectObject(pObject->GetSafeHandle()));
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return SetBoth<COLORREF>([&](HDC h) { return ::SetBkColor(h, crColor); });
}
int CDC::SetBkMode(int nBkMode)
{
    return SetBoth<int>([&](HDC h) { return ::SetBkMode(h, nBkMode); });
}
COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return SetBoth<COLORREF>([&](HDC h) { return ::SetTextColor(h, crColor); });
}
int CDC::SetROP2(int nDrawMode)
{
    return SetBoth<int>([&](HDC h) { return ::SetROP2(h, nDrawMode); });
}
int CDC::SetPolyFillMode(int nPolyFillMode)
{
    return SetBoth<int>([&](HDC h) { return ::SetPolyFillMode(h, nPolyFillMode); });
}
int CDC::SetStretchBltMode(int nStretchMode)
{
    return SetBoth<int>([&](HDC h) { return ::SetStretchBltMode(h, nStretchMode); });
}
DWORD CDC::SetLayout(DWORD dwLayout)
{
    return SetBoth<DWORD>([&](HDC h) { return ::SetLayout(h, dwLayout); });
}
UINT CDC::SetTextAlign(UINT nFlags)
{
    return SetBoth<UINT>([&](HDC h) { return ::SetTextAlign(h, nFlags); });
}
int CDC::SetTextJustification(int nBreakExtra, int nBreakCount)
{
    return SetBoth<int>([&](HDC h) { return ::SetTextJustification(h, nBreakExtra, nBreakCount); });
}
int CDC::SetTextCharacterExtra(int nCharExtra)
{
    return SetBoth<int>([&](HDC h) { return ::SetTextCharacterExtra(h, nCharExtra); });
}
int CDC::SetMapMode(int nMapMode)
{
    return SetBoth<int>([&](HDC h) { return ::SetMapMode(h, nMapMode); });
}

CPoint CDC::GetViewportOrg() const
{
    POINT point = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &point);
    return point;
}
CPoint CDC::SetViewportOrg(int x, int y)
{
    return SetBoth<CPoint>([&](HDC h) {
        POINT point = {0, 0};
        ::SetViewportOrgEx(h, x, y, &point);
        return CPoint(point);
    });
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    return SetBoth<CPoint>([&](HDC h) {
        POINT point = {0, 0};
        ::OffsetViewportOrgEx(h, nWidth, nHeight, &point);
        return CPoint(point);
    });
}
CSize CDC::GetViewportExt() const
{
    SIZE size = {0, 0};
    ::GetViewportExtEx(m_hAttribDC, &size);
    return size;
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    return SetBoth<CSize>([&](HDC h) {
        SIZE size = {0, 0};
        ::SetViewportExtEx(h, cx, cy, &size);
        return CSize(size);
    });
}
CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return SetBoth<CSize>([&](HDC h) {
        SIZE size = {0, 0};
        ::ScaleViewportExtEx(h, xNum, xDenom, yNum, yDenom, &size);
        return CSize(size);
    });
}
CPoint CDC::GetWindowOrg() const
{
    POINT point = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &point);
    return point;
}
CPoint CDC::SetWindowOrg(int x, int y)
{
    return SetBoth<CPoint>([&](HDC h) {
        POINT point = {0, 0};
        ::SetWindowOrgEx(h, x, y, &point);
        return CPoint(point);
    });
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    return SetBoth<CPoint>([&](HDC h) {
        POINT point = {0, 0};
        ::OffsetWindowOrgEx(h, nWidth, nHeight, &point);
        return CPoint(point);
    });
}
CSize CDC::GetWindowExt() const
{
    SIZE size = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &size);
    return size;
}
CSize CDC::SetWindowExt(int cx, int cy)
{
    return SetBoth<CSize>([&](HDC h) {
        SIZE size = {0, 0};
        ::SetWindowExtEx(h, cx, cy, &size);
        return CSize(size);
    });
}
CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return SetBoth<CSize>([&](HDC h) {
        SIZE size = {0, 0};
        ::ScaleWindowExtEx(h, xNum, xDenom, yNum, yDenom, &size);
        return CSize(size);
    });
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    // Sizes convert by the ratio of the extents, without the origins.
    CSize sizeWinExt = GetWindowExt();
    CSize sizeVpExt = GetViewportExt();
    if (sizeVpExt.cx != 0)
        lpSize->cx = ::MulDiv(lpSize->cx, abs(sizeWinExt.cx), abs(sizeVpExt.cx));
    if (sizeVpExt.cy != 0)
        lpSize->cy = ::MulDiv(lpSize->cy, abs(sizeWinExt.cy), abs(sizeVpExt.cy));
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    CSize sizeWinExt = GetWindowExt();
    CSize sizeVpExt = GetViewportExt();
    if (sizeWinExt.cx != 0)
        lpSize->cx = ::MulDiv(lpSize->cx, abs(sizeVpExt.cx), abs(sizeWinExt.cx));
    if (sizeWinExt.cy != 0)
        lpSize->cy = ::MulDiv(lpSize->cy, abs(sizeVpExt.cy), abs(sizeWinExt.cy));
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    return SetBoth<int>([&](HDC h) { return ::SelectClipRgn(h, (HRGN)pRgn->GetSafeHandle()); });
}
int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    return SetBoth<int>([&](HDC h) { return ::ExtSelectClipRgn(h, (HRGN)pRgn->GetSafeHandle(), nMode); });
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    return SetBoth<int>([&](HDC h) { return ::ExcludeClipRect(h, x1, y1, x2, y2); });
}
int CDC::ExcludeUpdateRgn(CWnd* pWnd)
{
    return ::ExcludeUpdateRgn(m_hDC, pWnd->GetSafeHwnd());
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return SetBoth<int>([&](HDC h) { return ::IntersectClipRect(h, x1, y1, x2, y2); });
}
int CDC::OffsetClipRgn(int x, int y)
{
    return SetBoth<int>([&](HDC h) { return ::OffsetClipRgn(h, x, y); });
}

CPoint CDC::MoveTo(int x, int y)
{
    return SetBoth<CPoint>([&](HDC h) {
        POINT point = {0, 0};
        ::MoveToEx(h, x, y, &point);
        return CPoint(point);
    });
}

BOOL CDC::LineTo(int x, int y)
{
    // The attribute DC keeps the current position in step.
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, NULL);
    return ::LineTo(m_hDC, x, y);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF clrOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CBrush* PASCAL CDC::GetHalftoneBrush()
{
    static CBrush* s_pBrush = [] {
        WORD grayPattern[8];
        for (int i = 0; i < 8; i++)
            grayPattern[i] = (WORD)(0x5555 << (i & 1));
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, grayPattern);
        CBrush* pBrush = new CBrush;
        if (hBitmap != NULL) {
            pBrush->Attach(::CreatePatternBrush(hBitmap));
            ::DeleteObject(hBitmap);
        }
        return pBrush;
    }();
    return s_pBrush;
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast)
{
    // The frame is the rectangle minus its inside; drawn by XOR so drawing
    // the same frame twice erases it.
    CRgn rgnNew, rgnOutside, rgnInside;
    rgnOutside.CreateRectRgnIndirect(lpRect);
    CRect rect = *lpRect;
    rect.InflateRect(-size.cx, -size.cy);
    rect.IntersectRect(rect, lpRect);
    rgnInside.CreateRectRgnIndirect(rect);
    rgnNew.CreateRectRgn(0, 0, 0, 0);
    rgnNew.CombineRgn(&rgnOutside, &rgnInside, RGN_XOR);

    CBrush* pBrushOld = NULL;
    if (pBrush == NULL)
        pBrush = GetHalftoneBrush();
    if (pBrushLast == NULL)
        pBrushLast = pBrush;

    CRgn rgnLast, rgnUpdate;
    if (lpRectLast != NULL) {
        rgnLast.CreateRectRgn(0, 0, 0, 0);
        rgnOutside.SetRectRgn(lpRectLast);
        rect = *lpRectLast;
        rect.InflateRect(-sizeLast.cx, -sizeLast.cy);
        rect.IntersectRect(rect, lpRectLast);
        rgnInside.SetRectRgn(rect);
        rgnLast.CombineRgn(&rgnOutside, &rgnInside, RGN_XOR);
        // Same brush: only the difference of the two frames needs drawing.
        if (pBrush->m_hObject == pBrushLast->m_hObject) {
            rgnUpdate.CreateRectRgn(0, 0, 0, 0);
            rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
        }
    }
    if (pBrush->m_hObject != pBrushLast->m_hObject && lpRectLast != NULL) {
        SelectClipRgn(&rgnLast);
        GetClipBox(&rect);
        pBrushOld = SelectObject(pBrushLast);
        PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
        SelectObject(pBrushOld);
        pBrushOld = NULL;
    }
    SelectClipRgn(rgnUpdate.m_hObject != NULL ? &rgnUpdate : &rgnNew);
    GetClipBox(&rect);
    pBrushOld = SelectObject(pBrush);
    PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    if (pBrushOld != NULL)
        SelectObject(pBrushOld);
    SelectClipRgn(NULL);
}

namespace {

// GDI converts the text of its A functions by the character set of the
// selected font (an ANSI_CHARSET font: code page 1252), not by the process
// code page; the program's strings are UTF-8, so text that is not plain
// ASCII is drawn and measured through the wide functions. Empty when the
// text is plain ASCII (the A function draws it the same).
std::wstring WideIfNeeded(LPCSTR lpsz, int& nCount)
{
    if (nCount < 0)
        nCount = lpsz != NULL ? lstrlenA(lpsz) : 0;
    if (lpsz == NULL)
        return std::wstring();
    for (int i = 0; i < nCount; ++i)
        if ((unsigned char)lpsz[i] >= 0x80)
            return fx::detail::Widen(lpsz, nCount, CP_ACP);
    return std::wstring();
}

} // namespace

BOOL CDC::TextOut(int x, int y, LPCSTR lpszString, int nCount)
{
    std::wstring w = WideIfNeeded(lpszString, nCount);
    if (!w.empty())
        return ::TextOutW(m_hDC, x, y, w.c_str(), (int)w.size());
    return ::TextOutA(m_hDC, x, y, lpszString, nCount);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount, LPINT lpDxWidths)
{
    // Widths are given per byte: such a call keeps the A function.
    int n = (int)nCount;
    std::wstring w = lpDxWidths == NULL ? WideIfNeeded(lpszString, n) : std::wstring();
    if (!w.empty())
        return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, w.c_str(), (UINT)w.size(), NULL);
    return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

CSize CDC::TabbedTextOut(int x, int y, LPCSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                         int nTabOrigin)
{
    std::wstring w = WideIfNeeded(lpszString, nCount);
    LONG l = !w.empty() ? ::TabbedTextOutW(m_hDC, x, y, w.c_str(), (int)w.size(), nTabPositions, lpnTabStopPositions,
                                           nTabOrigin)
                        : ::TabbedTextOutA(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions,
                                           nTabOrigin);
    return CSize(LOWORD(l), HIWORD(l));
}

int CDC::DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    // A text the call may change in place keeps the A function.
    std::wstring w = (nFormat & DT_MODIFYSTRING) ? std::wstring() : WideIfNeeded(lpszString, nCount);
    if (!w.empty())
        return ::DrawTextW(m_hDC, w.c_str(), (int)w.size(), lpRect, nFormat);
    return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawTextEx(LPSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams)
{
    std::wstring w = (nFormat & DT_MODIFYSTRING) ? std::wstring() : WideIfNeeded(lpszString, nCount);
    if (!w.empty())
        return ::DrawTextExW(m_hDC, &w[0], (int)w.size(), lpRect, nFormat, lpDTParams);
    return ::DrawTextExA(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    std::wstring w = WideIfNeeded(lpszString, nCount);
    if (!w.empty())
        ::GetTextExtentPoint32W(m_hAttribDC, w.c_str(), (int)w.size(), &size);
    else
        ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(LPCSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    std::wstring w = WideIfNeeded(lpszString, nCount);
    if (!w.empty())
        ::GetTextExtentPoint32W(m_hDC, w.c_str(), (int)w.size(), &size);
    else
        ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetTabbedTextExtent(LPCSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const
{
    std::wstring w = WideIfNeeded(lpszString, nCount);
    DWORD dw = !w.empty() ? ::GetTabbedTextExtentW(m_hAttribDC, w.c_str(), (int)w.size(), nTabPositions,
                                                   lpnTabStopPositions)
                          : ::GetTabbedTextExtentA(m_hAttribDC, lpszString, nCount, nTabPositions,
                                                   lpnTabStopPositions);
    return CSize(LOWORD(dw), HIWORD(dw));
}

BOOL CDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData, int nCount, int x,
                     int y, int nWidth, int nHeight)
{
    return ::GrayStringA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), (GRAYSTRINGPROC)lpfnOutput, lpData, nCount, x, y,
                         nWidth, nHeight);
}

int CDC::GetTextFace(CString& rString) const
{
    int nLen = ::GetTextFaceA(m_hAttribDC, 0, NULL);
    if (nLen <= 0) {
        rString.Empty();
        return 0;
    }
    int nResult = ::GetTextFaceA(m_hAttribDC, nLen, rString.GetBuffer(nLen));
    rString.ReleaseBuffer();
    return nResult;
}

int CDC::StartDoc(LPCSTR lpszDocName)
{
    DOCINFOA di;
    ZeroMemory(&di, sizeof(di));
    di.cbSize = sizeof(di);
    di.lpszDocName = lpszDocName;
    return StartDoc(&di);
}

// ---------------------------------------------------------------------------
// DCs of windows

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
