// searchhistory_tests.cpp - the search lists on real combo boxes and the
// program's private registry key: loading with gaps and "Selected", adding
// with the case rule, the 50-entry cap, and several boxes sharing a list.
#include "coretest.h"
#include "apphelpers.h"

#include <string>
#include <vector>

namespace {

struct Box {
    HWND hWnd;
    Box() { hWnd = ::CreateWindowA("COMBOBOX", "", CBS_DROPDOWN | WS_POPUP, 0, 0, 200, 200, NULL, NULL, NULL, NULL); }
    ~Box() { ::DestroyWindow(hWnd); }
    std::vector<std::string> Items() const
    {
        std::vector<std::string> out;
        char text[256];
        for (int i = 0; i < (int)::SendMessageA(hWnd, CB_GETCOUNT, 0, 0); ++i) {
            ::SendMessageA(hWnd, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
            out.push_back(text);
        }
        return out;
    }
    int Selected() const { return (int)::SendMessageA(hWnd, CB_GETCURSEL, 0, 0); }
    std::string Text() const
    {
        char text[256] = "";
        ::GetWindowTextA(hWnd, text, sizeof(text));
        return text;
    }
};

typedef std::vector<std::string> Strings;

class SearchHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        HKEY hApp = AfxGetApp()->GetAppRegistryKey();
        ASSERT_NE(hApp, (HKEY)NULL);
        ::RegDeleteTreeA(hApp, "TestHistory");
        ::RegCloseKey(hApp);
    }
    void Write(const char* name, const char* value) { AfxGetApp()->WriteProfileString("TestHistory", name, value); }
    std::string Read(const char* name) { return (const char*)AfxGetApp()->GetProfileString("TestHistory", name, "<none>"); }
    Strings Stored()
    {
        Strings out;
        for (const CString& s : ReadSearchHistory("TestHistory"))
            out.push_back((const char*)s);
        return out;
    }
};

} // namespace

