// Files and folders named in any language, in the running program: opened
// from the command line, handed over by the Explorer extension, typed into
// and saved byte-exact, saved under a new name, remembered across a restart
// and reopened from the recent-file list, copied into a backup folder; and
// the legacy ANSI files, whose letters come from the system's code page.
//
// The names hold Japanese, Greek and a character outside the basic plane
// (U+1F600), in a folder whose name holds them too. This test program runs
// with the UTF-8 code page, as the editor does, so its A functions spell them.
#include "qmate_fixture.h"

#include <fx/codepage.h>
#include <qmtest/anylanguage.h>
#include <qmtest/dropdata.h>

#include "qmateshell_ids.h"

#include <shlobj.h>

namespace {

using e2e::QmateTest;
using e2e::RecentEntry;
using e2e::RemoteScintilla;

// UTF-8 names.
const char kFolder[] = "\xE6\x97\xA5\xE6\x9C\xAC \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80";
const char kJapanese[] = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.cpp";                          // 日本語.cpp
const char kGreek[] = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.txt"; // Ελληνικά.txt
const char kSmile[] = "\xF0\x9F\x98\x80 smile.txt";                                           // 😀 smile.txt

enum : UINT {
    kSciDocumentEnd = 2318
};


std::string Utf16Le(const std::wstring& text)
{
    std::string out;
    for (wchar_t ch : text) {
        out += static_cast<char>(ch & 0xFF);
        out += static_cast<char>((ch >> 8) & 0xFF);
    }
    return out;
}

class NamesTest : public QmateTest {
protected:
    void SetUp() override
    {
        QmateTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the test program's manifest sets the UTF-8 code page";
        m_folder = File(kFolder);
        ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr)) << m_folder;
    }

    std::string InFolder(const std::string& name) const { return m_folder + "\\" + name; }

    std::string Put(const std::string& name, const std::string& bytes) const
    {
        std::string path = InFolder(name);
        EXPECT_TRUE(qmtest::WriteWholeFile(path, bytes)) << path;
        return path;
    }

    // Types text at the end of the document, as the user would.
    bool TypeAtEnd(const RemoteScintilla& ed, const std::wstring& text) const
    {
        if (!FocusEditor(ed))
            return false;
        ed.Send(kSciDocumentEnd);
        qmtest::TypeText(text);
        return true;
    }

    void PressCtrlS() const
    {
        ASSERT_TRUE(qmtest::BringToForeground(Main()));
        qmtest::SendChord({VK_CONTROL, 'S'});
    }

    std::string m_folder;
};

// ---------------------------------------------------------------------------
// The command line, typing and saving.

struct NamedFile {
    const char* what;
    const char* name;
    std::string bytes;  // the file on disk
    std::string text;   // what the editor shows (UTF-8)
    std::wstring typed; // typed at the end
    std::string added;  // the typed text as the file holds it
};

TEST_F(NamesTest, CommandLineOpensEachNameAndSavingWritesItByteExact)
{
    const NamedFile files[] = {
        {"Japanese, UTF-8 with a mark", kJapanese, "\xEF\xBB\xBFint main() { return 0; }\r\n",
         "int main() { return 0; }\r\n", L"// \u00e9", "// \xC3\xA9"},
        {"Greek, UTF-16", kGreek, "\xFF\xFE" + Utf16Le(L"\u03b1\u03b2\u03b3\r\n"), "\xCE\xB1\xCE\xB2\xCE\xB3\r\n",
         L"\u00e9", Utf16Le(L"\u00e9")},
        {"outside the basic plane, ANSI", kSmile, "plain text\r\n", "plain text\r\n", L"ok", "ok"},
    };
    for (const NamedFile& f : files) {
        SCOPED_TRACE(f.what);
        const std::string path = Put(f.name, f.bytes);
        ASSERT_TRUE(Start("\"" + path + "\""));
        RemoteScintilla ed = EditorHolding(f.text);
        E2E_REQUIRE_EDITOR(ed);
        // The title shows the name whole.
        EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains(f.name); }, 5000)) << CaptionList();
        EXPECT_FALSE(AnyCaptionContains("?")) << CaptionList();

        ASSERT_TRUE(TypeAtEnd(ed, f.typed));
        EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains(std::string(f.name) + "*"); }, 5000))
            << CaptionList();
        PressCtrlS();
        const std::string expected = f.bytes + f.added;
        EXPECT_EQ(e2e::Hex(WaitForFile(path, expected)), e2e::Hex(expected));
        EXPECT_TRUE(qmtest::WaitUntil([&] { return !AnyCaptionContains("*"); }, 5000)) << CaptionList();
        ASSERT_TRUE(Close());
        // Nothing was left beside the file: no temporary file, no short-name copy.
        WIN32_FIND_DATAA fd;
        int count = 0;
        HANDLE h = FindFirstFileA((m_folder + "\\*").c_str(), &fd);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        do
            count += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        while (FindNextFileA(h, &fd));
        FindClose(h);
        EXPECT_EQ(count, static_cast<int>(&f - files) + 1);
        qmtest::DeleteRegistryTree(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
    }
}

