// The command bars manager in a real MDI main frame: Alt and mnemonics
// across the bars, the keyboard underlines, F1 on a hot control, the frame
// messages that close menus, modal popup menus and their flags, the options
// and their stores, the icon sizes the options give, and the manager's bar
// operations.
#include <qx/controlcombo.h>
#include <qx/controledit.h>
#include <qx/framehost.h>
#include <qx/mditabs.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/profile.h>
#include <qx/propexchange.h>
#include <qx/sysutil.h>
#include <qx/themes.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/archivebytes.h>
#include <qmtest/files.h>
#include <qmtest/pump.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cbtest_ids.h"

namespace {

using qmtest::PumpMessages;
using qmtest::PumpUntil;

// Posted to the frame while a popup menu tracks: notes the newest popup's
// window rectangle and the lock of the bar under it, optionally releases
// the mouse over one of its items (by command id), then presses Esc.
const UINT WM_TEST_INSPECTPOPUP = WM_APP + 21;

class CManagerFrame : public qmtest::CommandBarTestFrame {
public:
    CManagerFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar,
                              {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}},
                               {"Format", &m_pFormat, 0, {ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}}})
    {
    }
    std::vector<UINT> commands;
    std::vector<LPARAM> helpRequests; // lParam of every WM_COMMANDHELP
    int nHelpCommands = 0;            // ID_HELP reached the frame itself
    std::vector<QXP_CREATEBAR_RECORD> barRequests;
    BOOL bSaveEnabled = TRUE;
    BOOL bUndoEnabled = TRUE;
    int nUndoUpdates = 0; // calls of the Undo update handler
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pStandard = NULL;
    CQXPToolBar* m_pFormat = NULL;
    // What WM_TEST_INSPECTPOPUP saw.
    CRect rcPopup;
    int nLockedUnder = -1;
    int nTrackedDuring = 0;
    BOOL bCuesShownDuring = FALSE;
    // WM_TEST_INSPECTPOPUP closes the popup with a click elsewhere, not Esc.
    BOOL bCloseByClickOutside = FALSE;
    CQXPPopupBar* m_pContextPopup = NULL; // shown on WM_CONTEXTMENU
    std::vector<std::string> statusTexts; // WM_SETMESSAGESTRING texts given as strings
    int nNcPaints = 0;

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnExit() { commands.push_back(ID_TEST_EXIT); }
    afx_msg void OnUndo() { commands.push_back(ID_TEST_UNDO); }
    afx_msg void OnAnsi() { commands.push_back(ID_TEST_ANSI); }
    afx_msg void OnUtf8() { commands.push_back(ID_TEST_UTF8); }
    afx_msg void OnHelp() { nHelpCommands++; }
    afx_msg void OnContextMenu(CWnd*, CPoint pt)
    {
        if (m_pContextPopup)
            CQXPCommandBars::TrackPopupMenu(m_pContextPopup, TPM_RETURNCMD, pt.x < 0 ? 300 : pt.x, pt.y < 0 ? 200 : pt.y);
    }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(bSaveEnabled); }
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI)
    {
        nUndoUpdates++;
        pCmdUI->Enable(bUndoEnabled);
    }
    afx_msg LRESULT OnCommandHelp(WPARAM, LPARAM lParam)
    {
        helpRequests.push_back(lParam);
        return TRUE;
    }
    // Texts given to the status line (the idle text comes as a string id
    // and is left out).
    afx_msg LRESULT OnSetMessageString(WPARAM, LPARAM lParam)
    {
        if (lParam)
            statusTexts.push_back((LPCSTR)lParam);
        return 0;
    }
    afx_msg void OnNcPaint()
    {
        nNcPaints++;
        Default();
    }
    afx_msg LRESULT OnCreateBar(WPARAM, LPARAM lParam)
    {
        barRequests.push_back(*(QXP_CREATEBAR_RECORD*)lParam);
        return 0;
    }
    afx_msg LRESULT OnInspectPopup(WPARAM wParam, LPARAM lParam)
    {
        ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
        nTrackedDuring = pMouse->GetTrackedCount();
        CQXPCommandBar* pNewest = pMouse->GetTrackedBar(nTrackedDuring - 1);
        if (pNewest && lParam > 0) {
            // Opens the submenu at index lParam - 1 and works in it.
            pNewest->SetPopuped((int)lParam - 1);
            pNewest = pMouse->GetTrackedBar(pMouse->GetTrackedCount() - 1);
        }
        CQXPCommandBar* pUnder = pMouse->GetTrackedBar(nTrackedDuring - 2);
        nLockedUnder = pUnder ? pUnder->m_nLockTracking : -1;
        bCuesShownDuring = GetCommandBars()->IsKeyboardCuesShown();
        if (pNewest)
            ::GetWindowRect(pNewest->GetSafeHwnd(), &rcPopup);
        CQXPControl* pItem = pNewest && wParam ? pNewest->GetControls()->FindControl(0, (int)wParam, TRUE, FALSE)
                                               : NULL;
        if (pItem) {
            CPoint pt = pItem->GetRect().CenterPoint();
            ::PostMessageA(pNewest->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        }
        if (bCloseByClickOutside)
            PostMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
        else
            PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CManagerFrame, qmtest::CommandBarTestFrame)
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_EXIT, OnExit)
    ON_COMMAND(ID_TEST_UNDO, OnUndo)
    ON_COMMAND(ID_TEST_ANSI, OnAnsi)
    ON_COMMAND(ID_TEST_UTF8, OnUtf8)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_UPDATE_COMMAND_UI(ID_TEST_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_TEST_UNDO, OnUpdateUndo)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_MESSAGE(WM_COMMANDBARS_CREATECOMMANDBAR, OnCreateBar)
    ON_MESSAGE(WM_TEST_INSPECTPOPUP, OnInspectPopup)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::ParkPointer();
        pBars = qmtest::ShowActiveFrame(frame, "Manager test", CRect(0, 0, 720, 480));
        ASSERT_NE(nullptr, pBars);
    }
    void TearDown() override { qmtest::CloseFrame(frame); }
    // A key message as the frame's message loop hands it over.
    BOOL PreTranslate(UINT message, UINT nKey, BOOL bAlt)
    {
        MSG msg = {};
        msg.hwnd = frame.GetSafeHwnd();
        msg.message = message;
        msg.wParam = nKey;
        msg.lParam = bAlt ? (LPARAM)KF_ALTDOWN << 16 : 0;
        return pBars->PreTranslateFrameMessage(&msg);
    }
    CQXPToolBar* TrackingBar() const
    {
        for (int i = 0; i < pBars->GetCount(); i++) {
            if (pBars->GetAt(i)->IsTrackingMode())
                return pBars->GetAt(i);
        }
        return NULL;
    }
    // The File menu of the menu bar, open.
    void OpenFileMenu()
    {
        frame.m_pMenuBar->SetTrackingMode(TRUE, FALSE, TRUE);
        frame.m_pMenuBar->SetPopuped(0);
        ASSERT_TRUE(frame.m_pMenuBar->GetControl(0)->GetPopuped());
    }
    // A popup bar holding the File menu (or another menu of the menu bar).
    CQXPPopupBar* FileMenuPopup(int nMenu = 0)
    {
        CMenu menu;
        menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU)));
        CMenu sub;
        sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), nMenu));
        CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        pPopup->LoadMenu(&sub, TRUE);
        sub.Detach();
        menu.DestroyMenu();
        return pPopup;
    }

    CManagerFrame frame;
    CQXPCommandBars* pBars = NULL;
};

// ---------------------------------------------------------------------------
// Mnemonics

