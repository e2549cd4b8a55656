// propgridcore.cpp - the property grid's window-less rules: texts, layout,
// hit test, divider, verb wrapping and the masked-input engine.
#include <qx/propgridcore.h>

#include <algorithm>
#include <cctype>
#include <climits>

// ---------------------------------------------------------------------------
// Texts of items

void AFXAPI SplitPropertyCaption(LPCSTR lpszText, CString& strCaption, CString& strDescription,
                                 BOOL* pbHasDescription)
{
    CString str(lpszText ? lpszText : "");
    int n = str.Find('\n');
    if (pbHasDescription)
        *pbHasDescription = n >= 0;
    if (n < 0) {
        strCaption = str;
        return;
    }
    strCaption = str.Left(n);
    strDescription = str.Mid(n + 1);
}

long AFXAPI ParsePropertyNumber(LPCSTR lpszText)
{
    if (!lpszText)
        return 0;
    const char* p = lpszText;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = *p++ == '-';
    long long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > (long long)INT_MAX + 1)
            n = (long long)INT_MAX + 1; // saturated: the rest cannot bring it back
    }
    if (bNegative)
        n = -n;
    return (long)std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, n));
}

BOOL AFXAPI ParsePropertyBool(LPCSTR lpszText, LPCSTR lpszTrueText)
{
    return CString(lpszText ? lpszText : "").CompareNoCase(lpszTrueText ? lpszTrueText : "") == 0;
}

CString AFXAPI PasswordViewOf(LPCSTR lpszValue, char chPassword)
{
    CString str;
    for (const unsigned char* p = (const unsigned char*)(lpszValue ? lpszValue : ""); *p; ++p)
        if ((*p & 0xC0) != 0x80) // UTF-8 continuation bytes belong to the character before
            str += chPassword;
    return str;
}

// ---------------------------------------------------------------------------
// Layout and hit test

PropertyGridLayout AFXAPI CalcPropertyGridLayout(const PropertyGridPanes& panes)
{
    PropertyGridLayout out;
    int cy = panes.cy;
    const int nMin = panes.bToolBar ? QXP_GRID_VIEW_MIN_TB : QXP_GRID_VIEW_MIN;
    out.nHelpHeight = panes.nHelpHeight;
    if (panes.bHelp) {
        if (panes.bHelpSplitter && cy > nMin && cy - out.nHelpHeight - QXP_GRID_SPLITTER < nMin)
            out.nHelpHeight = std::max(0, cy - nMin - QXP_GRID_SPLITTER);
        cy -= out.nHelpHeight + QXP_GRID_SPLITTER;
    }
    if (panes.nVerbs > 0)
        cy -= panes.nVerbsHeight + QXP_GRID_SPLITTER;
    out.bVerbsVisible = panes.nVerbs > 0;
    int nTop = 0;
    if (panes.bToolBar) {
        out.rcToolBar = {0, 0, panes.cx, QXP_GRID_TOOLBAR};
        nTop = QXP_GRID_TOOLBAR;
    }
    out.rcView = {0, nTop, panes.cx, std::max(nTop, cy)};
    return out;
}

PropertyGridBands AFXAPI CalcPropertyGridBands(const RECT& rcClient, const PropertyGridPanes& panes)
{
    PropertyGridBands b;
    int bottom = rcClient.bottom;
    if (panes.bHelp) {
        b.rcHelp = {rcClient.left, bottom - panes.nHelpHeight, rcClient.right, bottom};
        b.rcHelpSplitter = {rcClient.left, bottom - panes.nHelpHeight - QXP_GRID_SPLITTER, rcClient.right,
                            bottom - panes.nHelpHeight};
        bottom -= panes.nHelpHeight + QXP_GRID_SPLITTER;
    }
    if (panes.nVerbs > 0) {
        b.rcVerbs = {rcClient.left, bottom - panes.nVerbsHeight, rcClient.right, bottom};
        b.rcVerbsSplitter = {rcClient.left, bottom - panes.nVerbsHeight - QXP_GRID_SPLITTER, rcClient.right,
                             bottom - panes.nVerbsHeight};
    }
    return b;
}

