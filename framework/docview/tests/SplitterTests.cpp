// The dynamic splitter of a text frame: splitting with the API and with
// the mouse, joining, the shared scroll bars and pane activation.
#include "DocViewTestApp.h"

using namespace dvtest;

namespace {

class SplitterTest : public DocViewTest {
protected:
    void SetUp() override
    {
        DocViewTest::SetUp();
        m_pSplitTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(SplitFrame),
                                                 RUNTIME_CLASS(TextView));
        m_pDocManager->AddDocTemplate(m_pSplitTemplate);
        m_pDoc = New(m_pSplitTemplate);
        ASSERT_TRUE(m_pDoc != NULL);
        m_pFrame = static_cast<SplitFrame*>(FrameOf(m_pDoc));
        m_pSplitter = &m_pFrame->m_wndSplitter;
        m_pFrame->MDIMaximize();
        m_pSplitter->RecalcLayout();
    }
    int ViewCount()
    {
        int n = 0;
        for (POSITION pos = m_pDoc->GetFirstViewPosition(); pos != NULL; m_pDoc->GetNextView(pos))
            n++;
        return n;
    }
    CRect PaneRect(int row, int col)
    {
        CRect r;
        m_pSplitter->GetPane(row, col)->GetWindowRect(&r);
        m_pSplitter->ScreenToClient(&r);
        return r;
    }
    // Presses the left button at one point, moves, releases at another.
    void Drag(CPoint from, CPoint to)
    {
        m_pSplitter->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        m_pSplitter->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        m_pSplitter->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }
    CRect Client()
    {
        CRect r;
        m_pSplitter->GetClientRect(&r);
        return r;
    }

    CMultiDocTemplate* m_pSplitTemplate = NULL;
    TextDoc* m_pDoc = NULL;
    SplitFrame* m_pFrame = NULL;
    CSplitterWnd* m_pSplitter = NULL;
};

} // namespace

TEST_F(SplitterTest, TheFrameStartsWithOnePaneOnTheDocument)
{
    EXPECT_EQ(1, m_pSplitter->GetRowCount());
    EXPECT_EQ(1, m_pSplitter->GetColumnCount());
    EXPECT_EQ(2, m_pSplitter->GetMaxRowCount());
    EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(m_pSplitter->m_hWnd));
    CWnd* pPane = m_pSplitter->GetPane(0, 0);
    ASSERT_TRUE(pPane != NULL);
    EXPECT_EQ(ViewOf(m_pDoc), pPane);
    EXPECT_EQ(pPane, m_pFrame->GetActiveView());
    EXPECT_EQ(1, ViewOf(m_pDoc)->m_nInitialUpdates);
    // The panes have no scroll bars of their own: the splitter's are shared.
    EXPECT_FALSE(pPane->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
    struct Case {
        int row, col, id;
    } cases[] = {{0, 0, AFX_IDW_PANE_FIRST}, {1, 0, AFX_IDW_PANE_FIRST + 16}, {0, 1, AFX_IDW_PANE_FIRST + 1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.id, m_pSplitter->IdFromRowCol(c.row, c.col));
}

TEST_F(SplitterTest, SplittingARowMakesASecondViewOfTheSameDocument)
{
    EXPECT_FALSE(m_pSplitter->SplitRow(5)); // below the minimum pane size
    EXPECT_EQ(1, m_pSplitter->GetRowCount());

    ASSERT_TRUE(m_pSplitter->SplitRow(100));
    EXPECT_EQ(2, m_pSplitter->GetRowCount());
    TextView* pTop = static_cast<TextView*>(m_pSplitter->GetPane(0, 0));
    TextView* pBottom = static_cast<TextView*>(m_pSplitter->GetPane(1, 0));
    ASSERT_TRUE(pBottom != NULL);
    EXPECT_TRUE(pBottom->IsKindOf(RUNTIME_CLASS(TextView)));
    EXPECT_EQ(m_pDoc, pBottom->GetDocument());
    EXPECT_EQ(2, ViewCount());
    EXPECT_EQ(1, pBottom->m_nInitialUpdates);
    EXPECT_FALSE(m_pSplitter->SplitRow(50)); // at most two rows

    // Both panes show the document's changes; one frame, so no numbers.
    int nTopUpdates = pTop->m_nUpdates, nBottomUpdates = pBottom->m_nUpdates;
    m_pDoc->SetText("shared");
    EXPECT_EQ(nTopUpdates + 1, pTop->m_nUpdates);
    EXPECT_EQ(nBottomUpdates + 1, pBottom->m_nUpdates);
    EXPECT_EQ(0, m_pFrame->m_nWindow);

    CRect top = PaneRect(0, 0), bottom = PaneRect(1, 0);
    EXPECT_EQ(100, top.Height());
    EXPECT_EQ(top.bottom + m_pSplitter->m_cySplitterGap, bottom.top);
    EXPECT_EQ(top.Width(), bottom.Width());
}

TEST_F(SplitterTest, DraggingTheSplitBoxSplitsWhereTheMouseIsReleased)
{
    CRect client = Client();
    int cxVScroll = GetSystemMetrics(SM_CXVSCROLL);
    // The split box sits above the vertical scroll bar.
    CPoint box(client.right - cxVScroll / 2, 2);
    Drag(box, CPoint(box.x, 152));
    EXPECT_FALSE(m_pSplitter->IsTracking());
    ASSERT_EQ(2, m_pSplitter->GetRowCount());
    EXPECT_EQ(150, PaneRect(0, 0).Height());
    EXPECT_EQ(2, ViewCount());

    // Escape while dragging the bar changes nothing.
    int y = PaneRect(0, 0).bottom + 2;
    m_pSplitter->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, y));
    EXPECT_TRUE(m_pSplitter->IsTracking());
    m_pSplitter->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, y + 60));
    m_pSplitter->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(m_pSplitter->IsTracking());
    EXPECT_EQ(150, PaneRect(0, 0).Height());

    // Dragging the bar moves it.
    Drag(CPoint(50, y), CPoint(50, y + 60));
    EXPECT_EQ(210, PaneRect(0, 0).Height());
    EXPECT_EQ(2, m_pSplitter->GetRowCount());

    // Dragging it to the top edge removes the top pane; the other one stays
    // and becomes the first pane.
    CWnd* pBottom = m_pSplitter->GetPane(1, 0);
    y = PaneRect(0, 0).bottom + 2;
    Drag(CPoint(50, y), CPoint(50, 0));
    EXPECT_EQ(1, m_pSplitter->GetRowCount());
    EXPECT_EQ(pBottom, m_pSplitter->GetPane(0, 0));
    EXPECT_EQ(1, ViewCount());
    EXPECT_EQ(pBottom, m_pFrame->GetActiveView());
    EXPECT_EQ(client.Height() - GetSystemMetrics(SM_CYHSCROLL), PaneRect(0, 0).Height());
}

