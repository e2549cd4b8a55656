// Layouts saved to a private registry key, read back and applied; damaged
// saved layouts are refused as a whole.
#include "DockTestSupport.h"
#include "../../foundation/tests/QxTestSupport.h"

#include <qx/propexchange.h>

using docktest::Describe;
using docktest::Docking;
using qxtest::RegistryApp;

namespace {

const char kLayoutPath[] = "DockingPaneLayouts\\NormalLayout";

std::string PaneSection(int i)
{
    return std::string(kLayoutPath) + "\\Pane-" + std::to_string(i);
}

// Raw access to the saved layout below the test's own key.
struct SavedLayout {
    explicit SavedLayout(const RegistryApp& app) : reg(app) {}
    bool ReadInt(const std::string& section, const char* entry, int& value) const
    {
        DWORD type = 0;
        qxtest::Bytes data;
        if (!reg.Query(section.c_str(), entry, type, data) || type != REG_DWORD || data.size() != 4)
            return false;
        memcpy(&value, data.data(), 4);
        return true;
    }
    int Int(const std::string& section, const char* entry, int def = 0) const
    {
        int v = def;
        ReadInt(section, entry, v);
        return v;
    }
    void SetInt(const std::string& section, const char* entry, int value) const
    {
        reg.SetRaw(section.c_str(), entry, REG_DWORD, &value, 4);
    }
    void Delete(const std::string& section, const char* entry) const
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, reg.Path(section.c_str()).c_str(), 0, KEY_WRITE, &h) == ERROR_SUCCESS) {
            RegDeleteValueA(h, entry);
            RegCloseKey(h);
        }
    }
    int Count() const { return Int(std::string(kLayoutPath) + "\\Summary", "Panes"); }
    // Index of the nth object (from 0) of a type, 0 when none.
    int IndexOfType(int type, int nth = 0) const
    {
        for (int i = 1; i <= Count(); ++i)
            if (Int(PaneSection(i), "Type", -1) == type && nth-- == 0)
                return i;
        return 0;
    }
    // Index of the first container of a type that lists children.
    int IndexOfFilled(int type) const
    {
        for (int i = 1; i <= Count(); ++i)
            if (Int(PaneSection(i), "Type", -1) == type && Int(PaneSection(i), "Panes") > 0)
                return i;
        return 0;
    }
    const RegistryApp& reg;
};

// Panes 1..6: 1 and 2 share a place on the left, 3 at the bottom, 4 right
// (closed, its empty holder kept), 5 auto-hidden on the right, 6 floating
// (its docked holder kept on the left).
void BuildSample(Docking& d)
{
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf, NULL, 210, 120);
    d.manager.AttachPane(d.Create(2, dockLeftOf), p1);
    d.Create(3, dockBottomOf, NULL, 200, 140);
    CQXPDockingPane* p4 = d.Create(4, dockRightOf, NULL, 180, 120);
    CQXPDockingPane* p5 = d.Create(5, dockRightOf, NULL, 170, 120);
    CQXPDockingPane* p6 = d.Create(6, dockLeftOf);
    d.manager.GetLayout()->DropEmptyContainers();
    p1->SetTitle("Project\nProj");
    p1->SetOptions(paneNoCloseable | paneHasMenuButton);
    p1->m_ptMinTrackSize.x = 30;
    p1->SetTabColor(RGB(10, 20, 30));
    p1->m_nHelpID = 77;
    p1->m_nTag = -4;
    d.manager.ClosePane(p4);
    d.manager.HidePane(p5);
    // A floating frame around pane 6.
    DockingLayoutStore* pLayout = d.manager.GetLayout();
    p6->GetContainer()->RemovePane(p6);
    auto* pTabbed = static_cast<CQXPDockingPaneTabbedContainer*>(
        d.manager.CreatePaneObject(paneTypeTabbedContainer, pLayout));
    pTabbed->AddPane(p6, FALSE);
    auto* pFrame = static_cast<CQXPDockingPaneMiniWnd*>(d.manager.CreatePaneObject(paneTypeMiniWnd, pLayout));
    RECT rc = {100, 120, 400, 420};
    pFrame->Init(pTabbed, rc);
    pFrame->m_bRollUp = TRUE;
    pFrame->m_nExpandedHeight = 300;
    pLayout->UpdateHolders();
    pLayout->DropEmptyContainers();
}

