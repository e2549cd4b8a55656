// Controls and actions: resolved values, setters, press tracking, execution.

#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/resourcemgr.h>
#include <qx/images.h>
#include <qx/paintmanager.h>
#include <qx/soundthread.h>
#include <qx/mousemanager.h>

#include <algorithm>

CString AFXAPI QxpStripMnemonics(const CString& str)
{
    CString strResult;
    int n = str.GetLength();
    for (int i = 0; i < n; i++) {
        char ch = str[i];
        if (ch == '&') {
            if (i + 1 < n && str[i + 1] == '&') {
                strResult += '&';
                i++;
            }
            continue;
        }
        strResult += ch;
    }
    return strResult;
}

namespace {

// Splits a prompt string "description\ntooltip\ncaption\nkeytip".
void SplitPrompt(const CString& strPrompt, CString* pParts, int nParts)
{
    int nStart = 0;
    for (int i = 0; i < nParts; i++) {
        if (nStart > strPrompt.GetLength()) {
            pParts[i].Empty();
            continue;
        }
        int nEnd = strPrompt.Find('\n', nStart);
        if (nEnd < 0) {
            pParts[i] = strPrompt.Mid(nStart);
            nStart = strPrompt.GetLength() + 1;
        } else {
            pParts[i] = strPrompt.Mid(nStart, nEnd - nStart);
            nStart = nEnd + 1;
        }
    }
}

} // namespace

// ===========================================================================
// CQXPControlAction

IMPLEMENT_DYNCREATE(CQXPControlAction, CCmdTarget)

CQXPControlAction::CQXPControlAction()
    : m_nId(0), m_nIconId(0), m_nHelpId(0), m_bEnabled(TRUE), m_nChecked(0), m_bVisible(TRUE), m_pActions(NULL)
{
}

CQXPControlAction::~CQXPControlAction()
{
    while (!m_controls.empty())
        m_controls.front()->SetAction(NULL);
}

CQXPCommandBars* CQXPControlAction::GetCommandBars() const
{
    return m_pActions ? m_pActions->m_pCommandBars : NULL;
}

BOOL CQXPControlAction::GetEnabled() const
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->IsCustomizeMode())
        return TRUE;
    return m_bEnabled;
}

void CQXPControlAction::RefreshLinkedBars()
{
    for (CQXPControl* pControl : m_controls)
        pControl->DelayLayoutParent();
}

void CQXPControlAction::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    for (CQXPControl* pControl : m_controls)
        pControl->RedrawParent();
}

void CQXPControlAction::SetChecked(int nChecked)
{
    if (m_nChecked == nChecked)
        return;
    m_nChecked = nChecked;
    for (CQXPControl* pControl : m_controls)
        pControl->RedrawParent();
}

void CQXPControlAction::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    RefreshLinkedBars();
}

void CQXPControlAction::SetCaption(const CString& strCaption)
{
    CString str = strCaption;
    int nTab = str.Find('\t');
    if (nTab >= 0)
        str = str.Left(nTab);
    if (str == m_strCaption)
        return;
    for (CQXPControl* pControl : m_controls)
        pControl->OnActionChanging(3);
    m_strCaption = str;
    for (CQXPControl* pControl : m_controls)
        pControl->OnActionChanged(3);
    RefreshLinkedBars();
}

void CQXPControlAction::SetPrompt(const CString& strPrompt)
{
    if (strPrompt.IsEmpty())
        return;
    CString parts[4];
    SplitPrompt(strPrompt, parts, 4);
    if (strPrompt.Find('\n') >= 0) {
        m_strTooltipText = parts[1];
        m_strDescriptionText = parts[0];
    } else {
        m_strTooltipText = strPrompt;
        m_strDescriptionText = strPrompt;
    }
    if (m_strKeyboardTip.IsEmpty())
        m_strKeyboardTip = parts[3];
}

