// The command bar window: selection and tracking (the keyboard, popups
// and the bar that has the menu loop).

#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/cbaccess.h>
#include <qx/controlcombo.h>
#include <qx/controledit.h>
#include <qx/keytips.h>
#include <qx/listcontrols.h>
#include <qx/mousemanager.h>
#include <qx/drawing.h>
#include <qx/images.h>
#include <qx/tooltips.h>

#include <algorithm>

namespace {

// Hands the thread's key presses to a tracking bar.
class CQXPBarKeyboardSink : public CWindowHook {
public:
    explicit CQXPBarKeyboardSink(CQXPCommandBar* pBar) : m_pBar(pBar) {}
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
    {
        (void)hWnd;
        (void)lResult;
        if (nMessage == WM_MOUSEWHEEL) {
            // The wheel goes to the selected control first (a combo box
            // steps its list), then to a popup whose list scrolls.
            CQXPControl* pSelected = m_pBar->GetSelected();
            if (pSelected) {
                CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
                pSelected->InternalAddRef();
                BOOL bHandled = pSelected->OnHookMouseWheel(LOWORD(wParam), (short)HIWORD(wParam), pt);
                pSelected->InternalRelease();
                if (bHandled)
                    return kHandled;
            }
            CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pBar);
            if (pPopup && pPopup->IsScrolling() && ::IsWindow(pPopup->GetSafeHwnd()) &&
                ::SendMessageA(pPopup->GetSafeHwnd(), WM_MOUSEWHEEL, wParam, lParam) != 0)
                return kHandled;
            return kNotHandled;
        }
        if (nMessage != WM_KEYDOWN)
            return kNotHandled;
        m_pBar->m_lHookKeyData = lParam;
        return m_pBar->ProcessHookKeyDown((UINT)wParam);
    }

private:
    CQXPCommandBar* m_pBar;
};

} // namespace

// ---------------------------------------------------------------------------
// Selection and tracking

BOOL CQXPCommandBar::SetSelected(int nSelected, int nHow)
{
    if (nSelected == m_nSelected)
        return FALSE;
    CQXPControl* pShown = nHow >= 2 ? m_pControls->GetAt(nSelected) : NULL;
    if (pShown) {
        // From the keyboard the control first comes into view; the bar
        // may lay its controls out again meanwhile.
        pShown->InternalAddRef();
        EnsureVisible(pShown);
        nSelected = pShown->GetControls() == m_pControls ? pShown->GetIndex() : -1;
        pShown->InternalRelease();
        if (nSelected == m_nSelected)
            return FALSE;
    }
    m_nKeyboardEntry = nHow >= 2 ? nHow : 0;
    CQXPControl* pOld = m_pControls->GetAt(m_nSelected);
    m_nSelected = nSelected;
    if (pOld) {
        pOld->OnMouseMove(CPoint(-1, -1));
        pOld->OnSetSelected(0);
    }
    CQXPControl* pNew = m_pControls->GetAt(nSelected);
    if (!pNew) {
        m_nSelected = -1;
        if (m_hWnd && ::IsWindow(m_hWnd))
            ::KillTimer(m_hWnd, QXP_TID_HOVER);
        return TRUE;
    }
    pNew->OnSetSelected(nHow == 0 ? 1 : nHow);
    if (m_nSelected != nSelected)
        return TRUE;
    // Accessibility clients follow the hot item of a tracking bar.
    if (m_bTracking && m_hWnd && ::IsWindow(m_hWnd))
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, nSelected + 1);
    ToolkitMouseManager::GetInstance()->SetLastSelectedBar(this);
    return TRUE;
}

