// The test application of the document/view tests.
#include "DocViewTestApp.h"

#include <shlobj.h>

namespace dvtest {

// ---------------------------------------------------------------------------
// The application

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND_EX(ID_TEST_ROUTE, OnRouteCmd)
    ON_COMMAND(ID_TEST_APPCMD, OnAppCmd)
    ON_COMMAND(ID_FILE_NEW, OnAppFileNew)
END_MESSAGE_MAP()

CDocument* TestApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    const char* pszName = strrchr(lpszFileName, '\\');
    Log::Add("app open %s", pszName != NULL ? pszName + 1 : lpszFileName);
    return CWinApp::OpenDocumentFile(lpszFileName);
}

void TestApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    const char* pszName = strrchr(lpszPathName, '\\');
    Log::Add("app recent %s", pszName != NULL ? pszName + 1 : lpszPathName);
    CWinApp::AddToRecentFileList(lpszPathName);
}

void TestApp::OnAppFileNew()
{
    Log::Add("app file new");
    // The program's own File New: a new document of the first template.
    CDocManager* pManager = AfxGetDocManager();
    if (pManager != NULL)
        pManager->OnFileNew();
}

BOOL TestApp::OnRouteCmd(UINT)
{
    Log::Add("app");
    return FALSE;
}

void TestApp::OnAppCmd()
{
    Log::Add("app command");
}

TestApp& App()
{
    static TestApp s_app;
    return s_app;
}

// The application object exists before any test runs.
static TestApp& s_appAtStart = App();

// ---------------------------------------------------------------------------
// Documents

IMPLEMENT_DYNCREATE(TextDoc, CDocument)
IMPLEMENT_DYNCREATE(DataDoc, TextDoc)

int TextDoc::s_nFailSaveAfter = -1;
int TextDoc::s_nAlive = 0;

BEGIN_MESSAGE_MAP(TextDoc, CDocument)
    ON_COMMAND_EX(ID_TEST_ROUTE, OnRouteCmd)
    ON_COMMAND(ID_TEST_DOCCMD, OnDocCmd)
END_MESSAGE_MAP()

TextDoc::TextDoc() { s_nAlive++; }
TextDoc::~TextDoc() { s_nAlive--; }

void TextDoc::Serialize(CArchive& ar)
{
    CFile* pFile = ar.GetFile();
    if (ar.IsLoading()) {
        ULONGLONG n = pFile->GetLength();
        std::string s((size_t)n, '\0');
        if (n != 0)
            ar.Read(&s[0], (UINT)n);
        m_text = s.c_str();
    } else {
        int nLen = m_text.GetLength();
        if (s_nFailSaveAfter >= 0 && s_nFailSaveAfter < nLen) {
            // Part of the data goes out, then the disk is full.
            ar.Write((LPCSTR)m_text, (UINT)s_nFailSaveAfter);
            ar.Flush();
            AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, pFile->GetFilePath());
        }
        ar.Write((LPCSTR)m_text, (UINT)nLen);
    }
}

BOOL TextDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_text.Empty();
    Log::Add("new document");
    return TRUE;
}

BOOL TextDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    Log::Add("open document");
    return CDocument::OnOpenDocument(lpszPathName);
}

BOOL TextDoc::OnRouteCmd(UINT)
{
    Log::Add("document");
    return FALSE;
}

void TextDoc::OnDocCmd()
{
    Log::Add("document command");
}

// ---------------------------------------------------------------------------
// Views and frames

IMPLEMENT_DYNCREATE(TextView, CView)
IMPLEMENT_DYNCREATE(DataView, TextView)

BEGIN_MESSAGE_MAP(TextView, CView)
    ON_COMMAND_EX(ID_TEST_ROUTE, OnRouteCmd)
    ON_COMMAND(ID_TEST_VIEWCMD, OnViewCmd)
    ON_WM_HSCROLL()
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

