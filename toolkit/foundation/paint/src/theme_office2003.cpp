// theme_office2003.cpp - the "Office 2003" and "Whidbey" themes: gradient
// bars and buttons, the Luna colour schemes, the expand glyph; and the theme
// factory with the main frame's theme commands.
#include "paintinternal.h"

#include <qx/drawing.h>
#include <qx/themes.h>

#include <cmath>

using namespace qxpaint;

// Split factors as the schemes store them.
static const float kFactorThird = 0.3f;          // 0x3E99999A
static const float kFactorHalf = 0.5f;           // 0x3F000000
static const float kFactorThreeQuarters = 0.75f; // 0x3F400000

ToolkitPaintThemeB::ToolkitPaintThemeB() : m_hExpandGlyph(NULL), m_bLunaColors(FALSE), m_bSingleLineSeparators(FALSE)
{
    m_iconsInfo.bUseFadedIcons = FALSE;
    m_iconsInfo.bIconsWithShadow = FALSE;
    m_grcChecked.Set(0x008CD5FF, 0x0055ADFF, kFactorHalf);
    m_grcPressed.Set(0x004B8EFE, 0x008BCFFF, kFactorHalf);
    m_grcHot.Set(0x00C8F2FF, 0x0097D4FF, kFactorHalf);
}

ToolkitPaintThemeB::~ToolkitPaintThemeB()
{
    if (m_hExpandGlyph)
        ImageList_Destroy(m_hExpandGlyph);
}

