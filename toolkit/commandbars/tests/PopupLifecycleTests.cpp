// A popup bar's window lives only while the popup tracks: closing a menu
// in any way destroys its window and forgets the control that opened it,
// the site hears each close once, windows hosted on a popup outlive its
// window, and every popup opens again with a new window and works.
#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/custom.h>
#include <qx/menubar.h>
#include <qx/popup.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/popupbar.h>
#include <qmtest/pump.h>
#include <qmtest/script.h>

namespace {

using qmtest::PumpMessages;
using qmtest::PumpUntil;

// The test frame: the menu of the test resources and one toolbar. It keeps
// the commands that reach it and the popups whose close it heard.
class CLifeFrame : public qmtest::CommandBarTestFrame {
public:
    CLifeFrame() : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar, {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}}})
    {
    }
    std::vector<UINT> commands;
    std::vector<CQXPCommandBar*> closed; // lParam of each WM_QXP_UNINITCOMMANDSPOPUP
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pStandard = NULL;

protected:
    // Handled, so the menus offer them enabled.
    afx_msg void OnTestCommand(UINT nID) { commands.push_back(nID); }
    afx_msg LRESULT OnPopupClosed(WPARAM, LPARAM lParam)
    {
        closed.push_back((CQXPCommandBar*)lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLifeFrame, qmtest::CommandBarTestFrame)
    ON_COMMAND_RANGE(ID_TEST_OPEN, ID_TEST_UTF8, OnTestCommand)
    ON_MESSAGE(WM_QXP_UNINITCOMMANDSPOPUP, OnPopupClosed)
END_MESSAGE_MAP()

class PopupLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pBars = qmtest::ShowActiveFrame(frame, "Popup lifecycle test", CRect(0, 0, 640, 420));
        ASSERT_NE(nullptr, pBars);
    }
    void TearDown() override { qmtest::CloseFrame(frame); }
    // The menu-bar title at an index and its popup.
    CQXPControlPopup* Title(int nIndex) { return dynamic_cast<CQXPControlPopup*>(frame.m_pMenuBar->GetControl(nIndex)); }
    CQXPPopupBar* MenuOf(CQXPControl* pControl) { return dynamic_cast<CQXPPopupBar*>(pControl->GetCommandBar()); }
    // Opens a menu-bar title's menu as the menu bar does; its window.
    HWND OpenTitle(int nIndex)
    {
        EXPECT_TRUE(frame.m_pMenuBar->SetPopuped(nIndex));
        PumpMessages();
        HWND hWnd = MenuOf(Title(nIndex))->GetSafeHwnd();
        EXPECT_TRUE(::IsWindowVisible(hWnd));
        return hWnd;
    }
    static CPoint ScreenCenter(CQXPCommandBar* pBar, CQXPControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        ::ClientToScreen(pBar->GetSafeHwnd(), &pt);
        return pt;
    }
    int ClosesOf(CQXPCommandBar* pPopup) const
    {
        return (int)std::count(frame.closed.begin(), frame.closed.end(), pPopup);
    }

    CLifeFrame frame;
    CQXPCommandBars* pBars = NULL;
};

