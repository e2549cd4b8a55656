// backup.h - backup copies of saved documents.
//
// Before a document is saved over its file, the file as it is on disk is
// copied into a numbered folder of its own under the backup root:
//   <root>\<folder number>\<copy number>
// The registry section "BackupFolders" maps each document path to its folder
// number, and each folder number (in decimal) to the number its next copy
// receives; "BackupSettings"\"NextFolderId" is the number the next new path
// gets. Copy numbers keep rising and are never reused within a folder.
#pragma once

#include <windows.h>
#include <ctime>
#include <vector>

#include "fx/string.h"

// The backup settings ("BackupSettings" section) as the main frame keeps them.
struct CBackupSettings {
    CBackupSettings();

    int enabled;      // "Enabled", default 1
    int versions;     // "Versions", default 1: copies kept per document
    int deleteOnExit; // "DeleteOnExit", default 0
    CString folder;   // "BackupFolder"; empty = DefaultFolder()

    // Reads the four values; an empty folder becomes DefaultFolder().
    void Load();
    // Writes them back in the order DeleteOnExit, Enabled, BackupFolder, Versions.
    void Save() const;
    // "backup" beside the program: the folder part of "QuillmatePath" at the
    // root of the application key followed by "backup" ("backup" alone
    // when the value is missing).
    static CString DefaultFolder();
};

// One copy in a document's backup folder.
struct CBackupEntry {
    time_t time;  // creation time of the copy (UTC)
    int number;   // its copy number
    CString path; // full path of the copy
};

class CBackupStore {
public:
    // The settings are the caller's (normally the main frame's record) and
    // are read at every call; NULL means backups are off.
    explicit CBackupStore(const CBackupSettings* pSettings = NULL);
    void SetSettings(const CBackupSettings* pSettings) { m_pSettings = pSettings; }

    // Binds the store to a document path (giving the path a folder number
    // the first time) and lists the copies in its folder, oldest first; then
    // prunes. Does nothing while backups are disabled.
    void Open(LPCSTR lpszDocumentPath);
    // Copies the document's file into its folder as the next copy, then
    // drops the oldest copies beyond Versions. With Versions below 1 no copy
    // is made. FALSE when the copy failed, after g_szBackupFailedMessage
    // when bReport is set (a caller that reports it itself passes FALSE).
    BOOL BackupFile(LPCSTR lpszPathBeingSaved = NULL, BOOL bReport = TRUE);
    // Deletes the oldest copies beyond Versions; with backups disabled the
    // store is unbound first.
    void Prune();
    // With DeleteOnExit set: forgets the document's folder number and copy
    // counter and deletes its copies and folder.
    void DeleteOnClose();
    BOOL IsEnabled() const;
    void Reset();

    int GetCount() const { return (int)m_versions.size(); }
    CBackupEntry GetEntry(int i) const;
    CString GetDocumentPath() const { return m_documentPath; }
    CString GetFolder() const { return m_folder; }
    int GetFolderId() const { return m_folderId; }

    // Deletes every backup: the section "BackupFolders", NextFolderId back
    // to 0, and in the backup root the numbered folders the store made (only
    // their numbered copies; the root and anything else in it stay).
    static void DeleteAllBackups(LPCSTR lpszRoot);

private:
    bool BackupsOn() const { return m_pSettings != NULL && m_pSettings->enabled != 0; }
    int Versions() const { return m_pSettings ? m_pSettings->versions : 0; }
    CString Root() const;
    void Scan();

    std::vector<CBackupEntry> m_versions; // oldest first
    CString m_folder;
    CString m_documentPath;
    int m_folderId;
    const CBackupSettings* m_pSettings;
};

// The history dialog's line for a copy: "%02d %s %d  %02d:%02d" (day,
// English month name, year, hour, minute) in local time.
CString FormatBackupTime(time_t t);

// The message shown when a copy cannot be made.
extern const char g_szBackupFailedMessage[];
