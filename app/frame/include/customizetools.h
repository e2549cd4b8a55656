// customizetools.h - the Tools page of the customize sheet: the external
// tools of the Tools menu, edited in place. The page works on copies of the
// records; when its window goes (however the sheet ends) the tool list is
// rebuilt from the page's entries in their order and its icons refreshed.
// The command and arguments edits browse for a program, the start-folder
// edit for a folder.
#pragma once

#include <fx/propsheet.h>
#include <qx/browse.h>

#include "toollist.h"

#include <memory>
#include <vector>

class CQXPImageManager;

class CCustomizePageTools : public CPropertyPage {
public:
    // pTools: the list the page edits; pImages: where the tools' icons go.
    CCustomizePageTools(CToolList* pTools, CQXPImageManager* pImages);
    ~CCustomizePageTools() override;

    // The stored tool list: value "Tools" of the section. LoadTools appends
    // the stored tools to the list; FALSE when the value is missing or
    // damaged (records read before the damage stay).
    static BOOL LoadTools(CToolList& tools, LPCSTR lpszSection = "TOOLS_CUSTOMIZATION");
    static BOOL SaveTools(const CToolList& tools, LPCSTR lpszSection = "TOOLS_CUSTOMIZATION");

    BOOL OnInitDialog() override;
    // The record of the selected entry (NULL when none).
    CToolRecord* GetSelectedRecord() const;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void LoadSelection();
    void StoreField(UINT nId);
    void EnableFields(BOOL bEnable);

    CToolList* m_pTools;
    CQXPImageManager* m_pImages;
    CQXEditListBox m_list;
    CQXBrowseEdit m_command;
    CQXBrowseEdit m_arguments;
    CQXBrowseEdit m_folder;
    // The page's records, one per entry (the entries' item data).
    std::vector<std::unique_ptr<CToolRecord>> m_records;
    BOOL m_bLoading = FALSE;
};
