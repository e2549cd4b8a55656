// recordingframe.h - a main frame that records what the panes ask of it,
// with a "Find In Files" results list of its own (the pane tests and the
// find-in-files benchmark stand the panes in it).
#pragma once

#include "findinfiles.h"
#include "editorframestub.h"

#include <string>
#include <vector>

namespace panetest {

struct OpenRequest {
    std::string path;
    int line;     // OpenFileAt: the line; OpenFileFromTree: -1; OpenWorkspaceEntry: -2
    int position; // OpenFileAt: the position; OpenFileFromTree: bHex; OpenWorkspaceEntry: 0
};

// The main frame as far as the panes need it.
class CRecordingFrame : public CEditorFrameStubOf<CFrameWnd> {
public:
    CFindInFilesResults m_results;
    std::vector<OpenRequest> m_opened;
    int m_nHistoryReloads = 0;

    BOOL CreateFrame()
    {
        if (!Create(NULL, "Pane test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 640, 440)))
            return FALSE;
        if (!m_results.Create(this, 59591))
            return FALSE;
        m_results.MoveWindow(0, 0, 580, 300);
        m_results.ShowWindow(SW_SHOW);
        return TRUE;
    }

    CFindInFilesResults* ShowFindInFilesResults() override { return &m_results; }
    void ReloadSearchHistory() override { ++m_nHistoryReloads; }
    BOOL OpenFileAt(LPCSTR lpszPath, int nLine, int nPosition) override
    {
        m_opened.push_back({lpszPath, nLine, nPosition});
        return TRUE;
    }
    void OpenFileFromTree(LPCSTR lpszPath, BOOL bHex) override { m_opened.push_back({lpszPath, -1, bHex}); }

    // The solution bar: entries opened and activated, templates asked for,
    // and the editor that insertions go to (none unless a test sets one).
    std::vector<std::string> m_activated;
    std::vector<std::string> m_templateTexts;
    CMFCScintilla* m_pEditor = NULL;
    void OpenWorkspaceEntry(LPCSTR lpszPath) override { m_opened.push_back({lpszPath, -2, 0}); }
    BOOL ActivateFileWindow(LPCSTR lpszPath) override
    {
        m_activated.push_back(lpszPath);
        return FALSE;
    }
    CMFCScintilla* GetCurrentEditor() override { return m_pEditor; }
    void CreateTemplateFromText(LPCSTR lpszText) override { m_templateTexts.push_back(lpszText); }
};

} // namespace panetest
