// The hex document in a test MDI frame: open a binary file, edit it, find,
// go to an offset, save it byte-exact, and the input checks of searching
// and of the go-to dialog.
#include "docstest.h"

#include "resource.h"

using namespace docstest;

namespace {

// 512 bytes: 0x00..0xFF twice, with "DEAD" and "Needle" planted.
std::string MakeBinary()
{
    std::string s;
    for (int i = 0; i < 512; i++)
        s += (char)(i & 0xFF);
    s.replace(300, 2, "\xDE\xAD");
    s.replace(400, 6, "Needle");
    return s;
}

class HexDocTest : public DocsTest {
protected:
    CHexDocument* OpenHex(const std::string& path)
    {
        return static_cast<CHexDocument*>(m_pHexTemplate->OpenDocumentFile(path.c_str()));
    }
    static CHexEditView* HexView(CDocument* pDoc) { return DYNAMIC_DOWNCAST(CHexEditView, ViewOf(pDoc)); }
    static ULONGLONG SelStart(CHexEditView* pView)
    {
        return (ULONGLONG)pView->GetGrid().SendMessage(BGM_GETSELSTART);
    }
    static ULONGLONG SelLength(CHexEditView* pView)
    {
        return (ULONGLONG)pView->GetGrid().SendMessage(BGM_GETSELLENGTH);
    }
};

} // namespace

TEST_F(HexDocTest, ABinaryFileOpensEditsAndSavesByteExact)
{
    const std::string original = MakeBinary();
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, original);
    qmtest::MessageBoxRecorder boxes;

    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    ASSERT_TRUE(pView != NULL);
    // The first hex frame in an empty MDI client shows maximized.
    EXPECT_TRUE(FrameOf(pDoc)->IsZoomed());
    EXPECT_EQ(512u, pView->GetGrid().GetLength());
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ("Pos: 0", m_pMain->m_status[1]);
    EXPECT_EQ("", m_pMain->m_status[2]);

    // Two hex digits typed at offset 16 overwrite that byte.
    pView->GetGrid().SetPosition(16);
    EXPECT_EQ("Pos: 16", m_pMain->m_status[1]);
    pView->GetGrid().SendMessage(WM_CHAR, '4');
    pView->GetGrid().SendMessage(WM_CHAR, '1');
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ("Pos: 17", m_pMain->m_status[1]);
    // Insert mode shows in pane 2.
    pView->GetGrid().SendMessage(WM_KEYDOWN, VK_INSERT);
    EXPECT_EQ("INS", m_pMain->m_status[2]);
    pView->GetGrid().SendMessage(WM_KEYDOWN, VK_INSERT);
    EXPECT_EQ("", m_pMain->m_status[2]);

    // Save through the framework's File Save.
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_FALSE(pDoc->IsModified());
    std::string expected = original;
    expected[16] = 'A';
    EXPECT_EQ(expected, coretest::ReadBytes(path));

    // Undo goes back to the saved bytes' predecessor and marks the document.
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(HexDocTest, SaveAsWritesTheNewFileAndTakesItsName)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    pView->GetGrid().SetPosition(0);
    pView->GetGrid().SendMessage(WM_CHAR, 'f');
    pView->GetGrid().SendMessage(WM_CHAR, 'f');
    std::string copy = Path("copy.bin");
    EXPECT_TRUE(pDoc->DoSave(copy.c_str(), TRUE));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(copy, std::string(pDoc->GetPathName()));
    std::string expected = MakeBinary();
    expected[0] = '\xFF';
    EXPECT_EQ(expected, coretest::ReadBytes(copy));
    EXPECT_EQ(MakeBinary(), coretest::ReadBytes(path));
}

