// Printing and print preview of a view: the page loop on a metafile
// printer, print to file, page ranges, cancelling, missing printers, and
// the preview's pages, commands and return to the frame.
#include "DocViewTestApp.h"

using namespace dvtest;

namespace {

// A printer that records the job: the DC is an enhanced metafile.
class RecordingPrinter : public fx::PrintDevice {
public:
    HDC CreatePrinterDC(BOOL bPreview) override
    {
        m_nDCs++;
        m_bLastForPreview = bPreview;
        HDC hScreen = ::GetDC(NULL);
        HDC hDC = ::CreateEnhMetaFileA(hScreen, NULL, NULL, NULL);
        ::ReleaseDC(NULL, hScreen);
        return hDC;
    }
    BOOL ProvidesDC() const override { return TRUE; }
    int StartDoc(HDC, const DOCINFOA* pDocInfo) override
    {
        if (m_bFailStart)
            return 0;
        m_strDocName = pDocInfo->lpszDocName != NULL ? pDocInfo->lpszDocName : "";
        m_strOutput = pDocInfo->lpszOutput != NULL ? pDocInfo->lpszOutput : "";
        m_nStartDocs++;
        return 1;
    }
    int StartPage(HDC) override
    {
        m_nPages++;
        return 1;
    }
    int EndPage(HDC) override { return 1; }
    int EndDoc(HDC) override
    {
        m_nEndDocs++;
        return 1;
    }
    int AbortDoc(HDC) override
    {
        m_nAborts++;
        return 1;
    }

    int m_nDCs = 0, m_nStartDocs = 0, m_nPages = 0, m_nEndDocs = 0, m_nAborts = 0;
    BOOL m_bLastForPreview = FALSE;
    BOOL m_bFailStart = FALSE;
    std::string m_strDocName, m_strOutput;
};

// A text view that prints a known number of pages.
class PrintView : public TextView {
    DECLARE_DYNCREATE(PrintView)
public:
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_events.push_back("begin");
        m_bBeginHadAttribDC = pDC->m_hAttribDC != NULL;
        if (s_nPages > 0)
            pInfo->SetMaxPage((UINT)s_nPages);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_pages.push_back(pInfo->m_nCurPage);
        m_lastDraw = pInfo->m_rectDraw;
        m_bPreviewPrint = pInfo->m_bPreview;
        if (s_nCancelAtPage == (int)pInfo->m_nCurPage && fx::GetPrintAbortWindow() != NULL)
            ::PostMessageA(fx::GetPrintAbortWindow(), WM_COMMAND, IDCANCEL, 0);
        TextView::OnPrint(pDC, pInfo);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { m_events.push_back("end"); }

    std::vector<UINT> m_pages;
    std::vector<std::string> m_events;
    CRect m_lastDraw;
    BOOL m_bPreviewPrint = FALSE;
    BOOL m_bBeginHadAttribDC = FALSE;
    static int s_nPages;
    static int s_nCancelAtPage;
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(PrintView, TextView)
int PrintView::s_nPages = 3;
int PrintView::s_nCancelAtPage = 0;

BEGIN_MESSAGE_MAP(PrintView, TextView)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

class PrintTest : public DocViewTest {
protected:
    void SetUp() override
    {
        DocViewTest::SetUp();
        PrintView::s_nPages = 3;
        PrintView::s_nCancelAtPage = 0;
        m_pPrintTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(TextFrame),
                                                 RUNTIME_CLASS(PrintView));
        m_pDocManager->AddDocTemplate(m_pPrintTemplate);
        m_pDoc = New(m_pPrintTemplate);
        ASSERT_TRUE(m_pDoc != NULL);
        m_pDoc->SetTitle("Printed");
        m_pView = static_cast<PrintView*>(ViewOf(m_pDoc));
        m_pOldDevice = fx::SetPrintDevice(&m_printer);
    }
    void TearDown() override
    {
        fx::SetPrintDevice(m_pOldDevice);
        DocViewTest::TearDown();
    }
    CPreviewView* Preview()
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PANE_FIRST));
        return pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CPreviewView)) ? static_cast<CPreviewView*>(pWnd) : NULL;
    }
    BOOL Enabled(UINT nID)
    {
        CTestCmdUI state;
        state.m_nID = nID;
        m_pMain->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, NULL);
        return state.m_bEnabled;
    }

    RecordingPrinter m_printer;
    fx::PrintDevice* m_pOldDevice = NULL;
    CMultiDocTemplate* m_pPrintTemplate = NULL;
    TextDoc* m_pDoc = NULL;
    PrintView* m_pView = NULL;
};

} // namespace

