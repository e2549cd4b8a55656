// The command bars' text box: the edit window, its rich edit library, shell
// auto-completion, and the edit control with its label, hint and spin
// buttons.

#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/drawing.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/propexchange.h>
#include <qx/tooltips.h>

#include <richedit.h>

#include <vector>

// ===========================================================================
// Rich edit library

QxpRichEditLibrary::QxpRichEditLibrary() : m_hModule(NULL), m_nVersion(0)
{
    m_hModule = ::LoadLibraryA("RICHED20.DLL");
    if (m_hModule) {
        m_strClass = "RichEdit20A";
        m_nVersion = 1;
        return;
    }
    m_hModule = ::LoadLibraryA("RICHED32.DLL");
    if (m_hModule)
        m_strClass = "RICHEDIT";
}

QxpRichEditLibrary* AFXAPI QxpRichEditLibrary::Instance()
{
    // Kept until the process ends: edit windows may outlive any owner.
    static QxpRichEditLibrary* s_pLibrary = new QxpRichEditLibrary;
    return s_pLibrary;
}

// ===========================================================================
// Focused controls of the thread

namespace {
thread_local int t_nFocusedEdits = 0;
}

int AFXAPI QxpGetFocusedEditCount() { return t_nFocusedEdits; }

void AFXAPI QxpAddFocusedEdit(int nDelta)
{
    t_nFocusedEdits += nDelta;
    if (t_nFocusedEdits < 0)
        t_nFocusedEdits = 0;
}

int CQXPFocusKeySink::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    (void)hWnd;
    (void)lResult;
    if (nMessage != WM_KEYDOWN || !m_pfn)
        return kNotHandled;
    switch (m_pfn(m_pOwner, (UINT)wParam, lParam)) {
    case 1:
        return kHandled;
    case 2:
        return kStopChain;
    default:
        return kNotHandled;
    }
}

// ===========================================================================
// Helpers

namespace qxpedit {

BOOL IsEditDialogKey(UINT nKey)
{
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    if (bCtrl && (nKey == 'C' || nKey == 'V' || nKey == 'X' || nKey == 'Z'))
        return TRUE;
    return nKey == VK_BACK || (nKey >= VK_PRIOR && nKey <= VK_DELETE);
}

BOOL SendDialogKey(HWND hWndEdit, UINT nKey, LPARAM lParam)
{
    if (!hWndEdit || !::IsWindow(hWndEdit))
        return FALSE;
    MSG msg;
    ZeroMemory(&msg, sizeof(msg));
    msg.hwnd = hWndEdit;
    msg.message = WM_KEYDOWN;
    msg.wParam = nKey;
    msg.lParam = lParam;
    msg.time = ::GetMessageTime();
    // Translated first, so that Backspace and the Ctrl letters arrive as the
    // characters the edit window acts on.
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    return TRUE;
}

void ApplyColors(CQXPEdit* pEdit, COLORREF clrText, COLORREF clrBack)
{
    if (!pEdit || !::IsWindow(pEdit->GetSafeHwnd()))
        return;
    if (pEdit->IsRichEdit()) {
        CHARFORMAT2A cf;
        ZeroMemory(&cf, sizeof(cf));
        cf.cbSize = QxpRichEditLibrary::Instance()->GetVersion() == 1 ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
        cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
        cf.crTextColor = clrText;
        cf.crBackColor = clrBack;
        pEdit->SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
        pEdit->SendMessage(EM_SETBKGNDCOLOR, 0, (LPARAM)clrBack);
    }
    ::InvalidateRect(pEdit->GetSafeHwnd(), NULL, TRUE);
}

} // namespace qxpedit

// ===========================================================================
// CQXPEdit

IMPLEMENT_DYNAMIC(CQXPEdit, CEdit)