const char kSampleTree[] = "S-[T{},S|[S-[T{1,2*},C],T{3*}],T{}] A1(T{5*}) F(S-[T{6*}])";

// The manager's live layout saved as the program saves it.
void SaveLive(Docking& d)
{
    DockingLayoutStore layout(&d.manager);
    d.manager.GetLayout(&layout);
    layout.SaveToRegistry("NormalLayout");
}

TEST(DockingLayout, SavedLayoutLoadsIntoTheSameTree)
{
    RegistryApp app;
    std::string saved;
    {
        Docking d;
        BuildSample(d);
        saved = d.Tree();
        EXPECT_EQ(kSampleTree, saved);
        DockingLayoutStore layout(&d.manager);
        d.manager.GetLayout(&layout);
        EXPECT_EQ(saved, Describe(&layout));
        layout.SaveToRegistry("NormalLayout");
    }
    Docking d;
    for (int id = 1; id <= 6; ++id)
        d.Create(id, dockLeftOf);
    DockingLayoutStore layout(&d.manager);
    ASSERT_TRUE(layout.LoadFromRegistry("NormalLayout"));
    EXPECT_TRUE(layout.IsValid());
    EXPECT_EQ(saved, Describe(&layout));
    d.manager.SetLayout(&layout);
    EXPECT_EQ(saved, d.Tree());

    CQXPDockingPane* p1 = d.manager.FindPane(1);
    ASSERT_NE(nullptr, p1);
    EXPECT_STREQ("Project", p1->GetTitle());
    EXPECT_STREQ("Proj", p1->GetShortTitle());
    EXPECT_EQ((DWORD)(paneNoCloseable | paneHasMenuButton), p1->GetOptions());
    EXPECT_EQ(30, p1->m_ptMinTrackSize.x);
    EXPECT_EQ(RGB(10, 20, 30), p1->GetTabColor());
    EXPECT_EQ(77, p1->m_nHelpID);
    EXPECT_EQ(-4, p1->m_nTag);
    EXPECT_EQ(210, p1->m_szDocking.cx);

    // The closed pane comes back where it was before it was closed.
    CQXPDockingPane* p4 = d.manager.FindPane(4);
    ASSERT_NE(nullptr, p4);
    EXPECT_TRUE(p4->IsClosed());
    d.manager.SelectPane(p4, FALSE);
    EXPECT_EQ(dockRightOf, d.manager.GetPaneDirection(p4));
    EXPECT_EQ(4, d.manager.GetPaneDirection(d.manager.FindPane(6)));
    EXPECT_EQ(dockRightOf, d.manager.GetPaneDirection(d.manager.FindPane(5)));

    // Every object is there, each of the right kind.
    SavedLayout raw(app);
    EXPECT_EQ((int)layout.GetObjects().size(), raw.Count());
}

