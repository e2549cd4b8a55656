// textprint_tests.cpp - printing a text view through the framework's print
// loop on a memory DC (no printer, no file): page counts, the page table
// past 999 pages, pages too small for a line, margins and headers.
#include "tdtest.h"

#include "previewview.h"

#include <qx/commandbars.h>
#include <qx/themes.h>

using namespace tdtest;

namespace {

// A print device that prints on a memory DC and counts the pages.
class MemoryPrintDevice : public fx::PrintDevice {
public:
    int nStartPage = 0;
    int nEndDoc = 0;
    HDC CreatePrinterDC(BOOL) override { return CreateCompatibleDC(NULL); }
    BOOL ProvidesDC() const override { return TRUE; }
    int StartDoc(HDC, const DOCINFOA*) override { return 1; }
    int StartPage(HDC) override { return ++nStartPage; }
    int EndPage(HDC) override { return 1; }
    int EndDoc(HDC) override { return ++nEndDoc; }
    int AbortDoc(HDC) override { return 1; }
};

class TextPrintTest : public TextDocTest {
protected:
    void SetUp() override
    {
        TextDocTest::SetUp();
        m_pOld = fx::SetPrintDevice(&m_device);
    }
    void TearDown() override
    {
        fx::SetPrintDevice(m_pOld);
        TextDocTest::TearDown();
    }
    // A new document holding nLines numbered lines.
    CDoodleDoc* DocumentWithLines(int nLines)
    {
        CDoodleDoc* pDoc = NewDocument();
        if (pDoc == NULL)
            return NULL;
        std::string text;
        char line[32];
        for (int i = 1; i <= nLines; i++) {
            wsprintfA(line, "line %d\r\n", i);
            text += line;
        }
        Editor(pDoc).ReplaceAllText(text.c_str());
        return pDoc;
    }
    void PrintDirect(CDoodleView* pView)
    {
        pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
        PumpFor(20);
    }
    MemoryPrintDevice m_device;
    fx::PrintDevice* m_pOld = NULL;
};

} // namespace

// Thousands of pages print one after the other; every page starts where the
// one before ended and the last one reaches the end of the text.
TEST_F(TextPrintTest, MoreThan999PagesPrint)
{
    CDoodleDoc* pDoc = DocumentWithLines(100000);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    HDC hDC = CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    UINT nPages = pView->CountPages(&dc);
    dc.Detach();
    DeleteDC(hDC);
    ASSERT_GT(nPages, 999u);

    PrintDirect(pView);
    EXPECT_EQ(m_device.nStartPage, (int)nPages);
    EXPECT_EQ(m_device.nEndDoc, 1);
    // The print state is cleared after the job.
    EXPECT_EQ(pView->GetPrintState().pageStarts.size(), 1u);
}

// Pages shown out of order (a preview jumping ahead) find their start by
// measuring the pages before them.
TEST_F(TextPrintTest, APageFarAheadFindsItsStart)
{
    CDoodleDoc* pDoc = DocumentWithLines(100000);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    HDC hDC = CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    CPrintInfo info;
    pView->OnBeginPrinting(&dc, &info);
    UINT nPages = info.GetMaxPage();
    ASSERT_GT(nPages, 1200u);
    info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    info.m_nCurPage = 1200;
    pView->OnPrint(&dc, &info);
    const std::vector<Sci_Position>& starts = pView->GetPrintState().pageStarts;
    ASSERT_EQ(starts.size(), 1201u);
    for (size_t i = 1; i < starts.size(); i++)
        ASSERT_GT(starts[i], starts[i - 1]) << i;
    info.m_nCurPage = nPages;
    pView->OnPrint(&dc, &info);
    EXPECT_EQ(pView->GetPrintState().pageStarts.back(), pView->GetEditor().GetLength());
    pView->OnEndPrinting(&dc, &info);
    dc.Detach();
    DeleteDC(hDC);
}

