// findbox_tests.cpp - the find box (completion, its own keys, Enter) and
// the Find, Replace and Go To Line dialogs on real windows, with a main
// frame that records the searches they ask for.
#include "coretest.h"
#include "dialogtest.h"
#include "editorframestub.h"
#include "finddlg.h"
#include "findbox.h"

#include <qmtest/pump.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

struct Search {
    std::string what, text;
    BOOL matchCase, wholeWord, regex, up;
};

// The main frame as far as the search inputs need it: it records.
class CRecordingFrame : public CEditorFrameStubOf<CFrameWnd> {
public:
    CViewSettings m_settings{};
    std::vector<Search> m_searches;
    HACCEL m_hKeys = NULL;
    CViewSettings* GetSettings() override { return &m_settings; }

    BOOL FindInActiveDocument(LPCSTR t, BOOL c, BOOL w, BOOL r, BOOL up, BOOL) override
    {
        m_searches.push_back({"find", t, c, w, r, up});
        return TRUE;
    }
    BOOL MarkAllInActiveDocument(LPCSTR t, BOOL c, BOOL w, BOOL r) override
    {
        m_searches.push_back({"mark", t, c, w, r, FALSE});
        return TRUE;
    }
    int ReplaceInActiveDocument(LPCSTR f, LPCSTR, BOOL c, BOOL w, BOOL r, BOOL, BOOL all, int) override
    {
        m_searches.push_back({all ? "replace all" : "replace", f, c, w, r, FALSE});
        return -1;
    }
    void QuickFindInActiveDocument(LPCSTR t) override { m_searches.push_back({"quick", t, 0, 0, 0, 0}); }
    HACCEL GetFrameAccelerators() override { return m_hKeys; }
};

// Hands each message to the windows' PreTranslateMessage first, as the
// program's own loop does.
void PumpTranslated(DWORD dwMs = 150)
{
    DWORD dwStart = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            // Characters beyond ASCII go on whole, as in the program's loop.
            if (AfxDispatchWideChar(&msg))
                continue;
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::Sleep(5);
    } while (::GetTickCount() - dwStart < dwMs);
}

// A key as the user presses it in hWnd: down, the character, up.
void PressKey(HWND hWnd, WORD vk)
{
    ::PostMessageA(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageA(hWnd, WM_KEYUP, vk, 0xC0000001);
    PumpTranslated(60);
}

std::string Text(HWND hWnd)
{
    char sz[256] = "";
    ::GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

class FindBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HKEY hApp = AfxGetApp()->GetAppRegistryKey();
        ::RegDeleteTreeA(hApp, "SearchHistory");
        ::RegDeleteTreeA(hApp, "FindReplace");
        ::RegCloseKey(hApp);
        m_pFrame = new CRecordingFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Find test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 650, 450)));
        AfxGetApp()->m_pMainWnd = m_pFrame;
        ACCEL keys[] = {{FVIRTKEY, VK_F3, ID_SEARCH_FIND_NEXT},
                        {FVIRTKEY | FCONTROL, 'F', ID_EDIT_FIND},
                        {FVIRTKEY | FCONTROL, 'H', ID_EDIT_REPLACE},
                        {FVIRTKEY, VK_F3, IDC_HEX_FIND_BUTTON}};
        m_pFrame->m_hKeys = ::CreateAcceleratorTableA(keys, 4);
    }
    void TearDown() override
    {
        ::DestroyAcceleratorTable(m_pFrame->m_hKeys);
        AfxGetApp()->m_pMainWnd = NULL;
        m_pFrame->DestroyWindow();
        qmtest::PumpMessages();
    }
    void History(std::initializer_list<const char*> texts)
    {
        int i = 0;
        for (const char* t : texts)
            AfxGetApp()->WriteProfileString("SearchHistory", std::to_string(i++).c_str(), t);
    }
    CRecordingFrame* m_pFrame = NULL;
};

} // namespace

TEST_F(FindBoxTest, CompletionTakesTheNewestEntryAndKeepsTheTypedCase)
{
    History({"Main", "map", "other"});
    CToolbarFindComboBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 10, 200, 150), m_pFrame,
                           ID_FIND_BOX));
    EXPECT_EQ(box.GetCount(), 3);
    HWND hEdit = box.GetEdit().GetSafeHwnd();
    ASSERT_NE(hEdit, (HWND)NULL);
    // The box shows the selected entry: the user clears it first.
    EXPECT_EQ(Text(box.GetSafeHwnd()), "Main");
    box.SetWindowText("");
    ::SetFocus(hEdit);

    PressKey(hEdit, 'M');
    PressKey(hEdit, 'A');
    EXPECT_EQ(Text(box.GetSafeHwnd()), "main");
    DWORD sel = box.GetEditSel();
    EXPECT_EQ(LOWORD(sel), 2);
    EXPECT_EQ(HIWORD(sel), 4);

    // Backspace takes the completion away and does not complete again.
    PressKey(hEdit, VK_BACK);
    EXPECT_EQ(Text(box.GetSafeHwnd()), "ma");
    EXPECT_FALSE(box.IsCompletionArmed());
    // The next other key completes again.
    PressKey(hEdit, 'I');
    EXPECT_EQ(Text(box.GetSafeHwnd()), "main");
    box.DestroyWindow();
}

