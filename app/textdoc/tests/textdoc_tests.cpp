// textdoc_tests.cpp - the text document in a test MDI frame: opening files
// of every encoding and line ending, typing and saving, titles, Save As,
// splitter panes, failed saves and unreadable files.
#include "tdtest.h"

#include "dialogtest.h"
#include "encoding.h"
#include "fx/codepage.h"
#include "resource.h"

#include <set>

using namespace tdtest;
using coretest::FixturePath;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

struct FileCase {
    const char* file;
    int encoding;
    int mark;
    int eol;
    const char* expectedText; // fixture with the editor's text; NULL: the file minus its mark
};

const FileCase kFileCases[] = {
    {"utf8-nobom-crlf.txt", ENC_UTF8, 0, EOL_CRLF, NULL},
    {"utf8-nobom-lf.txt", ENC_UTF8, 0, EOL_LF, NULL},
    {"utf8-bom-lf.txt", ENC_UTF8, 3, EOL_LF, NULL},
    {"utf8-bom-cr.txt", ENC_UTF8, 3, EOL_CR, NULL},
    {"utf16le-bom-crlf.txt", ENC_UTF16LE, 2, EOL_CRLF, "expected-crlf.utf8"},
    {"utf16le-bom-lf.txt", ENC_UTF16LE, 2, EOL_LF, "expected-lf.utf8"},
    {"utf16be-bom-lf.txt", ENC_UTF16BE, 2, EOL_LF, "expected-lf.utf8"},
    {"utf16be-bom-crlf.txt", ENC_UTF16BE, 2, EOL_CRLF, "expected-crlf.utf8"},
    {"ansi-crlf.txt", ENC_ANSI, 0, EOL_CRLF, NULL},
    {"ansi-lf.txt", ENC_ANSI, 0, EOL_LF, NULL},
    {"ansi-cr.txt", ENC_ANSI, 0, EOL_CR, NULL},
};

std::string EolText(int eol)
{
    return eol == EOL_CRLF ? "\r\n" : (eol == EOL_CR ? "\r" : "\n");
}

// ASCII text in a file encoding.
std::string Encode(const std::string& ascii, int encoding)
{
    std::string out;
    for (char c : ascii) {
        if (encoding == ENC_UTF16LE) {
            out += c;
            out += '\0';
        } else if (encoding == ENC_UTF16BE) {
            out += '\0';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

std::string CopyFixture(qmtest::TempDir& temp, const std::string& name, const std::string& as = "")
{
    std::string target = temp.Path(as.empty() ? name : as);
    EXPECT_TRUE(CopyFileA(FixturePath("text/" + name).c_str(), target.c_str(), FALSE));
    return target;
}

std::string Utf8FromCodePage(const std::string& bytes, UINT cp)
{
    CStringW wide = fx::ToWide(bytes.c_str(), cp, (int)bytes.size());
    return std::string(fx::WideToUtf8(wide));
}

class TextDocOpenSave : public TextDocTest, public ::testing::WithParamInterface<FileCase> {};

} // namespace

// Every fixture opens with its encoding, mark and line ending, shows its
// text as UTF-8 (ANSI decoded from the system's legacy code page), and a typed line saved under the same
// name gives exactly the old bytes plus that line in the file's encoding.
TEST_P(TextDocOpenSave, OpensShowsAndSavesInTheFilesOwnForm)
{
    const FileCase& c = GetParam();
    std::string path = CopyFixture(m_temp, c.file);
    std::string original = ReadBytes(path);

    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    EXPECT_EQ(pDoc->GetEncoding(), c.encoding);
    EXPECT_EQ(pDoc->GetMarkLength(), c.mark);
    EXPECT_EQ(pDoc->GetEOLMode(), c.eol);
    EXPECT_EQ(ed.GetEOLMode(), c.eol);
    std::string expected = c.expectedText != NULL ? ReadBytes(FixturePath(std::string("text/") + c.expectedText))
                                                  : original.substr((size_t)c.mark);
    if (c.encoding == ENC_ANSI)
        expected = Utf8FromCodePage(expected, fx::LegacyAnsiCodePage());
    EXPECT_EQ(EditorText(ed), expected);
    EXPECT_EQ(ed.GetCodePage(), SC_CP_UTF8);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(std::string(pDoc->GetTitle()), std::string(c.file));

    ed.Call(SCI_DOCUMENTEND);
    Type(ed, "\nok");
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(std::string(pDoc->GetTitle()), std::string(c.file) + "*");

    // A copy (what Email Active Document attaches) holds the bytes a save
    // writes; the document stays as it was.
    std::string copy = m_temp.Path("copy-of-document");
    ASSERT_TRUE(pDoc->OnSaveDocument(copy.c_str()));
    EXPECT_EQ(ReadBytes(copy), original + Encode(EolText(c.eol) + "ok", c.encoding));
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(std::string(pDoc->GetTitle()), std::string(c.file) + "*");
    EXPECT_EQ(std::string(pDoc->GetPathName()), path);
    EXPECT_EQ(ReadBytes(path), original);

    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(ReadBytes(path), original + Encode(EolText(c.eol) + "ok", c.encoding));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(std::string(pDoc->GetTitle()), std::string(c.file));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TextDocOpenSave, ::testing::ValuesIn(kFileCases),
                         [](const ::testing::TestParamInfo<FileCase>& info) {
                             std::string name = info.param.file;
                             for (char& ch : name)
                                 if (!isalnum((unsigned char)ch))
                                     ch = '_';
                             return name;
                         });

// The options of one open are used once: the next open detects again.
TEST_F(TextDocTest, OpenOptionsDoNotLeakIntoTheNextOpen)
{
    std::string ansi = CopyFixture(m_temp, "ansi-lf.txt");
    std::string utf16 = CopyFixture(m_temp, "utf16le-bom-crlf.txt");
    std::string utf8 = CopyFixture(m_temp, "utf8-bom-lf.txt");

    CTextOpenOptions asAnsi(ENC_ANSI, 0, FALSE);
    CDoodleDoc* pFirst = Open(ansi, &asAnsi);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->GetEncoding(), ENC_ANSI);
    EXPECT_EQ(CDoodleDoc::GetPendingOpenOptions().nEncoding, ENC_DETECT);

    CDoodleDoc* pSecond = Open(utf16);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pSecond->GetEncoding(), ENC_UTF16LE);
    EXPECT_EQ(pSecond->GetMarkLength(), 2);

    // The detection of the UTF-16 file does not carry over either.
    CDoodleDoc* pThird = Open(utf8);
    ASSERT_NE(pThird, nullptr);
    EXPECT_EQ(pThird->GetEncoding(), ENC_UTF8);
    EXPECT_EQ(pThird->GetMarkLength(), 3);
    EXPECT_EQ(EditorText(Editor(pThird)), ReadBytes(utf8).substr(3));
}

