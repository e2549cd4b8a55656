// Services a bar takes from around it, on a real frame: a paint manager and
// an image manager of its own (inherited by its popups, counted references),
// bars removed while the manager walks or removes bars, and colour changes
// that drop generated icon looks.
#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/popup.h>
#include <qx/themes.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/barsite.h>
#include <qmtest/icons.h>
#include <qmtest/pump.h>

namespace {

const UINT ID_SVC_FIRST = 41001;  // a button of the first floating bar
const UINT ID_SVC_SECOND = 41002; // a button of the second floating bar

// A theme that records which bars and controls it drew.
class CRecordingTheme : public ToolkitPaintThemeD {
public:
    std::vector<CQXPBarView*> filledBars;
    std::vector<CQXPControlView*> drawnControls;
    void FillCommandBar(CDC* pDC, CQXPBarView* pBar) override
    {
        filledBars.push_back(pBar);
        ToolkitPaintThemeD::FillCommandBar(pDC, pBar);
    }
    CSize DrawControlToolBarParent(CDC* pDC, CQXPControlView* pControl, BOOL bDraw) override
    {
        if (bDraw)
            drawnControls.push_back(pControl);
        return ToolkitPaintThemeD::DrawControlToolBarParent(pDC, pControl, bDraw);
    }
    bool Filled(CQXPBarView* pBar) const
    {
        return std::find(filledBars.begin(), filledBars.end(), pBar) != filledBars.end();
    }
};

// A frame that hands its messages to the command bars first, as the
// toolkit's frames do.
class CServicesFrame : public qmtest::CBarSiteWnd {
public:
    CQXPCommandBars* m_pCommandBars = NULL;
    std::function<void(CQXPToolBar*)> onDeleting;
    std::function<void(UINT)> onUpdate;
    std::vector<UINT> updated;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Bar services test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (m_pCommandBars && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult))
            return TRUE;
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }

protected:
    afx_msg LRESULT OnToolBarDeleting(WPARAM, LPARAM lParam)
    {
        if (onDeleting)
            onDeleting((CQXPToolBar*)lParam);
        return 0;
    }
    afx_msg void OnUpdateButton(CCmdUI* pCmdUI)
    {
        updated.push_back(pCmdUI->m_nID);
        if (onUpdate)
            onUpdate(pCmdUI->m_nID);
        pCmdUI->Enable(TRUE);
    }
    afx_msg void OnButton(UINT) {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CServicesFrame, CWnd)
    ON_MESSAGE(WM_QXP_TOOLBARDELETING, OnToolBarDeleting)
    ON_COMMAND_RANGE(ID_SVC_FIRST, ID_SVC_SECOND, OnButton)
    ON_UPDATE_COMMAND_UI_RANGE(ID_SVC_FIRST, ID_SVC_SECOND, OnUpdateButton)
END_MESSAGE_MAP()

// A 16 x 16 icon in one colour.
HICON MakeIcon(COLORREF clr)
{
    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hColor = ::CreateCompatibleBitmap(hdcScreen, 16, 16);
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, NULL);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hColor);
    RECT rc = {0, 0, 16, 16};
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FillRect(hdc, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hdc, hMask);
    ::PatBlt(hdc, 0, 0, 16, 16, BLACKNESS); // every pixel opaque
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    ::ReleaseDC(NULL, hdcScreen);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

class BarServicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        frame.m_pCommandBars = pBars;
        pMenuBar = pBars->SetMenu("Menu Bar", IDR_TEST_MENU);
        ASSERT_NE(nullptr, pMenuBar);
        pToolBar = pBars->Add("Toolbar", qxpBarTop);
        ASSERT_NE(nullptr, pToolBar);
        ASSERT_TRUE(pToolBar->LoadToolBar(IDR_TEST_TOOLBAR));
        pBars->RecalcFrameLayout();
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        frame.onDeleting = nullptr;
        frame.onUpdate = nullptr;
        frame.m_pCommandBars = NULL;
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
    }
    // Paints a bar now.
    static void Repaint(CQXPCommandBar* pBar)
    {
        ::RedrawWindow(pBar->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    // A visible bar with one button, floating in its own window.
    CQXPToolBar* AddFloating(LPCSTR lpszName, UINT nButton, int dx)
    {
        CQXPToolBar* pBar = pBars->Add(lpszName, qxpBarTop);
        if (!pBar)
            return NULL;
        pBar->GetControls()->Add(qxpControlButton, (int)nButton);
        CRect rc;
        frame.GetWindowRect(&rc);
        if (!pBar->SetFloating(CPoint(rc.left + dx, rc.top + 200)))
            return NULL;
        qmtest::PumpMessages();
        return pBar;
    }

    CServicesFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPMenuBar* pMenuBar = NULL;
    CQXPToolBar* pToolBar = NULL;
};

TEST_F(BarServicesTest, ABarDrawsWithItsOwnPaintManagerAndItsPopupsInheritIt)
{
    CRecordingTheme* pTheme = new CRecordingTheme;
    pTheme->RefreshMetrics();
    pToolBar->SetPaintManager(pTheme);
    qmtest::PumpMessages();
    Repaint(pToolBar);
    Repaint(pMenuBar);

    EXPECT_EQ(pTheme, pToolBar->GetPaintManager());
    EXPECT_TRUE(pTheme->Filled(pToolBar)) << "the bar's background comes from its own theme";
    ASSERT_FALSE(pTheme->drawnControls.empty());
    for (CQXPControlView* pControl : pTheme->drawnControls) {
        bool bOnToolBar = false;
        for (int i = 0; i < pToolBar->GetControlCount(); i++)
            bOnToolBar = bOnToolBar || pToolBar->GetControlAt(i) == pControl;
        EXPECT_TRUE(bOnToolBar) << "only the toolbar's controls are drawn by its theme";
    }
    EXPECT_FALSE(pTheme->Filled(pMenuBar));
    EXPECT_EQ(GetGlobalPaintManager(), pMenuBar->GetPaintManager()) << "other bars keep the global theme";

    // A popup takes the theme of the bar whose control opens it.
    CQXPCommandBar* pFilePopup = pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFilePopup);
    EXPECT_EQ(GetGlobalPaintManager(), pFilePopup->GetPaintManager());
    pTheme->InternalAddRef();
    pMenuBar->SetPaintManager(pTheme);
    EXPECT_EQ(pTheme, pFilePopup->GetPaintManager());
    EXPECT_EQ(GetGlobalImageManager(), pFilePopup->GetImageManager());

    // Its own theme wins over the inherited one; NULL inherits again.
    CQXPThemePainter* pOther = CreateThemePainter(1);
    pFilePopup->SetPaintManager(pOther);
    EXPECT_EQ(pOther, pFilePopup->GetPaintManager());
    pFilePopup->SetPaintManager(NULL);
    EXPECT_EQ(pTheme, pFilePopup->GetPaintManager());
}

