// Keyboard tips over the menu bar and command bars hosted as rebar bands,
// in real MDI frames under Wine.
#include <qx/framehost.h>
#include <qx/keytips.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/rebarhost.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

namespace {

void PumpPending()
{
    qmtest::PumpMessages();
}

class CTipsFrame : public qmtest::CommandBarTestFrame {
public:
    CTipsFrame() : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar) {}
    std::vector<UINT> commands;
    CQXPMenuBar* m_pMenuBar = NULL;

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipsFrame, qmtest::CommandBarTestFrame)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
END_MESSAGE_MAP()

// Every tip window on screen, in creation order of the tips.
std::vector<HWND> TipWindows()
{
    std::vector<HWND> found;
    HWND hWnd = NULL;
    while ((hWnd = ::FindWindowExA(NULL, hWnd, QXP_KEYTIP_CLASSNAME, NULL)) != NULL) {
        if (::IsWindowVisible(hWnd))
            found.push_back(hWnd);
    }
    return found;
}

// Keeps what a frame shows for review by eye (<build>/screenshots).
void Capture(HWND hWnd, const char* pszName)
{
    ::UpdateWindow(hWnd);
    PumpPending();
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + pszName);
}

std::string TextOf(HWND hWnd)
{
    char sz[64] = {0};
    ::GetWindowTextA(hWnd, sz, (int)sizeof(sz));
    return sz;
}

class KeyTipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Keyboard tips test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        pMenuBar = frame.m_pMenuBar;
        ASSERT_NE(nullptr, pMenuBar);
        frame.RecalcLayout();
        PumpPending();
    }
    void TearDown() override
    {
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpPending();
        EXPECT_TRUE(TipWindows().empty()) << "no tip outlives its frame";
    }
    void PressAlt() { frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0); }
    int TipCount() const
    {
        CQXPKeyboardTips* pTips = pBars->GetKeyboardTips();
        return pTips ? pTips->GetCount() : 0;
    }

    CTipsFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPMenuBar* pMenuBar = NULL;
};

// ---------------------------------------------------------------------------
// Off by default

TEST_F(KeyTipsTest, OffByDefaultAltOnlySelectsTheFirstTitleAndLettersStillOpenMenus)
{
    EXPECT_FALSE(pBars->IsKeyboardTipsEnabled());
    PressAlt();
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(0, TipCount());
    EXPECT_TRUE(TipWindows().empty());
    EXPECT_FALSE(pBars->ShowKeyboardTips(pMenuBar, 1)) << "asking for tips does nothing while they are off";
    EXPECT_TRUE(TipWindows().empty());

    pMenuBar->ProcessHookKeyDown('E');
    EXPECT_TRUE(pMenuBar->GetControl(1)->GetPopuped());
    pBars->ClosePopups();
}

// ---------------------------------------------------------------------------
// On: Alt shows the tips