void CQXPControlAction::AddControl(CQXPControl* pControl)
{
    if (std::find(m_controls.begin(), m_controls.end(), pControl) != m_controls.end())
        return;
    m_controls.push_back(pControl);
    pControl->m_bEnabled = -1;
    pControl->m_bChecked = -1;
    pControl->m_nId = m_nId;
    pControl->m_strCaption.Empty();
    pControl->m_strTooltipText.Empty();
    pControl->m_strDescriptionText.Empty();
    pControl->m_strCategory.Empty();
    pControl->m_strShortcutText.Empty();
    pControl->m_strKeyboardTip.Empty();
}

void CQXPControlAction::RemoveControl(CQXPControl* pControl)
{
    auto it = std::find(m_controls.begin(), m_controls.end(), pControl);
    if (it == m_controls.end())
        return;
    m_controls.erase(it);
    pControl->m_bEnabled = TRUE;
    pControl->m_bChecked = 0;
}

CQXPControl* CQXPControlAction::GetControl(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_controls.size() ? m_controls[(size_t)nIndex] : NULL;
}

// ===========================================================================
// CQXPControlActions

CQXPControlActions::CQXPControlActions(CQXPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

CQXPControlActions::~CQXPControlActions()
{
    RemoveAll();
}

CQXPControlAction* CQXPControlActions::FindAction(int nId) const
{
    if (nId < 1 || nId >= 0x0FFFFFFF)
        return NULL;
    auto it = std::lower_bound(m_actions.begin(), m_actions.end(), nId,
                               [](const CQXPControlAction* p, int id) { return p->m_nId < id; });
    return it != m_actions.end() && (*it)->m_nId == nId ? *it : NULL;
}

void CQXPControlActions::Insert(CQXPControlAction* pAction)
{
    auto it = std::upper_bound(m_actions.begin(), m_actions.end(), pAction->m_nId,
                               [](int id, const CQXPControlAction* p) { return id < p->m_nId; });
    m_actions.insert(it, pAction);
    pAction->m_pActions = this;
}

CQXPControlAction* CQXPControlActions::AddAction(int nId, CQXPControlAction* pAction)
{
    pAction->m_nId = nId;
    CString strPrompt;
    if (ToolkitResourceManager::Instance()->LoadString(&strPrompt, (UINT)nId))
        pAction->SetPrompt(strPrompt);
    Insert(pAction);
    return pAction;
}

CQXPControlAction* CQXPControlActions::Add(int nId)
{
    CQXPControlAction* pAction = FindAction(nId);
    if (pAction)
        return pAction;
    pAction = new CQXPControlAction;
    pAction->m_pActions = this;
    return AddAction(nId, pAction);
}

void CQXPControlActions::RemoveAll()
{
    for (CQXPControlAction* pAction : m_actions) {
        while (!pAction->m_controls.empty())
            pAction->m_controls.front()->SetAction(NULL);
        pAction->InternalRelease();
    }
    m_actions.clear();
}

CQXPControlAction* CQXPControlActions::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_actions.size() ? m_actions[(size_t)nIndex] : NULL;
}

// ===========================================================================
// CQXPControl

IMPLEMENT_DYNCREATE(CQXPControl, CCmdTarget)

CQXPControl::CQXPControl()
    : m_nTag(0), m_nIndex(0), m_nId(0), m_nIconId(0), m_nHelpId(0), m_nCustomIconId(0), m_bWrap(FALSE),
      m_bBeginGroup(FALSE), m_bEnabled(TRUE), m_bChecked(0), m_nSelected(0), m_nPressed(0), m_bTemporary(FALSE),
      m_rcRow(0, 0, 0, 0), m_rcControl(0, 0, 0, 0), m_dwHideFlags(0), m_dwFlags(0), m_pControls(NULL),
      m_controlType(0), m_pParent(NULL), m_bRarelyUsed(FALSE), m_bDefaultItem(FALSE), m_buttonStyle(0),
      m_buttonCustomStyle(-1), m_buttonRibbonStyle(0), m_bCloseSubMenuOnClick(TRUE), m_pAction(NULL), m_nWidth(0),
      m_nHeight(0), m_nExecuteOnPressInterval(0)
{
}