// The context menu's commands (cut, copy, paste) and their states.
// The frame offers its edit commands to the focused box first, so these
// work on the box's text (Ctrl+A, Ctrl+Z and Delete from the frame's menus).
BEGIN_MESSAGE_MAP(CQXPEdit, CEdit)
    ON_COMMAND(57635, OnEditCut)
    ON_COMMAND(57634, OnEditCopy)
    ON_COMMAND(57637, OnEditPaste)
    ON_COMMAND(57632, OnEditClear)
    ON_COMMAND(57642, OnEditSelectAll)
    ON_COMMAND(57643, OnEditUndo)
    ON_UPDATE_COMMAND_UI(57635, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(57634, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(57637, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(57632, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(57642, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(57643, OnUpdateEditCommand)
END_MESSAGE_MAP()

void CQXPEdit::OnEditCut() { SendMessage(WM_CUT, 0, 0); }
void CQXPEdit::OnEditCopy() { SendMessage(WM_COPY, 0, 0); }
void CQXPEdit::OnEditPaste() { SendMessage(WM_PASTE, 0, 0); }
void CQXPEdit::OnEditClear() { SendMessage(WM_CLEAR, 0, 0); }
void CQXPEdit::OnEditUndo() { SendMessage(EM_UNDO, 0, 0); }
void CQXPEdit::OnEditSelectAll()
{
    // Exactly the text: a rich edit's -1 takes its paragraph mark too.
    SendMessage(EM_SETSEL, 0, (LPARAM)GetEditWindowText().GetLength());
}
void CQXPEdit::OnUpdateEditCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(IsEditCommandEnabled(pCmdUI->m_nID)); }

CQXPEdit::CQXPEdit()
    : m_bComposited(FALSE), m_bNeedsOpaque(FALSE), m_bIgnoreChange(FALSE), m_pOwner(NULL), m_bRichEdit(FALSE)
{
}

CQXPEdit::~CQXPEdit()
{
    m_pOwner = NULL;
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CQXPEdit::CreateEdit(DWORD dwStyle, CWnd* pParentWnd)
{
    QxpRichEditLibrary* pLibrary = QxpRichEditLibrary::Instance();
    CRect rcEmpty(0, 0, 0, 0);
    if (pLibrary->IsLoaded() &&
        CreateEx(0, pLibrary->GetWindowClass(), "", dwStyle | WS_CHILD, rcEmpty, pParentWnd, 0)) {
        m_bRichEdit = TRUE;
        SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
        SendMessage(EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
        return TRUE;
    }
    m_bRichEdit = FALSE;
    return CreateEx(0, "EDIT", "", dwStyle | WS_CHILD, rcEmpty, pParentWnd, 0);
}

CString CQXPEdit::GetEditWindowText() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return CString();
    int nLength = (int)::SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    if (nLength <= 0)
        return CString();
    // The length is an upper bound (rich edit counts line ends its own way):
    // the string takes exactly the characters copied.
    std::vector<char> buffer((size_t)nLength + 1, '\0');
    int nCopied = ::GetWindowTextA(m_hWnd, buffer.data(), nLength + 1);
    if (nCopied <= 0)
        return CString();
    if (nCopied > nLength)
        nCopied = nLength;
    return CString(buffer.data(), nCopied);
}

namespace {
const UINT kIdEditCopy = 57634;
const UINT kIdEditCut = 57635;
const UINT kIdEditPaste = 57637;
const UINT kIdEditClear = 57632;
const UINT kIdEditSelectAll = 57642;
const UINT kIdEditUndo = 57643;
} // namespace

BOOL CQXPEdit::IsEditCommandEnabled(UINT nID) const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    // A rich edit counts its closing paragraph mark in a select-all.
    DWORD dwLength = (DWORD)GetEditWindowText().GetLength();
    if (dwEnd > dwLength)
        dwEnd = dwLength;
    BOOL bReadOnly = (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ES_READONLY) != 0;
    switch (nID) {
    case kIdEditCut:
    case kIdEditClear:
        return dwStart < dwEnd && !bReadOnly;
    case kIdEditCopy:
        return dwStart < dwEnd;
    case kIdEditPaste:
        return !bReadOnly && ::IsClipboardFormatAvailable(CF_TEXT);
    case kIdEditSelectAll:
        return dwLength > 0;
    case kIdEditUndo:
        return !bReadOnly && ::SendMessageA(m_hWnd, EM_CANUNDO, 0, 0) != 0;
    default:
        return FALSE;
    }
}

BOOL CQXPEdit::ShowContextMenu(CPoint ptClient)
{
    CQXPCommandBar* pBar = m_pOwner ? m_pOwner->GetEditBar() : NULL;
    if (!pBar || pBar->IsCustomizeMode())
        return FALSE;
    CString strCut;
    if (!strCut.LoadString(kIdEditCut))
        return FALSE;
    HWND hWnd = m_hWnd;
    // The menu is modal: the box does not count as focused meanwhile.
    QxpAddFocusedEdit(-1);
    CPoint ptScreen = ptClient;
    ClientToScreen(&ptScreen);
    // The select-all posted by the focus handling happens now, not after.
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, EM_SETSEL, EM_SETSEL, PM_REMOVE))
        ::DispatchMessageA(&msg);

    CMenu menu;
    menu.CreatePopupMenu();
    const struct {
        UINT nID;
        LPCSTR lpszText;
    } items[] = {{kIdEditCut, "Cu&t"}, {kIdEditCopy, "&Copy"}, {kIdEditPaste, "&Paste"}};
    for (const auto& item : items)
        ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING | (IsEditCommandEnabled(item.nID) ? 0 : MF_GRAYED), item.nID,
                      item.lpszText);
    BOOL bRTL = (::GetWindowLongPtrA(pBar->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    UINT nFlags = bRTL ? 0x189 : 0x181;
    CQXPCommandBars* pCommandBars = pBar->GetCommandBars();
    int nCmd = 0;
    if (pCommandBars)
        nCmd = pCommandBars->TrackPopupMenu(&menu, nFlags, ptScreen.x, ptScreen.y, this);
    else
        nCmd = (int)::TrackPopupMenu(menu.GetSafeHmenu(), nFlags, ptScreen.x, ptScreen.y, 0, hWnd, NULL);
    menu.DestroyMenu();
    if (nCmd != 0 && ::IsWindow(hWnd))
        ::SendMessageA(hWnd, WM_COMMAND, (WPARAM)nCmd, 0);
    QxpAddFocusedEdit(+1);
    if (::IsWindow(pBar->GetSafeHwnd()))
        ::RedrawWindow(pBar->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    return TRUE;
}

BOOL CQXPEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        if (!m_bIgnoreChange && m_pOwner)
            m_pOwner->OnEditTextChanged();
        if (pResult)
            *pResult = 0;
        return TRUE;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, pResult);
}

void CQXPEdit::FilterBarToolTip(UINT message, WPARAM wParam, LPARAM lParam)
{
    CQXPCommandBar* pBar = m_pOwner ? m_pOwner->GetEditBar() : NULL;
    CQXPToolTipContext* pContext = pBar ? pBar->GetToolTipContext() : NULL;
    if (!pContext || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    // Mouse points go over in the bar's coordinates. Moves reach the
    // context through the bar itself (WM_MOUSEMOVE below).
    if (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
        if (message == WM_MOUSEMOVE)
            return;
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ::MapWindowPoints(m_hWnd, pBar->GetSafeHwnd(), &pt, 1);
        lParam = MAKELPARAM(pt.x, pt.y);
    }
    pContext->InternalAddRef();
    pContext->FilterMessage(pBar, message, wParam, lParam);
    pContext->InternalRelease();
}

LRESULT CQXPEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control's tooltip works over the text box: the bar's tooltip
    // context sees every message first (a key or a click puts the tip away).
    FilterBarToolTip(message, wParam, lParam);
    switch (message) {
    case WM_TOOLTIP_FORWARDTOPARENT:
        return 1;
    case WM_CONTEXTMENU:
        // No system edit menu.
        return 0;
    case WM_IME_STARTCOMPOSITION:
        m_bComposited = TRUE;
        break;
    case WM_IME_ENDCOMPOSITION:
        m_bComposited = FALSE;
        break;
    case WM_SETFOCUS: {
        CQXPCommandBar* pBar = m_pOwner ? m_pOwner->GetEditBar() : NULL;
        if (m_pOwner && !(pBar && pBar->IsCustomizeMode()))
            m_pOwner->OnEditSetFocus((HWND)wParam);
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        if (::IsWindow(m_hWnd)) {
            ::SendMessageA(m_hWnd, EM_SETSEL, 0, 0);
            ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
            // The whole text ends up selected once the click is processed.
            ::PostMessageA(m_hWnd, EM_SETSEL, 0, -1);
        }
        return lResult;
    }
    case WM_KILLFOCUS: {
        m_bComposited = FALSE;
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        if (m_pOwner)
            m_pOwner->OnEditKillFocus();
        return lResult;
    }
    case WM_RBUTTONDOWN:
        if (m_pOwner && m_pOwner->OnEditRButtonDown(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))))
            return 0;
        break;
    case WM_RBUTTONUP:
        if (ShowContextMenu(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))))
            return 0;
        break;
    case WM_MOUSEMOVE: {
        // Hot tracking of the bar under the text box.
        CQXPCommandBar* pBar = m_pOwner ? m_pOwner->GetEditBar() : NULL;
        if (pBar && ::IsWindow(pBar->GetSafeHwnd())) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::MapWindowPoints(m_hWnd, pBar->GetSafeHwnd(), &pt, 1);
            pBar->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y));
        }
        break;
    }
    case WM_MOUSEWHEEL:
        if (m_pOwner && m_pOwner->OnEditMouseWheel((short)HIWORD(wParam)))
            return 0;
        break;
    case WM_AUTOSUGGEST_SHOWN:
        if (m_pOwner)
            m_pOwner->OnAutoSuggestShown();
        return 0;
    case WM_PAINT:
        if (m_bNeedsOpaque) {
            LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
            HDC hdc = ::GetDC(m_hWnd);
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            MakeRectOpaque(hdc, &rc);
            ::ReleaseDC(m_hWnd, hdc);
            return lResult;
        }
        break;
    case WM_DESTROY:
        if (m_pOwner)
            m_pOwner->OnEditDestroying(GetEditWindowText());
        break;
    default:
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// ===========================================================================
// ShellAutoComplete

