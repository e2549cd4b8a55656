// qx/buttoneditor.h - the button image editor: the picture model without
// windows (a picture of COLORREF pixels, QXP_EDITOR_TRANSPARENT marking
// transparent ones; the drawing tools; the undo and redo lists; the drawing
// area's cell arithmetic), the conversions between pictures and the image
// manager's icons, picture files, and the "Button Editor" dialog.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/images.h>

#include <deque>
#include <vector>

// Transparent pixels of button pictures; never a drawing colour of its own.
const COLORREF QXP_EDITOR_TRANSPARENT = RGB(0xFF, 0xFE, 0xFF);

// The tools (command id = the first tool string's id + the tool's number).
enum QXPEditorTool {
    qxpToolPencil = 0,
    qxpToolFill = 1,
    qxpToolPick = 2,
    qxpToolLine = 3,
    qxpToolRectangle = 4,
    qxpToolEllipse = 5,
};

// A picture: nWidth x nHeight pixels, row by row. An alpha picture (bAlpha)
// also keeps an opacity per pixel: drawing makes a pixel opaque, erasing
// it (QXP_EDITOR_TRANSPARENT) clear. Without alpha, opacity follows the
// colour.
struct QXPEditorPicture {
    int nWidth = 0;
    int nHeight = 0;
    BOOL bAlpha = FALSE;
    std::vector<COLORREF> pixels; // nWidth * nHeight
    std::vector<BYTE> alpha;      // nWidth * nHeight when bAlpha

    QXPEditorPicture() = default;
    QXPEditorPicture(int cx, int cy, BOOL bWithAlpha = FALSE)
        : nWidth(cx), nHeight(cy), bAlpha(bWithAlpha), pixels((size_t)(cx * cy), QXP_EDITOR_TRANSPARENT)
    {
        if (bAlpha)
            alpha.assign(pixels.size(), 0);
    }
    BOOL Contains(int x, int y) const { return x >= 0 && y >= 0 && x < nWidth && y < nHeight; }
    COLORREF Get(int x, int y) const { return Contains(x, y) ? pixels[(size_t)(y * nWidth + x)] : QXP_EDITOR_TRANSPARENT; }
    BYTE GetAlpha(int x, int y) const
    {
        if (!Contains(x, y))
            return 0;
        if (bAlpha)
            return alpha[(size_t)(y * nWidth + x)];
        return Get(x, y) == QXP_EDITOR_TRANSPARENT ? 0 : 255;
    }
    void Set(int x, int y, COLORREF clr) { Set(x, y, clr, clr == QXP_EDITOR_TRANSPARENT ? 0 : 255); }
    void Set(int x, int y, COLORREF clr, BYTE a)
    {
        if (!Contains(x, y))
            return;
        pixels[(size_t)(y * nWidth + x)] = clr;
        if (bAlpha)
            alpha[(size_t)(y * nWidth + x)] = a;
    }
    bool operator==(const QXPEditorPicture& other) const
    {
        return nWidth == other.nWidth && nHeight == other.nHeight && bAlpha == other.bAlpha &&
               pixels == other.pixels && alpha == other.alpha;
    }
};

// The size of one cell of the drawing area: the area divided by the
// picture, never below one pixel (a picture larger than the area still
// gets one pixel per cell).
int QxpEditorCellSize(int nAreaLength, int nPictureLength);

// The editing state: the picture, the tool, the colours and the lists. At
// most 16 steps can be undone; a new edit empties the redo list.
class CQXPImageEditorModel {
public:
    static const int kMaxUndo = 16;

    explicit CQXPImageEditorModel(int nWidth = 16, int nHeight = 16);

    const QXPEditorPicture& GetPicture() const { return m_picture; }
    // A new picture: the lists are emptied.
    void SetPicture(const QXPEditorPicture& picture);

