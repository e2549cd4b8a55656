// CCmdUI: command state of menu items and controls.
#include "fx/cmdui.h"
#include "fx/wnd.h"

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pParentMenu(NULL), m_pOther(NULL),
      m_nIndexMax(0), m_bEnableChanged(FALSE), m_bContinueRouting(FALSE)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != NULL) {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
        // A control losing the focus it holds passes it to the next one.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND hWndParent = ::GetParent(m_pOther->m_hWnd);
            if (hWndParent != NULL)
                ::SendMessageA(hWndParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(m_pOther->m_hWnd, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return; // a popup item is not checked
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
        if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;
        // A radio item shows a bullet instead of a check mark.
        MENUITEMINFOA mii;
        ZeroMemory(&mii, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE;
        if (m_pMenu->GetMenuItemInfo(m_nIndex, &mii, TRUE) && !(mii.fType & MFT_RADIOCHECK)) {
            mii.fType |= MFT_RADIOCHECK;
            m_pMenu->SetMenuItemInfo(m_nIndex, &mii, TRUE);
        }
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_CHECKED : MF_UNCHECKED));
        return;
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (lpszText == NULL)
        lpszText = "";
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;
        // Only the text changes; id, state and type stay.
        MENUITEMINFOA mii;
        ZeroMemory(&mii, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STRING;
        mii.dwTypeData = const_cast<LPSTR>(lpszText);
        m_pMenu->SetMenuItemInfo(m_nIndex, &mii, TRUE);
    } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
        // Setting the same text would only flicker.
        CString strOld;
        m_pOther->GetWindowText(strOld);
        if (strOld != lpszText)
            ::SetWindowTextA(m_pOther->m_hWnd, lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE; // separators and invalid ids are left alone

    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, NULL);
    if (!bResult && bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {NULL, NULL};
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}

void PASCAL CCmdUI::UpdatePopupMenu(CMenu* pPopupMenu, CCmdTarget* pTarget, BOOL bAutoMenuEnable)
{
    if (pPopupMenu == NULL || pTarget == NULL)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    UINT nIndex = 0;
    while (nIndex < state.m_nIndexMax) {
        state.m_nIndex = nIndex;
        state.m_nID = pPopupMenu->GetMenuItemID((int)nIndex);
        if (state.m_nID == 0) {
            nIndex++; // separator
            continue;
        }
        if (state.m_nID == (UINT)-1) {
            // A popup follows the state of its first item.
            state.m_pSubMenu = pPopupMenu->GetSubMenu((int)nIndex);
            if (state.m_pSubMenu == NULL || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1) {
                state.m_pSubMenu = NULL;
                nIndex++;
                continue;
            }
            state.DoUpdate(pTarget, FALSE);
        } else {
            state.m_pSubMenu = NULL;
            state.DoUpdate(pTarget, bAutoMenuEnable && state.m_nID < 0xF000);
        }

        // Handlers may remove items (a recent-files list shrinking): go on
        // after the items that carry the id just updated.
        UINT nCount = pPopupMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            UINT nRemoved = state.m_nIndexMax - nCount;
            nIndex = nIndex >= nRemoved ? nIndex - nRemoved : 0;
            while (nIndex < nCount && pPopupMenu->GetMenuItemID((int)nIndex) == state.m_nID)
                nIndex++;
        } else {
            nIndex++;
        }
        state.m_nIndexMax = nCount;
    }
}

CTestCmdUI::CTestCmdUI() : m_bEnabled(TRUE), m_nCheck(0), m_bTextSet(FALSE) {}

void CTestCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}

void CTestCmdUI::SetCheck(int nCheck) { m_nCheck = nCheck; }
void CTestCmdUI::SetRadio(BOOL bOn) { m_nCheck = bOn ? 1 : 0; }
void CTestCmdUI::SetText(LPCSTR) { m_bTextSet = TRUE; }
