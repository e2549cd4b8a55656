// tdtest.cpp - support for the text document tests.
#include "tdtest.h"

#include <resource.h>


#include <stdio.h>

namespace tdtest {

namespace {

HMODULE g_scilexer = NULL;

class SciEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setvbuf(stdout, NULL, _IONBF, 0);
        // The program loads the component at start-up; so do the tests.
        g_scilexer = LoadLibraryA("scilexer.dll");
        ASSERT_NE(g_scilexer, (HMODULE)NULL) << "scilexer.dll must be in the bin folder";
    }
};

::testing::Environment* const g_sciEnvironment = ::testing::AddGlobalTestEnvironment(new SciEnvironment);

} // namespace

BEGIN_MESSAGE_MAP(CTestMainFrame, CEditorFrameStub)
    ON_COMMAND(CDoodleView::IDC_EDITOR, OnDeleteLine)
END_MESSAGE_MAP()

CTestMainFrame::CTestMainFrame()
{
    ZeroMemory(&m_settings, sizeof(m_settings));
    lstrcpyA(m_szFace, "Courier New");
    m_settings.pszFontFace = m_szFace;
    m_settings.nFontSize = 10;
    m_settings.nTabWidth = 4;
    m_settings.nTabsAsSpaces = 1;
    m_settings.clrBrace = RGB(0, 0, 255);
    m_settings.clrBraceBad = RGB(255, 0, 0);
    m_settings.clrCaretLine = RGB(255, 255, 200);
    m_settings.nCaretLineAlpha = 256;
    m_settings.nLineNumbers = 1;
    m_editor.nPrintHeader = 0;
    m_editor.nPrintFooter = 0;
    m_editor.nMetric = 0;
    m_editor.nPrintLineNumbers = 0;
    SetRectEmpty(&m_editor.rcMargins);
    m_editor.nBackupEnabled = 0;
    m_editor.nBackupVersions = 1;
    m_editor.nDeleteBackupsOnExit = 0;
    m_editor.nReuseOutputWindows = 0;
    m_editor.nResetUndoOnSave = 0;
    m_editor.nRememberOpenFiles = 0;
    m_editor.nTabsActive = 0;
}

CTestMainFrame::~CTestMainFrame() = default;

void CTestMainFrame::OnDeleteLine()
{
    m_nDeleteLineCommands++;
}

void TextDocTest::SetUp()
{
    m_pFrame = new CTestMainFrame;
    ASSERT_TRUE(m_pFrame->LoadFrame(IDR_MAINFRAME));
    AfxGetApp()->m_pMainWnd = m_pFrame;
    m_pFrame->SetWindowPos(NULL, 0, 0, 900, 650, SWP_NOZORDER);
    m_pFrame->ShowWindow(SW_SHOW);
    m_pFrame->UpdateWindow();
    m_pTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(CDoodleDoc), RUNTIME_CLASS(CDoodleFrame),
                                        RUNTIME_CLASS(CDoodleView));
    m_pTemplate->LoadTemplate();
}

void TextDocTest::TearDown()
{
    CDoodleDoc::SetSaveAsPrompt(NULL);
    CDoodleDoc::SetOpenOptions(CTextOpenOptions());
    if (m_pTemplate != NULL)
        m_pTemplate->CloseAllDocuments(TRUE);
    PumpFor(20);
    if (m_pFrame != NULL && m_pFrame->GetSafeHwnd() != NULL)
        m_pFrame->DestroyWindow();
    AfxGetApp()->m_pMainWnd = NULL;
    delete m_pTemplate;
    m_pTemplate = NULL;
    m_pFrame = NULL;
}

CDoodleDoc* TextDocTest::Open(const std::string& path, const CTextOpenOptions* pOptions)
{
    if (pOptions != NULL)
        CDoodleDoc::SetOpenOptions(*pOptions);
    CDocument* pDoc = m_pTemplate->OpenDocumentFile(path.c_str());
    PumpFor(20);
    return dynamic_cast<CDoodleDoc*>(pDoc);
}

CDoodleDoc* TextDocTest::NewDocument()
{
    CDocument* pDoc = m_pTemplate->OpenDocumentFile(NULL);
    PumpFor(20);
    return dynamic_cast<CDoodleDoc*>(pDoc);
}

