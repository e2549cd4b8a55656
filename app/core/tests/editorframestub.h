// editorframestub.h - a main frame that plays the editor's frame
// (IEditorFrame) and does nothing with what it is told: no settings record
// (views take their own defaults), zeroed other settings, an empty language
// list. The test and benchmark programs derive their main frames from it and
// override what they watch, so a new IEditorFrame operation needs one answer
// here instead of one in every program.
#pragma once

#include <fx/fx.h>

#include "editorframe.h"
#include "lexerconfig.h"

// TBase: CMDIFrameWnd for programs with documents, CFrameWnd for dialogs
// and boxes alone.
template <class TBase>
class CEditorFrameStubOf : public TBase, public IEditorFrame {
public:
    CEditorFrameStubOf() : m_stubEditorSettings() {}

    CViewSettings* GetSettings() override { return NULL; }
    CEditorSettings* GetEditorSettings() override { return &m_stubEditorSettings; }
    CLexerConfigList* GetLexerConfigs() override { return &m_stubLexers; }
    BOOL IsClosingForSession() const override { return FALSE; }
    void SetStatusText(int, LPCSTR) override {}
    CWnd* GetHexFindDialog() override { return NULL; }
    void SetHexFindDialog(CWnd*) override {}
    void DetachHexFindDialog(CWnd*) override {}
    void FindNextInActiveDocument(LPCSTR, BOOL, BOOL, BOOL) override {}
    CString GetSearchText() override { return CString(); }
    void SetCurrentViewWnd(CWnd*) override {}
    void SetCurrentChildFrame(CFrameWnd*) override {}
    void AddChildFrame(CFrameWnd*) override {}
    void RemoveChildFrame(CFrameWnd*) override {}
    void CompareFiles(LPCSTR, LPCSTR) override {}
    void OnTextDocumentActivated() override {}
    void OnTextChanged() override {}

private:
    CEditorSettings m_stubEditorSettings;
    CLexerConfigList m_stubLexers;
};

typedef CEditorFrameStubOf<CMDIFrameWnd> CEditorFrameStub;
