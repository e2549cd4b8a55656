// The Function List pane's list box: the in-place update counted on a real
// list box, and CFunctionList beside a real editor (scans, "Language not
// supported", caret tracking, the double click, a long scan in slices over
// the editor's own document, an edit made during a scan, and destruction
// while a scan runs).
#include "scitest.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "functionlist.h"

using scitest::CHostWnd;
using scitest::PumpFor;
using scitest::PumpUntil;

namespace {

// --- the in-place update -------------------------------------------------------------------

// A list box whose subclass counts the messages that change its items.
class CountingListBox {
public:
    explicit CountingListBox(HWND hParent)
    {
        m_hWnd = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0, 0, 200, 200, hParent, NULL,
                                   NULL, NULL);
        ::SetPropA(m_hWnd, "CountingListBox", this);
        m_pfnOld = (WNDPROC)::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)Proc);
    }
    ~CountingListBox() { ::DestroyWindow(m_hWnd); }

    HWND m_hWnd;
    int inserts = 0, deletes = 0, adds = 0, resets = 0;
    void ResetCounts() { inserts = deletes = adds = resets = 0; }

    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        int n = (int)::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; i++) {
            char buf[256] = "";
            ::SendMessageA(m_hWnd, LB_GETTEXT, (WPARAM)i, (LPARAM)buf);
            items.push_back(buf);
        }
        return items;
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        CountingListBox* self = (CountingListBox*)::GetPropA(hWnd, "CountingListBox");
        switch (msg) {
        case LB_INSERTSTRING: self->inserts++; break;
        case LB_DELETESTRING: self->deletes++; break;
        case LB_ADDSTRING: self->adds++; break;
        case LB_RESETCONTENT: self->resets++; break;
        }
        return ::CallWindowProcA(self->m_pfnOld, hWnd, msg, wParam, lParam);
    }
    WNDPROC m_pfnOld;
};

typedef std::vector<std::string> Names;

class ListUpdateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.CreateHost()); }
    void TearDown() override { host.DestroyWindow(); }
    CHostWnd host;
};

TEST_F(ListUpdateTest, AnUnchangedScanTouchesNoItem)
{
    CountingListBox list(host.m_hWnd);
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "beta", "gamma"}, false);
    EXPECT_EQ((Names{"alpha", "beta", "gamma"}), list.Items());
    EXPECT_EQ(3, list.inserts);
    list.ResetCounts();
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "beta", "gamma"}, false);
    EXPECT_EQ(0, list.inserts + list.deletes + list.adds + list.resets);
    EXPECT_EQ((Names{"alpha", "beta", "gamma"}), list.Items());
}

TEST_F(ListUpdateTest, ARemovedRoutineMovesTheRestUp)
{
    CountingListBox list(host.m_hWnd);
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "beta", "gamma", "delta"}, false);
    list.ResetCounts();
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "gamma", "delta"}, false);
    EXPECT_EQ((Names{"alpha", "gamma", "delta"}), list.Items());
    EXPECT_EQ(1, list.deletes);
    EXPECT_EQ(0, list.inserts + list.adds + list.resets);
    // An added routine is one insert.
    list.ResetCounts();
    CFunctionList::UpdateList(list.m_hWnd, {"new", "alpha", "gamma", "delta"}, false);
    EXPECT_EQ((Names{"new", "alpha", "gamma", "delta"}), list.Items());
    EXPECT_EQ(1, list.inserts);
    EXPECT_EQ(0, list.deletes + list.adds + list.resets);
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "gamma", "delta"}, false);

    // An added routine; a renamed one; the end cut off.
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "added", "gamma", "delta"}, false);
    EXPECT_EQ((Names{"alpha", "added", "gamma", "delta"}), list.Items());
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "renamed", "gamma", "delta"}, false);
    EXPECT_EQ((Names{"alpha", "renamed", "gamma", "delta"}), list.Items());
    CFunctionList::UpdateList(list.m_hWnd, {"alpha"}, false);
    EXPECT_EQ((Names{"alpha"}), list.Items());
    // Names differing in case only; equal names (overloads); a prefix of
    // another name.
    CFunctionList::UpdateList(list.m_hWnd, {"Alpha"}, false);
    EXPECT_EQ((Names{"Alpha"}), list.Items());
    CFunctionList::UpdateList(list.m_hWnd, {"f", "f", "fa", "f"}, false);
    EXPECT_EQ((Names{"f", "f", "fa", "f"}), list.Items());
    CFunctionList::UpdateList(list.m_hWnd, {"f", "fa", "f"}, false);
    EXPECT_EQ((Names{"f", "fa", "f"}), list.Items());
    CFunctionList::UpdateList(list.m_hWnd, {}, false);
    EXPECT_TRUE(list.Items().empty());
}

