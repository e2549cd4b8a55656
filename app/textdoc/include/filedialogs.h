// filedialogs.h - the editor's open/save dialog and the file information
// dialog.
//
// CFileDialogEx adds to the common dialog, through the templates 800 (open)
// and 5076 (save): how to view the file and which encoding to assume when
// opening; the encoding and line ending to write when saving. The filter
// list is built from "FileFilter"; the chosen filter index is remembered in
// "Settings"\"FilterIndex".
#pragma once

#include <fx/fx.h>

class CFileDialogEx : public CFileDialog {
    DECLARE_DYNAMIC(CFileDialogEx)
public:
    enum {
        VIEW_TEXT = 0,
        VIEW_HEX = 1,
        VIEW_AUTO = 2
    };
    enum {
        IDD_OPEN = 800,
        IDD_SAVE = 5076
    };

    // lpszInitialDir: the folder shown first (none when empty).
    CFileDialogEx(BOOL bOpenFileDialog, LPCSTR lpszFileName = NULL, CWnd* pParentWnd = NULL,
                  LPCSTR lpszInitialDir = NULL);
    ~CFileDialogEx() override;

    // Before DoModal.
    void SetEncoding(int nEncoding) { m_nEncoding = nEncoding; }
    void SetLineEnding(int nMode) { m_nLineEnding = nMode; }
    void SetViewAs(int nViewAs) { m_nViewAs = nViewAs; }
    // After DoModal.
    int GetEncoding() const { return m_nEncoding; }
    int GetLineEnding() const { return m_nLineEnding; }
    int GetViewAs() const { return m_nViewAs; }
    CString GetDefaultExtension() const { return m_strDefaultExt; }

    // The list texts.
    static const char* const kEncodingNames[5];
    static const char* const kLineEndingNames[3];
    static const char* const kViewAsNames[3];

    // The extension a filter pattern gives: the text between its first "."
    // and the first ";" (or the end). "*.txt;*.log" gives "txt".
    static CString ExtensionFromPattern(LPCSTR lpszPattern);
    // The extension remembered when the filter changes: what follows the
    // last "." of the filter's label, without "(", ")" and ".".
    static CString ExtensionFromLabel(LPCSTR lpszLabel);
    // The pattern (nPart 1) or label (nPart 0) of filter nIndex (1-based)
    // of a "label|pattern|..." filter string.
    static CString GetFilterPart(LPCSTR lpszFilter, int nIndex, int nPart);

protected:
    BOOL OnInitDialog() override;
    // The file-name box takes the focus: a name typed at once goes there.
    void OnInitDone() override;
    BOOL OnFileNameOK() override;
    void OnTypeChange() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CString m_strFilterSource; // "label|pattern|..." as built
    int m_nFilterIndex;
    BOOL m_bOpen;
    int m_nLineEnding;
    int m_nEncoding;
    int m_nViewAs;
    CString m_strDefaultExt;
    CString m_strInitialDir;
};

class CFileInfoDialog : public CDialog {
    DECLARE_DYNAMIC(CFileInfoDialog)
public:
    enum {
        IDD = 132
    };
    CFileInfoDialog(LPCSTR lpszPath, CWnd* pParent = NULL);
    ~CFileInfoDialog() override;

    // The texts shown (after OnInitDialog); "Unknown" when not found.
    CString m_strSize, m_strType, m_strCreated, m_strModified, m_strAccessed;
    BOOL m_bReadOnly;
    BOOL m_bHidden;

    // "%02d %s %d, %02d:%02d:%02d" of a file time in local time.
    static CString FormatFileTime(const FILETIME& ft);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    CString m_strPath;
};