TEST_F(SplitterTest, DoubleClickingTheBoxSplitsInTheMiddleAndTheBarJoins)
{
    CRect client = Client();
    int cxVScroll = GetSystemMetrics(SM_CXVSCROLL);
    m_pSplitter->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(client.right - cxVScroll / 2, 2));
    ASSERT_EQ(2, m_pSplitter->GetRowCount());
    int nInside = client.Height() - GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_NEAR(nInside / 2, PaneRect(0, 0).Height(), m_pSplitter->m_cySplitterGap);
    int y = PaneRect(0, 0).bottom + 2;
    m_pSplitter->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, y));
    EXPECT_EQ(1, m_pSplitter->GetRowCount());
    EXPECT_EQ(1, ViewCount());
}

TEST_F(SplitterTest, TheScrollBarsAreSharedByTheirRowOrColumn)
{
    ASSERT_TRUE(m_pSplitter->SplitRow(120));
    TextView* pTop = static_cast<TextView*>(m_pSplitter->GetPane(0, 0));
    TextView* pBottom = static_cast<TextView*>(m_pSplitter->GetPane(1, 0));
    CScrollBar* pTopV = pTop->GetScrollBarCtrl(SB_VERT);
    CScrollBar* pBottomV = pBottom->GetScrollBarCtrl(SB_VERT);
    CScrollBar* pH = pTop->GetScrollBarCtrl(SB_HORZ);
    ASSERT_TRUE(pTopV != NULL && pBottomV != NULL && pH != NULL);
    EXPECT_NE(pTopV, pBottomV);                        // one vertical bar per row
    EXPECT_EQ(pH, pBottom->GetScrollBarCtrl(SB_HORZ)); // one horizontal bar per column
    EXPECT_EQ(AFX_IDW_VSCROLL_FIRST + 1, ::GetDlgCtrlID(pBottomV->m_hWnd));
    EXPECT_EQ(AFX_IDW_HSCROLL_FIRST, ::GetDlgCtrlID(pH->m_hWnd));

    // The view's scroll functions work on its bar.
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 999;
    si.nPage = 100;
    si.nPos = 250;
    pBottom->SetScrollInfo(SB_VERT, &si);
    EXPECT_EQ(250, pBottomV->GetScrollPos());
    EXPECT_EQ(0, pTopV->GetScrollPos());
    EXPECT_EQ(250, pBottom->GetScrollPos(SB_VERT));
    SCROLLINFO back = {};
    ASSERT_TRUE(pBottom->GetScrollInfo(SB_VERT, &back));
    EXPECT_EQ(999, back.nMax);
    EXPECT_EQ(100u, back.nPage);

    // A horizontal bar's scrolling reaches every pane of its column.
    m_pSplitter->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), (LPARAM)pH->m_hWnd);
    EXPECT_EQ(1, pTop->m_nHScrolls);
    EXPECT_EQ(1, pBottom->m_nHScrolls);
}

TEST_F(SplitterTest, AClickMakesAPaneTheActiveViewAndRoutingFollows)
{
    ASSERT_TRUE(m_pSplitter->SplitRow(120));
    CView* pTop = static_cast<CView*>(m_pSplitter->GetPane(0, 0));
    CView* pBottom = static_cast<CView*>(m_pSplitter->GetPane(1, 0));
    EXPECT_EQ(pTop, m_pFrame->GetActiveView());
    pBottom->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(pBottom, m_pFrame->GetActiveView());
    int row = -1, col = -1;
    EXPECT_EQ(pBottom, m_pSplitter->GetActivePane(&row, &col));
    EXPECT_EQ(1, row);
    EXPECT_EQ(0, col);
    m_pSplitter->SetActivePane(0, 0);
    EXPECT_EQ(pTop, m_pFrame->GetActiveView());

    // Deleting the active pane hands the activation to the other one.
    m_pSplitter->SetActivePane(1, 0);
    m_pSplitter->DeleteRow(1);
    EXPECT_EQ(pTop, m_pFrame->GetActiveView());
    EXPECT_EQ(1, ViewCount());
}

TEST_F(SplitterTest, ClosingTheSplitFrameAsksOnceForTheDocument)
{
    ASSERT_TRUE(m_pSplitter->SplitRow(120));
    m_pDoc->SetText("changed");
    int nAlive = TextDoc::s_nAlive;
    qmtest::MessageBoxRecorder boxes({IDNO});
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(nAlive - 1, TextDoc::s_nAlive);
    EXPECT_EQ(0, CountDocuments());
}
