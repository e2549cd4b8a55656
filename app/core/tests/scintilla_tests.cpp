// The reader and writer against a real Scintilla window: loading files of
// every encoding into the component and saving them back, and macros
// recorded from the component and played back into it.
#include "coretest.h"
#include "apphelpers.h"
#include "encoding.h"
#include "macros.h"
#include "scitext.h"

#include <gmock/gmock.h>

using coretest::FixturePath;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

CMacroStore* g_recorder = NULL;

// The parent receives the component's notifications, as a view would.
LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY) {
        const SCNotification* scn = reinterpret_cast<const SCNotification*>(lParam);
        if (scn->nmhdr.code == SCN_MACRORECORD && g_recorder)
            g_recorder->AddStep(scn->message, scn->wParam, scn->lParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class ScintillaWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_module = LoadLibraryA("scilexer.dll");
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QmCoreTestParent";
        RegisterClassA(&wc);
    }
    static void TearDownTestSuite()
    {
        if (s_module)
            FreeLibrary(s_module);
    }

    void SetUp() override
    {
        ASSERT_NE(s_module, (HMODULE)NULL) << "scilexer.dll must be in the bin folder";
        parent = CreateWindowA("QmCoreTestParent", "core test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
        ASSERT_NE(parent, (HWND)NULL);
        sci = CreateWindowExA(0, "Scintilla", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, parent, (HMENU)1,
                              GetModuleHandleA(NULL), NULL);
        ASSERT_NE(sci, (HWND)NULL);
        text.reset(new CScintillaText(sci));
        ASSERT_TRUE(text->IsValid());
    }
    void TearDown() override
    {
        text.reset();
        if (parent)
            DestroyWindow(parent);
    }

    // Loads a file the way the text document does.
    TextIoResult Load(const std::string& path, int encoding, int mark)
    {
        TextFile file;
        if (!file.Open(path.c_str()))
            return TEXTIO_OPEN_FAILED;
        text->Call(SCI_ALLOCATE, (uptr_t)file.GetSize() + 1000);
        text->Call(SCI_BEGINUNDOACTION);
        text->Call(SCI_CLEARALL);
        text->ExpectLines(file.EstimateLineFeeds());
        TextIoResult r = ReadAllText(file, encoding, mark, *text);
        file.Close();
        if (encoding != ENC_ANSI)
            text->Call(SCI_SETCODEPAGE, SC_CP_UTF8);
        text->Call(SCI_ENDUNDOACTION);
        text->Call(SCI_EMPTYUNDOBUFFER);
        text->Call(SCI_SETSAVEPOINT);
        return r;
    }

    std::string Contents()
    {
        const LONG_PTR n = text->GetLength();
        std::string s((size_t)n + 1, '\0');
        text->GetTextRange(0, n, &s[0]);
        s.resize((size_t)n);
        return s;
    }

    static HMODULE s_module;
    HWND parent = NULL;
    HWND sci = NULL;
    std::unique_ptr<CScintillaText> text;
};

HMODULE ScintillaWindow::s_module = NULL;

} // namespace

TEST_F(ScintillaWindow, FixturesLoadAndSaveByteExact)
{
    const char* files[] = {"utf8-bom-crlf.txt", "utf8-nobom-lf.txt", "utf16le-bom-cr.txt",
                           "utf16be-bom-crlf.txt", "utf16le-nobom-lf.txt", "ansi-crlf.txt"};
    for (const char* name : files) {
        const std::string path = FixturePath(std::string("text/") + name);
        FileHeadDetector detector;
        ASSERT_EQ(detector.ReadFile(path.c_str()), 1);
        int encoding = detector.GetCode(), mark = detector.GetMarkLength();
        NormalizeLoadEncoding(encoding, mark);
        ASSERT_EQ(Load(path, encoding, mark), TEXTIO_OK) << name;

        qmtest::TempDir temp;
        const std::string copy = temp.Path(name);
        WriteBytes(copy, ReadBytes(path));
        TextFile file;
        ASSERT_EQ(SaveText(file, copy.c_str(), encoding, mark > 0, *text), TEXTIO_OK) << name;
        EXPECT_EQ(ReadBytes(copy), ReadBytes(path)) << name;
    }
}

