// The documents beside the text documents, in the running program: comparing
// two files, editing and saving a binary file in the hex view, and the web
// preview of a text document.
#include "qmate_fixture.h"
#include <fx/codepage.h>
#include <qmtest/screenshot.h>

#include <iostream>

namespace {

using e2e::QmateTest;

// Commands and controls the tests drive.
enum : UINT {
    kCmdFileSave = 0xE103,
    kCmdEditCopy = 0xE122,
    kCmdEditSelectAll = 0xE12A,
    kCmdFileCompare = 32831,
    kCmdPreviewInBrowser = 521,
    kCmdEditFind = 0xE124,
};
enum {
    kHexFindText = 59592
};
enum {
    kCompareFirstEdit = 1020,
    kCompareSecondEdit = 1021
};

// Messages of the hex window.
enum : UINT {
    kBgmSetPosition = 2120,
    kBgmGetLength = 2156,
    kBgmIsModified = 2136,
    kBgmSetPane = 2145,
    kBgmSetModeFlag = 2143,
    kBgmGetSelStart = 2124,
};

// The marker colours of the compare header: first file, second file.
const COLORREF kFirstMarker = RGB(248, 133, 118);
const COLORREF kSecondMarker = RGB(247, 243, 121);

// The MDI child frames of the main frame.
std::vector<HWND> MdiChildren(HWND main)
{
    std::vector<HWND> out;
    HWND client = main ? qmtest::FirstDescendantOfClass(main, "MDIClient") : nullptr;
    if (client)
        for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsWindowVisible(child))
                out.push_back(child);
    return out;
}

// The MDI child frame that holds window inner.
HWND ChildFrameOf(HWND inner)
{
    for (HWND h = inner; h; h = GetParent(h)) {
        HWND parent = GetParent(h);
        if (parent && qmtest::WindowClassOf(parent) == "MDIClient")
            return h;
    }
    return nullptr;
}

bool HasColour(const qmtest::Picture& pic, int top, int bottom, COLORREF c)
{
    for (int y = std::max(0, top); y < std::min(bottom, pic.height); ++y)
        for (int x = 0; x < pic.width; ++x) {
            const BYTE* p = &pic.rgb[(static_cast<size_t>(y) * pic.width + x) * 3];
            if (p[0] == GetRValue(c) && p[1] == GetGValue(c) && p[2] == GetBValue(c))
                return true;
        }
    return false;
}

// A string value of the program's "Settings" key, empty when missing.
std::string SettingsString(const char* name)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!qmtest::ReadRegistryValue(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, name, type, data) || type != REG_SZ)
        return std::string();
    return std::string(data.begin(), data.end()).c_str();
}

class DocsTest : public QmateTest {
protected:
    // Select All and Copy of the Edit menu, asked again until the clipboard
    // holds the expected text (a compare fills its window after it shows) or
    // 15 s passed; text is what the clipboard held last.
    bool CopyAllUntil(const std::string& expected, std::string& text)
    {
        auto copyAll = [&] {
            if (!qmtest::EmptyTheClipboard())
                return false;
            PostCommand(kCmdEditSelectAll);
            PostCommand(kCmdEditCopy);
            return qmtest::WaitUntil([&] { return qmtest::ClipboardText(text) && text == expected; }, 1000, 100);
        };
        return qmtest::WaitUntil(copyAll, 15000, 0);
    }

