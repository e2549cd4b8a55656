// Resource ids of the document/view tests (used by the tests and their
// resource script).
#pragma once

#define IDR_MAINFRAME 100
#define IDR_TEXTTYPE 200
#define IDR_DATATYPE 300
#define IDR_NOMENU 400 // a string and an icon, no menu
#define IDD_TEST_PREVIEWBAR 500
#define IDR_TESTBAR 600 // a tool bar: 3 buttons and a separator
#define IDR_BADBAR 601  // a tool bar resource shorter than it says
#define IDR_MASKBAR 602 // two 16x16 images on magenta

#define ID_TEST_ROUTE 32800 // handled at every level of the routing
#define ID_TEST_FRAMECMD 32801
#define ID_TEST_VIEWCMD 32802
#define ID_TEST_DOCCMD 32803
#define ID_TEST_APPCMD 32804
#define ID_TEST_ACCEL 32805      // Ctrl+T in the main frame's table
#define ID_TEST_CHILDACCEL 32806 // Ctrl+K in the text template's table
#define ID_TEST_NOHANDLER 32807
#define ID_TEST_WIDETIP 32808 // a tool tip in Japanese, Greek and U+1F600
#define ID_TEST_LONGTIP 32809 // a tool tip of 30 Japanese characters (90 bytes in UTF-8)
