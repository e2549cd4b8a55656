// The ribbon's system button and its menu under Wine: commands on the
// left, the recent files on the right (numbered, rebuilt at each layout),
// the bottom band; a click on the part of the button the menu covers
// reaches the button; a double click asks the frame to close.
#include <qx/ribbonsystem.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/registry.h>

#include "ribbontestframe.h"

#include <fx/doctempl.h>

#include <memory>
#include <string>

namespace {

using namespace ribbontest;

// The recent files the menu shows: the test's own list.
class CTestRecentFiles : public CQXPRibbonControlSystemRecentFileList {
public:
    CRecentFileList* GetRecentFileList() override { return m_pList; }
    CRecentFileList* m_pList = NULL;
};

class RibbonSystemTest : public RibbonBarTest {
protected:
    void SetUp() override
    {
        RibbonBarTest::SetUp();
        // Eleven files, the third with an "&" in its name.
        for (int i = 0; i < 11; i++) {
            CString strPath;
            strPath.Format(i == 2 ? "C:\\docs\\R&D %d.txt" : "C:\\docs\\file%d.txt", i + 1);
            recent[i] = strPath;
        }
        pButton = Ribbon()->AddSystemButton();
        pButton->m_strKeyboardTip = "F";
        pMenu = CQXPRibbonSystemPopupBar::CreateSystemPopupBar(frame.GetCommandBars());
        CQXPControls* pControls = pMenu->GetControls();
        pControls->Add(qxpControlButton, ID_R_SAVE)->SetCaption("&Save");
        pControls->Add(qxpControlButton, ID_R_PICTURE)->SetCaption("&Print");
        pList = new CTestRecentFiles;
        pList->m_pList = &recent;
        pControls->AddControl(pList)->SetCaption("Recent Documents");
        // A command right after the list, numbered like a twelfth file.
        pControls->Add(qxpControlButton, QXP_ID_FIRST_MRU + 11)->SetCaption("Keep");
        for (const char* pszCaption : {"Options", "Exit"}) {
            CQXPControl* p = pControls->AddControl(new CQXPRibbonControlSystemPopupBarButton, ID_R_ZOOM);
            p->SetCaption(pszCaption);
        }
        pButton->SetCommandBar(pMenu);
        pMenu->InternalRelease();
        Relayout();
    }
    bool OpenMenu()
    {
        qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
        return qmtest::PumpUntil([&] { return IsOpen(pMenu); });
    }
    CRecentFileList recent{0, "Recent File List", "File%d", 11};
    CQXPRibbonControlSystemButton* pButton = NULL;
    CQXPRibbonSystemPopupBar* pMenu = NULL;
    CTestRecentFiles* pList = NULL;
};

TEST_F(RibbonSystemTest, TheMenuShowsCommandsRecentFilesAndItsBottomBand)
{
    // The corner button; the tabs start right of it.
    EXPECT_EQ(0, pButton->GetRect().left);
    EXPECT_LE(pButton->GetRect().right, Ribbon()->GetTab(0)->GetRect().left);
    ASSERT_TRUE(OpenMenu());
    ShotWithPopup("ribbon-system-menu.png", pMenu);

    // The right column: the list's caption, then one item per file.
    CQXPControls* pControls = pMenu->GetControls();
    const int nList = pList->GetIndex();
    EXPECT_TRUE(pList->GetWrap()) << "the list starts the right column";
    EXPECT_GE(pList->GetRect().left, pControls->GetAt(0)->GetRect().right);
    const char* const expected[] = {"&1 file1.txt", "&2 file2.txt", "&3 R&&D 3.txt", "&4 file4.txt",
                                    "&5 file5.txt", "&6 file6.txt", "&7 file7.txt", "&8 file8.txt",
                                    "&9 file9.txt", "1&0 file10.txt", "11 file11.txt"};
    for (int i = 0; i < 11; i++) {
        CQXPControl* pItem = pControls->GetAt(nList + 1 + i);
        ASSERT_TRUE(pItem != NULL);
        EXPECT_EQ(expected[i], std::string(pItem->GetCaption())) << i;
        EXPECT_EQ(QXP_ID_FIRST_MRU + i, pItem->GetID());
        EXPECT_EQ(std::string(recent[i]), std::string(pItem->GetTooltip()));
        EXPECT_TRUE(pItem->IsTemporary());
        EXPECT_EQ(CSize(300, 21), pItem->GetRect().Size());
    }
    EXPECT_EQ(std::string("Keep"), std::string(pControls->GetAt(nList + 12)->GetCaption()));

    // The bottom band: right-aligned 5 px inside, 6 px apart, 22 px high.
    CRect rcClient;
    pMenu->GetClientRect(&rcClient);
    CQXPControl* pExit = pControls->GetAt(pControls->GetCount() - 1);
    CQXPControl* pOptions = pControls->GetAt(pControls->GetCount() - 2);
    EXPECT_EQ(rcClient.right - 5, pExit->GetRect().right);
    EXPECT_EQ(rcClient.bottom - 25, pExit->GetRect().top);
    EXPECT_EQ(rcClient.bottom - 3, pExit->GetRect().bottom);
    EXPECT_EQ(pExit->GetRect().left - 6, pOptions->GetRect().right);

    // Laid out again: the same items once, the command after them kept.
    const int nCount = pControls->GetCount();
    pMenu->OnRecalcLayout();
    pMenu->CalcDynamicLayout(0, 0);
    EXPECT_EQ(nCount, pControls->GetCount());
    EXPECT_EQ(std::string("Keep"), std::string(pControls->GetAt(nList + 12)->GetCaption()));

    // A recent file's item sends its command.
    CPoint pt = pControls->GetAt(nList + 2)->GetRect().CenterPoint();
    pMenu->ClientToScreen(&pt);
    qmtest::ClickAt(pt);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)QXP_ID_FIRST_MRU + 1, frame.m_commands[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pMenu); }));
}

