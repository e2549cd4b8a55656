// qx/office2007.h - the Office 2007 look of the command bars.
//
//   theme id  class                base                 command
//   5         COffice2007Theme     ToolkitPaintThemeB   none (toolkit only)
//   6         CRibbonStyleTheme    COffice2007Theme     none (toolkit only)
//
// Both draw from the theme module (qx/themeres.h, GetThemeResources): its
// colours by section and key, its images by name. A missing image leaves its
// element undrawn (or the base draws it where said); a missing colour key
// leaves the base theme's default. RegisterOffice2007Themes installs them as
// the paint-manager factory's creators 5 and 6 (the linker keeps only what a
// program references, so a program calls it at start-up).
//
// The frame skin: a frame whose non-client area the command bars paint hands
// DrawFrame a QXPFrameSkin (its window, state, caption buttons and sizes);
// CalcFrameRegion gives it rounded corners. The skin's window side lives in
// qx/frameskin.h.
#pragma once

#include <qx/paintmanager.h>
#include <qx/tabpaint.h>
#include <qx/themeres.h>
#include <qx/themes.h>

#include <vector>

// A caption button of a skinned frame (window coordinates).
struct QXPFrameCaptionButton {
    UINT nCommand; // SC_CLOSE, SC_MAXIMIZE, SC_RESTORE or SC_MINIMIZE
    CRect rc;
    BOOL bSelected; // hot
    BOOL bPressed;
    BOOL bEnabled;
};

// What the frame-skin painting knows of a frame (window coordinates).
struct QXPFrameSkin {
    HWND hWnd = NULL;
    BOOL bActive = TRUE;
    CSize szWindow;       // the window's size
    int nBorder = 0;      // left, right and bottom border width
    int nCaption = 0;     // the caption band's height (top border included)
    BOOL bCaption = TRUE; // WS_CAPTION
    BOOL bMaximized = FALSE;
    int nStatusBar = 0;          // height of the status-bar strip beside the bottom border, 0: none
    BOOL bRoundedBottom = FALSE; // the region rounds the bottom corners too
    std::vector<QXPFrameCaptionButton> buttons;
};

// The named colours a theme reads, and where each lands: the colour table
// slot (0-62) or a named member of the theme (slot -1). Gradients are read
// dark first, then light. Tests walk it.
struct QXPOffice2007ColorKey {
    const char* pszSection;
    const char* pszKey;    // a gradient: the common stem ("ToolbarFace")
    int nSlot;             // colour-table slot, or -1
    const char* pszMember; // the member's name when nSlot is -1
    float fFactor;         // gradients: their factor; 0 for plain colours
};
const QXPOffice2007ColorKey* AFXAPI GetOffice2007ColorKeys(int* pnCount);

// The colour-table slots the themes fill with fixed values.
enum {
    qxpSlotPopupFace = 41,    // RGB(246, 246, 246) (ribbon: 250, 250, 250)
    qxpSlotPopupText = 44,    // 0 (ribbon: MenuPopupText)
    qxpSlotHotText = 45,      // 0 (ribbon: ControlHighlightText)
    qxpSlotBarText = 46,      // 0 (ribbon: GroupClientText)
    qxpSlotDisabledText = 60, // RGB(141, 141, 141) (ribbon: 167, 167, 167)
    qxpSlotPopupBorder = 43,  // MenuPopupBorder (ribbon: 134, 134, 134)
};

// ---------------------------------------------------------------------------
// The gallery painter of themes 5 and 6: the five operations of the base
// drawn from the theme's images and Toolbar colours (the views are the
// paint manager's, qx/paintmanager.h).
class COffice2007Theme;

class COffice2007GalleryPaint : public CGalleryPainter {
public:
    explicit COffice2007GalleryPaint(COffice2007Theme* pTheme);

    // The base's operations 0 to 4, in order.
    void DrawLabel(CDC* pDC, CRect rc, LPCSTR lpszText) override { DrawGroupCaption(pDC, lpszText, rc); }
    void DrawBackground(CDC* pDC, const QXPGalleryView& gallery) override { FillBackground(pDC, gallery, gallery.rc); }
    // Looks 5 (light) and 6 (dark); other looks as the base draws them.
    void DrawScrollBar(CDC* pDC, const QXPGalleryScrollBarView& bar) override;
    void DrawPopupScrollColumn(CDC* pDC, const QXPGalleryView& gallery) override { DrawScrollButtons(pDC, gallery); }
    void RefreshMetrics() override;