TEST_F(KeyTipsTest, AltShowsOneTopmostTipPerTitleWithItsLetterBelowTheTitle)
{
    pBars->EnableKeyboardTips(TRUE);
    HWND hWndActive = ::GetActiveWindow();
    PressAlt();
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    std::vector<HWND> windows = TipWindows();
    ASSERT_EQ(2u, windows.size());
    ASSERT_EQ(2, TipCount());
    const char* const letters[] = {"F", "E"};
    CQXPKeyboardTips* pTips = pBars->GetKeyboardTips();
    EXPECT_EQ(pMenuBar, pTips->GetBar());
    EXPECT_EQ(1, pTips->GetLevel());
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(letters[i]);
        const CQXPKeyboardTips::Tip& tip = pTips->GetAt(i);
        EXPECT_EQ(pMenuBar->GetControl(i), tip.pControl);
        EXPECT_EQ(letters[i], TextOf(tip.hWnd));
        EXPECT_TRUE(::IsWindowVisible(tip.hWnd));
        EXPECT_TRUE(::GetWindowLongPtrA(tip.hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // The tip hangs from a point 12 pixels into the title and 11 above
        // its bottom, at least 16 x 15 large.
        CRect rcControl = pMenuBar->GetControl(i)->GetRect();
        CPoint ptAnchor(rcControl.left + 12, rcControl.bottom - 11);
        pMenuBar->ClientToScreen(&ptAnchor);
        CRect rcTip;
        ::GetWindowRect(tip.hWnd, &rcTip);
        EXPECT_EQ(ptAnchor, rcTip.TopLeft());
        EXPECT_GE(rcTip.Width(), 16);
        EXPECT_GE(rcTip.Height(), 15);
    }
    CRect rc0, rc1;
    ::GetWindowRect(pTips->GetAt(0).hWnd, &rc0);
    ::GetWindowRect(pTips->GetAt(1).hWnd, &rc1);
    EXPECT_LT(rc0.left, rc1.left) << "the tips follow the titles";
    EXPECT_EQ(hWndActive, ::GetActiveWindow()) << "showing tips takes no activation";
    Capture(frame.GetSafeHwnd(), "keytips-menubar.png");
    pBars->ClosePopups();
    EXPECT_TRUE(TipWindows().empty()) << "leaving menu mode takes the tips away";
}

TEST_F(KeyTipsTest, TheLetterOfATipOpensItsMenuFromTheKeyboard)
{
    pBars->EnableKeyboardTips(TRUE);
    struct Case {
        UINT nKey;
        int nTitle;
    } const cases[] = {{'F', 0}, {'E', 1}, {'e', 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nKey);
        PressAlt();
        ASSERT_EQ(2, TipCount());
        EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown(::VkKeyScanA((CHAR)c.nKey) & 0xFF));
        CQXPControl* pTitle = pMenuBar->GetControl(c.nTitle);
        ASSERT_TRUE(pTitle->GetPopuped());
        EXPECT_EQ(c.nTitle, pMenuBar->GetSelectedIndex());
        EXPECT_EQ(0, pTitle->GetCommandBar()->GetSelectedIndex()) << "opened as from the keyboard";
        EXPECT_TRUE(TipWindows().empty());
        EXPECT_EQ(0, TipCount());
        pBars->ClosePopups();
        PumpPending();
        ASSERT_FALSE(pMenuBar->IsTrackingMode());
    }
}

TEST_F(KeyTipsTest, EscInAMenuOpenedByItsTipBringsTheTipsBackButNotAfterArrows)
{
    pBars->EnableKeyboardTips(TRUE);
    PressAlt();
    pMenuBar->ProcessHookKeyDown('E');
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    ASSERT_TRUE(pEdit->GetPopuped());
    PumpPending();
    ASSERT_NE(nullptr, pBars->GetKeyboardTips());
    EXPECT_EQ(pEdit->GetCommandBar(), pBars->GetKeyboardTips()->GetBar()) << "the open menu shows its own tips";
    EXPECT_EQ(2, pBars->GetKeyboardTips()->GetLevel());

    EXPECT_EQ(1, pEdit->GetCommandBar()->ProcessHookKeyDown(VK_ESCAPE));
    EXPECT_FALSE(pEdit->GetPopuped());
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    PumpPending();
    EXPECT_EQ(2u, TipWindows().size()) << "back on the menu bar, the tips show again";
    EXPECT_EQ(2, TipCount());

    // Once the arrows took over, closing a menu leaves the tips away.
    pMenuBar->ProcessHookKeyDown(VK_LEFT);
    pMenuBar->ProcessHookKeyDown(VK_DOWN);
    CQXPControl* pFile = pMenuBar->GetControl(0);
    ASSERT_TRUE(pFile->GetPopuped());
    pFile->GetCommandBar()->ProcessHookKeyDown(VK_ESCAPE);
    PumpPending();
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_TRUE(TipWindows().empty());
    pBars->ClosePopups();
}

TEST_F(KeyTipsTest, EscArrowsAndClicksHideTheTipsUnknownLettersKeepThem)
{
    pBars->EnableKeyboardTips(TRUE);

    PressAlt();
    ASSERT_EQ(2u, TipWindows().size());
    EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown('Z'));
    EXPECT_EQ(2u, TipWindows().size()) << "a letter no tip has beeps and changes nothing";
    EXPECT_FALSE(pMenuBar->GetControl(0)->GetPopuped());
    EXPECT_FALSE(pMenuBar->GetControl(1)->GetPopuped());
    EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown(VK_SHIFT));
    EXPECT_EQ(2u, TipWindows().size());

    pMenuBar->ProcessHookKeyDown(VK_ESCAPE);
    EXPECT_TRUE(TipWindows().empty());
    EXPECT_FALSE(pMenuBar->IsTrackingMode());

    // An arrow moves the selection as always and the tips go.
    PressAlt();
    ASSERT_EQ(2u, TipWindows().size());
    pMenuBar->ProcessHookKeyDown(VK_RIGHT);
    EXPECT_TRUE(TipWindows().empty());
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(1, pMenuBar->GetSelectedIndex());
    pBars->ClosePopups();

    // A click on a tip hides them all.
    PressAlt();
    std::vector<HWND> windows = TipWindows();
    ASSERT_EQ(2u, windows.size());
    ::SendMessageA(windows[1], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_TRUE(TipWindows().empty());
    EXPECT_FALSE(::IsWindow(windows[0]));
    EXPECT_FALSE(::IsWindow(windows[1]));
    pBars->ClosePopups();

    // Turning the option off takes shown tips away too.
    PressAlt();
    ASSERT_EQ(2u, TipWindows().size());
    pBars->EnableKeyboardTips(FALSE);
    EXPECT_TRUE(TipWindows().empty());
    pBars->ClosePopups();
}