// The effective colour of a colour-manager number (override, else computed).
static COLORREF ManagerColor(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

void ToolkitPaintThemeB::RefreshMetrics()
{
    ToolkitPaintThemeA::RefreshMetrics();

    CWnd* pMain = AfxGetMainWnd();
    m_themeStatusBar.OpenThemeData(pMain ? pMain->GetSafeHwnd() : NULL, L"STATUS");

    auto C = [this](int n) { return GetColor(n); };
    m_grcExpandedGutter.Set(MixColors(C(5), C(42), 550), C(42), kFactorHalf);
    m_grcToolBar.Set(MixColors(C(15), C(5), 205), C(15), kFactorHalf);
    m_grcDockBar.Set(C(15), MixColors(C(5), C(15), 205), kFactorHalf);
    m_clrTearOffGripper.SetStandard(C(30));
    m_clrToolbarBottomLine.SetStandard(C(30));
    m_clrFloatingGripper.SetStandard(C(16));
    m_grcPopped.Set(MixColors(C(5), C(15), 550), C(41), kFactorHalf);
    m_grcExpandButton.Set(MixColors(C(51), C(16), 51), C(16), kFactorHalf);
    m_bLunaColors = FALSE;
    m_grcExpandGlyph.Set(MixColors(C(5), C(15), 550), C(41), kFactorHalf);
    m_clrStatusPaneBorder.SetStandard(MixColors(C(15), C(5), 70));
    m_colors.GetAt(qxColorSystemMenuText)->SetStandard(ManagerColor(COLOR_MENUTEXT));

    if (IsLowColorDisplay()) {
        m_grcToolBar.SetStandard(C(15));
        m_grcDockBar.SetStandard(C(15));
        m_grcPopped.SetStandard(C(15));
        m_grcExpandButton.SetStandard(C(15));
    }

    int nTheme = GetColorTheme();
    if (nTheme >= qxColorThemeBlue && nTheme <= qxColorThemeAero)
        ApplyScheme(nTheme);

    if (m_bLunaColors) {
        m_colors.GetAt(qxColorDisabledBorder)->SetStandard(0x008D8D8D);
        m_colors.GetAt(qxColorBarDisabledText)->SetStandard(0x008D8D8D);
        m_colors.GetAt(qxColorDisabledText)->SetStandard(0x008D8D8D);
        m_colors.GetAt(qxColorFloatingFrame)->SetStandard(m_clrFloatingGripper.GetColor());
    }
    CreateExpandGlyph();
}

void ToolkitPaintThemeB::ApplyScheme(int nColorTheme)
{
    // Columns: blue (1, 4, 5), olive (2), silver (3).
    int k = nColorTheme == qxColorThemeOlive ? 1 : (nColorTheme == qxColorThemeSilver ? 2 : 0);
    struct Grad {
        COLORREF a, b;
        float f;
    };
    static const Grad kDock[3] = {{0x00F5BE9E, 0x00FADAC4, 0.5f}, {0x00A7D9D9, 0x00E4F1F2, 0.5f}, {0x00E5D7D7, 0x00F7F3F3, 0.5f}};
    static const Grad kToolBar[3] = {{0x00FEECDD, 0x00E2A981, 0.75f}, {0x00DEF7F4, 0x0091C6B7, 0.3f}, {0x00FFF9F9, 0x00B79B9C, 0.75f}};
    static const COLORREF kBottomLine[3] = {0x009C613B, 0x00588060, 0x00947C7C};
    static const COLORREF kFloatingCaption[3] = {0x00C9662A, 0x005E8674, 0x0099797A};
    static const Grad kPopped[3] = {{0x00FFEFE3, 0x00E7B593, 0.5f}, {0x00D5F0EC, 0x009FCEC2, 0.5f}, {0x00F1E7E9, 0x00CDB9BA, 0.5f}};
    static const Grad kExpandButton[3] = {{0x00F1A675, 0x00913500, 0.75f}, {0x008CC2B0, 0x006B7760, 0.3f}, {0x00C8B2B3, 0x00927476, 0.75f}};
    static const Grad kExpandedGutter[3] = {{0x00F6DDCB, 0x00DCA179, 0.5f}, {0x00D1E6E6, 0x0078B4A4, 0.3f}, {0x00E2D7D7, 0x00A28385, 0.5f}};
    static const Grad kExpandGlyph[3] = {{0x00FEEFE3, 0x00E2A981, 0.5f}, {0x00D5F0EC, 0x0093C6B8, 0.5f}, {0x00F1E8E8, 0x00C5AEB0, 0.5f}};
    static const Grad kNeutral[3] = {{0x00F2ECE9, 0x00AC7A61, 0.5f}, {0x00F0F4F3, 0x00719083, 0.5f}, {0x00F9F5F7, 0x0099797A, 0.5f}};
    static const COLORREF kStatusBorder[3] = {0x00D3D3D3, 0x00D3D3D3, 0x00DAEAEC};
    static const COLORREF kTearOff[3] = {0x00F0C7A9, 0x009FD4C5, 0x00D3C0C0};
    static const COLORREF k53[3] = {0x00FCE1CB, 0x00B6E3D8, 0x00E7D3D6};
    static const COLORREF k51[3] = {0x00FCE7D8, 0x00BFE7E2, 0x00EADFDF};
    static const COLORREF k52[3] = {0x00F5BE9E, 0x008AC0AB, 0x00C3B0B1};
    static const COLORREF k12[3] = {0x00AE9990, 0x007BA097, 0x00B39A9B};
    static const COLORREF k56[3] = {0x00F7D3BD, 0x00BDE3DE, 0x00E7D7D6};
    static const COLORREF k38[3] = {0x00764127, 0x00335E51, 0x00755454};
    static const COLORREF k39[3] = {0x00CB8C6A, 0x00588060, 0x008F6D6E};
    static const COLORREF k40[3] = {0x00D0966D, 0x007AAE9F, 0x00BEA7A8};
    static const COLORREF k41[3] = {0x00F6F6F6, 0x00EEF4F4, 0x00FFFAFD};
    static const COLORREF k43[3] = {0x00962D00, 0x005E8D75, 0x00947C7C};
    static const COLORREF kSelection[3] = {0x00800000, 0x00385D3F, 0x006F4B4B};
    static const COLORREF k30[3] = {0x00F9DBC4, 0x00ADDED1, 0x00E4DADB};

    auto set = [](GradientColorValue& g, const Grad& v) {
        float f = v.f == 0.3f ? kFactorThird : (v.f == 0.75f ? kFactorThreeQuarters : kFactorHalf);
        g.Set(v.a, v.b, f);
    };
    set(m_grcDockBar, kDock[k]);
    set(m_grcToolBar, kToolBar[k]);
    m_clrToolbarBottomLine.SetStandard(kBottomLine[k]);
    m_clrFloatingGripper.SetStandard(kFloatingCaption[k]);
    set(m_grcPopped, kPopped[k]);
    set(m_grcExpandButton, kExpandButton[k]);
    set(m_grcExpandedGutter, kExpandedGutter[k]);
    set(m_grcExpandGlyph, kExpandGlyph[k]);
    set(m_grcNeutral, kNeutral[k]);
    m_clrStatusPaneBorder.SetStandard(kStatusBorder[k]);
    m_clrTearOffGripper.SetStandard(kTearOff[k]);

    // Standard colours: a user's override still wins.
    const int nStdIndexes[] = {53, 51, 52, 12, 56};
    const COLORREF clrStd[] = {k53[k], k51[k], k52[k], k12[k], k56[k]};
    m_colors.SetColors(5, nStdIndexes, clrStd);

    // The paint manager's own overrides.
    const int nOverrides[] = {38, 39, 40, 41, 43, 31, 32, 37, 50, 33, 36, 30, 47};
    const COLORREF clrOverrides[] = {k38[k], k39[k], k40[k], k41[k], k43[k],
                                     0x00C2EEFF, kSelection[k], kSelection[k], kSelection[k],
                                     0x003E80FE, 0x006FC0FF, k30[k], 0};
    for (int i = 0; i < 13; ++i)
        m_colors.GetAt(nOverrides[i])->Set(clrOverrides[i]);
    m_bLunaColors = TRUE;
}

// ---------------------------------------------------------------------------
// The expand glyph: a small rounded button with a shade growing downwards.

BYTE AFXAPI ToolkitPaintThemeB::ExpandGlyphShade(int i)
{
    if (i < 0 || i >= 256)
        return 255;
    int x = i / 16, y = i % 16;
    // The button face covers x 2..13 and y 1..14 with its corners cut.
    if (x < 2 || x > 13 || y < 1 || y > 14)
        return 255;
    BOOL bCornerX = x == 2 || x == 13;
    BOOL bCornerY = y == 1 || y == 14;
    if (bCornerX && bCornerY)
        return 255;
    return (BYTE)(y * 255 / 15);
}

void ToolkitPaintThemeB::CreateExpandGlyph()
{
    if (m_hExpandGlyph) {
        ImageList_Destroy(m_hExpandGlyph);
        m_hExpandGlyph = NULL;
    }
    COLORREF a = m_grcExpandGlyph.GetStart();
    COLORREF b = m_grcExpandGlyph.GetEnd();
    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hdcScreen, 16, 16);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
    for (int i = 0; i < 256; ++i) {
        int s = ExpandGlyphShade(i);
        COLORREF clr;
        if (s == 255)
            clr = 0x0000FF00;
        else {
            auto ch = [s](int p, int q) { return p - (p - q) * s / 255; };
            clr = RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
        }
        ::SetPixelV(hdc, i / 16, i % 16, clr);
    }
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    ::ReleaseDC(NULL, hdcScreen);
    m_hExpandGlyph = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (m_hExpandGlyph)
        ImageList_AddMasked(m_hExpandGlyph, hBitmap, 0x0000FF00);
    ::DeleteObject(hBitmap);
}

