// buttoneditordlg.cpp - the "Button Editor" dialog: the drawing area (the
// picture magnified), the preview at real size, the tools and move
// toolbars, the colour swatches, and the clipboard and file commands.
#include <qx/buttoneditor.h>
#include <qx/colors.h>
#include <qx/mousemanager.h>
#include <qx/resourcemgr.h>

#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

const COLORREF kChecker = RGB(235, 235, 235);

// The sixteen swatches, row by row: colour and the id of its name.
const struct {
    COLORREF clr;
    UINT nID;
} kSwatches[16] = {
    {RGB(0, 0, 0), 9900},
    {RGB(128, 128, 128), 9915},
    {RGB(128, 0, 0), 9908},
    {RGB(128, 128, 0), 9910},
    {RGB(0, 128, 0), 9911},
    {RGB(0, 128, 128), 9912},
    {RGB(0, 0, 128), 9905},
    {RGB(128, 0, 128), 9922},
    {RGB(255, 255, 255), 9939},
    {RGB(192, 192, 192), 9931},
    {RGB(255, 0, 0), 9916},
    {RGB(255, 255, 0), 9926},
    {RGB(0, 255, 0), 9927},
    {RGB(0, 255, 255), 9928},
    {RGB(0, 0, 255), 9913},
    {RGB(255, 0, 255), 9924},
};

// The tools toolbar, three rows of four, and the move toolbar; the images
// of bitmaps 9100/9101 come in this order.
const UINT kToolButtons[12] = {QX_IDS_EDITOR_PENCIL, QX_IDS_EDITOR_FILL, QX_IDS_EDITOR_UNDO, QX_IDS_EDITOR_REDO,
                               QX_IDS_EDITOR_PICK, QX_IDS_EDITOR_LINE, QX_IDS_EDITOR_COPY, QX_IDS_EDITOR_PASTE,
                               QX_IDS_EDITOR_RECTANGLE, QX_IDS_EDITOR_ELLIPSE, QX_IDS_EDITOR_CLEAR, QX_IDS_EDITOR_IMPORT};
const UINT kMoveButtons[4] = {QX_ID_EDITOR_MOVE_LEFT, QX_ID_EDITOR_MOVE_DOWN, QX_ID_EDITOR_MOVE_UP,
                              QX_ID_EDITOR_MOVE_RIGHT};

COLORREF Blend(COLORREF clrBase, COLORREF clr, BYTE a)
{
    auto channel = [&](int base, int c) { return base - a * (base - c) / 255; };
    return RGB(channel(GetRValue(clrBase), GetRValue(clr)), channel(GetGValue(clrBase), GetGValue(clr)),
               channel(GetBValue(clrBase), GetBValue(clr)));
}

DWORD Bgr(COLORREF clr) { return (DWORD)GetBValue(clr) | ((DWORD)GetGValue(clr) << 8) | ((DWORD)GetRValue(clr) << 16); }

