// customizepages.cpp - the Toolbars, Commands, Menus and Options pages of the
// customize sheet.
#include <qx/customizesheet.h>

#include <qx/barcontrols.h>
#include <qx/barstate.h>
#include <qx/commandbars.h>
#include <qx/menubar.h>
#include <qx/mousemanager.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>
#include <qx/resourcemgr.h>
#include <qx/visualstyles.h>

#include <algorithm>

namespace {
CString FormatString(UINT nId, LPCSTR lpszArg)
{
    CString strText;
    strText.Format(ToolkitResourceManager::Instance()->LoadString(nId), lpszArg);
    return strText;
}

// The button theme's check-box part and its states.
const int kThemeCheckBoxPart = 3;
const int kThemeChecked = 5;
const int kThemeUnchecked = 1;
// The group box part, its normal state and the colours the title takes.
const int kThemeGroupBoxPart = 4;
const int kThemeGroupBoxNormal = 1;
const int kThemeTextColor = 3803;
const int kThemeEdgeShadowColor = 3806;
} // namespace

// ---------------------------------------------------------------------------
// CQXPTitleStatic

BOOL CQXPTitleStatic::GetThemeColors(COLORREF* pclrText, COLORREF* pclrEdge)
{
    CVisualStyleTheme theme(FALSE);
    if (m_hWnd == NULL || theme.OpenThemeData(m_hWnd, L"BUTTON") == NULL)
        return FALSE;
    COLORREF clrText = 0, clrEdge = 0;
    if (FAILED(theme.GetThemeColor(kThemeGroupBoxPart, kThemeGroupBoxNormal, kThemeTextColor, &clrText)))
        clrText = ::GetSysColor(COLOR_BTNTEXT);
    if (FAILED(theme.GetThemeColor(kThemeGroupBoxPart, kThemeGroupBoxNormal, kThemeEdgeShadowColor, &clrEdge)))
        return FALSE;
    *pclrText = clrText;
    *pclrEdge = clrEdge;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CQXPToolbarsCheckList

CSize CQXPToolbarsCheckList::GetCheckBoxSize()
{
    CVisualStyleTheme theme(FALSE);
    if (m_hWnd != NULL && theme.OpenThemeData(m_hWnd, L"BUTTON") != NULL) {
        CClientDC dc(this);
        SIZE sz = {0, 0};
        if (SUCCEEDED(theme.GetThemePartSize(dc.GetSafeHdc(), kThemeCheckBoxPart, kThemeUnchecked, NULL, TS_DRAW,
                                             &sz)) &&
            sz.cx > 0 && sz.cy > 0)
            return CSize(sz.cx, sz.cy);
    }
    return CCheckListBox::GetCheckBoxSize();
}

void CQXPToolbarsCheckList::DrawCheckBox(CDC* pDC, CRect rcBox, int nCheck, BOOL bEnabled)
{
    CVisualStyleTheme theme(FALSE);
    if (m_hWnd != NULL && theme.OpenThemeData(m_hWnd, L"BUTTON") != NULL &&
        SUCCEEDED(theme.DrawThemeBackground(pDC->GetSafeHdc(), kThemeCheckBoxPart,
                                            nCheck ? kThemeChecked : kThemeUnchecked, rcBox)))
        return;
    CCheckListBox::DrawCheckBox(pDC, rcBox, nCheck, bEnabled);
}

// ---------------------------------------------------------------------------
// CQXPCustomizeToolbarsPage

CQXPCustomizeToolbarsPage::CQXPCustomizeToolbarsPage(CQXPCustomizeSheet* pSheet)
    : CPropertyPage(QX_IDD_CUSTOMIZE_TOOLBARS), m_pSheet(pSheet)
{
}

BOOL CQXPCustomizeToolbarsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_list.SubclassDlgItem(QX_CID_TOOLBARS_LIST, this);
    m_list.SetItemHeight(0, (UINT)m_list.GetCheckBoxSize().cy + 3);
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (pBars != NULL && pBars->IsLayoutRTL())
        m_list.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    RefreshList();
    return TRUE;
}