// However a menu closes, its window goes, it forgets its opener, the title
// is no longer open, and the site hears the close once; opened again, it has
// a new window and knows its opener again.
TEST_F(PopupLifecycleTest, EveryWayAMenuClosesTakesItsWindowAndForgetsItsOpener)
{
    CQXPControlPopup* pFileTitle = Title(0);
    ASSERT_NE(nullptr, pFileTitle);
    CQXPPopupBar* pFile = MenuOf(pFileTitle);
    ASSERT_NE(nullptr, pFile);
    struct Case {
        const char* name;
        std::function<void(CQXPPopupBar*)> close;
        UINT nCommand; // the command the close runs (0: none)
    } cases[] = {
        {"all popups closed", [&](CQXPPopupBar*) { pBars->ClosePopups(); }, 0},
        {"Esc", [&](CQXPPopupBar*) { qmtest::KeyStroke(VK_ESCAPE); }, 0},
        {"a click on its title", [&](CQXPPopupBar*) { qmtest::ClickAt(ScreenCenter(frame.m_pMenuBar, pFileTitle)); },
         0},
        {"a click outside", [&](CQXPPopupBar*) {
             CRect rc;
             frame.GetClientRect(&rc);
             frame.ClientToScreen(&rc);
             qmtest::ClickAt(CPoint(rc.right - 20, rc.bottom - 20));
         },
         0},
        {"a chosen command", [&](CQXPPopupBar* pMenu) { qmtest::ClickAt(ScreenCenter(pMenu, pMenu->GetControl(1))); }, ID_TEST_SAVE},
    };
    HWND hLast = NULL;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.closed.clear();
        frame.commands.clear();
        HWND hMenu = OpenTitle(0);
        ASSERT_TRUE(::IsWindowVisible(hMenu));
        EXPECT_NE(hLast, hMenu) << "a new window for each opening";
        EXPECT_EQ(pFileTitle, pFile->m_pControlPopup);
        EXPECT_TRUE(pFileTitle->GetPopuped());
        c.close(pFile);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hMenu); }, 3000)) << "the window is destroyed";
        PumpMessages();
        EXPECT_EQ((HWND)NULL, pFile->GetSafeHwnd());
        EXPECT_FALSE(pFile->IsTrackingMode());
        EXPECT_EQ(nullptr, pFile->m_pControlPopup) << "the opener is forgotten";
        EXPECT_FALSE(pFileTitle->GetPopuped());
        EXPECT_EQ(-1, frame.m_pMenuBar->GetPopupedIndex());
        EXPECT_EQ(std::vector<CQXPCommandBar*>{pFile}, frame.closed) << "the site hears the close once";
        EXPECT_EQ(c.nCommand ? std::vector<UINT>{c.nCommand} : std::vector<UINT>{}, frame.commands);
        // The menu bar may still track from the keyboard (after Esc).
        frame.m_pMenuBar->SetTrackingMode(FALSE);
        PumpMessages();
        hLast = hMenu;
    }
}

// A submenu and its menu each close once, submenu first; both open again
// with new windows and the submenu's command still runs.
TEST_F(PopupLifecycleTest, ASubmenuAndItsMenuCloseOnceEachAndOpenAgain)
{
    CQXPPopupBar* pEdit = MenuOf(Title(1));
    ASSERT_NE(nullptr, pEdit);
    CQXPControlPopup* pEncodingItem = dynamic_cast<CQXPControlPopup*>(pEdit->GetControl(1));
    ASSERT_NE(nullptr, pEncodingItem);
    CQXPPopupBar* pEncoding = MenuOf(pEncodingItem);
    ASSERT_NE(nullptr, pEncoding);

    for (int nRound = 0; nRound < 2; nRound++) {
        SCOPED_TRACE(nRound ? "opened again" : "first opening");
        frame.closed.clear();
        HWND hEdit = OpenTitle(1);
        ASSERT_TRUE(pEdit->SetPopuped(1));
        PumpMessages();
        HWND hEncoding = pEncoding->GetSafeHwnd();
        ASSERT_TRUE(::IsWindowVisible(hEncoding));
        EXPECT_EQ(pEncodingItem, pEncoding->m_pControlPopup);
        EXPECT_EQ(pEdit, pEncoding->GetParentCommandBar());
        EXPECT_EQ(frame.m_pMenuBar, pEncoding->GetRootParent());
        if (nRound == 0) {
            pBars->ClosePopups();
        } else {
            // Choosing the submenu's command closes both.
            frame.commands.clear();
            qmtest::ClickAt(ScreenCenter(pEncoding, pEncoding->GetControl(1)));
            ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }, 3000));
            EXPECT_EQ(std::vector<UINT>{ID_TEST_UTF8}, frame.commands);
        }
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hEdit) && !::IsWindow(hEncoding); }, 3000));
        EXPECT_EQ((std::vector<CQXPCommandBar*>{pEncoding, pEdit}), frame.closed);
        EXPECT_EQ(nullptr, pEncoding->m_pControlPopup);
        EXPECT_EQ(nullptr, pEdit->m_pControlPopup);
        EXPECT_EQ(-1, pEdit->GetPopupedIndex());
        frame.m_pMenuBar->SetTrackingMode(FALSE);
        PumpMessages();
    }
}