BOOL CQXPCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard)
{
    if (nPopuped == m_nPopuped)
        return FALSE;
    CQXPControl* pOld = m_pControls->GetAt(m_nPopuped);
    m_nPopuped = -1;
    if (pOld)
        pOld->OnSetPopup(FALSE);
    if (nPopuped == -1)
        return TRUE;
    // Only an enabled control opens its popup.
    CQXPControl* pNew = m_pControls->GetAt(nPopuped);
    if (!pNew || !pNew->GetEnabled())
        return FALSE;
    if (pNew->GetCommandBar()) {
        // A bar that opens a menu tracks with it (mode 2): clicks on the
        // bar then belong to the menu and do not close it from outside.
        int nTrackingBefore = m_bTracking;
        BOOL bEntered = m_barType != qxpBarTypePopup && !m_bTracking;
        if (bEntered || m_bTracking)
            SetTrackingMode(2, FALSE, FALSE);
        m_nPopuped = nPopuped;
        m_bPopupingByKeyboard = bKeyboard;
        BOOL bOpened = pNew->OnSetPopup(TRUE);
        m_bPopupingByKeyboard = FALSE;
        if (!bOpened) {
            // A popup that refuses to open (its drop-down disabled) leaves
            // the bar as it was.
            m_nPopuped = -1;
            if (bEntered)
                SetTrackingMode(FALSE, FALSE, FALSE);
            else if (m_bTracking)
                m_bTracking = nTrackingBefore;
            return FALSE;
        }
        SetSelected(m_nPopuped, 1);
        // A shortened menu that stays open for a while shows in full.
        if (m_nPopuped != -1 && m_pCommandBars && m_pCommandBars->GetOptions()->m_bShowFullAfterDelay && m_hWnd &&
            ::IsWindow(m_hWnd))
            ::SetTimer(m_hWnd, QXP_TID_EXPANDPOPUP, 5000, NULL);
    }
    return TRUE;
}

int AFXAPI CQXPCommandBar::GetControlHelpId(CQXPControl* pControl)
{
    if (!pControl)
        return 0;
    if (pControl->m_nHelpId > 0)
        return pControl->m_nHelpId;
    CQXPControlAction* pAction = pControl->GetAction();
    if (pAction)
        return pAction->m_nHelpId > 0 ? pAction->m_nHelpId : pAction->GetID();
    return pControl->GetID();
}