TEST_F(ManagerTest, MnemonicSearchFollowsKeyboardCuesUse)
{
    // The Format bar: "&Bold", "&Unicode", "&Upper" (ids Undo, Ansi, Utf8).
    CQXPToolBar* pFormat = frame.m_pFormat;
    pFormat->GetControl(0)->SetCaption("&Bold");
    pFormat->GetControl(1)->SetCaption("&Unicode");
    pFormat->GetControl(2)->SetCaption("&Upper");
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    enum Bar {
        kNone,
        kMenu,
        kFormat
    };
    struct Case {
        const char* what;
        int nUse;
        const char* editCaption; // the menu bar's second title
        UINT nKey;
        Bar bar; // the bar that tracks afterwards
        int nSelected;
        BOOL bOpensOrRuns; // unique match: the menu opens / the command runs
    } cases[] = {
        {"'&' match on the menu bar", 1, "&Edit", 'F', kMenu, 0, TRUE},
        {"second title", 1, "&Edit", 'E', kMenu, 1, TRUE},
        {"mnemonics off", 2, "&Edit", 'F', kNone, -1, FALSE},
        {"other bars searched with flag 1", 1, "&Edit", 'B', kFormat, 0, TRUE},
        {"menu bar only without flag 1", 0, "&Edit", 'B', kNone, -1, FALSE},
        {"ambiguous: first selected, nothing run", 1, "&Edit", 'U', kFormat, 1, FALSE},
        {"two titles with one key: the first, not opened", 1, "&Find", 'F', kMenu, 0, FALSE},
        {"first letter on the menu bar", 1, "Edit", 'E', kMenu, 1, TRUE},
        {"first letters off with flag 4", 5, "Edit", 'E', kNone, -1, FALSE},
        {"no character", 1, "&Edit", VK_F5, kNone, -1, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pBars->ClosePopups();
        frame.commands.clear();
        pBars->GetOptions()->m_nKeyboardCuesUse = c.nUse;
        pMenuBar->GetControl(1)->SetCaption(c.editCaption);
        BOOL bFound = pBars->ProcessMnemonicKey(c.nKey);
        EXPECT_EQ(c.bar != kNone, bFound != FALSE);
        CQXPCommandBar* pExpected = c.bar == kMenu ? (CQXPCommandBar*)pMenuBar : c.bar == kFormat ? pFormat
                                                                                                  : NULL;
        if (c.bar == kMenu) {
            EXPECT_EQ(pExpected, TrackingBar());
            EXPECT_EQ(c.nSelected, pMenuBar->GetSelectedIndex());
            EXPECT_EQ(c.bOpensOrRuns, pMenuBar->GetControl(c.nSelected)->GetPopuped());
        } else if (c.bar == kFormat) {
            if (c.bOpensOrRuns) {
                EXPECT_EQ(std::vector<UINT>{(UINT)pFormat->GetControl(c.nSelected)->GetID()}, frame.commands);
            } else {
                EXPECT_EQ(pExpected, TrackingBar());
                EXPECT_EQ(c.nSelected, pFormat->GetSelectedIndex());
                EXPECT_TRUE(frame.commands.empty());
            }
        } else {
            EXPECT_EQ(nullptr, TrackingBar());
            EXPECT_TRUE(frame.commands.empty());
        }
    }
    pBars->ClosePopups();
    pMenuBar->GetControl(1)->SetCaption("&Edit");
}

TEST_F(ManagerTest, AltLetterThroughTheFrameOpensTheMenuAndAltUpIsKeptFromTheFrameWhileItTracks)
{
    EXPECT_TRUE(PreTranslate(WM_SYSKEYDOWN, 'E', TRUE));
    EXPECT_EQ(frame.m_pMenuBar, TrackingBar());
    EXPECT_TRUE(frame.m_pMenuBar->GetControl(1)->GetPopuped());
    EXPECT_TRUE(PreTranslate(WM_SYSKEYUP, 'E', TRUE)) << "a tracking bar keeps the key-up from the frame";
    pBars->ClosePopups();
    EXPECT_FALSE(PreTranslate(WM_SYSKEYDOWN, 'Q', TRUE)) << "no title has that key";
    EXPECT_EQ(nullptr, TrackingBar());
    EXPECT_FALSE(PreTranslate(WM_SYSKEYDOWN, 'F', FALSE)) << "F10-like keys without Alt are no mnemonics";
    EXPECT_EQ(nullptr, TrackingBar());
}

TEST_F(ManagerTest, AltShowsAndKeyUpHidesTheDynamicUnderlines)
{
    struct Case {
        int nMode;
        BOOL bForceDynamic; // the system setting hides the underlines
        BOOL bBefore, bAfterAlt, bAfterKeyUp;
    } cases[] = {
        {0, FALSE, TRUE, TRUE, TRUE},
        {1, FALSE, FALSE, FALSE, FALSE},
        {2, TRUE, FALSE, TRUE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "KeyboardCuesShow " << c.nMode);
        pBars->SetKeyboardCues(c.nMode);
        if (c.bForceDynamic) {
            pBars->m_bDynamicCues = TRUE;
            pBars->m_bKeyboardCuesShown = FALSE;
        }
        EXPECT_EQ(c.bBefore, frame.m_pMenuBar->IsKeyboardCuesVisible());
        EXPECT_FALSE(PreTranslate(WM_SYSKEYDOWN, VK_MENU, TRUE)) << "Alt still reaches the frame";
        EXPECT_EQ(c.bAfterAlt, frame.m_pMenuBar->IsKeyboardCuesVisible());
        EXPECT_EQ(c.bAfterAlt, frame.m_pFormat->IsKeyboardCuesVisible());
        PreTranslate(WM_SYSKEYUP, VK_MENU, TRUE);
        EXPECT_EQ(c.bAfterKeyUp, frame.m_pMenuBar->IsKeyboardCuesVisible());
    }
    // A mnemonic shows them as well; they go with the menus.
    pBars->m_bKeyboardCuesShown = FALSE;
    ASSERT_TRUE(pBars->ProcessMnemonicKey('F'));
    EXPECT_TRUE(pBars->IsKeyboardCuesShown());
    pBars->ClosePopups();
    EXPECT_FALSE(pBars->IsKeyboardCuesShown());
    pBars->SetKeyboardCues(0);
}

// ---------------------------------------------------------------------------
// Frame messages

TEST_F(ManagerTest, HelpOnAHotControlAsksForItsHelpId)
{
    CQXPControl* pOpen = frame.m_pStandard->GetControl(0);
    pOpen->m_nHelpId = 777;
    frame.m_pStandard->SetSelected(0, 1);
    frame.SendMessage(WM_COMMAND, ID_HELP, 0);
    EXPECT_EQ(std::vector<LPARAM>{0x10000 + 777}, frame.helpRequests);
    EXPECT_EQ(0, frame.nHelpCommands) << "the manager took the command";

    // Nothing hot: the frame's own help.
    frame.m_pStandard->SetSelected(-1, 0);
    frame.SendMessage(WM_COMMAND, ID_HELP, 0);
    EXPECT_EQ(1u, frame.helpRequests.size());
    EXPECT_EQ(1, frame.nHelpCommands);
}

TEST_F(ManagerTest, FrameMessagesThatCloseMenus)
{
    struct Case {
        UINT message;
        WPARAM wParam;
        BOOL bCloses;
    } cases[] = {
        {WM_ACTIVATEAPP, 0, TRUE},
        {WM_ACTIVATEAPP, 1, FALSE},
        {WM_SYSCOMMAND, SC_KEYMENU, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message " << c.message << " wParam " << c.wParam);
        OpenFileMenu();
        LRESULT lResult = 0;
        EXPECT_FALSE(pBars->OnFrameWndMsg(c.message, c.wParam, 0, &lResult)) << "the frame sees it too";
        EXPECT_EQ(!c.bCloses, ToolkitMouseManager::GetInstance()->GetTrackedCount() > 0);
        pBars->ClosePopups();
    }
}

TEST_F(ManagerTest, IdleUpdateReachesFloatingBars)
{
    CQXPToolBar* pFormat = frame.m_pFormat;
    ASSERT_TRUE(pBars->FloatCommandBar(pFormat));
    CQXPControl* pUndo = pFormat->GetControl(0);
    ASSERT_EQ((int)ID_TEST_UNDO, pUndo->GetID());
    for (BOOL bEnabled : {FALSE, TRUE}) {
        frame.bUndoEnabled = bEnabled;
        LRESULT lResult = 0;
        pBars->OnFrameWndMsg(WM_IDLEUPDATECMDUI, TRUE, 0, &lResult);
        EXPECT_EQ(bEnabled, pUndo->GetEnabled() != FALSE);
    }
}

TEST_F(ManagerTest, FrameStaysOpenWhileTheCustomizeDialogIs)
{
    pBars->m_bCustomizeDialogOpen = TRUE;
    frame.SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(frame.GetSafeHwnd()));
    pBars->m_bCustomizeDialogOpen = FALSE;
}

// ---------------------------------------------------------------------------
// Popup menus

TEST_F(ManagerTest, TrackPopupMenuFlags)
{
    const int x = 300, y = 200;
    struct Case {
        const char* what;
        UINT nFlags;
        BOOL bSaveEnabled;
        UINT nClick;        // item released over (0: none)
        BOOL bClickOutside; // then closed by a click elsewhere (else Esc)
        int nResult;
        BOOL bSent;      // Save reached the frame
        BOOL bRightEdge; // the popup's right edge at x (else its left edge)
    } cases[] = {
        {"return the command", TPM_RETURNCMD, TRUE, ID_TEST_SAVE, FALSE, (int)ID_TEST_SAVE, FALSE, FALSE},
        {"send the command", 0, TRUE, ID_TEST_SAVE, FALSE, TRUE, TRUE, FALSE},
        {"disabled item, then Esc", 0, FALSE, ID_TEST_SAVE, FALSE, FALSE, FALSE, FALSE},
        {"disabled item, then a click elsewhere", 0, FALSE, ID_TEST_SAVE, TRUE, FALSE, FALSE, FALSE},
        {"disabled item: no command", TPM_RETURNCMD, FALSE, ID_TEST_SAVE, TRUE, 0, FALSE, FALSE},
        {"closed with Esc", 0, TRUE, 0, FALSE, FALSE, FALSE, FALSE},
        {"closed by a click elsewhere", 0, TRUE, 0, TRUE, FALSE, FALSE, FALSE},
        {"right-aligned", TPM_RIGHTALIGN | TPM_RETURNCMD, TRUE, 0, FALSE, 0, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frame.commands.clear();
        frame.bSaveEnabled = c.bSaveEnabled;
        frame.bCloseByClickOutside = c.bClickOutside;
        CQXPPopupBar* pPopup = FileMenuPopup();
        frame.PostMessage(WM_TEST_INSPECTPOPUP, c.nClick, 0);
        int nResult = CQXPCommandBars::TrackPopupMenu(pPopup, c.nFlags, x, y);
        PumpMessages();
        EXPECT_EQ(c.nResult, nResult);
        EXPECT_EQ(c.bSent, !frame.commands.empty());
        EXPECT_EQ(c.bRightEdge ? x : x + frame.rcPopup.Width(), frame.rcPopup.right);
        EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
        if (::IsWindow(pPopup->GetSafeHwnd()))
            pPopup->DestroyWindow();
        pPopup->InternalRelease();
    }
    frame.bSaveEnabled = TRUE;
    frame.bCloseByClickOutside = FALSE;
}

TEST_F(ManagerTest, ItemChosenInASubmenuCountsAsAChoice)
{
    // Edit: "&Undo", "E&ncoding" > "&ANSI", "UTF-&8".
    CQXPPopupBar* pPopup = FileMenuPopup(1);
    frame.PostMessage(WM_TEST_INSPECTPOPUP, ID_TEST_ANSI, 2);
    EXPECT_EQ(TRUE, CQXPCommandBars::TrackPopupMenu(pPopup, 0, 300, 200));
    PumpMessages();
    EXPECT_EQ(std::vector<UINT>{ID_TEST_ANSI}, frame.commands);
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
}

TEST_F(ManagerTest, ContextMenuFromTheKeyboardShowsTheUnderlines)
{
    for (BOOL bKeyboard : {TRUE, FALSE}) {
        SCOPED_TRACE(bKeyboard ? "keyboard" : "mouse");
        pBars->m_bDynamicCues = TRUE;
        pBars->m_bKeyboardCuesShown = FALSE;
        frame.m_pContextPopup = FileMenuPopup();
        frame.bCuesShownDuring = -1;
        frame.PostMessage(WM_TEST_INSPECTPOPUP, 0, 0);
        frame.SendMessage(WM_CONTEXTMENU, (WPARAM)frame.GetSafeHwnd(), bKeyboard ? (LPARAM)-1 : MAKELPARAM(300, 200));
        EXPECT_EQ(bKeyboard, frame.bCuesShownDuring);
        EXPECT_FALSE(pBars->IsKeyboardCuesShown()) << "they go with the menu";
        if (::IsWindow(frame.m_pContextPopup->GetSafeHwnd()))
            frame.m_pContextPopup->DestroyWindow();
        frame.m_pContextPopup->InternalRelease();
        frame.m_pContextPopup = NULL;
    }
    pBars->SetKeyboardCues(0);
}

TEST_F(ManagerTest, RightToLeftOwnerOpensTheMenuLeftward)
{
    HWND hOwner = ::CreateWindowExA(WS_EX_LAYOUTRTL, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50,
                                    frame.GetSafeHwnd(), NULL, ::GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, hOwner);
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CMenu sub;
    sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
    frame.PostMessage(WM_TEST_INSPECTPOPUP, 0, 0);
    EXPECT_EQ(0, pBars->TrackPopupMenu(&sub, TPM_RETURNCMD, 400, 200, CWnd::FromHandle(hOwner)));
    EXPECT_EQ(400, frame.rcPopup.right);
    sub.Detach();
    menu.DestroyMenu();
    ::DestroyWindow(hOwner);
}

TEST_F(ManagerTest, RightToLeftFollowsTheSiteAndIsRememberedWithoutIt)
{
    for (BOOL bRTL : {TRUE, FALSE}) {
        SCOPED_TRACE(bRTL ? "right to left" : "left to right");
        CWnd site;
        ASSERT_TRUE(site.CreateEx(bRTL ? WS_EX_LAYOUTRTL : 0, "STATIC", "", WS_POPUP, CRect(100, 100, 300, 200),
                                  &frame, 0));
        CQXPCommandBars* pSiteBars = CQXPCommandBars::CreateCommandBars(&site);
        ASSERT_NE(nullptr, pSiteBars);
        EXPECT_EQ(bRTL, pSiteBars->IsLayoutRTL());
        // The site's style is asked while the site lives.
        ::SetWindowLongPtrA(site.GetSafeHwnd(), GWL_EXSTYLE, bRTL ? 0 : WS_EX_LAYOUTRTL);
        EXPECT_EQ(!bRTL, pSiteBars->IsLayoutRTL());
        site.DestroyWindow();
        EXPECT_EQ(bRTL, pSiteBars->IsLayoutRTL()) << "what the site was when it was set";
        pSiteBars->InternalRelease();
    }
}

TEST_F(ManagerTest, RecursivePopupKeepsTheOpenMenuLockedMeanwhile)
{
    for (BOOL bRecurse : {TRUE, FALSE}) {
        SCOPED_TRACE(bRecurse ? "TPM_RECURSE" : "no TPM_RECURSE");
        OpenFileMenu();
        CQXPPopupBar* pPopup = FileMenuPopup();
        frame.PostMessage(WM_TEST_INSPECTPOPUP, 0, 0);
        CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RETURNCMD | (bRecurse ? TPM_RECURSE : 0), 300, 200);
        if (bRecurse) {
            EXPECT_GT(frame.nTrackedDuring, 1);
            EXPECT_GT(frame.nLockedUnder, 0) << "the open menu is locked while the new one runs";
            EXPECT_TRUE(frame.m_pMenuBar->GetControl(0)->GetPopuped()) << "the parent menu stays open";
            EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackingLock());
            int nTracked = ToolkitMouseManager::GetInstance()->GetTrackedCount();
            for (int i = 0; i < nTracked; i++)
                EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedBar(i)->m_nLockTracking);
        } else {
            EXPECT_EQ(1, frame.nTrackedDuring) << "the open menu closed first";
            EXPECT_FALSE(frame.m_pMenuBar->GetControl(0)->GetPopuped());
        }
        pBars->ClosePopups();
        if (::IsWindow(pPopup->GetSafeHwnd()))
            pPopup->DestroyWindow();
        pPopup->InternalRelease();
    }
}

