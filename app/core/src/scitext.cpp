// scitext.cpp - Scintilla as a text sink and source.
#include "scitext.h"

CScintillaText::CScintillaText(HWND hScintilla) : m_pfn(NULL), m_ptr(0)
{
    if (hScintilla != NULL) {
        m_pfn = reinterpret_cast<SciFnDirect>(::SendMessageA(hScintilla, SCI_GETDIRECTFUNCTION, 0, 0));
        m_ptr = (sptr_t)::SendMessageA(hScintilla, SCI_GETDIRECTPOINTER, 0, 0);
    }
}

void CScintillaText::ExpectLines(ULONGLONG nLines)
{
    // Small texts grow their index as they come.
    if (IsValid() && nLines > 1024)
        Call(SCI_ALLOCATELINES, (uptr_t)(nLines + nLines / 32 + 64));
}

bool CScintillaText::AppendText(const char* pText, int nLength)
{
    if (!IsValid())
        return false;
    if (nLength > 0) {
        // Inserted at the caret, which each piece leaves at the end.
        Call(SCI_ADDTEXT, (uptr_t)nLength, reinterpret_cast<sptr_t>(pText));
    }
    return Call(SCI_GETSTATUS) == SC_STATUS_OK;
}

LONG_PTR CScintillaText::GetLength()
{
    return IsValid() ? (LONG_PTR)Call(SCI_GETLENGTH) : 0;
}

LONG_PTR CScintillaText::LineFromPosition(LONG_PTR nPos)
{
    return (LONG_PTR)Call(SCI_LINEFROMPOSITION, (uptr_t)nPos);
}

LONG_PTR CScintillaText::GetLineEndPosition(LONG_PTR nLine)
{
    return (LONG_PTR)Call(SCI_GETLINEENDPOSITION, (uptr_t)nLine);
}

void CScintillaText::GetTextRange(LONG_PTR nStart, LONG_PTR nEnd, char* pBuffer)
{
    Sci_TextRangeFull range;
    range.chrg.cpMin = (Sci_Position)nStart;
    range.chrg.cpMax = (Sci_Position)nEnd;
    range.lpstrText = pBuffer;
    Call(SCI_GETTEXTRANGEFULL, 0, reinterpret_cast<sptr_t>(&range));
}
