// findbox.h - the editor's search text boxes.
//
// CToolbarFindComboBox: the find box of the main toolbar, and the text boxes
// of the Find, Replace and Hex Find dialogs. It shows one search list
// ("SearchHistory", or "ReplaceHistory" for the Replace dialog's second
// box; apphelpers.h keeps the lists), completes typed text from it, and
// translates its own keys (copied from the frame's shortcuts) before
// anything else. In dialog mode 0 Enter runs the box's own search; in mode
// 1 Enter is left to the dialog that holds the box.
//
// CSmartComboBox: a plain combo box with the same completion.
// CFindEditCtrl: the edit inside these boxes; it tells its box when Enter
// is released.
#pragma once

#include <fx/fx.h>
#include <qx/flatcombo.h>

// Sent by CFindEditCtrl to its box when Enter is released (both parameters 0).
#define WM_FINDEDIT_ENTER 0x8001

class CFindEditCtrl : public CEdit {
protected:
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};

// Appends to the key table hOwn (null: none yet) the first entry of hFrom
// whose command is nCmd; the table is made anew and the old one destroyed.
// FALSE (nothing changes) when hFrom has no such entry.
BOOL AppendAccelerator(HACCEL& hOwn, HACCEL hFrom, UINT nCmd);

// Completes the text typed into a combo box from the first list entry that
// begins with it, ignoring case, the newest (top) entry first: the typed
// characters keep their case and the added part is selected, so typing on
// replaces it. FALSE when no entry adds anything.
BOOL CompleteComboText(CComboBox& box);

class CToolbarFindComboBox : public CQXFlatComboBox {
    DECLARE_DYNAMIC(CToolbarFindComboBox)
public:
    enum {
        kSearchBox = 0,
        kDialogBox = 1
    }; // dialog modes
    explicit CToolbarFindComboBox(int nDialogMode = kSearchBox);
    ~CToolbarFindComboBox() override;

    // A dialog's combo box becomes a find box (the set-up creation does for
    // a new box); FALSE when the dialog has no such item.
    BOOL AttachDlgItem(UINT nID, CWnd* pDialog);

    void SetDialogMode(int nMode) { m_nDialogMode = nMode; }
    int GetDialogMode() const { return m_nDialogMode; }
    // The window the box names when it opens the Find or Replace dialog.
    void SetTargetWindow(CWnd* pTarget) { m_pTarget = pTarget; }
    CWnd* GetTargetWindow() const { return m_pTarget; }
    // The list the box shows: "SearchHistory" unless set before the box is
    // made (the Replace dialog's second box shows "ReplaceHistory").
    void SetHistorySection(LPCSTR lpszSection) { m_strSection = lpszSection; }
    const CString& GetHistorySection() const { return m_strSection; }

    // Appends to the box's own key table the first entry of hAccel whose
    // command is nCmd; FALSE (nothing changes) when there is none.
    BOOL CopyAccelerator(HACCEL hAccel, UINT nCmd);
    HACCEL GetAccelerators() const { return m_hAccel; }

    CString GetText() const;
    // AddToComboHistory on the box's list.
    BOOL AddToHistory(LPCSTR lpszText);
    void LoadHistory();
    void SaveHistory();
    // The next edit change completes (a key other than Delete or Backspace
    // went down since the last one).
    BOOL IsCompletionArmed() const { return m_bArmed; }
    BOOL IsTextChanged() const { return m_bTextChanged; }
    CFindEditCtrl& GetEdit() { return m_edit; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // History, font, no text limit, the edit subclassed, the base's
    // completion flag (the box completes itself, see OnEditChange).
    void SetUpBox();
    void QuickFind();

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEditChange();
    afx_msg BOOL OnEditUpdate();
    afx_msg BOOL OnSelChange();
    afx_msg LRESULT OnEditEnter(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFindNext();
    afx_msg void OnFindDialog();
    afx_msg void OnReplaceDialog();
    DECLARE_MESSAGE_MAP()

    CFindEditCtrl m_edit;
    CString m_strSection;
    BOOL m_bTextChanged; // set by CBN_EDITUPDATE
    BOOL m_bArmed;       // completion armed by the last key
    int m_nDialogMode;   // kSearchBox or kDialogBox
    HACCEL m_hAccel;     // the box's own keys (owned), null when none
    CWnd* m_pTarget;     // not owned
};

class CSmartComboBox : public CComboBox {
    DECLARE_DYNAMIC(CSmartComboBox)
public:
    CSmartComboBox();
    BOOL IsCompletionArmed() const { return m_bArmed; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg BOOL OnEditChange();
    DECLARE_MESSAGE_MAP()

    BOOL m_bArmed;
};
