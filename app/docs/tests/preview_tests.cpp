// The HTML preview where no browser engine is installed: the preview frame
// opens, is reused, and every step of showing the text fails quietly.
#include "docstest.h"

using namespace docstest;

namespace {

// Visible top-level windows of this thread (a prompt would be one more).
size_t VisibleThreadWindows()
{
    size_t n = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            if (::IsWindowVisible(h))
                ++*reinterpret_cast<size_t*>(l);
            return TRUE;
        },
        (LPARAM)&n);
    return n;
}

class PreviewTest : public DocsTest {};

} // namespace

TEST_F(PreviewTest, ThePreviewCommandOpensOneFrameAndReusesIt)
{
    qmtest::MessageBoxRecorder boxes;
    size_t nWindows = VisibleThreadWindows();
    DWORD dwStart = ::GetTickCount();

    HWND hRemembered = NULL;
    CHTMLPreviewFrame* pFirst =
        CHTMLPreviewFrame::PreviewText(m_pPreviewTemplate, hRemembered, "<html><body><p>Hello</p></body></html>");
    ASSERT_TRUE(pFirst != NULL);
    EXPECT_EQ(pFirst->m_hWnd, hRemembered);
    EXPECT_TRUE(pFirst->IsZoomed()); // first child of the MDI client
    EXPECT_TRUE(pFirst->GetActiveView()->IsKindOf(RUNTIME_CLASS(CHTMLPreviewView)));
    EXPECT_EQ(1, CountDocs(m_pPreviewTemplate));

    // A second preview from the same text frame reuses the frame.
    CHTMLPreviewFrame* pSecond = CHTMLPreviewFrame::PreviewText(m_pPreviewTemplate, hRemembered, "");
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(1, CountDocs(m_pPreviewTemplate));
    Pump(200);

    // Closed, the next preview opens a new frame.
    pFirst->SendMessage(WM_CLOSE);
    EXPECT_EQ(0, CountDocs(m_pPreviewTemplate));
    CHTMLPreviewFrame* pThird = CHTMLPreviewFrame::PreviewText(m_pPreviewTemplate, hRemembered, "<p>again</p>");
    ASSERT_TRUE(pThird != NULL);
    EXPECT_EQ(pThird->m_hWnd, hRemembered);
    EXPECT_EQ(1, CountDocs(m_pPreviewTemplate));

    // No prompt, no extra window, no wait.
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(nWindows, VisibleThreadWindows());
    EXPECT_LT(::GetTickCount() - dwStart, 15000u);
}

TEST_F(PreviewTest, WithoutABrowserEngineTheTextIsDroppedQuietly)
{
    qmtest::MessageBoxRecorder boxes;
    CDocument* pDoc = m_pPreviewTemplate->OpenDocumentFile(NULL);
    ASSERT_TRUE(pDoc != NULL);
    CHTMLPreviewFrame* pFrame = DYNAMIC_DOWNCAST(CHTMLPreviewFrame, FrameOf(pDoc));
    ASSERT_TRUE(pFrame != NULL);
    CHTMLPreviewView* pView = DYNAMIC_DOWNCAST(CHTMLPreviewView, ViewOf(pDoc));
    ASSERT_TRUE(pView != NULL);

    EXPECT_FALSE(pView->IsBrowserAvailable());
    EXPECT_FALSE(pFrame->SetHtmlText("<b>bold</b>"));
    EXPECT_FALSE(pFrame->SetHtmlText(""));
    EXPECT_FALSE(pFrame->SetHtmlText(NULL));
    // The frame still behaves: it resizes, keeps its place in the child
    // frame list and closes without asking to save.
    pFrame->SetWindowPos(NULL, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    Pump(100);
    EXPECT_EQ(1u, m_pMain->m_childFrames.size());
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(m_pMain->m_childFrames.empty());
    EXPECT_EQ(0, CountDocs(m_pPreviewTemplate));
    EXPECT_TRUE(boxes.Texts().empty());
}

// The page is loaded as UTF-8, so letters of any language show.
TEST(PreviewPage, TextGoesInAsUtf8WithItsMark)
{
    using namespace std::string_literals;
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"", "\xEF\xBB\xBF\0"s},
        {nullptr, "\xEF\xBB\xBF\0"s},
        {"<p>plain</p>", "\xEF\xBB\xBF<p>plain</p>\0"s},
        {"<p>caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80</p>",
         "\xEF\xBB\xBF<p>caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80</p>\0"s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHTMLPreviewFrame::PageBytes(c.text), c.bytes) << (c.text ? c.text : "(null)");
}

TEST_F(PreviewTest, AForgottenOrForeignWindowIsNotReused)
{
    // A remembered handle of a window that is gone, or of a window that is
    // not a preview frame, opens a new preview instead.
    HWND hStale = m_pMain->m_hWnd;
    CHTMLPreviewFrame* pFrame = CHTMLPreviewFrame::PreviewText(m_pPreviewTemplate, hStale, "x");
    ASSERT_TRUE(pFrame != NULL);
    EXPECT_EQ(pFrame->m_hWnd, hStale);
    HWND hGone = pFrame->m_hWnd;
    pFrame->SendMessage(WM_CLOSE);
    CHTMLPreviewFrame* pNew = CHTMLPreviewFrame::PreviewText(m_pPreviewTemplate, hGone, "y");
    ASSERT_TRUE(pNew != NULL);
    EXPECT_TRUE(::IsWindow(hGone));
    EXPECT_EQ(1, CountDocs(m_pPreviewTemplate));
}
