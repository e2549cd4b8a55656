// The customize sheet: the name check of a new or renamed toolbar as a
// table; the sheet on a real frame with command bars - its run in customize
// mode, one sheet at a time, its buttons, the Toolbars page making,
// renaming, hiding and deleting bars, the Keyboard page assigning and
// removing shortcuts, the Menus page editing a context menu in a floating
// bar, the context menu of a right click on a bar and a dropped command
// shown at once, and screenshots of the pages.
#include <qx/customizesheet.h>

#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/customize.h>
#include <qx/menubar.h>
#include <qx/popup.h>
#include <qxresource.h>

#include <fx/doctempl.h>
#include <fx/document.h>
#include <fx/view.h>

#include <qmtest/cbframe.h>
#include <qmtest/messageboxes.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

#include "cbtest_ids.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

using qmtest::PumpMessages;
using qmtest::PumpUntil;

namespace {

// --- the name check ---------------------------------------------------------------

using BarInfo = CQXPNewToolbarDlg::BarInfo;

std::vector<BarInfo> Bars(std::initializer_list<std::pair<const char*, UINT>> bars)
{
    std::vector<BarInfo> result;
    static int s_identities[64];
    int n = 0;
    for (const auto& bar : bars)
        result.push_back({CString(bar.first), bar.second, &s_identities[n++]});
    return result;
}

TEST(CustomizeNameCheck, DefaultNameTakesTheSmallestFreeNumber)
{
    struct Case {
        std::vector<BarInfo> bars;
        const char* expected;
    } cases[] = {
        {Bars({}), "Custom 1"},
        {Bars({{"Custom 1", 0xE800}, {"Custom 3", 0xE801}}), "Custom 2"},
        {Bars({{"Custom 2", 0xE800}}), "Custom 1"},
        {Bars({{"Custom 1", 0xE800}, {"Custom 2", 0xE801}}), "Custom 3"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CQXPNewToolbarDlg::DefaultName(c.bars, "Custom %d"), c.expected);
}

TEST(CustomizeNameCheck, NamesAndIdsOfNewAndRenamedBars)
{
    std::vector<BarInfo> program = Bars({{"Toolbar", 0xE800}, {"Standard", 0xE802}});
    // Every id from 0xE800 to 0xE8FE taken.
    std::vector<BarInfo> full;
    static int s_bars[0xFF];
    for (UINT nId = 0xE800; nId <= 0xE8FE; ++nId)
        full.push_back({CString("Bar"), nId, &s_bars[nId - 0xE800]});
    std::vector<BarInfo> allButLast(full.begin(), full.end() - 1);

    struct Case {
        const char* name;
        const std::vector<BarInfo>* bars;
        int renamed; // index of the bar being renamed, -1 for a new one
        UINT message;
        UINT barId;
    } cases[] = {
        {"Custom 1", &program, -1, 0, 0xE801},
        {"", &program, -1, QX_IDS_TOOLBAR_NAME_BLANK, 0},
        {"Standard", &program, -1, QX_IDS_TOOLBAR_NAME_EXISTS, 0},
        {"standard", &program, -1, 0, 0xE801}, // titles compare exactly
        {"Standard", &program, 1, 0, 0},       // a bar keeps its own name
        {"Toolbar", &program, 1, QX_IDS_TOOLBAR_NAME_EXISTS, 0},
        {"", &program, 1, QX_IDS_TOOLBAR_NAME_BLANK, 0},
        {"Mine", &full, -1, QX_IDS_TOOLBAR_LIMIT, 0},
        {"Mine", &allButLast, -1, 0, 0xE8FE},
        {"Mine", &full, 3, 0, 0}, // renaming needs no id
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("name '") + c.name + "'");
        UINT nId = 0;
        const void* pRenamed = c.renamed >= 0 ? (*c.bars)[(size_t)c.renamed].pBar : NULL;
        EXPECT_EQ(CQXPNewToolbarDlg::CheckName(c.name, *c.bars, pRenamed, &nId), c.message);
        if (c.message == 0)
            EXPECT_EQ(nId, c.barId);
    }
}

// --- the sheet on a frame --------------------------------------------------------

class CustomizeFrame : public qmtest::CommandBarTestFrame {
public:
    CustomizeFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar,
                              {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}},
                               {"Format", &m_pFormat, 0, {ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}}})
    {
    }
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pStandard = NULL;
    CQXPToolBar* m_pFormat = NULL;
    std::vector<LPARAM> newBars;     // WM_QXP_TOOLBARCREATED
    std::vector<LPARAM> deletedBars; // WM_QXP_TOOLBARDELETING

