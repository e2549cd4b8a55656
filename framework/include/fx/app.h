// fx/app.h - the application object (non-window part), the profile
// (registry or INI file) and message boxes.
//
// One CWinApp object per module becomes the module's application
// (AfxGetApp). The window half of the framework adds InitInstance, the
// message loop, document templates and the main window; this part gives the
// names of the program, its profile and AfxMessageBox.
//
// The string members m_pszAppName, m_pszExeName, m_pszHelpFilePath,
// m_pszProfileName and m_pszRegistryKey are owned by the object and
// allocated with malloc (_strdup): to replace one, free() the old value and
// assign a new _strdup'ed one.
#pragma once

#include "fx/core.h"
#include "fx/coll.h"
#include "fx/string.h"
#include "fx/thread.h"
#include <commdlg.h>

// String resource with the application's title.
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif

class CDocManager;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CCommandLineInfo;
class CPrintDialog;
class CCmdUI;
class CDC;

namespace fx {
// Owns what the application's document members point to (deleted in the
// document/view half of the framework, framework/docview/src/appdocview.cpp,
// where their classes are known).
struct WinAppDocViewStore {
    WinAppDocViewStore() = default;
    ~WinAppDocViewStore();
    WinAppDocViewStore(const WinAppDocViewStore&) = delete;
    WinAppDocViewStore& operator=(const WinAppDocViewStore&) = delete;
    CDocManager* pDocManager = NULL;
    CRecentFileList* pRecentFileList = NULL;
    HGLOBAL hDevMode = NULL;
    HGLOBAL hDevNames = NULL;
};
} // namespace fx

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;

    // Fills in the instance handle and the default names: the executable's
    // title, the application name (string AFX_IDS_APP_TITLE, else the
    // executable's title) and the profile name ("<exe>.INI"). Names that are
    // already set are kept.
    void SetCurrentHandles();

    // Profile. With a registry key the profile is the registry key
    // HKEY_CURRENT_USER\Software\<registry key>\<profile name>, each section a
    // subkey; without one it is the INI file m_pszProfileName.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // The opened (created when missing) application key or a section of it;
    // the caller closes it. NULL without a registry key or on failure.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR lpszSection);

    // Missing or unreadable values (wrong type or size) give the default.
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);
    // A NULL value deletes the entry; a NULL entry deletes the whole section.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    // *ppData receives a new[] block the caller deletes (NULL and 0 when the
    // value is missing). In the INI file each byte is two letters, 'A' plus
    // the low four bits, then 'A' plus the high four bits.
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // Shows a message box for AfxMessageBox; see there.
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // --- help ------------------------------------------------------------------
    // The kind of help file m_pszHelpFilePath names: WinHelp (".HLP", the
    // default) or HTML Help (".chm"). CWnd::WinHelp passes its requests on
    // to HTML Help while the type is afxHTMLHelp.
    enum AFX_HELP_TYPE {
        afxWinHelp = 0,
        afxHTMLHelp = 1
    };
    AFX_HELP_TYPE m_eHelpType;
    // Switches to HTML Help; a help path already made for WinHelp takes the
    // extension ".chm" instead of ".HLP".
    void EnableHtmlHelp();
    // HTML Help for the main window (see CWnd::HtmlHelp).
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F);

    // --- start-up and the message loop (the window half) -------------------
    // Once per program, before InitInstance (AfxWinMain).
    virtual BOOL InitApplication();
    // The message loop; a program that made no main window ends at once.
    int Run() override;
    // Ends OLE when AfxOleInit started it (the data the program put on the
    // clipboard is kept there); the code of the loop's WM_QUIT.
    int ExitInstance() override;
    // The hourglass: 1 shows it (counted), -1 takes one back (the previous
    // cursor returns at zero), 0 shows it again when the count is above zero.
    virtual void DoWaitCursor(int nCode);
    // Disables (FALSE) or enables again the main window around a modal
    // state that is not a dialog (counted).
    virtual void EnableModeless(BOOL bEnable);
    // ID_APP_EXIT: closes the main window (which ends the loop).
    afx_msg void OnAppExit();

    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const;

    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszAppName;
    LPCSTR m_pszExeName;
    LPCSTR m_pszHelpFilePath;
    LPCSTR m_pszProfileName;
    LPCSTR m_pszRegistryKey;

    // --- documents, recent files, the command line and the printer ---------
    // Defined in framework/docview/src/appdocview.cpp. m_pDocManager and
    // m_pRecentFileList are owned by the application object (deleted with
    // it); the recent-file list writes itself to the profile whenever it
    // changes, so nothing needs saving at exit.
