// qx/edit.h - the toolkit's edit control: the standard edit with its own
// context menu (Undo, Cut, Copy, Paste, Delete, Select All), the edit
// commands routed to it, and flicker-free painting on the colour manager's
// window colour (button face when disabled; read-only text stays on the
// window colour).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// The edit menu's command ids (QX_ID_EDIT_...), the menu (QX_IDR_EDIT_MENU)
// and the toolbar whose pictures it shows (QX_IDR_EDIT_MENU_ICONS).
#include <qxresource.h>

class CQXEdit : public CEdit {
    DECLARE_DYNAMIC(CQXEdit)
public:
    CQXEdit();
    ~CQXEdit() override;

    // The context menu: submenu 1 of the toolkit's edit menu (through the
    // toolkit's resource access) when the resources have it, else a menu
    // with the same commands. The caller destroys it.
    HMENU CreateContextMenu();
    // Whether a command can run now (the update handlers' answer).
    BOOL IsCommandEnabled(UINT nID);
    // The background the edit paints on.
    virtual COLORREF GetBackColor();

    // Enabled, not read-only, and text on the clipboard.
    virtual BOOL CanPaste();
    // The selection is not empty.
    virtual BOOL HasSelection();
    // Sets the toolkit's user-interface font and remembers the parent;
    // FALSE (and nothing changes) when this control or the parent is not a
    // window.
    virtual BOOL Initialize(CWnd* pParentWnd);
    CWnd* GetParentWnd() const { return m_pParentWnd; }
    // Where the context menu opens for a requested screen point: a keyboard
    // request (-1, -1) opens 5 pixels inside the client area's corner.
    CPoint GetContextMenuPoint(CPoint pos);
    // Enables and disables the items of a popup menu by the edit's command
    // update handlers (items without a handler are disabled).
    void UpdateMenuItems(CMenu* pPopupMenu);

    void* m_pReserved;
    CWnd* m_pParentWnd; // the window given to Initialize

private:
    CBrush m_brushBack;
    COLORREF m_clrBrush;

protected:
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnEditUndo();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnEditClear();
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
