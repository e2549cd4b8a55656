// The text view's commands on a real view under Wine/Xvfb: each command is
// sent to the MDI frame as a menu would send it and routed to the active
// view; the text, the selection and the bookmarks are read back.
#include "tdtest.h"

#include "apphelpers.h"
#include "dialogtest.h"
#include "macros.h"
#include "tidyrun.h"

#include <resource.h>

#include <fx/cmdui.h>

#include <string>
#include <vector>

using namespace tdtest;

namespace {

// Text with the selection written into it: "^" is the anchor and "|" the
// caret; without "^" the anchor is at the caret.
struct Marked {
    std::string text;
    Sci_Position anchor = 0;
    Sci_Position caret = 0;
};

Marked Parse(const std::string& marked)
{
    Marked m;
    bool bAnchor = false;
    for (char c : marked) {
        if (c == '^') {
            m.anchor = (Sci_Position)m.text.size();
            bAnchor = true;
        } else if (c == '|') {
            m.caret = (Sci_Position)m.text.size();
        } else {
            m.text += c;
        }
    }
    if (!bAnchor)
        m.anchor = m.caret;
    return m;
}

// The editing window's text with its selection marked the same way.
std::string Show(CMFCScintilla& ed)
{
    std::string text = EditorText(ed);
    Sci_Position nAnchor = ed.GetAnchor(), nCaret = ed.GetCurrentPos();
    std::string out;
    for (Sci_Position i = 0; i <= (Sci_Position)text.size(); ++i) {
        if (i == nAnchor && nAnchor != nCaret)
            out += '^';
        if (i == nCaret)
            out += '|';
        if (i < (Sci_Position)text.size())
            out += text[(size_t)i];
    }
    return out;
}

// Lines that carry a bookmark.
std::vector<int> Bookmarks(CMFCScintilla& ed)
{
    std::vector<int> lines;
    for (Sci_Position n = 0; n < ed.GetLineCount(); ++n)
        if (ed.Call(SCI_MARKERGET, (uptr_t)n) & CMFCScintilla::BOOKMARK_MASK)
            lines.push_back((int)n);
    return lines;
}

struct CommandCase {
    const char* name;
    const char* before; // marked text
    UINT id;            // command
    const char* after;  // marked text afterwards
    std::vector<int> marksBefore = {};
    std::vector<int> marksAfter = {};
};

// Every row runs in the C++ language (line comment "//") with tab width 4
// and blanks for tabs.
const CommandCase kCommands[] = {
    {"SelectAll", "ab|c\r\nd", ID_EDIT_SELECT_ALL, "|abc\r\nd^"},
    {"SelectWord", "hello wo|rld end", ID_EDIT_SELECT_WORD, "hello ^world| end"},
    {"SelectLine", "one\r\ntw|o\r\nthree", ID_EDIT_SELECT_LINE, "one\r\n^two|\r\nthree"},
    {"CutLine", "one\r\ntw|o\r\nthree", ID_EDIT_CUT_LINE, "one\r\n|three"},
    {"CopyLineKeepsTheText", "one\r\ntw|o", ID_EDIT_COPY_LINE, "one\r\ntw|o"},
    {"DeleteWord", "hello wo|rld end", ID_EDIT_DELETE_WORD, "hello | end"},
    {"DeleteToEndOfLine", "ab|cd\r\nef", ID_EDIT_DELETE_TO_EOL, "ab|\r\nef"},
    {"DeleteLine", "one\r\ntw|o\r\nthree", ID_EDIT_DELETE_LINE, "one\r\n|three"},
    {"SwapLines", "one\r\ntw|o\r\nthree", ID_EDIT_SWAP_LINES, "two\r\n|one\r\nthree"},
    {"UpperCase", "^abc| def", ID_EDIT_UPPER_CASE, "^ABC| def"},
    {"UpperCaseNonAscii", "^caf\xc3\xa9| x", ID_EDIT_UPPER_CASE, "^CAF\xc3\x89| x"},
    {"LowerCase", "^ABC| DEF", ID_EDIT_LOWER_CASE, "^abc| DEF"},
    {"IndentRightFromTheLineStart", "ab|c", ID_EDIT_INDENT_RIGHT, "    |abc"},
    {"IndentRightSelectedLines", "^one\r\ntwo|\r\n", ID_EDIT_INDENT_RIGHT, "^    one\r\n    two\r\n|"},
    {"IndentLeftFromTheLineStart", "    ab|c", ID_EDIT_INDENT_LEFT, "|abc"},
    {"IndentLeftSelectedLines", "^    one\r\n    two\r\n|", ID_EDIT_INDENT_LEFT, "^one\r\ntwo\r\n|"},
    {"Comment", "ab|c", ID_EDIT_COMMENT, "// ab|c"},
    {"CommentSelectedLines", "^one\r\ntwo|\r\nthree", ID_EDIT_COMMENT, "^// one\r\n// two|\r\nthree"},
    {"Uncomment", "// ab|c", ID_EDIT_UNCOMMENT, "ab|c"},
    {"UncommentLeavesOtherLines", "^// one\r\ntwo|", ID_EDIT_UNCOMMENT, "^one\r\ntwo|"},
    {"TabsToSpacesEverywhere", "x\r\n\ta\tb|\t", ID_EDIT_TABS_TO_SPACES, "x\r\n|    a    b    "},
    {"SpacesToTabs", "        x\r\nab    c|", ID_EDIT_SPACES_TO_TABS, "\t\tx\r\n|ab\tc"},
    {"SpacesToTabsLeavesShortRuns", "a   b|", ID_EDIT_SPACES_TO_TABS, "|a   b"},
    {"TrimTrailingSpaces", "a  \r\nb|\t \r\nc\r\nd \t", ID_EDIT_TRIM_TRAILING, "a\r\n|b\r\nc\r\nd"},
    {"TrimKeepsCleanLines", "one\r\ntw|o", ID_EDIT_TRIM_TRAILING, "one\r\n|two"},
    {"ToggleBookmarkOn", "one\r\ntw|o", ID_BOOKMARK_TOGGLE, "one\r\ntw|o", {}, {1}},
    {"ToggleBookmarkOff", "one\r\ntw|o", ID_BOOKMARK_TOGGLE, "one\r\ntw|o", {0, 1}, {0}},
    {"NextBookmark", "o|ne\r\ntwo\r\nthree", ID_BOOKMARK_NEXT, "one\r\ntwo\r\n|three", {0, 2}, {0, 2}},
    {"NextBookmarkWraps", "one\r\ntwo\r\nth|ree", ID_BOOKMARK_NEXT, "|one\r\ntwo\r\nthree", {0, 2}, {0, 2}},
    {"PreviousBookmark", "one\r\ntwo\r\nth|ree", ID_BOOKMARK_PREVIOUS, "|one\r\ntwo\r\nthree", {0, 2}, {0, 2}},
    {"ClearBookmarks", "one\r\ntw|o", ID_BOOKMARK_CLEAR, "one\r\ntw|o", {0, 1}, {}},
};

class TextCommandsTest : public TextDocTest {
protected:
    void SetUp() override
    {
        TextDocTest::SetUp();
        LoadLexers();
        for (int i = 0; i < m_pFrame->m_lexers.GetCount(); ++i)
            if (m_pFrame->m_lexers.GetAt(i).GetMenuText() == "C++")
                m_nCpp = i;
    }

