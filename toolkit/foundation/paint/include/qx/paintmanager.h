// qx/paintmanager.h - the command-bar paint manager: the base of every
// visual theme of menus, toolbars, popups, floating bars and the status bar.
//
// A CQXPThemePainter owns the fonts, the 63-entry colour table, the menu
// animation settings and the drawing operations the bars call. One theme
// object is the process-wide paint manager (GetGlobalPaintManager); the
// application picks it by number (SetGlobalPaintManager) and replaces it
// when the user changes the theme. The concrete themes live in qx/themes.h.
//
// Colour arguments are colour-table numbers 0 to 62 or literal COLORREFs
// (anything above 62); where an operation allows it (COLORREF)-1 / -1 means
// that the part is not drawn.
//
// Controls, bars and status panes are reached through the views of
// qx/paintviews.h. Every layout operation serves two passes: with the draw
// flag off it only measures and returns the size; with it on it draws in the
// control's rectangle and the returned size is ignored by callers.
//
// All of it runs on the UI thread; nothing is locked.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>
#include <qx/paintviews.h>
#include <qx/visualstyles.h>

class CQXPThemePainter;

// The icon options of a paint manager (exchanged by the command bars'
// options as "UseFadedIcons", "UseDisabledIcons" and "IconsWithShadow").
struct QXP_ICONS_INFO {
    BOOL bUseFadedIcons;
    BOOL bUseDisabledIcons;
    BOOL bIconsWithShadow;
    BOOL bOfficeStyleDisabledIcons;
};

// Popup animation kinds (AnimatePopup).
enum QXPAnimationType {
    qxpAnimateNone = 0,
    qxpAnimateUnfold = 2,
    qxpAnimateSlide = 3,
    qxpAnimateFade = 4,
};

// Expand-button kinds (DrawExpandButton).
enum QXPExpandButtonKind {
    qxpExpandToolbar = 0,    // the overflow button of a docked toolbar
    qxpExpandPopup = 1,      // the button at the foot of a menu with hidden items
    qxpExpandFloatClose = 2, // the close button of a floating bar's caption
    qxpExpandFloatMenu = 3,  // the drop-down button of a floating bar's caption
};

// ---------------------------------------------------------------------------
// What a gallery painter knows of the gallery it draws (client coordinates
// of the bar window). The command bars fill these views.

// Hit codes of a gallery's parts (the scroll bar's, the command bars' own
// numbering).
enum {
    qxpGalleryHitUp = 60,   // scroll-up button, or a scroll bar's up/left arrow
    qxpGalleryHitDown = 61, // scroll-down button, or the down/right arrow
    qxpGalleryHitPageBefore = 62,
    qxpGalleryHitPageAfter = 63,
    qxpGalleryHitThumb = 64,
    qxpGalleryHitPopup = 65,
};

struct QXPGalleryView {
    CRect rc; // the control
    BOOL bEnabled = TRUE;
    BOOL bSelected = FALSE;
    BOOL bInPopupGallery = FALSE; // sits in a popup bar of the popup-gallery kind
    BOOL bBorders = FALSE;
    BOOL bBottomDivider = FALSE;
    CRect rcScrollBar; // the three-button column (up 19, down 19, popup)
    int nHotPart = 0;  // a hit code, 0 none
    int nPressedPart = 0;
    BOOL bCanScrollUp = TRUE;
    BOOL bCanScrollDown = TRUE;
};

// The looks of a gallery's standard scroll bar.
enum {
    qxpGalleryBarFlat = 2,   // flat buttons with Marlett arrows
    qxpGalleryBarSystem = 3, // the visual style, else the classic frame controls
    qxpGalleryBarImages = 5, // the Office 2007 images (light)
    qxpGalleryBarImagesDark = 6,
};

struct QXPGalleryScrollBarView {
    int nType = qxpGalleryBarImages; // the look
    HWND hWnd = NULL;                // the window the bar is drawn in
    BOOL bVertical = TRUE;
    BOOL bEnabled = TRUE;
    CRect rc;                                   // the whole bar
    CRect rcArrowBefore, rcArrowAfter, rcThumb; // rcThumb empty: no room for one
    CRect rcPageBefore, rcPageAfter;
    int nHotPart = 0;
    int nPressedPart = 0; // the tracked part while the pointer is on it
};

