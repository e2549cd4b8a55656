// The window-free rules of dragging panes: the edge a point picks, the
// target search over a scene of containers, snapping, the on-screen rule of
// a move, and the docking guides' geometry, pictures, hit tests and shapes.
#include <qx/dragcontext.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>

#include <qxresource.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

// ---------------------------------------------------------------------------
struct EdgeCase {
    const char* name;
    RECT rc;
    POINT pt;
    bool inside;
    bool mayFloat;
    int expected;
};

class PickDockEdgeTable : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(PickDockEdgeTable, PicksTheExpectedEdge)
{
    const EdgeCase& c = GetParam();
    EXPECT_EQ(c.expected, CDockingDragContext::PickDockEdge(c.rc, c.pt, c.inside, c.mayFloat)) << c.name;
}

const RECT kBox = {100, 100, 300, 200}; // 200 wide, 100 high

INSTANTIATE_TEST_SUITE_P(
    Table, PickDockEdgeTable,
    ::testing::Values(
        EdgeCase{"inside near the top", kBox, {200, 105}, true, true, dockTopOf},
        EdgeCase{"inside near the bottom", kBox, {200, 195}, true, true, dockBottomOf},
        EdgeCase{"inside near the left", kBox, {110, 150}, true, true, dockLeftOf},
        EdgeCase{"inside near the right", kBox, {290, 150}, true, true, dockRightOf},
        EdgeCase{"inside 20 pixels away is too far", kBox, {120, 150}, true, true, -1},
        EdgeCase{"inside 19 pixels away docks", kBox, {119, 150}, true, true, dockLeftOf},
        EdgeCase{"a corner: top is tried first, left must be strictly nearer", kBox, {105, 105}, true, true, dockTopOf},
        EdgeCase{"a corner nearer the left edge", kBox, {103, 110}, true, true, dockLeftOf},
        EdgeCase{"outside the rectangle does not dock inside", kBox, {90, 150}, true, true, -1},
        EdgeCase{"outside: 10 pixels left of it", kBox, {90, 150}, false, true, dockLeftOf},
        EdgeCase{"outside: 19 pixels above it", kBox, {200, 81}, false, true, dockTopOf},
        EdgeCase{"outside: 20 pixels above it is too far", kBox, {200, 80}, false, true, -1},
        EdgeCase{"outside: 21 pixels below it is too far", kBox, {200, 221}, false, true, -1},
        EdgeCase{"outside: a point inside docks nowhere", kBox, {200, 150}, false, true, -1},
        EdgeCase{"outside: right of it", kBox, {305, 150}, false, true, dockRightOf},
        EdgeCase{"no floating: the nearest edge from anywhere inside", kBox, {200, 140}, true, false, dockTopOf},
        // 200 x 100: side edges count half their distance. 60 from the left
        // weighs 30, less than the 50 to the top and bottom.
        EdgeCase{"no floating: wide box docks left by weighted distance", kBox, {160, 150}, true, false, dockLeftOf},
        EdgeCase{"no floating: wide box docks right by weighted distance", kBox, {250, 150}, true, false, dockRightOf},
        EdgeCase{"no floating: the centre of a wide box, top is tried first", kBox, {200, 150}, true, false, dockTopOf},
        EdgeCase{"no floating outside keeps the 20 pixels", kBox, {70, 150}, false, false, -1},
        EdgeCase{"an empty rectangle never docks", RECT{100, 100, 100, 200}, {100, 150}, false, false, -1},
        EdgeCase{"a rectangle of no height never docks", RECT{100, 100, 300, 100}, {200, 100}, true, false, -1}));

// ---------------------------------------------------------------------------
// FindTarget over a scene of fake containers.

class SceneDrag : public CDockingDragContext {
public:
    SceneDrag() : CDockingDragContext(NULL) {}
    void CollectScene(DockingDragScene& scene) override { scene = m_scene; }
    BOOL AllowAction(int nAction, CPaneBase* pTarget, int nDirection) override
    {
        for (const auto& r : m_refused)
            if (r.first == nAction && (r.second == nullptr || r.second == pTarget))
                return FALSE;
        (void)nDirection;
        return TRUE;
    }
    // A marker: the direction in the left edge.
    RECT CalcDockingRect(int nDirection, CPaneBase*) override { return RECT{nDirection, 0, nDirection + 1, 1}; }

