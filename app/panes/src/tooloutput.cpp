// tooloutput.cpp - the tool-output window.
#include "tooloutput.h"

#include <string>

#include <qx/fonts.h>

IMPLEMENT_DYNAMIC(CProcessOutputView, CQXEdit)

BEGIN_MESSAGE_MAP(CProcessOutputView, CQXEdit)
    ON_WM_CREATE()
    ON_MESSAGE(CProcessOutputView::WM_QM_APPENDOUTPUT, OnAppendOutput)
END_MESSAGE_MAP()

CProcessOutputView::CProcessOutputView() : m_pToolRunning(NULL), m_bClosing(0), m_chLast('\0') {}

CProcessOutputView::~CProcessOutputView()
{
    // Stop the reader while the window and this object still exist; from
    // here on its output and end are no longer shown.
    ::InterlockedExchange(&m_bClosing, 1);
    Close();
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CProcessOutputView::PreCreateWindow(CREATESTRUCTA& cs)
{
    // Without ES_AUTOVSCROLL a multi-line edit control takes no more text
    // than it can show: the rest of a tool's output would be dropped.
    cs.style |= ES_MULTILINE | ES_AUTOVSCROLL;
    return CQXEdit::PreCreateWindow(cs);
}

int CProcessOutputView::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CQXEdit::OnCreate(lpCreateStruct) == -1)
        return -1;
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), 1);
    // The edit control's own limit is about 32,000 characters: beyond it
    // EM_REPLACESEL silently drops the tool's output.
    ::SendMessageA(m_hWnd, EM_SETLIMITTEXT, 0, 0);
    return 0;
}

BOOL CProcessOutputView::RunCommand(LPCSTR lpszCmdLine)
{
    if (m_hWnd != NULL)
        ::SetWindowTextA(m_hWnd, "");
    m_chLast = '\0';
    return Open(lpszCmdLine);
}

void CProcessOutputView::AppendText(LPCSTR lpszText)
{
    HWND hWnd = m_hWnd;
    if (lpszText == NULL || hWnd == NULL || !::IsWindow(hWnd))
        return;
    // Handled on the window's thread; a thread that waits for the reader in
    // CProcessRedirector::Close keeps handling these.
    ::SendMessageA(hWnd, WM_QM_APPENDOUTPUT, 0, (LPARAM)lpszText);
}

void CProcessOutputView::ReplaceText(LPCSTR lpszText)
{
    if (m_hWnd == NULL)
        return;
    ::SetWindowTextA(m_hWnd, "");
    m_chLast = '\0';
    AppendText(lpszText);
}

LRESULT CProcessOutputView::OnAppendOutput(WPARAM, LPARAM lParam)
{
    LPCSTR lpszText = (LPCSTR)lParam;
    if (lpszText == NULL || *lpszText == '\0')
        return 0;
    // An edit control shows only CR LF as a line break: programs that write
    // bare LF get it widened. A CR that ended the previous piece pairs with
    // an LF that starts this one.
    std::string text;
    for (const char* p = lpszText; *p; ++p) {
        char chBefore = p == lpszText ? m_chLast : p[-1];
        if (*p == '\n' && chBefore != '\r')
            text += '\r';
        text += *p;
    }
    m_chLast = lpszText[::lstrlenA(lpszText) - 1];
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    ::SendMessageA(m_hWnd, EM_SETSEL, (WPARAM)nLength, (LPARAM)nLength);
    ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
    ::SendMessageA(m_hWnd, EM_REPLACESEL, FALSE, (LPARAM)text.c_str());
    return 0;
}

void CProcessOutputView::OnOutput(LPCSTR lpszOutput)
{
    if (m_bClosing)
        return;
    AppendText(lpszOutput);
}

void CProcessOutputView::OnError(LPCSTR lpszError)
{
    if (m_bClosing)
        return;
    OnOutput("\r\nError message: ");
    OnOutput(lpszError);
}

void CProcessOutputView::OnChildEnded()
{
    // While the window goes, its owner (and the flag) may be gone already.
    if (m_pToolRunning != NULL && !m_bClosing)
        ::InterlockedExchange(const_cast<LONG*>(m_pToolRunning), 0);
}
