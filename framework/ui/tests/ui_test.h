// Resource ids of the window-half tests.
#pragma once

#define IDD_EXCHANGE 100
#define IDC_NAME 1000
#define IDC_COUNT 1001
#define IDC_UNITS 1002
#define IDC_RATIO 1003
#define IDC_FLAG 1004
#define IDC_RADIO1 1005
#define IDC_RADIO2 1006
#define IDC_RADIO3 1007
#define IDC_COMBO 1008
#define IDC_LIST 1009
#define IDC_LIMITED 1010
#define IDC_LONGVAL 1011

#define IDD_PAGE1 110
#define IDD_PAGE2 111
#define IDD_PAGE3 112
#define IDC_PAGE_VALUE 1100

#define IDD_FILE_CHILD 120
#define IDC_VIEW_AS 801

#define IDR_APP_MENU 130
#define IDM_APP_DIALOG 40001
#define IDM_APP_SHEET 40002
#define IDM_APP_EXIT 40003
#define IDS_PAGE3_CAPTION 140
