// scintillaedit.cpp - CMFCScintilla: the editing algorithms (templates,
// bookmarks, clipboard, search and replace, comments, braces, indentation).
#include "scintillawrap.h"

#include <fx/clipboard.h>

#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

#include <SciLexer.h>

#include <qx/profile.h>

namespace {

const char kReplaceMarker[] = "<%REPLACE%>";

bool IsBrace(char ch)
{
    return ch != '\0' && ::strchr("()[]{}", ch) != NULL;
}

std::wstring Utf8ToWide(const char* psz, size_t nLength)
{
    std::wstring result;
    if (nLength == 0)
        return result;
    int n = ::MultiByteToWideChar(CP_UTF8, 0, psz, (int)nLength, NULL, 0);
    if (n <= 0)
        return result;
    result.resize((size_t)n);
    ::MultiByteToWideChar(CP_UTF8, 0, psz, (int)nLength, &result[0], n);
    return result;
}

// Copies a text into a new movable block for the clipboard.
HGLOBAL MakeClipboardBlock(const void* pData, size_t nBytes)
{
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, nBytes);
    if (hBlock == NULL)
        return NULL;
    void* p = ::GlobalLock(hBlock);
    if (p == NULL) {
        ::GlobalFree(hBlock);
        return NULL;
    }
    ::memcpy(p, pData, nBytes);
    ::GlobalUnlock(hBlock);
    return hBlock;
}

} // namespace

// ---------------------------------------------------------------------------
// Selection and templates

CString CMFCScintilla::GetSelText() const
{
    // The component says how much it will write: with several selections or
    // a rectangular one that is more than end minus start.
    Sci_Position nLength = Call(SCI_GETSELTEXT, 0, 0);
    if (nLength <= 0)
        return CString();
    std::vector<char> buffer((size_t)nLength + 2, '\0');
    Call(SCI_GETSELTEXT, 0, (sptr_t)buffer.data());
    return CString(buffer.data());
}

void CMFCScintilla::InsertTemplateText(LPCSTR lpszTemplate)
{
    if (lpszTemplate == NULL)
        return;
    std::string text(lpszTemplate);
    CString selection = GetSelText();
    const size_t nMarker = ::strlen(kReplaceMarker);
    for (size_t pos = text.find(kReplaceMarker); pos != std::string::npos;
         pos = text.find(kReplaceMarker, pos + selection.GetLength())) {
        text.replace(pos, nMarker, selection.GetString());
    }
    if (!HasSelection())
        Call(SCI_INSERTTEXT, (uptr_t)-1, (sptr_t)text.c_str());
    else
        Call(SCI_REPLACESEL, 0, (sptr_t)text.c_str());
}

void CMFCScintilla::InsertDate()
{
    char szText[1024];
    if (::GetDateFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, NULL, NULL, szText, sizeof(szText)) > 0)
        InsertTemplateText(szText);
}

void CMFCScintilla::InsertTime()
{
    char szText[1024];
    if (::GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, NULL, NULL, szText, sizeof(szText)) > 0)
        InsertTemplateText(szText);
}

void CMFCScintilla::SelectWord(Sci_Position nPos)
{
    Sci_Position nStart = Call(SCI_WORDSTARTPOSITION, (uptr_t)nPos, 1);
    Sci_Position nEnd = Call(SCI_WORDENDPOSITION, (uptr_t)nPos, 1);
    SetSel(nStart, nEnd);
}

void CMFCScintilla::SelectLine(Sci_Position nLine)
{
    SetSel(PositionFromLine(nLine), GetLineEndPosition(nLine));
}

void CMFCScintilla::DeleteWord()
{
    Sci_Position nEnd = Call(SCI_WORDENDPOSITION, (uptr_t)GetCurrentPos(), 1);
    SetCurrentPos(nEnd);
    Call(SCI_DELWORDLEFT);
}

void CMFCScintilla::IndentRight()
{
    if (!HasSelection())
        GotoPos(PositionFromLine(GetCurrentLine()));
    Call(SCI_TAB);
}

void CMFCScintilla::IndentLeft()
{
    // Out of the indentation SCI_BACKTAB only moves the caret back to a tab
    // stop; from the line start it takes one level off the line.
    if (!HasSelection())
        GotoPos(PositionFromLine(GetCurrentLine()));
    Call(SCI_BACKTAB);
}

// ---------------------------------------------------------------------------
// Comments

void CMFCScintilla::CommentLines(LPCSTR lpszMarker)
{
    ChangeLineComments(lpszMarker, TRUE);
}

