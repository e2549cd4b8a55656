// qx/ribbonlayout.h - the ribbon's arithmetic without windows: the layout
// and step-by-step reduction of a tab's groups, the bar's heights, the
// quick-access toolbar's placement and overflow, contextual tab headers,
// keyboard-tip texts and anchors, the quick-access menus' item rules, the
// system menu's bottom band and recent files, group scrolling, popup
// placement and the skinned frame's region decisions. The ribbon's window
// classes build these records from their controls and commit the results;
// the tests check them as tables.
#pragma once

#include <fx/fx.h>
#include <qx/paintviews.h>

#include <functional>
#include <vector>

namespace qxribbon {

// Fixed distances of the ribbon (pixels).
enum {
    kGroupGap = 7,           // between two groups of a tab
    kGroupScrollStep = 40,   // one press of a group-band scroll button
    kScrollButtonWidth = 12, // a group-band scroll button overlaps the band by 12 px
    kMinimumShownSize = 250, // the ribbon's minimum size at construction
    kHeaderMinWidth = 40,    // a contextual header never gets narrower when moved
    kSystemMenuTop = 18,     // the system menu's borders
    kSystemMenuSide = 6,
    kSystemMenuBottom = 29,
    kGroupPopupExtra = 5,    // a collapsed group's popup is 5 px wider than the group
    kGroupCaptionBandTip = 6 // caption-band keytips sit 6 px above the groups' bottom
};

// Ribbon style of a control in a group (the button style the group gives
// it; qx/paintviews.h names the values).
enum RibbonStyle {
    kRibbonStyleNone = qxpButtonAutomatic,
    kRibbonStyleIcon = qxpButtonIcon,
    kRibbonStyleSmall = qxpButtonIconAndCaption,
    kRibbonStyleLarge = qxpButtonIconAndCaptionBelow,
};

// ---------------------------------------------------------------------------
// Group layout

// What a layout pass reads from the bar and the theme.
struct RibbonBandMetrics {
    int nGroupsHeight = 93;  // the group band (CalcGroupsHeight)
    int nCaptionHeight = 17; // a group's caption
    int nRowHeight = 22;     // one row of grouped (toolbar-like) controls
    int nButtonHeight = 22;  // the ribbon's button height
};

// 3 control heights + the group caption + 10, or the override when above 0.
int AFXAPI CalcGroupsHeight(int nOverride, int nControlHeight, int nGroupCaptionHeight);

// One control of a group during a layout pass.
struct RibbonGroupLayoutItem {
    // What the control is (filled by the caller).
    int nExplicitStyle = 0;         // the control's own button style; 0 lets the group decide
    BOOL bGallery = FALSE;          // control type 10: never stacked or shrunk by style
    BOOL bResizableGallery = FALSE; // a gallery shown in place with items, resizable
    int nGalleryItemWidth = 0;      // width of one gallery item (for Expand)
    BOOL bLargeImage = FALSE;       // an image exists at the bar's large button width
    BOOL bBeginGroup = FALSE;
    BOOL bWrapFlag = FALSE; // Flags bit 0x80: starts a new column or run
    void* pControl = NULL;  // the caller's control

    // The ribbon style the group gives the control; the control shows
    // Style(): its explicit style when it has one.
    int nRibbonStyle = kRibbonStyleNone;
    int Style() const { return nExplicitStyle ? nExplicitStyle : nRibbonStyle; }

    // Results of the pass.
    CRect rc;             // relative to the group while arranging, absolute after Position
    CRect rcClient;       // the group's client area (caption excluded)
    int cx = 0, cy = 0;   // measured at nStyle
    int nStyle = 0;       // the style cx, cy were measured at
    BOOL bHidden = FALSE; // the group is collapsed to its popup button
    BOOL bNewRow = FALSE; // grouping layout: starts a row (the control's wrap flag)
    BOOL bNewRun = FALSE; // BeginGroup or the wrap flag
    int nRunWidth = 0;    // grouping layout: cx from here to the end of the run
};

// Measures a control at a button style.
typedef std::function<CSize(const RibbonGroupLayoutItem& item, int nStyle)> RibbonMeasureFn;

// One group during one layout pass: the controls that count (visible when
// the layout's own hide flag is ignored), the group's switches and its
// reduction state. Begin starts each pass from the full layout.
struct RibbonGroupLayout {
    BOOL bControlsCentering = FALSE;
    BOOL bControlsGrouping = FALSE;
    BOOL bVisible = TRUE;
    int nCaptionWidth = 0;     // the caption's text width (+ caption height with an option button)
    int nPopupButtonWidth = 0; // the width of the collapsed group's popup button
    std::vector<RibbonGroupLayoutItem> items;