protected:
    afx_msg LRESULT OnNewBar(WPARAM, LPARAM lParam)
    {
        newBars.push_back(lParam);
        return 0;
    }
    afx_msg LRESULT OnDeleteBar(WPARAM, LPARAM lParam)
    {
        deletedBars.push_back(lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizeFrame, qmtest::CommandBarTestFrame)
    ON_MESSAGE(WM_QXP_TOOLBARCREATED, OnNewBar)
    ON_MESSAGE(WM_QXP_TOOLBARDELETING, OnDeleteBar)
END_MESSAGE_MAP()

class CustomizeSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Customize test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 720, 480)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        frame.RecalcLayout();
        ::SetForegroundWindow(frame.GetSafeHwnd());
        PumpUntil([&] { return ::GetActiveWindow() == frame.GetSafeHwnd(); }, 2000);
        PumpMessages();
    }
    void TearDown() override
    {
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpMessages();
        qmtest::ParkPointer();
    }
    // The running sheet's window, once it is shown.
    static HWND SheetWindow()
    {
        CQXPCustomizeSheet* pSheet = CQXPCustomizeSheet::GetRunningSheet();
        HWND hWnd = pSheet ? pSheet->GetSafeHwnd() : NULL;
        return hWnd && ::IsWindowVisible(hWnd) ? hWnd : NULL;
    }
    static HWND ActivePage()
    {
        HWND hSheet = SheetWindow();
        return hSheet ? (HWND)::SendMessageA(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0) : NULL;
    }
    // Moves the running sheet below the frame's bars, which it covers
    // where it opens.
    static void MoveSheetOffTheBars()
    {
        ::SetWindowPos(SheetWindow(), NULL, 340, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    static void Press(HWND hDialog, int nId)
    {
        ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), (LPARAM)::GetDlgItem(hDialog, nId));
    }
    static std::string TextOf(HWND hWnd)
    {
        char sz[256] = {};
        ::GetWindowTextA(hWnd, sz, sizeof(sz));
        return sz;
    }
    static void ClickCenter(HWND hWnd)
    {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        qmtest::ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    }
    CQXPToolBar* BarTitled(const char* pszTitle) const
    {
        for (int i = 0; i < pBars->GetCount(); ++i)
            if (pBars->GetAt(i)->GetTitle() == pszTitle)
                return pBars->GetAt(i);
        return NULL;
    }

    // Runs the sheet with the script's steps inside its loop. A step that
    // never comes true fails the test and, after the script's time, the
    // sheet is closed so that the test ends.
    static bool RunSheet(qmtest::Script& script, CQXPCustomizeSheet& sheet, DWORD dwTimeoutMs = 20000)
    {
        UINT_PTR nGuard = ::SetTimer(NULL, 0, dwTimeoutMs, [](HWND, UINT, UINT_PTR nId, DWORD) {
            ::KillTimer(NULL, nId);
            if (HWND hSheet = SheetWindow())
                ::PostMessageA(hSheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        bool bDone = script.Run([&] { sheet.DoModal(); }, dwTimeoutMs);
        ::KillTimer(NULL, nGuard);
        return bDone && script.Remaining() == 0;
    }

    CustomizeFrame frame;
    CQXPCommandBars* pBars = NULL;
};

TEST_F(CustomizeSheetTest, RunsInCustomizeModeOneAtATimeWithCloseForCancel)
{
    CQXPCustomizeSheet sheet(pBars, 0);
    qmtest::Script script;
    INT_PTR nSecond = -1;
    BOOL bModeDuring = FALSE, bOkVisible = TRUE;
    std::string strCancel, strCaption;
    script.Add([] { return SheetWindow() != NULL; });
    script.Then([&] {
        bModeDuring = pBars->IsCustomizeMode();
        HWND hSheet = SheetWindow();
        bOkVisible = ::IsWindowVisible(::GetDlgItem(hSheet, IDOK));
        strCancel = TextOf(::GetDlgItem(hSheet, IDCANCEL));
        strCaption = TextOf(hSheet);
        // A second request while the sheet runs shows nothing.
        CQXPCustomizeSheet second(pBars, 1);
        nSecond = second.DoModal();
        ClickCenter(::GetDlgItem(hSheet, IDCANCEL));
    });
    ASSERT_TRUE(RunSheet(script, sheet));
    EXPECT_TRUE(bModeDuring);
    EXPECT_FALSE(bOkVisible);
    EXPECT_EQ(strCancel, "Close");
    EXPECT_EQ(strCaption, "Customize");
    EXPECT_EQ(nSecond, IDCANCEL);
    EXPECT_FALSE(pBars->IsCustomizeMode());
    EXPECT_EQ(CQXPCustomizeSheet::GetRunningSheet(), nullptr);
}

TEST_F(CustomizeSheetTest, ClicksOnTheFrameOutsideItsBarsAreSwallowed)
{
    CQXPCustomizeSheet sheet(pBars, 0);
    qmtest::Script script;
    BOOL bClientPass = TRUE, bBarPass = FALSE, bSheetPass = FALSE;
    script.Add([] { return SheetWindow() != NULL; });
    script.Then([&] {
        CQXPCustomizeSheet* pSheet = CQXPCustomizeSheet::GetRunningSheet();
        HWND hClient = frame.m_hWndMDIClient;
        POINT pt = {0, 0};
        bClientPass = pSheet->FilterMouse(WM_LBUTTONDOWN, pt, hClient);
        bBarPass = pSheet->FilterMouse(WM_LBUTTONDOWN, pt, frame.m_pStandard->GetSafeHwnd());
        bSheetPass = pSheet->FilterMouse(WM_LBUTTONDOWN, pt, SheetWindow());
        Press(SheetWindow(), IDCANCEL);
    });
    ASSERT_TRUE(RunSheet(script, sheet));
    EXPECT_FALSE(bClientPass);
    EXPECT_TRUE(bBarPass);
    EXPECT_TRUE(bSheetPass);
}

TEST_F(CustomizeSheetTest, ToolbarsPageMakesRenamesAndDeletesToolbars)
{
    qmtest::MessageBoxRecorder boxes(IDOK);
    CQXPCustomizeSheet sheet(pBars, 0);
    qmtest::Script script;
    std::string strOffered, strRenameCaption;
    BOOL bRenameEnabled = FALSE, bResetEnabled = TRUE;
    auto findDialog = [](const char* pszCaption) { return ::FindWindowA("#32770", pszCaption); };
    script.Add([] { return ActivePage() != NULL; });
    script.Then([&] { Press(ActivePage(), QX_CID_TOOLBARS_NEW); });
    script.Add([&] { return findDialog("New Toolbar") != NULL; });
    script.Then([&] {
        HWND hDlg = findDialog("New Toolbar");
        strOffered = TextOf(::GetDlgItem(hDlg, QX_CID_NEW_TOOLBAR_NAME));
        Press(hDlg, IDOK);
    });
    script.Add([&] { return BarTitled("Custom 1") != NULL && findDialog("New Toolbar") == NULL; });
    script.Then([&] {
        HWND hPage = ActivePage();
        bRenameEnabled = ::IsWindowEnabled(::GetDlgItem(hPage, QX_CID_TOOLBARS_RENAME));
        bResetEnabled = ::IsWindowEnabled(::GetDlgItem(hPage, QX_CID_TOOLBARS_RESET));
        Press(hPage, QX_CID_TOOLBARS_RENAME);
    });
    script.Add([&] { return findDialog("Rename Toolbar") != NULL; });
    script.Then([&] {
        HWND hDlg = findDialog("Rename Toolbar");
        strRenameCaption = TextOf(hDlg);
        ::SetDlgItemTextA(hDlg, QX_CID_NEW_TOOLBAR_NAME, "Mine");
        Press(hDlg, IDOK);
    });
    script.Add([&] { return BarTitled("Mine") != NULL && findDialog("Rename Toolbar") == NULL; });
    script.Then([&] { Press(ActivePage(), QX_CID_TOOLBARS_DELETE); });
    script.Add([&] { return BarTitled("Mine") == NULL; });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });

    ASSERT_TRUE(RunSheet(script, sheet));
    EXPECT_EQ(strOffered, "Custom 1");
    EXPECT_TRUE(bRenameEnabled);
    EXPECT_FALSE(bResetEnabled);
    EXPECT_EQ(strRenameCaption, "Rename Toolbar");
    ASSERT_EQ(frame.newBars.size(), 1u);
    EXPECT_EQ(frame.deletedBars, frame.newBars);
    ASSERT_EQ(boxes.Texts().size(), 1u) << ::testing::PrintToString(boxes.Texts());
    EXPECT_EQ(boxes.Texts()[0], "Are you sure you want to delete the 'Mine' toolbar?");
    EXPECT_EQ(boxes.Types()[0] & 0xF, (UINT)MB_OKCANCEL);
}