private:
    ::fx::WinAppDocViewStore m_fxDocViewStore;

public:
    // The document manager (made by the first AddDocTemplate).
    CDocManager*& m_pDocManager = m_fxDocViewStore.pDocManager;
    // The recent-file list (made by LoadStdProfileSettings).
    CRecentFileList*& m_pRecentFileList = m_fxDocViewStore.pRecentFileList;
    // The selected printer (NULL: the system's default printer).
    HGLOBAL& m_hDevMode = m_fxDocViewStore.hDevMode;
    HGLOBAL& m_hDevNames = m_fxDocViewStore.hDevNames;
    UINT m_nNumPreviewPages = 0;

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    int GetOpenDocumentCount();
    // Every way of opening a file by name (recent files, command line,
    // dropped files, File Open) ends here.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // The recent-file list with nMaxMRU entries (0: none) from
    // "Recent File List", and the number of preview pages.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);
    // The printer: defaults of the selected (or default) printer; FALSE
    // when there is none.
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);
    void SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld = TRUE);
    BOOL CreatePrinterDC(CDC& dc);
    virtual INT_PTR DoPrintDialog(CPrintDialog* pPD);

    // Command handlers a program maps in its own message map.
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFilePrintSetup();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
};

CWinApp* AFXAPI AfxGetApp();
LPCSTR AFXAPI AfxGetAppName();

// Records the start-up arguments in the application object and sets its
// handles and names.
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The program's start: AfxWinInit, InitApplication and InitInstance of the
// one application object, then its Run; the result is the exit code. The
// framework's WinMain calls it; a program with its own WinMain may too.
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Shows a message box owned by the application's main window with the
// application name as caption; when no icon is asked for, MB_OK and
// MB_OKCANCEL get the exclamation icon and the yes/no types the question
// icon. The string-id form uses the id as help id unless one is given.
int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

namespace fx {
// Test seam: while a hook is set, every AfxMessageBox and CWnd::MessageBox
// call goes to it instead of the screen, with the text, the caller's flags and help id; its
// result is the answer. Returns the previous hook. Hooks are process-wide.
typedef int (*MessageBoxHook)(LPCSTR lpszText, UINT nType, UINT nIDHelp, void* pContext);
MessageBoxHook SetMessageBoxHook(MessageBoxHook pfnHook, void* pContext = NULL);
// Offers a message box to the hook: true (and the answer in *pnResult) when a
// hook took it.
bool RouteMessageBoxToHook(LPCSTR lpszText, UINT nType, UINT nIDHelp, int* pnResult);

// Test seam: while a hook is set, every help call (CWnd::HtmlHelp) goes to
// it with the owner window, the help file, the command and its data instead
// of the help viewer. Returns the previous hook. Hooks are process-wide.
typedef void (*HelpHook)(HWND hWndOwner, LPCSTR lpszFile, UINT nCmd, DWORD_PTR dwData, void* pContext);
HelpHook SetHelpHook(HelpHook pfnHook, void* pContext = NULL);

// The window that owns application message boxes.
HWND GetMessageBoxOwner();
// The message box shown when no hook is set (used by DoMessageBox).
int ShowAppMessageBox(CWinApp* pApp, LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
} // namespace fx
