// qx/propgridcore.h - the property grid's arithmetic and text rules, with no
// window code: caption and value parsing, the layout of the grid window and
// its hit test, the divider limits, the wrapping of verb links, and the
// masked-input engine of the in-place edit. The window classes of
// qx/propertygrid.h are thin faces over these.
#pragma once

#include <fx/fx.h>

#include <functional>
#include <vector>

// ---------------------------------------------------------------------------
// Texts of items.

// "Name\nSentence": the caption is the part before the first line feed, the
// description the part after it. Without a line feed the whole text is the
// caption and *pbHasDescription is FALSE.
void AFXAPI SplitPropertyCaption(LPCSTR lpszText, CString& strCaption, CString& strDescription,
                                 BOOL* pbHasDescription = NULL);
// The number a text gives: leading blanks, an optional sign and the leading
// digits (atol's reading); 0 without digits. A number past 32 bits holds the
// nearest limit (INT_MIN or INT_MAX).
long AFXAPI ParsePropertyNumber(LPCSTR lpszText);
// Whether a text names the true state: equal to the true text ignoring case.
BOOL AFXAPI ParsePropertyBool(LPCSTR lpszText, LPCSTR lpszTrueText);
// A value as the password view shows it: one password character for each
// character (UTF-8 sequences count once).
CString AFXAPI PasswordViewOf(LPCSTR lpszValue, char chPassword);

// ---------------------------------------------------------------------------
// The grid window's layout, top to bottom: sort toolbar, view, verbs pane
// (with its splitter band above), help pane (with its splitter band above).

const int QXP_GRID_SPLITTER = 3;     // height of a splitter band
const int QXP_GRID_TOOLBAR = 25;     // height of the sort toolbar
const int QXP_GRID_VIEW_MIN = 20;    // least view height without toolbar
const int QXP_GRID_VIEW_MIN_TB = 45; // least view height with the toolbar

struct PropertyGridPanes {
    int cx = 0, cy = 0;        // client size
    BOOL bToolBar = FALSE;     // the sort toolbar shows
    BOOL bHelp = TRUE;         // the help pane shows
    BOOL bHelpSplitter = TRUE; // the help splitter answers and the pane may shrink
    int nHelpHeight = 58;      // pixels, >= 0
    int nVerbs = 0;            // number of verbs (0: no verbs pane)
    int nVerbsHeight = 25;     // pixels
};

struct PropertyGridLayout {
    RECT rcToolBar = {0, 0, 0, 0}; // empty when the toolbar does not show
    RECT rcView = {0, 0, 0, 0};
    int nHelpHeight = 0; // the help height after the layout (it may shrink)
    BOOL bVerbsVisible = FALSE;
};

// The layout for a client size. The help height shrinks (never below 0)
// so that the view keeps its least height when the splitter is enabled.
PropertyGridLayout AFXAPI CalcPropertyGridLayout(const PropertyGridPanes& panes);

// Hit-test codes of the grid window.
enum {
    qxpGridHitNone = -1,
    qxpGridHitHelpSplitter = 1,
    qxpGridHitVerbsSplitter = 2,
    qxpGridHitVerb = 3
};

// The bands of the lower panes in a client rectangle (empty when absent).
struct PropertyGridBands {
    RECT rcHelpSplitter = {0, 0, 0, 0};
    RECT rcHelp = {0, 0, 0, 0};
    RECT rcVerbsSplitter = {0, 0, 0, 0};
    RECT rcVerbs = {0, 0, 0, 0};
};
PropertyGridBands AFXAPI CalcPropertyGridBands(const RECT& rcClient, const PropertyGridPanes& panes);

// 1 help splitter, 2 verbs splitter, 3 + i verb i, -1 nothing. pfnVerbAt
// answers the verb under a point of the verbs pane (-1 none).
int AFXAPI PropertyGridHitTest(const RECT& rcClient, const PropertyGridPanes& panes, POINT pt,
                               const std::function<int(POINT)>& pfnVerbAt);

// Where a splitter band dragged to nTop leaves its pane: the band's top
// is held within [45, nLimit - 20]; the pane height is nLimit - (top + 2).
int AFXAPI ClampSplitterTop(int nTop, int nLimit);
int AFXAPI PaneHeightForSplitterTop(int nTop, int nLimit);

// The divider: in proportional mode a fraction of the width within
// [0.1, 0.85] (0.5 for a zero width), else pixels within [1, width].
double AFXAPI ClampDividerPos(BOOL bProportional, int x, int nWidth);
int AFXAPI DividerPixels(BOOL bProportional, double dDivider, int nWidth);
// The divider answers the mouse in (divider - 4, divider + 2].
inline BOOL IsOnDivider(int x, int nDivider) { return x > nDivider - 4 && x <= nDivider + 2; }

// ---------------------------------------------------------------------------
// Verb links: laid out left to right with "," between them, wrapped at the
// last space, comma or hyphen that fits.