TEST_F(SearchHistory, LoadingReadsEveryNumberAndTheSelection)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> values;
        int selected; // written as "Selected" unless -9
        Strings expect;
        int expectSel;
    } cases[] = {
        {"nothing stored", {}, -9, {}, -1},
        {"newest first", {{"0", "new"}, {"1", "old"}}, 1, {"new", "old"}, 1},
        {"Selected -1 selects the first", {{"0", "a"}, {"1", "b"}}, -1, {"a", "b"}, 0},
        {"no Selected: the first", {{"0", "a"}, {"1", "b"}}, -9, {"a", "b"}, 0},
        {"Selected past the list selects nothing", {{"0", "a"}}, 5, {"a"}, -1},
        // A gap (a value deleted by hand) loses nothing after it.
        {"gaps", {{"0", "a"}, {"3", "d"}, {"7", "h"}}, 0, {"a", "d", "h"}, 0},
        {"empty values are skipped", {{"0", ""}, {"1", "b"}}, 0, {"b"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (auto& v : c.values)
            Write(v.first, v.second);
        if (c.selected != -9)
            AfxGetApp()->WriteProfileInt("TestHistory", "Selected", c.selected);
        Box box;
        ::SendMessageA(box.hWnd, CB_ADDSTRING, 0, (LPARAM) "left over");
        LoadSearchHistory(box.hWnd, "TestHistory");
        EXPECT_EQ(box.Items(), c.expect);
        EXPECT_EQ(box.Selected(), c.expectSel);
    }
}

TEST_F(SearchHistory, AddingPutsNewTextsOnTopAndSelectsOnesThatDifferOnlyInCase)
{
    Box box;
    EXPECT_FALSE(AddToComboHistory(box.hWnd, "", "TestHistory"));
    EXPECT_TRUE(Stored().empty());

    EXPECT_TRUE(AddToComboHistory(box.hWnd, "foo", "TestHistory"));
    EXPECT_TRUE(AddToComboHistory(box.hWnd, "bar", "TestHistory"));
    EXPECT_EQ(box.Items(), (Strings{"bar", "foo"}));
    EXPECT_EQ(Stored(), (Strings{"bar", "foo"}));
    EXPECT_EQ(AfxGetApp()->GetProfileInt("TestHistory", "Selected", -9), 0);

    // "Foo" selects "foo" where it stands, saves nothing, and the box keeps
    // showing what was typed.
    AfxGetApp()->WriteProfileInt("TestHistory", "Selected", 7);
    ::SetWindowTextA(box.hWnd, "Foo");
    EXPECT_FALSE(AddToComboHistory(box.hWnd, "Foo", "TestHistory"));
    EXPECT_EQ(box.Items(), (Strings{"bar", "foo"}));
    EXPECT_EQ(box.Selected(), 1);
    EXPECT_EQ(box.Text(), "Foo");
    EXPECT_EQ(AfxGetApp()->GetProfileInt("TestHistory", "Selected", -9), 7);

    // The same text twice leaves the list as it is.
    EXPECT_FALSE(AddToComboHistory(box.hWnd, "bar", "TestHistory"));
    EXPECT_EQ(Stored(), (Strings{"bar", "foo"}));
}

TEST_F(SearchHistory, TheRegistryKeepsFiftyTheBoxKeepsMore)
{
    Box box;
    for (int i = 0; i < 51; ++i)
        AddToComboHistory(box.hWnd, ("text " + std::to_string(i)).c_str(), "TestHistory");
    Strings items = box.Items();
    ASSERT_EQ(items.size(), 51u);
    EXPECT_EQ(items.front(), "text 50");
    EXPECT_EQ(items.back(), "text 0");
    EXPECT_EQ(Read("49"), "text 1");
    EXPECT_EQ(Read("50"), "<none>");
    // Saving again keeps the 51st in the box.
    SaveSearchHistory(box.hWnd, "TestHistory");
    EXPECT_EQ(box.Items().size(), 51u);
    EXPECT_EQ(Read("50"), "<none>");
    Box fresh;
    LoadSearchHistory(fresh.hWnd, "TestHistory");
    EXPECT_EQ(fresh.Items().size(), 50u);
}

TEST_F(SearchHistory, ValuesPastTheListAreLeftAsTheyAre)
{
    Box box;
    for (const char* t : {"c", "b", "a"})
        AddToComboHistory(box.hWnd, t, "TestHistory");
    Write("5", "kept");
    SaveSearchHistory(box.hWnd, "TestHistory");
    EXPECT_EQ(Read("5"), "kept");
}

TEST_F(SearchHistory, BoxesSharingAListNeverDropEachOthersTexts)
{
    Box toolbar, dialog;
    AddToComboHistory(toolbar.hWnd, "one", "TestHistory");
    LoadSearchHistory(dialog.hWnd, "TestHistory");
    // The dialog adds a text the toolbar box has not seen.
    AddToComboHistory(dialog.hWnd, "two", "TestHistory");
    EXPECT_EQ(Stored(), (Strings{"two", "one"}));
    // The toolbar box saves its (older) list when it goes or its selection
    // changes: "two" stays.
    SaveSearchHistory(toolbar.hWnd, "TestHistory");
    EXPECT_EQ(Stored(), (Strings{"two", "one"}));
    // A text the toolbar box adds goes on top of both.
    AddToComboHistory(toolbar.hWnd, "three", "TestHistory");
    EXPECT_EQ(Stored(), (Strings{"three", "two", "one"}));
    EXPECT_EQ(toolbar.Items(), (Strings{"three", "two", "one"}));
    // The dialog closing keeps the toolbar's addition.
    SaveSearchHistory(dialog.hWnd, "TestHistory");
    EXPECT_EQ(Stored(), (Strings{"three", "two", "one"}));
    // The lists are apart: another section is not touched.
    EXPECT_TRUE(ReadSearchHistory("OtherTestHistory").empty());
}