TEST_F(HexDocTest, AFailedSaveIsReportedAndKeepsTheDocumentModified)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    pView->GetGrid().SetPosition(5);
    pView->GetGrid().SendMessage(WM_CHAR, '0');
    pView->GetGrid().SendMessage(WM_CHAR, '0');
    ASSERT_TRUE(pDoc->IsModified());

    // A read-only target and a folder that does not exist both refuse.
    std::string locked = Path("locked.bin");
    coretest::WriteBytes(locked, "keep me");
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string targets[] = {locked, Path("no such folder\\x.bin")};
    for (const std::string& target : targets) {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->DoSave(target.c_str(), TRUE)) << target;
        EXPECT_TRUE(pDoc->IsModified()) << target;
        EXPECT_EQ(path, std::string(pDoc->GetPathName())) << target;
        ASSERT_EQ(1u, boxes.Texts().size()) << target;
        EXPECT_NE(std::string::npos, boxes.Texts()[0].find("Cannot save")) << boxes.Texts()[0];
    }
    EXPECT_EQ("keep me", coretest::ReadBytes(locked));
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(MakeBinary(), coretest::ReadBytes(path));
}

TEST_F(HexDocTest, AFileThatCannotBeLoadedOpensNoDocument)
{
    qmtest::MessageBoxRecorder boxes;
    CDocument* pDoc = m_pHexTemplate->OpenDocumentFile(Path("missing.bin").c_str());
    EXPECT_TRUE(pDoc == NULL);
    EXPECT_EQ(0, CountDocs(m_pHexTemplate));
    EXPECT_FALSE(boxes.Texts().empty());
}

TEST_F(HexDocTest, FindSelectsTheMatchAndMovesOn)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);

    // Hex text: blanks skipped, case of the digits free, a last lone digit left out.
    EXPECT_EQ(1, pView->Find("de ad", FALSE, FALSE, FALSE));
    EXPECT_EQ(300u, SelStart(pView));
    EXPECT_EQ(2u, SelLength(pView));
    pView->GetGrid().SetPosition(100);
    EXPECT_EQ(1, pView->Find("0A 0b", FALSE, FALSE, FALSE)); // 0x0A 0x0B again at 266
    EXPECT_EQ(266u, SelStart(pView));
    pView->GetGrid().SetPosition(0);
    EXPECT_EQ(1, pView->Find("ABC", FALSE, FALSE, FALSE)); // the single byte 0xAB
    EXPECT_EQ(0xABu, SelStart(pView));
    EXPECT_EQ(1u, SelLength(pView));

    // ASCII: any letter case without "Match Case", exact case with it.
    pView->GetGrid().SetPosition(0);
    EXPECT_EQ(1, pView->Find("NEEDLE", FALSE, FALSE, TRUE));
    EXPECT_EQ(400u, SelStart(pView));
    pView->GetGrid().SetPosition(0);
    EXPECT_EQ(0, pView->Find("NEEDLE", FALSE, TRUE, TRUE));
    EXPECT_EQ(1, pView->Find("Needle", FALSE, TRUE, TRUE));
    EXPECT_EQ(400u, SelStart(pView));

    // Searching up from the end finds the last 0x00 0x01 pair.
    pView->GetGrid().SetPosition(512);
    EXPECT_EQ(1, pView->Find("0001", TRUE, FALSE, FALSE));
    EXPECT_EQ(256u, SelStart(pView));
}

TEST_F(HexDocTest, FindNextUsesTheToolbarTextAndReportsMisses)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    qmtest::MessageBoxRecorder boxes;

    m_pMain->m_strToolbarFind = "";
    m_pMain->SendMessage(WM_COMMAND, ID_SEARCH_FIND_NEXT);
    EXPECT_TRUE(boxes.Texts().empty());

    m_pMain->m_strToolbarFind = "DE AD";
    m_pMain->SendMessage(WM_COMMAND, ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(300u, SelStart(pView));
    m_pMain->SendMessage(WM_COMMAND, ID_SEARCH_FIND_NEXT);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("The search text was not found", boxes.Texts()[0]);
}

