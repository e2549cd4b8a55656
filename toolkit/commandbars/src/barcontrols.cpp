// The control collection: creation by type, insertion and removal, finding,
// keyboard stepping, change detection and menu conversion.

#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/custom.h>
#include <qx/listcontrols.h>
#include <qx/controlcombo.h>
#include <qx/controledit.h>
#include <qx/resourcemgr.h>
#include <qx/gallery.h>

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CQXPControls, CCmdTarget)
IMPLEMENT_DYNCREATE(CQXPOriginalControls, CQXPControls)

CQXPControls::CQXPControls()
    : m_bOriginalControls(FALSE), m_pParent(NULL), m_pCommandBars(NULL), m_pOriginalControls(NULL)
{
}

CQXPControls::~CQXPControls()
{
    RemoveAll();
    if (m_pOriginalControls)
        m_pOriginalControls->InternalRelease();
    m_pOriginalControls = NULL;
}

CQXPCommandBars* CQXPControls::GetCommandBars() const
{
    return m_pParent ? m_pParent->GetCommandBars() : m_pCommandBars;
}

void CQXPControls::SetParent(CQXPCommandBar* pParent)
{
    m_pParent = pParent;
    if (!m_arrControls.empty())
        RefreshIndexes();
}

CWnd* CQXPControls::GetSite() const
{
    if (m_pParent)
        return m_pParent->GetSite();
    CQXPCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars ? pCommandBars->GetSite() : NULL;
}

// ---------------------------------------------------------------------------
// Creating

CQXPControl* AFXAPI CQXPControls::CreateControlOfType(int controlType, int nId, BOOL bFromMenu,
                                                      const CString& strCaption)
{
    switch (controlType) {
    case qxpControlButton:
        // The list placeholders. A menu names the recent files by their
        // first command, Add by its own id; the object verbs only come from
        // a menu item with their marker caption.
        if (nId == QXP_ID_WINDOWLIST)
            return new CQXPControlWindowList;
        if (nId == QXP_ID_WORKSPACEACTIONS)
            return new CQXPControlWorkspaceActions;
        if (nId == QXP_ID_TOOLBARSLIST)
            return new CQXPControlToolbars;
        if (nId == (bFromMenu ? QXP_ID_FIRST_MRU : QXP_ID_RECENTFILELIST))
            return new CQXPControlRecentFileList;
        if (bFromMenu && nId == QXP_ID_OLEITEMS && strCaption == QXP_OLEITEMS_CAPTION)
            return new CQXPControlOleItems;
        return new CQXPControlButton;
    case qxpControlLabel:
        return new CQXPControlLabel;
    case qxpControlCheckBox:
        return new CQXPControlCheckBox;
    case qxpControlRadioButton:
        return new CQXPControlRadioButton;
    case qxpControlPopup:
    case qxpControlButtonPopup:
    case qxpControlSplitButtonPopup:
        return new CQXPControlPopup;
    case qxpControlCustom:
        return bFromMenu ? NULL : new CQXPControlCustom;
    case qxpControlComboBox:
        return new CQXPControlComboBox;
    case qxpControlEdit:
        return new CQXPControlEdit;
    case qxpControlGallery:
        return new CQXPControlGallery;
    default:
        return NULL;
    }
}

CQXPCommandBar* CQXPControls::CreatePopupBarFor(const CString& strCaption, int nId)
{
    CWnd* pSite = GetSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd())) {
        QXP_CREATEBAR_RECORD rec;
        rec.pCommandBar = NULL;
        rec.bPopup = TRUE;
        rec.nReserved[0] = rec.nReserved[1] = rec.nReserved[2] = 0;
        rec.strCaption = strCaption;
        rec.nID = nId;
        if (pSite->SendMessage(WM_COMMANDBARS_CREATECOMMANDBAR, 0, (LPARAM)&rec) != 0 && rec.pCommandBar &&
            dynamic_cast<CQXPPopupBar*>(rec.pCommandBar) != NULL)
            return rec.pCommandBar;
    }
    CQXPCommandBar* pBar = CQXPPopupBar::CreateForOwner(GetCommandBars());
    return pBar;
}

