// qx/toolkitres.h - the toolkit's own resources (toolkit/resources) read from
// the program's module: a string with the toolkit's built-in text as the
// fallback, a cursor with a system cursor as the fallback, a menu. The ids come with
// this header (qxresource.h).
//
// The program carries every toolkit resource; the fallbacks keep a module
// without them (a test program, a host that left them out) working.
#pragma once

#include <fx/fx.h>

#include <qxresource.h>

// The string of a toolkit id from the program's resources, or lpszDefault
// when the resources have none (or an empty one).
CString AFXAPI ToolkitString(UINT nID, LPCSTR lpszDefault);

// The cursor of a toolkit id from the program's resources (looked up through
// the framework's resource chain), or the system cursor lpszSystemCursor
// (IDC_...) when the resources have none; NULL when neither loads.
HCURSOR AFXAPI ToolkitCursor(UINT nID, LPCSTR lpszSystemCursor = NULL);

// The menu of a toolkit id from the program's resources (looked up through
// the framework's resource chain, as cursors are); NULL when no module of
// the chain has it. The caller destroys the menu.
HMENU AFXAPI ToolkitMenu(UINT nID);