TEST(HexFindText, TextsAreReadAsBytesOrRefused)
{
    struct Case {
        const char* text;
        BOOL ascii;
        bool ok;
        std::string bytes;
    } cases[] = {
        {"0A 0b", FALSE, true, "\x0A\x0B"},
        {"ABC", FALSE, true, "\xAB"},
        {"  de\tad  ", FALSE, true, "\xDE\xAD"},
        {"00ff", FALSE, true, std::string("\x00\xFF", 2)},
        {"0G", FALSE, false, ""},
        {"12-34", FALSE, false, ""},
        {"0x12", FALSE, false, ""},
        {"A", FALSE, false, ""},
        {"   ", FALSE, false, ""},
        {"", FALSE, false, ""},
        {"Hi there", TRUE, true, "Hi there"},
        {"0G", TRUE, true, "0G"},
        {"", TRUE, false, ""},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes;
        CString strError;
        BOOL bOk = CHexEditView::ParseFindText(c.text, c.ascii, bytes, &strError);
        EXPECT_EQ(c.ok, bOk != FALSE) << c.text;
        EXPECT_EQ(c.bytes, std::string(bytes.begin(), bytes.end())) << c.text;
        EXPECT_EQ(c.ok, strError.IsEmpty()) << c.text;
    }
}

TEST_F(HexDocTest, ARefusedSearchTextShowsOneMessageAndSearchesNothing)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    pView->GetGrid().SetPosition(7);
    qmtest::MessageBoxRecorder boxes;
    EXPECT_EQ(-1, pView->Find("12 zz", FALSE, FALSE, FALSE));
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_NE(std::string::npos, boxes.Texts()[0].find("Invalid hex digit"));
    EXPECT_EQ(7u, pView->GetGrid().GetPosition());
    EXPECT_EQ(0u, SelLength(pView));
}

TEST(HexGotoText, OffsetsAreCheckedInTheirBaseWithoutOverflow)
{
    const ULONGLONG kTooLarge = 0x100000000ull;
    struct Case {
        const char* text;
        BOOL hex;
        bool ok;
        ULONGLONG value;
        const char* message;
    } cases[] = {
        {"FF", TRUE, true, 255, ""},
        {"ff", TRUE, true, 255, ""},
        {"", TRUE, true, 0, ""},
        {"", FALSE, true, 0, ""},
        {"255", FALSE, true, 255, ""},
        {"FFFFFFFF", TRUE, true, 0xFFFFFFFFull, ""},
        {"100000000", TRUE, true, kTooLarge, ""},
        {"FFFFFFFFFFFFFFFFFFFF", TRUE, true, kTooLarge, ""},
        {"4294967295", FALSE, true, 0xFFFFFFFFull, ""},
        {"99999999999999999999999", FALSE, true, kTooLarge, ""},
        {"12G", TRUE, false, 0, "Invalid hex digit"},
        {"0x10", TRUE, false, 0, "Invalid hex digit"},
        {"-1", TRUE, false, 0, "Invalid hex digit"},
        {"1A", FALSE, false, 0, "Invalid decimal digit. Numeric only."},
        {" 12", FALSE, false, 0, "Invalid decimal digit. Numeric only."},
        {"-5", FALSE, false, 0, "Invalid decimal digit. Numeric only."},
    };
    for (const Case& c : cases) {
        ULONGLONG n = 12345;
        CString strError;
        BOOL bOk = CHexGoto::ParseOffset(c.text, c.hex, &n, &strError);
        EXPECT_EQ(c.ok, bOk != FALSE) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, n) << c.text;
        }
        EXPECT_EQ(std::string(c.message), std::string(strError)) << c.text;
    }
}