namespace {
// The one window-procedure hook of the thread and the object it serves.
thread_local HHOOK t_hAutoCompleteHook = NULL;
thread_local ShellAutoComplete* t_pAutoCompleteWatcher = NULL;
} // namespace

ShellAutoComplete::ShellAutoComplete(HWND hWndEdit) : m_hWndDropDown(NULL), m_hWndEdit(hWndEdit), m_bWatching(FALSE) {}

ShellAutoComplete::~ShellAutoComplete() { StopWatch(); }

HRESULT ShellAutoComplete::Setup(DWORD dwFlags)
{
    typedef HRESULT(WINAPI * PFNSHAUTOCOMPLETE)(HWND, DWORD);
    HMODULE hModule = ::LoadLibraryA("shlwapi.dll");
    if (!hModule)
        return E_FAIL;
    PFNSHAUTOCOMPLETE pfn = (PFNSHAUTOCOMPLETE)(void*)::GetProcAddress(hModule, "SHAutoComplete");
    HRESULT hr = pfn ? pfn(m_hWndEdit, dwFlags) : E_FAIL;
    ::FreeLibrary(hModule);
    return hr;
}

void ShellAutoComplete::StartWatch()
{
    if (m_bWatching)
        return;
    m_bWatching = TRUE;
    if (!t_hAutoCompleteHook) {
        t_hAutoCompleteHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, NULL, ::GetCurrentThreadId());
        t_pAutoCompleteWatcher = this;
    }
    CKeyboardHook::Instance()->Install(this);
}

