// The HTML view where no HTML engine works: the frame opens, every call of
// the browser fails quietly (no prompt, no new window, no wait) and says so
// in its result.
#include "DocViewTestApp.h"

#include <thread>

using namespace dvtest;

namespace {

// The top-level windows of this thread (a prompt would be one more).
std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> v;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            if (IsWindowVisible(h))
                reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
            return TRUE;
        },
        (LPARAM)&v);
    return v;
}

class HtmlViewTest : public DocViewTest {
protected:
    void SetUp() override
    {
        OleInitialize(NULL);
        DocViewTest::SetUp();
        m_pHtmlTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(TextFrame),
                                                RUNTIME_CLASS(CHtmlView));
        m_pDocManager->AddDocTemplate(m_pHtmlTemplate);
    }
    void TearDown() override
    {
        DocViewTest::TearDown();
        OleUninitialize();
    }
    CMultiDocTemplate* m_pHtmlTemplate = NULL;
};

} // namespace

TEST_F(HtmlViewTest, TheFrameOpensAndTheBrowserFailsQuietly)
{
    qmtest::MessageBoxRecorder boxes;
    DWORD dwStart = GetTickCount();
    TextDoc* pDoc = New(m_pHtmlTemplate);
    ASSERT_TRUE(pDoc != NULL);
    CHtmlView* pView = static_cast<CHtmlView*>(FrameOf(pDoc)->GetActiveView());
    ASSERT_TRUE(pView != NULL);
    ASSERT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CHtmlView)));
    std::vector<HWND> before = ThreadWindows();

    EXPECT_FALSE(pView->Navigate2("about:blank"));
    EXPECT_EQ(NULL, pView->GetHtmlDocument());
    EXPECT_FALSE(pView->LoadFromResource(1));
    uitest::PumpFor(300);
    EXPECT_TRUE(pView->GetHtmlDocument() == NULL);

    EXPECT_LT(GetTickCount() - dwStart, 10000u);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(before.size(), ThreadWindows().size());
    // The view is an ordinary view of its document: it resizes and closes.
    FrameOf(pDoc)->SetWindowPos(NULL, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    FrameOf(pDoc)->SendMessage(WM_CLOSE);
    EXPECT_EQ(0, CountDocuments());
}

TEST(WebBrowserHost, WithoutAWindowOrCOMNothingIsMade)
{
    CWebBrowserHost host;
    EXPECT_FALSE(host.Create(NULL, CRect(0, 0, 10, 10)));
    EXPECT_FALSE(host.IsCreated());
    EXPECT_FALSE(host.Navigate2("about:blank"));
    EXPECT_EQ(NULL, host.GetHtmlDocument());

    // A thread that never initialised COM cannot make the control.
    BOOL bCreated = TRUE;
    std::thread worker([&] {
        HWND hWnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
        CWebBrowserHost other;
        bCreated = other.Create(hWnd, CRect(0, 0, 100, 100));
        DestroyWindow(hWnd);
    });
    worker.join();
    EXPECT_FALSE(bCreated);
}

TEST(WebBrowserHost, AHostInAPlainWindowNeverShowsAPage)
{
    OleInitialize(NULL);
    {
        qmtest::MessageBoxRecorder boxes;
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "tooltip", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
        CWebBrowserHost host;
        host.Create(wnd.m_hWnd, CRect(0, 0, 200, 100)); // may or may not exist
        EXPECT_FALSE(host.Navigate2("about:blank"));
        EXPECT_EQ(NULL, host.GetHtmlDocument());
        host.SetRect(CRect(0, 0, 100, 50));
        host.Destroy();
        EXPECT_FALSE(host.IsCreated());
        wnd.DestroyWindow();
        EXPECT_TRUE(boxes.Texts().empty());
    }
    OleUninitialize();
}
