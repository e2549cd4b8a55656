// scintillawrap.cpp - CMFCScintilla: creation, direct calls, look and
// languages.
#include "scintillawrap.h"

#include <string.h>

#include <algorithm>
#include <cstdint>

#include <SciLexer.h>

#include "apphelpers.h"
#include <qx/drawing.h>
#include "lexerconfig.h"
#include "regexguard.h"

IMPLEMENT_DYNAMIC(CMFCScintilla, CWnd)

BEGIN_MESSAGE_MAP(CMFCScintilla, CWnd)
    ON_WM_CREATE()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

const char* const CMFCScintilla::kWindowClass = "Scintilla";

namespace {

// Lexilla's factory "CreateLexer" (name -> ILexer5*), exported by the same
// DLL that registers "Scintilla".
typedef void*(WINAPI* CreateLexerProc)(const char* name);

CreateLexerProc LexerFactory()
{
    static CreateLexerProc s_pfn = [] {
        HMODULE hModule = ::GetModuleHandleA("scilexer.dll");
        return hModule ? (CreateLexerProc)(void*)::GetProcAddress(hModule, "CreateLexer") : (CreateLexerProc)NULL;
    }();
    return s_pfn;
}

// Messages of the old component that Scintilla 5 dropped (styles have 8 bits).
const UINT kSetStyleBits = 2090;
const UINT kGetStyleBitsNeeded = 4011;

} // namespace

// ---------------------------------------------------------------------------
int CScintillaRulerHook::ScrollOffset(int nBar)
{
    if (m_hWnd == NULL)
        return 0;
    if (nBar == SB_HORZ)
        return (int)::SendMessageA(m_hWnd, SCI_GETXOFFSET, 0, 0);
    LRESULT nFirst = ::SendMessageA(m_hWnd, SCI_GETFIRSTVISIBLELINE, 0, 0);
    LRESULT nHeight = ::SendMessageA(m_hWnd, SCI_TEXTHEIGHT, 0, 0);
    return (int)(nFirst * nHeight);
}

// ---------------------------------------------------------------------------
CMFCScintilla::CMFCScintilla()
    : m_nIndicator(1), m_pfnDirect(NULL), m_ptrDirect(0), m_dwWindowThread(0), m_nSetting2900(0), m_bClosing(0),
      m_bSearchTooComplex(FALSE)
{
}

CMFCScintilla::~CMFCScintilla()
{
    // A tool still writing into this window stops first (its output would
    // reach a window that is going away).
    ::InterlockedExchange(&m_bClosing, 1);
    CProcessRedirector::Close();
    m_ruler.Detach();
}

sptr_t CMFCScintilla::Call(UINT nMsg, uptr_t wParam, sptr_t lParam) const
{
    if (m_pfnDirect == NULL || m_ptrDirect == 0)
        return 0;
    // The component belongs to its window's thread.
    if (::GetCurrentThreadId() != m_dwWindowThread) {
        HWND hWnd = m_hWnd;
        return hWnd != NULL && ::IsWindow(hWnd) ? (sptr_t)::SendMessageA(hWnd, nMsg, wParam, lParam) : 0;
    }
    return m_pfnDirect(m_ptrDirect, nMsg, wParam, lParam);
}

sptr_t CMFCScintilla::Send(UINT nMsg, uptr_t wParam, sptr_t lParam)
{
    switch (nMsg) {
    case MSG_SETLEXERLANGUAGE:
        return SetLexerLanguage((LPCSTR)lParam) ? 1 : 0;
    case MSG_MARGIN_BACK:
        SetMarginBackColour((int)wParam, (COLORREF)lParam);
        return 0;
    case MSG_SETTING_2900:
        SendSetting2900((int)wParam);
        return 0;
    case kSetStyleBits:
        return 0;
    case kGetStyleBitsNeeded:
        return 8;
    default:
        return Call(nMsg, wParam, lParam);
    }
}

