// The backup store: copies over a sequence of saves, the registry map, and
// the deletion of backups.
#include "coretest.h"
#include "backup.h"

#include <gmock/gmock.h>

#include <set>

using coretest::ClearProfile;
using coretest::FileExists;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

int ProfileInt(const char* section, const std::string& entry, int def)
{
    return (int)AfxGetApp()->GetProfileInt(section, entry.c_str(), def);
}

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProfile();
        settings.folder = (temp.Path("backup")).c_str();
        settings.versions = 1;
        settings.enabled = 1;
        settings.deleteOnExit = 0;
        doc = temp.Path("doc.txt");
        WriteBytes(doc, "version 0");
    }

    // One save of the document as the text document does it: the copy of
    // the file on disk, then the new content.
    void Save(CBackupStore& store, const std::string& content)
    {
        if (store.IsEnabled())
            EXPECT_TRUE(store.BackupFile(doc.c_str()));
        else
            store.Open(doc.c_str());
        WriteBytes(doc, content);
    }

    std::set<std::string> CopiesIn(const std::string& folder)
    {
        const std::vector<std::string> names = qmtest::FileNamesIn(folder);
        return std::set<std::string>(names.begin(), names.end());
    }

    qmtest::TempDir temp;
    CBackupSettings settings;
    std::string doc;
};

} // namespace

TEST_F(BackupTest, VersionsOneKeepsTheContentBeforeTheLastSave)
{
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    ASSERT_TRUE(store.IsEnabled());
    EXPECT_EQ(store.GetFolderId(), 0);
    const std::string folder = temp.Path("backup\\0");
    EXPECT_EQ(store.GetFolder(), CString(folder.c_str()));

    Save(store, "version 1");
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"0"}));
    Save(store, "version 2");
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"1"}));
    Save(store, "version 3");
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"2"}));
    EXPECT_EQ(ReadBytes(folder + "\\2"), "version 2");

    ASSERT_EQ(store.GetCount(), 1);
    EXPECT_EQ(store.GetEntry(0).number, 2);
    EXPECT_EQ(store.GetEntry(0).path, CString((folder + "\\2").c_str()));
    EXPECT_EQ(ProfileInt("BackupFolders", doc, -1), 0);
    EXPECT_EQ(ProfileInt("BackupFolders", "0", -1), 3);
    EXPECT_EQ(ProfileInt("BackupSettings", "NextFolderId", -1), 1);
}

TEST_F(BackupTest, EachPathKeepsItsFolderNumber)
{
    const std::string other = temp.Path("other.txt");
    WriteBytes(other, "x");
    CBackupStore first(&settings), second(&settings);
    first.Open(doc.c_str());
    second.Open(other.c_str());
    EXPECT_EQ(first.GetFolderId(), 0);
    EXPECT_EQ(second.GetFolderId(), 1);
    CBackupStore again(&settings);
    again.Open(doc.c_str());
    EXPECT_EQ(again.GetFolderId(), 0);
    EXPECT_EQ(ProfileInt("BackupSettings", "NextFolderId", -1), 2);
}

TEST_F(BackupTest, LoweringVersionsPrunesTheOldestOnOpen)
{
    settings.versions = 5;
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    for (int i = 1; i <= 7; ++i)
        Save(store, "version " + std::to_string(i));
    const std::string folder = temp.Path("backup\\0");
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"2", "3", "4", "5", "6"}));

    settings.versions = 2;
    CBackupStore reopened(&settings);
    reopened.Open(doc.c_str());
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"5", "6"}));
    ASSERT_EQ(reopened.GetCount(), 2);
    EXPECT_EQ(reopened.GetEntry(0).number, 5);
    EXPECT_EQ(ReadBytes(reopened.GetEntry(1).path.GetString()), "version 6");
}

