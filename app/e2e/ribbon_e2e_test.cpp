// The ribbon in the editor: the program offers none, but a saved
// command-bar layout that names "CQXPRibbonBar" brings one in. The layout is
// the fixture here: it is made by the toolkit in this process, as a frame
// holding a ribbon saves it, under the editor's settings key. The editor
// then shows the ribbon, still edits and saves, and keeps the ribbon
// across a restart.
#include "qmate_fixture.h"

#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qmtest/cbframe.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

namespace {

// The editor's command-bar profile (its layout sections "CommandBars-...").
const char kLayoutProfile[] = "CommandBars";
const UINT kRibbonBarId = 0x7E00;

// Saves the layout of a frame holding one ribbon (three tabs, one QAT
// command) where the editor keeps its own.
void WriteRibbonLayout()
{
    CWinApp app("Quillmate");
    app.SetRegistryKey("Fernbright");
    qmtest::CommandBarTestFrame frame(0, NULL);
    ASSERT_TRUE(frame.Create(NULL, "Layout", WS_OVERLAPPEDWINDOW, CRect(0, 0, 700, 480)));
    CQXPToolBar* pBar = frame.GetCommandBars()->Add("Ribbon", qxpBarTop, RUNTIME_CLASS(CQXPRibbonBar));
    CQXPRibbonBar* pRibbon = DYNAMIC_DOWNCAST(CQXPRibbonBar, pBar);
    ASSERT_TRUE(pRibbon != NULL);
    pRibbon->SetBarID(kRibbonBarId);
    pRibbon->m_bBuiltIn = FALSE;
    pRibbon->SetCustomizable(TRUE); // its tabs are stored
    const UINT kFileNew = 57600, kFileOpen = 57601, kFileSave = 57603, kEditCut = 57635, kEditCopy = 57634,
               kEditPaste = 57637;
    CQXPRibbonGroup* pFile = pRibbon->AddTab("&Home", 1)->AddGroup("File", 100);
    pFile->Add(qxpControlButton, kFileNew, "New");
    pFile->Add(qxpControlButton, kFileOpen, "Open");
    pFile->Add(qxpControlButton, kFileSave, "Save");
    CQXPRibbonGroup* pClip = pRibbon->GetTab(0)->AddGroup("Clipboard", 101);
    pClip->Add(qxpControlButton, kEditPaste, "Paste");
    pClip->Add(qxpControlButton, kEditCut, "Cut");
    pClip->Add(qxpControlButton, kEditCopy, "Copy");
    pRibbon->AddTab("&View", 2)->AddGroup("Window", 200)->Add(qxpControlButton, 59393, "Status Bar");
    pRibbon->AddQuickAccessControl(qxpControlButton, kFileSave)->SetCaption("Save");
    frame.GetCommandBars()->SaveBarState(kLayoutProfile);
    frame.DestroyWindow();
    qmtest::PumpMessages();
}

// The editor's ribbon window: a toolbar window taller than any toolbar.
HWND RibbonWindow(HWND main)
{
    for (HWND h : qmtest::DescendantsOfClass(main, "QXPToolBar")) {
        RECT rc;
        if (IsWindowVisible(h) && GetWindowRect(h, &rc) && rc.bottom - rc.top > 100)
            return h;
    }
    return nullptr;
}

class RibbonLayoutTest : public e2e::QmateTest {};

TEST_F(RibbonLayoutTest, ASavedLayoutNamingTheRibbonShowsItAndItStays)
{
    WriteRibbonLayout();
    ASSERT_FALSE(HasFatalFailure());
    std::string path = WriteFile("ribbon.txt", "alpha");
    HWND main = Start("\"" + path + "\"");
    ASSERT_TRUE(main);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return RibbonWindow(main) != nullptr; }, 10000))
        << "no ribbon in the editor";
    EXPECT_TRUE(qmtest::SaveWindowShot(main, QM_BIN_DIR, "ribbon-in-qmate.png"));

    // The editor still edits and saves.
    e2e::RemoteScintilla ed = EditorHolding("alpha");
    ASSERT_TRUE(ed);
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(e2e::RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L" beta");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "alpha beta"; }, 5000)) << ed.Text();
    qmtest::SendChord({VK_CONTROL, 'S'});
    EXPECT_EQ("alpha beta", WaitForFile(path, "alpha beta"));
    ASSERT_TRUE(Close());

    // Its own layout, saved on closing, keeps the ribbon.
    main = Start();
    ASSERT_TRUE(main);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return RibbonWindow(main) != nullptr; }, 10000))
        << "the ribbon did not come back after a restart";
    ASSERT_TRUE(Close());
}

} // namespace