    void DrawGroupCaption(CDC* pDC, LPCSTR lpszCaption, CRect rc);
    void FillBackground(CDC* pDC, const QXPGalleryView& gallery, CRect rc);
    // The column 15 wide at the control's right: up 21, down 19, popup.
    void DrawScrollButtons(CDC* pDC, const QXPGalleryView& gallery);

    // The state (of 5) of a scroll or popup button: 4 disabled, 3 pressed,
    // 2 hot, 1 another part hot or pressed, 0.
    static int AFXAPI GetButtonState(const QXPGalleryView& gallery, int nPart);
    // The 9 x 9 glyph cell (1-16) of a scroll-bar arrow.
    static int AFXAPI GetArrowGlyph(BOOL bVertical, BOOL bBefore, BOOL bEnabled, BOOL bBackground);

    COffice2007Theme* m_pTheme;
    ColorValue m_clrSelected; // ControlGallerySelected
    ColorValue m_clrNormal;   // ControlGalleryNormal
    ColorValue m_clrBorder;   // ControlGalleryBorder
};

// ---------------------------------------------------------------------------
// Theme 5: menus, toolbars, status bar, workspace and the frame skin.
class COffice2007Theme : public ToolkitPaintThemeB {
public:
    COffice2007Theme();
    ~COffice2007Theme() override;

    int GetCurrentTheme() const override { return qxpThemeOffice2007; }
    int GetThemeId() const { return GetCurrentTheme(); }

    void RefreshMetrics() override;
    COLORREF GetControlTextColor(CQXPControlView* pControl) override;
    void FillStatusBar(CDC* pDC, CRect rcClient) override;
    void DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane) override;
    void DrawStatusGripper(CDC* pDC, CRect rcGripper) override;

    // --- frame skin --------------------------------------------------------------
    // Paints the non-client area of a skinned frame.
    virtual void DrawFrame(CDC* pDC, const QXPFrameSkin& frame);
    virtual void DrawFrameCaptionButton(CDC* pDC, CRect rc, UINT nCommand, BOOL bSelected, BOOL bPressed,
                                        BOOL bEnabled, BOOL bActive);
    // The window's text in the caption font (FWS_PREFIXTITLE frames: the
    // application title after the document name in its own colour).
    virtual void DrawCaptionText(CDC* pDC, CRect rc, HWND hWnd, BOOL bActive);
    static HICON AFXAPI GetFrameSmallIcon(HWND hWnd);
    static HICON AFXAPI GetFrameLargeIcon(HWND hWnd);
    // The window region (rounded corners); NULL for a maximized frame. The
    // caller owns it.
    HRGN CalcFrameRegion(const QXPFrameSkin& frame, int cx, int cy);
    // The glyph set of a caption button of that width: 13, 17 or 23.
    static int AFXAPI GetCaptionGlyphSize(int cxButton);
    // The glyph state: 3 inactive, else 2 hot and pressed, 1 either, 0.
    static int AFXAPI GetCaptionGlyphState(BOOL bSelected, BOOL bPressed, BOOL bActive);
    // The glyph image name of a command at a button width.
    static CString AFXAPI GetCaptionGlyphName(UINT nCommand, int cxButton);

    // The MDI workspace: the top-left image, then two gradients.
    void FillWorkspace(CDC* pDC, CRect rcClient, CRect rcInner);

    ThemeResources* GetThemeResources() const { return m_pResources; }
    ThemeBitmap* GetImage(LPCSTR lpszName) const { return m_pResources->LoadImage(lpszName); }
    // nGlassFlags of DrawThemeImage: the rectangle lies on the glass of a
    // composited frame (ThemeBitmap::DrawImageGlassAware).
    enum {
        kThemeImageOnGlass = 1
    };
    // Draws state nState of nStates of an image; FALSE when it is missing.
    virtual BOOL DrawThemeImage(CDC* pDC, LPCSTR lpszName, CRect rc, int nState, int nStates, CRect rcMargins,
                                COLORREF clrKey = QX_COLOR_NONE, int nGlassFlags = 0);

    COffice2007GalleryPaint* GetOffice2007GalleryPainter() const
    {
        return static_cast<COffice2007GalleryPaint*>(m_pGalleryPainter);
    }

    // --- data ------------------------------------------------------------------
    CFont m_fontCaption;
    ThemeResources* m_pResources; // the process-wide theme (not owned)
    int m_nBorderMetric;          // SPI_GETBORDER
    int m_nCaptionHeight;         // max(SM_CYCAPTION, 17)
    int m_nCaptionHeight2;        // max(SM_CYCAPTION + 1, 18)

    // Named colours (the rest land in the colour table, GetOffice2007ColorKeys).
    ColorValue m_clrStatusBarShadow;
    GradientColorValue m_grcStatusBarTop;
    GradientColorValue m_grcStatusBarBottom;
    ColorValue m_clrMenuBarText;
    ColorValue m_clrFloatingBarBorder;
    ColorValue m_clrDisabledIcon;
    GradientColorValue m_grcDisabledIcon;
    ColorValue m_clrControlLabel;
    ColorValue m_clrControlEditBorder;
    ColorValue m_clrWorkspaceTop;
    ColorValue m_clrWorkspaceMiddle;
    ColorValue m_clrWorkspaceBottom;
    ColorValue m_clrBorderActive[4];
    ColorValue m_clrBorderInactive[4];
    ColorValue m_clrCaptionTextActive;
    ColorValue m_clrCaptionTextActiveTitle;
    ColorValue m_clrCaptionTextInactive;

    // The member a table row names (NULL when none).
    ColorValue* FindColorMember(const char* pszMember);
    GradientColorValue* FindGradientMember(const char* pszMember);
};

