// qx/colors.h - colours of the toolkit: colour values with overrides,
// two-colour gradients, the colour manager that turns the system colours
// into the toolkit's palette of 63 numbered colours (and detects the
// desktop's visual style), the paint manager's colour table, and colour
// arithmetic.
//
// Colour numbers are 0 to 62. A colour argument above 62 is a literal
// COLORREF and comes back unchanged from every lookup; (COLORREF)-1 means "no
// colour". Numbers 0 to 29 are the Windows system colours of those numbers
// (0 is black), 30 to 62 the toolkit's own.
//
// Colour themes: 0 classic, 1 blue (Luna "normalcolor"), 2 olive
// ("homestead"), 3 silver ("metallic"), 4 royale, 5 aero; 6 follows the
// detected system theme, 7 the colour manager's own choice.
#pragma once

#include <fx/fx.h>

#define QX_COLOR_COUNT 63
#define QX_COLOR_NONE ((COLORREF)-1)

// Colour themes.
enum {
    qxColorThemeClassic = 0,
    qxColorThemeBlue = 1,
    qxColorThemeOlive = 2,
    qxColorThemeSilver = 3,
    qxColorThemeRoyale = 4,
    qxColorThemeAero = 5,
    qxColorThemeSystem = 6,
    qxColorThemeAuto = 7
};

// Colour numbers by name. 1 to 29 are the system's COLOR_* numbers; 0 and
// 30 to 62 are the toolkit's own, named for what the themes paint with them.
enum ToolkitColor {
    qxColorBlack = 0,
    qxColorBarFace = 30,         // docked bar background, popup icon column
    qxColorHotFace = 31,         // fill of the control under the mouse
    qxColorHotBorder = 32,       // frame of a hot, pressed or checked control
    qxColorPressedFace = 33,     // fill of a pressed (or checked and hot) control
    qxColorIconShadow = 34,      // shadow under a raised icon
    qxColorDisabledText = 35,    // disabled text and marks on popups
    qxColorCheckedFace = 36,     // fill of a checked control
    qxColorPressedBorder = 37,   // frame against the pressed fill
    qxColorGripper = 38,         // gripper lines and dots
    qxColorSeparator = 39,       // separator lines
    qxColorDisabledIcon = 40,    // disabled icons and disabled edit frames
    qxColorMenuFace = 41,        // popup bar background
    qxColorExpandedGutter = 42,  // icon column of rarely used popup items
    qxColorMenuBorder = 43,      // popup bar and drop-down list frame
    qxColorMenuText = 44,        // text on popups
    qxColorHotText = 45,         // text of a hot control
    qxColorBarText = 46,         // text on docked and floating bars
    qxColorPressedText = 47,     // text of a pressed control
    qxColorTabFace = 48,         // tab header face (button face brightened)
    qxColorTabText = 49,         // tab text on it (button shadow darkened)
    qxColorCheckedBorder = 50,   // frame of a checked control
    qxColorButtonFace = 51,      // faces drawn in the button colour
    qxColorControlBorder = 52,   // check box, label and band frames
    qxColorEditFrame = 53,       // frame of edits and combos on popups
    qxColorWindowFrame = 54,     // outer frame of bands and panes
    qxColorSystemMenuText = 55,  // the system's menu text, as themes take it
    qxColorLabelFace = 56,       // fill of popup labels
    qxColorStyleBorder = 57,     // border of the visual style's tree view
    qxColorDisabledBorder = 58,  // frame of a disabled checked control
    qxColorShadow = 59,          // popup shadows
    qxColorBarDisabledText = 60, // disabled text on bars
    qxColorFloatingFrame = 61,   // frame of a floating bar
    qxColorSpare = 62            // never computed (stays black)
};

// Per channel (a * w + b * (s - w) + s / 2) / s with s = 100 for weights
// below 100 (percent of a) and s = 1000 otherwise (thousandths of a).
COLORREF AFXAPI MixColors(COLORREF clrA, COLORREF clrB, int nWeight);
// Per channel (1 - f) * b + f * a, truncated and capped at 255.
COLORREF AFXAPI BlendColors(COLORREF clrA, COLORREF clrB, double dFactor);
// Contrast ratio of two colours, 1 (equal) to 21 (black and white): the
// relative luminances (sRGB) of the lighter and darker, each plus 0.05.
double AFXAPI ContrastRatio(COLORREF clrA, COLORREF clrB);
// Text that can be read on a background: the given colour when it stands
// out by the ratio body text needs (4.5), else black or white, whichever
// stands out more. System colour schemes may pair grey text with grey.
COLORREF AFXAPI ReadableTextColor(COLORREF clrText, COLORREF clrBack);
// Hue, saturation and luminance (0..1) to a colour.
COLORREF AFXAPI HslToRgb(double dHue, double dSaturation, double dLuminance);
double AFXAPI HueToChannel(double m1, double m2, double h);