TEST_F(HexDocTest, GotoMovesTheCaretAndRefusesOffsetsPastTheEnd)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    qmtest::MessageBoxRecorder boxes;
    AfxGetApp()->WriteProfileInt("HexGoto", "Hex", 0);

    std::string lengthDecimal, lengthHex, offsetHex;
    int nStep = 0;
    dlgtest::ModalScript script({
        [&] {
            HWND h = dlgtest::FindDialog("Hex Goto");
            if (h == NULL)
                return false;
            lengthDecimal = dlgtest::WindowText(::GetDlgItem(h, IDC_HEX_GOTO_LENGTH));
            // The length itself is refused.
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "512");
            dlgtest::Click(h, IDOK);
            return true;
        },
        [&] {
            HWND h = dlgtest::FindDialog("Hex Goto");
            if (h == NULL || boxes.Texts().empty())
                return false;
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "255");
            ::CheckRadioButton(h, IDC_HEX_GOTO_DECIMAL, IDC_HEX_GOTO_HEX, IDC_HEX_GOTO_HEX);
            dlgtest::Click(h, IDC_HEX_GOTO_HEX);
            return true;
        },
        [&] {
            HWND h = dlgtest::FindDialog("Hex Goto");
            if (h == NULL)
                return false;
            lengthHex = dlgtest::WindowText(::GetDlgItem(h, IDC_HEX_GOTO_LENGTH));
            offsetHex = dlgtest::WindowText(::GetDlgItem(h, IDC_HEX_GOTO_OFFSET));
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "1C8");
            nStep = 3;
            dlgtest::Click(h, IDOK);
            return true;
        },
    });
    m_pMain->SendMessage(WM_COMMAND, ID_SEARCH_GOTO);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(3, nStep);
    EXPECT_EQ("File Length: 512", lengthDecimal);
    EXPECT_EQ("File Length: 200", lengthHex);
    EXPECT_EQ("FF", offsetHex);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("Selected offset larger than file length.", boxes.Texts()[0]);
    EXPECT_EQ(0x1C8u, pView->GetGrid().GetPosition());
    EXPECT_EQ(1, AfxGetApp()->GetProfileInt("HexGoto", "Hex", 0));
}

TEST_F(HexDocTest, GotoRefusesBadDigitsAndKeepsTheLastValidOffset)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    pView->GetGrid().SetPosition(3);
    qmtest::MessageBoxRecorder boxes;
    AfxGetApp()->WriteProfileInt("HexGoto", "Hex", 0);

    dlgtest::ModalScript script({
        [&] {
            HWND h = dlgtest::FindDialog("Hex Goto");
            if (h == NULL)
                return false;
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "40");
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "40x");
            // A huge number is too large, never wrapped round to a small offset.
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "18446744073709551656");
            dlgtest::Click(h, IDOK);
            return true;
        },
        [&] {
            HWND h = dlgtest::FindDialog("Hex Goto");
            if (h == NULL)
                return false;
            ::SetDlgItemTextA(h, IDC_HEX_GOTO_OFFSET, "40");
            dlgtest::Click(h, IDOK);
            return true;
        },
    });
    m_pMain->SendMessage(WM_COMMAND, ID_SEARCH_GOTO);
    EXPECT_TRUE(script.Finished());
    std::vector<std::string> expected = {"Invalid decimal digit. Numeric only.",
                                         "Selected offset larger than file length."};
    EXPECT_EQ(expected, boxes.Texts());
    EXPECT_EQ(40u, pView->GetGrid().GetPosition());
}

