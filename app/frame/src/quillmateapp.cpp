// quillmateapp.cpp - the editor's application object.
#include "quillmateapp.h"

#include "mainframe.h"
#include "apphelpers.h"
#include "encoding.h"

#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/profile.h>

#include "textdoc.h"
#include "textframe.h"
#include "textview.h"
#include "filedialogs.h"

#include "comparedoc.h"
#include "hexdoc.h"
#include "htmlpreview.h"
#include "templatedlg.h"
#include "scintillawrap.h"

#include <stdlib.h>

#include <algorithm>

// Last: its plain numbers must not reach the names other headers declare.
#include "resource.h"

namespace {

const char kFilesToOpen[] = "FilesToOpen";

CString EnvironmentValue(LPCSTR lpszName)
{
    char szValue[MAX_PATH * 2] = "";
    DWORD n = ::GetEnvironmentVariableA(lpszName, szValue, sizeof(szValue));
    return n > 0 && n < sizeof(szValue) ? CString(szValue) : CString();
}

BOOL FileExists(LPCSTR lpszPath)
{
    DWORD dwAttrs = ::GetFileAttributesA(lpszPath);
    return dwAttrs != INVALID_FILE_ATTRIBUTES && (dwAttrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

CString GetProfileMakerWord()
{
    CString word = EnvironmentValue("QUILLMATE_REGISTRY_KEY");
    return word.IsEmpty() ? CString("Fernbright") : word;
}

CQuillmateApp* GetQuillmateApp()
{
    return dynamic_cast<CQuillmateApp*>(AfxGetApp());
}

BEGIN_MESSAGE_MAP(CQuillmateApp, CWinApp)
    ON_COMMAND(ID_HELP_TOPICS, OnHelpContents)
    ON_COMMAND(ID_HELP_CONTENTS, OnHelpContents)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndexCmd)
    ON_COMMAND(ID_HELP_SEARCH, OnHelpSearch)
    ON_COMMAND(ID_FILE_SAVE_ALL, OnFileSaveAll)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_ALL, OnUpdateFileSaveAll)
    ON_COMMAND(ID_FILE_NEW, OnFileNewText)
    ON_COMMAND(ID_FILE_NEW_FROM_TEMPLATE, OnFileNewFromTemplate)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpenDialog)
    ON_COMMAND(ID_FILE_OPEN_HEX, OnFileOpenHex)
    ON_COMMAND(ID_FILE_COMPARE, OnFileCompare)
END_MESSAGE_MAP()

CQuillmateApp::CQuillmateApp()
    : CWinApp("Quillmate"),
      m_pMainFrame(NULL),
      m_pFocusFrame(NULL),
      m_pCurrentView(NULL),
      m_pTextTemplate(NULL),
      m_pCompareTemplate(NULL),
      m_pHexTemplate(NULL),
      m_pPreviewTemplate(NULL),
      m_bFirstIdle(1),
      m_hScintilla(NULL),
      m_hCompare(NULL),
      m_hHexEditor(NULL),
      m_nOpenFormat(OPEN_FORMAT_DETECT),
      m_nOpenEncoding(ENC_DETECT),
      m_nOpenMarkLength(0),
      m_bOpenReadOnly(0)
{
    EnableHtmlHelp();
}

CQuillmateApp::~CQuillmateApp() {}

BOOL CQuillmateApp::LoadRuntimeLibraries()
{
    m_hScintilla = ::LoadLibraryA("scilexer.dll");
    if (m_hScintilla == NULL)
        return FALSE;
    m_hCompare = ::LoadLibraryA("pairview.dll");
    if (m_hCompare == NULL)
        return FALSE;
    m_hHexEditor = ::LoadLibraryA("bytegrid.dll");
    return m_hHexEditor != NULL;
}

namespace {
// "Preview in Browser" of a text frame: its text in the frame's own preview
// frame, opened from the preview template or reused when it still exists.
CFrameWnd* PreviewInBrowser(CDoodleFrame*, CFrameWnd* pPrevious, LPCSTR lpszText)
{
    CQuillmateApp* pApp = static_cast<CQuillmateApp*>(AfxGetApp());
    if (pApp == NULL || pApp->GetPreviewTemplate() == NULL)
        return NULL;
    HWND hRemembered = pPrevious != NULL ? pPrevious->GetSafeHwnd() : NULL;
    return CHTMLPreviewFrame::PreviewText(pApp->GetPreviewTemplate(), hRemembered, lpszText);
}
} // namespace