TEST(DockingLayout, SavedFormat)
{
    RegistryApp app;
    Docking d;
    d.Create(1, dockLeftOf);
    d.Create(2, dockRightOf);
    d.Create(3, dockBottomOf);
    DockingLayoutStore layout(&d.manager);
    d.manager.GetLayout(&layout);
    layout.SaveToRegistry("NormalLayout");

    SavedLayout raw(app);
    const std::string summary = std::string(kLayoutPath) + "\\Summary";
    // 3 panes, 3 tabbed containers, 2 splitters, the client.
    EXPECT_EQ(9, raw.Count());
    EXPECT_EQ(24, raw.Int(summary, "Schema"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(0, raw.Int(PaneSection(i), "Type", -1)) << i;
    for (int i = 4; i <= 9; ++i)
        EXPECT_NE(0, raw.Int(PaneSection(i), "Type", -1)) << i;
    EXPECT_EQ(2, raw.Int(PaneSection(raw.Int(summary, "TopContainer")), "Type", -1));
    EXPECT_EQ(4, raw.Int(PaneSection(raw.Int(summary, "Client")), "Type", -1));
    EXPECT_EQ(1, raw.Int(PaneSection(1), "ID"));
    EXPECT_EQ(200, raw.Int(PaneSection(1), "DockingCX"));
    int t1 = raw.Int(PaneSection(1), "DockingHolder");
    EXPECT_EQ(1, raw.Int(PaneSection(t1), "Type", -1));
    EXPECT_EQ(1, raw.Int(PaneSection(t1), "Pane-1"));

    // Saving again over a larger layout leaves nothing stale behind.
    DockingLayoutStore small(&d.manager);
    small.SaveToRegistry("NormalLayout");
    EXPECT_EQ(2, raw.Count());
    EXPECT_FALSE(app.KeyExists(PaneSection(3).c_str()));
}

// Saving numbers the panes of the pane records, then the containers: a pane
// object without a record (made through the factory alone) is left out.
TEST(DockingLayout, APaneWithoutARecordIsNotSaved)
{
    RegistryApp app;
    Docking d;
    d.Create(1, dockLeftOf);
    d.Create(2, dockRightOf);
    CPaneBase* pLoose = d.manager.CreatePaneObject(paneTypeDockingPane, d.manager.GetLayout());
    ASSERT_NE(nullptr, pLoose);
    static_cast<CQXPDockingPane*>(pLoose)->SetID(9);
    ASSERT_EQ(nullptr, d.manager.GetLayout()->FindRecord(static_cast<CQXPDockingPane*>(pLoose)));
    SaveLive(d);

    SavedLayout raw(app);
    // 2 panes, 2 tabbed containers, 1 splitter, the client.
    ASSERT_EQ(6, raw.Count());
    for (int i = 1; i <= 2; ++i)
        EXPECT_EQ(0, raw.Int(PaneSection(i), "Type", -1)) << i;
    for (int i = 3; i <= 6; ++i) {
        EXPECT_NE(0, raw.Int(PaneSection(i), "Type", -1)) << i;
        EXPECT_NE(9, raw.Int(PaneSection(i), "ID")) << i;
    }
    DockingLayoutStore loaded(&d.manager);
    ASSERT_TRUE(loaded.LoadFromRegistry("NormalLayout"));
    EXPECT_EQ(d.Tree(), Describe(&loaded));
}

TEST(DockingLayout, FloatingFrameKeys)
{
    RegistryApp app;
    Docking d;
    BuildSample(d);
    SaveLive(d);
    SavedLayout raw(app);
    int f = raw.IndexOfType(paneTypeMiniWnd);
    ASSERT_NE(0, f);
    EXPECT_EQ(2, raw.Int(PaneSection(raw.Int(PaneSection(f), "TopContaner")), "Type", -1));
    EXPECT_EQ(120, raw.Int(PaneSection(f), "WindowRectTopPos"));
    EXPECT_EQ(400, raw.Int(PaneSection(f), "WindowRectRightPos"));
    EXPECT_EQ(1, raw.Int(PaneSection(f), "Collapsed"));
    EXPECT_EQ(300, raw.Int(PaneSection(f), "ExpandedHeight"));
    int a = raw.IndexOfType(paneTypeAutoHidePanel);
    EXPECT_EQ(dockRightOf, raw.Int(PaneSection(a), "Direction"));
}

// One damage done to a good saved layout.
struct Damage {
    const char* name;
    std::function<void(const SavedLayout&)> apply;
};

class DamagedLayouts : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedLayouts, AreRefusedAndTheLiveLayoutIsKept)
{
    RegistryApp app;
    Docking d;
    BuildSample(d);
    SaveLive(d);
    SavedLayout raw(app);
    {
        // Undamaged it loads.
        DockingLayoutStore layout(&d.manager);
        ASSERT_TRUE(layout.LoadFromRegistry("NormalLayout"));
    }
    GetParam().apply(raw);
    DockingLayoutStore layout(&d.manager);
    EXPECT_FALSE(layout.LoadFromRegistry("NormalLayout")) << GetParam().name;
    EXPECT_FALSE(layout.IsValid());
    EXPECT_TRUE(layout.GetObjects().empty());
    d.manager.SetLayout(&layout); // ignored
    EXPECT_EQ(kSampleTree, d.Tree());
}

const std::string kSummary = std::string(kLayoutPath) + "\\Summary";

// One more object at the end of the saved layout.
int AddObject(const SavedLayout& r, int type)
{
    int n = r.Count() + 1;
    r.SetInt(kSummary, "Panes", n);
    r.SetInt(PaneSection(n), "Type", type);
    return n;
}


INSTANTIATE_TEST_SUITE_P(
    Table, DamagedLayouts,
    ::testing::Values(
        Damage{"one object", [](const SavedLayout& r) { r.SetInt(kSummary, "Panes", 1); }},
        Damage{"no objects", [](const SavedLayout& r) { r.Delete(kSummary, "Panes"); }},
        Damage{"a huge count", [](const SavedLayout& r) { r.SetInt(kSummary, "Panes", 0x7FFFFFFF); }},
        Damage{"more objects than sections", [](const SavedLayout& r) { r.SetInt(kSummary, "Panes", r.Count() + 1); }},
        Damage{"unknown type", [](const SavedLayout& r) { r.SetInt(PaneSection(2), "Type", 6); }},
        Damage{"missing type", [](const SavedLayout& r) { r.Delete(PaneSection(2), "Type"); }},
        Damage{"type of the wrong registry kind",
               [](const SavedLayout& r) { r.reg.SetRaw(PaneSection(2).c_str(), "Type", REG_SZ, "0", 2); }},
        Damage{"pane id 0", [](const SavedLayout& r) { r.SetInt(PaneSection(1), "ID", 0); }},
        Damage{"negative pane id", [](const SavedLayout& r) { r.SetInt(PaneSection(1), "ID", -5); }},
        Damage{"child index out of range",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfFilled(1)), "Pane-1", 999); }},
        Damage{"negative child index",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfType(2)), "Pane-1", -3); }},
        Damage{"tabbed container lists a container",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfFilled(1)), "Pane-1", r.IndexOfType(4)); }},
        Damage{"splitter lists itself",
               [](const SavedLayout& r) {
                   int s = r.IndexOfType(2, 1);
                   r.SetInt(PaneSection(s), "Pane-1", s);
               }},
        Damage{"splitter lists the top above it",
               [](const SavedLayout& r) {
                   int top = r.Int(kSummary, "TopContainer");
                   for (int n = 0;; ++n) {
                       int s = r.IndexOfType(2, n);
                       if (s != top) {
                           r.SetInt(PaneSection(s), "Pane-1", top);
                           break;
                       }
                   }
               }},
        Damage{"a pane in two containers",
               [](const SavedLayout& r) {
                   int t1 = r.IndexOfFilled(1), t2 = r.IndexOfType(1, 0) == t1 ? r.IndexOfType(1, 1) : r.IndexOfType(1, 0);
                   r.SetInt(PaneSection(t2), "Panes", std::max(1, r.Int(PaneSection(t2), "Panes")));
                   r.SetInt(PaneSection(t2), "Pane-1", r.Int(PaneSection(t1), "Pane-1"));
               }},
        Damage{"count larger than the children listed",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfFilled(1)), "Panes", 5); }},
        Damage{"no top container", [](const SavedLayout& r) { r.SetInt(kSummary, "TopContainer", 0); }},
        Damage{"top container not a splitter",
               [](const SavedLayout& r) { r.SetInt(kSummary, "TopContainer", r.IndexOfType(1)); }},
        Damage{"top container inside the tree",
               [](const SavedLayout& r) {
                   int top = r.Int(kSummary, "TopContainer");
                   for (int n = 0;; ++n) {
                       int s = r.IndexOfType(2, n);
                       if (s != top && s != 0) {
                           r.SetInt(kSummary, "TopContainer", s);
                           break;
                       }
                   }
               }},
        Damage{"client not a client", [](const SavedLayout& r) { r.SetInt(kSummary, "Client", 1); }},
        Damage{"holder out of range", [](const SavedLayout& r) { r.SetInt(PaneSection(1), "LastHolder", 500); }},
        Damage{"auto-hide side outside 0..3",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfType(5)), "Direction", 7); }},
        Damage{"floating frame without content",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfType(3)), "TopContaner", 0); }},
        Damage{"floating frame holding a tabbed container",
               [](const SavedLayout& r) { r.SetInt(PaneSection(r.IndexOfType(3)), "TopContaner", r.IndexOfType(1)); }},
        Damage{"floating frame holding the frame's top",
               [](const SavedLayout& r) {
                   r.SetInt(PaneSection(r.IndexOfType(3)), "TopContaner", r.Int(kSummary, "TopContainer"));
               }},
        Damage{"two floating frames on one splitter",
               [](const SavedLayout& r) {
                   int f = r.IndexOfType(3);
                   int n = AddObject(r, paneTypeMiniWnd);
                   r.SetInt(PaneSection(n), "TopContaner", r.Int(PaneSection(f), "TopContaner"));
               }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return "Case" + std::to_string(info.index); });

