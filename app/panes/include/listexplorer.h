// listexplorer.h - the List Explorer: a category box over a list of HTML
// tags, HTML character entities or character codes; a click on an entry
// (or Enter) inserts its text into the current text view, where the marker
// "<%REPLACE%>" takes the selection. The arrow keys only move the
// selection. The tables are program data, readable without windows.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <string>
#include <vector>

enum ListCategory {
    LIST_HTML_TAGS = 0,
    LIST_HTML_ENTITIES = 1,
    LIST_ASCII_CODES = 2,
    LIST_CATEGORY_COUNT = 3
};

// One row: what the list shows (tab-separated) and the text inserted, both
// UTF-8 as the program speaks it: the character codes are those of
// Windows-1252, so code 233 is "\xC3\xA9".
struct ListExplorerRow {
    std::string display;
    std::string insert;
};

// The category's name as the box shows it ("HTML Tags", ...).
LPCSTR GetListCategoryName(int nCategory);
// The rows of a category in list order; empty for an unknown category.
std::vector<ListExplorerRow> GetListExplorerRows(int nCategory);

class CSolutionBarList : public CWnd {
    DECLARE_DYNAMIC(CSolutionBarList)
public:
    enum {
        IDC_ENTRY_LIST = 1050,
        IDC_CATEGORY = 9009
    };

    CSolutionBarList();
    ~CSolutionBarList() override;

    BOOL Create(CWnd* pParent, UINT nID);
    // Shows a category's rows (the box's selection follows).
    void SelectCategory(int nCategory);
    // Inserts the selected entry's text into the current text view; FALSE
    // when nothing is selected or no text view is current.
    BOOL InsertSelected();

    CListBox& GetList() { return m_list; }
    CComboBox& GetCategoryBox() { return m_category; }

protected:
    // The entry list: the mouse or Enter inserts, the arrow keys only move.
    class CEntryList : public CListBox {
    protected:
        afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
        afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
        afx_msg UINT OnGetDlgCode();
        DECLARE_MESSAGE_MAP()
    };

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnCategoryChange();
    DECLARE_MESSAGE_MAP()

    void Fill(int nCategory);

    CEntryList m_list;
    CComboBox m_category;
    std::vector<ListExplorerRow> m_rows; // the rows the list shows, in its order
};
