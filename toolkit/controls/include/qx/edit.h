// qx/edit.h - the toolkit's edit control: the standard edit with its own
// context menu (Undo, Cut, Copy, Paste, Delete, Select All), the edit
// commands routed to it, and flicker-free painting on the colour manager's
// window colour (button face when read-only or disabled).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// Command ids of the edit menu.
#define QX_ID_EDIT_CLEAR 57632
#define QX_ID_EDIT_COPY 57634
#define QX_ID_EDIT_CUT 57635
#define QX_ID_EDIT_PASTE 57637
#define QX_ID_EDIT_SELECT_ALL 57642
#define QX_ID_EDIT_UNDO 57643
// The toolkit's edit menu resource; its second submenu is the context menu.
#define QX_IDR_EDIT_MENU 9316

class CQXEdit : public CEdit {
    DECLARE_DYNAMIC(CQXEdit)
public:
    CQXEdit();
    ~CQXEdit() override;

    // The context menu: submenu 1 of menu 9316 when the resources have it,
    // else a menu with the same commands. The caller destroys it.
    HMENU CreateContextMenu();
    // Whether a command can run now (the update handlers' answer).
    BOOL IsCommandEnabled(UINT nID);
    // The background the edit paints on.
    virtual COLORREF GetBackColor();

    void* m_pReserved;

private:
    CBrush m_brushBack;
    COLORREF m_clrBrush;

protected:
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
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