// A read-only file (or a read-only open) shows " [Read Only]", refuses
// changes and never gets a "*".
TEST_F(TextDocTest, ReadOnlyFilesAndOpensGiveTheReadOnlyTitle)
{
    std::string path = CopyFixture(m_temp, "ansi-crlf.txt");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(std::string(pDoc->GetTitle()), "ansi-crlf.txt [Read Only]");
    EXPECT_TRUE(Editor(pDoc).GetReadOnly());
    std::string before = EditorText(Editor(pDoc));
    Type(Editor(pDoc), "zz");
    EXPECT_EQ(EditorText(Editor(pDoc)), before);
    EXPECT_EQ(std::string(pDoc->GetTitle()), "ansi-crlf.txt [Read Only]");
    pDoc->SetModifiedFlag(TRUE);
    EXPECT_EQ(std::string(pDoc->GetTitle()), "ansi-crlf.txt [Read Only]");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    std::string other = CopyFixture(m_temp, "utf8-bom-lf.txt");
    CTextOpenOptions readOnly(ENC_DETECT, 0, TRUE);
    CDoodleDoc* pSecond = Open(other, &readOnly);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(std::string(pSecond->GetTitle()), "utf8-bom-lf.txt [Read Only]");
    EXPECT_TRUE(Editor(pSecond).GetReadOnly());
}

namespace {
CDoodleDoc::SaveAsChoice g_choice;
int g_nPrompts = 0;
int g_nPromptEncoding = -1;
int g_nPromptEOL = -1;
BOOL ScriptedSaveAs(CDoodleDoc*, CDoodleDoc::SaveAsChoice& choice)
{
    g_nPrompts++;
    g_nPromptEncoding = choice.nEncoding;
    g_nPromptEOL = choice.nEOLMode;
    choice = g_choice;
    return TRUE;
}
BOOL CancelledSaveAs(CDoodleDoc*, CDoodleDoc::SaveAsChoice&)
{
    g_nPrompts++;
    return FALSE;
}
} // namespace

// Save As to a new extension switches the language, writes the chosen
// encoding and line ending, and makes a read-only document editable.
TEST_F(TextDocTest, SaveAsWritesTheChosenFormAndSwitchesTheLanguage)
{
    LoadLexers();
    std::string path = CopyFixture(m_temp, "utf8-nobom-crlf.txt", "sample.txt");
    CTextOpenOptions readOnly(ENC_DETECT, 0, TRUE);
    CDoodleDoc* pDoc = Open(path, &readOnly);
    ASSERT_NE(pDoc, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    std::string lexerBefore = LexerName(ed);
    std::string text = EditorText(ed);

    g_nPrompts = 0;
    g_choice.strPath = (m_temp.Path("sample")).c_str(); // no dot: the filter's extension is added
    g_choice.strDefExt = "cpp";
    g_choice.nEncoding = ENC_UTF16LE;
    g_choice.nEOLMode = EOL_LF;
    CDoodleDoc::SetSaveAsPrompt(&ScriptedSaveAs);
    ASSERT_TRUE(pDoc->DoSave(NULL));
    EXPECT_EQ(g_nPrompts, 1);
    // The prompt was offered the document's own encoding and line ending.
    EXPECT_EQ(g_nPromptEncoding, ENC_UTF8);
    EXPECT_EQ(g_nPromptEOL, EOL_CRLF);

    std::string target = m_temp.Path("sample.cpp");
    EXPECT_EQ(std::string(pDoc->GetPathName()), target);
    EXPECT_EQ(std::string(pDoc->GetTitle()), "sample.cpp");
    EXPECT_EQ(LexerName(ed), "cpp");
    EXPECT_NE(LexerName(ed), lexerBefore);
    EXPECT_FALSE(ed.GetReadOnly());
    EXPECT_EQ(pDoc->GetEncoding(), ENC_UTF16LE);
    EXPECT_EQ(pDoc->GetEOLMode(), EOL_LF);

    // The text with LF line ends as UTF-16 LE with its mark.
    std::string lf;
    for (size_t i = 0; i < text.size(); i++)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lf += text[i];
    CStringW wide = fx::Utf8ToWide(lf.c_str());
    std::string expected("\xFF\xFE", 2);
    expected.append((const char*)(LPCWSTR)wide, (size_t)wide.GetLength() * 2);
    EXPECT_EQ(ReadBytes(target), expected);
    // The old file is untouched.
    EXPECT_EQ(ReadBytes(path), ReadBytes(FixturePath("text/utf8-nobom-crlf.txt")));

    // The same extension again keeps the language; a cancelled Save As
    // changes nothing.
    g_choice.strPath = (m_temp.Path("again.cpp")).c_str();
    g_choice.nEncoding = ENC_UTF16LE;
    ASSERT_TRUE(pDoc->DoSave(NULL));
    EXPECT_EQ(LexerName(ed), "cpp");
    CDoodleDoc::SetSaveAsPrompt(&CancelledSaveAs);
    Type(ed, "x");
    EXPECT_FALSE(pDoc->DoSave(NULL));
    EXPECT_TRUE(pDoc->IsModified());
}

TEST(TextDocPaths, SaveAsAppendsTheFilterExtensionOnlyToNamesWithoutADot)
{
    struct Case {
        const char* chosen;
        const char* ext;
        const char* result;
    } cases[] = {
        {"C:\\work\\notes", "txt", "C:\\work\\notes.txt"},
        {"C:\\work\\notes.md", "txt", "C:\\work\\notes.md"},
        {"C:\\my.folder\\notes", "txt", "C:\\my.folder\\notes"},
        {"C:\\work\\notes", "*", "C:\\work\\notes"},
        {"C:\\work\\notes", "", "C:\\work\\notes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(CDoodleDoc::MakeSavePath(c.chosen, c.ext)), c.result) << c.chosen;
}

TEST(TextDocPaths, LineEndingModeComesFromTheFirstLineBreak)
{
    struct Case {
        const char* text;
        int mode;
    } cases[] = {
        {"a\r\nb\nc", EOL_CRLF},
        {"a\nb\r\n", EOL_LF},
        {"a\rb", EOL_CR},
        {"a\r", EOL_CR},
        {"none", EOL_CRLF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectEOLMode(c.text, strlen(c.text), EOL_CRLF), c.mode) << c.text;
}

// Two panes of the splitter show one text: typing in one changes the other.
TEST_F(TextDocTest, SplitterPanesShareTheText)
{
    std::string path = CopyFixture(m_temp, "utf8-nobom-lf.txt");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleFrame* pFrame = FrameOf(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& split = pFrame->GetSplitter();
    ASSERT_TRUE(split.SplitRow(120));
    PumpFor(20);
    ASSERT_EQ(split.GetRowCount(), 2);
    CDoodleView* pTop = dynamic_cast<CDoodleView*>(split.GetPane(0, 0));
    CDoodleView* pBottom = dynamic_cast<CDoodleView*>(split.GetPane(1, 0));
    ASSERT_NE(pTop, nullptr);
    ASSERT_NE(pBottom, nullptr);
    EXPECT_EQ(pBottom->GetDocument(), pDoc);
    EXPECT_EQ(pTop->GetEditor().GetDocPointer(), pBottom->GetEditor().GetDocPointer());
    EXPECT_EQ(EditorText(pBottom->GetEditor()), EditorText(pTop->GetEditor()));

    pBottom->GetEditor().Call(SCI_DOCUMENTSTART);
    Type(pBottom->GetEditor(), "shared ");
    EXPECT_EQ(EditorText(pTop->GetEditor()).substr(0, 7), "shared ");
    EXPECT_TRUE(pDoc->IsModified());

    // The pane that made the text goes; a new pane still joins the text.
    split.DeleteRow(0);
    PumpFor(20);
    ASSERT_EQ(split.GetRowCount(), 1);
    ASSERT_TRUE(split.SplitRow(120));
    PumpFor(20);
    CDoodleView* pNew = dynamic_cast<CDoodleView*>(split.GetPane(1, 0));
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(EditorText(pNew->GetEditor()).substr(0, 7), "shared ");
}

// Each pane's row has the splitter's vertical scroll bar: it follows the
// pane's first line, and dragging its thumb scrolls that pane only.
TEST_F(TextDocTest, SplitterScrollBarsFollowAndScrollTheirPane)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "line " + std::to_string(i) + "\n";
    std::string path = m_temp.Path("long.txt");
    WriteBytes(path, text);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleFrame* pFrame = FrameOf(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& split = pFrame->GetSplitter();
    EXPECT_TRUE(::FindWindowExA(split.m_hWnd, NULL, "ScrollBar", NULL) != NULL)
        << "the split box sits above the shared vertical bar";
    ASSERT_TRUE(split.SplitRow(120));
    PumpFor(20);
    CDoodleView* pTop = dynamic_cast<CDoodleView*>(split.GetPane(0, 0));
    CDoodleView* pBottom = dynamic_cast<CDoodleView*>(split.GetPane(1, 0));
    ASSERT_NE(pTop, nullptr);
    ASSERT_NE(pBottom, nullptr);
    CScrollBar* pTopBar = pTop->GetScrollBarCtrl(SB_VERT);
    CScrollBar* pBottomBar = pBottom->GetScrollBarCtrl(SB_VERT);
    ASSERT_NE(pTopBar, nullptr);
    ASSERT_NE(pBottomBar, nullptr);
    ASSERT_NE(pTopBar, pBottomBar);
    // The editing windows show no bars of their own.
    EXPECT_EQ(0, (int)pTop->GetEditor().Call(SCI_GETVSCROLLBAR));

    pBottom->GetEditor().Call(SCI_SETFIRSTVISIBLELINE, 120);
    PumpFor(50);
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(pBottomBar->m_hWnd, SB_CTL, &si));
    EXPECT_EQ(120, si.nPos);
    EXPECT_GE(si.nMax, 299);
    ::GetScrollInfo(pTopBar->m_hWnd, SB_CTL, &si);
    EXPECT_EQ(0, si.nPos) << "the other pane's bar stays";

    // Dragging the top bar's thumb to line 42 scrolls the top pane there.
    si.fMask = SIF_POS | SIF_TRACKPOS;
    si.nPos = si.nTrackPos = 42;
    ::SetScrollInfo(pTopBar->m_hWnd, SB_CTL, &si, FALSE);
    pTop->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 42), (LPARAM)pTopBar->m_hWnd);
    PumpFor(20);
    EXPECT_EQ(42, (int)pTop->GetEditor().Call(SCI_GETFIRSTVISIBLELINE));
    EXPECT_EQ(120, (int)pBottom->GetEditor().Call(SCI_GETFIRSTVISIBLELINE));
    // A line step goes through the editing window itself.
    pTop->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)pTopBar->m_hWnd);
    PumpFor(20);
    EXPECT_EQ(43, (int)pTop->GetEditor().Call(SCI_GETFIRSTVISIBLELINE));
}