TEST_F(HexDocTest, TheHexFindDialogSearchesTheActiveViewAndIsOpenedOnce)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    AfxGetApp()->WriteProfileInt("HexFindDialog", "SearchAscii", 1);
    AfxGetApp()->WriteProfileInt("HexFindDialog", "MatchCase", 1);
    qmtest::MessageBoxRecorder boxes;

    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_FIND);
    CHexFindDialog* pDlg = CHexFindDialog::GetOpen();
    ASSERT_TRUE(pDlg != NULL);
    EXPECT_EQ(pDlg, m_pMain->m_pHexFind);
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_FIND);
    EXPECT_EQ(pDlg, CHexFindDialog::GetOpen());
    EXPECT_TRUE(pDlg->IsWindowVisible());

    // The flags come from the profile; "Match Case" follows "Search Ascii".
    HWND h = pDlg->m_hWnd;
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(h, IDC_HEX_SEARCH_ASCII));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(h, IDC_HEX_MATCH_CASE));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(h, IDC_HEX_DOWN));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_HEX_MATCH_CASE)));
    ::CheckDlgButton(h, IDC_HEX_SEARCH_ASCII, BST_UNCHECKED);
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_HEX_SEARCH_ASCII, BN_CLICKED),
                   (LPARAM)::GetDlgItem(h, IDC_HEX_SEARCH_ASCII));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_HEX_MATCH_CASE)));

    // "Find" goes through the main frame to the active hex view.
    ::SetDlgItemTextA(h, IDC_HEX_FIND_TEXT, "4E 65");
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_HEX_FIND_BUTTON, BN_CLICKED), 0);
    EXPECT_EQ(1, m_pMain->m_nFindCalls);
    EXPECT_EQ(400u, SelStart(pView));
    EXPECT_TRUE(boxes.Texts().empty());
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_HEX_FIND_BUTTON, BN_CLICKED), 0);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("Not found.", boxes.Texts()[0]);
    // F3, the main frame's key for "Find", works inside the dialog.
    pView->GetGrid().SetPosition(0);
    ::SetDlgItemTextA(h, IDC_HEX_FIND_TEXT, "DEAD");
    MSG key = {::GetDlgItem(h, IDC_HEX_FIND_TEXT), WM_KEYDOWN, VK_F3, 0, 0, {0, 0}};
    EXPECT_TRUE(pDlg->PreTranslateMessage(&key));
    EXPECT_EQ(300u, SelStart(pView));
    EXPECT_EQ(3, m_pMain->m_nFindCalls);
    // An empty box searches nothing.
    ::SetDlgItemTextA(h, IDC_HEX_FIND_TEXT, "");
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_HEX_FIND_BUTTON, BN_CLICKED), 0);
    EXPECT_EQ(3, m_pMain->m_nFindCalls);

    // Up, then Close writes the flags and forgets the dialog.
    ::CheckRadioButton(h, IDC_HEX_UP, IDC_HEX_DOWN, IDC_HEX_UP);
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_HEX_UP, BN_CLICKED), (LPARAM)::GetDlgItem(h, IDC_HEX_UP));
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(h, IDCANCEL));
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(nullptr, CHexFindDialog::GetOpen());
    EXPECT_EQ(nullptr, m_pMain->m_pHexFind);
    EXPECT_EQ(0, AfxGetApp()->GetProfileInt("HexFindDialog", "SearchAscii", 9));
    EXPECT_EQ(1, AfxGetApp()->GetProfileInt("HexFindDialog", "SearchUp", 9));

    // With no active document the search says so.
    FrameOf(pDoc)->SendMessage(WM_CLOSE);
    EXPECT_TRUE(HexFindInActiveDocument(m_pMain, "00", FALSE, FALSE, FALSE));
    ASSERT_EQ(2u, boxes.Texts().size());
    EXPECT_EQ("Error: No Active Document to Search", boxes.Texts()[1]);
}