void ShellAutoComplete::StopWatch()
{
    if (!m_bWatching)
        return;
    m_bWatching = FALSE;
    if (t_pAutoCompleteWatcher == this) {
        if (t_hAutoCompleteHook)
            ::UnhookWindowsHookEx(t_hAutoCompleteHook);
        t_hAutoCompleteHook = NULL;
        t_pAutoCompleteWatcher = NULL;
    }
    CKeyboardHook::Instance()->Uninstall(this);
    if (m_hWndDropDown)
        ToolkitMouseManager::GetInstance()->RemoveExcludedWindow(m_hWndDropDown);
    m_hWndDropDown = NULL;
}

void ShellAutoComplete::HideDropDown()
{
    if (IsDropDownVisible())
        ::ShowWindow(m_hWndDropDown, SW_HIDE);
}

BOOL ShellAutoComplete::ProcessKey(UINT nKey)
{
    if (!IsDropDownVisible() || ::GetKeyState(VK_MENU) < 0)
        return FALSE;
    if (nKey != VK_PRIOR && nKey != VK_NEXT && nKey != VK_UP && nKey != VK_DOWN)
        return FALSE;
    // The list is the last child of the dropdown's first child.
    HWND hWndFirst = ::GetWindow(m_hWndDropDown, GW_CHILD);
    HWND hWndList = hWndFirst ? ::GetWindow(hWndFirst, GW_CHILD) : NULL;
    if (hWndList)
        hWndList = ::GetWindow(hWndList, GW_HWNDLAST);
    if (!hWndList)
        return FALSE;
    qxpedit::SendDialogKey(hWndList, nKey, 0);
    return TRUE;
}