TEST_F(KeyTipsTest, TitlesSharingALetterGetTwoLetterTipsTypedOneAfterTheOther)
{
    pBars->EnableKeyboardTips(TRUE);
    CQXPControl* pFold = pMenuBar->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
    ASSERT_NE(nullptr, pFold);
    pFold->SetCaption(CString("&Fold"));
    pMenuBar->OnRecalcLayout();
    frame.RecalcLayout();
    PumpPending();

    PressAlt();
    std::vector<HWND> windows = TipWindows();
    ASSERT_EQ(3u, windows.size());
    CQXPKeyboardTips* pTips = pBars->GetKeyboardTips();
    EXPECT_EQ("FI", TextOf(pTips->GetAt(0).hWnd));
    EXPECT_EQ("E", TextOf(pTips->GetAt(1).hWnd));
    EXPECT_EQ("FO", TextOf(pTips->GetAt(2).hWnd));

    // F narrows to the two tips that start with it; O completes Fold.
    pMenuBar->ProcessHookKeyDown('F');
    EXPECT_FALSE(pMenuBar->GetControl(0)->GetPopuped()) << "F alone is not complete";
    windows = TipWindows();
    ASSERT_EQ(2u, windows.size());
    std::set<std::string> left = {TextOf(windows[0]), TextOf(windows[1])};
    EXPECT_EQ((std::set<std::string>{"FI", "FO"}), left);
    pMenuBar->ProcessHookKeyDown('O');
    PumpPending();
    EXPECT_TRUE(TipWindows().empty());
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ((UINT)ID_TEST_OPEN, frame.commands[0]);
    pBars->ClosePopups();
}

TEST(KeyTipTexts, MnemonicsExplicitTipsAndUniqueSecondCharacters)
{
    struct Case {
        const char* name;
        std::vector<const char*> captions;
        std::vector<const char*> tips;
        std::vector<const char*> expected;
    } const cases[] = {
        {"mnemonic or first letter, upper case", {"&file", "edit", "Fo&rmat", "A&&B"}, {}, {"F", "E", "R", "A"}},
        {"explicit tips win", {"&File", "&Edit"}, {"Q", "ZX"}, {"Q", "ZX"}},
        {"a word start first", {"&Print", "&Page Setup"}, {}, {"PR", "PS"}},
        {"then any unused letter", {"&Save", "&Save As"}, {}, {"SA", "SV"}},
        {"digits when no letter is left", {"&A", "&A", "&A"}, {}, {"A1", "A2", "A3"}},
        {"empty caption gets no tip", {"", "&Go"}, {}, {"", "G"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CString> captions, tips;
        for (const char* p : c.captions)
            captions.push_back(CString(p));
        for (const char* p : c.tips)
            tips.push_back(CString(p));
        std::vector<CString> texts = CQXPKeyboardTips::MakeTexts(captions, tips);
        ASSERT_EQ(c.expected.size(), texts.size());
        for (size_t i = 0; i < texts.size(); i++)
            EXPECT_STREQ(c.expected[i], (LPCSTR)texts[i]) << i;
    }
}

// ---------------------------------------------------------------------------
// Tips inside open menus and on toolbars

class CToolsFrame : public qmtest::CommandBarTestFrame {
public:
    CToolsFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar,
                              {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}},
                               {"Second", &m_pSecond, IDR_TEST_TOOLBAR, {}}})
    {
    }
    std::vector<UINT> commands;
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pStandard = NULL;
    CQXPToolBar* m_pSecond = NULL;