struct VerbPiece {
    int nVerb;   // index of the verb
    int nStart;  // first character of the piece in the verb's caption
    int nLength; // characters drawn
    RECT rc;     // where the piece is drawn
};

struct VerbSeparator {
    RECT rc; // where the "," is drawn
};

// rcArea: the verbs pane already shrunk by 6 horizontally and 4 vertically.
// measure(text, length) gives a text's width in the link font.
void AFXAPI LayoutVerbs(const RECT& rcArea, const std::vector<CString>& captions, int nLineHeight,
                        int nCommaWidth, const std::function<int(LPCSTR, int)>& measure,
                        std::vector<VerbPiece>& pieces, std::vector<VerbSeparator>* pSeparators = NULL);
// The verb whose piece holds the point, -1 none.
int AFXAPI VerbFromPoint(const std::vector<VerbPiece>& pieces, POINT pt);

// ---------------------------------------------------------------------------
// The masked-input engine. Each position of the literal holds a fixed
// character or the prompt character; prompt positions take input when the
// mask character there accepts it. The engine works on a copy of what the
// window shows (`shown`) and its selection; the window layer reads the edit
// into it before an operation (SetShown) and writes `shown` back after.
//
// Mask characters: '0' digit; '9' digit or space; '#' digit, space, '+' or
// '-'; 'd' digit, space, '+', ',', '-' or '.'; 'L' letter; '?' letter or
// space; 'A' letter or digit; 'a' letter, digit or space; '&' any printable
// character; 'H' hexadecimal digit; 'X' hexadecimal digit or space; '>'
// letter stored upper case; '<' letter stored lower case.
class MaskEngine {
public:
    MaskEngine();
    virtual ~MaskEngine() = default;

    // FALSE (mask and literal stored, text unchanged) when their lengths
    // differ. A default as long as the literal becomes the text; another
    // default is typed through the mask from position 0; none leaves the
    // literal. The shown text becomes the text and the undo text.
    BOOL SetEditMask(LPCSTR lpszMask, LPCSTR lpszLiteral, LPCSTR lpszDefault);
    // Replaces the prompt character in the literal, and with bUpdate in the
    // text too (recording undo).
    void SetPromptChar(char ch, BOOL bUpdate);

    virtual BOOL IsInputChar(char ch, int nPos) const;
    BOOL IsValidInput(char ch, int nPos) const;
    static BOOL AFXAPI IsPrintable(char ch);
    static BOOL AFXAPI IsAlpha(char ch);
    BOOL IsInputPos(int nPos) const;
    BOOL IsActive() const { return m_bUseMask && !m_strMask.IsEmpty(); }

    // Snaps a position to an input position (see the class comment).
    int FindInputPos(int nPos, BOOL bForward) const;
    // The characters at input positions in [nStart, nEnd) (-1: to the end).
    CString GetInputChars(int nStart, int nEnd) const;

    // Operations on the working text.
    void Read(BOOL bSnap);
    void InsertAt(LPCSTR lpszText, int nPos);
    void InsertChar(int nPos, char ch);
    void DeleteSelection();
    BOOL TypeChar(char ch); // FALSE: bad input (beep)
    // TRUE when the shown text changed.
    BOOL Update(BOOL bSaveUndo);

    // The edit's keys and commands. Each returns FALSE for bad input (the
    // window beeps); Char returns FALSE for a refused character as well.
    BOOL Backspace();
    BOOL Space();
    BOOL Delete(BOOL bShift, CString* pCopied);
    BOOL Char(char ch);
    // After the edit moved the caret by itself (End, Right, Down / Home,
    // Left, Up).
    void AfterMoveForward(BOOL bShift);
    void AfterMoveBackward(BOOL bShift);
    CString Copy();
    void Clear();
    void Paste(LPCSTR lpszText);
    void Undo();
    void SelectAll();
    void OnFocus();

    // What the window shows and its selection.
    void SetShown(LPCSTR lpszText, int nStart, int nEnd);
    const CString& GetShown() const { return m_strShown; }
    int GetSelStart() const { return m_nStart; }
    int GetSelEnd() const { return m_nEnd; }

    BOOL m_bUseMask;      // the mask applies
    BOOL m_bOverType;     // typed characters replace instead of shifting
    BOOL m_bUndone;       // the undo text is showing (the next undo redoes)
    BOOL m_bModified;     // the engine changed the text
    char m_chPrompt;      // marks an input position in the literal
    CString m_strMask;    // one mask character per position
    CString m_strDefault; // text as set by SetEditMask; Backspace in overtype puts its characters back
    CString m_strUndo;    // shown text before the last change
    CString m_strRedo;    // shown text before the last undo
    CString m_strText;    // working text, as long as the literal after Read
    CString m_strLiteral; // template: prompt at input positions, fixed characters elsewhere
    BOOL m_bSaveUndo;     // the next update records undo even when not asked

private:
    void FixLength();
    char StoreChar(char ch, int nPos) const;

    CString m_strShown;   // what the window shows
    int m_nStart, m_nEnd; // working selection, in characters
};
