// qx/panepaint.h - the docking-pane paint manager: the metrics of captions,
// tab strips, splitters and borders, and the drawing of containers and
// splitters. One per manager; a theme replaces it whole.
#pragma once

#include <qx/panetree.h>

class CQXPTabPainter;
class CVisualStyleTheme;
struct LunaScheme;

class CQXPDockingPaneTabbedContainer;

class CQXPDockingPaneMiniWnd;

// What one horizontal caption bar shows, whoever owns it: a tabbed
// container or a floating frame.
struct CaptionBarContent {
    CPaneBase* pOwner = NULL; // holds the buttons and says which of them show
    CString strTitle;
    HICON hIcon = NULL;            // before the title while captions show icons
    BOOL bActive = FALSE;          // drawn in the active colours
    BOOL bDisabled = FALSE;        // the title greyed
    BOOL bButtonsInert = FALSE;    // the glyphs greyed
    BOOL bHorizontalPin = FALSE;   // the pin glyph lies on its side
    RECT rcRebar = {0, 0, 0, 0};   // theme 8: what its band picture spans (empty: the caption)
    int nStripeGap = 10;           // theme 5: pixels from the text to the stripes
    int nButtonSize = 0;           // 0: the theme's own size
    BOOL bBackgroundDrawn = FALSE; // themes 2, 5, 7, 10: the caller drew and placed the strip
};

class CaptionButton {
public:
    CaptionButton(int nID, CPaneBase* pPane) : m_nID(nID), m_pPane(pPane) { SetRectEmpty(&m_rc); }

    // Tracks a press that began at pt over the button: the mouse is
    // captured for hWnd and the button looks pressed while the mouse is
    // over it. TRUE when the left button was released over it; FALSE when
    // the release came outside, or Esc, the right button, WM_CANCELMODE or
    // a lost capture ended the press, or another window held the capture.
    // Points are hWnd's client coordinates (screen ones with bScreen, as
    // m_rc then is). Other messages are dispatched meanwhile.
    // With nCoords = clickWindow the points and m_rc are hWnd's window
    // coordinates (a button in the non-client area).
    enum {
        clickClient = 0,
        clickScreen = 1,
        clickWindow = 2
    };
    BOOL Click(HWND hWnd, POINT pt, int nCoords = clickClient);
    // Ends a press being tracked (WM_CANCELMODE reached the owner).
    void CancelClick() { m_bCancel = TRUE; }

    int m_nID;
    CPaneBase* m_pPane;
    RECT m_rc;
    DWORD m_dwState = 0;
    BOOL m_bPressed = FALSE;
    BOOL m_bHot = FALSE; // the mouse is over it

private:
    void Redraw(HWND hWnd) const;
    BOOL m_bCancel = FALSE; // set while a press is tracked to end it
};

class CDockingPanePaintManager {
public:
    CDockingPanePaintManager();
    virtual ~CDockingPanePaintManager();

    virtual void RefreshMetrics();
    // Makes the paint manager of a theme id (1..10; any other id gives the
    // default theme 0): caption button style, caption extra height and the
    // appearances and colour sets of its two tab paint managers.
    static CDockingPanePaintManager* AFXAPI CreateTheme(int nTheme);
    int GetCurrentTheme() const { return m_nTheme; }
    int GetCaptionButtonStyle() const { return m_nButtonStyle; }
    int GetCaptionExtraHeight() const { return m_nCaptionExtra; }
    // The tab paint managers of tabbed containers and of auto-hide panels.
    CQXPTabPainter* GetTabPainter() const { return m_pTabPainter; }
    CQXPTabPainter* GetPanelTabPainter() const { return m_pPanelTabPainter; }
    int GetSplitterSize() const { return m_nSplitterSize; }
    int GetCaptionHeight() const { return m_nCaptionHeight; }
    // The text band of a caption (text height, at least 13, plus the
    // theme's extra height); the caption adds its margins above and below.
    int GetCaptionTextHeight() const { return m_nCaptionTextHeight; }
    // The caption font (NULL: the stock GUI font); measures the caption
    // anew. bUseSystem: the font is the system's, taken again at each
    // refresh (a font of the program's own stays until the next call);
    // with the Tahoma preference a system font of a Western character set
    // is written in the caption face ("Tahoma" unless the program named
    // another) where that is installed.
    void SetCaptionFont(const LOGFONTA* pLogFont, BOOL bUseSystem = FALSE);
    BOOL IsUseSystemFont() const { return m_bUseSystemFont; }
    // The height of the tab strip of tabbed containers (RefreshMetrics:
    // TabStripHeightForText of a space in the pane-tab painter's normal font).
    int GetTabStripHeight() const { return m_nTabStripHeight; }
    // A strip 10 pixels taller than its text, 24 for text under 14 pixels.
    static int AFXAPI TabStripHeightForText(int nTextHeight);
    BOOL IsShowCaption() const { return m_bShowCaption; }
    BOOL IsAlwaysShowTabs() const { return m_bAlwaysShowTabs; }