CQXPControl::~CQXPControl()
{
    if (m_pAction)
        m_pAction->RemoveControl(this);
    m_pAction = NULL;
}

CString CQXPControl::GetCaption() const
{
    if (!m_strCustomCaption.IsEmpty())
        return m_strCustomCaption;
    if (!m_strCaption.IsEmpty())
        return m_strCaption;
    if (m_pAction)
        return m_pAction->m_strCaption.IsEmpty() ? m_pAction->m_strTooltipText : m_pAction->m_strCaption;
    return CString();
}

CString CQXPControl::GetTooltip() const
{
    if (!m_strTooltipText.IsEmpty())
        return m_strTooltipText;
    return m_pAction ? m_pAction->m_strTooltipText : CString();
}

CString CQXPControl::GetDescription() const
{
    if (!m_strDescriptionText.IsEmpty())
        return m_strDescriptionText;
    return m_pAction ? m_pAction->m_strDescriptionText : CString();
}

CString CQXPControl::GetShortcutText() const
{
    if (!m_strShortcutText.IsEmpty())
        return m_strShortcutText;
    if (m_pAction && !m_pAction->m_strShortcutText.IsEmpty())
        return m_pAction->m_strShortcutText;
    return m_strShortcutTextAuto;
}

int CQXPControl::GetEnabled() const
{
    if (m_bEnabled != -1)
        return m_bEnabled;
    if (m_pAction)
        return m_pAction->GetEnabled();
    return -1;
}

int CQXPControl::GetChecked() const
{
    if (m_bChecked != -1)
        return m_bChecked;
    return m_pAction ? m_pAction->m_nChecked : -1;
}

BOOL CQXPControl::IsVisible(DWORD dwSkipFlags) const
{
    if (m_pAction && !m_pAction->m_bVisible)
        return FALSE;
    return (m_dwHideFlags & ~dwSkipFlags) == 0;
}

int CQXPControl::GetIconId() const
{
    if (m_nCustomIconId != 0)
        return m_nCustomIconId;
    if (m_nIconId > 0)
        return m_nIconId;
    if (m_pAction)
        return m_pAction->m_nIconId > 0 ? m_pAction->m_nIconId : m_pAction->m_nId;
    return m_nId;
}

int CQXPControl::GetStyleOnBar(const CQXPCommandBar* pBar) const
{
    if (m_buttonCustomStyle != -1)
        return m_buttonCustomStyle;
    if (m_buttonStyle != 0)
        return m_buttonStyle;
    if (m_buttonRibbonStyle != 0)
        return m_buttonRibbonStyle;
    return pBar ? pBar->GetDefaultButtonStyle() : 0;
}

int CQXPControl::GetStyle() const
{
    return GetStyleOnBar(m_pParent);
}

BOOL CQXPControl::IsCaptionVisible() const
{
    if (m_pParent && m_pParent->GetType() == qxpBarTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    switch (GetStyle()) {
    case qxpButtonCaption:
    case qxpButtonIconAndCaption:
    case qxpButtonIconAndCaptionBelow:
        return TRUE;
    case qxpButtonIcon:
        return FALSE;
    default:
        break;
    }
    switch (m_controlType) {
    case qxpControlButton:
    case qxpControlButtonPopup:
    case qxpControlSplitButtonPopup:
        return GetImage(GetIconSizeForImage()) == NULL;
    case qxpControlPopup:
    case qxpControlLabel:
    case qxpControlCheckBox:
    case qxpControlRadioButton:
        return TRUE;
    default:
        return FALSE;
    }
}

void CQXPControl::SetBeginGroup(BOOL bBeginGroup)
{
    if (m_bBeginGroup == bBeginGroup)
        return;
    m_bBeginGroup = bBeginGroup;
    DelayLayoutParent();
}

void CQXPControl::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    RedrawParent(TRUE);
}

void CQXPControl::SetChecked(int nChecked)
{
    if (m_bChecked == nChecked)
        return;
    m_bChecked = nChecked;
    RedrawParent(TRUE);
}

