// qx/fonts.h - global metrics and UI fonts: one process-wide record
// (GetGlobalUIFonts) with forty colours, a few system metrics, the toolkit's
// cursors, operating-system flags, the common-controls version and ten
// shared fonts derived from the system's non-client metrics.
//
// A record can also be built over its own environment (where the metrics,
// the icon-title font, the installed faces and the colours come from), which
// is how previews and tests use it.
#pragma once

#include <fx/fx.h>

class ToolkitColorManager;

// Fills the 340-byte NONCLIENTMETRICS (SPI_GETNONCLIENTMETRICS); the size
// field is set by the function.
BOOL AFXAPI NonClientMetrics(NONCLIENTMETRICSA* pMetrics);
// The size of the record the toolkit asks for.
const UINT kNonClientMetricsSize = 340;

class CQXSystemFonts {
public:
    // Where the record's facts come from; a NULL member asks the system.
    struct Environment {
        BOOL(AFXAPI* pfnNonClientMetrics)
        (NONCLIENTMETRICSA* pMetrics) = nullptr;
        BOOL(AFXAPI* pfnIconTitleFont)
        (LOGFONTA* pFont) = nullptr;
        BOOL(AFXAPI* pfnIsFontInstalled)
        (LPCSTR lpszFace) = nullptr;
        // Loads a toolkit cursor resource by id (NULL: from the resources of
        // the program).
        HCURSOR(AFXAPI* pfnLoadCursor)
        (UINT nID) = nullptr;
        ToolkitColorManager* pColorManager = nullptr; // NULL: the global one
    };

    // The colour manager numbers behind the forty colours, in order.
    static const int kColorSources[40];
    // Index of COLOR_WINDOW among the forty: the default colour of an empty
    // colour text.
    enum {
        kWindowColor = 11
    };
    // The cursors.
    enum {
        kCursorCount = 7
    };
    static const UINT kToolkitCursorIds[kCursorCount]; // 0 = a system cursor

    CQXSystemFonts();
    explicit CQXSystemFonts(const Environment& env);
    ~CQXSystemFonts();
    CQXSystemFonts(const CQXSystemFonts&) = delete;
    CQXSystemFonts& operator=(const CQXSystemFonts&) = delete;

    // Recomputes the colour manager, then reads the forty colours.
    void RefreshColors();
    void RefreshMetrics();
    // FALSE at the first cursor that cannot be loaded (the later ones stay
    // unset).
    BOOL LoadCursors();
    // Rebuilds the ten fonts, optionally with a face and a vertical face;
    // FALSE at the first font that cannot be created.
    BOOL Refresh(LPCSTR lpszFace = NULL, LPCSTR lpszVertFace = NULL);
    // Stores the flag and rebuilds the fonts.
    void UseDefaultFace(BOOL bUse);
    void DeleteFonts();

    COLORREF GetColor(int nIndex) const { return nIndex >= 0 && nIndex < 40 ? m_clr[nIndex] : (COLORREF)-1; }
    COLORREF GetWindowColor() const { return m_clr[kWindowColor]; }
    HFONT GetNormalFont() const { return m_fontNormal; }
    // The face used for vertical text with a given horizontal face: the face
    // itself for Tahoma, Tahoma when preferred and installed, else Arial when
    // installed, else the face.
    CString GetVerticalFace(LPCSTR lpszFace, BOOL bPreferTahoma) const;
    // Width of a drop-down arrow (a vertical scroll bar's width) and whether
    // popups cast a shadow.
    int GetDropArrowWidth() const { return ::GetSystemMetrics(SM_CXVSCROLL); }
    BOOL IsPopupShadowEnabled() const;

    COLORREF m_clr[40];
    HCURSOR m_hCursors[kCursorCount];
    SIZE m_sizeSmallIcon;
    int m_nFixedWidth;  // 18
    int m_nFixedHeight; // 18
    int m_cxHThumb;
    int m_cyVThumb;
    int m_cyMenu;

    HFONT m_fontNormal;
    HFONT m_fontBold;
    HFONT m_fontUnderline;
    HFONT m_fontVert;
    HFONT m_fontVertBold;
    HFONT m_fontIconTitle;
    HFONT m_fontIconTitleBold;
    HFONT m_fontMarlett;
    HFONT m_fontStatus;
    HFONT m_fontSmCaption;

    BYTE m_bWin95;
    BYTE m_bWin98;
    BYTE m_bWinNT4;
    BYTE m_bWin2K;
    BYTE m_bWinXP;
    BOOL m_bUseDefaultFace;
    BOOL m_bFlag1;
    BOOL m_bFlag2;
    DWORD m_dwComCtlVersion;

private:
    void Init();
    BOOL GetMetrics(NONCLIENTMETRICSA& ncm) const;
    BOOL GetIconTitleFont(LOGFONTA& lf) const;
    BOOL IsInstalled(LPCSTR lpszFace) const;
    ToolkitColorManager* Colors() const;

    Environment m_env;
};

// The process-wide record, built on first use.
CQXSystemFonts* AFXAPI GetGlobalUIFonts();