void CQXPCommandBar::OnControlSelected(int nSelected, CQXPControl* pControl)
{
    CWnd* pSite = GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (!hWndSite || !::IsWindow(hWndSite))
        return;
    if (!nSelected)
        pControl = NULL;
    m_nHotHelpId = GetControlHelpId(pControl);
    // The site may remove the bar or the control while it is told.
    InternalAddRef();
    if (pControl)
        pControl->InternalAddRef();
    pSite->SendMessage(WM_QXP_HOTCONTROLCHANGED, (WPARAM)pControl, 0);
    // The status line shows the hot control's description, the idle
    // text when there is none.
    CString strDescription = pControl ? pControl->GetDescription() : CString();
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (::IsWindow(hWndSite) && (!pCommandBars || pCommandBars->GetOptions()->m_bStatusDescriptions)) {
        if (!strDescription.IsEmpty())
            ::SendMessageA(hWndSite, WM_SETMESSAGESTRING, 0, (LPARAM)(LPCSTR)strDescription);
        else
            ::SendMessageA(hWndSite, WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    }
    if (pControl)
        pControl->InternalRelease();
    InternalRelease();
}

BOOL CQXPCommandBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    (void)bSelectFirst;
    (void)bKeyboard;
    if (m_bTracking == bMode || (m_bTracking && bMode)) {
        m_bTracking = bMode;
        return FALSE;
    }
    m_bTracking = bMode;
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    if (bMode) {
        if (m_barType == qxpBarTypeMenuBar) {
            CWnd* pSite = GetOwnerSite();
            if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
                pSite->SendMessage(WM_QXP_INITMENUMODE, (WPARAM)this, 0);
        }
        m_nKeyboardEntry = bKeyboard ? 2 : 0;
        m_bKeyboardTracking = bKeyboard;
        if (!bKeyboard && m_barType == qxpBarTypePopup) {
            CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(this);
            CQXPCommandBar* pOpener = pPopup && pPopup->m_pControlPopup ? pPopup->m_pControlPopup->GetParent() : NULL;
            m_bKeyboardTracking = pOpener && pOpener->m_nKeyboardEntry != 0;
        }
        // Entering menu mode is the user's explicit request: the first
        // popup it opens animates (not the ones reached by sliding on).
        if (m_barType != qxpBarTypePopup)
            m_bAnimateNextPopup = TRUE;
        HideFocusCaret();
        pMouse->AddTrackedBar(this);
        if (!m_pKeyboardSink)
            m_pKeyboardSink = new CQXPBarKeyboardSink(this);
        CKeyboardHook::Instance()->Install(m_pKeyboardSink);
        if (bSelectFirst) {
            int nFirst = GetNextKeyboardStop(-1, +1);
            if (nFirst != -1)
                SetSelected(nFirst, 2);
        }
    } else {
        pMouse->RemoveTrackedBar(this);
        if (m_pKeyboardSink)
            CKeyboardHook::Instance()->Uninstall(m_pKeyboardSink);
        SetPopuped(-1);
        SetSelected(-1, 0);
        RestoreFocusCaret();
        m_nLockTracking = 0;
        m_nKeyboardEntry = 0;
        m_bKeyboardTracking = FALSE;
        m_bAnimateNextPopup = FALSE;
        // A bar that holds the focus itself hands it to the next tab item.
        HWND hWndParent = m_hWnd && ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : NULL;
        if (hWndParent && ::GetFocus() == m_hWnd) {
            HWND hNext = ::GetNextDlgTabItem(hWndParent, m_hWnd, FALSE);
            ::SetFocus(hNext && hNext != m_hWnd ? hNext : hWndParent);
        }
    }
    Redraw();
    if (CQXPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->OnTrackingModeChanged(this, bMode);
    return TRUE;
}

void CQXPCommandBar::HideFocusCaret()
{
    if (!m_bHideCaret || m_hWndCaret)
        return;
    HWND hWnd = ::GetFocus();
    if (!hWnd) {
        CWnd* pSite = GetOwnerSite();
        hWnd = pSite ? pSite->GetSafeHwnd() : NULL;
    }
    // Only a window that owns the caret can hide it; it is remembered so
    // that the caret is shown exactly once again.
    if (hWnd && ::HideCaret(hWnd))
        m_hWndCaret = hWnd;
}

void CQXPCommandBar::RestoreFocusCaret()
{
    HWND hWnd = m_hWndCaret;
    m_hWndCaret = NULL;
    if (hWnd && ::IsWindow(hWnd))
        ::ShowCaret(hWnd);
}

CQXPCommandBar* CQXPCommandBar::GetOpenPopupBar() const
{
    CQXPControl* pOpen = m_pControls->GetAt(m_nPopuped);
    return pOpen && pOpen->GetPopuped() ? pOpen->GetCommandBar() : NULL;
}

namespace {

// Holds a reference on a bar across a call that may remove it. Done()
// drops the reference and tells whether the bar is still there: when the
// call destroyed its window or released it for good, the bar must not be
// touched any more (the last release may have deleted it).
class CQXPBarCallGuard {
public:
    explicit CQXPBarCallGuard(CQXPCommandBar* pBar) : m_pBar(pBar), m_hWnd(pBar->GetSafeHwnd())
    {
        m_pBar->InternalAddRef();
    }
    BOOL Done()
    {
        BOOL bAlive = m_pBar->m_dwRef > 1 && (!m_hWnd || ::IsWindow(m_hWnd));
        m_pBar->InternalRelease();
        return bAlive;
    }

private:
    CQXPCommandBar* m_pBar;
    HWND m_hWnd;
};

} // namespace

int CQXPCommandBar::ProcessHookKeyDown(UINT nKey)
{
    // Keys are the frame's while it customizes or picks a command for help.
    if (IsCustomizeMode() || IsSiteInHelpMode())
        return 2;
    if (m_nLockTracking > 0)
        return 1;
    // The site sees the key first and may take it; it may also remove the
    // bar while it looks at the key.
    CWnd* pSite = GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (hWndSite && ::IsWindow(hWndSite)) {
        QXP_KEYRECORD record = {nKey, m_lHookKeyData};
        CQXPBarCallGuard guard(this);
        LRESULT lSite = ::SendMessageA(hWndSite, WM_QXP_PRETRANSLATEKEY, (WPARAM)&record, (LPARAM)this);
        if (!guard.Done() || lSite != 0)
            return 1;
    }
    // The selected control may take the key before the bar.
    if (CQXPControl* pSelected = GetSelected()) {
        CQXPBarCallGuard guard(this);
        pSelected->InternalAddRef();
        int nControl = pSelected->OnHookKeyDown(nKey, m_lHookKeyData);
        pSelected->InternalRelease();
        if (!guard.Done())
            return 1;
        if (nControl == 1 || nControl == 2)
            return nControl;
    }
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return 1;
    // Keys go to the newest tracking bar; an older one hears a key only when
    // the newer one let it pass (0).
    BOOL bHorizontal = m_barPosition == qxpBarTop || m_barPosition == qxpBarBottom || m_barPosition == qxpBarFloating ||
                       (m_barPosition == qxpBarPopup && m_barType == qxpBarTypeNormal);
    BOOL bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    CQXPCommandBars* pCommandBars = GetCommandBars();
    int nAction = -1;
    switch (nKey) {
    case VK_TAB: {
        // Ctrl+Tab moves keyboard tracking on to the next toolbar.
        CQXPCommandBar* pRoot = GetRootParent();
        if (bCtrl && pCommandBars && dynamic_cast<CQXPToolBar*>(pRoot)) {
            pRoot->InternalAddRef();
            pCommandBars->SetTrackingToolbar(pRoot, bShift ? -1 : +1);
            pRoot->InternalRelease();
            return 1;
        }
        // A bar placed on a window of its own (no manager) is one of that
        // window's tab stops: Tab leaves it for the next (previous) one.
        HWND hWndParent = ::GetParent(m_hWnd);
        if (!pCommandBars && !IsPopupBar() && !GetParentCommandBar() && hWndParent) {
            HWND hNext = ::GetNextDlgTabItem(hWndParent, m_hWnd, bShift);
            CQXPBarCallGuard guard(this);
            if (hNext && hNext != m_hWnd)
                ::SetFocus(hNext);
            if (guard.Done() && m_bTracking)
                SetTrackingMode(FALSE);
            return 1;
        }
        nAction = bShift ? 1 : 0;
        break;
    }
    case VK_ESCAPE:
        nAction = 4;
        break;
    case VK_RETURN:
        nAction = 5;
        break;
    case VK_SPACE:
        // Space on the menu bar opens the window menu of the site.
        if (m_barType == qxpBarTypeMenuBar) {
            CQXPBarCallGuard guard(this);
            if (pCommandBars)
                pCommandBars->ClosePopups();
            else
                ToolkitMouseManager::GetInstance()->SendTrackLost();
            guard.Done();
            if (hWndSite && ::IsWindow(hWndSite))
                ::PostMessageA(hWndSite, WM_SYSCOMMAND, SC_KEYMENU, ' ');
            return 1;
        }
        break;
    default:
        break;
    }
    if (nAction < 0) {
        // A window of the bar's own (an edit box) has the focus: it types.
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus && ::IsChild(m_hWnd, hWndFocus))
            return 2;
        // Under right-to-left layout Left and Right trade places.
        UINT nArrow = nKey;
        if (IsLayoutRTL() && (nKey == VK_LEFT || nKey == VK_RIGHT))
            nArrow = nKey == VK_LEFT ? VK_RIGHT : VK_LEFT;
        switch (nArrow) {
        case VK_HOME:
            nAction = 6;
            break;
        case VK_END:
            nAction = 7;
            break;
        case VK_LEFT:
            nAction = bHorizontal ? 1 : 2;
            break;
        case VK_RIGHT:
            nAction = bHorizontal ? 0 : 3;
            break;
        case VK_UP:
            nAction = bHorizontal ? 2 : 1;
            break;
        case VK_DOWN:
            nAction = bHorizontal ? 3 : 0;
            break;
        default:
            break;
        }
    }
    if (nAction >= 0) {
        // Moving or choosing from the keyboard leaves tip mode; Esc goes
        // back one level instead (ProcessSpecialKey).
        if (nAction != 4 && pCommandBars && pCommandBars->GetKeyboardTipsLevel() > 0)
            pCommandBars->CancelKeyboardTips();
        CQXPBarCallGuard guard(this);
        int nResult = ProcessSpecialKey(nAction);
        if (!guard.Done())
            return 1;
        // Tab onto a box that takes typing gives it the focus.
        if (nKey == VK_TAB && nResult)
            FocusSelectedBox();
        return nResult ? 1 : 0;
    }
    if (nKey == VK_SHIFT || nKey == VK_CONTROL || nKey == VK_MENU)
        return 1;
    UINT nChar = ::MapVirtualKeyA(nKey, 2 /* MAPVK_VK_TO_CHAR */) & 0x7FFF;
    if (nChar == 0)
        return 1;
    // With tips shown for this bar the typed letters go to them.
    if (!bCtrl && IsShowingKeyboardTips()) {
        CQXPKeyboardTips* pTips = pCommandBars->GetKeyboardTips();
        InternalAddRef();
        pTips->OnKey(nChar);
        InternalRelease();
        return 1;
    }
    // Mnemonics: the character after '&' wins over a first character.
    int nCount = m_pControls->GetCount();
    int nStart = m_nSelected < 0 ? 0 : m_nSelected + 1;
    int nAmpMatch = -1, nAmpCount = 0, nFirstMatch = -1, nFirstCount = 0;
    for (int k = 0; k < nCount; k++) {
        int i = (nStart + k) % nCount;
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible() || !pControl->GetEnabled())
            continue;
        CString strCaption = pControl->GetCaption();
        int nAmp = strCaption.Find('&');
        while (nAmp >= 0 && nAmp + 1 < strCaption.GetLength() && strCaption[nAmp + 1] == '&')
            nAmp = strCaption.Find('&', nAmp + 2);
        if (nAmp >= 0 && nAmp + 1 < strCaption.GetLength()) {
            if (::CharUpperA((LPSTR)(UINT_PTR)(BYTE)strCaption[nAmp + 1]) == ::CharUpperA((LPSTR)(UINT_PTR)nChar)) {
                if (nAmpMatch < 0)
                    nAmpMatch = i;
                nAmpCount++;
            }
        } else if (!strCaption.IsEmpty() &&
                   ::CharUpperA((LPSTR)(UINT_PTR)(BYTE)strCaption[0]) == ::CharUpperA((LPSTR)(UINT_PTR)nChar)) {
            if (nFirstMatch < 0)
                nFirstMatch = i;
            nFirstCount++;
        }
    }
    int nMatch = nAmpMatch >= 0 ? nAmpMatch : nFirstMatch;
    int nMatches = nAmpMatch >= 0 ? nAmpCount : nFirstCount;
    if (nMatch < 0) {
        ::MessageBeep(0);
        return 1;
    }
    SetSelected(nMatch, 2);
    if (nMatches == 1) {
        CQXPControl* pControl = m_pControls->GetAt(nMatch);
        InternalAddRef();
        if (pControl->GetCommandBar()) {
            m_bAnimateNextPopup = TRUE;
            SetPopuped(nMatch);
        } else
            pControl->OnUnderlineActivate();
        InternalRelease();
    }
    return 1;
}