BOOL CQuillmateApp::RegisterTemplates()
{
    m_pCompareTemplate = new CMultiDocTemplate(IDR_COMPARETYPE, RUNTIME_CLASS(CCompareDocument),
                                               RUNTIME_CLASS(CCompareFrame), RUNTIME_CLASS(CCompareView));
    AddDocTemplate(m_pCompareTemplate);
    m_pHexTemplate = new CMultiDocTemplate(IDR_HEXTYPE, RUNTIME_CLASS(CHexDocument), RUNTIME_CLASS(CHexFrame),
                                           RUNTIME_CLASS(CHexEditView));
    AddDocTemplate(m_pHexTemplate);
    m_pTextTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(CDoodleDoc), RUNTIME_CLASS(CDoodleFrame),
                                            RUNTIME_CLASS(CDoodleView));
    AddDocTemplate(m_pTextTemplate);
    m_pPreviewTemplate = new CMultiDocTemplate(IDR_PREVIEWTYPE, RUNTIME_CLASS(CHTMLPreviewDoc),
                                               RUNTIME_CLASS(CHTMLPreviewFrame), RUNTIME_CLASS(CHTMLPreviewView));
    AddDocTemplate(m_pPreviewTemplate);
    CDoodleFrame::SetBrowserPreview(&PreviewInBrowser);
    return TRUE;
}

BOOL CQuillmateApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    // The toolkit's Office 2007 looks (paint managers 5 and 6); the editor's
    // own theme commands still offer only its five.
    RegisterOffice2007Themes();
    // The ribbon comes only from a saved layout that names it.
    RegisterRibbonBarClasses();
    CWinApp::InitInstance();
    if (!AfxOleInit()) {
        // The string table has no text for this prompt: name the failure.
        CString prompt;
        if (!prompt.LoadString(IDS_OLE_INIT_FAILED) || prompt.IsEmpty())
            prompt = "OLE initialization failed. Make sure that the OLE libraries are the correct version.";
        AfxMessageBox(prompt);
        return FALSE;
    }

    SetRegistryKey(GetProfileMakerWord());
    CString dataFolder = EnvironmentValue("QUILLMATE_LOCALAPPDATA");
    if (!dataFolder.IsEmpty())
        SetLocalAppDataOverride(dataFolder);
    LoadStdProfileSettings(4);
    if (!LoadRuntimeLibraries())
        return FALSE;
    StoreExecutablePath();
    if (!RegisterTemplates())
        return FALSE;

    // The per-user folders, with the shipped language files the user does
    // not have yet, before the frame reads the languages.
    PrepareAppDataFolders(GetShippedConfigFolder());
    // The same for the HTML Tidy option files (the folders exist now).
    CopyMissingFiles(GetShippedTidyFolder(), GetAppDataFolder() + "\\Tidy", "*.tidy");
    if (!CreateMainFrame())
        return FALSE;
    CMainFrame* pFrame = m_pMainFrame;

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // Files handed over while the editor was closed replace the empty
    // document; a file named on the command line is still opened.
    if (HasFilesToOpen() && OpenFilesToOpen() && cmdInfo.m_nShellCommand == CCommandLineInfo::FileNew)
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    // A workspace named on the command line opens no document, which the
    // framework's open step would take for a failure: it is loaded here.
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen &&
        CPathParts(cmdInfo.m_strFileName).GetExtension().CompareNoCase(".dpf") == 0) {
        pFrame->LoadWorkspace(cmdInfo.m_strFileName);
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    }
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    pFrame->ShowMainWindow();
    pFrame->UpdateWindow();
    return TRUE;
}

BOOL CQuillmateApp::CreateMainFrame()
{
    CMainFrame* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    m_pMainFrame = pFrame;
    // WS_OVERLAPPEDWINDOW with the document title in the caption.
    if (!pFrame->LoadFrame(IDR_MAINFRAME, 0xCF8000)) {
        // A frame whose window was created went with its window (its
        // destructor forgets it here); otherwise it is still ours.
        if (m_pMainFrame == pFrame) {
            HWND hWnd = pFrame->GetSafeHwnd();
            if (hWnd != NULL)
                ::DestroyWindow(hWnd);
            else
                delete pFrame;
        }
        m_pMainWnd = NULL;
        m_pMainFrame = NULL;
        return FALSE;
    }
    pFrame->DragAcceptFiles(TRUE);
    return TRUE;
}

