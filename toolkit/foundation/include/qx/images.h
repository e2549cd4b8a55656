// qx/images.h - the image manager: the images of all commands. For every
// command id a set of images in one or more widths, each with images for the
// normal, disabled, hot, checked and pressed states, held as icons (HICON) or
// as 32-bit bitmaps with per-pixel alpha ("alpha bitmaps"). Toolbars, menus,
// the customize dialog, docking panes and the ribbon ask the process-wide
// manager (GetGlobalImageManager) for the image of a command at a width.
//
// Also here: generated images (faded, shadow, disabled), drawing and
// blending, persistence through the property exchange, the clipboard form
// ("Corvane ToolBar Image") and the loaders for bitmap, PNG and icon
// resources and files.
//
// Data read from resources, files, archives and the clipboard is checked
// against its real size: damaged data is refused, never read past its end.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>

#include <map>
#include <utility>
#include <vector>

class CQXPImageManager;
class CQXPIconSet;
class CQXPPropExchange;

// Image states.
enum {
    qxImageNormal = 0,
    qxImageDisabled = 1,
    qxImageHot = 2,
    qxImageChecked = 3,
    qxImagePressed = 4
};

// ---------------------------------------------------------------------------
// One image: an icon or an alpha bitmap (or nothing). Owning handles free
// their icon and bitmap when cleared; the premultiplied copy made for drawing
// is always freed.
class CQXPIconHandle {
public:
    CQXPIconHandle();                            // empty, owning
    CQXPIconHandle(HICON hIcon);                 // wraps, not owning
    CQXPIconHandle(const CQXPIconHandle& other); // shares, not owning
    CQXPIconHandle& operator=(const CQXPIconHandle& other);
    ~CQXPIconHandle();

    void Clear();
    // Take ownership of a new icon or alpha bitmap (the old one is cleared).
    void SetIcon(HICON hIcon);
    void SetBitmap(HBITMAP hBitmap);
    // Keeps a 32-bit DIB-section copy of the bitmap (owned); the caller keeps
    // its bitmap.
    BOOL CopyHandle(HBITMAP hBitmap);
    // Keeps its own copy of another handle's image (CopyIcon, or a copy of
    // the alpha bitmap).
    BOOL CopyFrom(const CQXPIconHandle& other);

    BOOL IsEmpty() const { return m_hIcon == NULL && m_hBitmap == NULL; }
    BOOL IsAlpha() const { return m_hBitmap != NULL; }
    HICON GetIcon() const { return m_hIcon; }
    operator HICON() const { return m_hIcon; }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    BOOL IsOwning() const { return m_bOwns; }
    // The premultiplied 32-bit copy used for alpha drawing, made on first
    // use (of the alpha bitmap, or of an icon's colour bitmap).
    HBITMAP GetPremultipliedBitmap() const;
    // A new DIB-section copy of the alpha bitmap (the caller deletes it).
    HBITMAP CopyAlphaBitmap() const;
    // Width and height of the image (0, 0 when empty).
    SIZE GetExtent() const;

    // Loads the icon of exactly that size from an RT_GROUP_ICON resource:
    // 32-bit icons become alpha bitmaps, others icons. FALSE when none fits.
    BOOL LoadFromResource(HMODULE hModule, LPCSTR lpszName, int cx, int cy);
    BOOL LoadFromResource(UINT nID, int cx, int cy = 0);

    HICON m_hIcon;
    HBITMAP m_hBitmap;
    mutable HBITMAP m_hCached;
    BOOL m_bOwns;
};

// ---------------------------------------------------------------------------
// A masked image list made from one strip, shared by the images cut from it
// until each has taken its icon out (reference counted; the last release
// destroys the list). Making an icon costs a window-server handle, so the
// images of a strip make theirs only when first asked for.
class CQXPSharedImageList {
public:
    explicit CQXPSharedImageList(HIMAGELIST hImageList) : m_hImageList(hImageList), m_nRefs(1) {}
    CQXPSharedImageList(const CQXPSharedImageList&) = delete;
    CQXPSharedImageList& operator=(const CQXPSharedImageList&) = delete;