void CMFCScintilla::SetBlockSelect(BOOL bOn)
{
    static const struct {
        int nKey;
        int nStream; // the component's own command for Shift+key
        int nRect;   // its rectangular counterpart
    } kKeys[] = {
        {SCK_DOWN, SCI_LINEDOWNEXTEND, SCI_LINEDOWNRECTEXTEND},
        {SCK_UP, SCI_LINEUPEXTEND, SCI_LINEUPRECTEXTEND},
        {SCK_LEFT, SCI_CHARLEFTEXTEND, SCI_CHARLEFTRECTEXTEND},
        {SCK_RIGHT, SCI_CHARRIGHTEXTEND, SCI_CHARRIGHTRECTEXTEND},
        {SCK_HOME, SCI_VCHOMEEXTEND, SCI_VCHOMERECTEXTEND},
        {SCK_END, SCI_LINEENDEXTEND, SCI_LINEENDRECTEXTEND},
        {SCK_PRIOR, SCI_PAGEUPEXTEND, SCI_PAGEUPRECTEXTEND},
        {SCK_NEXT, SCI_PAGEDOWNEXTEND, SCI_PAGEDOWNRECTEXTEND},
    };
    for (const auto& k : kKeys)
        Call(SCI_ASSIGNCMDKEY, (uptr_t)(k.nKey + (SCMOD_SHIFT << 16)), bOn ? k.nRect : k.nStream);
}

int CMFCScintilla::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    ::SendMessageA(m_hWnd, SCI_SETINDICATORCURRENT, (WPARAM)m_nIndicator, 0);
    m_pfnDirect = (SciFnDirect)::SendMessageA(m_hWnd, SCI_GETDIRECTFUNCTION, 0, 0);
    m_ptrDirect = (sptr_t)::SendMessageA(m_hWnd, SCI_GETDIRECTPOINTER, 0, 0);
    if (m_pfnDirect == NULL || m_ptrDirect == 0)
        return -1;
    m_dwWindowThread = ::GetCurrentThreadId();
    // The editor shows its own context menu on the button's press; the
    // component's own menu would follow it on the release.
    Call(SCI_USEPOPUP, SC_POPUP_NEVER);
    m_ruler.Attach(m_hWnd, TRUE, TRUE);
    return 0;
}

HWND CMFCScintilla::ContextMenuTarget() const
{
    // Commands go to the active document window, which routes them to its
    // view; without an MDI frame, to the window that holds the editor.
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain ? pMain->GetSafeHwnd() : NULL;
    if (hMain != NULL) {
        HWND hClient = ::FindWindowExA(hMain, NULL, "MDICLIENT", NULL);
        if (hClient != NULL) {
            HWND hActive = (HWND)::SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0);
            if (hActive != NULL)
                return hActive;
        }
    }
    HWND hParent = ::GetParent(m_hWnd);
    return hParent != NULL ? hParent : hMain;
}

void CMFCScintilla::OnRButtonDown(UINT, CPoint point)
{
    POINT pt = {point.x, point.y};
    ::ClientToScreen(m_hWnd, &pt);
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && ::IsWindow(pMain->GetSafeHwnd()) &&
        pMain->SendMessage(WM_EDITOR_CONTEXTMENU, IDR_EDITOR_CONTEXT, MAKELPARAM(pt.x, pt.y)) != 0)
        return;
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_EDITOR_CONTEXT));
    if (hMenu == NULL)
        return;
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    HWND hTarget = ContextMenuTarget();
    if (hPopup != NULL && hTarget != NULL)
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hTarget, NULL);
    ::DestroyMenu(hMenu);
}

BOOL CMFCScintilla::RunCommand(LPCSTR lpszCmdLine)
{
    return Open(lpszCmdLine);
}

void CMFCScintilla::OnOutput(LPCSTR lpszOutput)
{
    if (m_bClosing || lpszOutput == NULL)
        return;
    // On the reader thread: Call hands it to the window's thread.
    AddText(lpszOutput, (Sci_Position)::strlen(lpszOutput));
}

// ---------------------------------------------------------------------------
// Forwarding with a little logic

void CMFCScintilla::AddText(LPCSTR lpszText, Sci_Position nLength)
{
    if (lpszText == NULL)
        return;
    if (nLength == 0)
        nLength = (Sci_Position)::strlen(lpszText);
    if (nLength > 0)
        Call(SCI_ADDTEXT, (uptr_t)nLength, (sptr_t)lpszText);
}

void CMFCScintilla::ReplaceAllText(LPCSTR lpszText)
{
    Call(SCI_SELECTALL);
    Call(SCI_TARGETFROMSELECTION);
    Call(SCI_REPLACETARGET, (uptr_t)-1, (sptr_t)(lpszText ? lpszText : ""));
}

void CMFCScintilla::ReplaceSelectedText(LPCSTR lpszText)
{
    if (!HasSelection())
        return;
    Call(SCI_TARGETFROMSELECTION);
    Call(SCI_REPLACETARGET, (uptr_t)-1, (sptr_t)(lpszText ? lpszText : ""));
}

