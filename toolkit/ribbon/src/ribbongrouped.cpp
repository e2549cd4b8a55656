// ribbongrouped.cpp - CRibbonStyleTheme: the buttons of a ribbon group that
// lays its controls out in runs (ControlsGrouping) share one frame per run:
// the first control of a run draws its left end, the last its right end, a
// lone control both, the others the middle.
#include <qx/barcontrols.h>
#include <qx/office2007.h>
#include <qx/ribbonbar.h>

BOOL AFXAPI CRibbonStyleTheme::GetGroupedRun(CQXPControlView* pView, BOOL* pbStarts, BOOL* pbEnds)
{
    *pbStarts = *pbEnds = FALSE;
    CQXPControl* pControl = dynamic_cast<CQXPControl*>(pView);
    CQXPRibbonBar* pRibbon = pControl ? DYNAMIC_DOWNCAST(CQXPRibbonBar, pControl->GetParent()) : NULL;
    if (!pRibbon)
        return FALSE;
    CQXPRibbonGroup* pGroup = pRibbon->FindControlGroup(pControl);
    if (!pGroup || !pGroup->m_bControlsGrouping)
        return FALSE;
    const int nIndex = pGroup->IndexOf(pControl);
    auto startsRun = [](CQXPControl* c) { return c->GetBeginGroup() || c->GetWrap(); };
    CQXPControl* pPrev = NULL;
    for (int i = nIndex - 1; i >= 0 && !pPrev; i--)
        if (pGroup->GetAt(i)->IsVisible())
            pPrev = pGroup->GetAt(i);
    CQXPControl* pNext = NULL;
    for (int i = nIndex + 1; i < pGroup->GetCount() && !pNext; i++)
        if (pGroup->GetAt(i)->IsVisible())
            pNext = pGroup->GetAt(i);
    *pbStarts = !pPrev || startsRun(pControl);
    *pbEnds = !pNext || startsRun(pNext);
    return TRUE;
}

void CRibbonStyleTheme::DrawControlBackground(CDC* pDC, CQXPControlView* pControl)
{
    BOOL bStarts, bEnds;
    if (!GetGroupedRun(pControl, &bStarts, &bEnds)) {
        COffice2007Theme::DrawControlBackground(pDC, pControl);
        return;
    }
    LPCSTR pszName = bStarts && bEnds ? "TOOLBARBUTTONSSPECIALSINGLE"
                     : bStarts        ? "TOOLBARBUTTONSSPECIALLEFT"
                     : bEnds          ? "TOOLBARBUTTONSSPECIALRIGHT"
                                      : "TOOLBARBUTTONSSPECIALCENTER";
    const int nCell = GetGroupedButtonState(pControl->GetSelected(), pControl->GetPressed(),
                                            pControl->GetEnabled() == 1, pControl->GetChecked(),
                                            pControl->GetPopped());
    DrawThemeImage(pDC, pszName, pControl->GetRect(), nCell, 5, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR);
}