static BOOL InBand(const RECT& rc, POINT pt)
{
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

int AFXAPI PropertyGridHitTest(const RECT& rcClient, const PropertyGridPanes& panes, POINT pt,
                               const std::function<int(POINT)>& pfnVerbAt)
{
    PropertyGridBands b = CalcPropertyGridBands(rcClient, panes);
    if (panes.bHelp && panes.bHelpSplitter && InBand(b.rcHelpSplitter, pt))
        return qxpGridHitHelpSplitter;
    if (panes.nVerbs <= 0)
        return qxpGridHitNone;
    if (InBand(b.rcVerbsSplitter, pt))
        return qxpGridHitVerbsSplitter;
    if (InBand(b.rcVerbs, pt) && pfnVerbAt) {
        int n = pfnVerbAt(pt);
        if (n >= 0)
            return qxpGridHitVerb + n;
    }
    return qxpGridHitNone;
}

int AFXAPI ClampSplitterTop(int nTop, int nLimit)
{
    return std::max(QXP_GRID_VIEW_MIN_TB, std::min(nTop, nLimit - QXP_GRID_VIEW_MIN));
}

int AFXAPI PaneHeightForSplitterTop(int nTop, int nLimit) { return nLimit - (nTop + 2); }

double AFXAPI ClampDividerPos(BOOL bProportional, int x, int nWidth)
{
    if (bProportional) {
        double d = nWidth == 0 ? 0.5 : (double)x / nWidth;
        return std::max(0.1, std::min(0.85, d));
    }
    return std::max(1, std::min(x, std::max(1, nWidth)));
}

int AFXAPI DividerPixels(BOOL bProportional, double dDivider, int nWidth)
{
    return bProportional ? (int)(dDivider * nWidth) : (int)dDivider;
}

// ---------------------------------------------------------------------------
// Verb links

void AFXAPI LayoutVerbs(const RECT& rcArea, const std::vector<CString>& captions, int nLineHeight,
                        int nCommaWidth, const std::function<int(LPCSTR, int)>& measure,
                        std::vector<VerbPiece>& pieces, std::vector<VerbSeparator>* pSeparators)
{
    pieces.clear();
    if (pSeparators)
        pSeparators->clear();
    int x = rcArea.left, y = rcArea.top;
    for (int i = 0; i < (int)captions.size(); i++) {
        const CString& str = captions[(size_t)i];
        int nStart = 0;
        const int nLen = str.GetLength();
        while (nStart < nLen) {
            if (y + nLineHeight > rcArea.bottom)
                return;
            LPCSTR p = str.GetString() + nStart;
            int nRest = nLen - nStart;
            int cx = measure(p, nRest);
            if (x + cx <= rcArea.right) {
                pieces.push_back({i, nStart, nRest, {x, y, x + cx, y + nLineHeight}});
                x += cx;
                break;
            }
            const BOOL bLineStart = x == rcArea.left;
            int nEstimate = cx > 0 ? (nRest - 1) * (rcArea.right - x) / cx : 0;
            if (nEstimate <= 0 && bLineStart)
                return;
            int nBreak = std::min(nEstimate, nRest - 1);
            while (nBreak >= 0 && p[nBreak] != ' ' && p[nBreak] != ',' && p[nBreak] != '-')
                --nBreak;
            if (nBreak < 0) {
                if (!bLineStart) {
                    x = rcArea.left;
                    y += nLineHeight;
                    continue;
                }
                nBreak = std::min(nEstimate, nRest - 1) - 1; // cut at the estimate
            }
            int nHead = nBreak + 1;
            int cxHead = measure(p, nHead);
            pieces.push_back({i, nStart, nHead, {x, y, x + cxHead, y + nLineHeight}});
            nStart += nHead;
            x = rcArea.left;
            y += nLineHeight;
        }
        if (i + 1 < (int)captions.size()) {
            if (pSeparators)
                pSeparators->push_back({{x, y, x + nCommaWidth, y + nLineHeight}});
            x += nCommaWidth;
        }
    }
}

int AFXAPI VerbFromPoint(const std::vector<VerbPiece>& pieces, POINT pt)
{
    for (const VerbPiece& piece : pieces)
        if (::PtInRect(&piece.rc, pt))
            return piece.nVerb;
    return -1;
}

// ---------------------------------------------------------------------------
// Masked-input engine

MaskEngine::MaskEngine()
    : m_bUseMask(TRUE), m_bOverType(FALSE), m_bUndone(FALSE), m_bModified(FALSE), m_chPrompt('_'),
      m_bSaveUndo(TRUE), m_nStart(0), m_nEnd(0)
{
}

BOOL MaskEngine::IsPrintable(char ch)
{
    unsigned char c = (unsigned char)ch;
    return (c >= 0x20 && c != 0x7F) || IsAlpha(ch);
}

BOOL MaskEngine::IsAlpha(char ch)
{
    unsigned char c = (unsigned char)ch;
    if (c >= 0x80)
        return FALSE; // a byte of a UTF-8 sequence is no letter by itself
    return std::isalpha(c) || std::toupper(c) != c || std::tolower(c) != c;
}

BOOL MaskEngine::IsInputPos(int nPos) const
{
    return nPos >= 0 && nPos < m_strLiteral.GetLength() && m_strLiteral[nPos] == m_chPrompt;
}

BOOL MaskEngine::IsInputChar(char ch, int nPos) const
{
    if (nPos < 0 || nPos >= m_strMask.GetLength())
        return FALSE;
    const unsigned char c = (unsigned char)ch;
    const BOOL bDigit = c >= '0' && c <= '9';
    const BOOL bHex = bDigit || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    const BOOL bAlnum = bDigit || IsAlpha(ch);
    switch (m_strMask[nPos]) {
    case '0': return bDigit;
    case '9': return bDigit || c == ' ';
    case '#': return bDigit || c == ' ' || c == '+' || c == '-';
    case 'd': return bDigit || c == ' ' || c == '+' || c == ',' || c == '-' || c == '.';
    case 'L': return IsAlpha(ch);
    case '?': return IsAlpha(ch) || c == ' ';
    case 'A': return bAlnum;
    case 'a': return bAlnum || c == ' ';
    case '&': return IsPrintable(ch);
    case 'H': return bHex;
    case 'X': return bHex || c == ' ';
    case '>':
    case '<': return IsAlpha(ch);
    default: return FALSE;
    }
}

BOOL MaskEngine::IsValidInput(char ch, int nPos) const
{
    if (!IsActive())
        return FALSE;
    if (!IsPrintable(ch))
        return TRUE;
    return nPos < m_strMask.GetLength() && IsInputPos(nPos) && IsInputChar(ch, nPos);
}

char MaskEngine::StoreChar(char ch, int nPos) const
{
    if (nPos >= 0 && nPos < m_strMask.GetLength()) {
        if (m_strMask[nPos] == '>')
            return (char)std::toupper((unsigned char)ch);
        if (m_strMask[nPos] == '<')
            return (char)std::tolower((unsigned char)ch);
    }
    return ch;
}

int MaskEngine::FindInputPos(int nPos, BOOL bForward) const
{
    if (IsInputPos(nPos))
        return nPos;
    const int nLen = m_strLiteral.GetLength();
    if (bForward) {
        for (int p = std::max(0, nPos + 1); p < nLen; p++)
            if (IsInputPos(p))
                return p;
        for (int p = std::min(nPos, nLen) - 1; p >= 0; p--)
            if (IsInputPos(p))
                return p + 1;
        return nPos;
    }
    for (int p = std::min(nPos - 1, nLen - 1); p >= 0; p--)
        if (IsInputPos(p))
            return p;
    for (int p = 0; p < nLen; p++)
        if (IsInputPos(p))
            return p;
    return nPos;
}

CString MaskEngine::GetInputChars(int nStart, int nEnd) const
{
    if (nEnd < 0 || nEnd > m_strText.GetLength())
        nEnd = m_strText.GetLength();
    CString str;
    for (int p = std::max(0, nStart); p < nEnd; p++)
        if (IsInputPos(p))
            str += m_strText[p];
    return str;
}

void MaskEngine::FixLength()
{
    const int nLen = m_strLiteral.GetLength();
    if (m_strText.GetLength() > nLen)
        m_strText.Truncate(nLen);
    else if (m_strText.GetLength() < nLen)
        m_strText += m_strLiteral.Mid(m_strText.GetLength());
}

void MaskEngine::SetShown(LPCSTR lpszText, int nStart, int nEnd)
{
    m_strShown = lpszText ? lpszText : "";
    m_nStart = nStart;
    m_nEnd = nEnd;
}

void MaskEngine::Read(BOOL bSnap)
{
    m_strText = m_strShown;
    FixLength();
    if (bSnap) {
        m_nStart = FindInputPos(m_nStart, TRUE);
        m_nEnd = std::max(m_nStart, FindInputPos(m_nEnd, TRUE));
    }
}

void MaskEngine::InsertAt(LPCSTR lpszText, int nPos)
{
    const int nLen = m_strLiteral.GetLength();
    nPos = std::max(0, std::min(nPos, nLen));
    m_strText.Truncate(std::min(nPos, m_strText.GetLength()));
    FixLength(); // a short text gets the literal up to nPos
    m_strText.Truncate(nPos);
    const char* p = lpszText ? lpszText : "";
    for (int i = nPos; i < nLen && *p; i++) {
        if (IsInputPos(i) && (*p == m_chPrompt || IsInputChar(*p, i))) {
            m_strText += *p == m_chPrompt ? *p : StoreChar(*p, i);
            ++p;
        } else {
            m_strText += m_strLiteral[i];
        }
    }
    FixLength();
}

void MaskEngine::InsertChar(int nPos, char ch)
{
    CString str(ch);
    str += GetInputChars(nPos, -1);
    InsertAt(str, nPos);
}

void MaskEngine::DeleteSelection()
{
    if (m_nStart == m_nEnd)
        return;
    CString str = GetInputChars(m_nEnd, -1);
    InsertAt(str, m_nStart);
    m_nEnd = m_nStart;
}

BOOL MaskEngine::TypeChar(char ch)
{
    if (m_nStart >= m_strLiteral.GetLength())
        return FALSE;
    DeleteSelection();
    m_nStart = FindInputPos(m_nStart, TRUE);
    if (m_nStart >= m_strLiteral.GetLength())
        return FALSE;
    if (m_bOverType)
        m_strText.SetAt(m_nStart, StoreChar(ch, m_nStart));
    else
        InsertChar(m_nStart, ch);
    if (m_nStart < m_strText.GetLength())
        m_nStart = FindInputPos(m_nStart + 1, TRUE);
    m_nEnd = m_nStart;
    return TRUE;
}

BOOL MaskEngine::Update(BOOL bSaveUndo)
{
    BOOL bChanged = m_strText != m_strShown;
    if (bChanged) {
        if (bSaveUndo || m_bSaveUndo)
            m_strUndo = m_strShown;
        m_strShown = m_strText;
        m_bUndone = FALSE;
        m_bModified = TRUE;
    }
    m_bSaveUndo = bSaveUndo;
    return bChanged;
}

BOOL MaskEngine::SetEditMask(LPCSTR lpszMask, LPCSTR lpszLiteral, LPCSTR lpszDefault)
{
    m_strMask = lpszMask ? lpszMask : "";
    m_strLiteral = lpszLiteral ? lpszLiteral : "";
    if (m_strMask.GetLength() != m_strLiteral.GetLength())
        return FALSE;
    CString strDefault(lpszDefault ? lpszDefault : "");
    if (lpszDefault && strDefault.GetLength() == m_strLiteral.GetLength()) {
        m_strText = strDefault;
    } else if (lpszDefault && !strDefault.IsEmpty()) {
        m_strText = m_strLiteral;
        InsertAt(strDefault, 0);
    } else {
        m_strText = m_strLiteral;
    }
    m_strDefault = m_strText;
    m_bUndone = FALSE;
    m_bModified = FALSE;
    m_strShown = m_strText;
    m_strUndo = m_strText;
    return TRUE;
}

void MaskEngine::SetPromptChar(char ch, BOOL bUpdate)
{
    if (ch == m_chPrompt)
        return;
    if (bUpdate) {
        Read(FALSE);
        for (int i = 0; i < m_strLiteral.GetLength(); i++) {
            if (m_strLiteral[i] == m_chPrompt) {
                m_strLiteral.SetAt(i, ch);
                if (i < m_strText.GetLength() && m_strText[i] == m_chPrompt)
                    m_strText.SetAt(i, ch);
            }
        }
        Update(TRUE);
    } else {
        for (int i = 0; i < m_strLiteral.GetLength(); i++)
            if (m_strLiteral[i] == m_chPrompt)
                m_strLiteral.SetAt(i, ch);
    }
    m_chPrompt = ch;
}

BOOL MaskEngine::Backspace()
{
    Read(FALSE);
    if (m_nStart == 0 || m_nStart > m_strLiteral.GetLength())
        return FALSE;
    if (m_nStart == m_nEnd) {
        m_nStart = FindInputPos(m_nStart - 1, FALSE);
        if (m_bOverType) {
            if (m_nStart < m_strDefault.GetLength())
                m_strText.SetAt(m_nStart, m_strDefault[m_nStart]);
            m_nEnd = m_nStart;
        }
    }
    DeleteSelection();
    Update(TRUE);
    return TRUE;
}

BOOL MaskEngine::Space()
{
    Read(TRUE);
    if (!IsInputPos(m_nStart))
        return FALSE;
    TypeChar(IsInputChar(' ', m_nStart) ? ' ' : m_chPrompt);
    Update(TRUE);
    return TRUE;
}

BOOL MaskEngine::Delete(BOOL bShift, CString* pCopied)
{
    Read(TRUE);
    if (m_nStart == m_nEnd)
        m_nEnd = std::min(m_nStart + 1, m_strText.GetLength());
    else if (bShift && pCopied)
        *pCopied = GetInputChars(m_nStart, m_nEnd);
    DeleteSelection();
    Update(TRUE);
    return TRUE;
}

BOOL MaskEngine::Char(char ch)
{
    Read(TRUE);
    if (m_nStart >= m_strLiteral.GetLength() || !IsInputPos(m_nStart))
        return FALSE;
    if (!IsValidInput(ch, m_nStart))
        return FALSE;
    if (!TypeChar(ch))
        return FALSE;
    Update(FALSE);
    return TRUE;
}

void MaskEngine::AfterMoveForward(BOOL bShift)
{
    Read(FALSE);
    int n = FindInputPos(m_nEnd, TRUE);
    if (n < m_nEnd) {
        m_nEnd = n;
        if (!bShift)
            m_nStart = n;
    }
    Update(TRUE);
}

void MaskEngine::AfterMoveBackward(BOOL bShift)
{
    Read(FALSE);
    int n = FindInputPos(m_nStart, FALSE);
    if (n > m_nStart) {
        m_nStart = n;
        if (!bShift)
            m_nEnd = n;
    }
    Update(TRUE);
}

CString MaskEngine::Copy()
{
    Read(TRUE);
    return GetInputChars(m_nStart, m_nEnd);
}

void MaskEngine::Clear()
{
    Read(TRUE);
    DeleteSelection();
    Update(TRUE);
}

void MaskEngine::Paste(LPCSTR lpszText)
{
    Read(TRUE);
    DeleteSelection();
    int nPos = m_nStart;
    const int nLen = m_strText.GetLength();
    for (const char* p = lpszText ? lpszText : ""; *p && nPos < nLen; ++p) {
        if (*p != m_chPrompt && !IsValidInput(*p, nPos))
            continue;
        InsertChar(nPos, *p);
        nPos = FindInputPos(nPos + 1, TRUE);
    }
    m_nStart = m_nEnd = FindInputPos(nPos, TRUE);
    Update(TRUE);
}

void MaskEngine::Undo()
{
    const int nStart = m_nStart;
    if (!m_bUndone) {
        m_strRedo = m_strShown;
        m_strShown = m_strUndo;
    } else {
        m_strShown = m_strRedo;
    }
    m_bUndone = !m_bUndone;
    m_bModified = TRUE;
    m_strText = m_strShown;
    m_nStart = m_nEnd = std::min(nStart, m_strShown.GetLength());
}

void MaskEngine::SelectAll()
{
    m_nStart = IsActive() ? FindInputPos(0, TRUE) : 0;
    m_nEnd = m_strShown.GetLength();
}

void MaskEngine::OnFocus()
{
    m_nStart = m_nEnd = FindInputPos(m_nStart, TRUE);
}