int ShellAutoComplete::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    (void)hWnd;
    (void)wParam;
    (void)lParam;
    (void)lResult;
    if (nMessage == WM_MOUSEWHEEL && IsDropDownVisible())
        return kStopChain;
    return kNotHandled;
}

void ShellAutoComplete::OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos)
{
    if (!m_hWndDropDown && (pPos->flags & SWP_SHOWWINDOW)) {
        char szClass[64] = "";
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (lstrcmpA(szClass, "Auto-Suggest Dropdown") == 0) {
            m_hWndDropDown = hWnd;
            ToolkitMouseManager::GetInstance()->AddExcludedWindow(hWnd);
            ::PostMessageA(m_hWndEdit, WM_AUTOSUGGEST_SHOWN, 0, 0);
        }
    } else if (hWnd == m_hWndDropDown && (pPos->flags & SWP_HIDEWINDOW)) {
        ToolkitMouseManager::GetInstance()->RemoveExcludedWindow(hWnd);
        m_hWndDropDown = NULL;
    }
}

LRESULT CALLBACK ShellAutoComplete::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = t_hAutoCompleteHook;
    if (nCode == HC_ACTION && lParam && t_pAutoCompleteWatcher) {
        const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (p->message == WM_WINDOWPOSCHANGING && p->lParam)
            t_pAutoCompleteWatcher->OnWindowPosChanging(p->hwnd, reinterpret_cast<const WINDOWPOS*>(p->lParam));
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

// ===========================================================================
// CQXPControlEdit

IMPLEMENT_DYNCREATE(CQXPControlEdit, CQXPControlButton)

CQXPControlEdit::CQXPControlEdit()
    : CQXPEditBox(this, TRUE, EN_SETFOCUS, EN_KILLFOCUS), m_bHasLabel(FALSE), m_bReadOnly(FALSE),
      m_bShowSpinButtons(FALSE), m_nSpinHot(0), m_nSpinPressed(0)
{
    m_controlType = qxpControlEdit;
    m_nWidth = 100;
}

CQXPControlEdit::~CQXPControlEdit() {}

// --- options ------------------------------------------------------------------

void CQXPControlEdit::ShowLabel(BOOL bShow)
{
    if (m_bHasLabel == bShow)
        return;
    m_bHasLabel = bShow;
    DelayLayoutParent();
}

void CQXPControlEdit::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd()))
        m_pEdit->SendMessage(EM_SETREADONLY, bReadOnly, 0);
}

void CQXPControlEdit::ShowSpinButtons(BOOL bShow)
{
    if (m_bShowSpinButtons == bShow)
        return;
    m_bShowSpinButtons = bShow;
    m_bReposition = TRUE;
    DelayLayoutParent();
}

ShellAutoComplete* AFXAPI QxpCreateShellAutoComplete(CWnd* pEdit, DWORD dwFlags)
{
    if (pEdit == NULL || !::IsWindow(pEdit->GetSafeHwnd()) || dwFlags == 0)
        return NULL;
    ShellAutoComplete* pAutoComplete = new ShellAutoComplete(pEdit->GetSafeHwnd());
    if (FAILED(pAutoComplete->Setup(dwFlags))) {
        delete pAutoComplete;
        return NULL;
    }
    return pAutoComplete;
}

BOOL AFXAPI QxpIsBoxCaptionVisible(const CQXPControl* pControl, BOOL bOtherwise)
{
    if (pControl->GetParent() && pControl->GetParent()->GetType() == qxpBarTypePopup)
        return TRUE;
    if (pControl->GetCaption().IsEmpty())
        return FALSE;
    int nStyle = pControl->GetStyle();
    if (nStyle == qxpButtonCaption || nStyle == qxpButtonIconAndCaption || nStyle == qxpButtonIconAndCaptionBelow)
        return TRUE;
    return bOtherwise;
}

void AFXAPI QxpGetBoxCharFormat(CQXPControl* pControl, BOOL bHintShown, COLORREF* pclrText, COLORREF* pclrBack)
{
    CQXPThemePainter* pPaintManager = pControl->GetPaintManager();
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    *pclrText = pColors->GetColor(pControl->GetEnabled() && !bHintShown ? 8 : 17);
    *pclrBack = pPaintManager->GetControlEditBackColor(pControl);
}