    // Shrinks a container's rectangle to the area of its pane: caption, tab
    // strip and borders off.
    virtual void AdjustClientRect(const CQXPDockingPaneTabbedContainer* pPane, RECT& rect) const;
    // The caption band and the tab strip band of a container's rectangle.
    RECT GetCaptionRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const;
    RECT GetTabStripRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const;
    // The part of a container's caption over which the pointer shows the
    // four-way arrow (container coordinates, from its rectangle): the
    // gripper dots at the start of the caption in themes 2 and 10, 10
    // pixels along the caption by its text band; empty in the others.
    RECT GetCaptionGripperRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const;
    // A container's rectangle less its caption (and theme 5's insets).
    RECT GetBodyRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const;
    // Places the visible caption buttons at the right end of the caption
    // (hidden ones get an empty rectangle).
    void LayoutCaptionButtons(CQXPDockingPaneTabbedContainer* pPane, const RECT& rect);

    // Colour N of the paint manager's table (1..29 the system colours of
    // that number, 30..62 the toolkit's derived colours, themes override
    // entries); values above 62 come back as given.
    COLORREF GetColor(int nIndex) const;
    void SetColor(int nIndex, COLORREF clr);

    virtual void DrawPane(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rc);
    virtual void DrawSplitter(HDC hDC, const RECT& rc, BOOL bHorizBar);
    // A floating frame drawn by the theme (its window rectangle at 0, 0).
    virtual void DrawFloatingFrame(HDC hDC, CQXPDockingPaneMiniWnd* pFrame, const RECT& rc);
    // A margin window on one edge of the docking area: the face.
    virtual void DrawMargin(HDC hDC, const RECT& rc, BOOL bHorizontal);
    // The caption band of a container in the theme's look (down its left
    // side when the container's caption is vertical).
    virtual void DrawCaption(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rcCaption);
    // The vertical caption font's description (height at least 11 pixels).
    const LOGFONTA& GetVerticalCaptionFont() const { return m_lfVertical; }
    // A row of caption buttons from the right end of the band; returns the
    // left edge left for the text.
    int DrawCaptionButtons(HDC hDC, const CaptionBarContent& content, const RECT& rcBand, COLORREF clrGlyph,
                           int nSize, int nGap);
    void DrawCaptionButton(HDC hDC, CaptionButton* pButton, COLORREF clrGlyph, BOOL bHidden);
    static void AFXAPI DrawCaptionButtonGlyph(HDC hDC, int nID, int x, int y, COLORREF clr, BOOL bHorizontalPin);

    int m_nTheme;
    int m_nButtonStyle;
    int m_nCaptionExtra;
    CQXPTabPainter* m_pTabPainter;
    CQXPTabPainter* m_pPanelTabPainter;
    int m_nSplitterSize;
    int m_nCaptionHeight;
    int m_nTabStripHeight;
    int m_nBorder;
    BOOL m_bShowCaption;
    BOOL m_bAlwaysShowTabs;
    HFONT m_hFont;
    // Background of the auto-hide panels: a gradient from the first to the
    // second colour (-1: take the other one).
    COLORREF m_clrPanelBack[2];
    // Whether auto-hide tabs show the pane icons.
    BOOL m_bShowPanelIcons;
    // Whether data dragged over an auto-hide tab slides its pane out.
    BOOL m_bDragSlidesOut;