TEST_F(CustomizeSheetTest, NewToolbarTakesTheFirstFreeId)
{
    CQXPCustomizeSheet sheet(pBars, 0);
    qmtest::Script script;
    script.Add([] { return ActivePage() != NULL; });
    script.Then([&] { Press(ActivePage(), QX_CID_TOOLBARS_NEW); });
    script.Add([&] { return ::FindWindowA("#32770", "New Toolbar") != NULL; });
    script.Then([&] { Press(::FindWindowA("#32770", "New Toolbar"), IDOK); });
    script.Add([&] { return BarTitled("Custom 1") != NULL; });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });
    ASSERT_TRUE(RunSheet(script, sheet));
    // The frame's two bars hold 0xE800 and 0xE801.
    EXPECT_EQ(BarTitled("Custom 1")->GetBarID(), 0xE802u);
    EXPECT_FALSE(BarTitled("Custom 1")->m_bBuiltIn);
}

TEST_F(CustomizeSheetTest, UncheckingHidesOnlyCloseableBars)
{
    frame.m_pStandard->m_bCloseable = FALSE;
    frame.m_pFormat->m_bCloseable = TRUE;
    CQXPCustomizeSheet sheet(pBars, 0);
    qmtest::Script script;
    auto clickBox = [](int nItem) {
        HWND hList = ::GetDlgItem(ActivePage(), QX_CID_TOOLBARS_LIST);
        RECT rc;
        ::SendMessageA(hList, LB_GETITEMRECT, (WPARAM)nItem, (LPARAM)&rc);
        POINT pt = {rc.left + 8, (rc.top + rc.bottom) / 2};
        ::ClientToScreen(hList, &pt);
        qmtest::ClickAt(pt);
    };
    auto itemOf = [](const char* pszTitle) {
        HWND hList = ::GetDlgItem(ActivePage(), QX_CID_TOOLBARS_LIST);
        return (int)::SendMessageA(hList, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)pszTitle);
    };
    script.Add([] { return ActivePage() != NULL; });
    script.Then([&] { clickBox(itemOf("Format")); });
    script.Add([&] { return !frame.m_pFormat->IsVisible(); });
    script.Then([&] { clickBox(itemOf("Standard")); });
    // The click on the box of a bar that may not close selects it and
    // leaves its check.
    script.Add([&] {
        HWND hList = ::GetDlgItem(ActivePage(), QX_CID_TOOLBARS_LIST);
        return ::SendMessageA(hList, LB_GETCURSEL, 0, 0) == itemOf("Standard");
    });
    script.Then([&] {
        CCheckListBox* pList =
            DYNAMIC_DOWNCAST(CCheckListBox, CWnd::FromHandlePermanent(::GetDlgItem(ActivePage(), QX_CID_TOOLBARS_LIST)));
        EXPECT_NE(pList, nullptr);
        if (pList != NULL) {
            EXPECT_EQ(pList->GetCheck(itemOf("Standard")), 1);
            EXPECT_EQ(pList->GetCheck(itemOf("Format")), 0);
        }
        Press(SheetWindow(), IDCANCEL);
    });
    ASSERT_TRUE(RunSheet(script, sheet));
    EXPECT_TRUE(frame.m_pStandard->IsVisible());
    EXPECT_FALSE(frame.m_pFormat->IsVisible());
}

TEST_F(CustomizeSheetTest, KeyboardPageAssignsAndRemovesShortcuts)
{
    CQXPKeyboardShortcuts* pKeys = pBars->GetKeyboardShortcuts();
    ASSERT_TRUE(pKeys->LoadAccelerators(IDR_TEST_MENU));
    // Only Ctrl+O for Open: removing it leaves an empty table.
    ACCEL open = {FVIRTKEY | FCONTROL, 'O', ID_TEST_OPEN};
    pKeys->SetAcceleratorTable(&open, 1);

    qmtest::MessageBoxRecorder boxes({IDNO, IDYES});
    CQXPCustomizeSheet sheet(pBars, 2);
    CQXPCustomizeKeyboardPage keyboard(&sheet);
    ASSERT_TRUE(keyboard.AddCategories(IDR_TEST_MENU));
    sheet.AddPage(&keyboard);
    qmtest::Script script;
    std::vector<std::string> keysShown;
    auto page = [] { return ActivePage(); };
    auto keysText = [&]() {
        HWND hKeys = ::GetDlgItem(page(), QX_CID_KEYBOARD_KEYS);
        std::string s;
        int n = (int)::SendMessageA(hKeys, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            char sz[64] = {};
            ::SendMessageA(hKeys, LB_GETTEXT, (WPARAM)i, (LPARAM)sz);
            s += std::string(i ? "," : "") + sz;
        }
        return s;
    };
    auto pressCtrl = [](WORD vk) {
        INPUT in[4] = {};
        for (INPUT& i : in)
            i.type = INPUT_KEYBOARD;
        in[0].ki.wVk = VK_CONTROL;
        in[1].ki.wVk = vk;
        in[2].ki.wVk = vk;
        in[2].ki.dwFlags = KEYEVENTF_KEYUP;
        in[3].ki.wVk = VK_CONTROL;
        in[3].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(4, in, sizeof(INPUT));
    };
    script.Add([&] { return page() != NULL && ::GetDlgItem(page(), QX_CID_KEYBOARD_KEYS) != NULL; });
    // "File" is the first category and "Open..." its first command.
    script.Then([&] {
        keysShown.push_back(keysText());
        ::SetFocus(::GetDlgItem(page(), QX_CID_KEYBOARD_SHORTCUT));
        pressCtrl('K');
    });
    script.Add([&] { return TextOf(::GetDlgItem(page(), QX_CID_KEYBOARD_SHORTCUT)) == "Ctrl+K"; });
    script.Then([&] { Press(page(), QX_CID_KEYBOARD_ASSIGN); });
    script.Add([&] { return keysText() == "Ctrl+O,Ctrl+K"; });
    // Ctrl+O again for Save: the first question is answered No, nothing
    // changes; then Yes moves it.
    script.Then([&] {
        HWND hCommands = ::GetDlgItem(page(), QX_CID_KEYBOARD_COMMANDS);
        ::SendMessageA(hCommands, LB_SETCURSEL, 1, 0);
        ::SendMessageA(page(), WM_COMMAND, MAKEWPARAM(QX_CID_KEYBOARD_COMMANDS, LBN_SELCHANGE), (LPARAM)hCommands);
        ::SetFocus(::GetDlgItem(page(), QX_CID_KEYBOARD_SHORTCUT));
        pressCtrl('O');
    });
    script.Add([&] { return TextOf(::GetDlgItem(page(), QX_CID_KEYBOARD_SHORTCUT)) == "Ctrl+O"; });
    script.Then([&] { Press(page(), QX_CID_KEYBOARD_ASSIGN); });
    script.Add([&] { return boxes.Texts().size() == 1; });
    script.Then([&] {
        keysShown.push_back(keysText());
        ::SetFocus(::GetDlgItem(page(), QX_CID_KEYBOARD_SHORTCUT));
        pressCtrl('O');
    });
    script.Add([&] { return TextOf(::GetDlgItem(page(), QX_CID_KEYBOARD_SHORTCUT)) == "Ctrl+O"; });
    script.Then([&] { Press(page(), QX_CID_KEYBOARD_ASSIGN); });
    script.Add([&] { return keysText() == "Ctrl+O"; });
    // Remove both remaining shortcuts: Save's Ctrl+O, then Open's Ctrl+K.
    script.Then([&] {
        HWND hKeys = ::GetDlgItem(page(), QX_CID_KEYBOARD_KEYS);
        ::SendMessageA(hKeys, LB_SETCURSEL, 0, 0);
        Press(page(), QX_CID_KEYBOARD_REMOVE);
    });
    script.Add([&] { return keysText().empty(); });
    script.Then([&] {
        HWND hCommands = ::GetDlgItem(page(), QX_CID_KEYBOARD_COMMANDS);
        ::SendMessageA(hCommands, LB_SETCURSEL, 0, 0);
        ::SendMessageA(page(), WM_COMMAND, MAKEWPARAM(QX_CID_KEYBOARD_COMMANDS, LBN_SELCHANGE), (LPARAM)hCommands);
        ::SendMessageA(::GetDlgItem(page(), QX_CID_KEYBOARD_KEYS), LB_SETCURSEL, 0, 0);
        Press(page(), QX_CID_KEYBOARD_REMOVE);
    });
    script.Add([&] { return pKeys->GetEntries().empty(); });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });

    ASSERT_TRUE(RunSheet(script, sheet));
    ASSERT_EQ(keysShown.size(), 2u);
    EXPECT_EQ(keysShown[0], "Ctrl+O");
    EXPECT_EQ(keysShown[1], ""); // Save had none, and No left it so
    ASSERT_GE(boxes.Texts().size(), 2u);
    EXPECT_EQ(boxes.Texts()[0], "This shortcut is currently assigned.\nDo you want to re-assign this shortcut?");
    // The emptied table translates nothing and stores no bytes.
    EXPECT_TRUE(pKeys->HasCurrentTable());
    EXPECT_EQ(pKeys->GetAcceleratorTable(), (HACCEL)NULL);
    EXPECT_TRUE(CQXPKeyboardShortcuts::Pack(pKeys->GetEntries()).empty());
}