    BOOL bCollapsed = FALSE; // reduced to the popup button
    int nGroupingRows = 2;   // rows the grouping layout aims at: 2, or 3 after a reduction
    BOOL bCollapsedAtStart = FALSE;
    int nContentWidth = 0;
    CRect rc; // the group after Position

    // Starts a pass: ribbon styles (4 with a large image, else 3; 0 in
    // grouping layouts, for galleries and for controls with a style of
    // their own), sizes, flags; not collapsed, two grouping rows.
    void Begin(const RibbonMeasureFn& measure);
    // Arranges the controls; returns the group's width (never below the
    // caption width unless collapsed).
    int CalcWidth(const RibbonBandMetrics& m, const RibbonMeasureFn& measure);
    // One reduction step of level 0..3; TRUE when something changed.
    BOOL Reduce(int nLevel, int nExcess, const RibbonBandMetrics& m);
    // Widens the last resizable in-place gallery by whole items.
    BOOL Expand(int nSpare);
    // Moves the controls to the group at (x, y) of width nWidth.
    void Position(int nWidth, int x, int y, const RibbonBandMetrics& m);
    // TRUE when the group came out of its collapsed state in this pass:
    // the bar needs another layout.
    BOOL NeedsAnotherLayout() const { return bCollapsedAtStart && !bCollapsed; }

    // Controls that fit one column of the band (rows for the reduction).
    static int AFXAPI BandRows(const RibbonBandMetrics& m);
};

// The result of laying out a tab's groups.
struct RibbonGroupsResult {
    int nOffset = 0;       // the scroll offset after clamping
    int nContentWidth = 0; // all visible groups with their gaps
    BOOL bScrollLeft = FALSE;
    BOOL bScrollRight = FALSE;
};

// Lays out the groups across nWidth (margins left/top/right), reducing the
// last groups first level by level until they fit, then widening a gallery
// into what is left; nOffset is the current scroll offset.
RibbonGroupsResult AFXAPI LayoutGroups(std::vector<RibbonGroupLayout*>& groups, int nWidth, const CRect& rcMargins,
                                       int nOffset, const RibbonBandMetrics& m, const RibbonMeasureFn& measure);

// The option (dialog launcher) and popup buttons of a group at rc.
struct RibbonGroupButtons {
    BOOL bPopupShown = FALSE; // collapsed: the popup button takes the group's rectangle
    CRect rcPopup;
    int nOptionHide = 0; // 0 shown, 1 not wanted, 2 hidden by the collapsed layout
    CRect rcOption;
};
RibbonGroupButtons AFXAPI PlaceGroupButtons(const CRect& rcGroup, BOOL bCollapsed, BOOL bShowOption,
                                            int nCaptionHeight);

// ---------------------------------------------------------------------------
// Bar heights and the quick-access toolbar

// What the bar's heights depend on.
struct RibbonBarState {
    BOOL bFrameHook = FALSE; // the ribbon draws into the frame's caption
    int nHookTopBorder = 0;  // the frame border width the hook reports
    BOOL bCaptionBar = TRUE; // the ribbon draws its own caption band without a hook
    int nThemeCaptionHeight = 0;
    int nTabRowHeight = 23;  // theme tab strip height
    int nControlHeight = 22; // theme control height
    int nGroupCaptionHeight = 17;
    int nGroupsOverride = 0;
    int nTabsHeight = 0;         // the bar's own tab-row height when above 0
    int nGroupsHeight = -1;      // the bar's own shown groups height when 0 or above
    int nCustomButtonHeight = 0; // the bar's own button size, 0 for the theme's
    BOOL bTabsVisible = TRUE;
    BOOL bGroupsVisible = TRUE;
    BOOL bTabSelected = TRUE;
    BOOL bMinimized = FALSE;
    BOOL bQatVisible = TRUE;
    BOOL bQatBelow = FALSE;
    std::vector<int> qatControlHeights; // visible QAT controls

