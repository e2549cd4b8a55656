// The bars of the command-bar test frames.
#pragma once

#include <qx/framehost.h>

#include "cbtest_ids.h"

// Gives a frame its command bars: the menu bar of the test menu, the
// "Standard" toolbar of the test toolbar resource and a "Format" toolbar of
// the given buttons (0 begins a group), all docked at the top. FALSE when
// any of them cannot be made.
inline BOOL CreateTestBars(CQXPMDIFrameWnd* pFrame, CQXPMenuBar*& pMenuBar, CQXPToolBar*& pStandard,
                           CQXPToolBar*& pFormat, const UINT* pFormatIds, int nFormatIds)
{
    if (!pFrame->InitCommandBars())
        return FALSE;
    CQXPCommandBars* pBars = pFrame->GetCommandBars();
    pMenuBar = pBars->SetMenu("Menu Bar", IDR_TEST_MENU);
    pStandard = pBars->Add("Standard", qxpBarTop);
    if (!pMenuBar || !pStandard || !pStandard->LoadToolBar(IDR_TEST_TOOLBAR))
        return FALSE;
    pFormat = pBars->Add("Format", qxpBarTop);
    return pFormat && pFormat->SetButtons(pFormatIds, nFormatIds);
}