int CQXPCommandBar::ProcessSpecialKey(int nAction)
{
    if ((nAction == 0 || nAction == 1) && IsShowingKeyboardTips())
        HideKeyboardTips();
    // A toolbar-style popup (a toolbar shown as a drop-down) lays its
    // controls out in rows: while the selected control's popup is open,
    // Right stays and Left closes that popup.
    BOOL bToolbarPopup = m_barPosition == qxpBarPopup && m_barType == qxpBarTypeNormal;
    CQXPControl* pSelected = GetSelected();
    if (bToolbarPopup && pSelected && m_nSelected == m_nPopuped) {
        if (nAction == 0)
            return 0;
        if (nAction == 1)
            nAction = 2;
    } else if (nAction == 2 && m_nPopuped == -1 && pSelected && (bToolbarPopup || !GetParentCommandBar()) &&
               pSelected->GetCommandBar() && pSelected->GetEnabled()) {
        // On a bar's own popup control the "close" direction opens it.
        nAction = 3;
    }
    if ((nAction == 2 || nAction == 3) && m_nPopuped == -1 && (bToolbarPopup || m_barPosition == qxpBarFloating) &&
        !(pSelected && pSelected->GetCommandBar() && pSelected->GetEnabled()))
        return ProcessRowKey(nAction);
    BOOL bOpen = m_nPopuped != -1;
    switch (nAction) {
    case 0:
    case 1: {
        int nNext = GetNextKeyboardStop(m_nSelected, nAction == 0 ? +1 : -1);
        if (nNext == -1)
            return 0;
        SetSelected(nNext, nAction == 0 ? 2 : 3);
        // With a menu open, the menu of the new title opens in its place,
        // its first item selected as when it is opened from the keyboard.
        if (bOpen && m_barType != qxpBarTypePopup && m_nPopuped != nNext) {
            m_bAnimateNextPopup = TRUE;
            SetPopuped(nNext, TRUE);
        }
        return 1;
    }
    case 2:
        if (!bOpen)
            return 0;
        SetPopuped(-1);
        return 1;
    case 3: {
        CQXPControl* pSelected = GetSelected();
        if (!pSelected || bOpen || !pSelected->GetCommandBar() || !pSelected->GetEnabled())
            return 0;
        m_bAnimateNextPopup = TRUE;
        SetPopuped(m_nSelected, TRUE);
        return 1;
    }
    case 4: {
        // Esc: this bar stops tracking; the bar that opened it tracks again
        // with the opening control selected.
        // With keyboard tips on, the parent's tips come back one level up.
        CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(this);
        CQXPControl* pOpener = pPopup ? pPopup->m_pControlPopup : NULL;
        CQXPCommandBar* pParent = pOpener ? pOpener->GetParent() : NULL;
        int nOpener = pOpener ? pOpener->GetIndex() : -1;
        CQXPCommandBars* pCommandBars = GetCommandBars();
        int nTipLevel = pCommandBars ? pCommandBars->GetKeyboardTipsLevel() : 0;
        if (pParent)
            pParent->InternalAddRef();
        SetTrackingMode(FALSE);
        if (pParent && ::IsWindow(pParent->GetSafeHwnd())) {
            if (!pParent->IsTrackingMode())
                pParent->SetTrackingMode(TRUE, FALSE, TRUE);
            pParent->SetSelected(nOpener, 2);
            if (nTipLevel > 0 && pParent->IsTrackingMode() && pCommandBars)
                pCommandBars->QueueKeyboardTips(pParent, nTipLevel - 1);
        }
        if (pParent)
            pParent->InternalRelease();
        return 1;
    }
    case 5: {
        CQXPControl* pSelected = GetSelected();
        if (!pSelected)
            return 1;
        // Enter on a split button runs its face; other popup controls open.
        if (pSelected->GetCommandBar() && !pSelected->GetPopuped() &&
            pSelected->GetType() != qxpControlSplitButtonPopup)
            return ProcessSpecialKey(3);
        pSelected->OnClick(TRUE, CPoint(0, 0));
        return 1;
    }
    case 6:
    case 7: {
        int nIndex = GetNextKeyboardStop(-1, nAction == 6 ? +1 : -1);
        if (nIndex != -1)
            SetSelected(nIndex, 2);
        return 1;
    }
    default:
        return 0;
    }
}

