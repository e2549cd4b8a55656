// viewasdlg.h - the "View As ..." dialog: picks the syntax configuration a
// document is shown with (View As > More ...).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// Lists the menu text of every syntax configuration of the main frame, in
// list order, with the preset index selected. A selection or a double click
// on an entry sets the index; a double click on an entry also closes the
// dialog with IDOK (one on the empty part of the list does not).
class CViewAsManagerDialog : public CDialog {
public:
    explicit CViewAsManagerDialog(CWnd* pParent = NULL);

    void SetSelection(int nIndex) { m_nSelection = nIndex; }
    int GetSelection() const { return m_nSelection; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSelChange();
    afx_msg void OnDblClk();
    DECLARE_MESSAGE_MAP()

    CListBox m_list;
    int m_nSelection; // index into the frame's configuration list; default 0
};
