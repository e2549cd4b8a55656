// Resizable dialogs on real windows: anchored controls follow the size
// change by their fractions, the grip, the minimum and fixed sizes, and the
// placement kept in the profile.
#include "DialogTestSupport.h"

#include <qx/resizedialog.h>

#include <qmtest/qmatedriver.h>

#include <functional>

using namespace dlgtest;

namespace {

enum {
    IDC_EDIT = 100,
    IDC_OK = 101,
    IDC_LIST = 102,
    IDC_GROUP = 103,
    IDC_HALF = 104,
    IDC_FIXED = 105
};

// A dialog whose anchors come from the test.
class TestDialog : public CQXResizeDialog {
public:
    explicit TestDialog(UINT nFlags = 0) : CQXResizeDialog(0, NULL, nFlags) {}
    std::function<void(TestDialog*)> anchor;
    BOOL OnInitDialog() override
    {
        CQXResizeDialog::OnInitDialog();
        if (anchor)
            anchor(this);
        return TRUE;
    }
};

DialogTemplate MakeTemplate(DWORD dwStyle)
{
    DialogTemplate t(dwStyle | WS_POPUP | WS_CAPTION | WS_SYSMENU, 10, 10, 200, 120, "Resize");
    t.Add(0x81, IDC_EDIT, ES_AUTOHSCROLL | WS_BORDER, 8, 8, 120, 12);
    t.Add(0x80, IDC_OK, BS_PUSHBUTTON, 140, 96, 50, 14, "OK");
    t.Add(0x83, IDC_LIST, WS_BORDER | LBS_NOINTEGRALHEIGHT, 8, 26, 120, 60);
    t.Add(0x80, IDC_GROUP, BS_GROUPBOX, 136, 26, 56, 40, "Group");
    t.Add(0x82, IDC_HALF, 0, 8, 96, 40, 10, "Half");
    t.Add(0x82, IDC_FIXED, 0, 60, 96, 40, 10, "Fixed");
    return t;
}

struct ResizeDialogTest : ::testing::Test {
    std::unique_ptr<TestDialog> Open(DWORD dwStyle, std::function<void(TestDialog*)> anchor, UINT nFlags = 0)
    {
        std::unique_ptr<TestDialog> dlg(new TestDialog(nFlags));
        dlg->anchor = anchor;
        DialogTemplate t = MakeTemplate(dwStyle);
        EXPECT_TRUE(dlg->CreateIndirect(t.Get(), NULL));
        PumpMessages();
        return dlg;
    }
    static void Close(std::unique_ptr<TestDialog>& dlg)
    {
        if (dlg && dlg->GetSafeHwnd())
            dlg->DestroyWindow();
        PumpMessages();
    }
};

TEST_F(ResizeDialogTest, AnchoredControlsMoveAndStretchByTheirFractions)
{
    auto dlg = Open(WS_THICKFRAME, [](TestDialog* d) {
        d->SetResize(IDC_EDIT, CQXResizeRect(0, 0, 1, 0));
        d->SetResize(IDC_OK, QXRESIZE_BOTTOM_RIGHT, QXRESIZE_BOTTOM_RIGHT);
        d->SetResize(IDC_LIST, QXRESIZE_TOP_LEFT, QXRESIZE_BOTTOM_RIGHT);
        d->SetResize(IDC_GROUP, CQXResizeRect(1, 0, 1, 1));
        d->SetResize(IDC_HALF, CQXResizeRect(0.5f, 0, 0.5f, 0));
    });
    HWND h = dlg->GetSafeHwnd();
    ASSERT_NE(nullptr, h);
    CRect edit = ChildRect(h, IDC_EDIT), ok = ChildRect(h, IDC_OK), list = ChildRect(h, IDC_LIST);
    CRect group = ChildRect(h, IDC_GROUP), half = ChildRect(h, IDC_HALF), fixed = ChildRect(h, IDC_FIXED);
    CSize before = ClientSize(h);

    GrowClient(h, 40, 30);
    CSize after = ClientSize(h);
    ASSERT_EQ(before.cx + 40, after.cx);
    ASSERT_EQ(before.cy + 30, after.cy);

    CRect r = ChildRect(h, IDC_EDIT);
    EXPECT_EQ(CRect(edit.left, edit.top, edit.right + 40, edit.bottom), r) << "stretched horizontally only";
    r = ChildRect(h, IDC_OK);
    EXPECT_EQ(CRect(ok.left + 40, ok.top + 30, ok.right + 40, ok.bottom + 30), r) << "moved with the corner";
    r = ChildRect(h, IDC_LIST);
    EXPECT_EQ(CRect(list.left, list.top, list.right + 40, list.bottom + 30), r);
    r = ChildRect(h, IDC_GROUP);
    EXPECT_EQ(CRect(group.left + 40, group.top, group.right + 40, group.bottom + 30), r);
    r = ChildRect(h, IDC_HALF);
    EXPECT_EQ(CRect(half.left + 20, half.top, half.right + 20, half.bottom), r);
    EXPECT_EQ(fixed, ChildRect(h, IDC_FIXED)) << "unanchored controls stay";
    EXPECT_TRUE(::GetWindowLongPtrA(::GetDlgItem(h, IDC_GROUP), GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    // Fractions are kept from one resize to the next: two growths of 3
    // pixels move a half-anchored control by 1 (1.5 truncated) then 3.
    GrowClient(h, 3, 0);
    EXPECT_EQ(half.left + 20 + 1, ChildRect(h, IDC_HALF).left);
    GrowClient(h, 3, 0);
    EXPECT_EQ(half.left + 20 + 3, ChildRect(h, IDC_HALF).left);

    // Back to the designed size.
    GrowClient(h, -46, -30);
    EXPECT_EQ(edit, ChildRect(h, IDC_EDIT));
    EXPECT_EQ(ok, ChildRect(h, IDC_OK));
    EXPECT_EQ(half, ChildRect(h, IDC_HALF));
    Close(dlg);
}

// The dialog clips its children, yet the inside of a group box that no
// anchor names is painted by the dialog: the radio buttons in it do not sit
// on black (what the screen held before) but on the dialog's face.
TEST_F(ResizeDialogTest, GroupBoxesShowTheDialogFaceInside)
{
    enum {
        IDC_DIRECTION = 110,
        IDC_UP = 111,
        IDC_DOWN = 112
    };
    std::unique_ptr<TestDialog> dlg(new TestDialog());
    DialogTemplate t(WS_THICKFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 10, 10, 160, 80, "Direction");
    t.Add(0x80, IDC_DIRECTION, BS_GROUPBOX, 20, 10, 110, 40, "Search Direction");
    t.Add(0x80, IDC_UP, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 28, 28, 30, 10, "Up");
    t.Add(0x80, IDC_DOWN, BS_AUTORADIOBUTTON, 70, 28, 40, 10, "Down");
    ASSERT_TRUE(dlg->CreateIndirect(t.Get(), NULL));
    HWND h = dlg->GetSafeHwnd();
    EXPECT_TRUE(::GetWindowLongPtrA(h, GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_TRUE(::GetWindowLongPtrA(::GetDlgItem(h, IDC_DIRECTION), GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    // Black on the screen first, so that an unpainted area shows.
    HDC hScreen = ::GetDC(NULL);
    ::PatBlt(hScreen, 0, 0, 1280, 1024, BLACKNESS);
    ::ReleaseDC(NULL, hScreen);
    ::SetWindowPos(h, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();

    qmtest::Picture pic = qmtest::CaptureWindow(h);
    ASSERT_GT(pic.width, 0);
    RECT rcWindow;
    ::GetWindowRect(h, &rcWindow);
    auto pixelAt = [&](POINT ptClient) {
        ::ClientToScreen(h, &ptClient);
        size_t i = ((size_t)(ptClient.y - rcWindow.top) * pic.width + (ptClient.x - rcWindow.left)) * 3;
        return RGB(pic.rgb[i], pic.rgb[i + 1], pic.rgb[i + 2]);
    };
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    CRect group = ChildRect(h, IDC_DIRECTION), up = ChildRect(h, IDC_UP), down = ChildRect(h, IDC_DOWN);
    // Inside the frame, around and between the buttons.
    const POINT probes[] = {{up.left - 3, up.CenterPoint().y},
                            {(up.right + down.left) / 2, up.CenterPoint().y},
                            {down.right + 2, down.CenterPoint().y},
                            {up.CenterPoint().x, up.bottom + 3},
                            {down.CenterPoint().x, (down.bottom + group.bottom) / 2}};
    for (const POINT& pt : probes) {
        ASSERT_TRUE(group.PtInRect(pt));
        EXPECT_EQ(face, pixelAt(pt)) << "at " << pt.x << "," << pt.y;
    }
    ::DestroyWindow(h);
    PumpMessages();
}

TEST_F(ResizeDialogTest, AnchoringAnIdTwiceAddsTheAnchors)
{
    auto dlg = Open(WS_THICKFRAME, [](TestDialog* d) {
        d->SetResize(IDC_LIST, CQXResizeRect(0, 0, 1, 0));
        d->SetResize(IDC_LIST, CQXResizeRect(0, 0, 0, 1));
        EXPECT_FALSE(d->SetResize(999, CQXResizeRect(1, 1, 1, 1))) << "no such control";
    });
    HWND h = dlg->GetSafeHwnd();
    CQXResizeItem* pItem = dlg->m_layout.FindItem(IDC_LIST);
    ASSERT_NE(nullptr, pItem);
    EXPECT_EQ(CQXResizeRect(0, 0, 1, 1), pItem->m_rrcSizing);
    EXPECT_EQ(2, dlg->m_layout.GetItemCount()) << "the list and the grip";
    CRect list = ChildRect(h, IDC_LIST);
    GrowClient(h, 25, 15);
    EXPECT_EQ(CRect(list.left, list.top, list.right + 25, list.bottom + 15), ChildRect(h, IDC_LIST));
    Close(dlg);
}

TEST_F(ResizeDialogTest, SizeGripOnlyWithASizingFrame)
{
    {
        auto dlg = Open(0, nullptr);
        EXPECT_EQ(nullptr, ::GetDlgItem(dlg->GetSafeHwnd(), CQXSizeGrip::kID));
        EXPECT_TRUE(dlg->m_layout.GetFlags() & qxResizeNoSizeIcon);
        Close(dlg);
    }
    auto dlg = Open(WS_THICKFRAME, nullptr);
    HWND h = dlg->GetSafeHwnd();
    HWND hGrip = ::GetDlgItem(h, CQXSizeGrip::kID);
    ASSERT_NE(nullptr, hGrip);
    EXPECT_TRUE(::GetWindowLongPtrA(hGrip, GWL_STYLE) & SBS_SIZEGRIP);
    CSize client = ClientSize(h);
    CRect grip = ChildRect(h, CQXSizeGrip::kID);
    EXPECT_EQ(CRect(client.cx - 1 - ::GetSystemMetrics(SM_CXVSCROLL), client.cy - 1 - ::GetSystemMetrics(SM_CYHSCROLL),
                    client.cx - 1, client.cy - 1),
              grip);
    EXPECT_EQ(hGrip, ::GetWindow(h, GW_CHILD)) << "the grip is on top of the z-order";
    GrowClient(h, 30, 20);
    grip.OffsetRect(30, 20);
    EXPECT_EQ(grip, ChildRect(h, CQXSizeGrip::kID)) << "the grip follows the corner";
    // Over the grip the cursor is the diagonal arrow.
    LRESULT lr = ::SendMessageA(hGrip, WM_SETCURSOR, (WPARAM)hGrip, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(TRUE, lr);
    EXPECT_EQ(::LoadCursorA(NULL, (LPCSTR)IDC_SIZENWSE), ::GetCursor());
    Close(dlg);
}

TEST_F(ResizeDialogTest, TheDesignedSizeIsTheMinimumAndFixedDirectionsAreCapped)
{
    struct Row {
        UINT nFlags;
        bool bMinimum, bFixedWidth, bFixedHeight;
    };
    const Row rows[] = {
        {0, true, false, false},
        {qxResizeNoMinSize, false, false, false},
        {qxResizeNoHorizontal, true, true, false},
        {qxResizeNoVertical | qxResizeNoMinSize, false, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nFlags);
        auto dlg = Open(WS_THICKFRAME, nullptr, r.nFlags);
        HWND h = dlg->GetSafeHwnd();
        CRect rcWindow;
        ::GetWindowRect(h, &rcWindow);
        CSize client = ClientSize(h);
        CSize extra(rcWindow.Width() - client.cx, rcWindow.Height() - client.cy);
        MINMAXINFO mmi;
        ZeroMemory(&mmi, sizeof(mmi));
        mmi.ptMaxSize.x = mmi.ptMaxTrackSize.x = 5000;
        mmi.ptMaxSize.y = mmi.ptMaxTrackSize.y = 5000;
        mmi.ptMinTrackSize.x = mmi.ptMinTrackSize.y = 1;
        ::SendMessageA(h, WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
        if (r.bMinimum) {
            EXPECT_EQ(client.cx + extra.cx, mmi.ptMinTrackSize.x);
            EXPECT_EQ(client.cy + extra.cy, mmi.ptMinTrackSize.y);
        } else {
            EXPECT_LT(mmi.ptMinTrackSize.x, client.cx + extra.cx);
        }
        EXPECT_EQ(r.bFixedWidth, mmi.ptMaxTrackSize.x == client.cx + extra.cx);
        EXPECT_EQ(r.bFixedHeight, mmi.ptMaxTrackSize.y == client.cy + extra.cy);
        Close(dlg);
    }
}

TEST_F(ResizeDialogTest, PlacementIsKeptUnderItsNameAndDamagedDataIsIgnored)
{
    RegistryApp app;
    CRect saved;
    {
        auto dlg = Open(WS_THICKFRAME, [](TestDialog* d) { d->AutoLoadPlacement("FindDialog"); });
        HWND h = dlg->GetSafeHwnd();
        ::SetWindowPos(h, NULL, 123, 77, 420, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetWindowRect(h, &saved);
        Close(dlg);
    }
    EXPECT_EQ((DWORD)sizeof(WINDOWPLACEMENT), app.QuerySize("FindDialog", "WindowPlacement"));
    EXPECT_EQ(44u, (unsigned)sizeof(WINDOWPLACEMENT)) << "the stored form is 44 bytes on every target";
    CRect defaultRect;
    {
        auto dlg = Open(WS_THICKFRAME, [](TestDialog* d) { d->AutoLoadPlacement("FindDialog"); });
        CRect rc;
        ::GetWindowRect(dlg->GetSafeHwnd(), &rc);
        EXPECT_EQ(saved, rc) << "restored at once";
        // Anchored controls take the restored size into account.
        EXPECT_EQ(ClientSize(dlg->GetSafeHwnd()), dlg->m_layout.m_szWindow);
        Close(dlg);
    }
    {
        auto dlg = Open(WS_THICKFRAME, nullptr);
        ::GetWindowRect(dlg->GetSafeHwnd(), &defaultRect);
        Close(dlg);
    }
    // Data of another size is not applied.
    BYTE junk[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    app.SetBinary("Damaged", "WindowPlacement", junk, sizeof(junk));
    auto dlg = Open(WS_THICKFRAME, [](TestDialog* d) { EXPECT_FALSE(d->LoadPlacement("Damaged")); });
    CRect rc;
    ::GetWindowRect(dlg->GetSafeHwnd(), &rc);
    EXPECT_EQ(defaultRect, rc);
    EXPECT_FALSE(dlg->LoadPlacement("Missing"));
    Close(dlg);
}

// A template without a place opens the dialog centred on its owner; a
// placement saved under the dialog's name wins over that.
TEST_F(ResizeDialogTest, UnplacedDialogIsCentredUnlessAPlacementWasSaved)
{
    RegistryApp app;
    HWND hOwner = ::CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 350, 250, 640, 480, NULL,
                                    NULL, NULL, NULL);
    ASSERT_NE(nullptr, hOwner);
    auto open = [&](std::function<void(TestDialog*)> init) {
        std::unique_ptr<TestDialog> dlg(new TestDialog());
        dlg->anchor = init;
        DialogTemplate t(WS_THICKFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 120, "Unplaced");
        t.Add(0x80, IDC_OK, BS_PUSHBUTTON, 140, 96, 50, 14, "OK");
        EXPECT_TRUE(dlg->CreateIndirect(t.Get(), CWnd::FromHandle(hOwner)));
        PumpMessages();
        return dlg;
    };
    RECT rcOwner;
    ::GetWindowRect(hOwner, &rcOwner);
    CRect saved;
    {
        auto dlg = open([](TestDialog* d) { d->AutoLoadPlacement("Unplaced"); });
        CRect rc;
        ::GetWindowRect(dlg->GetSafeHwnd(), &rc);
        EXPECT_NEAR((rcOwner.left + rcOwner.right) / 2, rc.CenterPoint().x, 1);
        EXPECT_NEAR((rcOwner.top + rcOwner.bottom) / 2, rc.CenterPoint().y, 1);
        ::SetWindowPos(dlg->GetSafeHwnd(), NULL, 60, 50, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        ::GetWindowRect(dlg->GetSafeHwnd(), &saved);
        Close(dlg);
    }
    {
        auto dlg = open([](TestDialog* d) { d->AutoLoadPlacement("Unplaced"); });
        CRect rc;
        ::GetWindowRect(dlg->GetSafeHwnd(), &rc);
        EXPECT_EQ(saved, rc);
        Close(dlg);
    }
    ::DestroyWindow(hOwner);
}

TEST(ResizeDialogRuntime, IsDynamicallyCreatable)
{
    CRuntimeClass* pClass = RUNTIME_CLASS(CQXResizeDialog);
    ASSERT_NE(nullptr, pClass);
    CObject* p = pClass->CreateObject();
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CDialog)));
    delete p;
}

} // namespace
