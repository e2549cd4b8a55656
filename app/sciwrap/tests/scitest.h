// scitest.h - support for this library's tests: the application object with
// a private registry key, the loaded component, message pumping and a host
// window for editors.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <gtest/gtest.h>

#include <functional>

#include <qmtest/pump.h>
#include <qmtest/messageboxes.h>
#include <string>
#include <vector>

#include "scintillawrap.h"

namespace scitest {

// Handles the thread's messages until pred holds or the time runs out.
using qmtest::PumpFor;
using qmtest::PumpUntil;

// The application object's key: HKEY_CURRENT_USER\Software\<maker>\Quillmate,
// unique per test program and removed at its end.
const std::string& Maker();
// A value read straight from the registry (empty when missing).
std::string ReadAppString(const char* section, const char* entry);

// A top-level framework window that holds an editor (control id 32785) and
// counts the commands with that id that reach it.
class CHostWnd : public CWnd {
public:
    BOOL CreateHost(int cx = 640, int cy = 400);
    int m_nDeleteLineCommands = 0;
    std::vector<UINT> m_notifyCodes;   // WM_COMMAND codes the host saw from the editor
    std::vector<UINT> m_popupFirstIds; // first item id of each popup menu opened for the host

protected:
    afx_msg void OnDeleteLine();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()
};

enum {
    IDC_EDITOR = 32785
};

// The folder of the test programs (the helper program lives there).
std::string TestsFolder();

} // namespace scitest