// ---------------------------------------------------------------------------
// One colour setting: a standard value and an override (both -1 = unset).
class ColorValue {
public:
    ColorValue() : m_clrStandard(QX_COLOR_NONE), m_clrOverride(QX_COLOR_NONE) {}
    explicit ColorValue(COLORREF clrStandard) : m_clrStandard(clrStandard), m_clrOverride(QX_COLOR_NONE) {}

    // The override when set, else the standard.
    COLORREF GetColor() const { return m_clrOverride != QX_COLOR_NONE ? m_clrOverride : m_clrStandard; }
    operator COLORREF() const { return GetColor(); }
    COLORREF GetStandard() const { return m_clrStandard; }
    COLORREF GetOverride() const { return m_clrOverride; }
    BOOL IsDefault() const { return m_clrOverride == QX_COLOR_NONE; }

    void SetStandard(COLORREF clr) { m_clrStandard = clr; }
    // Sets the override.
    void Set(COLORREF clr) { m_clrOverride = clr; }
    void SetDefault() { m_clrOverride = QX_COLOR_NONE; }
    ColorValue& operator=(COLORREF clr)
    {
        Set(clr);
        return *this;
    }

    COLORREF m_clrStandard;
    COLORREF m_clrOverride;
};

// Two colour values and a split factor (0.5 = one straight gradient).
class GradientColorValue {
public:
    GradientColorValue() : m_fFactor(0.5f) {}
    // Both ends set (standard) to one colour.
    explicit GradientColorValue(COLORREF clrInit) : m_start(clrInit), m_end(clrInit), m_fFactor(0.5f) {}

    COLORREF GetStart() const { return m_start.GetColor(); }
    COLORREF GetEnd() const { return m_end.GetColor(); }
    float GetFactor() const { return m_fFactor; }
    BOOL IsEmpty() const { return GetStart() == QX_COLOR_NONE && GetEnd() == QX_COLOR_NONE; }

    // Both ends' standard colours to one colour, factor 0.5; overrides stay.
    void SetStandard(COLORREF clr)
    {
        m_start.SetStandard(clr);
        m_end.SetStandard(clr);
        m_fFactor = 0.5f;
    }
    // Both ends' standard colours and the factor.
    void Set(COLORREF clrStart, COLORREF clrEnd, float fFactor = 0.5f)
    {
        m_start.SetStandard(clrStart);
        m_end.SetStandard(clrEnd);
        m_fFactor = fFactor;
    }
    // Another gradient's effective colours as standards, and its factor.
    void SetStandardValue(const GradientColorValue& other)
    {
        m_start.SetStandard(other.GetStart());
        m_end.SetStandard(other.GetEnd());
        m_fFactor = other.m_fFactor;
    }

    ColorValue m_start;
    ColorValue m_end;
    float m_fFactor;
};

// Archive forms: a colour value as its standard then its override colour
// (32 bits each); a gradient as its start, its end, then the factor's 32 bits.
CArchive& AFXAPI operator<<(CArchive& ar, const ColorValue& value);
CArchive& AFXAPI operator>>(CArchive& ar, ColorValue& value);
CArchive& AFXAPI operator<<(CArchive& ar, const GradientColorValue& value);
CArchive& AFXAPI operator>>(CArchive& ar, GradientColorValue& value);

class CVisualStyleTheme;

// ---------------------------------------------------------------------------
// The colour manager: one process-wide object (Instance). Other objects can
// be made with their own system queries (tests and previews).
class ToolkitColorManager : public CCmdTarget {
public:
    // Where the system's facts come from. Each member may be NULL (the
    // system is asked).
    struct SystemQueries {
        // The system colour of a number (GetSysColor).
        COLORREF(AFXAPI* pfnSysColor)
        (int nIndex) = nullptr;
        // Bits per pixel of a DC, or of the screen for NULL.
        int(AFXAPI* pfnBitsPerPixel)(HDC hdc) = nullptr;
    };

    ToolkitColorManager();
    explicit ToolkitColorManager(const SystemQueries& queries);
    ~ToolkitColorManager() override;

    static ToolkitColorManager* AFXAPI Instance();
    // Recomputes the process-wide object.
    static void AFXAPI Refresh();