// Margins that leave less than one line end the count at one page, and the
// job prints that page and ends.
TEST_F(TextPrintTest, APageTooSmallForALineEndsThePageCount)
{
    CDoodleDoc* pDoc = DocumentWithLines(200);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    HDC hDC = CreateCompatibleDC(NULL);
    int nVert = GetDeviceCaps(hDC, VERTRES);
    int nDpi = GetDeviceCaps(hDC, LOGPIXELSY);
    DeleteDC(hDC);
    HDC hMeasure = CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(hMeasure);
    pView->CountPages(&dc);
    int nLine = pView->GetPrintState().nLineHeight;
    dc.Detach();
    DeleteDC(hMeasure);
    ASSERT_GT(nLine, 4);
    // Top and bottom margins leave two pixels (thousandths of an inch); with
    // header and footer, the bands take all but half a line.
    int nMargin = MulDiv(nVert / 2 - 1, 1000, nDpi);
    int nBandMargin = MulDiv((nVert - 4 * nLine - nLine / 2) / 2, 1000, nDpi);
    struct Case {
        int header, footer;
        RECT margins;
    } cases[] = {
        {0, 0, {0, nMargin, 0, nMargin}},
        {1, 1, {0, nBandMargin, 0, nBandMargin}},
        {0, 0, {MulDiv(GetSystemMetrics(SM_CXSCREEN), 1000, nDpi), 100, 0, 100}},
    };
    for (const Case& c : cases) {
        m_pFrame->m_editor.nPrintHeader = c.header;
        m_pFrame->m_editor.nPrintFooter = c.footer;
        m_pFrame->m_editor.rcMargins = c.margins;
        m_device.nStartPage = 0;
        DWORD dwStart = GetTickCount();
        PrintDirect(pView);
        EXPECT_EQ(m_device.nStartPage, 1);
        EXPECT_LT(GetTickCount() - dwStart, 20000u);
    }
}

TEST_F(TextPrintTest, PageCountFollowsLinesPerPageAndHeaderBands)
{
    CDoodleDoc* pDoc = DocumentWithLines(1000);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    HDC hDC = CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    UINT nPlain = pView->CountPages(&dc);
    int nLinesPlain = pView->GetPrintState().nLinesPerPage;
    int nLine = pView->GetPrintState().nLineHeight;
    EXPECT_EQ(nLinesPlain, dc.GetDeviceCaps(VERTRES) / nLine);
    EXPECT_GE(nPlain, (UINT)(1000 / nLinesPlain));
    EXPECT_LE(nPlain, (UINT)(1000 / std::max(1, nLinesPlain - 2) + 1));

    m_pFrame->m_editor.nPrintHeader = 1;
    m_pFrame->m_editor.nPrintFooter = 1;
    UINT nBands = pView->CountPages(&dc);
    EXPECT_EQ(pView->GetPrintState().nLinesPerPage, nLinesPlain - 4);
    EXPECT_GT(nBands, nPlain);

    // An empty text is one page.
    Editor(pDoc).ReplaceAllText("");
    EXPECT_EQ(pView->CountPages(&dc), 1u);
    dc.Detach();
    DeleteDC(hDC);
}

TEST_F(TextPrintTest, MarginsConvertFromInchesOrMillimetres)
{
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    HDC hDC = CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    int dpiX = dc.GetDeviceCaps(LOGPIXELSX), dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    struct Case {
        int metric;
        RECT margins;
        RECT expected;
    } cases[] = {
        {0, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {0, {1000, 500, 2000, 250}, {dpiX, dpiY / 2, 2 * dpiX, dpiY / 4}},
        {1, {2540, 1270, 0, 5080}, {dpiX, dpiY / 2, 0, 2 * dpiY}},
    };
    for (const Case& c : cases) {
        m_pFrame->m_editor.nMetric = c.metric;
        m_pFrame->m_editor.rcMargins = c.margins;
        CRect rc = pView->GetDeviceMargins(&dc);
        EXPECT_EQ(rc, CRect(c.expected)) << c.metric << " " << c.margins.left;
    }
    dc.Detach();
    DeleteDC(hDC);
}

TEST(TextPrintHeader, PathsOf69CharactersOrMorePrintTheTitle)
{
    std::string path68 = "C:\\" + std::string(61, 'a') + ".txt";
    ASSERT_EQ(path68.size(), 68u);
    EXPECT_EQ(std::string(CDoodleView::MakeHeaderText(path68.c_str(), "title")), path68);
    std::string path69 = "C:\\" + std::string(62, 'a') + ".txt";
    EXPECT_EQ(std::string(CDoodleView::MakeHeaderText(path69.c_str(), "title")), "title");

    // Characters are counted, not the bytes of their UTF-8 spelling; the
    // names come back whole.
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";          // 3 characters, 9 bytes
    const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1"; // 6 characters, 12 bytes
    const std::string smile = "\xF0\x9F\x98\x80";                                 // 1 character, 4 bytes
    const struct {
        std::string path, expected;
    } cases[] = {
        {"C:\\" + japanese + "\\" + greek + "\\" + smile + ".txt", "C:\\" + japanese + "\\" + greek + "\\" + smile + ".txt"},
        // 68 characters (80 bytes), then 69.
        {"C:\\" + std::string(51, 'a') + "\\" + japanese + greek + ".cpp", "C:\\" + std::string(51, 'a') + "\\" + japanese + greek + ".cpp"},
        {"C:\\" + std::string(52, 'a') + "\\" + japanese + greek + ".cpp", "title " + smile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(CDoodleView::MakeHeaderText(c.path.c_str(), ("title " + smile).c_str())), c.expected)
            << c.path;
}

// Line numbers asked for the print job only are there while it runs and
// gone afterwards.
TEST_F(TextPrintTest, PrintLineNumbersAreForTheJobOnly)
{
    m_pFrame->m_settings.nLineNumbers = 0;
    m_pFrame->m_editor.nPrintLineNumbers = 1;
    CDoodleDoc* pDoc = DocumentWithLines(50);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    CMFCScintilla& ed = pView->GetEditor();
    EXPECT_EQ(ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN), 0);
    HDC hDC = CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    CPrintInfo info;
    pView->OnBeginPrinting(&dc, &info);
    EXPECT_GT(ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN), 0);
    pView->OnEndPrinting(&dc, &info);
    EXPECT_EQ(ed.Call(SCI_GETMARGINWIDTHN, CMFCScintilla::LINENUMBER_MARGIN), 0);
    dc.Detach();
    DeleteDC(hDC);
}

