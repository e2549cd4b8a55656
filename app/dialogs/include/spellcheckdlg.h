// spellcheckdlg.h - the "Spell Checker" dialog over GNU Aspell: walks the
// selection (or the whole text) of an editing window chunk by chunk, selects
// each unknown word and lets the user ignore, add or change it. The same
// class lists the installed dictionaries for the options page.
//
// Aspell is configured with "prefix" (the dictionary folder; an empty
// setting means the "aspell" folder beside the program), "lang", "encoding"
// "utf-8" (the editing component always holds UTF-8; the offsets Aspell
// reports count bytes of the text it was given) and "home-dir", the per-user
// data folder, where "Add to Dictionary" keeps the personal word list.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/resizedialog.h>

#include <string>
#include <vector>

class CMFCScintilla;
struct AspellSpeller;
struct AspellDocumentChecker;
struct AspellConfig;

// The Aspell library, loaded by the first spelling command or dictionary
// list and kept to the end; nothing loads it at start.
extern const char kAspellLibrary[];
// Names the library that the next use loads (NULL: kAspellLibrary); only
// while no speller exists. Tests use it to see spelling without a library.
void SetAspellLibrary(LPCSTR lpszLibrary);
// TRUE once a use has bound the library (since the last SetAspellLibrary).
BOOL IsAspellLoaded();

// "DictionaryPath" as Aspell takes it: the stored folder, or the "aspell"
// folder beside the program when the stored value is empty.
CString GetAspellPrefix(LPCSTR lpszDictionaryPath);
// The names of the dictionaries installed under a dictionary folder (the
// stored value, see GetAspellPrefix), in Aspell's order.
std::vector<CString> ListAspellDictionaries(LPCSTR lpszDictionaryPath);

class CSpellCheckDialog : public CQXResizeDialog {
    DECLARE_DYNAMIC(CSpellCheckDialog)
public:
    explicit CSpellCheckDialog(CWnd* pParent = NULL);
    ~CSpellCheckDialog() override;

    void SetEditor(CMFCScintilla* pEditor) { m_pEditor = pEditor; }
    // 1 when the speller and the document checker exist, else 0. An empty
    // language takes GetDefaultLanguage.
    int InitSpeller(LPCSTR lpszDictionaryPath, LPCSTR lpszLanguage);
    // "Dictionary" when set, else the first installed dictionary, else "en".
    static CString GetDefaultLanguage();
    // Fills a combo box with the dictionaries of the folder and selects the
    // language (else the first); TRUE when there is at least one. Empty
    // arguments are taken from the settings.
    static BOOL FillDictionaryCombo(CComboBox* pCombo, LPCSTR lpszDictionaryPath, LPCSTR lpszLanguage);

    // Selects the next unknown word; 1 while a word is shown, 0 when the
    // region is done (with bShow the dialog then ends with IDOK).
    int NextMisspelling(BOOL bShow);
    void FillSuggestions();
    // Saves the personal word list when it changed and frees the speller;
    // safe to call more than once.
    void ReleaseSpeller();

    CString GetLanguage() const { return m_strLanguage; }
    CString GetMisspelledWord() const { return m_strMisspelled; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnIgnore();
    afx_msg void OnIgnoreAll();
    afx_msg void OnAddToDictionary();
    afx_msg void OnChange();
    afx_msg void OnSuggestionChosen();
    afx_msg void OnWordEdited();
    DECLARE_MESSAGE_MAP()

    BOOL NextChunk();

    CEdit m_edit;
    CStatic m_suggestionsLabel;
    CListBox m_suggestions;
    CButton m_change;
    CString m_strCurrent;    // the edit's text or the suggestion last chosen
    CString m_strMisspelled; // the unknown word as the editor holds it
    CString m_strLanguage;
    CMFCScintilla* m_pEditor; // not owned
    // Byte positions in the editor: the chunk being checked and the region's
    // end (which follows the length changes of "Change"); lines 0-based.
    int m_nChunkStart, m_nChunkEnd, m_nRegionStart, m_nRegionEnd;
    int m_nLine, m_nFirstLine, m_nLastLine;
    BOOL m_bRegionSet;
    std::vector<char> m_chunk;         // the chunk's bytes, NUL-terminated
    int m_nOffsetCorrection;           // length changes of "Change" inside the chunk
    int m_nMissOffset, m_nMissLength;  // byte offset in the chunk; length 0: none pending
    AspellSpeller* m_pSpeller;         // owned
    AspellDocumentChecker* m_pChecker; // owned
    BOOL m_bPersonalChanged;
};
