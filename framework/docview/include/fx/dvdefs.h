// fx/dvdefs.h - numbers of the document/view half of the framework: frame,
// control-bar, splitter and mini-frame style bits, layout modes, help
// context bases, standard prompts and the print-preview command ids.
//
// Only #define lines: resource scripts may include this file.
#pragma once

// ---------------------------------------------------------------------------
// Frame window style bits (in the frame's window style).
#define FWS_ADDTOTITLE 0x00008000L  // the active document's title joins the caption
#define FWS_PREFIXTITLE 0x00004000L // "Document - Application" instead of "Application - Document"
#define FWS_SNAPTOBARS 0x00002000L  // the frame's size follows its bars

// Mini-frame style bits.
#define MFS_SYNCACTIVE 0x00000100L   // caption active together with the owner frame
#define MFS_4THICKFRAME 0x00000200L  // sizable frame without corner sizing
#define MFS_THICKFRAME 0x00000400L   // sizable frame
#define MFS_MOVEFRAME 0x00000800L    // the whole frame moves the window
#define MFS_BLOCKSYSMENU 0x00001000L // no system menu from the caption

// Splitter window style bits.
#define SPLS_DYNAMIC_SPLIT 0x0001 // split boxes; panes are made and removed by dragging
#define SPLS_INVERT_TRACKER 0x0002

// The style of a view made by a frame or splitter.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// ---------------------------------------------------------------------------
// Control-bar style bits (CControlBar::m_dwStyle).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L

#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L

#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L

#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL

#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of CControlBar::CalcDynamicLayout.
#define LM_STRETCH 0x01  // stretch to the full length
#define LM_HORZ 0x02     // horizontal, else vertical
#define LM_MRUWIDTH 0x04 // the most recently used width
#define LM_HORZDOCK 0x08 // docked along a horizontal edge
#define LM_VERTDOCK 0x10 // docked along a vertical edge
#define LM_LENGTHY 0x20  // the length given is the height
#define LM_COMMIT 0x40   // remember the result

// ---------------------------------------------------------------------------
// Help context bases: the help id of a command, a resource (frame or
// dialog), a prompt, a non-client area and a control.
#define HID_BASE_COMMAND 0x00010000UL
#define HID_BASE_RESOURCE 0x00020000UL
#define HID_BASE_PROMPT 0x00030000UL
#define HID_BASE_NCAREAS 0x00040000UL
#define HID_BASE_CONTROL 0x00050000UL
#define HID_BASE_DISPATCH 0x00060000UL

// ---------------------------------------------------------------------------
// Standard prompts (message boxes). The built-in English text is used when
// the program's string table has no string of that id.
#define AFX_IDP_INVALID_FILENAME 0xF100
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF101
#define AFX_IDP_FAILED_TO_SAVE_DOC 0xF102
#define AFX_IDP_ASK_TO_SAVE 0xF103
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF104
#define AFX_IDP_FILE_TOO_LARGE 0xF105
#define AFX_IDP_FAILED_TO_START_PRINT 0xF106
#define AFX_IDP_FAILED_TO_LAUNCH_HELP 0xF107
#define AFX_IDP_INTERNAL_FAILURE 0xF108
#define AFX_IDP_COMMAND_FAILURE 0xF109
#define AFX_IDP_FAILED_MEMORY_ALLOC 0xF10A
#define AFX_IDP_NO_PRINTER 0xF10B // no printer is installed

// Standard strings of the print and preview windows.
#define AFX_IDS_ONEPAGE 0xF018
#define AFX_IDS_TWOPAGE 0xF019
#define AFX_IDS_PRINTPAGENUM 0xF01A
#define AFX_IDS_PREVIEWPAGEDESC 0xF01B
#define AFX_IDS_PRINTFILTER 0xF01E
#define AFX_IDS_PRINTCAPTION 0xF01F
#define AFX_IDS_PRINTTOFILE 0xF020

// ---------------------------------------------------------------------------
// Print preview: the commands of its bar, and the bar's dialog template.
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306

#define AFX_IDD_PREVIEW_TOOLBAR 0x7802
// The "Printing" box shown while a job runs (its Cancel button is IDCANCEL).
#define AFX_IDC_PRINT_DOCNAME 0xE340
#define AFX_IDC_PRINT_PRINTERNAME 0xE341
#define AFX_IDC_PRINT_PORTNAME 0xE342
#define AFX_IDC_PRINT_PAGENUM 0xE343