    DockingDragScene m_scene;
    std::vector<std::pair<int, CPaneBase*>> m_refused;
};

struct FindCase {
    const char* name;
    POINT pt;
    bool guides;
    bool mayFloat;
    const char* refuse;    // "attach:A", "dock:*" ...
    const char* noDocking; // container that forbids docking
    const char* target;    // "-" none
    bool attach;
    int direction;
    const char* host; // guide host: "-" none, "top*" for the top rectangle alone
};

class FindTargetTable : public ::testing::TestWithParam<FindCase> {
protected:
    void SetUp() override
    {
        for (const char* n : {"A", "B", "F1", "F2", "client", "top"})
            m_objects[n] = new CPaneBase(paneTypeTabbedContainer, &m_layout);
    }
    // The frame: A docked left, B at the bottom with tabs, the client at the
    // top right; two floating frames, F2 above F1.
    void Build(SceneDrag& drag, const char* noDocking)
    {
        auto add = [&](const char* n, RECT rc, RECT caption, RECT tabs, bool floating, int z) {
            DockingDragCandidate c;
            c.pContainer = m_objects[n];
            c.rcWindow = rc;
            c.rcCaption = caption;
            c.rcTabs = tabs;
            c.bFloating = floating;
            c.bNoDocking = noDocking && std::string(noDocking) == n;
            c.nZOrder = z;
            drag.m_scene.candidates.push_back(c);
        };
        RECT none = {0, 0, 0, 0};
        add("A", {0, 0, 200, 600}, {0, 0, 200, 21}, none, false, 1);
        add("B", {200, 450, 700, 600}, {200, 450, 700, 471}, {200, 580, 700, 600}, false, 1);
        add("F1", {150, 100, 400, 300}, {150, 80, 400, 100}, none, true, 10);
        add("F2", {350, 200, 600, 400}, {350, 180, 600, 200}, none, true, 11);
        drag.m_scene.pClient = m_objects["client"];
        drag.m_scene.rcClient = RECT{200, 0, 800, 450};
        drag.m_scene.pTop = m_objects["top"];
        drag.m_scene.rcTop = RECT{0, 0, 800, 600};
    }
    std::string NameOf(const CPaneBase* p)
    {
        for (auto& o : m_objects)
            if (o.second == p)
                return o.first;
        return "-";
    }

    DockingLayoutStore m_layout{NULL};
    std::map<std::string, CPaneBase*> m_objects;
};

