// templatedlg.h - the template dialogs: CTemplateManager edits a template's
// name and text (Create Template, Edit Template), CNewTemplate picks a
// template to start a new document with (New From Template).
#pragma once

#include "templatetree.h"

class CTemplateManager : public CDialog {
    DECLARE_DYNAMIC(CTemplateManager)
public:
    CTemplateManager(LPCSTR lpszName, LPCSTR lpszText, CWnd* pParent = NULL);

    CString GetName() const { return m_strName; }
    CString GetText() const { return m_strText; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnNameChange();
    afx_msg void OnTextChange();
    DECLARE_MESSAGE_MAP()

    CButton m_okButton;
    CEdit m_nameEdit;
    CEdit m_textEdit;
    CString m_strName; // the name as last accepted: a typed \ / : * ? " < > | at its end is taken back
    CString m_strText;
    CFont m_font; // Courier New for both edits
};

class CNewTemplate : public CDialog {
    DECLARE_DYNAMIC(CNewTemplate)
public:
    // lpszFolder: the folder of the templates offered (empty: none).
    CNewTemplate(LPCSTR lpszFolder, CWnd* pParent = NULL);

    CString GetSelectedPath() const { return m_strPath; }
    // The chosen template's text (empty when none was chosen or it cannot be read).
    CString GetTemplateText() const;
    CSolutionBarTemplateTree& GetTree() { return m_tree; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CString m_strFolder;
    CString m_strPath; // the selected template file, empty for a folder or nothing
    CSolutionBarTemplateTree m_tree;
    CButton m_okButton;
    BOOL m_bPicking; // the tree holds templates: a selection decides OK
};