// ---------------------------------------------------------------------------
// State rectangles and bars.

void ToolkitPaintThemeB::DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                       BOOL bPopped, int nBarType, int nBarPosition)
{
    if (bPopped) {
        FillGradient(pDC, rc, m_grcPopped, FALSE);
        Draw3dRect(pDC, rc, qxColorMenuBorder, qxColorMenuBorder);
        return;
    }
    if (!m_bLunaColors || nBarType == qxpBarTypePopup || nBarPosition == qxpBarPopup) {
        ToolkitPaintThemeA::DrawRectangle(pDC, rc, nSelected, bPressed, bEnabled, nChecked, bPopped, nBarType,
                                          nBarPosition);
        return;
    }
    BOOL bHorz = IsVerticalPosition(nBarPosition); // left to right on vertical bars
    const GradientColorValue* pGrad = NULL;
    int nBorder = -1;
    if (bEnabled) {
        if (nChecked && nSelected && !bPressed) {
            pGrad = &m_grcPressed;
            nBorder = 50;
        } else if (nChecked == 2 && !nSelected && !bPressed) {
            Rectangle(pDC, rc, qxColorCheckedBorder, qxColorButtonFace);
            return;
        } else if (nChecked && !nSelected && !bPressed) {
            pGrad = &m_grcChecked;
            nBorder = 37;
        } else if (bPressed == 2 || bPressed == 3 || (nSelected && bPressed)) {
            pGrad = &m_grcPressed;
            nBorder = 50;
        } else if (nSelected || bPressed) {
            pGrad = &m_grcHot;
            nBorder = 32;
        }
    } else {
        if (nSelected == 2 || nSelected == 3) {
            pGrad = nChecked ? &m_grcPressed : &m_grcHot;
            nBorder = 50;
        } else if (nChecked) {
            pGrad = &m_grcChecked;
            nBorder = 58;
        }
    }
    if (!pGrad)
        return;
    FillGradient(pDC, rc, *pGrad, bHorz);
    Draw3dRect(pDC, rc, nBorder, nBorder);
}

CRect ToolkitPaintThemeB::GetDockBarRectInBar(CQXPBarView* pBar)
{
    HWND hDock = pBar->GetDockBarHwnd();
    CRect rcClient = pBar->GetBarClientRect();
    if (!hDock || !::IsWindow(hDock))
        return rcClient;
    CRect rcDock = GetWindowRectOf(hDock);
    CRect rcBar = pBar->GetBarWindowRect();
    return CRect(rcDock.left - rcBar.left, rcDock.top - rcBar.top, rcDock.right - rcBar.left, rcDock.bottom - rcBar.top);
}

int ToolkitPaintThemeB::GetLastControlEdge(CQXPBarView* pBar, BOOL bVert)
{
    int nEdge = -1;
    for (int i = 0; i < pBar->GetControlCount(); ++i) {
        CQXPControlView* p = pBar->GetControlAt(i);
        if (!p || !p->IsVisible())
            continue;
        CRect rc = p->GetRect();
        nEdge = max(nEdge, (int)(bVert ? rc.right : rc.bottom));
    }
    return nEdge;
}

