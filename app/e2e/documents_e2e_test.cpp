// Text documents of the running editor: opening from the command line and
// from the Explorer hand-over, colouring by language, typing and saving in
// every encoding and line ending, Save As, titles and split panes.
#include "qmate_fixture.h"

#include <fx/codepage.h>

namespace {

using e2e::QmateTest;
using qmtest::RemoteScintilla;

// Editing-component messages and the C++ lexer's style numbers.
enum : UINT {
    kSciColourise = 4003
};
enum {
    kStyleDefault = 0,
    kStyleLineComment = 2,
    kStyleKeyword = 5,
    kStyleIdentifier = 11
};

// Forces the lexer over the whole text, then reads the style at a position.
int StyleAt(const RemoteScintilla& ed, LRESULT pos)
{
    ed.Send(kSciColourise, 0, static_cast<LPARAM>(-1));
    return ed.StyleAt(pos);
}

LRESULT Pos(const std::string& text, const char* what)
{
    size_t p = text.find(what);
    EXPECT_NE(p, std::string::npos) << what;
    return static_cast<LRESULT>(p);
}

// ---------------------------------------------------------------------------

struct LanguageCase {
    const char* file;
    int keywordStyle; // style of "int"
    int commentStyle; // style of "// done"
    int identStyle;   // style of "main"
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.file; }

class LanguageTest : public QmateTest, public ::testing::WithParamInterface<LanguageCase> {
};

TEST_P(LanguageTest, FileOnTheCommandLineOpensColouredByItsLanguage)
{
    const LanguageCase& c = GetParam();
    const std::string text = "int main()\r\n{\r\n    return 0; // done\r\n}\r\n";
    std::string path = WriteFile(c.file, text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return StyleAt(ed, 0) == c.keywordStyle; }, 5000));
    EXPECT_EQ(StyleAt(ed, 0), c.keywordStyle);
    EXPECT_EQ(StyleAt(ed, Pos(text, "return")), c.keywordStyle);
    EXPECT_EQ(StyleAt(ed, Pos(text, "// done")), c.commentStyle);
    EXPECT_EQ(StyleAt(ed, Pos(text, "main")), c.identStyle);
    EXPECT_FALSE(ed.Modified());
    EXPECT_TRUE(AnyCaptionContains(c.file)) << CaptionList();
    ASSERT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(E2E, LanguageTest,
                         ::testing::Values(LanguageCase{"hello.cpp", kStyleKeyword, kStyleLineComment, kStyleIdentifier},
                                           LanguageCase{"hello.txt", kStyleDefault, kStyleDefault, kStyleDefault},
                                           LanguageCase{"name with spaces.h", kStyleKeyword, kStyleLineComment,
                                                        kStyleIdentifier}),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                             std::string n = info.param.file;
                             for (char& ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

// ---------------------------------------------------------------------------
// Typing into a new document and saving it: the bytes on disk.

struct SaveCase {
    const char* name;
    int encoding;
    int lineEnding;
};

// The typed text as the file must hold it.
std::string Expected(const SaveCase& c, const std::wstring& text)
{
    std::wstring eol = c.lineEnding == e2e::kLf ? L"\n" : c.lineEnding == e2e::kCr ? L"\r"
                                                                                   : L"\r\n";
    std::wstring w;
    for (wchar_t ch : text) {
        if (ch == L'\n')
            w += eol;
        else
            w += ch;
    }
    std::string out;
    auto narrow = [&](UINT cp) {
        int n = WideCharToMultiByte(cp, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(cp, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
        return s;
    };
    switch (c.encoding) {
    case e2e::kUtf8:
        out = "\xEF\xBB\xBF" + narrow(CP_UTF8);
        break;
    case e2e::kUtf16Le:
    case e2e::kUtf16Be: {
        bool be = c.encoding == e2e::kUtf16Be;
        out = be ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t ch : w) {
            char lo = static_cast<char>(ch & 0xFF), hi = static_cast<char>((ch >> 8) & 0xFF);
            out += be ? hi : lo;
            out += be ? lo : hi;
        }
        break;
    }
    default:
        // ANSI: the system's legacy code page.
        out = narrow(fx::LegacyAnsiCodePage());
        break;
    }
    return out;
}

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SaveTest : public QmateTest, public ::testing::WithParamInterface<SaveCase> {
};

TEST_P(SaveTest, TypedTextAndCtrlSWriteTheChosenEncodingAndLineEnding)
{
    const SaveCase& c = GetParam();
    const std::wstring typed = L"alpha\nbeta caf\u00e9\n";
    ASSERT_TRUE(Start());
    // The empty document of a plain start.
    RemoteScintilla ed = EditorHolding("");
    E2E_REQUIRE_EDITOR(ed);

    std::string path = File(std::string("saved-") + c.name + ".txt");
    PostCommand(e2e::kCmdFileSaveAs);
    std::string why;
    ASSERT_TRUE(DriveSaveDialog(path, c.encoding, c.lineEnding, why)) << why;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000))
        << "Save As wrote no file";

    ASSERT_TRUE(FocusEditor(ed)) << "the editing window did not get the keyboard focus";
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(typed);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text().find("beta caf") != std::string::npos && ed.Modified(); },
                                  10000))
        << "the typed text did not arrive: [" << ed.Text() << "]";
    Sleep(200); // the last key strokes
    qmtest::SendChord({VK_CONTROL, 'S'});
    std::string expected = Expected(c, typed);
    std::string got = WaitForFile(path, expected);
    EXPECT_EQ(e2e::Hex(got), e2e::Hex(expected));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !ed.Modified(); }, 5000));
    ASSERT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(E2E, SaveTest,
                         ::testing::Values(SaveCase{"utf8_crlf", e2e::kUtf8, e2e::kCrLf},
                                           SaveCase{"utf8_lf", e2e::kUtf8, e2e::kLf},
                                           SaveCase{"utf16le_crlf", e2e::kUtf16Le, e2e::kCrLf},
                                           SaveCase{"utf16le_lf", e2e::kUtf16Le, e2e::kLf},
                                           SaveCase{"utf16be_crlf", e2e::kUtf16Be, e2e::kCrLf},
                                           SaveCase{"utf16be_lf", e2e::kUtf16Be, e2e::kLf},
                                           SaveCase{"ansi_crlf", e2e::kAnsi, e2e::kCrLf},
                                           SaveCase{"ansi_lf", e2e::kAnsi, e2e::kLf}),
                         [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

// A file opened in its own encoding keeps it when saved: the mark comes
// back once, the typed text is encoded like the rest.
struct RoundTripCase {
    const char* name;
    std::string file;  // the bytes on disk
    std::string shown; // what the editing window holds
    std::string saved; // the bytes after typing "\u00e9!" at the end and Ctrl+S
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

// The bytes of a string literal, embedded zeros included.
template <size_t N>
std::string Bytes(const char (&s)[N]) { return std::string(s, N - 1); }

const RoundTripCase kRoundTrips[] = {
    {"utf8_mark", Bytes("\xEF\xBB\xBF"
                        "caf\xC3\xA9\r\n"),
     Bytes("caf\xC3\xA9\r\n"),
     Bytes("\xEF\xBB\xBF"
           "caf\xC3\xA9\r\n\xC3\xA9!")},
    {"utf16le_mark", Bytes("\xFF\xFEh\0i\0\r\0\n\0"), Bytes("hi\r\n"),
     Bytes("\xFF\xFEh\0i\0\r\0\n\0\xE9\0!\0")},
    {"utf16be_mark", Bytes("\xFE\xFF\0h\0i\0\r\0\n"), Bytes("hi\r\n"),
     Bytes("\xFE\xFF\0h\0i\0\r\0\n\0\xE9\0!")},
    // No mark, not UTF-8: the system's legacy ANSI code page (1252 here),
    // shown as its letters and written back as its bytes.
    {"ansi", Bytes("caf\xE9\r\n"), Bytes("caf\xC3\xA9\r\n"), Bytes("caf\xE9\r\n\xE9!")},
};

class RoundTripTest : public QmateTest, public ::testing::WithParamInterface<RoundTripCase> {
};

TEST_P(RoundTripTest, OpenedFileKeepsItsEncodingWhenSaved)
{
    const RoundTripCase& c = GetParam();
    std::string path = WriteFile(std::string("roundtrip-") + c.name + ".txt", c.file);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(c.shown);
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"\u00e9!");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text().find('!') != std::string::npos; }, 10000));
    qmtest::SendChord({VK_CONTROL, 'S'});
    EXPECT_EQ(e2e::Hex(WaitForFile(path, c.saved)), e2e::Hex(c.saved));
    ASSERT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(E2E, RoundTripTest, ::testing::ValuesIn(kRoundTrips),
                         [](const ::testing::TestParamInfo<RoundTripCase>& info) {
                             return std::string(info.param.name);
                         });

