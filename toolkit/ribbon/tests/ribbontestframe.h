// The ribbon tests' test frame: a command-bar frame in the ribbon theme
// (6) with a ribbon of three tabs (the first with three groups) and one
// QAT command; the frame records tab notifications, the commands it
// receives, the QAT menu's special command and the right-button releases
// over controls, and may refuse a tab change, take those two itself or
// empty the context menus offered to it.
#pragma once

#include <qx/listcontrols.h>
#include <qx/office2007.h>
#include <qx/popup.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qxresource.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ribbontest {

enum {
    ID_R_PASTE = 40001,
    ID_R_CUT,
    ID_R_COPY,
    ID_R_BOLD,
    ID_R_ITALIC,
    ID_R_UNDERLINE,
    ID_R_FIND,
    ID_R_REPLACE,
    ID_R_GOTO,
    ID_R_PICTURE,
    ID_R_TABLE,
    ID_R_ZOOM,
    ID_R_SAVE,
    ID_R_STYLES, // groups' commands (their option buttons)
    ID_R_PARAGRAPH,
    ID_R_LAST
};

class CRibbonTestFrame : public qmtest::CommandBarTestFrame {
public:
    CRibbonTestFrame() : CommandBarTestFrame(0, NULL) {}

    CQXPRibbonBar* m_pRibbon = NULL;
    BOOL m_bVeto = FALSE;
    std::vector<int> m_tabNotes; // TCN_SELCHANGING / TCN_SELCHANGE in order
    std::vector<UINT> m_commands;    // the test's commands and the recent files', as they came
    std::vector<WPARAM> m_sysCloses; // SC_CLOSE requests, kept from closing the frame
    int m_nTabRowNotes = 0;          // the tab row's control notifications (a tab chosen)
    std::vector<LPARAM> m_specialCommands;     // lParam of each "More Commands..." special command
    LRESULT m_nSpecialAnswer = 0;              // the answer to it (0: not handled)
    int m_nMoreCommands = 0;                   // WM_COMMAND "More Commands..." (9607)
    std::vector<CQXPControl*> m_rightReleases; // controls of right-button releases, as the site heard them
    LRESULT m_nRightReleaseAnswer = 0;         // 1: the site takes them
    int m_nContextMenus = 0;                   // context menus made (offered to the site)
    WPARAM m_contextMenuBar = 0;               // the bar the last one came with (wParam)
    BOOL m_bEmptyContextMenus = FALSE;         // the site empties them (none shows)

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        NMHDR* pnm = (NMHDR*)lParam;
        if (wParam == QXP_ID_RIBBON_TABS && (pnm->code == (UINT)TCN_SELCHANGING || pnm->code == (UINT)TCN_SELCHANGE)) {
            m_tabNotes.push_back((int)pnm->code);
            *pResult = pnm->code == (UINT)TCN_SELCHANGING ? m_bVeto : 0;
            return TRUE;
        }
        return CommandBarTestFrame::OnNotify(wParam, lParam, pResult);
    }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == QX_ID_RIBBON_QAT_CUSTOMIZE && nCode == CN_COMMAND && pHandlerInfo == NULL) {
            m_nMoreCommands++;
            return TRUE;
        }
        const bool bRecent = nID >= (UINT)QXP_ID_FIRST_MRU && nID < (UINT)QXP_ID_FIRST_MRU + 16;
        if ((nID >= (UINT)ID_R_PASTE && nID < (UINT)ID_R_LAST) || bRecent) {
            if (nCode == CN_COMMAND && pHandlerInfo == NULL)
                m_commands.push_back(nID);
            else if (nCode == (int)CN_UPDATE_COMMAND_UI)
                ((CCmdUI*)pExtra)->Enable(TRUE);
            return TRUE;
        }
        return CommandBarTestFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMANDBARS_CONTROLNOTIFY && wParam == QXP_ID_RIBBON_TABS)
            m_nTabRowNotes++;
        if (message == WM_COMMANDBARS_SPECIALCOMMAND && wParam == QX_ID_RIBBON_QAT_CUSTOMIZE) {
            m_specialCommands.push_back(lParam);
            return m_nSpecialAnswer;
        }
        if (message == WM_QXP_CONTROLRBUTTONUP) {
            m_rightReleases.push_back((CQXPControl*)lParam);
            if (m_nRightReleaseAnswer)
                return m_nRightReleaseAnswer;
        }
        if (message == WM_QXP_TOOLBARCONTEXTMENU && lParam) {
            m_nContextMenus++;
            m_contextMenuBar = wParam;
            if (m_bEmptyContextMenus)
                ((CQXPPopupBar*)lParam)->GetControls()->RemoveAll();
        }
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
            m_sysCloses.push_back(wParam);
            return 0;
        }
        return CommandBarTestFrame::WindowProc(message, wParam, lParam);
    }
};