// ---------------------------------------------------------------------------
// Options

TEST_F(ManagerTest, OptionsArchiveCarriesEveryOption)
{
    pBars->GetOptions()->m_bAltDragCustomization = FALSE;
    pBars->GetOptions()->m_nKeyboardCuesUse = 5;
    pBars->SetKeyboardCues(1);
    pBars->GetOptions()->m_szIcons = CSize(20, 20);
    pBars->GetOptions()->m_szLargeIcons = CSize(40, 40);
    pBars->GetOptions()->m_szPopupIcons = CSize(24, 24);
    qmtest::Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) { pBars->GetOptions()->Serialize(ar); });

    pBars->GetOptions()->m_bAltDragCustomization = TRUE;
    pBars->GetOptions()->m_nKeyboardCuesUse = 1;
    pBars->SetKeyboardCues(0);
    pBars->GetOptions()->m_szIcons = pBars->GetOptions()->m_szLargeIcons = pBars->GetOptions()->m_szPopupIcons = CSize(0, 0);
    qmtest::LoadBytes(bytes, [&](CArchive& ar) { pBars->GetOptions()->Serialize(ar); });
    EXPECT_FALSE(pBars->GetOptions()->m_bAltDragCustomization);
    EXPECT_EQ(5, pBars->GetOptions()->m_nKeyboardCuesUse);
    EXPECT_EQ(1, pBars->GetKeyboardCuesShow());
    EXPECT_FALSE(pBars->IsKeyboardCuesShown()) << "KeyboardCuesShow is applied on loading";
    EXPECT_EQ(CSize(20, 20), pBars->GetOptions()->m_szIcons);
    EXPECT_EQ(CSize(40, 40), pBars->GetOptions()->m_szLargeIcons);
    EXPECT_EQ(CSize(24, 24), pBars->GetOptions()->m_szPopupIcons);
    EXPECT_EQ(CSize(20, 20), frame.m_pStandard->GetIconSize());
    pBars->SetKeyboardCues(0);
}

// Every option of a record by its stored key (or a name of its own for the
// options that are not stored), as text: flags and numbers as decimals,
// sizes "cx x cy", command sets as comma lists.
std::map<std::string, std::string> DescribeOptions(const CQXPCommandBarsSettings& o)
{
    auto n = [](int v) { return std::to_string(v); };
    auto sz = [](CSize s) { return std::to_string(s.cx) + "x" + std::to_string(s.cy); };
    auto ids = [](const std::vector<int>& v) {
        std::string text;
        for (int id : v)
            text += (text.empty() ? "" : ",") + std::to_string(id);
        return text;
    };
    return {
        {"AlwaysShowFullMenus", n(o.m_bAlwaysShowFullMenus)},
        {"ShowFullAfterDelay", n(o.m_bShowFullAfterDelay)},
        {"ToolBarScreenTips", n(o.m_bToolBarScreenTips)},
        {"ToolBarAccelTips", n(o.m_bToolBarAccelTips)},
        {"LargeIcons", n(o.m_bLargeIcons)},
        {"SyncFloatingBars", n(o.m_bSyncFloatingBars)},
        {"ShowExpandButtonAlways", n(o.m_bShowExpandButtonAlways)},
        {"DblClickFloat", n(o.m_bDblClickFloat)},
        {"ShowTextBelowIcons", n(o.m_bShowTextBelowIcons)},
        {"AltDragCustomization", n(o.m_bAltDragCustomization)},
        {"AutoHideUnusedPopups", n(o.m_bAutoHideUnusedPopups)},
        {"(changed)", n(o.m_bChanged)},
        {"(popup tooltips)", n(o.m_bShowPopupBarToolTips)},
        {"Animation", n(o.m_nAnimation)},
        {"(menu shortcuts)", n(o.m_bMenuShortcuts)},
        {"KeyboardCuesUse", n(o.m_nKeyboardCuesUse)},
        {"(status descriptions)", n(o.m_bStatusDescriptions)},
        {"IconsSize", sz(o.m_szIcons)},
        {"LargeIconsSize", sz(o.m_szLargeIcons)},
        {"PopupIconsSize", sz(o.m_szPopupIcons)},
        {"(numeric keypad)", n(o.m_bNumericKeypadMnemonics)},
        {"(popup save-bits)", n(o.m_bPopupSaveBits)},
        {"(disable without handler)", n(o.m_bDisableCommandsWithoutHandler)},
        {"(popup flip)", n(o.m_bPopupFlip)},
        {"HiddenCommands", ids(o.m_hiddenCommands)},
        {"UsedCommands", ids(o.m_usedCommands)},
        {"(keyboard tips)", n(o.m_bKeyboardTips)},
        {"KeyboardCuesShow", n(o.m_nKeyboardCuesShow)},
    };
}

const std::map<std::string, std::string> kDefaultOptions = {
    {"AlwaysShowFullMenus", "1"},
    {"ShowFullAfterDelay", "1"},
    {"ToolBarScreenTips", "1"},
    {"ToolBarAccelTips", "0"},
    {"LargeIcons", "0"},
    {"SyncFloatingBars", "1"},
    {"ShowExpandButtonAlways", "1"},
    {"DblClickFloat", "0"},
    {"ShowTextBelowIcons", "0"},
    {"AltDragCustomization", "1"},
    {"AutoHideUnusedPopups", "1"},
    {"(changed)", "0"},
    {"(popup tooltips)", "0"},
    {"Animation", "0"},
    {"(menu shortcuts)", "1"},
    {"KeyboardCuesUse", "1"},
    {"(status descriptions)", "1"},
    {"IconsSize", "0x0"},
    {"LargeIconsSize", "0x0"},
    {"PopupIconsSize", "0x0"},
    {"(numeric keypad)", "0"},
    {"(popup save-bits)", "1"},
    {"(disable without handler)", "1"},
    {"(popup flip)", "0"},
    {"HiddenCommands", ""},
    {"UsedCommands", ""},
    {"(keyboard tips)", "0"},
    {"KeyboardCuesShow", "0"},
};

// Every option away from its default.
void SetEveryOptionOffDefault(CQXPCommandBarsSettings& o)
{
    o.m_bAlwaysShowFullMenus = o.m_bShowFullAfterDelay = o.m_bToolBarScreenTips = FALSE;
    o.m_bToolBarAccelTips = o.m_bLargeIcons = TRUE;
    o.m_bSyncFloatingBars = o.m_bShowExpandButtonAlways = FALSE;
    o.m_bDblClickFloat = o.m_bShowTextBelowIcons = TRUE;
    o.m_bAltDragCustomization = o.m_bAutoHideUnusedPopups = FALSE;
    o.m_nAnimation = 4;
    o.m_nKeyboardCuesUse = 5;
    o.m_szIcons = CSize(20, 20);
    o.m_szLargeIcons = CSize(32, 32);
    o.m_szPopupIcons = CSize(24, 24);
    o.m_hiddenCommands = {ID_TEST_SAVE, ID_TEST_UNDO};
    o.m_usedCommands = {ID_TEST_UNDO};
    o.m_nKeyboardCuesShow = 1;
}

// A manager of its own, without a site, as the frame base creates it.
CQXPCommandBars* NewManager()
{
    return QxpCreateObjectAs<CQXPCommandBars>(RUNTIME_CLASS(CQXPCommandBars));
}

TEST_F(ManagerTest, OptionsAreAnObjectOfTheManagerWithTheTablesDefaults)
{
    CQXPCommandBarsSettings* pOptions = pBars->GetOptions();
    ASSERT_NE(nullptr, pOptions);
    EXPECT_TRUE(pOptions->IsKindOf(RUNTIME_CLASS(CQXPCommandBarsSettings)));
    EXPECT_TRUE(pOptions->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_EQ(pBars, pOptions->GetCommandBars());

    CQXPCommandBars* pFresh = NewManager();
    ASSERT_NE(nullptr, pFresh);
    ASSERT_NE(nullptr, pFresh->GetOptions());
    EXPECT_NE(pOptions, pFresh->GetOptions()) << "each manager has options of its own";
    EXPECT_EQ(kDefaultOptions, DescribeOptions(*pFresh->GetOptions()));
    pFresh->InternalRelease();
}

TEST_F(ManagerTest, NothingStoredLoadsTheTablesDefaults)
{
    // Every key's default in the exchange agrees with the field's: a full
    // load from an empty section puts back exactly the table.
    qmtest::TempDir folder;
    std::string strIni = folder.Path("empty.ini");
    CQXPCommandBars* pFresh = NewManager();
    ASSERT_NE(nullptr, pFresh);
    CQXPCommandBarsSettings* pOptions = pFresh->GetOptions();
    SetEveryOptionOffDefault(*pOptions);
    {
        CQXPPropExchangeIniFile px(TRUE, NULL, "Nothing-Options");
        px.AssignFile(strIni.c_str());
        pOptions->DoPropExchange(&px, TRUE);
    }
    std::map<std::string, std::string> expected = kDefaultOptions;
    expected["HiddenCommands"] = std::to_string(ID_TEST_SAVE) + "," + std::to_string(ID_TEST_UNDO);
    expected["UsedCommands"] = std::to_string(ID_TEST_UNDO);
    EXPECT_EQ(expected, DescribeOptions(*pOptions)) << "an absent command set leaves the record as it was";
    EXPECT_EQ(0, pFresh->GetKeyboardCuesShow());
    EXPECT_TRUE(pFresh->IsKeyboardCuesShown()) << "KeyboardCuesShow 0 applied at once";
    pFresh->InternalRelease();
}

TEST_F(ManagerTest, DamagedIconSizesInTheArchiveMeanUnset)
{
    pBars->GetOptions()->m_szIcons = CSize(-5, 20);
    pBars->GetOptions()->m_szLargeIcons = CSize(100000, 100000);
    pBars->GetOptions()->m_szPopupIcons = CSize(18, 18);
    qmtest::Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) { pBars->GetOptions()->Serialize(ar); });
    qmtest::LoadBytes(bytes, [&](CArchive& ar) { pBars->GetOptions()->Serialize(ar); });
    EXPECT_EQ(CSize(0, 0), pBars->GetOptions()->m_szIcons);
    EXPECT_EQ(CSize(0, 0), pBars->GetOptions()->m_szLargeIcons);
    EXPECT_EQ(CSize(18, 18), pBars->GetOptions()->m_szPopupIcons);
}