// Letters beyond ASCII are several bytes each: the completed rest is
// selected from the end of what was typed, so the next letter replaces it.
TEST_F(FindBoxTest, CompletionOfLettersBeyondAsciiSelectsFromTheTypedEnd)
{
    History({"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xB1\xCE\xB2"}); // "日本語 αβ"
    CToolbarFindComboBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 10, 200, 150), m_pFrame,
                           ID_FIND_BOX));
    HWND hEdit = box.GetEdit().GetSafeHwnd();
    ASSERT_NE(hEdit, (HWND)NULL);
    box.SetWindowText("");
    ::SetFocus(hEdit);
    for (wchar_t ch : std::wstring(L"\u65E5\u672C!")) { // "日本!"
        ::PostMessageW(hEdit, WM_KEYDOWN, VK_PACKET, 1);
        ::PostMessageW(hEdit, WM_CHAR, ch, 1);
        ::PostMessageW(hEdit, WM_KEYUP, VK_PACKET, 0xC0000001);
        PumpTranslated(60);
        if (ch == 0x65E5)
            EXPECT_EQ(Text(box.GetSafeHwnd()), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xB1\xCE\xB2")
                << "one letter typed completes to the entry";
    }
    EXPECT_EQ(Text(box.GetSafeHwnd()), "\xE6\x97\xA5\xE6\x9C\xAC!");
    box.DestroyWindow();
}

TEST_F(FindBoxTest, TheBoxCopiesKeysAndSearchesOnEnterAndF3)
{
    CToolbarFindComboBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 10, 200, 150), m_pFrame,
                           ID_FIND_BOX));
    EXPECT_FALSE(box.CopyAccelerator(NULL, ID_SEARCH_FIND_NEXT));
    EXPECT_FALSE(box.CopyAccelerator(m_pFrame->m_hKeys, 9999));
    EXPECT_EQ(box.GetAccelerators(), (HACCEL)NULL);
    EXPECT_TRUE(box.CopyAccelerator(m_pFrame->m_hKeys, ID_SEARCH_FIND_NEXT));
    EXPECT_TRUE(box.CopyAccelerator(m_pFrame->m_hKeys, IDC_HEX_FIND_BUTTON));
    ACCEL own[4];
    ASSERT_EQ(::CopyAcceleratorTableA(box.GetAccelerators(), own, 4), 2);
    EXPECT_EQ(own[0].cmd, ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(own[0].key, VK_F3);
    EXPECT_EQ(own[1].cmd, IDC_HEX_FIND_BUTTON);

    HWND hEdit = box.GetEdit().GetSafeHwnd();
    ::SetFocus(hEdit);
    box.SetWindowText("needle");
    PressKey(hEdit, VK_RETURN);
    PressKey(hEdit, VK_F3);
    ASSERT_EQ(m_pFrame->m_searches.size(), 2u);
    EXPECT_EQ(m_pFrame->m_searches[0].what, "quick");
    EXPECT_EQ(m_pFrame->m_searches[0].text, "needle");
    EXPECT_EQ(m_pFrame->m_searches[1].what, "quick");
    box.DestroyWindow();
}