    int GetTool() const { return m_nTool; }
    // Choosing Pick remembers the tool it returns to.
    void SetTool(int nTool);
    COLORREF GetColor() const { return m_clrSelected; }
    void SetColor(COLORREF clr) { m_clrSelected = clr; }

    // A press on a cell with the current tool; the drag goes on with
    // StrokeTo and ends with EndStroke (which records the edit). Fill and
    // Pick act at once.
    void BeginStroke(int x, int y);
    void StrokeTo(int x, int y);
    void EndStroke();
    BOOL IsDrawing() const { return m_bDrawing; }

    void Clear();
    // Shifts the picture one pixel (dx, dy); what leaves it is lost.
    void Move(int dx, int dy);
    // Replaces the picture with one loaded elsewhere (a paste, an import),
    // as one edit; a picture of another size is drawn at the top left.
    void Replace(const QXPEditorPicture& picture);

    BOOL CanUndo() const { return !m_undo.empty(); }
    BOOL CanRedo() const { return !m_redo.empty(); }
    void Undo();
    void Redo();
    int GetUndoCount() const { return (int)m_undo.size(); }

private:
    void Record();
    void DrawShape(int x, int y);
    void FloodFill(int x, int y, COLORREF clr);

    QXPEditorPicture m_picture;
    QXPEditorPicture m_previous; // before the current edit
    std::deque<QXPEditorPicture> m_undo;
    std::vector<QXPEditorPicture> m_redo;
    int m_nTool = qxpToolPencil;
    int m_nToolBeforePick = -1;
    COLORREF m_clrSelected = RGB(0, 0, 0);
    COLORREF m_clrStroke = RGB(0, 0, 0);
    BOOL m_bDrawing = FALSE;
    POINT m_ptStart = {0, 0};
};

// ---------------------------------------------------------------------------
// Pictures and the image manager's icons, bitmaps and files.

// The picture of an icon at its own size: an alpha bitmap keeps its alpha
// (pixels whose 32 bits are all 0 become transparent), an icon is drawn on
// a transparent background. FALSE for an empty or unreadable handle.
BOOL AFXAPI QxpPictureFromIcon(const CQXPIconHandle& icon, QXPEditorPicture& picture);
// The icon of a picture: an alpha picture gives a 32-bit alpha bitmap, any
// other an icon whose transparent pixels are masked. FALSE when none could
// be made (the caller keeps its old image).
BOOL AFXAPI QxpIconFromPicture(const QXPEditorPicture& picture, CQXPIconHandle& icon);
// A bitmap drawn at the top left of a transparent picture of cx x cy
// (bAlpha: its alpha channel counts).
BOOL AFXAPI QxpPictureFromBitmap(HBITMAP hBitmap, BOOL bAlpha, int cx, int cy, QXPEditorPicture& picture);
// A picture file at cx x cy, by its lower-cased extension: "ico" as an
// alpha icon of that width, else as any icon scaled to it; "bmp" and "png"
// as bitmaps drawn at the top left; anything else through the system's
// picture loader, scaled to the size. A missing, empty, truncated, damaged
// or mistyped file gives FALSE and leaves the picture as it was.
BOOL AFXAPI QxpLoadPictureFile(LPCSTR lpszPath, int cx, int cy, QXPEditorPicture& picture);

// The registered clipboard format "Alpha Bitmap Image": a one-byte marker
// that the bitmap beside it carries alpha.
UINT AFXAPI QxpAlphaBitmapClipboardFormat();
// Opens and empties the clipboard and puts a button picture on it
// (CF_BITMAP, which the clipboard then owns, and the marker when bAlpha);
// the clipboard stays open for more formats when TRUE is returned. On
// FALSE the bitmap is freed and the clipboard closed.
BOOL AFXAPI QxpOpenClipboardWithPicture(HWND hOwner, HBITMAP hBitmap, BOOL bAlpha);

// ---------------------------------------------------------------------------
// The "Button Editor" dialog.

