// qx/controlcombo.h - the combo box of command bars: a text field (an edit
// window in drop-down style, drawn by the control in drop-down-list style)
// with a drop-down button whose list is a popup bar over a list box.
//
// The owner hears the Windows combo-box notification codes through the
// control notification (WM_COMMANDBARS_CONTROLNOTIFY): CBN_SELCHANGE,
// CBN_SETFOCUS, CBN_KILLFOCUS, CBN_EDITCHANGE, CBN_DROPDOWN, CBN_CLOSEUP,
// CBN_SELENDOK and CBN_SELENDCANCEL; picking an item or Enter executes the
// control (its command goes to the owner).
#pragma once

#include <qx/controledit.h>
#include <qx/popup.h>

class CQXPControlComboBox;

// The popup bar of a combo field whose content is not a list.
class CQXPControlComboBoxPopupBar : public CQXPPopupBar {
    DECLARE_DYNCREATE(CQXPControlComboBoxPopupBar)
public:
    CQXPControlComboBoxPopupBar();
    int ProcessHookKeyDown(UINT nKey) override;
    // A key for the serving control: 0 not handled, 1 handled.
    virtual int ProcessKey(CQXPControlComboBox* pControl, UINT nKey, LPARAM lParam);
    CQXPControlComboBox* GetComboControl() const;

    // The list the combo box reads and selects in (indexes; -1 none). A
    // bar without items answers none.
    virtual int GetCount() const { return 0; }
    virtual int GetCurSel() const { return -1; }
    // Prefix match from after nStart (-1: from the top); LB_ERR when none.
    virtual int FindString(int nStart, LPCSTR lpszText) const;
    virtual int FindStringExact(int nStart, LPCSTR lpszText) const;
    // LB_ERR for an index the list does not hold, else 0.
    virtual int SetTopIndex(int nIndex);
    virtual void SetCurSel(int nIndex) { (void)nIndex; }
    // "" for an index outside the items.
    virtual void GetText(int nIndex, CString& strText) const;

protected:
    // The drop-down closed: the combo box hears it, its bar drops the
    // selection unless the box keeps the focus, and the bar forgets it.
    void OnComboClosed(CQXPControlComboBox* pControl);
};

// The drop-down list: its window is a "LISTBOX".
class CQXPControlComboBoxList : public CQXPControlComboBoxPopupBar {
    DECLARE_DYNCREATE(CQXPControlComboBoxList)
public:
    CQXPControlComboBoxList();
    ~CQXPControlComboBoxList() override;

    int GetCurSel() const override;
    int FindString(int nStart, LPCSTR lpszText) const override;
    int FindStringExact(int nStart, LPCSTR lpszText) const override;
    int SetTopIndex(int nIndex) override;
    void SetCurSel(int nIndex) override;
    void GetText(int nIndex, CString& strText) const override;
    int ProcessKey(CQXPControlComboBox* pControl, UINT nKey, LPARAM lParam) override;
    virtual BOOL CreateListWindow();
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);

    int GetCount() const override;
    int AddString(LPCSTR lpszText);
    int InsertString(int nIndex, LPCSTR lpszText);
    int DeleteString(int nIndex);
    void ResetContent();
    int GetItemHeight() const;

    int ProcessHookKeyDown(UINT nKey) override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override
    {
        (void)wParam;
        (void)lParam;
    }
    // "ListIconId", then the section "Items" (count, "Item0" ...).
    void DoPropExchange(CQXPPropExchange* pPX) override;
    // Copies the items and ListIconId of another list.
    void CopyList(const CQXPControlComboBoxList* pOther);

    CQXPCommandBars* m_pListCommandBars; // the manager it was made for
    int m_nListIconId;                   // first icon of the items (-1 none)
    DWORD m_dwListStyle;                 // style bits of the list box

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The list box window holds the items: a closing list only hides it.
    void DismissWindow() override;
    DECLARE_MESSAGE_MAP()
};

