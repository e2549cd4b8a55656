// End to end: find, replace, go to, the toolbar find box and navigation in
// the real Qmate.exe on a fresh key and folder.
#include "qmate_fixture.h"

#include <qmtest/screenshot.h>

using namespace e2e;

namespace {

enum : UINT {
    kSciSetSel = 2160,
    kSciGetSelStart = 2143,
    kSciGetSelEnd = 2145,
    kSciGotoPos = 2025,
    kSciGetCurrentPos = 2008,
    kSciLineFromPos = 2166,
    kSciMarkerGet = 2046,
    kCmdFind = 57636,
    kCmdReplace = 57641,
    kCmdGoto = 161,
    kCmdSave = 57603,
    kCmdNavigateForward = 9002,
    kCmdNavigateBackward = 9003,
};

class SearchTest : public QmateTest {
protected:
    void Click(HWND dlg, int id) { PostMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
    void SetText(HWND h, const std::string& text) { SendMessageA(h, WM_SETTEXT, 0, (LPARAM)text.c_str()); }
    void Shot(HWND h, const char* name) { EXPECT_TRUE(qmtest::SaveWindowShot(h, QM_BIN_DIR, name)) << name; }
    std::pair<LRESULT, LRESULT> Sel(const RemoteScintilla& ed) { return {ed.Send(kSciGetSelStart), ed.Send(kSciGetSelEnd)}; }
    bool WaitSel(const RemoteScintilla& ed, LRESULT a, LRESULT b)
    {
        return qmtest::WaitUntil([&] { return Sel(ed) == std::make_pair(a, b); }, 5000);
    }
    // The active document's caption ends with this name.
    bool AnyActiveCaptionIs(const std::string& name)
    {
        HWND client = qmtest::FirstDescendantOfClass(Main(), "MDIClient");
        HWND active = client ? (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr;
        std::string caption = active ? qmtest::WindowTextOf(active) : std::string();
        return caption.find(name) != std::string::npos;
    }
    HWND FindBox()
    {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "ComboBox"))
            if (GetDlgCtrlID(h) == 5000)
                return h;
        return nullptr;
    }
};

} // namespace

TEST_F(SearchTest, FindReplaceGoToAndTheFindBox)
{
    const std::string text = "alpha beta\r\nbeta gamma\r\nalpha\r\nline four\r\n";
    std::string path = WriteFile("search.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    ASSERT_TRUE(ed);

    // Ctrl+F's command seeds the dialog with the selection.
    ed.Send(kSciSetSel, 6, 10);
    PostCommand(kCmdFind);
    HWND find = WaitDialog("Find");
    ASSERT_TRUE(find) << "no Find dialog";
    HWND findBox = GetDlgItem(find, 1018);
    EXPECT_EQ(qmtest::WindowTextOf(findBox), "beta");
    Shot(find, "search-find-dialog.png");

    // Match case on, Find Next selects the next "beta".
    Click(find, 1008);
    Click(find, 5080);
    EXPECT_TRUE(WaitSel(ed, 12, 16)) << Sel(ed).first << "," << Sel(ed).second;
    // A miss says so and leaves the selection.
    SetText(findBox, "zzz");
    Click(find, 5080);
    EXPECT_NE(TakeMessage().find("The search text was not found"), std::string::npos);
    EXPECT_EQ(Sel(ed), std::make_pair((LRESULT)12, (LRESULT)16));

    // Mark All bookmarks the lines with "alpha".
    SetText(findBox, "alpha");
    Click(find, 1011);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (ed.Send(kSciMarkerGet, 2) & 2) != 0; }, 5000));
    EXPECT_TRUE(ed.Send(kSciMarkerGet, 0) & 2);
    EXPECT_FALSE(ed.Send(kSciMarkerGet, 1) & 2);
    Click(find, IDCANCEL);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(find); }, 5000));
    EXPECT_EQ(ReadSettingDword("FindReplace", "MatchCase", 7), 1u);
    EXPECT_EQ(ReadSettingDword("FindReplace", "WrapAround", 7), 1u);

    // Replace All, then the saved bytes.
    PostCommand(kCmdReplace);
    HWND repl = WaitDialog("Replace");
    ASSERT_TRUE(repl) << "no Replace dialog";
    SetText(GetDlgItem(repl, 5081), "alpha");
    SetText(GetDlgItem(repl, 5082), "omega");
    Shot(repl, "search-replace-dialog.png");
    Click(repl, 5088);
    EXPECT_NE(TakeMessage().find("2 occurrence(s) replaced"), std::string::npos);
    // "Selected text" greys Find Next and Replace.
    Click(repl, 1019);
    // The program greys the buttons one after the other: wait for both.
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] { return !IsWindowEnabled(GetDlgItem(repl, 5080)) && !IsWindowEnabled(GetDlgItem(repl, 5087)); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(repl, 5088)));
    Click(repl, 1018);
    Click(repl, IDCANCEL);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(repl); }, 5000));
    EXPECT_EQ(ReadSettingString("ReplaceHistory", "0"), "omega");
    PostCommand(kCmdSave);
    const std::string replaced = "omega beta\r\nbeta gamma\r\nomega\r\nline four\r\n";
    EXPECT_EQ(WaitForFile(path, replaced), replaced);

    // Go To Line: OK greyed while empty; "4" goes to the fourth line.
    PostCommand(kCmdGoto);
    HWND go = WaitDialog("Go To Line");
    ASSERT_TRUE(go) << "no Go To Line dialog";
    SetText(GetDlgItem(go, 1001), "");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(go, IDOK)); }, 5000));
    SetText(GetDlgItem(go, 1001), "4");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(go, IDOK)));
    Click(go, IDOK);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Send(kSciLineFromPos, ed.Send(kSciGetCurrentPos)) == 3; }, 5000));

    // The toolbar box finds on Enter and keeps its text.
    HWND box = FindBox();
    ASSERT_TRUE(box) << "no find box on the toolbar";
    HWND boxEdit = GetWindow(box, GW_CHILD);
    SetText(box, "gamma");
    PostMessageA(boxEdit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(boxEdit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(WaitSel(ed, 17, 22)) << Sel(ed).first << "," << Sel(ed).second;
    EXPECT_EQ(ReadSettingString("SearchHistory", "0"), "gamma");
    RECT rcBox;
    GetWindowRect(box, &rcBox);
    RECT rcShot = {rcBox.left - 40, rcBox.top - 10, rcBox.right + 120, rcBox.bottom + 10};
    std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/search-find-box.png";
    EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, shot));
    ASSERT_TRUE(Close());

    // After a restart the options and the box's texts are there.
    EXPECT_EQ(ReadSettingString("SearchHistory", "0"), "gamma");
    ASSERT_TRUE(Start());
    EXPECT_EQ(ReadSettingDword("FindReplace", "MatchCase", 7), 1u);
    box = FindBox();
    ASSERT_TRUE(box);
    std::vector<std::string> items;
    int n = (int)SendMessageA(box, CB_GETCOUNT, 0, 0);
    // Each entry read through the box's text (list texts do not cross
    // processes).
    for (int i = 0; i < n; ++i) {
        SendMessageA(box, CB_SETCURSEL, i, 0);
        items.push_back(qmtest::WindowTextOf(box));
    }
    EXPECT_NE(std::find(items.begin(), items.end(), "gamma"), items.end()) << n << " " << (items.empty() ? "" : items[0]);
    EXPECT_NE(std::find(items.begin(), items.end(), "alpha"), items.end());
    EXPECT_TRUE(Close());
}