// A file that holds binary data opens in the hex view, not as text.
TEST_F(QmateTest, BinaryFileOnTheCommandLineOpensInTheHexView)
{
    std::string bytes;
    for (int i = 0; i < 512; ++i)
        bytes += static_cast<char>(i * 7 % 256);
    std::string path = WriteFile("data.bin", bytes);
    ASSERT_TRUE(Start("\"" + path + "\""));
    HWND hex = nullptr;
    qmtest::WaitUntil([&] { return (hex = qmtest::FirstDescendantOfClass(Main(), "BytegridWin", true)) != nullptr; },
                      10000);
    EXPECT_TRUE(hex) << "the binary file did not open in a hex view";
    EXPECT_TRUE(Editors().empty()) << "the binary file opened as text";
    EXPECT_TRUE(AnyCaptionContains("data.bin")) << CaptionList();
    ASSERT_TRUE(Close());
    EXPECT_EQ(qmtest::ReadWholeFile(path), bytes);
}

// ---------------------------------------------------------------------------

TEST_F(QmateTest, SaveAsUnderAnotherExtensionChangesTheLanguage)
{
    const std::string text = "int x; // note\r\n";
    std::string path = WriteFile("notes.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_EQ(StyleAt(ed, 0), kStyleDefault);

    std::string target = File("notes.cpp");
    PostCommand(e2e::kCmdFileSaveAs);
    std::string why;
    ASSERT_TRUE(DriveSaveDialog(target, e2e::kAnsi, e2e::kCrLf, why)) << why;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return StyleAt(ed, 0) == kStyleKeyword; }, 5000))
        << "style of \"int\" after Save As: " << StyleAt(ed, 0);
    EXPECT_EQ(StyleAt(ed, Pos(text, "// note")), kStyleLineComment);
    EXPECT_EQ(WaitForFile(target, text), text);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("notes.cpp"); }, 5000)) << CaptionList();
    ASSERT_TRUE(Close());
}