protected:
    afx_msg void OnTestCommand(UINT nID) { commands.push_back(nID); }
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CToolsFrame, qmtest::CommandBarTestFrame)
    ON_COMMAND_RANGE(ID_TEST_OPEN, ID_TEST_UTF8, OnTestCommand)
    ON_UPDATE_COMMAND_UI(ID_TEST_UNDO, OnUpdateUndo)
END_MESSAGE_MAP()

// Every window of the tip class, shown or not.
int AllTipWindowCount()
{
    int nCount = 0;
    HWND hWnd = NULL;
    while ((hWnd = ::FindWindowExA(NULL, hWnd, QXP_KEYTIP_CLASSNAME, NULL)) != NULL)
        nCount++;
    return nCount;
}

class TipsInMenusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Popups must not open under the pointer: a mouse move would take
        // the selection from the keyboard.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(frame.Create(NULL, "Tips in menus test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        pBars->EnableKeyboardTips(TRUE);
        frame.RecalcLayout();
        PumpPending();
        pBars->UpdateCommandBars();
    }
    void TearDown() override
    {
        SetKeys(false, false);
        if (::IsWindow(frame.GetSafeHwnd())) {
            pBars->ClosePopups();
            frame.DestroyWindow();
        }
        PumpPending();
        EXPECT_EQ(0, AllTipWindowCount()) << "no tip window outlives its frame";
    }
    // Ctrl and Shift as GetKeyState reports them to this thread.
    static void SetKeys(bool bCtrl, bool bShift)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = bCtrl ? 0x80 : 0;
        keys[VK_SHIFT] = keys[VK_LSHIFT] = bShift ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    ToolkitMouseManager* Mouse() const { return ToolkitMouseManager::GetInstance(); }
    CQXPCommandBar* Newest() const
    {
        int nCount = Mouse()->GetTrackedCount();
        return nCount > 0 ? Mouse()->GetTrackedBar(nCount - 1) : NULL;
    }
    // A key as the keyboard hook hands it out: the newest tracking bar
    // first, an older one when the newer let it pass.
    void Key(UINT nKey)
    {
        std::vector<CQXPCommandBar*> bars;
        for (int i = Mouse()->GetTrackedCount(); i-- > 0;)
            bars.push_back(Mouse()->GetTrackedBar(i));
        for (CQXPCommandBar* pBar : bars) {
            if (pBar->ProcessHookKeyDown(nKey) != 0)
                break;
        }
    }
    void Type(char ch) { Key((UINT)(::VkKeyScanA(ch) & 0xFF)); }
    void PressAlt() { frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0); }
    CQXPKeyboardTips* Tips() const { return pBars->GetKeyboardTips(); }
    // The texts of the tips shown now, in the order of their records.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        CQXPKeyboardTips* pTips = Tips();
        for (int i = 0; pTips && i < pTips->GetCount(); i++)
            texts.push_back(TextOf(pTips->GetAt(i).hWnd));
        return texts;
    }
    // The tips show for the bar at the level, one window each.
    void ExpectTipsOn(CQXPCommandBar* pBar, int nLevel, const std::vector<std::string>& texts)
    {
        ASSERT_NE(nullptr, Tips());
        EXPECT_EQ(pBar, Tips()->GetBar());
        EXPECT_EQ(nLevel, Tips()->GetLevel());
        EXPECT_EQ(nLevel, pBar->GetKeyboardTipsMode());
        EXPECT_EQ(texts, Texts());
        EXPECT_EQ(texts.size(), TipWindows().size());
        EXPECT_EQ((int)texts.size(), AllTipWindowCount());
    }
    void ExpectNoTips()
    {
        EXPECT_TRUE(TipWindows().empty());
        EXPECT_EQ(0, AllTipWindowCount());
        EXPECT_EQ(0, pBars->GetKeyboardTipsLevel());
    }
    CQXPCommandBar* PopupOf(CQXPCommandBar* pBar, int nIndex) const { return pBar->GetControl(nIndex)->GetCommandBar(); }

    CToolsFrame frame;
    CQXPCommandBars* pBars = NULL;
};