TEST(DockingLayout, ArchiveRoundTripAndShortArchive)
{
    Docking d;
    BuildSample(d);
    DockingLayoutStore layout(&d.manager);
    d.manager.GetLayout(&layout);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        layout.Serialize(ar);
        ar.Close();
    }
    ULONGLONG size = file.GetLength();
    ASSERT_GT(size, 0u);
    file.SeekToBegin();
    DockingLayoutStore loaded(&d.manager);
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(kSampleTree, Describe(&loaded));
    ASSERT_FALSE(loaded.GetPanes().empty());
    CQXPDockingPane* p1 = loaded.GetPanes()[0];
    EXPECT_EQ(1, p1->GetID());
    EXPECT_STREQ("Project", p1->GetTitle());
    EXPECT_EQ(RGB(10, 20, 30), p1->GetTabColor());

    // Cut short: the load fails as a whole and leaves nothing behind.
    file.SetLength(size / 2);
    file.SeekToBegin();
    DockingLayoutStore cut(&d.manager);
    bool thrown = false;
    try {
        CArchive ar(&file, CArchive::load);
        cut.Serialize(ar);
    } catch (CException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_FALSE(cut.IsValid());
    EXPECT_TRUE(cut.GetObjects().empty());
}

TEST(DockingLayout, IniFileRoundTrip)
{
    qxtest::TempDir dir;
    const std::string path = dir.Path("layout.ini");
    Docking d;
    BuildSample(d);
    DockingLayoutStore layout(&d.manager);
    d.manager.GetLayout(&layout);
    {
        CQXPPropExchangeIniFile px(FALSE, "DockingPaneLayouts", "NormalLayout");
        px.AssignFile(path.c_str());
        ASSERT_TRUE(px.Prepare());
        layout.SaveTo(&px);
    }
    DockingLayoutStore loaded(&d.manager);
    {
        CQXPPropExchangeIniFile px(TRUE, "DockingPaneLayouts", "NormalLayout");
        px.AssignFile(path.c_str());
        ASSERT_TRUE(px.Prepare());
        ASSERT_TRUE(loaded.LoadFrom(&px));
    }
    EXPECT_EQ(kSampleTree, Describe(&loaded));
    // Another name holds nothing.
    DockingLayoutStore other(&d.manager);
    CQXPPropExchangeIniFile px(TRUE, "DockingPaneLayouts", "OtherLayout");
    px.AssignFile(path.c_str());
    px.Prepare();
    EXPECT_FALSE(other.LoadFrom(&px));
}

