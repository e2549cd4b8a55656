// qx/drawing.h - drawing and window helpers used by every toolkit part:
// gradients (the system's GradientFill when present), scoped selection of GDI
// objects, buffered (off-screen) painting, caption accelerators, font checks,
// right-to-left support, rectangles, a splitter tracking loop, a thread mouse
// hook for in-place controls, the toolkit's memory DC and the halftone
// pattern.
//
// Everything runs on the UI thread. Helpers take raw HDCs; a framework DC
// converts to one (pass *pDC), and the buffered DCs here are framework DCs.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>

// ---------------------------------------------------------------------------
// The process-wide drawing-helper object: "msimg32.dll" and its GradientFill,
// AlphaBlend and TransparentBlt entry points (each NULL when missing).
class DrawHelpers {
public:
    typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    typedef BOOL(WINAPI* PFNALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    typedef BOOL(WINAPI* PFNTRANSPARENTBLT)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

    static DrawHelpers* AFXAPI Instance();

    // Nothing for a NULL or empty rectangle; a plain fill with clrA on a
    // display of 8 bits or fewer or when both colours are equal; else a
    // gradient from clrA (left or top) to clrB (right or bottom).
    void FillGradient(HDC hdc, LPCRECT lpRect, COLORREF clrA, COLORREF clrB, BOOL bHorz);
    // The same gradient cut to a clip rectangle: the visible part matches the
    // full gradient's colours. Nothing when they do not overlap.
    void FillGradientClipped(HDC hdc, LPCRECT lpRect, COLORREF clrA, COLORREF clrB, BOOL bHorz, LPCRECT lpClip);
    // A gradient value: one gradient for factor 0.5, else two halves meeting
    // at BlendColors(start, end, factor).
    void FillGradientValue(HDC hdc, LPCRECT lpRect, const GradientColorValue& value, BOOL bHorz,
                           LPCRECT lpClip = NULL);
    // Each (x, y, dx, dy) entry: the pixel at (x, y) becomes the channel
    // average of itself and the pixel at (x + dx, y + dy).
    void BlurPixelPairs(HDC hdc, const int* pEntries, int nEntries);
    // The system's GradientFill; FALSE when it is missing.
    BOOL GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh, ULONG ulMode);

    HMODULE m_hMsimg32;
    PFNGRADIENTFILL m_pfnGradientFill;
    PFNALPHABLEND m_pfnAlphaBlend;
    PFNTRANSPARENTBLT m_pfnTransparentBlt;

private:
    DrawHelpers();
    ~DrawHelpers();
    void BandFill(HDC hdc, LPCRECT lpRect, COLORREF clrA, COLORREF clrB, BOOL bHorz);
};

// ---------------------------------------------------------------------------
// Scoped selectors: each restores what it changed when it ends.