// The update keeps a hash of each item, not its text: names whose hashes
// are equal (these pairs are) are still told apart by their text.
TEST_F(ListUpdateTest, NamesWithEqualHashesAreToldApart)
{
    CountingListBox list(host.m_hWnd);
    CFunctionList::UpdateList(list.m_hWnd, {"costarring", "declinate"}, false);
    CFunctionList::UpdateList(list.m_hWnd, {"liquid", "macallums"}, false);
    EXPECT_EQ((Names{"liquid", "macallums"}), list.Items());
    CFunctionList::UpdateList(list.m_hWnd, {"x", "altarage", "y"}, false);
    list.ResetCounts();
    CFunctionList::UpdateList(list.m_hWnd, {"x", "zinke", "altarage", "y"}, false);
    EXPECT_EQ((Names{"x", "zinke", "altarage", "y"}), list.Items());
    EXPECT_EQ(1, list.inserts);
    EXPECT_EQ(0, list.deletes);
}

TEST_F(ListUpdateTest, AnAddedRoutineInALargeListIsOneInsert)
{
    CountingListBox list(host.m_hWnd);
    Names names;
    for (int i = 0; i < 20000; i++)
        names.push_back("routine_" + std::to_string(i));
    CFunctionList::UpdateList(list.m_hWnd, names, false);
    ASSERT_EQ(20000, (int)::SendMessageA(list.m_hWnd, LB_GETCOUNT, 0, 0));
    // One routine added near the top: one insert, nothing else.
    list.ResetCounts();
    names.insert(names.begin() + 1, "added");
    CFunctionList::UpdateList(list.m_hWnd, names, false);
    EXPECT_EQ(1, list.inserts);
    EXPECT_EQ(0, list.deletes);
    CFunctionList::UpdateList(list.m_hWnd, {"only"}, false);
    EXPECT_EQ((Names{"only"}), list.Items());
}

// The update's changes worked out on a plain copy of every item: where an
// item differs, the name a little further down (within 256 items) deletes
// the items in between; otherwise the name is inserted; surplus items go.
struct Changes {
    int inserts = 0, deletes = 0;
};

Changes PlainUpdate(Names items, const Names& names)
{
    const size_t kLookAhead = 256;
    Changes c;
    for (size_t i = 0; i < names.size(); i++) {
        if (i < items.size()) {
            if (items[i] == names[i])
                continue;
            size_t nLimit = std::min(items.size(), i + 1 + kLookAhead);
            size_t nFound = i + 1;
            while (nFound < nLimit && items[nFound] != names[i])
                nFound++;
            if (nFound < nLimit) {
                c.deletes += (int)(nFound - i);
                items.erase(items.begin() + (ptrdiff_t)i, items.begin() + (ptrdiff_t)nFound);
                continue;
            }
        }
        c.inserts++;
        items.insert(items.begin() + (ptrdiff_t)i, names[i]);
    }
    c.deletes += (int)(items.size() - names.size());
    return c;
}

// Random edits of lists with repeated names (overloads) and runs of removed
// routines longer than the look-ahead: the list box ends with the names,
// changed by the same inserts and deletes as on the plain copy.
TEST_F(ListUpdateTest, RandomEditsMakeTheChangesOfThePlainCopy)
{
    std::mt19937 rng(20261218);
    std::uniform_int_distribution<int> pick(0, 99);
    CountingListBox list(host.m_hWnd);
    for (int round = 0; round < 40; round++) {
        const int nVocabulary = round % 2 ? 12 : 100000;
        auto randomName = [&] { return "r" + std::to_string(std::uniform_int_distribution<int>(0, nVocabulary)(rng)); };
        Names before;
        for (int i = 0, n = pick(rng) * 6; i < n; i++)
            before.push_back(randomName());
        CFunctionList::UpdateList(list.m_hWnd, before, false);
        ASSERT_EQ(before, list.Items());
        Names after = before;
        for (int edit = 0, nEdits = 1 + pick(rng) % 6; edit < nEdits; edit++) {
            size_t at = after.empty() ? 0 : (size_t)pick(rng) * after.size() / 100;
            switch (pick(rng) % 4) {
            case 0: // a run removed, now and then past the look-ahead
                after.erase(after.begin() + (ptrdiff_t)at,
                            after.begin() + (ptrdiff_t)std::min(after.size(), at + (size_t)pick(rng) * 3));
                break;
            case 1: // routines added
                for (int k = pick(rng) % 5; k >= 0; k--)
                    after.insert(after.begin() + (ptrdiff_t)at, randomName());
                break;
            case 2: // one renamed
                if (at < after.size())
                    after[at] = randomName();
                break;
            case 3: // the end cut off
                after.resize(at);
                break;
            }
        }
        const Changes want = PlainUpdate(before, after);
        list.ResetCounts();
        CFunctionList::UpdateList(list.m_hWnd, after, false);
        ASSERT_EQ(after, list.Items()) << "round " << round;
        EXPECT_EQ(want.inserts, list.inserts) << "round " << round;
        EXPECT_EQ(want.deletes, list.deletes) << "round " << round;
        // (The list box resets itself as its last item goes.)
        EXPECT_EQ(0, list.adds + (after.empty() ? 0 : list.resets)) << "round " << round;
    }
}