// ---------------------------------------------------------------------------
// Printing

TEST_F(PrintTest, ThePrintCommandPrintsEveryPageOnce)
{
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(std::vector<UINT>({1, 2, 3}), m_pView->m_pages);
    EXPECT_EQ(std::vector<std::string>({"begin", "end"}), m_pView->m_events);
    EXPECT_EQ(1, m_printer.m_nStartDocs);
    EXPECT_EQ(3, m_printer.m_nPages);
    EXPECT_EQ(1, m_printer.m_nEndDocs);
    EXPECT_EQ(0, m_printer.m_nAborts);
    EXPECT_EQ("Printed", m_printer.m_strDocName);
    EXPECT_EQ("", m_printer.m_strOutput);
    EXPECT_FALSE(m_pView->m_bPreviewPrint);
    // The drawing rectangle is the printable page.
    HDC hScreen = GetDC(NULL);
    EXPECT_EQ(CRect(0, 0, GetDeviceCaps(hScreen, HORZRES), GetDeviceCaps(hScreen, VERTRES)), m_pView->m_lastDraw);
    ReleaseDC(NULL, hScreen);
    EXPECT_EQ(NULL, fx::GetPrintAbortWindow());
    EXPECT_TRUE(m_pMain->IsWindowEnabled());
}

TEST_F(PrintTest, PrintToFileNamesTheOutputAndPageRangesAreKept)
{
    std::string out = m_dir.Path("job.prn");
    CPrintInfo info;
    info.m_pPD->m_pd.Flags |= PD_PRINTTOFILE | PD_PAGENUMS;
    info.m_strPrintToFile = out.c_str();
    ASSERT_TRUE(m_pView->OnPreparePrinting(&info));
    // The range is chosen after the view knows its pages.
    info.m_pPD->m_pd.nFromPage = 2;
    info.m_pPD->m_pd.nToPage = 3;
    EXPECT_TRUE(fx::RunPrintJob(m_pView, &info));
    EXPECT_EQ(out, m_printer.m_strOutput);
    EXPECT_EQ(std::vector<UINT>({2, 3}), m_pView->m_pages);
    EXPECT_EQ(2, m_printer.m_nPages);
}

TEST_F(PrintTest, AnUnknownPageCountPrintsOnePage)
{
    PrintView::s_nPages = 0;
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(std::vector<UINT>({1}), m_pView->m_pages);
    EXPECT_EQ(1, m_printer.m_nPages);
    EXPECT_EQ(1, m_printer.m_nEndDocs);
}

TEST_F(PrintTest, CancelInThePrintingBoxEndsTheJobAfterThatPage)
{
    PrintView::s_nPages = 5;
    PrintView::s_nCancelAtPage = 2;
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(std::vector<UINT>({1, 2}), m_pView->m_pages);
    EXPECT_EQ(1, m_printer.m_nAborts);
    EXPECT_EQ(0, m_printer.m_nEndDocs);
    EXPECT_EQ(std::vector<std::string>({"begin", "end"}), m_pView->m_events);
    EXPECT_EQ(NULL, fx::GetPrintAbortWindow());
    EXPECT_TRUE(m_pMain->IsWindowEnabled());
}

