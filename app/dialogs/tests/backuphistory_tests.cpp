// The "Document Backups" dialog on its real template: the list of the
// current file and the copies of a store, the two-selection rule of
// Compare, and the versions it hands back.
#include "coretest.h"
#include "dialogtest.h"

#include "backuphistorydlg.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dlgtest;
using coretest::ClearProfile;
using coretest::WriteBytes;

namespace {

class StoreSource : public IBackupHistorySource {
public:
    explicit StoreSource(const CBackupStore& store) : m_store(store) {}
    const CBackupStore& GetBackupStore() const override { return m_store; }

private:
    const CBackupStore& m_store;
};

// The line the history shows for a copy made at t (UTC), worked out here
// from the calendar of the local time zone.
std::string ExpectedLine(time_t t)
{
    static const char* const kMonths[] = {"January", "February", "March", "April", "May", "June",
                                          "July", "August", "September", "October", "November", "December"};
    ULONGLONG ticks = ((ULONGLONG)t + 11644473600ULL) * 10000000ULL;
    FILETIME ft = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&ft, &utc);
    SystemTimeToTzSpecificLocalTime(NULL, &utc, &local);
    char buf[64];
    snprintf(buf, sizeof(buf), "%02d %s %d  %02d:%02d", local.wDay, kMonths[local.wMonth - 1], local.wYear,
             local.wHour, local.wMinute);
    return buf;
}

void SetCreationTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    SYSTEMTIME st = {year, month, 0, day, hour, minute, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    SetFileTime(h, &ft, NULL, NULL);
    CloseHandle(h);
}

// A document saved three times with five versions kept: copies 0, 1 and 2
// (given creation times years apart) and the current file. Where the file
// system does not keep a creation time that is set (Wine on most Linux file
// systems), the copies share the time of the saves; the store then orders
// them by number, and the item data still tell which line is which.
class BackupHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProfile();
        settings.folder = (temp.Path("backup")).c_str();
        settings.versions = 5;
        CreateDirectoryA(settings.folder, NULL);
        doc = temp.Path("doc.txt");
        WriteBytes(doc, "version 0");
        CBackupStore writer(&settings);
        writer.Open(doc.c_str());
        for (int i = 1; i <= 3; ++i) {
            ASSERT_TRUE(writer.BackupFile(doc.c_str()));
            WriteBytes(doc, "version " + std::to_string(i));
        }
        std::string folder = (LPCSTR)writer.GetFolder();
        SetCreationTime(folder + "\\0", 2021, 1, 5, 8, 9);
        SetCreationTime(folder + "\\1", 2022, 11, 30, 23, 59);
        SetCreationTime(folder + "\\2", 2023, 7, 14, 12, 0);
        store.reset(new CBackupStore(&settings));
        store->Open(doc.c_str());
        ASSERT_EQ(store->GetCount(), 3);
    }

    // Shows the dialog, runs the script on it and returns DoModal's result.
    INT_PTR Show(CBackupHistoryDlg& dlg, std::vector<Step> steps)
    {
        ModalScript script(std::move(steps));
        INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(script.Finished()) << "the script did not run to its end";
        return result;
    }

    qmtest::TempDir temp;
    CBackupSettings settings;
    std::string doc;
    std::unique_ptr<CBackupStore> store;
};

} // namespace