enum Store {
    kRegistry,
    kIni
};

class ManagerOptionsStore : public ManagerTest, public ::testing::WithParamInterface<Store> {
protected:
    void SetUp() override
    {
        m_key = qmtest::UniqueName("QxCbManager");
        m_app.reset(new CWinApp("QxCbManager"));
        if (GetParam() == kRegistry)
            m_app->SetRegistryKey(m_key.c_str());
        else
            CQXProfileStore::SetIniPath(m_folder.Path("options.ini").c_str());
        ManagerTest::SetUp();
    }
    void TearDown() override
    {
        ManagerTest::TearDown();
        CQXProfileStore::SetIniPath("");
        m_app.reset();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
    }
    std::string m_key;
    qmtest::TempDir m_folder;
    std::unique_ptr<CWinApp> m_app;
};

TEST_P(ManagerOptionsStore, ProfileKeepsTheProfileOptionsOnly)
{
    pBars->GetOptions()->m_bToolBarAccelTips = TRUE;
    pBars->GetOptions()->m_nAnimation = 2;
    pBars->GetOptions()->m_bAltDragCustomization = FALSE;
    pBars->GetOptions()->m_nKeyboardCuesUse = 4;
    pBars->GetOptions()->m_szPopupIcons = CSize(24, 24);
    pBars->SaveOptions("ManagerTest");
    CQXProfileStore store;
    EXPECT_EQ(2, (int)store.GetProfileInt("ManagerTest-Options", "Animation", 0));
    EXPECT_EQ(-1, (int)store.GetProfileInt("ManagerTest-Options", "KeyboardCuesUse", -1))
        << "archive-only options stay out of the profile";
    EXPECT_EQ(-1, (int)store.GetProfileInt("ManagerTest-Options", "AltDragCustomization", -1));

    pBars->GetOptions()->m_bToolBarAccelTips = FALSE;
    pBars->GetOptions()->m_nAnimation = 0;
    pBars->GetOptions()->m_bAltDragCustomization = TRUE;
    pBars->GetOptions()->m_nKeyboardCuesUse = 1;
    pBars->GetOptions()->m_szPopupIcons = CSize(0, 0);
    pBars->LoadOptions("ManagerTest");
    EXPECT_TRUE(pBars->GetOptions()->m_bToolBarAccelTips);
    EXPECT_EQ(2, pBars->GetOptions()->m_nAnimation);
    EXPECT_TRUE(pBars->GetOptions()->m_bAltDragCustomization);
    EXPECT_EQ(1, pBars->GetOptions()->m_nKeyboardCuesUse);
    EXPECT_EQ(CSize(0, 0), pBars->GetOptions()->m_szPopupIcons);
}

TEST_P(ManagerOptionsStore, EveryProfileOptionRoundTripsUnderItsKey)
{
    CQXPCommandBarsSettings* pOptions = pBars->GetOptions();
    SetEveryOptionOffDefault(*pOptions);
    pBars->SaveOptions("RoundTrip");

    CQXProfileStore store;
    const struct {
        const char* key;
        int expected;
    } stored[] = {
        {"AlwaysShowFullMenus", 0},
        {"ShowFullAfterDelay", 0},
        {"ToolBarScreenTips", 0},
        {"ToolBarAccelTips", 1},
        {"LargeIcons", 1},
        {"Animation", 4},
    };
    for (const auto& row : stored)
        EXPECT_EQ(row.expected, store.GetProfileInt("RoundTrip-Options", row.key, -1)) << row.key;
    EXPECT_EQ(1, store.GetProfileInt("RoundTrip-Options\\UsedCommands", "Count", -1));
    EXPECT_EQ((int)ID_TEST_UNDO, store.GetProfileInt("RoundTrip-Options\\UsedCommands", "Item0", -1));

    CQXPCommandBars* pLoaded = NewManager();
    ASSERT_NE(nullptr, pLoaded);
    pLoaded->LoadOptions("RoundTrip");
    // The profile carries the first part only; the rest keeps its defaults.
    std::map<std::string, std::string> expected = kDefaultOptions;
    for (const char* key : {"AlwaysShowFullMenus", "ShowFullAfterDelay", "ToolBarScreenTips", "ToolBarAccelTips",
                            "LargeIcons", "Animation", "UsedCommands"})
        expected[key] = DescribeOptions(*pOptions)[key];
    EXPECT_EQ(expected, DescribeOptions(*pLoaded->GetOptions()));
    pLoaded->InternalRelease();
}