void CQXPCustomizeToolbarsPage::RefreshList()
{
    int nSelected = m_list.GetCurSel();
    int nTop = m_list.GetTopIndex();
    m_list.ResetContent();
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    for (int i = 0; pBars != NULL && i < pBars->GetCount(); ++i) {
        CQXPToolBar* pBar = pBars->GetAt(i);
        if (pBar == NULL || !pBar->IsCustomizable() || !pBar->m_bCustomizeDialogPresent ||
            !(pBar->m_bCloseable || pBar->IsVisible()))
            continue;
        int nItem = m_list.AddString(pBar->GetTitle());
        m_list.SetItemData(nItem, (DWORD_PTR)i);
        m_list.SetCheck(nItem, pBar->IsVisible() ? 1 : 0);
    }
    if (nSelected >= m_list.GetCount())
        nSelected = m_list.GetCount() - 1;
    m_list.SetCurSel(nSelected);
    if (nTop >= 0 && nTop < m_list.GetCount())
        m_list.SetTopIndex(nTop);
    OnSelChange();
}

CQXPToolBar* CQXPCustomizeToolbarsPage::GetSelectedBar() const
{
    int nItem = m_list.GetCurSel();
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (nItem < 0 || pBars == NULL)
        return NULL;
    return pBars->GetAt((int)m_list.GetItemData(nItem));
}

void CQXPCustomizeToolbarsPage::OnSelChange()
{
    CQXPToolBar* pBar = GetSelectedBar();
    BOOL bBuiltIn = pBar != NULL && pBar->m_bBuiltIn;
    GetDlgItem(QX_CID_TOOLBARS_RESET)->EnableWindow(pBar != NULL && bBuiltIn);
    GetDlgItem(QX_CID_TOOLBARS_RENAME)->EnableWindow(pBar != NULL && !bBuiltIn);
    GetDlgItem(QX_CID_TOOLBARS_DELETE)->EnableWindow(pBar != NULL && !bBuiltIn);
}

void CQXPCustomizeToolbarsPage::OnCheckChange()
{
    int nItem = m_list.GetCaretIndex();
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (nItem < 0 || pBars == NULL)
        return;
    CQXPToolBar* pBar = pBars->GetAt((int)m_list.GetItemData(nItem));
    if (pBar == NULL)
        return;
    if (pBar->m_bCloseable) {
        pBar->SetVisible(m_list.GetCheck(nItem) != 0);
        pBars->RecalcFrameLayout();
    } else {
        m_list.SetCheck(nItem, pBar->IsVisible() ? 1 : 0);
    }
}

void CQXPCustomizeToolbarsPage::OnNew()
{
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    CQXPNewToolbarDlg dlg(m_pSheet, pBars);
    if (dlg.DoModal() != IDOK)
        return;
    CQXPToolBar* pBar = pBars->AddCustomBar(dlg.m_strName, dlg.m_nBarID, FALSE);
    RefreshList();
    if (pBar != NULL) {
        for (int i = 0; i < m_list.GetCount(); ++i)
            if (pBars->GetAt((int)m_list.GetItemData(i)) == pBar)
                m_list.SetCurSel(i);
        OnSelChange();
        CWnd* pSite = m_pSheet->GetSite();
        if (pSite != NULL)
            pSite->SendMessage(WM_QXP_TOOLBARCREATED, 0, (LPARAM)pBar);
    }
}

void CQXPCustomizeToolbarsPage::OnRename()
{
    CQXPToolBar* pBar = GetSelectedBar();
    if (pBar == NULL || pBar->m_bBuiltIn)
        return;
    CQXPNewToolbarDlg dlg(m_pSheet, m_pSheet->GetCommandBars(), pBar);
    if (dlg.DoModal() != IDOK)
        return;
    pBar->SetTitle(dlg.m_strName);
    int nItem = m_list.GetCurSel();
    int nCheck = m_list.GetCheck(nItem);
    DWORD_PTR dwData = m_list.GetItemData(nItem);
    m_list.DeleteString((UINT)nItem);
    m_list.InsertString(nItem, dlg.m_strName);
    m_list.SetItemData(nItem, dwData);
    m_list.SetCheck(nItem, nCheck);
    m_list.SetCurSel(nItem);
}

