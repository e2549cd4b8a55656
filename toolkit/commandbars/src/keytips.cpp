// Keyboard tips: one small window per captioned control of the bar that is
// tracked from the keyboard, showing the letter(s) that activate it.
#include <qx/keytips.h>

#include <qx/commandbars.h>
#include <qx/popup.h>

#include <algorithm>
#include <set>

namespace {

// The upper-cased mnemonic of a caption: the character after a single '&',
// else the first character. 0 for an empty caption.
TCHAR MnemonicOf(const CString& strCaption)
{
    int nLength = strCaption.GetLength();
    for (int i = 0; i < nLength; i++) {
        if (strCaption[i] != '&')
            continue;
        if (i + 1 < nLength && strCaption[i + 1] == '&') {
            i++;
            continue;
        }
        if (i + 1 < nLength)
            return (TCHAR)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)strCaption[i + 1]);
        break;
    }
    if (nLength == 0)
        return 0;
    return (TCHAR)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)strCaption[0]);
}

TCHAR Upper(TCHAR ch)
{
    return (TCHAR)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)ch);
}

LRESULT CALLBACK KeyTipWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // A click on a tip hides them all.
        CQXPKeyboardTips* pTips = (CQXPKeyboardTips*)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        if (pTips)
            pTips->Hide();
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_INFOBK));
        char szText[32] = {0};
        ::GetWindowTextA(hWnd, szText, (int)sizeof(szText));
        HGDIOBJ hOld = ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, ::GetSysColor(COLOR_INFOTEXT));
        ::DrawTextA(hDC, szText, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(hDC, hOld);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

}  // namespace

CQXPKeyboardTips::CQXPKeyboardTips() : m_pBar(NULL), m_nLevel(0), m_nTyped(0), m_hFont(NULL) {}

CQXPKeyboardTips::~CQXPKeyboardTips()
{
    Hide();
}

BOOL AFXAPI CQXPKeyboardTips::RegisterTipClass()
{
    WNDCLASSA wc;
    HINSTANCE hInstance = ::GetModuleHandleA(NULL);
    if (::GetClassInfoA(hInstance, QXP_KEYTIP_CLASSNAME, &wc))
        return TRUE;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = KeyTipWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = QXP_KEYTIP_CLASSNAME;
    return ::RegisterClassA(&wc) != 0;
}

std::vector<CString> AFXAPI CQXPKeyboardTips::MakeTexts(const std::vector<CString>& captions,
                                                        const std::vector<CString>& explicitTips)
{
    std::vector<CString> texts(captions.size());
    for (size_t i = 0; i < captions.size(); i++) {
        CString strText = i < explicitTips.size() ? explicitTips[i] : CString();
        if (strText.IsEmpty()) {
            TCHAR ch = MnemonicOf(captions[i]);
            if (ch)
                strText = CString(ch);
        }
        strText.MakeUpper();
        texts[i] = strText;
    }
    // Texts that share their first character get a second one, taken in
    // order: a letter that starts a word of the caption, else any letter
    // of the caption not used yet, else a running digit.
    std::set<TCHAR> firstsDone;
    for (size_t i = 0; i < texts.size(); i++) {
        if (texts[i].IsEmpty())
            continue;
        TCHAR chFirst = texts[i][0];
        if (firstsDone.count(chFirst))
            continue;
        firstsDone.insert(chFirst);
        std::vector<size_t> group;
        for (size_t j = i; j < texts.size(); j++) {
            if (!texts[j].IsEmpty() && texts[j][0] == chFirst)
                group.push_back(j);
        }
        if (group.size() < 2)
            continue;
        std::set<TCHAR> used = {'&', ' '};
        int nDigit = 1;
        for (size_t j : group) {
            if (texts[j].GetLength() != 1)
                continue;
            const CString& strCaption = captions[j];
            TCHAR chMnemonic = MnemonicOf(strCaption);
            TCHAR chSecond = 0;
            for (int k = 1; k < strCaption.GetLength() && !chSecond; k++) {
                TCHAR ch = Upper(strCaption[k]);
                if (strCaption[k - 1] == ' ' && !used.count(ch))
                    chSecond = ch;
            }
            for (int k = 0; k < strCaption.GetLength() && !chSecond; k++) {
                TCHAR ch = Upper(strCaption[k]);
                if (k == 0 && strCaption[k] == '&')
                    continue;
                if (ch == chMnemonic || used.count(ch))
                    continue;
                chSecond = ch;
            }
            if (chSecond) {
                used.insert(chSecond);
                texts[j] += chSecond;
            } else {
                CString strDigit;
                strDigit.Format("%i", nDigit++);
                texts[j] += strDigit;
            }
        }
    }
    return texts;
}

HWND CQXPKeyboardTips::CreateTipWindow(const Tip& tip)
{
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hDC, tip.strText, tip.strText.GetLength(), &sz);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    int cx = std::max<int>(16, sz.cx + 6);
    int cy = std::max<int>(15, sz.cy + 2);
    CPoint pt = tip.ptAnchor;
    if (tip.nAlign & qxpKeyTipRight)
        pt.x -= cx;
    else if (tip.nAlign & qxpKeyTipCenterX)
        pt.x -= cx / 2;
    if (tip.nAlign & qxpKeyTipBottom)
        pt.y -= cy;
    else if (tip.nAlign & qxpKeyTipCenterY)
        pt.y -= cy / 2;
    DWORD dwExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    if (!tip.bEnabled)
        dwExStyle |= WS_EX_LAYERED;
    HWND hWnd = ::CreateWindowExA(dwExStyle, QXP_KEYTIP_CLASSNAME, tip.strText, WS_POPUP | WS_BORDER, pt.x, pt.y, cx, cy,
                                  NULL, NULL, ::GetModuleHandleA(NULL), NULL);
    if (!hWnd)
        return NULL;
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)this);
    if (!tip.bEnabled)
        ::SetLayeredWindowAttributes(hWnd, 0, 150, LWA_ALPHA);
    return hWnd;
}