CQXPControl* CQXPControls::Add(int controlType, int nId, const CString& strParameter, int nBefore, BOOL bTemporary)
{
    if (controlType < qxpControlButton || controlType > qxpControlRadioButton)
        return NULL;
    CQXPControl* pControl = CreateControlOfType(controlType, nId, FALSE, CString());
    if (!pControl)
        return NULL;
    // A custom control keeps its own class's type.
    if (controlType != qxpControlCustom)
        pControl->m_controlType = controlType;
    if (CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pControl)) {
        CQXPCommandBar* pBar = NULL;
        CString strCaption;
        HMENU hMenu = nId > 0 ? ::LoadMenuA(ToolkitResourceManager::Instance()->GetResourceHandle(),
                                            MAKEINTRESOURCEA(nId))
                              : NULL;
        HMENU hSubMenu = NULL;
        if (hMenu) {
            hSubMenu = ::GetSubMenu(hMenu, 0);
            strCaption = ToolkitResourceManager::GetMenuString(hMenu, 0);
            pBar = CreatePopupBarFor(strCaption, nId);
            pPopup->m_strCaption = strCaption;
            if (pBar && hSubMenu) {
                CMenu menu;
                menu.Attach(hSubMenu);
                pBar->LoadMenu(&menu, TRUE);
                menu.Detach();
            }
            ::DestroyMenu(hMenu);
        }
        if (!pBar)
            pBar = CQXPPopupBar::CreateForOwner(GetCommandBars());
        pPopup->SetCommandBar(pBar);
        if (pBar)
            pBar->InternalRelease();
    }
    return AddControl(pControl, nId, strParameter, nBefore, bTemporary);
}

CQXPControl* CQXPControls::AddControl(CQXPControl* pControl, int nId, const CString& strParameter, int nBefore,
                                      BOOL bTemporary)
{
    pControl->m_strParameter = strParameter;
    pControl->m_bTemporary = bTemporary;
    CQXPCommandBars* pCommandBars = GetCommandBars();
    CQXPControlAction* pAction = pCommandBars ? pCommandBars->FindAction(nId) : NULL;
    if (!pControl->GetAction()) {
        if (pAction)
            pControl->SetAction(pAction);
        else
            pControl->SetID(nId);
    }
    return InsertAt(pControl, nBefore);
}

CQXPControl* CQXPControls::InsertAt(CQXPControl* pControl, int nIndex)
{
    if (nIndex < 0 || nIndex > (int)m_arrControls.size())
        nIndex = (int)m_arrControls.size();
    m_arrControls.insert(m_arrControls.begin() + nIndex, pControl);
    OnControlAdded(pControl);
    return pControl;
}

CQXPControl* CQXPControls::AddCopy(CQXPControl* pControl, int nBefore, BOOL bRecursive)
{
    CQXPControl* pCopy = QxpCreateObjectAs<CQXPControl>(pControl->GetRuntimeClass());
    if (!pCopy)
        return NULL;
    InsertAt(pCopy, nBefore);
    pCopy->Copy(pControl, bRecursive);
    return pCopy;
}

CQXPControl* CQXPControls::ChangeControlType(CQXPControl* pControl, int controlType)
{
    if (!pControl)
        return NULL;
    auto isPopupType = [](int t) {
        return t == qxpControlPopup || t == qxpControlButtonPopup || t == qxpControlSplitButtonPopup;
    };
    if (isPopupType(pControl->m_controlType) && isPopupType(controlType)) {
        pControl->m_controlType = controlType;
        return pControl;
    }
    CQXPControl* pNew = Add(controlType, 0, CString(), pControl->m_nIndex + 1, FALSE);
    if (!pNew)
        return NULL;
    // Popup classes show the requested popup kind; every other class keeps
    // the type its own constructor gives (a custom control is a button).
    int nType = controlType;
    if (!dynamic_cast<CQXPControlPopup*>(pNew)) {
        if (CQXPControl* pModel = QxpCreateObjectAs<CQXPControl>(pNew->GetRuntimeClass())) {
            nType = pModel->m_controlType;
            pModel->InternalRelease();
        }
    }
    pNew->Copy(pControl, FALSE);
    pNew->m_controlType = nType;
    Remove(pControl);
    return pNew;
}

CQXPControl* CQXPControls::ChangeControlType(int nIndex, int controlType)
{
    CQXPControl* pControl = GetAt(nIndex);
    return pControl ? ChangeControlType(pControl, controlType) : NULL;
}

// ---------------------------------------------------------------------------
// Removing

void CQXPControls::Remove(CQXPControl* pControl)
{
    if (!pControl || pControl->m_pControls != this)
        return;
    if (pControl->m_nSelected && m_pParent)
        m_pParent->SetSelected(-1, 0);
    int nIndex = pControl->m_nIndex;
    if (nIndex < 0 || nIndex >= (int)m_arrControls.size() || m_arrControls[(size_t)nIndex] != pControl)
        return;
    if (OnControlRemoving(pControl))
        return;
    m_arrControls.erase(m_arrControls.begin() + nIndex);
    OnControlRemoved(pControl);
    pControl->SetParent(NULL);
    pControl->InternalRelease();
}

