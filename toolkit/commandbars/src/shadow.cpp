// Drop shadows of popup bars.

#include <qx/hooks.h>
#include <qx/shadow.h>
#include <qx/shadows.h>

#include <algorithm>

namespace {

const char kShadowClass[] = "QXPShadowWnd";

}  // namespace

// One strip of shadow beside (bBottom FALSE) or under its owner.
class CQXPShadowWnd : public CWindowHook {
public:
    CQXPShadowWnd(HWND hWndOwner, BOOL bBottom) : m_hWndOwner(hWndOwner), m_bBottom(bBottom), m_hWnd(NULL) {}
    ~CQXPShadowWnd() override
    {
        CWindowHookManager::Instance()->RemoveHook(m_hWndOwner, this);
        if (m_hWnd && ::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }

    BOOL Create()
    {
        WNDCLASSA wc = {};
        if (!::GetClassInfoA(::GetModuleHandleA(NULL), kShadowClass, &wc)) {
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = ::GetModuleHandleA(NULL);
            wc.lpszClassName = kShadowClass;
            ::RegisterClassA(&wc);
        }
        m_hWnd = ::CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE |
                                       WS_EX_TOPMOST,
                                   kShadowClass, "", WS_POPUP, 0, 0, 0, 0, ::GetWindow(m_hWndOwner, GW_OWNER), NULL,
                                   ::GetModuleHandleA(NULL), NULL);
        if (!m_hWnd)
            return FALSE;
        CWindowHookManager::Instance()->SetHook(m_hWndOwner, this);
        return TRUE;
    }

    // Places and paints the strip along the owner's current rectangle.
    void Update()
    {
        CRect rc;
        ::GetWindowRect(m_hWndOwner, &rc);
        CRect rcShadow = QxpShadowStripRect(rc, m_bBottom, QXP_SHADOW_SIZE);
        if (rcShadow.Width() <= 0 || rcShadow.Height() <= 0)
            return;
        int cx = rcShadow.Width(), cy = rcShadow.Height();
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        HDC hdcScreen = ::GetDC(NULL);
        HDC hdc = ::CreateCompatibleDC(hdcScreen);
        void* pvBits = NULL;
        HBITMAP hbm = ::CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pvBits, NULL, 0);
        if (hbm && pvBits) {
            // Darkest next to the owner, fading outwards and at the ends.
            QxpFillShadowBits((DWORD*)pvBits, cx, cy, m_bBottom, RGB(0, 0, 0), FALSE);
            HGDIOBJ hOld = ::SelectObject(hdc, hbm);
            POINT ptDest = {rcShadow.left, rcShadow.top};
            SIZE size = {cx, cy};
            POINT ptSrc = {0, 0};
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            CQXPShadowManager::Instance()->m_pfnUpdateLayeredWindow(m_hWnd, hdcScreen, &ptDest, &size, hdc, &ptSrc, 0,
                                                                  &blend, ULW_ALPHA);
            ::SelectObject(hdc, hOld);
            ::SetWindowPos(m_hWnd, HWND_TOPMOST, rcShadow.left, rcShadow.top, cx, cy,
                           SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
        if (hbm)
            ::DeleteObject(hbm);
        ::DeleteDC(hdc);
        ::ReleaseDC(NULL, hdcScreen);
    }

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
    {
        (void)hWnd;
        (void)lResult;
        switch (nMessage) {
        case WM_SHOWWINDOW:
            if (!wParam) {
                Dismiss();
                return kNotHandled;
            }
            break;
        case WM_WINDOWPOSCHANGED: {
            const WINDOWPOS* pPos = (const WINDOWPOS*)lParam;
            if (pPos->flags & SWP_HIDEWINDOW) {
                Dismiss();
                return kNotHandled;
            }
            if (!(pPos->flags & SWP_NOMOVE) || !(pPos->flags & SWP_NOSIZE))
                Update();
            break;
        }
        case WM_DESTROY:
            Dismiss();
            return kNotHandled;
        default:
            break;
        }
        return kNotHandled;
    }

    // Ends this shadow: the object is deleted, so the caller (its own hook
    // handler) returns at once without touching it. The hook manager walks
    // a copy of the owner's hooks and does not use a hook after its call.
    void Dismiss() { CQXPShadowManager::Instance()->Forget(this); }

    HWND m_hWndOwner;
    BOOL m_bBottom;
    HWND m_hWnd;
};

CQXPShadowManager* AFXAPI CQXPShadowManager::Instance()
{
    static CQXPShadowManager s_manager;
    return &s_manager;
}

CQXPShadowManager::CQXPShadowManager() : m_pfnUpdateLayeredWindow(NULL)
{
    HMODULE hUser = ::GetModuleHandleA("USER32");
    if (hUser)
        m_pfnUpdateLayeredWindow = (PFNUPDATELAYEREDWINDOW)(void*)::GetProcAddress(hUser, "UpdateLayeredWindow");
}

CQXPShadowManager::~CQXPShadowManager()
{
    std::vector<CQXPShadowWnd*> shadows;
    shadows.swap(m_shadows);
    for (CQXPShadowWnd* pShadow : shadows)
        delete pShadow;
}

void CQXPShadowManager::SetShadow(HWND hWndOwner)
{
    if (!IsLayered() || !::IsWindow(hWndOwner) || !::IsWindowVisible(hWndOwner))
        return;
    std::vector<CQXPShadowWnd*> existing;
    for (CQXPShadowWnd* pShadow : m_shadows)
        if (pShadow->m_hWndOwner == hWndOwner)
            existing.push_back(pShadow);
    if (existing.empty()) {
        for (BOOL bBottom : {FALSE, TRUE}) {
            CQXPShadowWnd* pShadow = new CQXPShadowWnd(hWndOwner, bBottom);
            if (!pShadow->Create()) {
                delete pShadow;
                continue;
            }
            m_shadows.push_back(pShadow);
            existing.push_back(pShadow);
        }
    }
    for (CQXPShadowWnd* pShadow : existing)
        pShadow->Update();
}

void CQXPShadowManager::Forget(CQXPShadowWnd* pShadow)
{
    auto it = std::find(m_shadows.begin(), m_shadows.end(), pShadow);
    if (it == m_shadows.end())
        return;
    m_shadows.erase(it);
    delete pShadow;
}

void CQXPShadowManager::RemoveShadows(HWND hWndOwner)
{
    std::vector<CQXPShadowWnd*> gone;
    for (CQXPShadowWnd* pShadow : m_shadows)
        if (pShadow->m_hWndOwner == hWndOwner)
            gone.push_back(pShadow);
    for (CQXPShadowWnd* pShadow : gone) {
        m_shadows.erase(std::find(m_shadows.begin(), m_shadows.end(), pShadow));
        delete pShadow;
    }
}

int CQXPShadowManager::GetShadowCount(HWND hWndOwner) const
{
    return (int)GetShadowWindows(hWndOwner).size();
}

std::vector<HWND> CQXPShadowManager::GetShadowWindows(HWND hWndOwner) const
{
    std::vector<HWND> windows;
    for (CQXPShadowWnd* pShadow : m_shadows)
        if (pShadow->m_hWndOwner == hWndOwner && pShadow->m_hWnd)
            windows.push_back(pShadow->m_hWnd);
    return windows;
}
