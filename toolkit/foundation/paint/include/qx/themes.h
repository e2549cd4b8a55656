// qx/themes.h - the five paint-manager themes of the command bars.
//
//   theme id  label            command  class
//   0         "Windows 2000"   720      ToolkitPaintThemeD (the default)
//   1         "Office XP"      723      ToolkitPaintThemeA
//   2         "Office 2003"    724      ToolkitPaintThemeB : ToolkitPaintThemeA
//   3         "Windows XP"     721      ToolkitPaintThemeE : ToolkitPaintThemeD
//   4         "Whidbey"        722      ToolkitPaintThemeC : ToolkitPaintThemeB
//
// "Windows 2000" draws in the classic three-dimensional style from system
// colours; "Windows XP" draws with the desktop's visual style and falls back
// to "Windows 2000" wherever the style is not available. The Office themes
// draw flat faces in the toolkit's derived colours; "Office 2003" and
// "Whidbey" add gradients and the Luna colour schemes.
#pragma once

#include <qx/paintmanager.h>

// Theme ids (GetCurrentTheme and the factory numbers).
enum QXPTheme {
    qxpThemeWindows2000 = 0,
    qxpThemeOfficeXP = 1,
    qxpThemeOffice2003 = 2,
    qxpThemeWindowsXP = 3,
    qxpThemeWhidbey = 4,
    qxpThemeOffice2007 = 5,
    qxpThemeRibbon = 6,
    qxpThemeCustom = 7,
};

// The main frame's theme command of a theme id (720 to 724), and back (-1
// for a command outside the range).
int AFXAPI ThemeCommandFromId(int nTheme);
int AFXAPI ThemeIdFromCommand(UINT nCommand);

// ---------------------------------------------------------------------------
// "Windows 2000".
class ToolkitPaintThemeD : public CQXPThemePainter {
public:
    ToolkitPaintThemeD();
    ~ToolkitPaintThemeD() override;

    void RefreshMetrics() override;
    int GetCurrentTheme() const override { return qxpThemeWindows2000; }

    void DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                       int nBarType, int nBarPosition) override;
    COLORREF GetRectangleTextColor(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                                   int nBarType, int nBarPosition) override;
    void FillCommandBar(CDC* pDC, CQXPBarView* pBar) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw) override;
    void DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rcButton) override;
    CSize DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawControlPopupParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawCommandListEntry(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bSelected, BOOL bDraw) override;
    CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rcGripper, int nFlags) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CQXPIconImage* pImage, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopped, BOOL bToolBarImage = TRUE) override;
    CSize DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    CRect GetCommandBarBorders(CQXPBarView* pBar) override;
    void AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical) override;
    CSize DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar, BOOL bDraw,
                           int nParam1, int nParam2) override;

    // The frame of an edit or combo field.
    virtual void DrawControlEditFrame(CDC* pDC, CRect rc, CQXPControlView* pControl);
    // The drop-down button of a combo field (rc: the button's part).
    virtual void DrawComboBoxDropDownButton(CDC* pDC, CRect rc, CQXPControlView* pControl);
    // The spin buttons of an edit (rc: both halves).
    virtual void DrawEditSpinButtons(CDC* pDC, CRect rc, CQXPControlView* pControl);

    // Colour of enabled, unselected popup items (18; Windows XP: 7).
    int m_nPopupTextColor;
};

// ---------------------------------------------------------------------------
// "Windows XP".
class ToolkitPaintThemeE : public ToolkitPaintThemeD {
public:
    ToolkitPaintThemeE();
    ~ToolkitPaintThemeE() override;

    void RefreshMetrics() override;
    int GetCurrentTheme() const override { return qxpThemeWindowsXP; }
    // TRUE when both the "REBAR" and the "TOOLBAR" styles are in force.
    BOOL IsThemed();

    void DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                       int nBarType, int nBarPosition) override;
    void DrawControlBackground(CDC* pDC, CQXPControlView* pControl) override;
    COLORREF GetControlTextColor(CQXPControlView* pControl) override;
    void FillCommandBar(CDC* pDC, CQXPBarView* pBar) override;
    void FillDockBar(CDC* pDC, CWnd* pDockBar) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw) override;
    void DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rcButton) override;
    void DrawControlEditFrame(CDC* pDC, CRect rc, CQXPControlView* pControl) override;
    void DrawComboBoxDropDownButton(CDC* pDC, CRect rc, CQXPControlView* pControl) override;
    void DrawEditSpinButtons(CDC* pDC, CRect rc, CQXPControlView* pControl) override;
    CSize DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical) override;
    CSize DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar, BOOL bDraw,
                           int nParam1, int nParam2) override;

    CVisualStyleTheme m_themeRebar;
    CVisualStyleTheme m_themeToolbar;
    CVisualStyleTheme m_themeComboBox;
    CVisualStyleTheme m_themeWindow;
    CVisualStyleTheme m_themeSpin;
    BOOL m_bFlatMenus;
    COLORREF m_clrEdgeShadowColor;
    COLORREF m_clrEdgeHighlightColor;

