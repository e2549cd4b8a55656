// backup.cpp - the backup store of a document.
#include "backup.h"
#include "apphelpers.h"
#include "fx/app.h"
#include "profile.h"

#include <algorithm>
#include <climits>
#include <set>

const char g_szBackupFailedMessage[] =
    "Quillmate failed to backup your file.  Please make sure that the backup folder path found in the "
    "application properties is valid.";

namespace {

const char kFoldersSection[] = "BackupFolders";
const char kSettingsSection[] = "BackupSettings";

time_t FileTimeToTime(const FILETIME& ft)
{
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    if (u.QuadPart < 116444736000000000ULL)
        return 0;
    return (time_t)((u.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

FILETIME TimeToFileTime(time_t t)
{
    ULARGE_INTEGER u;
    u.QuadPart = (ULONGLONG)t * 10000000ULL + 116444736000000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    return ft;
}

// A copy's number from its file name; -1 when the name is not a number.
int CopyNumber(LPCSTR lpszName)
{
    if (lpszName == NULL || *lpszName == '\0')
        return -1;
    long long n = 0;
    for (const char* p = lpszName; *p; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
        n = n * 10 + (*p - '0');
        if (n > 0x7FFFFFFF)
            return -1;
    }
    return (int)n;
}

// The first number from nFrom on that is not in use. The numbers end at the
// largest int: from there (or from a start beyond it) the count goes on from
// 0, still past every number in use, so it never wraps into one. -1 when
// every number is taken.
int NextFreeNumber(long long nFrom, const std::set<int>& used)
{
    if (nFrom < 0 || nFrom > INT_MAX)
        nFrom = 0;
    for (long long n = nFrom; n <= INT_MAX; ++n)
        if (!used.count((int)n))
            return (int)n;
    for (long long n = 0; n < nFrom; ++n)
        if (!used.count((int)n))
            return (int)n;
    return -1;
}

// The counter value that follows a number handed out: the next one, or 0
// after the largest.
int FollowingNumber(int n)
{
    return n >= INT_MAX ? 0 : n + 1;
}

CString Decimal(int n)
{
    CString text;
    text.Format("%d", n);
    return text;
}

// Deletes the numbered copies in a folder, then the folder when nothing
// else is left in it.
void DeleteCopyFolder(const CString& folder)
{
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA(folder + "\\*", &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && CopyNumber(fd.cFileName) >= 0)
                ::DeleteFileA(folder + "\\" + fd.cFileName);
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(folder); // fails, as it should, when other files remain
}

} // namespace

// ===========================================================================
// CBackupSettings

CBackupSettings::CBackupSettings() : enabled(1), versions(1), deleteOnExit(0)
{
}

CString CBackupSettings::DefaultFolder()
{
    CString program = qm::GetProfileString("", "QuillmatePath", "");
    CString folder;
    folder.Format("%sbackup", CPathParts(program).GetFolder().GetString());
    return folder;
}

void CBackupSettings::Load()
{
    deleteOnExit = qm::GetProfileInt(kSettingsSection, "DeleteOnExit", 0);
    enabled = qm::GetProfileInt(kSettingsSection, "Enabled", 1);
    versions = qm::GetProfileInt(kSettingsSection, "Versions", 1);
    folder = qm::GetProfileString(kSettingsSection, "BackupFolder", "");
    if (folder.IsEmpty())
        folder = DefaultFolder();
}

void CBackupSettings::Save() const
{
    qm::WriteProfileInt(kSettingsSection, "DeleteOnExit", deleteOnExit);
    qm::WriteProfileInt(kSettingsSection, "Enabled", enabled);
    qm::WriteProfileString(kSettingsSection, "BackupFolder", folder);
    qm::WriteProfileInt(kSettingsSection, "Versions", versions);
}

// ===========================================================================
// CBackupStore

CBackupStore::CBackupStore(const CBackupSettings* pSettings) : m_folderId(-1), m_pSettings(pSettings)
{
}

CString CBackupStore::Root() const
{
    CString root = m_pSettings ? m_pSettings->folder : CString();
    if (root.IsEmpty())
        root = CBackupSettings::DefaultFolder();
    root.TrimRight("\\/");
    return root;
}

BOOL CBackupStore::IsEnabled() const
{
    return BackupsOn() && !m_folder.IsEmpty();
}

void CBackupStore::Reset()
{
    m_versions.clear();
    m_folder.Empty();
    m_documentPath.Empty();
    m_folderId = -1;
}

CBackupEntry CBackupStore::GetEntry(int i) const
{
    if (i < 0 || i >= (int)m_versions.size())
        return CBackupEntry{0, -1, CString()};
    return m_versions[(size_t)i];
}

void CBackupStore::Open(LPCSTR lpszDocumentPath)
{
    if (!BackupsOn() || lpszDocumentPath == NULL || *lpszDocumentPath == '\0')
        return;
    m_documentPath = lpszDocumentPath;
    int nId = qm::GetProfileInt(kFoldersSection, m_documentPath, -1);
    if (nId < 0) {
        const int nNext = qm::GetProfileInt(kSettingsSection, "NextFolderId", 0);
        // A number another document already has is never given out again,
        // even when NextFolderId was lost or damaged.
        std::set<int> used;
        for (const qm::ProfileValue& v : qm::EnumProfileValues(kFoldersSection))
            if (CopyNumber(v.name) < 0)
                used.insert(qm::GetProfileInt(kFoldersSection, v.name, -1));
        nId = NextFreeNumber(nNext, used);
        if (nId < 0) {
            // Every number has a document: no backups for this one.
            m_documentPath.Empty();
            return;
        }
        qm::WriteProfileInt(kSettingsSection, "NextFolderId", FollowingNumber(nId));
        qm::WriteProfileInt(kFoldersSection, m_documentPath, nId);
    }
    m_folderId = nId;
    m_folder.Format("%s\\%d", Root().GetString(), m_folderId);
    Scan();
    Prune();
}

void CBackupStore::Scan()
{
    m_versions.clear();
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA(m_folder + "\\*.*", &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            // Only the store's own copies, named by their numbers.
            const int nNumber = CopyNumber(fd.cFileName);
            if (nNumber < 0)
                continue;
            CBackupEntry entry;
            entry.time = FileTimeToTime(fd.ftCreationTime);
            entry.number = nNumber;
            entry.path.Format("%s\\%s", m_folder.GetString(), fd.cFileName);
            m_versions.push_back(entry);
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    // Oldest first; copies made within the same second by their numbers.
    std::sort(m_versions.begin(), m_versions.end(), [](const CBackupEntry& a, const CBackupEntry& b) {
        if (a.time != b.time)
            return a.time < b.time;
        return a.number < b.number;
    });
}

void CBackupStore::Prune()
{
    if (!BackupsOn()) {
        m_versions.clear();
        m_folder.Empty();
        m_folderId = -1;
        return;
    }
    const int nKeep = std::max(0, Versions());
    // Oldest first; a copy that cannot be deleted stays listed, and the
    // next ones are still tried.
    size_t i = 0;
    while (m_versions.size() - i > (size_t)nKeep && i < m_versions.size()) {
        if (::DeleteFileA(m_versions[i].path) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
            m_versions.erase(m_versions.begin() + (ptrdiff_t)i);
        else
            ++i;
    }
}

BOOL CBackupStore::BackupFile(LPCSTR /*lpszPathBeingSaved*/, BOOL bReport)
{
    if (!IsEnabled())
        return TRUE;
    if (Versions() < 1)
        return TRUE; // no copies are kept

    const CString counter = Decimal(m_folderId);
    // Copy numbers keep rising even when the counter was lost: an existing
    // copy is never overwritten, also once the numbers have run out.
    long long nNext = std::max(0, qm::GetProfileInt(kFoldersSection, counter, 0));
    std::set<int> used;
    for (const CBackupEntry& e : m_versions) {
        nNext = std::max(nNext, (long long)e.number + 1);
        used.insert(e.number);
    }
    const int nCopy = NextFreeNumber(nNext, used);
    if (nCopy < 0) {
        if (bReport)
            AfxMessageBox(g_szBackupFailedMessage, MB_ICONEXCLAMATION);
        return FALSE;
    }
    qm::WriteProfileInt(kFoldersSection, counter, FollowingNumber(nCopy));

    CString target;
    target.Format("%s\\%d", m_folder.GetString(), nCopy);
    const time_t now = time(NULL);

    if (!CreateFolder(m_folder) || !::CopyFileA(m_documentPath, target, FALSE)) {
        if (bReport)
            AfxMessageBox(g_szBackupFailedMessage, MB_ICONEXCLAMATION);
        return FALSE;
    }
    // A copy keeps the original's times; its creation time is set to the
    // moment of the backup, which is what the history lists and sorts by.
    HANDLE hCopy = ::CreateFileA(target, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hCopy != INVALID_HANDLE_VALUE) {
        FILETIME ft = TimeToFileTime(now);
        ::SetFileTime(hCopy, &ft, NULL, NULL);
        ::CloseHandle(hCopy);
    }

    // The same path may already be listed when a counter was reset.
    m_versions.erase(std::remove_if(m_versions.begin(), m_versions.end(),
                                    [&](const CBackupEntry& e) { return e.path.CompareNoCase(target) == 0; }),
                     m_versions.end());
    m_versions.push_back(CBackupEntry{now, nCopy, target});
    Prune();
    return TRUE;
}

void CBackupStore::DeleteOnClose()
{
    if (!IsEnabled() || m_pSettings == NULL || !m_pSettings->deleteOnExit)
        return;
    qm::DeleteProfileValue(kFoldersSection, Decimal(m_folderId));
    qm::DeleteProfileValue(kFoldersSection, m_documentPath);
    DeleteCopyFolder(m_folder);
    m_versions.clear();
}

void CBackupStore::DeleteAllBackups(LPCSTR lpszRoot)
{
    // The folders the store made: every number the map knows, and every
    // number handed out so far (below NextFolderId).
    std::set<int> ids;
    for (const qm::ProfileValue& v : qm::EnumProfileValues(kFoldersSection)) {
        const int nNameNumber = CopyNumber(v.name);
        if (nNameNumber >= 0)
            ids.insert(nNameNumber); // a folder's copy counter
        else if (v.type == REG_DWORD) {
            const int nId = qm::GetProfileInt(kFoldersSection, v.name, -1);
            if (nId >= 0)
                ids.insert(nId); // a document's folder number
        }
    }
    const int nNext = qm::GetProfileInt(kSettingsSection, "NextFolderId", 0);

    qm::DeleteProfileSection(kFoldersSection);
    qm::WriteProfileInt(kSettingsSection, "NextFolderId", 0);

    CString root(lpszRoot ? lpszRoot : "");
    root.TrimRight("\\/");
    if (root.IsEmpty())
        return;
    std::vector<CString> folders;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA(root + "\\*", &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            const int nId = CopyNumber(fd.cFileName);
            if (nId >= 0 && (nId < nNext || ids.count(nId)))
                folders.push_back(root + "\\" + fd.cFileName);
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    for (const CString& folder : folders)
        DeleteCopyFolder(folder);
}

// ===========================================================================

CString FormatBackupTime(time_t t)
{
    static const char* const kMonths[] = {"January", "February", "March", "April", "May", "June",
                                          "July", "August", "September", "October", "November", "December"};
    FILETIME ft = TimeToFileTime(t);
    SYSTEMTIME utc, local;
    ::FileTimeToSystemTime(&ft, &utc);
    if (!::SystemTimeToTzSpecificLocalTime(NULL, &utc, &local))
        local = utc;
    CString text;
    const int nMonth = (local.wMonth >= 1 && local.wMonth <= 12) ? local.wMonth - 1 : 0;
    text.Format("%02d %s %d  %02d:%02d", local.wDay, kMonths[nMonth], local.wYear, local.wHour, local.wMinute);
    return text;
}