int TextDocTest::DocumentCount()
{
    int n = 0;
    POSITION pos = m_pTemplate->GetFirstDocPosition();
    while (pos != NULL) {
        m_pTemplate->GetNextDoc(pos);
        n++;
    }
    return n;
}

void TextDocTest::LoadLexers()
{
    ASSERT_TRUE(m_pFrame->m_lexers.LoadAll(coretest::FixturePath("config/set1").c_str()));
    ASSERT_GT(m_pFrame->m_lexers.GetCount(), 1);
}

std::string EditorText(CMFCScintilla& editor)
{
    Sci_Position n = editor.GetLength();
    std::string s((size_t)n + 1, '\0');
    editor.GetTextRange(0, n, &s[0]);
    s.resize((size_t)n);
    return s;
}

CMFCScintilla& Editor(CDoodleDoc* pDoc)
{
    return *pDoc->GetEditor();
}

CDoodleFrame* FrameOf(CDoodleDoc* pDoc)
{
    return dynamic_cast<CDoodleFrame*>(pDoc->GetTextFrame());
}

std::string LexerName(CMFCScintilla& editor)
{
    char buf[128] = "";
    sptr_t n = editor.Call(SCI_GETLEXERLANGUAGE, 0, 0);
    if (n <= 0 || n >= (sptr_t)sizeof(buf))
        return std::string();
    editor.Call(SCI_GETLEXERLANGUAGE, 0, (sptr_t)buf);
    return buf;
}

static BOOL CALLBACK FindFileDialog(HWND hWnd, LPARAM lParam)
{
    char cls[32] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(hWnd))
        return TRUE;
    FileDialogWindows* p = reinterpret_cast<FileDialogWindows*>(lParam);
    for (HWND hChild = FindWindowExA(hWnd, NULL, "#32770", NULL); hChild != NULL;
         hChild = FindWindowExA(hWnd, hChild, "#32770", NULL)) {
        if (GetDlgItem(hChild, IDC_FILE_ENCODING) != NULL) {
            p->hDlg = hWnd;
            p->hExtra = hChild;
            return FALSE;
        }
    }
    return TRUE;
}

FileDialogWindows FindFileDialogWindows()
{
    FileDialogWindows w;
    EnumThreadWindows(GetCurrentThreadId(), &FindFileDialog, (LPARAM)&w);
    return w;
}

std::string SaveScreenshot(CWnd* pWnd, const char* name)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    HDC hScreen = GetDC(NULL);
    HDC hMem = CreateCompatibleDC(hScreen);
    HBITMAP hBmp = CreateCompatibleBitmap(hScreen, rc.Width(), rc.Height());
    HGDIOBJ hOld = SelectObject(hMem, hBmp);
    BitBlt(hMem, 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hMem, hOld);

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = rc.Width();
    bih.biHeight = rc.Height();
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    int nStride = ((rc.Width() * 3 + 3) / 4) * 4;
    std::string pixels((size_t)nStride * rc.Height(), '\0');
    GetDIBits(hMem, hBmp, 0, rc.Height(), &pixels[0], (BITMAPINFO*)&bih, DIB_RGB_COLORS);
    DeleteObject(hBmp);
    DeleteDC(hMem);
    ReleaseDC(NULL, hScreen);

    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + (DWORD)pixels.size();
    std::string file((const char*)&bfh, sizeof(bfh));
    file.append((const char*)&bih, sizeof(bih));
    file += pixels;
    std::string out = std::string(QM_BIN_DIR) + "/../" + name;
    coretest::WriteBytes(out, file);
    return out;
}

void Type(CMFCScintilla& editor, const std::string& text)
{
    for (char ch : text) {
        if (ch == '\n') {
            editor.SendMessage(WM_KEYDOWN, VK_RETURN, 0x001C0001);
            editor.SendMessage(WM_KEYUP, VK_RETURN, 0xC01C0001);
        } else {
            editor.SendMessage(WM_CHAR, (WPARAM)(BYTE)ch, 1);
        }
    }
}

} // namespace tdtest
