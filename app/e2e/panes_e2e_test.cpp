// End to end: the docking panes of the real Qmate.exe on a fresh key and
// folder, driven with the real mouse. The Function List floats when its
// caption is double-clicked, comes back floating at the same place after a
// restart, docks again by a double click on its frame's caption, and docks at
// the left edge of the layout when its caption is dropped on the left edge
// guide.
#include "qmate_fixture.h"

#include <qmtest/mouse.h>

using namespace e2e;

namespace {

enum : int {
    kPaneFunctionList = 59599
};

class PanesTest : public QmateTest {
protected:
    // The Function List's list box, and the tabbed container holding it.
    HWND List() const
    {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "ListBox"))
            if (GetDlgCtrlID(h) == kPaneFunctionList)
                return h;
        for (HWND frame : FloatingFrames())
            for (HWND h : qmtest::DescendantsOfClass(frame, "ListBox"))
                if (GetDlgCtrlID(h) == kPaneFunctionList)
                    return h;
        return nullptr;
    }
    HWND Container() const
    {
        for (HWND h = List(); h; h = GetParent(h))
            if (qmtest::WindowClassOf(h) == "QXPDockingPaneTabbedContainer")
                return h;
        return nullptr;
    }
    std::vector<HWND> FloatingFrames() const
    {
        std::vector<HWND> frames;
        for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
            if (qmtest::WindowClassOf(h) == "QXPDockingPaneMiniWnd")
                frames.push_back(h);
        return frames;
    }
    // The visible floating frame that holds the Function List, if any.
    HWND ListFrame() const
    {
        HWND container = Container();
        HWND top = container ? GetAncestor(container, GA_ROOT) : nullptr;
        return top && qmtest::WindowClassOf(top) == "QXPDockingPaneMiniWnd" && IsWindowVisible(top) ? top : nullptr;
    }
    static RECT RectOf(HWND h)
    {
        RECT rc = {0, 0, 0, 0};
        GetWindowRect(h, &rc);
        return rc;
    }
    // A point on the container's own caption.
    POINT CaptionPoint() const
    {
        RECT rc = RectOf(Container());
        return POINT{rc.left + 30, rc.top + 6};
    }
    // A point on a frame's caption, found by asking the frame.
    static POINT FrameCaption(HWND frame)
    {
        RECT rc = RectOf(frame);
        for (int y = rc.top; y < rc.top + 40; ++y) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutA(frame, WM_NCHITTEST, 0, MAKELPARAM(rc.left + 40, y), SMTO_ABORTIFHUNG, 5000, &hit);
            if (hit == HTCAPTION)
                return POINT{rc.left + 40, y + 3};
        }
        return POINT{rc.left + 40, rc.top + 8};
    }
    // The frame shows on top of the program's windows where its caption is.
    bool FrameUnderItsCaption(HWND frame) const
    {
        return qmtest::WaitUntil([&] { return WindowFromPoint(FrameCaption(frame)) == frame; }, 10000);
    }
    // The Function List docked in the main frame, its caption laid out
    // under the pointer's point.
    bool DockedAndLaidOut() const
    {
        return qmtest::WaitUntil(
            [&] {
                HWND c = Container();
                return c && GetAncestor(c, GA_ROOT) == Main() && WindowFromPoint(CaptionPoint()) == c;
            },
            10000);
    }
    // The docking area: the documents' client and the docked panes together.
    RECT DockingArea() const
    {
        RECT area = RectOf(qmtest::FirstDescendantOfClass(Main(), "MDIClient"));
        for (const char* cls : {"QXPDockingPaneTabbedContainer", "QXPDockingPaneSplitter"})
            for (HWND h : qmtest::DescendantsOfClass(Main(), cls, true))
                if (GetAncestor(h, GA_ROOT) == Main()) {
                    RECT rc = RectOf(h);
                    UnionRect(&area, &area, &rc);
                }
        return area;
    }
};

TEST_F(PanesTest, TheFunctionListFloatsComesBackAfterARestartAndDocksAgain)
{
    ASSERT_NE(nullptr, Start());
    ASSERT_TRUE(DockedAndLaidOut());
    EXPECT_EQ(nullptr, ListFrame());
    qmtest::DoubleClickAt(CaptionPoint());
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ListFrame() != nullptr; }, 10000)) << "the pane did not float";
    HWND frame = ListFrame();
    EXPECT_EQ("Function List", qmtest::WindowTextOf(frame));
    RECT before = RectOf(frame);
    // A double click on the frame's caption docks it; on the container's
    // caption it floats again, in the same place.
    ASSERT_TRUE(FrameUnderItsCaption(frame));
    qmtest::DoubleClickAt(FrameCaption(frame));
    ASSERT_TRUE(DockedAndLaidOut()) << "the pane did not dock again";
    qmtest::DoubleClickAt(CaptionPoint());
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ListFrame() != nullptr; }, 10000)) << "the pane did not float again";
    EXPECT_EQ(before.left, RectOf(ListFrame()).left);
    ASSERT_TRUE(Close());

    ASSERT_NE(nullptr, Start());
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ListFrame() != nullptr; }, 20000)) << "not floating after a restart";
    frame = ListFrame();
    RECT after = RectOf(frame);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);

    ASSERT_TRUE(FrameUnderItsCaption(frame));
    qmtest::DoubleClickAt(FrameCaption(frame));
    ASSERT_TRUE(DockedAndLaidOut()) << "the pane did not dock again";
    EXPECT_FALSE(IsWindowVisible(frame));
    ASSERT_TRUE(Close());
}

TEST_F(PanesTest, ACaptionDroppedOnTheLeftEdgeGuideDocksThere)
{
    ASSERT_NE(nullptr, Start());
    ASSERT_TRUE(DockedAndLaidOut());
    RECT area = DockingArea();
    RECT client = RectOf(qmtest::FirstDescendantOfClass(Main(), "MDIClient"));
    ASSERT_GT(RectOf(Container()).left, client.left) << "the Function List starts on the right";
    // The left edge guide (style 0): 16 pixels in from the layout's left
    // edge, centred on its height.
    POINT guide = {area.left + 16 + 15, (area.top + area.bottom) / 2};
    qmtest::DragFromTo(
        CaptionPoint(), guide, [](DWORD ms) { Sleep(ms); }, 20);
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            HWND c = Container();
            return c && GetAncestor(c, GA_ROOT) == Main() && RectOf(c).left <= area.left + 2;
        },
        10000))
        << "the pane did not dock at the left edge";
    RECT docked = RectOf(Container());
    client = RectOf(qmtest::FirstDescendantOfClass(Main(), "MDIClient"));
    EXPECT_LE(docked.right, client.left);
    EXPECT_TRUE(FloatingFrames().empty() || !ListFrame());
    ASSERT_TRUE(Close());
}

} // namespace