void CQXPCustomizeToolbarsPage::OnDelete()
{
    CQXPToolBar* pBar = GetSelectedBar();
    if (pBar == NULL || pBar->m_bBuiltIn)
        return;
    CString strText = FormatString(QX_IDS_CONFIRM_DELETE_TOOLBAR, pBar->GetTitle());
    if (m_pSheet->MessageBox(strText, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    // The manager tells the site (WM_QXP_TOOLBARDELETING) before the bar
    // goes; telling it here too would announce the bar twice.
    m_pSheet->GetCommandBars()->Remove(pBar);
    RefreshList();
}

void CQXPCustomizeToolbarsPage::OnResetBar()
{
    CQXPToolBar* pBar = GetSelectedBar();
    if (pBar == NULL || !pBar->m_bBuiltIn)
        return;
    CString strText = FormatString(QX_IDS_CONFIRM_RESET_TOOLBAR, pBar->GetTitle());
    if (m_pSheet->MessageBox(strText, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    pBar->Reset(FALSE);
    RefreshList();
}

BOOL CQXPCustomizeToolbarsPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nCode = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case QX_CID_TOOLBARS_LIST:
        if (nCode == LBN_SELCHANGE)
            OnSelChange();
        else if (nCode == CLBN_CHKCHANGE)
            OnCheckChange();
        return TRUE;
    case QX_CID_TOOLBARS_NEW:
        OnNew();
        return TRUE;
    case QX_CID_TOOLBARS_RENAME:
        OnRename();
        return TRUE;
    case QX_CID_TOOLBARS_DELETE:
        OnDelete();
        return TRUE;
    case QX_CID_TOOLBARS_RESET:
        OnResetBar();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

// ---------------------------------------------------------------------------
// CQXPCommandsList

BEGIN_MESSAGE_MAP(CQXPCommandsList, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
CQXPThemePainter* PainterOf(CQXPCustomizeSheet* pSheet)
{
    (void)pSheet;
    return GetGlobalPaintManager();
}
} // namespace

void CQXPCommandsList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = 22;
}

void CQXPCommandsList::DrawItem(LPDRAWITEMSTRUCT lpDis)
{
    if ((int)lpDis->itemID < 0)
        return;
    CQXPControl* pControl = (CQXPControl*)lpDis->itemData;
    CDC* pDC = CDC::FromHandle(lpDis->hDC);
    CRect rc(lpDis->rcItem);
    CQXPThemePainter* pPainter = PainterOf(m_pSheet);
    if (pPainter == NULL || pControl == NULL)
        return;
    pPainter->DrawListBoxControl(pDC, rc, (lpDis->itemState & ODS_SELECTED) != 0);
    pPainter->DrawCommandListEntry(pDC, pControl, rc, (lpDis->itemState & ODS_SELECTED) != 0, TRUE);
}

BOOL CQXPCommandsList::OnEraseBkgnd(CDC* pDC)
{
    CQXPThemePainter* pPainter = PainterOf(m_pSheet);
    CRect rc;
    GetClientRect(&rc);
    if (pPainter != NULL)
        pPainter->DrawListBoxControl(pDC, rc, FALSE);
    else
        pDC->FillSolidRect(rc, ::GetSysColor(COLOR_WINDOW));
    return TRUE;
}

void CQXPCommandsList::OnLButtonDown(UINT nFlags, CPoint point)
{
    CQXPCommandBars* pBars = m_pSheet ? m_pSheet->GetCommandBars() : NULL;
    BOOL bOutside = TRUE;
    int nItem = (int)ItemFromPoint(point, bOutside);
    if (bOutside || nItem < 0 || nItem >= GetCount() || pBars == NULL) {
        CListBox::OnLButtonDown(nFlags, point);
        return;
    }
    SetCurSel(nItem);
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE), (LPARAM)m_hWnd);
    CQXPControl* pControl = (CQXPControl*)GetItemData(nItem);
    if (pControl == NULL)
        return;
    // A popup without controls (a new menu) goes as a fresh clone, so each
    // drop makes a menu of its own.
    CQXPCommandBar* pPopupBar = pControl->GetCommandBar();
    if ((pControl->GetType() == qxpControlPopup || pControl->GetType() == qxpControlButtonPopup) &&
        (pPopupBar == NULL || pPopupBar->GetControls()->GetCount() == 0)) {
        CQXPControl* pClone = pControl->Clone(FALSE);
        if (pClone != NULL) {
            m_pSheet->DragCommand(pClone);
            pClone->InternalRelease();
        }
        return;
    }
    m_pSheet->DragCommand(pControl);
}

// ---------------------------------------------------------------------------
// CQXPCustomizeCommandsPage

BEGIN_MESSAGE_MAP(CQXPCustomizeCommandsPage, CPropertyPage)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXPCustomizeCommandsPage::CQXPCustomizeCommandsPage(CQXPCustomizeSheet* pSheet)
    : CPropertyPage(QX_IDD_CUSTOMIZE_COMMANDS), m_pSheet(pSheet), m_categories(pSheet->GetCommandBars())
{
    m_commandsList.m_pSheet = pSheet;
}

BOOL CQXPCustomizeCommandsPage::InsertCategory(UINT nMenuId, UINT nNameId, int nIndex)
{
    return m_categories.InsertMenu(nMenuId, ToolkitResourceManager::Instance()->LoadString(nNameId), nIndex);
}

void CQXPCustomizeCommandsPage::InsertAllCommandsCategory(UINT nNameId, int nIndex)
{
    m_categories.InsertAllCommands(ToolkitResourceManager::Instance()->LoadString(nNameId), nIndex);
}

void CQXPCustomizeCommandsPage::InsertNewMenuCategory(UINT nNameId, int nIndex)
{
    m_categories.InsertNewMenu(ToolkitResourceManager::Instance()->LoadString(nNameId), nIndex);
}

BOOL CQXPCustomizeCommandsPage::AddCategories(UINT nMenuId, BOOL bExpandPopups)
{
    return m_categories.AddMenu(nMenuId, bExpandPopups);
}

BOOL CQXPCustomizeCommandsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_categoriesList.SubclassDlgItem(QX_CID_COMMANDS_CATEGORIES, this);
    m_commandsList.SubclassDlgItem(QX_CID_COMMANDS_LIST, this);
    for (int i = 0; i < m_categories.GetCount(); ++i) {
        int nItem = m_categoriesList.AddString(m_categories.GetAt(i).strName);
        m_categoriesList.SetItemData(nItem, (DWORD_PTR)i);
    }
    m_categoriesList.SetCurSel(0);
    CQXPThemePainter* pPainter = GetGlobalPaintManager();
    if (pPainter != NULL) {
        CClientDC dc(&m_commandsList);
        CQXPControlButton measure;
        measure.SetCaption(CString("Ag"));
        CSize sz = pPainter->DrawCommandListEntry(&dc, &measure, CRect(0, 0, 200, 100), FALSE, FALSE);
        if (sz.cy > 0)
            m_commandsList.SetItemHeight(0, (UINT)sz.cy);
    }
    if (ToolkitMouseManager::GetInstance() != NULL)
        ToolkitMouseManager::GetInstance()->AddExcludedWindow(m_hWnd);
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (pBars != NULL && pBars->IsLayoutRTL()) {
        m_commandsList.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
        m_categoriesList.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
    }
    RefreshCommands();
    return TRUE;
}

