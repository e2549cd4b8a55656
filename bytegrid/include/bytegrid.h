/*
 * Bytegrid: a hex-editor control in "bytegrid.dll".
 *
 * Loading the library registers the window class "BytegridWin" (a global
 * class, so any module of the process can create it); unloading it removes
 * the class again. The control shows an offset column, a hex pane and an
 * ASCII pane, keeps a caret, a selection, an insert/overwrite mode and an
 * undo history, and edits the file through a piece table over a read-only
 * mapping of the original, so even large files open at once and are never
 * copied whole into memory. Documents are limited to 0xFFFFFFFF bytes:
 * larger files are refused when loading and edits that would grow a
 * document past that size are refused.
 *
 * All messages are sent to the control window (SendMessage). Offsets travel
 * in WPARAM/LPARAM/LRESULT (pointer sized); the two search records keep the
 * 32-bit fields their callers fill in.
 */
#ifndef BYTEGRID_H
#define BYTEGRID_H

#include <windows.h>

#define BYTEGRID_DLLNAME "bytegrid.dll"
#define BYTEGRID_CLASSA "BytegridWin"
#define BYTEGRID_CLASSW L"BytegridWin"

/* ---- Caret, selection and view ---------------------------------------- */

/* Returns the caret offset (0 .. length). After BGM_SETSELECTION the caret
 * sits at the end of the selection. */
#define BGM_GETPOSITION 2116
/* wParam = offset: moves the caret there (clamped to the length) and drops
 * the selection. */
#define BGM_SETPOSITION 2120
/* wParam = start, lParam = length: selects length bytes from start (both
 * clamped to the document); the caret goes to the end of the selection. */
#define BGM_SETSELECTION 2123
/* Returns the start and the length of the selection (0 length: none). */
#define BGM_GETSELSTART 2124
#define BGM_GETSELLENGTH 2125
/* wParam = offset: scrolls the view so that the offset's row is visible. */
#define BGM_SCROLLTO 2155
/* Returns the document length in bytes. */
#define BGM_GETLENGTH 2156
/* Returns the offset of the first byte of the top visible row. */
#define BGM_GETFIRSTVISIBLE 2157
/* Returns how many whole rows of 16 bytes the window shows (at least 1). */
#define BGM_GETPAGEROWS 2159
/* Returns / sets the pane that has the caret (BGPANE_HEX or BGPANE_ASCII). */
#define BGM_GETPANE 2144
#define BGM_SETPANE 2145
#define BGPANE_HEX 0
#define BGPANE_ASCII 1

/* ---- Files ------------------------------------------------------------- */

/* Creates an empty, unmodified document with no file behind it. */
#define BGM_NEWFILE 2126
/* wParam = const char* (ANSI path): opens the file read-only and shows it.
 * Returns TRUE on success. On failure returns FALSE, keeps the document
 * shown before and BGM_GETLASTERROR tells why (ERROR_FILE_TOO_LARGE for a
 * file of 4 GiB or more). */
#define BGM_LOADFILE 2127
/* wParam = const char* (ANSI path): writes the document to the file through
 * a temporary file in the same folder that then replaces the target, so a
 * failed save leaves the file as it was. Saving over the file the document
 * was loaded from is supported. Returns TRUE on success (the document
 * becomes unmodified); FALSE otherwise with the reason in BGM_GETLASTERROR
 * (a read-only target is refused with ERROR_ACCESS_DENIED). */
#define BGM_SAVEFILE 2128
/* Returns the Win32 error code of the last operation that failed (load,
 * save, clipboard, edit), 0 when none failed yet. */
#define BGM_GETLASTERROR 2129
/* Returns nonzero when the document differs from the last load or save. */
#define BGM_ISMODIFIED 2136

/* ---- Options and mode --------------------------------------------------- */