TEST_F(QmateTest, ReadOnlyFileRefusesChangesUntilSavedUnderANewName)
{
    const std::string text = "locked\r\n";
    std::string path = WriteFile("locked.txt", text);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_TRUE(ed.ReadOnly());
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("locked.txt [Read Only]"); }, 5000))
        << CaptionList();
    ASSERT_TRUE(FocusEditor(ed));
    qmtest::TypeText(L"zz");
    Sleep(500);
    EXPECT_EQ(ed.Text(), text);
    EXPECT_FALSE(AnyCaptionContains("*")) << CaptionList();

    // Saved under a new name, the document can be changed again.
    std::string copy = File("unlocked.txt");
    PostCommand(e2e::kCmdFileSaveAs);
    std::string why;
    ASSERT_TRUE(DriveSaveDialog(copy, e2e::kAnsi, e2e::kCrLf, why)) << why;
    EXPECT_EQ(WaitForFile(copy, text), text);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !ed.ReadOnly(); }, 5000));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("unlocked.txt"); }, 5000)) << CaptionList();
    EXPECT_FALSE(AnyCaptionContains("[Read Only]")) << CaptionList();
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"ok");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == text + "ok"; }, 5000)) << ed.Text();
    qmtest::SendChord({VK_CONTROL, 'S'});
    EXPECT_EQ(WaitForFile(copy, text + "ok"), text + "ok");
    ASSERT_TRUE(Close());
    EXPECT_EQ(qmtest::ReadWholeFile(path), text);
}