TEST_F(BackupTest, CopiesOfOneSecondSortByNumber)
{
    settings.versions = 20;
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    for (int i = 1; i <= 12; ++i)
        Save(store, "version " + std::to_string(i));
    // Give every copy the same creation time, as copies made within one
    // second have; the listing order of the folder ("10" before "9") must
    // not decide.
    const std::string folder = temp.Path("backup\\0");
    SYSTEMTIME st = {2024, 6, 6, 15, 12, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    for (const std::string& name : CopiesIn(folder)) {
        HANDLE h = CreateFileA((folder + "\\" + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SetFileTime(h, &ft, NULL, NULL);
        CloseHandle(h);
    }
    CBackupStore reopened(&settings);
    reopened.Open(doc.c_str());
    ASSERT_EQ(reopened.GetCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(reopened.GetEntry(i).number, i);
    // Versions 3 now drops the oldest by number.
    settings.versions = 3;
    reopened.Prune();
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"9", "10", "11"}));
}

TEST_F(BackupTest, LostCountersNeverReuseNumbers)
{
    settings.versions = 3;
    const std::string other = temp.Path("other.txt");
    WriteBytes(other, "x");
    CBackupStore a(&settings);
    a.Open(doc.c_str());
    Save(a, "version 1");
    Save(a, "version 2");

    // The counters are lost (a damaged or cleaned profile).
    AfxGetApp()->WriteProfileString("BackupFolders", "0", NULL);
    AfxGetApp()->WriteProfileString("BackupSettings", "NextFolderId", NULL);

    // The next copy does not overwrite copy 0 ...
    CBackupStore again(&settings);
    again.Open(doc.c_str());
    Save(again, "version 3");
    const std::string folder = temp.Path("backup\\0");
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{"0", "1", "2"}));
    EXPECT_EQ(ReadBytes(folder + "\\0"), "version 0");
    EXPECT_EQ(ReadBytes(folder + "\\2"), "version 2");
    // ... and a new document does not share the first one's folder.
    CBackupStore b(&settings);
    b.Open(other.c_str());
    EXPECT_EQ(b.GetFolderId(), 1);
}

// The counters end at the largest number: a folder number or copy number
// that reaches it goes on from 0, never into a number in use, and no copy
// is ever overwritten.
TEST_F(BackupTest, CountersAtTheirLargestNumberNeverWrapIntoUsedNumbers)
{
    const int kLast = 0x7FFFFFFF;
    const std::string other = temp.Path("other.txt");
    const std::string third = temp.Path("third.txt");
    WriteBytes(other, "x");
    WriteBytes(third, "y");

    // Folder numbers: the last number is taken, and so is 0.
    AfxGetApp()->WriteProfileInt("BackupSettings", "NextFolderId", kLast);
    CBackupStore a(&settings);
    a.Open(doc.c_str());
    EXPECT_EQ(a.GetFolderId(), kLast);
    AfxGetApp()->WriteProfileInt("BackupFolders", third.c_str(), 0);
    AfxGetApp()->WriteProfileInt("BackupSettings", "NextFolderId", kLast); // damaged again
    CBackupStore b(&settings);
    b.Open(other.c_str());
    EXPECT_EQ(b.GetFolderId(), 1) << "past the last number, and past 0 which the third document has";
    EXPECT_EQ(ProfileInt("BackupSettings", "NextFolderId", -1), 2);

    // Copy numbers: the counter two before the last.
    settings.versions = 5;
    AfxGetApp()->WriteProfileInt("BackupFolders", std::to_string(kLast).c_str(), kLast - 1);
    for (int i = 1; i <= 4; i++)
        Save(a, "version " + std::to_string(i));
    const std::string folder = std::string(a.GetFolder());
    EXPECT_EQ(CopiesIn(folder), (std::set<std::string>{std::to_string(kLast - 1), std::to_string(kLast), "0", "1"}));
    EXPECT_EQ(ReadBytes(folder + "\\" + std::to_string(kLast - 1)), "version 0");
    EXPECT_EQ(ReadBytes(folder + "\\" + std::to_string(kLast)), "version 1");
    EXPECT_EQ(ReadBytes(folder + "\\0"), "version 2");
    EXPECT_EQ(ReadBytes(folder + "\\1"), "version 3");
    EXPECT_EQ(a.GetCount(), 4);

    // A store that reads the folder again goes on past the numbers in it.
    CBackupStore again(&settings);
    again.Open(doc.c_str());
    Save(again, "version 5");
    EXPECT_EQ(CopiesIn(folder).size(), 5u);
    EXPECT_EQ(ReadBytes(folder + "\\2"), "version 4");
}

