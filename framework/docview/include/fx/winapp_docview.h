// fx/winapp_docview.h - the members CWinApp takes from the document/view
// half of the framework: document templates, opening files, the recent-file
// list, the command line and the printer.
//
// fx/app.h includes this header before its class and expands
// FX_WINAPP_DOCVIEW_MEMBERS inside CWinApp:
//
//     #include "fx/winapp_docview.h"
//     class CWinApp : public CWinThread {
//         ...
//         FX_WINAPP_DOCVIEW_MEMBERS
//     };
//
// The members are defined in framework/docview/src/appdocview.cpp.
// m_pDocManager and m_pRecentFileList are owned by the application object
// (deleted with it); the recent-file list writes itself to the profile
// whenever it changes, so nothing needs saving at exit.
#pragma once

#include "fx/core.h"
#include "fx/coll.h"
#include <commdlg.h>

class CDocManager;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CCommandLineInfo;
class CPrintDialog;
class CCmdUI;
class CDC;

#define FX_WINAPP_DOCVIEW 1

namespace fx {
// Owns what the application's document members point to.
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

#define FX_WINAPP_DOCVIEW_MEMBERS \
private: \
    ::fx::WinAppDocViewStore m_fxDocViewStore; \
\
public: \
    /* The document manager (made by the first AddDocTemplate). */ \
    CDocManager*& m_pDocManager = m_fxDocViewStore.pDocManager; \
    /* The recent-file list (made by LoadStdProfileSettings). */ \
    CRecentFileList*& m_pRecentFileList = m_fxDocViewStore.pRecentFileList; \
    /* The selected printer (NULL: the system's default printer). */ \
    HGLOBAL& m_hDevMode = m_fxDocViewStore.hDevMode; \
    HGLOBAL& m_hDevNames = m_fxDocViewStore.hDevNames; \
    UINT m_nNumPreviewPages = 0; \
\
    void AddDocTemplate(CDocTemplate* pTemplate); \
    POSITION GetFirstDocTemplatePosition() const; \
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const; \
    int GetOpenDocumentCount(); \
    /* Every way of opening a file by name (recent files, command line, */ \
    /* dropped files, File Open) ends here. */ \
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName); \
    virtual void AddToRecentFileList(LPCSTR lpszPathName); \
    virtual BOOL SaveAllModified(); \
    void CloseAllDocuments(BOOL bEndSession); \
    /* The recent-file list with nMaxMRU entries (0: none) from */ \
    /* "Recent File List", and the number of preview pages. */ \
    void LoadStdProfileSettings(UINT nMaxMRU = 4); \
    void SaveStdProfileSettings(); \
    void ParseCommandLine(CCommandLineInfo& rCmdInfo); \
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo); \
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog, \
                          CDocTemplate* pTemplate); \
    /* The printer: defaults of the selected (or default) printer; FALSE */ \
    /* when there is none. */ \
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg); \
    void SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld = TRUE); \
    BOOL CreatePrinterDC(CDC& dc); \
    virtual INT_PTR DoPrintDialog(CPrintDialog* pPD); \
\
    /* Command handlers a program maps in its own message map. */ \
    afx_msg void OnFileNew(); \
    afx_msg void OnFileOpen(); \
    afx_msg void OnFilePrintSetup(); \
    afx_msg BOOL OnOpenRecentFile(UINT nID); \
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
