// qx/ribbonsystem.h - the ribbon's system (application) button and its
// menu: a column of commands on the left, a second column (a recent-file
// list under its caption) on the right, and a band of buttons along the
// bottom edge.
//
// CQXPRibbonControlSystemButton          - the round button in the corner.
// CQXPRibbonSystemPopupBar               - its menu: borders 6, 18, 6, 29.
// CQXPRibbonSystemPopupBarPage           - a page opened from a left-column
//                                          command (at least the menu's
//                                          client height less 49).
// CQXPRibbonControlSystemPopupBarButton  - a bottom-band button.
// CQXPRibbonControlSystemPopupBarListItem - a right-column item (300 × 21).
// CQXPRibbonControlSystemPopupBarListCaption - a right-column caption
//                                          (300 × 27) with its edge lines.
// CQXPRibbonControlSystemRecentFileList  - a caption followed by one item
//                                          per recent file, rebuilt before
//                                          each layout of its menu.
//
// The program fills the menu with these and ordinary controls; a control
// whose Flags have qxpFlagWrapRow starts the right column.
#pragma once

#include <qx/popup.h>

class CQXPRibbonBar;
class CRecentFileList;

class CQXPRibbonControlSystemButton : public CQXPControlPopup {
    DECLARE_DYNCREATE(CQXPRibbonControlSystemButton)
public:
    CQXPRibbonControlSystemButton();
    // Square, as high as the ribbon's tab row.
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // The button drawn over a rectangle of another place (the system menu
    // shows it through its top border).
    void DrawAt(CDC* pDC, const CRect& rc);
    // A double click closes the menus and sends SC_CLOSE to the frame.
    BOOL OnLButtonDblClk(CPoint pt) override;
    // On a ribbon that draws the frame's caption, the system menu opens 18
    // pixels higher: its top border lies over the button's lower part.
    void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical) override;
    // The ribbon whose caption the button sits in draws the frame (a frame
    // hook lets it draw the caption).
    BOOL IsOnFrameCaption() const;
};

class CQXPRibbonSystemPopupBar : public CQXPPopupBar {
    DECLARE_DYNCREATE(CQXPRibbonSystemPopupBar)
public:
    CQXPRibbonSystemPopupBar();
    // A new empty menu of the manager (one reference for the caller).
    static CQXPRibbonSystemPopupBar* AFXAPI CreateSystemPopupBar(CQXPCommandBars* pCommandBars);
    // Its own fixed margins (the menu's image frames them).
    CRect GetBorders() const override { return m_rcBorders; }
    // The column layout without the bottom-band buttons, which then go
    // right-aligned into the bottom border.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // The system button that opened the menu (NULL when another control did).
    CQXPRibbonControlSystemButton* GetSystemButton() const;

protected:
    // Over the system button that opened it, the menu lets the click
    // through to the button (HTTRANSPARENT).
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()
};

class CQXPRibbonSystemPopupBarPage : public CQXPPopupBar {
    DECLARE_DYNCREATE(CQXPRibbonSystemPopupBarPage)
public:
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Opened from a command of a system menu, the page starts at the
    // menu's top border + 1 and one pixel right of the command; elsewhere
    // its opening control decides.
    void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical) override;
};

class CQXPRibbonControlSystemPopupBarButton : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPRibbonControlSystemPopupBarButton)
public:
    CQXPRibbonControlSystemPopupBarButton();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};

class CQXPRibbonControlSystemPopupBarListItem : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPRibbonControlSystemPopupBarListItem)
public:
    CQXPRibbonControlSystemPopupBarListItem();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;

    int m_nItemWidth;
    int m_nItemHeight;
};

class CQXPRibbonControlSystemPopupBarListCaption : public CQXPControl {
    DECLARE_DYNCREATE(CQXPRibbonControlSystemPopupBarListCaption)
public:
    CQXPRibbonControlSystemPopupBarListCaption();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;

    int m_nItemWidth;
    int m_nItemHeight;
};

class CQXPRibbonControlSystemRecentFileList : public CQXPRibbonControlSystemPopupBarListCaption {
    DECLARE_DYNCREATE(CQXPRibbonControlSystemRecentFileList)
public:
    // Before each layout: the items after it that carry recent-file ids go,
    // and one item per file of the list comes (none while customizing).
    void OnCalcDynamicSize(DWORD dwMode) override;
    // The list shown (the application's); NULL when it has none.
    virtual CRecentFileList* GetRecentFileList();
    // The command of the first entry.
    virtual int GetFirstMruId();
};
