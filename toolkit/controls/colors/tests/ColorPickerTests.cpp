// The colour picker on a test dialog with two pickers whose owner records
// every WM_COMMAND code, driven by real clicks and keys under Wine: the
// popup's opening, choices and dismissals, "No Fill", the "Colors" dialog
// with both pages, recent colours, a popup over a modal dialog, and
// pictures of each for review.
#include "ColorTestSupport.h"
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/colordialog.h>
#include <qx/colorpicker.h>
#include <qx/fonts.h>
#include <qx/sysutil.h>
#include <qx/wndshadow.h>
#include <qxresource.h>

using namespace colortest;
using namespace painttest;

namespace {

const int kPickerA = 3020, kPickerB = 3021;

// The owner: records (control id, code) of every notification and the
// picker's colour when each arrives.
class PickerHost : public CDialog {
public:
    struct Note {
        int nID;
        UINT nCode;
        COLORREF clrAtNote;
    };
    std::vector<Note> notes;
    CQXColorPicker pickers[2];

    std::vector<UINT> Codes(int nID) const
    {
        std::vector<UINT> out;
        for (const Note& n : notes)
            if (n.nID == nID)
                out.push_back(n.nCode);
        return out;
    }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        pickers[0].SubclassWindow(::GetDlgItem(m_hWnd, kPickerA));
        pickers[1].SubclassWindow(::GetDlgItem(m_hWnd, kPickerB));
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const UINT nCode = HIWORD(wParam);
        if (nCode >= CPN_SELUNCHANGED && nCode <= CPN_SELNOFILL) {
            CQXColorPicker* p = LOWORD(wParam) == kPickerA ? &pickers[0] : &pickers[1];
            notes.push_back({LOWORD(wParam), nCode, p->GetColor()});
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

dlgtest::DialogTemplate HostTemplate(DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU)
{
    dlgtest::DialogTemplate t(dwStyle, 0, 0, 220, 120, "Pickers");
    t.Add(0x80, kPickerA, BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 60, 14, "Text");
    t.Add(0x80, kPickerB, BS_PUSHBUTTON | WS_TABSTOP, 10, 40, 60, 14, "Back");
    t.Add(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 150, 90, 50, 14, "Close");
    return t;
}

struct PickerTest : ::testing::Test {
    FixedColors colors;
    PickerHost host;
    dlgtest::DialogTemplate tmpl = HostTemplate();

    void SetUp() override
    {
        CQXRecentColors::Instance()->RemoveAll();
        ASSERT_TRUE(host.CreateIndirect(tmpl.Get(), NULL));
        host.SetWindowPos(NULL, 120, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        host.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(host.GetSafeHwnd());
        // The options pages' set-up.
        for (CQXColorPicker& p : host.pickers)
            p.ModifyPopupStyle(0, 0x26);
        A().SetColor(RGB(255, 0, 0));
        A().SetDefaultColor(RGB(0, 0, 0));
        B().SetColor(RGB(255, 255, 255));
        PumpFx(100);
    }
    void TearDown() override
    {
        if (host.GetSafeHwnd())
            host.DestroyWindow();
        PumpFx(50);
        CQXRecentColors::Instance()->RemoveAll();
    }
    CQXColorPicker& A() { return host.pickers[0]; }
    CQXColorPicker& B() { return host.pickers[1]; }
    static CQXColorPopup* OpenPopup()
    {
        return dynamic_cast<CQXColorPopup*>(CWnd::FromHandlePermanent(::GetCapture()));
    }
    static CRect WindowRect(HWND hWnd)
    {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        return rc;
    }
    // Opens a picker's popup with a real click; the popup.
    CQXColorPopup* ClickOpen(CQXColorPicker& picker)
    {
        CRect rc = WindowRect(picker.GetSafeHwnd());
        ClickAt(rc.CenterPoint());
        CQXColorPopup* p = NULL;
        PumpFxUntil([&] { return (p = OpenPopup()) != NULL; });
        return p;
    }
    // A real click on a popup's cell.
    static void ClickCell(CQXColorPopup* pPopup, int nCell)
    {
        ClickAt(ClientCentre(pPopup->GetSafeHwnd(), pPopup->GetCell(nCell)->rect));
    }
    // Waits for the popup to go, then lets its last notifications arrive.
    bool WaitClosed()
    {
        const bool bClosed = PumpFxUntil([] { return OpenPopup() == NULL; });
        PumpFx(100);
        return bClosed;
    }
};

const std::vector<UINT> kChangeCodes = {CPN_DROPDOWN, CPN_CLOSEUP, CPN_SELCHANGE, CPN_CLOSEUP};
const std::vector<UINT> kCancelCodes = {CPN_DROPDOWN, CPN_CLOSEUP, CPN_SELCANCEL, CPN_CLOSEUP};

TEST_F(PickerTest, ClickOpensThePopupUnderThePicker)
{
    CQXColorPopup* p = ClickOpen(A());
    ASSERT_NE(nullptr, p) << "the popup holds the capture";
    EXPECT_TRUE(A().IsPopupOpen());
    const CRect rcPicker = WindowRect(A().GetSafeHwnd()), rcPopup = WindowRect(p->GetSafeHwnd());
    EXPECT_EQ(rcPicker.left, rcPopup.left);
    EXPECT_EQ(rcPicker.bottom, rcPopup.top);
    EXPECT_EQ(158, rcPopup.Width()) << "144 plus the default look's margins 4 and 10";
    EXPECT_EQ((std::vector<UINT>{CPN_DROPDOWN}), host.Codes(kPickerA));
    EXPECT_EQ(CRect(4, 4, 10, 10), p->GetMargins());
    SaveWindowPng(p->GetSafeHwnd(), "colour-popup");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(kCancelCodes, host.Codes(kPickerA));
    EXPECT_FALSE(A().IsPopupOpen());
    EXPECT_EQ(RGB(255, 0, 0), A().GetColor());
    // Opens again after that, by keyboard too.
    A().SetFocus();
    PressKey(VK_DOWN);
    ASSERT_TRUE(PumpFxUntil([] { return OpenPopup() != NULL; }));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
}

TEST_F(PickerTest, ChoosingANewColourTheSameColourAndNoColour)
{
    // A new colour: close-up, then the change with GetColor already new.
    CQXColorPopup* p = ClickOpen(A());
    ASSERT_NE(nullptr, p);
    ClickCell(p, 15); // Blue-Gray
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(kChangeCodes, host.Codes(kPickerA));
    EXPECT_EQ(RGB(0x66, 0x66, 0x99), A().GetColor());
    ASSERT_EQ(4u, host.notes.size());
    EXPECT_EQ(RGB(0x66, 0x66, 0x99), host.notes[2].clrAtNote);

    // The same colour: unchanged, and the close-up of the popup's end.
    host.notes.clear();
    p = ClickOpen(A());
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->GetCell(15)->bSelected);
    ClickCell(p, 15);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ((std::vector<UINT>{CPN_DROPDOWN, CPN_SELUNCHANGED, CPN_CLOSEUP}), host.Codes(kPickerA));

    // "Automatic Color" hands the default colour on.
    host.notes.clear();
    p = ClickOpen(A());
    ClickCell(p, 0);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(RGB(0, 0, 0), A().GetColor());

    // "No Fill" stores 0xFFFFFFFF; the box shows empty, not white.
    host.notes.clear();
    B().ModifyPopupStyle(0, QXCS_NOFILL);
    p = ClickOpen(B());
    ASSERT_NE(nullptr, p);
    EXPECT_STREQ("No Fill", p->GetCell(0)->strText.GetString());
    ClickCell(p, 0);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ((std::vector<UINT>{CPN_DROPDOWN, CPN_SELNOFILL, CPN_CLOSEUP}), host.Codes(kPickerB));
    EXPECT_EQ(QX_COLOR_NOFILL, B().GetColor());
    EXPECT_TRUE(host.Codes(kPickerA).empty()) << "the other picker heard nothing";
}

TEST_F(PickerTest, OutsideClickAndSwitchingApplicationsDismiss)
{
    CQXColorPopup* p = ClickOpen(A());
    ASSERT_NE(nullptr, p);
    CRect rcHost = WindowRect(host.GetSafeHwnd());
    ClickAt(CPoint(rcHost.right - 20, rcHost.top + 40));
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(kCancelCodes, host.Codes(kPickerA));

    host.notes.clear();
    p = ClickOpen(A());
    ASSERT_NE(nullptr, p);
    p->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(kCancelCodes, host.Codes(kPickerA));
}

TEST_F(PickerTest, PopupIsHeldOnTheWorkArea)
{
    const CRect rcWork = GetMultiMonitorHelper()->GetWorkAreaFromWindow(host.GetSafeHwnd());
    CRect rcHost = WindowRect(host.GetSafeHwnd());
    // Put the picker near the right and bottom edges.
    host.SetWindowPos(NULL, rcWork.right - rcHost.Width() + 30, rcWork.bottom - rcHost.Height() + 20, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER);
    CRect rcPicker = WindowRect(A().GetSafeHwnd());
    A().MoveWindow(rcHost.Width() - 100 - (rcPicker.left - WindowRect(host.GetSafeHwnd()).left), 10, 90, 24);
    PumpFx(50);
    rcPicker = WindowRect(A().GetSafeHwnd());
    ASSERT_GT(rcPicker.left + 158, rcWork.right) << "the popup would leave the work area";
    CQXColorPopup* p = ClickOpen(A());
    ASSERT_NE(nullptr, p);
    const CRect rcPopup = WindowRect(p->GetSafeHwnd());
    EXPECT_EQ(rcWork.right, rcPopup.right) << "shifted left";
    EXPECT_EQ(rcWork.bottom, rcPopup.bottom) << "shifted up";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
}

// A picker whose popup cannot be created.
class FailingPopup : public CQXColorPopup {
protected:
    int OnCreate(LPCREATESTRUCTA) { return -1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FailingPopup, CQXColorPopup)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class FailingPicker : public CQXColorPicker {
public:
    bool bFail = true;
    int nPopups = 0;

protected:
    CQXColorPopup* NewPopup() override
    {
        ++nPopups;
        return bFail ? new FailingPopup : CQXColorPicker::NewPopup();
    }
};

TEST_F(PickerTest, PopupThatCannotBeCreatedLetsThePickerOpenAgain)
{
    FailingPicker picker;
    ASSERT_TRUE(picker.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(200, 10, 280, 34), &host, 3030));
    picker.ShowPopup();
    PumpFx(100);
    EXPECT_EQ(1, picker.nPopups);
    EXPECT_FALSE(picker.IsPopupOpen()) << "nothing is open";
    EXPECT_TRUE(host.Codes(3030).empty()) << "no close-up without an opening";
    picker.bFail = false;
    picker.ShowPopup();
    ASSERT_TRUE(PumpFxUntil([] { return OpenPopup() != NULL; }));
    EXPECT_EQ(2, picker.nPopups);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
    picker.DestroyWindow();
}

// A picker whose popups take the flat theme.
class FlatPicker : public CQXColorPicker {
protected:
    CQXColorPopup* NewPopup() override
    {
        CQXColorPopup* p = CQXColorPicker::NewPopup();
        CQXColorSelectorCtrlThemeFactory factory;
        p->GetThemeHolder().SetTheme(factory.CreateTheme(1));
        return p;
    }
};

TEST_F(PickerTest, FlatPopupHasAOnePixelFrameAndEdgeShadows)
{
    FlatPicker picker;
    ASSERT_TRUE(picker.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(200, 10, 280, 34), &host, 3031));
    picker.ModifyPopupStyle(0, 0x26);
    picker.SetColor(RGB(0, 128, 128));
    CQXColorPopup* p = ClickOpen(picker);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->IsFlatLook());
    EXPECT_EQ(CRect(4, 4, 6, 6), p->GetMargins());
    EXPECT_FALSE(p->GetStyle() & (WS_DLGFRAME | WS_THICKFRAME));
    const CRect rcPopup = WindowRect(p->GetSafeHwnd());
    EXPECT_EQ(154, rcPopup.Width());
    CRect rcClient;
    p->GetClientRect(&rcClient);
    EXPECT_EQ(rcPopup.Width() - 2, rcClient.Width()) << "a one-pixel frame";
    PumpFx(100);
    const COLORREF clrFrame = ToolkitColorManager::Instance()->GetColor(qxColorMenuBorder);
    EXPECT_EQ(clrFrame, ScreenPixel(CPoint(rcPopup.left, rcPopup.top + 20)));
    EXPECT_EQ(clrFrame, ScreenPixel(CPoint(rcPopup.right - 1, rcPopup.top + 20)));
    // Edge shadows follow the system's popup-shadow setting.
    int nStrips = 0;
    for (WndShadowWindow* s : GetWndShadowManager()->GetActive())
        nStrips += s->GetOwnerWindow() == p->GetSafeHwnd() ? 1 : 0;
    EXPECT_EQ(GetGlobalUIFonts()->IsPopupShadowEnabled() ? 2 : 0, nStrips);
    SaveWindowPng(p->GetSafeHwnd(), "colour-popup-flat");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
    picker.DestroyWindow();
}

TEST_F(PickerTest, MoreColorsRunsTheColorsDialog)
{
    MessageBoxRecorder boxes;
    CQXColorPopup* p = ClickOpen(A());
    ASSERT_NE(nullptr, p);
    const int nMore = p->GetCellCount() - 1;
    CRect rcPopupBefore = WindowRect(p->GetSafeHwnd());
    CQXColorDialog* dlg = NULL;
    CString strHex;
    COLORREF clrNewHalf = 0, clrCurrentHalf = 0;
    Script s;
    s.Then([&] { ClickCell(p, nMore); });
    s.Add([&] {
        dlg = p->GetOpenDialog();
        return dlg && dlg->IsWindowVisible() && !dlg->GetNewSwatch().IsRectEmpty();
    });
    s.Then([&] {
        EXPECT_TRUE(p->IsDialogOpen());
        EXPECT_STREQ("Colors", WindowText(dlg->GetSafeHwnd()).c_str());
        HWND hHex = ::GetDlgItem(dlg->GetSafeHwnd(), QX_CID_COLOR_HEX);
        ASSERT_NE(nullptr, hHex);
        EXPECT_STREQ("Hex=FF0000", WindowText(hHex).c_str());
        clrNewHalf = ScreenPixel(ClientCentre(dlg->GetSafeHwnd(), dlg->GetNewSwatch()));
        clrCurrentHalf = ScreenPixel(ClientCentre(dlg->GetSafeHwnd(), dlg->GetCurrentSwatch()));
        SaveWindowPng(dlg->GetSafeHwnd(), "colour-dialog-standard");
        // A honeycomb click: cell 20 (0xFF6600 as COLORREF).
        CColorHexagonCtrl& hex = dlg->GetStandardPage()->GetHoneycomb();
        POINT pt = hex.GetCells()[20].Origin();
        pt.y += 4;
        hex.ClientToScreen(&pt);
        ClickAt(pt);
    });
    s.Add([&] { return dlg->GetNewColor() == (COLORREF)0xFF6600; });
    s.Then([&] {
        EXPECT_STREQ("Hex= 0066FF", WindowText(::GetDlgItem(dlg->GetSafeHwnd(), QX_CID_COLOR_HEX)).c_str());
        EXPECT_EQ((COLORREF)0xFF6600, ScreenPixel(ClientCentre(dlg->GetSafeHwnd(), dlg->GetNewSwatch())));
        EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(ClientCentre(dlg->GetSafeHwnd(), dlg->GetCurrentSwatch())));
        // Arrow keys walk the honeycomb: right of cell 20 is 21.
        PressKey(VK_RIGHT);
    });
    s.Add([&] { return dlg->GetNewColor() == (COLORREF)0xFF6633; });
    s.Then([&] {
        PressKey(VK_DOWN); // below 21 is 31
    });
    s.Add([&] { return dlg->GetNewColor() == (COLORREF)0xFF6666; });
    s.Then([&] { dlg->SetActivePage(1); });
    s.Add([&] { return dlg->GetCustomPage()->GetSafeHwnd() && dlg->GetCustomPage()->IsWindowVisible(); });
    s.Then([&] {
        HWND hPage = dlg->GetCustomPage()->GetSafeHwnd();
        EXPECT_STREQ("102", WindowText(::GetDlgItem(hPage, QX_CID_COLOR_RED)).c_str()) << "0x66";
        SaveWindowPng(dlg->GetSafeHwnd(), "colour-dialog-custom");
        // Typed values: red 10, green 20, blue 30.
        ::SetWindowTextA(::GetDlgItem(hPage, QX_CID_COLOR_RED), "10");
        ::SetWindowTextA(::GetDlgItem(hPage, QX_CID_COLOR_GREEN), "20");
        ::SetWindowTextA(::GetDlgItem(hPage, QX_CID_COLOR_BLUE), "30");
    });
    s.Add([&] { return dlg->GetNewColor() == RGB(10, 20, 30); });
    s.Then([&] {
        HWND hPage = dlg->GetCustomPage()->GetSafeHwnd();
        EXPECT_STREQ("Hex= 0A141E", WindowText(::GetDlgItem(dlg->GetSafeHwnd(), QX_CID_COLOR_HEX)).c_str());
        EXPECT_EQ(RGB(10, 20, 30), ScreenPixel(ClientCentre(dlg->GetSafeHwnd(), dlg->GetNewSwatch())));
        const QxHsl hsl = RgbToHsl(RGB(10, 20, 30));
        EXPECT_EQ(hsl.nHue, (int)::GetDlgItemInt(hPage, QX_CID_COLOR_HUE, NULL, FALSE));
        EXPECT_EQ(hsl.nLuminance, (int)::GetDlgItemInt(hPage, QX_CID_COLOR_LUM, NULL, FALSE));
        // 300 is refused by the range check and changes nothing.
        ::SetWindowTextA(::GetDlgItem(hPage, QX_CID_COLOR_GREEN), "300");
        EXPECT_EQ(1u, boxes.texts.size());
        EXPECT_EQ("Please enter an integer between 0 and 255.", boxes.texts.empty() ? "" : boxes.texts[0]);
        EXPECT_EQ(RGB(10, 20, 30), dlg->GetNewColor());
        ::SetWindowTextA(::GetDlgItem(hPage, QX_CID_COLOR_GREEN), "20");
        // A click in the hue/saturation field picks its colour.
        CColorHueSatCtrl& field = dlg->GetCustomPage()->GetHueSat();
        CRect rcField;
        field.GetClientRect(&rcField);
        ClickAt(ClientCentre(field.GetSafeHwnd(), CRect(0, 0, 1, rcField.Height() / 2)));
    });
    s.Add([&] { return dlg->GetNewColor() != RGB(10, 20, 30); });
    s.Then([&] {
        HWND hPage = dlg->GetCustomPage()->GetSafeHwnd();
        EXPECT_EQ(0, (int)::GetDlgItemInt(hPage, QX_CID_COLOR_HUE, NULL, FALSE)) << "the left edge is hue 0";
        // The field has the focus: an arrow key moves its marker a pixel.
        PressKey(VK_RIGHT);
    });
    s.Add([&] { return ::GetDlgItemInt(dlg->GetCustomPage()->GetSafeHwnd(), QX_CID_COLOR_HUE, NULL, FALSE) > 0; });
    s.Then([&] {
        EXPECT_EQ(1, dlg->GetCustomPage()->GetHueSat().GetMarker().x);
        dlg->SetActivePage(0);
    });
    s.Add([&] { return dlg->GetStandardPage()->IsWindowVisible() != FALSE; });
    s.Then([&] {
        // A double click on a cell ends the dialog with OK.
        CColorHexagonCtrl& hex = dlg->GetStandardPage()->GetHoneycomb();
        POINT pt = hex.GetCells()[41].Origin(); // 0xFF9999, in no table
        pt.y += 4;
        hex.ClientToScreen(&pt);
        ClickAt(pt, true);
    });
    s.Add([&] { return OpenPopup() == NULL && !A().IsPopupOpen(); });
    ASSERT_TRUE(s.Run()) << s.Remaining() << " steps left";
    EXPECT_EQ(RGB(255, 0, 0), clrNewHalf) << "opened with the current colour in both halves";
    EXPECT_EQ(RGB(255, 0, 0), clrCurrentHalf);
    EXPECT_EQ((COLORREF)0xFF9999, A().GetColor());
    EXPECT_EQ(kChangeCodes, host.Codes(kPickerA));
    ASSERT_EQ(1, CQXRecentColors::Instance()->GetCount());
    EXPECT_EQ((COLORREF)0xFF9999, CQXRecentColors::Instance()->GetAt(0));