void CQXPControl::SetVisible(BOOL bVisible)
{
    if (SetHideFlag(qxpHideGeneric, !bVisible))
        DelayLayoutParent();
}

BOOL CQXPControl::SetHideFlag(DWORD dwFlag, BOOL bSet)
{
    DWORD dwNew = bSet ? (m_dwHideFlags | dwFlag) : (m_dwHideFlags & ~dwFlag);
    if (dwNew == m_dwHideFlags)
        return FALSE;
    SetHideFlags(dwNew);
    return TRUE;
}

void CQXPControl::SetCaption(const CString& strCaption)
{
    CString strText = strCaption;
    int nTab = strText.Find('\t');
    if (nTab >= 0) {
        CString strShortcut = strText.Mid(nTab + 1);
        strText = strText.Left(nTab);
        if (strShortcut != m_strShortcutTextAuto) {
            m_strShortcutTextAuto = strShortcut;
            DelayLayoutParent();
        }
    }
    if (strText != m_strCaption) {
        m_strCaption = strText;
        DelayLayoutParent();
    }
}

void CQXPControl::SetCaption(UINT nIDResource)
{
    CString str;
    if (str.LoadString(nIDResource))
        SetCaption(str);
}

void CQXPControl::SetCustomCaption(const CString& str)
{
    if (str == m_strCustomCaption)
        return;
    m_strCustomCaption = str;
    DelayLayoutParent();
}

void CQXPControl::SetShortcutText(const CString& str)
{
    if (str == m_strShortcutText)
        return;
    m_strShortcutText = str;
    DelayLayoutParent();
}

void CQXPControl::SetID(int nId)
{
    if (nId == m_nId)
        return;
    CString strPrompt;
    if (nId > 0 && ToolkitResourceManager::Instance()->LoadString(&strPrompt, (UINT)nId))
        SetPrompt(strPrompt);
    m_nId = nId;
}

void CQXPControl::SetPrompt(const CString& strPrompt)
{
    if (strPrompt.IsEmpty())
        return;
    CString parts[4];
    SplitPrompt(strPrompt, parts, 4);
    if (strPrompt.Find('\n') >= 0) {
        m_strTooltipText = parts[1];
        m_strDescriptionText = parts[0];
    } else {
        m_strTooltipText = strPrompt;
        m_strDescriptionText = strPrompt;
    }
    if (m_strCaption.IsEmpty())
        m_strCaption = !parts[2].IsEmpty() ? parts[2] : m_strTooltipText;
    if (m_strKeyboardTip.IsEmpty())
        m_strKeyboardTip = parts[3];
}

void CQXPControl::SetIconId(int nId)
{
    if (nId == m_nIconId)
        return;
    m_nIconId = nId;
    RedrawParent();
}

void CQXPControl::SetStyle(int nStyle)
{
    if (nStyle == m_buttonStyle)
        return;
    m_buttonStyle = nStyle;
    DelayLayoutParent();
}

void CQXPControl::SetWidth(int nWidth)
{
    if (nWidth == m_nWidth)
        return;
    m_nWidth = nWidth;
    DelayLayoutParent();
}

void CQXPControl::SetHeight(int nHeight)
{
    if (nHeight == m_nHeight)
        return;
    m_nHeight = nHeight;
    DelayLayoutParent();
}

void CQXPControl::SetDefaultItem(BOOL bDefault)
{
    if (bDefault == m_bDefaultItem)
        return;
    m_bDefaultItem = bDefault;
    DelayLayoutParent();
}

void CQXPControl::SetRarelyUsed(BOOL bRarelyUsed)
{
    m_bRarelyUsed = bRarelyUsed;
    if (!bRarelyUsed)
        m_dwHideFlags &= ~(DWORD)qxpHideExpand;
}

void CQXPControl::ResetCustomization()
{
    if (m_nCustomIconId == 0 && m_strCustomCaption.IsEmpty() && m_buttonCustomStyle == -1)
        return;
    m_nCustomIconId = 0;
    m_strCustomCaption.Empty();
    m_buttonCustomStyle = -1;
    if (m_pParent)
        m_pParent->OnRecalcLayout();
}