class CQXPImageEditorDlg;

// One colour swatch; a click tells the parent (WM_NOTIFY, NM_CLICK).
class CQXPImageEditorPicker : public CStatic {
public:
    COLORREF GetColor() const { return m_clr; }
    void SetColor(COLORREF clr);
    BOOL IsSelected() const { return m_bSelected; }
    void SetSelected(BOOL bSelected);

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    COLORREF m_clr = RGB(0, 0, 0);
    BOOL m_bSelected = FALSE;
};

// The drawing area: the picture magnified, one cell per pixel.
class CQXPImageEditorCanvas : public CStatic {
public:
    explicit CQXPImageEditorCanvas(CQXPImageEditorDlg* pDlg) : m_pDlg(pDlg) {}
    ~CQXPImageEditorCanvas() override;
    // Sizes the cells for the picture and fits the window to them.
    void Layout(int nPictureWidth, int nPictureHeight);
    CSize GetCellSize() const { return m_szCell; }
    // The cell under a client point.
    CPoint CellAt(CPoint point) const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    CQXPImageEditorDlg* m_pDlg;
    CSize m_szCell = CSize(1, 1);
    HCURSOR m_hCursors[4] = {}; // line, pick, fill, pencil (loaded, owned)
};

// The picture at its real size.
class CQXPImageEditorPreview : public CStatic {
public:
    explicit CQXPImageEditorPreview(CQXPImageEditorDlg* pDlg) : m_pDlg(pDlg) {}

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CQXPImageEditorDlg* m_pDlg;
};

class CQXPImageEditorDlg : public CDialog {
public:
    // Swatches: 0..15 the standard colours, then the transparent and the
    // custom-colour swatch.
    static const int kSwatchTransparent = 16;
    static const int kSwatchCustom = 17;

    explicit CQXPImageEditorDlg(CWnd* pParent = NULL, BOOL bRegisterWithMouseManager = TRUE);
    ~CQXPImageEditorDlg() override;

    // The picture to edit: an icon (its size is the picture's), or an
    // empty one of a size.
    void SetPicture(const CQXPIconHandle& icon);
    void SetPictureSize(int cx, int cy);
    // The edited picture as an icon; FALSE when none could be made.
    BOOL GetPicture(CQXPIconHandle& icon) const;

    CQXPImageEditorModel& GetModel() { return m_model; }
    CQXPImageEditorCanvas& GetCanvas() { return m_canvas; }
    CToolBarCtrl& GetToolsBar() { return m_wndTools; }
    CToolBarCtrl& GetMoveBar() { return m_wndMove; }
    CQXPImageEditorPicker* GetSwatch(int nIndex);
    int GetSelectedSwatch() const { return m_nSelectedSwatch; }
    void SelectSwatch(int nIndex);

    // The commands of the toolbars (tools, copy, paste, clear, undo,
    // redo, import, moves).
    void RunCommand(UINT nID);
    // Import from File without the file dialog: FALSE (and a message)
    // when the file cannot be read; the picture is then unchanged.
    BOOL ImportFile(LPCSTR lpszPath);
    BOOL CopyPicture();
    BOOL PastePicture();
    // Repaints the drawing area and the preview and sets the buttons'
    // states after a change.
    void OnPictureChanged();
    void UpdateCommands();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnDestroy();
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    void CreateToolBar(CToolBarCtrl& bar, UINT nCtrlPlace, const UINT* pIDs, int nCount, int nFirstImage);

    CQXPImageEditorModel m_model;
    BOOL m_bRegisterWithMouseManager;
    CQXPImageEditorCanvas m_canvas;
    CQXPImageEditorPreview m_preview;
    CQXPImageEditorPicker m_swatches[18];
    int m_nSelectedSwatch = 0;
    CToolBarCtrl m_wndTools;
    CToolBarCtrl m_wndMove;
    HIMAGELIST m_hImages = NULL;
};