    // A new document with the text and selection of a marked text, viewed
    // as C++.
    CDoodleView* NewView(const std::string& marked)
    {
        CDoodleDoc* pDoc = NewDocument();
        EXPECT_NE(pDoc, nullptr);
        if (pDoc == nullptr)
            return nullptr;
        CDoodleView* pView = pDoc->GetTextView();
        EXPECT_GE(m_nCpp, 0);
        pView->SetLanguage(m_nCpp);
        Marked m = Parse(marked);
        CMFCScintilla& ed = pView->GetEditor();
        ed.ReplaceAllText(m.text.c_str());
        ed.EmptyUndoBuffer();
        ed.SetSel(m.anchor, m.caret);
        return pView;
    }

    // The command as the menu sends it to the main frame.
    void Command(UINT id) { m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // What the update handlers say about a command of the active view.
    CTestCmdUI State(CDoodleView* pView, UINT id)
    {
        CTestCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(pView, TRUE);
        return ui;
    }

    int m_nCpp = -1;
};

TEST_F(TextCommandsTest, EveryEditingLineCaseIndentCommentTabTrimAndBookmarkCommand)
{
    for (const CommandCase& c : kCommands) {
        SCOPED_TRACE(c.name);
        CDoodleView* pView = NewView(c.before);
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        for (int line : c.marksBefore)
            ed.Call(SCI_MARKERADD, (uptr_t)line, CMFCScintilla::BOOKMARK_MARKER);
        EXPECT_TRUE(State(pView, c.id).m_bEnabled);
        Command(c.id);
        EXPECT_EQ(Show(ed), c.after);
        EXPECT_EQ(Bookmarks(ed), c.marksAfter);
        pView->GetDocument()->SetModifiedFlag(FALSE);
        pView->GetDocument()->OnCloseDocument();
        PumpFor(10);
    }
}

// Undo, redo, cut, copy, paste and the append variants through the
// clipboard, with the states their update handlers give.
TEST_F(TextCommandsTest, ClipboardCommandsAndTheirStates)
{
    CDoodleView* pView = NewView("alpha |beta");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    EXPECT_FALSE(State(pView, ID_EDIT_UNDO).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_EDIT_REDO).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_EDIT_CUT).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_EDIT_COPY).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_EDIT_COPY_APPEND).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_EDIT_CUT_APPEND).m_bEnabled);

    ed.SetSel(0, 5);
    EXPECT_TRUE(State(pView, ID_EDIT_COPY).m_bEnabled);
    EXPECT_TRUE(State(pView, ID_EDIT_CUT_APPEND).m_bEnabled);
    Command(ID_EDIT_COPY);
    EXPECT_TRUE(State(pView, ID_EDIT_PASTE).m_bEnabled);
    ed.SetSel(11, 11);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Show(ed), "alpha betaalpha|");
    EXPECT_TRUE(State(pView, ID_EDIT_UNDO).m_bEnabled);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(EditorText(ed), "alpha beta");
    EXPECT_TRUE(State(pView, ID_EDIT_REDO).m_bEnabled);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(EditorText(ed), "alpha betaalpha");

    // Copy Append adds " beta" to "alpha" on the clipboard; Cut Append adds
    // "alpha" again and removes it from the text.
    ed.SetSel(5, 10);
    Command(ID_EDIT_COPY_APPEND);
    ed.SetSel(10, 15);
    Command(ID_EDIT_CUT_APPEND);
    EXPECT_EQ(Show(ed), "alpha beta|");
    ed.SetSel(0, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(EditorText(ed), "alpha betaalphaalpha beta");

    // Cut takes the selection away.
    ed.SetSel(0, 6);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(EditorText(ed), "betaalphaalpha beta");
}