void CQXPControl::SetAction(CQXPControlAction* pAction)
{
    if (pAction == m_pAction)
        return;
    if (m_pAction)
        m_pAction->RemoveControl(this);
    m_pAction = pAction;
    if (pAction)
        pAction->AddControl(this);
}

CQXPCommandBars* CQXPControl::GetCommandBars() const
{
    if (m_pParent)
        return m_pParent->GetCommandBars();
    return m_pControls ? m_pControls->GetCommandBars() : NULL;
}

BOOL CQXPControl::IsCustomizeMode() const
{
    // A control on no bar is never in customize mode.
    return m_pParent ? m_pParent->IsCustomizeMode() : FALSE;
}

CQXPThemePainter* CQXPControl::GetPaintManager() const
{
    if (m_pParent)
        return m_pParent->GetPaintManager();
    CQXPCommandBars* pCommandBars = m_pControls ? m_pControls->GetCommandBars() : NULL;
    return pCommandBars ? pCommandBars->GetPaintManager() : GetGlobalPaintManager();
}

CQXPImageManager* CQXPControl::GetImageManager() const
{
    if (m_pParent)
        return m_pParent->GetImageManager();
    CQXPCommandBars* pCommandBars = m_pControls ? m_pControls->GetCommandBars() : NULL;
    return pCommandBars ? pCommandBars->GetImageManager() : GetGlobalImageManager();
}

void CQXPControl::RedrawParent(BOOL bAnimate)
{
    if (m_pParent && IsVisible(0))
        m_pParent->Redraw(&m_rcControl, bAnimate);
}

void CQXPControl::DelayLayoutParent()
{
    if (m_pParent)
        m_pParent->DelayLayout();
}

BOOL CQXPControl::OnSetSelected(int bSelected)
{
    if (bSelected == m_nSelected)
        return FALSE;
    if ((bSelected == 2 || bSelected == 3) && m_pParent && m_pParent->GetPopupedIndex() != -1 &&
        m_pParent->GetPopupedIndex() != m_nIndex)
        m_pParent->SetPopuped(-1);
    m_nSelected = bSelected;
    if (m_pParent)
        m_pParent->OnControlSelected(bSelected, this);
    if (GetEnabled() || IsCustomizeMode())
        RedrawParent(bSelected == 0);
    else if (bSelected == 0 || bSelected == 2 || bSelected == 3)
        RedrawParent(bSelected == 0);
    return TRUE;
}

int CQXPControl::GetIconSizeForImage() const
{
    return m_pParent ? m_pParent->GetIconSize().cx : 16;
}

CQXPIconImage* CQXPControl::GetImage(int nWidth) const
{
    int nIconId = GetIconId();
    if (nIconId == 0)
        return NULL;
    return GetImageManager()->GetImage((UINT)nIconId, nWidth);
}

CQXPBarView* CQXPControl::GetParentBar() const
{
    return m_pParent;
}

CSize CQXPControl::GetSize(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    return pPaintManager->DrawControl(pDC, this, FALSE);
}

void CQXPControl::Draw(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    pPaintManager->DrawControl(pDC, this, TRUE);
}

LRESULT CQXPControl::NotifySite(UINT nCode)
{
    if (!m_pParent)
        return 0;
    NMQXPCONTROL nm;
    return NotifySite(m_pParent->GetOwnerSite(), nCode, &nm);
}