void CMFCScintilla::UncommentLines(LPCSTR lpszMarker)
{
    ChangeLineComments(lpszMarker, FALSE);
}

void CMFCScintilla::ChangeLineComments(LPCSTR lpszMarker, BOOL bComment)
{
    // A language without a line-comment marker has nothing to insert.
    if (lpszMarker == NULL || *lpszMarker == '\0')
        return;
    const std::string marker(lpszMarker);
    const std::string prefix = marker + " ";

    const Sci_Position nCaret = GetCurrentPos();
    const Sci_Position nAnchor = GetAnchor();
    Sci_Position nSelStart = GetSelectionStart();
    Sci_Position nSelEnd = GetSelectionEnd();
    const Sci_Position nFirstLine = LineFromPosition(nSelStart);
    Sci_Position nLastLine = LineFromPosition(nSelEnd);
    if (nLastLine > nFirstLine && nSelEnd == PositionFromLine(nLastLine))
        --nLastLine;

    std::vector<char> head(prefix.size() + 1);
    BeginUndoAction();
    for (Sci_Position nLine = nFirstLine; nLine <= nLastLine; ++nLine) {
        const Sci_Position nLineStart = PositionFromLine(nLine);
        const Sci_Position nLineEnd = GetLineEndPosition(nLine);
        if (nLineEnd - nLineStart >= COMMENT_LINE_MAX)
            continue;
        if (bComment) {
            Call(SCI_INSERTTEXT, (uptr_t)nLineStart, (sptr_t)prefix.c_str());
            const Sci_Position nAdded = (Sci_Position)prefix.size();
            // A selection that starts at the line start keeps the marker in it.
            if (nSelStart > nLineStart)
                nSelStart += nAdded;
            if (nSelEnd > nLineStart)
                nSelEnd += nAdded;
            continue;
        }
        Sci_Position nHeadEnd = nLineStart + (Sci_Position)prefix.size();
        if (nHeadEnd > nLineEnd)
            nHeadEnd = nLineEnd;
        GetTextRange(nLineStart, nHeadEnd, head.data());
        if (::strncmp(head.data(), marker.c_str(), marker.size()) != 0)
            continue;
        const Sci_Position nRemoved =
            (Sci_Position)(::strncmp(head.data(), prefix.c_str(), prefix.size()) == 0 ? prefix.size() : marker.size());
        SetSel(nLineStart, nLineStart + nRemoved);
        Call(SCI_REPLACESEL, 0, (sptr_t) "");
        if (nSelStart > nLineStart)
            nSelStart -= nSelStart - nLineStart < nRemoved ? nSelStart - nLineStart : nRemoved;
        if (nSelEnd > nLineStart)
            nSelEnd -= nSelEnd - nLineStart < nRemoved ? nSelEnd - nLineStart : nRemoved;
    }
    const Sci_Position nFirstStart = PositionFromLine(nFirstLine);
    if (nSelStart < nFirstStart)
        nSelStart = nFirstStart;
    if (nCaret < nAnchor) {
        GotoPos(nSelEnd);
        SetCurrentPos(nSelStart);
    } else {
        SetSel(nSelStart, nSelEnd);
    }
    EndUndoAction();
}

// ---------------------------------------------------------------------------
// Bookmarks

void CMFCScintilla::ToggleBookmark(Sci_Position nLine)
{
    if (nLine == -1)
        nLine = GetCurrentLine();
    if (Call(SCI_MARKERGET, (uptr_t)nLine) & BOOKMARK_MASK)
        Call(SCI_MARKERDELETE, (uptr_t)nLine, BOOKMARK_MARKER);
    else
        Call(SCI_MARKERADD, (uptr_t)nLine, BOOKMARK_MARKER);
}

BOOL CMFCScintilla::ToggleBookmarkAt(Sci_Position nPos)
{
    Sci_Position nLine = LineFromPosition(nPos);
    if (nLine < 0)
        return FALSE;
    ToggleBookmark(nLine);
    return TRUE;
}