    // The recent row makes the next popup 22 pixels taller; Cancel in the
    // dialog gives 10029.
    host.notes.clear();
    p = ClickOpen(B());
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(rcPopupBefore.Height() + 22, WindowRect(p->GetSafeHwnd()).Height());
    Script cancel;
    cancel.Then([&] { ClickCell(p, p->GetCellCount() - 1); });
    cancel.Add([&] { return (dlg = p->GetOpenDialog()) != NULL && dlg->IsWindowVisible(); });
    cancel.Then([&] { PressKey(VK_ESCAPE); });
    cancel.Add([&] { return OpenPopup() == NULL && !B().IsPopupOpen(); });
    ASSERT_TRUE(cancel.Run());
    EXPECT_EQ(kCancelCodes, host.Codes(kPickerB));
    EXPECT_EQ(RGB(255, 255, 255), B().GetColor());
}

TEST_F(PickerTest, HoneycombKeysAfterTheLargeWhiteCellStartThere)
{
    // The Colors dialog alone, opened for white.
    CQXColorDialog dlg(RGB(255, 255, 255), RGB(255, 255, 255), CDS_SHOWHEX, &host);
    Script s;
    s.Add([&] { return dlg.GetSafeHwnd() && dlg.IsWindowVisible() && !dlg.GetNewSwatch().IsRectEmpty(); });
    s.Then([&] {
        CColorHexagonCtrl& hex = dlg.GetStandardPage()->GetHoneycomb();
        EXPECT_EQ(kQxHoneycombCentreWhite, hex.GetKeyCell());
        // Click the large white cell: still white, the marker moves there.
        POINT pt = hex.GetCells()[kQxHoneycombLargeWhite].Origin();
        pt.x += 14;
        pt.y += 8;
        hex.ClientToScreen(&pt);
        ClickAt(pt);
    });
    s.Add([&] { return !dlg.GetStandardPage()->GetHoneycomb().IsMarkerSmall(); });
    s.Then([&] {
        EXPECT_EQ(RGB(255, 255, 255), dlg.GetNewColor());
        EXPECT_EQ(kQxHoneycombLargeWhite, dlg.GetStandardPage()->GetHoneycomb().GetKeyCell());
        SaveWindowPng(dlg.GetSafeHwnd(), "colour-dialog-white");
        PressKey(VK_RIGHT); // right of the large white cell: 127 (0xF8F8F8)
    });
    s.Add([&] { return dlg.GetNewColor() == (COLORREF)0xF8F8F8; });
    s.Then([&] { PressKey(VK_DOWN); }); // below 127: 135
    s.Add([&] { return dlg.GetNewColor() == (COLORREF)0xEAEAEA; });
    s.Then([&] {
        // At the edge (black has no right neighbour) nothing changes.
        CColorHexagonCtrl& hex = dlg.GetStandardPage()->GetHoneycomb();
        POINT pt = hex.GetCells()[kQxHoneycombLargeBlack].Origin();
        pt.x += 14;
        pt.y += 8;
        hex.ClientToScreen(&pt);
        ClickAt(pt);
    });
    s.Add([&] { return dlg.GetNewColor() == RGB(0, 0, 0); });
    s.Then([&] { PressKey(VK_RIGHT); });
    s.Add([&] {
        PumpFx(100);
        return true;
    });
    s.Then([&] {
        EXPECT_EQ(RGB(0, 0, 0), dlg.GetNewColor());
        PressKey(VK_RETURN);
    });
    s.Add([&] { return !dlg.GetSafeHwnd(); });
    INT_PTR nResult = 0;
    bool bDone = false;
    EXPECT_TRUE(s.Run([&] {
        nResult = dlg.DoModal();
        bDone = true;
    })) << s.Remaining()
        << " steps left";
    EXPECT_TRUE(bDone);
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(RGB(0, 0, 0), dlg.GetNewColor());
}