TEST_F(TextCommandsTest, InsertDateTimeAndFileName)
{
    std::string path = m_temp.Path("notes.txt");
    coretest::WriteBytes(path, "x");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CMFCScintilla& ed = Editor(pDoc);
    ed.SetSel(1, 1);
    Type(ed, "!");
    PumpFor(20);
    // The title now carries the modified mark; the inserted name does not.
    ASSERT_EQ(std::string(pDoc->GetTitle()), "notes.txt*");
    Command(ID_EDIT_INSERT_FILENAME);
    EXPECT_EQ(EditorText(ed), "x!notes.txt");

    char date[1024] = "", time[1024] = "";
    ASSERT_GT(GetDateFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, NULL, NULL, date, sizeof(date)), 0);
    ed.ReplaceAllText("");
    Command(ID_EDIT_INSERT_DATE);
    EXPECT_EQ(EditorText(ed), date);
    ed.ReplaceAllText("");
    ASSERT_GT(GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, NULL, NULL, time, sizeof(time)), 0);
    Command(ID_EDIT_INSERT_TIME);
    // The clock may have moved on by a second; the form is the same.
    EXPECT_EQ(EditorText(ed).size(), strlen(time)) << EditorText(ed);
}

// Tabs to Spaces and back search with no flags, whatever the last search
// used; the flags of the last search are there again afterwards.
TEST_F(TextCommandsTest, TabConversionIgnoresTheLastSearchFlags)
{
    for (BOOL bToSpaces : {TRUE, FALSE}) {
        SCOPED_TRACE(bToSpaces ? "tabs to spaces" : "spaces to tabs");
        CDoodleView* pView = NewView(bToSpaces ? "ab\tcd\t|x" : "ab    cd    |x");
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        pView->SetSearchFlags(TRUE, TRUE, TRUE);
        const int nFlags = ed.GetSearchFlags();
        Command(bToSpaces ? ID_EDIT_TABS_TO_SPACES : ID_EDIT_SPACES_TO_TABS);
        EXPECT_EQ(EditorText(ed), bToSpaces ? "ab    cd    x" : "ab\tcd\tx");
        EXPECT_EQ(ed.GetSearchFlags(), nFlags);
    }
    // Trimming uses its regular expression and gives the flags back too.
    CDoodleView* pView = NewView("a \r\n|b");
    pView->SetSearchFlags(FALSE, TRUE, FALSE);
    Command(ID_EDIT_TRIM_TRAILING);
    EXPECT_EQ(EditorText(pView->GetEditor()), "a\r\nb");
    EXPECT_EQ(pView->GetEditor().GetSearchFlags(), SCFIND_WHOLEWORD);
}