TEST_F(ListUpdateTest, LanguageNotSupportedIsOneLineWithItemDataMinusOne)
{
    CountingListBox list(host.m_hWnd);
    CFunctionList::UpdateList(list.m_hWnd, {"alpha", "beta"}, false);
    CFunctionList::UpdateList(list.m_hWnd, {}, true);
    EXPECT_EQ((Names{"Language not supported"}), list.Items());
    EXPECT_EQ((LRESULT)-1, ::SendMessageA(list.m_hWnd, LB_GETITEMDATA, 0, 0));
    list.ResetCounts();
    CFunctionList::UpdateList(list.m_hWnd, {}, true);
    EXPECT_EQ(0, list.inserts + list.deletes + list.adds + list.resets);
    // A supported language replaces the line.
    CFunctionList::UpdateList(list.m_hWnd, {"main"}, false);
    EXPECT_EQ((Names{"main"}), list.Items());
    EXPECT_EQ(0, ::SendMessageA(list.m_hWnd, LB_GETITEMDATA, 0, 0));
}

// --- the pane ------------------------------------------------------------------------------

const char kSource[] = "int first(int a)\n{\n  return a;\n}\n\nint second(int b)\n{\n  return b;\n}\n";

class FunctionListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateHost(800, 500));
        ASSERT_TRUE(editor.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 400),
                                  &host, scitest::IDC_EDITOR));
        editor.SetDefaultLook();
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                CRect(510, 0, 780, 400), &host, 59599));
        host.SetForegroundWindow();
    }
    void TearDown() override
    {
        if (list.m_hWnd != NULL)
            list.DestroyWindow();
        editor.DestroyWindow();
        host.DestroyWindow();
    }

    void SetText(const std::string& text) { editor.Call(SCI_SETTEXT, 0, (sptr_t)text.c_str()); }

    Names Items() const
    {
        Names items;
        for (int i = 0; i < list.GetCount(); i++) {
            CString s;
            list.GetText(i, s);
            items.push_back(s.GetString());
        }
        return items;
    }

    // Refreshes and waits for the list to show the names.
    bool ScanShows(const Names& names, int nLanguageId = 2)
    {
        list.AttachView(&editor, nLanguageId);
        list.Refresh(10);
        return PumpUntil([&] { return Items() == names; }, 10000);
    }

    CHostWnd host;
    CMFCScintilla editor;
    CFunctionList list;
};

TEST_F(FunctionListTest, TheListFollowsTheText)
{
    SetText(kSource);
    ASSERT_TRUE(ScanShows({"first", "second"})) << Items().size();
    // A typed routine appears, a deleted one goes.
    editor.GotoPos(editor.GetLength());
    editor.AddText("\nvoid third(void)\n{\n}\n");
    ASSERT_TRUE(ScanShows({"first", "second", "third"}));
    SetText("int second(int b)\n{\n}\n");
    ASSERT_TRUE(ScanShows({"second"}));
    // An empty document lists nothing.
    SetText("");
    ASSERT_TRUE(ScanShows({}));
    // A language without patterns.
    SetText(kSource);
    ASSERT_TRUE(ScanShows({"Language not supported"}, 0));
    EXPECT_EQ((DWORD_PTR)-1, list.GetItemData(0));
    EXPECT_TRUE(list.GetEntries().empty());
}