LRESULT CQXPControl::NotifySite(CWnd* pSite, UINT nCode, NMQXPCONTROL* pNM)
{
    if (!pSite) {
        if (!m_pParent)
            return 0;
        pSite = m_pParent->GetOwnerSite();
    }
    if (!pSite || !::IsWindow(pSite->GetSafeHwnd()))
        return 0;
    pNM->hdr.hwndFrom = NULL;
    pNM->hdr.idFrom = (UINT_PTR)m_nId;
    pNM->hdr.code = nCode;
    pNM->pControl = this;
    LRESULT lResult = pSite->SendMessage(WM_COMMANDBARS_CONTROLNOTIFY, (WPARAM)m_nId, (LPARAM)pNM);
    if (lResult)
        return lResult;
    // A permanent framework window may take the notification in its command
    // routing (ON_NOTIFY with the control id).
    CWnd* pPermanent = CWnd::FromHandlePermanent(pSite->GetSafeHwnd());
    if (!pPermanent)
        return 0;
    LRESULT lNotifyResult = 0;
    AFX_NOTIFY notify;
    notify.pResult = &lNotifyResult;
    notify.pNMHDR = &pNM->hdr;
    if (pPermanent->OnCmdMsg((UINT)m_nId, MAKELONG(nCode, WM_NOTIFY), &notify, NULL))
        return lNotifyResult;
    return 0;
}

void CQXPControl::FireCommand(CWnd* pTarget)
{
    if (!pTarget || !::IsWindow(pTarget->GetSafeHwnd()))
        return;
    NMQXPCONTROL nm;
    if (NotifySite(pTarget, QXP_CN_EXECUTE, &nm) == 0)
        pTarget->SendMessage(WM_COMMAND, (WPARAM)m_nId, 0);
}

void CQXPControl::OnExecute()
{
    ToolkitSoundThread::Instance()->Play(qxpSoundMenuCommand);
    CQXPCommandBar* pParent = m_pParent;
    int nPressed = (pParent && pParent->GetPosition() == qxpBarPopup) ? 0 : 2;
    CQXPCommandBar* pRoot = pParent ? pParent->GetRootParent() : NULL;
    CWnd* pTarget = pParent ? pParent->GetOwnerSite() : NULL;
    CQXPCommandBars* pCommandBars = pParent ? pParent->GetCommandBars() : NULL;

    if (pRoot && pRoot->m_pReturnCmd) {
        // A popup tracked to return the chosen command: hand the id over and
        // send nothing.
        int* pReturnCmd = pRoot->m_pReturnCmd;
        *pReturnCmd = m_nId;
        if (pRoot->m_bRecursePopup)
            pRoot->SetTrackingMode(FALSE);
        else if (pCommandBars)
            pCommandBars->ClosePopups();
        else
            pRoot->SetTrackingMode(FALSE);
        return;
    }

    if (pCommandBars) {
        if (m_nId != 0)
            pCommandBars->SetCommandUsed(m_nId);
        // The control that opened this popup is recorded as used too.
        CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(pParent);
        if (pPopup && pPopup->m_pControlPopup && pPopup->m_pControlPopup->GetID() != 0)
            pCommandBars->SetCommandUsed(pPopup->m_pControlPopup->GetID());
    }

    InternalAddRef();
    if (m_bCloseSubMenuOnClick) {
        if (pRoot && pRoot->m_bRecursePopup)
            pRoot->SetTrackingMode(FALSE);
        else if (pCommandBars)
            pCommandBars->ClosePopups();
        else {
            // A menu without a manager (shown for another window) closes
            // through the thread's tracked bars.
            ToolkitMouseManager::GetInstance()->SendTrackLost();
        }
    }
    if (m_nId != 0) {
        m_nPressed = nPressed;
        FireCommand(pTarget);
        // The command may have removed this control from its bar or
        // destroyed the bar: only a parent that is still ours is touched.
        if (!m_bCloseSubMenuOnClick || m_nPressed != 0) {
            m_nPressed = 0;
            if (m_pParent && m_pParent == pParent && ::IsWindow(m_pParent->GetSafeHwnd())) {
                m_pParent->OnIdleUpdateCmdUI(0, 0);
                RedrawParent(TRUE);
            }
        }
    }
    InternalRelease();
}

void CQXPControl::OnMouseHover()
{
    CQXPCommandBar* pParent = m_pParent;
    if (!pParent || pParent->GetPopupedIndex() == -1)
        return;
    // The bar tracked with a popup open (mode 2): once that popup is closed
    // here, a bar that is no popup itself has nothing left to track for.
    BOOL bTrackingWithPopup = pParent->IsTrackingMode() == 2;
    pParent->InternalAddRef();
    if (pParent->SetPopuped(-1) && bTrackingWithPopup && pParent->GetPosition() != qxpBarPopup)
        pParent->SetTrackingMode(FALSE, TRUE, FALSE);
    pParent->InternalRelease();
}

