// qx/barcache.h - a command bar's off-screen copy and its fades: a paint is
// answered from the copy, and an area that changes (a button turning hot)
// cross-fades from its old to its new look in six frames 50 ms apart.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <vector>

class CQXPCommandBar;

// The timer of the fades on the bar's window.
#define QXP_TID_ANIMATION 707907
#define QXP_FADE_STEPS 6
#define QXP_FADE_INTERVAL 50

class CQXPBarAnimationCache {
public:
    explicit CQXPBarAnimationCache(CQXPCommandBar* pBar);
    ~CQXPBarAnimationCache();
    CQXPBarAnimationCache(const CQXPBarAnimationCache&) = delete;
    CQXPBarAnimationCache& operator=(const CQXPBarAnimationCache&) = delete;

    // The bar's animation flag: changed areas fade.
    BOOL m_bAnimation;
    // Keeps the copy even without animation.
    BOOL m_bBuffered;

    // A changed area (the whole bar for NULL), faded when bAnimate.
    void RedrawRect(LPCRECT lpRect, BOOL bAnimate);
    // The bar's WM_PAINT.
    void PaintCached(CDC* pPaintDC, const CRect& rcPaint);
    // The bar's timer QXP_TID_ANIMATION.
    void OnAnimationTimer();
    // Drops every fade and stops the timer.
    void ClearFades();
    // Drops the copy and the fades.
    void Reset();

    BOOL IsCaching() const { return m_bAnimation || m_bBuffered; }
    // Changed areas fade: the bar's animation flag is on and the bar's
    // paint manager allows animations (its EnableAnimation switch). With
    // the switch off a changed area shows its new look at once.
    BOOL IsFadeEnabled() const;
    BOOL HasCache() const { return m_hCache != NULL; }
    CSize GetCacheSize() const { return m_szCache; }
    int GetFadeCount() const { return (int)m_fades.size(); }
    CRect GetFadeRect(int nIndex) const { return m_fades[(size_t)nIndex]->rc; }
    int GetFadeStep(int nIndex) const { return m_fades[(size_t)nIndex]->nStep; }
    int GetFadeExclusionCount(int nIndex) const { return (int)m_fades[(size_t)nIndex]->exclusions.size(); }

    // One blend of two 32-bit pixel rows: (new * a + old * (255 - a)) >> 8
    // per byte.
    static void AFXAPI BlendPixels(BYTE* pDest, const BYTE* pNew, const BYTE* pOld, size_t nBytes, int nAlpha);

private:
    struct BarFade {
        HBITMAP hNew = NULL;
        BYTE* pNew = NULL;
        HBITMAP hOld = NULL;
        BYTE* pOld = NULL;
        CRect rc;
        int nStep = 1;
        std::vector<CRect> exclusions;
        ~BarFade();
    };

    void PaintBar(HDC hdc, const CRect& rcClip);
    void AddFade(BarFade* pFade);
    // Fades covered by the area go; the others keep the area out of their
    // later frames when bKeep.
    void ExcludeRect(const CRect& rc, BOOL bKeep);
    void DrawFadeFrame(HDC hdc, BarFade* pFade);
    void DeleteCache();
    HWND BarWindow() const;

    CQXPCommandBar* m_pBar;
    HBITMAP m_hCache;
    CSize m_szCache;
    BOOL m_bInvalid;
    UINT_PTR m_nTimer;
    std::vector<BarFade*> m_fades;
};