// ---------------------------------------------------------------------------
// Letters beyond the keyboard's code page, typed into a document and into the
// find boxes.

using qmtest::kTypedUtf16;
using qmtest::kTypedUtf8;

// Gives the focus to a control of the program, as a click into it does.
bool ClickToFocus(HWND top, HWND control)
{
    if (!qmtest::BringToForeground(top))
        return false;
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    return qmtest::WaitUntil(
        [&] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof(gti);
            return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &gti) && gti.hwndFocus == control;
        },
        5000);
}

TEST_F(NamesTest, LettersOfAnyLanguageTypedIntoTheDocumentAndTheFindBoxes)
{
    const std::string text = "first line\r\n";
    const std::string path = Put(kJapanese, "\xEF\xBB\xBF" + text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);

    // Into the document: the text holds the letters whole, and so does the file.
    ASSERT_TRUE(TypeAtEnd(ed, kTypedUtf16));
    const std::string typed = text + kTypedUtf8;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == typed; }, 5000));
    EXPECT_EQ(e2e::Hex(ed.Text()), e2e::Hex(typed));
    PressCtrlS();
    EXPECT_EQ(e2e::Hex(WaitForFile(path, "\xEF\xBB\xBF" + typed)), e2e::Hex("\xEF\xBB\xBF" + typed));

    // Into the Find dialog's box; Find Next then finds the letters typed.
    enum : UINT {
        kCmdFind = 57636,
        kFindWhat = 1018,
        kFindNext = 5080,
        kSciGetSelText = 2161
    };
    ed.Send(2160 /* SCI_SETSEL */, 0, 0);
    PostCommand(kCmdFind);
    HWND find = WaitDialog("Find");
    ASSERT_TRUE(find) << "no Find dialog";
    HWND findBox = GetDlgItem(find, kFindWhat);
    HWND findEdit = GetWindow(findBox, GW_CHILD);
    ASSERT_TRUE(findEdit);
    ASSERT_TRUE(ClickToFocus(find, findEdit));
    SendMessageA(findEdit, EM_SETSEL, 0, -1);
    qmtest::TypeText(kTypedUtf16);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return qmtest::WindowTextOf(findBox) == kTypedUtf8; }, 5000));
    EXPECT_EQ(e2e::Hex(qmtest::WindowTextOf(findBox)), e2e::Hex(kTypedUtf8));
    PostMessageA(find, WM_COMMAND, MAKEWPARAM(kFindNext, BN_CLICKED), (LPARAM)GetDlgItem(find, kFindNext));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return qmtest::SendForText(ed.Handle(), kSciGetSelText, 0, 256) == kTypedUtf8; },
                                  5000))
        << e2e::Hex(qmtest::SendForText(ed.Handle(), kSciGetSelText, 0, 256));
    PostMessageA(find, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(find, IDCANCEL));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(find); }, 5000));

    // Into the find box on the toolbar.
    HWND box = nullptr;
    for (HWND h : qmtest::DescendantsOfClass(Main(), "ComboBox"))
        if (GetDlgCtrlID(h) == 5000)
            box = h;
    ASSERT_TRUE(box) << "no find box on the toolbar";
    HWND boxEdit = GetWindow(box, GW_CHILD);
    ASSERT_TRUE(ClickToFocus(Main(), boxEdit));
    SendMessageA(boxEdit, EM_SETSEL, 0, -1);
    qmtest::TypeText(kTypedUtf16);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return qmtest::WindowTextOf(box) == kTypedUtf8; }, 5000));
    EXPECT_EQ(e2e::Hex(qmtest::WindowTextOf(box)), e2e::Hex(kTypedUtf8));
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// Save As, the recent-file list and the files remembered at exit.