void CMFCScintilla::GotoLine(Sci_Position nLine, BOOL bEnsureVisible)
{
    if (bEnsureVisible)
        Call(SCI_ENSUREVISIBLEENFORCEPOLICY, (uptr_t)nLine);
    Call(SCI_GOTOLINE, (uptr_t)nLine);
}

const char* const CMFCScintilla::kPatternTooComplex =
    "The regular expression is too complex for a line of this document (pattern too complex): the search "
    "was stopped there.";

Sci_Position CMFCScintilla::SearchInTarget(LPCSTR lpszText, Sci_Position nLength)
{
    if (lpszText == NULL)
        return -1;
    return Call(SCI_SEARCHINTARGET, (uptr_t)nLength, (sptr_t)lpszText);
}

Sci_Position CMFCScintilla::SearchRangeBounded(LPCSTR lpszText, Sci_Position nLength, Sci_Position nStart,
                                               Sci_Position nEnd)
{
    m_bSearchTooComplex = FALSE;
    SetTargetStart(nStart);
    SetTargetEnd(nEnd);
    if (lpszText == NULL)
        return -1;
    const int nFlags = GetSearchFlags();
    if (!(nFlags & SCFIND_REGEXP) || (nFlags & SCFIND_CXX11REGEX))
        return Call(SCI_SEARCHINTARGET, (uptr_t)nLength, (sptr_t)lpszText);

    // The component's regular expressions backtrack without a limit and
    // match one line at a time. A target with lines long enough to be costly
    // for this pattern is therefore searched in runs of lines: the model runs
    // over each costly line until one of them holds a match, then the
    // component searches the run up to that line (at the cost the model has
    // just spent), and so on. Runs end at line ends, so each line is searched
    // over the same part as in one search of the whole target, and they are
    // kept short at first, so a match near the start costs little more than
    // it did.
    CRegexGuard guard;
    guard.Compile(lpszText, (size_t)nLength, nFlags);
    const Sci_Position nFrom = GetTargetStart();
    const Sci_Position nTo = GetTargetEnd();
    const Sci_Position nLow = std::min(nFrom, nTo);
    const Sci_Position nHigh = std::max(nFrom, nTo);
    if ((uint64_t)(nHigh - nLow) < guard.ShortestCostlyLine())
        return Call(SCI_SEARCHINTARGET, (uptr_t)nLength, (sptr_t)lpszText);

    int64_t budget = CRegexGuard::kSearchBudget;
    const BOOL bBackward = nFrom > nTo;
    const Sci_Position nStep = bBackward ? -1 : 1;
    const Sci_Position nLastLine = LineFromPosition(nTo);
    Sci_Position nRunStart = nFrom;
    Sci_Position nLine = LineFromPosition(nFrom);
    Sci_Position nRunLimit = 16384; // bytes in a run before the component searches it
    for (;;) {
        // Probe lines from here until one holds a match, the run is long
        // enough or the target ends.
        for (;; nLine += nStep) {
            const Sci_Position nStart = std::max(PositionFromLine(nLine), nLow);
            const Sci_Position nEnd = std::min(GetLineEndPosition(nLine), nHigh);
            if (nEnd > nStart && guard.MayRunAway((size_t)(nEnd - nStart))) {
                const char* pText = (const char*)Call(SCI_GETRANGEPOINTER, (uptr_t)nStart, nEnd - nStart);
                const CRegexGuard::Outcome outcome =
                    pText != NULL ? guard.Probe(pText, (size_t)(nEnd - nStart), bBackward != FALSE, &budget)
                                  : CRegexGuard::TooComplex;
                if (outcome == CRegexGuard::TooComplex) {
                    m_bSearchTooComplex = TRUE;
                    SetTargetStart(nFrom);
                    SetTargetEnd(nTo);
                    return -1;
                }
                if (outcome == CRegexGuard::Matched)
                    break;
            }
            if (nLine == nLastLine || (bBackward ? nRunStart - nStart : nEnd - nRunStart) >= nRunLimit)
                break;
        }
        // The component searches from the run's start to this line's end
        // (backward: its start).
        const Sci_Position nRunEnd = bBackward ? std::max(nTo, PositionFromLine(nLine))
                                               : std::min(nTo, GetLineEndPosition(nLine));
        SetTargetStart(nRunStart);
        SetTargetEnd(nRunEnd);
        const Sci_Position nFound = Call(SCI_SEARCHINTARGET, (uptr_t)nLength, (sptr_t)lpszText);
        if (nFound != -1 || nLine == nLastLine)
            return nFound;
        nLine += nStep;
        nRunStart = bBackward ? GetLineEndPosition(nLine) : PositionFromLine(nLine);
        nRunLimit = std::min<Sci_Position>(nRunLimit * 2, 1 << 20);
    }
}