    // Caption colours of the theme.
    COLORREF m_clrActiveCaption[2];
    COLORREF m_clrInactiveCaption[2];
    COLORREF m_clrActiveCaptionText;
    COLORREF m_clrInactiveCaptionText;
    BOOL m_bGradientCaptions;
    BOOL m_bHighlightActive;
    int m_nSplitterStyle; // 1 plain edges, 4 horizontal gradient, 8 vertical gradient
    // Face of captions and splitters (colour 15 unless a scheme changes it),
    // the border colour, and the background gradient of gradient splitters.
    COLORREF m_clrFace;
    COLORREF m_clrBorder;
    COLORREF m_clrBackground[2];
    // Captions show the selected pane's icon before the title (off by
    // default).
    BOOL m_bShowCaptionIcon;
    // Room above and below a caption's text band (themes 6 and 8: none).
    RECT m_rcCaptionMargin;
    // Captions keep the system's caption weight (themes 6 and 8 write them
    // in the normal weight).
    BOOL m_bKeepCaptionWeight = TRUE;
    // System caption fonts of Western character sets prefer the caption
    // face (m_strCaptionFaceName) where it is installed; the vertical face
    // follows the toolkit's rule for that preference.
    BOOL m_bPreferTahoma = FALSE;
    // The face the preference writes system caption fonts in.
    CString m_strCaptionFaceName = "Tahoma";
    int m_nCaptionTextHeight;
    // Caption buttons of style 2 light up in orange gradients (Luna schemes).
    BOOL m_bGradientButtons;
    // The strip captions (themes 2, 7 and 10): a line of dots at the start
    // of the bar, after which its content starts 8 pixels later (themes 2
    // and 10); the caption filled with the face and the strip set a pixel
    // in (theme 2), else the strip edged in the frame colour.
    BOOL m_bGripperDots = FALSE;
    BOOL m_bFilledCaption = FALSE;
    // The strip of a docked caption in themes 2, 7 and 10, from the top of
    // the caption rectangle: the caption text height and 3 deep (the
    // margins do not apply), no deeper than the caption.
    RECT GetCaptionStripRect(const RECT& rcCaption) const;
    // Which desktop colour scheme the Luna themes (2, 7, 10) follow: 7 the
    // colour manager's (none while its Luna colours are off), 6 the detected
    // system scheme, 0 none; other values name a scheme.
    int m_nLunaSelector;
    // The colour scheme the theme's colours follow now: 1 (also 4, 5) blue,
    // 2 olive, 3 silver, 0 none.
    int GetColorScheme() const;
    // Theme 10: the frame, face, splitter, caption and caption-text colours
    // of the Office 2007 theme text ("Window", "DockingPane", "Toolbar")
    // where it has them.
    void ApplyOffice2007PaneColors();

    // The visual-style classes of captions and their buttons, opened at each
    // refresh for the desktop ("REBAR" by theme 8 only).
    enum VisualStyleClass {
        vsExplorerBar,
        vsButton,
        vsToolbar,
        vsWindow,
        vsRebar,
        vsCount
    };
    CVisualStyleTheme* GetVisualStyle(VisualStyleClass n) const { return m_pStyles[n]; }
    // The class is open and the application themed: its parts draw, else
    // the classic look does.
    BOOL IsVisualStyleActive(VisualStyleClass n) const;

protected:
    void RefreshThemeColors();
    // Builds both caption fonts from a log font and measures the caption.
    void CreateCaptionFonts(const LOGFONTA* pLogFont);
    BOOL m_bUseSystemFont = TRUE;
    // Takes a Luna colour scheme (inactive captions, face, border, table
    // entries, orange active captions and buttons).
    void ApplyLunaScheme(const LunaScheme& scheme);
    COLORREF m_clrTable[64];
    HFONT m_hFontVertical = NULL;
    LOGFONTA m_lfVertical = {};
    // Where a vertical caption's icon and text go (upright terms), and how.
    struct VerticalText {
        RECT rc = {0, 0, 0, 0};
        COLORREF clr = 0;
        BOOL bDisabled = FALSE;
    };
    // One horizontal caption: background, buttons, icon and text; with
    // pText, everything but the icon and text, whose place it reports.
    void DrawCaptionBar(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rcCaption, VerticalText* pText);
    // The bar itself: rcCaption is filled, rcBand (inside it) takes the
    // theme's band, buttons and text.
    void DrawCaptionBar(HDC hDC, const CaptionBarContent& content, const RECT& rcCaption, const RECT& rcBand,
                        VerticalText* pText);
    // What a container's caption shows.
    CaptionBarContent ContentOf(CQXPDockingPaneTabbedContainer* pPane) const;
    // The floating frame's caption strip and its 3-D borders (themes
    // other than 2, 7, 10 and a styled 3).
    void DrawFloatingFrameClassic(HDC hDC, CQXPDockingPaneMiniWnd* pFrame, const RECT& rcFrame);
    void DrawFloatingFrameLuna(HDC hDC, CQXPDockingPaneMiniWnd* pFrame, const RECT& rcFrame);
    BOOL DrawFloatingFrameStyled(HDC hDC, CQXPDockingPaneMiniWnd* pFrame, const RECT& rcFrame);
    CaptionBarContent ContentOf(CQXPDockingPaneMiniWnd* pFrame) const;
    CVisualStyleTheme* m_pStyles[vsCount]; // owned
    // Set while a caption is drawn: the pane is active and highlighted.
    BOOL m_bCaptionActive = FALSE;
    // Theme 8: the "REBAR" picture over the container's frame, clipped to the caption.
    // The rectangle a container's band picture spans, in its coordinates.
    RECT RebarRectOf(CQXPDockingPaneTabbedContainer* pPane, const RECT& rcCaption) const;
    // Caption-button styles 3 to 6: the visual-style part; FALSE when it
    // did not draw (the classic style 1 then does). *pbGlyph: whether the
    // glyph still goes on top, in *pclrGlyph.
    BOOL DrawThemedCaptionButton(HDC hDC, CaptionButton* pButton, BOOL* pbGlyph, COLORREF* pclrGlyph);
};