/* wParam = BGO_* flags (replaces the previous set); returns the old set. */
#define BGM_SETOPTION 2141
/* Returns the current BGO_* flags. */
#define BGM_GETOPTION 2140
/* Send WM_NOTIFY notifications (BGN_*) to the parent. Off by default. */
#define BGO_NOTIFY 0x0001
/* Refuse every change of the bytes (typing, cut, paste, undo, redo). */
#define BGO_READONLY 0x0002

/* Returns nonzero in insert mode, 0 in overwrite mode (the default). */
#define BGM_GETMODEFLAG 2142
/* wParam nonzero: insert mode; 0: overwrite mode. */
#define BGM_SETMODEFLAG 2143

/* ---- Editing ----------------------------------------------------------- */

#define BGM_UNDO 2149
#define BGM_REDO 2150
#define BGM_CANUNDO 2151
#define BGM_CANREDO 2152
/* Returns nonzero when the clipboard holds data the control can paste and
 * the control is not read-only. */
#define BGM_CANPASTE 2134
/* Returns nonzero when there is a selection to copy or cut. */
#define BGM_CANCOPY 2174
/* Sent after WM_COPY, WM_CUT or WM_PASTE returned 0 (failed): the control
 * signals the failure to the user with a beep and returns the error code.
 * WM_COPY, WM_CUT and WM_PASTE return TRUE when they did their work.
 * Copy puts the selected bytes on the clipboard as text (hex digits from
 * the hex pane, the characters from the ASCII pane) and in the private
 * format BYTEGRID_CLIPFORMAT with the exact bytes; paste prefers the
 * private format, then text (from the hex pane, text made only of hex
 * digit pairs and blanks is read as bytes). */
#define BGM_CLIPBOARDFAILED 2175
#define BYTEGRID_CLIPFORMAT "Bytegrid Binary Data"

/* wParam = BGBYTES*: copies bytes of the document; returns the count. */
#define BGM_GETBYTES 2158
typedef struct BGBYTES {
    ULONGLONG offset; /* first byte to read */
    BYTE* buffer;     /* receives the bytes */
    DWORD count;      /* bytes wanted */
} BGBYTES;

/* ---- Search ------------------------------------------------------------ */

/* wParam = const BGFINDDATA*: stores a copy of the pattern for BGM_FINDNEXT.
 * Returns nonzero when accepted (a pattern of 1 .. 65536 bytes). */
#define BGM_SETFINDDATA 2170
typedef struct BGFINDDATA {
    const BYTE* pData; /* bytes to find */
    DWORD cbData;      /* their count */
    DWORD fSearchUp;   /* default direction */
    DWORD fMatchCase;  /* 0: ASCII letters match either case */
} BGFINDDATA;

/* wParam = BGFINDNEXT*: runs the stored search from dwStart. Down finds the
 * first match at or after dwStart; up finds the last match that begins
 * before dwStart (before the selection when dwStart is the end of the
 * selection, so repeating a search moves on). Returns nonzero when found
 * and stores the match offset in *pResult. The caret is not moved. */
#define BGM_FINDNEXT 2172
typedef struct BGFINDNEXT {
    DWORD* pResult; /* receives the match offset */
    DWORD dwStart;  /* where the search starts */
    DWORD fSearchUp;
} BGFINDNEXT;

/* ---- Notifications (WM_NOTIFY to the parent, with BGO_NOTIFY set) -------- */

/* The caret or the selection changed. */
#define BGN_POSCHANGED (-1024)
/* The modified state changed. */
#define BGN_MODIFIEDCHANGED (-1029)
/* The insert/overwrite mode changed. */
#define BGN_MODECHANGED (-1030)

/* lParam of the notifications: the header and the state after the change. */
typedef struct BGNOTIFY {
    NMHDR hdr;
    ULONGLONG position;  /* caret offset */
    ULONGLONG selStart;  /* selection start */
    ULONGLONG selLength; /* selection length, 0: none */
    BOOL modified;
    BOOL insertMode;
} BGNOTIFY;

#endif /* BYTEGRID_H */