Sci_Position CMFCScintilla::SearchRange(LPCSTR lpszText, Sci_Position nLength, Sci_Position nStart, Sci_Position nEnd)
{
    SetTargetStart(nStart);
    SetTargetEnd(nEnd);
    return SearchInTarget(lpszText, nLength);
}

void CMFCScintilla::SetCaretLine(BOOL bVisible, COLORREF clrBack, int nAlpha)
{
    // The component shows the caret line as soon as it is given a colour, so
    // the visibility is set last.
    Call(SCI_SETCARETLINEBACK, (uptr_t)clrBack);
    Call(SCI_SETCARETLINEBACKALPHA, (uptr_t)nAlpha);
    Call(SCI_SETCARETLINEVISIBLE, bVisible ? 1 : 0);
}

void CMFCScintilla::SetFont(LPCSTR lpszFace, int nSize, BOOL bBold, BOOL bItalic)
{
    if (lpszFace != NULL && *lpszFace != '\0') {
        CString strFace = FixedPitchFontFace(lpszFace);
        Call(SCI_STYLESETFONT, STYLE_DEFAULT, (sptr_t)(LPCSTR)strFace);
        Call(SCI_STYLESETFONT, STYLE_LINENUMBER, (sptr_t)(LPCSTR)strFace);
    }
    Call(SCI_STYLESETSIZE, STYLE_DEFAULT, nSize);
    Call(SCI_STYLESETSIZE, STYLE_LINENUMBER, nSize);
    Call(SCI_STYLESETBOLD, STYLE_DEFAULT, bBold ? 1 : 0);
    Call(SCI_STYLESETITALIC, STYLE_DEFAULT, bItalic ? 1 : 0);
}

void CMFCScintilla::SetTabWidth(int nWidth)
{
    Call(SCI_SETTABWIDTH, (uptr_t)nWidth);
    Call(SCI_SETINDENT, (uptr_t)nWidth);
}

BOOL CMFCScintilla::ToggleFold(Sci_Position nLine)
{
    Call(SCI_TOGGLEFOLD, (uptr_t)nLine);
    return GetFoldExpanded(nLine);
}

char CMFCScintilla::GetCharAt(Sci_Position nPos) const
{
    if (nPos == -1)
        nPos = GetTargetEnd();
    return (char)Call(SCI_GETCHARAT, (uptr_t)nPos);
}

Sci_Position CMFCScintilla::GetColumn(Sci_Position nPos) const
{
    if (nPos == -1)
        nPos = GetCurrentPos();
    return Call(SCI_GETCOLUMN, (uptr_t)nPos);
}

Sci_Position CMFCScintilla::GetTextRange(Sci_Position nStart, Sci_Position nEnd, char* pBuffer) const
{
    if (pBuffer == NULL)
        return 0;
    pBuffer[0] = '\0';
    if (nEnd < nStart)
        return 0;
    Sci_TextRangeFull tr;
    tr.chrg.cpMin = nStart;
    tr.chrg.cpMax = nEnd;
    tr.lpstrText = pBuffer;
    return Call(SCI_GETTEXTRANGEFULL, 0, (sptr_t)&tr);
}

// ---------------------------------------------------------------------------
// Look

void CMFCScintilla::SetMarginBackColour(int nMargin, COLORREF clr)
{
    Call(SCI_SETMARGINBACKN, (uptr_t)nMargin, (sptr_t)clr);
    // A margin of fold markers is painted in the fold-margin colours.
    if ((ULONG)Call(SCI_GETMARGINMASKN, (uptr_t)nMargin) & (ULONG)SC_MASK_FOLDERS) {
        Call(SCI_SETFOLDMARGINCOLOUR, 1, (sptr_t)clr);
        Call(SCI_SETFOLDMARGINHICOLOUR, 1, (sptr_t)clr);
        return;
    }
    // Other marker margins show a colour of their own only as colour
    // margins (they still draw their markers); a symbol margin would take
    // the line-number background, a "fore" margin the text colour.
    const sptr_t nType = Call(SCI_GETMARGINTYPEN, (uptr_t)nMargin);
    if (nType == SC_MARGIN_SYMBOL || nType == SC_MARGIN_BACK || nType == SC_MARGIN_FORE)
        Call(SCI_SETMARGINTYPEN, (uptr_t)nMargin, SC_MARGIN_COLOUR);
}

