// search_tests.cpp - the text view's search operations against a real view:
// Find Next and Previous, Mark All, Replace (ReplaceAndFindNext) and
// Replace All, each as a table of text, selection, options and results.
#include "tdtest.h"

#include <vector>

using namespace tdtest;

namespace {

struct ViewFixture : TextDocTest {
    CDoodleView* View(CDoodleDoc* pDoc) { return dynamic_cast<CDoodleView*>(FrameOf(pDoc)->GetActiveView()); }
    CDoodleView* NewView(const char* text)
    {
        CDoodleDoc* pDoc = NewDocument();
        EXPECT_NE(pDoc, nullptr);
        CDoodleView* pView = pDoc != NULL ? View(pDoc) : NULL;
        EXPECT_NE(pView, nullptr);
        if (pView != NULL)
            pView->GetEditor().ReplaceAllText(text);
        return pView;
    }
};

std::vector<int> MarkedLines(CMFCScintilla& ed)
{
    std::vector<int> lines;
    for (Sci_Position line = ed.Call(SCI_MARKERNEXT, 0, CMFCScintilla::BOOKMARK_MASK); line >= 0;
         line = ed.Call(SCI_MARKERNEXT, (uptr_t)(line + 1), CMFCScintilla::BOOKMARK_MASK))
        lines.push_back((int)line);
    return lines;
}

enum {
    CASE = 1,
    WHOLE = 2,
    RE = 4
};

void SetFlags(CDoodleView* pView, int nOptions)
{
    pView->SetSearchFlags((nOptions & CASE) != 0, (nOptions & WHOLE) != 0, (nOptions & RE) != 0);
}

} // namespace

TEST_F(ViewFixture, FindNextAndPreviousFollowTheOptionsAndWrap)
{
    struct Row {
        const char* text;
        int selStart, selEnd;
        const char* find;
        int options;
        BOOL backward, wrap;
        int expectPos, expectEnd; // -1: no match, the selection stays
    } rows[] = {
        {"foo Foo foo", 0, 0, "foo", 0, FALSE, TRUE, 0, 3},
        {"foo Foo foo", 0, 3, "foo", 0, FALSE, TRUE, 4, 7},        // from the selection's end
        {"foo Foo foo", 0, 3, "foo", CASE, FALSE, TRUE, 8, 11},    // match case skips "Foo"
        {"foo Foo foo", 8, 11, "foo", CASE, FALSE, TRUE, 0, 3},    // wraps to the top
        {"foo Foo foo", 8, 11, "foo", CASE, FALSE, FALSE, -1, -1}, // no wrap: a miss
        {"foo Foo foo", 8, 11, "foo", 0, TRUE, FALSE, 4, 7},       // backward from the selection start
        {"foobar foo", 0, 0, "foo", WHOLE, FALSE, TRUE, 7, 10},    // whole word
        {"a1 b22 c333", 0, 0, "[0-9]+", RE, FALSE, TRUE, 1, 2},    // regular expression
        {"a1 b22 c333", 2, 2, "[0-9]+", RE, FALSE, TRUE, 4, 6},
        {"abc", 0, 0, "zzz", 0, FALSE, TRUE, -1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " / " + r.find);
        CDoodleView* pView = NewView(r.text);
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        ed.SetSel(r.selStart, r.selEnd);
        SetFlags(pView, r.options);
        Sci_Position pos = pView->FindText(r.find, r.backward, r.wrap);
        EXPECT_EQ(pos, r.expectPos);
        if (r.expectPos >= 0) {
            EXPECT_EQ(ed.GetSelectionStart(), r.expectPos);
            EXPECT_EQ(ed.GetSelectionEnd(), r.expectEnd);
        } else {
            EXPECT_EQ(ed.GetSelectionStart(), r.selStart);
            EXPECT_EQ(ed.GetSelectionEnd(), r.selEnd);
        }
    }
}

