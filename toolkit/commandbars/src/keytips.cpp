// Keyboard tips: one small window per captioned control of the bar that is
// tracked from the keyboard, showing the letter(s) that activate it, and the
// manager's tip level that carries the tips from bar to bar (menu bar, open
// menus, toolbars).
#include <qx/keytips.h>

#include <qx/commandbars.h>
#include <qx/mousemanager.h>
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
            pTips->OnTipClicked();
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

} // namespace

CQXPKeyboardTips::CQXPKeyboardTips(CQXPCommandBars* pOwner)
    : m_bCollecting(FALSE), m_pOwner(pOwner), m_pBar(NULL), m_nLevel(0), m_nTyped(0)
{
}

CQXPKeyboardTips::~CQXPKeyboardTips()
{
    Hide();
    for (const Tip& tip : m_records)
        ReleaseTip(tip);
    m_records.clear();
}

BOOL AFXAPI CQXPKeyboardTips::RegisterTipClass()
{
    WNDCLASSA wc;
    HINSTANCE hInstance = ::GetModuleHandleA(NULL);
    if (::GetClassInfoA(hInstance, QXP_KEYTIP_CLASSNAME, &wc))
        return TRUE;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_SAVEBITS;
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

void AFXAPI CQXPKeyboardTips::AddRefTip(const Tip& tip)
{
    if (tip.pControl)
        tip.pControl->InternalAddRef();
    if (tip.pBar)
        tip.pBar->InternalAddRef();
}

void AFXAPI CQXPKeyboardTips::ReleaseTip(const Tip& tip)
{
    if (tip.pControl)
        tip.pControl->InternalRelease();
    if (tip.pBar)
        tip.pBar->InternalRelease();
}

void CQXPKeyboardTips::DestroyTip(const Tip& tip)
{
    if (::IsWindow(tip.hWnd)) {
        ::SetWindowLongPtrA(tip.hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(tip.hWnd);
    }
    ReleaseTip(tip);
}

void CQXPKeyboardTips::AddControlTip(CQXPControl* pControl, CPoint ptAnchor, int nAlign, LPCSTR lpszText,
                                     BOOL bVisible)
{
    if (!m_bCollecting || !pControl)
        return;
    Tip tip;
    tip.pControl = pControl;
    tip.strCaption = pControl->GetCaption();
    tip.strExplicit = lpszText ? CString(lpszText) : pControl->m_strKeyboardTip;
    if (tip.strExplicit.IsEmpty() && pControl->GetAction())
        tip.strExplicit = pControl->GetAction()->GetKeyboardTip();
    tip.bEnabled = pControl->GetEnabled() ? TRUE : FALSE;
    tip.bVisible = bVisible ? TRUE : FALSE;
    tip.ptAnchor = ptAnchor;
    tip.nAlign = nAlign;
    AddRefTip(tip);
    m_records.push_back(tip);
}

void CQXPKeyboardTips::AddBarTip(CQXPCommandBar* pBar, CPoint ptAnchor, int nAlign)
{
    if (!m_bCollecting || !pBar)
        return;
    Tip tip;
    tip.pBar = pBar;
    tip.strCaption = pBar->GetTitle();
    tip.bEnabled = TRUE;
    tip.ptAnchor = ptAnchor;
    tip.nAlign = nAlign;
    AddRefTip(tip);
    m_records.push_back(tip);
}

void CQXPKeyboardTips::AddItemTip(int nItem, const CString& strCaption, CPoint ptAnchor, int nAlign)
{
    if (!m_bCollecting || nItem < 0)
        return;
    Tip tip;
    tip.nItem = nItem;
    tip.strCaption = strCaption;
    tip.ptAnchor = ptAnchor;
    tip.nAlign = nAlign;
    m_records.push_back(tip);
}

BOOL CQXPKeyboardTips::Show(CQXPCommandBar* pBar, int nLevel)
{
    if (m_bCollecting)
        return FALSE;
    // The bar is held before the old tips (which may hold it) go.
    if (pBar)
        pBar->InternalAddRef();
    Hide();
    if (!pBar)
        return FALSE;
    if (!::IsWindow(pBar->GetSafeHwnd()) || !RegisterTipClass()) {
        pBar->InternalRelease();
        return FALSE;
    }
    m_bCollecting = TRUE;
    pBar->CreateKeyboardTips(this);
    m_bCollecting = FALSE;
    std::vector<Tip> records;
    records.swap(m_records);
    std::vector<CString> captions, explicitTips;
    for (const Tip& tip : records) {
        captions.push_back(tip.strCaption);
        explicitTips.push_back(tip.strExplicit);
    }
    std::vector<CString> texts = MakeTexts(captions, explicitTips);
    for (size_t i = 0; i < records.size(); i++) {
        Tip& tip = records[i];
        tip.strText = texts[i];
        if (!tip.strText.IsEmpty() && tip.bVisible)
            tip.hWnd = CreateTipWindow(tip);
        if (tip.hWnd || (!tip.bVisible && !tip.strText.IsEmpty()))
            m_tips.push_back(tip);
        else
            ReleaseTip(tip); // no text or no window: the record goes
    }
    if (m_tips.empty() || !::IsWindow(pBar->GetSafeHwnd())) {
        Hide();
        pBar->InternalRelease();
        return FALSE;
    }
    m_pBar = pBar; // keeps the reference taken above
    m_nLevel = nLevel;
    m_nTyped = 0;
    for (const Tip& tip : m_tips)
        if (tip.hWnd)
            ::SetWindowPos(tip.hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

void CQXPKeyboardTips::Hide()
{
    // Taken out first: destroying a window or releasing an object may come
    // back here.
    std::vector<Tip> tips;
    tips.swap(m_tips);
    CQXPCommandBar* pBar = m_pBar;
    m_pBar = NULL;
    m_nLevel = 0;
    m_nTyped = 0;
    for (const Tip& tip : tips)
        DestroyTip(tip);
    if (pBar)
        pBar->InternalRelease();
}

BOOL CQXPKeyboardTips::RefersTo(const CQXPCommandBar* pBar) const
{
    if (!pBar || m_tips.empty())
        return FALSE;
    if (m_pBar == pBar)
        return TRUE;
    for (const Tip& tip : m_tips) {
        if (tip.pBar == pBar || (tip.pControl && tip.pControl->GetParent() == pBar))
            return TRUE;
    }
    return FALSE;
}

void CQXPKeyboardTips::OnTipClicked()
{
    if (m_pOwner)
        m_pOwner->CancelKeyboardTips();
    else
        Hide();
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
        // Every tip left shares what was typed so far (the narrowing below
        // keeps only those).
        if (m_nTyped + 1 < strText.GetLength()) {
            CString strPrefix = strText.Left(m_nTyped + 1);
            m_nTyped++;
            std::vector<Tip> keep;
            for (const Tip& tip : m_tips) {
                if (tip.strText.Left(m_nTyped) == strPrefix)
                    keep.push_back(tip);
                else
                    DestroyTip(tip);
            }
            m_tips.swap(keep);
            return 1;
        }
        if (!m_tips[i].bEnabled) {
            ::MessageBeep(0);
            return 1;
        }
        // The tips go before the tip acts; the tip's objects and the bar
        // stay alive until it has.
        Tip tip = m_tips[i];
        tip.hWnd = NULL;
        AddRefTip(tip);
        CQXPCommandBar* pBar = m_pBar;
        pBar->InternalAddRef();
        Hide();
        if (::IsWindow(pBar->GetSafeHwnd()))
            pBar->OnKeyboardTip(&tip);
        pBar->InternalRelease();
        ReleaseTip(tip);
        return 1;
    }
    ::MessageBeep(0);
    return 1;
}

// ---------------------------------------------------------------------------
// The manager's side: the option, the tip level and the one set of tips on
// screen.

void CQXPCommandBars::EnableKeyboardTips(BOOL bEnable)
{
    m_pOptions->m_bKeyboardTips = bEnable ? TRUE : FALSE;
    if (!m_pOptions->m_bKeyboardTips)
        CancelKeyboardTips();
}

BOOL CQXPCommandBars::ShowKeyboardTips(CQXPCommandBar* pBar, int nLevel)
{
    HideKeyboardTips();
    if (!m_pOptions->m_bKeyboardTips || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return FALSE;
    if (!m_pKeyboardTips)
        m_pKeyboardTips = new CQXPKeyboardTips(this);
    m_nKeyboardTipsLevel = std::max(1, nLevel);
    return m_pKeyboardTips->Show(pBar, m_nKeyboardTipsLevel);
}

void CQXPCommandBars::HideKeyboardTips()
{
    if (m_pKeyboardTips)
        m_pKeyboardTips->Hide();
}

void CQXPCommandBars::CancelKeyboardTips()
{
    m_nKeyboardTipsLevel = 0;
    HideKeyboardTips();
}

void CQXPCommandBars::QueueKeyboardTips(CQXPCommandBar* pBar, int nLevel)
{
    if (!m_pOptions->m_bKeyboardTips || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    m_nKeyboardTipsLevel = std::max(1, nLevel);
    ::PostMessageA(pBar->GetSafeHwnd(), WM_TIMER, QXP_TID_SHOWKEYTIPS, 0);
}

void CQXPCommandBars::OnTrackingModeChanged(CQXPCommandBar* pBar, int nMode)
{
    (void)pBar;
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    int nTracked = pMouse->GetTrackedCount();
    if (m_nKeyboardTipsLevel > 0 && m_pOptions->m_bKeyboardTips) {
        // The tips belong to the bar that tracked before; the newest
        // tracking bar asks for its own once the change has settled.
        HideKeyboardTips();
        CQXPCommandBar* pNewest = nTracked > 0 ? pMouse->GetTrackedBar(nTracked - 1) : NULL;
        if (pNewest && ::IsWindow(pNewest->GetSafeHwnd()))
            ::PostMessageA(pNewest->GetSafeHwnd(), WM_TIMER, QXP_TID_SHOWKEYTIPS, 0);
    }
    if (!nMode && nTracked == 0) {
        CancelKeyboardTips();
        ShowKeyboardCues(FALSE); // dynamic underlines go with the menus
    }
}

void CQXPCommandBars::OnShowKeyboardTipsTimer(CQXPCommandBar* pBar)
{
    // The timer was posted: by now the bar may have stopped tracking, lost
    // its window, or the user may have left the tips.
    if (!pBar || !m_pOptions->m_bKeyboardTips || m_nKeyboardTipsLevel <= 0 || !pBar->IsTrackingMode() ||
        !::IsWindow(pBar->GetSafeHwnd()) || !::IsWindowVisible(pBar->GetSafeHwnd()))
        return;
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    int nTracked = pMouse->GetTrackedCount();
    if (nTracked <= 0 || pMouse->GetTrackedBar(nTracked - 1) != pBar)
        return;
    if (pBar->IsShowingKeyboardTips() || !pBar->IsKeyboardEntered() || pBar->GetPopupedIndex() != -1)
        return;
    ShowKeyboardTips(pBar, pBar->GetKeyboardTipsDepth());
}

void CQXPCommandBars::SetTrackingToolbar(CQXPCommandBar* pBar, int nDirection)
{
    auto isShown = [](CQXPToolBar* p) {
        return p->IsVisible() && ::IsWindow(p->GetSafeHwnd()) && ::IsWindowVisible(p->GetSafeHwnd());
    };
    std::vector<CQXPToolBar*> shown;
    for (CQXPToolBar* p : m_arrBars)
        if (isShown(p))
            shown.push_back(p);
    auto it = std::find(shown.begin(), shown.end(), pBar);
    CQXPToolBar* pTarget = NULL;
    if (nDirection == 0) {
        if (it == shown.end())
            return; // not a shown bar of this manager (or removed meanwhile)
        pTarget = *it;
    } else {
        if (shown.size() < 2)
            return;
        if (it == shown.end()) {
            pTarget = nDirection > 0 ? shown.front() : shown.back();
        } else {
            size_t nIndex = (size_t)(it - shown.begin());
            size_t nCount = shown.size();
            nIndex = nDirection > 0 ? (nIndex + 1) % nCount : (nIndex + nCount - 1) % nCount;
            pTarget = shown[nIndex];
        }
    }
    pTarget->InternalAddRef();
    ClosePopups();
    m_nKeyboardTipsLevel = 1;
    if (::IsWindow(pTarget->GetSafeHwnd()))
        pTarget->SetTrackingMode(TRUE, TRUE, TRUE);
    if (!pTarget->IsTrackingMode())
        m_nKeyboardTipsLevel = 0;
    pTarget->InternalRelease();
}