void CMFCScintilla::SetDefaultLook()
{
    Call(SCI_CANCEL);
    Call(SCI_MARKERDEFINE, BOOKMARK_MARKER, SC_MARK_ROUNDRECT);
    Call(SCI_MARKERDEFINE, EMPTY_MARKER, SC_MARK_EMPTY);
    Call(SCI_MARKERSETFORE, BOOKMARK_MARKER, RGB(200, 0, 0));
    Call(SCI_MARKERSETBACK, BOOKMARK_MARKER, RGB(200, 0, 0));
    Call(SCI_SETCODEPAGE, 0);

    struct MarginLook {
        int type;
        int width;
        unsigned int mask;
        int sensitive; // -1: left as it is
        COLORREF back;
    };
    const MarginLook margins[5] = {
        {SC_MARGIN_SYMBOL, 16, 0x01FFFFFFu, 1, ::GetSysColor(COLOR_BTNFACE)},
        {SC_MARGIN_FORE, 1, 0, -1, 0xC0C0C0},
        {SC_MARGIN_NUMBER, 0, 0, -1, 0xFFFFFF},
        {SC_MARGIN_FORE, 0, 0, -1, 0xB4B4B4},
        {SC_MARGIN_SYMBOL, 16, 0xFE000000u, -1, 0xFFFFFF},
    };
    for (int i = 0; i < 5; ++i) {
        Call(SCI_SETMARGINTYPEN, (uptr_t)i, margins[i].type);
        Call(SCI_SETMARGINWIDTHN, (uptr_t)i, margins[i].width);
        Call(SCI_SETMARGINMASKN, (uptr_t)i, (sptr_t)margins[i].mask);
        if (margins[i].sensitive >= 0)
            Call(SCI_SETMARGINSENSITIVEN, (uptr_t)i, margins[i].sensitive);
        SetMarginBackColour(i, margins[i].back);
    }
    Call(SCI_STYLESETFORE, STYLE_LINENUMBER, RGB(0, 128, 128));
    Call(SCI_STYLESETBACK, STYLE_LINENUMBER, 0xFFFFFF);

    Call(SCI_SETSELBACK, 1, (sptr_t)HexToColour("#316AC5"));
    Call(SCI_SETSELFORE, 1, (sptr_t)HexToColour("#FFFFFF"));
    Call(SCI_SETMODEVENTMASK, 0x6FFF);
    Call(SCI_SETINDICATORCURRENT, (uptr_t)m_nIndicator);
}

void CMFCScintilla::SetLineNumberMargin(int bShow, int nMargin)
{
    if (bShow != 1) {
        Call(SCI_SETMARGINWIDTHN, (uptr_t)nMargin, 0);
        Call(SCI_SETMARGINWIDTHN, (uptr_t)(nMargin + 1), 0);
        return;
    }
    int nDigits = 0;
    for (Sci_Position n = GetLineCount(); n > 0; n /= 10)
        ++nDigits;
    if (nDigits < 4)
        nDigits = 4;
    int nNine = (int)Call(SCI_TEXTWIDTH, STYLE_LINENUMBER, (sptr_t) "9");
    int nWidth = nDigits * nNine + 4;
    if (nWidth < 36)
        nWidth = 36;
    Call(SCI_SETMARGINWIDTHN, (uptr_t)nMargin, nWidth);
    Call(SCI_SETMARGINWIDTHN, (uptr_t)(nMargin + 1), 1);
}

void CMFCScintilla::SetLexerProperty(LPCSTR lpszKey, LPCSTR lpszValue)
{
    m_properties[lpszKey] = lpszValue;
    Call(SCI_SETPROPERTY, (uptr_t)lpszKey, (sptr_t)lpszValue);
}