    // Writes the two files, remembers them as the paths of the Compare
    // dialog, starts the program and opens the dialog; the dialog or nullptr.
    HWND OpenCompareDialogWith(const char* first, const std::string& firstBytes, const char* second,
                               const std::string& secondBytes)
    {
        WriteFile(first, firstBytes);
        WriteFile(second, secondBytes);
        if (!qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, "CompareFirstFile", File(first)) ||
            !qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, "CompareSecondFile", File(second)) ||
            !Start())
            return nullptr;
        PostCommand(kCmdFileCompare);
        return WaitForDialog();
    }

    // A top-level dialog of the program other than the ones in skip.
    HWND WaitForDialog(const std::vector<HWND>& skip = {}, DWORD timeoutMs = 10000) const
    {
        HWND found = nullptr;
        qmtest::WaitUntil(
            [&] {
                for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
                    if (qmtest::WindowClassOf(h) == "#32770" &&
                        std::find(skip.begin(), skip.end(), h) == skip.end()) {
                        found = h;
                        return true;
                    }
                return false;
            },
            timeoutMs);
        return found;
    }

    static void Click(HWND dlg, int id)
    {
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
    }

    // Dismisses a message box; returns its text.
    std::string Dismiss(HWND box) const
    {
        std::string said = DialogText(box);
        Click(box, IDOK);
        qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
        return said;
    }

    std::vector<HWND> Visible(const char* cls) const
    {
        HWND client = Main() ? qmtest::FirstDescendantOfClass(Main(), "MDIClient") : nullptr;
        return client ? qmtest::DescendantsOfClass(client, cls, true) : std::vector<HWND>();
    }

    HWND WaitForVisible(const char* cls, DWORD timeoutMs = 15000) const
    {
        HWND found = nullptr;
        qmtest::WaitUntil(
            [&] {
                std::vector<HWND> all = Visible(cls);
                found = all.empty() ? nullptr : all.front();
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }
};

// ---------------------------------------------------------------------------
// Compare Files: the dialog, the compare child and its text.

struct CompareCase {
    const char* name;
    const char* first; // file name in the test folder, "" for none
    const char* second;
    const char* message; // part of the message OK shows; nullptr when the compare opens
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

// Japanese and Greek with a character outside the basic plane (UTF-8).
const char kNamedFirst[] = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E a.txt";
const char kNamedSecond[] = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80 b.txt";

class CompareDialogTest : public DocsTest, public ::testing::WithParamInterface<CompareCase> {
};

TEST_P(CompareDialogTest, OkComparesTwoFilesOrNamesWhatIsMissing)
{
    const CompareCase& c = GetParam();
    WriteFile("a.txt", "a\r\nb\r\nc");
    WriteFile("b.txt", "a\r\nB\r\nc");
    // The same texts under names in any language.
    WriteFile(kNamedFirst, "a\r\nb\r\nc");
    WriteFile(kNamedSecond, "a\r\nB\r\nc");
    ASSERT_TRUE(Start());
    // A fresh start opens its untitled document once the frame is up: count
    // from there, not from a frame that is still empty.
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !MdiChildren(Main()).empty(); }, 10000))
        << "no document after the start; windows: " << CaptionList();
    const size_t childrenBefore = MdiChildren(Main()).size();

    PostCommand(kCmdFileCompare);
    HWND dlg = WaitForDialog();
    ASSERT_TRUE(dlg) << "Compare Files showed no dialog";
    EXPECT_EQ(qmtest::WindowTextOf(dlg), "Compare Files");
    HWND firstEdit = GetDlgItem(dlg, kCompareFirstEdit), secondEdit = GetDlgItem(dlg, kCompareSecondEdit);
    ASSERT_TRUE(firstEdit && secondEdit) << "the dialog has no path boxes";
    std::string first = *c.first ? File(c.first) : std::string();
    std::string second = *c.second ? File(c.second) : std::string();
    SendMessageA(firstEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first.c_str()));
    SendMessageA(secondEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(second.c_str()));
    Click(dlg, IDOK);

    if (c.message) {
        HWND box = WaitForDialog({dlg});
        ASSERT_TRUE(box) << "OK with a missing file showed no message";
        std::string said = Dismiss(box);
        EXPECT_NE(said.find(c.message), std::string::npos) << said;
        // The dialog stays for a correction and nothing opened.
        EXPECT_TRUE(IsWindow(dlg) && IsWindowVisible(dlg));
        EXPECT_TRUE(Visible("CompareWin").empty());
        EXPECT_EQ(MdiChildren(Main()).size(), childrenBefore);
        Click(dlg, IDCANCEL);
        EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000));
        ASSERT_TRUE(Close());
        return;
    }

    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 10000)) << "the dialog stayed open";
    HWND win = WaitForVisible("CompareWin");
    ASSERT_TRUE(win) << "no compare window opened; windows: " << CaptionList();
    HWND frame = ChildFrameOf(win);
    ASSERT_TRUE(frame);
    EXPECT_EQ(MdiChildren(Main()).size(), childrenBefore + 1) << CaptionList();
    EXPECT_NE(qmtest::WindowTextOf(frame).find("Compare"), std::string::npos) << qmtest::WindowTextOf(frame);

    // The paths are remembered for the next time.
    EXPECT_EQ(e2e::Lower(SettingsString("CompareFirstFile")), e2e::Lower(first));
    EXPECT_EQ(e2e::Lower(SettingsString("CompareSecondFile")), e2e::Lower(second));

    // Select All and Copy of the Edit menu put the whole result on the clipboard
    // (asked again until the compare, which runs after the window shows, is done).
    std::string text;
    const std::string expected = "    a\r\n <! b\r\n !> B\r\n    c";
    CopyAllUntil(expected, text);
    EXPECT_EQ(text, expected);

    // The header above the compare window carries the two marker colours.
    HWND view = GetParent(win);
    ASSERT_TRUE(qmtest::BringToForeground(Main()));
    RECT vr, wr;
    GetWindowRect(view, &vr);
    GetWindowRect(win, &wr);
    const int headerBottom = wr.top - vr.top;
    ASSERT_GT(headerBottom, 2) << "the compare window leaves no room for the header";
    bool markers = qmtest::WaitUntil(
        [&] {
            RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            qmtest::Picture pic = qmtest::CaptureWindow(view);
            return HasColour(pic, 0, headerBottom, kFirstMarker) && HasColour(pic, 0, headerBottom, kSecondMarker);
        },
        5000, 200);
    EXPECT_TRUE(markers) << "the header shows no marker of the first and the second file";
    if (std::string(c.name) == "names_in_any_language") {
        // The header names both files: a picture to look at.
        std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/qmate-compare-names.png";
        EXPECT_TRUE(qmtest::SaveScreenPng(vr, shot)) << shot;
        printf("screenshot: %s\n", shot.c_str());
    }


    // The same once the program was brought to the front again.
    CopyAllUntil(expected, text);
    EXPECT_EQ(text, expected) << "Copy after the program came to the front";
    ASSERT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(
    E2E, CompareDialogTest,
    ::testing::Values(CompareCase{"both_files", "a.txt", "b.txt", nullptr},
                      CompareCase{"names_in_any_language", kNamedFirst, kNamedSecond, nullptr},
                      CompareCase{"no_first_file", "", "b.txt", "Please select a file to compare"},
                      CompareCase{"missing_first_file", "gone.txt", "b.txt", "File does not exist"},
                      CompareCase{"no_second_file", "a.txt", "", "Please select a second file to compare"},
                      CompareCase{"missing_second_file", "a.txt", "gone.txt", "The second file does not exist"}),
    [](const ::testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

TEST_F(DocsTest, SelectAllAndCopyOfACompareKeepTheFinalLineEnd)
{
    // The dialog starts with the remembered paths.
    HWND dlg = OpenCompareDialogWith("a.txt", "one\r\ntwo\r\n", "b.txt", "one\r\nthree\r\n");
    ASSERT_TRUE(dlg);
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(dlg, kCompareFirstEdit)), File("a.txt"));
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(dlg, kCompareSecondEdit)), File("b.txt"));
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitForVisible("CompareWin")) << CaptionList();
    std::string text;
    const std::string expected = "    one\r\n <! two\r\n !> three\r\n";
    CopyAllUntil(expected, text);
    EXPECT_EQ(text, expected);
    ASSERT_TRUE(Close());
}