TEST_P(ManagerOptionsStore, DamagedStoredValuesLoadAsTheirDefaults)
{
    const char* kSection = "Damaged-Options";
    const char* kUsed = "Damaged-Options\\UsedCommands";
    struct Case {
        const char* what;
        const char* section;
        const char* key;
        const char* text; // stored as text when set
        int value;        // else stored as this number
        const char* option;
        std::string expected;
    } cases[] = {
        {"animation beyond the last kind", kSection, "Animation", NULL, 99, "Animation", "0"},
        {"negative animation", kSection, "Animation", NULL, -3, "Animation", "0"},
        {"animation as text", kSection, "Animation", "fade", 0, "Animation", "0"},
        {"flag as text", kSection, "LargeIcons", "yes", 0, "LargeIcons", "0"},
        {"flag on by default as text", kSection, "ToolBarScreenTips", "off", 0, "ToolBarScreenTips", "1"},
        {"negative count of used commands", kUsed, "Count", NULL, -4, "UsedCommands", ""},
        {"absurd count of used commands", kUsed, "Count", NULL, 0x7FFFFFFF, "UsedCommands", ""},
        {"used command as text", kUsed, "Item0", "save", 0, "UsedCommands", std::to_string(ID_TEST_UNDO)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQXProfileStore store;
        store.DeleteProfileKey(kSection, "");
        store.WriteProfileInt(kSection, "Schema", 24);
        store.WriteProfileInt(kUsed, "Count", 2);
        store.WriteProfileInt(kUsed, "Item0", ID_TEST_SAVE);
        store.WriteProfileInt(kUsed, "Item1", ID_TEST_UNDO);
        if (c.text)
            store.WriteProfileString(c.section, c.key, c.text);
        else
            store.WriteProfileInt(c.section, c.key, c.value);

        CQXPCommandBars* pLoaded = NewManager();
        ASSERT_NE(nullptr, pLoaded);
        // What was there before loading must not survive a damaged value.
        SetEveryOptionOffDefault(*pLoaded->GetOptions());
        pLoaded->LoadOptions("Damaged");
        EXPECT_EQ(c.expected, DescribeOptions(*pLoaded->GetOptions())[c.option]);
        pLoaded->InternalRelease();
    }
}

TEST_P(ManagerOptionsStore, UsedCommandsAreReadFromSchema8On)
{
    const char* kSection = "Older-Options";
    const char* kUsed = "Older-Options\\UsedCommands";
    struct Case {
        int nSchema;
        std::string expected;
    } cases[] = {
        {7, std::to_string(ID_TEST_UNDO)}, // older data: the record stays as it was
        {8, std::to_string(ID_TEST_SAVE)},
        {24, std::to_string(ID_TEST_SAVE)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nSchema);
        CQXProfileStore store;
        store.DeleteProfileKey(kSection, "");
        store.WriteProfileInt(kSection, "Schema", c.nSchema);
        store.WriteProfileInt(kSection, "Animation", 3);
        store.WriteProfileInt(kUsed, "Count", 1);
        store.WriteProfileInt(kUsed, "Item0", ID_TEST_SAVE);
        CQXPCommandBars* pLoaded = NewManager();
        ASSERT_NE(nullptr, pLoaded);
        pLoaded->GetOptions()->m_usedCommands = {ID_TEST_UNDO};
        pLoaded->LoadOptions("Older");
        EXPECT_EQ(c.expected, DescribeOptions(*pLoaded->GetOptions())["UsedCommands"]);
        EXPECT_EQ(3, pLoaded->GetOptions()->m_nAnimation) << "the keys of every schema are read";
        pLoaded->InternalRelease();
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, ManagerOptionsStore, ::testing::Values(kRegistry, kIni),
                         [](const ::testing::TestParamInfo<Store>& info) {
                             return info.param == kRegistry ? std::string("Registry") : std::string("IniFile");
                         });

TEST_F(ManagerTest, IconSizeRule)
{
    const CSize szAuto = GetGlobalPaintManager()->GetAutoIconSize(FALSE);
    enum Kind {
        kToolBar,
        kPopup,
        kNoManager
    };
    struct Case {
        const char* what;
        Kind kind;
        CSize own, ownButton, options, popupOptions, largeOptions;
        BOOL bLarge;
        CSize expected;
    } cases[] = {
        {"toolbar default", kToolBar, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, FALSE, szAuto},
        {"toolbar from IconsSize", kToolBar, {0, 0}, {0, 0}, {20, 20}, {0, 0}, {0, 0}, FALSE, {20, 20}},
        {"toolbar's own size first", kToolBar, {18, 18}, {0, 0}, {20, 20}, {0, 0}, {0, 0}, FALSE, {18, 18}},
        {"large icons", kToolBar, {0, 0}, {0, 0}, {20, 20}, {0, 0}, {32, 32}, TRUE, {32, 32}},
        {"large icons but fixed buttons", kToolBar, {0, 0}, {30, 30}, {20, 20}, {0, 0}, {32, 32}, TRUE, {20, 20}},
        {"popup default", kPopup, {0, 0}, {0, 0}, {20, 20}, {0, 0}, {32, 32}, TRUE, szAuto},
        {"popup from PopupIconsSize", kPopup, {0, 0}, {0, 0}, {20, 20}, {24, 24}, {0, 0}, FALSE, {24, 24}},
        {"popup's own size first", kPopup, {12, 12}, {0, 0}, {0, 0}, {24, 24}, {0, 0}, FALSE, {12, 12}},
        {"no manager", kNoManager, {0, 0}, {0, 0}, {20, 20}, {24, 24}, {0, 0}, FALSE, {16, 16}},
        {"no manager, own size", kNoManager, {22, 22}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, FALSE, {22, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pBars->GetOptions()->m_szIcons = c.options;
        pBars->GetOptions()->m_szPopupIcons = c.popupOptions;
        pBars->GetOptions()->m_szLargeIcons = c.largeOptions;
        pBars->GetOptions()->m_bLargeIcons = c.bLarge;
        CQXPCommandBar* pBar = c.kind == kToolBar ? (CQXPCommandBar*)new CQXPToolBar
                                                  : CQXPPopupBar::CreateForOwner(c.kind == kPopup ? pBars : NULL);
        if (c.kind == kToolBar)
            pBar->SetCommandBars(pBars);
        pBar->SetIconSize(c.own);
        pBar->SetButtonSize(c.ownButton);
        EXPECT_EQ(c.expected, pBar->GetIconSize());
        pBar->InternalRelease();
    }
    pBars->GetOptions()->m_szIcons = pBars->GetOptions()->m_szPopupIcons = pBars->GetOptions()->m_szLargeIcons = CSize(0, 0);
    pBars->GetOptions()->m_bLargeIcons = FALSE;
}

// ---------------------------------------------------------------------------
// Bar operations

TEST_F(ManagerTest, FindIndexDockAndFloat)
{
    CQXPToolBar* pFormat = frame.m_pFormat;
    EXPECT_EQ(nullptr, pBars->FindCommandBar(0));
    EXPECT_EQ(pFormat, pBars->FindCommandBar(pFormat->GetBarID()));
    EXPECT_EQ(2, pBars->IndexOf(pFormat));
    CQXPToolBar* pStranger = new CQXPToolBar;
    EXPECT_EQ(-1, pBars->IndexOf(pStranger));
    EXPECT_FALSE(pBars->DockCommandBar(pStranger, qxpBarLeft));
    pStranger->InternalRelease();

    ASSERT_TRUE(pBars->DockCommandBar(pFormat, qxpBarLeft));
    EXPECT_EQ(pBars->GetDockBar(qxpBarLeft), pFormat->GetDockBar());
    EXPECT_EQ(qxpBarLeft, pFormat->GetPosition());
    EXPECT_FALSE(pBars->DockCommandBar(pFormat, 7)) << "no such side";
    EXPECT_FALSE(pBars->DockCommandBar(pFormat, NULL, (CQXPDockBar*)NULL));
    ASSERT_TRUE(pBars->FloatCommandBar(pFormat));
    EXPECT_TRUE(pFormat->IsFloating());
    EXPECT_EQ(nullptr, pFormat->GetDockBar());
    ASSERT_TRUE(pBars->DockCommandBar(pFormat, NULL, pBars->GetDockBar(qxpBarBottom)));
    EXPECT_EQ(qxpBarBottom, pFormat->GetPosition());
    EXPECT_EQ(pBars->GetDockBar(qxpBarBottom), pFormat->GetDockBar());

    // A bar goes only where its flags allow it.
    pFormat->SetFlags(0, qxpFlagAlignLeft | qxpFlagFloating);
    EXPECT_FALSE(pBars->DockCommandBar(pFormat, qxpBarLeft));
    EXPECT_FALSE(pBars->FloatCommandBar(pFormat));
    EXPECT_EQ(qxpBarBottom, pFormat->GetPosition());
    EXPECT_FALSE(pFormat->IsFloating());
    EXPECT_TRUE(pBars->DockCommandBar(pFormat, qxpBarTop));
    EXPECT_EQ(qxpBarTop, pFormat->GetPosition());
}

TEST_F(ManagerTest, FourDockBarsOnTheSiteWithTheirIdsAndSides)
{
    const struct {
        int nId;
        DWORD dwStyle;
    } expected[4] = {
        {59419, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
        {59422, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
        {59420, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
        {59421, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
    };
    const DWORD dwWindow = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        CQXPDockBar* pDock = pBars->GetDockBar(i);
        ASSERT_NE(nullptr, pDock);
        EXPECT_EQ(expected[i].nId, pDock->GetDlgCtrlID());
        EXPECT_EQ(frame.GetSafeHwnd(), ::GetParent(pDock->GetSafeHwnd()));
        EXPECT_EQ(dwWindow, (DWORD)::GetWindowLongA(pDock->GetSafeHwnd(), GWL_STYLE) & dwWindow);
        EXPECT_EQ(expected[i].dwStyle, pDock->m_dwStyle & 0xFF00);
        EXPECT_EQ(i, pDock->GetPosition());
    }
    EXPECT_TRUE(pBars->EnableDocking()) << "a second call makes no more dock bars";
    EXPECT_EQ(pBars->GetDockBar(0), frame.GetDlgItem(59419));
}

// A bar moves through its own SetPosition, whatever class holds it: a
// toolbar docks on a side or floats through its manager, where its flags
// let it; other positions, and other bars, move nothing.
TEST_F(ManagerTest, SetPositionOfABarDocksOrFloatsItThroughTheManager)
{
    CQXPCommandBar* pBar = frame.m_pFormat;
    const struct {
        const char* name;
        int nPosition;
        BOOL bMoved;
        int nAfter;
    } steps[] = {
        {"to the left", qxpBarLeft, TRUE, qxpBarLeft},
        {"floating", qxpBarFloating, TRUE, qxpBarFloating},
        {"to the bottom", qxpBarBottom, TRUE, qxpBarBottom},
        {"a popup is no place", qxpBarPopup, FALSE, qxpBarBottom},
        {"nor is none", qxpBarNone, FALSE, qxpBarBottom},
        {"back to the top", qxpBarTop, TRUE, qxpBarTop},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.bMoved, pBar->SetPosition(s.nPosition));
        EXPECT_EQ(s.nAfter, pBar->GetPosition());
        HWND hWnd = pBar->GetSafeHwnd();
        if (s.nAfter == qxpBarFloating) {
            EXPECT_EQ(nullptr, frame.m_pFormat->GetDockBar());
            EXPECT_NE(0, ::GetWindowLongA(hWnd, GWL_STYLE) & WS_POPUP) << "a window of its own";
        } else {
            EXPECT_EQ(pBars->GetDockBar(s.nAfter), frame.m_pFormat->GetDockBar());
            EXPECT_EQ(pBars->GetDockBar(s.nAfter)->GetSafeHwnd(), ::GetParent(hWnd));
        }
    }

    // Only where the bar's flags allow it.
    frame.m_pFormat->SetFlags(0, qxpFlagAlignLeft | qxpFlagFloating);
    EXPECT_FALSE(pBar->SetPosition(qxpBarLeft));
    EXPECT_FALSE(pBar->SetPosition(qxpBarFloating));
    EXPECT_EQ(qxpBarTop, pBar->GetPosition());
    frame.m_pFormat->SetFlags(qxpFlagAlignLeft | qxpFlagFloating);

    // A toolbar without a manager, a popup and the plain bar stay where
    // they are.
    CQXPToolBar* pLoose = new CQXPToolBar;
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    CQXPCommandBar* pPlain = new CQXPCommandBar;
    for (CQXPCommandBar* p : {(CQXPCommandBar*)pLoose, (CQXPCommandBar*)pPopup, pPlain}) {
        SCOPED_TRACE(p->GetRuntimeClass()->m_lpszClassName);
        int nBefore = p->GetPosition();
        EXPECT_FALSE(p->SetPosition(qxpBarLeft));
        EXPECT_FALSE(p->SetPosition(qxpBarFloating));
        EXPECT_EQ(nBefore, p->GetPosition());
        p->InternalRelease();
    }
}

namespace {

// Refuses the creation of the child windows with one control id on this
// thread while it lives (the system's creation hook answers "no").
class RefuseChildWindow {
public:
    explicit RefuseChildWindow(UINT nID) : m_hHook(::SetWindowsHookExA(WH_CBT, OnCbt, NULL, ::GetCurrentThreadId()))
    {
        s_nID = nID;
    }
    ~RefuseChildWindow()
    {
        ::UnhookWindowsHookEx(m_hHook);
        s_nID = 0;
    }
    RefuseChildWindow(const RefuseChildWindow&) = delete;
    RefuseChildWindow& operator=(const RefuseChildWindow&) = delete;
    bool IsInstalled() const { return m_hHook != NULL; }

private:
    static LRESULT CALLBACK OnCbt(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_CREATEWND && s_nID) {
            const CBT_CREATEWNDA* p = (const CBT_CREATEWNDA*)lParam;
            if (p && p->lpcs && (p->lpcs->style & WS_CHILD) && (UINT)(UINT_PTR)p->lpcs->hMenu == s_nID)
                return 1;
        }
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
    static UINT s_nID;
};
UINT RefuseChildWindow::s_nID = 0;

} // namespace

// A dock bar whose window cannot be made throws the framework's resource
// exception: out of EnableDocking (the dock bars made before it stay, a
// later call makes the missing one) and out of CreateCommandBars (which
// releases the half-bound manager, its dock bars with it).
TEST(ManagerDockBars, ADockBarThatCannotBeMadeThrowsTheResourceException)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Dock bar host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL,
                              NULL));
    const UINT nLeft = AFX_IDW_DOCKBAR_LEFT, nRight = AFX_IDW_DOCKBAR_RIGHT;

    CQXPCommandBars* pBars = new CQXPCommandBars;
    bool bThrown = false;
    {
        RefuseChildWindow refuse(nRight);
        ASSERT_TRUE(refuse.IsInstalled());
        try {
            pBars->SetSite(&host);
        } catch (CResourceException* e) {
            bThrown = true;
            e->Delete();
        }
    }
    EXPECT_TRUE(bThrown) << "SetSite makes the dock bars";
    for (int i = qxpBarTop; i <= qxpBarLeft; i++)
        EXPECT_NE(nullptr, pBars->GetDockBar(i)) << i;
    EXPECT_EQ(nullptr, pBars->GetDockBar(qxpBarRight));
    EXPECT_EQ(nullptr, host.GetDlgItem((int)nRight));
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    EXPECT_TRUE(pBars->EnableDocking()) << "nothing refused any more";
    EXPECT_EQ(pTop, pBars->GetDockBar(qxpBarTop)) << "the dock bars there stay";
    ASSERT_NE(nullptr, pBars->GetDockBar(qxpBarRight));
    EXPECT_EQ(pBars->GetDockBar(qxpBarRight), host.GetDlgItem((int)nRight));
    pBars->InternalRelease();
    EXPECT_EQ(nullptr, host.GetDlgItem((int)AFX_IDW_DOCKBAR_TOP)) << "the manager's dock bars go with it";

    CQXPCommandBars* pMade = NULL;
    bThrown = false;
    {
        RefuseChildWindow refuse(nLeft);
        try {
            pMade = CQXPCommandBars::CreateCommandBars(&host);
        } catch (CResourceException* e) {
            bThrown = true;
            e->Delete();
        }
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(nullptr, pMade);
    EXPECT_EQ(nullptr, ::GetWindow(host.GetSafeHwnd(), GW_CHILD)) << "no dock bar of the released manager stays";
    host.DestroyWindow();
    PumpMessages();
}

TEST_F(ManagerTest, HitTestDockBarWidensEachDockBarBy20Pixels)
{
    // A bar on the left gives the left dock bar a size, right under the top.
    ASSERT_TRUE(pBars->DockCommandBar(frame.m_pFormat, qxpBarLeft));
    frame.RecalcLayout();
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    CQXPDockBar* pLeft = pBars->GetDockBar(qxpBarLeft);
    CRect rcTop, rcLeft;
    ::GetWindowRect(pTop->GetSafeHwnd(), &rcTop);
    ::GetWindowRect(pLeft->GetSafeHwnd(), &rcLeft);
    ASSERT_FALSE(rcTop.IsRectEmpty());
    ASSERT_FALSE(rcLeft.IsRectEmpty());
    ASSERT_LT(rcLeft.top - rcTop.bottom, 10);
    CPoint ptMiddle(rcTop.CenterPoint().x, rcTop.bottom + 10);
    struct Case {
        CPoint pt;
        CQXPDockBar* pPreferred;
        CQXPDockBar* pExpected;
    } cases[] = {
        {rcTop.CenterPoint(), NULL, pTop},
        {ptMiddle, NULL, pTop},
        {CPoint(rcTop.CenterPoint().x, rcTop.bottom + 19), NULL, pTop},
        {CPoint(rcTop.CenterPoint().x, rcTop.bottom + 20), NULL, NULL},
        {CPoint(rcTop.CenterPoint().x, rcTop.bottom + 60), NULL, NULL},
        {CPoint(rcLeft.left + 5, rcLeft.top + 5), NULL, pTop},
        {CPoint(rcLeft.left + 5, rcLeft.top + 5), pLeft, pLeft},
        {rcLeft.CenterPoint(), NULL, pLeft},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "point " << c.pt.x << "," << c.pt.y);
        EXPECT_EQ(c.pExpected, pBars->HitTestDockBar(c.pt, c.pPreferred));
    }
}

TEST_F(ManagerTest, AddCustomBarOffersItToTheSite)
{
    frame.barRequests.clear(); // the menus asked for their popups
    CQXPToolBar* pDocked = pBars->AddCustomBar("Mine", 0xE8F0, FALSE);
    ASSERT_NE(nullptr, pDocked);
    ASSERT_EQ(1u, frame.barRequests.size());
    EXPECT_FALSE(frame.barRequests[0].bPopup);
    EXPECT_EQ(1, frame.barRequests[0].nReserved[0]) << "a user-made bar";
    EXPECT_EQ(0, frame.barRequests[0].nReserved[1]);
    EXPECT_EQ(std::string("Mine"), std::string(frame.barRequests[0].strCaption));
    EXPECT_EQ(0xE8F0u, pDocked->GetBarID());
    EXPECT_EQ(pDocked, pBars->FindCommandBar(0xE8F0));
    EXPECT_FALSE(pDocked->m_bBuiltIn);
    EXPECT_EQ(pBars->GetDockBar(qxpBarTop), pDocked->GetDockBar());

    CQXPToolBar* pFloating = pBars->AddCustomBar("Floating", 0xE8F1, TRUE);
    ASSERT_NE(nullptr, pFloating);
    EXPECT_EQ(1, frame.barRequests[1].nReserved[1]);
    EXPECT_TRUE(pFloating->IsFloating());
    EXPECT_EQ(5, pBars->GetCount());
}

TEST_F(ManagerTest, LayoutRequestsWaitForIdleAndTheLock)
{
    frame.m_nIdleFlags = 0;
    pBars->RecalcFrameLayout(TRUE);
    EXPECT_TRUE(frame.m_nIdleFlags & CFrameWnd::idleLayout) << "delayed";
    pBars->IdleRecalcLayout();
    EXPECT_FALSE(frame.m_nIdleFlags & CFrameWnd::idleLayout);

    pBars->LockLayout(TRUE);
    pBars->RecalcFrameLayout(TRUE);
    EXPECT_FALSE(frame.m_nIdleFlags & CFrameWnd::idleLayout) << "locked";
    pBars->LockLayout(FALSE);

    // Every bar goes; the frame is laid out once, later.
    pBars->RemoveAll();
    EXPECT_EQ(0, pBars->GetCount());
    EXPECT_EQ(nullptr, pBars->GetMenuBar());
    EXPECT_TRUE(frame.m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_FALSE(pBars->IsLayoutLocked());
    frame.m_pMenuBar = NULL;
    frame.m_pStandard = frame.m_pFormat = NULL;
}

namespace {

// A window that hosts command bars without being a frame; it counts the
// WM_SIZE messages it gets, keeps the last one's size and runs onSize for
// each.
class CSizeCountingSite : public CWnd {
public:
    int m_nSizes = 0;
    CSize m_szLast;
    std::function<void()> onSize;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SIZE) {
            m_nSizes++;
            m_szLast = CSize(LOWORD(lParam), HIWORD(lParam));
            EXPECT_EQ((WPARAM)SIZE_RESTORED, wParam);
            if (onSize)
                onSize();
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

// Command bars on a site that is no frame, beside the test frame.
class NoFrameSiteTest : public ManagerTest {
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        ASSERT_TRUE(site.CreateEx(0, AfxRegisterWndClass(0), "Bar host", WS_POPUP | WS_VISIBLE,
                                  CRect(40, 40, 340, 240), &frame, 0));
        pSiteBars = CQXPCommandBars::CreateCommandBars(&site);
        ASSERT_NE(nullptr, pSiteBars);
    }
    void TearDown() override
    {
        site.onSize = nullptr;
        if (pSiteBars)
            pSiteBars->InternalRelease();
        site.DestroyWindow();
        PumpMessages();
        ManagerTest::TearDown();
    }
    CSizeCountingSite site;
    CQXPCommandBars* pSiteBars = NULL;
};

// A site that is no frame has no idle layout: every layout request, delayed
// or not, reaches it at once as a WM_SIZE with its client size; none under
// the layout lock.
TEST_F(NoFrameSiteTest, ASiteThatIsNoFrameGetsAWmSizeWithItsClientSize)
{
    CRect rcClient;
    site.GetClientRect(&rcClient);
    for (BOOL bDelay : {FALSE, TRUE}) {
        SCOPED_TRACE(bDelay ? "delayed" : "at once");
        site.m_nSizes = 0;
        pSiteBars->RecalcFrameLayout(bDelay);
        EXPECT_EQ(1, site.m_nSizes);
        EXPECT_EQ(rcClient.Size(), site.m_szLast);
        pSiteBars->LockLayout(TRUE);
        pSiteBars->RecalcFrameLayout(bDelay);
        pSiteBars->LockLayout(FALSE);
        EXPECT_EQ(1, site.m_nSizes) << "locked";
    }
    // A docked bar that hides lays its site out the same way.
    CQXPToolBar* pBar = pSiteBars->Add("Hosted", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    site.m_nSizes = 0;
    pBar->SetVisible(FALSE);
    EXPECT_GE(site.m_nSizes, 1);
    EXPECT_EQ(rcClient.Size(), site.m_szLast);
}

// A toolbar lays itself out only while it shows, and once: a site that
// answers the layout's WM_SIZE by asking the bar to lay out again gets no
// second WM_SIZE (without the guard the two would call each other for
// ever; the site stops after a few rounds). A hidden bar asks for nothing
// and lays out when it shows again.
TEST_F(NoFrameSiteTest, AToolbarLaysOutOnlyWhileItShowsAndNotAgainFromInsideItsLayout)
{
    CQXPToolBar* pBar = pSiteBars->Add("Hosted", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    int nDepth = 0;
    site.onSize = [&] {
        if (++nDepth < 4)
            pBar->OnRecalcLayout();
        --nDepth;
    };
    site.m_nSizes = 0;
    pBar->OnRecalcLayout();
    EXPECT_EQ(1, site.m_nSizes);

    pBar->SetVisible(FALSE);
    site.m_nSizes = 0;
    pBar->OnRecalcLayout();
    EXPECT_EQ(0, site.m_nSizes) << "a hidden bar";
    pBar->SetVisible(TRUE);
    EXPECT_EQ(1, site.m_nSizes) << "shown again";
}

TEST_F(ManagerTest, ActiveMenuIdWithoutADocumentIsTheMenuBarsMenu)
{
    EXPECT_EQ((UINT)IDR_TEST_MENU, pBars->GetActiveMenuId());
}

// Edit commands go to an edit box of a bar that has the focus; the frame
// gets them again once the focus is elsewhere.
TEST_F(ManagerTest, AFocusedBarEditBoxTakesTheFramesEditCommands)
{
    CQXPControlEdit* pEdit =
        dynamic_cast<CQXPControlEdit*>(frame.m_pStandard->GetControls()->Add(qxpControlEdit, 4711));
    ASSERT_NE(nullptr, pEdit);
    pBars->RecalcFrameLayout();
    PumpMessages();
    CQXPEdit* pWnd = pEdit->GetEditCtrl();
    ASSERT_NE(nullptr, pWnd);
    ASSERT_TRUE(::IsWindow(pWnd->GetSafeHwnd()));
    pEdit->SetEditText("hello world");
    pWnd->SetFocus();
    ASSERT_EQ(pWnd->GetSafeHwnd(), ::GetFocus());

    // Select all from the frame's Edit menu, then delete: the box changes.
    frame.SendMessage(WM_COMMAND, 57642, 0);
    frame.SendMessage(WM_COMMAND, 57632, 0);
    EXPECT_STREQ("", pEdit->GetEditText().GetString());
    frame.SendMessage(WM_COMMAND, 57643, 0); // undo
    EXPECT_STREQ("hello world", pEdit->GetEditText().GetString());
    EXPECT_TRUE(frame.commands.empty());

    // Commands the box does not know go on to the frame.
    frame.SendMessage(WM_COMMAND, ID_TEST_SAVE, 0);
    EXPECT_EQ(std::vector<UINT>{ID_TEST_SAVE}, frame.commands);

    // With the focus in the frame the box is left alone.
    frame.SetFocus();
    pWnd->SendMessage(EM_SETSEL, 0, 0);
    frame.SendMessage(WM_COMMAND, 57642, 0);
    DWORD s = 1, e = 1;
    pWnd->SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
    EXPECT_EQ(0u, e) << "select all did not reach the box";
}

// ---------------------------------------------------------------------------
// The mouse wheel under open menus

// A window inside the MDI client standing for a document view: counts the
// wheel messages that reach it.
class CWheelView : public CWnd {
public:
    int nWheels = 0;
    void PostNcDestroy() override {}

protected:
    afx_msg BOOL OnMouseWheel(UINT, short, CPoint)
    {
        nWheels++;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWheelView, CWnd)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

class ManagerWheelTest : public ManagerTest {
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(view.CreateEx(0, AfxRegisterWndClass(0), "view", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                                  frame.m_hWndMDIClient, (HMENU)1));
    }
    void TearDown() override
    {
        if (pScrollPopup) {
            if (pScrollPopup->IsTrackingMode())
                pScrollPopup->SetTrackingMode(FALSE);
            if (::IsWindow(pScrollPopup->GetSafeHwnd()))
                pScrollPopup->DestroyWindow();
            pScrollPopup->InternalRelease();
        }
        if (::IsWindow(view.GetSafeHwnd()))
            view.DestroyWindow();
        ManagerTest::TearDown();
    }
    // One wheel message for the view (or another window) as the frame's
    // message loop handles it: the frame pre-translates it, else it is
    // dispatched. TRUE when the frame used it.
    BOOL Wheel(int nNotches, HWND hWnd = NULL)
    {
        MSG msg = {};
        msg.hwnd = hWnd ? hWnd : view.GetSafeHwnd();
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(0, (WORD)(short)(nNotches * WHEEL_DELTA));
        msg.lParam = MAKELPARAM(100, 100);
        if (frame.PreTranslateMessage(&msg))
            return TRUE;
        ::DispatchMessageA(&msg);
        return FALSE;
    }
    // A popup of 40 items placed in a 300-pixel work area, so that it
    // scrolls; shown and tracking.
    CQXPPopupBar* ShowScrollingPopup()
    {
        pScrollPopup = CQXPPopupBar::CreateForOwner(pBars);
        pScrollPopup->SetOwnerSite(&frame);
        pScrollPopup->m_rcWorkArea = CRect(0, 0, 600, 300);
        for (int i = 0; i < 40; i++)
            pScrollPopup->GetControls()->Add(qxpControlButton, 100 + i)->SetCaption("Item");
        return pScrollPopup->PopupAt(50, 20, NULL) ? pScrollPopup : NULL;
    }

    CWheelView view;
    CQXPPopupBar* pScrollPopup = NULL;
};

TEST_F(ManagerWheelTest, WheelReachesTheViewOnlyWhileNoMenuTracks)
{
    enum State {
        kNothing,
        kFileMenuOpen,
        kMenuBarFromKeyboard
    };
    struct Case {
        const char* what;
        State state;
        BOOL bUsed; // the frame kept it (the view saw nothing)
    } cases[] = {
        {"no menu", kNothing, FALSE},
        {"File menu open", kFileMenuOpen, TRUE},
        {"menu bar tracking from the keyboard, nothing open", kMenuBarFromKeyboard, TRUE},
        {"menus closed again", kNothing, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pBars->ClosePopups();
        if (c.state == kFileMenuOpen)
            OpenFileMenu();
        else if (c.state == kMenuBarFromKeyboard)
            frame.m_pMenuBar->SetTrackingMode(TRUE, TRUE, TRUE);
        ASSERT_EQ(c.state != kNothing, ToolkitMouseManager::GetInstance()->GetTrackedCount() > 0);
        view.nWheels = 0;
        EXPECT_EQ(c.bUsed, Wheel(-1));
        EXPECT_EQ(c.bUsed ? 0 : 1, view.nWheels);
        if (c.state == kFileMenuOpen) {
            EXPECT_TRUE(frame.m_pMenuBar->GetControl(0)->GetPopuped()) << "the menu stays open";
        }
    }
}

// A context menu runs its own loop: the wheel turned meanwhile stays with
// the menu and never scrolls the view behind it.
TEST_F(ManagerWheelTest, WheelDuringAContextMenuLeavesTheViewAlone)
{
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CMenu sub;
    sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
    view.nWheels = 0;
    ::PostMessageA(view.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), MAKELPARAM(100, 100));
    ::PostMessageA(view.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(0, pBars->TrackPopupMenu(&sub, TPM_RETURNCMD, 200, 200));
    EXPECT_EQ(0, view.nWheels);
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    sub.Detach();
    menu.DestroyMenu();
}

// A focused combo box makes its bar track; the wheel over its edit box
// still steps through its list and leaves the view alone.
TEST_F(ManagerWheelTest, FocusedComboBoxOnABarStepsThroughItsListWithTheWheel)
{
    CQXPControlComboBox* pCombo = new CQXPControlComboBox;
    pCombo->SetWidth(140);
    frame.m_pStandard->GetControls()->AddControl(pCombo, 4712);
    for (const char* p : {"one", "two", "three"})
        pCombo->AddString(p);
    pBars->RecalcFrameLayout();
    PumpMessages();
    CQXPEdit* pWnd = pCombo->GetEditCtrl();
    ASSERT_NE(nullptr, pWnd);
    pWnd->SetFocus();
    PumpMessages();
    ASSERT_EQ(pWnd->GetSafeHwnd(), ::GetFocus());
    ASSERT_EQ(frame.m_pStandard, TrackingBar());
    pCombo->SetCurSel(0);

    struct Case {
        int nNotches;
        int nSel;
    } cases[] = {{-1, 1}, {-1, 2}, {1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "notches " << c.nNotches);
        EXPECT_FALSE(Wheel(c.nNotches, pWnd->GetSafeHwnd())) << "the box's own";
        EXPECT_EQ(c.nSel, pCombo->GetCurSel());
    }
    EXPECT_EQ(0, view.nWheels);
    frame.SetFocus();
}

TEST_F(ManagerWheelTest, WheelScrollsAnOpenScrollingPopupInsteadOfTheView)
{
    CQXPPopupBar* pPopup = ShowScrollingPopup();
    ASSERT_NE(nullptr, pPopup);
    ASSERT_TRUE(pPopup->IsScrolling());
    const int nEnd = pPopup->GetEndVisibleIndex();
    ASSERT_EQ(0, pPopup->GetFirstVisibleIndex());

    EXPECT_TRUE(Wheel(-3));
    EXPECT_EQ(nEnd + 3, pPopup->GetEndVisibleIndex());
    EXPECT_GT(pPopup->GetFirstVisibleIndex(), 0);
    EXPECT_TRUE(Wheel(3));
    EXPECT_EQ(0, pPopup->GetFirstVisibleIndex());
    EXPECT_EQ(0, view.nWheels);
    EXPECT_TRUE(pPopup->IsTrackingMode());

    // Once it is closed the view scrolls again.
    pPopup->SetTrackingMode(FALSE);
    EXPECT_FALSE(Wheel(-1));
    EXPECT_EQ(1, view.nWheels);
}

// ---------------------------------------------------------------------------
// Popups shown without notifications

TEST_F(ManagerTest, NoNotifyPopupKeepsTheStatesItWasGiven)
{
    // Edit: "&Undo" (an update handler enables it), "E&ncoding" > "&ANSI",
    // "UTF-&8" (enabled by a notified update: the frame has a command
    // handler). Every item starts disabled.
    CQXPPopupBar* pPopup = FileMenuPopup(1);
    CQXPControl* pUndo = pPopup->GetControl(0);
    CQXPCommandBar* pEncoding = pPopup->GetControl(1)->GetCommandBar();
    ASSERT_EQ((int)ID_TEST_UNDO, pUndo->GetID());
    ASSERT_NE(nullptr, pEncoding);
    CQXPControl* pAnsi = pEncoding->GetControl(0);
    ASSERT_EQ((int)ID_TEST_ANSI, pAnsi->GetID());
    frame.bUndoEnabled = TRUE;
    struct Case {
        const char* what;
        UINT nFlags;
        BOOL bNotified;
    } cases[] = {
        {"no-notify", TPM_NONOTIFY | TPM_RETURNCMD, FALSE},
        {"the same popup shown again with notifications", TPM_RETURNCMD, TRUE},
        {"no-notify once more", TPM_NONOTIFY | TPM_RETURNCMD, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pUndo->SetEnabled(FALSE);
        pAnsi->SetEnabled(FALSE);
        frame.nUndoUpdates = 0;
        // While it tracks the Encoding submenu opens (and updates), then
        // Esc ends the menu.
        frame.PostMessage(WM_TEST_INSPECTPOPUP, 0, 2);
        EXPECT_EQ(0, CQXPCommandBars::TrackPopupMenu(pPopup, c.nFlags, 300, 200));
        PumpMessages();
        EXPECT_EQ(c.bNotified, frame.nUndoUpdates > 0);
        EXPECT_EQ(c.bNotified, pUndo->GetEnabled() != FALSE);
        EXPECT_EQ(c.bNotified, pAnsi->GetEnabled() != FALSE) << "the submenu follows its root";
        EXPECT_FALSE(pPopup->m_bNoNotify) << "the flag goes with the call";
        EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    }
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
}

// ---------------------------------------------------------------------------
// A bar that takes mnemonic keys itself

class CMnemonicTakingBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CMnemonicTakingBar)
public:
    UINT nTakes = 0;             // the key this bar keeps for itself
    std::vector<UINT> previewed; // every key it was offered
    BOOL PreviewMnemonic(UINT nChar) override
    {
        previewed.push_back(nChar);
        return nChar == nTakes;
    }
};

IMPLEMENT_DYNCREATE(CMnemonicTakingBar, CQXPToolBar)

TEST_F(ManagerTest, TrackingBarMayTakeAMnemonicBeforeItsCaptionsAreSearched)
{
    CMnemonicTakingBar* pBar =
        dynamic_cast<CMnemonicTakingBar*>(pBars->Add("Own", qxpBarTop, RUNTIME_CLASS(CMnemonicTakingBar)));
    ASSERT_NE(nullptr, pBar);
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_EXIT};
    ASSERT_TRUE(pBar->SetButtons(ids, 2));
    pBar->GetControl(0)->SetCaption("&Keep");
    pBar->GetControl(1)->SetCaption("&Other");
    pBar->nTakes = 'K';
    pBars->GetOptions()->m_nKeyboardCuesUse = 0; // only the tracking bar is searched
    pBars->RecalcFrameLayout();
    PumpMessages();
    struct Case {
        UINT nKey;
        std::vector<UINT> commands; // what reached the frame
    } cases[] = {
        {'K', {}},             // taken by the bar: "&Keep" does not run
        {'O', {ID_TEST_EXIT}}, // offered, refused: the search runs "&Other"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << (char)c.nKey);
        pBars->ClosePopups();
        frame.commands.clear();
        pBar->previewed.clear();
        pBar->SetTrackingMode(TRUE, FALSE, TRUE);
        EXPECT_TRUE(pBars->ProcessMnemonicKey(c.nKey));
        EXPECT_EQ(std::vector<UINT>{c.nKey}, pBar->previewed);
        EXPECT_EQ(c.commands, frame.commands);
    }
    pBars->ClosePopups();

    // Keys that are never mnemonics are not offered.
    pBar->previewed.clear();
    pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    EXPECT_FALSE(pBars->ProcessMnemonicKey(VK_F5));
    EXPECT_TRUE(pBar->previewed.empty());
    pBars->ClosePopups();
}

// ---------------------------------------------------------------------------
// The remembered width

TEST_F(ManagerTest, MRUWidthWrapsAFloatingBarAtTheNextIdleTime)
{
    CQXPToolBar* pFormat = frame.m_pFormat;
    ASSERT_TRUE(pBars->FloatCommandBar(pFormat));
    PumpMessages();
    CRect rcWide;
    pFormat->GetWindowRect(&rcWide);
    const int nButton = pFormat->GetControl(0)->GetRect().Width();
    ASSERT_GT(nButton, 0);

    struct Case {
        const char* what;
        int nWidth;
        BOOL bNarrow; // one button per row
    } cases[] = {
        {"one button wide", nButton + 8, TRUE},
        {"no remembered width", 32767, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pFormat->SetMRUWidth(c.nWidth);
        EXPECT_EQ(c.nWidth, pFormat->GetMRUWidth());
        EXPECT_TRUE(pFormat->GetPending() & qxpPendingLayout);
        LRESULT lResult = 0;
        pBars->OnFrameWndMsg(WM_IDLEUPDATECMDUI, TRUE, 0, &lResult);
        EXPECT_FALSE(pFormat->GetPending() & qxpPendingLayout);
        CRect rc;
        pFormat->GetWindowRect(&rc);
        if (c.bNarrow) {
            EXPECT_LT(rc.Width(), rcWide.Width());
            EXPECT_GT(rc.Height(), rcWide.Height());
        } else {
            EXPECT_EQ(rcWide.Size(), rc.Size());
        }
    }
    // The same width again asks for nothing.
    pFormat->SetMRUWidth(32767);
    EXPECT_FALSE(pFormat->GetPending() & qxpPendingLayout);
}

// ---------------------------------------------------------------------------
// Options the profile does not keep

TEST_F(ManagerTest, KeypadDigitsAreMnemonicsOnlyWhenAllowed)
{
    CQXPToolBar* pFormat = frame.m_pFormat;
    pFormat->GetControl(1)->SetCaption("&1 ANSI");
    for (BOOL bAllowed : {FALSE, TRUE}) {
        SCOPED_TRACE(bAllowed ? "allowed" : "not allowed");
        pBars->ClosePopups();
        frame.commands.clear();
        pBars->GetOptions()->m_bNumericKeypadMnemonics = bAllowed;
        EXPECT_EQ(bAllowed, pBars->ProcessMnemonicKey(VK_NUMPAD1));
        EXPECT_EQ(bAllowed ? std::vector<UINT>{ID_TEST_ANSI} : std::vector<UINT>{}, frame.commands);
        // The digit row is a mnemonic either way.
        frame.commands.clear();
        pBars->ClosePopups();
        EXPECT_TRUE(pBars->ProcessMnemonicKey('1'));
        EXPECT_EQ(std::vector<UINT>{ID_TEST_ANSI}, frame.commands);
    }
    pBars->ClosePopups();
    pBars->GetOptions()->m_bNumericKeypadMnemonics = FALSE;
}

TEST_F(ManagerTest, CommandsWithoutAHandlerAreDisabledAsTheOptionSays)
{
    const int ID_UNHANDLED = 47123; // nothing in the frame handles it
    CQXPControl* pUnhandled = frame.m_pFormat->GetControls()->Add(qxpControlButton, ID_UNHANDLED);
    ASSERT_NE(nullptr, pUnhandled);
    for (BOOL bDisable : {TRUE, FALSE}) {
        SCOPED_TRACE(bDisable ? "disabling" : "leaving them");
        pBars->GetOptions()->m_bDisableCommandsWithoutHandler = bDisable;
        pUnhandled->SetEnabled(TRUE);
        frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        EXPECT_EQ(!bDisable, pUnhandled->GetEnabled());
        // Commands with handlers are enabled both ways.
        EXPECT_TRUE(frame.m_pFormat->GetControls()->FindControl(ID_TEST_ANSI)->GetEnabled());
    }
    pBars->GetOptions()->m_bDisableCommandsWithoutHandler = TRUE;
}

TEST_F(ManagerTest, StatusDescriptionsFollowTheOption)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    CQXPControl* pOpen = pStandard->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    ASSERT_EQ(CString("Opens an existing document"), pOpen->GetDescription());
    for (BOOL bShown : {TRUE, FALSE}) {
        SCOPED_TRACE(bShown ? "shown" : "not shown");
        pBars->GetOptions()->m_bStatusDescriptions = bShown;
        frame.statusTexts.clear();
        pStandard->SetSelected(pOpen->GetIndex(), 1);
        pStandard->SetSelected(-1, 0);
        EXPECT_EQ(bShown ? std::vector<std::string>{"Opens an existing document"} : std::vector<std::string>{},
                  frame.statusTexts);
    }
    pBars->GetOptions()->m_bStatusDescriptions = TRUE;
}

TEST_F(ManagerTest, PopupItemsGiveTooltipsWhenTheOptionAllowsThemAll)
{
    OpenFileMenu();
    CQXPCommandBar* pPopup = frame.m_pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()) != FALSE; }, 3000));
    CQXPControl* pOpen = pPopup->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    ASSERT_FALSE(pOpen->GetFlags() & qxpFlagShowPopupBarTip);
    const CPoint pt = pOpen->GetRect().CenterPoint();
    pBars->GetOptions()->m_bShowPopupBarToolTips = FALSE;
    EXPECT_EQ(-1, pPopup->OnToolHitTest(pt, NULL));
    pBars->GetOptions()->m_bShowPopupBarToolTips = TRUE;
    EXPECT_EQ((INT_PTR)pOpen->GetIndex() + 1, pPopup->OnToolHitTest(pt, NULL));
    // An item that asks for its tip has one without the option.
    pBars->GetOptions()->m_bShowPopupBarToolTips = FALSE;
    pOpen->SetFlags(pOpen->GetFlags() | qxpFlagShowPopupBarTip);
    EXPECT_EQ((INT_PTR)pOpen->GetIndex() + 1, pPopup->OnToolHitTest(pt, NULL));
    pBars->ClosePopups();
}

TEST_F(ManagerTest, ADropDownWithoutRoomAboveFlipsBesideItsOwnerWhenAllowed)
{
    // The owner reaches from near the top of the work area to near its
    // bottom: there is no room above it and only a sliver below.
    CRect rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    const CRect rcOwner(100, rcWork.top + 20, 200, rcWork.bottom - 10);
    for (BOOL bFlip : {TRUE, FALSE}) {
        SCOPED_TRACE(bFlip ? "may flip" : "may not flip");
        pBars->GetOptions()->m_bPopupFlip = bFlip;
        CQXPPopupBar* pPopup = FileMenuPopup();
        frame.PostMessage(WM_TEST_INSPECTPOPUP, 0, 0);
        CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RETURNCMD, rcOwner.left, rcOwner.bottom, NULL, &rcOwner);
        PumpMessages();
        if (bFlip) {
            EXPECT_EQ(rcOwner.right, frame.rcPopup.left) << "beside the owner";
            EXPECT_LE(frame.rcPopup.bottom, (LONG)rcWork.bottom);
        } else {
            EXPECT_LT(frame.rcPopup.left, rcOwner.right) << "not beside the owner";
            EXPECT_LE(frame.rcPopup.bottom, rcOwner.top) << "it takes the larger side, above";
        }
        if (::IsWindow(pPopup->GetSafeHwnd()))
            pPopup->DestroyWindow();
        pPopup->InternalRelease();
    }
    pBars->GetOptions()->m_bPopupFlip = FALSE;
}

// ---------------------------------------------------------------------------
// Redrawing every bar

// The MDI client's own procedure and what it was asked, while a test
// watches it.
WNDPROC s_pfnClientProc = NULL;
int s_nTabClientRefreshes = 0;

LRESULT CALLBACK RecordTabClientRefresh(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == QxGetTabClientRefreshMessage())
        s_nTabClientRefreshes++;
    return ::CallWindowProcA(s_pfnClientProc, hWnd, message, wParam, lParam);
}