BOOL CQXPControlEdit::IsCaptionVisible() const
{
    return QxpIsBoxCaptionVisible(this, m_bHasLabel);
}

// --- the window ------------------------------------------------------------------

void CQXPControlEdit::OnEditWindowReady()
{
    m_pEdit->SendMessage(EM_SETREADONLY, m_bReadOnly, 0);
}

CRect CQXPControlEdit::GetEditWindowRect()
{
    CRect rc = m_rcControl;
    return CRect(rc.left + m_layout.nLabelWidth + 4, rc.top + 3, rc.right - (m_bShowSpinButtons ? 20 : 3),
                 rc.bottom - 3);
}

void CQXPControlEdit::SetRect(const CRect& rc)
{
    OnBoxRectChanged(rc);
}

void CQXPControlEdit::SetParent(CQXPCommandBar* pParent)
{
    if (pParent == m_pParent) {
        CQXPControlButton::SetParent(pParent);
        return;
    }
    if (!pParent) {
        DestroyEditWindow();
    } else {
        m_bReposition = TRUE;
    }
    CQXPControlButton::SetParent(pParent);
}

void CQXPControlEdit::SetHideFlags(DWORD dwFlags)
{
    if (dwFlags == m_dwHideFlags)
        return;
    CQXPControlButton::SetHideFlags(dwFlags);
    OnBoxHideFlagsChanged();
}

void CQXPControlEdit::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    CQXPControlButton::SetEnabled(bEnabled);
    OnBoxEnabledChanged();
}

void CQXPControlEdit::OnParentDestroying()
{
    DestroyEditWindow();
}

void CQXPControlEdit::OnRemoved()
{
    if (m_bFocused)
        SetFocused(FALSE);
    DestroyEditWindow();
    CQXPControlButton::OnRemoved();
}

void CQXPControlEdit::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControlButton::Copy(pControl, bRecursive);
    CQXPControlEdit* pOther = dynamic_cast<CQXPControlEdit*>(pControl);
    if (!pOther)
        return;
    m_dwEditStyle = pOther->m_dwEditStyle;
    m_strEditHint = pOther->m_strEditHint;
    SetEditTextOrHint(pOther->GetEditTextWithoutHint());
    m_bHasLabel = pOther->m_bHasLabel;
    m_bReadOnly = pOther->m_bReadOnly;
    m_dwShellAutoCompleteFlags = pOther->m_dwShellAutoCompleteFlags;
    m_bShowSpinButtons = pOther->m_bShowSpinButtons;
}

void CQXPControlEdit::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPControlButton::DoPropExchange(pPX);
    UINT nSchema = pPX->GetSchema();
    if (nSchema > 5) {
        ExchangeBoolProp(pPX, "HasLabel", &m_bHasLabel, FALSE);
        ExchangeIntProp(pPX, "Width", &m_nWidth, 0);
    }
    if (nSchema > 7)
        ExchangeBoolProp(pPX, "ReadOnly", &m_bReadOnly, FALSE);
    if (nSchema > 8) {
        ExchangeTextPropDefault(pPX, "EditHint", &m_strEditHint, "");
        UINT nFlags = m_dwShellAutoCompleteFlags;
        ExchangeIntProp(pPX, "ShellAutoCompleteFlags", &nFlags, 0u);
        m_dwShellAutoCompleteFlags = nFlags;
    }
    if (nSchema > 16) {
        UINT nStyle = m_dwEditStyle;
        ExchangeIntProp(pPX, "EditStyle", &nStyle, 0u);
        m_dwEditStyle = nStyle;
    }
    if (nSchema > 18)
        ExchangeBoolProp(pPX, "ShowSpinButtons", &m_bShowSpinButtons, FALSE);
    if (pPX->IsLoading()) {
        m_bReposition = TRUE;
        SetShellAutoCompleteFlags(m_dwShellAutoCompleteFlags);
    }
}

// --- focus ----------------------------------------------------------------------------

void CQXPControlEdit::OnSetFocus(HWND hWndOld)
{
    NoteFocusArrival(hWndOld);
    if (m_pParent && !m_bFocused)
        m_pParent->SetSelected(-1, 0);
    SetFocused(TRUE);
    if (m_pAutoComplete)
        m_pAutoComplete->StartWatch();
}