void CQXPControl::OnClick(BOOL bKeyboard, CPoint pt)
{
    (void)bKeyboard;
    (void)pt;
}

void CQXPControl::TrackPress(CRect rcTrack)
{
    CQXPCommandBar* pBar = m_pParent;
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    if (rcTrack.IsRectEmpty())
        rcTrack = m_rcControl;
    HWND hWndBar = pBar->GetSafeHwnd();

    pBar->SetSelected(m_nIndex, 0);
    m_nPressed = 1;
    RedrawParent(TRUE);
    InternalAddRef();

    BOOL bAutoRepeat = m_nExecuteOnPressInterval > 0;
    CWnd* pTarget = pBar->GetOwnerSite();
    ::SetCapture(hWndBar);
    if (bAutoRepeat) {
        ::SetTimer(hWndBar, QXP_TID_AUTOREPEAT, (UINT)m_nExecuteOnPressInterval, NULL);
        FireCommand(pTarget);
    }

    BOOL bSuccess = FALSE;
    BOOL bMoved = FALSE;
    CPoint ptLast(0, 0);
    while (::GetCapture() == hWndBar) {
        if (m_pParent != pBar)
            break;
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (m_pParent != pBar)
            break;
        if (msg.message == WM_LBUTTONUP) {
            bSuccess = m_nSelected != 0 && (!bMoved || rcTrack.PtInRect(ptLast));
            break;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWndBar && msg.wParam == QXP_TID_AUTOREPEAT) {
            if (m_nSelected)
                FireCommand(pTarget);
            continue;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWndBar) {
            ptLast = CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            bMoved = TRUE;
            if (OnSetSelected(rcTrack.PtInRect(ptLast) ? 1 : 0) && IsVisible(0))
                pBar->Redraw(&m_rcControl);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::IsWindow(hWndBar) && bAutoRepeat)
        ::KillTimer(hWndBar, QXP_TID_AUTOREPEAT);
    BOOL bStillOurs = m_pParent == pBar && ::IsWindow(hWndBar);
    m_nPressed = (bSuccess && !bAutoRepeat && bStillOurs && pBar->GetPosition() != qxpBarPopup) ? 2 : 0;
    if (::GetCapture() == hWndBar)
        ::ReleaseCapture();

    if (bStillOurs && m_nSelected) {
        pBar->SetSelected(-1, 0);
        m_nSelected = 0;
        pBar->m_nLastStatusIndex = m_nIndex;
    }
    if (!bSuccess || bAutoRepeat || !bStillOurs) {
        m_nPressed = 0;
        RedrawParent(TRUE);
    } else {
        OnExecute();
        if (m_nPressed != 0) {
            m_nPressed = 0;
            RedrawParent(TRUE);
        }
    }
    InternalRelease();
}

BOOL CQXPControl::Compare(CQXPControl* pOther)
{
    if (!pOther || GetRuntimeClass() != pOther->GetRuntimeClass())
        return FALSE;
    // The style compared is the one the control shows (its own, else the
    // layout's or the bar's default); a stored copy that sits on no bar is
    // taken as shown on the other's bar. The image ids are no part of it,
    // but a picture the user changed is.
    const CQXPCommandBar* pBar = m_pParent ? m_pParent : pOther->m_pParent;
    return m_controlType == pOther->m_controlType && m_nId == pOther->m_nId && m_dwFlags == pOther->m_dwFlags &&
           m_bBeginGroup == pOther->m_bBeginGroup && GetStyleOnBar(pBar) == pOther->GetStyleOnBar(pBar) &&
           m_strCaption == pOther->m_strCaption && m_strTooltipText == pOther->m_strTooltipText &&
           m_strDescriptionText == pOther->m_strDescriptionText &&
           m_strCustomCaption == pOther->m_strCustomCaption && m_strParameter == pOther->m_strParameter &&
           m_buttonCustomStyle == pOther->m_buttonCustomStyle && m_nCustomIconId == pOther->m_nCustomIconId &&
           (m_dwHideFlags & qxpHideCustomize) == (pOther->m_dwHideFlags & qxpHideCustomize) &&
           m_nWidth == pOther->m_nWidth;
}

void CQXPControl::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    (void)bRecursive;
    m_nId = pControl->m_nId;
    SetAction(pControl->m_pAction);
    m_nTag = pControl->m_nTag;
    m_dwFlags = pControl->m_dwFlags;
    m_controlType = pControl->m_controlType;
    m_strCaption = pControl->m_strCaption;
    m_strShortcutText = pControl->m_strShortcutText;
    m_strShortcutTextAuto = pControl->m_strShortcutTextAuto;
    m_strTooltipText = pControl->m_strTooltipText;
    m_strDescriptionText = pControl->m_strDescriptionText;
    m_strParameter = pControl->m_strParameter;
    m_strKeyboardTip = pControl->m_strKeyboardTip;
    m_nCustomIconId = pControl->m_nCustomIconId;
    m_nIconId = pControl->m_nIconId;
    m_nHelpId = pControl->m_nHelpId;
    m_bTemporary = pControl->m_bTemporary;
    m_strCustomCaption = pControl->m_strCustomCaption;
    m_strCategory = pControl->m_strCategory;
    m_dwHideFlags = pControl->m_dwHideFlags;
    m_bDefaultItem = pControl->m_bDefaultItem;
    m_bEnabled = pControl->m_bEnabled;
    m_bChecked = pControl->m_bChecked;
    m_buttonCustomStyle = pControl->m_buttonCustomStyle;
    m_buttonStyle = pControl->m_buttonStyle;
    // A fixed width is never below what this control can be made (0 stays:
    // the control is measured).
    m_nWidth = pControl->m_nWidth;
    if (m_nWidth > 0 && m_nWidth < GetCustomizeMinWidth())
        m_nWidth = GetCustomizeMinWidth();
    m_nHeight = pControl->m_nHeight;
    m_bBeginGroup = pControl->m_bBeginGroup;
    m_bCloseSubMenuOnClick = pControl->m_bCloseSubMenuOnClick;
    m_nExecuteOnPressInterval = pControl->m_nExecuteOnPressInterval;
    m_mapDocTemplatesAssigned = pControl->m_mapDocTemplatesAssigned;
    m_mapDocTemplatesExcluded = pControl->m_mapDocTemplatesExcluded;
}