// A save that cannot write is reported, keeps the document modified and
// leaves the file on disk exactly as it was.
TEST_F(TextDocTest, FailedSavesAreReportedAndKeepTheOriginal)
{
    // The target became read-only after the open.
    std::string path = CopyFixture(m_temp, "utf8-bom-lf.txt");
    std::string original = ReadBytes(path);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    Type(Editor(pDoc), "change");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->DoSave(path.c_str()));
        ASSERT_EQ(boxes.Texts().size(), 1u);
    }
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(std::string(pDoc->GetTitle()), "utf8-bom-lf.txt*");
    EXPECT_EQ(ReadBytes(path), original);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // The folder is gone.
    std::string folder = m_temp.Path("gone");
    CreateDirectoryA(folder.c_str(), NULL);
    std::string inFolder = folder + "\\note.txt";
    WriteBytes(inFolder, "first line\r\n");
    CDoodleDoc* pGone = Open(inFolder);
    ASSERT_NE(pGone, nullptr);
    Type(Editor(pGone), "more");
    DeleteFileA(inFolder.c_str());
    RemoveDirectoryA(folder.c_str());
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pGone->DoFileSave());
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_NE(boxes.Texts()[0].find("Failed to create a new file"), std::string::npos) << boxes.Texts()[0];
    }
    EXPECT_TRUE(pGone->IsModified());
    EXPECT_FALSE(coretest::FileExists(folder));
}

// A file that cannot be read gives a message and no document.
TEST_F(TextDocTest, UnreadableFilesOpenNoDocument)
{
    std::string path = CopyFixture(m_temp, "ansi-crlf.txt");
    std::string original = ReadBytes(path);
    HANDLE hLock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_EQ(Open(path), nullptr);
        CTextOpenOptions asAnsi(ENC_ANSI, 0, FALSE); // no detection: the reader itself fails
        EXPECT_EQ(Open(path, &asAnsi), nullptr);
        EXPECT_EQ(Open(m_temp.Path("missing.txt")), nullptr);
        EXPECT_EQ(boxes.Texts().size(), 3u);
    }
    CloseHandle(hLock);
    EXPECT_EQ(DocumentCount(), 0);
    EXPECT_EQ(ReadBytes(path), original);
}

// Opening a file drives the status bar's progress: the file's size as the
// range, the bytes read so far as the position, and off at the end.
TEST_F(TextDocTest, OpeningAFileDrivesTheProgressBar)
{
    std::string line(99, 'x');
    std::string text;
    while (text.size() < 600000)
        text += line + "\n";
    std::string path = m_temp.Path("large.txt");
    WriteBytes(path, text);
    const int nSize = (int)text.size();

    m_pFrame->m_progress.clear();
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    const auto& calls = m_pFrame->m_progress;
    ASSERT_GE(calls.size(), 4u) << "on, at least one step per 256000 bytes, off";
    EXPECT_TRUE(calls.front().bOn);
    EXPECT_EQ(calls.front().nPos, 0);
    int nLast = 0;
    for (size_t i = 0; i + 1 < calls.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(calls[i].bOn);
        EXPECT_EQ(calls[i].nMax, nSize);
        EXPECT_GE(calls[i].nPos, nLast);
        EXPECT_LE(calls[i].nPos, nSize);
        nLast = calls[i].nPos;
    }
    EXPECT_EQ(nLast, nSize) << "the last step is the whole file";
    EXPECT_FALSE(calls.back().bOn);
}