TEST_F(ManagerTest, RedrawingTheBarsReachesTheDocumentTabsAndTheFrameBorder)
{
    HWND hClient = frame.m_hWndMDIClient;
    s_nTabClientRefreshes = 0;
    s_pfnClientProc = (WNDPROC)::SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)RecordTabClientRefresh);
    ASSERT_NE(nullptr, s_pfnClientProc);
    frame.m_pStandard->m_nPending &= ~qxpPendingLayout;
    frame.nNcPaints = 0;
    pBars->RedrawCommandBars();
    EXPECT_EQ(1, s_nTabClientRefreshes) << "the MDI client is asked to refresh its tabs";
    EXPECT_GE(frame.nNcPaints, 1) << "the frame's border is painted again";
    EXPECT_FALSE(pBars->IsLayoutLocked());
    EXPECT_FALSE(frame.m_pStandard->m_nPending & qxpPendingLayout) << "the frame was laid out at once";
    ::SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)s_pfnClientProc);
}

// The document tabs over the MDI client take a new theme when the bars are
// redrawn for it, not only at the next idle time.
TEST_F(ManagerTest, DocumentTabsFollowANewThemeWhenTheBarsAreRedrawn)
{
    SetGlobalPaintManager(qxpThemeWindows2000);
    CQXPTabClientWnd tabs;
    ASSERT_TRUE(tabs.Attach(&frame));
    EXPECT_FALSE(tabs.GetPaintManager()->m_bHotTracking);
    SetGlobalPaintManager(qxpThemeOffice2003);
    EXPECT_FALSE(tabs.GetPaintManager()->m_bHotTracking) << "nothing told the tabs yet";
    pBars->RedrawCommandBars();
    EXPECT_TRUE(tabs.GetPaintManager()->m_bHotTracking) << "the Office 2003 tabs track the pointer";
    tabs.Detach();
    SetGlobalPaintManager(qxpThemeWindows2000);
}