void CMFCScintilla::GotoBookmark(BOOL bNext, BOOL bExtend)
{
    const Sci_Position nLine = GetCurrentLine();
    Sci_Position nFound;
    if (bNext) {
        nFound = Call(SCI_MARKERNEXT, (uptr_t)(nLine + 1), BOOKMARK_MASK);
        if (nFound < 0)
            nFound = Call(SCI_MARKERNEXT, 0, BOOKMARK_MASK);
    } else {
        nFound = nLine > 0 ? Call(SCI_MARKERPREVIOUS, (uptr_t)(nLine - 1), BOOKMARK_MASK) : -1;
        if (nFound < 0)
            nFound = Call(SCI_MARKERPREVIOUS, (uptr_t)GetLineCount(), BOOKMARK_MASK);
    }
    if (nFound < 0 || nFound == nLine) {
        AfxMessageBox(IDS_NO_OTHER_BOOKMARK, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const Sci_Position nAnchor = GetAnchor();
    Call(SCI_ENSUREVISIBLEENFORCEPOLICY, (uptr_t)nFound);
    Call(SCI_GOTOLINE, (uptr_t)nFound);
    if (bExtend)
        SetAnchor(nAnchor);
}

// ---------------------------------------------------------------------------
// Clipboard and find seed

BOOL CMFCScintilla::CopyAppend()
{
    if (!HasSelection())
        return FALSE;
    CString selection = GetSelText();
    // A UTF-8 document goes to the clipboard as Unicode text: as CF_TEXT its
    // bytes would be read in the ANSI code page.
    const BOOL bUnicode = GetCodePage() == SC_CP_UTF8;
    if (!fx::OpenClipboardPatiently(m_hWnd))
        return FALSE;
    BOOL bDone = FALSE;
    HGLOBAL hBlock = NULL;
    if (bUnicode) {
        std::wstring text;
        HANDLE hOld = ::GetClipboardData(CF_UNICODETEXT);
        const wchar_t* pOld = hOld ? (const wchar_t*)::GlobalLock(hOld) : NULL;
        if (pOld != NULL) {
            // Bounded by the block: clipboard text need not be terminated.
            size_t nMax = ::GlobalSize(hOld) / sizeof(wchar_t);
            text.assign(pOld, ::wcsnlen(pOld, nMax));
            ::GlobalUnlock(hOld);
        }
        text += Utf8ToWide(selection.GetString(), (size_t)selection.GetLength());
        hBlock = MakeClipboardBlock(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        if (hBlock != NULL && ::EmptyClipboard()) {
            bDone = ::SetClipboardData(CF_UNICODETEXT, hBlock) != NULL;
        }
    } else {
        std::string text;
        HANDLE hOld = ::GetClipboardData(CF_TEXT);
        const char* pOld = hOld ? (const char*)::GlobalLock(hOld) : NULL;
        if (pOld != NULL) {
            text.assign(pOld, ::strnlen(pOld, ::GlobalSize(hOld)));
            ::GlobalUnlock(hOld);
        }
        text.append(selection.GetString(), (size_t)selection.GetLength());
        hBlock = MakeClipboardBlock(text.c_str(), text.size() + 1);
        if (hBlock != NULL && ::EmptyClipboard()) {
            bDone = ::SetClipboardData(CF_TEXT, hBlock) != NULL;
        }
    }
    if (!bDone && hBlock != NULL)
        ::GlobalFree(hBlock);
    ::CloseClipboard();
    return bDone;
}

CString CMFCScintilla::GetFindSeed(BOOL bReadStored)
{
    CString text;
    const Sci_Position nStart = GetSelectionStart();
    Sci_Position nEnd = GetSelectionEnd();
    if (nEnd > nStart) {
        if (Call(SCI_COUNTCHARACTERS, (uptr_t)nStart, nEnd) > FIND_SEED_MAX)
            nEnd = Call(SCI_POSITIONRELATIVE, (uptr_t)nStart, FIND_SEED_MAX - 1);
        std::vector<char> buffer((size_t)(nEnd - nStart) + 1, '\0');
        GetTextRange(nStart, nEnd, buffer.data());
        text = buffer.data();
    }
    CQXProfileStore store;
    if (!text.IsEmpty() || !bReadStored)
        store.WriteProfileString("FindReplace", "LastSelectedValue", text);
    else
        text = store.GetProfileString("FindReplace", "LastSelectedValue", "");
    return text;
}

// ---------------------------------------------------------------------------
// Search and replace

Sci_Position CMFCScintilla::FindText(LPCSTR lpszText, BOOL bBackward, BOOL bWrap)
{
    m_bSearchTooComplex = FALSE;
    if (lpszText == NULL || *lpszText == '\0')
        return -1;
    const Sci_Position nLength = (Sci_Position)::strlen(lpszText);
    const Sci_Position nDocLength = GetLength();
    const Sci_Position nSelStart = GetSelectionStart();
    const Sci_Position nSelEnd = GetSelectionEnd();

    Sci_Position nPos;
    if (!bBackward) {
        nPos = SearchRangeBounded(lpszText, nLength, nSelEnd, nDocLength);
        // An empty match where the caret already is would be found again and
        // again: look one character further.
        if (nPos >= 0 && nPos == nSelEnd && nSelStart == nSelEnd && GetTargetEnd() == nPos &&
            nSelEnd < nDocLength)
            nPos = SearchRangeBounded(lpszText, nLength, PositionAfter(nSelEnd), nDocLength);
    } else {
        nPos = SearchRangeBounded(lpszText, nLength, nSelStart, 0);
    }
    // A pattern given up on is not tried again from the other end.
    if (nPos < 0 && bWrap && !m_bSearchTooComplex)
        nPos = bBackward ? SearchRangeBounded(lpszText, nLength, nDocLength, 0) : SearchRangeBounded(lpszText, nLength, 0, nDocLength);
    if (nPos < 0)
        return -1;

    const Sci_Position nMatchStart = GetTargetStart();
    const Sci_Position nMatchEnd = GetTargetEnd();
    const Sci_Position nLastLine = LineFromPosition(nMatchEnd);
    for (Sci_Position nLine = LineFromPosition(nMatchStart); nLine <= nLastLine; ++nLine)
        Call(SCI_ENSUREVISIBLEENFORCEPOLICY, (uptr_t)nLine);
    SetSel(nMatchStart, nMatchEnd);
    return nPos;
}

Sci_Position CMFCScintilla::ReplaceTarget(LPCSTR lpszText, BOOL bRegex)
{
    return Call(bRegex ? SCI_REPLACETARGETRE : SCI_REPLACETARGET, (uptr_t)-1, (sptr_t)lpszText);
}

int CMFCScintilla::ReplaceAllMatches(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bInSelection, BOOL bRegex)
{
    m_bSearchTooComplex = FALSE;
    if (lpszReplace == NULL)
        lpszReplace = "";
    Sci_Position nRangeStart = 0;
    Sci_Position nRangeEnd = GetLength();
    if (bInSelection) {
        const Sci_Position nSelStart = GetSelectionStart();
        const Sci_Position nSelEnd = GetSelectionEnd();
        if (nSelStart == nSelEnd)
            return -2;
        const Sci_Position nFirstLine = LineFromPosition(nSelStart);
        Sci_Position nLastLine = LineFromPosition(nSelEnd);
        // A selection that ends at the very start of a line holds nothing of
        // that line: it is not replaced in (as it is not commented).
        if (nLastLine > nFirstLine && nSelEnd == PositionFromLine(nLastLine))
            --nLastLine;
        nRangeStart = PositionFromLine(nFirstLine);
        nRangeEnd = nLastLine + 1 < GetLineCount() ? PositionFromLine(nLastLine + 1) : GetLength();
    }
    // An empty find text would match everywhere and nowhere; a read-only
    // document takes no replacement, and the count says what changed.
    if (lpszFind == NULL || *lpszFind == '\0' || GetReadOnly())
        return 0;
    const Sci_Position nFindLength = (Sci_Position)::strlen(lpszFind);

    // A match must start inside the range. An empty match at the range end
    // counts only at the end of a document whose last line has text: in a
    // selection the range end is the start of the next, unselected line, and
    // the empty line after a final line break is no line of text.
    auto inRange = [&](Sci_Position nPos) {
        if (nPos < 0)
            return false;
        if (nPos < nRangeEnd)
            return true;
        return nPos == nRangeEnd && GetTargetEnd() == nPos && nRangeEnd == GetLength() &&
               nRangeEnd > PositionFromLine(LineFromPosition(nRangeEnd));
    };

    Sci_Position nPos = SearchRangeBounded(lpszFind, nFindLength, nRangeStart, nRangeEnd);
    if (!inRange(nPos))
        return 0;

    int nCount = 0;
    Sci_Position nLastEnd = nRangeStart;
    const Sci_Position nFirstMatch = nPos;
    const Sci_Position nLinesBefore = GetLineCount();
    // The owner hears of the batch once, at the end: four modification
    // reports per match make a large replacement take seconds.
    const int nEventMask = (int)Call(SCI_GETMODEVENTMASK);
    Call(SCI_SETMODEVENTMASK, 0);
    BeginUndoAction();
    for (;;) {
        const Sci_Position nMatchStart = GetTargetStart();
        const Sci_Position nMatchEnd = GetTargetEnd();
        const Sci_Position nOldLength = nMatchEnd - nMatchStart;
        const Sci_Position nNewLength = ReplaceTarget(lpszReplace, bRegex);
        ++nCount;
        nRangeEnd += nNewLength - nOldLength;
        nLastEnd = nMatchStart + nNewLength;

        Sci_Position nNext = nLastEnd;
        if (nOldLength == 0) {
            // Past an empty match by one character (a CR LF pair counts as
            // one), or the same place would match forever.
            nNext = PositionAfter(nLastEnd);
            if (nNext <= nLastEnd)
                break; // the document's end
        }
        if (nNext > nRangeEnd || (nNext == nRangeEnd && nRangeEnd != GetLength()))
            break;
        nPos = SearchRangeBounded(lpszFind, nFindLength, nNext, nRangeEnd);
        if (!inRange(nPos))
            break;
    }
    if (bInSelection)
        SetSel(nRangeStart, nRangeEnd);
    else
        GotoPos(nLastEnd);
    EndUndoAction();
    Call(SCI_SETMODEVENTMASK, (uptr_t)nEventMask);
    if (nEventMask & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))
        NotifyBatchModified(nFirstMatch, nLastEnd - nFirstMatch, GetLineCount() - nLinesBefore);
    return nCount;
}

Sci_Position CMFCScintilla::ReplaceMatchingSelection(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bRegex)
{
    m_bSearchTooComplex = FALSE;
    if (lpszFind == NULL || *lpszFind == '\0' || GetReadOnly())
        return -1;
    const Sci_Position nStart = GetSelectionStart();
    const Sci_Position nEnd = GetSelectionEnd();
    // The search also sets the groups a regular-expression replacement uses.
    if (SearchRangeBounded(lpszFind, (Sci_Position)::strlen(lpszFind), nStart, nEnd) != nStart || GetTargetEnd() != nEnd)
        return -1;
    const Sci_Position nNewLength = ReplaceTarget(lpszReplace != NULL ? lpszReplace : "", bRegex);
    SetSel(nStart, nStart + nNewLength);
    return nNewLength;
}

int CMFCScintilla::BookmarkMatches(LPCSTR lpszText)
{
    m_bSearchTooComplex = FALSE;
    if (lpszText == NULL || *lpszText == '\0')
        return 0;
    const Sci_Position nLength = (Sci_Position)::strlen(lpszText);
    const Sci_Position nDocLength = GetLength();
    const Sci_Position nLineCount = GetLineCount();
    int nLines = 0;
    Sci_Position nPos = 0;
    // One pass from the top: each line is marked once, however many matches
    // it holds, and the search goes on from the next line, so it ends for
    // every pattern, empty matches ("$") included.
    while (nPos <= nDocLength) {
        const Sci_Position nMatch = SearchRangeBounded(lpszText, nLength, nPos, nDocLength);
        if (nMatch < 0)
            break;
        const Sci_Position nLine = LineFromPosition(nMatch);
        if (!(Call(SCI_MARKERGET, (uptr_t)nLine) & BOOKMARK_MASK))
            Call(SCI_MARKERADD, (uptr_t)nLine, BOOKMARK_MARKER);
        ++nLines;
        if (nLine + 1 >= nLineCount)
            break;
        const Sci_Position nNextLine = PositionFromLine(nLine + 1);
        const Sci_Position nMatchEnd = GetTargetEnd();
        nPos = nMatchEnd > nNextLine ? nMatchEnd : nNextLine;
    }
    return nLines;
}

void CMFCScintilla::NotifyBatchModified(Sci_Position nPos, Sci_Position nLength, Sci_Position nLinesAdded)
{
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent == NULL)
        return;
    SCNotification scn = {};
    scn.nmhdr.hwndFrom = m_hWnd;
    scn.nmhdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    scn.nmhdr.code = SCN_MODIFIED;
    scn.modificationType = SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT | SC_PERFORMED_USER;
    scn.position = nPos;
    scn.length = nLength;
    scn.linesAdded = nLinesAdded;
    scn.line = LineFromPosition(nPos);
    ::SendMessageA(hParent, WM_NOTIFY, scn.nmhdr.idFrom, (LPARAM)&scn);
}

// ---------------------------------------------------------------------------
// Braces and indentation

CMFCScintilla::BraceInfo CMFCScintilla::LocateBraces(BOOL bAllowAfter)
{
    BraceInfo info = {-1, -1, FALSE};
    const Sci_Position nCaret = GetCurrentPos();
    const bool bPython = GetLexer() == SCLEX_PYTHON;

    auto test = [&](Sci_Position nPos) {
        const char ch = GetCharAt(nPos);
        if (IsBrace(ch)) {
            info.brace = nPos;
        } else if (bPython && ch == ':' && StyledAt(nPos) == SCE_P_OPERATOR) {
            info.brace = nPos;
            info.pythonBlock = TRUE;
        }
    };
    if (nCaret > 0 && PositionBefore(nCaret) == nCaret - 1)
        test(nCaret - 1);
    if (info.brace < 0 && bAllowAfter && nCaret < GetLength())
        test(nCaret);
    if (info.brace < 0)
        return info;

    if (info.pythonBlock) {
        const Sci_Position nLast = GetLastChild(LineFromPosition(info.brace), -1);
        info.match = GetLineEndPosition(nLast);
    } else {
        info.match = BraceMatch(info.brace);
    }
    return info;
}

BOOL CMFCScintilla::FindBraces(Sci_Position& nBrace, Sci_Position& nMatch, BOOL bAllowAfter)
{
    BraceInfo info = LocateBraces(bAllowAfter);
    nBrace = info.brace;
    nMatch = info.match;
    return info.brace >= 0;
}

void CMFCScintilla::HighlightBraces()
{
    BraceInfo info = LocateBraces(TRUE);
    if (info.brace >= 0 && info.match < 0) {
        Call(SCI_BRACEBADLIGHT, (uptr_t)info.brace);
        Call(SCI_SETHIGHLIGHTGUIDE, 0);
        return;
    }
    Call(SCI_BRACEHIGHLIGHT, (uptr_t)info.brace, info.match);
    Sci_Position nGuide = 0;
    if (info.brace >= 0) {
        if (info.pythonBlock) {
            const Sci_Position nLine = LineFromPosition(info.brace);
            int nIndentSize = (int)Call(SCI_GETINDENT);
            if (nIndentSize <= 0)
                nIndentSize = (int)Call(SCI_GETTABWIDTH);
            const int nNext = GetLineIndentation(nLine + 1) - nIndentSize;
            nGuide = nNext >= 2 ? nNext : GetLineIndentation(nLine);
        } else {
            const Sci_Position nColumnBrace = GetColumn(info.brace);
            const Sci_Position nColumnMatch = GetColumn(info.match);
            nGuide = nColumnBrace < nColumnMatch ? nColumnBrace : nColumnMatch;
        }
    }
    Call(SCI_SETHIGHLIGHTGUIDE, (uptr_t)nGuide);
}

void CMFCScintilla::AutoIndent(int ch, BOOL bSmart)
{
    if (ch == '}') {
        BraceInfo info = LocateBraces(FALSE);
        if (info.brace < 0 || info.match < 0 || info.pythonBlock)
            return;
        const Sci_Position nOpenLine = LineFromPosition(info.match);
        const Sci_Position nLine = GetCurrentLine();
        if (nOpenLine < nLine)
            SetLineIndentation(nLine, GetLineIndentation(nOpenLine));
        return;
    }

    const int nEol = GetEOLMode();
    const bool bLineBreak =
        (ch == '\n' && (nEol == SC_EOL_CRLF || nEol == SC_EOL_LF)) || (ch == '\r' && nEol == SC_EOL_CR);
    if (!bLineBreak)
        return;
    const Sci_Position nLine = GetCurrentLine();
    Sci_Position nAbove = nLine - 1;
    while (nAbove >= 0 && Call(SCI_LINELENGTH, (uptr_t)nAbove) == 0)
        --nAbove;
    if (nAbove < 0)
        return;
    int nIndent = GetLineIndentation(nAbove);
    if (bSmart) {
        // An opening brace with no closing one after it on that line.
        bool bClosed = false;
        const Sci_Position nStart = PositionFromLine(nAbove);
        for (Sci_Position nPos = GetLineEndPosition(nAbove) - 1; nPos >= nStart; --nPos) {
            const char c = GetCharAt(nPos);
            if (c == '}') {
                bClosed = true;
            } else if (c == '{' && !bClosed) {
                int nIndentSize = (int)Call(SCI_GETINDENT);
                if (nIndentSize <= 0)
                    nIndentSize = (int)Call(SCI_GETTABWIDTH);
                nIndent += nIndentSize;
                break;
            }
        }
    }
    if (nIndent < 1)
        return;
    SetLineIndentation(nLine, nIndent);
    GotoPos(Call(SCI_GETLINEINDENTPOSITION, (uptr_t)nLine));
}