class CQXPControlComboBox : public CQXPControlPopup, public CQXPEditBox {
    DECLARE_DYNCREATE(CQXPControlComboBox)
public:
    CQXPControlComboBox();
    ~CQXPControlComboBox() override;
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }

    // --- style --------------------------------------------------------------------
    void SetDropDown(BOOL bDropDown);
    BOOL GetDropDown() const { return m_bDropDown; }
    void SetComboStyle(int nStyle);
    int GetComboStyle() const { return m_nComboStyle; }
    void SetAutoComplete(BOOL bAutoComplete) { m_bAutoComplete = bAutoComplete; }
    BOOL GetAutoComplete() const { return m_bAutoComplete; }
    void SetDropDownItemCount(int nCount) { m_nDropDownItemCount = nCount; }
    int GetDropDownItemCount() const { return m_nDropDownItemCount; }
    void SetEditIconId(int nId);
    int GetEditIconId() const { return m_nEditIconId; }
    // The smallest width: label, button and 5 pixels.
    int GetMinimumWidth() const { return m_layout.nLabelWidth + m_layout.nButtonWidth + 5; }

    // --- items ----------------------------------------------------------------------
    // The drop-down: a list box bar, or another combo popup bar (a gallery)
    // set with SetCommandBar. GetComboList is null for the latter.
    CQXPControlComboBoxList* GetComboList() const;
    CQXPControlComboBoxPopupBar* GetListBar() const;
    int AddString(LPCSTR lpszText) { return GetComboList() ? GetComboList()->AddString(lpszText) : -1; }
    int InsertString(int nIndex, LPCSTR lpszText)
    {
        return GetComboList() ? GetComboList()->InsertString(nIndex, lpszText) : -1;
    }
    int DeleteItem(int nIndex) { return GetComboList() ? GetComboList()->DeleteString(nIndex) : -1; }
    void ResetContent();
    int GetCount() const { return GetListBar() ? GetListBar()->GetCount() : 0; }
    CString GetLBText(int nIndex) const;
    int FindString(int nStart, LPCSTR lpszText) const
    {
        return GetListBar() ? GetListBar()->FindString(nStart, lpszText) : -1;
    }
    int FindStringExact(int nStart, LPCSTR lpszText) const
    {
        return GetListBar() ? GetListBar()->FindStringExact(nStart, lpszText) : -1;
    }
    int GetCurSel() const;
    void SetCurSel(int nIndex);

    // --- text and keys (the rest of the text box: CQXPEditBox) -------------------------------
    CString GetEditText() const override { return GetBoxText(); }
    // The hint, and the field redrawn.
    void SetEditHint(const CString& strHint);
    int ProcessKey(UINT nKey, LPARAM lParam = 0) override;

    // --- virtual operations --------------------------------------------------------------
    virtual CString GetListSelectedText() const;
    virtual void DrawEditText(CDC* pDC, CRect rcText);
    virtual CString GetText() const { return GetEditText(); }
    virtual void OnEditChanged();
    virtual void OnSelChanged();
    virtual void OnSetFocus(HWND hWndOld);
    virtual void OnKillFocus();
    virtual void AddIconSpace(CRect& rcEdit);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);

    // --- overrides ---------------------------------------------------------------------------
    BOOL IsCaptionVisible() const override;
    EditLayout* GetEditLayout() override { return &m_layout; }
    BOOL IsDroppedDown() const override { return m_bPopup; }
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnExecute() override;
    BOOL OnSetSelected(int bSelected) override;
    void SetRect(const CRect& rc) override;
    void SetParent(CQXPCommandBar* pParent) override;
    void SetHideFlags(DWORD dwFlags) override;
    void SetEnabled(BOOL bEnabled) override;
    void Draw(CDC* pDC) override;
    void OnParentDestroying() override;
    void OnRemoved() override;
    void RefreshMetrics() override { m_bReposition = TRUE; }
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    // Takes the loaded list bar it names (a list of the wrong kind is
    // ignored and the control keeps its own).
    void RestorePopupFromList(CommandBarList* pList) override;
    // The mouse wheel over the focused control steps the selection (down
    // for a delta of 0 or less); FALSE when the wheel is not the list's.
    BOOL OnMouseWheel(int nDelta);

    // CQXPEditOwner
    void OnEditSetFocus(HWND hWndOld) override { OnSetFocus(hWndOld); }
    void OnEditKillFocus() override { OnKillFocus(); }
    void OnEditTextChanged() override;
    BOOL OnEditRButtonDown(CPoint ptClient) override;
    void OnAutoSuggestShown() override;
    BOOL OnEditMouseWheel(int nDelta) override;

    // Called by the list when its tracking starts and ends.
    void OnListOpened();
    void OnListClosed();
    // Selects the list item that matches the text.
    void SyncListWithText();

protected:
    void OnFocusChanging(BOOL bFocused) override;
    CRect GetEditWindowRect() override;

public:
    BOOL m_bDropDown;
    int m_nComboStyle;
    int m_nSavedSel;
    BOOL m_bAutoComplete;
    BOOL m_bSuppressCompletion;
    int m_nEditIconId;
    BOOL m_bCommitted;
    int m_nDropDownItemCount;
    int m_nCurSel;    // the selection when there is no list
    BOOL m_bUpdating; // the control writes the selected item into the field
    BOOL m_bCompleting;
};