void TextView::OnDraw(CDC* pDC)
{
    TextDoc* pDoc = GetDoc();
    if (pDoc != NULL)
        pDC->TextOut(0, 0, pDoc->m_text, pDoc->m_text.GetLength());
}

void TextView::OnInitialUpdate()
{
    m_nInitialUpdates++;
    Log::Add("initial update");
    CView::OnInitialUpdate();
}

void TextView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    m_nUpdates++;
    CView::OnUpdate(pSender, lHint, pHint);
}

void TextView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BOOL TextView::OnRouteCmd(UINT)
{
    Log::Add("view");
    return FALSE;
}

void TextView::OnViewCmd()
{
    Log::Add("view command");
}

void TextView::OnHScroll(UINT, UINT, CScrollBar*)
{
    m_nHScrolls++;
}

LRESULT TextView::OnHelpHitTest(WPARAM, LPARAM)
{
    return 0x20000 + 4242;
}

IMPLEMENT_DYNCREATE(TextFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(TextFrame, CMDIChildWnd)
    ON_COMMAND_EX(ID_TEST_ROUTE, OnRouteCmd)
    ON_COMMAND(ID_TEST_CHILDACCEL, OnChildAccel)
END_MESSAGE_MAP()

BOOL TextFrame::OnRouteCmd(UINT)
{
    Log::Add("child frame");
    return FALSE;
}

void TextFrame::OnChildAccel()
{
    Log::Add("child accelerator");
}

IMPLEMENT_DYNCREATE(SplitFrame, CMDIChildWnd)

BOOL SplitFrame::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext)
{
    return m_wndSplitter.Create(this, 2, 1, CSize(10, 10), pContext,
                                WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT);
}

IMPLEMENT_DYNCREATE(MainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(MainFrame, CMDIFrameWnd)
    ON_COMMAND_EX(ID_TEST_ROUTE, OnRouteCmd)
    ON_COMMAND(ID_TEST_FRAMECMD, OnFrameCmd)
    ON_COMMAND(ID_TEST_ACCEL, OnAccelCmd)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL MainFrame::OnRouteCmd(UINT)
{
    Log::Add("main frame");
    return FALSE;
}

void MainFrame::OnFrameCmd()
{
    Log::Add("frame command");
}

void MainFrame::OnAccelCmd()
{
    Log::Add("accelerator");
}

void MainFrame::WinHelp(DWORD_PTR dwData, UINT)
{
    m_helpCalls.push_back(dwData);
}

FileDialogTypist::FileDialogTypist(const std::string& strName) : m_strName(strName)
{
    DWORD dwProcess = GetCurrentProcessId();
    m_thread = std::thread([this, dwProcess] {
        for (int i = 0; i < 100 && !m_bStop; i++) {
            Sleep(100);
            HWND hDlg = FindWindowA("#32770", NULL);
            DWORD dwOwner = 0;
            if (hDlg == NULL || (GetWindowThreadProcessId(hDlg, &dwOwner), dwOwner != dwProcess))
                continue;
            // The file-name box: the combo box of the Explorer form, else
            // the edit box.
            HWND hName = GetDlgItem(hDlg, 0x47C);
            if (hName == NULL)
                hName = GetDlgItem(hDlg, 0x480);
            if (hName == NULL)
                continue;
            SendMessageA(hName, WM_SETTEXT, 0, (LPARAM)m_strName.c_str());
            PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
            m_bTyped = true;
            return;
        }
    });
}

FileDialogTypist::~FileDialogTypist()
{
    m_bStop = true;
    m_thread.join();
}

HGLOBAL MakeDrop(const std::vector<std::string>& files)
{
    size_t cb = sizeof(DROPFILES) + 1;
    for (const std::string& f : files)
        cb += f.size() + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, cb);
    DROPFILES* p = static_cast<DROPFILES*>(GlobalLock(h));
    p->pFiles = sizeof(DROPFILES);
    p->fWide = FALSE;
    char* psz = reinterpret_cast<char*>(p + 1);
    for (const std::string& f : files) {
        memcpy(psz, f.c_str(), f.size() + 1);
        psz += f.size() + 1;
    }
    GlobalUnlock(h);
    return h;
}

