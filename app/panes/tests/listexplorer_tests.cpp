// listexplorer_tests.cpp - the List Explorer's tables (rows, first and last,
// insertion texts, previews, codes left out) and its window over a real
// editor: a click or Enter inserts, the arrow keys only move.
#include "coretest.h"
#include "panetest.h"

#include "listexplorer.h"
#include "scintillawrap.h"

#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> ByDisplay(int nCategory)
{
    std::map<std::string, std::string> rows;
    for (const ListExplorerRow& row : GetListExplorerRows(nCategory))
        rows[row.display] = row.insert;
    return rows;
}

std::string DisplayOf(int nCategory, const std::string& start)
{
    for (const ListExplorerRow& row : GetListExplorerRows(nCategory))
        if (row.display.compare(0, start.size(), start) == 0)
            return row.display;
    return "<none>";
}

} // namespace

TEST(ListExplorerTables, CountsFirstAndLastRows)
{
    struct Case {
        int category;
        const char* name;
        size_t rows;
        const char* first;
        const char* last;
    } cases[] = {
        {LIST_HTML_TAGS, "HTML Tags", 91, "A", "VAR"},
        {LIST_HTML_ENTITIES, "HTML Entities", 252, "&aacute\t\t'\xC3\xA1'", "&zwnj\t\t'&zwnj;'"},
        {LIST_ASCII_CODES, "Ascii Codes", 215, "33\t!", "255\t\xC3\xBF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(GetListCategoryName(c.category), c.name);
        std::vector<ListExplorerRow> rows = GetListExplorerRows(c.category);
        ASSERT_EQ(rows.size(), c.rows);
        EXPECT_EQ(rows.front().display, c.first);
        EXPECT_EQ(rows.back().display, c.last);
    }
    EXPECT_TRUE(GetListExplorerRows(3).empty());
}

TEST(ListExplorerTables, TagsInsertTheirMarkup)
{
    std::map<std::string, std::string> tags = ByDisplay(LIST_HTML_TAGS);
    EXPECT_EQ(tags["A"], "<A HREF><%REPLACE%></A>");
    EXPECT_EQ(tags["B"], "<B><%REPLACE%></B>");
    EXPECT_EQ(tags["BR"], "<BR/>");
    EXPECT_EQ(tags["IMG"], "<IMG SRC=\"\" ALT=\"\"/>");
    EXPECT_EQ(tags["H6"], "<H6><%REPLACE%></H6>");
    EXPECT_EQ(tags["APPLET"],
              "<APPLET CODEBASE=\"\" CODE=\"\" NAME=\"\" ARCHIVE=\"\" OBJECT=\"\" WIDTH=\"\" HEIGHT=\"\"><%REPLACE%></APPLET>");
    // Alphabetical, each tag once; the plain ones wrap the selection.
    std::vector<ListExplorerRow> rows = GetListExplorerRows(LIST_HTML_TAGS);
    int nWrapping = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            EXPECT_LT(rows[i - 1].display, rows[i].display);
        if (rows[i].insert == "<" + rows[i].display + "><%REPLACE%></" + rows[i].display + ">")
            ++nWrapping;
    }
    EXPECT_EQ(nWrapping, 59);
}