void CQXPControls::Remove(int nIndex)
{
    Remove(GetAt(nIndex));
}

void CQXPControls::RemoveAll()
{
    for (int i = (int)m_arrControls.size() - 1; i >= 0; i--) {
        if (i >= (int)m_arrControls.size())
            continue;
        CQXPControl* pControl = m_arrControls[(size_t)i];
        if (OnControlRemoving(pControl))
            continue;
        m_arrControls.erase(m_arrControls.begin() + i);
        OnControlRemoved(pControl);
        pControl->InternalRelease();
    }
}

void CQXPControls::OnControlAdded(CQXPControl* pControl)
{
    (void)pControl;
    RefreshIndexes();
}

void CQXPControls::OnControlRemoved(CQXPControl* pControl)
{
    pControl->m_pControls = NULL;
    pControl->OnRemoved();
    pControl->SetParent(NULL);
    RefreshIndexes();
}

void CQXPControls::RefreshIndexes()
{
    for (size_t i = 0; i < m_arrControls.size(); i++) {
        CQXPControl* pControl = m_arrControls[i];
        pControl->m_nIndex = (int)i;
        pControl->m_pControls = this;
        pControl->SetParent(m_pParent);
    }
    if (m_pParent)
        m_pParent->ResetSelection();
}

// ---------------------------------------------------------------------------
// Finding

CQXPControl* CQXPControls::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrControls.size() ? m_arrControls[(size_t)nIndex] : NULL;
}

CQXPControl* CQXPControls::FindControl(int controlType, int nId, BOOL bVisible, BOOL bRecursive) const
{
    for (CQXPControl* pControl : m_arrControls) {
        if ((controlType == 0 || pControl->m_controlType == controlType) && (!bVisible || pControl->IsVisible(0)) &&
            (nId == -1 || pControl->m_nId == nId))
            return pControl;
        if (bRecursive) {
            CQXPCommandBar* pBar = pControl->GetCommandBar();
            if (pBar) {
                CQXPControl* pFound = pBar->GetControls()->FindControl(controlType, nId, bVisible, TRUE);
                if (pFound)
                    return pFound;
            }
        }
    }
    return NULL;
}

CQXPControl* CQXPControls::FindControlById(int nId) const
{
    if (m_arrControls.empty())
        return NULL;
    if (nId == -1)
        return m_arrControls.front();
    for (CQXPControl* pControl : m_arrControls)
        if (pControl->m_nId == nId)
            return pControl;
    return NULL;
}

CQXPControl* CQXPControls::HitTest(CPoint point) const
{
    for (CQXPControl* pControl : m_arrControls)
        if (pControl->IsVisible(0) && pControl->m_rcControl.PtInRect(point))
            return pControl;
    return NULL;
}

int CQXPControls::GetNext(int nIndex, int nDirection, BOOL bSkipNoFocus, BOOL bSkipTemporary,
                          BOOL bKeepRarelyUsed) const
{
    int nCount = (int)m_arrControls.size();
    if (nCount == 0)
        return -1;
    DWORD dwSkip = bKeepRarelyUsed ? (DWORD)qxpHideScroll : (DWORD)(qxpHideScroll | qxpHideExpand);
    BOOL bFromNone = nIndex == -1;
    int nCandidate = (bFromNone && nDirection < 0) ? nCount - 1 : nIndex + nDirection;
    BOOL bWrapped = FALSE;
    for (;;) {
        if (nCandidate == nIndex)
            return nIndex;
        if (nCandidate >= nCount) {
            if (bWrapped || (bFromNone && nDirection > 0))
                return -1;
            nCandidate = 0;
            bWrapped = TRUE;
            if (nCandidate == nIndex)
                return nIndex;
        } else if (nCandidate < 0) {
            if (bWrapped || (bFromNone && nDirection < 0))
                return -1;
            nCandidate = nCount - 1;
            bWrapped = TRUE;
            if (nCandidate == nIndex)
                return nIndex;
        }
        CQXPControl* pControl = m_arrControls[(size_t)nCandidate];
        BOOL bSkip = !pControl->IsVisible(dwSkip) || (bSkipNoFocus && (pControl->m_dwFlags & qxpFlagSkipFocus)) ||
                     (bSkipTemporary && pControl->m_bTemporary);
        if (!bSkip)
            return nCandidate;
        nCandidate += nDirection;
    }
}

