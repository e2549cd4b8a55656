// dialogtest.h - drives modal dialogs from inside their own message loop.
//
// A thread timer runs a script of steps while DoModal is in its loop; each
// step returns false to be tried again at the next tick (its window is not
// there yet) and true when done. Clicks are posted, so a step never blocks
// in a nested dialog. A script that does not finish in time closes every
// dialog of the thread so the test fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dlgtest {

typedef std::function<bool()> Step;

class ModalScript {
public:
    explicit ModalScript(std::vector<Step> steps, DWORD dwTimeoutMs = 10000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // True when every step ran.
    bool Finished() const { return m_next >= m_steps.size(); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<Step> m_steps;
    size_t m_next;
    DWORD m_dwStart;
    DWORD m_dwTimeout;
    UINT_PTR m_idTimer;
    bool m_bBusy;
    bool m_bGaveUp;
};

// The visible dialog (class "#32770") of this thread with that caption.
HWND FindDialog(const char* caption);

// Posts a button click (BN_CLICKED from the control) to the dialog.
void Click(HWND hDlg, int nID);
// Selects a list box line as the user would: single-selection lists get
// LB_SETCURSEL, multiple-selection ones LB_SETSEL; then the owner gets
// LBN_SELCHANGE.
void SelectLine(HWND hDlg, int nListID, int nLine, bool bSelect = true);

std::vector<std::string> ListLines(HWND hDlg, int nListID);
std::string WindowText(HWND hWnd);

} // namespace dlgtest