void CQuillmateApp::ForgetMainFrame()
{
    // The framework clears the main window itself when it goes (and ends
    // the message loop then).
    m_pMainFrame = NULL;
    m_pCurrentView = NULL;
    m_pFocusFrame = NULL;
}

int CQuillmateApp::ExitInstance()
{
    if (m_hScintilla != NULL)
        ::FreeLibrary(m_hScintilla);
    if (m_hCompare != NULL)
        ::FreeLibrary(m_hCompare);
    if (m_hHexEditor != NULL)
        ::FreeLibrary(m_hHexEditor);
    m_hScintilla = m_hCompare = m_hHexEditor = NULL;
    return CWinApp::ExitInstance();
}

BOOL CQuillmateApp::OnIdle(LONG lCount)
{
    if (m_bFirstIdle)
        m_bFirstIdle = 0;
    // The panes out of sight at start get their windows at the first idle,
    // and the external tools their icons.
    // The File Explorer is filled once it shows: at the first idle, or when
    // its pane is shown later.
    if (m_pMainFrame != NULL) {
        m_pMainFrame->CreateDeferredPaneWindows();
        m_pMainFrame->LoadDeferredToolIcons();
        m_pMainFrame->FillFileTreeIfShown();
    }
    return CWinApp::OnIdle(lCount);
}

BOOL CQuillmateApp::IsIdleMessage(MSG* pMsg)
{
    if (!CWinApp::IsIdleMessage(pMsg))
        return FALSE;
    switch (pMsg->message) {
    case WM_SETCURSOR:
    case WM_NCHITTEST:
    case WM_TIMER:
    case WM_MOUSEMOVE:
        return FALSE;
    default:
        return TRUE;
    }
}

void CQuillmateApp::StoreExecutablePath()
{
    char szPath[MAX_PATH + 1] = "";
    DWORD n = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    CQXProfileStore store;
    store.WriteProfileString("", "QuillmatePath", szPath);
}

void CQuillmateApp::SetOpenOptions(int nFormat, int nEncoding, int nMarkLength, int bReadOnly)
{
    m_nOpenFormat = nFormat;
    m_nOpenEncoding = nEncoding;
    m_nOpenMarkLength = nMarkLength;
    m_bOpenReadOnly = bReadOnly;
}

CDocument* CQuillmateApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    SetOpenOptions(OPEN_FORMAT_DETECT, ENC_DETECT, 0, 0);
    return OpenFile(lpszFileName);
}

CDocument* CQuillmateApp::OpenFile(LPCSTR lpszPath)
{
    BOOL bHavePath = lpszPath != NULL && *lpszPath != '\0';
    if (m_nOpenFormat == OPEN_FORMAT_PREVIEW)
        return m_pPreviewTemplate != NULL ? m_pPreviewTemplate->OpenDocumentFile(NULL) : NULL;
    if (m_nOpenFormat == OPEN_FORMAT_COMPARE) {
        if (m_pCompareTemplate == NULL)
            return NULL;
        CBRCompareDlg dlg(m_pMainWnd);
        if (dlg.DoModal() != IDOK)
            return NULL;
        return OpenCompare(dlg.GetFirstFile(), dlg.GetSecondFile());
    }
    if (bHavePath && m_pMainFrame != NULL && m_pMainFrame->ActivateChildWindow(lpszPath)) {
        // Already open: shown, and handed back as an opened document (the
        // start-up open of a file that is open already is no failure).
        CMDIChildWnd* pChild = m_pMainFrame->MDIGetActive();
        return pChild != NULL ? pChild->GetActiveDocument() : NULL;
    }

    CPathParts parts(bHavePath ? lpszPath : NULL);
    m_strLastFolder = parts.GetFolder();
    if (bHavePath && parts.GetExtension().CompareNoCase(".dpf") == 0) {
        // Workspaces go to the Project Explorer; no document opens.
        if (m_pMainFrame != NULL)
            m_pMainFrame->LoadWorkspace(lpszPath);
        return NULL;
    }

    // What the file head reveals applies to this open only: the chosen
    // options stay as they were for the next one.
    int nFormat = m_nOpenFormat;
    int nEncoding = m_nOpenEncoding, nMark = m_nOpenMarkLength;
    if (bHavePath) {
        FileHeadDetector probe;
        if (probe.ReadFile(lpszPath)) {
            if (nEncoding == ENC_DETECT) {
                nEncoding = probe.GetCode();
                nMark = probe.GetMarkLength();
            }
            if (nFormat == OPEN_FORMAT_DETECT)
                nFormat = probe.IsBinary() ? OPEN_FORMAT_HEX : OPEN_FORMAT_TEXT;
        }
    }
    if (nFormat == OPEN_FORMAT_HEX && bHavePath && m_pHexTemplate != NULL)
        return m_pHexTemplate->OpenDocumentFile(lpszPath);
    if (m_pTextTemplate == NULL)
        return NULL;
    if (bHavePath)
        NormalizeLoadEncoding(nEncoding, nMark);
    CDoodleDoc::SetOpenOptions(CTextOpenOptions(nEncoding, nMark, m_bOpenReadOnly));
    return m_pTextTemplate->OpenDocumentFile(bHavePath ? lpszPath : NULL);
}

