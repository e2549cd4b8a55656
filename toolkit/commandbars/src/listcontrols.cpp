// List controls: the window list.

#include <qx/commandbar.h>
#include <qx/controls.h>
#include <qx/listcontrols.h>

CString AFXAPI QxpFormatItemText(const CString& strText, int nNumber)
{
    CString strEscaped;
    for (int i = 0; i < strText.GetLength(); i++) {
        char ch = strText[i];
        strEscaped += ch;
        if (ch == '&')
            strEscaped += '&';
    }
    char buf[64];
    if (nNumber == 0)
        return strEscaped;
    if (nNumber < 10)
        wsprintfA(buf, "&%i ", nNumber);
    else if (nNumber == 10)
        lstrcpyA(buf, "1&0 ");
    else
        wsprintfA(buf, "%i ", nNumber);
    return CString(buf) + strEscaped;
}

UINT CQXPControlWindowList::s_nFirstWindowId = 0xFF00;

IMPLEMENT_DYNCREATE(CQXPControlWindowList, CQXPControlButton)

CQXPControlWindowList::CQXPControlWindowList() {}

HWND CQXPControlWindowList::GetMDIClient() const
{
    if (!m_pParent)
        return NULL;
    CWnd* pSite = m_pParent->GetOwnerSite();
    if (!pSite || !::IsWindow(pSite->GetSafeHwnd()))
        return NULL;
    for (HWND hChild = ::GetWindow(pSite->GetSafeHwnd(), GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[32] = "";
        ::GetClassNameA(hChild, szClass, (int)sizeof(szClass));
        if (lstrcmpiA(szClass, "MDICLIENT") == 0)
            return hChild;
    }
    return NULL;
}

void CQXPControlWindowList::RemoveOldItems()
{
    CQXPControls* pControls = m_pControls;
    if (!pControls)
        return;
    for (;;) {
        CQXPControl* pNext = pControls->GetAt(m_nIndex + 1);
        if (!pNext || !pNext->IsTemporary() || (UINT)pNext->GetID() < s_nFirstWindowId)
            break;
        pControls->Remove(pNext);
    }
}

void CQXPControlWindowList::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    RemoveOldItems();
    HWND hClient = GetMDIClient();
    if (IsCustomizeMode() || !hClient) {
        SetHideFlags(0);
        return;
    }
    SetHideFlags(qxpHideGeneric);
    HWND hActive = (HWND)::SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0);
    if (hActive) {
        UINT nActiveId = (UINT)::GetDlgCtrlID(hActive);
        if (nActiveId >= 0x8000 && nActiveId < 0x802F)
            s_nFirstWindowId = 0x8000;
        else if (nActiveId >= 1 && nActiveId <= 46)
            s_nFirstWindowId = 1;
    }
    CString strPrompt;
    strPrompt.LoadString(61215);
    int nItem = 0;
    int nInsert = m_nIndex + 1;
    for (UINT nId = s_nFirstWindowId;; nId++) {
        HWND hChild = ::GetDlgItem(hClient, (int)nId);
        if (!hChild)
            break;
        if (!::IsWindowVisible(hChild))
            continue;
        if (nItem == QXP_MAX_WINDOWLIST_ITEMS)
            break;
        nItem++;
        CQXPControl* pItem = m_pControls->Add(qxpControlButton, (int)nId, CString(), nInsert++, TRUE);
        if (!pItem)
            break;
        char szText[257] = "";
        ::GetWindowTextA(hChild, szText, (int)sizeof(szText));
        pItem->SetCaption(QxpFormatItemText(CString(szText), nItem));
        if (nItem == 1) {
            pItem->SetBeginGroup(TRUE);
            if (m_dwFlags & qxpFlagWrapRow)
                pItem->SetFlags(pItem->GetFlags() | qxpFlagWrapRow);
        }
        pItem->SetChecked(hChild == hActive ? 1 : 0);
        pItem->SetFlags(pItem->GetFlags() | qxpFlagManualUpdate);
        pItem->m_nHelpId = 0xEF1F;
        if (!strPrompt.IsEmpty())
            pItem->SetPrompt(strPrompt);
    }
}

// ===========================================================================
// Label, check box, radio button

IMPLEMENT_DYNCREATE(CQXPControlLabel, CQXPControl)
IMPLEMENT_DYNCREATE(CQXPControlCheckBox, CQXPControlButton)
IMPLEMENT_DYNCREATE(CQXPControlRadioButton, CQXPControlButton)

CQXPControlLabel::CQXPControlLabel()
{
    m_controlType = qxpControlLabel;
    m_dwFlags = qxpFlagSkipFocus | qxpFlagManualUpdate | qxpFlagNoMovable;
}

void CQXPControlLabel::OnClick(BOOL bKeyboard, CPoint pt)
{
    (void)pt;
    if (bKeyboard || !IsCustomizeMode() || !m_pParent)
        return;
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
}