TEST_P(FindTargetTable, FindsTheExpectedTarget)
{
    const FindCase& c = GetParam();
    SceneDrag drag;
    Build(drag, c.noDocking);
    drag.m_bGuideMode = c.guides;
    drag.m_bMayFloat = c.mayFloat;
    if (c.refuse) {
        std::string r = c.refuse;
        int action = r.compare(0, 6, "attach") == 0 ? paneActionAttachingTab : paneActionDocking;
        std::string who = r.substr(r.find(':') + 1);
        drag.m_refused.push_back({action, who == "*" ? nullptr : m_objects[who]});
    }
    drag.FindTarget(c.pt.x, c.pt.y);
    EXPECT_EQ(c.target, NameOf(drag.m_pTarget)) << c.name;
    EXPECT_EQ(c.attach, drag.m_bAttach != FALSE) << c.name;
    if (drag.m_pTarget && !drag.m_bAttach) {
        EXPECT_EQ(c.direction, drag.m_nDirection) << c.name;
        EXPECT_EQ(c.direction, drag.m_rcPreview.left) << c.name << ": the preview is the docking rectangle";
    }
    std::string host = drag.m_bGuideHostSet ? "top*" : NameOf(drag.m_pGuideHost);
    EXPECT_EQ(c.host, host) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindTargetTable,
    ::testing::Values(
        FindCase{"caption of A attaches", {100, 10}, false, true, nullptr, nullptr, "A", true, -1, "-"},
        FindCase{"tab strip of B attaches", {500, 590}, false, true, nullptr, nullptr, "B", true, -1, "-"},
        FindCase{"caption of B attaches", {500, 460}, false, true, nullptr, nullptr, "B", true, -1, "-"},
        FindCase{"near A's left edge docks left of A", {5, 300}, false, true, nullptr, nullptr, "A", false, dockLeftOf, "-"},
        FindCase{"middle of A docks nowhere", {100, 300}, false, true, nullptr, nullptr, "-", false, -1, "-"},
        FindCase{"no floating: A's nearest weighted edge", {150, 300}, false, false, nullptr, nullptr, "A", false, dockRightOf, "-"},
        // B is 500 x 150: 10 pixels from its right edge weighs 3.
        FindCase{"no floating: wide B docks right", {690, 520}, false, false, nullptr, nullptr, "B", false, dockRightOf, "-"},
        FindCase{"near the client's top docks there", {700, 10}, false, true, nullptr, nullptr, "client", false, dockTopOf, "-"},
        FindCase{"up to 20 pixels outside the layout docks at its edge", {-10, 300}, false, true, nullptr, nullptr, "top", false, dockLeftOf, "-"},
        FindCase{"25 pixels outside docks nowhere", {-25, 300}, false, true, nullptr, nullptr, "-", false, -1, "-"},
        FindCase{"below the layout", {750, 615}, false, true, nullptr, nullptr, "top", false, dockBottomOf, "-"},
        FindCase{"the upper floating frame wins", {360, 250}, false, true, nullptr, nullptr, "F2", false, dockLeftOf, "-"},
        FindCase{"a floating frame's caption attaches", {250, 90}, false, true, nullptr, nullptr, "F1", true, -1, "-"},
        FindCase{"no docking at the client beside a floating frame", {210, 200}, false, true, nullptr, nullptr, "-", false, -1, "-"},
        FindCase{"a refused attach falls back to docking inside", {5, 10}, false, true, "attach:A", nullptr, "A", false, dockLeftOf, "-"},
        FindCase{"a refused dock finds nothing", {5, 300}, false, true, "dock:*", nullptr, "-", false, -1, "-"},
        FindCase{"a container that forbids docking is passed over", {100, 10}, false, true, nullptr, "A", "-", false, -1, "-"},
        FindCase{"guides: A hosts", {100, 300}, true, true, nullptr, nullptr, "-", false, -1, "A"},
        FindCase{"guides: a caption still attaches", {100, 10}, true, true, nullptr, nullptr, "A", true, -1, "-"},
        FindCase{"guides: the client hosts", {700, 100}, true, true, nullptr, nullptr, "-", false, -1, "client"},
        FindCase{"guides: the upper floating frame hosts", {360, 250}, true, true, nullptr, nullptr, "-", false, -1, "F2"},
        FindCase{"guides: elsewhere only the outer guides", {750, 500}, true, true, nullptr, nullptr, "-", false, -1, "top*"},
        FindCase{"guides: outside the layout nothing", {900, 500}, true, true, nullptr, nullptr, "-", false, -1, "-"}));

// ---------------------------------------------------------------------------
struct MoveCase {
    const char* name;
    RECT drag, copy;
    int dx, dy;
    RECT expectedDrag, expectedCopy;
};

class MoveDragRectTable : public ::testing::TestWithParam<MoveCase> {};

const RECT kWork = {0, 0, 1000, 700};