// The painter of galleries. Every paint manager owns one; a theme may
// install its own. The five operations in their slot order:
class CGalleryPainter {
public:
    explicit CGalleryPainter(CQXPThemePainter* pPaintManager);
    virtual ~CGalleryPainter();
    CGalleryPainter(const CGalleryPainter&) = delete;
    CGalleryPainter& operator=(const CGalleryPainter&) = delete;

    // 0. A group label row: colour-56 band, colour-52 line at its bottom,
    // the caption in colour 44.
    virtual void DrawLabel(CDC* pDC, CRect rc, LPCSTR lpszText);
    // 1. The background (colour 41), its frame (52) and the divider (39)
    // above a following control.
    virtual void DrawBackground(CDC* pDC, const QXPGalleryView& gallery);
    // 2. The standard scroll bar in its look.
    virtual void DrawScrollBar(CDC* pDC, const QXPGalleryScrollBarView& bar);
    // 3. The three-button column of a gallery with a drop-down.
    virtual void DrawPopupScrollColumn(CDC* pDC, const QXPGalleryView& gallery);
    // 4. Re-reads the scroll-bar metrics, reopens "SCROLLBAR" and resets the
    // button sizes.
    virtual void RefreshMetrics();

    // The look of the standard bar: nOverride when set, else by the
    // theme (Windows 2000 flat, Office 2007 and ribbon images, others the
    // system's).
    int GetScrollBarLook(int nOverride = 0) const;
    // An arrow of the Marlett font in a button (nothing under 6 pixels).
    static void AFXAPI DrawArrowGlyph(CDC* pDC, CRect rc, BOOL bHorizontal, BOOL bBackward, BOOL bEnabled);

    CQXPThemePainter* m_pPaintManager;
    int m_cxHScroll;
    int m_cyHScroll;
    int m_cyVScroll;
    int m_cxVScroll;
    int m_nUpHeight;    // 19
    int m_nDownHeight;  // 19
    int m_nColumnWidth; // 16, the three-button column
    CVisualStyleTheme m_themeScrollBar;
};

// ---------------------------------------------------------------------------
class CQXPThemePainter : public CCmdTarget {
public:
    CQXPThemePainter();
    ~CQXPThemePainter() override;
    CQXPThemePainter(const CQXPThemePainter&) = delete;
    CQXPThemePainter& operator=(const CQXPThemePainter&) = delete;

    // --- the colour table --------------------------------------------------
    COLORREF GetColor(int nColor) const { return m_colors.GetColor(nColor); }
    CQXPColorTable* GetColorTable() { return &m_colors; }
    // The effective colour theme (the stored one resolved through the
    // colour manager: 7 follows the manager, 6 the detected system theme).
    int GetColorTheme() const;
    void SetColorTheme(int nStoredTheme) { m_nStoredColorTheme = nStoredTheme; }

