// comparedoc.h - the compare document: two text files compared side by side
// in an MDI child window.
//
// CBRCompareDlg asks for the two files; the program opens a new document of
// the compare template and hands it the paths (CCompareDocument::CompareFiles).
// The view hosts a "CompareWin" window, draws a header with the two file names
// in the colours of the compare markers and lets the window compare the files
// into a temporary result file, which it deletes once the window is gone.
#pragma once

#include <fx/fx.h>
#include <qx/resizedialog.h>

#include "docchildframe.h"
#include "docwrappers.h"

// The open dialog of the compare dialog's browse buttons; remembers the
// chosen filter in "Settings"\"FilterIndex".
class CCompareFileDialog : public CFileDialog {
    DECLARE_DYNAMIC(CCompareFileDialog)
public:
    CCompareFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING,
                       LPCSTR lpszFilter = NULL, CWnd* pParentWnd = NULL);

protected:
    BOOL OnFileNameOK() override;
};

// "Compare Files" (dialog 103): the two paths, checked on OK and kept in
// "Settings"\"CompareFirstFile" and "CompareSecondFile".
class CBRCompareDlg : public CQXResizeDialog {
public:
    explicit CBRCompareDlg(CWnd* pParent = NULL);

    CString GetFirstFile() const { return m_strFirstFile; }
    CString GetSecondFile() const { return m_strSecondFile; }

    // The first failing check of OK for these paths, empty when both files
    // can be read.
    static CString CheckFiles(LPCSTR lpszFirst, LPCSTR lpszSecond);

    BOOL OnInitDialog() override;

protected:
    void OnOK() override;
    afx_msg void OnBrowseFirst();
    afx_msg void OnBrowseSecond();
    afx_msg void OnChangeFirst();
    afx_msg void OnChangeSecond();
    DECLARE_MESSAGE_MAP()

    void Browse(int nEditID);

    CString m_strFirstFile;
    CString m_strSecondFile;
};

class CCompareDocument : public CDocument {
    DECLARE_DYNCREATE(CCompareDocument)
public:
    // Hands both paths to the first view. FALSE (after a message) when the
    // document has no compare view or the compare failed.
    BOOL CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond);

    // Never asks to save: the document holds nothing of its own.
    BOOL SaveModified() override { return TRUE; }
};

class CCompareFrame : public CExtraDocFrame {
    DECLARE_DYNCREATE(CCompareFrame)
public:
    CCompareFrame() : CExtraDocFrame(FALSE) {}
};

class CCompareView : public CView {
    DECLARE_DYNCREATE(CCompareView)
public:
    CCompareView();
    ~CCompareView() override;

    // Fills the header and compares the files into a new temporary result
    // file. Nonzero when the window shows the result.
    BOOL CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond);

    void OnDraw(CDC* pDC) override;

    CMFCCompare& GetCompareWnd() { return m_wndCompare; }
    const CString& GetHeaderText() const { return m_strHeader; }
    int GetHeaderHeight() const { return m_nHeaderHeight; }
    const CString& GetResultFile() const { return m_strResultFile; }
    // The two coloured rectangles of the header (client coordinates).
    CRect GetFirstRect() const { return m_rcFirst; }
    CRect GetSecondRect() const { return m_rcSecond; }

    enum {
        kCompareID = 5005
    };
    static const COLORREF kFirstColour;  // the first-file marker colour
    static const COLORREF kSecondColour; // the second-file marker colour

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg void OnEditCopy();
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    void LayoutHeader(CDC* pDC);
    void PlaceCompareWnd();
    void DeleteResultFile(CString& strPath);

    CMFCCompare m_wndCompare;
    CString m_strHeader;
    CRect m_rcHeader;
    CString m_strFirstName;
    CString m_strFirstExt;
    CString m_strSecondName;
    CString m_strSecondExt;
    int m_nHeaderHeight;
    BOOL m_bLayoutHeader;
    CRect m_rcFirst;
    CRect m_rcSecond;
    CString m_strResultFile; // the result the window shows now
};