TEST_F(BarServicesTest, TheFramesManagerGivesEveryBarWithoutItsOwnTheSameLook)
{
    CRecordingTheme* pTheme = new CRecordingTheme;
    pTheme->RefreshMetrics();
    CQXPImageManager* pImages = new CQXPImageManager;
    pBars->SetPaintManager(pTheme);
    pBars->SetImageManager(pImages);
    qmtest::PumpMessages();
    Repaint(pToolBar);
    Repaint(pMenuBar);

    CQXPCommandBar* pFilePopup = pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFilePopup);
    for (CQXPCommandBar* pBar : {(CQXPCommandBar*)pToolBar, (CQXPCommandBar*)pMenuBar, pFilePopup}) {
        EXPECT_EQ(pTheme, pBar->GetPaintManager());
        EXPECT_EQ(pImages, pBar->GetImageManager());
    }
    EXPECT_TRUE(pTheme->Filled(pToolBar));
    EXPECT_TRUE(pTheme->Filled(pMenuBar));

    // A bar's own manager comes first, for it and not for the others.
    CQXPThemePainter* pOwn = CreateThemePainter(1);
    pToolBar->SetPaintManager(pOwn);
    EXPECT_EQ(pOwn, pToolBar->GetPaintManager());
    EXPECT_EQ(pTheme, pMenuBar->GetPaintManager());
    // The frame's comes before the root bar's own for a popup.
    CQXPThemePainter* pMenuOwn = CreateThemePainter(2);
    pMenuBar->SetPaintManager(pMenuOwn);
    EXPECT_EQ(pTheme, pFilePopup->GetPaintManager());

    // Without the frame's managers the global ones (or the root bar's own)
    // come back; the references are released.
    pTheme->InternalAddRef();
    pImages->InternalAddRef();
    const LONG nTheme = pTheme->m_dwRef, nImages = pImages->m_dwRef;
    pBars->SetPaintManager(NULL);
    pBars->SetImageManager(NULL);
    EXPECT_EQ(nTheme - 1, pTheme->m_dwRef);
    EXPECT_EQ(nImages - 1, pImages->m_dwRef);
    EXPECT_EQ(pMenuOwn, pFilePopup->GetPaintManager());
    EXPECT_EQ(GetGlobalImageManager(), pFilePopup->GetImageManager());
    pMenuBar->SetPaintManager(NULL);
    EXPECT_EQ(GetGlobalPaintManager(), pMenuBar->GetPaintManager());
    pTheme->InternalRelease();
    pImages->InternalRelease();
}

// A control on no bar (an entry of the customize dialog's lists) is measured
// and drawn in the look of the manager its collection belongs to, with that
// manager's pictures, not in the global look.
TEST_F(BarServicesTest, AControlOnNoBarDrawsWithItsCollectionsManagers)
{
    CRecordingTheme* pTheme = new CRecordingTheme;
    pTheme->RefreshMetrics();
    CQXPImageManager* pImages = new CQXPImageManager;
    const UINT nPicture = 47123; // an id the global image manager lacks
    HICON hGreen = qmtest::SolidIcon(RGB(0, 160, 0));
    ASSERT_TRUE(pImages->SetIcon(hGreen, nPicture, 16, 16));
    ::DestroyIcon(hGreen);
    ASSERT_EQ(nullptr, GetGlobalImageManager()->GetImage(nPicture, 16));
    pBars->SetPaintManager(pTheme);
    pBars->SetImageManager(pImages);

    CQXPControls* pList = new CQXPControls;
    pList->SetCommandBars(pBars);
    CQXPControl* pLoose = pList->Add(qxpControlButton, (int)nPicture);
    ASSERT_NE(nullptr, pLoose);
    ASSERT_EQ(nullptr, pLoose->GetParent());
    pLoose->SetCaption("Loose");
    EXPECT_EQ(pTheme, pLoose->GetPaintManager());
    EXPECT_EQ(pImages, pLoose->GetImageManager());
    EXPECT_NE(nullptr, pLoose->GetImage(16)) << "the picture comes from the manager's images";

    CClientDC dc(&frame);
    CSize sz = pLoose->GetSize(&dc);
    EXPECT_GT(sz.cx, 0);
    pLoose->SetRect(CRect(CPoint(0, 0), sz));
    pTheme->drawnControls.clear();
    pLoose->Draw(&dc);
    EXPECT_EQ(1, std::count(pTheme->drawnControls.begin(), pTheme->drawnControls.end(), pLoose))
        << "drawn by the manager's theme";

    // A collection of no manager falls back to the global ones.
    CQXPControls* pAlone = new CQXPControls;
    CQXPControl* pOrphan = pAlone->Add(qxpControlButton, (int)nPicture);
    ASSERT_NE(nullptr, pOrphan);
    EXPECT_EQ(GetGlobalPaintManager(), pOrphan->GetPaintManager());
    EXPECT_EQ(GetGlobalImageManager(), pOrphan->GetImageManager());
    EXPECT_EQ(nullptr, pOrphan->GetImage(16));
    pAlone->InternalRelease();
    pList->InternalRelease();
    pBars->SetPaintManager(NULL);
    pBars->SetImageManager(NULL);
}

