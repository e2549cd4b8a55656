// Tearing down the command bars a test made on its own frame window.
#pragma once

#include <qx/commandbars.h>
#include <qx/popup.h>

#include <qmtest/pump.h>

namespace qmtest {

// Ends the popup's tracking, destroys its window and drops the test's
// reference; the pointer becomes null. Nothing for null.
inline void ReleasePopupBar(CQXPPopupBar*& pPopup)
{
    if (!pPopup)
        return;
    if (pPopup->IsTrackingMode())
        pPopup->SetTrackingMode(FALSE);
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
    pPopup = NULL;
}

// Drops the test's reference to the manager, destroys the frame's window
// and handles what that left in the queue.
inline void ReleaseBarsAndFrame(CQXPCommandBars*& pBars, CWnd& frame)
{
    if (pBars)
        pBars->InternalRelease();
    pBars = NULL;
    if (::IsWindow(frame.GetSafeHwnd()))
        frame.DestroyWindow();
    PumpMessages();
}

} // namespace qmtest