TEST_F(QmateTest, ModifiedTitleGetsAStarThatSavingRemoves)
{
    const std::string text = "draft\r\n";
    std::string path = WriteFile("draft.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("draft.txt"); }, 5000)) << CaptionList();
    EXPECT_FALSE(AnyCaptionContains("draft.txt*")) << CaptionList();
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"more");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("draft.txt*"); }, 5000)) << CaptionList();
    qmtest::SendChord({VK_CONTROL, 'S'});
    EXPECT_EQ(WaitForFile(path, text + "more"), text + "more");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !AnyCaptionContains("draft.txt*"); }, 5000)) << CaptionList();
    EXPECT_TRUE(AnyCaptionContains("draft.txt")) << CaptionList();
    ASSERT_TRUE(Close());
}

TEST_F(QmateTest, SaveThatCannotCreateTheFileReportsItAndKeepsTheOriginal)
{
    // No backup copy first: the save itself is what fails here.
    ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, "Enabled", 0));
    const std::string text = "original\r\n";
    std::string path = WriteFile("guarded.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"changed");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Modified(); }, 5000));
    // Another program holds the file open and shares it with no one.
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    qmtest::SendChord({VK_CONTROL, 'S'});
    HWND box = nullptr;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (box = m_prog.FindOtherWindow("#32770")) != nullptr; }, 10000))
        << "no message about the failed save";
    if (box) {
        // Either the file could not be created, or the finished copy could
        // not replace it; the message says which.
        std::string said = DialogText(box);
        EXPECT_TRUE(said.find("Failed to create a new file when saving the current document") != std::string::npos ||
                    said.find("guarded.txt") != std::string::npos)
            << said;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
    }
    CloseHandle(lock);
    EXPECT_EQ(qmtest::ReadWholeFile(path), text);
    EXPECT_TRUE(ed.Modified());
    EXPECT_TRUE(AnyCaptionContains("guarded.txt*")) << CaptionList();
    ASSERT_TRUE(CloseDiscarding());
    EXPECT_EQ(qmtest::ReadWholeFile(path), text);
}

TEST_F(QmateTest, ClosingWithUnsavedChangesAsksAndCancelKeepsEverything)
{
    const std::string text = "unsaved\r\n";
    std::string path = WriteFile("unsaved.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"abc");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == text + "abc"; }, 5000)) << ed.Text();

    // Cancel: the program, the text and the file stay as they are.
    PostMessageA(Main(), WM_CLOSE, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (box = m_prog.FindOtherWindow("#32770")) != nullptr; }, 10000))
        << "no question before closing a modified document";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000));
    Sleep(500);
    EXPECT_TRUE(m_prog.Running());
    EXPECT_EQ(ed.Text(), text + "abc");
    EXPECT_TRUE(ed.Modified());
    EXPECT_EQ(qmtest::ReadWholeFile(path), text);

    // Yes: the document is saved, then the program ends.
    PostMessageA(Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (box = m_prog.FindOtherWindow("#32770")) != nullptr; }, 10000));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_TRUE(m_prog.WaitForExit(30000));
    EXPECT_EQ(qmtest::ReadWholeFile(path), text + "abc");
}