TEST_F(BackupTest, DisabledBackupsGiveNoFolderAndNoCopies)
{
    settings.enabled = 0;
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    EXPECT_FALSE(store.IsEnabled());
    EXPECT_EQ(store.GetFolderId(), -1);
    Save(store, "version 1");
    EXPECT_FALSE(FileExists(temp.Path("backup")));
    EXPECT_EQ(ProfileInt("BackupFolders", doc, -1), -1);
    EXPECT_EQ(ProfileInt("BackupSettings", "NextFolderId", -1), -1);

    // Turning them off unbinds a bound store.
    settings.enabled = 1;
    store.Open(doc.c_str());
    ASSERT_TRUE(store.IsEnabled());
    settings.enabled = 0;
    store.Prune();
    EXPECT_FALSE(store.IsEnabled());
    EXPECT_EQ(store.GetFolder(), "");

    CBackupStore noSettings;
    noSettings.Open(doc.c_str());
    EXPECT_FALSE(noSettings.IsEnabled());
}

TEST_F(BackupTest, VersionsZeroKeepsNothing)
{
    settings.versions = 3;
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    Save(store, "version 1");
    Save(store, "version 2");
    const std::string folder = temp.Path("backup\\0");
    EXPECT_EQ(CopiesIn(folder).size(), 2u);

    settings.versions = 0;
    Save(store, "version 3"); // no copy, no crash
    store.Open(doc.c_str());
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_TRUE(CopiesIn(folder).empty());
    settings.versions = -4;
    Save(store, "version 4");
    EXPECT_TRUE(CopiesIn(folder).empty());
}

TEST_F(BackupTest, DeleteOnExitForgetsTheDocument)
{
    settings.deleteOnExit = 1;
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    Save(store, "version 1");
    const std::string folder = temp.Path("backup\\0");
    ASSERT_TRUE(FileExists(folder + "\\0"));
    store.DeleteOnClose();
    EXPECT_FALSE(FileExists(folder));
    EXPECT_EQ(ProfileInt("BackupFolders", doc, -1), -1);
    EXPECT_EQ(ProfileInt("BackupFolders", "0", -1), -1);

    CBackupStore next(&settings);
    next.Open(doc.c_str());
    EXPECT_EQ(next.GetFolderId(), 1);

    // Without DeleteOnExit nothing is deleted.
    settings.deleteOnExit = 0;
    Save(next, "version 2");
    next.DeleteOnClose();
    EXPECT_TRUE(FileExists(temp.Path("backup\\1\\0")));
}

