// quillmateapp.h - the editor's application object: start-up, the open
// options every way of opening a file passes through, the common open
// routine, the Explorer hand-over (FilesToOpen) and the run-time libraries.
#pragma once

#include <fx/fx.h>
#include <fx/docview.h>

#include "navhistory.h"

#include <string>
#include <vector>

class CMainFrame;

// Posted to the main frame (both parameters 0) when FilesToOpen holds paths.
#define WM_OPENFILESTOOPEN (WM_USER + 0x101)

// Open formats of the common open routine.
enum QuillmateOpenFormat {
    OPEN_FORMAT_TEXT = 0,
    OPEN_FORMAT_HEX = 1,
    OPEN_FORMAT_DETECT = 2,
    OPEN_FORMAT_COMPARE = 3,
    OPEN_FORMAT_PREVIEW = 4,
};

// The registry word the profile lives under: HKEY_CURRENT_USER, Software,
// <word>, Quillmate. The environment variable QUILLMATE_REGISTRY_KEY replaces
// "Fernbright" so that a test can start the program on a fresh key; likewise
// QUILLMATE_LOCALAPPDATA replaces the local application data folder.
CString GetProfileMakerWord();

class CQuillmateApp : public CWinApp {
public:
    CQuillmateApp();
    ~CQuillmateApp() override;

    BOOL InitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    BOOL IsIdleMessage(MSG* pMsg) override;
    int ExitInstance() override;
    CDocument* OpenDocumentFile(LPCSTR lpszFileName) override;

    // The common open routine: reads the open options and opens a path (or a
    // new document with NULL). NULL when nothing new was opened.
    CDocument* OpenFile(LPCSTR lpszPath);
    // A compare document of two existing files; NULL when either is
    // missing or compare documents are not built in.
    CDocument* OpenCompare(LPCSTR lpszFirst, LPCSTR lpszSecond);
    void SetOpenOptions(int nFormat, int nEncoding, int nMarkLength, int bReadOnly);
    void SetOpenFormat(int nFormat) { m_nOpenFormat = nFormat; }
    int GetOpenFormat() const { return m_nOpenFormat; }
    int GetOpenEncoding() const { return m_nOpenEncoding; }
    int GetOpenMarkLength() const { return m_nOpenMarkLength; }
    int GetOpenReadOnly() const { return m_bOpenReadOnly; }

    // Explorer hand-over.
    BOOL HasFilesToOpen();
    // Opens every listed path that exists; missing ones are named in one
    // message. The key is deleted afterwards. TRUE when a document opened.
    BOOL OpenFilesToOpen();
    void ClearFilesToOpen();
    BOOL OpenPendingFiles();

    // The folder New From Template offers: the installer's
    // "TemplateSettings"\"Directory" (HKEY_LOCAL_MACHINE), else the user's
    // own template folder.
    static CString GetInstalledTemplateFolder();

    // Writes the program's full path as "QuillmatePath".
    void StoreExecutablePath();

    // Current view and the focus frame, set by the documents' windows.
    void SetCurrentViewWnd(CWnd* pWnd) { m_pCurrentView = pWnd; }
    CWnd* GetCurrentViewWnd() const { return m_pCurrentView; }
    void SetFocusFrame(CWnd* pWnd) { m_pFocusFrame = pWnd; }
    CWnd* GetFocusFrame() const { return m_pFocusFrame; }
    CString GetLastFolder() const { return m_strLastFolder; }
    // The caret places of Navigate Backward and Forward.
    CNavigationHistory& GetNavigation() { return m_navigation; }

    CMainFrame* GetMainFrame() const { return m_pMainFrame; }
    CMultiDocTemplate* GetTextTemplate() const { return m_pTextTemplate; }
    CMultiDocTemplate* GetPreviewTemplate() const { return m_pPreviewTemplate; }
    HMODULE GetScintillaModule() const { return m_hScintilla; }

    // Creates the main frame from resource 128 and makes it the main
    // window. FALSE (nothing left behind) when it cannot be created.
    BOOL CreateMainFrame();
    // Forgets the main frame (its window is going).
    void ForgetMainFrame();

    // Registers the document templates that exist in this build (text,
    // and the compare, hex and preview documents when they are built in).
    BOOL RegisterTemplates();

    // The message naming missing hand-over files: the first
    // kMissingFilesNamed paths, then a count of the rest, so that the box
    // fits the screen however many there are.
    static CString FormatMissingFilesMessage(const std::vector<CString>& missing);
    static const size_t kMissingFilesNamed = 10;

protected:
    afx_msg void OnAppAbout();
    afx_msg void OnFileNewText();
    afx_msg void OnFileOpenDialog();
    afx_msg void OnFileOpenHex();
    afx_msg void OnFileCompare();
    afx_msg void OnFileSaveAll();
    afx_msg void OnUpdateFileSaveAll(CCmdUI* pCmdUI);
    afx_msg void OnFileNewFromTemplate();
    afx_msg void OnHelpContents();
    afx_msg void OnHelpIndexCmd();
    afx_msg void OnHelpSearch();
    DECLARE_MESSAGE_MAP()

    BOOL LoadRuntimeLibraries();

    CString m_strLastFolder;
    CNavigationHistory m_navigation;
    CMainFrame* m_pMainFrame;
    CWnd* m_pFocusFrame;
    CWnd* m_pCurrentView;
    CMultiDocTemplate* m_pTextTemplate;
    CMultiDocTemplate* m_pCompareTemplate;
    CMultiDocTemplate* m_pHexTemplate;
    CMultiDocTemplate* m_pPreviewTemplate;
    int m_bFirstIdle;
    HMODULE m_hScintilla;
    HMODULE m_hCompare;
    HMODULE m_hHexEditor;
    int m_nOpenFormat;
    int m_nOpenEncoding;
    int m_nOpenMarkLength;
    int m_bOpenReadOnly;
};

// The running application object (NULL when the process's application is
// not the editor's).
CQuillmateApp* GetQuillmateApp();
