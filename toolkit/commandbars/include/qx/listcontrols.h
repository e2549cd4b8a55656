// qx/listcontrols.h - placeholders that fill a menu with entries known only
// when it opens: the list of open document windows. The entries are
// temporary controls inserted right after the placeholder at every layout.
#pragma once

#include <qx/control.h>

#define QXP_ID_WINDOWLIST 35000
#define QXP_MAX_WINDOWLIST_ITEMS 9

// The caption of a list entry: ampersands doubled, then "&1 text" .. "&9
// text", "1&0 text", "11 text"...; number 0 leaves the text as it is.
CString AFXAPI QxpFormatItemText(const CString& strText, int nNumber);

class CQXPControlWindowList : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlWindowList)
public:
    CQXPControlWindowList();

    void OnCalcDynamicSize(DWORD dwMode) override;

    // The first command id of the MDI children (0xFF00, or 0x8000 / 1 once a
    // child with such an id was seen). Kept for the life of the process.
    static UINT s_nFirstWindowId;

protected:
    // The MDI client of the bar's site frame, NULL when it has none.
    HWND GetMDIClient() const;
    // Removes the entries of the last run: only temporary controls right
    // after the placeholder, never real menu items that happen to follow.
    void RemoveOldItems();
};

// A caption on a bar: never selected, a click does nothing.
class CQXPControlLabel : public CQXPControl {
    DECLARE_DYNCREATE(CQXPControlLabel)
public:
    CQXPControlLabel();
    int GetSelected() const override { return 0; }
    BOOL OnSetSelected(int bSelected) override
    {
        (void)bSelected;
        return FALSE;
    }
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnExecute() override {}
};

// A button that the paint manager draws as a check box (type 9).
class CQXPControlCheckBox : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlCheckBox)
public:
    CQXPControlCheckBox() { m_controlType = qxpControlCheckBox; }
};

// A button that the paint manager draws as a radio button (type 11).
class CQXPControlRadioButton : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlRadioButton)
public:
    CQXPControlRadioButton() { m_controlType = qxpControlRadioButton; }
};
