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

    // The length the whole text is expected to reach. The first piece then
    // tells roughly how many lines the text has, and the component sets
    // room aside for them once (instead of growing its line index over and
    // over, holding the old and the new index at once each time).
    void ExpectLength(ULONGLONG nLength) { m_nExpected = nLength; }

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
    ULONGLONG m_nExpected = 0; // 0: unknown, or the lines were reserved already
};