// In the editor the command bars translate the keys and the frame's own
// accelerator table is emptied: the dialog takes F3 from the shortcuts in
// force, so F3 still searches.
TEST_F(HexDocTest, HexFindTakesItsKeysFromTheShortcutsInForce)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    qmtest::MessageBoxRecorder boxes;
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);

    HACCEL hFrameTable = m_pMain->m_hAccelTable;
    m_pMain->m_hAccelTable = NULL;
    ACCEL keys[] = {{FVIRTKEY, VK_F3, ID_SEARCH_FIND_NEXT}, {FVIRTKEY, VK_F3, IDC_HEX_FIND_BUTTON}, {FVIRTKEY | FCONTROL, 'F', ID_EDIT_FIND}};
    m_pMain->m_hShortcuts = CreateAcceleratorTableA(keys, 3);
    ASSERT_TRUE(m_pMain->m_hShortcuts != NULL);

    CHexFindDialog* pDlg = CHexFindDialog::Open(m_pMain);
    ASSERT_TRUE(pDlg != NULL);
    HWND h = pDlg->m_hWnd;
    pView->GetGrid().SetPosition(0);
    ::SetDlgItemTextA(h, IDC_HEX_FIND_TEXT, "DEAD");
    int nCalls = m_pMain->m_nFindCalls;
    MSG key = {::GetDlgItem(h, IDC_HEX_FIND_TEXT), WM_KEYDOWN, VK_F3, 0, 0, {0, 0}};
    EXPECT_TRUE(pDlg->PreTranslateMessage(&key));
    EXPECT_EQ(nCalls + 1, m_pMain->m_nFindCalls);
    EXPECT_EQ(300u, SelStart(pView));
    // Other keys of the frame are not the dialog's.
    MSG other = {::GetDlgItem(h, IDC_HEX_FIND_TEXT), WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
    pDlg->PreTranslateMessage(&other);
    EXPECT_EQ(nCalls + 1, m_pMain->m_nFindCalls);

    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(h, IDCANCEL));
    DestroyAcceleratorTable(m_pMain->m_hShortcuts);
    m_pMain->m_hShortcuts = NULL;
    m_pMain->m_hAccelTable = hFrameTable;
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(HexDocTest, CommandStatesFollowTheControl)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    CMFCBytegrid& grid = pView->GetGrid();
    SetClipboardText("");

    // The state of each command as the main frame's update routing sees it.
    struct Case {
        UINT id;
        bool fresh, selected, edited;
    } cases[] = {
        {ID_EDIT_COPY, false, true, false},
        {ID_EDIT_CUT, false, true, false},
        {ID_EDIT_PASTE, false, false, true},
        {ID_EDIT_UNDO, false, false, true},
        {ID_EDIT_REDO, false, false, false},
        {ID_EDIT_FIND, true, true, true},
        {ID_SEARCH_GOTO, true, true, true},
        {ID_FILE_SAVE, true, true, true},
        {ID_FILE_SAVE_AS, true, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fresh, IsCommandEnabled(m_pMain, c.id)) << "fresh " << c.id;
    grid.SetSelection(16, 4);
    for (const Case& c : cases)
        EXPECT_EQ(c.selected, IsCommandEnabled(m_pMain, c.id)) << "selected " << c.id;

    // Copy puts the bytes on the clipboard as text: now Paste is offered.
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    EXPECT_EQ("10 11 12 13", ClipboardText());
    grid.SetPosition(0);
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_TRUE(pDoc->IsModified());
    for (const Case& c : cases)
        EXPECT_EQ(c.edited, IsCommandEnabled(m_pMain, c.id)) << "edited " << c.id;
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_TRUE(IsCommandEnabled(m_pMain, ID_EDIT_REDO));
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_REDO);
    EXPECT_TRUE(pDoc->IsModified());

    // Copy the file path command.
    SetClipboardText("");
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_COPY_PATH);
    EXPECT_EQ(path, ClipboardText());
}

TEST_F(HexDocTest, TheContextMenuOffersTheEditCommands)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    CHexEditView* pView = HexView(pDoc);
    pView->GetGrid().SetPosition(0);
    SetClipboardText("41 42");
    std::vector<UINT> ids = RightClickAndChooseLast(pView->GetGrid().m_hWnd);
    ASSERT_EQ(6u, ids.size());
    std::vector<UINT> commands = {ids[0], ids[1], ids[3], ids[4], ids[5]};
    std::vector<UINT> expected = {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
    EXPECT_EQ(expected, commands);
    // "Paste" reached the view through the active frame.
    EXPECT_TRUE(pDoc->IsModified());
    BYTE b[2] = {};
    BGBYTES get = {0, b, 2};
    pView->GetGrid().SendMessage(BGM_GETBYTES, (WPARAM)&get);
    EXPECT_EQ(0x41, b[0]);
    EXPECT_EQ(0x42, b[1]);
}

TEST_F(HexDocTest, WithoutTheHexControlNoDocumentOpens)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    UnloadBytegrid();
    WNDCLASSA wc;
    ASSERT_FALSE(::GetClassInfoA(NULL, BYTEGRID_CLASSA, &wc));
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_TRUE(m_pHexTemplate->OpenDocumentFile(path.c_str()) == NULL);
        EXPECT_EQ(0, CountDocs(m_pHexTemplate));
        EXPECT_TRUE(m_pMain->m_childFrames.empty());
        EXPECT_TRUE(m_pMain->MDIGetActive() == NULL);
    }
    LoadBytegrid();
    CHexDocument* pDoc = OpenHex(path);
    ASSERT_TRUE(pDoc != NULL);
    EXPECT_EQ(512u, HexView(pDoc)->GetGrid().GetLength());
}