    void AddRef() { ++m_nRefs; }
    void Release();
    HIMAGELIST GetHandle() const { return m_hImageList; }

private:
    ~CQXPSharedImageList();

    HIMAGELIST m_hImageList;
    int m_nRefs;
};

// ---------------------------------------------------------------------------
// The image of one command at one width.
class CQXPIconImage : public CCmdTarget {
public:
    CQXPIconImage(UINT nID, int nWidth, int nHeight);
    ~CQXPIconImage() override;

    UINT GetID() const { return m_nID; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    SIZE GetExtent() const;
    BOOL IsDerived() const { return m_bDerived; }

    // State images with their fallbacks: hot = hot or normal; checked =
    // checked, hot, normal; pressed = pressed, hot, normal; disabled = the
    // explicit one, else (bGenerate) the generated one.
    const CQXPIconHandle& GetNormalIcon() const
    {
        MakePendingIcon();
        return m_hNormal;
    }
    const CQXPIconHandle& GetHotIcon() const;
    const CQXPIconHandle& GetCheckedIcon() const;
    const CQXPIconHandle& GetPressedIcon() const;
    const CQXPIconHandle& GetDisabledIcon(BOOL bGenerate = TRUE);
    // 0 normal, 1 disabled, 2 hot, 3 checked, 4 pressed.
    const CQXPIconHandle& GetIcon(int nState);
    // Generated looks, made on first use.
    const CQXPIconHandle& GetFadedIcon();
    const CQXPIconHandle& GetShadowIcon();
    // The generated disabled image in a two-tone ramp from clrDark (black
    // pixels) to clrLight (white pixels); (COLORREF)-1 for either gives grey.
    const CQXPIconHandle& GetDisabledIcon(COLORREF clrLight, COLORREF clrDark);

    // Setting any state drops the generated images. The image keeps its own
    // copy of a handle that does not own its image; an owning handle hands
    // its image over and is left empty. Setting the normal image also takes
    // its size: szKnown, when the caller knows it, spares measuring it.
    void SetIcon(CQXPIconHandle& handle, int nState, SIZE szKnown = SIZE{0, 0});
    void SetIcon(const CQXPIconHandle& handle, int nState);
    void SetNormalIcon(const CQXPIconHandle& handle) { SetIcon(handle, qxImageNormal); }
    void SetDisabledIcon(const CQXPIconHandle& handle) { SetIcon(handle, qxImageDisabled); }
    void SetHotIcon(const CQXPIconHandle& handle) { SetIcon(handle, qxImageHot); }
    void SetCheckedIcon(const CQXPIconHandle& handle) { SetIcon(handle, qxImageChecked); }
    void SetPressedIcon(const CQXPIconHandle& handle) { SetIcon(handle, qxImagePressed); }

    // A state picture left in a shared strip list (index nIndex) until the
    // image's pictures are first read: every accessor above, drawing and
    // storing make it first. szKnown is the list's image size, the image's
    // size for the normal state. Setting the state drops a pending picture.
    void SetPendingIcon(CQXPSharedImageList* pList, int nIndex, int nState, SIZE szKnown);
    BOOL HasPendingIcon() const { return m_nPending != 0; }
    // Takes the pending pictures out of their lists (nothing when none).
    void MakePendingIcon() const;

    // Drops the faded, shadow and generated disabled images.
    void RefreshGenerated();

    // Draws a handle of this image at a point; a zero width means the
    // image's width, a zero height keeps the proportions.
    void DrawImage(HDC hdc, POINT pt, const CQXPIconHandle& handle, SIZE sz = SIZE{0, 0});
    // Draws the normal image.
    void Draw(HDC hdc, POINT pt, SIZE sz = SIZE{0, 0}) { DrawImage(hdc, pt, GetNormalIcon(), sz); }
    // The picture's shape in one colour (the disabled look of commands), of
    // an icon or an alpha bitmap: its opaque pixels that are darker than
    // the light fills inside a picture, or all opaque pixels of a picture
    // that has no darker ones. A picture with no opaque pixel draws nothing.
    void DrawMono(HDC hdc, POINT pt, const CQXPIconHandle& handle, int cx, int cy, COLORREF clr);
    // The same shape at the picture's own size: TRUE per pixel, top row
    // first; FALSE when the handle cannot be read or has no opaque pixel.
    static BOOL AFXAPI GetShape(const CQXPIconHandle& handle, std::vector<BYTE>& shape, int& cx, int& cy);

    // Archive form: height, schema (24), normal, disabled, hot, checked
    // (schema > 7) and pressed (schema > 16) handles.
    void Serialize(CArchive& ar) override;

    UINT m_nID;
    int m_nWidth;
    int m_nHeight;
    CQXPIconHandle m_hNormal;
    CQXPIconHandle m_hFaded;
    CQXPIconHandle m_hShadow;
    CQXPIconHandle m_hHot;
    CQXPIconHandle m_hChecked;
    CQXPIconHandle m_hPressed;
    CQXPIconHandle m_hDisabled;
    CQXPIconHandle m_hDisabledGen;
    BOOL m_bDerived;
    // Icons are drawn through a colour-keyed 32-bit buffer and alpha blended.
    BOOL m_bDrawComposited;
    CQXPIconSet* m_pIconSet;
    CQXPImageManager* m_pImageManager;
    // The image list and index that hold this image, for images that live in
    // a registered image list.
    HIMAGELIST m_hImageList;
    int m_nImageListIndex;

private:
    struct PendingIcon {
        CQXPSharedImageList* pList;
        int nIndex;
    };
    void DropPendingIcon(int nState);

    // By state (qxImageNormal .. qxImagePressed); m_nPending counts them.
    mutable PendingIcon m_pending[5];
    mutable int m_nPending;
    // The shape DrawMono drew last, kept until the pictures change: the
    // picture it was read from, its size and its pixels.
    HICON m_hMonoIcon;
    HBITMAP m_hMonoBitmap;
    int m_cxMono;
    int m_cyMono;
    std::vector<BYTE> m_monoShape;
};

typedef CQXPIconImage CQXPImageManagerIcon;

// ---------------------------------------------------------------------------
// The images of one command id, by width (in the order they were added).
class CQXPIconSet : public CCmdTarget {
public:
    CQXPIconSet(UINT nID, CQXPImageManager* pManager);
    ~CQXPIconSet() override;