void CQXPCommandBar::FocusSelectedBox()
{
    CQXPControl* pSelected = GetSelected();
    if (!pSelected || !pSelected->GetEnabled() || !pSelected->IsVisible())
        return;
    if (CQXPControlEdit* pEdit = dynamic_cast<CQXPControlEdit*>(pSelected))
        pEdit->SetFocused(TRUE);
    else if (CQXPControlComboBox* pCombo = dynamic_cast<CQXPControlComboBox*>(pSelected))
        pCombo->SetFocused(TRUE);
}

int CQXPCommandBar::ProcessRowKey(int nAction)
{
    // The rows hold the bar's own controls; temporary ones (the buttons of a
    // floating bar's caption) are no part of them.
    int nDirection = nAction == 3 ? +1 : -1;
    int nHow = nAction == 3 ? 2 : 3;
    if (m_nSelected == -1) {
        int nFirst = m_pControls->GetNext(-1, nDirection, TRUE, TRUE);
        if (nFirst != -1)
            SetSelected(nFirst, nHow);
        return 1;
    }
    CQXPControl* pSelected = GetSelected();
    int nRowTop = pSelected->GetRowRect().top;
    // The first control met past the selected one's row (with wrap-around)
    // names the adjacent row.
    int nCandidate = -1;
    for (int i = m_pControls->GetNext(m_nSelected, nDirection, TRUE, TRUE); i != -1 && i != m_nSelected;
         i = m_pControls->GetNext(i, nDirection, TRUE, TRUE)) {
        if (m_pControls->GetAt(i)->GetRowRect().top != nRowTop) {
            nCandidate = i;
            break;
        }
    }
    if (nCandidate == -1)
        return 1;
    int nCandidateTop = m_pControls->GetAt(nCandidate)->GetRowRect().top;
    // Walking up the candidate is the row's last control: start at its first.
    for (int i = m_pControls->GetNext(nCandidate, -1, TRUE, TRUE); i != -1 && i < nCandidate;
         i = m_pControls->GetNext(i, -1, TRUE, TRUE)) {
        if (m_pControls->GetAt(i)->GetRowRect().top != nCandidateTop)
            break;
        nCandidate = i;
    }
    // Along the row: the rightmost control that does not start right of
    // the selected control.
    int nLeft = pSelected->GetRect().left;
    for (int i = m_pControls->GetNext(nCandidate, +1, TRUE, TRUE); i != -1 && i > nCandidate;
         i = m_pControls->GetNext(i, +1, TRUE, TRUE)) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetRowRect().top != nCandidateTop || pControl->GetRect().left > nLeft)
            break;
        if (pControl->GetRect().left > m_pControls->GetAt(nCandidate)->GetRect().left)
            nCandidate = i;
    }
    if (nCandidate != m_nSelected)
        SetSelected(nCandidate, nHow);
    return 1;
}
