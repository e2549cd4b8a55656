// qx/tabpaint.h - the tab paint manager: measures, lays out and paints tab
// strips for any tab manager. It keeps the strip options (position, layout,
// margins, item widths, tooltips, hot tracking), the tab fonts, and the
// appearance and colour set chosen by number.
#pragma once

#include <qx/colors.h>
#include <qx/tabmanager.h>

enum TabLayoutStyle {
    tabLayoutAutoSize = 0,
    tabLayoutSizeToFit = 1,
    tabLayoutFixed = 2,
    tabLayoutCompressed = 3,
    tabLayoutMultiRow = 4,
    tabLayoutRotated = 5,
};

enum TabPosition {
    tabPositionTop = 0,
    tabPositionLeft = 1,
    tabPositionBottom = 2,
    tabPositionRight = 3
};

// The lines of the slanted tabs (appearances 3 and 9), entries of
// TabColorSet::clrShape.
enum TabShapeColor {
    tabShapeOutline = 0,         // outline of a tab that is not selected
    tabShapeSelectedOutline = 1, // outline of the selected tab, and the client frame
    tabShapeInner = 2,           // first inner line of a tab that is not selected
    tabShapeInnerLight = 3,      // second inner line of it
    tabShapeCount = 4
};

// The lines of the rounded tabs (appearance 7), entries of
// TabColorSet::clrOutline for the selected tab; the other tabs use the same
// line plus tabOutlineOtherTabs. Entry 0 is not used.
enum TabOutlineColor {
    tabOutlineEdge = 1,            // near slant and top edge
    tabOutlineEdgeBottom = 2,      // them on a tab on the bottom or right side
    tabOutlineFarSlant = 3,        // far slant
    tabOutlineInnerEdge = 4,       // inner near slant and edge, one pixel in
    tabOutlineInnerFarSlant = 5,   // inner far slant
    tabOutlineInnerEdgeBottom = 6, // inner near slant and edge on the bottom or right side
    tabOutlineOtherTabs = 6,       // offset of the lines of the other tabs (7-12)
    tabOutlineCount = 13
};

// The colours of one colour set (-1: unset, the line or fill is skipped).
struct TabColorSet {
    COLORREF clrHeader[2]; // header face, a gradient away from the client
    COLORREF clrClient[2];
    COLORREF clrBorder;
    COLORREF clrControlFace;
    COLORREF clrButtonHighlight;
    COLORREF clrSelectedFace, clrHotFace, clrPressedFace, clrNormalFace;
    COLORREF clrNormalText, clrInactiveText, clrSelectedText, clrHotText, clrDisabledText;
    COLORREF clrStateFill[2]; // -2: the checker pattern
    COLORREF clrStateFrame[2];
    COLORREF clrHighlight3D, clrShadow3D, clrDarkShadow3D;
    COLORREF clrShape[tabShapeCount];
    COLORREF clrOutline[tabOutlineCount];
    BOOL bLuna;
    BOOL bItemGradient;
    // The outer lines of the static frame: its dark edge (top and left) and
    // its light edge (bottom and right). The colour set gives the standard
    // (the 3-D shadow and highlight); a host's override wins and stays over
    // refreshes (SetDefault returns to the standard).
    ColorValue clrFrameDark, clrFrameLight;
};

// The colour sets of the docking themes, laid over a numbered set: theme 1's
// gradient set, theme 6's scheme sets and theme 9's bordered sets.
enum TabDockingColorSet {
    tabDockingSetNone = 0,
    tabDockingSetGradient = 1,
    tabDockingSetScheme = 6,
    tabDockingSetBordered = 9,
};

class CQXPTabPainter;
class CVisualStyleTheme;

// What every appearance set starts from: the paint manager it serves (linked
// by the painter when the set is installed), the spacing between the rows of
// a multi-row strip and the header margins (none until a set names them).
class CTabPaintPart {
public:
    explicit CTabPaintPart(CQXPTabPainter* pPaintManager = NULL, int nRowSpacing = 0);
    virtual ~CTabPaintPart() {}

    CQXPTabPainter* m_pPaintManager; // not owned
    // Pixels between neighbouring rows (negative: they overlap).
    int m_nRowSpacing;
    RECT m_rcHeaderMargin;
};

