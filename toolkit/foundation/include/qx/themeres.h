// qx/themeres.h - the theme module of the Office 2007 look: its text (colours
// by section and key, image names) and its images, drawn in stacked states
// with fixed sizing margins.
//
//   ThemeText       the parser of the theme text (no windows, no GDI)
//   ComputeNineParts the nine-part geometry of a stretched image (no GDI)
//   ThemeBitmap     one image of the theme, drawn whole or by parts
//   ThemeResources  the process-wide theme: module, text and image cache
//                   (GetThemeResources)
//
// The theme text is a "TEXTFILE" resource (default name
// "OFFICE2007BLUE_INI"): UTF-16 LE without terminator, lines ending in CR
// (optionally CR LF; a last line without CR is not read), ';' starts a
// comment, "[Section]" headers, "Key = Value" lines. Names and values are
// compared and returned upper-cased. Colours are "R G B" (each read as with
// "%i": decimal, 0x hexadecimal or 0 octal; low 8 bits kept).
//
// Images are stacked vertically in equal states (GetSource). Non-alpha
// images may be keyed on a transparent colour (magenta in this toolkit's
// module). The image cache and every drawing through a cached image are
// guarded by the resource object's one lock; text lookups take none (the
// text is read-only once loaded).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/sysutil.h>

#include <map>
#include <string>

// The transparent colour of keyed theme images.
#define QX_THEME_KEY_COLOR RGB(255, 0, 255)

// ---------------------------------------------------------------------------
// The theme text over a UTF-16 LE buffer that the caller keeps alive.
class ThemeText {
public:
    ThemeText() : m_pBegin(NULL), m_pEnd(NULL) {}
    // The text of cb bytes (rounded down to whole characters); NULL or 0
    // bytes unloads it.
    void Set(const void* pData, DWORD cb);
    void Clear() { m_pBegin = m_pEnd = NULL; }
    BOOL IsLoaded() const { return m_pBegin != NULL; }

    // The value of a key in the first section of that name (upper-cased);
    // empty when not found or nothing is loaded. Scans from the start.
    CString GetValue(LPCSTR lpszSection, LPCSTR lpszKey) const;
    // The colour of the value, QX_COLOR_NONE ((COLORREF)-1) when it is empty.
    COLORREF GetColor(LPCSTR lpszSection, LPCSTR lpszKey) const;
    // "R G B" as R + 256 G + 65536 B; missing parts count 0.
    static COLORREF AFXAPI ParseColor(LPCSTR lpszValue);

    const WCHAR* m_pBegin; // first character, NULL when nothing is loaded
    const WCHAR* m_pEnd;   // one past the last whole character
};

// ---------------------------------------------------------------------------
// Nine-part drawing of a source rectangle into a destination with sizing
// margins (left, top, right, bottom): the corners keep the margin sizes, the
// edges stretch along their side, the centre both ways. When a margin pair
// does not fit the source (or equals the destination's extent) the source's
// margins are rescaled in proportion; every source part stays inside the
// source rectangle.
struct ThemeImagePart {
    RECT rcDest;
    RECT rcSrc;
};
// The parts in drawing order (top-left, top, top-right, left, centre, right,
// bottom-left, bottom, bottom-right), empty ones left out; returns their
// count. 0 when the destination is lower than the top and bottom margins or
// the source is empty.
int AFXAPI ComputeNineParts(const RECT& rcDest, const RECT& rcSrc, RECT rcMargins, ThemeImagePart* pParts);

// ---------------------------------------------------------------------------
class ThemeBitmap : public CCmdTarget {
public:
    ThemeBitmap();
    ~ThemeBitmap() override;

    // Loads the named image ("PNG" or bitmap resource) from the module,
    // replacing any previous one. FALSE when none was obtained.
    BOOL LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName);
    // Takes a bitmap (owned from now on); bAlpha: it carries per-pixel alpha
    // (a 32-bit DIB section, straight or premultiplied).
    void Attach(HBITMAP hBitmap, BOOL bAlpha);

    int GetWidth() const;
    int GetHeight() const;
    // State nState of nCount equal states stacked vertically.
    CRect GetSource(int nState = 0, int nCount = 1) const;

    // Nine-part drawing (ComputeNineParts); nothing without a lock (images
    // outside a resource cache give their own with SetLock).
    void DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins);
    // Keyed on clrTransparent (QX_COLOR_NONE or an alpha image: DrawImage).
    void DrawImageOnColor(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                          COLORREF clrTransparent);
    // With nFlags bit 1 (the rectangle lies on glass) the key becomes fully
    // transparent and the rest opaque, blended onto the target; else
    // DrawImageOnColor.
    void DrawImageGlassAware(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                             COLORREF clrTransparent, int nFlags);

    void SetLock(CRITICAL_SECTION* pLock) { m_pLock = pLock; }
    // DrawImage into a raw DC (the off-screen buffers of the keyed and glass
    // drawings).
    void DrawInto(HDC hdc, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins);
    BOOL IsAlpha() const { return m_bAlpha; }

    HBITMAP m_hBitmap;         // owned; alpha images premultiplied
    BOOL m_bAlpha;             // the loader found per-pixel alpha
    WORD m_wReserved;          // 0 after every load
    BOOL m_bMirror;            // mirror on right-to-left targets (FALSE)
    BOOL m_bMirrored;          // the bitmap is held mirrored now
    CRITICAL_SECTION* m_pLock; // the cache's lock (not owned)
};

// ---------------------------------------------------------------------------
class ThemeResources {
public:
    ThemeResources();
    ~ThemeResources();
    ThemeResources(const ThemeResources&) = delete;
    ThemeResources& operator=(const ThemeResources&) = delete;

    // Replaces the theme: frees the old module when it was to be freed and
    // differs from the new one, empties the image cache and loads the text
    // from the module (NULL: the program's) (lpszName NULL or empty:
    // "OFFICE2007BLUE_INI", else the first
    // "TEXTFILE" of the module; '.' in a name becomes '_'). FALSE when no text
    // was found (the module stays set for images).
    BOOL LoadTextResource(HMODULE hModule, LPCSTR lpszName, BOOL bFree);
    BOOL IsLoaded() const { return m_text.IsLoaded(); }
    HMODULE GetModule() const { return m_hModule; }

    CString GetValue(LPCSTR lpszSection, LPCSTR lpszKey) const { return m_text.GetValue(lpszSection, lpszKey); }
    COLORREF GetColor(LPCSTR lpszSection, LPCSTR lpszKey) const { return m_text.GetColor(lpszSection, lpszKey); }
    // The "Images" entry of the name when it has one, else the name; '.' and
    // '\' become '_'.
    CString GetImageResourceName(LPCSTR lpszImage) const;
    // The cached image, loading it on first use; NULL when it cannot be
    // loaded (nothing is cached then). The cache owns it.
    ThemeBitmap* LoadImage(LPCSTR lpszImage);
    // The number of cached images.
    int GetCachedCount() const { return (int)m_cache.size(); }

    CString m_strReserved; // kept empty
    HMODULE m_hModule;     // the theme module (NULL: none)
    ThemeText m_text;      // into the locked resource
    BOOL m_bFree;          // FreeLibrary the module when replaced or at the end
    CQXPCriticalSection m_lock;

protected:
    void ReleaseCache();
    std::map<std::string, ThemeBitmap*> m_cache;
};

// The process-wide theme, built on first use from the program's resource
// module (not freed).
ThemeResources* AFXAPI GetThemeResources();