TEST_F(CustomizeSheetTest, ACommandDraggedFromTheCommandsListLandsOnABar)
{
    CQXPCustomizeSheet sheet(pBars, 1);
    sheet.GetCommandsPage()->AddCategories(IDR_TEST_MENU);
    const int nBefore = frame.m_pFormat->GetControls()->GetCount();
    std::thread mouse;
    qmtest::Script script;
    script.Add([] { return ActivePage() != NULL && ::GetDlgItem(ActivePage(), QX_CID_COMMANDS_LIST) != NULL; });
    script.Then([&] {
        MoveSheetOffTheBars();
        // "Open..." is the first command of "File"; the drop goes on the
        // Format bar, after its buttons. The pointer moves from a second
        // thread: the drag loop runs on this one.
        HWND hList = ::GetDlgItem(ActivePage(), QX_CID_COMMANDS_LIST);
        RECT rcItem;
        ::SendMessageA(hList, LB_GETITEMRECT, 0, (LPARAM)&rcItem);
        POINT ptFrom = {(rcItem.left + rcItem.right) / 2, (rcItem.top + rcItem.bottom) / 2};
        ::ClientToScreen(hList, &ptFrom);
        CRect rcBar;
        frame.m_pFormat->GetWindowRect(&rcBar);
        POINT ptTo = {rcBar.right - 4, rcBar.CenterPoint().y};
        mouse = std::thread([ptFrom, ptTo] { qmtest::DragFromTo(ptFrom, ptTo, [](DWORD ms) { ::Sleep(ms); }); });
    });
    script.Add([&] { return frame.m_pFormat->GetControls()->FindControl(ID_TEST_OPEN) != NULL; });
    // The bar, in the second row of toolbars, shows the new button while
    // the sheet still runs: its picture is on the screen, not the dock's
    // plain background (the sheet stands below the bars).
    script.Add([&] {
        CQXPControl* pDropped = frame.m_pFormat->GetControls()->FindControl(ID_TEST_OPEN);
        CRect rc = pDropped->GetRect();
        rc.DeflateRect(2, 2);
        frame.m_pFormat->ClientToScreen(&rc);
        // Its picture is a plain square: two colours where the dock had one.
        return qmtest::DistinctColours(qmtest::CaptureScreenRect(rc)) >= 2;
    });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });
    bool bDone = RunSheet(script, sheet);
    if (mouse.joinable())
        mouse.join();
    ASSERT_TRUE(bDone);
    EXPECT_EQ(frame.m_pFormat->GetControls()->GetCount(), nBefore + 1);
    // A copy: the list keeps its own control.
    CQXPControls* pFile = sheet.GetCommandsPage()->GetCategories().GetAt(0).pControls;
    EXPECT_NE(pFile->FindControl(ID_TEST_OPEN), frame.m_pFormat->GetControls()->FindControl(ID_TEST_OPEN));
}

TEST_F(CustomizeSheetTest, TheMainWindowsBarsTakeClicksWhileTheSheetRuns)
{
    // The frame as the application's main window, which the run's disabling
    // of the application's modeless windows reaches.
    CWinApp app("CustomizeSheetMain");
    app.m_pMainWnd = &frame;
    CQXPCustomizeSheet sheet(pBars, 0);
    CQXPControl* pSave = frame.m_pStandard->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    std::thread mouse;
    BOOL bEnabledDuring = FALSE;
    qmtest::Script script;
    script.Add([] { return SheetWindow() != NULL; });
    script.Then([&] {
        MoveSheetOffTheBars();
        bEnabledDuring = frame.IsWindowEnabled();
        CRect rc = pSave->GetRect();
        frame.m_pStandard->ClientToScreen(&rc);
        POINT pt = rc.CenterPoint();
        mouse = std::thread([pt] { qmtest::ClickAt(pt); });
    });
    // The click selects the button instead of running it.
    script.Add([&] { return pBars->GetDragControl() == pSave; });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });
    bool bDone = RunSheet(script, sheet);
    if (mouse.joinable())
        mouse.join();
    app.m_pMainWnd = NULL;
    EXPECT_TRUE(bDone) << "the click on the toolbar did not select its button";
    EXPECT_TRUE(bEnabledDuring);
    EXPECT_TRUE(frame.IsWindowEnabled());
}