CDocument* CQuillmateApp::OpenCompare(LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    if (m_pCompareTemplate == NULL || lpszFirst == NULL || lpszSecond == NULL || *lpszFirst == '\0' ||
        *lpszSecond == '\0' || !FileExists(lpszFirst) || !FileExists(lpszSecond))
        return NULL;
    CCompareDocument* pDoc = dynamic_cast<CCompareDocument*>(m_pCompareTemplate->OpenDocumentFile(NULL));
    if (pDoc != NULL)
        pDoc->CompareFiles(lpszFirst, lpszSecond);
    return pDoc;
}

// --- FilesToOpen ------------------------------------------------------------

BOOL CQuillmateApp::HasFilesToOpen()
{
    CQXProfileStore store;
    CMap<CString, LPCSTR, DWORD, DWORD> names;
    return store.EnumProfileValues(kFilesToOpen, &names, NULL) > 0;
}

CString CQuillmateApp::FormatMissingFilesMessage(const std::vector<CString>& missing)
{
    CString text = missing.size() == 1 ? "This file could not be found and was not opened:\n"
                                       : "These files could not be found and were not opened:\n";
    const size_t nNamed = std::min(missing.size(), kMissingFilesNamed);
    for (size_t i = 0; i < nNamed; ++i) {
        text += "\n";
        text += missing[i];
    }
    if (missing.size() > nNamed) {
        CString rest;
        rest.Format("\n... and %u more", (unsigned)(missing.size() - nNamed));
        text += rest;
    }
    return text;
}

BOOL CQuillmateApp::OpenFilesToOpen()
{
    CQXProfileStore store;
    CStringArray names;
    store.EnumProfileValues(kFilesToOpen, NULL, &names);
    // Read every path first: opening may change the section (a frame that
    // closes stores its path there).
    std::vector<CString> paths;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        CString path = store.GetProfileString(kFilesToOpen, names[i], "");
        path.Trim();
        if (!path.IsEmpty())
            paths.push_back(path);
    }
    // The list is consumed whatever happens to its entries, so a path that
    // cannot be opened is never offered again.
    ClearFilesToOpen();

    BOOL bOpened = FALSE;
    std::vector<CString> missing;
    for (const CString& path : paths) {
        if (!FileExists(path)) {
            missing.push_back(path);
            continue;
        }
        SetOpenOptions(OPEN_FORMAT_DETECT, ENC_DETECT, 0, 0);
        if (OpenFile(path) != NULL)
            bOpened = TRUE;
    }
    if (!missing.empty())
        AfxMessageBox(FormatMissingFilesMessage(missing), MB_OK | MB_ICONINFORMATION);
    return bOpened;
}

void CQuillmateApp::ClearFilesToOpen()
{
    CQXProfileStore store;
    store.DeleteProfileKey(kFilesToOpen, "");
}

BOOL CQuillmateApp::OpenPendingFiles()
{
    return HasFilesToOpen() && OpenFilesToOpen();
}

// --- commands ---------------------------------------------------------------------

void CQuillmateApp::OnFileNewText()
{
    SetOpenFormat(OPEN_FORMAT_TEXT);
    m_nOpenEncoding = ENC_DETECT;
    m_nOpenMarkLength = 0;
    m_bOpenReadOnly = 0;
    if (m_pTextTemplate != NULL) {
        CDoodleDoc::SetOpenOptions(CTextOpenOptions());
        m_pTextTemplate->OpenDocumentFile(NULL);
    }
}