static BOOL DockBarHasPlainStyle(HWND hDock)
{
    return hDock && ::IsWindow(hDock) && (::GetWindowLongPtrA(hDock, GWL_STYLE) & 0x4100);
}

void ToolkitPaintThemeB::FillCommandBar(CDC* pDC, CQXPBarView* pBar)
{
    CRect rc = pBar->GetBarClientRect();
    int w = rc.Width(), h = rc.Height();
    int nPosition = pBar->GetPosition();

    if (nPosition == qxpBarPopup) {
        Rectangle(pDC, rc, qxColorMenuBorder, qxColorMenuFace);
        CRect rcOverlap;
        CRect rcOpener;
        if (pBar->GetOpenerRect(&rcOpener)) {
            CRect rcWindow = pBar->GetBarWindowRect();
            if (::IntersectRect(&rcOverlap, &rcWindow, &rcOpener)) {
                if (rcOverlap.Width() > 1)
                    rcOverlap.DeflateRect(1, 0);
                if (rcOverlap.Height() > 1)
                    rcOverlap.DeflateRect(0, 1);
                rcOverlap.OffsetRect(-rcWindow.left, -rcWindow.top);
                pDC->FillSolidRect(rcOverlap, GetColor(qxColorMenuFace));
            }
        }
        return;
    }

    if (IsFlatBar(pBar)) {
        CRect rcGrad = pBar->GetDockBarHwnd() ? GetDockBarRectInBar(pBar)
                                              : CRect(0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN), h);
        rcGrad.top = 0;
        rcGrad.bottom = h;
        FillGradient(pDC, rcGrad, m_grcDockBar, TRUE, rc);
        if (nPosition == qxpBarFloating) {
            Rectangle(pDC, rc, 61, -1);
            COLORREF clr = GetColor(qxColorFloatingFrame);
            pDC->SetPixelV(2, 2, clr);
            pDC->SetPixelV(w - 3, 2, clr);
            pDC->SetPixelV(2, h - 3, clr);
            pDC->SetPixelV(w - 3, h - 3, clr);
        }
        return;
    }

    if (nPosition == qxpBarTop || nPosition == qxpBarBottom) {
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        CRect rcDock = GetDockBarRectInBar(pBar);
        rcDock.top = 0;
        rcDock.bottom = h;
        if (DockBarHasPlainStyle(pBar->GetDockBarHwnd()))
            pDC->FillSolidRect(rc, m_grcDockBar.GetEnd());
        else
            FillGradient(pDC, rcDock, m_grcDockBar, TRUE, rc);
        CRect rcFace(3, 1, w, h - 1);
        int nSaved = pDC->SaveDC();
        ExcludeRectCorners(pDC->GetSafeHdc(), rcFace);
        int nLast = GetLastControlEdge(pBar, FALSE);
        int nGradBottom = nLast < 0 ? rcFace.bottom : min((int)rcFace.bottom, nLast + 1);
        FillGradient(pDC, CRect(rcFace.left, rcFace.top, rcFace.right, nGradBottom), m_grcToolBar, FALSE);
        if (nGradBottom < rcFace.bottom)
            pDC->FillSolidRect(CRect(rcFace.left, nGradBottom, rcFace.right, rcFace.bottom), m_grcToolBar.GetEnd());
        pDC->RestoreDC(nSaved);
        HorizontalLine(pDC, 5, rcFace.bottom - 1, 5 + w - 7, m_clrToolbarBottomLine.GetColor());
        return;
    }

    if (nPosition == qxpBarLeft || nPosition == qxpBarRight) {
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        CRect rcDock = GetDockBarRectInBar(pBar);
        rcDock.left = 0;
        rcDock.right = w;
        if (DockBarHasPlainStyle(pBar->GetDockBarHwnd()))
            pDC->FillSolidRect(rc, m_grcDockBar.GetEnd());
        else
            FillGradient(pDC, rcDock, m_grcDockBar, FALSE, rc);
        CRect rcFace(1, 3, w - 1, h);
        int nSaved = pDC->SaveDC();
        ExcludeRectCorners(pDC->GetSafeHdc(), rcFace);
        int nLast = GetLastControlEdge(pBar, TRUE);
        int nGradRight = nLast < 0 ? rcFace.right : min((int)rcFace.right, nLast + 1);
        FillGradient(pDC, CRect(rcFace.left, rcFace.top, nGradRight, rcFace.bottom), m_grcToolBar, TRUE);
        if (nGradRight < rcFace.right)
            pDC->FillSolidRect(CRect(nGradRight, rcFace.top, rcFace.right, rcFace.bottom), m_grcToolBar.GetEnd());
        pDC->RestoreDC(nSaved);
        VerticalLine(pDC, rcFace.right - 1, 5, 5 + h - 7, m_clrToolbarBottomLine.GetColor());
        return;
    }

    if (nPosition == qxpBarFloating && pBar->IsCaptionShown() && pBar->GetType() != qxpBarTypePopup) {
        Rectangle(pDC, rc, qxColorFloatingFrame, qxColorBarFace);
        int nCaption = m_nTextHeight < 15 ? 17 : m_nTextHeight + 2;
        // One gradient band under each row of controls.
        int nRowTop = -1, nRowBottom = -1;
        auto flush = [&]() {
            if (nRowTop >= 0)
                FillGradient(pDC, CRect(1, nRowTop, w - 1, nRowBottom), m_grcToolBar, FALSE);
        };
        for (int i = 0; i < pBar->GetControlCount(); ++i) {
            CQXPControlView* p = pBar->GetControlAt(i);
            if (!p || !p->IsVisible())
                continue;
            CRect r = p->GetRect();
            if (nRowTop < 0 || p->IsWrapped()) {
                flush();
                nRowTop = max((int)r.top, nCaption + 3);
                nRowBottom = r.bottom;
            } else {
                nRowTop = min(nRowTop, (int)r.top);
                nRowBottom = max(nRowBottom, (int)r.bottom);
            }
        }
        flush();
        COLORREF clr = GetColor(qxColorFloatingFrame);
        pDC->SetPixelV(1, 1, clr);
        pDC->SetPixelV(w - 2, 1, clr);
        pDC->SetPixelV(1, h - 2, clr);
        pDC->SetPixelV(w - 2, h - 2, clr);
        return;
    }
    ToolkitPaintThemeA::FillCommandBar(pDC, pBar);
}