TEST_F(CustomizeSheetTest, ARightClickOnABarOpensTheSheetsContextMenu)
{
    CQXPCustomizeSheet sheet(pBars, 0);
    ASSERT_NE(nullptr, sheet.GetContextMenu());
    CQXPPopupBar* pMenuBar = sheet.GetContextMenu()->GetContextBar();
    ASSERT_NE(nullptr, pMenuBar);
    CQXPControl* pSave = frame.m_pStandard->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    std::thread mouse;
    auto ClickOn = [&](CWnd* pWnd, CRect rc, bool bRight) {
        pWnd->ClientToScreen(&rc);
        POINT pt = rc.CenterPoint();
        if (mouse.joinable())
            mouse.join();
        mouse = std::thread([pt, bRight] { qmtest::ClickAt(pt, bRight); });
    };
    BOOL bWasSelected = FALSE;
    bool bPaletteFilled = false;
    qmtest::Script script;
    script.Add([] { return SheetWindow() != NULL; });
    // The menu runs while the sheet does: it is the drop source's for the
    // run only.
    script.Then([&] {
        MoveSheetOffTheBars();
        EXPECT_EQ(pBars->GetDropSource()->GetContextMenu(), sheet.GetContextMenu());
        ClickOn(frame.m_pStandard, pSave->GetRect(), true);
    });
    script.Add([&] { return ::IsWindowVisible(pMenuBar->GetSafeHwnd()) != FALSE; });
    // The palette of stock pictures fills itself as it opens.
    script.Then([&] {
        bWasSelected = pBars->GetDragControl() == pSave;
        CQXPControl* pChange = pMenuBar->GetControls()->FindControl(QX_ID_CUSTOMIZE_CHANGEIMAGE);
        ClickOn(pMenuBar, pChange->GetRect(), false);
    });
    script.Add([&] {
        CQXPCommandBar* pPalette = pMenuBar->GetControls()->FindControl(QX_ID_CUSTOMIZE_CHANGEIMAGE)->GetCommandBar();
        bPaletteFilled = pPalette->GetControlCount() == sheet.GetContextMenu()->GetStockCount();
        return bPaletteFilled;
    });
    script.Then([&] {
        CQXPControl* pDelete = pMenuBar->GetControls()->FindControl(QX_ID_CUSTOMIZE_DELETE);
        ClickOn(pMenuBar, pDelete->GetRect(), false);
    });
    script.Add([&] { return frame.m_pStandard->GetControls()->FindControl(ID_TEST_SAVE) == NULL; });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });
    bool bDone = RunSheet(script, sheet);
    if (mouse.joinable())
        mouse.join();
    ASSERT_TRUE(bDone);
    EXPECT_TRUE(bWasSelected);
    EXPECT_TRUE(bPaletteFilled);
    EXPECT_EQ(nullptr, pBars->GetDragControl());
    EXPECT_EQ(nullptr, pBars->GetDropSource()->GetContextMenu());
    EXPECT_EQ(nullptr, pBars->GetDropSource()->GetCustomizeDialog());
}

// The customize menu opens again after a command chosen by its access key;
// its Name box takes a click and the keyboard: the typed name renames the
// button when Enter is pressed and when the box is left by a click
// elsewhere, and the sheet stays open.
TEST_F(CustomizeSheetTest, TheNameBoxOfTheContextMenuRenamesAButton)
{
    // How the box is left once the name is typed.
    enum Leave {
        byEnter,
        byClickOnTheSheet
    };
    const struct {
        Leave leave;
        const wchar_t* pszTyped;
        const char* pszCaption;
    } cases[] = {
        {byEnter, L"Keep", "Keep"},
        {byClickOnTheSheet, L"Away", "Away"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCaption);
        CQXPCustomizeSheet sheet(pBars, 0);
        CQXPPopupBar* pMenuBar = sheet.GetContextMenu()->GetContextBar();
        ASSERT_NE(nullptr, pMenuBar);
        CQXPControl* pSave = frame.m_pStandard->GetControls()->FindControl(ID_TEST_SAVE);
        ASSERT_NE(nullptr, pSave);
        CQXPControlEdit* pName =
            dynamic_cast<CQXPControlEdit*>(pMenuBar->GetControls()->FindControl(QX_ID_CUSTOMIZE_NAME));
        ASSERT_NE(nullptr, pName);
        std::thread input;
        auto Run = [&](std::function<void()> f) {
            if (input.joinable())
                input.join();
            input = std::thread(f);
        };
        HWND hFocusInBox = NULL;
        // Each right click lands elsewhere on the button: two at one place
        // would make a double click.
        int nClicks = 0;
        auto RightClickSave = [&] {
            CRect rc = pSave->GetRect();
            frame.m_pStandard->ClientToScreen(&rc);
            POINT pt = {rc.left + 4 + 8 * nClicks++, rc.CenterPoint().y};
            Run([pt] { qmtest::ClickAt(pt, true); });
        };
        qmtest::Script script;
        script.Add([] { return SheetWindow() != NULL; });
        script.Then([&] {
            MoveSheetOffTheBars();
            RightClickSave();
        });
        // First "Image and Text" by its access key: the caption shows.
        script.Add([&] { return ::IsWindowVisible(pMenuBar->GetSafeHwnd()) != FALSE; });
        script.Then([&] { Run([] { qmtest::SendChord({'A'}); }); });
        script.Add([&] { return !::IsWindowVisible(pMenuBar->GetSafeHwnd()) && pSave->m_buttonCustomStyle != -1; });
        script.Then([&] { RightClickSave(); });
        script.Add([&] {
            return ::IsWindowVisible(pMenuBar->GetSafeHwnd()) && pName->GetEditCtrl() != NULL &&
                   ::IsWindowVisible(pName->GetEditCtrl()->GetSafeHwnd());
        });
        script.Then([&] {
            CRect rc;
            pName->GetEditCtrl()->GetWindowRect(&rc);
            POINT pt = {rc.left + 5, rc.CenterPoint().y};
            Run([pt] { qmtest::ClickAt(pt); });
        });
        script.Add([&] { return ::GetFocus() == pName->GetEditCtrl()->GetSafeHwnd(); });
        script.Then([&] {
            hFocusInBox = ::GetFocus();
            pName->GetEditCtrl()->SetSel(0, -1);
            // A blank spot of the sheet, below its tabs and left of its
            // buttons.
            RECT rcSheet;
            ::GetClientRect(SheetWindow(), &rcSheet);
            POINT ptBlank = {rcSheet.left + 4, rcSheet.bottom - 4};
            ::ClientToScreen(SheetWindow(), &ptBlank);
            const wchar_t* pszTyped = c.pszTyped;
            if (c.leave == byEnter)
                Run([pszTyped] {
                    qmtest::TypeText(pszTyped);
                    qmtest::SendChord({VK_RETURN});
                });
            else
                Run([pszTyped, ptBlank] {
                    qmtest::TypeText(pszTyped);
                    qmtest::ClickAt(ptBlank);
                });
        });
        script.Add([&] { return pSave->GetCaption() == c.pszCaption && !::IsWindowVisible(pMenuBar->GetSafeHwnd()); });
        script.Then([&] { Press(SheetWindow(), IDCANCEL); });
        bool bDone = RunSheet(script, sheet);
        if (input.joinable())
            input.join();
        EXPECT_TRUE(bDone) << "focus " << ::GetFocus() << ", caption " << (LPCSTR)pSave->GetCaption()
                           << ", steps left " << script.Remaining();
        EXPECT_NE(hFocusInBox, (HWND)NULL);
    }
}

