// tidysheet.h - the "Tidy Properties" sheet: one page per HTML Tidy option
// file of the per-user Tidy folder, each a property grid of Tidy's options
// grouped in five categories (tidyoptions.h). A page writes its file on OK
// or Apply once it was shown; pages never shown write nothing.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/propertygrid.h>

class CPageTidy : public CPropertyPage {
public:
    enum {
        IDC_GRID = 1304,
        CATEGORY_ITEM_ID = 9999
    };

    CPageTidy();
    // The option file's name in the per-user Tidy folder ("html_clean.tidy").
    void SetFileName(LPCSTR lpszName) { m_strFileName = lpszName; }
    CString GetFilePath() const;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    CQXPPropertyGrid& GetGrid() { return m_grid; }

protected:
    void FillCategory(int nCategory);
    afx_msg LRESULT OnGridNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CQXPPropertyGrid m_grid;
    CString m_strFileName;
};

class CTidySheet : public CPropertySheet {
public:
    // iSelectPage 0: HTML, 2: XML pretty print.
    CTidySheet(LPCSTR lpszCaption, CWnd* pParent, UINT iSelectPage = 0);
    BOOL OnInitDialog() override;

    CPageTidy m_pages[3];
};
