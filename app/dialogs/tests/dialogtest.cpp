// dialogtest.cpp - the modal dialog driver of the dialog tests.
#include "dialogtest.h"

namespace dlgtest {

namespace {
ModalScript* g_pActive = NULL;

struct FindData {
    const char* caption;
    HWND hFound;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam)
{
    FindData* pData = (FindData*)lParam;
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hWnd) && WindowText(hWnd) == pData->caption) {
        pData->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CloseProc(HWND hWnd, LPARAM)
{
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0)
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}
} // namespace

ModalScript::ModalScript(std::vector<Step> steps, DWORD dwTimeoutMs)
    : m_steps(std::move(steps)), m_next(0), m_dwStart(::GetTickCount()), m_dwTimeout(dwTimeoutMs), m_idTimer(0),
      m_bBusy(false), m_bGaveUp(false)
{
    g_pActive = this;
    m_idTimer = ::SetTimer(NULL, 0, 30, &ModalScript::OnTimer);
}

ModalScript::~ModalScript()
{
    if (m_idTimer)
        ::KillTimer(NULL, m_idTimer);
    if (g_pActive == this)
        g_pActive = NULL;
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pActive)
        g_pActive->Tick();
}

void ModalScript::Tick()
{
    if (m_bBusy)
        return;
    m_bBusy = true;
    if (m_next < m_steps.size()) {
        if (m_steps[m_next]())
            ++m_next;
    }
    if (m_next < m_steps.size() && ::GetTickCount() - m_dwStart > m_dwTimeout && !m_bGaveUp) {
        m_bGaveUp = true;
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseProc, 0);
    }
    m_bBusy = false;
}

HWND FindDialog(const char* caption)
{
    FindData data = {caption, NULL};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindProc, (LPARAM)&data);
    return data.hFound;
}

void Click(HWND hDlg, int nID)
{
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

void SelectLine(HWND hDlg, int nListID, int nLine, bool bSelect)
{
    HWND hList = ::GetDlgItem(hDlg, nListID);
    LONG style = ::GetWindowLongA(hList, GWL_STYLE);
    if (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL))
        ::SendMessageA(hList, LB_SETSEL, bSelect, nLine);
    else
        ::SendMessageA(hList, LB_SETCURSEL, bSelect ? nLine : -1, 0);
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nListID, LBN_SELCHANGE), (LPARAM)hList);
}

std::vector<std::string> ListLines(HWND hDlg, int nListID)
{
    std::vector<std::string> lines;
    HWND hList = ::GetDlgItem(hDlg, nListID);
    int n = (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        int len = (int)::SendMessageA(hList, LB_GETTEXTLEN, i, 0);
        std::vector<char> buf(len + 1);
        ::SendMessageA(hList, LB_GETTEXT, i, (LPARAM)buf.data());
        lines.push_back(buf.data());
    }
    return lines;
}

std::string WindowText(HWND hWnd)
{
    char buf[256] = "";
    ::GetWindowTextA(hWnd, buf, sizeof(buf));
    return buf;
}

} // namespace dlgtest