// The editing window's notifications carry the id of Delete Line (32785);
// none of them runs that command, while the menu command itself still does.
TEST_F(TextDocTest, EditorNotificationsNeverRunDeleteLine)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    CDoodleView* pView = pDoc->GetTextView();
    ed.SetFocus();
    Type(ed, "one\ntwo");
    PumpFor(50);

    SCNotification scn = {};
    scn.nmhdr.hwndFrom = ed.GetSafeHwnd();
    scn.nmhdr.idFrom = CDoodleView::IDC_EDITOR;
    scn.nmhdr.code = SCN_CHARADDED;
    scn.ch = 'x';
    pView->SendMessage(WM_NOTIFY, CDoodleView::IDC_EDITOR, (LPARAM)&scn);
    scn.nmhdr.code = SCN_UPDATEUI;
    pView->SendMessage(WM_NOTIFY, CDoodleView::IDC_EDITOR, (LPARAM)&scn);
    pView->SendMessage(WM_COMMAND, MAKEWPARAM(CDoodleView::IDC_EDITOR, SCEN_CHANGE), (LPARAM)ed.GetSafeHwnd());
    pView->SendMessage(WM_COMMAND, MAKEWPARAM(CDoodleView::IDC_EDITOR, SCEN_SETFOCUS), (LPARAM)ed.GetSafeHwnd());
    PumpFor(50);
    EXPECT_EQ(m_pFrame->m_nDeleteLineCommands, 0);
    EXPECT_EQ(EditorText(ed), "one\r\ntwo");
    EXPECT_GT(m_pFrame->m_nTextChanged, 0);
    EXPECT_EQ(m_pFrame->m_status1, "Ln  2 Col  3");

    // The command from a menu still reaches its handler: the active view
    // deletes the caret line before the frame sees the command.
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(CDoodleView::IDC_EDITOR, 0), 0);
    EXPECT_EQ(EditorText(ed), "one\r\n");
    EXPECT_EQ(m_pFrame->m_nDeleteLineCommands, 0);
}

// With "remember open files" on, a frame closing for the next session
// stores its path; otherwise nothing is written.
TEST_F(TextDocTest, ClosingForTheSessionStoresThePath)
{
    std::string path = CopyFixture(m_temp, "ansi-lf.txt");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleDoc* pNew = NewDocument();
    ASSERT_NE(pNew, nullptr);
    m_pFrame->m_bClosingForSession = TRUE;
    m_pTemplate->CloseAllDocuments(TRUE);
    m_pFrame->m_bClosingForSession = FALSE;
    CWinApp* pApp = AfxGetApp();
    EXPECT_EQ(std::string(pApp->GetProfileString("FilesToOpen", path.c_str(), "")), path);
    HKEY hKey = pApp->GetSectionKey("FilesToOpen");
    ASSERT_NE(hKey, (HKEY)NULL);
    DWORD nValues = 0;
    RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, &nValues, NULL, NULL, NULL, NULL);
    RegCloseKey(hKey);
    EXPECT_EQ(nValues, 1u); // the untitled document wrote nothing
    coretest::ClearProfile();
}

// A C++ file in the frame, coloured, with line numbers: a screenshot is
// kept in the build folder.
TEST_F(TextDocTest, ScreenshotOfACppFile)
{
    LoadLexers();
    std::string path = m_temp.Path("sample.cpp");
    WriteBytes(path,
               "// A small sample.\r\n#include <stdio.h>\r\n\r\nint main(int argc, char** argv)\r\n{\r\n"
               "    const char* text = \"hello\";\r\n    for (int i = 0; i < argc; i++)\r\n"
               "        printf(\"%s %d\\n\", text, i);\r\n    return 0;\r\n}\r\n");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(LexerName(Editor(pDoc)), "cpp");
    CDoodleFrame* pFrame = FrameOf(pDoc);
    pFrame->MDIMaximize();
    PumpFor(300);
    m_pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(300);

    std::string out = SaveScreenshot(m_pFrame, "textdoc-cpp.bmp");
    EXPECT_TRUE(coretest::FileExists(out));
}

// Replace All counts a match that ends the text or the selected lines.
TEST_F(TextDocTest, ReplaceAllCountsAMatchAtTheEndOfTheRange)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    ed.ReplaceAllText("ab ab\r\nab");
    EXPECT_EQ(ed.ReplaceAllMatches("ab", "x", FALSE, FALSE), 3);
    EXPECT_EQ(EditorText(ed), "x x\r\nx");
    ed.ReplaceAllText("one\r\ntwo ab\r\nthree ab");
    ed.SetSel(0, 10); // the first two lines
    EXPECT_EQ(ed.ReplaceAllMatches("ab", "y", TRUE, FALSE), 1);
    EXPECT_EQ(EditorText(ed), "one\r\ntwo y\r\nthree ab");
}

// A target that cannot be replaced (another program holds it open) keeps
// its bytes; the save is reported and the document stays modified.
TEST_F(TextDocTest, ASaveThatCannotReplaceTheFileKeepsIt)
{
    std::string path = CopyFixture(m_temp, "ansi-crlf.txt");
    std::string original = ReadBytes(path);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    Editor(pDoc).Call(SCI_DOCUMENTEND);
    Type(Editor(pDoc), "\nadded");
    HANDLE hHold = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(hHold, INVALID_HANDLE_VALUE);
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->DoFileSave());
        EXPECT_EQ(boxes.Texts().size(), 1u);
    }
    CloseHandle(hHold);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(ReadBytes(path), original);
    // No temporary file is left beside it.
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((m_temp.Path("*")).c_str(), &fd);
    int nFiles = 0;
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                nFiles++;
        } while (FindNextFileA(hFind, &fd));
        FindClose(hFind);
    }
    EXPECT_EQ(nFiles, 1);
    // Once the file is free the same save succeeds.
    EXPECT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(ReadBytes(path), original + "\r\nadded");
}

// With backups on, a save first copies the file as it was; the history
// compares two chosen versions through the main frame.
TEST_F(TextDocTest, SavingKeepsABackupOfThePreviousFile)
{
    std::string backupRoot = m_temp.Path("backups");
    m_pFrame->m_editor.nBackupEnabled = 1;
    m_pFrame->m_editor.nBackupVersions = 3;
    m_pFrame->m_editor.strBackupFolder = backupRoot.c_str();
    std::string path = CopyFixture(m_temp, "utf8-nobom-lf.txt");
    std::string original = ReadBytes(path);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetBackupStore().GetCount(), 0);
    Type(Editor(pDoc), "v2 ");
    ASSERT_TRUE(pDoc->DoFileSave());
    ASSERT_EQ(pDoc->GetBackupStore().GetCount(), 1);
    EXPECT_EQ(ReadBytes(std::string(pDoc->GetBackupStore().GetEntry(0).path)), original);
    EXPECT_EQ(ReadBytes(path), "v2 " + original);

    // The history: the current file and the copy chosen, then compared.
    HWND hDlg = NULL;
    dlgtest::ModalScript script({
        [&] { return (hDlg = dlgtest::FindDialog("Document Backups")) != NULL; },
        [&] {
            dlgtest::SelectLine(hDlg, IDC_BACKUP_LIST, 0);
            dlgtest::SelectLine(hDlg, IDC_BACKUP_LIST, 1);
            return true;
        },
        [&] {
            dlgtest::Click(hDlg, IDOK);
            return true;
        },
    });
    pDoc->OnViewDocumentHistory();
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(m_pFrame->m_compares.size(), 1u);
    std::set<std::string> compared = {m_pFrame->m_compares[0].first, m_pFrame->m_compares[0].second};
    EXPECT_EQ(compared, (std::set<std::string>{path, std::string(pDoc->GetBackupStore().GetEntry(0).path)}));
    coretest::ClearProfile();
}