// The shape of one appearance number: its header margins, the colour sets
// that go with it and the shape of each tab. SetAppearance builds the
// numbered ones; a host installs its own with SetAppearanceSet (the painter
// owns it from then on) and overrides what it draws differently.
class CTabAppearancePainter : public CTabPaintPart {
public:
    // nId: the number whose layout and shapes this set keeps (0..10; any
    // other gives 0). Rows overlap by 2 pixels.
    explicit CTabAppearancePainter(int nId = 0);
    int GetId() const { return m_nId; }
    // Measures a space in the paint manager's normal tab font: the button
    // height is the text height + 3, at least 18.
    virtual void RefreshMetrics();
    virtual RECT GetHeaderMargin() const;
    // The height of one row of tabs: the button margins around the button
    // height, the height the strip asks for (its minimum item size), and
    // while images show the button margins around the larger image side + 4.
    virtual int GetHeaderHeight(const CQXPTabManager* pManager) const;
    // Bit mask of colour-set numbers, and the one the set starts with.
    virtual int GetSupportedColorSets() const;
    virtual int GetDefaultColorSet() const;
    // The whole control: by default the painter's strip painter
    // (CQXPTabPainter::DrawTabControlEx).
    virtual void DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    // The shape of one tab; its image and caption follow.
    virtual void DrawSingleButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // Room the appearance keeps inside its client rectangle, given for a
    // strip on top and turned with the position (none in the numbered ones).
    virtual RECT GetClientMargin(const CQXPTabManager* pManager) const;
    // The frame around tab groups and the splitters between them, by style:
    // 0 draws the frame inside rc, 1 only deflates rc by it (hDC may be
    // NULL), 2 the splitter between groups side by side, 3 between groups
    // one above another (rc the splitter). The frame is the appearance's
    // client frame in the paint manager's client-frame style (a 3-D or
    // one-colour frame, the line on the tab side, or none), its room
    // filled with the control face.
    virtual void DrawClientFrame(HDC hDC, RECT& rc, int nStyle);

    // Grows rc by amounts given for a strip on top (nLeft along the strip
    // at its start, nTop at the tab side, nRight at the strip's end,
    // nBottom at the client side), turned for the tab position: a bottom
    // strip has its tab side at the bottom, a left or right strip runs
    // down with its tab side at the left or right. Negative amounts deflate.
    static void AFXAPI AdjustRectByPosition(RECT& rc, int nLeft, int nTop, int nRight, int nBottom, int nPosition);

    // The height of a tab's text row (RefreshMetrics); 18 until measured.
    int m_nButtonHeight;

protected:
    int m_nId;
};

// Appearance 2, the flat box tabs, with the two flags that choose how its
// tabs are drawn. SetAppearance(2) builds it with the box flag alone; a
// docking theme builds its own with the separator flag or neither.
//  - box: every tab filled and framed in the border colour (the selected one
//    open to the client and one pixel deeper), lit one pixel inside its
//    start, outer edge and end;
//  - separator (box clear): only the selected tab filled, two pixels deeper
//    and outlined by a rounded rectangle; the others unfilled, with a short
//    separator at their far end (none after the last tab);
//  - neither: every tab filled, two pixels deeper and outlined by a rounded
//    rectangle; the unselected ones with a line on their client side unless
//    the client has no frame (style 2).
class CTabAppearanceFlatBox : public CTabAppearancePainter {
public:
    explicit CTabAppearanceFlatBox(BOOL bBox = TRUE, BOOL bSeparator = FALSE)
        : CTabAppearancePainter(2), m_bBox(bBox), m_bSeparator(bSeparator)
    {
    }
    BOOL m_bBox;       // framed boxes, lit inside (wins over m_bSeparator)
    BOOL m_bSeparator; // the selected tab alone is a box; separators between the others
};