TEST_F(CustomizeSheetTest, MenusPageShowsTheDocumentMenusOnTheMenuBar)
{
    CDocManager docManager;
    fx::SetDocManager(&docManager, NULL);
    CMultiDocTemplate* pTemplate = new CMultiDocTemplate(IDR_TEST_DOCMENU, RUNTIME_CLASS(CDocument),
                                                         RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CView));
    docManager.AddDocTemplate(pTemplate);
    // The bar has shown the document's menu once where customizing is
    // allowed, so it keeps a record.
    frame.m_bCustomizeAllowed = TRUE;
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    pMenuBar->SwitchMenu(IDR_TEST_MENU, NULL);
    ASSERT_EQ((UINT)IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    CQXPMenuBarMDIMenuInfo* pDoc = pMenuBar->FindMDIMenu(IDR_TEST_DOCMENU);
    ASSERT_NE(nullptr, pDoc);

    CQXPCustomizeSheet sheet(pBars, 2);
    CQXPCustomizeMenusPage menus(&sheet);
    sheet.AddPage(&menus);
    struct Seen {
        std::vector<std::string> entries;
        int nSelected = -1;
        UINT nMenuShown = 0;
        std::string strDescription;
        HICON hIcon = NULL;
    };
    auto Look = [&](HWND hPage) {
        Seen seen;
        HWND hCombo = ::GetDlgItem(hPage, QX_CID_MENUS_SHOW);
        for (int i = 0; i < (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0); ++i) {
            char sz[128] = {};
            ::SendMessageA(hCombo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)sz);
            seen.entries.push_back(sz);
        }
        seen.nSelected = (int)::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
        seen.nMenuShown = pMenuBar->GetCurrentMenuId();
        seen.strDescription = TextOf(::GetDlgItem(hPage, QX_CID_MENUS_DESCRIPTION));
        seen.hIcon = (HICON)::SendDlgItemMessageA(hPage, QX_CID_MENUS_ICON, STM_GETICON, 0, 0);
        return seen;
    };
    auto Choose = [](HWND hPage, int nIndex) {
        HWND hCombo = ::GetDlgItem(hPage, QX_CID_MENUS_SHOW);
        ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nIndex, 0);
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(QX_CID_MENUS_SHOW, CBN_SELCHANGE), (LPARAM)hCombo);
    };
    Seen atStart, onNote, backToDefault;
    qmtest::Script script;
    script.Add([] { return ActivePage() != NULL && ::GetDlgItem(ActivePage(), QX_CID_MENUS_SHOW) != NULL; });
    script.Then([&] {
        atStart = Look(ActivePage());
        Choose(ActivePage(), 1);
        onNote = Look(ActivePage());
        Choose(ActivePage(), 0);
        backToDefault = Look(ActivePage());
        // The sheet closes on the document's menu.
        Choose(ActivePage(), 1);
        Press(SheetWindow(), IDCANCEL);
    });
    ASSERT_TRUE(RunSheet(script, sheet));
    PumpMessages();
    fx::SetDocManager(NULL, NULL);

    EXPECT_EQ(atStart.entries, (std::vector<std::string>{"Default menu", "Note"}));
    EXPECT_EQ(atStart.nSelected, 0);
    EXPECT_EQ(atStart.strDescription, "Default application menu");
    EXPECT_EQ(onNote.nMenuShown, (UINT)IDR_TEST_DOCMENU);
    EXPECT_EQ(onNote.strDescription, "Test Note File");
    EXPECT_NE(onNote.hIcon, (HICON)NULL);
    EXPECT_EQ(backToDefault.nMenuShown, (UINT)IDR_TEST_MENU);
    EXPECT_EQ(backToDefault.strDescription, "Default application menu");
    // With no document open the frame's own menu comes back.
    EXPECT_EQ(pMenuBar->GetCurrentMenuId(), (UINT)IDR_TEST_MENU);
}

// The Menus page lists an empty entry, then the context menus. The chosen
// one is edited in a floating popup bar beside the sheet: it takes a
// control dragged from a toolbar and loses one dropped off the bars.
// Choosing the empty entry puts the edits into the context menu; shown
// again, the bar stands where it was left, and Reset gives back the
// program's items.
// The windows this thread activates while it is installed.
class ActivationLog {
public:
    ActivationLog() : m_hHook(::SetWindowsHookExA(WH_CBT, OnCbt, NULL, ::GetCurrentThreadId())) { s_pCurrent = this; }
    ~ActivationLog()
    {
        ::UnhookWindowsHookEx(m_hHook);
        s_pCurrent = nullptr;
    }
    ActivationLog(const ActivationLog&) = delete;
    ActivationLog& operator=(const ActivationLog&) = delete;
    std::vector<HWND> activated;

private:
    static LRESULT CALLBACK OnCbt(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_ACTIVATE && s_pCurrent)
            s_pCurrent->activated.push_back((HWND)wParam);
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
    static ActivationLog* s_pCurrent;
};
ActivationLog* ActivationLog::s_pCurrent = nullptr;