TEST_F(TipsInMenusTest, TipsFollowTheKeyboardIntoMenusAndSubmenusAndEscGoesBackOneLevelAtATime)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    PressAlt();
    // Level 1: the titles, then one tip per other bar at its window corner.
    ExpectTipsOn(pMenuBar, 1, {"F", "E", "ST", "SE"});
    CQXPToolBar* named[] = {frame.m_pStandard, frame.m_pSecond};
    for (int i = 0; i < 2; i++) {
        const CQXPKeyboardTip& tip = Tips()->GetAt(2 + i);
        EXPECT_EQ(named[i], tip.pBar);
        EXPECT_EQ(nullptr, tip.pControl);
        CRect rcBar, rcTip;
        ::GetWindowRect(named[i]->GetSafeHwnd(), &rcBar);
        ::GetWindowRect(tip.hWnd, &rcTip);
        EXPECT_EQ(rcBar.TopLeft(), rcTip.TopLeft());
    }

    // A title's letter opens its menu; once the loop turns its items show
    // tips one level deeper, the disabled Undo's tip dimmed. The mouse move
    // a menu gets when it opens under the pointer changes nothing.
    Type('E');
    CQXPCommandBar* pEdit = PopupOf(pMenuBar, 1);
    ASSERT_TRUE(pMenuBar->GetControl(1)->GetPopuped());
    EXPECT_EQ(0, pEdit->GetSelectedIndex()) << "the first item, from the keyboard";
    CPoint ptUnder = pEdit->GetControl(1)->GetRect().CenterPoint();
    pEdit->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptUnder.x, ptUnder.y));
    ::KillTimer(pEdit->GetSafeHwnd(), QXP_TID_HOVER); // the submenu opens by its letter below
    EXPECT_EQ(1, pEdit->GetSelectedIndex());
    PumpPending();
    ExpectTipsOn(pEdit, 2, {"U", "N"});
    for (int i = 0; i < 2; i++) {
        const CQXPKeyboardTip& tip = Tips()->GetAt(i);
        EXPECT_EQ(pEdit->GetControl(i), tip.pControl);
        CRect rcItem = pEdit->GetControl(i)->GetRect();
        CPoint ptAnchor(rcItem.left + 12, rcItem.bottom - 11);
        pEdit->ClientToScreen(&ptAnchor);
        CRect rcTip;
        ::GetWindowRect(tip.hWnd, &rcTip);
        EXPECT_EQ(ptAnchor, rcTip.TopLeft()) << i;
        bool bLayered = (::GetWindowLongPtrA(tip.hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ(i == 1, tip.bEnabled != FALSE) << i;
        EXPECT_EQ(i == 0, bLayered) << "a disabled item's tip is dimmed";
    }

    {
        CRect rc;
        ::GetWindowRect(frame.GetSafeHwnd(), &rc);
        ::UpdateWindow(pEdit->GetSafeHwnd());
        PumpPending();
        qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/keytips-menu.png");
    }

    // The disabled item's letter does nothing.
    Type('U');
    PumpPending();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_TRUE(pEdit->IsTrackingMode());
    ExpectTipsOn(pEdit, 2, {"U", "N"});

    // A submenu's letter opens it with its tips at level 3.
    Type('N');
    CQXPCommandBar* pEncoding = PopupOf(pEdit, 1);
    ASSERT_TRUE(pEncoding->IsTrackingMode());
    PumpPending();
    ExpectTipsOn(pEncoding, 3, {"A", "8"});
    EXPECT_EQ(pEncoding, Newest());
    {
        CRect rc;
        ::GetWindowRect(frame.GetSafeHwnd(), &rc);
        CRect rcSub;
        ::GetWindowRect(pEncoding->GetSafeHwnd(), &rcSub);
        rc.UnionRect(rc, rcSub);
        ::UpdateWindow(pEdit->GetSafeHwnd());
        ::UpdateWindow(pEncoding->GetSafeHwnd());
        PumpPending();
        qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/keytips-submenu.png");
    }

    // Esc: back one level each time, then out of menu mode.
    Key(VK_ESCAPE);
    PumpPending();
    EXPECT_FALSE(pEncoding->IsTrackingMode());
    ExpectTipsOn(pEdit, 2, {"U", "N"});
    Key(VK_ESCAPE);
    PumpPending();
    EXPECT_FALSE(pEdit->IsTrackingMode());
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    ExpectTipsOn(pMenuBar, 1, {"F", "E", "ST", "SE"});
    Key(VK_ESCAPE);
    PumpPending();
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, Mouse()->GetTrackedCount());
    ExpectNoTips();
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(TipsInMenusTest, TheLettersOfAMenuPathRunTheCommandAndLeaveNoTipBehind)
{
    struct Case {
        const char* keys;
        UINT nCommand;
    } const cases[] = {
        {"FO", ID_TEST_OPEN},
        {"FX", ID_TEST_EXIT},
        {"ENA", ID_TEST_ANSI},
        {"EN8", ID_TEST_UTF8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        frame.commands.clear();
        PressAlt();
        for (const char* p = c.keys; *p; p++) {
            ASSERT_NE(nullptr, Tips());
            ASSERT_EQ((int)(p - c.keys) + 1, Tips()->GetLevel()) << "each letter typed at its own level";
            Type(*p);
            PumpPending();
        }
        ASSERT_EQ(1u, frame.commands.size());
        EXPECT_EQ(c.nCommand, frame.commands[0]);
        EXPECT_EQ(0, Mouse()->GetTrackedCount()) << "the command ends menu mode";
        ExpectNoTips();
    }
}

TEST_F(TipsInMenusTest, AToolbarTipMovesKeyboardTrackingThereAndItsButtonsRunByLetter)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    CQXPToolBar* pStandard = frame.m_pStandard;
    CQXPToolBar* pSecond = frame.m_pSecond;
    PressAlt();
    // "SE" names the second toolbar: typed one letter after the other.
    Type('S');
    EXPECT_EQ((std::vector<std::string>{"ST", "SE"}), Texts());
    Type('E');
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    ASSERT_TRUE(pSecond->IsTrackingMode());
    EXPECT_EQ(pSecond, Newest());
    EXPECT_EQ(0, pSecond->GetSelectedIndex()) << "the first button is selected from the keyboard";
    PumpPending();
    // The buttons (Save has its own tip "S"), then the other bars.
    ExpectTipsOn(pSecond, 1, {"O", "SI", "Q", "M", "ST"});

    // Ctrl+Tab goes on to the next shown bar with wrap-around, Ctrl+Shift+Tab
    // back; each shows its tips.
    struct Step {
        bool bShift;
        CQXPCommandBar* pExpected;
        std::vector<std::string> texts;
    } const steps[] = {
        {false, pMenuBar, {"F", "E", "ST", "SE"}},
        {false, pStandard, {"O", "SI", "Q", "M", "SE"}},
        {true, pMenuBar, {"F", "E", "ST", "SE"}},
        {true, pSecond, {"O", "SI", "Q", "M", "ST"}},
        {false, pMenuBar, {"F", "E", "ST", "SE"}},
        {false, pStandard, {"O", "SI", "Q", "M", "SE"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.pExpected->GetTitle()) + (step.bShift ? " back" : " on"));
        SetKeys(true, step.bShift);
        Key(VK_TAB);
        SetKeys(false, false);
        EXPECT_EQ(1, Mouse()->GetTrackedCount());
        ASSERT_TRUE(step.pExpected->IsTrackingMode());
        PumpPending();
        ExpectTipsOn(step.pExpected, 1, step.texts);
    }

    // A button's letter runs it and ends keyboard tracking.
    frame.commands.clear();
    Type('O');
    PumpPending();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ((UINT)ID_TEST_OPEN, frame.commands[0]);
    EXPECT_FALSE(pStandard->IsTrackingMode());
    ExpectNoTips();

    // Esc on a toolbar reached by its tip ends tracking there.
    PressAlt();
    Type('S');
    Type('T');
    ASSERT_TRUE(pStandard->IsTrackingMode());
    PumpPending();
    Key(VK_ESCAPE);
    PumpPending();
    EXPECT_EQ(0, Mouse()->GetTrackedCount());
    ExpectNoTips();
}

TEST_F(TipsInMenusTest, StaleTipsAndLateReshowsDoNothingAndArrowsOrTheMouseLeaveTipMode)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;

    // A bar named by a tip is removed: the tips go with it.
    PressAlt();
    ASSERT_EQ(4u, TipWindows().size());
    pBars->Remove(frame.m_pSecond);
    frame.m_pSecond = NULL;
    EXPECT_EQ(0, AllTipWindowCount());
    Type('S'); // no tip and no title left for it: a beep
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(1, Mouse()->GetTrackedCount());
    pBars->ClosePopups();
    PumpPending();
    ExpectNoTips();

    // An item is disabled or leaves its menu while its tip shows: its
    // letter does nothing.
    PressAlt();
    Type('F');
    PumpPending();
    CQXPCommandBar* pFile = PopupOf(pMenuBar, 0);
    ExpectTipsOn(pFile, 2, {"O", "S", "X"});
    EXPECT_TRUE(Tips()->GetAt(1).bEnabled);
    pFile->GetControl(1)->SetEnabled(FALSE);
    Type('S');
    PumpPending();
    EXPECT_TRUE(frame.commands.empty()) << "a command disabled meanwhile does not run";
    EXPECT_TRUE(pFile->IsTrackingMode());
    pBars->ClosePopups();
    PumpPending();
    PressAlt();
    Type('F');
    PumpPending();
    ExpectTipsOn(pFile, 2, {"O", "S", "X"});
    CQXPControl* pOpen = pFile->GetControl(0);
    ASSERT_EQ((int)ID_TEST_OPEN, pOpen->GetID());
    pFile->GetControls()->Remove(pOpen);
    PumpPending();
    // The menu lays out again at once and shows tips for what is left.
    ExpectTipsOn(pFile, 2, {"S", "X"});
    Type('O');
    PumpPending();
    EXPECT_TRUE(frame.commands.empty());
    ExpectTipsOn(pFile, 2, {"S", "X"});
    pBars->ClosePopups();
    PumpPending();
    ExpectNoTips();

    // The re-show arrives after menu mode ended: nothing shows.
    PressAlt();
    Type('E');
    pBars->ClosePopups();
    PumpPending();
    ExpectNoTips();
    ::PostMessageA(pMenuBar->GetSafeHwnd(), WM_TIMER, QXP_TID_SHOWKEYTIPS, 0);
    PumpPending();
    ExpectNoTips();

    // Arrow keys and the mouse leave tip mode: closing the menu brings no
    // tips back.
    struct Way {
        const char* name;
        std::function<void()> leave;
    } const ways[] = {
        {"Down in the open menu", [&] { Key(VK_DOWN); }},
        {"a click on a title", [&] {
             CPoint pt = pMenuBar->GetControl(0)->GetRect().CenterPoint();
             pMenuBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        PressAlt();
        Type('E');
        PumpPending();
        ASSERT_EQ(2, Tips()->GetLevel());
        way.leave();
        PumpPending();
        EXPECT_EQ(0, AllTipWindowCount());
        ASSERT_EQ(2, Mouse()->GetTrackedCount()) << "a menu is open";
        Key(VK_ESCAPE);
        PumpPending();
        EXPECT_TRUE(pMenuBar->IsTrackingMode());
        ExpectNoTips();
        pBars->ClosePopups();
        PumpPending();
    }
}

// ---------------------------------------------------------------------------
// The rebar host

class CReBarFrame : public qmtest::CommandBarTestFrame {
public:
    CReBarFrame()
        : CommandBarTestFrame(0, NULL,
                              {{"Standard", &m_pFirst, IDR_TEST_TOOLBAR, {}}, {"Second", &m_pSecond, IDR_TEST_TOOLBAR, {}}})
    {
    }
    CQXPReBar m_wndReBar;
    CQXPToolBar* m_pFirst = NULL;
    CQXPToolBar* m_pSecond = NULL;

protected:
    // The rebar comes first, so the command bars dock into it.
    BOOL OnCreateBeforeBars() override { return m_wndReBar.Create(this); }
};

TEST(ReBarHost, TwoToolbarsBecomeTwoBandsAndTheRebarTakesTheTopOfTheFrame)
{
    CReBarFrame frame;
    ASSERT_TRUE(frame.Create(NULL, "Rebar host test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400)));
    CQXPCommandBars* pBars = frame.GetCommandBars();
    CQXPReBar* pReBar = &frame.m_wndReBar;
    ASSERT_EQ(pReBar, pBars->GetReBar());
    frame.RecalcLayout();
    PumpPending();

    ASSERT_EQ(2, pReBar->GetBandCount());
    CQXPToolBar* bars[] = {frame.m_pFirst, frame.m_pSecond};
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(i);
        CQXPToolBar* pBar = bars[i];
        EXPECT_EQ(i, pReBar->FindBand(pBar));
        REBARBANDINFOA rbbi;
        ZeroMemory(&rbbi, sizeof(rbbi));
        rbbi.cbSize = sizeof(rbbi);
        rbbi.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILD;
        ASSERT_TRUE(::SendMessageA(pReBar->GetSafeHwnd(), RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&rbbi));
        EXPECT_EQ(pBar->GetBarID(), rbbi.wID);
        EXPECT_EQ(pBar->GetSafeHwnd(), rbbi.hwndChild);
        EXPECT_EQ((UINT)(RBBS_BREAK | RBBS_GRIPPERALWAYS), rbbi.fStyle & (RBBS_BREAK | RBBS_GRIPPERALWAYS));
        EXPECT_EQ(pReBar->GetSafeHwnd(), ::GetParent(pBar->GetSafeHwnd()));
        EXPECT_EQ(nullptr, pBar->GetDockBar()) << "a band is in no dock bar";
        EXPECT_EQ(0u, pBar->GetFlags() & 0x1F);
    }
    EXPECT_EQ(-1, pReBar->FindBand(NULL));

    // Each band has a row of its own, as high as its toolbar.
    CRect rcBand0 = pReBar->GetBandRect(0), rcBand1 = pReBar->GetBandRect(1);
    CRect rcBar0, rcBar1;
    frame.m_pFirst->GetWindowRect(&rcBar0);
    frame.m_pSecond->GetWindowRect(&rcBar1);
    EXPECT_GT(rcBar0.Height(), 10);
    EXPECT_GE(rcBand0.Height(), rcBar0.Height());
    EXPECT_GE(rcBand1.top, rcBand0.bottom - 1) << "the second band starts a new row";

    // The frame's layout: the rebar across the top, the MDI client below it.
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    CRect rcReBar;
    pReBar->GetWindowRect(&rcReBar);
    frame.ScreenToClient(&rcReBar);
    int cyBands = (int)::SendMessageA(pReBar->GetSafeHwnd(), RB_GETBARHEIGHT, 0, 0);
    EXPECT_EQ(0, rcReBar.top);
    EXPECT_EQ(0, rcReBar.left);
    EXPECT_EQ(rcClient.Width(), rcReBar.Width());
    EXPECT_EQ(cyBands, rcReBar.Height());
    EXPECT_GE(cyBands, rcBar0.Height() + rcBar1.Height());
    HWND hWndMDIClient = ::FindWindowExA(frame.GetSafeHwnd(), NULL, "MDIClient", NULL);
    ASSERT_NE(nullptr, hWndMDIClient);
    CRect rcMDI;
    ::GetWindowRect(hWndMDIClient, &rcMDI);
    frame.ScreenToClient(&rcMDI);
    EXPECT_EQ(rcReBar.bottom, rcMDI.top);
    Capture(frame.GetSafeHwnd(), "rebar-two-bands.png");

    // The second band joins the first row: the rebar reports its new
    // height and the frame's client area moves up with it.
    REBARBANDINFOA rbbi;
    ZeroMemory(&rbbi, sizeof(rbbi));
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = RBBIM_STYLE;
    rbbi.fStyle = RBBS_GRIPPERALWAYS;
    ASSERT_TRUE(::SendMessageA(pReBar->GetSafeHwnd(), RB_SETBANDINFOA, 1, (LPARAM)&rbbi));
    PumpPending();
    int cyOneRow = (int)::SendMessageA(pReBar->GetSafeHwnd(), RB_GETBARHEIGHT, 0, 0);
    EXPECT_LT(cyOneRow, cyBands);
    pReBar->GetWindowRect(&rcReBar);
    EXPECT_EQ(cyOneRow, rcReBar.Height());
    ::GetWindowRect(hWndMDIClient, &rcMDI);
    frame.ScreenToClient(&rcMDI);
    EXPECT_EQ(cyOneRow, rcMDI.top);

    // Removing a bar deletes its band and the rebar shrinks to one row.
    pBars->Remove(frame.m_pSecond);
    frame.m_pSecond = NULL;
    frame.RecalcLayout();
    PumpPending();
    EXPECT_EQ(1, pReBar->GetBandCount());
    EXPECT_EQ(0, pReBar->FindBand(frame.m_pFirst));
    pReBar->GetWindowRect(&rcReBar);
    EXPECT_LT(rcReBar.Height(), cyBands);
    EXPECT_NE(-1, pReBar->DeleteBand(frame.m_pFirst));
    EXPECT_EQ(0, pReBar->GetBandCount());
    EXPECT_EQ(-1, pReBar->DeleteBand(frame.m_pFirst)) << "no band left for it";

    frame.DestroyWindow();
    PumpPending();
}

} // namespace