// Redrawing every bar for new metrics sizes floating bars too, not only the
// docked ones the frame's layout places.
TEST_F(BarServicesTest, LargeIconsResizeAFloatingBarAtOnce)
{
    CQXPToolBar* pFloating = AddFloating("Floating", ID_SVC_FIRST, 40);
    ASSERT_NE(nullptr, pFloating);
    CRect rcSmall;
    pFloating->GetWindowRect(&rcSmall);
    pBars->SetLargeIcons(TRUE);
    CRect rcLarge;
    pFloating->GetWindowRect(&rcLarge);
    // One button under the caption: the width is the caption's, the
    // height follows the icons.
    EXPECT_GT(rcLarge.Height(), rcSmall.Height());
    EXPECT_EQ(rcSmall.TopLeft(), rcLarge.TopLeft()) << "it keeps its place";
    EXPECT_FALSE(pFloating->m_nPending & qxpPendingLayout);
    pBars->SetLargeIcons(FALSE);
    CRect rcBack;
    pFloating->GetWindowRect(&rcBack);
    EXPECT_EQ(rcSmall, rcBack);
}

TEST_F(BarServicesTest, ManagersAreCountedReferencesReleasedOnReplaceAndRemoval)
{
    CQXPThemePainter* pTheme = CreateThemePainter(1);
    CQXPImageManager* pImages = new CQXPImageManager;
    pTheme->InternalAddRef(); // the test's own reference
    pImages->InternalAddRef();
    const LONG nThemeStart = pTheme->m_dwRef;
    const LONG nImagesStart = pImages->m_dwRef;

    pToolBar->SetPaintManager(pTheme);
    pToolBar->SetImageManager(pImages);
    EXPECT_EQ(nThemeStart, pTheme->m_dwRef) << "the bar takes the reference it is given";
    EXPECT_EQ(pImages, pToolBar->GetImageManager());
    // Setting the same manager again keeps the one reference.
    pToolBar->SetPaintManager(pTheme);
    EXPECT_EQ(nThemeStart, pTheme->m_dwRef);

    // Replacing releases the previous manager.
    pToolBar->SetPaintManager(CreateThemePainter(2));
    pToolBar->SetImageManager(new CQXPImageManager);
    EXPECT_EQ(nThemeStart - 1, pTheme->m_dwRef);
    EXPECT_EQ(nImagesStart - 1, pImages->m_dwRef);

    // A bar that goes away releases what it holds.
    pMenuBar->SetPaintManager(pTheme);
    pMenuBar->SetImageManager(pImages);
    pTheme->InternalAddRef();
    pImages->InternalAddRef();
    pBars->Remove(pMenuBar);
    pMenuBar = NULL;
    qmtest::PumpMessages();
    EXPECT_EQ(nThemeStart - 1, pTheme->m_dwRef);
    EXPECT_EQ(nImagesStart - 1, pImages->m_dwRef);
    pTheme->InternalRelease();
    pImages->InternalRelease();
}