CString CQuillmateApp::GetInstalledTemplateFolder()
{
    // The installer's value (HKEY_LOCAL_MACHINE); without one the user's own
    // template folder.
    CString strKey;
    strKey.Format("Software\\%s\\Quillmate\\TemplateSettings", GetProfileMakerWord().GetString());
    char szFolder[MAX_PATH * 2] = "";
    DWORD cb = sizeof(szFolder) - 1, dwType = 0;
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        if (::RegQueryValueExA(hKey, "Directory", NULL, &dwType, (BYTE*)szFolder, &cb) != ERROR_SUCCESS ||
            (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
            szFolder[0] = '\0';
        ::RegCloseKey(hKey);
    }
    return szFolder[0] != '\0' ? CString(szFolder) : GetTemplateFolder();
}

void CQuillmateApp::OnFileNewFromTemplate()
{
    CNewTemplate dlg(GetInstalledTemplateFolder(), m_pMainWnd);
    if (dlg.DoModal() != IDOK)
        return;
    CString strText = dlg.GetTemplateText();
    OnFileNewText();
    if (strText.IsEmpty() || m_pMainFrame == NULL)
        return;
    if (CMFCScintilla* pEditor = m_pMainFrame->GetCurrentEditor())
        pEditor->InsertTemplateText(strText);
}

void CQuillmateApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CQuillmateApp::OnFileOpenDialog()
{
    CFileDialogEx dlg(TRUE, NULL, m_pMainWnd, m_strLastFolder.IsEmpty() ? NULL : (LPCSTR)m_strLastFolder);
    if (dlg.DoModal() != IDOK)
        return;
    int nEncoding = dlg.GetEncoding();
    int nFormat = dlg.GetViewAs();
    if (nFormat < OPEN_FORMAT_TEXT || nFormat > OPEN_FORMAT_DETECT)
        nFormat = OPEN_FORMAT_DETECT;
    BOOL bReadOnly = dlg.GetReadOnlyPref();
    POSITION pos = dlg.GetStartPosition();
    while (pos != NULL) {
        CString path = dlg.GetNextPathName(pos);
        SetOpenOptions(nFormat, nEncoding, DetectModeForOpenEncoding(nEncoding), bReadOnly);
        OpenFile(path);
    }
}

void CQuillmateApp::OnFileOpenHex()
{
    CFileDialog dlg(TRUE, "", "",
                    OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                    "All Files (*.*)|*.*||", m_pMainWnd);
    dlg.m_ofn.Flags &= ~OFN_HIDEREADONLY;
    if (dlg.DoModal() != IDOK)
        return;
    BOOL bReadOnly = dlg.GetReadOnlyPref();
    POSITION pos = dlg.GetStartPosition();
    while (pos != NULL) {
        CString path = dlg.GetNextPathName(pos);
        SetOpenOptions(OPEN_FORMAT_HEX, m_nOpenEncoding, m_nOpenMarkLength, bReadOnly);
        OpenFile(path);
    }
}

void CQuillmateApp::OnFileCompare()
{
    SetOpenFormat(OPEN_FORMAT_COMPARE);
    OpenFile(NULL);
}

void CQuillmateApp::OnFileSaveAll()
{
    if (m_pTextTemplate == NULL)
        return;
    POSITION pos = m_pTextTemplate->GetFirstDocPosition();
    while (pos != NULL) {
        CDocument* pDoc = m_pTextTemplate->GetNextDoc(pos);
        if (pDoc != NULL && pDoc->IsModified())
            pDoc->DoFileSave();
    }
}

void CQuillmateApp::OnUpdateFileSaveAll(CCmdUI* pCmdUI)
{
    // The views report themselves as current; a text document that is open
    // counts as well, so the command is there as soon as there is something
    // to save.
    BOOL bEnable = m_pCurrentView != NULL && ::IsWindow(m_pCurrentView->GetSafeHwnd());
    if (!bEnable && m_pTextTemplate != NULL)
        bEnable = m_pTextTemplate->GetFirstDocPosition() != NULL;
    pCmdUI->Enable(bEnable);
}

// HTML Help commands (the viewer shows nothing while no help file is
// installed beside the program).
enum {
    kHelpContents = 1,
    kHelpIndex = 2,
    kHelpSearch = 3
};

void CQuillmateApp::OnHelpContents() { HtmlHelp(0, kHelpContents); }

void CQuillmateApp::OnHelpIndexCmd() { HtmlHelp(0, kHelpIndex); }

void CQuillmateApp::OnHelpSearch() { HtmlHelp(0, kHelpSearch); }