TEST_F(RibbonSystemTest, AClickOnTheButtonUnderTheMenuReachesTheButton)
{
    ASSERT_TRUE(OpenMenu());
    // The menu over the lower part of the button, as it opens on a themed
    // frame (its top border over the button).
    CRect rcButton = pButton->GetRect();
    Ribbon()->ClientToScreen(&rcButton);
    CRect rcMenu = ScreenRect(pMenu);
    pMenu->SetWindowPos(NULL, rcMenu.left, rcButton.bottom - 18, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const CPoint pt(rcButton.CenterPoint().x, rcButton.bottom - 6);
    EXPECT_EQ(HTTRANSPARENT, (int)pMenu->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    const CPoint ptMenu(rcMenu.CenterPoint().x, rcButton.bottom + 30);
    EXPECT_NE(HTTRANSPARENT, (int)pMenu->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptMenu.x, ptMenu.y)));
    // The press goes to the window below, the ribbon, whose button closes
    // its open menu. Wine drops a press that the top-level window under
    // it answers with HTTRANSPARENT instead of passing it on, so the ribbon
    // gets the press here as the system routes it.
    CPoint ptRibbon = pt;
    Ribbon()->ScreenToClient(&ptRibbon);
    Ribbon()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptRibbon.x, ptRibbon.y));
    Ribbon()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptRibbon.x, ptRibbon.y));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pMenu); }));
    EXPECT_TRUE(frame.m_commands.empty());
}

TEST_F(RibbonSystemTest, APageOpensBesideItsCommandFromTheMenusTopBorder)
{
    // A left-column command with a page of its own.
    CQXPRibbonSystemPopupBarPage* pPage = new CQXPRibbonSystemPopupBarPage;
    pPage->SetCommandBars(frame.GetCommandBars());
    pPage->GetControls()->Add(qxpControlButton, ID_R_ZOOM)->SetCaption("Page item");
    CQXPControlPopup* pCommand = CQXPControlPopup::CreateControlPopup(qxpControlPopup);
    pCommand->SetCaption("Pre&pare");
    pCommand->SetCommandBar(pPage);
    pPage->InternalRelease();
    pMenu->GetControls()->AddControl(pCommand, 0, CString(), 1);
    ASSERT_TRUE(OpenMenu());
    CRect rcCommand = pCommand->GetRect();
    pMenu->ClientToScreen(&rcCommand);
    qmtest::ClickAt(rcCommand.CenterPoint());
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(pPage); }));
    CPoint ptMenu(0, 0);
    pMenu->ClientToScreen(&ptMenu);
    CRect rcPage = ScreenRect(pPage);
    EXPECT_EQ(ptMenu.y + 19, rcPage.top) << "the menu's top border + 1";
    EXPECT_EQ(rcCommand.right + 1, rcPage.left);
    CRect rcMenuClient;
    pMenu->GetClientRect(&rcMenuClient);
    EXPECT_GE(rcPage.Height(), rcMenuClient.Height() - 49) << "as tall as the menu's right part";
    ShotWithPopup("ribbon-system-menu-page.png", pPage);
    frame.GetCommandBars()->ClosePopups();
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pMenu); }));
}

TEST_F(RibbonSystemTest, ADoubleClickOnTheButtonClosesTheFrame)
{
    qmtest::DoubleClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_sysCloses.empty(); }));
    EXPECT_EQ((WPARAM)(SC_CLOSE | 3), frame.m_sysCloses[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pMenu); }));
}

TEST_F(RibbonSystemTest, TheSystemButtonAndItsMenuComeBackWithTheSavedLayout)
{
    qmtest::RegistryApp reg;
    SaveRibbonLayoutAndClose();

    CRibbonTestFrame other;
    CQXPRibbonBar* pLoaded = ReloadRibbonLayout(other);
    ASSERT_TRUE(pLoaded != NULL);
    CQXPRibbonControlSystemButton* pLoadedButton = pLoaded->GetSystemButton();
    ASSERT_TRUE(pLoadedButton != NULL);
    EXPECT_EQ(pLoadedButton, pLoaded->GetControl(0)) << "the first control of the bar";
    EXPECT_EQ(std::string("F"), std::string(pLoadedButton->m_strKeyboardTip));
    auto* pLoadedMenu = dynamic_cast<CQXPRibbonSystemPopupBar*>(pLoadedButton->GetCommandBar());
    ASSERT_TRUE(pLoadedMenu != NULL);
    CQXPControls* pControls = pLoadedMenu->GetControls();
    ASSERT_GE(pControls->GetCount(), 6);
    EXPECT_EQ(std::string("&Save"), std::string(pControls->GetAt(0)->GetCaption()));
    EXPECT_TRUE(dynamic_cast<CQXPRibbonControlSystemRecentFileList*>(pControls->GetAt(2)) != NULL);
    EXPECT_TRUE(dynamic_cast<CQXPRibbonControlSystemPopupBarButton*>(pControls->GetAt(pControls->GetCount() - 1)));
    other.DestroyWindow();
    qmtest::PumpMessages();
}

} // namespace
