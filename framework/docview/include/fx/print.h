// fx/print.h - CPrintInfo, the state of one print or preview job, and the
// printing device the print loop talks to.
#pragma once

#include "fx/wnd.h"
#include "fx/dvdefs.h"

class CPrintDialog;

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    // The page range (1-based). The maximum is 0xFFFF while unknown.
    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    // The pages chosen in the print dialog (the whole range unless a range
    // was chosen).
    UINT GetFromPage() const;
    UINT GetToPage() const;
    UINT GetOffsetPage() const;

    CPrintDialog* m_pPD;      // the print dialog (its m_pd holds the printer DC)
    BOOL m_bDirect;           // no print dialog (ID_FILE_PRINT_DIRECT)
    BOOL m_bPreview;          // a preview, not a print job
    BOOL m_bContinuePrinting; // cleared by OnPrepareDC to end the job
    UINT m_nCurPage;          // the page being printed or shown
    UINT m_nNumPreviewPages;  // 1 or 2 pages shown by the preview
    CString m_strPageDesc;    // "Page %u\nPages %u-%u\n"
    LPVOID m_lpUserData;
    CRect m_rectDraw; // the printable area of the page (logical units)
    // Print to file: the output file (asked for when empty and the dialog's
    // "Print to file" box was checked).
    CString m_strPrintToFile;
};

namespace fx {

// The device a print job runs on. The default takes the printer DC from
// the print dialog (or the selected / default printer) and drives the
// spooler with StartDoc ... EndDoc. A program or a test can install its own
// (a metafile, a file writer) with SetPrintDevice.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    // The DC for a job, or NULL to use the printer the user chose. bPreview:
    // the DC only answers measurements for a preview.
    virtual HDC CreatePrinterDC(BOOL bPreview);
    // TRUE when CreatePrinterDC gave a DC (the printer dialog is then
    // skipped).
    virtual BOOL ProvidesDC() const { return FALSE; }
    virtual int StartDoc(HDC hDC, const DOCINFOA* pDocInfo);
    virtual int StartPage(HDC hDC);
    virtual int EndPage(HDC hDC);
    virtual int EndDoc(HDC hDC);
    virtual int AbortDoc(HDC hDC);
};

// Installs a device (NULL: the default); returns the previous one. The
// caller keeps ownership.
PrintDevice* SetPrintDevice(PrintDevice* pDevice);
PrintDevice* GetPrintDevice();
// TRUE when a job has somewhere to go: the installed device gives DCs, or
// the system has a printer.
BOOL IsPrintingAvailable();

// The "Printing" box of a running job (NULL when none is shown).
HWND GetPrintAbortWindow();

} // namespace fx