protected:
    BOOL IsThemedMenuBarItem(CQXPControlView* pControl);
};

// ---------------------------------------------------------------------------
// "Office XP".
class ToolkitPaintThemeA : public CQXPThemePainter {
public:
    ToolkitPaintThemeA();
    ~ToolkitPaintThemeA() override;

    int GetCurrentTheme() const override { return qxpThemeOfficeXP; }

    void DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                       int nBarType, int nBarPosition) override;
    COLORREF GetRectangleTextColor(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                                   int nBarType, int nBarPosition) override;
    void FillCommandBar(CDC* pDC, CQXPBarView* pBar) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                           BOOL bEnabled) override;
    CSize DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                              BOOL bEnabled) override;
    void FillPopupGutter(CDC* pDC, CRect rcGutter, BOOL bRarelyUsed) override;
    CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rcGripper, int nFlags) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CQXPIconImage* pImage, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopped, BOOL bToolBarImage = TRUE) override;
    void DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rcButton) override;
    CSize DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawControlPopupParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawCommandListEntry(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane) override;
    CSize DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical) override;

    // Split popup items: the divider before the drop-down part.
    virtual void DrawPopupSplitDivider(CDC* pDC, CQXPControlView* pControl, CRect rc);
    // The submenu arrow of popup items.
    virtual void DrawPopupArrow(CDC* pDC, CQXPControlView* pControl, CRect rc);
    // The background of label items in popups.
    virtual void FillPopupLabel(CDC* pDC, CRect rc);

protected:
    // Dot pairs (a light and a dark 2 x 2 square).
    void DrawDotPair(CDC* pDC, int x, int y, int nLight, int nDark);
};

// ---------------------------------------------------------------------------
// "Office 2003".
class ToolkitPaintThemeB : public ToolkitPaintThemeA {
public:
    ToolkitPaintThemeB();
    ~ToolkitPaintThemeB() override;

    void RefreshMetrics() override;
    int GetCurrentTheme() const override { return qxpThemeOffice2003; }

    void DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                       int nBarType, int nBarPosition) override;
    void FillCommandBar(CDC* pDC, CQXPBarView* pBar) override;
    void FillDockBar(CDC* pDC, CWnd* pDockBar) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw) override;
    void FillPopupGutter(CDC* pDC, CRect rcGutter, BOOL bRarelyUsed) override;
    CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) override;
    CSize DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar, BOOL bDraw,
                           int nParam1, int nParam2) override;
    void DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane) override;
    void DrawStatusGripper(CDC* pDC, CRect rcGripper) override;
    CRect GetCommandBarBorders(CQXPBarView* pBar) override;
    CSize DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) override;

    // Rebuilds the 16 x 16 expand glyph from the expand-glyph gradient.
    void CreateExpandGlyph();
    // The shade (0..255, 255 transparent) of pixel i (x = i / 16,
    // y = i mod 16) of the expand glyph.
    static BYTE AFXAPI ExpandGlyphShade(int i);

    GradientColorValue m_grcDockBar;
    GradientColorValue m_grcToolBar;
    GradientColorValue m_grcExpandButton;
    GradientColorValue m_grcExpandGlyph;
    GradientColorValue m_grcExpandedGutter;
    GradientColorValue m_grcPopped;
    ColorValue m_clrToolbarBottomLine;
    ColorValue m_clrStatusPaneBorder;
    ColorValue m_clrTearOffGripper;
    HIMAGELIST m_hExpandGlyph;
    GradientColorValue m_grcChecked;
    GradientColorValue m_grcPressed;
    GradientColorValue m_grcHot;
    BOOL m_bLunaColors;
    BOOL m_bSingleLineSeparators;

protected:
    void ApplyScheme(int nColorTheme);
    // The dock bar's rectangle in the bar's client coordinates (the bar's
    // own client rectangle when it has none).
    CRect GetDockBarRectInBar(CQXPBarView* pBar);
    // The bottom (or right edge for vertical bars) of the bar's last
    // visible control, -1 when none is visible.
    int GetLastControlEdge(CQXPBarView* pBar, BOOL bVert);
};

// ---------------------------------------------------------------------------
// "Whidbey".
class ToolkitPaintThemeC : public ToolkitPaintThemeB {
public:
    ToolkitPaintThemeC();
    ~ToolkitPaintThemeC() override;

    void RefreshMetrics() override;
    int GetCurrentTheme() const override { return qxpThemeWhidbey; }
};