// ---------------------------------------------------------------------------
// Theme 6: the ribbon's paint manager.
struct QXPRibbonMetrics {
    int nBaseHeight;     // h
    int nFontHeight;     // h * 120 / 96
    int nControlHeight;  // max(22, e + 6), e = h * 144 / 96
    int nRowHeight;      // max(22, h * 195 / 96)
    int nTabStripHeight; // 23 for rows of 22, else row + 2
    int nGroupCaption;   // max(17, e)
    int nSplitDropDown;  // max(12, control height / 2)
    int nLargeDropDown;  // 2 * control height - 17
};
// The metrics of a font height override (12 or more) or, below that, of the
// system menu font's absolute height (12 or less counts as 11).
QXPRibbonMetrics AFXAPI ComputeRibbonMetrics(int nOverride, int nMenuFontHeight);

// The Luna colours of the ribbon's tab colour set for colour theme 2, 3 or
// any other (1, 4, 5), in the order the set takes them.
struct QXPRibbonTabLuna {
    COLORREF clrFrame[3];
    COLORREF clrDarkText; // also the header text
    COLORREF clrGradientLight, clrGradientDark;
    COLORREF clrValue[3];
    COLORREF clrGradient2Light, clrGradient2Dark;
};
QXPRibbonTabLuna AFXAPI GetRibbonTabLunaColors(int nColorTheme);

class CQXPTabPainter;
struct TabColorSet;
namespace qxribbon {
struct CRibbonContextHeader;
typedef std::vector<CRibbonContextHeader> CRibbonContextHeaders;
}

class CRibbonStyleTheme;

// The ribbon's tab shape (number 10): the header one pixel above the tabs,
// each tab's face drawn by the ribbon theme for its state and context
// colour; the tab painter writes the caption over it.
class CRibbonTabAppearance : public CTabAppearancePainter {
public:
    explicit CRibbonTabAppearance(CRibbonStyleTheme* pTheme);
    RECT GetHeaderMargin() const override;
    // The tabs fill the theme's tab row below the header's top pixel.
    int GetHeaderHeight(const CQXPTabManager* pManager) const override;
    void DrawSingleButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem) override;

private:
    CRibbonStyleTheme* m_pTheme; // the theme that owns the painter that owns this
};