void CQXPCustomizeCommandsPage::OnDestroy()
{
    if (ToolkitMouseManager::GetInstance() != NULL)
        ToolkitMouseManager::GetInstance()->RemoveExcludedWindow(m_hWnd);
    CPropertyPage::OnDestroy();
}

void CQXPCustomizeCommandsPage::RefreshCommands()
{
    m_commandsList.ResetContent();
    int nItem = m_categoriesList.GetCurSel();
    if (nItem < 0)
        return;
    CQXPControls* pControls = m_categories.GetAt((int)m_categoriesList.GetItemData(nItem)).pControls;
    for (int i = 0; i < pControls->GetCount(); ++i)
        m_commandsList.AddString((LPCSTR)pControls->GetAt(i));
    m_commandsList.SetCurSel(pControls->GetCount() > 0 ? 0 : -1);
}

BOOL CQXPCustomizeCommandsPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == QX_CID_COMMANDS_CATEGORIES && HIWORD(wParam) == LBN_SELCHANGE) {
        RefreshCommands();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

// ---------------------------------------------------------------------------
// CQXPCustomizeMenusPage

BEGIN_MESSAGE_MAP(CQXPCustomizeMenusPage, CPropertyPage)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXPCustomizeMenusPage::CQXPCustomizeMenusPage(CQXPCustomizeSheet* pSheet)
    : CPropertyPage(QX_IDD_CUSTOMIZE_MENUS), m_pSheet(pSheet)
{
}

namespace {
// The menu bar whose document menus the page lists (NULL: it keeps one menu).
CQXPMenuBar* SwitchableMenuBar(CQXPCustomizeSheet* pSheet)
{
    CQXPCommandBars* pBars = pSheet->GetCommandBars();
    CQXPMenuBar* pMenuBar = pBars ? pBars->GetMenuBar() : NULL;
    if (pMenuBar == NULL || (pMenuBar->GetFlags() & qxpFlagKeepOneMenu))
        return NULL;
    return pMenuBar;
}
} // namespace

BOOL CQXPCustomizeMenusPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_appTitle.SubclassDlgItem(QX_CID_MENUS_APP_TITLE, this);
    m_contextTitle.SubclassDlgItem(QX_CID_MENUS_CONTEXT_TITLE, this);
    CString strText;
    GetDlgItemText(QX_CID_MENUS_DESCRIPTION, strText);
    int nBreak = strText.Find('\n');
    m_strDefaultName = nBreak >= 0 ? strText.Left(nBreak) : strText;
    m_strDefaultDescription = nBreak >= 0 ? strText.Mid(nBreak + 1) : CString();
    CComboBox* pShow = (CComboBox*)GetDlgItem(QX_CID_MENUS_SHOW);
    pShow->SetItemData(pShow->AddString(m_strDefaultName), 0);
    int nSelect = 0;
    if (CQXPMenuBar* pMenuBar = SwitchableMenuBar(m_pSheet)) {
        for (const auto& entry : pMenuBar->m_mapDocMenus) {
            const CQXPMenuBarMDIMenuInfo* pInfo = entry.second;
            if (pInfo == NULL || pInfo->m_strTitle.IsEmpty() || pInfo->m_nIDResource == pMenuBar->m_nIDResource)
                continue;
            int nItem = pShow->AddString(pInfo->m_strTitle);
            pShow->SetItemData(nItem, pInfo->m_nIDResource);
            if (pInfo->m_nIDResource == pMenuBar->GetCurrentMenuId())
                nSelect = nItem;
        }
    }
    pShow->SetCurSel(nSelect);
    CComboBox* pContext = (CComboBox*)GetDlgItem(QX_CID_MENUS_CONTEXT);
    pContext->SetItemData(pContext->AddString(""), 0);
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    for (int i = 0; pBars != NULL && i < pBars->GetContextMenuCount(); ++i) {
        CQXPPopupBar* pMenu = pBars->GetContextMenuAt(i);
        pContext->SetItemData(pContext->AddString(pMenu->GetTitle()), (DWORD_PTR)pMenu);
    }
    pContext->SetCurSel(0);
    GetDlgItem(QX_CID_MENUS_CONTEXT_RESET)->EnableWindow(FALSE);
    ShowDescription(nSelect);
    return TRUE;
}

