// The "Macros" dialog and the macro naming dialog on their real templates:
// the list from a macros.xml, Run, Delete and Rename changing the file, the
// duplicate-name check, the layout and the kept placement.
#include "coretest.h"
#include "dialogtest.h"

#include "macrodlg.h"
#include "macros.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dlgtest;
using coretest::ClearProfile;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

typedef std::vector<std::string> Lines;

std::string FixtureText()
{
    std::string path = std::string(QM_SOURCE_DIR) + "/app/dialogs/tests/fixtures/macros.xml";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    std::string text = ReadBytes(path);
    EXPECT_FALSE(text.empty()) << path;
    return text;
}

Lines NamesInFile(const std::string& path)
{
    Lines names;
    for (const CString& name : CMacroStore::ListMacroNames(path.c_str()))
        names.push_back((LPCSTR)name);
    return names;
}

bool Enabled(HWND hDlg, int nID)
{
    return IsWindowEnabled(GetDlgItem(hDlg, nID)) != FALSE;
}

// The text of the first step of the first macro of that name.
std::string FirstStepText(const std::string& path, const char* name)
{
    CMacroStore store;
    if (!store.LoadMacro(name, path.c_str()) || store.GetSteps().empty())
        return "<none>";
    return (LPCSTR)store.GetSteps()[0].sparam;
}

const Lines kFixtureNames = {"Upper", "Delete line", "Upper", "tabs"};

class MacroDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProfile();
        path = temp.Path("macros.xml");
        WriteBytes(path, FixtureText());
    }

    template <class Dialog>
    INT_PTR Show(Dialog& dlg, std::vector<Step> steps)
    {
        ModalScript script(std::move(steps));
        INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(script.Finished()) << "the script did not run to its end";
        return result;
    }

    qmtest::TempDir temp;
    std::string path;
};

} // namespace