// A window-sized 32-bit buffer to paint into, then copied to the window.
class PaintBuffer {
public:
    PaintBuffer(int cx, int cy) : m_cx(std::max(1, cx)), m_cy(std::max(1, cy))
    {
        BYTE* pBits = NULL;
        m_hBitmap = Create32BitDIBSection(NULL, m_cx, m_cy, &pBits);
        m_pBits = m_hBitmap ? (DWORD*)pBits : NULL;
        m_hdc = ::CreateCompatibleDC(NULL);
        m_hOld = m_hBitmap ? ::SelectObject(m_hdc, m_hBitmap) : NULL;
    }
    ~PaintBuffer()
    {
        if (m_hOld)
            ::SelectObject(m_hdc, m_hOld);
        ::DeleteDC(m_hdc);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    BOOL IsValid() const { return m_pBits != NULL; }
    HDC GetDC() const { return m_hdc; }
    void Fill(const RECT& rc, COLORREF clr)
    {
        ::GdiFlush();
        const DWORD px = Bgr(clr);
        for (int y = std::max(0, (int)rc.top); y < std::min(m_cy, (int)rc.bottom); y++)
            for (int x = std::max(0, (int)rc.left); x < std::min(m_cx, (int)rc.right); x++)
                At(x, y) = px;
    }
    // A pixel over the checkerboard of 4-pixel squares (or over clrBase).
    void Put(int x, int y, COLORREF clr, BYTE a, BOOL bChecker, COLORREF clrBase)
    {
        if (x < 0 || y < 0 || x >= m_cx || y >= m_cy)
            return;
        COLORREF base = bChecker ? ((((x / 4) + (y / 4)) & 1) ? kChecker : RGB(255, 255, 255)) : clrBase;
        At(x, y) = Bgr(a == 255 ? clr : Blend(base, clr, a));
    }
    // A picture with its top-left cell at (x0, y0), each pixel a cell of
    // szCell less nGap pixels at its top and left; transparent and partly
    // transparent pixels over the checkerboard, or over clrBase.
    void PutPicture(const QXPEditorPicture& picture, int x0, int y0, CSize szCell, int nGap, BOOL bChecker,
                    COLORREF clrBase)
    {
        ::GdiFlush();
        for (int y = 0; y < picture.nHeight; y++)
            for (int x = 0; x < picture.nWidth; x++) {
                const COLORREF clr = picture.Get(x, y);
                const BYTE a = clr == QXP_EDITOR_TRANSPARENT ? 0 : picture.GetAlpha(x, y);
                const int gx = szCell.cx > nGap ? nGap : 0, gy = szCell.cy > nGap ? nGap : 0;
                for (int py = y0 + y * szCell.cy + gy; py < y0 + (y + 1) * szCell.cy; py++)
                    for (int px = x0 + x * szCell.cx + gx; px < x0 + (x + 1) * szCell.cx; px++)
                        Put(px, py, clr, a, bChecker && a != 255, clrBase);
            }
    }
    void CopyTo(HDC hdc) { ::BitBlt(hdc, 0, 0, m_cx, m_cy, m_hdc, 0, 0, SRCCOPY); }

private:
    DWORD& At(int x, int y) { return m_pBits[(size_t)(m_cy - 1 - y) * m_cx + x]; } // bottom-up rows

    int m_cx, m_cy;
    HBITMAP m_hBitmap = NULL;
    DWORD* m_pBits = NULL;
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

void FrameRectColor(HDC hdc, const RECT& rc, COLORREF clr)
{
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FrameRect(hdc, &rc, hBrush);
    ::DeleteObject(hBrush);
}

// Paints a window through a buffer of its client size: paint(buffer, rc).
template <class Paint>
void PaintBuffered(CWnd* pWnd, Paint paint)
{
    CPaintDC dc(pWnd);
    CRect rc;
    pWnd->GetClientRect(&rc);
    PaintBuffer buffer(rc.Width(), rc.Height());
    if (!buffer.IsValid())
        return;
    paint(buffer, rc);
    buffer.CopyTo(dc.GetSafeHdc());
}

COLORREF ButtonFace() { return ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE); }

} // namespace

// ===========================================================================
// CQXPImageEditorPicker

