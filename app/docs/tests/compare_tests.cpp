// The compare document in a test MDI frame: header, compare window, copy,
// the temporary result file and the compare dialog's checks.
#include "docstest.h"

#include "resource.h"

using namespace docstest;

namespace {

class CompareDocTest : public DocsTest {
protected:
    CCompareDocument* NewCompare()
    {
        return static_cast<CCompareDocument*>(m_pCompareTemplate->OpenDocumentFile(NULL));
    }
    void WriteFixtures()
    {
        coretest::WriteBytes(Path("a.txt"), "alpha\nbeta\ngamma\ndelta\n");
        coretest::WriteBytes(Path("b.txt"), "alpha\nBETA\ngamma\ndelta\nepsilon\n");
    }
};

} // namespace

TEST_F(CompareDocTest, ComparingTwoFilesShowsTheHeaderAndTheMarkedRows)
{
    WriteFixtures();
    qmtest::MessageBoxRecorder boxes;
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CCompareView* pView = DYNAMIC_DOWNCAST(CCompareView, ViewOf(pDoc));
    ASSERT_TRUE(pView != NULL);
    FrameOf(pDoc)->ShowWindow(SW_SHOWMAXIMIZED);
    ASSERT_TRUE(pDoc->CompareFiles(Path("a.txt").c_str(), Path("b.txt").c_str()));
    pView->UpdateWindow();
    Pump(300);

    EXPECT_EQ("a.txt : b.txt", std::string(pView->GetHeaderText()));
    // The result file is a new temporary "wdf" file holding the marked rows.
    std::string strResult = (LPCSTR)pView->GetResultFile();
    ASSERT_FALSE(strResult.empty());
    EXPECT_NE(std::string::npos, strResult.find("wdf"));
    std::string result = coretest::ReadBytes(strResult);
    EXPECT_NE(std::string::npos, result.find(COMPAREWIN_MARK_FIRSTONLY "beta"));
    EXPECT_NE(std::string::npos, result.find(COMPAREWIN_MARK_SECONDONLY "BETA"));
    EXPECT_NE(std::string::npos, result.find(COMPAREWIN_MARK_SECONDONLY "epsilon"));

    // The compare window sits directly under the header, as wide as the view.
    CRect rcView, rcCompare;
    pView->GetClientRect(&rcView);
    pView->GetCompareWnd().GetWindowRect(&rcCompare);
    pView->ScreenToClient(&rcCompare);
    EXPECT_EQ(pView->GetHeaderHeight() + 2, rcCompare.top);
    EXPECT_EQ(rcView.right, rcCompare.right);
    EXPECT_EQ(rcView.bottom, rcCompare.bottom);
    EXPECT_GT(pView->GetHeaderHeight(), 8);

    // The header's coloured boxes as the screen shows them.
    Capture shot(pView->m_hWnd);
    shot.SaveBmp(QM_BIN_DIR "/../docs-compare.bmp");
    CRect rcFirst = pView->GetFirstRect(), rcSecond = pView->GetSecondRect();
    EXPECT_GT(shot.CountColour(rcFirst, CCompareView::kFirstColour), rcFirst.Width() * rcFirst.Height() / 2);
    EXPECT_GT(shot.CountColour(rcSecond, CCompareView::kSecondColour), rcSecond.Width() * rcSecond.Height() / 2);
    EXPECT_LT(rcFirst.right, rcSecond.left);
    // Under the header the window marks the row only in the first file and
    // the two only in the second in the same colours.
    CRect rcRows(0, rcCompare.top + 1, rcCompare.right, rcCompare.bottom);
    EXPECT_GT(shot.CountColour(rcRows, CCompareView::kFirstColour), 100);
    EXPECT_GT(shot.CountColour(rcRows, CCompareView::kSecondColour), 200);
    EXPECT_EQ(2, rcFirst.left);
    EXPECT_EQ(rcView.right - 2, rcSecond.right);
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(CompareDocTest, SelectAllThenCopyPutsTheResultOnTheClipboard)
{
    WriteFixtures();
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CCompareView* pView = DYNAMIC_DOWNCAST(CCompareView, ViewOf(pDoc));
    ASSERT_TRUE(pDoc->CompareFiles(Path("a.txt").c_str(), Path("b.txt").c_str()));
    SetClipboardText("<untouched>");
    EXPECT_EQ(0, pView->GetCompareWnd().CanCopy());
    EXPECT_FALSE(IsCommandEnabled(m_pMain, ID_EDIT_COPY));

    // The commands arrive at the main frame and are routed to the view.
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    EXPECT_NE(0, pView->GetCompareWnd().CanCopy());
    m_pMain->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    std::string expected = coretest::ReadBytes((LPCSTR)pView->GetResultFile());
    EXPECT_EQ(expected, ClipboardText());
    EXPECT_NE(std::string::npos, expected.find("epsilon"));
}

TEST_F(CompareDocTest, TheTemporaryResultFileGoesWithTheWindow)
{
    WriteFixtures();
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CCompareView* pView = DYNAMIC_DOWNCAST(CCompareView, ViewOf(pDoc));
    ASSERT_TRUE(pDoc->CompareFiles(Path("a.txt").c_str(), Path("b.txt").c_str()));
    std::string first = (LPCSTR)pView->GetResultFile();
    EXPECT_TRUE(coretest::FileExists(first));

    // A second compare in the same window replaces the first result file.
    ASSERT_TRUE(pDoc->CompareFiles(Path("b.txt").c_str(), Path("a.txt").c_str()));
    std::string second = (LPCSTR)pView->GetResultFile();
    EXPECT_NE(first, second);
    EXPECT_FALSE(coretest::FileExists(first));
    EXPECT_TRUE(coretest::FileExists(second));
    EXPECT_EQ("b.txt : a.txt", std::string(pView->GetHeaderText()));

    // Closing the frame destroys the window, then deletes the result.
    FrameOf(pDoc)->SendMessage(WM_CLOSE);
    Pump(50);
    EXPECT_EQ(0, CountDocs(m_pCompareTemplate));
    EXPECT_FALSE(coretest::FileExists(second));
}

TEST_F(CompareDocTest, SameNamesInTwoFoldersAndAMissingFile)
{
    ::CreateDirectoryA(Path("one").c_str(), NULL);
    ::CreateDirectoryA(Path("two").c_str(), NULL);
    coretest::WriteBytes(Path("one\\same.cpp"), "int a;\n");
    coretest::WriteBytes(Path("two\\same.cpp"), "int b;\n");
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CCompareView* pView = DYNAMIC_DOWNCAST(CCompareView, ViewOf(pDoc));
    EXPECT_TRUE(pDoc->CompareFiles(Path("one\\same.cpp").c_str(), Path("two\\same.cpp").c_str()));
    pView->UpdateWindow();
    EXPECT_EQ("same.cpp : same.cpp", std::string(pView->GetHeaderText()));

    // A missing side leaves the window without rows; the header still names both.
    pDoc->CompareFiles(Path("one\\same.cpp").c_str(), Path("gone.txt").c_str());
    pView->UpdateWindow();
    EXPECT_EQ("same.cpp : gone.txt", std::string(pView->GetHeaderText()));
}

TEST_F(CompareDocTest, ResizingKeepsTheWindowUnderTheHeader)
{
    WriteFixtures();
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CCompareView* pView = DYNAMIC_DOWNCAST(CCompareView, ViewOf(pDoc));
    pDoc->CompareFiles(Path("a.txt").c_str(), Path("b.txt").c_str());
    CFrameWnd* pFrame = FrameOf(pDoc);
    pFrame->ShowWindow(SW_RESTORE);
    for (int cx : {500, 320, 700}) {
        pFrame->SetWindowPos(NULL, 0, 0, cx, 300, SWP_NOZORDER | SWP_NOMOVE);
        pView->UpdateWindow();
        CRect rcView, rcCompare;
        pView->GetClientRect(&rcView);
        pView->GetCompareWnd().GetWindowRect(&rcCompare);
        pView->ScreenToClient(&rcCompare);
        EXPECT_EQ(pView->GetHeaderHeight() + 2, rcCompare.top) << cx;
        EXPECT_EQ(rcView.Width(), rcCompare.Width()) << cx;
        EXPECT_EQ(rcView.right - 2, pView->GetSecondRect().right) << cx;
    }
}

TEST_F(CompareDocTest, ADocumentWithoutAViewRefusesWithAMessage)
{
    qmtest::MessageBoxRecorder boxes;
    CCompareDocument* pDoc = new CCompareDocument;
    BOOL bResult = TRUE;
    EXPECT_NO_THROW(bResult = pDoc->CompareFiles("C:\\a.txt", "C:\\b.txt"));
    EXPECT_FALSE(bResult);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_NE(std::string::npos, boxes.Texts()[0].find("cannot be compared"));
    delete pDoc;
}

TEST_F(CompareDocTest, TheCompareFrameJoinsAndLeavesTheChildFrameList)
{
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CFrameWnd* pFrame = FrameOf(pDoc);
    ASSERT_EQ(1u, m_pMain->m_childFrames.size());
    EXPECT_EQ(pFrame, m_pMain->m_childFrames[0]);
    pFrame->SetFocus();
    EXPECT_EQ(pFrame, m_pMain->m_pCurrentFrame);
    EXPECT_EQ(ViewOf(pDoc), m_pMain->m_pCurrentView);
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(m_pMain->m_childFrames.empty());
    EXPECT_EQ(nullptr, m_pMain->m_pCurrentView);
}

TEST(CompareDialogChecks, EachMissingOrUnreadableFileHasItsMessage)
{
    qmtest::TempDir dir;
    std::string a = dir.Path("a.txt"), b = dir.Path("b.txt");
    coretest::WriteBytes(a, "a\n");
    coretest::WriteBytes(b, "b\n");
    std::string missing = dir.Path("missing.txt");
    struct Case {
        std::string first, second, message;
    } cases[] = {
        {"", b, "Please select a file to compare"},
        {missing, b, "File does not exist. Please select a file to compare"},
        {dir.Path(), b, "File does not exist. Please select a file to compare"},
        {a, "", "Please select a second file to compare"},
        {a, missing, "The second file does not exist. Please select a second file to compare"},
        {"", "", "Please select a file to compare"},
        {a, b, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.message, std::string(CBRCompareDlg::CheckFiles(c.first.c_str(), c.second.c_str())))
            << c.first << " | " << c.second;
}

TEST_F(CompareDocTest, TheDialogKeepsTheLastTwoFiles)
{
    WriteFixtures();
    std::string a = Path("a.txt"), b = Path("b.txt");
    {
        CBRCompareDlg dlg(m_pMain);
        dlgtest::ModalScript script({
            [&] {
                HWND h = dlgtest::FindDialog("Compare Files");
                if (h == NULL)
                    return false;
                ::SetDlgItemTextA(h, IDC_COMPARE_FIRST, a.c_str());
                ::SetDlgItemTextA(h, IDC_COMPARE_SECOND, b.c_str());
                dlgtest::Click(h, IDOK);
                return true;
            },
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(a, std::string(dlg.GetFirstFile()));
        EXPECT_EQ(b, std::string(dlg.GetSecondFile()));
    }
    // Opened again, it shows the two files chosen last.
    std::string shownFirst, shownSecond;
    CBRCompareDlg dlg(m_pMain);
    dlgtest::ModalScript script({
        [&] {
            HWND h = dlgtest::FindDialog("Compare Files");
            if (h == NULL)
                return false;
            shownFirst = dlgtest::WindowText(::GetDlgItem(h, IDC_COMPARE_FIRST));
            shownSecond = dlgtest::WindowText(::GetDlgItem(h, IDC_COMPARE_SECOND));
            dlgtest::Click(h, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(a, shownFirst);
    EXPECT_EQ(b, shownSecond);
}

TEST_F(CompareDocTest, TheContextMenuOffersCopyAndSelectAllToTheActiveFrame)
{
    WriteFixtures();
    CCompareDocument* pDoc = NewCompare();
    ASSERT_TRUE(pDoc != NULL);
    CCompareView* pView = DYNAMIC_DOWNCAST(CCompareView, ViewOf(pDoc));
    ASSERT_TRUE(pDoc->CompareFiles(Path("a.txt").c_str(), Path("b.txt").c_str()));
    EXPECT_EQ(0, pView->GetCompareWnd().CanCopy());
    std::vector<UINT> ids = RightClickAndChooseLast(pView->GetCompareWnd().m_hWnd);
    ASSERT_EQ(3u, ids.size());
    EXPECT_EQ((UINT)ID_EDIT_COPY, ids[0]);
    EXPECT_EQ((UINT)ID_EDIT_SELECT_ALL, ids[2]);
    EXPECT_NE(0, pView->GetCompareWnd().CanCopy());
}

namespace {
// The texts of the static controls of a window (a message box's message).
std::string StaticTexts(HWND hWnd)
{
    std::string s;
    ::EnumChildWindows(
        hWnd,
        [](HWND h, LPARAM l) -> BOOL {
            char cls[32] = "";
            ::GetClassNameA(h, cls, sizeof(cls));
            if (_stricmp(cls, "Static") == 0)
                *reinterpret_cast<std::string*>(l) += dlgtest::WindowText(h);
            return TRUE;
        },
        (LPARAM)&s);
    return s;
}
} // namespace

TEST_F(CompareDocTest, TheDialogStaysOpenWithAMessageUntilBothFilesExist)
{
    WriteFixtures();
    std::string a = Path("a.txt");
    std::vector<std::string> messages;
    // Each step fills the boxes, presses OK and answers the "Compare" box.
    auto tryOk = [&](const std::string& first, const std::string& second) {
        return [&, first, second] {
            HWND h = dlgtest::FindDialog("Compare Files");
            if (h == NULL)
                return false;
            ::SetDlgItemTextA(h, IDC_COMPARE_FIRST, first.c_str());
            ::SetDlgItemTextA(h, IDC_COMPARE_SECOND, second.c_str());
            dlgtest::Click(h, IDOK);
            return true;
        };
    };
    auto answer = [&] {
        HWND hBox = dlgtest::FindDialog("Compare");
        if (hBox == NULL)
            return false;
        messages.push_back(StaticTexts(hBox));
        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        return true;
    };
    CBRCompareDlg dlg(m_pMain);
    dlgtest::ModalScript script({
        tryOk("", ""),
        answer,
        tryOk(Path("nothing.txt"), a),
        answer,
        tryOk(a, ""),
        answer,
        tryOk(a, Path("nothing.txt")),
        answer,
        [&] {
            HWND h = dlgtest::FindDialog("Compare Files");
            if (h == NULL || dlgtest::FindDialog("Compare") != NULL)
                return false;
            dlgtest::Click(h, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    std::vector<std::string> expected = {
        "Please select a file to compare",
        "File does not exist. Please select a file to compare",
        "Please select a second file to compare",
        "The second file does not exist. Please select a second file to compare",
    };
    EXPECT_EQ(expected, messages);
    // Nothing was remembered.
    EXPECT_EQ("", std::string(AfxGetApp()->GetProfileString("Settings", "CompareFirstFile", "")));
}

TEST_F(CompareDocTest, BrowseFillsTheBoxAndRemembersTheFilter)
{
    WriteFixtures();
    std::string a = Path("a.txt");
    AfxGetApp()->WriteProfileInt("Settings", "FilterIndex", 1);
    {
        CCompareFileDialog probe(TRUE);
        EXPECT_EQ(1u, probe.m_ofn.nFilterIndex);
    }
    // 0 (no filter chosen yet) is replaced by the one the user confirms with.
    AfxGetApp()->WriteProfileInt("Settings", "FilterIndex", 0);
    std::string shown;
    CBRCompareDlg dlg(m_pMain);
    dlgtest::ModalScript script({
                                    [&] {
                                        HWND h = dlgtest::FindDialog("Compare Files");
                                        if (h == NULL)
                                            return false;
                                        dlgtest::Click(h, IDC_COMPARE_BROWSE_SECOND);
                                        return true;
                                    },
                                    [&] {
                                        // The open dialog: type the name and press Open.
                                        HWND hOpen = NULL;
                                        ::EnumThreadWindows(
                                            ::GetCurrentThreadId(),
                                            [](HWND w, LPARAM l) -> BOOL {
                                                char cls[32] = "";
                                                ::GetClassNameA(w, cls, sizeof(cls));
                                                if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(w) &&
                                                    dlgtest::WindowText(w) != "Compare Files") {
                                                    *(HWND*)l = w;
                                                    return FALSE;
                                                }
                                                return TRUE;
                                            },
                                            (LPARAM)&hOpen);
                                        if (hOpen == NULL)
                                            return false;
                                        HWND hName = ::GetDlgItem(hOpen, 0x47C);
                                        if (hName == NULL)
                                            hName = ::GetDlgItem(hOpen, 0x480);
                                        if (hName == NULL)
                                            return false;
                                        ::SendMessageA(hName, WM_SETTEXT, 0, (LPARAM)a.c_str());
                                        ::PostMessageA(hOpen, WM_COMMAND, IDOK, 0);
                                        return true;
                                    },
                                    [&] {
                                        HWND h = dlgtest::FindDialog("Compare Files");
                                        if (h == NULL || ::GetForegroundWindow() != h)
                                            return false;
                                        shown = dlgtest::WindowText(::GetDlgItem(h, IDC_COMPARE_SECOND));
                                        if (shown.empty())
                                            return false;
                                        dlgtest::Click(h, IDCANCEL);
                                        return true;
                                    },
                                },
                                15000);
    dlg.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(a, shown);
    EXPECT_EQ(a, std::string(dlg.GetSecondFile()));
    // The filter the user confirmed with is kept.
    EXPECT_EQ(1, AfxGetApp()->GetProfileInt("Settings", "FilterIndex", -1));
}