TEST_F(FindBoxTest, FindDialogSearchesOnceWithItsOptionsAndKeepsThem)
{
    History({"older"});
    CFindDialog* pDlg = new CFindDialog(m_pFrame, "seed");
    ASSERT_TRUE(pDlg->CreateModeless(m_pFrame));
    HWND hDlg = pDlg->GetSafeHwnd();
    EXPECT_EQ(Text(pDlg->GetFindBox().GetSafeHwnd()), "seed");
    // Defaults from an empty profile: down, wrap around.
    EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_FIND_DOWN), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_FIND_WRAP), BST_CHECKED);

    // Clicking the radio button that is already checked keeps the direction.
    ::SendMessageA(::GetDlgItem(hDlg, IDC_FIND_DOWN), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(hDlg, IDC_FIND_MATCH_CASE), BM_CLICK, 0, 0);
    PumpTranslated(50);
    EXPECT_FALSE(pDlg->GetSearchUp());

    // Enter in the box: one search, with the dialog's options.
    HWND hEdit = pDlg->GetFindBox().GetEdit().GetSafeHwnd();
    ::SetFocus(hEdit);
    PressKey(hEdit, VK_RETURN);
    ASSERT_EQ(m_pFrame->m_searches.size(), 1u);
    EXPECT_EQ(m_pFrame->m_searches[0].what, "find");
    EXPECT_EQ(m_pFrame->m_searches[0].text, "seed");
    EXPECT_TRUE(m_pFrame->m_searches[0].matchCase);
    EXPECT_FALSE(m_pFrame->m_searches[0].up);
    // F3 in the box searches with the dialog's options too.
    PressKey(hEdit, VK_F3);
    ASSERT_EQ(m_pFrame->m_searches.size(), 2u);
    EXPECT_EQ(m_pFrame->m_searches[1].what, "find");

    ::SendMessageA(::GetDlgItem(hDlg, IDC_FIND_UP), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(hDlg, IDC_FIND_UP), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(hDlg, IDC_FIND_MARK_ALL), BM_CLICK, 0, 0);
    PumpTranslated(50);
    EXPECT_TRUE(pDlg->GetSearchUp());
    ASSERT_EQ(m_pFrame->m_searches.size(), 3u);
    EXPECT_EQ(m_pFrame->m_searches[2].what, "mark");
    // The history took the text.
    EXPECT_EQ(std::string(AfxGetApp()->GetProfileString("SearchHistory", "0")), "seed");

    ::SendMessageA(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    PumpTranslated(50);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(AfxGetApp()->GetProfileInt("FindReplace", "MatchCase", -1), 1);
    EXPECT_EQ(AfxGetApp()->GetProfileInt("FindReplace", "SearchUp", -1), 1);
    EXPECT_EQ(AfxGetApp()->GetProfileInt("FindReplace", "WrapAround", -1), 1);

    // Opened again with no text: the newest history entry, the options back.
    pDlg = new CFindDialog(m_pFrame, "");
    ASSERT_TRUE(pDlg->CreateModeless(m_pFrame));
    hDlg = pDlg->GetSafeHwnd();
    EXPECT_EQ(Text(pDlg->GetFindBox().GetSafeHwnd()), "seed");
    EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_FIND_UP), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_FIND_MATCH_CASE), BST_CHECKED);
    pDlg->DestroyWindow();
}

TEST_F(FindBoxTest, ReplaceDialogScopeAndEmptyText)
{
    CReplaceDialog* pDlg = new CReplaceDialog(m_pFrame, "");
    ASSERT_TRUE(pDlg->CreateModeless(m_pFrame));
    HWND hDlg = pDlg->GetSafeHwnd();
    EXPECT_EQ(pDlg->GetReplaceBox().GetHistorySection(), CString("ReplaceHistory"));
    ::SendMessageA(::GetDlgItem(hDlg, IDC_REPLACE_SCOPE_SELECTION), BM_CLICK, 0, 0);
    PumpTranslated(30);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_REPLACE_FIND_NEXT)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_REPLACE_ONE)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_REPLACE_ALL)));

    pDlg->GetFindBox().SetWindowText("a");
    pDlg->GetReplaceBox().SetWindowText("b");
    ::SendMessageA(::GetDlgItem(hDlg, IDC_REPLACE_ALL), BM_CLICK, 0, 0);
    PumpTranslated(30);
    ASSERT_EQ(m_pFrame->m_searches.size(), 1u);
    EXPECT_EQ(m_pFrame->m_searches[0].what, "replace all");
    EXPECT_EQ(std::string(AfxGetApp()->GetProfileString("ReplaceHistory", "0")), "b");
    EXPECT_EQ(std::string(AfxGetApp()->GetProfileString("SearchHistory", "0")), "a");

    ::SendMessageA(::GetDlgItem(hDlg, IDC_REPLACE_SCOPE_DOCUMENT), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    PumpTranslated(30);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(AfxGetApp()->GetProfileInt("FindReplace", "Selection", -1), 0);
}

TEST_F(FindBoxTest, GotoDialogGreysOkWhileEmpty)
{
    int nLine = -1;
    bool bOkWhileEmpty = true;
    dlgtest::ModalScript script({[&]() {
        HWND h = dlgtest::FindDialog("Go To Line");
        if (h == NULL)
            return false;
        EXPECT_EQ(dlgtest::WindowText(::GetDlgItem(h, IDC_GOTO_LABEL)),
                  "Line number (1 - 12):");
        ::SetDlgItemTextA(h, IDC_GOTO_LINE, "");
        bOkWhileEmpty = ::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE;
        ::SetDlgItemTextA(h, IDC_GOTO_LINE, "4");
        dlgtest::Click(h, IDOK);
        return true;
    }});
    CGotoDialog dlg(12, m_pFrame);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    nLine = dlg.GetLine();
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(bOkWhileEmpty);
    EXPECT_EQ(nLine, 4);
}