TEST_P(MoveDragRectTable, FollowsTheMouseAndStaysOnScreen)
{
    const MoveCase& c = GetParam();
    RECT drag = c.drag, copy = c.copy;
    CDockingDragContext::MoveDragRect(&drag, &copy, c.dx, c.dy, kWork);
    EXPECT_EQ(Str(c.expectedDrag), Str(drag)) << c.name;
    EXPECT_EQ(Str(c.expectedCopy), Str(copy)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoveDragRectTable,
    ::testing::Values(
        MoveCase{"a plain move", {100, 100, 300, 200}, {100, 100, 300, 200}, 10, -5, {110, 95, 310, 195}, {110, 95, 310, 195}},
        MoveCase{"off the left: 10 pixels stay on the work area", {0, 100, 200, 200}, {0, 100, 200, 200}, -195, 0, {-190, 100, 10, 200}, {-195, 100, 5, 200}},
        MoveCase{"the copy leaves the work area: the rectangle stays", {-190, 100, 10, 200}, {-195, 100, 5, 200}, -10, 0, {-190, 100, 10, 200}, {-205, 100, -5, 200}},
        MoveCase{"coming back, the copy takes over again", {-190, 100, 10, 200}, {-205, 100, -5, 200}, 30, 0, {-175, 100, 25, 200}, {-175, 100, 25, 200}},
        MoveCase{"off the bottom", {100, 600, 300, 700}, {100, 600, 300, 700}, 0, 95, {100, 690, 300, 790}, {100, 695, 300, 795}},
        MoveCase{"off the top", {100, 0, 300, 100}, {100, 0, 300, 100}, 0, -95, {100, -90, 300, 10}, {100, -95, 300, 5}},
        MoveCase{"off the right", {800, 100, 1000, 200}, {800, 100, 1000, 200}, 195, 0, {990, 100, 1190, 200}, {995, 100, 1195, 200}}));

TEST(DragRules, AFloatAboveTheWorkAreaLandsOnItsTopNotOnTheScreensTop)
{
    const RECT work = {0, 40, 1000, 700}; // a task bar at the top
    RECT rc = {100, 10, 300, 110};
    CDockingDragContext::KeepBelowWorkAreaTop(&rc, work);
    EXPECT_EQ("100,40,300,140", Str(rc));
    RECT below = {100, 50, 300, 150};
    CDockingDragContext::KeepBelowWorkAreaTop(&below, work);
    EXPECT_EQ("100,50,300,150", Str(below));
}

// ---------------------------------------------------------------------------
struct SnapCase {
    const char* name;
    RECT rc;
    std::vector<RECT> others;
    RECT expected;
};

class SnapMovingTable : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapMovingTable, SnapsWithinFifteenPixels)
{
    const SnapCase& c = GetParam();
    RECT rc = c.rc;
    const RECT work = {0, 0, 1000, 700};
    CDockingDragContext::SnapMoving(&rc, &work, c.others, 15);
    EXPECT_EQ(Str(c.expected), Str(rc)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SnapMovingTable,
    ::testing::Values(SnapCase{"far from everything", {300, 300, 400, 400}, {}, {300, 300, 400, 400}},
                      SnapCase{"to the work area's left and top", {10, 14, 110, 114}, {}, {0, 0, 100, 100}},
                      SnapCase{"15 pixels is too far", {15, 300, 115, 400}, {}, {15, 300, 115, 400}},
                      SnapCase{"to the work area's right and bottom", {890, 590, 990, 690}, {}, {900, 600, 1000, 700}},
                      SnapCase{"top meets the other's bottom", {300, 210, 400, 310}, {{300, 100, 500, 200}}, {300, 200, 400, 300}},
                      SnapCase{"right meets the other's left, tops align", {190, 105, 290, 205}, {{300, 100, 500, 200}}, {200, 100, 300, 200}},
                      SnapCase{"left meets the other's right", {508, 300, 608, 400}, {{300, 280, 500, 480}}, {500, 300, 600, 400}},
                      SnapCase{"a far window is left alone", {300, 400, 400, 500}, {{300, 100, 500, 200}}, {300, 400, 400, 500}}));

struct SizeCase {
    const char* name;
    RECT rc;
    int edge;
    RECT expected;
};

class SnapSizingTable : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SnapSizingTable, MovesOnlyTheSizedEdges)
{
    const SizeCase& c = GetParam();
    RECT rc = c.rc;
    std::vector<RECT> others = {{300, 100, 500, 200}};
    CDockingDragContext::SnapSizing(&rc, c.edge, others, 15);
    EXPECT_EQ(Str(c.expected), Str(rc)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SnapSizingTable,
    ::testing::Values(SizeCase{"top edge to the other's bottom", {320, 210, 420, 300}, WMSZ_TOP, {320, 200, 420, 300}},
                      SizeCase{"top-left: top and left", {290, 210, 420, 300}, WMSZ_TOPLEFT, {300, 200, 420, 300}},
                      SizeCase{"bottom edge to the other's top", {320, 0, 420, 92}, WMSZ_BOTTOM, {320, 0, 420, 100}},
                      SizeCase{"right edge to the other's left", {100, 120, 293, 180}, WMSZ_RIGHT, {100, 120, 300, 180}},
                      SizeCase{"left edge to the other's right", {505, 120, 600, 180}, WMSZ_LEFT, {500, 120, 600, 180}},
                      SizeCase{"an edge not being sized stays", {100, 120, 293, 180}, WMSZ_LEFT, {100, 120, 293, 180}},
                      SizeCase{"out of reach", {100, 300, 200, 400}, WMSZ_BOTTOMRIGHT, {100, 300, 200, 400}}));

// ---------------------------------------------------------------------------
// Guides.

TEST(DockingGuideGeometry, CompassAndEdgeGuidesInBothStyles)
{
    const RECT host = {100, 100, 301, 201}; // centre 200, 150
    EXPECT_EQ("154,104,247,197", Str(DockingGuides::CrossRect(host, 0)));
    EXPECT_EQ("156,106,245,195", Str(DockingGuides::CrossRect(host, 1)));

    const RECT top = {0, 0, 800, 600}; // centre 400, 300
    struct Row {
        int flag, style;
        const char* rc;
    } rows[] = {
        {guideTop, 0, "379,16,422,46"},
        {guideLeft, 0, "16,279,46,322"},
        {guideBottom, 0, "379,554,422,584"},
        {guideRight, 0, "754,279,784,322"},
        {guideTop, 1, "386,16,415,48"},
        {guideLeft, 1, "16,286,48,315"},
        {guideBottom, 1, "386,552,415,584"},
        {guideRight, 1, "752,286,784,315"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.rc, Str(DockingGuides::OuterRect(top, r.flag, r.style))) << r.flag << " style " << r.style;
}

TEST(DockingGuideGeometry, PartsComeFromTheirBitmapsAndPlaces)
{
    struct Row {
        int style;
        bool cross;
        int flag;
        bool hot;
        int scheme;
        UINT bitmap;
        POINT offset;
        const char* source;
    } rows[] = {
        {0, true, guideTop, false, 1, QX_IDB_DOCKING_GUIDE, {25, 0}, "0,0,43,30"},
        {0, true, guideLeft, true, 1, QX_IDB_DOCKING_GUIDE, {0, 25}, "90,33,120,76"},
        {0, true, guideBottom, false, 2, QX_IDB_DOCKING_GUIDE_OLIVE, {25, 63}, "43,0,86,30"},
        {0, true, guideRight, true, 3, QX_IDB_DOCKING_GUIDE_SILVER, {63, 25}, "60,33,90,76"},
        {0, true, guideCentre, true, 0, QX_IDB_DOCKING_GUIDE, {30, 30}, "86,76,119,109"},
        {0, false, guideTop, false, 1, QX_IDB_DOCKING_GUIDE, {0, 0}, "0,0,43,30"},
        {1, true, guideTop, false, 1, QX_IDB_DOCKING_GUIDE_VS, {30, 0}, "61,29,90,59"},
        {1, true, guideRight, true, 1, QX_IDB_DOCKING_GUIDE_VS, {60, 30}, "62,61,92,90"},
        {1, false, guideLeft, false, 1, QX_IDB_DOCKING_GUIDE_VS, {0, 0}, "29,32,61,61"},
        {1, false, guideBottom, true, 1, QX_IDB_DOCKING_GUIDE_VS, {0, 0}, "32,61,61,93"},
        {1, true, guideCentre, true, 1, QX_IDB_DOCKING_GUIDE_VS, {30, 30}, "120,82,148,111"},
    };
    for (const Row& r : rows) {
        DockingGuidePart part;
        ASSERT_TRUE(DockingGuides::GetPart(r.style, r.cross, r.flag, r.hot, r.scheme, &part));
        EXPECT_EQ(r.bitmap, part.nBitmap) << r.flag;
        EXPECT_EQ(r.offset.x, part.ptOffset.x) << r.flag;
        EXPECT_EQ(r.offset.y, part.ptOffset.y) << r.flag;
        EXPECT_EQ(r.source, Str(part.rcSource)) << "style " << r.style << " flag " << r.flag << " hot " << r.hot;
    }
    DockingGuidePart back;
    ASSERT_TRUE(DockingGuides::GetBackground(0, FALSE, &back));
    EXPECT_EQ((UINT)QX_IDB_DOCKING_GUIDE_BACK, back.nBitmap);
    EXPECT_EQ("0,0,43,43", Str(back.rcSource));
    ASSERT_TRUE(DockingGuides::GetBackground(1, TRUE, &back));
    EXPECT_EQ("120,41,161,82", Str(back.rcSource));
    EXPECT_EQ(24, back.ptOffset.x);
}

struct HitCase {
    const char* name;
    int flags;
    int style;
    POINT pt;
    int expected;
};

class GuideHitTable : public ::testing::TestWithParam<HitCase> {};

TEST_P(GuideHitTable, HitsThePartUnderThePoint)
{
    const HitCase& c = GetParam();
    EXPECT_EQ(c.expected, DockingGuides::HitTest(c.flags, c.style, c.pt)) << c.name;
}

const int kAll = guideLeft | guideRight | guideTop | guideBottom | guideCentre | guideCross;

INSTANTIATE_TEST_SUITE_P(
    Table, GuideHitTable,
    ::testing::Values(
        HitCase{"style 0 top arm", kAll, 0, {46, 15}, guideTop},
        HitCase{"style 0 left arm", kAll, 0, {15, 46}, guideLeft},
        HitCase{"style 0 bottom arm", kAll, 0, {46, 78}, guideBottom},
        HitCase{"style 0 right arm", kAll, 0, {78, 46}, guideRight},
        HitCase{"style 0 centre", kAll, 0, {46, 46}, guideCentre},
        HitCase{"style 0 green corner", kAll, 0, {2, 2}, 0},
        HitCase{"style 0 outside the window", kAll, 0, {100, 46}, 0},
        HitCase{"style 0 a missing arm hits nothing", kAll & ~guideTop, 0, {46, 15}, 0},
        HitCase{"style 0 no centre button: backdrop hits nothing", kAll & ~guideCentre, 0, {46, 46}, 0},
        HitCase{"style 1 top arm", kAll, 1, {44, 15}, guideTop},
        HitCase{"style 1 right arm", kAll, 1, {75, 44}, guideRight},
        HitCase{"style 1 centre", kAll, 1, {44, 44}, guideCentre},
        HitCase{"style 1 green corner", kAll, 1, {1, 1}, 0},
        HitCase{"style 0 outer top guide", guideTop, 0, {21, 15}, guideTop},
        HitCase{"style 0 outer guide corner", guideTop, 0, {0, 0}, 0},
        HitCase{"style 1 outer left guide", guideLeft, 1, {15, 14}, guideLeft}));

TEST(DockingGuideShapes, RegionHoldsTheNonGreenPixelsOnly)
{
    HRGN hRgn = DockingGuides::BuildRegion(kAll, 0, 1);
    ASSERT_NE(nullptr, hRgn);
    EXPECT_TRUE(::PtInRegion(hRgn, 46, 15)) << "the top arm";
    EXPECT_TRUE(::PtInRegion(hRgn, 46, 46)) << "the centre";
    EXPECT_FALSE(::PtInRegion(hRgn, 2, 2)) << "a green corner";
    RECT box;
    ::GetRgnBox(hRgn, &box);
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, 93);
    ::DeleteObject(hRgn);

    HRGN hEdge = DockingGuides::BuildRegion(guideTop, 1, 1);
    EXPECT_TRUE(::PtInRegion(hEdge, 14, 15));
    EXPECT_FALSE(::PtInRegion(hEdge, 0, 0));
    ::DeleteObject(hEdge);
}

TEST(DockingGuideShapes, TheCacheBuildsEachFlagCombinationOnce)
{
    DockingGuideRegionCache cache;
    HRGN a = cache.Lookup(kAll, 0, 1);
    HRGN b = cache.Lookup(kAll, 0, 1);
    EXPECT_EQ(a, b);
    cache.Lookup(guideTop, 0, 1);
    EXPECT_EQ(2, cache.m_nBuilt);
    EXPECT_EQ(2, cache.GetCount());
    cache.Clear();
    EXPECT_EQ(0, cache.GetCount());
    cache.Lookup(kAll, 0, 1);
    EXPECT_EQ(3, cache.m_nBuilt);
}

TEST(DockingGuideShapes, NoWindowForNoButtons)
{
    CDockingDragContext drag(NULL);
    const RECT rc = {10, 10, 103, 103};
    EXPECT_EQ(nullptr, drag.CreateGuide(0, rc));
    EXPECT_EQ(nullptr, drag.CreateGuide(guideCross, rc));
    EXPECT_TRUE(drag.m_guides.empty());
}

} // namespace