int CQXPControls::GetVisibleCount(BOOL bStrict) const
{
    DWORD dwSkip = bStrict ? 0 : (DWORD)qxpHideWrap;
    int n = 0;
    for (CQXPControl* pControl : m_arrControls)
        if (pControl->IsVisible(dwSkip))
            n++;
    return n;
}

CQXPControl* CQXPControls::GetVisibleAt(int nIndex, BOOL bStrict) const
{
    DWORD dwSkip = bStrict ? 0 : (DWORD)qxpHideWrap;
    for (CQXPControl* pControl : m_arrControls)
        if (pControl->IsVisible(dwSkip) && nIndex-- == 0)
            return pControl;
    return NULL;
}

// ---------------------------------------------------------------------------
// Change detection and copies

BOOL CQXPControls::IsEqual(CQXPControls* pOther) const
{
    if (!pOther)
        return FALSE;
    size_t i = 0, j = 0;
    for (;;) {
        while (i < m_arrControls.size() && m_arrControls[i]->m_bTemporary)
            i++;
        while (j < pOther->m_arrControls.size() && pOther->m_arrControls[j]->m_bTemporary)
            j++;
        BOOL bEndA = i >= m_arrControls.size();
        BOOL bEndB = j >= pOther->m_arrControls.size();
        if (bEndA || bEndB)
            return bEndA && bEndB;
        if (!m_arrControls[i]->Compare(pOther->m_arrControls[j]))
            return FALSE;
        i++;
        j++;
    }
}

BOOL CQXPControls::IsChanged() const
{
    return !m_pOriginalControls || !IsEqual(m_pOriginalControls);
}

void CQXPControls::CreateOriginalControls()
{
    CQXPOriginalControls* pOriginal = new CQXPOriginalControls;
    pOriginal->m_pCommandBars = GetCommandBars();
    for (CQXPControl* pControl : m_arrControls)
        if (!pControl->m_bTemporary)
            pOriginal->AddCopy(pControl, -1, TRUE);
    SetOriginalControls(pOriginal);
}

void CQXPControls::SetOriginalControls(CQXPOriginalControls* pOriginal)
{
    if (m_pOriginalControls)
        m_pOriginalControls->InternalRelease();
    m_pOriginalControls = pOriginal;
}

CQXPControls* CQXPControls::Duplicate(BOOL bRecursive)
{
    CQXPControls* pCopy = QxpCreateObjectAs<CQXPControls>(GetRuntimeClass());
    if (!pCopy)
        return NULL;
    pCopy->m_pCommandBars = GetCommandBars();
    for (CQXPControl* pControl : m_arrControls)
        if (!pControl->m_bTemporary)
            pCopy->AddCopy(pControl, -1, bRecursive);
    if (m_pOriginalControls) {
        CQXPControls* pOriginal = m_pOriginalControls->Duplicate(bRecursive);
        pCopy->SetOriginalControls(dynamic_cast<CQXPOriginalControls*>(pOriginal));
    }
    return pCopy;
}

void CQXPControls::Copy(CQXPControls* pOther, BOOL bRecursive)
{
    RemoveAll();
    for (CQXPControl* pControl : pOther->m_arrControls)
        if (!pControl->m_bTemporary)
            AddCopy(pControl, -1, bRecursive);
    if (pOther->m_pOriginalControls) {
        CQXPControls* pOriginal = pOther->m_pOriginalControls->Duplicate(bRecursive);
        SetOriginalControls(dynamic_cast<CQXPOriginalControls*>(pOriginal));
    }
}

// ---------------------------------------------------------------------------
// Menu conversion

BOOL CQXPControls::LoadMenu(CMenu* pMenu)
{
    return pMenu ? LoadMenu(pMenu->GetSafeHmenu()) : FALSE;
}

BOOL CQXPControls::LoadMenu(HMENU hMenu)
{
    if (!hMenu || !::IsMenu(hMenu))
        return FALSE;
    int nCount = ::GetMenuItemCount(hMenu);
    BOOL bSeparator = FALSE;
    for (int i = 0; i < nCount; i++) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(hMenu, (UINT)i, TRUE, &info))
            continue;
        if ((info.fType & MFT_SEPARATOR) || (info.wID == 0 && info.hSubMenu == NULL)) {
            bSeparator = TRUE;
            continue;
        }
        CQXPControl* pControl = AddMenuItem(hMenu, i);
        if (!pControl)
            continue;
        if (info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK)) {
            pControl->m_dwFlags |= qxpFlagWrapRow;
            pControl->SetBeginGroup((info.fType & MFT_MENUBARBREAK) ? TRUE : FALSE);
        }
        if (bSeparator) {
            pControl->SetBeginGroup(TRUE);
            bSeparator = FALSE;
        }
        if (!pControl->GetAction()) {
            if (info.fState & MFS_CHECKED)
                pControl->SetChecked(1);
            if (info.fState & (MFS_GRAYED | MFS_DISABLED))
                pControl->SetEnabled(FALSE);
        }
    }
    return TRUE;
}

