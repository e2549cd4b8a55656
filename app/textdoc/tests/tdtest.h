// tdtest.h - support for the text document tests: a test MDI main frame
// that implements IEditorFrame, the text template, and helpers that read the
// state of documents and editing windows back.
#pragma once

#include <fx/fx.h>

#include <gtest/gtest.h>

#include <functional>

#include <qmtest/pump.h>
#include <string>
#include <vector>

#include "coretest.h"
#include "editorframe.h"
#include "editorframestub.h"
#include "lexerconfig.h"
#include "textdoc.h"
#include "textframe.h"
#include "textview.h"

namespace tdtest {

using qmtest::PumpFor;
using qmtest::PumpUntil;

// The editor's main frame as far as the text documents need it.
class CTestMainFrame : public CEditorFrameStub {
public:
    CTestMainFrame();
    ~CTestMainFrame() override;

    CViewSettings m_settings;
    CEditorSettings m_editor;
    CLexerConfigList m_lexers;
    char m_szFace[kFontFaceBufferSize];
    BOOL m_bClosingForSession = FALSE;
    int m_nDeleteLineCommands = 0;
    int m_nActivated = 0;
    int m_nTextChanged = 0;
    std::vector<std::pair<std::string, std::string>> m_compares;
    std::string m_status1;

    CViewSettings* GetSettings() override { return &m_settings; }
    CEditorSettings* GetEditorSettings() override { return &m_editor; }
    CLexerConfigList* GetLexerConfigs() override { return &m_lexers; }
    BOOL IsClosingForSession() const override { return m_bClosingForSession; }
    void SetStatusText(int nPane, LPCSTR lpszText) override
    {
        if (nPane == 1)
            m_status1 = lpszText;
    }
    // Every progress call: on/off, position, maximum.
    struct ProgressCall {
        BOOL bOn;
        int nPos;
        int nMax;
    };
    std::vector<ProgressCall> m_progress;
    void SetProgress(BOOL bOn, int nPos, int nMax) override { m_progress.push_back({bOn, nPos, nMax}); }
    void CompareFiles(LPCSTR a, LPCSTR b) override { m_compares.emplace_back(a, b); }
    void OnTextDocumentActivated() override { m_nActivated++; }
    void OnTextChanged() override { m_nTextChanged++; }
    void ShowToolOutput(LPCSTR lpszText) override
    {
        m_toolOutput = lpszText != NULL ? lpszText : "";
        m_nToolOutputs++;
    }
    void AddNavigationPlace(HWND hView, INT_PTR nPos) override { m_places.emplace_back(hView, (long long)nPos); }
    void CreateTemplateFromText(LPCSTR lpszText) override { m_templates.push_back(lpszText != NULL ? lpszText : ""); }
    void AddWorkspaceFile(LPCSTR lpszPath, int nType, int nEncoding) override
    {
        m_workspaceFiles.push_back(std::string(lpszPath) + "|" + std::to_string(nType) + "|" + std::to_string(nEncoding));
    }
    std::vector<std::string> m_templates;      // texts handed to the template explorer
    std::vector<std::string> m_workspaceFiles; // "path|type|encoding" of every AddWorkspaceFile
    std::string m_toolOutput;
    int m_nToolOutputs = 0;
    std::vector<std::pair<HWND, long long>> m_places; // navigation places the views reported

protected:
    afx_msg void OnDeleteLine();
    DECLARE_MESSAGE_MAP()
};

// A fixture with the main frame and the text template.
class TextDocTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a file through the template (options: the open's choices, or
    // none for "detect"). NULL when no document was made.
    CDoodleDoc* Open(const std::string& path, const CTextOpenOptions* pOptions = NULL);
    CDoodleDoc* NewDocument();
    int DocumentCount();

    // Loads the syntax configurations of the core's fixture set.
    void LoadLexers();

    CTestMainFrame* m_pFrame = NULL;
    CMultiDocTemplate* m_pTemplate = NULL;
    qmtest::TempDir m_temp;
};

// The editing window's whole text.
std::string EditorText(CMFCScintilla& editor);
CMFCScintilla& Editor(CDoodleDoc* pDoc);
CDoodleFrame* FrameOf(CDoodleDoc* pDoc);
// The name of the lexer the editing window uses ("" for none).
std::string LexerName(CMFCScintilla& editor);
// The visible common file dialog of this thread and its child that holds
// the extra choices (encoding, line ending, view as).
struct FileDialogWindows {
    HWND hDlg = NULL;
    HWND hExtra = NULL;
};
FileDialogWindows FindFileDialogWindows();

// Saves a picture of a window as a BMP file in the build folder; returns
// its path.
std::string SaveScreenshot(CWnd* pWnd, const char* name);
// Types text into the editing window as key presses ('\n' presses Enter).
void Type(CMFCScintilla& editor, const std::string& text);

} // namespace tdtest