    // --- virtual operations, in their slot order ------------------------------
    // 1. A control on a popup bar: lays out and draws or measures it.
    virtual CSize DrawControlPopupParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw);
    // 2. A control on any other bar (buttons, popups, check boxes ...).
    virtual CSize DrawControlToolBarParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw);
    // 3. The two faces of a split button and the line between them.
    virtual void DrawSplitButtonFrame(CDC* pDC, CQXPControlView* pButton, CRect rcButton) = 0;
    // 4. Combo-box controls (type 5).
    virtual CSize DrawControlComboBox(CDC* pDC, CQXPControlView* pControl, BOOL bDraw);
    // 5. Colour 5 for an enabled control, 15 for a disabled one.
    virtual COLORREF GetControlStateColor(CQXPControlView* pControl);
    // 6. Edit controls (type 6).
    virtual CSize DrawControlEdit(CDC* pDC, CQXPControlView* pControl, BOOL bDraw);
    // 7. A control drawn as an entry of a command list (the customize
    // dialog's lists).
    virtual CSize DrawCommandListEntry(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bSelected,
                                       BOOL bDraw) = 0;
    // 8. The background of a bar by its position.
    virtual void FillCommandBar(CDC* pDC, CQXPBarView* pBar) = 0;
    // 9. A control's state background (DrawRectangle with its states).
    virtual void DrawControlBackground(CDC* pDC, CQXPControlView* pControl);
    // 10. A control's text colour in its state.
    virtual COLORREF GetControlTextColor(CQXPControlView* pControl);
    // 11. and 12. The state colour and state background of a control
    // rectangle.
    virtual COLORREF GetRectangleTextColor(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                           BOOL bPopped, int nBarType, int nBarPosition) = 0;
    virtual void DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                               BOOL bPopped, int nBarType, int nBarPosition) = 0;
    // 13. The gripper of a bar; the base draws only the caption of a
    // floating bar. Returns its size.
    virtual CSize DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw);
    // 14. The separator before a control that begins a group; its extent.
    virtual CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl,
                                          BOOL bDraw) = 0;
    // 15. The part of a control's rectangle that a popup may overlap.
    virtual void AdjustExcludeRect(CRect& rc, CQXPControlView* pControl, BOOL bVertical) = 0;
    // 16. to 19. Status bar panes.
    virtual void DrawStatusBarPane(CDC* pDC, CRect& rc, CQXPStatusPaneView* pPane);
    virtual void DrawStatusBarPaneButton(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane);
    virtual void DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane);
    virtual void DrawStatusGripper(CDC* pDC, CRect rcGripper);
    // 20. The background of a dock bar (its window rectangle).
    virtual void FillDockBar(CDC* pDC, CWnd* pDockBar);
    // 21. The background of a status bar.
    virtual void FillStatusBar(CDC* pDC, CRect rcClient);
    // 22. Re-reads fonts, colours and visual styles.
    virtual void RefreshMetrics();
    // 23. Expand buttons and the caption buttons of floating bars. nParam1
    // and nParam2: when drawing, nParam1 says that the bar hides controls;
    // when measuring, the bar's width and height.
    virtual CSize DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                                   BOOL bDraw, int nParam1, int nParam2);
    // 24. Border widths of a bar (inner margins).
    virtual CRect GetCommandBarBorders(CQXPBarView* pBar);
    // 25. The tear-off strip at the top of a popup; its size.
    virtual CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) = 0;
    // 26. The resize gripper of a resizable popup (nFlags 1: horizontal only,
    // 2: corner).
    virtual void DrawPopupResizeGripper(CDC* pDC, CRect rcGripper, int nFlags) = 0;
    // 27. A control's icon by its state.
    virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CQXPIconImage* pImage, BOOL bSelected, BOOL bPressed,
                           BOOL bEnabled, BOOL bChecked, BOOL bPopped, BOOL bToolBarImage = TRUE) = 0;
    // 28. The gripper of dialog bars (the second gripper kind).
    virtual CSize DrawDialogBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw) = 0;
    // 29. The command part of a split control.
    virtual CRect GetSplitCommandRect(CQXPControlView* pButton);
    // 31. and 32. The marks of check boxes and radio buttons (13 x 13).
    virtual CSize DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                                   BOOL bEnabled);
    virtual CSize DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed,
                                      int nChecked, BOOL bEnabled);
    // 33. The icon column of popup items (nothing in the base).
    virtual void FillPopupGutter(CDC* pDC, CRect rcGutter, BOOL bRarelyUsed);
    // 34. The theme id (QXPTheme in qx/themes.h).
    virtual int GetCurrentTheme() const = 0;
    // 35. The command font of a bar: regular or bold, vertical on bars at
    // positions 2 and 3.
    virtual CFont* GetCommandFont(CQXPBarView* pBar, BOOL bBold = FALSE);
    // 36. Recreates the command and system fonts.
    virtual void RefreshFonts();
    // 37. The tick of checked menu items, in a colour.
    virtual void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr);
    // 38. An anti-aliased disc in the 6 x 6 square centred in rc.
    virtual void DrawDot(CDC* pDC, CRect rc, COLORREF clr);
    // 39. A filled triangle pointing down, centred in rc.
    virtual void DrawDownArrow(CDC* pDC, CRect rc, COLORREF clr);
    // 40. The small drop-down arrow of a control at pt (5 pixels wide),
    // pointing down, or left with bVert.
    virtual void DrawDropDownGlyph(CDC* pDC, CQXPControlView* pControl, CPoint pt, int nSelected, BOOL bPopped,
                                   BOOL bEnabled, BOOL bVert);
    // 41. Plays the show animation of a popup (see QXPAnimationType).
    virtual void AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nAnimationType);
    // 42. Stretches the source into the destination in steps.
    virtual void AnimateStretch(CDC* pDestDC, CRect rcDest, CDC* pSrcDC, CRect rcSrc);
    // 44. The width of a split popup's drop-down part on a popup bar; 0 on
    // other bars.
    virtual int GetSplitDropDownWidth(CQXPBarView* pBar);
    // 45. Fills a rectangle with colour 12 (the shaded areas of lists).
    virtual void FillShadedRect(CDC* pDC, CRect rc);
    // 46. A framed caption box: colour-24 fill, button-shadow frame, the
    // caption in the colour of its state.
    virtual void DrawFramedCaption(CDC* pDC, CRect rc, LPCSTR lpszCaption, int nSelected, BOOL bEnabled);
    // 47. The icon column of a popup bar for an icon size.
    virtual CSize GetPopupIconColumnSize(CSize szIcon);
    // 48. A control's caption in the DC's text colour (embossed when
    // disabled and the embossed-text flag is on). nFormat: DT_CENTER,
    // DT_VCENTER, DT_SINGLELINE as wanted; prefix handling is decided here.
    virtual void DrawControlCaption(CDC* pDC, CQXPControlView* pControl, CRect rc, const CString& strCaption,
                                    UINT nFormat);
    // 49. Whether a bar gets a frame: the theme's setting for its kind (popup
    // bars, other bars) is 0 and the bar may dock or float (one of the four
    // low bar flags).
    // The background of an MDI client (the workspace): colour 12 over the
    // client rectangle except the inner one (the documents' place; an
    // empty one covers nothing). Themes with a picture of their own draw it.
    virtual void FillWorkspace(CDC* pDC, CRect rcClient, CRect rcInner);
    virtual BOOL IsBarFrameDrawn(CQXPBarView* pBar);
    // 50. The background of an owner-drawn list of commands (the customize
    // dialog's), or of one of its items before the entry is drawn over it.
    virtual void DrawListBoxControl(CDC* pDC, CRect rc, BOOL bSelected);

    // --- non-virtual operations ----------------------------------------------
    // Draws or measures any control: type 6 edit, 5 combo box, others by
    // their bar (popup or not).
    CSize DrawControl(CDC* pDC, CQXPControlView* pControl, BOOL bDraw);
    // A filled rectangle: the fill is skipped when -1, the frame when -1 or
    // equal to the fill.
    void Rectangle(CDC* pDC, CRect rc, int nPen, int nBrush);
    // A one-pixel frame: top and left in the first colour, bottom and right
    // in the second (colour numbers or COLORREFs).
    void Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight);
    // One-pixel lines in a COLORREF (x1 and y1 excluded).
    void HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr);
    void VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr);
    void DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
    // The small arrow of split buttons and drop-down glyphs, pointing down
    // from the row above c (5 pixels wide).
    void DrawSmallDownTriangle(CDC* pDC, CPoint c, COLORREF clr);
    // Spin buttons' arrows, centred in the up and down halves.
    void DrawSpinArrows(CDC* pDC, CRect rcUp, CRect rcDown, COLORREF clr);
    // The field part of an edit or combo control (right of its label).
    CRect GetFieldRect(CQXPControlView* pControl);
    // A combo box's text in its field, grey when disabled.
    void DrawFieldText(CDC* pDC, CQXPControlView* pControl, CRect rcText, BOOL bEnabled);
    // One line of text in the regular font, centred vertically and cut
    // with an ellipsis, transparent, in a colour number.
    void DrawSingleLineText(CDC* pDC, const CString& strText, CRect rcText, int nColor);
    void FillGradient(CDC* pDC, CRect rc, COLORREF clrA, COLORREF clrB, BOOL bHorz);
    void FillGradient(CDC* pDC, CRect rc, const GradientColorValue& value, BOOL bHorz, LPCRECT lpClip = NULL);
    // A line in a one-pixel pen of a colour number or COLORREF (pen
    // restored), and one with the DC's current pen. The end point is
    // excluded.
    void Line(CDC* pDC, int x0, int y0, int x1, int y1, int nColor);
    void DrawLine(CDC* pDC, int x0, int y0, int x1, int y1);
    // The text height, at least 22.
    int GetControlHeight() const;
    int GetTextHeight() const { return m_nTextHeight; }
    // 16 or 32 (large), or derived from the text height when font-based
    // icon sizing is on.
    CSize GetAutoIconSize(BOOL bLarge) const;
    // Rebuilds the four command fonts from a LOGFONT; bFromRefresh records
    // whether the system font is followed.
    void SetFontIndirect(LOGFONTA* pLogFont, BOOL bFromRefresh = FALSE);
    // Removes single "&" markers ("&&" becomes "&").
    static void AFXAPI StripAccelerator(CString& str);
    // Splits a caption into two lines at the space nearest its middle.
    static void AFXAPI SplitCaption(const CString& strCaption, CString& strFirstLine, CString& strSecondLine);
    // Mixes colour c with e by f per channel (c + (e - c) f); with f >= 0
    // e is the pixel at (x, y), else e = clrB and f = -f.
    static void AFXAPI MixPixel(CDC* pDC, int x, int y, COLORREF c, COLORREF clrB, double f);

    // Control layout helpers (the rules of DrawControlToolBarParent).
    CSize DrawControlText(CDC* pDC, CQXPControlView* pControl, CRect rcText, BOOL bDraw, BOOL bVert,
                          BOOL bCentered, BOOL bTriangled);
    CSize DrawControlText2Lines(CDC* pDC, CQXPControlView* pControl, CRect rcText, BOOL bDraw, BOOL bVert,
                                BOOL bTriangled);
    CSize DrawButtonCaption(CDC* pDC, CQXPControlView* pControl, CRect rcButton, BOOL bDraw, BOOL bTriangled,
                            int nButtonWidth, int nButtonHeight, BOOL bHasIcon);
    CSize ApplyCustomSize(CSize sz, CQXPControlView* pControl);
    CSize GetControlIconSize(CQXPControlView* pControl);
    int GetLargeCaptionHeight() const;

    // --- names the command bars, docking panes and ribbon use ---------------
    // The background of a bar (FillCommandBar).
    void FillCommandBarEntry(CDC* pDC, CQXPBarView* pBar) { FillCommandBar(pDC, pBar); }
    // The font of a bar's controls (GetCommandFont).
    CFont* GetControlFont(CQXPBarView* pBar, BOOL bBold = FALSE) { return GetCommandFont(pBar, bBold); }
    // The bars' special buttons (DrawExpandButton), size through pSize. A
    // NULL DC or bDraw FALSE measures.
    void DrawSpecialControl(CSize* pSize, CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                            BOOL bDraw, int nParam1 = 0, int nParam2 = 0);
    // The tear-off strip of a popup (DrawTearOffGripper); a NULL DC measures.
    void DrawTearOffStrip(CSize* pSize, CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw);
    // The popup resize gripper (DrawPopupResizeGripper).
    void DrawResizeGripper(CDC* pDC, int left, int top, int right, int bottom, int nFlags)
    {
        DrawPopupResizeGripper(pDC, CRect(left, top, right, bottom), nFlags);
    }
    // Gives a bar window its shape; the base themes use plain rectangles
    // (the region is removed).
    virtual void SetBarRegion(CQXPBarView* pBar);
    // The expansion animation of a popup that grew (from the buffer into
    // the window DC).
    void AnimateExpand(CQXPBarView* pBar, CDC* pWindowDC, CDC* pBufferDC, BOOL bGrewDownward);
    // A keyboard-tip window: its text centred in the bold command font on a
    // colour-24 face with a button-shadow frame; nothing when bSkip is set.
    virtual void DrawKeyboardTip(CDC* pDC, CWnd* pTipWnd, BOOL bSkip);
    // The background colour of a control's edit field (colour 5 enabled,
    // 15 disabled).
    COLORREF GetControlEditBackColor(CQXPControlView* pControl) { return GetControlStateColor(pControl); }
    // Minimum height of a status bar: the status font's height + 6, at
    // least 20.
    int GetStatusBarMinHeight() const;
    // The gallery painter.
    CGalleryPainter* GetGalleryPainter() const { return m_pGalleryPainter; }
    // Installs a gallery painter (the manager owns it; the previous one is
    // deleted). Null is ignored.
    void SetGalleryPainter(CGalleryPainter* pPainter)
    {
        if (!pPainter || pPainter == m_pGalleryPainter)
            return;
        delete m_pGalleryPainter;
        m_pGalleryPainter = pPainter;
    }
    QXP_ICONS_INFO* GetIconsInfo() { return &m_iconsInfo; }
    CFont* GetRegularFont() { return &m_fontRegular; }
    CFont* GetRegularBoldFont() { return &m_fontRegularBold; }
    CFont* GetSmCaptionFont() { return &m_fontSmCaption; }
    CFont* GetIconFont() { return &m_fontIcon; }
    CFont* GetIconBoldFont() { return &m_fontIconBold; }
    CFont* GetStatusFont() { return &m_fontStatus; }
    BOOL IsFlatBar(CQXPBarView* pBar) const;
    // The keyboard underlines of a bar are shown (the bar's own setting,
    // unless the override is 0 or more).
    BOOL IsKeyboardCuesVisible(CQXPBarView* pBar) const;
    // The pointer to SetLayeredWindowAttributes ("USER32"), or NULL.
    typedef BOOL(WINAPI* PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    PFNSETLAYEREDWINDOWATTRIBUTES m_pfnSetLayeredWindowAttributes;

    // --- data ----------------------------------------------------------------
    COLORREF m_clrStatusTextColor;       // colour 18, or the status style's text colour
    GradientColorValue m_grcNeutral;     // colours 15 to 16 (themes change it)
    ColorValue m_clrFloatingGripper;     // caption background of floating bars (16)
    ColorValue m_clrFloatingGripperText; // their caption text (20)

    BOOL m_bThemedStatusBar; // the status bar uses the "STATUS" visual style
    BOOL m_bThemedCheckBox;  // check marks use the "BUTTON" visual style
    BOOL m_bClearTypeTextQuality;
    BOOL m_bUseGlobalCharset; // fonts take the global UI fonts' character set
    int m_nPopupMargin;       // 4 (Office XP 8)
    BOOL m_bLabelIconColumn;  // labels in popups keep their icon column (1)
    BOOL m_bEnableAnimation;  // popups may animate (1)
    BOOL m_bFollowSmCaptionFont;
    BOOL m_bFollowIconFont;
    BOOL m_bFollowIconBoldFont;
    BOOL m_bFollowStatusFont;
    int m_nSplitButtonDropDownWidth; // 11
    int m_nSplitButtonPopupWidth;    // 20
    BOOL m_bAutoResizeIcons;         // font-based icon sizing (0)
    CGalleryPainter* m_pGalleryPainter;
    CRect m_rcStatusBarMargins; // all 0

    CFont m_fontRegular;
    CFont m_fontRegularBold;
    CFont m_fontVert;
    CFont m_fontVertBold;
    CFont m_fontSmCaption;
    CFont m_fontIcon;
    CFont m_fontIconBold;
    CFont m_fontStatus;
    int m_nTextHeight; // space height in the regular font + 6

    BOOL m_bUseConfiguredFace;          // the configured face equals the menu font's
    CString m_strConfiguredFace;        // "Tahoma"
    BOOL m_bUseSystemFont;              // 1
    BOOL m_bEmbossedDisabledText;       // 1
    CVisualStyleTheme m_themeStatusBar; // "STATUS"
    CVisualStyleTheme m_themeButton;    // "BUTTON"
    int m_nThemeNumber;                 // the factory number; 7 for a caller-made theme
    QXP_ICONS_INFO m_iconsInfo;
    int m_nAnimationSteps;    // 10
    int m_nAnimationDuration; // 100 ms
    int m_nShowKeyboardCues;  // -1 follows each bar; 0 or 1 overrides
    CQXPColorTable m_colors;
    int m_nStoredColorTheme; // 7 follows the colour manager

    // Control layout settings.
    BOOL m_bThickCheckMark;      // the tick is drawn twice (0)
    BOOL m_bTightCaptionSpacing; // 0
    BOOL m_bSplitCaption;        // large buttons split their caption (1)
    int m_nFixedControlHeight;   // 0: heights follow the fonts
    BOOL m_bFlatMenuBar;         // 0 (Office XP 1)
    BOOL m_bFlatToolBar;         // 0
    // The frame setting of popup bars and of all other bars (0: framed).
    int m_nPopupBarFrame; // 0
    int m_nBarFrame;      // 0

    // Drop shadows of popups and expanded controls.
    enum {
        qxpShadowLight = 0x01,       // a lighter shadow (half the alpha)
        qxpShadowClipExclude = 0x02, // cut the opening control out of it
    };
    int m_nShadowOptions; // qxpShadow... bits (qxpShadowClipExclude)
    // Shadows even where the system's drop-shadow setting is off (the
    // Office looks); FALSE for "Windows 2000" and "Windows XP".
    BOOL m_bForceShadows;
    BOOL m_bShadowsOff;       // no shadows at all (0)
    BOOL m_bShadowNoSaveBits; // shadow windows without CS_SAVEBITS | CS_OWNDC (0)
    ColorValue m_clrShadow;   // colour 59 of the colour manager
    // Where RefreshFonts reads the non-client metrics (NULL: the system).
    BOOL(AFXAPI* m_pfnNonClientMetrics)
    (NONCLIENTMETRICSA* pMetrics);

protected:
    // Popups: the caption, shortcut and description of an item, its layout
    // and size (the themes draw backgrounds, icons and arrows first).
    CSize LayoutPopupItem(CDC* pDC, CQXPControlView* pControl, BOOL bDraw);
    // The icon column width of a popup item (doubled for double columns;
    // 0 for labels while m_bLabelIconColumn is off).
    int GetPopupItemIconColumn(CQXPControlView* pControl, CQXPBarView* pBar);
    CSize DrawToolBarCheckOrRadio(CDC* pDC, CQXPControlView* pControl, BOOL bDraw, BOOL bVert);
    CSize DrawLargeButton(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bDraw, BOOL bVert, BOOL bHasIcon,
                          CSize szIcon, CQXPIconImage* pImage);
    CSize DrawTextBelowIcon(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bDraw, CSize szIcon,
                            CSize szButton, CQXPIconImage* pImage);
    CSize DrawNormalLayout(CDC* pDC, CQXPControlView* pControl, CRect rc, BOOL bDraw, BOOL bVert, BOOL bHasIcon,
                           CSize szIcon, CSize szButton, CQXPIconImage* pImage);
    CSize LayoutEditOrCombo(CDC* pDC, CQXPControlView* pControl, BOOL bDraw, BOOL bCombo);
    // The image a control shows at its icon size, NULL when none.
    CQXPIconImage* GetShownImage(CQXPControlView* pControl, CSize szIcon);
    // Caption drawing with the composited-frame path.
    void DrawCaptionText(CDC* pDC, CQXPControlView* pControl, CRect rc, const CString& strText, UINT nFormat);
};

