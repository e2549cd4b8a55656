// fx/checklistbox.h - CCheckListBox, a list box whose items carry a check
// box, and CTitleStatic, a static that draws its text with an etched line
// after it (a title over a group of controls).
//
// CCheckListBox must be owner-drawn (LBS_OWNERDRAWFIXED or
// LBS_OWNERDRAWVARIABLE) with LBS_HASSTRINGS; it is attached to its window
// (SubclassDlgItem) before items are added, so that it follows every
// insertion and deletion. A click on an item's box, or Space on the item
// with the caret, toggles its check and tells the parent with WM_COMMAND
// (CLBN_CHKCHANGE, the control id) after the change. Disabled items keep
// their check. The check of an item moves with it when items before it are
// inserted or deleted.
//
// UI thread only.
#pragma once

#include "fx/ctrls.h"

#include <vector>

// Notification code of a changed check (WM_COMMAND, HIWORD of wParam).
#define CLBN_CHKCHANGE 40

class CCheckListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckListBox)
public:
    CCheckListBox();
    ~CCheckListBox() override;

    // 0 unchecked, 1 checked (other values are taken as checked).
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex) const;
    // A disabled item draws grey and cannot be toggled by the user.
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;

    // The box's rectangle in an item's rectangle (client coordinates).
    CRect GetCheckBoxRect(const CRect& rcItem);
    // The box's size: 13 x 13 unless a subclass draws another.
    virtual CSize GetCheckBoxSize();
    // Draws the box of an item; the base draws the classic frame control.
    virtual void DrawCheckBox(CDC* pDC, CRect rcBox, int nCheck, BOOL bEnabled);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

protected:
    // Toggles an enabled item and tells the parent.
    void ToggleByUser(int nIndex);
    struct ItemState {
        int nCheck = 0;
        BOOL bEnabled = TRUE;
    };
    // One state per item, kept in step with the list's items.
    std::vector<ItemState> m_states;
    ItemState* StateOf(int nIndex);
    const ItemState* StateOf(int nIndex) const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInsertString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// The title static: text on the left (on the right with WS_EX_RTLREADING),
// vertically centred on one line, and from 6 pixels after it to the far edge
// an etched line at half height (the visual style's edge colour when the
// button theme is on, else a shadow line over a highlight line).
class CTitleStatic : public CStatic {
    DECLARE_DYNAMIC(CTitleStatic)
public:
    CTitleStatic() = default;
    // Where the line starts and ends in the client area (for tests and
    // subclasses): the text's extent plus 6 pixels is left out.
    void GetLineExtent(CDC* pDC, const CRect& rcClient, int* pnStart, int* pnEnd);
    // The visual style's text and edge colours; FALSE (the default) when
    // there is no style, and the system colours are used.
    virtual BOOL GetThemeColors(COLORREF* pclrText, COLORREF* pclrEdge)
    {
        (void)pclrText;
        (void)pclrEdge;
        return FALSE;
    }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