// The fills of one colour-set number. The painter computes the numbered
// set's colours (TabColorSet) and then lets the set adjust them; the fills
// are asked of the set while tabs are drawn. SetColor builds the numbered
// ones, SetColorSet installs a host's own (the painter owns it).
class CTabColorSet {
public:
    // nId: 1, 2, 4, 8, 16 or 32 (any other gives 1).
    explicit CTabColorSet(int nId = 1);
    virtual ~CTabColorSet() {}
    int GetId() const { return m_nId; }
    // After the painter computed the numbered set's colours into c.
    virtual void RefreshMetrics(TabColorSet& /*c*/) {}
    // Fills a tab by its state; returns the colour filled, -1 when the set
    // drew no colour of its own (the joins to the client are then skipped).
    virtual COLORREF FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // The client area below a strip with a frame (the themed set only).
    virtual void FillClient(HDC hDC, const RECT& rc, CQXPTabManager* pManager);
    // Takes the client's corner pixel at the tab side off the DC's clip
    // region before the client is filled (the themed set only).
    virtual void ExcludeClientCorner(HDC /*hDC*/, const RECT& /*rc*/, CQXPTabManager* /*pManager*/) {}
    // The state button of appearance 4: the selected tab filled and framed,
    // the others a separator at their far end.
    virtual void FillStateButton(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // The header face under the strip (a gradient by the tab position).
    virtual void FillHeader(HDC hDC, const RECT& rc, CQXPTabManager* pManager);
    // The face of a navigate button; a pressed look may move the glyph
    // (rc). Returns the glyph's colour.
    virtual COLORREF FillNavigateButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerNavigateButton* pButton,
                                        RECT& rc);
    // Whether the set draws with visual styles now.
    virtual BOOL IsThemed() const { return FALSE; }

    CQXPTabPainter* m_pPaintManager; // linked by the painter, not owned

protected:
    int m_nId;
};

// Colour set 8: the "TAB" and "TOOLBAR" visual-style parts while the
// application is themed; the default set's colours and fills otherwise.
class CTabColorSetVisualStyle : public CTabColorSet {
public:
    CTabColorSetVisualStyle();
    ~CTabColorSetVisualStyle() override;
    void RefreshMetrics(TabColorSet& c) override;
    COLORREF FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem) override;
    void FillClient(HDC hDC, const RECT& rc, CQXPTabManager* pManager) override;
    void ExcludeClientCorner(HDC hDC, const RECT& rc, CQXPTabManager* pManager) override;
    void FillStateButton(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem) override;
    COLORREF FillNavigateButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerNavigateButton* pButton,
                                RECT& rc) override;
    // The "TAB" handle is open and the application is themed.
    BOOL IsThemed() const override;

private:
    CVisualStyleTheme* m_pTab;     // owned
    CVisualStyleTheme* m_pToolbar; // owned
};

// Colour set 4, the Luna set: the desktop scheme's colours while the painter
// is themed (m_bThemed) and the colour manager follows a scheme, the
// toolkit's checked and pressed faces otherwise; tabs shaded from white.
class CTabColorSetLuna : public CTabColorSet {
public:
    CTabColorSetLuna() : CTabColorSet(4) {}
    // The face by state (the pressed face for the pressed tab, the hot face
    // for the hot one, else the selected or normal face or the item's own),
    // shaded from its mix with white at the outer edge.
    COLORREF FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem) override;

protected:
    explicit CTabColorSetLuna(int nId) : CTabColorSet(nId) {}
    // The selected or normal face, or the item's own colour when the
    // painter uses them.
    COLORREF GetItemColor(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const;
    // A tab's face shaded from its mix with white, turned with the position.
    void FillShaded(HDC hDC, const RECT& rc, COLORREF clr) const;
};

// Colour set 16, the second Luna set: the Luna set's colours while the
// painter is themed (m_bThemed) and the colour manager follows a desktop
// scheme; otherwise light headers with the style border and, on the blue,
// olive and silver schemes, tabs shaded from white (bItemGradient).
class CTabColorSetLuna2 : public CTabColorSetLuna {
public:
    CTabColorSetLuna2();
    ~CTabColorSetLuna2() override;
    // The item's colour (the selected or normal face, or the item's own),
    // the hot face for the hot item; shaded with bItemGradient, else solid.
    COLORREF FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem) override;
};

class CQXPTabPainter {
public:
    CQXPTabPainter();
    virtual ~CQXPTabPainter();
    CQXPTabPainter(const CQXPTabPainter&) = delete;
    CQXPTabPainter& operator=(const CQXPTabPainter&) = delete;