    BOOL IsCaptionVisible() const { return bFrameHook || bCaptionBar; }
    BOOL IsGroupsShown() const { return bGroupsVisible && bTabSelected && !bMinimized; }
    int GetTabsHeight() const;
    int GetGroupsHeight() const;
    int CalcGroupsHeight() const;
    int GetQuickAccessHeight() const;
    int GetCaptionHeight() const;
    int nMinimumSize = kMinimumShownSize; // the bar's minimum size (px, both ways)

    // The docked height for the offered width in a frame nFrameHeight high;
    // 0 (hidden) below the minimum size.
    int CalcDockedHeight(int nWidth, int nFrameHeight) const;
    // Shown only while the frame is at least the minimum size high and the
    // offered width at least the minimum size.
    BOOL IsShownBySize(int nWidth, int nFrameHeight) const;
};

// The quick-access customise and more buttons: control height × 13 / 22
// wide, one control height high.
CSize AFXAPI QuickAccessButtonSize(int nControlHeight);

// Placing the quick-access commands in their band.
struct QuickAccessItem {
    CSize size;           // measured
    BOOL bVisible = TRUE; // the command's own visibility
    // Results.
    BOOL bOverflow = FALSE; // hide bit 0x02: did not fit (or the QAT does not show)
    CRect rc;
};
struct QuickAccessPlacement {
    CRect rcQat;            // the band (in: as set by the bar; out: right edge moved to the last x)
    int x = 0;              // the first command's x
    int nRightLimit = 0;    // commands must end at or before this
    BOOL bInTabRow = FALSE; // no caption: the QAT shares the tab row
    BOOL bBelow = FALSE;
    BOOL bVisible = TRUE;
    BOOL bCaptionOrTabs = TRUE;
    CSize szCustomize; // 0 × 0 without a customise button
    CSize szMore;
    // Results.
    CRect rcCustomize, rcMore;
    BOOL bCustomizeShown = FALSE;
    BOOL bMoreShown = FALSE;
    int xEnd = 0;
};
// Places the commands left to right from x; from the first that passes the
// right limit on every command overflows into the more popup and the more
// button takes the customise button's place.
void AFXAPI PlaceQuickAccess(std::vector<QuickAccessItem>& items, QuickAccessPlacement& p);
// The right limit of the quick-access commands.
int AFXAPI QuickAccessRightLimit(int cx, BOOL bBelow, BOOL bComposition, int nCaptionHeight);

// The bar's other controls on the tab row (a maximised MDI child's
// buttons, controls dropped there): outside the groups, the QAT and the
// corner.
struct TabRowItem {
    CSize size;
    BOOL bRightAligned = FALSE; // control Flags 0x01
    BOOL bBeginGroup = FALSE;
    CRect rc; // result
};
struct TabRowSpan {
    int xLeftEnd = 0;    // after the last left-aligned control (xLeft without one)
    int xRightStart = 0; // before the first right-aligned control (xRight without one)
    BOOL bLeftPlaced = FALSE;
};
// Left-aligned items go left to right from xLeft (BeginGroup first adds
// 6 px), right-aligned ones from xRight leftwards keeping their order (the
// last rightmost, no group gap); each is centred vertically in rcRow. The
// tab strip takes what lies between.
TabRowSpan AFXAPI PlaceTabRowControls(std::vector<TabRowItem>& items, const CRect& rcRow, int xLeft, int xRight);

// ---------------------------------------------------------------------------
// Contextual tab headers

struct RibbonTabInfo {
    BOOL bVisible = TRUE;
    int nContextColor = 0; // 1..7, 0 none
    CString strContextCaption;
    int left = 0, right = 0;
};
// One contextual header: the run of tabs it covers, its caption, colour
// and rectangle in the caption band.
struct CRibbonContextHeader {
    int nFirstTab = 0, nLastTab = 0;
    CString strCaption;
    int nColor = 0;
    CRect rc;
};
// The bar's headers, one per run of contextual tabs; clearing drops them all.
typedef std::vector<CRibbonContextHeader> CRibbonContextHeaders;
// One header per run of adjacent visible tabs with the same colour and
// caption, fitted into the free caption area (L .. R): headers keep at
// least 40 px when moved or cut, and all go when they cannot.
CRibbonContextHeaders AFXAPI BuildContextHeaders(const std::vector<RibbonTabInfo>& tabs,
                                                 int nCaptionTop, int nCaptionBottom, int L, int R);
// Moves the title (width w) out of the headers' span; returns the new title
// rectangle (unchanged when they do not overlap).
CRect AFXAPI KeepTitleClearOfHeaders(const CRibbonContextHeaders& headers, const CRect& rcTitle,
                                     int w, int L, int R);
// "BLUE" .. "ORANGE" for 1..7, else "".
LPCSTR AFXAPI ContextColorName(int nColor);

// ---------------------------------------------------------------------------
// Keyboard tips

// Alignment of a tip at its anchor (the keyboard tips' codes).
enum {
    kTipCenterX = 1,
    kTipCenterY = 4,
    kTipCenter = 5,
};
// The level-1 tip of the n-th quick-access command (0-based): "1".."9",
// "01".."09", then none.
CString AFXAPI QuickAccessTipText(int nIndex);

struct KeyTipAnchor {
    CPoint pt;
    int nAlign = 0;
};
// Level 1: a quick-access command, a tab, the system button.
KeyTipAnchor AFXAPI QuickAccessTipAnchor(const CRect& rcControl);
KeyTipAnchor AFXAPI TabTipAnchor(const CRect& rcTab);
KeyTipAnchor AFXAPI SystemButtonTipAnchor(const CRect& rcButton);
// Level 2: a control of a group (the group's rectangle, caption height and
// the groups area's bottom; the control's rectangle, type and style).
KeyTipAnchor AFXAPI GroupControlTipAnchor(const CRect& rcGroup, int nCaptionHeight, int nGroupsBottom,
                                          const CRect& rcControl, int nType, int nStyle);

// ---------------------------------------------------------------------------
// Quick-access menus (menus 9601 and 9602)

struct QuickAccessMenuState {
    BOOL bInQat = FALSE;       // the control is on the quick-access toolbar
    BOOL bLocked = FALSE;      // Flags 0x10 or a run-time-only control
    BOOL bAllowed = TRUE;      // IsAllowQuickAccessControl
    BOOL bCustomizable = TRUE; // the QAT offers add/remove/customize
    BOOL bQatVisible = TRUE;
    BOOL bQatBelow = FALSE;
    BOOL bAllowMinimize = TRUE;
    BOOL bMinimized = FALSE;
    BOOL bHasDefaultList = FALSE; // the QAT keeps its default commands
};
struct QuickAccessMenuItem {
    int nId = 0; // after renumbering (9616..9618 become 9607, 9608, 9610)
    BOOL bVisible = TRUE;
    BOOL bEnabled = TRUE;
    BOOL bChecked = FALSE;
    BOOL bCustomizeCaption = FALSE; // 9607 takes the text of string 9161
    BOOL bHeading = FALSE;          // 9614: a label, the default item
    BOOL bTargetsControl = FALSE;   // 9605/9606 carry the control as parameter
};
QuickAccessMenuItem AFXAPI QuickAccessMenuRule(int nMenuItemId, const QuickAccessMenuState& s);

// ---------------------------------------------------------------------------
// System menu

// The bottom-band buttons (widths in control order) of a system menu of
// cx × cy: right-aligned 5 px inside, 6 px apart, in the bottom border.
std::vector<CRect> AFXAPI PlaceSystemMenuButtons(const std::vector<int>& widths, int cx, int cy);
// A page opened from a left-column command is at least this high.
int AFXAPI SystemMenuPageMinHeight(int nMenuClientHeight);
// The system button as the corner button across the caption and the tab
// row (bar client coordinates): from x 0 to tabs + QAT height - 3, from
// y0 + the caption's top - 1 (y0 the frame hook's top border, 0 without a
// hook), tabs + QAT height - 4 high.
CRect AFXAPI SystemButtonCornerRect(int nTabsHeight, int nQatHeight, int y0, int nCaptionTop);
// The rectangle (screen) the system menu opens from: on a ribbon that draws
// the frame's caption its bottom moves up by the menu's top border, so that
// the border lies over the lower part of the button; else the button's.
CRect AFXAPI SystemMenuAnchor(const CRect& rcButton, BOOL bFrameCaption);
// TRUE for a command id of a recent-file item that the rebuild removes:
// first .. first + size − 1.
BOOL AFXAPI IsRecentFileItemId(UINT nId, UINT nFirstId, int nSize);
// The captions of the recent-file items: numbered, ampersands doubled,
// stopping at the first empty path.
std::vector<CString> AFXAPI RecentFileCaptions(const std::vector<CString>& paths);
// The file title of a path (the name after the last folder separator).
CString AFXAPI PathTitle(const CString& strPath);

// ---------------------------------------------------------------------------
// Scrolling and popups

// The offset after one scroll step (towards the first group when bToLeft).
int AFXAPI ScrollGroupsOffset(int nOffset, BOOL bToLeft);
// The offset that brings a control (left .. right, group-band coordinates)
// into a band nVisibleWidth wide; unchanged when nothing needs doing.
int AFXAPI EnsureVisibleOffset(int nOffset, int nLeft, int nRight, int nVisibleWidth, BOOL bLeftButton,
                               BOOL bRightButton);
// The scroll-button repeat: the first repeat after 4/5 of the double-click
// time, the later ones every tenth.
struct RepeatDelays {
    UINT nFirst = 0;
    UINT nNext = 0;
};
RepeatDelays AFXAPI ScrollRepeatDelays(UINT nDoubleClickTime);
// The popup of a minimised ribbon's tab: from the ribbon's left (not left
// of the work area) to its right, ending 4 px inside the work area when
// the ribbon reaches past it; below the tab strip, above it when the work
// area's bottom would be passed.
CRect AFXAPI PlaceTabPopup(const CRect& rcRibbon, const CRect& rcWork, const CRect& rcTabStrip, int nHeight);
// The popup of a collapsed group.
CSize AFXAPI GroupPopupSize(int nGroupWidth, int nGroupsHeight);

// ---------------------------------------------------------------------------
// Frame region of a skinned frame

struct FrameRegionRequest {
    int cx = 0, cy = 0;
    BOOL bForce = FALSE;
    int nBorder = 0;           // from AdjustWindowRectEx
    BOOL bComposition = FALSE; // the frame is extended into the client area
    BOOL bMaximized = FALSE;
    BOOL bMaximizedMdiChild = FALSE;
    BOOL bUsesSystemMetrics = TRUE;
    int nCaptionHeight = 0; // the hook's caption height
};
enum FrameRegionAction {
    kFrameRegionNone,   // nothing changed (or called from inside an update)
    kFrameRegionExtend, // DwmExtendFrameIntoClientArea with a top margin
    kFrameRegionRemove, // SetWindowRgn(NULL)
    kFrameRegionRect,   // the rectangle inside the hidden borders
    kFrameRegionTheme,  // the theme's frame region
};
struct FrameRegionDecision {
    FrameRegionAction action = kFrameRegionNone;
    CRect rc;           // kFrameRegionRect
    int nTopMargin = 0; // kFrameRegionExtend
    int nBorder = 0;    // the border width the hook keeps
};
// Remembers the last size and guards against re-entry: Apply runs while
// the guard is up, and every exit takes it down.
class FrameRegionTracker {
public:
    typedef std::function<int(const FrameRegionDecision&)> ApplyFn;
    // Returns Apply's result, or 0 when nothing was done.
    int Update(const FrameRegionRequest& r, const ApplyFn& apply);
    void Forget() { m_cx = m_cy = 0; }
    BOOL IsUpdating() const { return m_bUpdating; }
    static FrameRegionDecision AFXAPI Decide(const FrameRegionRequest& r);

private:
    int m_cx = 0, m_cy = 0;   // the size the region was made for, 0 none
    BOOL m_bUpdating = FALSE; // inside Update
};

} // namespace qxribbon
