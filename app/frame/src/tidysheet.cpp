// tidysheet.cpp - the Tidy Properties sheet and its option pages.
#include "tidysheet.h"

#include "apphelpers.h"
#include "tidyoptions.h"
#include "tidyrun.h"
#include "resource.h"

namespace {

// The order of the categories in the grid.
const int kCategoryOrder[] = {TIDY_PAGE_PRETTY_PRINT, TIDY_PAGE_MARKUP, TIDY_PAGE_DIAGNOSTICS, TIDY_PAGE_ENCODING,
                              TIDY_PAGE_MISCELLANEOUS};

// The tab strip takes "&" for a mnemonic: "&&" shows "HTML Clean & Repair".
const char* const kTabTexts[] = {"HTML Clean && Repair", "XHTML Clean && Repair", "XML Pretty Print"};

} // namespace

BEGIN_MESSAGE_MAP(CPageTidy, CPropertyPage)
    ON_MESSAGE(WM_PROPERTYGRID_NOTIFY, OnGridNotify)
END_MESSAGE_MAP()

CPageTidy::CPageTidy() : CPropertyPage(IDD_TIDY_PAGE) {}

CString CPageTidy::GetFilePath() const
{
    CString path;
    path.Format("%s\\Tidy\\%s", GetAppDataFolder().GetString(), m_strFileName.GetString());
    return path;
}

BOOL CPageTidy::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CRect rc(0, 0, 0, 0);
    if (CWnd* pPlace = GetDlgItem(IDC_TIDY_PLACEHOLDER)) {
        pPlace->GetWindowRect(&rc);
        ScreenToClient(&rc);
    }
    if (m_grid.Create(rc, this, IDC_GRID)) {
        m_grid.SetSortMode(1);
        std::vector<CTidyOptionInfo> options = ReadTidyOptions(GetFilePath());
        for (int nCategory : kCategoryOrder) {
            CQXPPropertyGridItem* pCategory = m_grid.AddCategory(GetTidyCategoryCaption(nCategory));
            pCategory->SetID(CATEGORY_ITEM_ID);
            for (const CTidyOptionInfo& o : options) {
                if (o.nCategory != nCategory)
                    continue;
                CQXPPropertyGridItem* pItem = NULL;
                if (!o.picks.empty()) {
                    pItem = new CQXPPropertyGridItem(o.name);
                    pItem->SetFlags(ItemHasComboButton);
                    for (size_t i = 0; i < o.picks.size(); ++i)
                        pItem->GetConstraints()->AddConstraint(o.picks[i], (DWORD_PTR)i);
                    pItem->SetValue(o.value);
                } else if (o.nKind == TIDY_OPTION_BOOLEAN) {
                    pItem = new CQXPPropertyGridItemBool(o.name, o.bValue);
                } else if (o.nKind == TIDY_OPTION_INTEGER) {
                    pItem = new CQXPPropertyGridItemNumber(o.name, o.nValue);
                } else {
                    pItem = new CQXPPropertyGridItem(o.name, o.value);
                }
                pItem->SetDescription(o.doc);
                pItem->SetID(o.nId);
                pCategory->AddChildItem(pItem);
            }
            pCategory->GetChilds()->Sort();
            pCategory->Expand();
        }
    }
    // A shown page always writes its file.
    SetModified(TRUE);
    return TRUE;
}

LRESULT CPageTidy::OnGridNotify(WPARAM wParam, LPARAM)
{
    if (wParam == GRIDN_VALUE_CHANGED)
        SetModified(TRUE);
    return 0;
}

BOOL CPageTidy::OnApply()
{
    if (m_grid.GetSafeHwnd() == NULL)
        return CPropertyPage::OnApply();
    std::vector<std::pair<CString, CString>> values;
    PropertyGridItems* pCategories = m_grid.GetCategories();
    for (int c = 0; pCategories != NULL && c < pCategories->GetCount(); ++c) {
        CQXPPropertyGridItem* pCategory = pCategories->GetAt(c);
        PropertyGridItems* pItems = pCategory != NULL ? pCategory->GetChilds() : NULL;
        for (int i = 0; pItems != NULL && i < pItems->GetCount(); ++i) {
            CQXPPropertyGridItem* pItem = pItems->GetAt(i);
            if (pItem != NULL && pItem->GetID() != CATEGORY_ITEM_ID)
                values.emplace_back(pItem->GetCaption(), pItem->GetValue());
        }
    }
    CreateFolder(GetAppDataFolder() + "\\Tidy");
    CString error;
    if (!WriteTidyOptions(GetFilePath(), values, error)) {
        AfxMessageBox(error, MB_ICONEXCLAMATION);
        return FALSE;
    }
    return CPropertyPage::OnApply();
}

CTidySheet::CTidySheet(LPCSTR lpszCaption, CWnd* pParent, UINT iSelectPage)
    : CPropertySheet(lpszCaption, pParent, iSelectPage)
{
    for (int i = 0; i < TIDY_COMMAND_COUNT; ++i) {
        m_pages[i].SetFileName(GetTidyOptionFileName(i));
        AddPage(&m_pages[i]);
    }
}

BOOL CTidySheet::OnInitDialog()
{
    BOOL bResult = CPropertySheet::OnInitDialog();
    CTabCtrl* pTabs = GetTabControl();
    for (int i = 0; pTabs != NULL && i < TIDY_COMMAND_COUNT; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabTexts[i]);
        pTabs->SendMessage(TCM_SETITEMA, (WPARAM)i, (LPARAM)&item);
    }
    return bResult;
}