// How a ribbon tab is drawn (DrawRibbonTab).
struct QXPRibbonTabLook {
    int nContextColor = 0; // 1..7 (qxribbon::ContextColorName), 0 none
    BOOL bSelected = FALSE;
    BOOL bHot = FALSE;                                    // under the mouse, or lit by the keyboard
    BOOL bPressed = FALSE;                                // the button went down on it
    BOOL bFocused = FALSE;                                // the tab row has the keyboard
    BOOL bNarrow = FALSE;                                 // narrower than its caption's full width
    BOOL bFirstOfContext = FALSE, bLastOfContext = FALSE; // ends of a run of contextual tabs
};

class CRibbonStyleTheme : public COffice2007Theme {
public:
    CRibbonStyleTheme();
    ~CRibbonStyleTheme() override;

    // The ribbon's tab painter: the theme's tab image (appearance 10) over
    // the ribbon tab colours, in the ribbon font. Owned by the theme.
    CQXPTabPainter* GetRibbonTabPainter() const { return m_pTabPainter; }
    virtual CQXPTabPainter* CreateRibbonTabPainter();
    // The ribbon tab colours over a colour set: the button gradient from
    // colour 15, the Luna values of the colour theme (1-5, unless Luna
    // colours are off), the theme text's tab text colours.
    void ApplyRibbonTabColors(TabColorSet& c);

    int GetCurrentTheme() const override { return qxpThemeRibbon; }
    void RefreshMetrics() override;
    void RefreshFonts() override;