// The ribbon the tests show: three tabs, the first with three groups.
inline void FillRibbon(CQXPRibbonBar* pRibbon)
{
    CQXPRibbonTab* pHome = pRibbon->AddTab("&Home", 1);
    CQXPRibbonGroup* pClip = pHome->AddGroup("Clipboard", 100);
    pClip->Add(qxpControlButton, ID_R_PASTE, "Paste");
    pClip->Add(qxpControlButton, ID_R_CUT, "Cut");
    pClip->Add(qxpControlButton, ID_R_COPY, "Copy");
    CQXPRibbonGroup* pFont = pHome->AddGroup("Font", 101);
    pFont->Add(qxpControlButton, ID_R_BOLD, "Bold");
    pFont->Add(qxpControlButton, ID_R_ITALIC, "Italic");
    pFont->Add(qxpControlButton, ID_R_UNDERLINE, "Underline");
    pFont->m_bShowOptionButton = TRUE;
    CQXPRibbonGroup* pEdit = pHome->AddGroup("Editing", 102);
    pEdit->Add(qxpControlButton, ID_R_FIND, "Find");
    pEdit->Add(qxpControlButton, ID_R_REPLACE, "Replace");
    pEdit->Add(qxpControlButton, ID_R_GOTO, "Go To");
    CQXPRibbonTab* pInsert = pRibbon->AddTab("&Insert", 2);
    CQXPRibbonGroup* pIll = pInsert->AddGroup("Illustrations", 200);
    pIll->Add(qxpControlButton, ID_R_PICTURE, "Picture");
    pIll->Add(qxpControlButton, ID_R_TABLE, "Table");
    CQXPRibbonTab* pView = pRibbon->AddTab("&View", 3);
    pView->AddGroup("Zoom", 300)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    pRibbon->AddQuickAccessControl(qxpControlButton, ID_R_SAVE)->SetCaption("Save");
}

// The tab row's controls in control order: caption, ">" when right-aligned,
// "|" when it begins a group, "~" when temporary.
inline std::string TabRow(CQXPRibbonBar* p)
{
    std::string s;
    for (int i = 0; i < p->GetControls()->GetCount(); i++) {
        CQXPControl* c = p->GetControls()->GetAt(i);
        if (!p->IsTabRowControl(c))
            continue;
        s += s.empty() ? "" : " ";
        s += (const char*)c->GetCaption();
        s += (c->GetFlags() & qxpFlagRightAlign) ? ">" : "";
        s += c->GetBeginGroup() ? "|" : "";
        s += c->IsTemporary() ? "~" : "";
    }
    return s;
}

// The tab row's control of that caption (NULL: none).
inline CQXPControl* TabRowControl(CQXPRibbonBar* p, const char* caption)
{
    for (int i = 0; i < p->GetControls()->GetCount(); i++) {
        CQXPControl* c = p->GetControls()->GetAt(i);
        if (p->IsTabRowControl(c) && c->GetCaption() == caption)
            return c;
    }
    return NULL;
}

// A control of the bar itself, on the tab row.
inline CQXPControl* AddTabRowControl(CQXPRibbonBar* p, int nId, const char* caption, BOOL bRightAligned = FALSE,
                                     BOOL bTemporary = FALSE)
{
    CQXPControl* c = p->GetControls()->Add(qxpControlButton, nId, CString(), -1, bTemporary);
    c->SetCaption(caption);
    c->SetStyle(qxpButtonCaption);
    if (bRightAligned) {
        c->SetFlags(c->GetFlags() | qxpFlagRightAlign);
        c->SetBeginGroup(TRUE);
    }
    return c;
}

// Opens a second frame (unless bCreate is FALSE: the caller made it) and
// loads the layout saved as "RibbonLayout" into it; the ribbon it holds
// afterwards (NULL: none came back).
inline CQXPRibbonBar* ReloadRibbonLayout(CRibbonTestFrame& other, BOOL bCreate = TRUE)
{
    if (bCreate &&
        !other.Create(NULL, "Ribbon again", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, CRect(0, 0, 700, 480)))
        return NULL;
    other.GetCommandBars()->LoadBarState("RibbonLayout");
    other.RecalcLayout();
    qmtest::PumpMessages();
    CQXPRibbonBar* pLoaded = NULL;
    for (int i = 0; i < other.GetCommandBars()->GetCount(); i++)
        if (CQXPRibbonBar* p = DYNAMIC_DOWNCAST(CQXPRibbonBar, other.GetCommandBars()->GetAt(i)))
            pLoaded = p;
    return pLoaded;
}

class RibbonBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterOffice2007Themes(); }
    void SetUp() override
    {
        SetGlobalPaintManager(qxpThemeRibbon);
        ASSERT_TRUE(frame.Create(NULL, "Ribbon", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                                 CRect(0, 0, 700, 480)));
        CQXPToolBar* pBar = frame.GetCommandBars()->Add("Ribbon", qxpBarTop, RUNTIME_CLASS(CQXPRibbonBar));
        frame.m_pRibbon = DYNAMIC_DOWNCAST(CQXPRibbonBar, pBar);
        ASSERT_TRUE(frame.m_pRibbon != NULL);
        frame.m_pRibbon->SetBarID(1);
        FillRibbon(frame.m_pRibbon);
        Relayout();
        ::SetForegroundWindow(frame.GetSafeHwnd());
        qmtest::PumpUntil([&] { return ::GetForegroundWindow() == frame.GetSafeHwnd(); });
    }
    void TearDown() override
    {
        if (frame.GetCommandBars())
            frame.GetCommandBars()->ClosePopups();
        qmtest::PumpMessages();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
        SetGlobalPaintManager(0);
    }
    void Relayout()
    {
        frame.RecalcLayout();
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
    }
    CQXPRibbonBar* Ribbon() { return frame.m_pRibbon; }
    // Saves the frame's layout as "RibbonLayout" (for ReloadRibbonLayout),
    // the ribbon customizable (its tabs and system button stored) under an
    // id of its own, and closes the frame. The caller's qmtest::RegistryApp
    // holds the layout.
    void SaveRibbonLayoutAndClose()
    {
        Ribbon()->SetBarID(0x7E00);
        Ribbon()->m_bBuiltIn = FALSE;
        Ribbon()->SetCustomizable(TRUE);
        frame.GetCommandBars()->SaveBarState("RibbonLayout");
        frame.DestroyWindow();
        qmtest::PumpMessages();
    }
    int RibbonHeight()
    {
        CRect rc;
        Ribbon()->GetWindowRect(&rc);
        return rc.Height();
    }
    CPoint ScreenPoint(CPoint ptClient)
    {
        Ribbon()->ClientToScreen(&ptClient);
        return ptClient;
    }
    CPoint TabCentre(int nIndex) { return ScreenPoint(Ribbon()->GetTab(nIndex)->GetRect().CenterPoint()); }
    void Shot(const char* name)
    {
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
        EXPECT_TRUE(qmtest::SaveWindowShot(frame.GetSafeHwnd(), QM_BIN_DIR, name));
    }
    static bool IsOpen(CQXPPopupBar* pPopup)
    {
        return pPopup && pPopup->IsTrackingMode() && ::IsWindowVisible(pPopup->GetSafeHwnd());
    }
    static CRect ScreenRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
    // Saves a picture of the screen area that holds the frame and a popup.
    void ShotWithPopup(const char* name, CWnd* pPopup)
    {
        ::RedrawWindow(pPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
        CRect rc = ScreenRect(&frame);
        rc.UnionRect(rc, ScreenRect(pPopup));
        const std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, path));
        printf("screenshot: %s\n", path.c_str());
    }
    // Narrows the frame step by step until the group collapses.
    bool NarrowUntilCollapsed(CQXPRibbonGroup* pGroup)
    {
        for (int cx = 700; cx > 260 && !pGroup->IsCollapsed(); cx -= 10) {
            frame.SetWindowPos(NULL, 0, 0, cx, 480, SWP_NOMOVE | SWP_NOZORDER);
            Relayout();
        }
        return pGroup->IsCollapsed() != FALSE;
    }
    // Five groups of six controls (two columns) on the first tab, narrowed
    // until the last, "Styles" (first control "Heading", ID_R_GOTO),
    // collapses; NULL when it never does.
    CQXPRibbonGroup* CollapseStylesGroup()
    {
        CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
        pHome->AddGroup("Paragraph", 103)->Add(qxpControlButton, ID_R_FIND, "Centre");
        pHome->AddGroup("Styles", 104)->Add(qxpControlButton, ID_R_GOTO, "Heading");
        for (CQXPRibbonGroup* g : *pHome->GetGroups())
            while (g->GetCount() < 6)
                g->Add(qxpControlButton, ID_R_ZOOM, "More text");
        CQXPRibbonGroup* pStyles = pHome->GetGroup(4);
        return NarrowUntilCollapsed(pStyles) ? pStyles : NULL;
    }
    // Opens a collapsed group's popup with the real mouse on its button;
    // NULL when none opens.
    CQXPRibbonGroupPopupToolBar* OpenCollapsedGroup(CQXPRibbonGroup* pGroup)
    {
        CQXPRibbonGroupControlPopup* pButton = pGroup->GetPopupButton();
        if (!pButton)
            return NULL;
        qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
        if (!qmtest::PumpUntil([&] { return IsOpen(dynamic_cast<CQXPPopupBar*>(pButton->GetCommandBar())); }))
            return NULL;
        return dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar());
    }
    // Seven more groups of one control on the first tab (they never
    // collapse) in a frame 320 px wide: the groups scroll. The first tab.
    CQXPRibbonTab* NarrowIntoScrolling()
    {
        CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
        for (int i = 0; i < 7; i++)
            pHome->AddGroup("More", 110 + i)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
        frame.SetWindowPos(NULL, 0, 0, 320, 480, SWP_NOMOVE | SWP_NOZORDER);
        Relayout();
        return pHome;
    }
    CRibbonTestFrame frame;
};

} // namespace ribbontest