// A WM_QXP_TOOLBARDELETING handler that removes bars itself.
TEST_F(BarServicesTest, RemovalSurvivesADeletingHandlerThatRemovesBars)
{
    enum Action {
        RemoveOther,
        RemoveSame,
        RemoveEverything
    };
    for (Action action : {RemoveOther, RemoveSame, RemoveEverything}) {
        SCOPED_TRACE(testing::Message() << "action " << (int)action);
        CQXPToolBar* pFirst = pBars->Add("First", qxpBarTop);
        CQXPToolBar* pSecond = pBars->Add("Second", qxpBarTop);
        ASSERT_NE(nullptr, pFirst);
        ASSERT_NE(nullptr, pSecond);
        pBars->RecalcFrameLayout();
        qmtest::PumpMessages();
        HWND hFirst = pFirst->GetSafeHwnd();
        HWND hSecond = pSecond->GetSafeHwnd();
        const int nBefore = pBars->GetCount();

        std::vector<CQXPToolBar*> notified;
        BOOL bShownWhenNotified = TRUE;
        frame.onDeleting = [&](CQXPToolBar* pBar) {
            notified.push_back(pBar);
            if (pBar != pFirst)
                return;
            bShownWhenNotified = pBar->IsVisible() || ::IsWindowVisible(pBar->GetSafeHwnd());
            if (action == RemoveOther)
                pBars->Remove(pSecond);
            else if (action == RemoveSame)
                pBars->Remove(pFirst);
            else
                pBars->RemoveAll();
        };
        pBars->Remove(pFirst);
        frame.onDeleting = nullptr;
        qmtest::PumpMessages();

        EXPECT_FALSE(bShownWhenNotified) << "the bar is hidden before the site hears of it";
        EXPECT_EQ(1, (int)std::count(notified.begin(), notified.end(), pFirst)) << "one notice per bar";
        EXPECT_EQ(-1, pBars->IndexOf(pFirst));
        EXPECT_FALSE(::IsWindow(hFirst));
        if (action == RemoveSame) {
            // Only the bar itself goes, once.
            EXPECT_EQ(nBefore - 1, pBars->GetCount());
            ASSERT_NE(-1, pBars->IndexOf(pSecond));
            pBars->Remove(pSecond);
        } else if (action == RemoveEverything) {
            EXPECT_EQ(0, pBars->GetCount());
            pMenuBar = NULL;
            pToolBar = NULL;
        } else {
            EXPECT_EQ(nBefore - 2, pBars->GetCount());
            EXPECT_EQ(1, (int)std::count(notified.begin(), notified.end(), pSecond));
        }
        EXPECT_EQ(-1, pBars->IndexOf(pSecond));
        EXPECT_FALSE(::IsWindow(hSecond));
    }
}

TEST_F(BarServicesTest, AnUpdateHandlerThatRemovesALaterBarDuringTheIdleUpdate)
{
    enum Walk {
        FrameIdleMessage,
        UpdateCommandBars
    };
    for (Walk walk : {FrameIdleMessage, UpdateCommandBars}) {
        SCOPED_TRACE(testing::Message() << "walk " << (int)walk);
        CQXPToolBar* pFirst = AddFloating("First floating", ID_SVC_FIRST, 100);
        CQXPToolBar* pSecond = AddFloating("Second floating", ID_SVC_SECOND, 300);
        ASSERT_NE(nullptr, pFirst);
        ASSERT_NE(nullptr, pSecond);
        ASSERT_LT(pBars->IndexOf(pFirst), pBars->IndexOf(pSecond));
        ASSERT_EQ(qxpBarFloating, pSecond->GetPosition());

        frame.updated.clear();
        frame.onUpdate = [&](UINT nID) {
            if (nID == ID_SVC_FIRST && pSecond) {
                CQXPToolBar* pGoing = pSecond;
                pSecond = NULL;
                pBars->Remove(pGoing);
            }
        };
        if (walk == FrameIdleMessage)
            frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        else
            pBars->UpdateCommandBars();
        frame.onUpdate = nullptr;

        EXPECT_EQ(nullptr, pSecond);
        EXPECT_EQ(1, (int)std::count(frame.updated.begin(), frame.updated.end(), (UINT)ID_SVC_FIRST));
        EXPECT_EQ(0, (int)std::count(frame.updated.begin(), frame.updated.end(), (UINT)ID_SVC_SECOND))
            << "a removed bar is not updated";
        EXPECT_NE(-1, pBars->IndexOf(pFirst));
        pBars->Remove(pFirst);
        qmtest::PumpMessages();
    }
}

