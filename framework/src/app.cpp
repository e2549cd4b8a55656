// CWinApp (non-window part) and message boxes.
#include "fx/app.h"
#include "fx/except.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

fx::MessageBoxHook g_pfnMessageBoxHook = NULL;
void* g_pMessageBoxContext = NULL;

void ReplaceString(LPCSTR& rpsz, LPCSTR pszNew)
{
    std::free(const_cast<char*>(rpsz));
    rpsz = pszNew ? _strdup(pszNew) : NULL;
}

} // namespace

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_eHelpType(afxWinHelp), m_hInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(NULL),
      m_pszExeName(NULL), m_pszHelpFilePath(NULL), m_pszProfileName(NULL), m_pszRegistryKey(NULL)
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_pCurrentWinApp == NULL)
        pState->m_pCurrentWinApp = this;
    m_nThreadID = GetCurrentThreadId();
    m_bAutoDelete = FALSE;
    if (lpszAppName)
        m_pszAppName = _strdup(lpszAppName);
    SetCurrentHandles();
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_pCurrentWinApp == this) {
        pState->m_pCurrentWinApp = NULL;
        pState->m_lpszCurrentAppName = NULL;
    }
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszExeName));
    std::free(const_cast<char*>(m_pszHelpFilePath));
    std::free(const_cast<char*>(m_pszProfileName));
    std::free(const_cast<char*>(m_pszRegistryKey));
}

void CWinApp::SetCurrentHandles()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (m_hInstance == NULL)
        m_hInstance = pState->m_hCurrentInstanceHandle;
    else
        pState->m_hCurrentInstanceHandle = m_hInstance;

    char szPath[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(m_hInstance, szPath, sizeof(szPath));
    if (n == 0 || n >= sizeof(szPath))
        szPath[0] = 0;
    CString strTitle = fx::PathFileTitle(szPath);

    if (m_pszExeName == NULL)
        m_pszExeName = _strdup(strTitle);
    if (m_pszHelpFilePath == NULL && szPath[0]) {
        CString strHelp(szPath);
        int nDot = strHelp.ReverseFind('.');
        int nSlash = strHelp.ReverseFind('\\');
        if (nDot > nSlash)
            strHelp.Truncate(nDot);
        strHelp += m_eHelpType == afxHTMLHelp ? ".chm" : ".HLP";
        m_pszHelpFilePath = _strdup(strHelp);
    }
    if (m_pszAppName == NULL) {
        CString strName;
        if (!strName.LoadString(AFX_IDS_APP_TITLE))
            strName = m_pszExeName;
        m_pszAppName = _strdup(strName);
    }
    if (m_pszProfileName == NULL) {
        CString strIni(m_pszExeName);
        strIni += ".INI";
        m_pszProfileName = _strdup(strIni);
    }
    if (pState->m_pCurrentWinApp == this)
        pState->m_lpszCurrentAppName = m_pszAppName;
}

void CWinApp::EnableHtmlHelp()
{
    m_eHelpType = afxHTMLHelp;
    if (m_pszHelpFilePath == NULL)
        return;
    CString strHelp(m_pszHelpFilePath);
    int nDot = strHelp.ReverseFind('.');
    int nSlash = strHelp.ReverseFind('\\');
    if (nDot > nSlash && strHelp.Mid(nDot).CompareNoCase(".HLP") == 0) {
        strHelp.Truncate(nDot);
        strHelp += ".chm";
        std::free(const_cast<char*>(m_pszHelpFilePath));
        m_pszHelpFilePath = _strdup(strHelp);
    }
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey.GetString());
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    return fx::ShowAppMessageBox(this, lpszPrompt, nType, nIDPrompt);
}

CWinApp* AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

LPCSTR AFXAPI AfxGetAppName()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pszAppName)
        return pApp->m_pszAppName;
    LPCSTR psz = AfxGetModuleState()->m_lpszCurrentAppName;
    return psz ? psz : "";
}

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (hInstance)
        pState->m_hCurrentInstanceHandle = hInstance;
    CWinApp* pApp = AfxGetApp();
    if (pApp) {
        pApp->m_hInstance = hInstance ? hInstance : pState->m_hCurrentInstanceHandle;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->SetCurrentHandles();
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Message boxes

namespace fx {

MessageBoxHook SetMessageBoxHook(MessageBoxHook pfnHook, void* pContext)
{
    MessageBoxHook pfnOld = g_pfnMessageBoxHook;
    g_pfnMessageBoxHook = pfnHook;
    g_pMessageBoxContext = pContext;
    return pfnOld;
}

bool RouteMessageBoxToHook(LPCSTR lpszText, UINT nType, UINT nIDHelp, int* pnResult)
{
    if (!g_pfnMessageBoxHook)
        return false;
    int nResult = g_pfnMessageBoxHook(lpszText ? lpszText : "", nType, nIDHelp, g_pMessageBoxContext);
    if (pnResult)
        *pnResult = nResult;
    return true;
}

HWND GetMessageBoxOwner()
{
    HWND hWnd = NULL;
    CWinThread* pThread = AfxGetThread();
    if (pThread)
        hWnd = pThread->GetMainWndHandle();
    if (hWnd == NULL) {
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp != pThread)
            hWnd = pApp->GetMainWndHandle();
    }
    if (hWnd == NULL)
        hWnd = GetActiveWindow();
    if (hWnd != NULL) {
        HWND hTop = GetAncestor(hWnd, GA_ROOT);
        if (hTop)
            hWnd = GetLastActivePopup(hTop);
    }
    return hWnd;
}

int ShowAppMessageBox(CWinApp* pApp, LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    if (g_pfnMessageBoxHook)
        return g_pfnMessageBoxHook(lpszPrompt, nType, nIDPrompt, g_pMessageBoxContext);
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    LPCSTR pszCaption = (pApp && pApp->m_pszAppName) ? pApp->m_pszAppName : AfxGetAppName();
    return MessageBoxA(GetMessageBoxOwner(), lpszPrompt ? lpszPrompt : "", pszCaption, nType);
}

} // namespace fx

int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (g_pfnMessageBoxHook)
        return g_pfnMessageBoxHook(lpszText ? lpszText : "", nType, nIDHelp, g_pMessageBoxContext);
    CWinApp* pApp = AfxGetApp();
    if (pApp)
        return pApp->DoMessageBox(lpszText ? lpszText : "", nType, nIDHelp);
    return fx::ShowAppMessageBox(NULL, lpszText, nType, nIDHelp);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt.GetString(), nType, nIDHelp);
}