// ---------------------------------------------------------------------------
// The fixture

void DocViewTest::SetUp()
{
    Log::Clear();
    TextDoc::s_nFailSaveAfter = -1;
    char szKey[96];
    snprintf(szKey, sizeof(szKey), "FxDocViewTest_%lu_%lu", GetCurrentProcessId(), GetTickCount());
    m_regKey = szKey;
    CWinApp& app = App();
    if (app.m_pszRegistryKey != NULL) {
        free(const_cast<char*>(app.m_pszRegistryKey));
        app.m_pszRegistryKey = NULL;
    }
    app.SetRegistryKey(m_regKey.c_str());

    m_pDocManager = new CDocManager;
    m_pRecent = new CRecentFileList(0, "Recent File List", "File%d", 4);
    m_pRecent->ReadList();
    fx::SetDocManager(m_pDocManager, m_pRecent);
    m_pTextTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(TextFrame),
                                            RUNTIME_CLASS(TextView));
    m_pDocManager->AddDocTemplate(m_pTextTemplate);
    m_pDataTemplate = new CMultiDocTemplate(IDR_DATATYPE, RUNTIME_CLASS(DataDoc), RUNTIME_CLASS(TextFrame),
                                            RUNTIME_CLASS(DataView));
    m_pDocManager->AddDocTemplate(m_pDataTemplate);

    m_pMain = new MainFrame;
    ASSERT_TRUE(m_pMain->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = m_pMain;
    m_pMain->SetWindowPos(NULL, 10, 10, 800, 600, SWP_NOZORDER);
    m_pMain->ShowWindow(SW_SHOW);
    m_pMain->UpdateWindow();
}

void DocViewTest::TearDown()
{
    CWinApp& app = App();
    // Nothing asks to save while the test's windows go.
    {
        qmtest::MessageBoxRecorder boxes({IDNO, IDNO, IDNO, IDNO, IDNO, IDNO, IDNO, IDNO});
        if (m_pDocManager != NULL)
            m_pDocManager->CloseAllDocuments(TRUE);
    }
    if (app.m_pMainWnd == m_pMain)
        app.m_pMainWnd = NULL;
    if (m_pMain != NULL && ::IsWindow(m_pMain->m_hWnd))
        m_pMain->DestroyWindow();
    m_pMain = NULL;
    fx::SetDocManager(NULL, NULL);
    delete m_pDocManager;
    delete m_pRecent;
    m_pDocManager = NULL;
    m_pRecent = NULL;
    // Quit messages of destroyed main windows are not for the next test.
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            ::DispatchMessageA(&msg);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_regKey).c_str());
}

TextDoc* DocViewTest::Open(const std::string& path)
{
    return static_cast<TextDoc*>(m_pDocManager->OpenDocumentFile(path.c_str()));
}

TextDoc* DocViewTest::New(CDocTemplate* pTemplate)
{
    return static_cast<TextDoc*>(pTemplate->OpenDocumentFile(NULL));
}

CFrameWnd* DocViewTest::FrameOf(CDocument* pDoc)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != NULL ? pDoc->GetNextView(pos)->GetParentFrame() : NULL;
}

TextView* DocViewTest::ViewOf(CDocument* pDoc, int nIndex)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    CView* pView = NULL;
    for (int i = 0; i <= nIndex && pos != NULL; i++)
        pView = pDoc->GetNextView(pos);
    return static_cast<TextView*>(pView);
}

std::string DocViewTest::Caption(CWnd* pWnd)
{
    CString s;
    pWnd->GetWindowText(s);
    return (LPCSTR)s;
}

std::string DocViewTest::File(const char* name, const std::string& content)
{
    std::string path = m_dir.Path(name);
    fxtest::WriteRaw(path, content);
    return path;
}

int DocViewTest::CountDocuments()
{
    return m_pDocManager->GetDocumentCount();
}

} // namespace dvtest
