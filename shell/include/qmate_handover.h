// The hand-over between the Explorer command and the editor.
//
// The extension writes the chosen paths as the values "1".."n" (REG_SZ, full
// path) of the key FilesToOpen under the editor's settings key, then posts
// WM_OPENFILESTOOPEN to the editor's main frame window, or starts the editor
// from QuillmatePath when none runs. The editor reads the list, opens each path
// and deletes the key. Both sides include this header so they agree on every
// name below.
#ifndef QMATE_HANDOVER_H
#define QMATE_HANDOVER_H

// Settings key of the editor, under HKEY_CURRENT_USER.
#define QM_REGKEY_APP "Software\\Fernbright\\Quillmate"
// The list of files handed over, a sub-key of QM_REGKEY_APP.
#define QM_REGKEY_FILESTOOPEN_NAME "FilesToOpen"
#define QM_REGKEY_FILESTOOPEN QM_REGKEY_APP "\\" QM_REGKEY_FILESTOOPEN_NAME
// REG_SZ value of QM_REGKEY_APP: full path of the editor program, written by
// the editor at every start.
#define QM_REGVAL_QUILLMATEPATH "QuillmatePath"
// Sub-key of QM_REGKEY_APP holding AppPath, ConfigPath and TidySettingsPath.
#define QM_REGKEY_SETTINGS QM_REGKEY_APP "\\Settings"
// Sub-key of QM_REGKEY_APP holding BackupFolder.
#define QM_REGKEY_BACKUPSETTINGS QM_REGKEY_APP "\\BackupSettings"

// Image name of the editor's process.
#define QM_EDITOR_IMAGE_NAME "Qmate.exe"
// Window class the editor's main frame registers. The Explorer command wakes
// only a window of this class, never a tool window or tooltip of the process.
#define QM_MAINFRAME_CLASS "FernbrightMainFrame"

// Posted (wParam 0, lParam 0) to the main frame when a new list is waiting.
#define WM_OPENFILESTOOPEN 0x0501

#endif
