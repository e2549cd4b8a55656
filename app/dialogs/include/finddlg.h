// finddlg.h - the Find (151) and Replace (152) dialogs and Go To Line (131).
//
// Find and Replace are modeless, at most one of them open (the main frame
// sees to that): they search whichever text view is active through the main
// frame (IEditorFrame), never a view of their own, so closing documents
// leaves them working. Their options live in "FindReplace" of the profile,
// their texts in the search lists of the find boxes (findbox.h).
#pragma once

#include <fx/fx.h>
#include <qx/resizedialog.h>

#include "findbox.h"

// Gives a dialog the icon resource nIcon as its big or small icon (the
// dialogs of this library share it).
void SetIconFrom(CWnd* pDialog, UINT nIcon, BOOL bBig);

// What the modeless Find and Replace dialogs share: the target window, the
// initial text, their own key table (copied from the frame's) translated
// before anything else, and modeless creation.
class CSearchDialog : public CQXResizeDialog {
    DECLARE_DYNAMIC(CSearchDialog)
public:
    // pTarget: the window the dialog names when it opens the other dialog.
    CSearchDialog(UINT nIDTemplate, CWnd* pTarget, LPCSTR lpszInitialText);
    ~CSearchDialog() override;

    // Creates the modeless window (owned by pParent) and shows it.
    BOOL CreateModeless(CWnd* pParent);
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    UINT m_nTemplate;
    CWnd* m_pTarget; // not owned
    HACCEL m_hAccel; // owned; null when the frame has none of the keys
    CString m_strInitial;
};

class CFindDialog : public CSearchDialog {
    DECLARE_DYNAMIC(CFindDialog)
public:
    CFindDialog(CWnd* pTarget, LPCSTR lpszInitialText);

    CToolbarFindComboBox& GetFindBox() { return m_wndFind; }
    BOOL GetMatchCase() const { return m_bMatchCase; }
    BOOL GetWholeWord() const { return m_bWholeWord; }
    BOOL GetRegex() const { return m_bRegex; }
    BOOL GetSearchUp() const { return m_bSearchUp; }
    BOOL GetWrapAround() const { return m_bWrap; }

    BOOL OnInitDialog() override;

protected:
    void PostNcDestroy() override;
    void OnCancel() override;
    void OnOK() override;

    afx_msg void OnFindNext();
    afx_msg void OnMarkAll();
    afx_msg void OnReplace();
    afx_msg void OnOption(UINT nID);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // Options as the check boxes and radio buttons show them.
    void ReadOptions();

    int m_bMatchCase, m_bWholeWord, m_bRegex, m_bSearchUp, m_bWrap;
    CToolbarFindComboBox m_wndFind;
};

class CReplaceDialog : public CSearchDialog {
    DECLARE_DYNAMIC(CReplaceDialog)
public:
    CReplaceDialog(CWnd* pTarget, LPCSTR lpszInitialText);

    CToolbarFindComboBox& GetFindBox() { return m_wndFind; }
    CToolbarFindComboBox& GetReplaceBox() { return m_wndReplace; }
    BOOL GetSelectionOnly() const { return m_bSelection; }
    int GetLastReplacePosition() const { return m_nLastPos; }

    BOOL OnInitDialog() override;

protected:
    void PostNcDestroy() override;
    void OnCancel() override;
    void OnOK() override;

    afx_msg void OnFindNext();
    afx_msg void OnReplaceOne();
    afx_msg void OnReplaceAll();
    afx_msg void OnOption(UINT nID);
    afx_msg void OnScope(UINT nID);
    afx_msg void OnFindDialog();
    DECLARE_MESSAGE_MAP()

    void ReadOptions();
    // Find Next and Replace work on the active document only.
    void EnableForScope();
    // Replace (bAll 0) or Replace All; the frame's result.
    int Replace(BOOL bAll, int nStart);

    int m_bMatchCase, m_bWholeWord, m_bRegex, m_bSelection;
    CToolbarFindComboBox m_wndFind;
    CToolbarFindComboBox m_wndReplace;
    int m_nLastPos; // where Replace goes on from; -1: find first
};

class CGotoDialog : public CDialog {
public:
    explicit CGotoDialog(int nLineCount, CWnd* pParent = NULL);

    BOOL OnInitDialog() override;
    // The line entered (1-based); 0 while the edit is empty.
    int GetLine() const { return m_nLine; }

protected:
    afx_msg void OnLineChange();
    DECLARE_MESSAGE_MAP()

    CString m_strLabel;
    int m_nLine;
};

// The registry section of the search options.
extern const char kFindReplaceSection[];
