// The "CompareWin" window: shows a compare result file as a read-only text
// view whose rows are coloured by their markers, with a caret, keyboard and
// mouse selection and copying to the clipboard.
#pragma once

#include <windows.h>

namespace pairview {

// Registers and unregisters the window class for the given module.
bool RegisterCompareWinClass(HINSTANCE module);
void UnregisterCompareWinClass(HINSTANCE module);

LRESULT CALLBACK CompareWinProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace pairview