// An ANSI file's letters come from the system's legacy code page: compared
// with a UTF-8 file, both sides show "café", and the same line in both
// encodings is common.
TEST_F(DocsTest, CompareShowsTheLettersOfAnAnsiFile)
{
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the fixture's";
    HWND dlg = OpenCompareDialogWith("ansi.txt", "caf\xE9 au lait\r\nth\xE9\r\n", "utf8.txt",
                                     "caf\xC3\xA9 noir\r\nth\xC3\xA9\r\n");
    ASSERT_TRUE(dlg);
    Click(dlg, IDOK);
    HWND win = WaitForVisible("CompareWin");
    ASSERT_TRUE(win) << CaptionList();
    std::string text;
    const std::string expected = " <! caf\xC3\xA9 au lait\r\n !> caf\xC3\xA9 noir\r\n    th\xC3\xA9\r\n";
    CopyAllUntil(expected, text);
    EXPECT_EQ(e2e::Hex(text), e2e::Hex(expected));
    // A picture to look at: the letters as drawn.
    RECT rc;
    GetWindowRect(win, &rc);
    rc.bottom = std::min(rc.bottom, rc.top + 80);
    std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/qmate-compare-ansi.png";
    ASSERT_TRUE(qmtest::BringToForeground(Main()));
    EXPECT_TRUE(qmtest::SaveScreenPng(rc, shot)) << shot;
    printf("screenshot: %s\n", shot.c_str());
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// The hex view: a binary file opens in it, an edit is saved byte-exact, and
// a save that cannot write keeps the file and the modified mark.

std::string BinaryBytes()
{
    std::string bytes;
    for (int i = 0; i < 40; ++i)
        bytes += static_cast<char>((i * 37) & 0xFF);
    bytes[5] = '\0';
    return bytes;
}

class HexTest : public DocsTest {
protected:
    // Opens the binary file, types "AB" over its third byte and returns the
    // hex window; the file's bytes with that change in expected.
    HWND OpenAndEdit(const std::string& path, const std::string& original, std::string& expected)
    {
        if (!Start("\"" + path + "\""))
            return nullptr;
        HWND grid = WaitForVisible("BytegridWin");
        if (!grid) {
            ADD_FAILURE() << "the binary file opened in no hex window; windows: " << CaptionList();
            return nullptr;
        }
        EXPECT_EQ(SendMessageA(grid, kBgmGetLength, 0, 0), static_cast<LRESULT>(original.size()));
        EXPECT_EQ(SendMessageA(grid, kBgmIsModified, 0, 0), 0);
        EXPECT_TRUE(Visible("Scintilla").empty()) << "the binary file also opened as text";
        SendMessageA(grid, kBgmSetPane, 0, 0);     // hex digits
        SendMessageA(grid, kBgmSetModeFlag, 0, 0); // overwrite
        SendMessageA(grid, kBgmSetPosition, 2, 0);
        SendMessageA(grid, WM_CHAR, 'A', 0);
        SendMessageA(grid, WM_CHAR, 'b', 0);
        expected = original;
        expected[2] = static_cast<char>(0xAB);
        EXPECT_EQ(SendMessageA(grid, kBgmGetLength, 0, 0), static_cast<LRESULT>(original.size()));
        EXPECT_NE(SendMessageA(grid, kBgmIsModified, 0, 0), 0) << "typing hex digits changed nothing";
        // Whether the title marks a changed hex document.
        m_marks = qmtest::WaitUntil([&] { return AnyCaptionContains("data.bin*"); }, 3000);
        return grid;
    }

    // The number of files (not folders) in the test folder.
    int FilesInWork() const
    {
        WIN32_FIND_DATAA fd;
        int files = 0;
        HANDLE h = FindFirstFileA(File("*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do
                files += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        return files;
    }

    // Ctrl+S with the program in front.
    void PressCtrlS() const
    {
        ASSERT_TRUE(qmtest::BringToForeground(Main()));
        qmtest::SendChord({VK_CONTROL, 'S'});
    }

    bool m_marks = false;
};

TEST_F(HexTest, BinaryFileOpensInTheHexViewAndCtrlSSavesTheEditByteExact)
{
    const std::string original = BinaryBytes();
    std::string path = WriteFile("data.bin", original);
    std::string expected;
    HWND grid = OpenAndEdit(path, original, expected);
    ASSERT_TRUE(grid);
    PressCtrlS();
    std::string got = WaitForFile(path, expected);
    EXPECT_EQ(e2e::Hex(got), e2e::Hex(expected));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return SendMessageA(grid, kBgmIsModified, 0, 0) == 0; }, 5000));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !AnyCaptionContains("data.bin*"); }, 5000)) << CaptionList();
    EXPECT_TRUE(AnyCaptionContains("data.bin")) << CaptionList();
    if (!m_marks)
        std::cout << "note: the title of a changed hex document carries no modified mark\n";
    // No temporary file is left beside the saved one.
    EXPECT_EQ(FilesInWork(), 1);
    ASSERT_TRUE(Close());
    EXPECT_EQ(e2e::Hex(qmtest::ReadWholeFile(path)), e2e::Hex(expected));
}