void CMFCScintilla::SetFoldProperties(BOOL bFolding)
{
    struct FoldMarker {
        int number;
        int shape;
    };
    const FoldMarker markers[7] = {
        {SC_MARKNUM_FOLDEROPEN, SC_MARK_BOXMINUS},
        {SC_MARKNUM_FOLDER, SC_MARK_BOXPLUS},
        {SC_MARKNUM_FOLDERSUB, SC_MARK_VLINE},
        {SC_MARKNUM_FOLDERTAIL, SC_MARK_LCORNER},
        {SC_MARKNUM_FOLDEREND, SC_MARK_BOXPLUSCONNECTED},
        {SC_MARKNUM_FOLDEROPENMID, SC_MARK_BOXMINUSCONNECTED},
        {SC_MARKNUM_FOLDERMIDTAIL, SC_MARK_TCORNER},
    };
    for (const FoldMarker& m : markers) {
        Call(SCI_MARKERDEFINE, (uptr_t)m.number, m.shape);
        Call(SCI_MARKERSETFORE, (uptr_t)m.number, 0xFFFFFF);
        Call(SCI_MARKERSETBACK, (uptr_t)m.number, 0x808080);
    }
    SetLexerProperty("fold.compact", "1");
    if (bFolding) {
        SetLexerProperty("fold", "1");
        Call(SCI_SETMARGINMASKN, FOLD_MARGIN, (sptr_t)SC_MASK_FOLDERS);
        Call(SCI_SETMARGINSENSITIVEN, FOLD_MARGIN, 1);
        SetLexerProperty("fold.html", "1");
        SetLexerProperty("fold.html.preprocessor", "1");
    } else {
        Call(SCI_SETMARGINMASKN, FOLD_MARGIN, 5);
        Call(SCI_SETMARGINSENSITIVEN, FOLD_MARGIN, 0);
    }
}

BOOL CMFCScintilla::SetLexerLanguage(LPCSTR lpszName)
{
    CreateLexerProc pfnCreate = LexerFactory();
    void* pLexer = NULL;
    if (pfnCreate != NULL && lpszName != NULL && *lpszName != '\0')
        pLexer = pfnCreate(lpszName);
    Call(SCI_SETILEXER, 0, (sptr_t)pLexer);
    // A lexer keeps its own properties: a new one starts without the ones
    // set before (folding would silently stop working).
    for (const auto& property : m_properties)
        Call(SCI_SETPROPERTY, (uptr_t)property.first.c_str(), (sptr_t)property.second.c_str());
    return pLexer != NULL;
}

void CMFCScintilla::ApplyLexerSettings(const CLexerConfig& config, const CLexerApplyOptions& options)
{
    Call(SCI_CLEARDOCUMENTSTYLE);
    Call(SCI_STYLESETFORE, STYLE_BRACEBAD, (sptr_t)options.braceBadColour);
    Call(SCI_STYLESETFORE, STYLE_BRACELIGHT, (sptr_t)options.braceColour);
    Call(SCI_STYLESETBOLD, STYLE_BRACELIGHT, 1);
    Call(SCI_SETUSETABS, options.tabAsSpaces ? 0 : 1);
    Call(SCI_SETINDENTATIONGUIDES, (uptr_t)options.tabGuides);
    SetTabWidth(options.tabWidth);
    SetLexerLanguage(config.GetLexerName());
    for (int i = 0; i < config.GetStyleCount(); ++i) {
        CLexerStyle style = config.GetStyle(i);
        Call(SCI_STYLESETFORE, (uptr_t)style.style, (sptr_t)style.fore);
        Call(SCI_STYLESETBACK, (uptr_t)style.style, (sptr_t)style.back);
        Call(SCI_STYLESETEOLFILLED, (uptr_t)style.style, style.eolFilled ? 1 : 0);
    }
    for (int i = 0; i < config.GetKeywordCount(); ++i) {
        CString keywords = config.GetKeywords(i);
        Call(SCI_SETKEYWORDS, (uptr_t)i, (sptr_t)keywords.GetString());
    }
    // Colouring 50 MB at once takes seconds before the window shows
    // anything; past the first megabyte the text is coloured as it is shown.
    // The first line, where an opened file puts the caret, is coloured whole:
    // taking the focus lays out the caret's line, and a layout of a line
    // coloured only in part would be made again when the first paint colours
    // the rest (seconds for a line of many megabytes).
    const Sci_Position nLength = GetLength();
    const Sci_Position nEager = std::max<Sci_Position>(EAGER_COLOUR_BYTES, GetLineEndPosition(0));
    Call(SCI_COLOURISE, 0, nLength <= nEager ? -1 : (sptr_t)nEager);
}
