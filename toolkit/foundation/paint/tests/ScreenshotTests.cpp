// One picture per theme the editor offers (commands 720 to 724): a menu
// bar, a toolbar, an open menu, a floating toolbar and a status bar drawn by
// the paint manager into a memory DC and written to <build>/artifacts as
// "theme-<command>.bmp".
#include "PaintTestSupport.h"

#include <memory>

using namespace painttest;

namespace {

typedef std::unique_ptr<TestControl> ControlPtr;

struct Scene {
    std::vector<ControlPtr> owned;
    std::vector<CQXPIconImage*> images;

    ~Scene()
    {
        for (CQXPIconImage* p : images)
            p->InternalRelease();
    }
    CQXPIconImage* Image(COLORREF clr)
    {
        images.push_back(MakeSquareImage(2000 + (UINT)images.size(), clr));
        return images.back();
    }
    TestControl* Add(TestBar& bar, int nType, const char* caption, CQXPIconImage* pImage = NULL)
    {
        owned.emplace_back(new TestControl(&bar, nType, caption));
        TestControl* c = owned.back().get();
        if (pImage) {
            c->nIconId = 1;
            c->pImage = pImage;
        }
        bar.controls.push_back(c);
        return c;
    }
};

// Lays a horizontal bar's controls out from the left and draws it at an
// offset of the DC.
void DrawBar(CQXPThemePainter* p, CDC* pDC, TestBar& bar, CPoint origin)
{
    CPoint old;
    ::SetViewportOrgEx(pDC->GetSafeHdc(), origin.x, origin.y, &old);
    CRect borders = p->GetCommandBarBorders(&bar);
    CSize grip = p->DrawCommandBarGripper(NULL, &bar, FALSE);
    int x = borders.left + (bar.nPosition == qxpBarFloating ? 0 : grip.cx);
    int top = borders.top + (bar.nPosition == qxpBarFloating ? grip.cy + 3 : 0);
    int rowHeight = bar.rcClient.Height() - top - borders.bottom;
    for (CQXPControlView* v : bar.controls) {
        TestControl* c = static_cast<TestControl*>(v);
        if (c->bBeginGroup)
            x += p->DrawCommandBarSeparator(NULL, &bar, c, FALSE).cx;
        CSize sz = p->DrawControl(pDC, c, FALSE);
        int y = top + (rowHeight - (int)sz.cy) / 2;
        c->rc = CRect(x, y < top ? top : y, x + sz.cx, (y < top ? top : y) + min((int)sz.cy, rowHeight));
        x += sz.cx;
    }
    p->FillCommandBar(pDC, &bar);
    p->DrawCommandBarGripper(pDC, &bar, TRUE);
    for (CQXPControlView* v : bar.controls) {
        TestControl* c = static_cast<TestControl*>(v);
        if (c->bBeginGroup)
            p->DrawCommandBarSeparator(pDC, &bar, c, TRUE);
        p->DrawControl(pDC, c, TRUE);
    }
    ::SetViewportOrgEx(pDC->GetSafeHdc(), old.x, old.y, NULL);
}

// A popup menu: items stacked from the top.
void DrawPopup(CQXPThemePainter* p, CDC* pDC, TestBar& bar, CPoint origin)
{
    CPoint old;
    ::SetViewportOrgEx(pDC->GetSafeHdc(), origin.x, origin.y, &old);
    CRect borders = p->GetCommandBarBorders(&bar);
    int y = borders.top;
    int nWidth = bar.rcClient.Width();
    for (CQXPControlView* v : bar.controls) {
        TestControl* c = static_cast<TestControl*>(v);
        if (c->bBeginGroup)
            y += p->DrawCommandBarSeparator(NULL, &bar, c, FALSE).cy;
        CSize sz = p->DrawControl(pDC, c, FALSE);
        c->rc = CRect(borders.left, y, nWidth - borders.right, y + sz.cy);
        y += sz.cy;
    }
    p->FillCommandBar(pDC, &bar);
    int nColumn = p->GetPopupIconColumnSize(bar.szIcon).cx;
    p->FillPopupGutter(pDC, CRect(borders.left, borders.top, borders.left + nColumn, bar.rcClient.bottom - borders.bottom),
                       FALSE);
    for (CQXPControlView* v : bar.controls) {
        TestControl* c = static_cast<TestControl*>(v);
        if (c->bBeginGroup)
            p->DrawCommandBarSeparator(pDC, &bar, c, TRUE);
        p->DrawControl(pDC, c, TRUE);
    }
    ::SetViewportOrgEx(pDC->GetSafeHdc(), old.x, old.y, NULL);
}

void DrawStatusBar(CQXPThemePainter* p, CDC* pDC, CRect rc)
{
    p->FillStatusBar(pDC, rc);
    TestPane ready, position, mode;
    position.strText = "Ln 12, Col 40";
    mode.strText = "INS";
    mode.bButton = TRUE;
    mode.bCurrent = TRUE;
    struct Part {
        TestPane* pane;
        int width;
    } parts[] = {{&ready, 260}, {&position, 110}, {&mode, 50}};
    int x = rc.left + 2;
    for (const Part& part : parts) {
        CRect r(x, rc.top + 2, x + part.width, rc.bottom - 1);
        p->DrawStatusPaneBorder(pDC, r, part.pane, part.pane == &mode);
        p->DrawStatusBarPane(pDC, r, part.pane);
        x += part.width + 2;
    }
    p->DrawStatusGripper(pDC, CRect(rc.right - 16, rc.top, rc.right, rc.bottom));
}

const int kWidth = 560, kHeight = 300;

// Draws the scene of one theme command into mem.
void DrawScene(UINT nCommand, MemoryDC& mem)
{
    // The blue colour scheme shows the Office family's gradients.
    FixedColors colors(qxColorThemeBlue);
    ThemeHolder theme(ThemeIdFromCommand(nCommand));
    CQXPThemePainter* p = theme.p;
    Scene scene;
    CDC* pDC = mem.dc();
    pDC->FillSolidRect(0, 0, kWidth, kHeight, p->GetColor(COLOR_BTNFACE));

    TestBar menu;
    menu.nType = qxpBarTypeMenuBar;
    menu.rcClient = CRect(0, 0, kWidth, 24);
    scene.Add(menu, qxpControlPopup, "&File")->bPopped = TRUE;
    scene.Add(menu, qxpControlPopup, "&Edit");
    scene.Add(menu, qxpControlPopup, "&View")->nSelected = 1;
    scene.Add(menu, qxpControlPopup, "&Help");
    DrawBar(p, pDC, menu, CPoint(0, 0));

    TestBar tools;
    tools.rcClient = CRect(0, 0, kWidth - 4, 30);
    TestControl* newFile = scene.Add(tools, qxpControlButton, "New", scene.Image(RGB(40, 120, 220)));
    newFile->nStyle = qxpButtonIcon;
    newFile->bCaptionVisible = FALSE;
    TestControl* open = scene.Add(tools, qxpControlButton, "Open", scene.Image(RGB(230, 180, 40)));
    open->nStyle = qxpButtonIcon;
    open->bCaptionVisible = FALSE;
    open->nSelected = 1;
    TestControl* save = scene.Add(tools, qxpControlButton, "Save", scene.Image(RGB(60, 160, 60)));
    save->nSelected = 1;
    save->bPressed = TRUE;
    save->nStyle = qxpButtonIconAndCaption;
    TestControl* bold = scene.Add(tools, qxpControlButton, "Bold", scene.Image(RGB(200, 40, 40)));
    bold->nStyle = qxpButtonIcon;
    bold->bCaptionVisible = FALSE;
    bold->nChecked = 1;
    bold->bBeginGroup = TRUE;
    TestControl* italic = scene.Add(tools, qxpControlButton, "Italic", scene.Image(RGB(140, 60, 200)));
    italic->nStyle = qxpButtonIcon;
    italic->bCaptionVisible = FALSE;
    italic->nEnabled = 0;
    TestControl* undo = scene.Add(tools, qxpControlSplitButtonPopup, "Undo", scene.Image(RGB(40, 160, 160)));
    undo->nStyle = qxpButtonIcon;
    undo->bCaptionVisible = FALSE;
    undo->bBeginGroup = TRUE;
    TestControl* find = scene.Add(tools, qxpControlComboBox, "Find:");
    find->nWidth = 90;
    find->strEditText = "main";
    TestControl* line = scene.Add(tools, qxpControlEdit, "");
    line->bCaptionVisible = FALSE;
    line->nWidth = 40;
    line->bSpin = TRUE;
    TestControl* wrap = scene.Add(tools, qxpControlCheckBox, "Wrap");
    wrap->nChecked = 1;
    wrap->nStyle = qxpButtonCaption;
    DrawBar(p, pDC, tools, CPoint(2, 26));
    {
        TestControl more(&tools);
        p->DrawExpandButton(NULL, qxpExpandToolbar, &more, &tools, FALSE, tools.rcClient.Width(), tools.rcClient.Height());
        CPoint old;
        ::SetViewportOrgEx(pDC->GetSafeHdc(), 2, 26, &old);
        p->DrawExpandButton(pDC, qxpExpandToolbar, &more, &tools, TRUE, 1, 0);
        ::SetViewportOrgEx(pDC->GetSafeHdc(), old.x, old.y, NULL);
    }

    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    popup.rcClient = CRect(0, 0, 220, 200);
    TestControl* item = scene.Add(popup, qxpControlButton, "&New", scene.Image(RGB(40, 120, 220)));
    item->strShortcut = "Ctrl+N";
    item = scene.Add(popup, qxpControlButton, "&Open...", scene.Image(RGB(230, 180, 40)));
    item->strShortcut = "Ctrl+O";
    item->nSelected = 1;
    item = scene.Add(popup, qxpControlButton, "Word &Wrap");
    item->nChecked = 1;
    item = scene.Add(popup, qxpControlButton, "&Print...", scene.Image(RGB(60, 160, 60)));
    item->nEnabled = 0;
    item->strShortcut = "Ctrl+P";
    item = scene.Add(popup, qxpControlPopup, "Recent &Files");
    item->bBeginGroup = TRUE;
    item = scene.Add(popup, qxpControlSplitButtonPopup, "&Tools");
    item = scene.Add(popup, qxpControlButton, "Rarely Used");
    item->bRarelyUsed = TRUE;
    item = scene.Add(popup, qxpControlLabel, "Label");
    item->bBeginGroup = TRUE;
    DrawPopup(p, pDC, popup, CPoint(8, 60));

    TestBar floating;
    floating.nPosition = qxpBarFloating;
    floating.strTitle = "Formatting";
    floating.rcClient = CRect(0, 0, 200, 64);
    TestControl* left = scene.Add(floating, qxpControlButton, "Left", scene.Image(RGB(200, 40, 40)));
    left->nStyle = qxpButtonIcon;
    left->bCaptionVisible = FALSE;
    TestControl* centre = scene.Add(floating, qxpControlButton, "Centre", scene.Image(RGB(40, 120, 220)));
    centre->nStyle = qxpButtonIcon;
    centre->bCaptionVisible = FALSE;
    centre->nChecked = 1;
    scene.Add(floating, qxpControlPopup, "Font");
    DrawBar(p, pDC, floating, CPoint(250, 70));

    DrawStatusBar(p, pDC, CRect(0, kHeight - 24, kWidth, kHeight));
}

TEST(ThemeScreenshots, EveryThemeOfTheEditorDrawsItsBars)
{
    std::vector<std::unique_ptr<MemoryDC>> pictures;
    for (UINT nCommand = 720; nCommand <= 724; ++nCommand) {
        SCOPED_TRACE(nCommand);
        pictures.emplace_back(new MemoryDC(kWidth, kHeight));
        MemoryDC& mem = *pictures.back();
        DrawScene(nCommand, mem);
        char name[64];
        snprintf(name, sizeof(name), "theme-%u.bmp", nCommand);
        EXPECT_TRUE(mem.SaveBmp(ArtifactPath(name)));
        // Something was drawn in every part of the scene.
        for (CRect part : {CRect(0, 0, 200, 24), CRect(2, 26, 400, 56), CRect(8, 60, 228, 200), CRect(250, 70, 450, 134),
                           CRect(0, kHeight - 24, kWidth, kHeight)}) {
            COLORREF first = mem.Pixel(part.left + 1, part.top + 1);
            EXPECT_LT(mem.Count(part, first), part.Width() * part.Height()) << part.left << "," << part.top;
        }
    }
    // The five themes look different from one another.
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j) {
            int nDiffer = 0;
            for (int y = 0; y < kHeight; y += 2)
                for (int x = 0; x < kWidth; x += 2)
                    if (pictures[i]->Pixel(x, y) != pictures[j]->Pixel(x, y))
                        ++nDiffer;
            EXPECT_GT(nDiffer, 100) << 720 + i << " and " << 720 + j;
        }
}

} // namespace