TEST_F(BackupHistoryTest, ListsCurrentThenTheCopiesNewestFirst)
{
    StoreSource source(*store);
    CBackupHistoryDlg dlg(&source);
    std::vector<std::string> lines;
    std::vector<int> data;
    int nSelected = -1;
    std::string caption;
    INT_PTR result = Show(dlg, {[&] {
                              HWND h = FindDialog("Document Backups");
                              if (!h)
                                  return false;
                              caption = WindowText(h);
                              lines = ListLines(h, IDC_BACKUP_LIST);
                              HWND hList = GetDlgItem(h, IDC_BACKUP_LIST);
                              for (size_t i = 0; i < lines.size(); ++i)
                                  data.push_back((int)(INT_PTR)SendMessageA(hList, LB_GETITEMDATA, i, 0));
                              nSelected = (int)SendMessageA(hList, LB_GETSELCOUNT, 0, 0);
                              Click(h, IDCANCEL);
                              return true;
                          }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(caption, "Document Backups");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Current");
    EXPECT_EQ(lines[1], ExpectedLine(store->GetEntry(2).time));
    EXPECT_EQ(lines[2], ExpectedLine(store->GetEntry(1).time));
    EXPECT_EQ(lines[3], ExpectedLine(store->GetEntry(0).time));
    EXPECT_EQ(data, (std::vector<int>{-1, 2, 1, 0}));
    EXPECT_EQ(nSelected, 0);
}

TEST_F(BackupHistoryTest, WithoutCopiesOnlyCurrentIsListed)
{
    CBackupStore empty(&settings);
    StoreSource source(empty);
    CBackupHistoryDlg dlg(&source);
    std::vector<std::string> lines;
    Show(dlg, {[&] {
             HWND h = FindDialog("Document Backups");
             if (!h)
                 return false;
             lines = ListLines(h, IDC_BACKUP_LIST);
             Click(h, IDCANCEL);
             return true;
         }});
    EXPECT_EQ(lines, (std::vector<std::string>{"Current"}));
}

// Compare with anything but two lines selected keeps the dialog open and
// asks for two.
TEST_F(BackupHistoryTest, CompareNeedsExactlyTwoLines)
{
    const std::vector<std::vector<int>> cases = {{}, {0}, {1}, {0, 1, 2}, {0, 1, 2, 3}};
    for (const std::vector<int>& selection : cases) {
        SCOPED_TRACE(::testing::PrintToString(selection));
        qmtest::MessageBoxRecorder boxes(IDOK);
        StoreSource source(*store);
        CBackupHistoryDlg dlg(&source);
        bool bStillOpen = false;
        HWND hDlg = NULL;
        INT_PTR result = Show(dlg, {[&] {
                                        hDlg = FindDialog("Document Backups");
                                        if (!hDlg)
                                            return false;
                                        for (int line : selection)
                                            SelectLine(hDlg, IDC_BACKUP_LIST, line);
                                        Click(hDlg, IDOK);
                                        return true;
                                    },
                                    [&] {
                                        if (boxes.Texts().empty())
                                            return false;
                                        bStillOpen = IsWindow(hDlg) && IsWindowVisible(hDlg);
                                        Click(hDlg, IDCANCEL);
                                        return true;
                                    }});
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(bStillOpen);
        EXPECT_EQ(boxes.Texts(),
                  (std::vector<std::string>{
                      "Please ensure that just two items are selected before requesting a compare."}));
    }
}

// Two lines: first and second follow the list (upper line first), whatever
// order they were selected in; -1 stands for the current file.
TEST_F(BackupHistoryTest, TwoLinesGiveFirstAndSecondInListOrder)
{
    struct Case {
        std::vector<int> clicks;
        int first;
        int second;
    };
    const Case cases[] = {
        {{0, 1}, -1, 2}, // the current file and the newest copy
        {{3, 1}, 2, 0},  // newest and oldest copy, selected bottom first
        {{2, 0}, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.clicks));
        qmtest::MessageBoxRecorder boxes(IDOK);
        StoreSource source(*store);
        CBackupHistoryDlg dlg(&source);
        INT_PTR result = Show(dlg, {[&] {
                                  HWND h = FindDialog("Document Backups");
                                  if (!h)
                                      return false;
                                  for (int line : c.clicks)
                                      SelectLine(h, IDC_BACKUP_LIST, line);
                                  Click(h, IDOK);
                                  return true;
                              }});
        EXPECT_EQ(result, IDOK);
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_EQ(dlg.GetFirst(), c.first);
        EXPECT_EQ(dlg.GetSecond(), c.second);
    }
}

TEST_F(BackupHistoryTest, VersionPathsNameTheDocumentAndItsCopies)
{
    EXPECT_EQ(std::string(CBackupHistoryDlg::GetVersionPath(*store, CBackupHistoryDlg::kCurrent)), doc);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CBackupHistoryDlg::GetVersionPath(*store, i), store->GetEntry(i).path);
    EXPECT_TRUE(CBackupHistoryDlg::GetVersionPath(*store, 3).IsEmpty());
    EXPECT_TRUE(CBackupHistoryDlg::GetVersionPath(*store, -2).IsEmpty());
}
