// Interface of the compare window library "pairview.dll".
//
// Loading the library registers the window class "CompareWin". A host creates
// a child window of that class and drives it with the four messages below;
// the library exports nothing.
#pragma once

#include <windows.h>

// Window class registered while the library is loaded.
#define COMPAREWIN_CLASSNAME "CompareWin"

// wParam: pointer to a CompareRequest, lParam: 0.
// Compares the two files synchronously, writes the result file and shows it.
// Returns 1 when the compare ran and its result is shown (empty when a side
// is missing), 0 otherwise: no request, out of memory, or a result file that
// could not be written or read back. A window shows one result; a second
// compare replaces the first.
//
// The result file stays the sender's: the window keeps it open while it shows
// it and lets go of it when it is destroyed or shows another result, so the
// sender can delete it then (a temporary result at the latest when the
// window is gone).
constexpr UINT WM_COMPAREWIN_COMPARE = 3000;
// wParam, lParam: 0. Returns exactly 1 when text is selected, else 0.
constexpr UINT WM_COMPAREWIN_CANCOPY = 56001;
// wParam, lParam: 0. Puts the selected text on the clipboard as CF_TEXT. Returns 0.
constexpr UINT WM_COMPAREWIN_COPY = 56002;
// wParam, lParam: 0. Selects the whole result. Returns 0.
constexpr UINT WM_COMPAREWIN_SELECTALL = 56003;

// The record WM_COMPAREWIN_COMPARE points to. The sender owns the record and
// the three NUL-terminated ANSI paths; they stay valid until the message returns.
struct CompareRequest {
    const char* firstPath;  // first file (or folder)
    const char* secondPath; // second file (or folder)
    const char* resultPath; // result file; created or overwritten by the compare
};

// Row markers of the result file: every row starts with one of these.
#define COMPAREWIN_MARK_COMMON "    "
#define COMPAREWIN_MARK_FIRSTONLY " <! "
#define COMPAREWIN_MARK_SECONDONLY " !> "
#define COMPAREWIN_MARK_MOVEDFROM " <- "
#define COMPAREWIN_MARK_MOVEDTO " -> "