void ToolkitPaintThemeB::FillDockBar(CDC* pDC, CWnd* pDockBar)
{
    CRect rcWindow = GetWindowRectOf(pDockBar);
    CRect rc(0, 0, rcWindow.Width(), rcWindow.Height());
    if (DockBarHasPlainStyle(pDockBar->GetSafeHwnd())) {
        pDC->FillSolidRect(rc, m_grcDockBar.GetEnd());
        return;
    }
    CRect rcGrad(rc);
    int nHalfScreen = ::GetSystemMetrics(SM_CXFULLSCREEN) / 2;
    if (rcGrad.Width() < nHalfScreen)
        rcGrad.right = rcGrad.left + nHalfScreen;
    FillGradient(pDC, rcGrad, m_grcDockBar, TRUE, rc);
}

CSize ToolkitPaintThemeB::DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    int nPosition = pBar->GetPosition();
    if (nPosition == qxpBarFloating)
        return CQXPThemePainter::DrawCommandBarGripper(pDC, pBar, bDraw);
    if (nPosition == qxpBarPopup)
        return CSize(0, 0);
    BOOL bVert = IsVerticalPosition(nPosition);
    if (!bDraw || !pDC)
        return bVert ? CSize(0, 9) : CSize(9, 0);
    CRect rc = pBar->GetBarClientRect();
    if (!bVert) {
        for (int y = 8; y - 3 < rc.Height() - 7; y += 4) {
            pDC->FillSolidRect(7, y - 2, 2, 2, GetColor(COLOR_WINDOW));
            pDC->FillSolidRect(6, y - 3, 2, 2, GetColor(qxColorGripper));
        }
    } else {
        for (int x = 8; x - 3 < rc.Width() - 7; x += 4) {
            pDC->FillSolidRect(x - 2, 7, 2, 2, GetColor(COLOR_WINDOW));
            pDC->FillSolidRect(x - 3, 6, 2, 2, GetColor(qxColorGripper));
        }
    }
    return CSize(0, 0);
}

CSize ToolkitPaintThemeB::DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw)
{
    if (pBar->GetType() == qxpBarTypePopup)
        return ToolkitPaintThemeA::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    if (pBar->GetPosition() == qxpBarFloating && !bDraw)
        return CSize(6, 0);
    if (bDraw && pDC && pControl) {
        CRect rc = pControl->GetRect();
        if (IsVerticalBar(pBar)) {
            HorizontalLine(pDC, rc.left + 4, rc.top - 4, rc.right - 4, GetColor(qxColorSeparator));
            if (!m_bSingleLineSeparators)
                HorizontalLine(pDC, rc.left + 5, rc.top - 3, rc.right - 3, GetColor(COLOR_BTNHIGHLIGHT));
        } else {
            VerticalLine(pDC, rc.left - 4, rc.top + 4, rc.bottom - 4, GetColor(qxColorSeparator));
            if (!m_bSingleLineSeparators)
                VerticalLine(pDC, rc.left - 3, rc.top + 5, rc.bottom - 3, GetColor(COLOR_BTNHIGHLIGHT));
        }
    }
    return CSize(6, 6);
}