TEST_F(MacroDialogTest, ListsTheNamedMacrosInFileOrderWithNothingSelected)
{
    CMacroDialog dlg;
    dlg.SetMacroFilePath(path.c_str());
    Lines lines;
    std::string caption;
    int nSel = 0;
    bool bRun = true, bDelete = true, bRename = true, bClose = false;
    INT_PTR result = Show(dlg, {[&] {
                              HWND h = FindDialog("Macros");
                              if (!h)
                                  return false;
                              caption = WindowText(h);
                              lines = ListLines(h, IDC_MACRO_LIST);
                              nSel = (int)SendDlgItemMessageA(h, IDC_MACRO_LIST, LB_GETCURSEL, 0, 0);
                              bRun = Enabled(h, IDC_MACRO_RUN);
                              bDelete = Enabled(h, IDC_MACRO_DELETE);
                              bRename = Enabled(h, IDC_MACRO_RENAME);
                              bClose = Enabled(h, IDCANCEL);
                              Click(h, IDCANCEL);
                              return true;
                          }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(caption, "Macros");
    EXPECT_EQ(lines, kFixtureNames);
    EXPECT_EQ(nSel, LB_ERR);
    EXPECT_FALSE(bRun);
    EXPECT_FALSE(bDelete);
    EXPECT_FALSE(bRename);
    EXPECT_TRUE(bClose);
}

// Files that hold no macro to list leave the list empty, without a message.
TEST_F(MacroDialogTest, MissingOrDamagedFilesGiveAnEmptyList)
{
    const struct {
        const char* what;
        const char* content; // NULL: no file at all
    } cases[] = {
        {"missing", NULL},
        {"not well-formed", "<macros><macro name=\"x\">"},
        {"other root", "<?xml version=\"1.0\" ?><things><macro name=\"x\" /></things>"},
        {"empty root", "<?xml version=\"1.0\" ?><macros />"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(path.c_str());
        if (c.content)
            WriteBytes(path, c.content);
        qmtest::MessageBoxRecorder boxes(IDOK);
        CMacroDialog dlg;
        dlg.SetMacroFilePath(path.c_str());
        Lines lines = {"<not read>"};
        Show(dlg, {[&] {
                 HWND h = FindDialog("Macros");
                 if (!h)
                     return false;
                 lines = ListLines(h, IDC_MACRO_LIST);
                 Click(h, IDCANCEL);
                 return true;
             }});
        EXPECT_TRUE(lines.empty());
        EXPECT_TRUE(boxes.Texts().empty());
    }
}

TEST_F(MacroDialogTest, SelectingEnablesTheButtonsAndRunReturnsTheName)
{
    CMacroDialog dlg;
    dlg.SetMacroFilePath(path.c_str());
    bool bRun = false, bDelete = false, bRename = false;
    INT_PTR result = Show(dlg, {[&] {
                              HWND h = FindDialog("Macros");
                              if (!h)
                                  return false;
                              SelectLine(h, IDC_MACRO_LIST, 1);
                              bRun = Enabled(h, IDC_MACRO_RUN);
                              bDelete = Enabled(h, IDC_MACRO_DELETE);
                              bRename = Enabled(h, IDC_MACRO_RENAME);
                              Click(h, IDC_MACRO_RUN);
                              return true;
                          }});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(bRun);
    EXPECT_TRUE(bDelete);
    EXPECT_TRUE(bRename);
    EXPECT_EQ(std::string(dlg.GetSelectedName()), "Delete line");
    EXPECT_EQ(NamesInFile(path), kFixtureNames);
}

// Delete asks first; Yes removes the first macro of the name from the file
// and fills the list again, No changes nothing.
TEST_F(MacroDialogTest, DeleteAsksThenRemovesTheFirstMacroOfTheName)
{
    const struct {
        int answer;
        int line;
        const char* question;
        Lines after;
    } cases[] = {
        {IDYES, 0, "Are you sure that you want to delete Upper?", {"Delete line", "Upper", "tabs"}},
        {IDYES, 2, "Are you sure that you want to delete Upper?", {"Delete line", "Upper", "tabs"}},
        {IDYES, 3, "Are you sure that you want to delete tabs?", {"Upper", "Delete line", "Upper"}},
        {IDNO, 1, "Are you sure that you want to delete Delete line?", kFixtureNames},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.question);
        WriteBytes(path, FixtureText());
        qmtest::MessageBoxRecorder boxes(c.answer);
        CMacroDialog dlg;
        dlg.SetMacroFilePath(path.c_str());
        Lines lines;
        bool bRun = true;
        Show(dlg, {[&] {
                       HWND h = FindDialog("Macros");
                       if (!h)
                           return false;
                       SelectLine(h, IDC_MACRO_LIST, c.line);
                       Click(h, IDC_MACRO_DELETE);
                       return true;
                   },
                   [&] {
                       if (boxes.Texts().empty())
                           return false;
                       HWND h = FindDialog("Macros");
                       lines = ListLines(h, IDC_MACRO_LIST);
                       bRun = Enabled(h, IDC_MACRO_RUN);
                       Click(h, IDCANCEL);
                       return true;
                   }});
        EXPECT_EQ(boxes.Texts(), Lines{c.question});
        EXPECT_EQ(NamesInFile(path), c.after);
        EXPECT_EQ(lines, c.after);
        if (c.answer == IDYES) {
            EXPECT_FALSE(bRun) << "a refilled list has no selection";
        }
    }
    // Deleting an "Upper" removes the first one stored: the one left plays "B".
    WriteBytes(path, FixtureText());
    ASSERT_TRUE(CMacroStore::DeleteMacro(path.c_str(), "Upper"));
    EXPECT_EQ(FirstStepText(path, "Upper"), "B");
}

TEST_F(MacroDialogTest, DeletingTheLastMacroLeavesAnEmptyRoot)
{
    WriteBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<macros>\n<macro name=\"only\" />\n</macros>\n");
    qmtest::MessageBoxRecorder boxes(IDYES);
    CMacroDialog dlg;
    dlg.SetMacroFilePath(path.c_str());
    Lines lines = {"<not read>"};
    Show(dlg, {[&] {
                   HWND h = FindDialog("Macros");
                   if (!h)
                       return false;
                   SelectLine(h, IDC_MACRO_LIST, 0);
                   Click(h, IDC_MACRO_DELETE);
                   return true;
               },
               [&] {
                   if (boxes.Texts().empty())
                       return false;
                   HWND h = FindDialog("Macros");
                   lines = ListLines(h, IDC_MACRO_LIST);
                   Click(h, IDCANCEL);
                   return true;
               }});
    EXPECT_TRUE(lines.empty());
    std::string text = ReadBytes(path);
    EXPECT_NE(text.find("<macros"), std::string::npos) << text;
    EXPECT_EQ(text.find("only"), std::string::npos) << text;
}

// Rename shows the naming dialog preset with the name; a name already
// stored is refused and the dialog stays; a new one is written to the file.
TEST_F(MacroDialogTest, RenameRefusesAStoredNameThenRenamesTheFirstMacro)
{
    qmtest::MessageBoxRecorder boxes(IDOK);
    CMacroDialog dlg;
    dlg.SetMacroFilePath(path.c_str());
    std::string preset, caption, selectedText;
    bool bRenameOpenAfterRefusal = false;
    Lines lines;
    Show(dlg, {[&] {
                   HWND h = FindDialog("Macros");
                   if (!h)
                       return false;
                   SelectLine(h, IDC_MACRO_LIST, 2); // the second "Upper"
                   Click(h, IDC_MACRO_RENAME);
                   return true;
               },
               [&] {
                   HWND h = FindDialog("Rename Macro");
                   if (!h)
                       return false;
                   caption = WindowText(h);
                   preset = WindowText(GetDlgItem(h, IDC_NEW_MACRO_NAME));
                   DWORD dwStart = 0, dwEnd = 0;
                   SendDlgItemMessageA(h, IDC_NEW_MACRO_NAME, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
                   selectedText = preset.substr(dwStart, dwEnd - dwStart);
                   SetDlgItemTextA(h, IDC_NEW_MACRO_NAME, "Delete line");
                   Click(h, IDOK);
                   return true;
               },
               [&] {
                   if (boxes.Texts().empty())
                       return false;
                   HWND h = FindDialog("Rename Macro");
                   bRenameOpenAfterRefusal = h != NULL;
                   if (!h)
                       return true;
                   SetDlgItemTextA(h, IDC_NEW_MACRO_NAME, "Shout");
                   Click(h, IDOK);
                   return true;
               },
               [&] {
                   if (FindDialog("Rename Macro"))
                       return false;
                   HWND h = FindDialog("Macros");
                   if (!h)
                       return false;
                   lines = ListLines(h, IDC_MACRO_LIST);
                   Click(h, IDCANCEL);
                   return true;
               }});
    EXPECT_EQ(caption, "Rename Macro");
    EXPECT_EQ(preset, "Upper");
    EXPECT_EQ(selectedText, "Upper") << "the preset name is selected";
    EXPECT_EQ(boxes.Texts(), Lines{"There is already a macro named Delete line"});
    EXPECT_TRUE(bRenameOpenAfterRefusal);
    // The first macro of the selected name is the one renamed.
    const Lines after = {"Shout", "Delete line", "Upper", "tabs"};
    EXPECT_EQ(NamesInFile(path), after);
    EXPECT_EQ(lines, after);
    EXPECT_EQ(FirstStepText(path, "Shout"), "A");
}

TEST_F(MacroDialogTest, CancelledRenameLeavesTheFile)
{
    std::string before = ReadBytes(path);
    CMacroDialog dlg;
    dlg.SetMacroFilePath(path.c_str());
    Show(dlg, {[&] {
                   HWND h = FindDialog("Macros");
                   if (!h)
                       return false;
                   SelectLine(h, IDC_MACRO_LIST, 3);
                   Click(h, IDC_MACRO_RENAME);
                   return true;
               },
               [&] {
                   HWND h = FindDialog("Rename Macro");
                   if (!h)
                       return false;
                   SetDlgItemTextA(h, IDC_NEW_MACRO_NAME, "spaces");
                   Click(h, IDCANCEL);
                   return true;
               },
               [&] {
                   if (FindDialog("Rename Macro"))
                       return false;
                   HWND h = FindDialog("Macros");
                   if (!h)
                       return false;
                   Click(h, IDCANCEL);
                   return true;
               }});
    EXPECT_EQ(ReadBytes(path), before);
}

// The list stretches with the dialog, the action buttons keep their distance
// from the right edge and Close from the bottom-right corner.
TEST_F(MacroDialogTest, ControlsFollowTheDialogSize)
{
    CMacroDialog dlg;
    dlg.SetMacroFilePath(path.c_str());
    RECT before[4], after[4];
    const int ids[4] = {IDC_MACRO_LIST, IDC_MACRO_RUN, IDC_MACRO_RENAME, IDCANCEL};
    Show(dlg, {[&] {
                   HWND h = FindDialog("Macros");
                   if (!h)
                       return false;
                   for (int i = 0; i < 4; ++i) {
                       GetWindowRect(GetDlgItem(h, ids[i]), &before[i]);
                       MapWindowPoints(NULL, h, (LPPOINT)&before[i], 2);
                   }
                   RECT rc;
                   GetWindowRect(h, &rc);
                   SetWindowPos(h, NULL, 0, 0, rc.right - rc.left + 40, rc.bottom - rc.top + 30,
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                   return true;
               },
               [&] {
                   HWND h = FindDialog("Macros");
                   for (int i = 0; i < 4; ++i) {
                       GetWindowRect(GetDlgItem(h, ids[i]), &after[i]);
                       MapWindowPoints(NULL, h, (LPPOINT)&after[i], 2);
                   }
                   Click(h, IDCANCEL);
                   return true;
               }});
    // list: stretches both ways
    EXPECT_EQ(after[0].left, before[0].left);
    EXPECT_EQ(after[0].top, before[0].top);
    EXPECT_EQ(after[0].right, before[0].right + 40);
    EXPECT_EQ(after[0].bottom, before[0].bottom + 30);
    // Run and Rename: move right only
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(after[i].left, before[i].left + 40) << ids[i];
        EXPECT_EQ(after[i].top, before[i].top) << ids[i];
        EXPECT_EQ(after[i].right - after[i].left, before[i].right - before[i].left) << ids[i];
    }
    // Close: moves with the corner
    EXPECT_EQ(after[3].left, before[3].left + 40);
    EXPECT_EQ(after[3].top, before[3].top + 30);
}

// The placement is saved under "MacroDialog" when the dialog goes and
// restored when it is shown again.
TEST_F(MacroDialogTest, PlacementIsKeptUnderMacroDialog)
{
    RECT moved = {0, 0, 0, 0}, reopened = {0, 0, 0, 0};
    {
        CMacroDialog dlg;
        dlg.SetMacroFilePath(path.c_str());
        Show(dlg, {[&] {
                       HWND h = FindDialog("Macros");
                       if (!h)
                           return false;
                       RECT rc;
                       GetWindowRect(h, &rc);
                       SetWindowPos(h, NULL, 37, 41, rc.right - rc.left + 60, rc.bottom - rc.top + 20,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
                       return true;
                   },
                   [&] {
                       HWND h = FindDialog("Macros");
                       GetWindowRect(h, &moved);
                       Click(h, IDCANCEL);
                       return true;
                   }});
    }
    BYTE* pData = NULL;
    UINT cb = 0;
    ASSERT_TRUE(AfxGetApp()->GetProfileBinary("MacroDialog", "WindowPlacement", &pData, &cb));
    delete[] pData;
    EXPECT_EQ(cb, 44u);
    {
        CMacroDialog dlg;
        dlg.SetMacroFilePath(path.c_str());
        Show(dlg, {[&] {
                 HWND h = FindDialog("Macros");
                 if (!h)
                     return false;
                 GetWindowRect(h, &reopened);
                 Click(h, IDCANCEL);
                 return true;
             }});
    }
    EXPECT_EQ(reopened.left, moved.left);
    EXPECT_EQ(reopened.top, moved.top);
    EXPECT_EQ(reopened.right, moved.right);
    EXPECT_EQ(reopened.bottom, moved.bottom);
}

// The naming dialog on its own: defaults, the OK button following the
// name, and the duplicate check (exact case; no file never blocks).
TEST_F(MacroDialogTest, NewMacroDialogRefusesOnlyAnExactStoredName)
{
    const struct {
        const char* file; // NULL: no file
        const char* name;
        bool accepted;
    } cases[] = {
        {"<macros><macro name=\"Macro\" /></macros>", "Macro", false},
        {"<macros><macro name=\"macro\" /></macros>", "Macro", true},
        {"<macros><macro name=\"a\" /><macro /><macro name=\"Macro\" /></macros>", "Macro", false},
        {"<macros><macro name=\"Macro\">", "Macro", true},
        {NULL, "Macro", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "no file");
        DeleteFileA(path.c_str());
        if (c.file)
            WriteBytes(path, c.file);
        qmtest::MessageBoxRecorder boxes(IDOK);
        CNewMacroDialog dlg;
        dlg.SetMacroFilePath(path.c_str());
        std::string caption, preset;
        bool bOkWhenEmpty = true, bOkWithName = false, bStillOpen = false;
        std::vector<Step> steps = {[&] {
            HWND h = FindDialog("New Macro");
            if (!h)
                return false;
            caption = WindowText(h);
            preset = WindowText(GetDlgItem(h, IDC_NEW_MACRO_NAME));
            SetDlgItemTextA(h, IDC_NEW_MACRO_NAME, "");
            bOkWhenEmpty = Enabled(h, IDOK);
            SetDlgItemTextA(h, IDC_NEW_MACRO_NAME, c.name);
            bOkWithName = Enabled(h, IDOK);
            Click(h, IDOK);
            return true;
        }};
        // A refused name leaves the dialog open: look, then cancel.
        if (!c.accepted)
            steps.push_back([&] {
                if (boxes.Texts().empty())
                    return false;
                HWND h = FindDialog("New Macro");
                bStillOpen = h != NULL;
                if (h)
                    Click(h, IDCANCEL);
                return true;
            });
        INT_PTR result = Show(dlg, steps);
        EXPECT_EQ(caption, "New Macro");
        EXPECT_EQ(preset, "Macro");
        EXPECT_FALSE(bOkWhenEmpty);
        EXPECT_TRUE(bOkWithName);
        if (c.accepted) {
            EXPECT_EQ(result, IDOK);
            EXPECT_TRUE(boxes.Texts().empty());
            EXPECT_EQ(std::string(dlg.GetMacroName()), c.name);
        } else {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_TRUE(bStillOpen);
            EXPECT_EQ(boxes.Texts(), Lines{std::string("There is already a macro named ") + c.name});
        }
    }
}