TEST_F(PickerTest, EscapeInAPopupOverAModalDialogClosesThePopupOnly)
{
    host.DestroyWindow();
    PickerHost modal;
    dlgtest::DialogTemplate t = HostTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    ASSERT_TRUE(modal.InitModalIndirect(t.Get(), NULL));
    bool bPopupSeen = false, bClosedAlone = false;
    Script s;
    s.Add([&] { return modal.GetSafeHwnd() && modal.IsWindowVisible() && modal.pickers[0].GetSafeHwnd(); });
    s.Then([&] {
        modal.pickers[0].ModifyPopupStyle(0, 0x26);
        ClickAt(WindowRect(modal.pickers[0].GetSafeHwnd()).CenterPoint());
    });
    s.Add([&] { return (bPopupSeen = OpenPopup() != NULL); });
    s.Then([&] { PressKey(VK_ESCAPE); });
    s.Add([&] { return OpenPopup() == NULL && !modal.pickers[0].IsPopupOpen(); });
    s.Add([&] {
        bClosedAlone = modal.IsWindowVisible() != FALSE;
        modal.EndDialog(IDCANCEL);
        return true;
    });
    INT_PTR nResult = 0;
    EXPECT_TRUE(s.Run([&] { nResult = modal.DoModal(); })) << s.Remaining() << " steps left";
    EXPECT_TRUE(bPopupSeen);
    EXPECT_TRUE(bClosedAlone) << "the modal dialog stayed";
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_EQ(kCancelCodes, modal.Codes(kPickerA));
}

