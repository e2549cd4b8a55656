// The recent files of the File menu: files opened in one run are listed in
// the File menu of the next one, newest first, and choosing one opens it; a
// listed file that has gone is reported and leaves the list.
#include "qmate_fixture.h"

#include <qmtest/screenshot.h>

namespace {

using e2e::QmateTest;
using e2e::RecentEntry;

const char kRecentSection[] = QM_REGKEY_APP "\\Recent File List";


class RecentFilesTest : public QmateTest {
protected:
    // Opens the File menu with Alt+F and waits for its popup window.
    HWND OpenFileMenu()
    {
        if (!qmtest::BringToForeground(Main())) {
            ADD_FAILURE() << "Qmate.exe cannot be brought to the foreground";
            return nullptr;
        }
        // Alt, then the menu's access key.
        qmtest::SendChord({VK_MENU});
        Sleep(300);
        qmtest::SendChord({'F'});
        HWND popup = nullptr;
        qmtest::WaitUntil([&] { return (popup = m_prog.FindOtherWindow("QXPPopupBar")) != nullptr; }, 10000);
        if (!popup)
            ADD_FAILURE() << "Alt+F opened no menu";
        return popup;
    }

    void SaveShot(HWND popup, const char* name)
    {
        RECT rcMain, rcPopup;
        GetWindowRect(Main(), &rcMain);
        GetWindowRect(popup, &rcPopup);
        RECT rc;
        UnionRect(&rc, &rcMain, &rcPopup);
        std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, shot)) << shot;
        printf("screenshot: %s\n", shot.c_str());
    }
};

TEST_F(RecentFilesTest, FilesOpenedBeforeAreListedInTheFileMenuAndOpenFromIt)
{
    std::string alpha = WriteFile("alpha.txt", "alpha text\r\n");
    std::string rnd = WriteFile("R&D notes.txt", "research\r\n");
    // One file from the command line, the other handed over while it runs.
    ASSERT_TRUE(Start("\"" + alpha + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("alpha text\r\n"));
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", rnd));
    PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0);
    E2E_REQUIRE_EDITOR(EditorHolding("research\r\n"));
    ASSERT_TRUE(Close());
    // The editor reopens the files open at exit; start without them so
    // only the recent-file list remembers them.
    qmtest::DeleteRegistryTree(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);

    // The list kept in the settings, newest first.
    EXPECT_EQ(e2e::Lower(rnd), e2e::Lower(RecentEntry(1)));
    EXPECT_EQ(e2e::Lower(alpha), e2e::Lower(RecentEntry(2)));

    HWND main = Start();
    ASSERT_TRUE(main);
    SetWindowPos(main, HWND_TOP, 0, 0, 900, 600, SWP_SHOWWINDOW);
    HWND popup = OpenFileMenu();
    ASSERT_TRUE(popup);
    Sleep(500);
    SaveShot(popup, "qmate-recent-files-menu.png");

    // The entries are reached by their numbered access keys (their
    // captions are checked by the command-bar tests; the picture shows
    // them): 2 is the older file.
    qmtest::SendChord({'2'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("alpha.txt"); }, 20000)) << CaptionList();
    E2E_REQUIRE_EDITOR(EditorHolding("alpha text\r\n"));
    EXPECT_FALSE(IsWindowVisible(popup));
    // Opening it moved it to the top.
    EXPECT_TRUE(qmtest::WaitUntil([&] { return e2e::Lower(RecentEntry(1)) == e2e::Lower(alpha); }, 5000))
        << RecentEntry(1);

    // The other one through the menu again: its key is 2 now.
    popup = OpenFileMenu();
    ASSERT_TRUE(popup);
    qmtest::SendChord({'2'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("R&D notes.txt"); }, 20000)) << CaptionList();
    ASSERT_TRUE(Close());
}

TEST_F(RecentFilesTest, SavingUnderANewNameListsItFirst)
{
    std::string alpha = WriteFile("alpha.txt", "alpha text\r\n");
    ASSERT_TRUE(Start("\"" + alpha + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("alpha text\r\n"));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return e2e::Lower(RecentEntry(1)) == e2e::Lower(alpha); }, 5000))
        << RecentEntry(1);

    std::string copy = File("copy.txt");
    PostCommand(e2e::kCmdFileSaveAs);
    std::string why;
    ASSERT_TRUE(DriveSaveDialog(copy, e2e::kAnsi, e2e::kCrLf, why)) << why;
    // The list is written one value at a time: wait for both entries.
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            return e2e::Lower(RecentEntry(1)) == e2e::Lower(copy) && e2e::Lower(RecentEntry(2)) == e2e::Lower(alpha);
        },
        10000))
        << "recent files after Save As: " << RecentEntry(1) << ", " << RecentEntry(2);

    // Entry 2 of the menu is the original again, opened beside the copy.
    ASSERT_TRUE(OpenFileMenu());
    qmtest::SendChord({'2'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("alpha.txt"); }, 20000)) << CaptionList();
    EXPECT_TRUE(AnyCaptionContains("copy.txt")) << CaptionList();
    ASSERT_TRUE(Close());
}

TEST_F(RecentFilesTest, AListedFileThatHasGoneIsReportedAndLeavesTheList)
{
    std::string alpha = WriteFile("alpha.txt", "alpha text\r\n");
    std::string gone = File("gone.txt");
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, kRecentSection, "File1", gone));
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, kRecentSection, "File2", alpha));

    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenFileMenu());
    qmtest::SendChord({'1'});
    HWND box = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (box = m_prog.FindOtherWindow("#32770")) != nullptr; }, 15000))
        << "nothing reported the missing file; captions " << CaptionList();
    std::string text = DialogText(box);
    EXPECT_NE(std::string::npos, e2e::Lower(text).find("gone.txt")) << text;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(box); }, 10000));
    ASSERT_TRUE(m_prog.Running());

    // The file left the list; the other one moved up. The program writes
    // the list one value after the other: wait for the whole of it.
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] { return e2e::Lower(RecentEntry(1)) == e2e::Lower(alpha) && RecentEntry(2).empty(); }, 5000))
        << RecentEntry(1) << " | " << RecentEntry(2);

    // The menu now shows the one that is left, under key 1.
    ASSERT_TRUE(OpenFileMenu());
    qmtest::SendChord({'1'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("alpha.txt"); }, 20000)) << CaptionList();
    ASSERT_TRUE(CloseDiscarding());
}

} // namespace