void ToolkitPaintThemeB::FillPopupGutter(CDC* pDC, CRect rcGutter, BOOL bRarelyUsed)
{
    FillGradient(pDC, rcGutter, bRarelyUsed ? m_grcExpandedGutter : m_grcToolBar, TRUE);
}

CSize ToolkitPaintThemeB::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (bDraw && pDC) {
        if (bSelected)
            return ToolkitPaintThemeA::DrawTearOffGripper(pDC, rc, bSelected, bDraw);
        pDC->FillSolidRect(rc, GetColor(qxColorMenuFace));
        rc.DeflateRect(1, 1);
        pDC->FillSolidRect(rc, m_clrTearOffGripper.GetColor());
        int cx = rc.CenterPoint().x;
        int nReach = min(rc.Width() / 2 - 10, 32);
        if (nReach > 0)
            for (int x = cx - nReach + 2; x <= cx + nReach; x += 4) {
                pDC->FillSolidRect(x - 2, rc.top + 5, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
                pDC->FillSolidRect(x - 3, rc.top + 4, 2, 2, GetColor(qxColorGripper));
            }
    }
    return CSize(0, 9);
}

CSize ToolkitPaintThemeB::DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                                           BOOL bDraw, int nParam1, int nParam2)
{
    if (nKind == qxpExpandPopup) {
        if (bDraw && pDC && pControl) {
            DrawControlBackground(pDC, pControl);
            CRect rc = pControl->GetRect();
            int cx = rc.CenterPoint().x;
            if (m_hExpandGlyph)
                ImageList_Draw(m_hExpandGlyph, 0, pDC->GetSafeHdc(), cx - 7, rc.top + 1, ILD_TRANSPARENT);
            PenSelector pen(pDC->GetSafeHdc(), RGB(0, 0, 0));
            for (int k : {4, 5, 8, 9}) {
                pDC->MoveTo(cx - 2, rc.top + k);
                pDC->LineTo(cx, rc.top + k + 2);
                pDC->LineTo(cx + 3, rc.top + k - 1);
            }
        }
        return CSize(0, 18);
    }
    if (nKind != qxpExpandToolbar || !bDraw || !pDC || !pControl)
        return CQXPThemePainter::DrawExpandButton(pDC, nKind, pControl, pBar, bDraw, nParam1, nParam2);

    CRect rc = pControl->GetRect();
    int nPosition = BarPosition(pBar);
    BOOL bVertKind = nPosition == qxpBarLeft || nPosition == qxpBarRight || nPosition == qxpBarPopup;
    int nSaved = pDC->SaveDC();
    if (bVertKind) {
        pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
        pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
    } else {
        pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
        pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
    }
    if (pControl->GetPopped()) {
        if (m_bLunaColors)
            FillGradient(pDC, rc, m_grcPressed, bVertKind);
        else
            pDC->FillSolidRect(rc, GetColor(qxColorCheckedFace));
    } else if (pControl->GetSelected()) {
        if (m_bLunaColors)
            FillGradient(pDC, rc, m_grcHot, bVertKind);
        else
            pDC->FillSolidRect(rc, GetColor(qxColorHotFace));
    } else {
        FillGradient(pDC, rc, m_grcExpandButton, bVertKind);
    }
    pDC->RestoreDC(nSaved);

    // The arrows twice: a highlight one pixel down and right, then the glyph.
    for (int pass = 0; pass < 2; ++pass) {
        int d = pass == 0 ? 1 : 0;
        COLORREF clr = pass == 0 ? GetColor(COLOR_BTNHIGHLIGHT)
                                 : GetColor(pControl->GetPopped() || !pControl->GetSelected() ? 46 : 45);
        if (!bVertKind) {
            int cx = rc.CenterPoint().x + d;
            int y = rc.bottom - 9 + d;
            HorizontalLine(pDC, cx - 2, y, cx + 3, clr);
            DrawTriangle(pDC, CPoint(cx - 2, y + 2), CPoint(cx + 2, y + 2), CPoint(cx, y + 4), clr);
            if (nParam1) {
                PenSelector pen(pDC->GetSafeHdc(), clr);
                for (int j : {2, 3, 6, 7}) {
                    pDC->MoveTo(rc.left + j + d, rc.top + 4 + d);
                    pDC->LineTo(rc.left + j + 2 + d, rc.top + 6 + d);
                    pDC->LineTo(rc.left + j - 1 + d, rc.top + 9 + d);
                }
            }
        } else {
            int cy = rc.CenterPoint().y + d;
            int x = rc.left + 4 + d;
            VerticalLine(pDC, x, cy - 2, cy + 3, clr);
            DrawTriangle(pDC, CPoint(x + 4, cy - 2), CPoint(x + 4, cy + 2), CPoint(x + 2, cy), clr);
            if (nParam1) {
                PenSelector pen(pDC->GetSafeHdc(), clr);
                for (int k : {2, 3, 6, 7}) {
                    pDC->MoveTo(rc.right - 8 + d, rc.top + k + d);
                    pDC->LineTo(rc.right - 6 + d, rc.top + k + 2 + d);
                    pDC->LineTo(rc.right - 3 + d, rc.top + k - 1 + d);
                }
            }
        }
    }
    return CSize(0, 0);
}

