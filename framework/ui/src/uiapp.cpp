// The user-interface members of CWinThread and CWinApp: the message loop,
// idle processing, pre-translation, the program's start (AfxWinMain), the
// wait cursor and resource helpers.
#include "fx/app.h"
#include "fx/except.h"
#include "fx/wnd.h"
#include "handlemap.h"

// ---------------------------------------------------------------------------
// CWinThread

int CWinThread::Run()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        // Idle work while the queue is empty.
        while (bIdle && !::PeekMessageA(&pState->m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        // Messages while there are any.
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&pState->m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&pState->m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

int CWinThread::ExitInstance()
{
    const MSG& msg = AfxGetThreadState()->m_msgCur;
    return msg.message == WM_QUIT ? (int)msg.wParam : 0;
}

HWND CWinThread::GetMainWndHandle() const
{
    CWnd* pWnd = m_pActiveWnd != NULL ? m_pActiveWnd : m_pMainWnd;
    return pWnd->GetSafeHwnd();
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pActiveWnd != NULL ? m_pActiveWnd : m_pMainWnd;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    return fx::detail::InternalPreTranslateMessage(pMsg);
}

BOOL CWinThread::PumpMessage()
{
    return fx::detail::InternalPumpMessage();
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    return AfxInternalOnIdle(lCount);
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    return fx::detail::InternalIsIdleMessage(pMsg);
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    return fx::detail::DefaultWndProcException(e, pMsg);
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nMessage != 0; ++e) {
            if (e->nKind != fx::msg::kWindow)
                continue;
            bool bMatch = e->nMessage == fx::msg::kRegistered
                              ? (e->pnRegMessage != NULL && *e->pnRegMessage == pMsg->message)
                              : e->nMessage == pMsg->message;
            if (!bMatch)
                continue;
            fx::msg::Call call = {};
            call.message = pMsg->message;
            call.wParam = pMsg->wParam;
            call.lParam = pMsg->lParam;
            return e->pfnThunk(this, call);
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// CWinApp

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    fx::detail::OleTerm();
    return CWinThread::ExitInstance();
}

int CWinApp::Run()
{
    // Nothing to show and nothing to wait for: the program ends.
    if (m_pMainWnd == NULL)
        ::PostQuitMessage(0);
    return CWinThread::Run();
}

namespace {

// The thread's hourglass count and the cursor to restore at zero.
void ApplyWaitCursor(int nCode)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_nWaitCursorCount += nCode;
    if (pState->m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
        if (nCode > 0 && pState->m_nWaitCursorCount == 1)
            pState->m_hcurWaitCursorRestore = hcurPrev;
    } else {
        pState->m_nWaitCursorCount = 0;
        ::SetCursor(pState->m_hcurWaitCursorRestore != NULL ? pState->m_hcurWaitCursorRestore
                                                            : ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    }
}

} // namespace

void CWinApp::DoWaitCursor(int nCode)
{
    ApplyWaitCursor(nCode);
}

namespace {
int g_nModelessDisabled = 0;
} // namespace

void CWinApp::EnableModeless(BOOL bEnable)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!bEnable) {
        if (g_nModelessDisabled++ == 0 && pMainWnd != NULL && pMainWnd->m_hWnd != NULL)
            pMainWnd->EnableWindow(FALSE);
    } else if (g_nModelessDisabled > 0) {
        if (--g_nModelessDisabled == 0 && pMainWnd != NULL && pMainWnd->m_hWnd != NULL)
            pMainWnd->EnableWindow(TRUE);
    }
}

void CWinApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL)
        pMainWnd->HtmlHelp(dwData, nCmd);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != NULL && m_pMainWnd->m_hWnd != NULL)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const
{
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursor(MAKEINTRESOURCEA(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const
{
    return ::LoadCursorA(NULL, lpszCursorName);
}

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const
{
    return ::LoadIconA(NULL, lpszIconName);
}

void AFXAPI AfxDoWaitCursor(int nCode)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(nCode);
    else
        ApplyWaitCursor(nCode);
}

// ---------------------------------------------------------------------------
// The program's start

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    int nReturnCode = -1;
    CWinThread* pThread = AfxGetThread();
    CWinApp* pApp = AfxGetApp();
    if (pThread == NULL || pApp == NULL)
        return nReturnCode; // no application object: nothing to run

    if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return nReturnCode;
    try {
        if (!pApp->InitApplication())
            return nReturnCode;
        if (!pThread->InitInstance()) {
            if (pThread->m_pMainWnd != NULL && pThread->m_pMainWnd->m_hWnd != NULL)
                pThread->m_pMainWnd->DestroyWindow();
            return pThread->ExitInstance();
        }
        nReturnCode = pThread->Run();
    } catch (CException* e) {
        // An exception that reached the top ends the program with a report.
        e->ReportError(MB_ICONSTOP);
        e->Delete();
        nReturnCode = -1;
    }
    return nReturnCode;
}