    UINT GetID() const { return m_nID; }
    // Width 0: the smallest own (not derived) image; 1: the largest; else the
    // exact width, or with bScaled the nearest width (the first met on a
    // tie); NULL when there is none.
    CQXPIconImage* GetIcon(int nWidth, BOOL bScaled = TRUE) const;
    // The image of exactly that width, created (height preset to 15) when
    // missing.
    CQXPIconImage* CreateIcon(int nWidth);
    // Puts an image under its width, replacing (and releasing) an image of the
    // same width. The set takes the reference.
    void SetIconImage(int nWidth, CQXPIconImage* pImage);
    void RemoveAll();
    int GetCount() const { return (int)m_images.size(); }
    CQXPIconImage* GetAt(int i) const { return m_images[(size_t)i].second; }
    // Removes derived images, drops the generated images of the others.
    void RefreshAll();

    UINT m_nID;
    CQXPImageManager* m_pManager;
    std::vector<std::pair<int, CQXPIconImage*>> m_images;
};

// ---------------------------------------------------------------------------
class CQXPImageManager : public CCmdTarget {
public:
    CQXPImageManager();
    ~CQXPImageManager() override;

    // --- store -------------------------------------------------------------
    // Stores an image (icon or alpha bitmap) for a command in a state; width
    // and height 0 are taken from the image. 0 when nothing was stored.
    BOOL SetIcon(const CQXPIconHandle& image, UINT nID, int nWidth = 0, int nHeight = 0, int nState = qxImageNormal);
    BOOL SetIcon(HICON hIcon, UINT nID, int nWidth = 0, int nHeight = 0, int nState = qxImageNormal);
    // The images of an image list under the ids (or 0..n-1); with ids and a
    // count other than the list's image count, an id 0 is a separator.
    BOOL SetIcons(HIMAGELIST hImageList, const UINT* pIDs, int nCount, int nWidth, int nHeight,
                  int nState = qxImageNormal);
    // A strip: width / height 0 take the strip width / count and its height.
    // Alpha strips are cut into 32-bit pieces; others go through a 24-bit
    // masked image list (mask colour: the manager's, or the top-left pixel).
    BOOL SetIconsFromBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount, int nWidth, int nHeight, int nState,
                            BOOL bAlpha);
    // A bitmap resource (PNG or BMP) as a strip; 0 when it cannot be loaded.
    BOOL SetIconsFromResource(UINT nIDResource, const UINT* pIDs, int nCount, int nWidth, int nHeight,
                              int nState = qxImageNormal);
    BOOL SetIcons(UINT nIDResource, const UINT* pIDs, int nCount, SIZE szIcon, int nState = qxImageNormal)
    {
        return SetIconsFromResource(nIDResource, pIDs, nCount, szIcon.cx, szIcon.cy, nState);
    }
    // A toolbar resource (RT_TOOLBAR) with its bitmap: the images of the
    // non-zero button ids. 0 when either resource is missing or damaged.
    BOOL SetIcons(UINT nIDToolBar, UINT nIDBitmap, int nState = qxImageNormal);
    BOOL SetIcons(UINT nIDToolBar) { return SetIcons(nIDToolBar, nIDToolBar); }
    // A new set under the next custom id (68267 first); returns the id.
    UINT AddCustomIcon(const CQXPIconHandle& image, BOOL bOwns = FALSE);
    void RemoveIcon(UINT nID);
    void RemoveAll();
    // Registers an image list that answers for ids nBaseID .. nBaseID +
    // count - 1 (the first registered list covering an id wins).
    void AddImageList(HIMAGELIST hImageList, UINT nBaseID);