    // Appearance by number (unknown numbers give 0); its default colour set
    // comes with it.
    void SetAppearance(int nAppearance);
    // Installs a set made by the caller (owned from now on; NULL gives
    // appearance 0) with its default colour set.
    void SetAppearanceSet(CTabAppearancePainter* pAppearance);
    CTabAppearancePainter* GetAppearanceSet() const { return m_pAppearance; }
    int GetAppearance() const { return m_nAppearance; }
    void SetColor(int nColorSet);
    // Installs a colour set made by the caller (owned from now on; NULL
    // gives set 1).
    void SetColorSet(CTabColorSet* pColorSet);
    CTabColorSet* GetColorSet() const { return m_pColorSet; }
    int GetColor() const { return m_nColorSet; }
    // The colours of the current colour set (recomputed by RefreshMetrics,
    // SetColor and SetAppearance).
    const TabColorSet& GetColors() const { return m_colors; }
    TabColorSet& GetColors() { return m_colors; }
    void RefreshColors();
    // A colour of the toolkit's colour manager; with m_bPlainColors the
    // plain system colour it stands on (as without blends).
    COLORREF GetToolkitColor(int nIndex) const;
    // A docking theme's colour set (TabDockingColorSet) for the tabs of
    // tabbed containers or, with bAutoHide, of auto-hide panels.
    void SetDockingColorSet(int nSet, BOOL bAutoHide);
    int GetDockingColorSet() const { return m_nDockingSet; }
    // The fill of an item by its state (item colours when they are used).
    COLORREF GetItemFill(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const;
    // The text colour of an item by its state.
    COLORREF GetItemTextColor(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const;
    // The colour sets an appearance supports (bit mask) and its default.
    static int AFXAPI GetSupportedColorSets(int nAppearance);
    static int AFXAPI GetDefaultColorSet(int nAppearance);
    // The header margins of the appearance, with the room its tab ends need.
    RECT GetHeaderMargin() const;

    void SetPosition(int nPosition);
    int GetPosition() const { return m_nPosition; }
    void SetLayout(int nLayout);
    int GetLayout() const { return m_nLayout; }
    BOOL IsHorizontal() const { return m_nPosition == tabPositionTop || m_nPosition == tabPositionBottom; }

    void AddListener(CQXPTabManagerAtom* pAtom);
    void RemoveListener(CQXPTabManagerAtom* pAtom);
    virtual void OnPropertyChanged();
    virtual void RefreshMetrics();
    // Builds the four fonts from a log font (bUseSystemFont records whether
    // they follow the system's icon-title font).
    void SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseSystemFont = FALSE);
    HFONT GetFont(BOOL bBold, BOOL bVertical) const;
    LONG GetVerticalFontHeight() const { return m_lfVertical.lfHeight; }
    void SetItemMetrics(int nFixed, int nMin = 0, int nMax = 0);

    // Row height of the strip (the appearance's header height).
    int GetButtonHeight() const;
    // The height of one row of a strip's tabs (the appearance's header
    // height for that strip).
    int RowHeight(const CQXPTabManager* pManager) const { return m_pAppearance->GetHeaderHeight(pManager); }
    // The focus rectangle of a tab (with m_bShowFocus): rc deflated by 3.
    virtual void DrawFocusRect(HDC hDC, CQXPTabManagerItem* pItem, const RECT& rc);
    // Width of one item in the current layout (DrawSingleButtonContent
    // without drawing).
    int GetButtonLength(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // Lays the strip out inside rc.
    virtual void RepositionTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    // The rectangle the strip's content takes inside the control rc: off
    // the static frame and the client margins, the client rectangle
    // (GetClientRect), off the appearance's client margin, then off the
    // client frame: style 0 two pixels on every side, style 1 two on the
    // tab side, style 2 nothing. The stacked appearance: between its rows.
    virtual void AdjustClientRect(CQXPTabManager* pManager, RECT& rc) const;
    // The room the client frame takes inside rc, by the client-frame
    // style: 0 two pixels on every side, 1 two on the tab side, 2 none.
    void DeflateByClientFrame(RECT& rc) const;
    // The header: the band of the rows and header margins at the tab side
    // of a control rectangle (one already off the frame and margins).
    RECT GetHeaderRect(CQXPTabManager* pManager, const RECT& rcControl) const;
    // The client: the control less its header, overlapping the header's
    // client-side row by 1 pixel (the row the tabs join the client on).
    RECT GetClientRect(CQXPTabManager* pManager, const RECT& rcControl) const;
    // The client of a control rectangle by the client-frame style: style 0
    // filled by the colour set and framed, style 1 a line on its tab side
    // (appearances 2, 6 and 7 fill it too), style 2 nothing. Appearance 4
    // leaves it to the visual-style set, appearance 10 fills a framed one
    // with the theme's "RIBBONGROUPS" picture.
    void DrawClient(CQXPTabManager* pManager, HDC hDC, const RECT& rcClient);
    // The lines of the appearance's client frame around rcClient: nStyle 0
    // the whole frame, 1 the line on the tab side. Appearances 0 and 1: a
    // 3-D frame (highlight, dark shadow) and a shadow line 1 pixel in along
    // the bottom and right; 3 and 9 the selected tab's outline colour; 5
    // the button highlight and the selected text; the others the border.
    void FrameClient(HDC hDC, const RECT& rcClient, int nStyle) const;
    // The whole control, drawn by the appearance set.
    virtual void DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    // The strip painter the appearance sets use: the static frame, the
    // header face, a themed set's client, then the items and buttons.
    void DrawTabControlEx(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    // The content of one tab in rc (its own buttons at its end, image and
    // caption); without bDraw nothing is drawn and the width the tab needs
    // in the current layout comes back (the margins, its buttons and the
    // minimum and maximum width included). With bDraw: the length of rc
    // along the strip.
    virtual int DrawSingleButtonContent(HDC hDC, CQXPTabManagerItem* pItem, const RECT& rc, BOOL bDraw);
    // The items and navigate buttons of a strip without its background.
    virtual void DrawTabStrip(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    // Scrolls the strip so that the item lies inside the header.
    void EnsureVisible(CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // The scroll offset that brings the item inside the header (the present
    // one when it is inside, or when the layout does not scroll).
    int RevealOffset(CQXPTabManager* pManager, const CQXPTabManagerItem* pItem) const;
    // The numbered shape of a tab (appearance sets start from it).
    void DrawTabShape(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem);
    // A gradient across the strip's depth, turned with the position (-2 in
    // either end: the checker pattern; -1 takes the other end). With pSpan
    // the gradient runs over pSpan's depth and rc shows its slice.
    void FillGradientByPosition(HDC hDC, const RECT& rc, COLORREF clrA, COLORREF clrB,
                                const RECT* pSpan = NULL) const;
    // Draws text shortened in the middle ("\\" paths with DT_PATH_ELLIPSIS);
    // returns the text drawn.
    CString DrawTextEllipsis(HDC hDC, const CString& strText, RECT rc, UINT nFormat);

    // Multi-row layout: splits the widths into rows of at most nLength (a
    // row always takes one item); with bBalance the rows share the total
    // evenly. Returns the first index of each row, in order.
    static std::vector<int> AFXAPI SplitRows(const std::vector<int>& widths, int nLength, BOOL bBalance);

    // Size to fit: narrows the widths so that they sum to nAvailable,
    // keeping the narrow ones whole.
    static void AFXAPI ShrinkItems(std::vector<int>& widths, int nAvailable);
    // A colour of the next new item (rotating through the eight).
    COLORREF NextItemColor() { return QXP_TABCOLOR_FIRST + (m_nColorCounter++ % 8); }

    BOOL m_bHotTracking;
    BOOL m_bShowIcons;
    BOOL m_bBoldSelected;
    BOOL m_bBoldNormal;
    BOOL m_bStaticFrame;
    BOOL m_bSelectOnButtonDown;
    BOOL m_bActivateOnDragOver;
    BOOL m_bMiddleEllipsis;
    BOOL m_bUseSystemFont;
    RECT m_rcClientMargin;
    RECT m_rcButtonMargin;
    RECT m_rcContentInset;
    int m_nExtraItemWidth;
    SIZE m_szNavigateButton;
    SIZE m_szIcon;
    int m_nFixedTabWidth;
    int m_nMinTabWidth;
    int m_nMaxTabWidth;
    int m_nToolTipMode;
    BOOL m_bUseItemColors;  // tabs take their items' colours
    BOOL m_bInvertGradient; // header gradients run the other way
    // The themed value: the Luna colour sets (4 and 16) take the desktop
    // scheme's colours while the colour manager follows one; without it
    // they keep the colours derived from the system's. On for a painter of
    // its own; the docking themes set it for their two painters.
    BOOL m_bThemed;
    int m_nClientFrame;     // 0 3-D frame, 1 a line on the tab side, 2 none
    BOOL m_bBalanceRows;    // multi-row: items spread evenly over the rows
    BOOL m_bKeepRowOrder;   // multi-row: the selected row stays in place
    BOOL m_bShowFocus;      // the selected tab of a focused strip shows a focus rectangle
    BOOL m_bFillClient;     // the control is filled with the client face before the header
    BOOL m_bClipToHeader;   // tabs are drawn clipped to the header rectangle
    BOOL m_bEndEllipsis;    // captions too long end with "..." (DT_END_ELLIPSIS)
    BOOL m_bNoPrefix;       // captions show "&" as it stands (DT_NOPREFIX)
    UINT m_nTextAlignment;  // further DrawText flags of the captions (DT_VCENTER)
    BOOL m_bClearType;      // fonts made with ClearType quality on XP and later (SetFontIndirect)
    BOOL m_bRotateImages;   // images on left and right strips drawn transposed (square images only)
    BOOL m_bPlainColors;    // colour sets take plain system colours: no blends, no scheme colours

protected:
    void ApplyDockingColorSet();
    void RebuildFonts();
    // Along-the-strip helpers (x on horizontal strips, y on vertical ones).
    int Start(const RECT& rc) const { return IsHorizontal() ? rc.left : rc.top; }
    int End(const RECT& rc) const { return IsHorizontal() ? rc.right : rc.bottom; }
    void PlaceNavigateButtons(CQXPTabManager* pManager, const RECT& rcControl);
    // One row of items along the strip at the scroll offset, after the
    // navigate buttons took their places (cross: the row's top or left).
    void PlaceItems(CQXPTabManager* pManager, const RECT& rc, int cross);
    void LayoutRows(CQXPTabManager* pManager, const RECT& rc);
    // The stacked appearance: rows inside the frame, the client between.
    void LayoutStacked(CQXPTabManager* pManager, const RECT& rc);
    RECT StackedInner(const RECT& rc) const;
    // Visible rows; *pnSelected: the selected one's row (the last without a selection).
    int StackedRows(CQXPTabManager* pManager, int* pnSelected) const;

    int m_nAppearance;
    int m_nColorSet;
    int m_nDockingSet;       // TabDockingColorSet over m_nColorSet
    BOOL m_bDockingAutoHide; // the docking set is the auto-hide panels' one
    int m_nPosition;
    int m_nLayout;
    int m_nColorCounter;
    TabColorSet m_colors;
    void DrawItem(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem);
    // Appearance 2 without the box flag: the rounded tab of rcTab (already
    // one pixel longer along the strip), or with bSeparator an unselected
    // tab's separator alone.
    void DrawRoundedTab(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem, const RECT& rcTab,
                        BOOL bSeparator);
    void DrawItemContent(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem, const RECT& rc);
    // The width an item needs in the current layout.
    int MeasureItem(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // The length an item's visible own buttons take at its end, with the
    // room they leave before the end; 0 without any.
    int GetItemButtonsLength(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const;
    // Turned with the position: the static frame's and the client margins'
    // room off a control rectangle.
    RECT DeflateControlRect(const RECT& rc, BOOL bStaticFrame) const;
    void DrawNavigateButton(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerNavigateButton* pButton);
    CTabAppearancePainter* m_pAppearance; // owned, never NULL
    CTabColorSet* m_pColorSet;            // owned, never NULL
    RECT m_rcHeaderMargin;
    LOGFONTA m_lfNormal;
    LOGFONTA m_lfVertical;
    HFONT m_hFonts[4]; // normal, bold, vertical normal, vertical bold
    std::vector<CQXPTabManagerAtom*> m_arrListeners;
    // The toolkit's colours without blends, while m_bPlainColors holds
    // (RefreshColors); empty otherwise.
    std::vector<COLORREF> m_arrPlainColors;
};
