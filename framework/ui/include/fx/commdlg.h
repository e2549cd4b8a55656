// fx/commdlg.h - the common dialogs: open/save, font, colour, print and page
// setup.
//
// CFileDialog is always Explorer-style with a hook: while the dialog runs,
// the object is attached to the dialog's child (its template, or an empty
// one), so a derived class can handle the child template's controls in its
// message map, fill them in OnInitDialog, and answer the dialog's
// notifications through OnFileNameOK, OnTypeChange and the others.
// GetParent() is then the dialog itself.
#pragma once

#include "fx/dialog.h"
#include "fx/coll.h"
#include <commdlg.h>
#include <vector>

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    void OnOK() override;
    void OnCancel() override;
};

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs "label|pattern|" ('|' separates; "||" may end it).
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL);
    ~CFileDialog() override;

    OPENFILENAMEA m_ofn;

    INT_PTR DoModal() override;

    // The chosen file (while the dialog runs: the current entry).
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const; // while the dialog runs
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    // Several files (OFN_ALLOWMULTISELECT): full paths one by one.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // The child template (Explorer form) from the resources.
    void SetTemplate(UINT nWin3ID, UINT nWin4ID);
    void SetTemplate(LPCSTR lpWin3ID, LPCSTR lpWin4ID);

    // While the dialog runs.
    void SetControlText(int nID, LPCSTR lpsz);
    void HideControl(int nID);
    void SetDefExt(LPCSTR lpsz);

protected:
    // The user confirmed a name: TRUE refuses it (the dialog stays open).
    virtual BOOL OnFileNameOK();
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    // The user chose another filter (m_ofn.nFilterIndex is the new one).
    virtual void OnTypeChange();
    virtual UINT OnShareViolation(LPCSTR lpszPathName);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    BOOL m_bOpenFileDialog;
    CString m_strFilter;
    CString m_strDefExt;
    char m_szFileTitle[MAX_PATH];
    std::vector<char> m_fileBuffer;

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    CString SendToDialog(UINT nMsg) const;
};

class CFontDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFontDialog)
public:
    explicit CFontDialog(LPLOGFONTA lplfInitial = NULL, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* pdcPrinter = NULL, CWnd* pParentWnd = NULL);
    CHOOSEFONTA m_cf;
    LOGFONTA m_lf;

    INT_PTR DoModal() override;
    void GetCurrentFont(LPLOGFONTA lplf);
    CString GetFaceName() const { return m_lf.lfFaceName; }
    CString GetStyleName() const { return m_szStyleName; }
    int GetSize() const { return m_cf.iPointSize; } // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return (int)m_lf.lfWeight; }
    BOOL IsStrikeOut() const { return m_lf.lfStrikeOut != 0; }
    BOOL IsUnderline() const { return m_lf.lfUnderline != 0; }
    BOOL IsBold() const { return m_lf.lfWeight == FW_BOLD; }
    BOOL IsItalic() const { return m_lf.lfItalic != 0; }

protected:
    char m_szStyleName[64];
};

class CColorDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);
    CHOOSECOLORA m_cc;

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr);
    // The sixteen custom colours, shared by every colour dialog.
    static COLORREF* PASCAL GetSavedCustomColors();
};

class CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = NULL);
    PRINTDLGA m_pd;

    INT_PTR DoModal() override;
    // The default printer without showing anything; FALSE without one.
    BOOL GetDefaults();

    int GetCopies() const;
    BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    LPDEVMODEA GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    HDC GetPrinterDC() const { return m_pd.hDC; }
    HDC CreatePrinterDC();
};

class CPageSetupDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPageSetupDialog)
public:
    explicit CPageSetupDialog(DWORD dwFlags = PSD_MARGINS | PSD_INWININIINTLMEASURE, CWnd* pParentWnd = NULL);
    PAGESETUPDLGA m_psd;

    INT_PTR DoModal() override;
    CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }
    void GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const;
    LPDEVMODEA GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    HDC CreatePrinterDC();
};