class GdiObjectSelector {
public:
    GdiObjectSelector(HDC hdc, HGDIOBJ hObject);
    ~GdiObjectSelector();
    GdiObjectSelector(const GdiObjectSelector&) = delete;
    GdiObjectSelector& operator=(const GdiObjectSelector&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

class FontSelector {
public:
    FontSelector(HDC hdc, HFONT hFont, COLORREF clrText = (COLORREF)-1);
    ~FontSelector();
    FontSelector(const FontSelector&) = delete;
    FontSelector& operator=(const FontSelector&) = delete;
    // Selects another font; only the first replaced font is restored.
    void SetFont(HFONT hFont);

private:
    HDC m_hdc;
    HGDIOBJ m_hOldFont;
    COLORREF m_clrOldText;
};

// A solid pen of width 1 in a colour.
class PenSelector {
public:
    PenSelector(HDC hdc, COLORREF clr);
    ~PenSelector();
    PenSelector(const PenSelector&) = delete;
    PenSelector& operator=(const PenSelector&) = delete;

private:
    HDC m_hdc;
    HPEN m_hPen;
    HGDIOBJ m_hOld;
};

// A solid brush in a colour.
class BrushSelector {
public:
    BrushSelector(HDC hdc, COLORREF clr);
    ~BrushSelector();
    BrushSelector(const BrushSelector&) = delete;
    BrushSelector& operator=(const BrushSelector&) = delete;

private:
    HDC m_hdc;
    HBRUSH m_hBrush;
    HGDIOBJ m_hOld;
};

// A memory DC compatible with a DC, with a bitmap (or any GDI object)
// selected for its lifetime.
class GdiObjectDC {
public:
    GdiObjectDC(HDC hdcCompatible, HGDIOBJ hObject);
    ~GdiObjectDC();
    GdiObjectDC(const GdiObjectDC&) = delete;
    GdiObjectDC& operator=(const GdiObjectDC&) = delete;
    operator HDC() const { return m_hdc; }
    HDC GetSafeHdc() const { return m_hdc; }

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

// ---------------------------------------------------------------------------
// Off-screen painting.

// A memory DC (a framework DC) with a compatible bitmap of rect.right x
// rect.bottom pixels; on destruction the rectangle (left, top, width,
// height) is copied to the target. Draw in the target's own coordinates.
class BufferedDC : public CDC {
public:
    BufferedDC(HDC hdcTarget, const RECT& rect);
    ~BufferedDC() override;
    BufferedDC(const BufferedDC&) = delete;
    BufferedDC& operator=(const BufferedDC&) = delete;

    // Nothing is copied back.
    void Discard() { m_bValid = FALSE; }
    BOOL IsValid() const { return m_bValid; }

protected:
    BufferedDC() = default;
    void Init(HDC hdcTarget, const RECT& rect, int cx, int cy);

    HDC m_hdcTarget = NULL;
    RECT m_rect = {0, 0, 0, 0};
    HBITMAP m_hBitmap = NULL;
    HGDIOBJ m_hOldBitmap = NULL;
    BOOL m_bValid = FALSE;
};

// The same over a paint DC's paint rectangle (a bitmap of at least 1 x 1),
// with the clip region set to that rectangle.
class PaintBufferDC : public BufferedDC {
public:
    PaintBufferDC(HDC hdcPaint, const RECT& rcPaint);
    explicit PaintBufferDC(const PAINTSTRUCT& ps);
    explicit PaintBufferDC(CPaintDC& dcPaint);
};

// The toolkit controls' memory DC: covers a rectangle of the target (the
// target's clip box when the rectangle is empty); drawing uses coordinates
// relative to the rectangle's top-left corner; optionally starts filled with
// a gradient; copied back on destruction unless discarded.
class CQXMemDC : public CDC {
    DECLARE_DYNAMIC(CQXMemDC)
public:
    CQXMemDC(HDC hdcTarget, const RECT& rect = RECT{0, 0, 0, 0},
             const GradientColorValue& background = GradientColorValue(), BOOL bHorz = FALSE);
    ~CQXMemDC() override;
    CQXMemDC(const CQXMemDC&) = delete;
    CQXMemDC& operator=(const CQXMemDC&) = delete;

    BOOL IsValid() const { return m_bValid; }
    const RECT& GetRect() const { return m_rect; }
    // Nothing is copied back.
    void Discard() { m_bValid = FALSE; }
    // Copies what the target shows under the rectangle into the buffer.
    void FromDC();

private:
    HDC m_hdcTarget;
    BOOL m_bValid;
    RECT m_rect;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
};

// The client area of the top-level window that a DC's window lies in, in
// the DC's coordinates (gradients spread over it join across neighbouring
// windows); FALSE for a DC of no window, such as a memory DC.
BOOL AFXAPI GetTopLevelRectOfDC(HDC hDC, RECT* pRect);

// A copy of a rectangle of a source DC (the screen, typically): a memory DC
// over a 32-bit bitmap of the rectangle's size, drawn in its own coordinates
// (0, 0 is the rectangle's top-left corner). Capture copies what the source
// shows there; destruction copies the bitmap back over the rectangle unless
// the write-back was cleared or the bitmap was taken.
class ScreenCaptureDC : public CDC {
public:
    ScreenCaptureDC(HDC hdcSource, const RECT& rect);
    ~ScreenCaptureDC() override;
    ScreenCaptureDC(const ScreenCaptureDC&) = delete;
    ScreenCaptureDC& operator=(const ScreenCaptureDC&) = delete;

    // The bitmap exists (a source and a non-empty rectangle).
    BOOL IsValid() const { return m_hBitmap != NULL; }
    // Copies the source's rectangle into the bitmap; FALSE when invalid.
    BOOL Capture();
    void SetWriteBack(BOOL bWriteBack) { m_bWriteBack = bWriteBack; }
    BOOL IsWriteBack() const { return m_bWriteBack; }
    int Width() const { return m_rect.right - m_rect.left; }
    int Height() const { return m_rect.bottom - m_rect.top; }
    // The pixels as 0x00RRGGBB, bottom-up rows (row 0 is the bottom one);
    // call GdiFlush before reading what GDI drew.
    DWORD* GetBits() const { return m_pBits; }
    // Hands the bitmap to the caller; nothing is copied back then.
    HBITMAP DetachBitmap();

private:
    HDC m_hdcSource;
    RECT m_rect;
    HBITMAP m_hBitmap = NULL;
    HGDIOBJ m_hOldBitmap = NULL;
    DWORD* m_pBits = NULL;
    BOOL m_bWriteBack = TRUE;
};

// ---------------------------------------------------------------------------
// A bitmap that can become an icon.
class MaskedBitmap {
public:
    MaskedBitmap() : m_hBitmap(NULL) {}
    explicit MaskedBitmap(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}
    void Attach(HBITMAP hBitmap) { m_hBitmap = hBitmap; }
    HBITMAP Detach()
    {
        HBITMAP h = m_hBitmap;
        m_hBitmap = NULL;
        return h;
    }
    // An icon of the bitmap's size whose transparent colour is the bitmap's
    // top-left pixel (24-bit masked image list); NULL without a bitmap or
    // with an empty one. The caller destroys the icon.
    HICON CreateIcon() const;

    HBITMAP m_hBitmap;
};

// ---------------------------------------------------------------------------
// The step of the toolkit's modal mouse loops (drags, resizing, tracking):
// paints what is pending before each message, so that windows uncovered by
// a moving thing repaint at once. Bounded, in case a window never
// validates. PeekMessage hands out WM_QUIT whatever the filter says: it is
// posted again for the outer loop and FALSE ends the caller's loop.
BOOL AFXAPI QxpDispatchPendingPaint();

// ---------------------------------------------------------------------------
// Splitter tracking: an inverted outline moves with the mouse along one axis
// until the left button is released (accepted) or Escape is pressed or the
// capture is lost (cancelled). WM_QUIT ends the loop and is posted again.
class SplitterTracker {
public:
    explicit SplitterTracker(HWND hWndOwner = NULL, BOOL bSolid = FALSE);

    // rcTrack in screen coordinates; its left (horizontal) or top edge moves
    // between nMin and nMax. TRUE when accepted; rcTrack then holds the final
    // place.
    BOOL Track(HWND hWndOwner, RECT& rcTrack, int nMin, int nMax, BOOL bHorz);
    // The same with the limits given as a rectangle; the point is where the
    // drag started (screen coordinates).
    BOOL Track(const RECT& rcLimits, RECT& rcTrack, POINT ptStart, BOOL bHorz);

    // The band drawn inside one window instead of on the desktop: the
    // window's DC (rectangles stay in screen coordinates), inverted with a
    // solid brush of m_clrInvert; pending paints are dispatched each step.
    void DrawInWindow(HWND hWnd, COLORREF clrInvert)
    {
        m_hWndDraw = hWnd;
        m_clrInvert = clrInvert;
    }

    RECT m_rcExtra;                      // drawn with the tracking rectangle when not empty
    BOOL m_bSolid;                       // inverted fill instead of the halftone pattern
    HWND m_hWndDraw = NULL;              // see DrawInWindow
    COLORREF m_clrInvert = (COLORREF)-1; // see DrawInWindow

private:
    void DrawTracker(const RECT& rc);

    HWND m_hWndOwner;
    HDC m_hdc;
};

// ---------------------------------------------------------------------------
// Text, fonts and colours.

// Removes every "&" not followed by another "&" ("&&" becomes "&").
void AFXAPI StripAccelerator(CString& str);
// In place on a character string; NULL and (LPSTR)-1 are ignored.
void AFXAPI StripAccelerator(LPSTR lpsz);
// TRUE when a font family of that face (any character set) is installed.
BOOL AFXAPI IsFontInstalled(LPCSTR lpszFace);
inline BOOL IsFontInstalledThunk(LPCSTR lpszFace) { return IsFontInstalled(lpszFace); }
// The face name for toolkit captions taken from the stock GUI font.
CString AFXAPI DefaultGuiFontFace(BOOL bPreferTahoma);
// A fixed-pitch face to draw code with: lpszWanted when it is installed;
// otherwise the first installed of the common code faces (Courier New,
// Consolas, Lucida Console, DejaVu Sans Mono, Liberation Mono, Courier), else
// any installed fixed-pitch font; lpszWanted itself when there is none.
CString AFXAPI FixedPitchFontFace(LPCSTR lpszWanted);
// TRUE when the character (or its upper case) is what the virtual key types,
// also through each installed keyboard layout, with and without Shift.
BOOL AFXAPI MatchesMnemonicKey(UINT nChar, UINT nVirtKey);

// ---------------------------------------------------------------------------
// Geometry and windows.

inline RECT EmptyRect()
{
    RECT rc = {0, 0, 0, 0};
    return rc;
}
inline BOOL RectIsNull(const RECT& rc) { return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0; }
// Window and client rectangles; empty when the handle is not a window.
RECT AFXAPI GetWindowRectOf(HWND hWnd);
void AFXAPI GetWindowRectOfHwnd(RECT* pRect, HWND hWnd);
RECT AFXAPI GetClientRectOf(HWND hWnd);
template <class W>
RECT GetWindowRectOf(const W* pWnd) { return GetWindowRectOf(pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL); }
template <class W>
RECT GetClientRectOf(const W* pWnd) { return GetClientRectOf(pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL); }
POINT AFXAPI CursorPosInClient(HWND hWnd);
// TRUE when the last active popup of the window's top-level owner is the
// foreground window.
BOOL AFXAPI IsTopLevelActive(HWND hWnd);

// Right-to-left layouts ("GetLayout" / "SetLayout" bound at run time).
BOOL AFXAPI IsLayoutRTL(HDC hdc);
DWORD AFXAPI GetDCLayout(HDC hdc);
void AFXAPI SetDCLayout(HDC hdc, DWORD dwLayout);
// Screen to window coordinates; x from the right edge for right-to-left
// windows (WS_EX_LAYOUTRTL).
POINT AFXAPI ScreenToWindowPoint(HWND hWnd, POINT pt);
// Exchanges VK_LEFT and VK_RIGHT for right-to-left windows.
void AFXAPI AdjustArrowKeyForRTL(HWND hWnd, UINT& nKey);
inline void MirrorKeyForRtl(HWND hWnd, UINT& nKey) { AdjustArrowKeyForRTL(hWnd, nKey); }

// Shapes.
void AFXAPI DrawTriangleOutline(HDC hdc, POINT pt0, POINT pt1, POINT pt2);
void AFXAPI DrawFilledTriangle(HDC hdc, POINT pt0, POINT pt1, POINT pt2, COLORREF clr);
inline void DrawTriangle(HDC hdc, POINT pt0, POINT pt1, POINT pt2, COLORREF clr) { DrawFilledTriangle(hdc, pt0, pt1, pt2, clr); }
BOOL AFXAPI StretchBltDC(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc, int cxSrc,
                         int cySrc, DWORD dwRop = SRCCOPY);
// Sets the alpha byte of every pixel in the rectangle to 255.
void AFXAPI MakeRectOpaque(HDC hdc, LPCRECT lpRect);
// Removes the four corner pixels of the rectangle from the clip region.
void AFXAPI ExcludeRectCorners(HDC hdc, LPCRECT lpRect);
// A new region of a cx × cy window with its four corner pixels cut (three
// rectangles: the top row, the rows between, the bottom row); NULL for an
// empty size. The caller owns it (SetWindowRgn takes it over).
HRGN AFXAPI CreateCornerCutRegion(int cx, int cy);
// Plays a stretch from the source into the destination in nSteps steps over
// nDuration milliseconds; returns at once for a zero or negative step count
// (the final picture is drawn).
void AFXAPI AnimateStretch(HDC hdcDest, const RECT& rcDest, HDC hdcSrc, const RECT& rcSrc, int nSteps,
                           int nDuration);

// Registers a window class with DefWindowProcA, the arrow cursor and the
// module's instance (when none is given); TRUE when it is registered (also
// when it already was).
BOOL AFXAPI RegisterToolkitWndClass(HINSTANCE hInstance, LPCSTR lpszClassName, UINT nStyle, HICON hIcon = NULL);
inline BOOL RegisterToolkitWndClass(LPCSTR lpszClassName, UINT nStyle, HICON hIcon = NULL)
{
    return RegisterToolkitWndClass(NULL, lpszClassName, nStyle, hIcon);
}

// ---------------------------------------------------------------------------
// Mouse hook for in-place controls: while a target is set, a button press
// (client or non-client, left, right or middle) outside the target's window
// moves the focus to the target's owner (else its parent) and is swallowed.
void AFXAPI SetMouseHookTarget(HWND hWndTarget);
BOOL AFXAPI IsMouseHookActive();

// ---------------------------------------------------------------------------
// Halftone pattern.

// Fills a rectangle with a 50% checker of colours 20 and 15 (colour
// manager), restoring the DC.
void AFXAPI DrawPatternRect(CDC* pDC, const RECT& rc);
// The same checker in two given colours (the DC's background and text
// colours while it is drawn).
void AFXAPI DrawPatternRect(CDC* pDC, const RECT& rc, COLORREF clrBack, COLORREF clrText);
