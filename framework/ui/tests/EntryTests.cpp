// The framework's WinMain runs a program's application object.
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

DWORD RunProgram(const std::string& strArgs)
{
    std::string strCmd = std::string("\"") + QM_BIN_DIR + "/fx_ui_entry_app.exe\" " + strArgs;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(NULL, &strCmd[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return (DWORD)-2;
    DWORD dwExit = (DWORD)-3;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &dwExit);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dwExit;
}

TEST(EntryTest, ProgramWithoutWinMainRunsItsApplicationObject)
{
    // InitInstance, the loop, the main window's end, ExitInstance's code.
    EXPECT_EQ(21u, RunProgram("21"));
    EXPECT_EQ(7u, RunProgram("7"));
}

} // namespace