TEST_F(QmateTest, TwoSplitterPanesShareOneText)
{
    const std::string text = "shared\r\n";
    std::string path = WriteFile("split.txt", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla first = EditorHolding(text);
    E2E_REQUIRE_EDITOR(first);
    // The view hosts the editing window; the splitter hosts the view. A
    // double click on its split box (above the vertical scroll bar) splits.
    HWND splitter = GetParent(GetParent(first.Handle()));
    ASSERT_TRUE(splitter);
    ASSERT_TRUE(FindWindowExA(splitter, NULL, "ScrollBar", NULL))
        << "Qmate.exe's text frame makes its splitter without the shared scroll bars, so it has no split box and "
           "its views cannot be split from the window";
    RECT rc;
    GetClientRect(splitter, &rc);
    int x = rc.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
    PostMessageA(splitter, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, 3));
    PostMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(x, 3));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return Editors().size() == 2; }, 5000))
        << "editing windows after the split: " << Editors().size();
    RemoteScintilla second;
    for (HWND h : Editors())
        if (h != first.Handle())
            second = RemoteScintilla(h);
    EXPECT_EQ(second.DocPointer(), first.DocPointer());
    EXPECT_EQ(second.Text(), text);

    // Typing into the second pane changes what the first shows.
    ASSERT_TRUE(FocusEditor(second));
    second.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"typed below");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return first.Text() == text + "typed below"; }, 5000))
        << "first pane: [" << first.Text() << "]";
    // Leave without the save prompt.
    qmtest::SendChord({VK_CONTROL, 'S'});
    EXPECT_EQ(WaitForFile(path, text + "typed below"), text + "typed below");
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// The Explorer hand-over: paths under FilesToOpen, then message 0x501.

TEST_F(QmateTest, HandedOverFilesAreOpenedAndTheListDeleted)
{
    std::string a = WriteFile("handed-a.txt", "from explorer a\r\n");
    std::string b = WriteFile("handed-b.cpp", "int from_explorer_b;\r\n");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", a));
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "2", ""));
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "3", b));
    ASSERT_TRUE(PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0));
    RemoteScintilla edA = EditorHolding("from explorer a\r\n");
    E2E_REQUIRE_EDITOR(edA);
    RemoteScintilla edB = EditorHolding("int from_explorer_b;\r\n");
    ASSERT_TRUE(edB);
    EXPECT_EQ(StyleAt(edB, 0), kStyleKeyword);
    EXPECT_TRUE(qmtest::WaitUntil([] { return !qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN); },
                                  5000));
    // A path already open is activated, not opened twice.
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", a));
    size_t before = Editors().size();
    ASSERT_TRUE(PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0));
    EXPECT_TRUE(qmtest::WaitUntil([] { return !qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN); },
                                  5000));
    Sleep(300);
    EXPECT_EQ(Editors().size(), before);
    ASSERT_TRUE(Close());
}

TEST_F(QmateTest, HandedOverFilesWaitingAtStartReplaceTheEmptyDocument)
{
    std::string a = WriteFile("waiting.txt", "waiting\r\n");
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", a));
    ASSERT_TRUE(Start());
    E2E_REQUIRE_EDITOR(EditorHolding("waiting\r\n"));
    EXPECT_TRUE(qmtest::WaitUntil([] { return !qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN); },
                                  5000));
    EXPECT_EQ(Editors().size(), 1u);
    EXPECT_FALSE(AnyCaptionContains("Untitled")) << CaptionList();
    ASSERT_TRUE(Close());
}

