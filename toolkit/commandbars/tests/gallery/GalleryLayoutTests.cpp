// Gallery items, their layout in rows and the keyboard, mouse and scroll
// arithmetic over it, all without windows.
#include <qx/galleryitems.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << ")";
}

namespace {

// An item of its own size (width 0 fills the row).
class SizedItem : public GalleryItem {
public:
    SizedItem(int cx, int cy) : m_size(cx, cy) {}
    CSize GetSize() const override { return m_size; }

private:
    CSize m_size;
};

// Label "A", three 40 x 30 items, a fourth that wraps, label "B", an item
// filling the row (height 25) and one more 40 x 30 item.
std::unique_ptr<GalleryItemList> SampleList()
{
    std::unique_ptr<GalleryItemList> list(new GalleryItemList);
    list->SetItemSize(40, 30);
    list->AddLabel("A");
    for (int i = 1; i <= 4; ++i)
        list->AddItem(100 + i, ("Item " + std::to_string(i)).c_str());
    list->AddLabel("B");
    GalleryItem* pWide = list->AddItem(new SizedItem(0, 25));
    pWide->SetID(106);
    list->AddItem(107, "Item 7");
    return list;
}

const CRect kItems(5, 10, 135, 110);

CRect Rec(const CQXPGalleryLayout& layout, int i)
{
    return CRect(layout.GetAt(i).rcItem);
}

TEST(GalleryItemList, AddRemoveAndIndexes)
{
    GalleryItemList list;
    EXPECT_EQ(nullptr, list.GetItem(0));
    GalleryItem* a = list.AddItem(7, "Seven");
    GalleryItem* l = list.AddLabel("Group");
    GalleryItem* b = list.AddItem(8, NULL);
    ASSERT_EQ(3, list.GetItemCount());
    EXPECT_EQ(7, a->GetID());
    EXPECT_STREQ("Seven", a->GetCaption());
    EXPECT_FALSE(a->IsLabel());
    EXPECT_TRUE(l->IsLabel());
    EXPECT_STREQ("", b->GetCaption());
    EXPECT_EQ(&list, b->GetList());
    EXPECT_EQ(2, b->GetIndex());
    EXPECT_EQ(nullptr, list.GetItem(-1));
    EXPECT_EQ(nullptr, list.GetItem(3));

    list.SetItemSize(24, 18);
    EXPECT_EQ(CSize(24, 18), a->GetSize());
    EXPECT_EQ(CSize(0, 19), l->GetSize());

    list.Remove(0);
    ASSERT_EQ(2, list.GetItemCount());
    EXPECT_EQ(l, list.GetItem(0));
    EXPECT_EQ(0, l->GetIndex());
    EXPECT_EQ(1, b->GetIndex());
    list.Remove(5); // out of range: nothing
    EXPECT_EQ(2, list.GetItemCount());
    list.RemoveAll();
    EXPECT_EQ(0, list.GetItemCount());
}

TEST(GalleryItemList, EveryChangeMakesTheLayoutStale)
{
    auto list = SampleList();
    CQXPGalleryLayout layout;
    layout.Layout(list.get(), kItems, TRUE);
    EXPECT_TRUE(layout.IsCurrent(list.get()));

    const struct {
        const char* name;
        void (*change)(GalleryItemList*);
    } changes[] = {
        {"add", [](GalleryItemList* p) { p->AddItem(1, "x"); }},
        {"add label", [](GalleryItemList* p) { p->AddLabel("x"); }},
        {"remove", [](GalleryItemList* p) { p->Remove(0); }},
        {"remove all", [](GalleryItemList* p) { p->RemoveAll(); }},
        {"item size", [](GalleryItemList* p) { p->SetItemSize(10, 10); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        layout.Layout(list.get(), kItems, TRUE);
        c.change(list.get());
        EXPECT_FALSE(layout.IsCurrent(list.get()));
    }

    GalleryItemList other;
    layout.Layout(list.get(), kItems, TRUE);
    EXPECT_FALSE(layout.IsCurrent(&other));
    EXPECT_FALSE(layout.IsCurrent(NULL));
    layout.Layout(NULL, kItems, TRUE);
    EXPECT_TRUE(layout.IsCurrent(NULL));
    EXPECT_EQ(0, layout.GetCount());
    EXPECT_EQ(0, layout.GetContentHeight());
}

TEST(GalleryLayout, RowsLabelsAndWrapping)
{
    auto list = SampleList();
    const struct {
        const char* name;
        BOOL bShowLabels;
        CRect rects[8];
        int rowStarts[8];
        int contentHeight;
    } cases[] = {
        {"labels shown",
         TRUE,
         {{5, 10, 135, 29}, {5, 30, 45, 60}, {45, 30, 85, 60}, {85, 30, 125, 60}, {5, 60, 45, 90}, {5, 90, 135, 109}, {5, 110, 135, 135}, {5, 135, 45, 165}},
         {1, 1, 0, 0, 1, 1, 1, 1},
         155},
        {"labels hidden",
         FALSE,
         {{0, 0, 0, 0}, {5, 10, 45, 40}, {45, 10, 85, 40}, {85, 10, 125, 40}, {5, 40, 45, 70}, {0, 0, 0, 0}, {5, 70, 135, 95}, {5, 95, 45, 125}},
         {0, 1, 0, 0, 1, 0, 1, 1},
         115},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPGalleryLayout layout;
        layout.Layout(list.get(), kItems, c.bShowLabels);
        ASSERT_EQ(8, layout.GetCount());
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(c.rects[i], Rec(layout, i));
            EXPECT_EQ(c.rowStarts[i], layout.GetAt(i).bBeginRow);
            EXPECT_EQ(list->GetItem(i), layout.GetAt(i).pItem);
        }
        EXPECT_EQ(c.contentHeight, layout.GetContentHeight());
    }
}

TEST(GalleryLayout, TallestItemSetsTheRowHeight)
{
    GalleryItemList list;
    list.AddItem(new SizedItem(30, 20));
    list.AddItem(new SizedItem(30, 45));
    list.AddItem(new SizedItem(30, 10));
    list.AddLabel("after");
    CQXPGalleryLayout layout;
    layout.Layout(&list, CRect(0, 0, 60, 200), TRUE);
    EXPECT_EQ(CRect(0, 0, 30, 20), Rec(layout, 0));
    EXPECT_EQ(CRect(30, 0, 60, 45), Rec(layout, 1));
    EXPECT_EQ(CRect(0, 45, 30, 55), Rec(layout, 2));
    EXPECT_EQ(CRect(0, 55, 60, 74), Rec(layout, 3));
    EXPECT_EQ(75, layout.GetContentHeight());
}

TEST(GalleryLayout, Borders)
{
    const struct {
        const char* name;
        BOOL bBorders;
        int cxScroll;
        BOOL bGap;
        RECT margin;
        CRect expected;
    } cases[] = {
        {"nothing", FALSE, 0, FALSE, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"frame", TRUE, 0, FALSE, {0, 0, 0, 0}, {1, 1, 1, 1}},
        {"frame and column", TRUE, 16, FALSE, {0, 0, 0, 0}, {1, 1, 17, 1}},
        {"system bar and bottom gap", FALSE, 17, TRUE, {0, 0, 0, 0}, {0, 0, 17, 2}},
        {"margins add", TRUE, 16, FALSE, {2, 3, 4, 5}, {3, 4, 21, 6}},
        {"margins with gap", FALSE, 0, TRUE, {1, 1, 1, 1}, {1, 1, 1, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, QXPGalleryBorders(c.bBorders, c.cxScroll, c.bGap, c.margin));
    }
}

TEST(GalleryLayout, HitTestShiftsByTheOffsetAndStopsBelowTheItems)
{
    auto list = SampleList();
    CQXPGalleryLayout layout;
    layout.Layout(list.get(), kItems, TRUE);
    const struct {
        int x, y, offset, index;
        CRect rc;
    } cases[] = {
        {6, 31, 0, 1, {5, 30, 45, 60}},
        {84, 59, 0, 2, {45, 30, 85, 60}},
        {130, 40, 0, -1, {}}, // right of the last cell of the row
        {6, 15, 0, -1, {}},   // on the label
        {6, 11, 20, 1, {5, 10, 45, 40}},
        {6, 150, 0, -1, {}}, // a record below the items is never hit
        {6, 100, 45, 7, {5, 90, 45, 120}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " @" << c.offset);
        RECT rc = {};
        EXPECT_EQ(c.index, layout.HitTest({c.x, c.y}, c.offset, &rc));
        if (c.index >= 0) {
            EXPECT_EQ(c.rc, CRect(rc));
        }
    }
}

TEST(GalleryLayout, ClampAndEnsureVisible)
{
    auto list = SampleList();
    CQXPGalleryLayout layout;
    layout.Layout(list.get(), kItems, TRUE); // content 155, page 100
    EXPECT_EQ(0, layout.ClampOffset(-5));
    EXPECT_EQ(55, layout.ClampOffset(1000));
    EXPECT_EQ(30, layout.ClampOffset(30));

    const struct {
        const char* name;
        int index, offset;
        BOOL bLabels;
        int expected;
    } cases[] = {
        {"shown", 1, 0, TRUE, 0},
        {"below", 7, 0, TRUE, 55},
        {"partly below", 6, 0, TRUE, 25},
        {"above, label fits", 1, 55, TRUE, 0},
        {"above, no labels", 1, 55, FALSE, 20},
        {"above, its label fits", 4, 55, TRUE, 0},
        {"shown at the end", 6, 55, TRUE, 55},
        {"bad index", 12, 30, TRUE, 30},
        {"no index", -1, 30, TRUE, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, layout.EnsureVisibleOffset(c.index, c.offset, c.bLabels));
    }

    // In a short gallery the label does not fit with the item: the item's
    // top goes to the top.
    CQXPGalleryLayout shortLayout;
    shortLayout.Layout(list.get(), CRect(5, 10, 135, 60), TRUE);
    EXPECT_EQ(50, shortLayout.EnsureVisibleOffset(4, 60, TRUE));
    EXPECT_EQ(105, shortLayout.ClampOffset(500));

    // Content shorter than the items: never scrolled.
    GalleryItemList small;
    small.SetItemSize(40, 30);
    small.AddItem(1, "one");
    CQXPGalleryLayout smallLayout;
    smallLayout.Layout(&small, kItems, TRUE);
    EXPECT_EQ(0, smallLayout.ClampOffset(40));
}

struct KeyCase {
    const char* name;
    UINT key;
    BOOL shift;
    BOOL rtl;
    int hot;
    int result;
    BOOL handled;
};

void RunKeys(const CQXPGalleryLayout& layout, const KeyCase* cases, size_t count, int cxItem)
{
    for (size_t i = 0; i < count; ++i) {
        const KeyCase& c = cases[i];
        SCOPED_TRACE(c.name);
        BOOL bHandled = -1, bExecute = -1;
        EXPECT_EQ(c.result, layout.OnKey(c.key, c.shift, c.rtl, c.hot, cxItem, &bHandled, &bExecute));
        EXPECT_EQ(c.handled, bHandled);
        EXPECT_EQ(c.key == VK_RETURN, bExecute);
    }
}

TEST(GalleryKeyboard, EveryKey)
{
    auto list = SampleList();
    CQXPGalleryLayout layout;
    layout.Layout(list.get(), kItems, TRUE);
    // Rows: [A] [1 2 3] [4] [B] [6 full width] [7]
    const KeyCase cases[] = {
        {"tab from none", VK_TAB, FALSE, FALSE, -1, 1, TRUE},
        {"tab", VK_TAB, FALSE, FALSE, 3, 4, TRUE},
        {"tab skips a label", VK_TAB, FALSE, FALSE, 4, 6, TRUE},
        {"tab leaves at the end", VK_TAB, FALSE, FALSE, 7, 7, FALSE},
        {"shift tab", VK_TAB, TRUE, FALSE, 6, 4, TRUE},
        {"shift tab leaves at the start", VK_TAB, TRUE, FALSE, 1, 1, FALSE},
        {"shift tab from none", VK_TAB, TRUE, FALSE, -1, 7, TRUE},
        {"enter executes", VK_RETURN, FALSE, FALSE, 2, 2, FALSE},
        {"home", VK_HOME, FALSE, FALSE, 6, 1, TRUE},
        {"end", VK_END, FALSE, FALSE, 2, 7, TRUE},
        {"right", VK_RIGHT, FALSE, FALSE, 1, 2, TRUE},
        {"right wraps to the row start", VK_RIGHT, FALSE, FALSE, 3, 1, TRUE},
        {"right alone in its row", VK_RIGHT, FALSE, FALSE, 4, 4, TRUE},
        {"left", VK_LEFT, FALSE, FALSE, 2, 1, TRUE},
        {"left wraps to the row end", VK_LEFT, FALSE, FALSE, 1, 3, TRUE},
        {"right to left: right goes left", VK_RIGHT, FALSE, TRUE, 2, 1, TRUE},
        {"right to left: left goes right", VK_LEFT, FALSE, TRUE, 2, 3, TRUE},
        {"down, same column", VK_DOWN, FALSE, FALSE, 1, 4, TRUE},
        {"down past a label", VK_DOWN, FALSE, FALSE, 4, 6, TRUE},
        {"down at the bottom", VK_DOWN, FALSE, FALSE, 7, 7, FALSE},
        {"down with no column below", VK_DOWN, FALSE, FALSE, 2, 2, FALSE},
        {"up at the top", VK_UP, FALSE, FALSE, 1, 1, FALSE},
        {"up", VK_UP, FALSE, FALSE, 7, 6, TRUE},
        {"down from none", VK_DOWN, FALSE, FALSE, -1, 1, TRUE},
        {"up from none", VK_UP, FALSE, FALSE, -1, 7, TRUE},
        {"page down", VK_NEXT, FALSE, FALSE, 1, 6, TRUE},
        {"page up", VK_PRIOR, FALSE, FALSE, 7, 4, TRUE},
        {"page up at the top", VK_PRIOR, FALSE, FALSE, 1, 1, TRUE},
        {"page down from none", VK_NEXT, FALSE, FALSE, -1, 6, TRUE},
        {"other keys", VK_F2, FALSE, FALSE, 2, 2, FALSE},
        {"letters", 'A', FALSE, FALSE, 2, 2, FALSE},
    };
    RunKeys(layout, cases, sizeof(cases) / sizeof(cases[0]), 40);
}

TEST(GalleryKeyboard, NarrowGalleriesAndEmptyLists)
{
    auto list = SampleList();
    CQXPGalleryLayout narrow;
    narrow.Layout(list.get(), CRect(0, 0, 70, 100), TRUE);
    const KeyCase narrowCases[] = {
        {"fewer than two cells", VK_RIGHT, FALSE, FALSE, 2, 2, TRUE},
        {"fewer than two cells left", VK_LEFT, FALSE, FALSE, 2, 2, TRUE},
    };
    RunKeys(narrow, narrowCases, 2, 40);

    CQXPGalleryLayout wide;
    wide.Layout(list.get(), kItems, TRUE);
    const KeyCase noWidth[] = {{"item width 0", VK_RIGHT, FALSE, FALSE, 1, 1, TRUE}};
    RunKeys(wide, noWidth, 1, 0);

    GalleryItemList labels;
    labels.AddLabel("one");
    labels.AddLabel("two");
    CQXPGalleryLayout onlyLabels;
    onlyLabels.Layout(&labels, kItems, TRUE);
    CQXPGalleryLayout empty;
    empty.Layout(NULL, kItems, TRUE);
    const KeyCase none[] = {
        {"home", VK_HOME, FALSE, FALSE, -1, -1, TRUE},
        {"end", VK_END, FALSE, FALSE, -1, -1, TRUE},
        {"tab", VK_TAB, FALSE, FALSE, -1, -1, FALSE},
        {"down", VK_DOWN, FALSE, FALSE, -1, -1, FALSE},
        {"page down", VK_NEXT, FALSE, FALSE, -1, -1, TRUE},
    };
    RunKeys(onlyLabels, none, sizeof(none) / sizeof(none[0]), 40);
    RunKeys(empty, none, sizeof(none) / sizeof(none[0]), 40);
}

TEST(GalleryKeyboard, NextSelectableWrapsOnce)
{
    auto list = SampleList();
    CQXPGalleryLayout layout;
    layout.Layout(list.get(), kItems, TRUE);
    const struct {
        int from, dir, result;
    } cases[] = {
        {-1, 1, 1},
        {-1, -1, 7},
        {1, 1, 2},
        {4, 1, 6},
        {7, 1, 1},
        {1, -1, 7},
        {6, -1, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, layout.NextSelectable(c.from, c.dir)) << c.from << " " << c.dir;

    GalleryItemList single;
    single.AddLabel("x");
    single.AddItem(1, "only");
    single.AddLabel("y");
    CQXPGalleryLayout one;
    one.Layout(&single, kItems, TRUE);
    EXPECT_EQ(1, one.NextSelectable(1, 1)); // a full circle returns the start
    EXPECT_EQ(1, one.NextSelectable(1, -1));
}

TEST(GalleryFind, ExactAndPrefixWithWrapAround)
{
    GalleryItemList list;
    list.AddItem(1, "Apple");
    list.AddItem(2, "banana");
    list.AddItem(3, "Apricot");
    list.AddLabel("Fruit");
    list.AddItem(5, "apple");
    const struct {
        const char* name;
        int start;
        const char* text;
        BOOL exact;
        int result;
    } cases[] = {
        {"exact ignores case", -1, "APPLE", TRUE, 0},
        {"exact finds the next", 0, "apple", TRUE, 4},
        {"exact wraps", 4, "apple", TRUE, 0},
        {"exact is not a prefix", -1, "App", TRUE, -1},
        {"prefix", -1, "ap", FALSE, 0},
        {"prefix next", 0, "ap", FALSE, 2},
        {"prefix after that", 2, "AP", FALSE, 4},
        {"prefix wraps", 4, "ap", FALSE, 0},
        {"longer than every caption", -1, "Apples", FALSE, -1},
        {"whole caption as prefix", -1, "BANANA", FALSE, 1},
        {"start out of range", 99, "b", FALSE, 1},
        {"start below range", -7, "apple", TRUE, 0},
        {"empty text", -1, "", FALSE, -1},
        {"no match", -1, "cherry", FALSE, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, QXPGalleryFindItem(&list, c.start, c.text, c.exact));
    }
    GalleryItemList empty;
    EXPECT_EQ(-1, QXPGalleryFindItem(&empty, -1, "a", FALSE));
    EXPECT_EQ(-1, QXPGalleryFindItem(NULL, -1, "a", FALSE));
    EXPECT_EQ(-1, QXPGalleryFindItem(&list, -1, NULL, FALSE));
}

TEST(GalleryScrolling, ScrollCodes)
{
    const struct {
        int code, position, expected;
    } cases[] = {
        {SB_LINEUP, 0, 10},
        {SB_LINEDOWN, 0, 70},
        {SB_PAGEUP, 0, -60},
        {SB_PAGEDOWN, 0, 140},
        {SB_THUMBTRACK, 17, 17},
        {SB_TOP, 99, 0},
        {SB_BOTTOM, 0, 155},
        {SB_THUMBPOSITION, 99, 40},
        {SB_ENDSCROLL, 99, 40},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, QXPGalleryScrollValue(c.code, c.position, 40, 30, 100, 155)) << "code " << c.code;
}

TEST(GalleryScrolling, AnimationSteps)
{
    EXPECT_DOUBLE_EQ(30.0, QXPGalleryAnimationStep(0, 90, 100));
    EXPECT_DOUBLE_EQ(30.0, QXPGalleryAnimationStep(0, 90, 200));
    EXPECT_DOUBLE_EQ(11.25, QXPGalleryAnimationStep(0, 90, 300));
    EXPECT_DOUBLE_EQ(-11.25, QXPGalleryAnimationStep(90, 0, 0 + 500));
    EXPECT_DOUBLE_EQ(1.0, QXPGalleryAnimationStep(0, 2, 300));
    EXPECT_DOUBLE_EQ(-1.0, QXPGalleryAnimationStep(10, 9, 300));

    // A smooth scroll moves by truncated steps and lands on the target.
    const struct {
        int from, to, period;
        std::vector<int> offsets;
    } runs[] = {
        {0, 90, 300, {11, 22, 33, 44, 55, 66, 77, 88, 90}},
        {0, 90, 100, {30, 60, 90}},
        {90, 0, 300, {78, 66, 54, 42, 30, 18, 6, 0}},
        {5, 7, 300, {6, 7}},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(testing::Message() << r.from << " to " << r.to);
        double step = QXPGalleryAnimationStep(r.from, r.to, r.period);
        int offset = r.from;
        std::vector<int> seen;
        BOOL bDone = FALSE;
        while (!bDone && seen.size() < 50) {
            offset = QXPGalleryAnimationTick(offset, r.to, step, &bDone);
            seen.push_back(offset);
        }
        EXPECT_EQ(r.offsets, seen);
    }
}

} // namespace