    // --- lookup --------------------------------------------------------------
    CQXPIconSet* GetIconSet(UINT nID) const;
    // From the command's set (scaling allowed), else from a registered image
    // list; NULL when neither has one.
    CQXPIconImage* GetImage(UINT nID, int nWidth = 0) const;
    BOOL HasOwnImage(UINT nID, int nWidth) const;
    UINT GetNextCustomID() const { return m_nNextCustomID; }

    // Removes scaled copies and generated images everywhere (after a theme
    // or colour change).
    void RefreshAll();

    // --- drawing --------------------------------------------------------------
    // AlphaBlend (source over, constant alpha 255, per-pixel alpha); blends by
    // itself when the system function is missing or not to be used.
    BOOL AlphaBlend(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc, int cxSrc, int cySrc);
    // A colour-keyed copy.
    BOOL TransparentBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc, int cxSrc,
                        int cySrc, COLORREF clrTransparent);
    BOOL DrawAlphaBitmap(HDC hdc, HBITMAP hBitmap, POINT ptDest, SIZE szDest, POINT ptSrc, SIZE szSrc);
    BOOL DrawAlphaBitmap(HDC hdc, HBITMAP hBitmap, int x, int y, int cx, int cy, const RECT& rcSrc)
    {
        return DrawAlphaBitmap(hdc, hBitmap, POINT{x, y}, SIZE{cx, cy}, POINT{rcSrc.left, rcSrc.top},
                               SIZE{rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top});
    }
    // Whether the system's AlphaBlend and TransparentBlt are used (default
    // TRUE); FALSE uses the manager's own blending.
    static void AFXAPI SetUseSystemBlending(BOOL bUse);

    // --- persistence ------------------------------------------------------------
    // One set (under "CheckSum" and "Icon"); a wrong check sum throws an
    // archive exception.
    void DoPropExchange(UINT nID, CQXPPropExchange* pPX);
    // All sets (under "IconSet").
    void DoPropExchange(CQXPPropExchange* pPX);
    void Serialize(UINT nID, CArchive& ar);
    void Serialize(CArchive& ar) override;
    // The set on the clipboard (already opened and emptied by the caller).
    BOOL CopyToClipboard(UINT nID);
    // Reads a set from the clipboard (or a data object) under a new custom
    // id, returned; 0 when there is nothing readable.
    UINT PasteFromClipboard(IDataObject* pDataObject = NULL);
    UINT PasteFromClipboard(COleDataObject* pDataObject);
    // The same from the bytes of a global memory block.
    UINT PasteFromGlobal(HGLOBAL hGlobal);
    static UINT AFXAPI GetClipboardFormat();

    // Mask colour of non-alpha strips; (COLORREF)-1 = the top-left pixel.
    COLORREF m_clrMask;
    std::map<UINT, CQXPIconSet*> m_mapImages;
    struct ImageListEntry {
        HIMAGELIST hImageList;
        UINT nBaseID;
        std::map<UINT, CQXPIconImage*>* pImages;
    };
    std::vector<ImageListEntry> m_imageLists;
    UINT m_nNextCustomID;
    // 0 never mirror, 1 always, 2 when the DC has a right-to-left layout.
    int m_nRTLMode;
};