TEST(DockingLayout, MissingLayoutIsRefused)
{
    RegistryApp app;
    Docking d;
    DockingLayoutStore layout(&d.manager);
    EXPECT_FALSE(layout.LoadFromRegistry("NormalLayout"));
    EXPECT_FALSE(layout.IsValid());
}

TEST(DockingLayout, PanesMissingFromTheSavedLayoutAreGoneOnceApplied)
{
    RegistryApp app;
    {
        Docking d;
        d.Create(1, dockLeftOf);
        DockingLayoutStore layout(&d.manager);
        d.manager.GetLayout(&layout);
        layout.SaveToRegistry("NormalLayout");
    }
    Docking d;
    d.Create(1, dockLeftOf);
    d.Create(2, dockRightOf);
    DockingLayoutStore layout(&d.manager);
    ASSERT_TRUE(layout.LoadFromRegistry("NormalLayout"));
    d.manager.SetLayout(&layout);
    EXPECT_NE(nullptr, d.manager.FindPane(1));
    EXPECT_EQ(nullptr, d.manager.FindPane(2));
}

// What the saved form allows, though no frame saves it so, loads; the
// closed pane 4 then comes back into the place its record names.
struct Accepted {
    const char* name;
    std::function<void(const SavedLayout&)> apply;
    const char* treeAfterSelect; // once pane 4 is selected again
};

class AcceptedLayouts : public ::testing::TestWithParam<Accepted> {};

// The sample with pane 4 back in the right-hand holder it was closed from.
const char kPane4BackRight[] = "S-[T{},S|[S-[T{1,2*},C],T{3*}],T{4*}] A1(T{5*}) F(S-[T{6*}])";
const char kPane4Left[] = "S-[T{4*},T{},S|[S-[T{1,2*},C],T{3*}],T{}] A1(T{5*}) F(S-[T{6*}])";