void CQXPControlEdit::OnKillFocus()
{
    if (GetEditText().IsEmpty() && !GetEffectiveHint().IsEmpty())
        SetEditText(GetEffectiveHint());
    SetFocused(FALSE);
    if (m_pAutoComplete)
        m_pAutoComplete->StopWatch();
}

BOOL CQXPControlEdit::OnSetSelected(int bSelected)
{
    BOOL bResult = CQXPControlButton::OnSetSelected(bSelected);
    // The bar left its tracking mode: the box lets the focus go.
    if (bSelected == 0 && m_bFocused && m_pParent && !m_pParent->IsTrackingMode())
        SetFocused(FALSE);
    return bResult;
}

// --- keys ----------------------------------------------------------------------------

int CQXPControlEdit::ProcessKey(UINT nKey, LPARAM lParam)
{
    if (!m_bFocused || !m_pEdit || !::IsWindow(m_pEdit->GetSafeHwnd()))
        return 0;
    if (m_pEdit->m_bComposited)
        return 2;
    BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    switch (nKey) {
    case VK_TAB:
        return 0;
    case VK_RETURN:
        // The bar executes its selected control: make sure that is us.
        if (m_pParent && m_pParent->IsTrackingMode()) {
            if (m_pParent->GetSelectedIndex() != m_nIndex)
                m_pParent->SetSelected(m_nIndex, 2);
            return 0;
        }
        OnClick(TRUE);
        return 1;
    case VK_ESCAPE: {
        BOOL bPopup = m_pParent && m_pParent->GetType() == qxpBarTypePopup;
        SetEditTextOrHint(m_strTextAtFocus);
        SetFocused(FALSE);
        return bPopup ? 1 : 0;
    }
    default:
        break;
    }
    if (bAlt && !bCtrl) {
        CQXPCommandBars* pCommandBars = GetCommandBars();
        UINT nChar = ::MapVirtualKeyA(nKey, 2) & 0x7FFF;
        if (pCommandBars && nChar && pCommandBars->GetMenuBar()) {
            CQXPControls* pControls = pCommandBars->GetMenuBar()->GetControls();
            for (int i = 0; i < pControls->GetCount(); i++) {
                CString strCaption = pControls->GetAt(i)->GetCaption();
                int nAmp = strCaption.Find('&');
                if (nAmp >= 0 && nAmp + 1 < strCaption.GetLength() &&
                    ::CharUpperA((LPSTR)(UINT_PTR)(BYTE)strCaption[nAmp + 1]) == ::CharUpperA((LPSTR)(UINT_PTR)nChar))
                    return 1;
            }
        }
    }
    if ((nKey == VK_UP || nKey == VK_DOWN) && m_bShowSpinButtons) {
        Spin(1, nKey == VK_UP ? +1 : -1);
        if (m_pEdit && ::GetFocus() == m_pEdit->GetSafeHwnd())
            m_pEdit->SendMessage(EM_SETSEL, 0, -1);
        return 1;
    }
    if (m_pAutoComplete && !bAlt && m_pAutoComplete->ProcessKey(nKey))
        return 1;
    if (qxpedit::IsEditDialogKey(nKey))
        return qxpedit::SendDialogKey(m_pEdit->GetSafeHwnd(), nKey, lParam) ? 1 : 2;
    return 2;
}

// --- text changes ------------------------------------------------------------------------

void CQXPControlEdit::OnEditTextChanged()
{
    m_bTextDirty = TRUE;
    if (m_pEdit && ::GetFocus() == m_pEdit->GetSafeHwnd() && !m_pEdit->m_bComposited)
        OnEditChanged();
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd())) {
        m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        UpdateColors();
    }
}

void CQXPControlEdit::OnEditChanged()
{
    NotifySite(EN_CHANGE);
}

BOOL CQXPControlEdit::OnEditRButtonDown(CPoint ptClient)
{
    (void)ptClient;
    if (IsCustomizeMode())
        return TRUE;
    if (!m_bFocused && m_pEdit)
        m_pEdit->SetFocus();
    return FALSE;
}

// --- mouse and spin buttons ----------------------------------------------------------