TEST_F(ViewFixture, MarkAllAddsBookmarksAndEndsForEveryPattern)
{
    struct Row {
        const char* text;
        const char* find;
        int options;
        std::vector<int> marked; // lines marked before
        int expectResult;
        std::vector<int> expectMarked;
    } rows[] = {
        {"foo\nbar\nfoo foo\nbaz", "foo", 0, {}, 1, {0, 2}},
        // Two matches on one line mark it once; lines already marked stay
        // marked, others too.
        {"foo\nbar\nfoo foo\nbaz", "foo", 0, {0, 3}, 1, {0, 2, 3}},
        {"foo\nbar", "zzz", 0, {1}, 0, {1}},
        // Empty matches: the end of each line, the end of the document.
        {"a\nb\nc", "$", RE, {}, 1, {0, 1, 2}},
        {"a\nb\n", "$", RE, {}, 1, {0, 1, 2}},
        {"a\nb\nc", "^", RE, {}, 1, {0, 1, 2}},
        {"x\n\ny", "^$", RE, {}, 1, {1}},
        {"ab\ncd\nab", "b$", RE, {}, 1, {0, 2}},
        {"Foo\nfoo", "foo", CASE, {}, 1, {1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " / " + r.find);
        CDoodleView* pView = NewView(r.text);
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        for (int line : r.marked)
            ed.ToggleBookmark(line);
        ed.SetSel(1, 2);
        SetFlags(pView, r.options);
        EXPECT_EQ(pView->MarkAll(r.find), r.expectResult);
        EXPECT_EQ(MarkedLines(ed), r.expectMarked);
        // The selection is where it was.
        EXPECT_EQ(ed.GetSelectionStart(), 1);
        EXPECT_EQ(ed.GetSelectionEnd(), 2);
    }
}

TEST_F(ViewFixture, ReplaceReplacesOnlyAMatchingSelectionThenFindsTheNext)
{
    struct Row {
        const char* text;
        int selStart, selEnd;
        const char* find;
        const char* replace;
        int options;
        int start; // -1: the first Replace only finds
        const char* expectText;
        int expectPos, expectSelStart, expectSelEnd;
    } rows[] = {
        {"foo foo", 0, 0, "foo", "bar", 0, -1, "foo foo", 0, 0, 3},
        {"foo foo", 0, 3, "foo", "bar", 0, 0, "bar foo", 4, 4, 7},
        {"foo foo", 0, 3, "foo", "bar", 0, -1, "foo foo", 4, 4, 7}, // -1: no replacement
        // A selection that is no match stays as it was.
        {"fox foo", 0, 3, "foo", "bar", 0, 0, "fox foo", 4, 4, 7},
        {"foo Foo", 0, 3, "Foo", "bar", CASE, 0, "foo Foo", 4, 4, 7},
        {"foo foo", 0, 2, "foo", "bar", 0, 0, "foo foo", 4, 4, 7}, // part of a match
        {"ab12 cd34", 2, 4, "\\([0-9]\\)\\([0-9]\\)", "\\2\\1", RE, 0, "ab21 cd34", 7, 7, 9},
        {"foo", 0, 3, "foo", "x", 0, 0, "x", -1, 0, 1}, // nothing left to find
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " / " + r.find);
        CDoodleView* pView = NewView(r.text);
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        ed.SetSel(r.selStart, r.selEnd);
        SetFlags(pView, r.options);
        Sci_Position pos = pView->ReplaceAndFindNext(r.find, r.replace, (r.options & RE) != 0, r.start);
        EXPECT_EQ(EditorText(ed), r.expectText);
        EXPECT_EQ(pos, r.expectPos);
        EXPECT_EQ(ed.GetSelectionStart(), r.expectSelStart);
        EXPECT_EQ(ed.GetSelectionEnd(), r.expectSelEnd);
    }
}

TEST_F(ViewFixture, ReplaceAllCountsWhatChanged)
{
    struct Row {
        const char* text;
        int selStart, selEnd;
        BOOL inSelection;
        BOOL readOnly;
        const char* find;
        const char* replace;
        int options;
        int expectCount;
        const char* expectText;
    } rows[] = {
        {"a b a b a", 0, 0, FALSE, FALSE, "a", "x", 0, 3, "x b x b x"},
        {"a\na\na\na", 2, 5, TRUE, FALSE, "a", "x", 0, 2, "a\nx\nx\na"},
        {"a\na", 1, 1, TRUE, FALSE, "a", "x", 0, -2, "a\na"}, // nothing selected
        {"abc", 0, 0, FALSE, FALSE, "zzz", "x", 0, 0, "abc"},
        {"a1b22", 0, 0, FALSE, FALSE, "[0-9]+", "#", RE, 2, "a#b#"},
        {"l1\nl2\n", 0, 0, FALSE, FALSE, "^", "> ", RE, 2, "> l1\n> l2\n"},
        // A read-only document changes nothing and says so.
        {"a b a", 0, 0, FALSE, TRUE, "a", "x", 0, 0, "a b a"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " / " + r.find);
        CDoodleView* pView = NewView(r.text);
        ASSERT_NE(pView, nullptr);
        CMFCScintilla& ed = pView->GetEditor();
        ed.SetSel(r.selStart, r.selEnd);
        ed.SetReadOnly(r.readOnly);
        SetFlags(pView, r.options);
        EXPECT_EQ(pView->ReplaceAll(r.find, r.replace, r.inSelection, (r.options & RE) != 0), r.expectCount);
        EXPECT_EQ(EditorText(ed), r.expectText);
        ed.SetReadOnly(FALSE);
    }
}
