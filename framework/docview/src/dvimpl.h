// Helpers shared by the sources of the document/view half.
#pragma once

#include "fx/docview.h"
#include "fx/app.h"

namespace fx {
namespace dv {

// The live frames of the process (registered by CFrameWnd's constructor).
void RegisterFrame(CFrameWnd* pFrame);
void UnregisterFrame(CFrameWnd* pFrame);
BOOL IsLiveFrame(const CFrameWnd* pFrame);

// TRUE when the module (or the resource handle) holds the resource.
BOOL HasResource(LPCSTR lpszName, LPCSTR lpszType);

// The application's main window when it is a frame.
CFrameWnd* MainFrame();

// The text of a string resource, or "" (no exception).
CString LoadStr(UINT nID);

// Owner chain: TRUE when hWndOwner owns hWnd (directly or through other
// owners or parents).
BOOL IsOwnedBy(HWND hWnd, HWND hWndOwner);

// The full path of a file name (the name itself when it cannot be made).
CString FullPath(LPCSTR lpszFileName);

// Deletes a frame object that never got a window (a failed LoadFrame
// whose window creation did not start).
void DeleteFrameWithoutWindow(CFrameWnd* pFrame);

} // namespace dv
} // namespace fx

class CPrintDialog;

namespace fx {
namespace dv {

// The selected printer (the application's m_hDevMode / m_hDevNames, or
// the module's own selection without them).
HGLOBAL& DevModeHandle();
HGLOBAL& DevNamesHandle();
// Defaults of the selected printer, else of the system's default printer
// (hDevMode / hDevNames filled, no DC). FALSE when there is no printer.
BOOL GetPrinterDefaults(PRINTDLGA* pPrintDlg);
// The print dialog with the selected printer; the choice is kept.
INT_PTR RunPrintDialog(CPrintDialog* pPD);
// The application's DoPrintDialog when it has one.
INT_PTR AppDoPrintDialog(CPrintDialog* pPD);
// The number of preview pages the application wants (0: decide).
UINT AppPreviewPages();

} // namespace dv
} // namespace fx
