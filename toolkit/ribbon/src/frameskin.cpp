// frameskin.cpp - COffice2007FrameSkin: a frame hook of its own on a window
// without command bars.
#include <qx/frameskin.h>

COffice2007FrameSkin::COffice2007FrameSkin() : m_pHook(NULL), m_nStatusBar(0) {}

COffice2007FrameSkin::~COffice2007FrameSkin() { Detach(); }

BOOL COffice2007FrameSkin::Attach(HWND hWnd, COffice2007Theme* pTheme)
{
    Detach();
    if (!::IsWindow(hWnd) || !pTheme)
        return FALSE;
    m_pHook = new RibbonFrameHook(hWnd, NULL, pTheme);
    m_pHook->SetStatusBarHeight(m_nStatusBar);
    if (!m_pHook->Attach()) {
        delete m_pHook;
        m_pHook = NULL;
        return FALSE;
    }
    return TRUE;
}

void COffice2007FrameSkin::Detach()
{
    delete m_pHook;
    m_pHook = NULL;
}

void COffice2007FrameSkin::SetStatusBarHeight(int cy)
{
    m_nStatusBar = cy;
    if (m_pHook) {
        m_pHook->SetStatusBarHeight(cy);
        m_pHook->RefreshFrameRegion();
    }
}

void COffice2007FrameSkin::Redraw()
{
    if (m_pHook)
        m_pHook->Redraw();
}