// Bars with a paint manager of their own lead the document tabs with it;
// the global one, which the bars no longer use, does not.
TEST_F(ManagerTest, DocumentTabsFollowTheBarsOwnPaintManager)
{
    SetGlobalPaintManager(qxpThemeWindows2000);
    CQXPTabClientWnd tabs;
    ASSERT_TRUE(tabs.Attach(&frame));
    EXPECT_EQ(GetGlobalPaintManager(), tabs.GetCommandBarsPaintManager());
    EXPECT_FALSE(tabs.GetPaintManager()->m_bHotTracking);

    CQXPThemePainter* pOwn = CreateThemePainter(qxpThemeOffice2003);
    ASSERT_NE(nullptr, pOwn);
    pBars->SetPaintManager(pOwn); // takes the reference; the bars are redrawn for it
    EXPECT_EQ(pOwn, tabs.GetCommandBarsPaintManager());
    EXPECT_TRUE(tabs.GetPaintManager()->m_bHotTracking) << "the Office 2003 tabs track the pointer";
    EXPECT_EQ(qxpThemeWindows2000, GetGlobalPaintManager()->GetCurrentTheme());

    // A new global theme leaves them with the bars' look.
    SetGlobalPaintManager(qxpThemeWindows2000);
    pBars->RedrawCommandBars();
    EXPECT_TRUE(tabs.GetPaintManager()->m_bHotTracking);

    // Without their own the bars, and the tabs, draw with the global one.
    pBars->SetPaintManager(NULL);
    EXPECT_EQ(GetGlobalPaintManager(), tabs.GetCommandBarsPaintManager());
    EXPECT_FALSE(tabs.GetPaintManager()->m_bHotTracking);
    tabs.Detach();
}