// ---------------------------------------------------------------------------
// The process-wide paint manager.

// The global paint manager, creating the default theme on first use.
CQXPThemePainter* AFXAPI GetGlobalPaintManager();
// TRUE while a global paint manager exists (none is created).
BOOL AFXAPI HasGlobalPaintManager();
// Creates the theme of that number with the factory, releases the previous
// global paint manager and installs the new one (refreshed).
void AFXAPI SetGlobalPaintManager(int nTheme);
// NULL: creates the default theme when there is none. Otherwise as
// SetCustomPaintManager.
void AFXAPI SetGlobalPaintManager(CQXPThemePainter* pPaintManager);
// Releases the previous global paint manager, installs the given one (its
// theme number becomes 7) and refreshes it.
void AFXAPI SetCustomPaintManager(CQXPThemePainter* pPaintManager);
// Releases the global paint manager (process end, tests).
void AFXAPI ReleaseGlobalPaintManager();

// The theme factory: a new paint manager for a theme number, carrying it.
// 1 Office XP, 2 Office 2003, 3 Windows XP, 4 Whidbey, 5 and 6 the Office
// 2007 and ribbon themes when registered (else Office 2003's look), any
// other number Windows 2000.
CQXPThemePainter* AFXAPI CreateThemePainter(int nTheme);
// Registers the creator of theme number 5 or 6 (the ribbon subsystem's
// themes); NULL removes it.
typedef CQXPThemePainter*(AFXAPI* PFNQXPTHEMECREATOR)();
void AFXAPI RegisterThemeCreator(int nTheme, PFNQXPTHEMECREATOR pfnCreator);