CQXPImageManager* AFXAPI GetGlobalImageManager();

// ---------------------------------------------------------------------------
// Loading and bitmap helpers.

// A bitmap resource: PNG (type "PNG") or RT_BITMAP (32-bit ones as alpha DIB
// sections). NULL on failure. *pbAlpha (optional) tells whether it has alpha.
HBITMAP AFXAPI LoadBitmapFromResource(LPCSTR lpszName, BOOL* pbAlpha = NULL);
inline HBITMAP LoadBitmapFromResource(UINT nID, BOOL* pbAlpha = NULL)
{
    return LoadBitmapFromResource(MAKEINTRESOURCEA(nID), pbAlpha);
}
HBITMAP AFXAPI LoadBitmapFromResourceHandle(HMODULE hModule, LPCSTR lpszName, BOOL* pbAlpha = NULL);
// A 32-bit RT_BITMAP resource as a DIB section; NULL for other depths or
// damaged data.
HBITMAP AFXAPI LoadAlphaBitmapResource(UINT nID, HMODULE hModule = NULL);
// A PNG or BMP file.
HBITMAP AFXAPI LoadBitmapFromFile(LPCSTR lpszPath, BOOL* pbAlpha = NULL);
// The first 32-bit image of that width (any when 0) of an .ico file as a
// DIB section; NULL when none fits or the file is damaged.
HBITMAP AFXAPI LoadAlphaIconFromFile(LPCSTR lpszPath, int nWidth);
// The icon scaled to a new width (height in proportion); NULL for a zero
// target or source size.
HICON AFXAPI ResizeIcon(HICON hIcon, int cx, int cy, int cxNew);
// Size of an icon from its mask (half its height for a monochrome icon).
SIZE AFXAPI GetIconExtent(HICON hIcon);
inline void GetIconExtent(SIZE& size, HICON hIcon) { size = GetIconExtent(hIcon); }
// New 32-bit bitmaps made from a 32-bit bitmap.
HBITMAP AFXAPI FlipBitmap32Horizontally(HBITMAP hBitmap);
// Colour channels multiplied by alpha / 255. With pbAlphaUsed the copy stays
// unmultiplied (and the flag FALSE) when the alpha channel is not really
// used.
HBITMAP AFXAPI PremultiplyAlphaBitmap(HBITMAP hBitmap, BOOL* pbAlphaUsed = NULL);
HBITMAP AFXAPI CopyAlphaBitmap(HBITMAP hBitmap);
// The header and the pixel rows (bottom-up, as GetDIBits gives them) of a
// 32-bit bitmap, in new[] buffers the caller deletes. FALSE for other depths.
BOOL AFXAPI GetBitmap32Bits(HDC hdc, HBITMAP hBitmap, BITMAPINFO** ppbmi, BYTE** ppBits, UINT* pnSize);
// A bottom-up 32-bit DIB section.
HBITMAP AFXAPI Create32BitDIBSection(HDC hdc, int cx, int cy, BYTE** ppBits = NULL);
inline HBITMAP CreateDIBSection32(HDC hdc, int cx, int cy, BYTE** ppBits = NULL)
{
    return Create32BitDIBSection(hdc, cx, cy, ppBits);
}
inline HBITMAP CreateBitmap32(int cx, int cy) { return Create32BitDIBSection(NULL, cx, cy, NULL); }
// Attaches a new 32-bit DIB section of that size to a bitmap object.
inline BOOL CreateBitmap32(CBitmap& bitmap, int cx, int cy)
{
    bitmap.DeleteObject();
    return bitmap.Attach(Create32BitDIBSection(NULL, cx, cy, NULL));
}