// The index of the splitter that lists a child, 0 when none does.
int SplitterListing(const SavedLayout& r, int child)
{
    for (int n = 0;; ++n) {
        int s = r.IndexOfType(paneTypeSplitterContainer, n);
        if (s == 0)
            return 0;
        for (int k = 1; k <= r.Int(PaneSection(s), "Panes"); ++k)
            if (r.Int(PaneSection(s), ("Pane-" + std::to_string(k)).c_str()) == child)
                return s;
    }
}

// The sample's vertical splitter: the one above the splitter of the client.
int VerticalSplitter(const SavedLayout& r)
{
    return SplitterListing(r, SplitterListing(r, r.Int(kSummary, "Client")));
}

// A tabbed container that no splitter lists, with pane 4 as its tab.
void OutsideTabsHoldPane4(const SavedLayout& r)
{
    int t = AddObject(r, paneTypeTabbedContainer);
    r.SetInt(PaneSection(t), "Panes", 1);
    r.SetInt(PaneSection(t), "Pane-1", 4);
}

TEST_P(AcceptedLayouts, LoadAndAClosedPaneComesBackWhereItsRecordSays)
{
    RegistryApp app;
    Docking d;
    BuildSample(d);
    SaveLive(d);
    SavedLayout raw(app);
    ASSERT_EQ(4, raw.Int(PaneSection(4), "ID"));
    GetParam().apply(raw);
    DockingLayoutStore layout(&d.manager);
    ASSERT_TRUE(layout.LoadFromRegistry("NormalLayout")) << GetParam().name;
    EXPECT_TRUE(layout.IsValid());
    EXPECT_EQ(kSampleTree, Describe(&layout));
    d.manager.SetLayout(&layout);
    CQXPDockingPane* p4 = d.manager.FindPane(4);
    ASSERT_NE(nullptr, p4);
    EXPECT_EQ(nullptr, p4->GetContainer()) << "pane 4 is closed";
    d.manager.SelectPane(p4, FALSE);
    EXPECT_EQ(GetParam().treeAfterSelect, d.Tree());
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedLayouts,
    ::testing::Values(
        Accepted{"undamaged", [](const SavedLayout&) {}, kPane4BackRight},
        Accepted{"docking holder names a splitter",
                 [](const SavedLayout& r) {
                     r.SetInt(PaneSection(1), "DockingHolder", r.IndexOfType(paneTypeSplitterContainer));
                 },
                 kPane4BackRight},
        Accepted{"last holder names a splitter",
                 [](const SavedLayout& r) { r.SetInt(PaneSection(4), "LastHolder", VerticalSplitter(r)); },
                 "S-[T{},S|[S-[T{1,2*},C],T{3*},T{4*}],T{}] A1(T{5*}) F(S-[T{6*}])"},
        Accepted{"last holder names a floating frame",
                 [](const SavedLayout& r) {
                     r.SetInt(PaneSection(4), "LastHolder", r.IndexOfType(paneTypeMiniWnd));
                 },
                 "S-[T{},S|[S-[T{1,2*},C],T{3*}],T{}] A1(T{5*}) F(S-[T{6*},T{4*}])"},
        Accepted{"last holder names a pane", [](const SavedLayout& r) { r.SetInt(PaneSection(4), "LastHolder", 1); },
                 kPane4Left},
        Accepted{"no last holder", [](const SavedLayout& r) { r.SetInt(PaneSection(4), "LastHolder", 0); },
                 kPane4Left},
        Accepted{"a tabbed container outside the tree holds the closed pane", OutsideTabsHoldPane4,
                 kPane4BackRight},
        Accepted{"... and is its only holder",
                 [](const SavedLayout& r) {
                     OutsideTabsHoldPane4(r);
                     r.SetInt(PaneSection(4), "LastHolder", 0);
                 },
                 kPane4Left},
        Accepted{"a second client outside the tree",
                 [](const SavedLayout& r) { AddObject(r, paneTypeClientContainer); }, kPane4BackRight},
        Accepted{"more than ten thousand objects",
                 [](const SavedLayout& r) {
                     int n = r.Count();
                     for (int i = n + 1; i <= n + 10000; ++i)
                         r.SetInt(PaneSection(i), "Type", paneTypeClientContainer);
                     r.SetInt(kSummary, "Panes", n + 10000);
                 },
                 kPane4BackRight}),
    [](const ::testing::TestParamInfo<Accepted>& info) { return "Case" + std::to_string(info.index); });

} // namespace