TEST(ListExplorerTables, EntitiesInsertTheReferenceAndShowAPreview)
{
    std::map<std::string, std::string> entities = ByDisplay(LIST_HTML_ENTITIES);
    struct Case {
        const char* display;
        const char* insert;
    } cases[] = {
        {"&aacute\t\t'\xC3\xA1'", "&aacute;"}, // a Windows-1252 character
        {"&alpha\t\t'a'", "&alpha;"},          // a look-alike
        {"&nbsp\t\t' '", "&nbsp;"},
        {"&asymp\t\t'\xCB\x9C'", "&asymp;"},      // the 1252 byte 0x98, a small tilde
        {"&alefsym\t\t'&alefsym;'", "&alefsym;"}, // nothing close: the reference
        {"&amp\t\t'&'", "&amp;"},
        {"&euro\t\t'\xE2\x82\xAC'", "&euro;"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(entities.count(c.display), 1u) << c.display << " / " << DisplayOf(LIST_HTML_ENTITIES, c.insert);
        EXPECT_EQ(entities[c.display], c.insert);
    }
    // Ordered ignoring case, with "Alpha" after "alefsym" and before "alpha".
    std::vector<ListExplorerRow> rows = GetListExplorerRows(LIST_HTML_ENTITIES);
    std::vector<std::string> names;
    for (const ListExplorerRow& row : rows)
        names.push_back(row.insert);
    auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    EXPECT_LT(at("&alefsym;"), at("&Alpha;"));
    EXPECT_LT(at("&Alpha;"), at("&alpha;"));
}

TEST(ListExplorerTables, CodesLeaveOutWhatWindows1252DoesNotShow)
{
    std::vector<ListExplorerRow> rows = GetListExplorerRows(LIST_ASCII_CODES);
    std::map<int, std::string> inserts;
    for (const ListExplorerRow& row : rows)
        inserts[std::stoi(row.display)] = row.insert;
    for (int code : {127, 129, 130, 141, 143, 144, 157, 160})
        EXPECT_EQ(inserts.count(code), 0u) << code;
    EXPECT_EQ(inserts[33], "!");
    EXPECT_EQ(inserts[126], "~");
    EXPECT_EQ(inserts[128], "\xE2\x82\xAC") << "the euro sign, as UTF-8";
    EXPECT_EQ(inserts[233], "\xC3\xA9");
    EXPECT_EQ(inserts[255], "\xC3\xBF");
}

namespace {

class ListExplorerTest : public panetest::PaneAndEditorTest<CSolutionBarList, 59510, 260> {
protected:
    void SelectText(const char* text, int nStart, int nEnd)
    {
        m_editor.ReplaceAllText(text);
        m_editor.SetSel(nStart, nEnd);
    }
    int Row(const std::string& display)
    {
        return m_pane.GetList().FindStringExact(-1, display.c_str());
    }
    POINT ScreenPointOfRow(int nRow)
    {
        m_pane.GetList().SetTopIndex(nRow);
        CRect rc;
        m_pane.GetList().GetItemRect(nRow, &rc);
        POINT pt = {rc.left + 10, rc.CenterPoint().y};
        m_pane.GetList().ClientToScreen(&pt);
        return pt;
    }
    // Picks a category in the box as the user does (the box tells its parent).
    void ChooseCategory(int nIndex)
    {
        m_pane.GetCategoryBox().SetCurSel(nIndex);
        m_pane.SendMessage(WM_COMMAND, MAKEWPARAM(CSolutionBarList::IDC_CATEGORY, CBN_SELCHANGE),
                           (LPARAM)m_pane.GetCategoryBox().GetSafeHwnd());
    }
};

} // namespace

TEST_F(ListExplorerTest, TheBoxChoosesTheList)
{
    std::vector<std::string> categories;
    for (int i = 0; i < m_pane.GetCategoryBox().GetCount(); ++i) {
        CString text;
        m_pane.GetCategoryBox().GetLBText(i, text);
        categories.push_back(text.GetString());
        EXPECT_EQ((int)m_pane.GetCategoryBox().GetItemData(i), i);
    }
    EXPECT_EQ(categories, (std::vector<std::string>{"HTML Tags", "HTML Entities", "Ascii Codes"}));
    EXPECT_EQ(m_pane.GetCategoryBox().GetCurSel(), 0);
    std::vector<std::string> rows = panetest::ListRows(m_pane.GetList().GetSafeHwnd());
    ASSERT_EQ(rows.size(), 91u);
    EXPECT_EQ(rows.front(), "A");

    ChooseCategory(2);
    rows = panetest::ListRows(m_pane.GetList().GetSafeHwnd());
    ASSERT_EQ(rows.size(), 215u);
    EXPECT_EQ(rows.front(), "33\t!");
    ChooseCategory(1);
    EXPECT_EQ(panetest::ListRows(m_pane.GetList().GetSafeHwnd()).size(), 252u);
    ChooseCategory(0);
    rows = panetest::ListRows(m_pane.GetList().GetSafeHwnd());
    ASSERT_EQ(rows.size(), 91u);
    EXPECT_EQ(rows.front(), "A");

    CRect rcBox, rcList;
    m_pane.GetCategoryBox().GetWindowRect(&rcBox);
    m_pane.GetList().GetWindowRect(&rcList);
    CRect rcPane;
    m_pane.GetWindowRect(&rcPane);
    EXPECT_EQ(rcList.top - rcPane.top, 24) << "the box takes the top 24 pixels";
    EXPECT_LE(rcPane.bottom - rcList.bottom, rcList.Height() / 10) << "the list the rest, in whole rows";
}

// A click on a row inserts it; the arrow keys only move the selection;
// Enter inserts the selected row.
TEST_F(ListExplorerTest, AClickOrEnterInsertsAndTheArrowsOnlyMove)
{
    SelectText("say x now", 4, 5);
    ASSERT_TRUE(qmtest::BringToForeground(m_pFrame->GetSafeHwnd()));
    qmtest::ClickAt(ScreenPointOfRow(Row("B")));
    qmtest::PumpFor(300);
    EXPECT_EQ(EditorText(), "say <B>x</B> now");

    SelectText("", 0, 0);
    qmtest::PumpFor(::GetDoubleClickTime() + 100); // a second click, not a double click
    qmtest::ClickAt(ScreenPointOfRow(Row("BR")));
    qmtest::PumpFor(300);
    EXPECT_EQ(EditorText(), "<BR/>");

    // The list has the focus now: arrows move, Enter inserts.
    SelectText("", 0, 0);
    ASSERT_EQ(::GetFocus(), m_pane.GetList().GetSafeHwnd());
    int nBefore = m_pane.GetList().GetCurSel();
    qmtest::SendChord({VK_DOWN});
    qmtest::SendChord({VK_DOWN});
    qmtest::PumpFor(200);
    EXPECT_EQ(m_pane.GetList().GetCurSel(), nBefore + 2);
    EXPECT_EQ(EditorText(), "") << "moving inserts nothing";
    qmtest::SendChord({VK_RETURN});
    qmtest::PumpFor(200);
    EXPECT_EQ(EditorText(), "<CAPTION></CAPTION>") << "two rows below BR";
}

TEST_F(ListExplorerTest, CodesAboveAsciiGoInAsUtf8)
{
    ChooseCategory(2);
    SelectText("", 0, 0);
    for (const char* row : {"233\t\xC3\xA9", "128\t\xE2\x82\xAC", "65\tA"}) {
        int nRow = Row(row);
        ASSERT_GE(nRow, 0) << row;
        m_pane.GetList().SetCurSel(nRow);
        EXPECT_TRUE(m_pane.InsertSelected());
    }
    EXPECT_EQ(EditorText(), "A\xE2\x82\xAC\xC3\xA9") << "each goes in before the caret";
    m_pFrame->m_pEditor = NULL;
    EXPECT_FALSE(m_pane.InsertSelected()) << "no text view, nothing to do";
}