TEST_F(BarServicesTest, ColourChangeDropsGeneratedIconImages)
{
    const UINT nGlobalId = 41021, nOwnId = 41022;
    HICON hIcon = MakeIcon(RGB(200, 40, 40));
    ASSERT_NE((HICON)NULL, hIcon);
    CQXPImageManager* pOwn = new CQXPImageManager;
    pToolBar->SetImageManager(pOwn);
    ASSERT_TRUE(GetGlobalImageManager()->SetIcon(hIcon, nGlobalId, 16, 16));
    ASSERT_TRUE(pOwn->SetIcon(hIcon, nOwnId, 16, 16));
    ::DestroyIcon(hIcon);

    CQXPIconImage* pGlobalImage = GetGlobalImageManager()->GetImage(nGlobalId, 16);
    CQXPIconImage* pOwnImage = pOwn->GetImage(nOwnId, 16);
    ASSERT_NE(nullptr, pGlobalImage);
    ASSERT_NE(nullptr, pOwnImage);
    pGlobalImage->GetFadedIcon();
    pOwnImage->GetFadedIcon();
    ASSERT_FALSE(pGlobalImage->m_hFaded.IsEmpty());
    ASSERT_FALSE(pOwnImage->m_hFaded.IsEmpty());

    // A settings change alone keeps them.
    frame.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_FALSE(pGlobalImage->m_hFaded.IsEmpty());

    frame.SendMessage(WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_TRUE(pGlobalImage->m_hFaded.IsEmpty()) << "the global image manager is refreshed";
    EXPECT_TRUE(pOwnImage->m_hFaded.IsEmpty()) << "so is a bar's own image manager";
    EXPECT_FALSE(pGlobalImage->m_hNormal.IsEmpty()) << "the stored image stays";
    GetGlobalImageManager()->RemoveIcon(nGlobalId);
}

TEST_F(BarServicesTest, ControlsTakeTheirIconsFromTheirBarsImageManager)
{
    const UINT nId = 41023;
    HICON hIcon = MakeIcon(RGB(40, 200, 40));
    ASSERT_NE((HICON)NULL, hIcon);
    CQXPImageManager* pOwn = new CQXPImageManager;
    ASSERT_TRUE(pOwn->SetIcon(hIcon, nId, 16, 16));
    ::DestroyIcon(hIcon);
    CQXPControl* pControl = pToolBar->GetControls()->Add(qxpControlButton, (int)nId);
    ASSERT_NE(nullptr, pControl);
    EXPECT_EQ(nullptr, pControl->GetImage(16)) << "the global images have no such icon";
    pToolBar->SetImageManager(pOwn);
    EXPECT_EQ(pOwn->GetImage(nId, 16), pControl->GetImage(16));
    pToolBar->SetImageManager(NULL);
    EXPECT_EQ(nullptr, pControl->GetImage(16));
}

// A toolbar that records the areas it is asked to redraw.
class CRedrawRecordingBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CRedrawRecordingBar)
public:
    std::vector<CRect> redrawn; // NULL asks for the whole bar: recorded empty
    void Redraw(LPCRECT lpRect, BOOL bAnimate) override
    {
        redrawn.push_back(lpRect ? CRect(lpRect) : CRect());
        CQXPToolBar::Redraw(lpRect, bAnimate);
    }
};

IMPLEMENT_DYNCREATE(CRedrawRecordingBar, CQXPToolBar)

// A bar's own Redraw is the one its controls call, so a bar that draws more
// than its controls can widen what a control's change repaints.
TEST_F(BarServicesTest, AControlsChangeReachesTheBarsOwnRedraw)
{
    CQXPCommandBar* pAdded = pBars->Add("Recording", qxpBarTop, RUNTIME_CLASS(CRedrawRecordingBar));
    CRedrawRecordingBar* pBar = dynamic_cast<CRedrawRecordingBar*>(pAdded);
    ASSERT_NE(nullptr, pBar);
    CQXPControl* pControl = pBar->GetControls()->Add(qxpControlButton, ID_SVC_FIRST);
    ASSERT_NE(nullptr, pControl);
    pBars->RecalcFrameLayout();
    qmtest::PumpMessages();
    ASSERT_TRUE(pBar->IsVisible());
    ASSERT_FALSE(pControl->GetRect().IsRectEmpty());

    pBar->redrawn.clear();
    pControl->SetEnabled(FALSE);
    ASSERT_EQ(1u, pBar->redrawn.size());
    EXPECT_EQ(pControl->GetRect(), pBar->redrawn[0]);

    // Through a base pointer too, as the manager and the paint cache call it.
    pBar->redrawn.clear();
    static_cast<CQXPCommandBar*>(pBar)->Redraw();
    ASSERT_EQ(1u, pBar->redrawn.size());
    EXPECT_TRUE(pBar->redrawn[0].IsRectNull());
}

} // namespace
