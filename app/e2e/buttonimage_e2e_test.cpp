// A toolbar button's picture edited in the running editor: Tools >
// Customize..., a right click on the button, Edit Button Image..., a few
// pixels drawn, OK; the button shows the new picture, and still does after
// a restart.
#include "qmate_fixture.h"

#include <qmtest/mouse.h>
#include <qmtest/screenshot.h>

#include <qxresource.h>

namespace {

using e2e::QmateTest;

const UINT kCmdCustomize = 35001;
const int kMainToolbarId = 59392; // the program's "Toolbar"
const int kRedSwatch = 9916;

class ButtonImageTest : public QmateTest {
protected:
    void TearDown() override
    {
        QmateTest::TearDown();
        qmtest::ParkPointer();
    }
    HWND MainToolbar()
    {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "QXPToolBar", true))
            if (GetDlgCtrlID(h) == kMainToolbarId)
                return h;
        return nullptr;
    }
    // The first button of the toolbar as the screen shows it (the top-left
    // 48 x 32 pixels of the bar), with the pointer away from it; empty
    // when there is no bar.
    std::vector<BYTE> FirstButtonPixels()
    {
        qmtest::ParkPointer();
        HWND bar = MainToolbar();
        qmtest::Picture picture = bar ? qmtest::CaptureWindow(bar) : qmtest::Picture();
        std::vector<BYTE> pixels;
        for (int y = 0; y < 32 && y < picture.height; y++)
            for (int x = 0; x < 48 && x < picture.width; x++)
                for (int c = 0; c < 3; c++)
                    pixels.push_back(picture.rgb[((size_t)y * picture.width + x) * 3 + c]);
        return pixels;
    }
    // A visible popup bar of the program.
    HWND OpenPopup()
    {
        for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
            if (qmtest::WindowClassOf(h) == "QXPPopupBar")
                return h;
        return nullptr;
    }
    // The red pixels among them (the test draws pure red; the bar may
    // blend it a little).
    static int RedPixels(const std::vector<BYTE>& pixels)
    {
        int n = 0;
        for (size_t i = 0; i + 2 < pixels.size(); i += 3)
            n += pixels[i] > 200 && pixels[i + 1] < 100 && pixels[i + 2] < 100;
        return n;
    }
    static POINT Centre(HWND hwnd)
    {
        RECT rc = {};
        GetWindowRect(hwnd, &rc);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    static COLORREF ScreenPixel(POINT pt)
    {
        HDC hdc = GetDC(nullptr);
        COLORREF clr = GetPixel(hdc, pt.x, pt.y);
        ReleaseDC(nullptr, hdc);
        return clr;
    }
};

TEST_F(ButtonImageTest, ADrawnPictureShowsOnTheButtonAndSurvivesARestart)
{
    ASSERT_TRUE(Start());
    HWND bar = MainToolbar();
    ASSERT_TRUE(bar) << "no toolbar " << kMainToolbarId;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !GetUpdateRect(bar, nullptr, FALSE); }, 10000));
    const std::vector<BYTE> before = FirstButtonPixels();
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(0, RedPixels(before));

    PostCommand(kCmdCustomize);
    HWND sheet = WaitDialog("Customize", 15000);
    ASSERT_TRUE(sheet);
    // The sheet below the bars; the first button: past the gripper, in the
    // first row (the bar wraps into two).
    RECT rcBar = {};
    GetWindowRect(bar, &rcBar);
    SetWindowPos(sheet, nullptr, rcBar.left, rcBar.bottom + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            RECT rc = {};
            GetWindowRect(sheet, &rc);
            return rc.top > rcBar.bottom;
        },
        5000));
    const POINT ptButton = {rcBar.left + 20, rcBar.top + 16};
    qmtest::MouseEventAt(ptButton, MOUSEEVENTF_RIGHTDOWN);
    qmtest::MouseEventAt(ptButton, MOUSEEVENTF_RIGHTUP);
    HWND menu = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (menu = OpenPopup()) != nullptr; }, 10000)) << "no context menu";
    qmtest::SendChord({'E'}); // "&Edit Button Image..."
    HWND editor = WaitDialog("Button Editor", 10000);
    ASSERT_TRUE(editor) << "Edit Button Image... opened no editor";

    // Red, then two pixels of the top row.
    qmtest::ClickAt(Centre(GetDlgItem(editor, kRedSwatch)));
    HWND canvas = GetDlgItem(editor, QX_CID_EDITOR_CANVAS);
    RECT rcCanvas = {};
    GetWindowRect(canvas, &rcCanvas);
    const int nCell = (rcCanvas.right - rcCanvas.left - 1) / 16;
    for (int x = 0; x < 2; x++) {
        const POINT pt = {rcCanvas.left + x * nCell + nCell / 2, rcCanvas.top + nCell / 2};
        qmtest::ClickAt(pt);
        EXPECT_TRUE(qmtest::WaitUntil([&] { return ScreenPixel(pt) == RGB(255, 0, 0); }, 10000)) << "cell " << x;
    }
    qmtest::SaveWindowShot(editor, QM_BIN_DIR, "e2e-button-editor.png");
    qmtest::ClickAt(Centre(GetDlgItem(editor, IDOK)));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(editor); }, 10000));
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(sheet, IDCANCEL)));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(sheet); }, 15000));

    // The button shows the two red pixels.
    int nRed = 0;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (nRed = RedPixels(FirstButtonPixels())) >= 2; }, 10000));
    qmtest::SaveWindowShot(bar, QM_BIN_DIR, "e2e-button-edited.png");
    ASSERT_TRUE(Close());

    // After a restart the toolbar looks as it did after the edit.
    ASSERT_TRUE(Start());
    bar = MainToolbar();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return RedPixels(FirstButtonPixels()) == nRed; }, 15000))
        << "the edited picture did not come back";
    ASSERT_TRUE(Close());
}

} // namespace
