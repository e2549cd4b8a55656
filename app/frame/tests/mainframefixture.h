// mainframefixture.h - the fixture of the tests that need a real main
// frame: the program's templates and Scintilla loaded once, a main frame
// made the way start-up makes it, closed at the end, an empty profile for
// each test.
#pragma once

#include "frametest.h"
#include "mainframe.h"

#include <qmtest/messageboxes.h>
#include <qmtest/mouse.h>

#include <string>
#include <vector>

namespace frametest {

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_hScintilla = LoadLibraryA("scilexer.dll");
        ASSERT_NE((HMODULE)NULL, s_hScintilla);
        if (App().GetTextTemplate() == NULL) {
            ASSERT_TRUE(App().RegisterTemplates());
        }
    }

    void SetUp() override { ClearProfile(); }

    void TearDown() override
    {
        if (frame != NULL && IsWindow(hFrame))
            CloseFrame(IDNO);
        ClearProfile();
    }

    // Creates the main frame the way start-up does and shows it.
    void Create()
    {
        // The pointer off the frame: a bar that opens under it would turn a
        // button hot and show its tip.
        qmtest::ParkPointer();
        ASSERT_TRUE(App().CreateMainFrame());
        frame = App().GetMainFrame();
        ASSERT_NE(nullptr, frame);
        hFrame = frame->GetSafeHwnd();
        frame->ShowMainWindow();
        Pump();
    }

    // WM_CLOSE as the user sends it; modified documents are answered with
    // nAnswer.
    void CloseFrame(int nAnswer = IDNO)
    {
        qmtest::MessageBoxRecorder boxes(nAnswer);
        SendMessageA(hFrame, WM_CLOSE, 0, 0);
        Pump();
        if (!IsWindow(hFrame)) {
            frame = NULL;
            App().m_pMainWnd = NULL;
        }
    }

    void Command(UINT nID)
    {
        SendMessageA(hFrame, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        Pump(2);
    }

    int ChildCount() const
    {
        int n = 0;
        for (HWND h = GetWindow(frame->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            ++n;
        return n;
    }

    std::vector<std::string> OpenPaths() const
    {
        std::vector<std::string> paths;
        CMultiDocTemplate* pTemplate = App().GetTextTemplate();
        for (POSITION pos = pTemplate->GetFirstDocPosition(); pos != NULL;)
            paths.push_back((LPCSTR)pTemplate->GetNextDoc(pos)->GetPathName());
        return paths;
    }

    static inline HMODULE s_hScintilla = NULL;
    CMainFrame* frame = NULL;
    HWND hFrame = NULL;
};


} // namespace frametest
