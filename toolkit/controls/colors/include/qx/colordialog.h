// qx/colordialog.h - the "Colors" dialog of the colour selector's "More
// Colors..." button: a modal property sheet with a "Standard" page (a
// honeycomb of 144 colours) and a "Custom" page (a hue/saturation field, a
// luminance bar and six numeric fields), the new colour above the current
// one beside the pages, and optionally the new colour as hexadecimal text
// (edit 101).
//
// Sheet and pages keep in step with QXWM_UPDATECOLOR: a page's controls send
// it to their page (wParam the colour, or 0 with lParam the sending control),
// the page passes the colour to the dialog's SetNewColor. The dialog's pages
// are laid out by the resources QX_IDD_COLOR_STANDARD and
// QX_IDD_COLOR_CUSTOM (toolkit/resources).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colordata.h>

#include <vector>

#define QXWM_UPDATECOLOR 0x2742

// Dialog styles (also the colour selector's 0x60 flags).
#define CDS_SHOWHEX 0x20  // show the hexadecimal text field
#define CDS_3DSWATCH 0x40 // a 3-D frame round the swatch

class CQXColorDialog;

// ---------------------------------------------------------------------------
// The honeycomb of the standard page.
class CColorHexagonCtrl : public CStatic {
public:
    CColorHexagonCtrl();
    ~CColorHexagonCtrl() override;

    // Stores the selection; with cells, marks the cell of that colour.
    void SetSelectedColor(COLORREF clr);
    COLORREF GetSelectedColor() const { return m_clrSelected; }
    BOOL IsStandardColor(COLORREF clr) const { return IsHoneycombColor(clr); }
    // Selects the cell under a point (client coordinates): nothing off the
    // cells or for the colour already selected.
    void SelectAt(int x, int y);
    // The cell the arrow keys start from: the selected colour's (white: the
    // centre cell, or the large one when the marker is on it), else black.
    int GetKeyCell() const;
    const std::vector<QxHoneycombCell>& GetCells() const { return m_cells; }
    BOOL IsMarkerSmall() const { return m_bMarkerSmall; }
    CPoint GetMarkerOrigin() const { return m_ptMarker; }
    void SetDialog(CQXColorDialog* pDialog) { m_pDialog = pDialog; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    // The colour of the cell under a point (-1 none); moves the marker there.
    COLORREF HitTest(int x, int y);
    void PaintCells(int cx, int cy);
    void DrawMarker(CDC* pDC, CPoint ptOrigin, BOOL bSmall);
    void DrawMarkers(CDC* pDC);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()

    CBitmap m_bmpCells; // the painted honeycomb, made on the first paint
    BOOL m_bTracking;
    BOOL m_bMarkerSmall;
    CPoint m_ptMarker;                    // the marked cell's first pixel
    COLORREF m_clrSelected;               // -1 none
    std::vector<QxHoneycombCell> m_cells; // from the first paint
    CQXColorDialog* m_pDialog;
};

// ---------------------------------------------------------------------------
// The custom page's hue/saturation field and luminance bar share the mouse:
// a press, a drag or a double click sets their point (and a double click
// ends the dialog with OK).
class CColorTrackCtrl : public CStatic {
public:
    // nFocusId: the focus-owner value while the control has the focus.
    explicit CColorTrackCtrl(int nFocusId);

    virtual void SetPoint(int x, int y) = 0;
    double GetHue() const { return m_dHue; }
    double GetSaturation() const { return m_dSaturation; }
    double GetLuminance() const { return m_dLuminance; }
    CPoint GetMarker() const { return m_ptMarker; }
    void SetDialog(CQXColorDialog* pDialog) { m_pDialog = pDialog; }
    // Which of the two controls has the focus: 0 none, 1 the field, 2 the bar.
    static int s_nFocusOwner;

    // With the focus: Enter or Space ends the dialog with OK, the arrow keys
    // the control moves by (MoveMarker) move its marker by one pixel.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Moves the marker by one pixel; FALSE for a direction the control
    // does not move in.
    virtual BOOL MoveMarker(int dx, int dy) = 0;
    void PreSubclassWindow() override;
    // Sends QXWM_UPDATECOLOR (0, this control) to the page.
    void NotifyPage();
    void EndDialogOK();

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