void ToolkitPaintThemeB::DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane)
{
    if (pPane && (pPane->GetStyle() & CQXPStatusPaneView::styleNoBorders))
        return;
    if (m_bThemedStatusBar && m_themeStatusBar.IsAppThemed()) {
        CQXPThemePainter::DrawStatusPaneBorder(pDC, rc, pPane, bLastPane);
        return;
    }
    COLORREF clr = m_clrStatusPaneBorder.GetColor();
    pDC->Draw3dRect(rc, clr, clr);
}

void ToolkitPaintThemeB::DrawStatusGripper(CDC* pDC, CRect rcGripper)
{
    if (m_themeStatusBar.IsAppThemed()) {
        CRect rc(rcGripper.right - 18, rcGripper.top, rcGripper.right, rcGripper.bottom);
        if (SUCCEEDED(m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, rc)))
            return;
    }
    int r = rcGripper.right - 1;
    int b = rcGripper.bottom - 1;
    for (int i = 0; i < 3; ++i) {
        int d = 5 * i;
        Line(pDC, r - d - 1, b, r + 1, b - d - 2, COLOR_BTNSHADOW);
        Line(pDC, r - d - 2, b, r + 1, b - d - 3, COLOR_BTNSHADOW);
        Line(pDC, r - d - 3, b, r + 1, b - d - 4, COLOR_BTNSHADOW);
        Line(pDC, r - d - 4, b, r + 1, b - d - 5, COLOR_BTNHIGHLIGHT);
    }
}

CRect ToolkitPaintThemeB::GetCommandBarBorders(CQXPBarView* pBar)
{
    if (pBar && pBar->GetType() != qxpBarTypePopup &&
        (pBar->GetPosition() == qxpBarTop || pBar->GetPosition() == qxpBarBottom))
        return CRect(4, 2, 2, 2);
    return ToolkitPaintThemeA::GetCommandBarBorders(pBar);
}

CSize ToolkitPaintThemeB::DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    int h = max(m_nTextHeight + 6, 25);
    if (bDraw && pDC && pBar) {
        CRect rc = pBar->GetBarClientRect();
        rc.DeflateRect(3, 3);
        rc.bottom = rc.top + h;
        FillGradient(pDC, rc, m_grcToolBar, FALSE);
        for (int y = rc.top + 4; y < rc.bottom - 4; y += 4)
            DrawDotPair(pDC, rc.left + 2, y, 5, 38);
    }
    return CSize(8, h);
}

// ---------------------------------------------------------------------------
// "Whidbey"

ToolkitPaintThemeC::ToolkitPaintThemeC()
{
    m_nStoredColorTheme = qxColorThemeClassic;
    m_bSingleLineSeparators = TRUE;
}

ToolkitPaintThemeC::~ToolkitPaintThemeC() {}

