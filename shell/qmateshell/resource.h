// Resource ids of QmateShell.dll.
#define IDS_PROJNAME 100
#define IDR_QMATESHELL 101 // application-id registry script
#define IDR_LOAD 102       // class registry script
#define IDB_MENU 201       // 14 x 14 menu bitmap