    COLORREF GetRectangleTextColor(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked, BOOL bPopped,
                                   int nBarType, int nBarPosition) override;
    void DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                       BOOL bPopped, int nBarType, int nBarPosition) override;
    void FillCommandBar(CDC* pDC, CQXPBarView* pBar) override;
    CSize DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                           BOOL bEnabled) override;
    CSize DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                              BOOL bEnabled) override;
    void FillPopupGutter(CDC* pDC, CRect rcGutter, BOOL bRarelyUsed) override;
    void FillStatusBar(CDC* pDC, CRect rcClient) override;
    void DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane) override;
    void DrawStatusGripper(CDC* pDC, CRect rcGripper) override;
    void SetBarRegion(CQXPBarView* pBar) override;
    // A tooltip window in the ribbon's look. With bRegion the window only
    // gets its shape, the four corner pixels cut; otherwise its face: the
    // theme's tooltip gradient and border and the window's text in the status
    // font, centred (button text, grey text when the window is disabled).
    void DrawToolTip(CDC* pDC, HWND hTip, BOOL bRegion);
    void DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rcButton) override;
    void DrawDropDownGlyph(CDC* pDC, CQXPControlView* pControl, CPoint pt, int nSelected, BOOL bPopped,
                           BOOL bEnabled, BOOL bVert) override;
    void DrawPopupSplitDivider(CDC* pDC, CQXPControlView* pControl, CRect rc) override;
    void DrawPopupArrow(CDC* pDC, CQXPControlView* pControl, CRect rc) override;
    CSize DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar, BOOL bDraw,
                           int nParam1, int nParam2) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rcGripper, int nFlags) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw) override;
    void FillPopupLabel(CDC* pDC, CRect rc) override;
    // Edit fields: disabled colour 15, selected 5, on bars ControlEditNormal,
    // in popups the popup face.
    COLORREF GetControlStateColor(CQXPControlView* pControl) override;
    CSize DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    CSize DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override;
    // The part (of 10) of a spin button image: up 0-4, down 5-9.
    static int AFXAPI GetSpinImageState(BOOL bUp, BOOL bEnabled, int nSelected, int nSpinPressed);

    // The state of a toolbar button image (TOOLBARBUTTONS22/50, 4 states);
    // -1: nothing is drawn.
    static int AFXAPI GetButtonImageState(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                          BOOL bPopped);
    // The states of a split button's main part (of 6) and drop part (of 5);
    // -1: nothing drawn.
    static int AFXAPI GetSplitMainState(int nEnabled, int nSelected, int nPressed, BOOL bPopped, int nChecked);
    static int AFXAPI GetSplitDropState(int nEnabled, int nSelected, int nPressed, BOOL bPopped, int nChecked);
    // A button of a ribbon group that lays its controls out in runs
    // (ControlsGrouping): the theme's grouped-button image of its place in
    // its run; other controls as the base draws them.
    void DrawControlBackground(CDC* pDC, CQXPControlView* pControl) override;
    // Controls directly on the ribbon (no group): collapsed groups' buttons
    // and check or radio controls the base colour only when disabled, the
    // others in any but the plain state; a plain quick-access control or
    // system button on the glass caption white (maximized frame) or black;
    // any other RibbonText. Other controls: the base.
    COLORREF GetControlTextColor(CQXPControlView* pControl) override;
    // kThemeImageOnGlass for a control of a ribbon that lies on the glass
    // caption (CQXPRibbonBar::IsRectInCaption), else 0.
    static int AFXAPI GetGlassFlags(CQXPControlView* pControl);
    // TRUE for a control of a ControlsGrouping ribbon group, with whether it
    // starts (first shown, BeginGroup or a new row) and ends (last shown, or
    // the next starts) its run.
    static BOOL AFXAPI GetGroupedRun(CQXPControlView* pControl, BOOL* pbStarts, BOOL* pbEnds);
    // The 22 x 22 cell of a grouped button (0-4).
    static int AFXAPI GetGroupedButtonState(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                            BOOL bPopped);

    // --- the ribbon bar's own elements (ribbonpaint.cpp) -------------------------
    // The face of the bar below its caption band; the QAT frame when the
    // QAT is below (rcQatBelow not empty); the two edge lines of a ribbon
    // without groups.
    void DrawRibbonBarBackground(CDC* pDC, CRect rcClient, int nCaptionHeight, CRect rcQatBelow, BOOL bGroupsShown);
    // The band under the tabs of the selected tab (context colour 0: none).
    void DrawRibbonGroupsBackground(CDC* pDC, CRect rc, int nContextColor);
    // A group's client and caption images and its caption text.
    void DrawRibbonGroup(CDC* pDC, CRect rc, LPCSTR lpszCaption, BOOL bHot, BOOL bContext, BOOL bOptionButton);
    // The button of a collapsed group, over its rectangle: the group-button
    // image for its state (popped, selected, normal; the context colour's
    // for a contextual tab), the icon (pIcon at szIcon, may be NULL)
    // centred 4 px below the top, or, narrower than 20 px, 9 px below the
    // top in the round icon frame; then the caption on two lines with the
    // drop-down arrow, in the control's text colour, above the caption band.
    void DrawRibbonGroupPopupButton(CDC* pDC, CQXPControlView* pButton, CQXPIconImage* pIcon, CSize szIcon,
                                    int nContextColor);
    // The face of a copy of a collapsed group's button elsewhere (the QAT)
    // before the ordinary button drawing: "RIBBONGROUPQUICKACCESS" for its
    // state, glass-aware.
    void DrawRibbonGroupQuickAccessButton(CDC* pDC, CQXPControlView* pButton);
    // The ribbon's face colour over a rectangle (a collapsed group's popup).
    void FillRibbonFace(CDC* pDC, CRect rc);
    // The width of a collapsed group's button for a caption.
    int GetRibbonGroupPopupButtonWidth(CDC* pDC, LPCSTR lpszCaption);
    void DrawRibbonOptionButton(CDC* pDC, CRect rc, int nSelected, BOOL bPressed);
    // A tab of the tab row (rcTab its rectangle; the face lies 1 px inside
    // at the top, right and bottom): only a selected, hot or pressed tab
    // has a face; a tab narrower than its full width gets a separator at
    // its right edge, a contextual tab that starts or ends its run one at
    // that end. The tab painter writes the caption.
    void DrawRibbonTab(CDC* pDC, CRect rcTab, const QXPRibbonTabLook& look);
    // The face's state: "RIBBONTAB" (of 6) selected with focus 5, selected
    // and hot 4, selected 3, pressed 2, hot 1; "CONTEXTTAB<colour>" (of 5)
    // selected 4 with focus or hot, else 3, hot or pressed 1; -1 for none.
    static int AFXAPI GetRibbonTabPart(const QXPRibbonTabLook& look);
    // The width a tab needs for its caption.
    int GetRibbonTabWidth(CDC* pDC, LPCSTR lpszCaption);
    // The caption band a ribbon draws without the frame skin (QAT area
    // when the QAT is above and rcQat is not empty).
    void DrawRibbonCaptionArea(CDC* pDC, CRect rcCaption, CRect rcQat, LPCSTR lpszTitle);
    // The QAT's customise (bMore FALSE) or more button.
    void DrawRibbonQuickAccessButton(CDC* pDC, CRect rc, BOOL bMore, int nSelected, BOOL bPopped,
                                     int nGlassFlags = 0);
    // A group-band scroll button (bLeft: towards the first group).
    void DrawRibbonScrollButton(CDC* pDC, CRect rc, BOOL bLeft, int nSelected, BOOL bPressed);
    // A group-band background of the popup that shows a minimised tab.
    void DrawRibbonPopupGroupsArea(CDC* pDC, CRect rc, int nContextColor);
    // The frame's caption when the ribbon draws it (a frame hook): the
    // frame's top images, the QAT area when rcQat is not empty, the frame's
    // small icon at the left without a system button, the title in rcTitle.
    // On glass (the frame extended into the client area with composition)
    // the band is black, which the system shows as glass, the QAT area has
    // its glass image and the title glows (DrawGlowCaptionText).
    void DrawRibbonFrameCaption(CDC* pDC, CRect rcCaption, CRect rcQat, HWND hWndFrame, BOOL bActive, CRect rcTitle,
                                BOOL bSystemButton, BOOL bGlass = FALSE);
    // The contextual tab headers: each header's image of its colour and
    // its caption (nTextOffset: how far the text moves down, the frame
    // border with a frame hook). A colour without an image ends the loop.
    // On glass the captions glow like the title (hWndFrame, bActive).
    void DrawRibbonContextHeaders(CDC* pDC, const qxribbon::CRibbonContextHeaders& headers,
                                  int nTextOffset, BOOL bGlass = FALSE, HWND hWndFrame = NULL, BOOL bActive = TRUE);
    // The system button on a ribbon that shows a caption: an icon wider
    // than 32 (hIcon, the control's own) alone, centred; else the button
    // image at its own size, centred ("FRAMESYSTEMBUTTON52" on a button of
    // at least 55 × 55 when the theme has it, else "FRAMESYSTEMBUTTON";
    // part 2 popped, 1 selected, 0) and moved down by the part of the
    // rectangle above 0, then the control's 32-pixel icon centred on it or,
    // without one, the frame's large icon.
    void DrawRibbonSystemButton(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPopped, HICON hIcon, HWND hWndFrame);
    // Caption text on glass, in the DC's font: white on a maximized frame;
    // else, with visual styles, black text with a glow of 8 drawn by the
    // style's "WINDOW" caption part into a buffer over the rectangle widened
    // by 5 each side; without them plain black text.
    virtual void DrawGlowCaptionText(CDC* pDC, CRect rc, const CString& strText, HWND hWndFrame, BOOL bActive);
    CFont* GetRibbonFont() { return &m_fontRibbon; }

    CFont m_fontRibbon;
    BOOL m_bRecreateRibbonFont; // TRUE until the font is made
    int m_nFontHeightOverride;  // 0: the menu font's height
    BOOL m_bHotGroups;          // the ribbon's groups light up under the mouse
    QXPRibbonMetrics m_metrics;
    BOOL m_bUseFaceOverride; // "Segoe UI" when installed
    CString m_strFaceOverride;
    ColorValue m_clrRibbonFace;
    ColorValue m_clrGroupCaptionText;
    ColorValue m_clrRibbonText;
    ColorValue m_clrControlEditNormal;
    ColorValue m_clrMinimizedFrameEdgeHighLight;
    ColorValue m_clrMinimizedFrameEdgeShadow;
    ColorValue m_clrTabNormalText;
    ColorValue m_clrTabSelectedText;
    CQXPTabPainter* m_pTabPainter; // owned
};

// Installs COffice2007Theme and CRibbonStyleTheme as the factory's creators 5
// and 6.
void AFXAPI RegisterOffice2007Themes();