// A read-only document takes no replacement, and the counts say so.
TEST_F(TextCommandsTest, ReplacementsInAReadOnlyDocumentReportNothingChanged)
{
    CDoodleView* pView = NewView("a\tb \r\nc|");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    ed.SetReadOnly(TRUE);
    EXPECT_EQ(ed.ReplaceAllMatches("a", "x", FALSE, FALSE), 0);
    EXPECT_EQ(pView->ConvertTabs(TRUE), 0);
    EXPECT_EQ(pView->TrimTrailingSpaces(), 0);
    EXPECT_EQ(EditorText(ed), "a\tb \r\nc");
    ed.SetReadOnly(FALSE);
    EXPECT_EQ(ed.ReplaceAllMatches("a", "x", FALSE, FALSE), 1);
    EXPECT_EQ(pView->ConvertTabs(TRUE), 1);
    EXPECT_EQ(pView->TrimTrailingSpaces(), 1);
    EXPECT_EQ(EditorText(ed), "x    b\r\nc");
}

// A whole-document replacement reports itself to the view once: the text
// changed, and the line-number margin fits the new line count.
TEST_F(TextCommandsTest, ABatchOfReplacementsIsReportedOnce)
{
    CDoodleView* pView = NewView("|");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    std::string text;
    for (int i = 0; i < 12000; ++i)
        text += "\tx,";
    ed.ReplaceAllText(text.c_str());
    PumpFor(20);
    const int nWidthBefore = (int)ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN);
    const int nChangesBefore = m_pFrame->m_nTextChanged;
    EXPECT_EQ(ed.ReplaceAllMatches(",", "\r\n", FALSE, FALSE), 12000);
    EXPECT_EQ(ed.GetLineCount(), 12001);
    EXPECT_EQ(m_pFrame->m_nTextChanged, nChangesBefore + 1);
    EXPECT_GT((int)ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN), nWidthBefore)
        << "five digits need a wider margin than four";
    // The component reports changes as usual afterwards.
    Command(ID_EDIT_TABS_TO_SPACES);
    EXPECT_EQ(m_pFrame->m_nTextChanged, nChangesBefore + 2);
    EXPECT_EQ(EditorText(ed).substr(0, 9), "    x\r\n  ");
    Type(ed, "y");
    EXPECT_GT(m_pFrame->m_nTextChanged, nChangesBefore + 2);
}

TEST_F(TextCommandsTest, CopyFilePathAndStatesThatNeedAPath)
{
    CDoodleView* pView = NewView("x|");
    ASSERT_NE(pView, nullptr);
    EXPECT_FALSE(State(pView, ID_FILE_COPY_PATH).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_FILE_OPEN_IN_EXPLORER).m_bEnabled);

    std::string path = m_temp.Path("caf\xc3\xa9.txt");
    coretest::WriteBytes(path, "text");
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pOther = pDoc->GetTextView();
    EXPECT_TRUE(State(pOther, ID_FILE_COPY_PATH).m_bEnabled);
    EXPECT_TRUE(State(pOther, ID_FILE_OPEN_IN_EXPLORER).m_bEnabled);
    Command(ID_FILE_COPY_PATH);
    ASSERT_TRUE(OpenClipboard(NULL));
    HANDLE h = GetClipboardData(CF_TEXT);
    std::string clip = h != NULL ? (const char*)GlobalLock(h) : "";
    if (h != NULL)
        GlobalUnlock(h);
    CloseClipboard();
    EXPECT_EQ(clip, std::string(pDoc->GetPathName()));
}