void CQXPCustomizeMenusPage::ShowDescription(int nIndex)
{
    CComboBox* pShow = (CComboBox*)GetDlgItem(QX_CID_MENUS_SHOW);
    UINT nMenuId = nIndex >= 0 ? (UINT)pShow->GetItemData(nIndex) : 0;
    CQXPMenuBar* pMenuBar = nMenuId != 0 ? SwitchableMenuBar(m_pSheet) : NULL;
    const CQXPMenuBarMDIMenuInfo* pInfo = pMenuBar ? pMenuBar->FindMDIMenu(nMenuId) : NULL;
    HICON hIcon = NULL;
    if (pInfo != NULL) {
        SetDlgItemText(QX_CID_MENUS_DESCRIPTION, pInfo->m_strDescription);
        hIcon = pInfo->m_hIcon;
    } else {
        SetDlgItemText(QX_CID_MENUS_DESCRIPTION, m_strDefaultDescription);
        CWnd* pSite = m_pSheet->GetSite();
        hIcon = pSite ? (HICON)pSite->SendMessage(WM_GETICON, ICON_BIG, 0) : NULL;
        if (hIcon == NULL && pSite != NULL)
            hIcon = (HICON)::GetClassLongPtrA(pSite->m_hWnd, GCLP_HICON);
    }
    GetDlgItem(QX_CID_MENUS_ICON)->SendMessage(STM_SETICON, (WPARAM)hIcon, 0);
}