void ToolkitPaintThemeC::RefreshMetrics()
{
    ToolkitPaintThemeB::RefreshMetrics();

    auto C = [this](int n) { return GetColor(n); };
    m_grcExpandButton.Set(MixColors(C(5), C(15), 550), C(16), kFactorHalf);
    if (IsLowColorDisplay())
        m_grcExpandButton.SetStandard(C(15));

    switch (ToolkitColorManager::Instance()->GetCurrentTheme()) {
    case qxColorThemeBlue:
    case qxColorThemeOlive:
        m_grcToolBar.Set(0x00F5F9FA, 0x00A8C0C0, kFactorThreeQuarters);
        m_grcExpandButton.Set(0x00EAEDEE, 0x007E9898, kFactorThreeQuarters);
        m_grcDockBar.Set(0x00D7E5E5, 0x00E7F1F4, kFactorHalf);
        m_clrToolbarBottomLine.SetStandard(0x007CA3A3);
        m_grcExpandedGutter.SetStandard(0x00BAC7CC);
        m_grcExpandGlyph.SetStandardValue(m_grcToolBar);
        m_grcNeutral.Set(0x00F9F5F7, 0x0099797A, kFactorHalf);
        if (ToolkitColorManager::Instance()->GetCurrentTheme() == qxColorThemeOlive) {
            m_grcExpandButton.Set(0x00EAEDEE, 0x009EACB0, kFactorThreeQuarters);
            m_grcNeutral.Set(0x00D8E9EC, 0x0099A8AC, kFactorHalf);
            m_colors.GetAt(qxColorHotFace)->SetStandard(0x008DC6B6);
            m_colors.GetAt(qxColorCheckedFace)->SetStandard(0x008DC6B6);
            m_colors.GetAt(qxColorPressedFace)->SetStandard(0x0070A093);
            m_colors.GetAt(qxColorPressedText)->SetStandard(0x00FFFFFF);
        }
        break;
    case qxColorThemeSilver: {
        m_grcToolBar.Set(0x00FAF4F3, 0x00B59799, kFactorThreeQuarters);
        m_grcExpandButton.Set(0x00C8B2B3, 0x00927476, kFactorThreeQuarters);
        m_grcDockBar.Set(0x00E5D7D7, 0x00F7F3F3, kFactorHalf);
        m_grcExpandedGutter.Set(0x00E2D7D7, 0x00A28385, kFactorHalf);
        m_grcExpandGlyph.Set(0x00F1E8E8, 0x00C5AEB0, kFactorHalf);
        m_clrToolbarBottomLine.SetStandard(0x00947C7C);
        m_grcNeutral.Set(0x00F9F5F7, 0x0099797A, kFactorHalf);
        m_colors.GetAt(qxColorBarDisabledText)->SetStandard(0x008D8D8D);
        m_colors.GetAt(qxColorDisabledText)->SetStandard(0x008D8D8D);
        m_colors.GetAt(qxColorSeparator)->SetStandard(0x008F6D6E);
        m_colors.GetAt(qxColorGripper)->SetStandard(0x00755454);
        m_colors.GetAt(qxColorBarFace)->SetStandard(0x00E4DADB);
        m_clrTearOffGripper.SetStandard(0x00D3C0C0);
        m_clrFloatingGripper.SetStandard(0x0099797A);
        m_colors.GetAt(qxColorFloatingFrame)->SetStandard(0x0099797A);
        const int nIndexes[] = {31, 32, 37, 50, 33, 36, 47};
        const COLORREF clrs[] = {0x00C2EEFF, 0x006F4B4B, 0x006F4B4B, 0x006F4B4B, 0x003E80FE, 0x006FC0FF, 0};
        for (int i = 0; i < 7; ++i)
            m_colors.GetAt(nIndexes[i])->Set(clrs[i]);
        break;
    }
    default:
        break;
    }
    CreateExpandGlyph();
}

// ---------------------------------------------------------------------------
// The factory.

static PFNQXPTHEMECREATOR s_pfnCreators[2] = {NULL, NULL};

void AFXAPI RegisterThemeCreator(int nTheme, PFNQXPTHEMECREATOR pfnCreator)
{
    if (nTheme == qxpThemeOffice2007 || nTheme == qxpThemeRibbon)
        s_pfnCreators[nTheme - qxpThemeOffice2007] = pfnCreator;
}

CQXPThemePainter* AFXAPI CreateThemePainter(int nTheme)
{
    CQXPThemePainter* p = NULL;
    switch (nTheme) {
    case qxpThemeOfficeXP:
        p = new ToolkitPaintThemeA;
        break;
    case qxpThemeOffice2003:
        p = new ToolkitPaintThemeB;
        break;
    case qxpThemeWindowsXP:
        p = new ToolkitPaintThemeE;
        break;
    case qxpThemeWhidbey:
        p = new ToolkitPaintThemeC;
        break;
    case qxpThemeOffice2007:
    case qxpThemeRibbon: {
        PFNQXPTHEMECREATOR pfn = s_pfnCreators[nTheme - qxpThemeOffice2007];
        p = pfn ? pfn() : NULL;
        if (!p)
            p = new ToolkitPaintThemeB;
        break;
    }
    default:
        p = new ToolkitPaintThemeD;
        break;
    }
    p->m_nThemeNumber = nTheme;
    return p;
}

int AFXAPI ThemeCommandFromId(int nTheme)
{
    switch (nTheme) {
    case qxpThemeWindows2000:
        return 720;
    case qxpThemeWindowsXP:
        return 721;
    case qxpThemeWhidbey:
        return 722;
    case qxpThemeOfficeXP:
        return 723;
    case qxpThemeOffice2003:
        return 724;
    default:
        return -1;
    }
}

int AFXAPI ThemeIdFromCommand(UINT nCommand)
{
    switch (nCommand) {
    case 720:
        return qxpThemeWindows2000;
    case 721:
        return qxpThemeWindowsXP;
    case 722:
        return qxpThemeWhidbey;
    case 723:
        return qxpThemeOfficeXP;
    case 724:
        return qxpThemeOffice2003;
    default:
        return -1;
    }
}