// Spelling works on any text view (spelling_tests.cpp).
TEST_F(TextCommandsTest, SpellingIsEnabledOnAnyTextView)
{
    CDoodleView* pView = NewView("^abc|");
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(State(pView, ID_TOOLS_SPELLING).m_bEnabled);
}

// Create template from Selection hands the selected text to the template
// explorer through the frame; without a selection it is greyed.
TEST_F(TextCommandsTest, CreateTemplateFromSelectionHandsTheSelectionOn)
{
    CDoodleView* pView = NewView("one ^two\r\nthree| four");
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(State(pView, ID_EDIT_TEMPLATE_FROM_SELECTION).m_bEnabled);
    Command(ID_EDIT_TEMPLATE_FROM_SELECTION);
    EXPECT_EQ(m_pFrame->m_templates, (std::vector<std::string>{"two\r\nthree"}));

    pView->GetEditor().SetSel(2, 2);
    EXPECT_FALSE(State(pView, ID_EDIT_TEMPLATE_FROM_SELECTION).m_bEnabled);
    Command(ID_EDIT_TEMPLATE_FROM_SELECTION);
    EXPECT_EQ(m_pFrame->m_templates.size(), 1u);
}

// ---------------------------------------------------------------------------
// View As.

TEST_F(TextCommandsTest, ViewAsEntriesSwitchTheLanguage)
{
    CDoodleView* pView = NewView("int main() { return 0; }|");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    CDoodleFrame* pFrame = FrameOf(pView->GetDocument());
    const int nCount = m_pFrame->m_lexers.GetCount();
    int nText = -1;
    for (int i = 0; i < nCount; ++i)
        if (m_pFrame->m_lexers.GetAt(i).GetMenuText() == "Text")
            nText = i;
    ASSERT_GE(nText, 0);

    Command(ID_VIEW_AS_FIRST + nText);
    EXPECT_EQ(pFrame->GetViewAsIndex(), nText);
    EXPECT_EQ(LexerName(ed), "");
    EXPECT_EQ(State(pView, ID_VIEW_AS_FIRST + nText).m_nCheck, 1);
    EXPECT_EQ(State(pView, ID_VIEW_AS_FIRST + m_nCpp).m_nCheck, 0);

    Command(ID_VIEW_AS_FIRST + m_nCpp);
    EXPECT_EQ(pFrame->GetViewAsIndex(), m_nCpp);
    EXPECT_EQ(LexerName(ed), "cpp");
    EXPECT_EQ(State(pView, ID_VIEW_AS_FIRST + m_nCpp).m_nCheck, 1);
    // Entries past the list do nothing and are disabled.
    EXPECT_FALSE(State(pView, ID_VIEW_AS_FIRST + nCount + 1).m_bEnabled);
    Command(ID_VIEW_AS_FIRST + nCount + 1);
    EXPECT_EQ(pFrame->GetViewAsIndex(), m_nCpp);

    // Without languages the first entry says so and is disabled.
    m_pFrame->m_lexers.LoadAll((m_temp.Path("no-such-folder")).c_str());
    ASSERT_EQ(m_pFrame->m_lexers.GetCount(), 0);
    CTestCmdUI ui = State(pView, ID_VIEW_AS_FIRST);
    EXPECT_FALSE(ui.m_bEnabled);
    EXPECT_TRUE(ui.m_bTextSet);
}

