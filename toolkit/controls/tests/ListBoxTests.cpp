// The owner-drawn list box, the popup-menu helper and the icon holder.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/listbox.h>
#include <qx/themeres.h>

#include <qmtest/screenshot.h>

#include <algorithm>
#include <set>

using namespace dlgtest;
using namespace painttest;

namespace {

struct ListBoxTest : ::testing::Test {
    FixedColors colors;
    CWnd parent;
    CQXListBox list;

    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "List", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 260, NULL, NULL));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, CRect(10, 10, 210, 160),
                                &parent, 50));
        PumpMessages();
    }
    void TearDown() override
    {
        list.DestroyWindow();
        parent.DestroyWindow();
        PumpMessages();
    }
    // The list as the screen shows it.
    COLORREF ScreenPixel(int x, int y)
    {
        list.Invalidate();
        list.UpdateWindow();
        HDC hdc = ::GetDC(list.GetSafeHwnd());
        COLORREF c = ::GetPixel(hdc, x, y);
        ::ReleaseDC(list.GetSafeHwnd(), hdc);
        return c;
    }
    COLORREF C(int n) { return ToolkitColorManager::Instance()->GetColor(n); }
    void SaveListShot(const char* pszName)
    {
        list.Invalidate();
        list.UpdateWindow();
        // The display shows the window once its surface is flushed.
        PumpMessages();
        ::Sleep(200);
        PumpMessages();
        CRect rc;
        list.GetWindowRect(&rc);
        std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + pszName;
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, path));
        printf("screenshot: %s\n", path.c_str());
    }
};

TEST_F(ListBoxTest, CreatedListsAreOwnerDrawnWithMenuHighItems)
{
    DWORD dwStyle = list.GetStyle();
    EXPECT_TRUE(dwStyle & LBS_OWNERDRAWVARIABLE);
    EXPECT_TRUE(dwStyle & LBS_HASSTRINGS);
    list.AddString("First");
    list.AddString("Second");
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENU) - 2, (int)list.SendMessage(LB_GETITEMHEIGHT, 0, 0));
    CString str;
    list.GetText(1, str);
    EXPECT_STREQ("Second", str.GetString());
}

TEST_F(ListBoxTest, AnEmptyListPaintsOnlyItsBackground)
{
    CRect rc;
    list.GetClientRect(&rc);
    list.Invalidate();
    list.UpdateWindow();
    HDC hdc = ::GetDC(list.GetSafeHwnd());
    int nOther = 0;
    for (int y = 0; y < rc.bottom; y += 7)
        for (int x = 0; x < rc.right; x += 7)
            if (::GetPixel(hdc, x, y) != C(5))
                ++nOther;
    ::ReleaseDC(list.GetSafeHwnd(), hdc);
    EXPECT_EQ(0, nOther);
}

TEST_F(ListBoxTest, SelectedItemsInEachLook)
{
    list.AddString("Alpha");
    list.AddString("Beta");
    list.SetCurSel(0);
    int h = (int)list.SendMessage(LB_GETITEMHEIGHT, 0, 0);
    // Standard look: highlight colour 13.
    EXPECT_EQ(C(13), ScreenPixel(150, h / 2));
    EXPECT_EQ(C(5), ScreenPixel(150, h + h / 2));
    // Flat look: colour 31 inside a colour-32 frame.
    list.SetListStyle(CQXListBox::styleFlat);
    EXPECT_EQ(C(32), ScreenPixel(0, h / 2));
    EXPECT_EQ(C(31), ScreenPixel(150, h / 2));
    // Image look: the Office 2007 theme's button image (its fourth state)
    // stretched over the item.
    list.SetListStyle(CQXListBox::styleImage);
    ThemeBitmap* pImage = GetThemeResources()->LoadImage("TOOLBARBUTTONS22");
    ASSERT_TRUE(pImage != NULL);
    CRect rcItem;
    list.GetItemRect(0, &rcItem);
    MemoryDC expected(rcItem.Width(), rcItem.Height(), C(5));
    pImage->DrawImage(expected.dc(), CRect(0, 0, rcItem.Width(), rcItem.Height()), pImage->GetSource(3, 4),
                      CRect(8, 8, 8, 8));
    EXPECT_EQ(expected.Pixel(150, h / 2), ScreenPixel(150, h / 2));
    EXPECT_EQ(expected.Pixel(rcItem.Width() - 12, h / 2), ScreenPixel(rcItem.Width() - 12, h / 2));
    EXPECT_NE(C(13), ScreenPixel(150, h / 2));
    EXPECT_EQ(C(5), ScreenPixel(150, h + h / 2)) << "unselected items stay plain";
    SaveListShot("listbox-style2.png");
    // Disabled: the selection in grey (colour 17).
    list.SetListStyle(CQXListBox::styleStandard);
    list.EnableWindow(FALSE);
    EXPECT_EQ(C(17), ScreenPixel(150, h / 2));
    list.EnableWindow(TRUE);
}