// Windows hosted on a popup belong to their controls: closing the popup
// hides them and hands them to the site, opening it again brings them back
// onto the new window. An edit box's text outlives its window too.
TEST_F(PopupLifecycleTest, WindowsHostedOnAPopupOutliveItsWindow)
{
    CQXPPopupBar* pFile = MenuOf(Title(0));
    ASSERT_NE(nullptr, pFile);
    HWND hHosted = ::CreateWindowExA(0, "EDIT", "hosted", WS_CHILD | WS_BORDER, 0, 0, 120, 22, frame.GetSafeHwnd(),
                                     NULL, ::GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, hHosted);
    CQXPControlCustom* pCustom = CQXPControlCustom::CreateControlCustom(hHosted);
    pFile->GetControls()->AddControl(pCustom);
    CQXPControlEdit* pBox = new CQXPControlEdit;
    pBox->SetWidth(140);
    pFile->GetControls()->AddControl(pBox, ID_TEST_UNDO);

    for (int nRound = 0; nRound < 2; nRound++) {
        SCOPED_TRACE(nRound ? "opened again" : "first opening");
        HWND hMenu = OpenTitle(0);
        EXPECT_EQ(hMenu, ::GetParent(hHosted)) << "the hosted window sits on the menu";
        EXPECT_TRUE(::IsWindowVisible(hHosted));
        CQXPEdit* pBoxWnd = pBox->GetEditCtrl();
        ASSERT_NE(nullptr, pBoxWnd);
        ASSERT_TRUE(::IsWindow(pBoxWnd->GetSafeHwnd()));
        EXPECT_EQ(hMenu, ::GetParent(pBoxWnd->GetSafeHwnd()));
        char szText[32] = "";
        ::GetWindowTextA(pBoxWnd->GetSafeHwnd(), szText, sizeof(szText));
        if (nRound == 0)
            ::SetWindowTextA(pBoxWnd->GetSafeHwnd(), "typed");
        else
            EXPECT_STREQ("typed", szText) << "the box's text came back";

        pBars->ClosePopups();
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hMenu); }, 3000));
        ASSERT_TRUE(::IsWindow(hHosted)) << "the hosted window survives";
        EXPECT_FALSE(::IsWindowVisible(hHosted));
        EXPECT_EQ(frame.GetSafeHwnd(), ::GetParent(hHosted)) << "it waits on the site";
        EXPECT_STREQ("typed", pBox->GetEditTextWithoutHint().GetString());
        frame.m_pMenuBar->SetTrackingMode(FALSE);
        PumpMessages();
    }
    ::DestroyWindow(hHosted);
}

// A context menu popup tracked at a point, twice: each time a window of its
// own that goes when the menu closes, the chosen command comes back, and
// the site hears each close once.
TEST_F(PopupLifecycleTest, AContextMenuTrackedTwiceWorksEachTime)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN)->SetCaption("Open");
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_SAVE)->SetCaption("Save");
    CRect rc;
    frame.GetWindowRect(&rc);
    frame.closed.clear();
    HWND hLast = NULL;
    for (int nPick : {ID_TEST_SAVE, ID_TEST_OPEN}) {
        SCOPED_TRACE(nPick);
        qmtest::PopupMenuProbe& probe = qmtest::MenuProbe();
        probe = qmtest::PopupMenuProbe();
        probe.pick = nPick;
        UINT_PTR nTimer = ::SetTimer(NULL, 0, 50, qmtest::ProbePopupMenu);
        int nResult = CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RETURNCMD, rc.left + 60, rc.top + 80, &frame);
        ::KillTimer(NULL, nTimer);
        ASSERT_TRUE(probe.bSeen);
        EXPECT_EQ(nPick, nResult);
        EXPECT_EQ("QXPPopupBar", probe.cls);
        EXPECT_EQ(2u, probe.items.size()) << "the probe read the popup's items";
        EXPECT_NE(hLast, probe.hWnd) << "a new window for each opening";
        EXPECT_FALSE(::IsWindow(probe.hWnd)) << "the window went with the menu";
        EXPECT_EQ((HWND)NULL, pPopup->GetSafeHwnd());
        hLast = probe.hWnd;
        PumpMessages();
    }
    EXPECT_EQ(2, ClosesOf(pPopup));
    pPopup->InternalRelease();
}

} // namespace
