// docstest.cpp - the test program of the document tests.
#include "docstest.h"

#include "resource.h"

#include <algorithm>
#include <fstream>

namespace docstest {

TestMainFrame::TestMainFrame() {}

void TestMainFrame::SetStatusText(int nPane, LPCSTR lpszText)
{
    if (nPane >= 0 && nPane < 3)
        m_status[nPane] = lpszText != NULL ? lpszText : "";
}

void TestMainFrame::FindNextInActiveDocument(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii)
{
    m_nFindCalls++;
    // The editor routes text views elsewhere; here only hex views exist.
    HexFindInActiveDocument(this, lpszText, bSearchUp, bMatchCase, bAscii);
}

void TestMainFrame::RemoveChildFrame(CFrameWnd* pFrame)
{
    m_childFrames.erase(std::remove(m_childFrames.begin(), m_childFrames.end(), pFrame), m_childFrames.end());
    if (m_pCurrentFrame == pFrame)
        m_pCurrentFrame = nullptr;
}

namespace {
HMODULE g_hPairview = NULL;
HMODULE g_hBytegrid = NULL;
} // namespace

void DocsTest::SetUp()
{
    coretest::ClearProfile();
    ::OleInitialize(NULL);
    // The program loads the two window libraries at start.
    if (g_hPairview == NULL)
        g_hPairview = ::LoadLibraryA(QM_BIN_DIR "/pairview.dll");
    if (g_hBytegrid == NULL)
        g_hBytegrid = ::LoadLibraryA(QM_BIN_DIR "/bytegrid.dll");
    ASSERT_TRUE(g_hPairview != NULL);
    ASSERT_TRUE(g_hBytegrid != NULL);

    m_pDocManager = new CDocManager;
    fx::SetDocManager(m_pDocManager, NULL);
    m_pCompareTemplate = new CMultiDocTemplate(IDR_COMPARETYPE, RUNTIME_CLASS(CCompareDocument),
                                               RUNTIME_CLASS(CCompareFrame), RUNTIME_CLASS(CCompareView));
    m_pDocManager->AddDocTemplate(m_pCompareTemplate);
    m_pHexTemplate = new CMultiDocTemplate(IDR_HEXTYPE, RUNTIME_CLASS(CHexDocument), RUNTIME_CLASS(CHexFrame),
                                           RUNTIME_CLASS(CHexEditView));
    m_pDocManager->AddDocTemplate(m_pHexTemplate);
    m_pPreviewTemplate = new CMultiDocTemplate(IDR_PREVIEWTYPE, RUNTIME_CLASS(CHTMLPreviewDoc),
                                               RUNTIME_CLASS(CHTMLPreviewFrame), RUNTIME_CLASS(CHTMLPreviewView));
    m_pDocManager->AddDocTemplate(m_pPreviewTemplate);

    m_pMain = new TestMainFrame;
    ASSERT_TRUE(m_pMain->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    AfxGetApp()->m_pMainWnd = m_pMain;
    m_pMain->SetWindowPos(NULL, 10, 10, 900, 650, SWP_NOZORDER);
    m_pMain->ShowWindow(SW_SHOW);
    m_pMain->UpdateWindow();
}

void DocsTest::UnloadBytegrid()
{
    if (g_hBytegrid != NULL)
        ::FreeLibrary(g_hBytegrid);
    g_hBytegrid = NULL;
}

void DocsTest::LoadBytegrid()
{
    if (g_hBytegrid == NULL)
        g_hBytegrid = ::LoadLibraryA(QM_BIN_DIR "/bytegrid.dll");
}

void DocsTest::TearDown()
{
    LoadBytegrid();
    if (CHexFindDialog* pFind = CHexFindDialog::GetOpen())
        pFind->DestroyWindow();
    {
        qmtest::MessageBoxRecorder boxes(IDNO);
        if (m_pDocManager != NULL)
            m_pDocManager->CloseAllDocuments(TRUE);
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp->m_pMainWnd == m_pMain)
        pApp->m_pMainWnd = NULL;
    if (m_pMain != NULL && ::IsWindow(m_pMain->m_hWnd))
        m_pMain->DestroyWindow();
    m_pMain = NULL;
    fx::SetDocManager(NULL, NULL);
    delete m_pDocManager;
    m_pDocManager = NULL;
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            ::DispatchMessageA(&msg);
    }
    ::OleUninitialize();
}

CFrameWnd* DocsTest::FrameOf(CDocument* pDoc)
{
    CView* pView = ViewOf(pDoc);
    return pView != NULL ? pView->GetParentFrame() : NULL;
}

CView* DocsTest::ViewOf(CDocument* pDoc)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != NULL ? pDoc->GetNextView(pos) : NULL;
}

