// List controls: the window list, the toolbars, the recent files, the object
// verbs and the workspace actions; the label, check box and radio button.

#include <qx/commandbars.h>
#include <qx/colors.h>
#include <qx/barcontrols.h>
#include <qx/listcontrols.h>
#include <qx/propexchange.h>

#include <algorithm>

namespace {

// The MDI client of a bar's site frame, NULL when it has none.
HWND FindMDIClient(CQXPCommandBar* pParent)
{
    if (!pParent)
        return NULL;
    CWnd* pSite = pParent->GetOwnerSite();
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

} // namespace

CString AFXAPI QxpFormatItemText(const CString& strText, int nNumber)
{
    CString strEscaped;
    int nLength = strText.GetLength();
    for (int i = 0; i < nLength; i++) {
        char ch = strText[i];
        strEscaped += ch;
        if (::IsDBCSLeadByte((BYTE)ch) && i + 1 < nLength) {
            // The trail byte of a double-byte character may look like '&'.
            strEscaped += strText[++i];
            continue;
        }
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
    return FindMDIClient(m_pParent);
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
// Toolbars

namespace {

// One entry of a toolbars list: shows or hides the toolbar whose index in
// the manager is its tag. It reports the plain button's runtime class, so a
// copy of it is an ordinary button.
class CQXPControlToolbarItem : public CQXPControlButton {
public:
    void OnExecute() override
    {
        CQXPCommandBars* pCommandBars = GetCommandBars();
        if (!pCommandBars)
            return;
        // Closing the popups may take this item off its bar.
        InternalAddRef();
        int nBar = (int)m_nTag;
        pCommandBars->ClosePopups();
        if (CQXPToolBar* pToolBar = pCommandBars->GetAt(nBar)) {
            pToolBar->SetVisible(!pToolBar->IsVisible());
            pCommandBars->m_bLayoutChanged = TRUE;
            pCommandBars->RecalcFrameLayout();
        }
        InternalRelease();
    }
};

} // namespace

IMPLEMENT_DYNCREATE(CQXPControlToolbars, CQXPControlButton)

CQXPControlToolbars::CQXPControlToolbars() {}

void AFXAPI CQXPControlToolbars::AddToolbarItems(CQXPCommandBar* pBar, int nIndex, int nId, BOOL bAddCustomize,
                                                 BOOL bBeginGroup)
{
    CQXPCommandBars* pCommandBars = pBar ? pBar->GetCommandBars() : NULL;
    if (!pCommandBars)
        return;
    CQXPControls* pControls = pBar->GetControls();
    BOOL bFirst = TRUE;
    for (int i = 0; i < pCommandBars->GetCount(); i++) {
        CQXPToolBar* pToolBar = pCommandBars->GetAt(i);
        if (!pToolBar || !pToolBar->m_bContextMenuPresent || !pToolBar->m_bCloseable)
            continue;
        CQXPControl* pItem =
            pControls->AddControl(new CQXPControlToolbarItem, nId, QXP_TOOLBARITEM_PARAMETER, nIndex++, TRUE);
        if (!pItem)
            break;
        pItem->m_nTag = (DWORD_PTR)i;
        pItem->SetBeginGroup(bFirst ? bBeginGroup : FALSE);
        bFirst = FALSE;
        pItem->SetCaption(QxpFormatItemText(pToolBar->GetTitle(), 0));
        pItem->SetFlags(qxpFlagManualUpdate);
        pItem->SetChecked(pToolBar->IsVisible() ? 1 : 0);
    }
    if (bAddCustomize && pCommandBars->IsCustomizeAllowed()) {
        if (CQXPControl* pCustomize = pControls->Add(qxpControlButton, QXP_ID_CUSTOMIZE, CString(), -1, TRUE))
            pCustomize->SetBeginGroup(TRUE);
    }
}

void CQXPControlToolbars::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    if (!m_pControls)
        return;
    for (;;) {
        CQXPControl* pNext = m_pControls->GetAt(m_nIndex + 1);
        if (!pNext || pNext->GetParameter() != QXP_TOOLBARITEM_PARAMETER)
            break;
        m_pControls->Remove(pNext);
    }
    if (IsCustomizeMode()) {
        SetHideFlags(0);
        return;
    }
    SetHideFlags(qxpHideGeneric);
    AddToolbarItems(m_pParent, m_nIndex + 1, m_nId, FALSE, m_bBeginGroup);
}

// ===========================================================================
// Recent files

IMPLEMENT_DYNCREATE(CQXPControlRecentFileList, CQXPControlButton)

CQXPControlRecentFileList::CQXPControlRecentFileList() {}

CRecentFileList* CQXPControlRecentFileList::GetRecentFileList()
{
    return AfxGetRecentFileList();
}

int CQXPControlRecentFileList::GetFirstMruId()
{
    return QXP_ID_FIRST_MRU;
}

void CQXPControlRecentFileList::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    if (!m_pControls)
        return;
    CRecentFileList* pList = GetRecentFileList();
    int nSize = pList ? pList->GetSize() : 0;
    // A list that starts further on numbers its commands from there, as the
    // framework's command handler expects.
    int nFirstId = GetFirstMruId() + (pList ? (int)pList->m_nStart : 0);

    // The entries of the last run: temporary controls in the id range right
    // after the placeholder. A list that went away (or shrank) leaves its
    // old entries too, so up to the largest list the framework keeps.
    int nLastId = nFirstId + (nSize > 16 ? nSize : 16);
    for (;;) {
        CQXPControl* pNext = m_pControls->GetAt(m_nIndex + 1);
        if (!pNext || !pNext->IsTemporary() || pNext->GetID() < nFirstId || pNext->GetID() > nLastId)
            break;
        m_pControls->Remove(pNext);
    }

    if (IsCustomizeMode()) {
        SetHideFlags(0);
        SetEnabled(TRUE);
        return;
    }
    if (nSize == 0 || (*pList)[0].IsEmpty()) {
        // No list or an empty one: the placeholder caption, greyed.
        SetHideFlags(0);
        SetEnabled(FALSE);
        return;
    }
    SetHideFlags(qxpHideGeneric);

    char szCurDir[MAX_PATH + 2] = "";
    int nCurDir = CRecentFileList::GetCurrentDirForDisplay(szCurDir);

    for (int i = 0; i < nSize; i++) {
        CString strName;
        if (!pList->GetDisplayName(strName, i, szCurDir, nCurDir, TRUE) || strName.IsEmpty())
            break;
        CQXPControl* pItem = m_pControls->Add(qxpControlButton, nFirstId + i, CString(), m_nIndex + i + 1, TRUE);
        if (!pItem)
            break;
        pItem->SetCaption(QxpFormatItemText(strName, i + 1));
        DWORD dwFlags = qxpFlagManualUpdate;
        if (i == 0 && (m_dwFlags & qxpFlagWrapRow))
            dwFlags |= qxpFlagWrapRow;
        pItem->SetFlags(dwFlags);
        if (i == 0 && m_nIndex > 0)
            pItem->SetBeginGroup(TRUE);
    }
}

// ===========================================================================
// Object verbs

IMPLEMENT_DYNCREATE(CQXPControlOleItems, CQXPControlButton)

CQXPControlOleItems::CQXPControlOleItems() {}

void CQXPControlOleItems::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    if (!m_pControls)
        return;
    CQXPControl* pNext = m_pControls->GetAt(m_nIndex + 1);
    if (pNext && pNext->GetParameter() == QXP_OLEPOPUP_PARAMETER)
        m_pControls->Remove(pNext);
    // No document of this framework holds embedded objects, so there are no
    // verbs to list.
    SetHideFlags(IsCustomizeMode() ? 0 : qxpHideGeneric);
}

