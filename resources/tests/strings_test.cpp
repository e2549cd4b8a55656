// The string table: the fixed texts the program shows, the document-type
// strings, the indicator strings that size the status-bar panes, and a
// prompt for every command the menus, toolbars and shortcuts offer.
#include "restest.h"

#include <gtest/gtest.h>

#include <set>

using restest::LoadText;

namespace {

struct StringCase {
    UINT id;
    const char* text;
};

const StringCase kFixedTexts[] = {
    // Document types: title, document name, new-file name, filter, filter
    // extension, file type id, file type name.
    {IDR_TEXTTYPE, "\nUntitled\nQuillmate\n\n\nText.Document\nText Document"},
    {IDR_HEXTYPE, "\nHex\n\n\n\nQmate.Document\nQmate.Document"},
    {IDR_COMPARETYPE, "\nCompare\n\n\n\nQmate.Document\nQmate.Document"},
    {IDR_PREVIEWTYPE, "\\Web Preview\nWeb Preview\n\n\n\nWeb Preview"},
    {IDS_WORKSPACE_FILTER, "Quillmate Project File (*.dpf)|*.dpf||"},
    {IDS_SAVE_CREATE_FAILED, "Failed to create a new file when saving the current document"},
    {IDS_SEARCH_NOT_FOUND, "The search text was not found"},
    {IDS_FILTER_SAVE_FAILED, "Failed to save the file extension"},
    {IDS_FILTER_SELECT_FIRST, "Please select one or more filters before pressing Delete."},
    {IDS_SEARCH_VALUE_MISSING, "Please provide a search value"},
    {IDS_PROJECT_FOLDER_KEEP, "The project folder cannot be deleted."},
    {IDS_TEMPLATE_FOLDER_KEEP, "The template folder cannot be deleted."},
    {IDS_FIND_NOTHING_TO_DO, "Find has nothing to do"},
    {AFX_IDS_APP_TITLE, "Quillmate"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {AFX_IDS_HIDE, "&Hide"},
    {ID_INDICATOR_INS, "INS"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {AFX_ID_PREVIEW_NUMPAGE, "Display single page or double page view\n1 Page / 2 Page"},
};

TEST(StringTable, HoldsTheFixedTexts)
{
    for (const StringCase& c : kFixedTexts) {
        EXPECT_EQ(LoadText(c.id), c.text) << "string " << c.id;
    }
}

TEST(StringTable, OleFailurePromptHasNoText)
{
    wchar_t buffer[64] = {};
    EXPECT_EQ(LoadStringW(restest::Module(), IDS_OLE_INIT_FAILED, buffer, 64), 0);
}

// Texts whose wording is ours but which must be there for the code that
// loads them: the bookmark and update strings, the framework's prompts.
TEST(StringTable, HoldsTheTextsTheCodeLoads)
{
    const UINT ids[] = {IDS_NO_OTHER_BOOKMARK, AFX_IDS_HELPMODEMESSAGE, AFX_IDP_COMMAND_FAILURE,
                        AFX_IDS_MDICHILD, AFX_IDS_SCSIZE, AFX_IDS_SCMOVE, AFX_IDS_SCMINIMIZE,
                        AFX_IDS_SCMAXIMIZE, AFX_IDS_SCNEXTWINDOW, AFX_IDS_SCPREVWINDOW,
                        AFX_IDS_SCCLOSE, AFX_IDS_SCRESTORE, AFX_IDS_SCTASKLIST};
    for (UINT id : ids) {
        EXPECT_TRUE(restest::HasString(id)) << "string " << id;
    }
    std::string url = LoadText(IDS_UPDATE_URL);
    EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
}

// The status bar makes one pane per indicator and stops at the first id
// without a string; the blank panes still need text for their width.
TEST(StringTable, EveryStatusIndicatorHasText)
{
    const UINT indicators[] = {ID_INDICATOR_LINECOL, ID_INDICATOR_INS, ID_INDICATOR_CAPS,
                               ID_INDICATOR_NUM, ID_INDICATOR_SCRL, ID_INDICATOR_PROGRESS};
    for (UINT id : indicators) {
        EXPECT_TRUE(restest::HasString(id)) << "indicator " << id;
    }
    // The line/column pane must be wide enough for "Ln 12345 Col 123".
    EXPECT_GE(LoadText(ID_INDICATOR_LINECOL).size(), strlen("Ln 12345 Col 123"));
}

// A document string has seven fields; the template code reads them by index.
TEST(StringTable, DocumentStringsSplitIntoTheirFields)
{
    struct DocCase {
        UINT id;
        const char* documentName;
    };
    const DocCase cases[] = {{IDR_TEXTTYPE, "Untitled"},
                             {IDR_HEXTYPE, "Hex"},
                             {IDR_COMPARETYPE, "Compare"},
                             {IDR_PREVIEWTYPE, "Web Preview"}};
    for (const DocCase& c : cases) {
        std::string text = LoadText(c.id);
        std::vector<std::string> fields;
        size_t start = 0;
        for (;;) {
            size_t end = text.find('\n', start);
            fields.push_back(text.substr(start, end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        ASSERT_GE(fields.size(), 2u) << c.id;
        EXPECT_LE(fields.size(), 7u) << c.id;
        EXPECT_EQ(fields[1], c.documentName) << c.id;
    }
}

// Every command reachable from a menu, toolbar or shortcut has a prompt for
// the status bar; toolbar buttons also need the tooltip after the line feed.
TEST(StringTable, EveryCommandHasAPrompt)
{
    std::set<UINT> commands;
    for (UINT id : restest::AllMenuCommands())
        commands.insert(id);
    for (const ACCEL& a : restest::LoadAccelTable(IDR_MAINFRAME))
        commands.insert(a.cmd);
    for (UINT id : commands) {
        EXPECT_TRUE(restest::HasString(id)) << "command " << id << " has no prompt";
    }

    const UINT toolbars[] = {IDR_TOOLBAR_MAIN, IDR_TOOLBAR_LARGE, IDR_TOOLBAR_MENU_ICONS,
                             IDR_TOOLBAR_PREVIEW, IDR_TOOLBAR_PREVIEW_BAR, IDR_TOOLBAR_PROJECT,
                             IDR_TOOLBAR_FILETREE};
    for (UINT bar : toolbars) {
        restest::Toolbar toolbar;
        ASSERT_TRUE(restest::LoadToolbar(bar, &toolbar)) << bar;
        for (WORD id : restest::NonSeparators(toolbar)) {
            std::string prompt = LoadText(id);
            size_t lf = prompt.find('\n');
            EXPECT_TRUE(lf != std::string::npos && lf > 0 && lf + 1 < prompt.size())
                << "button " << id << " of toolbar " << bar << " needs \"description\\ntooltip\", has \""
                << prompt << "\"";
        }
    }
}

// The command bars show an edit window's context menu only while the cut
// command has a string.
TEST(StringTable, CutCommandHasAString)
{
    EXPECT_TRUE(restest::HasString(ID_EDIT_CUT));
}

} // namespace