    const int m_nFocusId;
    double m_dHue;        // 0..1
    double m_dSaturation; // 0..1
    double m_dLuminance;  // 0..1
    CPoint m_ptMarker;
    CQXColorDialog* m_pDialog;
};

class CColorHueSatCtrl : public CColorTrackCtrl {
public:
    CColorHueSatCtrl() : CColorTrackCtrl(1) {}
    void SetHue(double dHue);
    void SetSaturation(double dSaturation);
    void SetHueSat(double dHue, double dSaturation);
    void SetPoint(int x, int y) override;

protected:
    BOOL MoveMarker(int dx, int dy) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    CBitmap m_bmpField; // hue across, saturation up; made on the first paint
};

class CColorLumBar : public CColorTrackCtrl {
public:
    CColorLumBar() : CColorTrackCtrl(2) {}
    void SetHueSat(double dHue, double dSaturation);
    void SetLuminance(double dLuminance);
    void SetPoint(int x, int y) override;
    // The bar: the client area less 4 pixels at top and bottom, 14 wide.
    CRect GetBarRect() const;

protected:
    BOOL MoveMarker(int dx, int dy) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// The pages.

class CColorPageStandard : public CPropertyPage {
public:
    explicit CColorPageStandard(CQXColorDialog* pDialog);

    CColorHexagonCtrl& GetHoneycomb() { return m_wndHexagon; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg LRESULT OnUpdateColor(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CColorHexagonCtrl m_wndHexagon;
    CQXColorDialog* m_pDialog;
};

class CColorPageCustom : public CPropertyPage {
public:
    explicit CColorPageCustom(CQXColorDialog* pDialog);

    BOOL OnSetActive() override;
    CColorHueSatCtrl& GetHueSat() { return m_wndHueSat; }
    CColorLumBar& GetLumBar() { return m_wndLum; }

    // Exchanged with the edits, each 0..255.
    int m_nRed, m_nBlue, m_nGreen, m_nHue, m_nLum, m_nSat;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnUpdateColor(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // An edit changed: reads them back (FALSE when the range check refused).
    void OnEditChange(int nID);
    // Passes the colour to the dialog and rewrites red, green and blue.
    void UpdateFromColor(COLORREF clr);
    COLORREF ColorFromHsl() const;
    // Writes the six numbers into the edits that show another number, with
    // their change notifications ignored.
    void WriteEdits();

    CColorHueSatCtrl m_wndHueSat;
    CColorLumBar m_wndLum;
    CQXColorDialog* m_pDialog;
    BOOL m_bWriting; // the page is writing its own edits
};

// ---------------------------------------------------------------------------
class CQXColorDialog : public CPropertySheet {
    DECLARE_DYNAMIC(CQXColorDialog)
public:
    CQXColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwStyle = 0, CWnd* pParent = NULL);
    ~CQXColorDialog() override;

    // Stores the new colour; on screen, fills the new half of the swatch and
    // the hex field; with bNotify, tells every page.
    void SetNewColor(COLORREF clr, BOOL bNotify = TRUE);
    COLORREF GetNewColor() const { return m_clrNew; }
    COLORREF GetCurrentColor() const { return m_clrCurrent; }
    DWORD GetDialogStyle() const { return m_dwStyle; }
    CColorPageStandard* GetStandardPage() const { return m_pPageStandard; }
    CColorPageCustom* GetCustomPage() const { return m_pPageCustom; }
    // The swatch halves (client coordinates), known after the first paint.
    const CRect& GetNewSwatch() const { return m_rcNew; }
    const CRect& GetCurrentSwatch() const { return m_rcCurrent; }

    BOOL OnInitDialog() override;

protected:
    // Places the tab control, OK and Cancel to its right, the hex field
    // under them, and shrinks the sheet.
    virtual void Layout();
    BOOL CreateHexField();
    void FillSwatch(CDC* pDC, const CRect& rc, COLORREF clr);

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    DWORD m_dwStyle; // CDS_SHOWHEX, CDS_3DSWATCH
    CEdit m_wndHex;  // id 101, with CDS_SHOWHEX
    CRect m_rcNew;
    CRect m_rcCurrent;
    COLORREF m_clrNew;
    COLORREF m_clrCurrent;
    CColorPageStandard* m_pPageStandard;
    CColorPageCustom* m_pPageCustom;
};