BEGIN_MESSAGE_MAP(CQXPImageEditorPicker, CStatic)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CQXPImageEditorPicker::SetColor(COLORREF clr)
{
    m_clr = clr;
    if (::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

void CQXPImageEditorPicker::SetSelected(BOOL bSelected)
{
    m_bSelected = bSelected;
    if (::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

void CQXPImageEditorPicker::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    HDC hdc = dc.GetSafeHdc();
    if (m_clr == QXP_EDITOR_TRANSPARENT) {
        // White, with the top-left and bottom-right quarters grey.
        FrameRectColor(hdc, rc, RGB(255, 255, 255));
        HBRUSH hWhite = ::CreateSolidBrush(RGB(255, 255, 255)), hGrey = ::CreateSolidBrush(kChecker);
        CPoint c = rc.CenterPoint();
        ::FillRect(hdc, &rc, hWhite);
        RECT rcTL = {rc.left, rc.top, c.x, c.y}, rcBR = {c.x, c.y, rc.right, rc.bottom};
        ::FillRect(hdc, &rcTL, hGrey);
        ::FillRect(hdc, &rcBR, hGrey);
        ::DeleteObject(hWhite);
        ::DeleteObject(hGrey);
    } else {
        HBRUSH hBrush = ::CreateSolidBrush(m_clr);
        ::FillRect(hdc, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    if (m_bSelected) {
        FrameRectColor(hdc, rc, RGB(0, 0, 0));
        rc.DeflateRect(1, 1);
        FrameRectColor(hdc, rc, RGB(255, 255, 255));
    } else {
        FrameRectColor(hdc, rc, ToolkitColorManager::Instance()->GetColor(21));
    }
}

void CQXPImageEditorPicker::OnLButtonDown(UINT, CPoint)
{
    NMHDR hdr = {};
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    hdr.code = NM_CLICK;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_NOTIFY, hdr.idFrom, (LPARAM)&hdr);
}

// ===========================================================================
// CQXPImageEditorCanvas

BEGIN_MESSAGE_MAP(CQXPImageEditorCanvas, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CQXPImageEditorCanvas::~CQXPImageEditorCanvas() = default;

void CQXPImageEditorCanvas::Layout(int nPictureWidth, int nPictureHeight)
{
    ToolkitResourceManager* pResources = ToolkitResourceManager::Instance();
    const UINT cursors[4] = {QX_IDC_EDITOR_LINE, QX_IDC_EDITOR_PICK, QX_IDC_EDITOR_FILL, QX_IDC_EDITOR_PENCIL};
    for (int i = 0; i < 4; i++)
        if (!m_hCursors[i])
            m_hCursors[i] = pResources->LoadCursor(cursors[i]);
    CRect rc;
    GetClientRect(&rc);
    m_szCell.cx = QxpEditorCellSize(rc.Width(), nPictureWidth);
    m_szCell.cy = QxpEditorCellSize(rc.Height(), nPictureHeight);
    SetWindowPos(NULL, 0, 0, m_szCell.cx * nPictureWidth + 1, m_szCell.cy * nPictureHeight + 1,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CPoint CQXPImageEditorCanvas::CellAt(CPoint point) const
{
    return CPoint(point.x >= 0 ? point.x / m_szCell.cx : -1, point.y >= 0 ? point.y / m_szCell.cy : -1);
}

BOOL CQXPImageEditorCanvas::OnEraseBkgnd(CDC*) { return TRUE; }

void CQXPImageEditorCanvas::OnPaint()
{
    PaintBuffered(this, [&](PaintBuffer& buffer, const CRect& rc) {
        buffer.Fill(rc, RGB(255, 255, 255));
        // Each cell but its top and left line, which stay white.
        buffer.PutPicture(m_pDlg->GetModel().GetPicture(), 0, 0, m_szCell, 1, TRUE, 0);
        ::GdiFlush();
        FrameRectColor(buffer.GetDC(), rc, RGB(0, 0, 0));
    });
}

void CQXPImageEditorCanvas::OnLButtonDown(UINT, CPoint point)
{
    CQXPImageEditorModel& model = m_pDlg->GetModel();
    const CPoint cell = CellAt(point);
    if (!model.GetPicture().Contains(cell.x, cell.y))
        return;
    switch (model.GetTool()) {
    case qxpToolPick: {
        const COLORREF clr = model.GetPicture().Get(cell.x, cell.y);
        if (clr == QXP_EDITOR_TRANSPARENT) {
            m_pDlg->SelectSwatch(CQXPImageEditorDlg::kSwatchTransparent);
        } else {
            m_pDlg->GetSwatch(CQXPImageEditorDlg::kSwatchCustom)->SetColor(clr);
            m_pDlg->SelectSwatch(CQXPImageEditorDlg::kSwatchCustom);
        }
        model.BeginStroke(cell.x, cell.y); // back to the tool before
        m_pDlg->UpdateCommands();
        return;
    }
    case qxpToolFill:
        model.BeginStroke(cell.x, cell.y);
        m_pDlg->OnPictureChanged();
        return;
    default:
        break;
    }
    model.BeginStroke(cell.x, cell.y);
    SetCapture();
    m_pDlg->OnPictureChanged();
}

void CQXPImageEditorCanvas::OnMouseMove(UINT, CPoint point)
{
    CQXPImageEditorModel& model = m_pDlg->GetModel();
    if (!model.IsDrawing())
        return;
    const QXPEditorPicture& picture = model.GetPicture();
    CPoint cell = CellAt(point);
    cell.x = std::min(std::max(0, (int)cell.x), picture.nWidth - 1);
    cell.y = std::min(std::max(0, (int)cell.y), picture.nHeight - 1);
    if (model.GetTool() == qxpToolPencil && !picture.Contains(CellAt(point).x, CellAt(point).y))
        return; // the pencil paints only where the pointer is
    model.StrokeTo(cell.x, cell.y);
    m_pDlg->OnPictureChanged();
}

void CQXPImageEditorCanvas::OnLButtonUp(UINT, CPoint)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CQXPImageEditorCanvas::OnCaptureChanged(CWnd*)
{
    // However the capture went, the stroke ends as one edit.
    CQXPImageEditorModel& model = m_pDlg->GetModel();
    if (!model.IsDrawing())
        return;
    model.EndStroke();
    m_pDlg->OnPictureChanged();
}

BOOL CQXPImageEditorCanvas::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT) {
        HCURSOR hCursor = NULL;
        switch (m_pDlg->GetModel().GetTool()) {
        case qxpToolPencil:
            hCursor = m_hCursors[3];
            break;
        case qxpToolFill:
            hCursor = m_hCursors[2];
            break;
        case qxpToolPick:
            hCursor = m_hCursors[1];
            break;
        default:
            hCursor = m_hCursors[0];
            break;
        }
        if (hCursor) {
            ::SetCursor(hCursor);
            return TRUE;
        }
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

// ===========================================================================
// CQXPImageEditorPreview

BEGIN_MESSAGE_MAP(CQXPImageEditorPreview, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CQXPImageEditorPreview::OnEraseBkgnd(CDC*) { return TRUE; }

void CQXPImageEditorPreview::OnPaint()
{
    PaintBuffered(this, [&](PaintBuffer& buffer, const CRect& rc) {
        const COLORREF clrFace = ButtonFace();
        buffer.Fill(rc, clrFace);
        const QXPEditorPicture& picture = m_pDlg->GetModel().GetPicture();
        const int x0 = 10, y0 = (rc.Height() - picture.nHeight) / 2;
        buffer.PutPicture(picture, x0, y0, CSize(1, 1), 0, FALSE, clrFace);
        // A 3-pixel margin framed white and shadow, then the frame colours.
        ToolkitColorManager* pColors = ToolkitColorManager::Instance();
        CRect rcFrame(x0, y0, x0 + picture.nWidth, y0 + picture.nHeight);
        rcFrame.InflateRect(3, 3);
        ::GdiFlush();
        CDC* pDC = CDC::FromHandle(buffer.GetDC());
        pDC->Draw3dRect(rcFrame, RGB(255, 255, 255), pColors->GetColor(COLOR_BTNSHADOW));
        rcFrame.InflateRect(1, 1);
        pDC->Draw3dRect(rcFrame, pColors->GetColor(COLOR_3DSHADOW), pColors->GetColor(COLOR_3DHILIGHT));
    });
}

// ===========================================================================
// CQXPImageEditorDlg

BEGIN_MESSAGE_MAP(CQXPImageEditorDlg, CDialog)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

CQXPImageEditorDlg::CQXPImageEditorDlg(CWnd* pParent, BOOL bRegisterWithMouseManager)
    : CDialog(QX_IDD_BUTTON_EDITOR, pParent), m_model(16, 16), m_bRegisterWithMouseManager(bRegisterWithMouseManager),
      m_canvas(this), m_preview(this)
{
    LPCDLGTEMPLATEA pTemplate = ToolkitResourceManager::Instance()->LoadDialogTemplate(QX_IDD_BUTTON_EDITOR);
    if (pTemplate != NULL)
        InitModalIndirect(pTemplate, pParent);
}

CQXPImageEditorDlg::~CQXPImageEditorDlg()
{
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

void CQXPImageEditorDlg::SetPicture(const CQXPIconHandle& icon)
{
    QXPEditorPicture picture;
    if (QxpPictureFromIcon(icon, picture))
        m_model.SetPicture(picture);
}

void CQXPImageEditorDlg::SetPictureSize(int cx, int cy)
{
    m_model.SetPicture(QXPEditorPicture(std::max(1, cx), std::max(1, cy)));
}

BOOL CQXPImageEditorDlg::GetPicture(CQXPIconHandle& icon) const
{
    return QxpIconFromPicture(m_model.GetPicture(), icon);
}

CQXPImageEditorPicker* CQXPImageEditorDlg::GetSwatch(int nIndex)
{
    return nIndex >= 0 && nIndex <= kSwatchCustom ? &m_swatches[nIndex] : NULL;
}

void CQXPImageEditorDlg::SelectSwatch(int nIndex)
{
    if (nIndex < 0 || nIndex > kSwatchCustom)
        return;
    m_nSelectedSwatch = nIndex;
    for (int i = 0; i <= kSwatchCustom; i++)
        if (m_swatches[i].IsSelected() != (i == nIndex))
            m_swatches[i].SetSelected(i == nIndex);
    m_model.SetColor(m_swatches[nIndex].GetColor());
}

void CQXPImageEditorDlg::CreateToolBar(CToolBarCtrl& bar, UINT nCtrlPlace, const UINT* pIDs, int nCount,
                                       int nFirstImage)
{
    CRect rc(0, 0, 0, 0);
    if (CWnd* pPlace = GetDlgItem((int)nCtrlPlace)) {
        pPlace->GetWindowRect(&rc);
        ScreenToClient(&rc);
    }
    rc.OffsetRect(-7, -4);
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                          CCS_NORESIZE | CCS_NOPARENTALIGN;
    const int nPerRow = std::min(4, nCount);
    CRect rcBar(rc.left, rc.top, rc.left + nPerRow * 23 + 2, rc.top + ((nCount + 3) / 4) * 23 + 2);
    if (!bar.Create(dwStyle, rcBar, this, nCtrlPlace + 1000))
        return;
    bar.SetButtonStructSize(sizeof(TBBUTTON));
    bar.SendMessage(TB_SETIMAGELIST, 0, (LPARAM)m_hImages);
    bar.SetBitmapSize(CSize(16, 16));
    bar.SetButtonSize(CSize(23, 23));
    std::vector<TBBUTTON> buttons((size_t)nCount);
    for (int i = 0; i < nCount; i++) {
        TBBUTTON& b = buttons[(size_t)i];
        b.iBitmap = nFirstImage + i;
        b.idCommand = (int)pIDs[i];
        b.fsState = TBSTATE_ENABLED | ((i % 4 == 3) ? TBSTATE_WRAP : 0);
        b.fsStyle = BTNS_BUTTON;
    }
    bar.AddButtons(nCount, buttons.data());
}

BOOL CQXPImageEditorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The toolbar images: the alpha strip where image lists draw alpha,
    // else the strip masked on light grey.
    ToolkitResourceManager* pResources = ToolkitResourceManager::Instance();
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    HMODULE hComCtl = ::GetModuleHandleA("comctl32.dll");
    auto pGetVersion = hComCtl ? (DLLGETVERSIONPROC)(void*)::GetProcAddress(hComCtl, "DllGetVersion") : NULL;
    const BOOL bAlphaLists = pGetVersion && SUCCEEDED(pGetVersion(&version)) && version.dwMajorVersion >= 6;
    CBitmap bmStrip;
    if (bAlphaLists && pResources->LoadBitmap(&bmStrip, QX_IDB_EDITOR_TOOLS_ALPHA)) {
        m_hImages = ImageList_Create(16, 16, ILC_COLOR32, 16, 0);
        if (m_hImages)
            ImageList_Add(m_hImages, (HBITMAP)bmStrip.GetSafeHandle(), NULL);
    } else if (pResources->LoadBitmap(&bmStrip, QX_IDB_EDITOR_TOOLS)) {
        m_hImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 16, 0);
        if (m_hImages)
            ImageList_AddMasked(m_hImages, (HBITMAP)bmStrip.GetSafeHandle(), RGB(0xC0, 0xC0, 0xC0));
    }
    CreateToolBar(m_wndTools, QX_CID_EDITOR_TOOLS, kToolButtons, 12, 0);
    CreateToolBar(m_wndMove, QX_CID_EDITOR_MOVE, kMoveButtons, 4, 12);

    // The swatches on a 13-pixel grid from the top left of their place.
    CRect rcColors(0, 0, 0, 0);
    if (CWnd* pPlace = GetDlgItem(QX_CID_EDITOR_COLORS)) {
        pPlace->GetWindowRect(&rcColors);
        ScreenToClient(&rcColors);
    }
    for (int i = 0; i < 16; i++) {
        CRect rc(0, 0, 12, 12);
        rc.OffsetRect(rcColors.left + (i % 8) * 13, rcColors.top + (i / 8) * 13);
        m_swatches[i].Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, rc, this, kSwatches[i].nID);
        m_swatches[i].SetColor(kSwatches[i].clr);
    }
    m_swatches[kSwatchTransparent].SubclassDlgItem(QX_CID_EDITOR_TRANSPARENT, this);
    m_swatches[kSwatchTransparent].SetColor(QXP_EDITOR_TRANSPARENT);
    m_swatches[kSwatchCustom].SubclassDlgItem(QX_CID_EDITOR_CUSTOMCOLOR, this);
    m_swatches[kSwatchCustom].SetColor(RGB(255, 255, 255));
    SelectSwatch(0);

    m_canvas.SubclassDlgItem(QX_CID_EDITOR_CANVAS, this);
    m_canvas.Layout(m_model.GetPicture().nWidth, m_model.GetPicture().nHeight);
    if (m_preview.SubclassDlgItem(QX_CID_EDITOR_PREVIEW, this))
        m_preview.ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);

    if (m_bRegisterWithMouseManager)
        ToolkitMouseManager::GetInstance()->AddExcludedWindow(m_hWnd);
    UpdateCommands();
    return TRUE;
}

void CQXPImageEditorDlg::OnDestroy()
{
    if (m_bRegisterWithMouseManager)
        ToolkitMouseManager::GetInstance()->RemoveExcludedWindow(m_hWnd);
    CDialog::OnDestroy();
}

LRESULT CQXPImageEditorDlg::OnKickIdle(WPARAM, LPARAM)
{
    UpdateCommands();
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
    return 0;
}

void CQXPImageEditorDlg::UpdateCommands()
{
    if (!::IsWindow(m_wndTools.GetSafeHwnd()))
        return;
    for (int nTool = qxpToolPencil; nTool <= qxpToolEllipse; nTool++) {
        const int nID = QX_IDS_EDITOR_PENCIL + nTool;
        if (m_wndTools.IsButtonChecked(nID) != (m_model.GetTool() == nTool))
            m_wndTools.CheckButton(nID, m_model.GetTool() == nTool);
    }
    if (m_wndTools.IsButtonEnabled(QX_IDS_EDITOR_UNDO) != m_model.CanUndo())
        m_wndTools.EnableButton(QX_IDS_EDITOR_UNDO, m_model.CanUndo());
    if (m_wndTools.IsButtonEnabled(QX_IDS_EDITOR_REDO) != m_model.CanRedo())
        m_wndTools.EnableButton(QX_IDS_EDITOR_REDO, m_model.CanRedo());
}

void CQXPImageEditorDlg::OnPictureChanged()
{
    if (::IsWindow(m_canvas.GetSafeHwnd()))
        m_canvas.Invalidate(FALSE);
    if (::IsWindow(m_preview.GetSafeHwnd()))
        m_preview.Invalidate(FALSE);
    UpdateCommands();
}

BOOL CQXPImageEditorDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    if ((nID >= QX_IDS_EDITOR_PENCIL && nID <= QX_IDS_EDITOR_IMPORT) ||
        (nID >= QX_ID_EDITOR_MOVE_LEFT && nID <= QX_ID_EDITOR_MOVE_RIGHT)) {
        RunCommand(nID);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CQXPImageEditorDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr && pHdr->code == TTN_GETDISPINFOA) {
        // A button's tip: the part of its string after the newline.
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pHdr);
        CString strText = ToolkitResourceManager::Instance()->LoadString((UINT)pHdr->idFrom);
        int nNewLine = strText.Find('\n');
        if (nNewLine >= 0)
            strText = strText.Mid(nNewLine + 1);
        lstrcpynA(pInfo->szText, strText, (int)sizeof(pInfo->szText));
        pInfo->lpszText = pInfo->szText;
        return TRUE;
    }
    if (pHdr && pHdr->code == NM_CLICK) {
        for (int i = 0; i <= kSwatchCustom; i++) {
            if (pHdr->hwndFrom != m_swatches[i].GetSafeHwnd())
                continue;
            if (i == kSwatchCustom) {
                CColorDialog dlg(m_swatches[i].GetColor(), CC_FULLOPEN, this);
                if (dlg.DoModal() != IDOK)
                    return TRUE;
                m_swatches[i].SetColor(dlg.GetColor());
            }
            SelectSwatch(i);
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CQXPImageEditorDlg::RunCommand(UINT nID)
{
    if (nID >= QX_IDS_EDITOR_PENCIL && nID <= QX_IDS_EDITOR_ELLIPSE) {
        m_model.SetTool((int)(nID - QX_IDS_EDITOR_PENCIL));
        UpdateCommands();
        return;
    }
    switch (nID) {
    case QX_IDS_EDITOR_COPY:
        CopyPicture();
        return;
    case QX_IDS_EDITOR_PASTE:
        PastePicture();
        break;
    case QX_IDS_EDITOR_CLEAR:
        m_model.Clear();
        break;
    case QX_IDS_EDITOR_UNDO:
        m_model.Undo();
        break;
    case QX_IDS_EDITOR_REDO:
        m_model.Redo();
        break;
    case QX_IDS_EDITOR_IMPORT: {
        CString strFilter = ToolkitResourceManager::Instance()->LoadString(QX_IDS_PICTURE_FILTER);
        CFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, strFilter, this);
        if (dlg.DoModal() != IDOK)
            return;
        ImportFile(dlg.GetPathName());
        break;
    }
    case QX_ID_EDITOR_MOVE_LEFT:
        m_model.Move(-1, 0);
        break;
    case QX_ID_EDITOR_MOVE_DOWN:
        m_model.Move(0, 1);
        break;
    case QX_ID_EDITOR_MOVE_UP:
        m_model.Move(0, -1);
        break;
    case QX_ID_EDITOR_MOVE_RIGHT:
        m_model.Move(1, 0);
        break;
    default:
        return;
    }
    OnPictureChanged();
}

BOOL CQXPImageEditorDlg::ImportFile(LPCSTR lpszPath)
{
    const QXPEditorPicture& current = m_model.GetPicture();
    QXPEditorPicture loaded;
    if (!QxpLoadPictureFile(lpszPath, current.nWidth, current.nHeight, loaded)) {
        CString strText = ToolkitResourceManager::Instance()->LoadString(QX_IDS_PICTURE_UNREADABLE);
        strText.Replace("%1", lpszPath);
        AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_model.Replace(loaded);
    OnPictureChanged();
    return TRUE;
}

BOOL CQXPImageEditorDlg::CopyPicture()
{
    const QXPEditorPicture& picture = m_model.GetPicture();
    HBITMAP hBitmap = NULL;
    if (picture.bAlpha) {
        CQXPIconHandle icon;
        if (QxpIconFromPicture(picture, icon))
            hBitmap = icon.CopyAlphaBitmap();
    } else {
        // Transparent pixels in the button face.
        QXPEditorPicture flat = picture;
        const COLORREF clrFace = ButtonFace();
        for (COLORREF& clr : flat.pixels)
            if (clr == QXP_EDITOR_TRANSPARENT)
                clr = clrFace;
        flat.bAlpha = TRUE;
        flat.alpha.assign(flat.pixels.size(), 255);
        CQXPIconHandle icon;
        if (QxpIconFromPicture(flat, icon))
            hBitmap = icon.CopyAlphaBitmap();
    }
    if (!QxpOpenClipboardWithPicture(m_hWnd, hBitmap, picture.bAlpha))
        return FALSE;
    ::CloseClipboard();
    return TRUE;
}

BOOL CQXPImageEditorDlg::PastePicture()
{
    if (!::IsClipboardFormatAvailable(CF_BITMAP) || !::OpenClipboard(m_hWnd))
        return FALSE;
    BOOL bAlpha = ::IsClipboardFormatAvailable(QxpAlphaBitmapClipboardFormat());
    for (UINT nFormat = ::EnumClipboardFormats(0); nFormat && !bAlpha; nFormat = ::EnumClipboardFormats(nFormat)) {
        char szName[256] = "";
        if (::GetClipboardFormatNameA(nFormat, szName, (int)sizeof(szName)) > 1 && strstr(szName + 1, "DIB32"))
            bAlpha = TRUE;
    }
    const QXPEditorPicture& current = m_model.GetPicture();
    QXPEditorPicture pasted;
    HBITMAP hClip = (HBITMAP)::GetClipboardData(CF_BITMAP);
    BOOL bOk = hClip && QxpPictureFromBitmap(hClip, bAlpha, current.nWidth, current.nHeight, pasted);
    ::CloseClipboard();
    if (!bOk)
        return FALSE;
    if (!bAlpha) {
        const COLORREF clrFace = ButtonFace();
        for (COLORREF& clr : pasted.pixels)
            if (clr == clrFace)
                clr = QXP_EDITOR_TRANSPARENT;
    }
    m_model.Replace(pasted);
    return TRUE;
}