// The scan works on a view of its own: the user's editor keeps its text, its caret and
// which of its lines are shown (folded ones stay hidden; the arrow keys walk
// the same lines as before).
TEST_F(FunctionListTest, ScanningLeavesTheEditorAsItWas)
{
    SetText(kSource);
    editor.Call(SCI_HIDELINES, 1, 3);
    editor.GotoPos(5);
    ASSERT_TRUE(ScanShows({"first", "second"}));
    char buffer[sizeof kSource] = "";
    editor.Call(SCI_GETTEXT, sizeof buffer, (sptr_t)buffer);
    EXPECT_STREQ(kSource, buffer);
    EXPECT_EQ(5, editor.GetCurrentPos());
    for (int line = 1; line <= 3; line++)
        EXPECT_FALSE(editor.Call(SCI_GETLINEVISIBLE, line)) << line;
    EXPECT_TRUE(editor.Call(SCI_GETLINEVISIBLE, 4));
    EXPECT_EQ(2, editor.Call(SCI_VISIBLEFROMDOCLINE, 5));
    EXPECT_EQ(5, editor.Call(SCI_DOCLINEFROMVISIBLE, 2));
}

TEST_F(FunctionListTest, TheSelectionFollowsTheCaretUnlessTheListHasTheFocus)
{
    SetText(kSource);
    ASSERT_TRUE(ScanShows({"first", "second"}));
    const std::string text = kSource;
    editor.SetFocus();
    editor.GotoPos((Sci_Position)text.find("return b"));
    list.TrackCaret(&editor);
    EXPECT_EQ(1, list.GetCurSel());
    editor.GotoPos((Sci_Position)text.find("return a"));
    list.TrackCaret(&editor);
    EXPECT_EQ(0, list.GetCurSel());
    // The empty line between the routines.
    editor.GotoPos((Sci_Position)text.find("\n\n") + 1);
    list.TrackCaret(&editor);
    EXPECT_EQ(-1, list.GetCurSel());
    // While the list has the focus the user's selection stays.
    list.SetCurSel(1);
    list.SetFocus();
    ASSERT_EQ(list.m_hWnd, ::GetFocus());
    editor.GotoPos((Sci_Position)text.find("return a"));
    list.TrackCaret(&editor);
    EXPECT_EQ(1, list.GetCurSel());
}

TEST_F(FunctionListTest, ADoubleClickPutsTheCaretOnTheHeaderAndTheFocusInTheEditor)
{
    SetText(kSource);
    ASSERT_TRUE(ScanShows({"first", "second"}));
    list.SetFocus();
    CRect rc;
    list.GetItemRect(1, &rc);
    POINT pt = {rc.left + 5, (rc.top + rc.bottom) / 2};
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    PumpFor(50);
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(5, editor.GetCurrentLine());
    EXPECT_EQ(editor.PositionFromLine(5), editor.GetCurrentPos());
    EXPECT_EQ(editor.m_hWnd, ::GetFocus());
}

TEST_F(FunctionListTest, AnEditorThatWentAwayIsLeftAlone)
{
    SetText(kSource);
    ASSERT_TRUE(ScanShows({"first", "second"}));
    CMFCScintilla other;
    ASSERT_TRUE(other.Create(CMFCScintilla::kWindowClass, "Other", WS_CHILD, CRect(0, 0, 10, 10), &host, 2));
    list.AttachView(&other, 2);
    other.DestroyWindow();
    list.Refresh(1);
    PumpFor(200);
    list.SetCurSel(0);
    list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_EQ((Names{"first", "second"}), Items());
}

// A text that takes the worker a while.
std::string LongSource(int nRoutines, const char* prefix)
{
    std::string text;
    for (int i = 0; i < nRoutines; i++)
        text += std::string("int ") + prefix + std::to_string(i) + "(int a, int b)\n{\n  return a + b; /* ; */\n}\n";
    return text;
}

TEST_F(FunctionListTest, AnEditDuringAScanIsScannedToo)
{
    SetText(LongSource(20000, "old"));
    list.AttachView(&editor, 2);
    // The first snapshot goes to the worker; while it scans, the text
    // changes and the second snapshot follows.
    list.SendMessage(WM_TIMER, CFunctionList::TIMER_REFRESH, 0);
    ::Sleep(150);
    SetText("int fresh(void)\n{\n}\n");
    list.SendMessage(WM_TIMER, CFunctionList::TIMER_REFRESH, 0);
    // (Reading 20,000 items back at every turn would starve the pump.)
    EXPECT_TRUE(PumpUntil([&] { return list.GetCount() == 1 && Items() == Names{"fresh"}; }, 30000))
        << Items().size() << " items after " << list.GetScanCount() << " scans";
}

