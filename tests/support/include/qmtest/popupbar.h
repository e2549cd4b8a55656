// Tearing down the command bars a test made on its own frame window, and
// reading and choosing from a popup menu while it runs its own loop.
#pragma once

#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/popup.h>

#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// Chooses a control of an open command-bar popup as a click would (its
// window gets the mouse messages), or closes the popup with Esc when pPick
// is null.
inline void ChooseOrClosePopup(HWND hPopup, CQXPControl* pPick)
{
    if (!pPick) {
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    CPoint pt = pPick->GetRect().CenterPoint();
    ::PostMessageA(hPopup, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageA(hPopup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageA(hPopup, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

// What a timer probe saw of the first popup menu the thread showed while
// the menu ran its own loop: the window and its class ("QXPPopupBar" for a
// command-bar popup, "#32768" for a system menu) and, of a command-bar
// popup, its items (id, whether the popup's image manager has a 16-pixel
// picture for it) and the command bars manager it belongs to (NULL for
// none). The probe then calls whileOpen, when set, with the open popup's
// window, and chooses the item pick; a system menu, or a popup without
// that item, is closed. Set pick (and shotName, to save a screenshot of the
// popup) before the menu opens; one probe per thread.
struct PopupMenuProbe {
    int pick = 0;
    std::string shotName;
    const char* pszBinDir = NULL;
    std::function<void(HWND hPopup)> whileOpen;
    BOOL bSeen = FALSE;
    HWND hWnd = NULL;
    std::string cls;
    std::vector<std::pair<int, BOOL>> items;
    CQXPCommandBars* pCommandBars = NULL;
};

inline PopupMenuProbe& MenuProbe()
{
    static PopupMenuProbe s_probe;
    return s_probe;
}

// The probe's timer procedure (SetTimer(NULL, 0, 50, ProbePopupMenu)).
inline void CALLBACK ProbePopupMenu(HWND, UINT, UINT_PTR, DWORD)
{
    PopupMenuProbe& probe = MenuProbe();
    if (probe.bSeen)
        return;
    struct Find {
        static BOOL CALLBACK Shown(HWND hWnd, LPARAM lParam)
        {
            char szClass[32] = "";
            ::GetClassNameA(hWnd, szClass, sizeof(szClass));
            if (::IsWindowVisible(hWnd) && (lstrcmpA(szClass, "QXPPopupBar") == 0 || lstrcmpA(szClass, "#32768") == 0)) {
                *(HWND*)lParam = hWnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND hPopup = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), Find::Shown, (LPARAM)&hPopup);
    if (!hPopup)
        return;
    probe.bSeen = TRUE;
    probe.hWnd = hPopup;
    char szClass[32] = "";
    ::GetClassNameA(hPopup, szClass, sizeof(szClass));
    probe.cls = szClass;
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(CWnd::FromHandlePermanent(hPopup));
    if (!pPopup) {
        // A system menu: closed, nothing to read.
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    probe.pCommandBars = pPopup->GetCommandBars();
    if (!probe.shotName.empty() && probe.pszBinDir)
        SaveWindowShot(hPopup, probe.pszBinDir, probe.shotName);
    if (probe.whileOpen)
        probe.whileOpen(hPopup);
    CQXPControl* pPick = NULL;
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
        CQXPControl* pControl = pPopup->GetControl(i);
        probe.items.push_back(
            {pControl->GetID(), pPopup->GetImageManager()->GetImage((UINT)pControl->GetID(), 16) != NULL});
        if (pControl->GetID() == probe.pick)
            pPick = pControl;
    }
    ChooseOrClosePopup(hPopup, pPick);
}

} // namespace qmtest