TEST_F(NamesTest, SaveAsToANewNameAndTheListsKeepTheNamesAcrossARestart)
{
    const std::string text = "// first\r\n";
    const std::string first = Put(kJapanese, "\xEF\xBB\xBF" + text);
    const std::string renamed = InFolder(std::string("\xCE\xBD\xCE\xAD\xCE\xBF \xF0\x9F\x98\x80.txt")); // νέο 😀.txt
    ASSERT_TRUE(Start("\"" + first + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding(text));

    PostCommand(e2e::kCmdFileSaveAs);
    std::string why;
    ASSERT_TRUE(DriveSaveDialog(renamed, e2e::kUtf8, e2e::kCrLf, why)) << why;
    EXPECT_EQ(e2e::Hex(WaitForFile(renamed, "\xEF\xBB\xBF" + text)), e2e::Hex("\xEF\xBB\xBF" + text));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("\xCE\xBD\xCE\xAD\xCE\xBF \xF0\x9F\x98\x80.txt"); },
                                  5000))
        << CaptionList();
    EXPECT_EQ(e2e::Hex(qmtest::ReadWholeFile(first)), e2e::Hex("\xEF\xBB\xBF" + text)) << "the first file changed";
    ASSERT_TRUE(Close());

    // Newest first, both whole.
    EXPECT_EQ(e2e::Lower(RecentEntry(1)), e2e::Lower(renamed));
    EXPECT_EQ(e2e::Lower(RecentEntry(2)), e2e::Lower(first));
    // The open file is remembered for the next start, and comes back.
    std::vector<std::string> remembered = qmtest::RegistryValueNames(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
    ASSERT_EQ(remembered.size(), 1u);
    EXPECT_EQ(e2e::Lower(remembered[0]), e2e::Lower(renamed));
    ASSERT_TRUE(Start());
    E2E_REQUIRE_EDITOR(EditorHolding(text));
    EXPECT_TRUE(AnyCaptionContains("\xCE\xBD\xCE\xAD\xCE\xBF \xF0\x9F\x98\x80.txt")) << CaptionList();

    // The older entry of the File menu opens the first file.
    ASSERT_TRUE(qmtest::BringToForeground(Main()));
    qmtest::SendChord({VK_MENU});
    Sleep(300);
    qmtest::SendChord({'F'});
    HWND popup = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (popup = m_prog.FindOtherWindow("QXPPopupBar")) != nullptr; }, 10000))
        << "Alt+F opened no menu";
    qmtest::SendChord({'2'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains(kJapanese); }, 20000)) << CaptionList();
    EXPECT_EQ(Editors().size(), 2u) << CaptionList();
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// The Explorer extension's hand-over: FilesToOpen and the wake-up message.