// ---------------------------------------------------------------------------
// The workspace behind the documents

// A theme with a workspace picture of its own: one flat colour.
class CWorkspaceTheme : public ToolkitPaintThemeD {
public:
    static constexpr COLORREF kWorkspace = RGB(200, 30, 30);
    std::vector<CRect> filled;
    void FillWorkspace(CDC* pDC, CRect rcClient, CRect rcInner) override
    {
        filled.push_back(rcClient);
        pDC->FillSolidRect(rcClient, kWorkspace);
    }
};

TEST_F(ManagerTest, TheWorkspaceBehindTheDocumentsIsFilledByTheTheme)
{
    CWorkspaceTheme* pTheme = new CWorkspaceTheme;
    pTheme->RefreshMetrics();
    pBars->SetPaintManager(pTheme);
    HWND hClient = frame.m_hWndMDIClient;
    CRect rcClient;
    ::GetClientRect(hClient, &rcClient);
    ASSERT_FALSE(rcClient.IsRectEmpty());
    ::RedrawWindow(hClient, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_FALSE(pTheme->filled.empty());
    EXPECT_EQ(rcClient, pTheme->filled.back());
    // What the client shows is the theme's picture.
    HDC hdc = ::GetDC(hClient);
    const COLORREF clrShown = ::GetPixel(hdc, rcClient.Width() / 2, rcClient.Height() / 2);
    ::ReleaseDC(hClient, hdc);
    EXPECT_EQ(CWorkspaceTheme::kWorkspace, clrShown);

    // With document tabs over the client its background is the bars' theme's
    // picture too.
    CQXPTabClientWnd tabs;
    ASSERT_TRUE(tabs.Attach(&frame));
    pTheme->filled.clear();
    ::GetClientRect(hClient, &rcClient);
    ASSERT_FALSE(rcClient.IsRectEmpty());
    ::RedrawWindow(hClient, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_FALSE(pTheme->filled.empty()) << "the tab client erases through the bars' paint manager";
    tabs.Detach();
    pBars->SetPaintManager(NULL);
}

} // namespace