// ===========================================================================
// Workspace actions

IMPLEMENT_DYNCREATE(CQXPControlWorkspaceActions, CQXPControlButton)

namespace {

// Asks a window's own update handler whether a command is enabled.
class WorkspaceCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = FALSE;
    void Enable(BOOL bOn = TRUE) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
    // TRUE when the target has an update handler for the command.
    BOOL Ask(CCmdTarget* pTarget, UINT nId)
    {
        m_nID = nId;
        m_bEnabled = FALSE;
        m_bEnableChanged = FALSE;
        return pTarget->OnCmdMsg(nId, (int)CN_UPDATE_COMMAND_UI, this, NULL) && m_bEnableChanged;
    }
};

} // namespace

CQXPControlWorkspaceActions::CQXPControlWorkspaceActions() {}

void CQXPControlWorkspaceActions::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    if (!m_pParent || !m_pControls)
        return;
    const int kFirst = 9155, kLast = 9158;
    for (;;) {
        CQXPControl* pNext = m_pControls->GetAt(m_nIndex + 1);
        if (!pNext || !pNext->IsTemporary() || pNext->GetID() < kFirst || pNext->GetID() > kLast)
            break;
        m_pControls->Remove(pNext);
    }
    // Only a tabbed MDI client answers the update of these commands; a
    // plain MDI client leaves the placeholder as it is.
    HWND hClient = FindMDIClient(m_pParent);
    CWnd* pClient = hClient ? CWnd::FromHandlePermanent(hClient) : NULL;
    WorkspaceCmdUI probe;
    if (!pClient || !probe.Ask(pClient, (UINT)kFirst))
        return;
    SetHideFlags(qxpHideGeneric);
    // New horizontal group, new vertical group, previous group, next group.
    const int kOrder[] = {9157, 9158, 9155, 9156};
    int nInsert = m_nIndex + 1;
    CQXPControl* pFirst = NULL;
    for (int nId : kOrder) {
        if (!probe.Ask(pClient, (UINT)nId) || !probe.m_bEnabled)
            continue;
        CQXPControl* pItem = m_pControls->Add(qxpControlButton, nId, CString(), nInsert++, TRUE);
        if (pItem && !pFirst)
            pFirst = pItem;
    }
    if (pFirst)
        pFirst->SetBeginGroup(m_bBeginGroup);
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
    if (bKeyboard || !IsCustomizeMode() || !m_pParent || !IsCustomizeMovable())
        return;
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
    OnCustomizeClick(pt);
}