// A save and the backup copy before it go wrong together: one message, the
// save's. A backup that fails before a save that works: one message, the
// backup's, and the save happens.
TEST_F(TextDocTest, ARefusedSaveShowsOneMessage)
{
    m_pFrame->m_editor.nBackupEnabled = 1;
    m_pFrame->m_editor.nBackupVersions = 3;
    m_pFrame->m_editor.strBackupFolder = (m_temp.Path("backups")).c_str();
    std::string path = CopyFixture(m_temp, "utf8-nobom-lf.txt");
    std::string original = ReadBytes(path);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    Type(Editor(pDoc), "v2 ");
    {
        // Another program holds the file and shares it with no one: it can
        // be neither copied nor replaced.
        HANDLE hLock = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->DoFileSave());
        CloseHandle(hLock);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0].find("failed to backup"), std::string::npos) << boxes.Texts()[0];
    }
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(pDoc->GetBackupStore().GetCount(), 0);

    // The backup root is a file: no copy can be made, the save goes on.
    std::string blocked = m_temp.Path("blocked");
    WriteBytes(blocked, "a file, not a folder");
    m_pFrame->m_editor.strBackupFolder = blocked.c_str();
    CDoodleDoc* pOther = Open(CopyFixture(m_temp, "ansi-crlf.txt"));
    ASSERT_NE(pOther, nullptr);
    Type(Editor(pOther), "changed ");
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_TRUE(pOther->DoFileSave());
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], std::string(g_szBackupFailedMessage));
    }
    EXPECT_FALSE(pOther->IsModified());
    EXPECT_EQ(ReadBytes(std::string(pOther->GetPathName())).substr(0, 8), "changed ");
    coretest::ClearProfile();
}

// Save As between ANSI and a UTF encoding converts the text, so the new
// file holds the same characters; characters ANSI cannot hold are only
// replaced after the user agreed.
TEST_F(TextDocTest, SaveAsBetweenAnsiAndUtfConvertsTheText)
{
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the fixture's";
    std::string ansi = CopyFixture(m_temp, "ansi-crlf.txt");
    std::string original = ReadBytes(ansi);
    CDoodleDoc* pDoc = Open(ansi);
    ASSERT_NE(pDoc, nullptr);
    g_choice.strPath = (m_temp.Path("as-utf8.txt")).c_str();
    g_choice.strDefExt = "txt";
    g_choice.nEncoding = ENC_UTF8;
    g_choice.nEOLMode = EOL_CRLF;
    CDoodleDoc::SetSaveAsPrompt(&ScriptedSaveAs);
    ASSERT_TRUE(pDoc->DoSave(NULL));
    EXPECT_EQ(ReadBytes(m_temp.Path("as-utf8.txt")), "\xEF\xBB\xBF" + Utf8FromCodePage(original, 1252));
    EXPECT_EQ(Editor(pDoc).GetCodePage(), SC_CP_UTF8);
    EXPECT_EQ(EditorText(Editor(pDoc)), Utf8FromCodePage(original, 1252));
    EXPECT_FALSE(pDoc->IsModified());

    // Back to ANSI: the same bytes as the original file.
    g_choice.strPath = (m_temp.Path("back.txt")).c_str();
    g_choice.nEncoding = ENC_ANSI;
    ASSERT_TRUE(pDoc->DoSave(NULL));
    EXPECT_EQ(ReadBytes(m_temp.Path("back.txt")), original);

    // A UTF-8 text with Greek letters: refusing the replacement saves nothing.
    std::string utf8 = CopyFixture(m_temp, "utf8-nobom-crlf.txt");
    CDoodleDoc* pGreek = Open(utf8);
    ASSERT_NE(pGreek, nullptr);
    std::string text = EditorText(Editor(pGreek));
    g_choice.strPath = (m_temp.Path("lossy.txt")).c_str();
    {
        qmtest::MessageBoxRecorder no(IDNO);
        EXPECT_FALSE(pGreek->DoSave(NULL));
        EXPECT_EQ(no.Texts().size(), 1u);
    }
    EXPECT_FALSE(coretest::FileExists(m_temp.Path("lossy.txt")));
    EXPECT_EQ(EditorText(Editor(pGreek)), text);
    EXPECT_EQ(pGreek->GetEncoding(), ENC_UTF8);
    {
        qmtest::MessageBoxRecorder yes(IDYES);
        EXPECT_TRUE(pGreek->DoSave(NULL));
    }
    std::string saved = ReadBytes(m_temp.Path("lossy.txt"));
    EXPECT_NE(saved.find("caf\xE9"), std::string::npos);
    EXPECT_NE(saved.find('?'), std::string::npos);
}

// A new document holds UTF-8; saved as ANSI its accented letters are ANSI
// bytes.
// A document never saved has no encoding yet: its copy holds the text as
// the editor does, in UTF-8, and the document stays untitled and modified.
TEST_F(TextDocTest, ACopyOfANewDocumentHoldsItsTextInUtf8)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    const std::string text = "na\xC3\xAFve caf\xC3\xA9\r\n";
    Editor(pDoc).Call(SCI_SETTEXT, 0, (sptr_t)text.c_str());
    ASSERT_TRUE(pDoc->IsModified());
    std::string copy = m_temp.Path("copy-of-new");
    ASSERT_TRUE(pDoc->OnSaveDocument(copy.c_str()));
    EXPECT_EQ(ReadBytes(copy), text);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_TRUE(pDoc->GetPathName().IsEmpty());
    EXPECT_EQ(pDoc->GetEncoding(), ENC_DETECT);
}

TEST_F(TextDocTest, ANewDocumentSavedAsAnsiWritesAnsiBytes)
{
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the expected bytes'";
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    Editor(pDoc).ReplaceAllText("caf\xC3\xA9\r\n");
    g_choice.strPath = (m_temp.Path("new")).c_str();
    g_choice.strDefExt = "txt";
    g_choice.nEncoding = ENC_ANSI;
    g_choice.nEOLMode = EOL_CRLF;
    g_nPromptEncoding = -1;
    CDoodleDoc::SetSaveAsPrompt(&ScriptedSaveAs);
    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ(ReadBytes(m_temp.Path("new.txt")), "caf\xE9\r\n");
    EXPECT_EQ(std::string(pDoc->GetTitle()), "new.txt");
}