TEST_F(NamesTest, FilesHandedOverByTheExplorerExtensionOpenWithTheirNames)
{
    const std::string a = Put(kGreek, "greek\r\n");
    const std::string b = Put(kSmile, "smile\r\n");
    ASSERT_TRUE(Start());
    // The editor wrote where it is; the extension finds it running.
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            DWORD type = 0;
            std::vector<BYTE> data;
            return qmtest::ReadRegistryValue(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, type, data);
        },
        10000));

    HMODULE shell = LoadLibraryA(QM_BIN_DIR "/QmateShell.dll");
    ASSERT_TRUE(shell) << "QmateShell.dll did not load";
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(shell, "DllGetClassObject")));
    ASSERT_TRUE(getClassObject);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(CLSID_QmateShellLoad, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IShellExtInit* init = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    factory->Release();
    // Explorer's drop list holds UTF-16 names.
    qmtest::DropData data({a, b}, true);
    EXPECT_EQ(init->Initialize(nullptr, &data, nullptr), S_OK);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    HMENU popup = CreatePopupMenu();
    menu->QueryContextMenu(popup, 0, 100, 110, CMF_NORMAL);
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = MAKEINTRESOURCEA(0);
    info.nShow = SW_SHOWNORMAL;
    EXPECT_EQ(menu->InvokeCommand(&info), S_OK);
    DestroyMenu(popup);
    menu->Release();
    init->Release();

    EXPECT_TRUE(EditorHolding("greek\r\n"));
    EXPECT_TRUE(EditorHolding("smile\r\n"));
    EXPECT_TRUE(AnyCaptionContains(kGreek)) << CaptionList();
    EXPECT_TRUE(AnyCaptionContains(kSmile)) << CaptionList();
    // The editor read the list and deleted it.
    EXPECT_TRUE(qmtest::WaitUntil([] { return !qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN); },
                                  10000));
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------
// Backups.

TEST_F(NamesTest, SavingCopiesTheFileIntoABackupFolderNamedInAnyLanguage)
{
    const std::string backups = InFolder("\xE3\x83\x90\xE3\x83\x83\xE3\x82\xAF\xE3\x82\xA2\xE3\x83\x83\xE3\x83\x97");
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, "BackupFolder", backups));
    const std::string original = "version one\r\n";
    const std::string path = Put(kJapanese, original);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(original);
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(TypeAtEnd(ed, L"two"));
    PressCtrlS();
    EXPECT_EQ(WaitForFile(path, original + "two"), original + "two");
    ASSERT_TRUE(Close());

    // The store keeps one numbered folder per document, one numbered copy
    // of the file as it was before the save.
    std::vector<std::string> copies;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((backups + "\\*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "no backup folder " << backups;
    do {
        std::string sub = fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || sub == "." || sub == "..")
            continue;
        WIN32_FIND_DATAA inner;
        HANDLE hi = FindFirstFileA((backups + "\\" + sub + "\\*").c_str(), &inner);
        if (hi == INVALID_HANDLE_VALUE)
            continue;
        do
            if (!(inner.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                copies.push_back(backups + "\\" + sub + "\\" + inner.cFileName);
        while (FindNextFileA(hi, &inner));
        FindClose(hi);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(qmtest::ReadWholeFile(copies[0]), original);
}

// ---------------------------------------------------------------------------
// Legacy ANSI files and UTF-8 files without a mark.

TEST_F(NamesTest, LegacyAnsiFileShowsItsLettersAndSavesBackByteExact)
{
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the fixture's";
    // Windows-1252 bytes "café", and a letter typed at the end.
    const std::string path = Put("caf\xC3\xA9 ansi.txt", "caf\xE9\r\n");
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding("caf\xC3\xA9\r\n");
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(TypeAtEnd(ed, L"\u00e9"));
    PressCtrlS();
    EXPECT_EQ(e2e::Hex(WaitForFile(path, "caf\xE9\r\n\xE9")), e2e::Hex("caf\xE9\r\n\xE9"));
    ASSERT_TRUE(Close());
    qmtest::DeleteRegistryTree(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);

    // UTF-8 without a mark is still found by its content and kept as it is.
    const std::string utf8 = Put("utf8.txt", "na\xC3\xAFve caf\xC3\xA9 \xE6\x97\xA5\r\n");
    ASSERT_TRUE(Start("\"" + utf8 + "\""));
    ed = EditorHolding("na\xC3\xAFve caf\xC3\xA9 \xE6\x97\xA5\r\n");
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(TypeAtEnd(ed, L"\u00e9"));
    PressCtrlS();
    const std::string expected = "na\xC3\xAFve caf\xC3\xA9 \xE6\x97\xA5\r\n\xC3\xA9";
    EXPECT_EQ(e2e::Hex(WaitForFile(utf8, expected)), e2e::Hex(expected));
    ASSERT_TRUE(Close());
}

} // namespace