TEST_F(PickerTest, PickerFacesInTheirStates)
{
    // Drawn into memory: the box shows the colour, pushed while open, an
    // empty box for the sentinels, face and shadow colours when disabled.
    CQXColorPicker& p = A();
    CRect rc;
    p.GetClientRect(&rc);
    auto draw = [&](UINT nState) {
        std::unique_ptr<MemoryDC> mem(new MemoryDC(rc.Width(), rc.Height(), RGB(1, 2, 3)));
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.hwndItem = p.GetSafeHwnd();
        dis.hDC = mem->dc()->GetSafeHdc();
        dis.rcItem = rc;
        dis.itemState = nState;
        p.GetButtonTheme()->DrawButton(&dis, &p);
        return mem;
    };
    const CPoint inBox(12, rc.Height() / 2);
    p.SetColor(RGB(0, 128, 0));
    EXPECT_EQ(RGB(0, 128, 0), draw(0)->Pixel(inBox.x, inBox.y));
    EXPECT_EQ(RGB(0, 0, 0), draw(0)->Pixel(5, rc.Height() / 2)) << "black outline";
    auto disabled = draw(ODS_DISABLED);
    ToolkitColorManager* m = ToolkitColorManager::Instance();
    EXPECT_EQ(m->GetColor(COLOR_3DFACE), disabled->Pixel(inBox.x, inBox.y));
    EXPECT_EQ(m->GetColor(COLOR_3DSHADOW), disabled->Pixel(5, rc.Height() / 2));
    EXPECT_EQ(RGB(0, 0, 0), draw(ODS_SELECTED)->Pixel(6, rc.Height() / 2)) << "pushed: the box moves by one pixel";
    EXPECT_NE(RGB(0, 0, 0), draw(ODS_SELECTED)->Pixel(5, rc.Height() / 2));
    p.SetColor(QX_COLOR_NOFILL);
    auto empty = draw(0);
    EXPECT_EQ(empty->Pixel(3, inBox.y), empty->Pixel(inBox.x, inBox.y)) << "no fill: the face shows through";
    EXPECT_EQ(RGB(0, 0, 0), empty->Pixel(5, rc.Height() / 2));
    // Caption in colour on its contrast colour.
    p.SetColor(RGB(255, 255, 0));
    p.SetShowCaption(TRUE);
    p.SetCaptionInColor(TRUE);
    EXPECT_EQ(RGB(0, 0, 0), draw(0)->Pixel(inBox.x, inBox.y)) << "yellow text on black";
    p.SetCaptionInColor(FALSE);
    // On screen, for review: normal, disabled, open.
    B().SetColor(RGB(0x33, 0x66, 0xFF));
    host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFx(100);
    SaveWindowPng(host.GetSafeHwnd(), "colour-pickers");
    B().EnableWindow(FALSE);
    PumpFx(100);
    SaveWindowPng(host.GetSafeHwnd(), "colour-pickers-disabled");
    B().EnableWindow(TRUE);
    // DDX: loads and saves the colour.
    CDataExchange load(&host, FALSE);
    COLORREF clr = RGB(7, 8, 9);
    DDX_QXColorPicker(&load, kPickerA, A(), clr);
    EXPECT_EQ(RGB(7, 8, 9), A().GetColor());
    A().SetColor(RGB(9, 9, 9));
    CDataExchange save(&host, TRUE);
    DDX_QXColorPicker(&save, kPickerA, A(), clr);
    EXPECT_EQ(RGB(9, 9, 9), clr);
}

} // namespace