namespace {
// A caret key pressed with Shift held, as the editing window receives it.
void ShiftKey(CMFCScintilla& ed, UINT vk)
{
    BYTE state[256];
    GetKeyboardState(state);
    BYTE oldShift = state[VK_SHIFT];
    state[VK_SHIFT] = 0x80;
    SetKeyboardState(state);
    ed.SendMessage(WM_KEYDOWN, vk, 0x01000001); // an extended key: not the keypad's
    ed.SendMessage(WM_KEYUP, vk, 0xC1000001);
    state[VK_SHIFT] = oldShift;
    SetKeyboardState(state);
}

std::set<std::pair<LRESULT, LRESULT>> SelectionRanges(CMFCScintilla& ed)
{
    std::set<std::pair<LRESULT, LRESULT>> ranges;
    for (LRESULT i = 0; i < ed.Call(SCI_GETSELECTIONS); i++)
        ranges.insert({ed.Call(SCI_GETSELECTIONNSTART, (uptr_t)i), ed.Call(SCI_GETSELECTIONNEND, (uptr_t)i)});
    return ranges;
}
} // namespace

// The frame's setting toggles reach the active view's editing window.
TEST_F(TextDocTest, FrameRelaysSettingsToTheActiveView)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    CDoodleFrame* pFrame = FrameOf(pDoc);
    ASSERT_NE(pFrame, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    ed.ReplaceAllText("a\r\nb\r\nc\r\n");

    pFrame->SetWordWrap(TRUE);
    EXPECT_EQ(ed.Call(SCI_GETWRAPMODE), 1);
    pFrame->SetWordWrap(FALSE);
    EXPECT_EQ(ed.Call(SCI_GETWRAPMODE), 0);
    pFrame->SetWhitespace(TRUE);
    EXPECT_EQ(ed.Call(SCI_GETVIEWWS), 1);
    pFrame->SetLineEndings(TRUE);
    EXPECT_EQ(ed.Call(SCI_GETVIEWEOL), 1);
    pFrame->SetLineNumbers(FALSE);
    EXPECT_EQ(ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN), 0);
    pFrame->SetLineNumbers(TRUE);
    EXPECT_GT(ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN), 0);
    pFrame->SetEditingValues(1, 1, 8, RGB(1, 2, 3), 256);
    EXPECT_EQ(ed.Call(SCI_GETTABWIDTH), 8);
    EXPECT_EQ(ed.Call(SCI_GETUSETABS), 1);
    EXPECT_NE(ed.Call(SCI_GETINDENTATIONGUIDES), SC_IV_NONE);
    pFrame->SetViewFont("Arial", 14, TRUE, FALSE);
    EXPECT_EQ(ed.Call(SCI_STYLEGETSIZE, STYLE_DEFAULT), 14);
    EXPECT_EQ(ed.Call(SCI_STYLEGETBOLD, STYLE_DEFAULT), 1);

    // View As: a language by index, and the text language past the end.
    LoadLexers();
    int nCpp = m_pFrame->m_lexers.FindIndexForExtension(".cpp");
    pDoc->GetTextView()->SetLanguage(nCpp);
    EXPECT_EQ(pFrame->GetViewAsIndex(), nCpp);
    EXPECT_EQ(LexerName(ed), "cpp");
    pDoc->GetTextView()->SetLanguage(m_pFrame->m_lexers.GetCount() + 1);
    EXPECT_EQ(pFrame->GetViewAsIndex(), nCpp);

    // Block Select Mode: Shift with the caret keys selects a rectangle while
    // it is on, a stream of text once it is off; a view made while it is on
    // starts with it. The lines are alike, so columns line up in any font.
    ed.ReplaceAllText("abcd\r\nabcd\r\nabcd\r\n");
    typedef std::set<std::pair<LRESULT, LRESULT>> Ranges;

    pFrame->SetBlockSelect(TRUE);
    // The caret to column 1 by a move of its own: up and down keep that column.
    ed.Call(SCI_GOTOPOS, 0);
    ed.Call(SCI_CHARRIGHT);
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT})
        ShiftKey(ed, vk);
    EXPECT_EQ(ed.Call(SCI_SELECTIONISRECTANGLE), 1);
    EXPECT_EQ(SelectionRanges(ed), (Ranges{{1, 3}, {7, 9}, {13, 15}}));

    pFrame->SetBlockSelect(FALSE);
    ed.Call(SCI_GOTOPOS, 0);
    ed.Call(SCI_CHARRIGHT);
    for (UINT vk : {VK_DOWN, VK_RIGHT})
        ShiftKey(ed, vk);
    EXPECT_EQ(ed.Call(SCI_SELECTIONISRECTANGLE), 0);
    EXPECT_EQ(SelectionRanges(ed), (Ranges{{1, 8}}));

    // A document opened while the setting is on.
    m_pFrame->m_settings.nBlockSelect = 1;
    CDoodleDoc* pOther = NewDocument();
    ASSERT_NE(pOther, nullptr);
    CMFCScintilla& other = Editor(pOther);
    other.ReplaceAllText("abcd\r\nabcd\r\n");
    other.Call(SCI_GOTOPOS, 0);
    for (UINT vk : {VK_DOWN, VK_RIGHT})
        ShiftKey(other, vk);
    EXPECT_EQ(other.Call(SCI_SELECTIONISRECTANGLE), 1);
    EXPECT_EQ(SelectionRanges(other), (Ranges{{0, 1}, {6, 7}}));
    m_pFrame->m_settings.nBlockSelect = 0;
}

// Focus moves between text frames: the main frame hears of each change of
// the active text document once; GotoLineColumn moves the caret.
// An opened file shows its start with the caret there, however long its
// lines: the load itself leaves the caret at the end of the text.
TEST_F(TextDocTest, AnOpenedFileShowsItsStartWithTheCaretThere)
{
    std::string text;
    for (int i = 0; i < 2000; i++)
        text += "line " + std::to_string(i) + "\r\n";
    text += std::string(5000, 'x') + "\r\n";
    std::string path = m_temp.Path("long.txt");
    qmtest::WriteFileBytes(path, text);

    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    PumpFor(50);
    CMFCScintilla& ed = Editor(pDoc);
    ASSERT_EQ(EditorText(ed), text);
    EXPECT_EQ(ed.GetCurrentPos(), 0);
    EXPECT_EQ(ed.Call(SCI_GETANCHOR), 0);
    EXPECT_EQ(ed.Call(SCI_GETFIRSTVISIBLELINE), 0);
    EXPECT_EQ(ed.Call(SCI_GETXOFFSET), 0);
}

TEST_F(TextDocTest, FocusAndCaretMoves)
{
    CDoodleDoc* pFirst = NewDocument();
    CDoodleDoc* pSecond = NewDocument();
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    Editor(pFirst).ReplaceAllText("line one\r\nline two\r\nline three\r\n");
    int nBefore = m_pFrame->m_nActivated;
    FrameOf(pFirst)->MDIActivate();
    PumpFor(50);
    EXPECT_EQ(CDoodleFrame::GetLastFocused(), FrameOf(pFirst));
    FrameOf(pSecond)->MDIActivate();
    PumpFor(50);
    EXPECT_EQ(CDoodleFrame::GetLastFocused(), FrameOf(pSecond));
    EXPECT_GE(m_pFrame->m_nActivated, nBefore + 2);

    pFirst->GotoLineColumn(2, 5);
    CMFCScintilla& ed = Editor(pFirst);
    EXPECT_EQ(ed.GetCurrentLine(), 1);
    EXPECT_EQ(ed.GetColumn(), 5);
    EXPECT_EQ(std::string(pFirst->GetTextView()->GetAllText()), "line one\r\nline two\r\nline three\r\n");
}

