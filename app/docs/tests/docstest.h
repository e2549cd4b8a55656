// docstest.h - the test MDI program of the document tests: a main frame that
// plays the editor's frame (IEditorFrame), the three document templates,
// the two window libraries loaded, and a fixture with a temporary folder.
#pragma once

#include <fx/fx.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comparedoc.h"
#include "coretest.h"
#include "dialogtest.h"
#include "editorframe.h"
#include "editorframestub.h"
#include "hexdoc.h"
#include "htmlpreview.h"

namespace docstest {

class TestMainFrame : public CEditorFrameStub {
public:
    TestMainFrame();
    CViewSettings* GetSettings() override { return &m_settings; }
    CEditorSettings* GetEditorSettings() override { return &m_editorSettings; }
    void SetStatusText(int nPane, LPCSTR lpszText) override;
    CWnd* GetHexFindDialog() override { return m_pHexFind; }
    void SetHexFindDialog(CWnd* pDialog) override { m_pHexFind = pDialog; }
    void DetachHexFindDialog(CWnd* pDialog) override
    {
        if (m_pHexFind == pDialog)
            m_pHexFind = NULL;
    }
    void FindNextInActiveDocument(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii) override;
    CString GetSearchText() override { return m_strToolbarFind; }
    // The frame's own table until a test gives it shortcuts of their own.
    HACCEL GetFrameAccelerators() override { return m_hShortcuts != NULL ? m_hShortcuts : m_hAccelTable; }
    HACCEL m_hShortcuts = NULL;
    void SetCurrentViewWnd(CWnd* pView) override { m_pCurrentView = pView; }
    void SetCurrentChildFrame(CFrameWnd* pFrame) override { m_pCurrentFrame = pFrame; }
    void AddChildFrame(CFrameWnd* pFrame) override { m_childFrames.push_back(pFrame); }
    void RemoveChildFrame(CFrameWnd* pFrame) override;

    CViewSettings m_settings = {};
    CEditorSettings m_editorSettings;
    std::string m_status[3];
    CWnd* m_pHexFind = nullptr;
    CString m_strToolbarFind;
    CWnd* m_pCurrentView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
    std::vector<CFrameWnd*> m_childFrames;
    int m_nFindCalls = 0;
};

// A shown test main frame with the compare, hex and preview templates.
class DocsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static CFrameWnd* FrameOf(CDocument* pDoc);
    static CView* ViewOf(CDocument* pDoc);
    int CountDocs(CDocTemplate* pTemplate);
    // Runs the message loop for a while.
    static void Pump(DWORD dwMs = 100);
    std::string Path(const std::string& name) const { return m_dir.Path(name); }
    // Unloads / reloads bytegrid.dll (its window class goes with it).
    static void UnloadBytegrid();
    static void LoadBytegrid();

    TestMainFrame* m_pMain = nullptr;
    CDocManager* m_pDocManager = nullptr;
    CMultiDocTemplate* m_pCompareTemplate = nullptr;
    CMultiDocTemplate* m_pHexTemplate = nullptr;
    CMultiDocTemplate* m_pPreviewTemplate = nullptr;
    qmtest::TempDir m_dir;
};

// Text on the clipboard (CF_TEXT), "" when none.
std::string ClipboardText();
void SetClipboardText(const std::string& text);

// The state the update handlers reached from pTarget give command nID
// (disabled when nothing handles it).
bool IsCommandEnabled(CCmdTarget* pTarget, UINT nID);

// Right-clicks the window, reads the items of the context menu it shows,
// chooses the last one with the keyboard and dispatches the command.
std::vector<UINT> RightClickAndChooseLast(HWND hWnd);

// A picture of a window as the screen shows it.
class Capture {
public:
    explicit Capture(HWND hWnd);
    ~Capture();
    COLORREF Pixel(int x, int y) const; // window coordinates
    int CountColour(const RECT& rc, COLORREF clr) const;
    bool SaveBmp(const std::string& path) const;
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    HDC m_hdc = NULL;
    HBITMAP m_hbm = NULL;
    HGDIOBJ m_hOld = NULL;
    int m_cx = 0, m_cy = 0;
};

} // namespace docstest