TEST_F(BackupTest, DeleteAllBackupsRemovesOnlyTheStoresFolders)
{
    const std::string other = temp.Path("other.txt");
    WriteBytes(other, "x");
    CBackupStore a(&settings), b(&settings);
    a.Open(doc.c_str());
    b.Open(other.c_str());
    Save(a, "version 1");
    EXPECT_TRUE(b.BackupFile());

    // The chosen backup folder holds things of the user's as well.
    const std::string root = temp.Path("backup");
    WriteBytes(root + "\\notes.txt", "mine");
    CreateDirectoryA((root + "\\photos").c_str(), NULL);
    WriteBytes(root + "\\photos\\1", "a photo");
    CreateDirectoryA((root + "\\7").c_str(), NULL); // not a number the store gave out
    WriteBytes(root + "\\7\\0", "not a backup");
    WriteBytes(root + "\\0\\keep.me", "mine too");

    CBackupStore::DeleteAllBackups(root.c_str());

    EXPECT_TRUE(FileExists(root));
    EXPECT_EQ(ReadBytes(root + "\\notes.txt"), "mine");
    EXPECT_EQ(ReadBytes(root + "\\photos\\1"), "a photo");
    EXPECT_EQ(ReadBytes(root + "\\7\\0"), "not a backup");
    EXPECT_EQ(CopiesIn(root + "\\0"), (std::set<std::string>{"keep.me"}));
    EXPECT_FALSE(FileExists(root + "\\1"));
    EXPECT_EQ(ProfileInt("BackupFolders", doc, -1), -1);
    EXPECT_EQ(ProfileInt("BackupFolders", "0", -1), -1);
    EXPECT_EQ(ProfileInt("BackupSettings", "NextFolderId", -1), 0);

    // Numbering starts again at 0.
    CBackupStore c(&settings);
    c.Open(other.c_str());
    EXPECT_EQ(c.GetFolderId(), 0);
}

TEST_F(BackupTest, FailedCopyShowsTheMessage)
{
    qmtest::MessageBoxRecorder boxes;
    CBackupStore store(&settings);
    store.Open(doc.c_str());
    DeleteFileA(doc.c_str()); // nothing on disk to copy
    EXPECT_FALSE(store.BackupFile(doc.c_str()));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0],
              "Quillmate failed to backup your file.  Please make sure that the backup folder path found in the "
              "application properties is valid.");
    EXPECT_EQ(store.GetCount(), 0);

    // A backup root that is a file cannot hold folders.
    WriteBytes(doc, "again");
    WriteBytes(temp.Path("blocked"), "a file");
    settings.folder = (temp.Path("blocked")).c_str();
    CBackupStore blocked(&settings);
    blocked.Open(doc.c_str());
    EXPECT_FALSE(blocked.BackupFile());
    EXPECT_EQ(boxes.Texts().size(), 2u);
}

TEST_F(BackupTest, SettingsDefaultsAndTheProgramFolder)
{
    CBackupSettings loaded;
    loaded.Load();
    EXPECT_EQ(loaded.enabled, 1);
    EXPECT_EQ(loaded.versions, 1);
    EXPECT_EQ(loaded.deleteOnExit, 0);
    EXPECT_EQ(loaded.folder, "backup");

    AfxGetApp()->WriteProfileString("", "QuillmatePath", "C:\\Program Files\\Quillmate\\Qmate.exe");
    loaded.Load();
    EXPECT_EQ(loaded.folder, "C:\\Program Files\\Quillmate\\backup");

    CBackupSettings saved;
    saved.enabled = 0;
    saved.versions = 4;
    saved.deleteOnExit = 1;
    saved.folder = "D:\\copies";
    saved.Save();
    loaded.Load();
    EXPECT_EQ(loaded.enabled, 0);
    EXPECT_EQ(loaded.versions, 4);
    EXPECT_EQ(loaded.deleteOnExit, 1);
    EXPECT_EQ(loaded.folder, "D:\\copies");
}

TEST(BackupTime, HistoryLineFormat)
{
    // 15 June 2024 12:00 UTC is 15 June in every time zone within 12 hours.
    const CString line = FormatBackupTime(1718452800);
    EXPECT_THAT(std::string(line.GetString()), ::testing::MatchesRegex("15 June 2024  \\d\\d:\\d\\d"));
    const CString early = FormatBackupTime(1704067200 + 86400 * 3 + 3600 * 12 + 60 * 5); // 4 January 2024
    EXPECT_THAT(std::string(early.GetString()), ::testing::MatchesRegex("04 January 2024  \\d\\d:\\d\\d"));
}