CRect CQXPControlEdit::GetSpinRect() const
{
    if (!m_bShowSpinButtons)
        return CRect(0, 0, 0, 0);
    return CRect(m_rcControl.right - 18, m_rcControl.top + 1, m_rcControl.right - 1, m_rcControl.bottom - 1);
}

void CQXPControlEdit::OnMouseMove(CPoint pt)
{
    int nHot = 0;
    CRect rcSpin = GetSpinRect();
    if (!rcSpin.IsRectEmpty() && rcSpin.PtInRect(pt))
        nHot = pt.y < rcSpin.top + rcSpin.Height() / 2 ? 1 : 2;
    if (nHot != m_nSpinHot) {
        m_nSpinHot = nHot;
        RedrawParent();
    }
}

void CQXPControlEdit::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (IsCustomizeMode()) {
        CQXPControlButton::OnClick(bKeyboard, pt);
        return;
    }
    if (!GetEnabled())
        return;
    if (bKeyboard) {
        if (m_bFocused)
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    CRect rcSpin = GetSpinRect();
    if (!rcSpin.IsRectEmpty() && rcSpin.PtInRect(pt)) {
        SpinPress(pt.y < rcSpin.top + rcSpin.Height() / 2 ? 1 : 2);
        return;
    }
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd()))
        m_pEdit->SetFocus();
}

void CQXPControlEdit::SpinPress(int nHalf)
{
    CQXPCommandBar* pBar = m_pParent;
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    HWND hWndBar = pBar->GetSafeHwnd();
    int nDirection = nHalf == 1 ? +1 : -1;
    CRect rcSpin = GetSpinRect();
    CRect rcHalf = rcSpin;
    if (nHalf == 1)
        rcHalf.bottom = rcSpin.top + rcSpin.Height() / 2;
    else
        rcHalf.top = rcSpin.top + rcSpin.Height() / 2;

    InternalAddRef();
    pBar->SetSelected(m_nIndex, 1);
    m_nSpinPressed = nHalf;
    RedrawParent();
    Spin(1, nDirection);

    ::SetCapture(hWndBar);
    ::SetTimer(hWndBar, QXP_TID_SPIN, 530, NULL);
    DWORD dwHoldStart = ::GetTickCount();
    BOOL bFirstTick = TRUE;
    while (::GetCapture() == hWndBar && m_pParent == pBar) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWndBar) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            int nPressed = rcHalf.PtInRect(pt) ? nHalf : 0;
            if (nPressed != m_nSpinPressed) {
                m_nSpinPressed = nPressed;
                RedrawParent();
            }
            dwHoldStart = ::GetTickCount();
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWndBar && msg.wParam == QXP_TID_SPIN) {
            if (m_nSpinPressed) {
                DWORD dwHeld = ::GetTickCount() - dwHoldStart;
                Spin(dwHeld >= 5120 ? 20 : dwHeld >= 2048 ? 5
                                                          : 1,
                     nDirection);
            }
            if (bFirstTick) {
                bFirstTick = FALSE;
                ::SetTimer(hWndBar, QXP_TID_SPIN, 100, NULL);
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::IsWindow(hWndBar))
        ::KillTimer(hWndBar, QXP_TID_SPIN);
    if (::GetCapture() == hWndBar)
        ::ReleaseCapture();
    m_nSpinPressed = 0;
    RedrawParent();
    if (m_pParent == pBar && ::IsWindow(hWndBar) && pBar->GetPosition() != qxpBarPopup && !m_bFocused)
        pBar->SetSelected(-1, 0);
    InternalRelease();
}

void CQXPControlEdit::Spin(int nCount, int nDirection)
{
    if (nCount < 1)
        nCount = 1;
    int nSign = nDirection > 0 ? +1 : -1;
    NMQXPSPIN nm;
    ZeroMemory(&nm, sizeof(nm));
    nm.nDelta = nCount * nSign;
    if (NotifySiteData(nSign > 0 ? QXP_CN_SPINUP : QXP_CN_SPINDOWN, &nm.nm) != 0)
        return;
    int nValue = atoi(GetEditTextWithoutHint()) + nCount * nSign;
    // On to the next multiple of the step in the spin direction.
    while (nValue % nCount != 0)
        nValue += nSign;
    CString strValue;
    strValue.Format("%i", nValue);
    SetEditText(strValue);
    NotifySite(QXP_CN_EXECUTE);
}
