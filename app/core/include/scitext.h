// scitext.h - the editing component as a text sink and source.
//
// Loads and saves (textfile.h) work on ITextSink / ITextSource; this adapter
// gives them a Scintilla window, driven through its direct function.
#pragma once

#include <windows.h>
#include <Scintilla.h>

#include "textfile.h"

class CScintillaText : public ITextSink, public ITextSource {
public:
    CScintillaText(SciFnDirect pfnDirect, sptr_t pDirect) : m_pfn(pfnDirect), m_ptr(pDirect) {}
    // Fetches the direct function and pointer of a Scintilla window.
    explicit CScintillaText(HWND hScintilla);

    bool IsValid() const { return m_pfn != NULL && m_ptr != 0; }
    sptr_t Call(unsigned int nMsg, uptr_t wParam = 0, sptr_t lParam = 0) const
    {
        return m_pfn(m_ptr, nMsg, wParam, lParam);
    }

    // About how many lines the text to come has (TextFile::EstimateLineFeeds):
    // the component sets room aside for them and a thirty-second more at
    // once, instead of growing its line index over and over (holding the old
    // and the new index at once each time, and keeping up to a sixth to
    // spare). A text that turns out to have more lines grows as usual.
    void ExpectLines(ULONGLONG nLines);

    // ITextSink: SCI_ADDTEXT at the caret (a load starts from an empty text).
    bool AppendText(const char* pText, int nLength) override;
    // ITextSource
    LONG_PTR GetLength() override;
    LONG_PTR LineFromPosition(LONG_PTR nPos) override;
    LONG_PTR GetLineEndPosition(LONG_PTR nLine) override;
    void GetTextRange(LONG_PTR nStart, LONG_PTR nEnd, char* pBuffer) override;

private:
    SciFnDirect m_pfn;
    sptr_t m_ptr;
};