TEST_F(ListBoxTest, AnAmpersandUnderlinesTheNextCharacter)
{
    // Item 0 marks its W as a mnemonic; item 1 is the plain W.
    list.AddString("&W");
    list.AddString("W");
    list.Invalidate();
    list.UpdateWindow();
    // The text's pixels of an item, relative to the item's rectangle.
    auto ink = [&](int nItem) {
        CRect rc;
        list.GetItemRect(nItem, &rc);
        std::set<std::pair<int, int>> pixels;
        HDC hdc = ::GetDC(list.GetSafeHwnd());
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (::GetPixel(hdc, x, y) != C(COLOR_WINDOW))
                    pixels.insert({x - rc.left, y - rc.top});
        ::ReleaseDC(list.GetSafeHwnd(), hdc);
        return pixels;
    };
    const std::set<std::pair<int, int>> marked = ink(0), plain = ink(1);
    ASSERT_FALSE(plain.empty());
    EXPECT_TRUE(std::includes(marked.begin(), marked.end(), plain.begin(), plain.end()))
        << "the same W at the same place: no ampersand before it";
    std::set<int> extraRows;
    int nLowest = 0;
    for (const auto& p : plain)
        nLowest = std::max(nLowest, p.second);
    for (const auto& p : marked)
        if (!plain.count(p))
            extraRows.insert(p.second);
    ASSERT_EQ(1u, extraRows.size()) << "one line more: the underline";
    EXPECT_GE(*extraRows.begin(), nLowest) << "under the letter";
}

TEST(ListBoxUtilities, IconHolderDestroysWhatItHolds)
{
    HICON a = MakeSquareIcon(RGB(1, 2, 3));
    HICON b = MakeSquareIcon(RGB(4, 5, 6));
    {
        CQXIconHolder holder;
        holder.SetIcon(a);
        EXPECT_EQ(a, holder.GetIcon());
        holder.SetIcon(b);
        ICONINFO ii;
        EXPECT_FALSE(::GetIconInfo(a, &ii)) << "the first icon is destroyed";
        holder.SetIcon(NULL);
        EXPECT_EQ(nullptr, holder.GetIcon());
        EXPECT_FALSE(::GetIconInfo(b, &ii));
    }
}

INT_PTR s_nTrackerResult = 0;
UINT s_nTrackerFlags = 0;
int s_nTrackerIcons = 0;
INT_PTR AFXAPI FakeTracker(CMenu*, UINT nFlags, int, int, CWnd*, int nIDIconToolbar)
{
    s_nTrackerFlags = nFlags;
    s_nTrackerIcons = nIDIconToolbar;
    return s_nTrackerResult;
}

TEST(ListBoxUtilities, PopupMenusGoThroughTheCommandBarsTracker)
{
    CMenu menu;
    menu.Attach(::CreatePopupMenu());
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 101, "One");
    EXPECT_EQ(0u, TrackPopupMenuEx((CMenu*)NULL, 0, 0, 0, NULL)) << "no menu";
    SetToolkitPopupTracker(FakeTracker);
    s_nTrackerResult = 101;
    EXPECT_EQ(101u, TrackPopupMenuEx(&menu, TPM_RETURNCMD, 10, 10, NULL, 303, TRUE));
    EXPECT_EQ((UINT)(TPM_RETURNCMD | TPM_NONOTIFY), s_nTrackerFlags);
    EXPECT_EQ(303, s_nTrackerIcons);
    s_nTrackerResult = -1;
    EXPECT_EQ(0u, TrackPopupMenuEx(&menu, TPM_RETURNCMD, 10, 10, NULL)) << "a menu the popup cannot load";
    SetToolkitPopupTracker(NULL);
    menu.DestroyMenu();
}

} // namespace