CQXPControl* CQXPControls::AddMenuItem(HMENU hMenu, int nIndex)
{
    HMENU hSubMenu = ::GetSubMenu(hMenu, nIndex);
    UINT nItemId = hSubMenu ? 0 : ::GetMenuItemID(hMenu, nIndex);
    BOOL bDefault = (int)::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED) == nIndex;
    if (nItemId == 0xFF00)
        return NULL;
    int nId = (int)nItemId;

    CString strCaption = ToolkitResourceManager::GetMenuString(hMenu, nIndex);
    if (hSubMenu) {
        int nTab = strCaption.Find('\t');
        if (nTab > 0) {
            CString strNumber = strCaption.Mid(nTab + 1);
            char* pEnd = NULL;
            long lValue = strtol(strNumber, &pEnd, 10);
            if (lValue != 0 && pEnd && *pEnd == '\0' && !strNumber.IsEmpty()) {
                nId = (int)lValue;
                strCaption = strCaption.Left(nTab);
            }
        }
    }

    CWnd* pSite = GetSite();
    CQXPCommandBars* pCommandBars = GetCommandBars();
    int controlType = hSubMenu ? qxpControlPopup : qxpControlButton;
    int nStyle = 0;
    CQXPControl* pControl = NULL;

    QXP_CREATECONTROL_RECORD rec;
    rec.nID = nId;
    rec.pControl = NULL;
    rec.nReserved = 0;
    rec.nIndex = nIndex;
    rec.hMenu = hMenu;
    rec.pCommandBar = m_pParent;
    rec.strCaption = strCaption;
    rec.controlType = controlType;
    rec.buttonStyle = 0;
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()) &&
        pSite->SendMessage(WM_COMMANDBARS_CREATECONTROL, 0, (LPARAM)&rec) != 0) {
        strCaption = rec.strCaption;
        controlType = rec.controlType;
        nStyle = rec.buttonStyle;
        nId = rec.nID;
        pControl = rec.pControl;
    }

    if (!pControl) {
        pControl = CreateControlOfType(controlType, nId, TRUE, strCaption);
        if (!pControl)
            return NULL;
        pControl->m_controlType = controlType;
        if (CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pControl)) {
            CQXPCommandBar* pBar = CreatePopupBarFor(strCaption, nId);
            if (pBar) {
                pBar->SetTitle(QxpStripMnemonics(strCaption));
                if (hSubMenu) {
                    CMenu menu;
                    menu.Attach(hSubMenu);
                    pBar->LoadMenu(&menu, FALSE);
                    menu.Detach();
                } else if (nId > 0) {
                    HMENU hRes = ::LoadMenuA(ToolkitResourceManager::Instance()->GetResourceHandle(),
                                             MAKEINTRESOURCEA(nId));
                    if (hRes) {
                        CMenu menu;
                        menu.Attach(::GetSubMenu(hRes, 0));
                        pBar->LoadMenu(&menu, FALSE);
                        menu.Detach();
                        ::DestroyMenu(hRes);
                    }
                }
                pPopup->SetCommandBar(pBar);
                pBar->InternalRelease();
            }
        }
    }
    if (nStyle != pControl->m_buttonStyle && nStyle != 0)
        pControl->SetStyle(nStyle);

    if (!pControl->GetAction()) {
        CQXPControlAction* pAction = pCommandBars ? pCommandBars->FindAction(nId) : NULL;
        if (pAction) {
            if (pAction->GetCaption().IsEmpty())
                pAction->SetCaption(strCaption);
            pControl->SetAction(pAction);
        } else {
            pControl->SetID(nId);
            pControl->SetCaption(strCaption);
        }
    }
    if (bDefault)
        pControl->m_bDefaultItem = TRUE;

    Append(pControl);
    if (pSite && ::IsWindow(pSite->GetSafeHwnd())) {
        rec.pControl = pControl;
        pSite->SendMessage(WM_COMMANDBARS_CONTROLCREATED, 0, (LPARAM)&rec);
    }
    return pControl;
}