TEST_F(PrintTest, AJobThatCannotStartIsReported)
{
    m_printer.m_bFailStart = TRUE;
    qmtest::MessageBoxRecorder boxes;
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("Could not start print job.", boxes.Texts()[0]);
    EXPECT_TRUE(m_pView->m_pages.empty());
    EXPECT_EQ(std::vector<std::string>({"begin", "end"}), m_pView->m_events);
}

TEST_F(PrintTest, WithoutAPrinterNothingPrintsAndTheUserIsTold)
{
    fx::SetPrintDevice(NULL);
    DWORD cbNeeded = 0, nReturned = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, NULL, 4, NULL, 0, &cbNeeded, &nReturned);
    if (cbNeeded > 0)
        GTEST_SKIP() << "platform limit: a printer is installed, so the no-printer path cannot be reached";
    {
        qmtest::MessageBoxRecorder boxes;
        m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_NE(std::string::npos, boxes.Texts()[0].find("No printers are installed"));
    }
    // The preview cannot start either: the command's failure is reported.
    {
        qmtest::MessageBoxRecorder boxes;
        m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
        ASSERT_EQ(2u, boxes.Texts().size());
        EXPECT_EQ("Command failed.", boxes.Texts()[1]);
    }
    EXPECT_TRUE(m_pView->m_pages.empty());
    EXPECT_EQ(NULL, Preview());
    EXPECT_FALSE(m_pMain->IsInPreviewMode());
    EXPECT_EQ(m_pPrintTemplate->m_hMenuShared, GetMenu(m_pMain->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(m_pMain->m_hWndMDIClient));
}

// ---------------------------------------------------------------------------
// Print preview

TEST_F(PrintTest, ThePreviewTakesTheFramesPlaceAndGivesItBack)
{
    HMENU hMenuBefore = GetMenu(m_pMain->m_hWnd);
    CFrameWnd* pChild = FrameOf(m_pDoc);
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);

    CPreviewView* pPreview = Preview();
    ASSERT_TRUE(pPreview != NULL);
    EXPECT_TRUE(m_pMain->IsInPreviewMode());
    EXPECT_EQ(pPreview, m_pMain->GetActiveView());
    EXPECT_TRUE(m_printer.m_bLastForPreview);
    EXPECT_TRUE(m_pView->m_bBeginHadAttribDC);
    // The MDI client steps aside, the menu goes, the preview's bar comes.
    EXPECT_FALSE(::IsWindowVisible(m_pMain->m_hWndMDIClient));
    EXPECT_EQ(AFX_IDW_PANE_SAVE, ::GetDlgCtrlID(m_pMain->m_hWndMDIClient));
    EXPECT_EQ(NULL, GetMenu(m_pMain->m_hWnd));
    HWND hBar = ::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PREVIEW_BAR);
    ASSERT_TRUE(hBar != NULL);
    for (UINT nID : {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_NEXT, AFX_ID_PREVIEW_PREV, AFX_ID_PREVIEW_NUMPAGE,
                     AFX_ID_PREVIEW_ZOOMIN, AFX_ID_PREVIEW_ZOOMOUT, AFX_ID_PREVIEW_CLOSE})
        EXPECT_TRUE(::GetDlgItem(hBar, (int)nID) != NULL) << nID;
    // The bar sits above the preview.
    CRect rectBar, rectPreview;
    ::GetWindowRect(hBar, &rectBar);
    pPreview->GetWindowRect(&rectPreview);
    EXPECT_EQ(rectBar.bottom, rectPreview.top);

    // Painting shows the first page, drawn by the view's own printing.
    m_pView->m_pages.clear();
    pPreview->RedrawWindow();
    EXPECT_EQ(std::vector<UINT>({1}), m_pView->m_pages);
    EXPECT_TRUE(m_pView->m_bPreviewPrint);
    EXPECT_EQ(1u, pPreview->GetPagesShown());
    EXPECT_FALSE(pPreview->GetPageRect(0).IsRectEmpty());

    // Next, Prev and the page count follow the pages there are.
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_PREV));
    EXPECT_TRUE(Enabled(AFX_ID_PREVIEW_NEXT));
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(3u, pPreview->GetCurrentPage());
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_NEXT));
    EXPECT_TRUE(Enabled(AFX_ID_PREVIEW_PREV));
    // Two pages at the end show the last two.
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(2u, pPreview->GetPagesShown());
    EXPECT_EQ(2u, pPreview->GetCurrentPage());
    m_pView->m_pages.clear();
    pPreview->RedrawWindow();
    EXPECT_EQ(std::vector<UINT>({2, 3}), m_pView->m_pages);
    // Zoom: in until the last step, out again.
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_ZOOMOUT));
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMIN);
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_ZOOMIN));
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_TRUE(Enabled(AFX_ID_PREVIEW_ZOOMIN));

    // Close: everything comes back.
    m_pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(NULL, Preview());
    EXPECT_FALSE(m_pMain->IsInPreviewMode());
    EXPECT_EQ(NULL, ::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PREVIEW_BAR));
    EXPECT_TRUE(::IsWindowVisible(m_pMain->m_hWndMDIClient));
    EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(m_pMain->m_hWndMDIClient));
    EXPECT_EQ(hMenuBefore, GetMenu(m_pMain->m_hWnd));
    EXPECT_EQ(NULL, m_pMain->GetActiveView());
    EXPECT_EQ(pChild, m_pMain->MDIGetActive());
    EXPECT_EQ(m_pView, pChild->GetActiveView());
    EXPECT_EQ("end", m_pView->m_events.back());
    // The preview did not join the document's views.
    int nViews = 0;
    for (POSITION pos = m_pDoc->GetFirstViewPosition(); pos != NULL; m_pDoc->GetNextView(pos))
        nViews++;
    EXPECT_EQ(1, nViews);
}