CQXPControl* CQXPControl::Clone(BOOL bRecursive)
{
    CQXPControl* pClone = QxpCreateObjectAs<CQXPControl>(GetRuntimeClass());
    if (!pClone)
        return NULL;
    pClone->Copy(this, bRecursive);
    return pClone;
}

// ===========================================================================
// CQXPControlButton

IMPLEMENT_DYNCREATE(CQXPControlButton, CQXPControl)

CQXPControlButton::CQXPControlButton()
{
    m_controlType = qxpControlButton;
}

void CQXPControlButton::OnClick(BOOL bKeyboard, CPoint pt)
{
    (void)pt;
    if (!GetEnabled())
        return;
    if (IsCustomizeMode()) {
        if (m_pParent) {
            m_pParent->SetPopuped(-1);
            m_pParent->SetSelected(-1);
            OnCustomizeClick(pt);
        }
        return;
    }
    if (bKeyboard) {
        OnExecute();
        return;
    }
    if (m_pParent && m_pParent->GetType() == qxpBarTypePopup)
        return;
    TrackPress(CRect(0, 0, 0, 0));
}

void CQXPControlButton::OnLButtonUp(CPoint pt)
{
    (void)pt;
    if (GetEnabled() && m_pParent &&
        (m_pParent->GetType() == qxpBarTypePopup || m_pParent->GetPosition() == qxpBarPopup))
        OnExecute();
}