namespace {

BOOL CALLBACK FindPreview(HWND hWnd, LPARAM lParam)
{
    if (CQXPPreviewView* p = dynamic_cast<CQXPPreviewView*>(CWnd::FromHandlePermanent(hWnd))) {
        *reinterpret_cast<CQXPPreviewView**>(lParam) = p;
        return FALSE;
    }
    return TRUE;
}

} // namespace

// Print Preview shows the editor's preview view with its toolbar in the
// main frame; Close gives the frame back. The toolbar is a command-bar
// toolbar standing alone in the frame: themed like the other bars, Print and
// Close with caption and icon, the page button with the picture of what it
// does, its own tooltips.
TEST_F(TextPrintTest, PrintPreviewShowsThePreviewViewWithItsToolbar)
{
    CDoodleDoc* pDoc = DocumentWithLines(300);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    PumpFor(200);
    ASSERT_TRUE(m_pFrame->IsInPreviewMode());
    CQXPPreviewView* pPreview = NULL;
    EnumChildWindows(m_pFrame->GetSafeHwnd(), &FindPreview, (LPARAM)&pPreview);
    ASSERT_NE(pPreview, nullptr);
    CQXPToolBar* pBar = pPreview->GetToolBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->IsWindowVisible());
    char szClass[32] = "";
    GetClassNameA(pBar->GetSafeHwnd(), szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "QXPToolBar");
    EXPECT_TRUE(pBar->IsStandalone());
    EXPECT_EQ(::GetParent(pBar->GetSafeHwnd()), m_pFrame->GetSafeHwnd());
    EXPECT_EQ(pBar->GetDlgCtrlID(), (int)CQXPPreviewView::ID_TOOLBAR_BAR);
    // It takes the place of the framework's plain preview bar.
    HWND hPlain = ::GetDlgItem(m_pFrame->GetSafeHwnd(), AFX_IDW_PREVIEW_BAR);
    EXPECT_TRUE(hPlain == NULL || !::IsWindowVisible(hPlain));

    // The buttons of the preview toolbar resource; the two page pictures
    // are no buttons of their own.
    CQXPControls* pControls = pBar->GetControls();
    for (int nID : {(int)CQXPPreviewView::ID_PRINT, (int)AFX_ID_PREVIEW_NEXT, (int)AFX_ID_PREVIEW_PREV,
                    (int)CQXPPreviewView::ID_NUMPAGE, (int)AFX_ID_PREVIEW_ZOOMIN, (int)AFX_ID_PREVIEW_ZOOMOUT,
                    (int)CQXPPreviewView::ID_CLOSE}) {
        CQXPControl* pControl = pControls->FindControl(nID);
        ASSERT_NE(pControl, nullptr) << nID;
        EXPECT_TRUE(pControl->IsVisible()) << nID;
        EXPECT_FALSE(pControl->GetRect().IsRectEmpty()) << nID;
    }
    for (int nID : {(int)CQXPPreviewView::ID_ONEPAGE_ICON, (int)CQXPPreviewView::ID_TWOPAGE_ICON}) {
        CQXPControl* pControl = pControls->FindControl(nID);
        ASSERT_NE(pControl, nullptr) << nID;
        EXPECT_FALSE(pControl->IsVisible()) << nID;
    }
    for (int nID : {(int)CQXPPreviewView::ID_PRINT, (int)CQXPPreviewView::ID_CLOSE}) {
        CQXPControl* pControl = pControls->FindControl(nID);
        EXPECT_EQ(pControl->GetStyle(), (int)qxpButtonIconAndCaption) << nID;
        EXPECT_FALSE(CString(pControl->GetCaption()).IsEmpty()) << nID;
        // Caption beside the icon: wider than an icon button.
        EXPECT_GT(pControl->GetRect().Width(), pControls->FindControl(AFX_ID_PREVIEW_NEXT)->GetRect().Width()) << nID;
    }
    // One page shown: the button offers two.
    EXPECT_EQ(pPreview->GetPagesShown(), 1u);
    EXPECT_EQ(pPreview->GetPageButtonIcon(), (UINT)CQXPPreviewView::ID_TWOPAGE_ICON);
    EXPECT_EQ(pControls->FindControl(CQXPPreviewView::ID_NUMPAGE)->GetIconId(),
              (int)CQXPPreviewView::ID_TWOPAGE_ICON);
    EXPECT_GT(pView->GetPrintPageCount(), 1u);
    // The buttons talk to the preview: Next Page is there while pages follow.
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(pControls->FindControl(AFX_ID_PREVIEW_NEXT)->GetEnabled());
    EXPECT_FALSE(pControls->FindControl(AFX_ID_PREVIEW_PREV)->GetEnabled());
    // The bar follows the theme in force: the empty end of its band, and
    // the whole frame as a picture, under two themes.
    struct Look {
        int nTheme;
        const char* pszShot;
        COLORREF clrBand;
    } looks[] = {{qxpThemeOffice2003, "textdoc-preview-office2003.bmp", 0},
                 {qxpThemeWindows2000, "textdoc-preview-win2000.bmp", 0}};
    const int nThemeBefore = GetGlobalPaintManager()->GetCurrentTheme();
    for (Look& look : looks) {
        SetGlobalPaintManager(look.nTheme);
        pBar->Redraw();
        m_pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpFor(200);
        SaveScreenshot(m_pFrame, look.pszShot);
        CRect rcBand;
        pBar->GetWindowRect(&rcBand);
        HDC hScreen = ::GetDC(NULL);
        look.clrBand = ::GetPixel(hScreen, rcBand.right - 4, rcBand.CenterPoint().y);
        ::ReleaseDC(NULL, hScreen);
    }
    EXPECT_NE(looks[0].clrBand, looks[1].clrBand) << "the toolbar looks the same in both themes";
    SetGlobalPaintManager(nThemeBefore);
    m_pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(100);
    SaveScreenshot(m_pFrame, "textdoc-preview.bmp");

    // The toolbar lies along the top of the frame, above the preview, as
    // wide as the preview.
    CRect rcBar, rcPreview;
    pBar->GetWindowRect(&rcBar);
    pPreview->GetWindowRect(&rcPreview);
    EXPECT_LE(rcBar.bottom, rcPreview.top);
    EXPECT_GT(rcBar.Height(), 16);
    EXPECT_EQ(rcBar.left, rcPreview.left);
    EXPECT_EQ(rcBar.right, rcPreview.right);
    // Tooltips of its own (no manager shows them).
    CQXPControl* pClose = pControls->FindControl(CQXPPreviewView::ID_CLOSE);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_GE(pBar->OnToolHitTest(pClose->GetRect().CenterPoint(), &ti), 0);
    if (ti.lpszText != NULL && ti.lpszText != LPSTR_TEXTCALLBACKA)
        free(ti.lpszText);
    HWND hBar = pBar->GetSafeHwnd();

    // Two pages: the button's picture follows.
    pPreview->SendMessage(WM_COMMAND, CQXPPreviewView::ID_NUMPAGE, 0);
    PumpFor(100);
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(pPreview->GetPagesShown(), 2u);
    EXPECT_EQ(pPreview->GetPageButtonIcon(), (UINT)CQXPPreviewView::ID_ONEPAGE_ICON);

    // Close on the toolbar ends the preview.
    pClose->OnExecute();
    PumpFor(200);
    EXPECT_FALSE(m_pFrame->IsInPreviewMode());
    EXPECT_FALSE(IsWindow(hBar));
}

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* pRec, int, LPARAM lParam)
{
    std::vector<std::string>* pTexts = reinterpret_cast<std::vector<std::string>*>(lParam);
    if (pRec->iType == EMR_EXTTEXTOUTW) {
        const EMREXTTEXTOUTW* p = reinterpret_cast<const EMREXTTEXTOUTW*>(pRec);
        const WCHAR* pText = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(p) + p->emrtext.offString);
        std::string s;
        for (DWORD i = 0; i < p->emrtext.nChars; i++)
            s += (char)pText[i];
        pTexts->push_back(s);
    } else if (pRec->iType == EMR_EXTTEXTOUTA) {
        const EMREXTTEXTOUTA* p = reinterpret_cast<const EMREXTTEXTOUTA*>(pRec);
        const char* pText = reinterpret_cast<const char*>(p) + p->emrtext.offString;
        pTexts->push_back(std::string(pText, p->emrtext.nChars));
    }
    return 1;
}

} // namespace