// Typing while a macro records gives steps that play back the same text.
TEST_F(TextDocTest, RecordingAMacroKeepsTheTypedSteps)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    pView->StartMacroRecording("typing");
    Type(Editor(pDoc), "hi");
    pView->StopMacroRecording();
    Type(Editor(pDoc), "!");
    const std::vector<CMacroStep>& steps = pView->GetMacro().GetSteps();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].msg, SCI_REPLACESEL);
    EXPECT_EQ(std::string(steps[0].sparam), "h");
    EXPECT_EQ(std::string(steps[1].sparam), "i");
    EXPECT_EQ(std::string(pView->GetMacro().GetName()), "typing");
}

// An encoding chosen for an open skips a mark only when the file has one:
// no text is lost, and no mark shows up as text.
TEST_F(TextDocTest, AChosenEncodingSkipsOnlyARealMark)
{
    std::string noMark = CopyFixture(m_temp, "utf8-nobom-lf.txt");
    std::string withMark = CopyFixture(m_temp, "utf8-bom-lf.txt");
    CTextOpenOptions utf8WithMark(ENC_UTF8, 3, FALSE);
    CDoodleDoc* pFirst = Open(noMark, &utf8WithMark);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(EditorText(Editor(pFirst)), ReadBytes(noMark));
    EXPECT_EQ(pFirst->GetMarkLength(), 0);

    CTextOpenOptions utf8NoMark(ENC_UTF8, 0, FALSE);
    CDoodleDoc* pSecond = Open(withMark, &utf8NoMark);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(EditorText(Editor(pSecond)), ReadBytes(withMark).substr(3));
    EXPECT_EQ(pSecond->GetMarkLength(), 3);

    // Saved under their own names, both files keep their bytes.
    Type(Editor(pFirst), "x");
    Editor(pFirst).Call(SCI_DELETEBACK);
    ASSERT_TRUE(pFirst->DoFileSave());
    EXPECT_EQ(ReadBytes(noMark), ReadBytes(FixturePath("text/utf8-nobom-lf.txt")));

    // Options for a new document do not reach the next open.
    CTextOpenOptions ansi(ENC_ANSI, 0, TRUE);
    CDoodleDoc::SetOpenOptions(ansi);
    ASSERT_NE(NewDocument(), nullptr);
    EXPECT_EQ(CDoodleDoc::GetPendingOpenOptions().nEncoding, ENC_DETECT);
}

// Save As through the real dialog: it starts at the document's folder,
// name, encoding and line ending, and writes what the user chose.
TEST_F(TextDocTest, SaveAsDialogStartsAtTheDocumentsOwnChoices)
{
    std::string path = CopyFixture(m_temp, "utf16be-bom-lf.txt");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    Type(Editor(pDoc), "x");
    FileDialogWindows w;
    int nEncoding = -1, nEol = -1;
    std::string name;
    dlgtest::ModalScript script({
        [&] {
            w = FindFileDialogWindows();
            return w.hExtra != NULL;
        },
        [&] {
            nEncoding = (int)SendDlgItemMessageA(w.hExtra, IDC_FILE_ENCODING, CB_GETCURSEL, 0, 0);
            nEol = (int)SendDlgItemMessageA(w.hExtra, IDC_FILE_LINE_ENDING, CB_GETCURSEL, 0, 0);
            char buf[MAX_PATH] = "";
            SendMessageA(w.hDlg, CDM_GETSPEC, sizeof(buf), (LPARAM)buf);
            name = buf;
            // Unix line ends become Windows ones, the encoding stays.
            SendDlgItemMessageA(w.hExtra, IDC_FILE_LINE_ENDING, CB_SETCURSEL, EOL_CRLF, 0);
            PostMessageA(w.hExtra, WM_COMMAND, MAKEWPARAM(IDC_FILE_LINE_ENDING, CBN_SELCHANGE),
                         (LPARAM)GetDlgItem(w.hExtra, IDC_FILE_LINE_ENDING));
            return true;
        },
        [&] {
            // The name box of the Explorer-style dialog (cmb13, or edt1).
            std::string target = m_temp.Path("crlf.txt");
            SendMessageA(w.hDlg, CDM_SETCONTROLTEXT, 1148, (LPARAM)target.c_str());
            SendMessageA(w.hDlg, CDM_SETCONTROLTEXT, 1152, (LPARAM)target.c_str());
            dlgtest::Click(w.hDlg, IDOK);
            return true;
        },
    });
    ASSERT_TRUE(pDoc->DoSave(NULL));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(nEncoding, ENC_UTF16BE);
    EXPECT_EQ(nEol, EOL_LF);
    EXPECT_EQ(name, "utf16be-bom-lf.txt");
    EXPECT_EQ(std::string(pDoc->GetPathName()), m_temp.Path("crlf.txt"));
    std::string saved = ReadBytes(m_temp.Path("crlf.txt"));
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved.substr(0, 2), std::string("\xFE\xFF", 2));
    EXPECT_NE(saved.find(std::string("\0\r\0\n", 4)), std::string::npos);
    EXPECT_EQ(pDoc->GetEOLMode(), EOL_CRLF);
}

// A Save As that fails takes back the line-ending conversion it asked for.
TEST_F(TextDocTest, AFailedSaveAsKeepsTheTextAsItWas)
{
    std::string path = CopyFixture(m_temp, "utf8-nobom-lf.txt");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    Type(Editor(pDoc), "edit ");
    std::string text = EditorText(Editor(pDoc));
    g_choice.strPath = (m_temp.Path("no-such-folder\\out.txt")).c_str();
    g_choice.strDefExt = "txt";
    g_choice.nEncoding = ENC_UTF8;
    g_choice.nEOLMode = EOL_CRLF;
    CDoodleDoc::SetSaveAsPrompt(&ScriptedSaveAs);
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->DoSave(NULL));
        EXPECT_EQ(boxes.Texts().size(), 1u);
    }
    EXPECT_EQ(EditorText(Editor(pDoc)), text);
    EXPECT_EQ(pDoc->GetEOLMode(), EOL_LF);
    EXPECT_EQ(Editor(pDoc).GetEOLMode(), EOL_LF);
    EXPECT_EQ(std::string(pDoc->GetPathName()), path);
    EXPECT_TRUE(pDoc->IsModified());
}