int DocsTest::CountDocs(CDocTemplate* pTemplate)
{
    int n = 0;
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos != NULL; pTemplate->GetNextDoc(pos))
        n++;
    return n;
}

void DocsTest::Pump(DWORD dwMs)
{
    DWORD dwStart = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - dwStart < dwMs);
}

bool IsCommandEnabled(CCmdTarget* pTarget, UINT nID)
{
    CTestCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(pTarget, TRUE);
    return ui.m_bEnabled != FALSE;
}

std::string ClipboardText()
{
    std::string s;
    for (int i = 0; i < 20 && !::OpenClipboard(NULL); i++)
        ::Sleep(20);
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
            s = p;
            ::GlobalUnlock(h);
        }
    }
    ::CloseClipboard();
    return s;
}

void SetClipboardText(const std::string& text)
{
    for (int i = 0; i < 20 && !::OpenClipboard(NULL); i++)
        ::Sleep(20);
    ::EmptyClipboard();
    if (!text.empty()) {
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
        ::GlobalUnlock(h);
        ::SetClipboardData(CF_TEXT, h);
    }
    ::CloseClipboard();
}

Capture::Capture(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    m_cx = rc.right - rc.left;
    m_cy = rc.bottom - rc.top;
    HDC hScreen = ::GetDC(NULL);
    m_hdc = ::CreateCompatibleDC(hScreen);
    m_hbm = ::CreateCompatibleBitmap(hScreen, m_cx, m_cy);
    m_hOld = ::SelectObject(m_hdc, m_hbm);
    ::BitBlt(m_hdc, 0, 0, m_cx, m_cy, hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(NULL, hScreen);
}

Capture::~Capture()
{
    ::SelectObject(m_hdc, m_hOld);
    ::DeleteObject(m_hbm);
    ::DeleteDC(m_hdc);
}

COLORREF Capture::Pixel(int x, int y) const { return ::GetPixel(m_hdc, x, y); }

int Capture::CountColour(const RECT& rc, COLORREF clr) const
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            if (::GetPixel(m_hdc, x, y) == clr)
                n++;
    return n;
}

bool Capture::SaveBmp(const std::string& path) const
{
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = m_cx;
    bih.biHeight = m_cy;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    const int nStride = ((m_cx * 3 + 3) / 4) * 4;
    std::vector<char> bits((size_t)nStride * m_cy);
    ::SelectObject(m_hdc, m_hOld);
    int nLines = ::GetDIBits(m_hdc, m_hbm, 0, m_cy, bits.data(), (BITMAPINFO*)&bih, DIB_RGB_COLORS);
    ::SelectObject(m_hdc, m_hbm);
    if (nLines != m_cy)
        return false;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + (DWORD)bits.size();
    std::ofstream out(path, std::ios::binary);
    out.write((const char*)&bfh, sizeof(bfh));
    out.write((const char*)&bih, sizeof(bih));
    out.write(bits.data(), (std::streamsize)bits.size());
    return out.good();
}


// The items of the context menu the window shows, read while it is open;
// then the last item is chosen with the keyboard.
std::vector<UINT> RightClickAndChooseLast(HWND hWnd)
{
    std::vector<UINT> ids;
    dlgtest::ModalScript script({
                                    [&] {
                                        HWND hMenuWnd = ::FindWindowA("#32768", NULL);
                                        if (hMenuWnd == NULL || !::IsWindowVisible(hMenuWnd))
                                            return false;
                                        HMENU hMenu = (HMENU)::SendMessageA(hMenuWnd, 0x01E1 /* MN_GETHMENU */, 0, 0);
                                        for (int i = 0; hMenu != NULL && i < ::GetMenuItemCount(hMenu); i++)
                                            ids.push_back(::GetMenuItemID(hMenu, i));
                                        ::PostMessageA(hMenuWnd, WM_KEYDOWN, VK_UP, 0);
                                        ::PostMessageA(hMenuWnd, WM_KEYDOWN, VK_RETURN, 0);
                                        return true;
                                    },
                                },
                                5000);
    ::SendMessageA(hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    ::SendMessageA(hWnd, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(script.Finished());
    // The chosen command is posted to the active child frame.
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ids;
}

} // namespace docstest