TEST_F(PrintTest, ClosingTheFrameDuringThePreviewClosesOnlyThePreview)
{
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_TRUE(Preview() != NULL);
    qmtest::MessageBoxRecorder boxes;
    m_pMain->SendMessage(WM_CLOSE);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(::IsWindow(m_pMain->m_hWnd));
    EXPECT_EQ(NULL, Preview());
    EXPECT_EQ(1, CountDocuments());
}

TEST_F(PrintTest, ThePreviewUsesTheProgramsBarTemplateAndItsPrintButtonPrints)
{
    CPrintPreviewState* pState = new CPrintPreviewState;
    ASSERT_TRUE(m_pView->DoPrintPreview(IDD_TEST_PREVIEWBAR, m_pView, RUNTIME_CLASS(CPreviewView), pState));
    CWnd* pBar = CWnd::FromHandlePermanent(::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PREVIEW_BAR));
    ASSERT_TRUE(pBar != NULL);
    EXPECT_TRUE(pBar->IsKindOf(RUNTIME_CLASS(CDialogBar)));
    EXPECT_EQ(pBar, Preview()->m_pToolBar);
    EXPECT_TRUE(pBar->GetStyle() & WS_CHILD);

    // The bar's buttons are enabled through the frame's routing at idle time.
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_PREV)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_NEXT)));
    char szText[64];
    ::GetDlgItemTextA(pBar->m_hWnd, AFX_ID_PREVIEW_NUMPAGE, szText, sizeof(szText));
    EXPECT_STREQ("&Two Page", szText);

    // Print: the preview closes and the job runs.
    m_pView->m_pages.clear();
    ::SendMessageA(pBar->m_hWnd, WM_COMMAND, MAKEWPARAM(AFX_ID_PREVIEW_PRINT, BN_CLICKED),
                   (LPARAM)::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_PRINT));
    EXPECT_EQ(NULL, Preview());
    EXPECT_EQ(std::vector<UINT>({1, 2, 3}), m_pView->m_pages);
}
