// Keyboard tips over the menu bar and command bars hosted as rebar bands,
// in real MDI frames under Wine.
#include <qx/framehost.h>
#include <qx/keytips.h>
#include <qx/popup.h>
#include <qx/rebarhost.h>

#include <gtest/gtest.h>

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

class CTipsFrame : public CQXPMDIFrameWnd {
public:
    std::vector<UINT> commands;
    CQXPMenuBar* m_pMenuBar = NULL;
    void PostNcDestroy() override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs)
    {
        if (CQXPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        m_pMenuBar = GetCommandBars()->SetMenu("Menu Bar", IDR_TEST_MENU);
        return m_pMenuBar ? 0 : -1;
    }
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipsFrame, CQXPMDIFrameWnd)
    ON_WM_CREATE()
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
    EXPECT_TRUE(TipWindows().empty()) << "no tips while the menu is open";

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
// The rebar host

class CReBarFrame : public CQXPMDIFrameWnd {
public:
    CQXPReBar m_wndReBar;
    CQXPToolBar* m_pFirst = NULL;
    CQXPToolBar* m_pSecond = NULL;
    void PostNcDestroy() override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs)
    {
        if (CQXPMDIFrameWnd::OnCreate(lpcs) == -1 || !m_wndReBar.Create(this) || !InitCommandBars())
            return -1;
        m_pFirst = GetCommandBars()->Add("Standard", qxpBarTop);
        m_pSecond = GetCommandBars()->Add("Second", qxpBarTop);
        if (!m_pFirst || !m_pSecond || !m_pFirst->LoadToolBar(IDR_TEST_TOOLBAR) ||
            !m_pSecond->LoadToolBar(IDR_TEST_TOOLBAR))
            return -1;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReBarFrame, CQXPMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

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

}  // namespace