TEST_F(TextCommandsTest, ViewAsMoreOpensTheListAtTheCurrentLanguage)
{
    CDoodleView* pView = NewView("x|");
    ASSERT_NE(pView, nullptr);
    CDoodleFrame* pFrame = FrameOf(pView->GetDocument());
    int nText = -1;
    for (int i = 0; i < m_pFrame->m_lexers.GetCount(); ++i)
        if (m_pFrame->m_lexers.GetAt(i).GetMenuText() == "Text")
            nText = i;
    ASSERT_GE(nText, 0);

    std::vector<std::string> lines;
    int nShownSel = -2;
    {
        dlgtest::ModalScript script({[&] {
            HWND h = dlgtest::FindDialog("View As ...");
            if (h == NULL)
                return false;
            lines = dlgtest::ListLines(h, IDC_VIEW_AS_LIST);
            nShownSel = (int)SendDlgItemMessageA(h, IDC_VIEW_AS_LIST, LB_GETCURSEL, 0, 0);
            dlgtest::SelectLine(h, IDC_VIEW_AS_LIST, nText);
            dlgtest::Click(h, IDOK);
            return true;
        }});
        Command(ID_VIEW_AS_MORE);
        EXPECT_TRUE(script.Finished());
    }
    ASSERT_EQ((int)lines.size(), m_pFrame->m_lexers.GetCount());
    for (int i = 0; i < (int)lines.size(); ++i)
        EXPECT_EQ(lines[i], std::string(m_pFrame->m_lexers.GetAt(i).GetMenuText()));
    EXPECT_EQ(nShownSel, m_nCpp);
    EXPECT_EQ(pFrame->GetViewAsIndex(), nText);

    // Cancel keeps the language.
    {
        dlgtest::ModalScript script({[&] {
            HWND h = dlgtest::FindDialog("View As ...");
            if (h == NULL)
                return false;
            dlgtest::SelectLine(h, IDC_VIEW_AS_LIST, m_nCpp);
            dlgtest::Click(h, IDCANCEL);
            return true;
        }});
        Command(ID_VIEW_AS_MORE);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(pFrame->GetViewAsIndex(), nText);

    // A double click below the entries keeps the dialog open; one on an
    // entry takes it.
    auto doubleClickAt = [](HWND hList, POINT pt) {
        POINT screen = pt;
        ClientToScreen(hList, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageA(hList, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        PostMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageA(hList, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    };
    bool bOpenAfterEmptyClick = false;
    {
        HWND hDlg = NULL;
        DWORD dwClicked = 0;
        dlgtest::ModalScript script({[&] {
                                         hDlg = dlgtest::FindDialog("View As ...");
                                         if (hDlg == NULL)
                                             return false;
                                         HWND hList = GetDlgItem(hDlg, IDC_VIEW_AS_LIST);
                                         RECT rc;
                                         GetClientRect(hList, &rc);
                                         doubleClickAt(hList, POINT{10, rc.bottom - 5});
                                         dwClicked = GetTickCount();
                                         return true;
                                     },
                                     [&] {
                                         if (GetTickCount() - dwClicked < 500)
                                             return false;
                                         bOpenAfterEmptyClick = IsWindow(hDlg) && IsWindowVisible(hDlg);
                                         HWND hList = GetDlgItem(hDlg, IDC_VIEW_AS_LIST);
                                         RECT rcItem;
                                         SendMessageA(hList, LB_GETITEMRECT, (WPARAM)m_nCpp, (LPARAM)&rcItem);
                                         doubleClickAt(hList, POINT{rcItem.left + 5, (rcItem.top + rcItem.bottom) / 2});
                                         return true;
                                     }});
        Command(ID_VIEW_AS_MORE);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_TRUE(bOpenAfterEmptyClick);
    EXPECT_EQ(pFrame->GetViewAsIndex(), m_nCpp);
}

// ---------------------------------------------------------------------------
// HTML Tidy and the XML check through the view: the shipped option files in
// the per-user Tidy folder, the report in the tool window.

class TidyViewTest : public TextCommandsTest {
protected:
    void SetUp() override
    {
        TextCommandsTest::SetUp();
        ASSERT_TRUE(EnsureAppDataFolders());
        std::string shipped = std::string(QM_SOURCE_DIR) + "\\resources\\tidy";
        for (char& c : shipped)
            if (c == '/')
                c = '\\';
        CopyMissingFiles(shipped.c_str(), GetAppDataFolder() + "\\Tidy", "*.tidy");
        ASSERT_TRUE(coretest::FileExists((GetAppDataFolder() + "\\Tidy\\html_clean.tidy").GetString()));
    }
};

TEST_F(TidyViewTest, HtmlCleanRepairsTheDocumentAndReportsInTheToolWindow)
{
    CDoodleView* pView = NewView("<title>Caf\xc3\xa9</title><p>\xe6\x97\xa5\xe6\x9c\xac <b>bold|");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    Command(ID_TOOLS_TIDY_HTML);
    std::string text = EditorText(ed);
    EXPECT_NE(text.find("<title>Caf\xc3\xa9</title>"), std::string::npos) << text;
    EXPECT_NE(text.find("\xe6\x97\xa5\xe6\x9c\xac <b>bold</b>"), std::string::npos) << text;
    EXPECT_NE(text.find("</html>"), std::string::npos) << text;
    // The document's CR LF line ends stay.
    EXPECT_NE(text.find("</head>\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("generator"), std::string::npos) << "the option file asks for no tidy mark:\n"
                                                         << text;
    EXPECT_NE(m_pFrame->m_toolOutput.find("missing </b>"), std::string::npos) << m_pFrame->m_toolOutput;
    // One undo gives the text back.
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(EditorText(ed), "<title>Caf\xc3\xa9</title><p>\xe6\x97\xa5\xe6\x9c\xac <b>bold");
}

TEST_F(TidyViewTest, XhtmlCleanWritesXhtml)
{
    CDoodleView* pView = NewView("<title>t</title><p>a<br>b|");
    ASSERT_NE(pView, nullptr);
    Command(ID_TOOLS_TIDY_XHTML);
    std::string text = EditorText(pView->GetEditor());
    EXPECT_NE(text.find("xmlns=\"http://www.w3.org/1999/xhtml\""), std::string::npos) << text;
    EXPECT_NE(text.find("<br />"), std::string::npos) << text;
}

TEST_F(TidyViewTest, XmlPrettyPrintIndentsXmlWithAndWithoutItsOptionFile)
{
    for (bool bWithFile : {true, false}) {
        SCOPED_TRACE(bWithFile ? "with the option file" : "without the option file");
        if (!bWithFile) {
            ASSERT_TRUE(DeleteFileA(GetTidyOptionFilePath(TIDY_XML_PRETTY)));
        }
        CDoodleView* pView = NewView("<a><b x=\"1\">\xc3\xa9</b><c/></a>|");
        ASSERT_NE(pView, nullptr);
        Command(ID_TOOLS_TIDY_XML);
        std::string text = EditorText(pView->GetEditor());
        // XML stays XML: no html, head or body is added.
        EXPECT_EQ(text.find("<html"), std::string::npos) << text;
        EXPECT_NE(text.find("<a>\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("<b x=\"1\">\xc3\xa9</b>"), std::string::npos) << text;
        EXPECT_NE(text.find("<c />"), std::string::npos) << text;
    }
}

TEST_F(TidyViewTest, FailedOrEmptyRunsLeaveTheDocumentAndSaySo)
{
    // Text Tidy cannot take whole (a NUL inside) and an empty XML document.
    struct Case {
        const char* name;
        std::string text;
        UINT id;
    } cases[] = {
        {"nul inside", std::string("<p>a\0b</p>", 10), ID_TOOLS_TIDY_HTML},
        {"empty xml", "", ID_TOOLS_TIDY_XML},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDoodleView* pView = NewView("");
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        ed.AddText(c.text.data(), (Sci_Position)c.text.size());
        ed.SetSavePoint();
        m_pFrame->m_toolOutput.clear();
        Command(c.id);
        EXPECT_EQ(EditorText(ed), c.text);
        EXPECT_FALSE(ed.Call(SCI_GETMODIFY));
        EXPECT_NE(m_pFrame->m_toolOutput.find("left as it was"), std::string::npos) << m_pFrame->m_toolOutput;
    }
    // A read-only document is not replaced either.
    CDoodleView* pView = NewView("<p>x|");
    pView->GetEditor().SetReadOnly(TRUE);
    Command(ID_TOOLS_TIDY_HTML);
    EXPECT_EQ(EditorText(pView->GetEditor()), "<p>x");
    EXPECT_NE(m_pFrame->m_toolOutput.find("read-only"), std::string::npos) << m_pFrame->m_toolOutput;
}

TEST_F(TidyViewTest, XmlCheckReportsInTheToolWindow)
{
    CDoodleView* pView = NewView("<a>\r\n<b></c>\r\n</a>|");
    ASSERT_NE(pView, nullptr);
    Command(ID_TOOLS_XML_CHECK);
    EXPECT_EQ(m_pFrame->m_toolOutput.rfind("Line: 2 Col: ", 0), 0u) << m_pFrame->m_toolOutput;
    pView->GetEditor().ReplaceAllText("<a><b/></a>");
    Command(ID_TOOLS_XML_CHECK);
    EXPECT_EQ(m_pFrame->m_toolOutput, "** document is well formed **");
}

// ---------------------------------------------------------------------------
// Macros: record through the naming dialog, stop (stored in macros.xml),
// play through the macro dialog.

TEST_F(TextCommandsTest, MacroRecordStopAndPlay)
{
    ASSERT_TRUE(EnsureAppDataFolders());
    ::DeleteFileA(GetMacroFilePath());
    qmtest::MessageBoxRecorder boxes;
    CDoodleView* pView = NewView("|");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    EXPECT_TRUE(State(pView, ID_MACRO_RECORD).m_bEnabled);
    EXPECT_TRUE(State(pView, ID_MACRO_PLAY).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_MACRO_STOP).m_bEnabled);
    {
        dlgtest::ModalScript script({[&] {
            HWND h = dlgtest::FindDialog("New Macro");
            if (h == NULL)
                return false;
            SetDlgItemTextA(h, IDC_NEW_MACRO_NAME, "shout");
            dlgtest::Click(h, IDOK);
            return true;
        }});
        Command(ID_MACRO_RECORD);
        EXPECT_TRUE(script.Finished());
    }
    ASSERT_TRUE(pView->IsRecordingMacro());
    EXPECT_FALSE(State(pView, ID_MACRO_RECORD).m_bEnabled);
    EXPECT_FALSE(State(pView, ID_MACRO_PLAY).m_bEnabled);
    EXPECT_TRUE(State(pView, ID_MACRO_STOP).m_bEnabled);
    ed.SetFocus();
    Type(ed, "hey");
    Command(ID_EDIT_SELECT_ALL);
    Command(ID_EDIT_UPPER_CASE);
    Command(ID_MACRO_STOP);
    EXPECT_FALSE(pView->IsRecordingMacro());
    ASSERT_EQ(EditorText(ed), "HEY");
    std::vector<CString> names = CMacroStore::ListMacroNames(GetMacroFilePath());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(std::string(names[0]), "shout");

    // Played in a new document, the steps type and upper-case again.
    CDoodleView* pOther = NewView("|");
    ASSERT_NE(pOther, nullptr);
    {
        dlgtest::ModalScript script({[&] {
            HWND h = dlgtest::FindDialog("Macros");
            if (h == NULL)
                return false;
            dlgtest::SelectLine(h, IDC_MACRO_LIST, 0);
            dlgtest::Click(h, IDC_MACRO_RUN);
            return true;
        }});
        Command(ID_MACRO_PLAY);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(EditorText(pOther->GetEditor()), "HEY");
    EXPECT_TRUE(boxes.Texts().empty());
}

// The editing component tells no position with its caret updates: the view
// reads the caret and reports the place for the navigation history.
TEST_F(TextCommandsTest, CaretUpdatesReportTheCaretPlace)
{
    CDoodleView* pView = NewView("one\r\ntwo|");
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    PumpFor(30);
    m_pFrame->m_places.clear();
    ed.SetSel(2, 2);
    PumpFor(30);
    ed.SetSel(6, 6);
    PumpFor(30);
    std::vector<long long> places;
    for (const auto& place : m_pFrame->m_places) {
        EXPECT_EQ(place.first, pView->GetSafeHwnd());
        if (places.empty() || places.back() != place.second)
            places.push_back(place.second);
    }
    EXPECT_EQ(places, (std::vector<long long>{2, 6}));
}

} // namespace