// The header of a page holds the document's path, the footer "Page <n>";
// the page's own text follows the page before.
TEST_F(TextPrintTest, HeaderAndFooterOfThePageDrawn)
{
    m_pFrame->m_editor.nPrintHeader = 1;
    m_pFrame->m_editor.nPrintFooter = 1;
    std::string path = m_temp.Path("printed.txt");
    std::string text;
    for (int i = 1; i <= 400; i++)
        text += "row " + std::to_string(i) + "\r\n";
    coretest::WriteBytes(path, text);
    CDoodleDoc* pDoc = Open(path);
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();

    HDC hRef = CreateCompatibleDC(NULL);
    CDC ref;
    ref.Attach(hRef);
    CPrintInfo info;
    pView->OnBeginPrinting(&ref, &info);
    ASSERT_GE(info.GetMaxPage(), 3u);
    CRect rectPage(0, 0, ref.GetDeviceCaps(HORZRES), ref.GetDeviceCaps(VERTRES));
    int nLinesPerPage = pView->GetPrintState().nLinesPerPage;

    std::vector<std::string> texts;
    for (UINT nPage = 1; nPage <= 3; nPage++) {
        HDC hEmf = CreateEnhMetaFileA(hRef, NULL, NULL, NULL);
        ASSERT_NE(hEmf, (HDC)NULL);
        CDC dc;
        dc.Attach(hEmf);
        dc.SetAttribDC(hRef);
        info.m_nCurPage = nPage;
        info.m_rectDraw = rectPage;
        pView->OnPrint(&dc, &info);
        dc.ReleaseAttribDC();
        dc.Detach();
        HENHMETAFILE hMeta = CloseEnhMetaFile(hEmf);
        ASSERT_NE(hMeta, (HENHMETAFILE)NULL);
        if (nPage == 3) {
            EnumEnhMetaFile(NULL, hMeta, &CollectText, &texts, NULL);
        }
        DeleteEnhMetaFile(hMeta);
    }
    pView->OnEndPrinting(&ref, &info);
    ref.Detach();
    DeleteDC(hRef);

    auto has = [&](const std::string& s) {
        for (const std::string& t : texts)
            if (t.find(s) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(has(path)) << "header";
    EXPECT_TRUE(has("Page 3")) << "footer";
    EXPECT_FALSE(has("Page 2"));
    // Page 3 starts after two pages of lines (give or take the last line
    // of a page).
    EXPECT_TRUE(has("row " + std::to_string(2 * nLinesPerPage + 1)) || has("row " + std::to_string(2 * nLinesPerPage)));
    for (const std::string& t : texts)
        EXPECT_NE(t, "row 1");
}

// With no printer at all (Wine has none) Print and Print Preview say so
// once and open nothing: no second box, no empty preview.
TEST_F(TextDocTest, WithoutAPrinterPrintAndPreviewSaySoOnce)
{
    if (fx::IsPrintingAvailable())
        GTEST_SKIP() << "platform limit: this machine has a printer, so the no-printer path cannot be reached";
    CDoodleDoc* pDoc = NewDocument();
    ASSERT_NE(pDoc, nullptr);
    CDoodleView* pView = pDoc->GetTextView();
    for (UINT nID : {(UINT)ID_FILE_PRINT_PREVIEW, (UINT)ID_FILE_PRINT, (UINT)ID_FILE_PRINT_DIRECT}) {
        SCOPED_TRACE(nID);
        qmtest::MessageBoxRecorder boxes;
        pView->SendMessage(WM_COMMAND, nID, 0);
        PumpFor(20);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], "No printers are installed. Install a printer, then try again.");
        EXPECT_FALSE(m_pFrame->IsInPreviewMode());
    }
}
