// The test application of the document/view tests: an MDI program with a
// text and a data document type, frames and views that log what reaches
// them, a message-box recorder and a fixture that builds the main frame.
#pragma once

#include "../../tests/TestSupport.h"
#include "../../ui/tests/UiTestSupport.h"

#include <fx/docview.h>

#include <gtest/gtest.h>

#include <deque>
#include <thread>
#include <string>
#include <vector>

#include "docview_test_res.h"

#include <ostream>

// Readable rectangles, points and sizes in test failures.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << "x" << s.cy; }

namespace dvtest {

using uitest::Log;

// --- the application ------------------------------------------------------------
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("DocViewTest") {}
    // Every way of opening a file by name comes through here.
    CDocument* OpenDocumentFile(LPCSTR lpszFileName) override;
    void AddToRecentFileList(LPCSTR lpszPathName) override;
    afx_msg void OnAppFileNew();
    afx_msg BOOL OnRouteCmd(UINT nID);
    afx_msg void OnAppCmd();
    afx_msg void OnUpdateNoHandlerHere(CCmdUI*) {}
    DECLARE_MESSAGE_MAP()
};
TestApp& App();

// --- documents ------------------------------------------------------------------
// Holds the file's bytes as text. Saving can be made to fail after part of
// the data was written (s_nFailSaveAfter >= 0).
class TextDoc : public CDocument {
    DECLARE_DYNCREATE(TextDoc)
public:
    TextDoc();
    ~TextDoc() override;
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    void SetText(const char* psz)
    {
        m_text = psz;
        SetModifiedFlag(TRUE);
        UpdateAllViews(NULL);
    }
    afx_msg BOOL OnRouteCmd(UINT nID);
    afx_msg void OnDocCmd();

    CString m_text;
    static int s_nFailSaveAfter;
    static int s_nAlive;
    DECLARE_MESSAGE_MAP()
};

class DataDoc : public TextDoc {
    DECLARE_DYNCREATE(DataDoc)
};

// --- views and frames --------------------------------------------------------------
class TextView : public CView {
    DECLARE_DYNCREATE(TextView)
public:
    TextDoc* GetDoc() const { return static_cast<TextDoc*>(GetDocument()); }
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    afx_msg BOOL OnRouteCmd(UINT nID);
    afx_msg void OnViewCmd();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

    int m_nInitialUpdates = 0;
    int m_nUpdates = 0;
    int m_nHScrolls = 0;
    DECLARE_MESSAGE_MAP()
};

class DataView : public TextView {
    DECLARE_DYNCREATE(DataView)
};

class TextFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(TextFrame)
public:
    afx_msg BOOL OnRouteCmd(UINT nID);
    afx_msg void OnChildAccel();
    DECLARE_MESSAGE_MAP()
};

// A text frame whose client is a dynamic splitter (2 rows, 1 column).
class SplitFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(SplitFrame)
public:
    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
    CSplitterWnd m_wndSplitter;
};

class MainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(MainFrame)
public:
    afx_msg BOOL OnRouteCmd(UINT nID);
    afx_msg void OnFrameCmd();
    afx_msg void OnAccelCmd();
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    std::vector<DWORD_PTR> m_helpCalls;
    DECLARE_MESSAGE_MAP()
};

// Answers the next file dialog of this process from another thread: types
// the name into it and presses OK (gives up after a few seconds).
class FileDialogTypist {
public:
    explicit FileDialogTypist(const std::string& strName);
    ~FileDialogTypist(); // waits for the thread
    bool Typed() const { return m_bTyped; }

private:
    std::string m_strName;
    volatile bool m_bStop = false;
    volatile bool m_bTyped = false;
    std::thread m_thread;
};

// A drop of files onto a window, as the shell sends it (WM_DROPFILES).
HGLOBAL MakeDrop(const std::vector<std::string>& files);

// --- the fixture -----------------------------------------------------------------
// A shown main frame with the text template (IDR_TEXTTYPE), the data
// template (IDR_DATATYPE), a recent-file list of 4 in a registry key of its
// own, and a temporary folder.
class DocViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens (or makes, with NULL) a document through the document manager.
    TextDoc* Open(const std::string& path);
    TextDoc* New(CDocTemplate* pTemplate);
    // The frame of the first view of a document.
    static CFrameWnd* FrameOf(CDocument* pDoc);
    static TextView* ViewOf(CDocument* pDoc, int nIndex = 0);
    static std::string Caption(CWnd* pWnd);
    std::string File(const char* name, const std::string& content);
    int CountDocuments();

    MainFrame* m_pMain = NULL;
    CDocManager* m_pDocManager = NULL;
    CRecentFileList* m_pRecent = NULL;
    CMultiDocTemplate* m_pTextTemplate = NULL;
    CMultiDocTemplate* m_pDataTemplate = NULL;
    fxtest::TempDir m_dir;
    std::string m_regKey;
};

} // namespace dvtest