TEST_F(CustomizeSheetTest, MenusPageEditsAContextMenuInAFloatingBar)
{
    CQXPPopupBar* pMenu = pBars->AddContextMenu(IDR_TEST_MENU, 0, "File");
    ASSERT_NE(nullptr, pMenu);
    const int nBars = pBars->GetCount();
    CQXPCustomizeSheet sheet(pBars, 2);
    CQXPCustomizeMenusPage menus(&sheet);
    sheet.AddPage(&menus);
    auto Ids = [](CQXPControls* pControls) {
        std::vector<int> ids;
        for (int i = 0; i < pControls->GetCount(); ++i)
            if (!pControls->GetAt(i)->IsTemporary()) // the floating caption's buttons
                ids.push_back(pControls->GetAt(i)->GetID());
        return ids;
    };
    auto Choose = [](int nIndex) {
        HWND hCombo = ::GetDlgItem(ActivePage(), QX_CID_MENUS_CONTEXT);
        ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nIndex, 0);
        ::SendMessageA(ActivePage(), WM_COMMAND, MAKEWPARAM(QX_CID_MENUS_CONTEXT, CBN_SELCHANGE), (LPARAM)hCombo);
    };
    auto ScreenCenter = [](CQXPCommandBar* pBar, int nId) {
        CRect rc = pBar->GetControls()->FindControl(nId)->GetRect();
        pBar->ClientToScreen(&rc);
        return POINT{rc.CenterPoint().x, rc.CenterPoint().y};
    };
    auto ResetEnabled = [] { return ::IsWindowEnabled(::GetDlgItem(ActivePage(), QX_CID_MENUS_CONTEXT_RESET)) != FALSE; };
    auto ResetBox = [] { return ::FindWindowA("#32770", "Customize test"); };
    std::vector<std::string> entries;
    CQXPToolBar* pShown = NULL;
    CRect rcSheet, rcShown, rcAgain;
    CPoint ptLeft(30, 300);
    BOOL bResetAtStart = TRUE, bResetShown = FALSE, bResetClosed = TRUE;
    bool bFloating = false, bGoneOnClose = false;
    std::vector<int> shownIds, closedIds;
    std::vector<HWND> activatedOnShow;
    std::thread mouse;
    qmtest::Script script;
    script.Add([] { return ActivePage() != NULL && ::GetDlgItem(ActivePage(), QX_CID_MENUS_CONTEXT) != NULL; });
    script.Then([&] {
        MoveSheetOffTheBars();
        HWND hCombo = ::GetDlgItem(ActivePage(), QX_CID_MENUS_CONTEXT);
        for (int i = 0; i < (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0); ++i) {
            char sz[128] = {};
            ::SendMessageA(hCombo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)sz);
            entries.push_back(sz);
        }
        bResetAtStart = ResetEnabled();
        {
            // The bar comes up beside the sheet without taking the
            // activation (and the focus) from it, even for a moment: a
            // window system that follows such a change late would cancel
            // the drag that starts next.
            ActivationLog log;
            Choose(1);
            activatedOnShow = log.activated;
        }
        pShown = menus.GetContextMenuBar();
        if (pShown == NULL)
            return;
        bResetShown = ResetEnabled();
        bFloating = dynamic_cast<CQXPFloatingPopupBar*>(pShown) != NULL && pShown->IsFloating() &&
                    ::IsWindowVisible(pShown->GetSafeHwnd());
        shownIds = Ids(pShown->GetControls());
        ::GetWindowRect(SheetWindow(), &rcSheet);
        pShown->GetWindowRect(&rcShown);
        // Undo of the Format bar goes below Exit.
        POINT ptFrom = ScreenCenter(frame.m_pFormat, ID_TEST_UNDO);
        POINT ptTo = ScreenCenter(pShown, ID_TEST_EXIT);
        ptTo.y += 4;
        mouse = std::thread([ptFrom, ptTo] { qmtest::DragFromTo(ptFrom, ptTo, [](DWORD ms) { ::Sleep(ms); }); });
    });
    script.Add([&] { return pShown != NULL && pShown->GetControls()->FindControl(ID_TEST_UNDO) != NULL; });
    // Save is dropped on the frame, off every bar.
    script.Then([&] {
        POINT ptFrom = ScreenCenter(pShown, ID_TEST_SAVE);
        CRect rcClient;
        frame.GetClientRect(&rcClient);
        CPoint ptTo(40, rcClient.bottom - 30);
        frame.ClientToScreen(&ptTo);
        mouse.join();
        mouse = std::thread([ptFrom, ptTo] { qmtest::DragFromTo(ptFrom, ptTo, [](DWORD ms) { ::Sleep(ms); }); });
    });
    script.Add([&] { return pShown->GetControls()->FindControl(ID_TEST_SAVE) == NULL; });
    script.Then([&] {
        mouse.join();
        qmtest::ParkPointer();
        pShown->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        qmtest::SaveWindowShot(pShown->GetSafeHwnd(), QM_BIN_DIR, "customize-context-menu-edited.png");
        pShown->SetWindowPos(NULL, ptLeft.x, ptLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Choose(0);
        bGoneOnClose = menus.GetContextMenuBar() == NULL && pBars->GetCount() == nBars;
        bResetClosed = ResetEnabled();
        closedIds = Ids(pMenu->GetControls());
        Choose(1);
        pShown = menus.GetContextMenuBar();
        if (pShown == NULL)
            return;
        pShown->GetWindowRect(&rcAgain);
        Press(ActivePage(), QX_CID_MENUS_CONTEXT_RESET);
    });
    script.Add([&] { return ResetBox() != NULL; });
    script.Then([&] { Press(ResetBox(), IDOK); });
    script.Add([&] { return pShown->GetControls()->FindControl(ID_TEST_SAVE) != NULL; });
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });
    bool bDone = RunSheet(script, sheet);
    if (mouse.joinable())
        mouse.join();
    ASSERT_TRUE(bDone) << script.Remaining() << " steps left";
    EXPECT_EQ(entries, (std::vector<std::string>{"", "File"}));
    EXPECT_FALSE(bResetAtStart);
    EXPECT_TRUE(bResetShown);
    EXPECT_TRUE(bFloating);
    EXPECT_TRUE(activatedOnShow.empty()) << activatedOnShow.size() << " activations, the first of window "
                                         << (activatedOnShow.empty() ? nullptr : activatedOnShow.front());
    EXPECT_EQ(shownIds, (std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}));
    // Beside the sheet, level with its top.
    EXPECT_EQ(rcShown.right, rcSheet.left);
    EXPECT_EQ(rcShown.top, rcSheet.top);
    EXPECT_TRUE(bGoneOnClose);
    EXPECT_FALSE(bResetClosed);
    EXPECT_EQ(closedIds, (std::vector<int>{ID_TEST_OPEN, ID_TEST_EXIT, ID_TEST_UNDO}));
    EXPECT_EQ(rcAgain.TopLeft(), ptLeft) << "shown again where it was left";
    // The reset menu went back when the sheet closed.
    EXPECT_EQ(Ids(pMenu->GetControls()), (std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}));
    EXPECT_FALSE(pMenu->GetControls()->IsChanged());
    EXPECT_EQ(pBars->GetCount(), nBars);
    EXPECT_EQ(frame.m_pFormat->GetControls()->FindControl(ID_TEST_UNDO), nullptr) << "moved, not copied";
}

