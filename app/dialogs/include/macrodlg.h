// macrodlg.h - the "Macros" dialog (run, delete or rename a stored macro)
// and the naming dialog used when a macro is recorded or renamed.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>
#include <qx/resizedialog.h>

// Lists the macros of a macros.xml in file order. Run closes with IDOK and
// GetSelectedName gives the macro to play; Delete and Rename change the
// file at once and fill the list again. The placement is kept under
// "MacroDialog".
class CMacroDialog : public CQXResizeDialog {
public:
    explicit CMacroDialog(CWnd* pParent = NULL);

    void SetMacroFilePath(LPCSTR lpszPath) { m_strFilePath = lpszPath ? lpszPath : ""; }
    CString GetMacroFilePath() const { return m_strFilePath; }
    CString GetSelectedName() const { return m_strSelectedName; }

protected:
    BOOL OnInitDialog() override;
    // Reloads the list from the file; no entry is selected afterwards and
    // the three buttons are disabled.
    void FillList();

    afx_msg void OnSelChange();
    afx_msg void OnRun();
    afx_msg void OnDelete();
    afx_msg void OnRename();
    DECLARE_MESSAGE_MAP()

    CListBox m_list;
    CString m_strFilePath;
    CString m_strSelectedName;
};

// Asks for a macro's name, refusing one the macro file already holds
// ("There is already a macro named %s"). It only names: the caller stores.
class CNewMacroDialog : public CQXResizeDialog {
public:
    explicit CNewMacroDialog(CWnd* pParent = NULL);

    void SetMacroName(LPCSTR lpszName) { m_strName = lpszName ? lpszName : ""; }
    CString GetMacroName() const { return m_strName; }
    // Replaces "New Macro" as the window title.
    void SetCaption(LPCSTR lpszCaption) { m_strCaption = lpszCaption ? lpszCaption : ""; }
    // The file whose names are refused; GetMacroFilePath() unless set.
    void SetMacroFilePath(LPCSTR lpszPath) { m_strFilePath = lpszPath ? lpszPath : ""; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnNameChange();
    DECLARE_MESSAGE_MAP()

    CEdit m_edit;
    CString m_strName;
    CString m_strCaption;
    CString m_strFilePath;
};