void CQXPCustomizeMenusPage::SelectApplicationMenu(int nIndex)
{
    CComboBox* pShow = (CComboBox*)GetDlgItem(QX_CID_MENUS_SHOW);
    if (pShow->GetCurSel() != nIndex)
        pShow->SetCurSel(nIndex);
    ShowDescription(nIndex);
    CQXPMenuBar* pMenuBar = SwitchableMenuBar(m_pSheet);
    if (pMenuBar == NULL || pShow->GetCount() < 2 || nIndex < 0)
        return;
    UINT nMenuId = (UINT)pShow->GetItemData(nIndex);
    pMenuBar->SwitchMenu(nMenuId != 0 ? nMenuId : pMenuBar->m_nIDResource, NULL);
}

void CQXPCustomizeMenusPage::SelectContextMenu(int nIndex)
{
    CloseContextMenu();
    CComboBox* pContext = (CComboBox*)GetDlgItem(QX_CID_MENUS_CONTEXT);
    if (pContext->GetCurSel() != nIndex)
        pContext->SetCurSel(nIndex);
    CQXPPopupBar* pMenu = nIndex > 0 ? (CQXPPopupBar*)pContext->GetItemData(nIndex) : NULL;
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (pMenu == NULL || pBars == NULL || pBars->FindContextMenu(pMenu->GetBarID()) != pMenu)
        pMenu = NULL;
    GetDlgItem(QX_CID_MENUS_CONTEXT_RESET)->EnableWindow(pMenu != NULL);
    if (pMenu == NULL)
        return;
    CQXPToolBar* pBar = pBars->Add("Standard", qxpBarTop, RUNTIME_CLASS(CQXPFloatingPopupBar));
    if (pBar == NULL)
        return;
    pBar->SetBarID(pMenu->GetBarID());
    pBar->SetTitle(pMenu->GetTitle());
    pBar->GetControls()->Copy(pMenu->GetControls(), TRUE);
    // Neither the Toolbars page nor the toolbars menu offer it: it is a
    // context menu, not a toolbar.
    pBar->m_bCustomizeDialogPresent = FALSE;
    pBar->m_bContextMenuPresent = FALSE;
    m_pShownContextMenu = pMenu;
    m_pContextBar = pBar;

    CRect rcSheet;
    m_pSheet->GetWindowRect(&rcSheet);
    auto it = m_contextPositions.find(pMenu->GetBarID());
    BOOL bFirst = it == m_contextPositions.end();
    CPoint pt = bFirst ? rcSheet.TopLeft() : it->second;
    pBar->SetFloating(pt);
    pBar->OnRecalcLayout();
    if (bFirst && ::IsWindow(pBar->GetSafeHwnd())) {
        // Right edge at the sheet's left edge; with no room there, beside
        // its right edge, so that the sheet does not hide it.
        CRect rcBar;
        pBar->GetWindowRect(&rcBar);
        CRect rcWork = QxpWorkAreaFor(rcSheet);
        pt.x = rcSheet.left - rcBar.Width();
        if (pt.x < rcWork.left)
            pt.x = std::max(std::min(rcSheet.right, rcWork.right - rcBar.Width()), rcWork.left);
        pBar->SetWindowPos(NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->m_ptFloating = pt;
    }
}

void CQXPCustomizeMenusPage::CloseContextMenu()
{
    CQXPToolBar* pBar = m_pContextBar;
    CQXPPopupBar* pMenu = m_pShownContextMenu;
    m_pContextBar = NULL;
    m_pShownContextMenu = NULL;
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (pBar == NULL || pBars == NULL || pBars->IndexOf(pBar) < 0)
        return;
    if (pMenu != NULL && pBars->FindContextMenu(pMenu->GetBarID()) == pMenu) {
        // The menu keeps its own original controls to go back to.
        CQXPControls* pControls = pMenu->GetControls();
        CQXPOriginalControls* pOriginal = pControls->GetOriginalControls();
        if (pOriginal != NULL)
            pOriginal->InternalAddRef();
        pControls->Copy(pBar->GetControls(), TRUE);
        if (pOriginal != NULL)
            pControls->SetOriginalControls(pOriginal);
        pMenu->DelayLayout();
        if (::IsWindow(pBar->GetSafeHwnd())) {
            CRect rcBar;
            pBar->GetWindowRect(&rcBar);
            m_contextPositions[pMenu->GetBarID()] = rcBar.TopLeft();
        }
        pBars->m_bLayoutChanged = TRUE;
    }
    CQXPControl* pSelected = pBars->GetDragControl();
    if (pSelected != NULL && pSelected->GetParent() == pBar)
        pBars->SetDragControl(NULL);
    pBars->Remove(pBar);
}

void CQXPCustomizeMenusPage::OnDestroy()
{
    CloseContextMenu();
    CComboBox* pShow = (CComboBox*)GetDlgItem(QX_CID_MENUS_SHOW);
    CQXPMenuBar* pMenuBar = SwitchableMenuBar(m_pSheet);
    // The menu bar goes back to the active document's menu. The bars are
    // still in customize mode, where the frame's menu changes are not
    // followed: the bar switches itself first.
    if (pMenuBar != NULL && pShow != NULL && pShow->GetCount() > 1) {
        pMenuBar->SwitchMenu(m_pSheet->GetCommandBars()->GetActiveMenuId(), NULL);
        pMenuBar->RestoreActiveMenu();
    }
    CPropertyPage::OnDestroy();
}

BOOL CQXPCustomizeMenusPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    switch (LOWORD(wParam)) {
    case QX_CID_MENUS_RESET:
        if (HIWORD(wParam) == BN_CLICKED && pBars != NULL && pBars->GetMenuBar() != NULL)
            pBars->GetMenuBar()->Reset(TRUE);
        return TRUE;
    case QX_CID_MENUS_SHOW:
        if (HIWORD(wParam) == CBN_SELCHANGE)
            SelectApplicationMenu(((CComboBox*)GetDlgItem(QX_CID_MENUS_SHOW))->GetCurSel());
        return TRUE;
    case QX_CID_MENUS_CONTEXT:
        if (HIWORD(wParam) == CBN_SELCHANGE)
            SelectContextMenu(((CComboBox*)GetDlgItem(QX_CID_MENUS_CONTEXT))->GetCurSel());
        return TRUE;
    case QX_CID_MENUS_CONTEXT_RESET:
        if (HIWORD(wParam) == BN_CLICKED && m_pContextBar != NULL)
            m_pContextBar->Reset(TRUE);
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

// ---------------------------------------------------------------------------
// CQXPCustomizeOptionsPage

CQXPCustomizeOptionsPage::CQXPCustomizeOptionsPage(CQXPCustomizeSheet* pSheet)
    : CPropertyPage(QX_IDD_CUSTOMIZE_OPTIONS), m_pSheet(pSheet)
{
}

BOOL CQXPCustomizeOptionsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_personalTitle.SubclassDlgItem(QX_CID_OPTIONS_PERSONAL_TITLE, this);
    m_otherTitle.SubclassDlgItem(QX_CID_OPTIONS_OTHER_TITLE, this);
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (pBars != NULL) {
        CheckDlgButton(QX_CID_OPTIONS_FULL_MENUS, pBars->GetOptions()->m_bAlwaysShowFullMenus ? 1 : 0);
        CheckDlgButton(QX_CID_OPTIONS_FULL_AFTER_DELAY, pBars->GetOptions()->m_bShowFullAfterDelay ? 1 : 0);
        CheckDlgButton(QX_CID_OPTIONS_LARGE_ICONS, pBars->IsLargeIcons() ? 1 : 0);
        CheckDlgButton(QX_CID_OPTIONS_SCREENTIPS, pBars->GetOptions()->m_bToolBarScreenTips ? 1 : 0);
        CheckDlgButton(QX_CID_OPTIONS_SHORTCUT_TIPS, pBars->GetOptions()->m_bToolBarAccelTips ? 1 : 0);
    }
    CComboBox* pCombo = (CComboBox*)GetDlgItem(QX_CID_OPTIONS_ANIMATION);
    for (UINT nId = QX_IDS_ANIMATION_SYSTEM; nId <= QX_IDS_ANIMATION_NONE; ++nId)
        pCombo->AddString(ToolkitResourceManager::Instance()->LoadString(nId));
    pCombo->SetCurSel(pBars != NULL ? pBars->GetOptions()->m_nAnimation : 0);
    UpdateDependentChecks();
    return TRUE;
}

void CQXPCustomizeOptionsPage::UpdateDependentChecks()
{
    GetDlgItem(QX_CID_OPTIONS_FULL_AFTER_DELAY)->EnableWindow(!IsDlgButtonChecked(QX_CID_OPTIONS_FULL_MENUS));
    GetDlgItem(QX_CID_OPTIONS_SHORTCUT_TIPS)->EnableWindow(IsDlgButtonChecked(QX_CID_OPTIONS_SCREENTIPS));
}

BOOL CQXPCustomizeOptionsPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    UINT nId = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    if (pBars == NULL)
        return CPropertyPage::OnCommand(wParam, lParam);
    BOOL bChecked = IsDlgButtonChecked(nId) != 0;
    switch (nId) {
    case QX_CID_OPTIONS_FULL_MENUS:
        pBars->GetOptions()->m_bAlwaysShowFullMenus = bChecked;
        break;
    case QX_CID_OPTIONS_FULL_AFTER_DELAY:
        pBars->GetOptions()->m_bShowFullAfterDelay = bChecked;
        break;
    case QX_CID_OPTIONS_LARGE_ICONS:
        pBars->SetLargeIcons(bChecked);
        pBars->RedrawCommandBars();
        break;
    case QX_CID_OPTIONS_SCREENTIPS:
        pBars->GetOptions()->m_bToolBarScreenTips = bChecked;
        break;
    case QX_CID_OPTIONS_SHORTCUT_TIPS:
        pBars->GetOptions()->m_bToolBarAccelTips = bChecked;
        break;
    case QX_CID_OPTIONS_ANIMATION:
        if (nCode == CBN_SELCHANGE) {
            int nSel = ((CComboBox*)GetDlgItem(QX_CID_OPTIONS_ANIMATION))->GetCurSel();
            if (nSel >= 0)
                pBars->GetOptions()->m_nAnimation = nSel;
        }
        return TRUE;
    case QX_CID_OPTIONS_RESET_USAGE:
        if (nCode == BN_CLICKED &&
            m_pSheet->MessageBox(ToolkitResourceManager::Instance()->LoadString(QX_IDS_CONFIRM_RESET_USAGE),
                                 MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
            pBars->ResetUsageData();
        return TRUE;
    default:
        return CPropertyPage::OnCommand(wParam, lParam);
    }
    pBars->GetOptions()->m_bChanged = TRUE;
    UpdateDependentChecks();
    return TRUE;
}