// ===========================================================================
// Selector

IMPLEMENT_DYNCREATE(CQXPControlSelector, CQXPControl)

CQXPControlSelector::CQXPControlSelector()
    : m_szItemsCount(5, 4), m_szItemsMax(12, 12), m_szHot(0, 0), m_szItemSize(28, 28), m_szResult(0, 0),
      m_szShown(0, 0), m_bInResize(FALSE)
{
}

CSize CQXPControlSelector::GetSize(CDC* pDC)
{
    (void)pDC;
    return CSize(m_szShown.cx * m_szItemSize.cx, m_szShown.cy * m_szItemSize.cy);
}

void CQXPControlSelector::Draw(CDC* pDC)
{
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    CQXPThemePainter* pPaintManager = GetGlobalPaintManager();
    COLORREF clrFrame = pPaintManager->GetColor(qxColorMenuBorder);
    for (int x = 0; x < m_szShown.cx; x++) {
        for (int y = 0; y < m_szShown.cy; y++) {
            CRect rcCell(CPoint(m_rcControl.left + x * m_szItemSize.cx, m_rcControl.top + y * m_szItemSize.cy),
                         m_szItemSize);
            rcCell.DeflateRect(1, 1);
            BOOL bHot = x < m_szHot.cx && y < m_szHot.cy;
            pDC->FillSolidRect(rcCell, pColors->GetColor(bHot ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            pDC->Draw3dRect(rcCell, clrFrame, clrFrame);
            DrawItem(pDC, rcCell, bHot ? pColors->GetColor(COLOR_HIGHLIGHTTEXT) : pPaintManager->GetColor(qxColorBarText));
        }
    }
}

void CQXPControlSelector::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    if (m_bInResize)
        return;
    m_szHot = CSize(0, 0);
    m_szShown = m_szItemsCount;
    RedrawParent(FALSE);
    NotifySite(QXP_CN_SELECTOR_HOTCHANGED);
}

void CQXPControlSelector::SetHot(CSize szHot, BOOL bForce)
{
    if (szHot == m_szHot && !bForce)
        return;
    m_szHot = szHot;
    RedrawParent(FALSE);
    NotifySite(QXP_CN_SELECTOR_HOTCHANGED);
}

void CQXPControlSelector::OnMouseMove(CPoint pt)
{
    // Every column whose left edge lies left of the point is marked, and
    // every row whose top edge lies above it.
    CSize szHot(0, 0);
    for (int x = 0; x < m_szShown.cx && m_rcControl.left + x * m_szItemSize.cx < pt.x; x++)
        szHot.cx++;
    for (int y = 0; y < m_szShown.cy && m_rcControl.top + y * m_szItemSize.cy < pt.y; y++)
        szHot.cy++;
    SetHot(szHot);
}

BOOL CQXPControlSelector::OnSetSelected(int bSelected)
{
    if (!bSelected && m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()) && (::GetKeyState(VK_LBUTTON) & 0x8000) &&
        m_szItemSize.cx > 0 && m_szItemSize.cy > 0) {
        // The mouse left the grid with the button down: past the right or
        // bottom edge the grid grows towards it.
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
        CSize szShown = m_szShown;
        if (pt.x > m_rcControl.right)
            szShown.cx = std::min((int)((pt.x - m_rcControl.left) / m_szItemSize.cx + 1), (int)m_szItemsMax.cx);
        if (pt.y > m_rcControl.bottom)
            szShown.cy = std::min((int)((pt.y - m_rcControl.top) / m_szItemSize.cy + 1), (int)m_szItemsMax.cy);
        if (szShown.cx > m_szShown.cx || szShown.cy > m_szShown.cy) {
            m_szShown = CSize(std::max(szShown.cx, m_szShown.cx), std::max(szShown.cy, m_szShown.cy));
            RedrawParent(FALSE);
            NotifySite(QXP_CN_SELECTOR_HOTCHANGED);
            m_bInResize = TRUE;
            m_pParent->OnRecalcLayout();
            m_bInResize = FALSE;
            OnMouseMove(pt);
        } else {
            SetHot(CSize(0, 0));
        }
    }
    return CQXPControl::OnSetSelected(bSelected);
}

void CQXPControlSelector::OnLButtonUp(CPoint pt)
{
    (void)pt;
    // A release outside every cell (nothing marked in one of the two
    // directions) chooses nothing.
    if (m_szHot.cx <= 0 || m_szHot.cy <= 0)
        return;
    m_szResult = m_szHot;
    OnExecute();
}

void CQXPControlSelector::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControl::Copy(pControl, bRecursive);
    if (CQXPControlSelector* pSelector = dynamic_cast<CQXPControlSelector*>(pControl)) {
        m_szItemsCount = pSelector->m_szItemsCount;
        m_szItemsMax = pSelector->m_szItemsMax;
        m_szItemSize = pSelector->m_szItemSize;
    }
}

void CQXPControlSelector::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPControl::DoPropExchange(pPX);
    ExchangeSizeProp(pPX, "ItemsCount", &m_szItemsCount, CSize(0, 0));
    ExchangeSizeProp(pPX, "ItemsMax", &m_szItemsMax, CSize(0, 0));
    ExchangeSizeProp(pPX, "ItemSize", &m_szItemSize, CSize(0, 0));
}