TEST_F(HexDocTest, TheStatusBarFollowsTheActiveHexView)
{
    coretest::WriteBytes(Path("one.bin"), MakeBinary());
    coretest::WriteBytes(Path("two.bin"), MakeBinary());
    CHexDocument* pOne = OpenHex(Path("one.bin"));
    ASSERT_TRUE(pOne != NULL);
    HexView(pOne)->GetGrid().SetPosition(11);
    HexView(pOne)->GetGrid().SendMessage(WM_KEYDOWN, VK_INSERT);
    CHexDocument* pTwo = OpenHex(Path("two.bin"));
    ASSERT_TRUE(pTwo != NULL);
    EXPECT_EQ("Pos: 0", m_pMain->m_status[1]);
    EXPECT_EQ("", m_pMain->m_status[2]);
    HexView(pTwo)->GetGrid().SetPosition(22);
    EXPECT_EQ("Pos: 22", m_pMain->m_status[1]);

    m_pMain->MDIActivate(FrameOf(pOne));
    EXPECT_EQ("Pos: 11", m_pMain->m_status[1]);
    EXPECT_EQ("INS", m_pMain->m_status[2]);
    m_pMain->MDIActivate(FrameOf(pTwo));
    EXPECT_EQ("Pos: 22", m_pMain->m_status[1]);
    EXPECT_EQ("", m_pMain->m_status[2]);
}

TEST_F(HexDocTest, ClosingAModifiedDocumentAsksAndSavesOnYes)
{
    std::string path = Path("data.bin");
    coretest::WriteBytes(path, MakeBinary());
    struct Case {
        int answer;
        bool saved;
    } cases[] = {{IDNO, false}, {IDYES, true}};
    for (const Case& c : cases) {
        CHexDocument* pDoc = OpenHex(path);
        ASSERT_TRUE(pDoc != NULL);
        CHexEditView* pView = HexView(pDoc);
        pView->GetGrid().SetPosition(1);
        pView->GetGrid().SendMessage(WM_CHAR, 'e');
        pView->GetGrid().SendMessage(WM_CHAR, 'e');
        qmtest::MessageBoxRecorder boxes(c.answer);
        FrameOf(pDoc)->SendMessage(WM_CLOSE);
        EXPECT_EQ(1u, boxes.Texts().size()) << c.answer;
        EXPECT_EQ(0, CountDocs(m_pHexTemplate)) << c.answer;
        std::string expected = MakeBinary();
        if (c.saved)
            expected[1] = '\xEE';
        EXPECT_EQ(expected, coretest::ReadBytes(path)) << c.answer;
    }
}

TEST_F(HexDocTest, TheHexFindDialogLaysOutItsControlsWhenResized)
{
    CHexFindDialog* pDlg = CHexFindDialog::Open(m_pMain);
    ASSERT_TRUE(pDlg != NULL);
    HWND h = pDlg->m_hWnd;
    auto rectOf = [h](int nID) {
        CRect rc;
        ::GetWindowRect(::GetDlgItem(h, nID), &rc);
        ::MapWindowPoints(NULL, h, (LPPOINT)&rc, 2);
        return rc;
    };
    CRect box = rectOf(IDC_HEX_FIND_TEXT), find = rectOf(IDC_HEX_FIND_BUTTON), close = rectOf(IDCANCEL),
          ascii = rectOf(IDC_HEX_SEARCH_ASCII);
    CRect rcWindow;
    pDlg->GetWindowRect(&rcWindow);
    pDlg->SetWindowPos(NULL, 0, 0, rcWindow.Width() + 120, rcWindow.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);

    CRect box2 = rectOf(IDC_HEX_FIND_TEXT), find2 = rectOf(IDC_HEX_FIND_BUTTON), close2 = rectOf(IDCANCEL),
          ascii2 = rectOf(IDC_HEX_SEARCH_ASCII);
    EXPECT_EQ(box.left, box2.left);
    EXPECT_EQ(box.Width() + 120, box2.Width());
    EXPECT_EQ(find.left + 120, find2.left);
    EXPECT_EQ(find.top, find2.top);
    EXPECT_EQ(close.left + 120, close2.left);
    EXPECT_EQ(close.top + 40, close2.top);
    EXPECT_EQ(ascii.left, ascii2.left);
    EXPECT_EQ(ascii.top + 40, ascii2.top);
}