TEST_F(ScintillaWindow, LargeFilesAcrossPiecesWithLongLines)
{
    // Short lines, then one line of 700000 bytes holding four-byte
    // characters, then short lines again: about three pieces of each kind.
    std::string utf8;
    for (int i = 0; i < 20000; ++i)
        utf8 += "line " + std::to_string(i) + " caf\xC3\xA9\r\n";
    while (utf8.size() < 1400000)
        utf8 += "\xF0\x9F\x98\x80xy";
    utf8 += "\r\n";
    for (int i = 0; i < 20000; ++i)
        utf8 += "tail " + std::to_string(i) + "\n";

    qmtest::TempDir temp;
    const std::string path = temp.Path("big.txt");
    WriteBytes(path, utf8);
    ASSERT_EQ(Load(path, ENC_UTF8, 0), TEXTIO_OK);
    ASSERT_EQ(Contents().size(), utf8.size());
    EXPECT_TRUE(Contents() == utf8);
    // The first piece's lines foretell far more lines than there are: the
    // room set aside for them changes nothing in the text.
    EXPECT_EQ(text->Call(SCI_GETLINECOUNT), 40002);
    EXPECT_EQ(text->LineFromPosition((LONG_PTR)utf8.find("tail 0")), 20001);

    // Through UTF-16 and back.
    TextFile file;
    const std::string wide = temp.Path("big16.txt");
    ASSERT_EQ(SaveText(file, wide.c_str(), ENC_UTF16BE, TRUE, *text), TEXTIO_OK);
    ASSERT_EQ(Load(wide, ENC_UTF16BE, 2), TEXTIO_OK);
    EXPECT_TRUE(Contents() == utf8);
    ASSERT_EQ(SaveText(file, path.c_str(), ENC_UTF8, FALSE, *text), TEXTIO_OK);
    EXPECT_TRUE(ReadBytes(path) == utf8);
}

TEST_F(ScintillaWindow, RecordedMacroPlaysBackTheWholeText)
{
    qmtest::TempDir temp;
    const std::string macroFile = temp.Path("macros.xml");
    CMacroStore recorder;
    g_recorder = &recorder;
    recorder.BeginRecording("typing");
    text->Call(SCI_STARTRECORD);
    // What the component reports while the user types and moves.
    text->Call(SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>("hello world"));
    text->Call(SCI_NEWLINE);
    text->Call(SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>("second line"));
    text->Call(SCI_HOME);
    text->Call(SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>(">> "));
    text->Call(SCI_STOPRECORD);
    g_recorder = NULL;
    // Typed text arrives as SCI_REPLACESEL with the whole text.
    std::vector<std::string> texts;
    for (const CMacroStep& step : recorder.GetSteps())
        if (step.msg == SCI_REPLACESEL)
            texts.push_back(step.sparam.GetString());
    EXPECT_THAT(texts, ::testing::IsSupersetOf({"hello world", "second line", ">> "}));
    ASSERT_TRUE(recorder.SaveMacro(macroFile.c_str()));
    const std::string recorded = Contents();

    text->Call(SCI_CLEARALL);
    CMacroStore player;
    ASSERT_TRUE(player.LoadMacro("typing", macroFile.c_str()));
    for (const CMacroStep& step : player.GetSteps()) {
        WPARAM w;
        LPARAM l;
        step.GetPlayArguments(w, l);
        text->Call((unsigned)step.msg, w, l);
    }
    EXPECT_EQ(Contents(), recorded);
    EXPECT_THAT(Contents(), ::testing::HasSubstr(">> second line"));
}

TEST(Clipboard, CopyTextToClipboard)
{
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(CopyTextToClipboard(owner, "copied text"));
    ASSERT_TRUE(OpenClipboard(owner));
    HANDLE h = GetClipboardData(CF_TEXT);
    ASSERT_NE(h, (HANDLE)NULL);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "copied text");
    GlobalUnlock(h);
    CloseClipboard();
    DestroyWindow(owner);
}