// A long scan runs in slices while the interface goes on, over the editor's
// own document (no copy of the text), and lists what a scan of the text in
// one go lists.
TEST_F(FunctionListTest, ALongScanRunsInSlicesOverTheEditorsOwnDocument)
{
    const std::string text = LongSource(20000, "r");
    SetText(text);
    list.AttachView(&editor, 2);
    list.SendMessage(WM_TIMER, CFunctionList::TIMER_REFRESH, 0);
    ASSERT_TRUE(list.IsScanning()) << "the first slice ran the whole scan";
    HWND hHidden = ::FindWindowExA(list.m_hWnd, NULL, CMFCScintilla::kWindowClass, NULL);
    ASSERT_TRUE(hHidden != NULL);
    EXPECT_FALSE(::IsWindowVisible(hHidden));
    EXPECT_EQ(editor.Call(SCI_GETDOCPOINTER), (sptr_t)::SendMessageA(hHidden, SCI_GETDOCPOINTER, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return !list.IsScanning(); }, 60000));
    EXPECT_EQ(1, list.GetScanCount());
    EXPECT_TRUE(::FindWindowExA(list.m_hWnd, NULL, CMFCScintilla::kWindowClass, NULL) == NULL);

    CMFCScintilla copy;
    ASSERT_TRUE(copy.CreateEx(0, CMFCScintilla::kWindowClass, "Copy", WS_POPUP, 0, 0, 0, 0, NULL, NULL));
    copy.AddText(text.data(), (Sci_Position)text.size());
    CFunctionScan scan(copy);
    ASSERT_TRUE(scan.SetLanguage(2));
    ASSERT_TRUE(scan.Run());
    const CFunctionEntries& expected = scan.GetTopLevelEntries();
    ASSERT_EQ(expected.size(), list.GetEntries().size());
    ASSERT_EQ((int)expected.size(), list.GetCount());
    const Names items = Items();
    CFunctionEntries::Reader want(expected), got(list.GetEntries());
    for (size_t i = 0; i < expected.size(); i++) {
        FunctionEntry a, b;
        ASSERT_TRUE(want.Next(a) && got.Next(b));
        ASSERT_TRUE(a.strName == items[i] && a.strName == b.strName && a.nLine == b.nLine &&
                    a.nLineStart == b.nLineStart && a.nMatchStart == b.nMatchStart && a.nMatchEnd == b.nMatchEnd &&
                    a.nEndPos == b.nEndPos && a.bInComment == b.bInComment && a.bParamCheck == b.bParamCheck)
            << i;
    }
    copy.DestroyWindow();
}

// A change to the text drops the running scan: nothing of the old text is
// listed, and the refresh that follows the change lists the new text.
TEST_F(FunctionListTest, AnEditDropsTheRunningScan)
{
    SetText(LongSource(20000, "old"));
    list.AttachView(&editor, 2);
    list.SendMessage(WM_TIMER, CFunctionList::TIMER_REFRESH, 0);
    ASSERT_TRUE(list.IsScanning());
    editor.GotoPos(0);
    editor.AddText("int fresh(void)\n{\n}\n");
    ASSERT_TRUE(PumpUntil([&] { return !list.IsScanning(); }, 10000));
    EXPECT_EQ(0, list.GetScanCount());
    EXPECT_EQ(0, list.GetCount());
    list.Refresh(10);
    ASSERT_TRUE(PumpUntil([&] { return list.GetScanCount() == 1; }, 60000));
    ASSERT_EQ(20001u, list.GetEntries().size());
    const Names items = Items();
    ASSERT_EQ(20001u, items.size());
    EXPECT_EQ("fresh", items[0]);
    EXPECT_EQ("old0", items[1]);
    EXPECT_EQ(0, list.GetEntries()[0].nLine);
    EXPECT_EQ(3, list.GetEntries()[1].nLine);
}

TEST_F(FunctionListTest, DestroyingThePaneStopsARunningScan)
{
    SetText(LongSource(40000, "f"));
    list.AttachView(&editor, 2);
    list.SendMessage(WM_TIMER, CFunctionList::TIMER_REFRESH, 0);
    ::Sleep(200);
    DWORD dwStart = ::GetTickCount();
    list.DestroyWindow();
    EXPECT_LT(::GetTickCount() - dwStart, 1000u);
    // Nothing arrives for the window that is gone.
    PumpFor(100);
}

} // namespace