BOOL CQXPKeyboardTips::Show(CQXPCommandBar* pBar, int nLevel)
{
    Hide();
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()) || !RegisterTipClass())
        return FALSE;
    std::vector<Tip> records;
    std::vector<CString> captions, explicitTips;
    for (int i = 0; i < pBar->GetControlCount(); i++) {
        CQXPControl* pControl = pBar->GetControl(i);
        if (!pControl || !pControl->IsVisible() || (pControl->GetFlags() & 2))
            continue;
        CString strCaption = pControl->GetCaption();
        if (strCaption.IsEmpty())
            continue;
        Tip tip;
        tip.pControl = pControl;
        tip.strCaption = strCaption;
        tip.bEnabled = pControl->GetEnabled() ? TRUE : FALSE;
        CRect rc = pControl->GetRect();
        tip.ptAnchor = CPoint(rc.left + 12, rc.bottom - 11);
        ::ClientToScreen(pBar->GetSafeHwnd(), &tip.ptAnchor);
        records.push_back(tip);
        captions.push_back(strCaption);
        explicitTips.push_back(pControl->m_strKeyboardTip);
    }
    std::vector<CString> texts = MakeTexts(captions, explicitTips);
    for (size_t i = 0; i < records.size(); i++) {
        if (texts[i].IsEmpty())
            continue;
        records[i].strText = texts[i];
        records[i].hWnd = CreateTipWindow(records[i]);
        if (records[i].hWnd)
            m_tips.push_back(records[i]);
    }
    if (m_tips.empty())
        return FALSE;
    m_pBar = pBar;
    m_nLevel = nLevel;
    m_nTyped = 0;
    for (const Tip& tip : m_tips)
        ::SetWindowPos(tip.hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

void CQXPKeyboardTips::Hide()
{
    // Taken out first: destroying a window may come back here.
    std::vector<Tip> tips;
    tips.swap(m_tips);
    for (const Tip& tip : tips) {
        if (::IsWindow(tip.hWnd)) {
            ::SetWindowLongPtrA(tip.hWnd, GWLP_USERDATA, 0);
            ::DestroyWindow(tip.hWnd);
        }
    }
    m_pBar = NULL;
    m_nLevel = 0;
    m_nTyped = 0;
}

void CQXPKeyboardTips::Activate(CQXPControl* pControl)
{
    CQXPCommandBar* pBar = pControl->GetParent();
    if (!pBar)
        return;
    pBar->InternalAddRef();
    int nIndex = pControl->GetIndex();
    pBar->SetSelected(nIndex, 2);
    if (pControl->GetCommandBar()) {
        pBar->SetPopuped(nIndex);
        CQXPCommandBar* pPopup = pControl->GetPopuped() ? pControl->GetCommandBar() : NULL;
        if (pPopup) {
            int nFirst = pPopup->GetControls()->GetNext(-1, +1);
            if (nFirst != -1)
                pPopup->SetSelected(nFirst, 2);
        }
    } else {
        pControl->OnUnderlineActivate();
    }
    pBar->InternalRelease();
}

int CQXPKeyboardTips::OnKey(UINT nChar)
{
    if (nChar == VK_SHIFT || nChar == VK_CONTROL)
        return 0;
    if (m_tips.empty())
        return 0;
    TCHAR chTyped = Upper((TCHAR)nChar);
    for (size_t i = 0; i < m_tips.size(); i++) {
        const CString& strText = m_tips[i].strText;
        if (m_nTyped >= strText.GetLength() || strText[m_nTyped] != chTyped)
            continue;
        // Every tip has this prefix so far; a match must also agree with
        // what was typed before, which the narrowing below guarantees.
        if (m_nTyped + 1 < strText.GetLength()) {
            CString strPrefix = strText.Left(m_nTyped + 1);
            m_nTyped++;
            std::vector<Tip> keep;
            for (const Tip& tip : m_tips) {
                if (tip.strText.Left(m_nTyped) == strPrefix) {
                    keep.push_back(tip);
                } else if (::IsWindow(tip.hWnd)) {
                    ::SetWindowLongPtrA(tip.hWnd, GWLP_USERDATA, 0);
                    ::DestroyWindow(tip.hWnd);
                }
            }
            m_tips.swap(keep);
            return 1;
        }
        if (!m_tips[i].bEnabled) {
            ::MessageBeep(0);
            return 1;
        }
        CQXPControl* pControl = m_tips[i].pControl;
        Hide();
        Activate(pControl);
        return 1;
    }
    ::MessageBeep(0);
    return 1;
}

// ---------------------------------------------------------------------------
// The manager's side: the option and the one set of tips on screen.

void CQXPCommandBars::EnableKeyboardTips(BOOL bEnable)
{
    m_bKeyboardTips = bEnable ? TRUE : FALSE;
    if (!m_bKeyboardTips)
        HideKeyboardTips();
}

BOOL CQXPCommandBars::ShowKeyboardTips(CQXPCommandBar* pBar, int nLevel)
{
    HideKeyboardTips();
    if (!m_bKeyboardTips || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return FALSE;
    if (!m_pKeyboardTips)
        m_pKeyboardTips = new CQXPKeyboardTips;
    return m_pKeyboardTips->Show(pBar, nLevel);
}

void CQXPCommandBars::HideKeyboardTips()
{
    if (m_pKeyboardTips)
        m_pKeyboardTips->Hide();
}