TEST_F(CustomizeSheetTest, OptionsPageShowsAndWritesTheManagersOptions)
{
    qmtest::MessageBoxRecorder boxes(IDYES);
    CQXPCommandBarsSettings* pOptions = pBars->GetOptions();
    pOptions->m_bAlwaysShowFullMenus = FALSE;
    pOptions->m_bShowFullAfterDelay = FALSE;
    pOptions->m_nAnimation = 4;
    pOptions->m_usedCommands = {ID_TEST_SAVE};
    pOptions->m_bChanged = FALSE;
    const CSize szSmall = frame.m_pStandard->GetIconSize();

    CQXPCustomizeSheet sheet(pBars, 2);
    CQXPCustomizeOptionsPage page(&sheet);
    sheet.AddPage(&page);
    struct Shown {
        UINT fullMenus, afterDelay, screenTips, accelTips;
        BOOL afterDelayEnabled, accelTipsEnabled;
        int animation;
    };
    auto read = [](HWND hPage) {
        return Shown{::IsDlgButtonChecked(hPage, QX_CID_OPTIONS_FULL_MENUS),
                     ::IsDlgButtonChecked(hPage, QX_CID_OPTIONS_FULL_AFTER_DELAY),
                     ::IsDlgButtonChecked(hPage, QX_CID_OPTIONS_SCREENTIPS),
                     ::IsDlgButtonChecked(hPage, QX_CID_OPTIONS_SHORTCUT_TIPS),
                     ::IsWindowEnabled(::GetDlgItem(hPage, QX_CID_OPTIONS_FULL_AFTER_DELAY)),
                     ::IsWindowEnabled(::GetDlgItem(hPage, QX_CID_OPTIONS_SHORTCUT_TIPS)),
                     (int)::SendDlgItemMessageA(hPage, QX_CID_OPTIONS_ANIMATION, CB_GETCURSEL, 0, 0)};
    };
    Shown before = {}, after = {};
    qmtest::Script script;
    script.Add([&] { return ActivePage() == page.GetSafeHwnd() && ::IsWindowVisible(page.GetSafeHwnd()); });
    script.Then([&] {
        before = read(page.GetSafeHwnd());
        ClickCenter(::GetDlgItem(page.GetSafeHwnd(), QX_CID_OPTIONS_FULL_MENUS));
    });
    script.Add([&] { return pOptions->m_bAlwaysShowFullMenus != FALSE; });
    script.Then([&] { ClickCenter(::GetDlgItem(page.GetSafeHwnd(), QX_CID_OPTIONS_SHORTCUT_TIPS)); });
    script.Add([&] { return pOptions->m_bToolBarAccelTips != FALSE; });
    script.Then([&] { ClickCenter(::GetDlgItem(page.GetSafeHwnd(), QX_CID_OPTIONS_SCREENTIPS)); });
    script.Add([&] { return pOptions->m_bToolBarScreenTips == FALSE; });
    script.Then([&] { ClickCenter(::GetDlgItem(page.GetSafeHwnd(), QX_CID_OPTIONS_LARGE_ICONS)); });
    script.Add([&] { return pBars->IsLargeIcons() != FALSE; });
    script.Then([&] {
        HWND hCombo = ::GetDlgItem(page.GetSafeHwnd(), QX_CID_OPTIONS_ANIMATION);
        ::SendMessageA(hCombo, CB_SETCURSEL, 2, 0);
        ::SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(QX_CID_OPTIONS_ANIMATION, CBN_SELCHANGE),
                       (LPARAM)hCombo);
        Press(page.GetSafeHwnd(), QX_CID_OPTIONS_RESET_USAGE);
    });
    script.Add([&] { return pOptions->m_usedCommands.empty(); });
    script.Then([&] {
        after = read(page.GetSafeHwnd());
        Press(SheetWindow(), IDCANCEL);
    });
    ASSERT_TRUE(RunSheet(script, sheet));

    // The page showed the options as they were.
    EXPECT_EQ(0u, before.fullMenus);
    EXPECT_EQ(0u, before.afterDelay);
    EXPECT_TRUE(before.afterDelayEnabled) << "the delay only matters while menus are shortened";
    EXPECT_EQ(1u, before.screenTips);
    EXPECT_EQ(0u, before.accelTips);
    EXPECT_TRUE(before.accelTipsEnabled);
    EXPECT_EQ(4, before.animation);
    // Each change went to the options at once.
    EXPECT_TRUE(pOptions->m_bAlwaysShowFullMenus);
    EXPECT_FALSE(after.afterDelayEnabled);
    EXPECT_FALSE(pOptions->m_bToolBarScreenTips);
    EXPECT_TRUE(pOptions->m_bToolBarAccelTips);
    EXPECT_FALSE(after.accelTipsEnabled) << "shortcuts in tooltips need tooltips";
    EXPECT_NE(szSmall, frame.m_pStandard->GetIconSize()) << "the bars were measured again for large icons";
    EXPECT_EQ(2, pOptions->m_nAnimation);
    EXPECT_TRUE(pOptions->m_bChanged);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(0u, boxes.Texts()[0].find("This will delete the record of the commands you've used"));
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2),
              boxes.Types()[0] & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK));
}

TEST_F(CustomizeSheetTest, PagesLookRight)
{
    CQXPCustomizeSheet sheet(pBars, 0);
    CQXPCustomizeKeyboardPage keyboard(&sheet);
    keyboard.AddCategories(IDR_TEST_MENU);
    sheet.AddPage(&keyboard);
    CQXPCustomizeMenusPage menus(&sheet);
    sheet.AddPage(&menus);
    CQXPCustomizeOptionsPage options(&sheet);
    sheet.AddPage(&options);
    CQXPCustomizeCommandsPage* pCommands = sheet.GetCommandsPage();
    pCommands->AddCategories(IDR_TEST_MENU);
    pCommands->InsertAllCommandsCategory(QX_IDS_ALL_COMMANDS);
    pCommands->InsertNewMenuCategory(QX_IDS_NEW_MENU);
    const char* const names[] = {"customize-toolbars.png", "customize-commands.png", "customize-keyboard.png",
                                 "customize-menus.png", "customize-options.png"};
    std::vector<std::string> captions;
    qmtest::Script script;
    script.Add([] { return ActivePage() != NULL; });
    for (int i = 0; i < 5; ++i) {
        script.Then([i] { ::SendMessageA(SheetWindow(), PSM_SETCURSEL, (WPARAM)i, 0); });
        script.Add([&, i] {
            HWND hPage = ActivePage();
            if (hPage == NULL || ::SendMessageA(SheetWindow(), PSM_HWNDTOINDEX, (WPARAM)hPage, 0) != i)
                return false;
            captions.push_back(TextOf(hPage));
            qmtest::SaveWindowShot(SheetWindow(), QM_BIN_DIR, names[i]);
            return true;
        });
    }
    script.Then([&] { Press(SheetWindow(), IDCANCEL); });
    ASSERT_TRUE(RunSheet(script, sheet, 30000));
    EXPECT_EQ(captions, (std::vector<std::string>{"Tool&bars", "&Commands", "&Keyboard", "&Menus", "&Options"}));
    // The categories of the Commands page: the menu's, then the two made.
    CQXPCustomizeCategories& categories = pCommands->GetCategories();
    ASSERT_EQ(categories.GetCount(), 4);
    EXPECT_STREQ(categories.GetAt(0).strName, "File");
    EXPECT_STREQ(categories.GetAt(1).strName, "Edit");
    EXPECT_STREQ(categories.GetAt(2).strName, "All Commands");
    EXPECT_STREQ(categories.GetAt(3).strName, "New Menu");
    // File holds Open, Save and Exit (no separator); All Commands their
    // copies and Edit's.
    EXPECT_EQ(categories.GetAt(0).pControls->GetCount(), 3);
    EXPECT_EQ(categories.GetAt(2).pControls->GetCount(),
              categories.GetAt(0).pControls->GetCount() + categories.GetAt(1).pControls->GetCount());
}

} // namespace