// Fold margin clicks fold header lines only; turning folding off opens
// every line folded that way.
TEST_F(TextDocTest, FoldMarginClicksAndTurningFoldingOff)
{
    LoadLexers();
    m_pFrame->m_settings.nCodeFolding = 1;
    std::string path = m_temp.Path("fold.cpp");
    WriteBytes(path, "int f()\r\n{\r\n    return 1;\r\n}\r\nint g()\r\n{\r\n    return 2;\r\n}\r\n");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    CMFCScintilla& ed = Editor(pDoc);
    ed.Call(SCI_COLOURISE, 0, -1);
    auto click = [&](Sci_Position nLine) {
        SCNotification scn = {};
        scn.nmhdr.hwndFrom = ed.GetSafeHwnd();
        scn.nmhdr.idFrom = CDoodleView::IDC_EDITOR;
        scn.nmhdr.code = SCN_MARGINCLICK;
        scn.margin = CMFCScintilla::FOLD_MARGIN;
        scn.position = ed.PositionFromLine(nLine);
        pView->SendMessage(WM_NOTIFY, CDoodleView::IDC_EDITOR, (LPARAM)&scn);
    };
    ASSERT_TRUE(ed.GetFoldLevel(1) & SC_FOLDLEVELHEADERFLAG);
    ASSERT_FALSE(ed.GetFoldLevel(2) & SC_FOLDLEVELHEADERFLAG);
    click(2);
    EXPECT_TRUE(pView->GetFoldedLines().empty());
    click(1);
    click(5);
    EXPECT_EQ(pView->GetFoldedLines().size(), 2u);
    EXPECT_FALSE(ed.GetFoldExpanded(1));
    EXPECT_FALSE(ed.GetLineVisible(2));
    click(5); // open again
    EXPECT_EQ(pView->GetFoldedLines().size(), 1u);

    FrameOf(pDoc)->SetCodeFolding(FALSE);
    EXPECT_TRUE(pView->GetFoldedLines().empty());
    EXPECT_TRUE(ed.GetFoldExpanded(1));
    EXPECT_TRUE(ed.GetLineVisible(2));
}

// The close question names an untitled document without its modified mark;
// the title keeps the mark when the user does not save.
TEST_F(TextDocTest, SaveQuestionNamesTheDocumentWithoutItsMark)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    Type(Editor(pDoc), "draft");
    PumpFor(20);
    std::string title = (LPCSTR)pDoc->GetTitle();
    ASSERT_EQ(title.back(), '*') << title;
    std::string plain = title.substr(0, title.size() - 1);
    {
        qmtest::MessageBoxRecorder boxes(IDCANCEL);
        EXPECT_FALSE(pDoc->SaveModified());
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], "Save changes to " + plain + "?");
    }
    EXPECT_EQ(std::string(pDoc->GetTitle()), title) << "the mark stays while the text is unsaved";
    EXPECT_EQ(std::string(CDoodleDoc::PlainTitle("notes.txt [Read Only]")), "notes.txt");
    EXPECT_EQ(std::string(CDoodleDoc::PlainTitle("Untitled2*")), "Untitled2");
}

// Saving over a file another program changed since it was opened asks
// first, naming the file; No keeps both that program's text on disk and
// the document modified. A file nobody else touched saves without a word.
TEST_F(TextDocTest, SavingOverAFileChangedOnDiskAsksFirst)
{
    std::string path = m_temp.Path("shared.txt");
    WriteBytes(path, "from the editor\r\n");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    ed.GotoPos(ed.GetLength());
    Type(ed, "typed");
    PumpFor(20);
    WriteBytes(path, "written by another program\r\n");
    {
        qmtest::MessageBoxRecorder no(IDNO);
        EXPECT_FALSE(pDoc->DoFileSave());
        ASSERT_EQ(no.Texts().size(), 1u);
        EXPECT_NE(no.Texts()[0].find(path), std::string::npos) << no.Texts()[0];
        EXPECT_NE(no.Texts()[0].find("changed by another program"), std::string::npos) << no.Texts()[0];
    }
    EXPECT_EQ(ReadBytes(path), "written by another program\r\n");
    EXPECT_TRUE(pDoc->IsModified());
    {
        qmtest::MessageBoxRecorder yes(IDYES);
        EXPECT_TRUE(pDoc->DoFileSave());
        EXPECT_EQ(yes.Texts().size(), 1u);
    }
    EXPECT_EQ(ReadBytes(path), "from the editor\r\ntyped");
    EXPECT_FALSE(pDoc->IsModified());
    // Our own save is the new reference: the next save asks nothing.
    Type(ed, "!");
    PumpFor(20);
    {
        qmtest::MessageBoxRecorder boxes(IDNO);
        EXPECT_TRUE(pDoc->DoFileSave());
        EXPECT_TRUE(boxes.Texts().empty()) << boxes.Texts()[0];
    }
    EXPECT_EQ(ReadBytes(path), "from the editor\r\ntyped!");
}

// Copy Filepath and Open in Windows Explorer serve documents that have a
// file: the path on the clipboard, the folder opened in the shell.
TEST_F(TextDocTest, CopyFilepathAndOpenInExplorerNeedAPath)
{
    CDoodleDoc* pUntitled = NewDocument();
    ASSERT_NE(pUntitled, nullptr);
    struct Probe : CCmdUI {
        int enabled = -1;
        void Enable(BOOL bOn) override
        {
            m_bEnableChanged = TRUE;
            enabled = bOn ? 1 : 0;
        }
    };
    auto enabled = [](CView* pView, UINT nID) {
        Probe probe;
        probe.m_nID = nID;
        pView->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, NULL);
        return probe.enabled;
    };
    EXPECT_EQ(enabled(pUntitled->GetTextView(), ID_FILE_COPY_PATH), 0);
    EXPECT_EQ(enabled(pUntitled->GetTextView(), ID_FILE_OPEN_IN_EXPLORER), 0);

    CreateDirectoryA((m_temp.Path("folder one")).c_str(), NULL);
    std::string path = m_temp.Path("folder one\\named.txt");
    WriteBytes(path, "text\r\n");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    EXPECT_EQ(enabled(pView, ID_FILE_COPY_PATH), 1);
    EXPECT_EQ(enabled(pView, ID_FILE_OPEN_IN_EXPLORER), 1);

    pView->SendMessage(WM_COMMAND, ID_FILE_COPY_PATH, 0);
    std::string clip;
    if (OpenClipboard(NULL)) {
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
            clip = (const char*)GlobalLock(h);
            GlobalUnlock(h);
        }
        CloseClipboard();
    }
    EXPECT_EQ(clip, std::string(pDoc->GetPathName()));
    EXPECT_EQ(clip, path);

    // The shell opens the document's folder: a window named after it.
    struct Finder {
        static BOOL CALLBACK Visit(HWND h, LPARAM l)
        {
            char title[MAX_PATH] = "";
            GetWindowTextA(h, title, sizeof(title));
            if (IsWindowVisible(h) && lstrcmpiA(title, "folder one") == 0) {
                *reinterpret_cast<HWND*>(l) = h;
                return FALSE;
            }
            return TRUE;
        }
        static HWND Find()
        {
            HWND found = NULL;
            EnumWindows(&Visit, (LPARAM)&found);
            return found;
        }
    };
    ASSERT_EQ(Finder::Find(), (HWND)NULL);
    pView->SendMessage(WM_COMMAND, ID_FILE_OPEN_IN_EXPLORER, 0);
    HWND hExplorer = NULL;
    PumpUntil([&] { return (hExplorer = Finder::Find()) != NULL; }, 20000);
    EXPECT_NE(hExplorer, (HWND)NULL) << "no window shows the folder \"folder one\"";
    if (hExplorer != NULL)
        PostMessageA(hExplorer, WM_CLOSE, 0, 0);
}