// The editor reports the caret to its view after a move, as work queued
// behind the move, and when it paints; a message sent by the test would
// overtake that report. Each move is painted before the next one, so that
// each place is taken.
TEST_F(SearchTest, NavigateBackwardAndForwardAcrossDocuments)
{
    const std::string one = "first document line one\r\nline two\r\n";
    const std::string two = "second document\r\n";
    std::string pathOne = WriteFile("one.txt", one);
    std::string pathTwo = WriteFile("two.txt", two);
    ASSERT_TRUE(Start("\"" + pathOne + "\""));
    RemoteScintilla edOne = EditorHolding(one);
    ASSERT_TRUE(edOne);
    auto moveTo = [&](const RemoteScintilla& ed, LRESULT pos) {
        ed.Send(kSciGotoPos, pos);
        EXPECT_TRUE(ed.PaintNow());
    };
    ASSERT_TRUE(edOne.PaintNow());
    moveTo(edOne, 5);
    moveTo(edOne, 20);
    // The second document comes through the Explorer hand-over.
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", pathTwo));
    ASSERT_TRUE(PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0));
    RemoteScintilla edTwo = EditorHolding(two);
    ASSERT_TRUE(edTwo);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return AnyActiveCaptionIs("two.txt"); }, 5000));
    ASSERT_TRUE(edTwo.PaintNow());
    moveTo(edTwo, 3);

    // Back: the place before in the same document, then the other
    // document; the two steps follow each other at once.
    PostCommand(kCmdNavigateBackward);
    PostCommand(kCmdNavigateBackward);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyActiveCaptionIs("one.txt"); }, 5000));
    EXPECT_EQ(edOne.Send(kSciGetCurrentPos), 20);
    EXPECT_EQ(edTwo.Send(kSciGetCurrentPos), 0);
    PostCommand(kCmdNavigateForward);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyActiveCaptionIs("two.txt"); }, 5000));

    // Closing the second document drops its places: Back stays in the first.
    PostMessageA(GetParent(GetParent(edTwo.Handle())), WM_CLOSE, 0, 0);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(edTwo.Handle()); }, 5000));
    PostCommand(kCmdNavigateBackward);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return edOne.Send(kSciGetCurrentPos) == 5; }, 5000))
        << edOne.Send(kSciGetCurrentPos);
    EXPECT_TRUE(Close());
}

// Back at once after a jump, before the editor has painted the caret at
// its new place: the place is reported all the same (the report is queued
// right behind the move, ahead of the next command), so Back returns to the
// place the jump left and Forward to the place it went to.
TEST_F(SearchTest, BackAtOnceAfterAJumpReturnsToThePlaceItLeft)
{
    const std::string text = "a line to jump about in\r\nand a second line\r\n";
    std::string path = WriteFile("jump.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    ASSERT_TRUE(ed);
    ASSERT_TRUE(ed.PaintNow());
    ed.Send(kSciGotoPos, 7);
    ASSERT_TRUE(ed.PaintNow());
    // The jump is made while the editor does not paint at all.
    ed.Send(WM_SETREDRAW, FALSE);
    ed.Send(kSciGotoPos, 30);
    PostCommand(kCmdNavigateBackward);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Send(kSciGetCurrentPos) != 30; }, 5000));
    EXPECT_EQ(ed.Send(kSciGetCurrentPos), 7);
    ed.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(ed.Handle(), nullptr, TRUE);
    ASSERT_TRUE(ed.PaintNow());
    PostCommand(kCmdNavigateForward);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Send(kSciGetCurrentPos) == 30; }, 5000))
        << ed.Send(kSciGetCurrentPos);
    EXPECT_TRUE(Close());
}