// A long list of handed-over files that are all gone: one message that
// names the first ones, counts the rest and fits on the screen.
TEST_F(QmateTest, ManyMissingHandedOverFilesGiveAMessageThatFitsTheScreen)
{
    ASSERT_TRUE(Start());
    for (int i = 1; i <= 300; ++i)
        ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, std::to_string(i).c_str(),
                                                File("gone-" + std::to_string(i) + ".txt")));
    ASSERT_TRUE(PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0));
    HWND box = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (box = m_prog.FindOtherWindow("#32770")) != nullptr; }, 15000))
        << "no message about the missing files";
    std::string said = DialogText(box);
    EXPECT_NE(said.find("... and 290 more"), std::string::npos) << said;
    RECT rc;
    GetWindowRect(box, &rc);
    EXPECT_LE(rc.bottom - rc.top, GetSystemMetrics(SM_CYSCREEN)) << said;
    EXPECT_GE(rc.top, 0);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_FALSE(qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN));
    ASSERT_TRUE(Close());
}

// Files left for the next start (remember open files, or a hand-over while
// the editor was closed) must not swallow the file the editor is started
// with: both open, and no empty document.
TEST_F(QmateTest, ACommandLineFileOpensBesideTheWaitingFiles)
{
    std::string waiting = WriteFile("left-open.txt", "left open\r\n");
    std::string named = WriteFile("named.txt", "named on the command line\r\n");
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", waiting));
    ASSERT_TRUE(Start("\"" + named + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("left open\r\n"));
    EXPECT_TRUE(EditorHolding("named on the command line\r\n"));
    EXPECT_EQ(Editors().size(), 2u);
    EXPECT_FALSE(AnyCaptionContains("Untitled")) << CaptionList();
    ASSERT_TRUE(Close());
}

// The file the editor is started with may be one of the waiting files: it
// is shown once, and the editor starts.
TEST_F(QmateTest, ACommandLineFileThatIsAlsoWaitingOpensOnce)
{
    std::string both = WriteFile("both.txt", "waiting and named\r\n");
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", both));
    ASSERT_TRUE(Start("\"" + both + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("waiting and named\r\n"));
    EXPECT_EQ(Editors().size(), 1u);
    EXPECT_FALSE(AnyCaptionContains("Untitled")) << CaptionList();
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// Window > Document Tabs > Show Tabs and Hide Tabs, chosen from the menu bar
// with two cascaded documents: whichever of them the user works in stays
// the active one, with its caret where it was and the keyboard focus in its
// text; only the tabs come and go (showing them maximises that document).

// The MDI child frame that holds an editing window.
HWND ChildFrameOf(HWND editor)
{
    HWND h = editor;
    while (h && !(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_MDICHILD))
        h = GetParent(h);
    return h;
}

// The window with the keyboard focus in the thread of a window.
HWND FocusOfThreadOf(HWND hwnd)
{
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof(gti);
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gti) ? gti.hwndFocus : nullptr;
}

class DocumentTabsTest : public QmateTest {
protected:
    HWND Client() const { return qmtest::FirstDescendantOfClass(Main(), "MDIClient"); }
    HWND ActiveChild() const { return reinterpret_cast<HWND>(SendMessageA(Client(), WM_MDIGETACTIVE, 0, 0)); }
    bool TabsShown() const { return qmtest::FirstDescendantOfClass(Main(), "QXPTabWorkspace", true) != nullptr; }

    // Window (Alt, W), Document Tabs (B), then its first item, "Show Tabs"
    // or "Hide Tabs" (Down, Enter); true when the tabs then show as wanted
    // and the menus are closed.
    bool ToggleTabsFromTheMenu(bool bShow)
    {
        if (!OpenMenuFromKeyboard('W'))
            return false;
        qmtest::SendChord({'B'});
        // The submenu opens beside the Window menu.
        qmtest::WaitUntil([&] { return PopupCount() >= 2; }, 5000);
        qmtest::SendChord({VK_DOWN});
        qmtest::SendChord({VK_RETURN});
        return qmtest::WaitUntil([&] { return TabsShown() == bShow && PopupCount() == 0; }, 10000);
    }

    size_t PopupCount() const
    {
        size_t n = 0;
        for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
            if (qmtest::WindowClassOf(h) == "QXPPopupBar")
                ++n;
        return n;
    }
};

TEST_F(DocumentTabsTest, ShowingAndHidingTabsKeepsTheActiveDocumentCaretAndFocus)
{
    // Tabs off at start, as after a first start.
    ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, e2e::SettingsKey("GenSettings"), "MDITabsActive", 0));
    const std::string textA = "the first document\r\nits second line\r\n", textB = "the second document\r\n";
    std::string a = WriteFile("tabs-a.txt", textA), b = WriteFile("tabs-b.txt", textB);
    // Both wait for the start (no empty document beside them).
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", a));
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "2", b));
    ASSERT_TRUE(Start());
    RemoteScintilla edA = EditorHolding(textA);
    E2E_REQUIRE_EDITOR(edA);
    RemoteScintilla edB = EditorHolding(textB);
    ASSERT_TRUE(edB);
    ASSERT_FALSE(TabsShown());
    ASSERT_EQ(Editors().size(), 2u) << CaptionList();

    struct Case {
        const char* name;
        const RemoteScintilla& ed;
        LRESULT caret;
    } cases[] = {{"tabs-a.txt (below)", edA, 21}, {"tabs-b.txt (on top)", edB, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Two cascaded documents, neither maximised, arranged with the other
        // one of the pair active; then this one is made active and the user
        // clicks into its text.
        const HWND frame = ChildFrameOf(c.ed.Handle());
        const HWND other = ChildFrameOf((&c.ed == &edA ? edB : edA).Handle());
        ASSERT_TRUE(frame && other);
        BOOL zoomed = FALSE;
        if (HWND active = reinterpret_cast<HWND>(SendMessageA(Client(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed))); active && zoomed)
            SendMessageA(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(active), 0);
        SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(other), 0);
        SendMessageA(Client(), WM_MDICASCADE, 0, 0);
        ASSERT_FALSE(IsZoomed(frame) || IsZoomed(other));
        SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame), 0);
        ASSERT_TRUE(FocusEditor(c.ed)) << "the click gave the editing window no focus";
        ASSERT_EQ(ActiveChild(), frame);
        c.ed.Send(2025, static_cast<WPARAM>(c.caret)); // SCI_GOTOPOS
        ASSERT_EQ(c.ed.Send(RemoteScintilla::kGetCurrentPos), c.caret);

        for (bool show : {true, false}) {
            SCOPED_TRACE(show ? "Show Tabs" : "Hide Tabs");
            ASSERT_TRUE(ToggleTabsFromTheMenu(show)) << "the tabs did not " << (show ? "show" : "go");
            // Nothing the command left to do afterwards brings the other
            // document forward.
            EXPECT_FALSE(qmtest::WaitUntil([&] { return ActiveChild() != frame; }, 1000))
                << "active: \"" << qmtest::WindowTextOf(ActiveChild()) << "\"";
            if (show)
                EXPECT_TRUE(IsZoomed(frame)) << "the active document is maximised with the tabs";
            EXPECT_EQ(c.ed.Send(RemoteScintilla::kGetCurrentPos), c.caret);
            EXPECT_TRUE(qmtest::WaitUntil([&] { return FocusOfThreadOf(Main()) == c.ed.Handle(); }, 3000))
                << "focus on \"" << qmtest::WindowClassOf(FocusOfThreadOf(Main())) << "\"";
        }
    }
    ASSERT_TRUE(Close());
}

// File > Exit ends the editor like closing its window.
TEST_F(QmateTest, FileExitEndsTheEditor)
{
    ASSERT_TRUE(Start());
    const WPARAM kAppExit = 0xE141; // File > Exit
    ASSERT_TRUE(PostMessageA(Main(), WM_COMMAND, kAppExit, 0));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !m_prog.Running(); }, 20000));
}

} // namespace
