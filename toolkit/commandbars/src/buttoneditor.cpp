// buttoneditor.cpp - the picture model of the button image editor: tools,
// strokes, undo and redo, moves, and the drawing area's cells.
#include <qx/buttoneditor.h>

#include <algorithm>
#include <cstdlib>

int QxpEditorCellSize(int nAreaLength, int nPictureLength)
{
    if (nPictureLength <= 0)
        return 1;
    return std::max(1, nAreaLength / nPictureLength);
}

CQXPImageEditorModel::CQXPImageEditorModel(int nWidth, int nHeight)
    : m_picture(std::max(1, nWidth), std::max(1, nHeight)), m_previous(m_picture)
{
}

void CQXPImageEditorModel::SetPicture(const QXPEditorPicture& picture)
{
    m_picture = picture;
    m_previous = picture;
    m_undo.clear();
    m_redo.clear();
    m_bDrawing = FALSE;
}

void CQXPImageEditorModel::SetTool(int nTool)
{
    if (nTool < qxpToolPencil || nTool > qxpToolEllipse)
        return;
    if (nTool == qxpToolPick && m_nTool != qxpToolPick)
        m_nToolBeforePick = m_nTool;
    m_nTool = nTool;
}

void CQXPImageEditorModel::Record()
{
    m_redo.clear();
    if ((int)m_undo.size() >= kMaxUndo)
        m_undo.pop_front();
    m_undo.push_back(m_previous);
}

void CQXPImageEditorModel::BeginStroke(int x, int y)
{
    if (!m_picture.Contains(x, y))
        return;
    switch (m_nTool) {
    case qxpToolFill:
        m_previous = m_picture;
        FloodFill(x, y, m_clrSelected);
        Record();
        return;
    case qxpToolPick:
        m_clrSelected = m_picture.Get(x, y);
        m_nTool = m_nToolBeforePick >= 0 ? m_nToolBeforePick : qxpToolPencil;
        return;
    default:
        break;
    }
    m_previous = m_picture;
    // The pencil on a pixel of the drawing colour erases.
    m_clrStroke = m_picture.Get(x, y) == m_clrSelected ? QXP_EDITOR_TRANSPARENT : m_clrSelected;
    m_ptStart = {x, y};
    m_bDrawing = TRUE;
    StrokeTo(x, y);
}

void CQXPImageEditorModel::StrokeTo(int x, int y)
{
    if (!m_bDrawing)
        return;
    if (m_nTool == qxpToolPencil)
        m_picture.Set(x, y, m_clrStroke);
    else
        DrawShape(x, y);
}

void CQXPImageEditorModel::EndStroke()
{
    if (!m_bDrawing)
        return;
    m_bDrawing = FALSE;
    Record();
}

void CQXPImageEditorModel::DrawShape(int x, int y)
{
    QXPEditorPicture shape = m_previous;
    const COLORREF clr = m_clrSelected;
    if (m_nTool == qxpToolLine) {
        // Bresenham from the start cell to the current one.
        int x0 = m_ptStart.x, y0 = m_ptStart.y;
        int dx = std::abs(x - x0), dy = -std::abs(y - y0);
        int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1, err = dx + dy;
        for (;;) {
            shape.Set(x0, y0, clr);
            if (x0 == x && y0 == y)
                break;
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    } else {
        int left = std::min((int)m_ptStart.x, x), right = std::max((int)m_ptStart.x, x);
        int top = std::min((int)m_ptStart.y, y), bottom = std::max((int)m_ptStart.y, y);
        if (m_nTool == qxpToolRectangle) {
            for (int i = left; i <= right; i++) {
                shape.Set(i, top, clr);
                shape.Set(i, bottom, clr);
            }
            for (int j = top; j <= bottom; j++) {
                shape.Set(left, j, clr);
                shape.Set(right, j, clr);
            }
        } else {
            // Outline in the colour, inside transparent.
            const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
            const double rx = (right - left) / 2.0 + 0.5, ry = (bottom - top) / 2.0 + 0.5;
            auto inside = [&](int i, int j) {
                double u = (i - cx) / rx, v = (j - cy) / ry;
                return u * u + v * v <= 1.0;
            };
            for (int j = top; j <= bottom; j++)
                for (int i = left; i <= right; i++) {
                    if (!inside(i, j))
                        continue;
                    BOOL bEdge = !inside(i - 1, j) || !inside(i + 1, j) || !inside(i, j - 1) || !inside(i, j + 1);
                    shape.Set(i, j, bEdge ? clr : QXP_EDITOR_TRANSPARENT);
                }
        }
    }
    m_picture = shape;
}

void CQXPImageEditorModel::FloodFill(int x, int y, COLORREF clr)
{
    const COLORREF clrOld = m_picture.Get(x, y);
    if (clrOld == clr)
        return;
    std::vector<POINT> stack = {{x, y}};
    while (!stack.empty()) {
        POINT pt = stack.back();
        stack.pop_back();
        if (!m_picture.Contains(pt.x, pt.y) || m_picture.Get(pt.x, pt.y) != clrOld)
            continue;
        m_picture.Set(pt.x, pt.y, clr);
        stack.push_back({pt.x + 1, pt.y});
        stack.push_back({pt.x - 1, pt.y});
        stack.push_back({pt.x, pt.y + 1});
        stack.push_back({pt.x, pt.y - 1});
    }
}

void CQXPImageEditorModel::Clear()
{
    m_previous = m_picture;
    m_picture = QXPEditorPicture(m_picture.nWidth, m_picture.nHeight, m_picture.bAlpha);
    Record();
}

void CQXPImageEditorModel::Move(int dx, int dy)
{
    m_previous = m_picture;
    QXPEditorPicture moved(m_picture.nWidth, m_picture.nHeight, m_picture.bAlpha);
    for (int y = 0; y < m_picture.nHeight; y++)
        for (int x = 0; x < m_picture.nWidth; x++)
            moved.Set(x + dx, y + dy, m_picture.Get(x, y), m_picture.GetAlpha(x, y));
    m_picture = moved;
    Record();
}

void CQXPImageEditorModel::Replace(const QXPEditorPicture& picture)
{
    m_previous = m_picture;
    // The picture takes the alpha of what came in.
    QXPEditorPicture placed(m_picture.nWidth, m_picture.nHeight, picture.bAlpha);
    for (int y = 0; y < picture.nHeight; y++)
        for (int x = 0; x < picture.nWidth; x++)
            placed.Set(x, y, picture.Get(x, y), picture.GetAlpha(x, y));
    m_picture = placed;
    Record();
}

void CQXPImageEditorModel::Undo()
{
    if (m_undo.empty())
        return;
    m_redo.push_back(m_picture);
    m_picture = m_undo.back();
    m_undo.pop_back();
}

void CQXPImageEditorModel::Redo()
{
    if (m_redo.empty())
        return;
    m_undo.push_back(m_picture);
    m_picture = m_redo.back();
    m_redo.pop_back();
}