// A binary file whose name and folder the legacy code page cannot spell.
TEST_F(HexTest, BinaryFileNamedInAnyLanguageOpensEditsAndSaves)
{
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the test program's manifest sets the UTF-8 code page";
    const std::string folder = File("\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string name = "\xCE\xB4\xCE\xB5\xCE\xB4\xCE\xBF\xCE\xBC\xCE\xAD\xCE\xBD\xCE\xB1 \xF0\x9F\x98\x80.bin";
    const std::string original = BinaryBytes();
    const std::string path = folder + "\\" + name;
    ASSERT_TRUE(qmtest::WriteWholeFile(path, original));
    std::string expected;
    HWND grid = OpenAndEdit(path, original, expected);
    ASSERT_TRUE(grid);
    EXPECT_TRUE(AnyCaptionContains(name)) << CaptionList();
    PressCtrlS();
    EXPECT_EQ(e2e::Hex(WaitForFile(path, expected)), e2e::Hex(expected));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return SendMessageA(grid, kBgmIsModified, 0, 0) == 0; }, 5000));
    ASSERT_TRUE(Close());
}

// F3 in the Hex Find dialog searches, as its Find button does: the dialog
// takes the key from the keyboard shortcuts the editor's command bars use.
TEST_F(HexTest, F3InTheHexFindDialogFindsTheNextMatch)
{
    const std::string original = BinaryBytes();
    std::string path = WriteFile("data.bin", original);
    ASSERT_TRUE(Start("\"" + path + "\""));
    HWND grid = WaitForVisible("BytegridWin");
    ASSERT_TRUE(grid) << "the binary file opened in no hex window";
    PostCommand(kCmdEditFind);
    HWND dlg = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] { return (dlg = m_prog.FindOtherWindow("#32770")) != nullptr && qmtest::WindowTextOf(dlg) == "Hex Find"; },
        10000))
        << "Ctrl+F opened no Hex Find dialog";
    HWND box = GetDlgItem(dlg, kHexFindText);
    ASSERT_TRUE(box);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("E4 09 2E"));
    SendMessageA(grid, kBgmSetPosition, 0, 0);
    ASSERT_EQ(SendMessageA(grid, kBgmGetSelStart, 0, 0), 0);

    // The key goes to the dialog's find box, as when the user types there.
    ASSERT_TRUE(qmtest::BringToForeground(dlg));
    PostMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof(gti);
            return GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gti) && gti.hwndFocus &&
                   (gti.hwndFocus == box || GetParent(gti.hwndFocus) == box);
        },
        5000))
        << "the find box has no focus";
    qmtest::SendChord({VK_F3});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return SendMessageA(grid, kBgmGetSelStart, 0, 0) == 20; }, 5000))
        << "F3 found nothing: the selection starts at " << SendMessageA(grid, kBgmGetSelStart, 0, 0);
    for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
        EXPECT_FALSE(h != dlg && qmtest::WindowClassOf(h) == "#32770") << "a message: " << DialogText(h);
    Click(dlg, IDCANCEL);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000));
    ASSERT_TRUE(Close());
}

