// qx/buttoneditor.h - the picture model of the button image editor, without
// windows: a picture of COLORREF pixels (QXP_EDITOR_TRANSPARENT marks
// transparent ones), the drawing tools, the undo and redo lists, and the
// drawing area's cell arithmetic.
#pragma once

#include <windows.h>

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

// A picture: nWidth x nHeight pixels, row by row.
struct QXPEditorPicture {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<COLORREF> pixels; // nWidth * nHeight

    QXPEditorPicture() = default;
    QXPEditorPicture(int cx, int cy) : nWidth(cx), nHeight(cy), pixels((size_t)(cx * cy), QXP_EDITOR_TRANSPARENT) {}
    BOOL Contains(int x, int y) const { return x >= 0 && y >= 0 && x < nWidth && y < nHeight; }
    COLORREF Get(int x, int y) const { return Contains(x, y) ? pixels[(size_t)(y * nWidth + x)] : QXP_EDITOR_TRANSPARENT; }
    void Set(int x, int y, COLORREF clr)
    {
        if (Contains(x, y))
            pixels[(size_t)(y * nWidth + x)] = clr;
    }
    bool operator==(const QXPEditorPicture& other) const
    {
        return nWidth == other.nWidth && nHeight == other.nHeight && pixels == other.pixels;
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
