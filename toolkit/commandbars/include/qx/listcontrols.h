// qx/listcontrols.h - placeholders that fill a menu with entries known only
// when it opens: the open document windows, the toolbars of the frame, the
// recent files, the verbs of an embedded object and the tab-group commands.
// The entries are temporary controls inserted right after the placeholder at
// every layout; the entries of the layout before are removed first.
//
// Also the small controls that differ from a button only by type or by a few
// overrides: label, check box, radio button and the grid selector.
#pragma once

#include <qx/control.h>

class CRecentFileList;

#define QXP_ID_WINDOWLIST 35000
#define QXP_MAX_WINDOWLIST_ITEMS 9
// The customize command.
#define QXP_ID_CUSTOMIZE 35001
#define QXP_ID_WORKSPACEACTIONS 35002
// The recent-file list as created by CQXPControls::Add; a menu item with the
// first recent-file command (ID_FILE_MRU_FILE1) becomes one too.
#define QXP_ID_RECENTFILELIST 35003
#define QXP_ID_FIRST_MRU 57616
// The first of the sixteen object-verb commands; a menu item with it and the
// caption QXP_OLEITEMS_CAPTION becomes the object-verbs list.
#define QXP_ID_OLEITEMS 57872
#define QXP_OLEITEMS_CAPTION "<<OLE VERBS GO HERE>>"
// The toolbars list (ID_VIEW_TOOLBAR).
#define QXP_ID_TOOLBARSLIST 59392
// The parameter that marks the items of a toolbars list.
#define QXP_TOOLBARITEM_PARAMETER "CQXPControlToolbar"
#define QXP_OLEPOPUP_PARAMETER "OLEMENUPOPUP"
// The selector tells its site that the marked grid changed.
#define QXP_CN_SELECTOR_HOTCHANGED 4102

// The caption of a list entry: ampersands doubled, then "&1 text" .. "&9
// text", "1&0 text", "11 text"...; number 0 leaves the text as it is.
CString AFXAPI QxpFormatItemText(const CString& strText, int nNumber);

class CQXPControlWindowList : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlWindowList)
public:
    CQXPControlWindowList();
    // Only popup menus take it while customizing.
    BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) override;

    void OnCalcDynamicSize(DWORD dwMode) override;

    // The first command id of the MDI children (0xFF00, or 0x8000 / 1 once a
    // child with such an id was seen). Kept for the life of the process.
    static UINT s_nFirstWindowId;

protected:
    // The MDI client of the bar's site frame, NULL when it has none.
    HWND GetMDIClient() const;
    // Removes the entries of the last run: only temporary controls right
    // after the placeholder, never real menu items that happen to follow.
    void RemoveOldItems();
};

// The toolbars of the manager, one check item per toolbar that has a context
// menu entry and may be closed; executing an item shows or hides its bar.
class CQXPControlToolbars : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlToolbars)
public:
    CQXPControlToolbars();
    // Only popup menus take it while customizing.
    BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) override;

    void OnCalcDynamicSize(DWORD dwMode) override;

    // Inserts the toolbar items into pBar at nIndex (each with nId, tag = the
    // toolbar's index in the manager); the first item gets bBeginGroup. With
    // bAddCustomize and a site that handles the customize command, a
    // "Customize" button beginning a group is appended at the end.
    static void AFXAPI AddToolbarItems(CQXPCommandBar* pBar, int nIndex, int nId, BOOL bAddCustomize,
                                       BOOL bBeginGroup);
};

// The application's recent files, "&1 name" .. "&9 name", "1&0 name", "11
// name"..., ids from the first recent-file command upwards. An empty list
// shows the placeholder greyed.
class CQXPControlRecentFileList : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlRecentFileList)
public:
    CQXPControlRecentFileList();
    // Only popup menus take it while customizing.
    BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) override;

    void OnCalcDynamicSize(DWORD dwMode) override;

    // The list shown (the application's); NULL when it has none.
    virtual CRecentFileList* GetRecentFileList();
    // The command of the first entry.
    virtual int GetFirstMruId();
};

// The verbs of the selected embedded object of the active document. The
// documents of this framework embed no objects: the placeholder stays hidden
// outside customize mode and adds nothing.
class CQXPControlOleItems : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlOleItems)
public:
    CQXPControlOleItems();
    // Only popup menus take it while customizing.
    BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
};

// The tab-group commands of a tabbed MDI client (new horizontal / vertical
// group, move to the previous / next group), each only while the client
// enables it.
class CQXPControlWorkspaceActions : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlWorkspaceActions)
public:
    CQXPControlWorkspaceActions();
    // Only popup menus take it while customizing.
    BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
};

// A caption on a bar: never selected, a click does nothing.
class CQXPControlLabel : public CQXPControl {
    DECLARE_DYNCREATE(CQXPControlLabel)
public:
    CQXPControlLabel();
    int GetSelected() const override { return 0; }
    BOOL OnSetSelected(int bSelected) override
    {
        (void)bSelected;
        return FALSE;
    }
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnExecute() override {}
};

// A button that the paint manager draws as a check box (type 9).
class CQXPControlCheckBox : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlCheckBox)
public:
    CQXPControlCheckBox() { m_controlType = qxpControlCheckBox; }
};

// A button that the paint manager draws as a radio button (type 11).
class CQXPControlRadioButton : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlRadioButton)
public:
    CQXPControlRadioButton() { m_controlType = qxpControlRadioButton; }
};

// A grid of cells from which the user drags out a size (columns and rows of
// a table, say). Moving the mouse marks the cells up to it; dragging past
// the right or bottom edge with the button down grows the grid up to
// ItemsMax; releasing the button on a marked cell executes the control with
// the marked size as its result.
class CQXPControlSelector : public CQXPControl {
    DECLARE_DYNCREATE(CQXPControlSelector)
public:
    CQXPControlSelector();

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    void OnLButtonUp(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    BOOL OnSetSelected(int bSelected) override;

    // Draws the content of one cell (rcItem inside its frame) for derived
    // selectors; the base draws nothing.
    virtual void DrawItem(CDC* pDC, CRect rcItem, COLORREF clrText)
    {
        (void)pDC;
        (void)rcItem;
        (void)clrText;
    }

    // Marks a grid (columns, rows): stored when it differs or when forced,
    // then the control redraws and tells its site.
    void SetHot(CSize szHot, BOOL bForce = FALSE);
    CSize GetHot() const { return m_szHot; }
    // The grid marked when the control was executed.
    CSize GetResult() const { return m_szResult; }
    // The grid currently shown.
    CSize GetShown() const { return m_szShown; }

    CSize m_szItemsCount; // shown when the control is laid out
    CSize m_szItemsMax;   // largest grid the user can drag open
    CSize m_szHot;
    CSize m_szItemSize; // cell size in pixels
    CSize m_szResult;
    CSize m_szShown;
    BOOL m_bInResize; // set while the selector re-lays its bar out
};