struct FailedSaveCase {
    const char* name;
    bool readOnly; // else another program holds the file open
    bool asksName; // a read-only file is saved under another name: the Save As dialog
};

void PrintTo(const FailedSaveCase& c, std::ostream* os) { *os << c.name; }

class HexFailedSaveTest : public HexTest, public ::testing::WithParamInterface<FailedSaveCase> {
};

TEST_P(HexFailedSaveTest, SaveThatCannotWriteKeepsFileAndChanges)
{
    const FailedSaveCase& c = GetParam();
    const std::string original = BinaryBytes();
    std::string path = WriteFile("data.bin", original);
    std::string expected;
    HWND grid = OpenAndEdit(path, original, expected);
    ASSERT_TRUE(grid);

    HANDLE lock = INVALID_HANDLE_VALUE;
    if (c.readOnly) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    } else {
        // Another program reads the file and lets no one write, rename or
        // delete it.
        lock = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE) << GetLastError();
    }
    PressCtrlS();
    HWND box = WaitForDialog();
    ASSERT_TRUE(box) << (c.asksName ? "no Save As dialog for the read-only file" : "no message about the failed save");
    if (c.asksName) {
        EXPECT_TRUE(qmtest::FirstDescendantOfClass(box, "ComboBox") || qmtest::FirstDescendantOfClass(box, "Edit"))
            << "not a file dialog: " << DialogText(box);
        Click(box, IDCANCEL);
        EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000));
    } else {
        std::string said = Dismiss(box);
        EXPECT_NE(said.find("data.bin"), std::string::npos) << said;
    }
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(e2e::Hex(qmtest::ReadWholeFile(path)), e2e::Hex(original));
    EXPECT_EQ(FilesInWork(), 1) << "the failed save left a file behind";
    EXPECT_NE(SendMessageA(grid, kBgmIsModified, 0, 0), 0);
    if (m_marks) {
        EXPECT_TRUE(AnyCaptionContains("data.bin*")) << CaptionList();
    }
    EXPECT_TRUE(AnyCaptionContains("data.bin")) << CaptionList();

    // With the obstacle gone the same document saves.
    PressCtrlS();
    EXPECT_EQ(e2e::Hex(WaitForFile(path, expected)), e2e::Hex(expected));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return SendMessageA(grid, kBgmIsModified, 0, 0) == 0; }, 5000));
    ASSERT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(E2E, HexFailedSaveTest,
                         ::testing::Values(FailedSaveCase{"read_only", true, true},
                                           FailedSaveCase{"locked", false, false}),
                         [](const ::testing::TestParamInfo<FailedSaveCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// The web preview: one preview frame per text frame, reused.

TEST_F(DocsTest, PreviewTwiceKeepsOnePreviewFrame)
{
    const std::string text = "<html><body><p>Hello</p></body></html>\r\n";
    std::string path = WriteFile("page.html", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    qmtest::RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    HWND textFrame = ChildFrameOf(ed.Handle());
    ASSERT_TRUE(textFrame);
    HWND client = GetParent(textFrame);

    // Preview frames: the child frames without an editing window.
    auto previews = [&] {
        std::vector<HWND> out;
        for (HWND f : MdiChildren(Main()))
            if (!qmtest::FirstDescendantOfClass(f, "Scintilla"))
                out.push_back(f);
        return out;
    };
    ASSERT_TRUE(previews().empty());

    PostCommand(kCmdPreviewInBrowser);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !previews().empty(); }, 8000))
        << "Qmate.exe opened no preview frame; windows: " << CaptionList();
    HWND preview = previews().front();

    // Back to the text frame, preview again: the same frame comes to the front.
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(textFrame), 0);
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] { return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) == textFrame; }, 5000));
    PostCommand(kCmdPreviewInBrowser);
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] { return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) == preview; }, 8000))
        << "the preview frame did not come to the front; windows: " << CaptionList();
    qmtest::WaitUntil([&] { return previews().size() > 1; }, 1500);
    std::vector<HWND> now = previews();
    ASSERT_EQ(now.size(), 1u) << CaptionList();
    EXPECT_EQ(now.front(), preview);
    EXPECT_EQ(MdiChildren(Main()).size(), 2u) << CaptionList();
    ASSERT_TRUE(Close());
}

} // namespace
