// paintinternal.h - small helpers shared by the paint manager's sources.
#pragma once

#include <qx/paintmanager.h>

namespace qxpaint {

inline int max(int a, int b) { return a > b ? a : b; }
inline int min(int a, int b) { return a < b ? a : b; }

inline int BarType(const CQXPBarView* pBar) { return pBar ? pBar->GetType() : qxpBarTypeNormal; }
inline int BarPosition(const CQXPBarView* pBar) { return pBar ? pBar->GetPosition() : qxpBarTop; }
inline BOOL IsVerticalPosition(int nPosition) { return nPosition == qxpBarLeft || nPosition == qxpBarRight; }
inline BOOL IsVerticalBar(const CQXPBarView* pBar) { return IsVerticalPosition(BarPosition(pBar)); }
inline BOOL IsPopupBar(const CQXPBarView* pBar) { return BarType(pBar) == qxpBarTypePopup; }

// A control's enabled state as a flag: 0 is disabled, and so is 4 for a
// split popup.
inline BOOL IsControlEnabled(const CQXPControlView* pControl)
{
    int n = pControl->GetEnabled();
    if (n == 4 && pControl->GetType() == qxpControlSplitButtonPopup)
        return FALSE;
    return n != 0;
}

// Width of a text (its extent) and the height of the selected font's cell.
CSize TextSize(CDC* pDC, const CString& str);
// Height of a single space in a font (the DC's current one for NULL).
int SpaceHeight(HFONT hFont);

// A temporary selection of a framework font into a DC.
class ScopedFont {
public:
    ScopedFont(CDC* pDC, CFont* pFont) : m_hdc(pDC ? pDC->GetSafeHdc() : NULL), m_hOld(NULL)
    {
        HGDIOBJ h = pFont ? pFont->GetSafeHandle() : NULL;
        if (m_hdc && h)
            m_hOld = ::SelectObject(m_hdc, h);
    }
    ScopedFont(HDC hdc, HFONT hFont) : m_hdc(hdc), m_hOld(NULL)
    {
        if (m_hdc && hFont)
            m_hOld = ::SelectObject(m_hdc, hFont);
    }
    ~ScopedFont()
    {
        if (m_hOld)
            ::SelectObject(m_hdc, m_hOld);
    }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

// Draws text with a rotated (vertical) font at (x, y): the glyph tops face
// the right, the text runs downwards.
void DrawVerticalText(CDC* pDC, int x, int y, const CString& str);

} // namespace qxpaint