    // Numbers above 62 (and anything that is not a number) come back as
    // given; else the override when set, else the computed colour.
    COLORREF GetColor(int nIndex) const;
    // As GetColor, but for numbers 30 to 62 a custom colour wins first.
    COLORREF GetColorEx(int nIndex) const;
    // Override of one colour (QX_COLOR_NONE removes it); FALSE for a number
    // outside 0..62.
    BOOL SetColor(int nIndex, COLORREF clr);
    // Custom colour of a number 30..62; FALSE otherwise.
    BOOL SetCustomColor(int nIndex, COLORREF clr);
    COLORREF GetCustomColor(int nIndex) const;
    COLORREF GetComputedColor(int nIndex) const;

    // Gradient 0..9, NULL outside.
    GradientColorValue* GetGradientColor(int nIndex);
    const GradientColorValue* GetGradientColor(int nIndex) const;

    // TRUE for 1 to 8 bits per pixel (of the DC, or of the screen).
    BOOL IsLowColor(HDC hdc = NULL) const;
    BOOL IsLunaColorsDisabled() const { return m_bLunaColorsDisabled; }
    void DisableLunaColors(BOOL bDisable) { m_bLunaColorsDisabled = bDisable; }
    void EnableRoyaleDetection(BOOL bEnable) { m_bRoyaleDetection = bEnable; }
    void EnableAeroDetection(BOOL bEnable) { m_bAeroDetection = bEnable; }

    // The theme detected at the last recomputation.
    int GetCurrentSystemTheme() const { return m_nSystemTheme; }
    // The chosen theme, 6 and 7 replaced by the detected one.
    int GetCurrentTheme() const;
    void SetCurrentTheme(int nTheme) { m_nTheme = nTheme; }
    int GetChosenTheme() const { return m_nTheme; }

    // Replaces the system-colour function (NULL: GetSysColor).
    void SetSystemColorQuery(COLORREF(AFXAPI* pfn)(int)) { m_queries.pfnSysColor = pfn; }
    void SetSystemQueries(const SystemQueries& queries) { m_queries = queries; }

    // Recomputes this object's colours and gradients.
    void RefreshColors();

    // Effective colour theme of a paint manager with a stored theme (7: the
    // colour manager's, 0 while Luna colours are disabled; 6: the detected
    // system theme; other values as they are).
    int ResolveColorTheme(int nStoredTheme) const;

    // Colour distance (weighted RGB): TRUE when the colours are distinct at a
    // threshold, the threshold scaled by the first colour's brightness.
    static BOOL AFXAPI IsDistinct(COLORREF clrFirst, COLORREF clrSecond, int nThreshold);

protected:
    int DetectSystemTheme();
    COLORREF SysColor(int nIndex) const;
    void SetComputed(int nIndex, COLORREF clr) { m_clrComputed[nIndex] = clr; }
    void ComputeGradients(int nTheme, bool bLowColor);

    GradientColorValue m_gradients[10];
    BOOL m_bRoyaleDetection;
    BOOL m_bAeroDetection;
    BOOL m_bLunaColorsDisabled;
    COLORREF m_clrComputed[QX_COLOR_COUNT];
    COLORREF m_clrOverride[QX_COLOR_COUNT];
    COLORREF m_clrCustom[QX_COLOR_COUNT];
    SystemQueries m_queries;
    int m_nTheme;
    int m_nSystemTheme;
};

// TRUE when the screen has 8 or fewer bits per pixel.
BOOL AFXAPI IsLowColorDisplay();

// The process's theme state (one object, made on first use): the theme id
// that the toolkit's popup shadows follow.
class GlobalThemeState {
public:
    static GlobalThemeState* AFXAPI Instance();
    int GetTheme() const { return m_nTheme; }
    void SetTheme(int nTheme) { m_nTheme = nTheme; }
    // The shadow colour (qxColorShadow); theme 2 takes it from the colour
    // manager's custom layer where that has one.
    COLORREF GetShadowColor() const;

private:
    int m_nTheme = 0;
};

// ---------------------------------------------------------------------------
// The paint manager's own table of 63 colour values.
class CQXPColorTable {
public:
    CQXPColorTable();
    // Above 62 (or negative) as given; else the override, else the standard.
    COLORREF GetColor(int nIndex) const;
    // Standard colours of the listed entries (numbers outside 0..62 are
    // skipped).
    void SetColors(int nCount, const int* pIndexes, const COLORREF* pColors);
    // Entry access; NULL outside 0..62.
    ColorValue* GetAt(int nIndex);
    // Every standard colour from a colour manager.
    void RefreshFrom(const ToolkitColorManager& manager);

    ColorValue m_colors[QX_COLOR_COUNT];
};
