// The tab tests' strip: a tab manager over its own paint manager that lays
// itself out again in its area on every property change and records the
// redraws, changes and clicks; and the colours each appearance frames its
// client with.
#pragma once

#include <qx/tabpaint.h>

#include <string>
#include <vector>

namespace tabtest {

class TestTabs : public CQXPTabManager {
public:
    TestTabs() { painter.AddListener(this); }
    ~TestTabs() override { painter.RemoveListener(this); }
    CQXPTabPainter* GetPaintManager() const override { return const_cast<CQXPTabPainter*>(&painter); }
    void RedrawControl(LPCRECT, BOOL) override { ++redraws; }
    void OnPropertyChanged() override
    {
        ++changes;
        if (!IsRectEmpty(&area) && !inLayout) {
            inLayout = true;
            CQXPTabManager::Reposition(NULL, area);
            inLayout = false;
        }
    }
    void OnItemClick(CQXPTabManagerItem* pItem) override
    {
        clicked.push_back(pItem);
        CQXPTabManager::OnItemClick(pItem);
    }
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i)
            AddItem(-1)->SetCaption(("Tab " + std::to_string(i)).c_str());
    }
    // The keyboard focus lies in what the selected tab shows.
    BOOL IsFocused() const override { return focused; }
    void SetHot(int nIndex) { m_pHighlighted = GetItem(nIndex); }
    void SetPressed(int nIndex) { m_pPressed = GetItem(nIndex); }
    void SetHotButton(CQXPTabManagerNavigateButton* pButton) { m_pHighlightedNavigateButton = pButton; }
    std::string Sel() const { return GetSelectedItem() ? (LPCSTR)GetSelectedItem()->GetCaption() : "none"; }

    CQXPTabPainter painter;
    RECT area = {0, 0, 0, 0};
    bool inLayout = false;
    bool focused = false;
    int redraws = 0;
    int changes = 0;
    std::vector<CQXPTabManagerItem*> clicked;
};

// The lines an appearance frames its client with: the near edges (top,
// left), the far ones (bottom, right) and the shadow 1 pixel inside the far
// ones (appearances 0 and 1 only).
struct FrameColours {
    COLORREF nearEdge, farEdge, farInner;
};

inline FrameColours FrameOf(int nAppearance, const TabColorSet& c)
{
    switch (nAppearance) {
    case 0:
    case 1: return {c.clrHighlight3D, c.clrDarkShadow3D, c.clrShadow3D};
    case 3:
    case 9: return {c.clrShape[tabShapeSelectedOutline], c.clrShape[tabShapeSelectedOutline], (COLORREF)-1};
    case 5: return {c.clrButtonHighlight, c.clrSelectedText, (COLORREF)-1};
    default: return {c.clrBorder, c.clrBorder, (COLORREF)-1};
    }
}

} // namespace tabtest
