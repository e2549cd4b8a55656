// ribbongrouped.cpp - CRibbonStyleTheme: the buttons of a ribbon group that
// lays its controls out in runs (ControlsGrouping), on the ribbon or in a
// popup that shows a copy of the group, share one frame per run:
// the first control of a run draws its left end, the last its right end, a
// lone control both, the others the middle.
#include <qx/barcontrols.h>
#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>

BOOL AFXAPI CRibbonStyleTheme::GetGroupedRun(CQXPControlView* pView, BOOL* pbStarts, BOOL* pbEnds)
{
    *pbStarts = *pbEnds = FALSE;
    // The group that holds the control: one of the ribbon's, or a copy on
    // a popup (a collapsed group's, a minimised ribbon's tab).
    CQXPControl* pControl = dynamic_cast<CQXPControl*>(pView);
    CQXPCommandBar* pBar = pControl ? pControl->GetParent() : NULL;
    CQXPRibbonGroup* pGroup = NULL;
    if (CQXPRibbonBar* pRibbon = DYNAMIC_DOWNCAST(CQXPRibbonBar, pBar))
        pGroup = pRibbon->FindControlGroup(pControl);
    else if (auto* pPopup = dynamic_cast<CQXPRibbonGroupsPopupToolBar*>(pBar))
        pGroup = pPopup->FindControlGroup(pControl);
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
