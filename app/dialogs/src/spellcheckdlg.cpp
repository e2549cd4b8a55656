// spellcheckdlg.cpp - the Spell Checker dialog over GNU Aspell.
#include "spellcheckdlg.h"

#include <aspell.h>

#include <memory>

#include "apphelpers.h"
#include "editorframe.h"
#include "finddlg.h"
#include "scintillawrap.h"
// After the wrapper, whose own ids it names as macros.
#include "resource.h"

IMPLEMENT_DYNAMIC(CSpellCheckDialog, CQXResizeDialog)

BEGIN_MESSAGE_MAP(CSpellCheckDialog, CQXResizeDialog)
    ON_BN_CLICKED(IDC_SPELL_IGNORE, OnIgnore)
    ON_BN_CLICKED(IDC_SPELL_IGNORE_ALL, OnIgnoreAll)
    ON_BN_CLICKED(IDC_SPELL_ADD, OnAddToDictionary)
    ON_BN_CLICKED(IDC_SPELL_CHANGE, OnChange)
    ON_LBN_SELCHANGE(IDC_SPELL_SUGGESTIONS, OnSuggestionChosen)
    ON_EN_CHANGE(IDC_SPELL_WORD, OnWordEdited)
END_MESSAGE_MAP()

const char kAspellLibrary[] = "aspell-15.dll";

namespace {

const char kNoSuggestions[] = "(no spelling suggestions)";

CEditorSettings* FrameSettings()
{
    IEditorFrame* pFrame = GetEditorFrame();
    return pFrame != NULL ? pFrame->GetEditorSettings() : NULL;
}

// GNU Aspell is loaded when spelling is first asked for, not at start: an
// editor that never checks spelling has no use for the library. Every entry
// point this file calls is bound by name; a library that is missing, or
// that lacks one of them, binds nothing, and the callers then answer as for
// a dictionary folder that yields no speller.
#define QM_ASPELL_ENTRIES(X) \
    X(new_aspell_config) \
    X(aspell_config_replace) \
    X(delete_aspell_config) \
    X(get_aspell_dict_info_list) \
    X(aspell_dict_info_list_elements) \
    X(aspell_dict_info_enumeration_next) \
    X(delete_aspell_dict_info_enumeration) \
    X(new_aspell_speller) \
    X(aspell_error_number) \
    X(delete_aspell_can_have_error) \
    X(to_aspell_speller) \
    X(new_aspell_document_checker) \
    X(to_aspell_document_checker) \
    X(aspell_document_checker_reset) \
    X(delete_aspell_document_checker) \
    X(aspell_speller_save_all_word_lists) \
    X(delete_aspell_speller) \
    X(aspell_document_checker_process) \
    X(aspell_document_checker_next_misspelling) \
    X(aspell_speller_suggest) \
    X(aspell_word_list_elements) \
    X(aspell_string_enumeration_next) \
    X(delete_aspell_string_enumeration) \
    X(aspell_speller_add_to_session) \
    X(aspell_speller_add_to_personal)

struct AspellLibrary {
#define QM_ASPELL_SLOT(name) decltype(&::name) name = nullptr;
    QM_ASPELL_ENTRIES(QM_ASPELL_SLOT)
#undef QM_ASPELL_SLOT
};

CString g_strAspellLibrary = kAspellLibrary;
std::unique_ptr<const AspellLibrary> g_pAspell; // bound entry points; empty until bound

// The bound library, loaded by the first call that finds it whole; NULL
// while it cannot be used (each call tries again).
const AspellLibrary* Aspell()
{
    if (g_pAspell != nullptr)
        return g_pAspell.get();
    HMODULE hModule = ::LoadLibraryA(g_strAspellLibrary);
    if (hModule == NULL)
        return NULL;
    std::unique_ptr<AspellLibrary> pLibrary(new AspellLibrary);
    bool bComplete = true;
#define QM_ASPELL_BIND(name) \
    pLibrary->name = reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(::GetProcAddress(hModule, #name))); \
    bComplete = bComplete && pLibrary->name != nullptr;
    QM_ASPELL_ENTRIES(QM_ASPELL_BIND)
#undef QM_ASPELL_BIND
    if (!bComplete) {
        ::FreeLibrary(hModule);
        return NULL;
    }
    // The library stays loaded to the end, and so do its entry points.
    g_pAspell = std::move(pLibrary);
    return g_pAspell.get();
}

// The library as bound already, for the calls on a speller or checker: one
// exists only once the library was bound, so none of them loads it.
const AspellLibrary* BoundAspell()
{
    return g_pAspell.get();
}

// A configuration for the dictionary folder (the stored value).
AspellConfig* NewConfig(const AspellLibrary* pAspell, LPCSTR lpszDictionaryPath)
{
    AspellConfig* pConfig = pAspell->new_aspell_config();
    pAspell->aspell_config_replace(pConfig, "prefix", GetAspellPrefix(lpszDictionaryPath));
    return pConfig;
}

} // namespace

void SetAspellLibrary(LPCSTR lpszLibrary)
{
    // A library bound already stays loaded (a speller of it may outlive
    // the call); the next use binds the one named.
    g_strAspellLibrary = lpszLibrary != NULL ? lpszLibrary : kAspellLibrary;
    g_pAspell.reset();
}

BOOL IsAspellLoaded()
{
    return g_pAspell != nullptr;
}

CString GetAspellPrefix(LPCSTR lpszDictionaryPath)
{
    if (lpszDictionaryPath != NULL && *lpszDictionaryPath != '\0')
        return lpszDictionaryPath;
    return GetShippedFolder("aspell");
}

std::vector<CString> ListAspellDictionaries(LPCSTR lpszDictionaryPath)
{
    std::vector<CString> names;
    const AspellLibrary* pAspell = Aspell();
    if (pAspell == NULL)
        return names;
    AspellConfig* pConfig = NewConfig(pAspell, lpszDictionaryPath);
    AspellDictInfoList* pList = pAspell->get_aspell_dict_info_list(pConfig);
    AspellDictInfoEnumeration* pItems = pAspell->aspell_dict_info_list_elements(pList);
    while (const AspellDictInfo* pInfo = pAspell->aspell_dict_info_enumeration_next(pItems))
        names.push_back(pInfo->name);
    pAspell->delete_aspell_dict_info_enumeration(pItems);
    pAspell->delete_aspell_config(pConfig);
    return names;
}

CSpellCheckDialog::CSpellCheckDialog(CWnd* pParent)
    : CQXResizeDialog(IDD_SPELL_CHECK, pParent),
      m_pEditor(NULL),
      m_nChunkStart(0),
      m_nChunkEnd(0),
      m_nRegionStart(0),
      m_nRegionEnd(0),
      m_nLine(0),
      m_nFirstLine(0),
      m_nLastLine(-1),
      m_bRegionSet(FALSE),
      m_nOffsetCorrection(0),
      m_nMissOffset(0),
      m_nMissLength(0),
      m_pSpeller(NULL),
      m_pChecker(NULL),
      m_bPersonalChanged(FALSE)
{
}

CSpellCheckDialog::~CSpellCheckDialog()
{
    ReleaseSpeller();
}

CString CSpellCheckDialog::GetDefaultLanguage()
{
    CEditorSettings* pSettings = FrameSettings();
    if (pSettings != NULL && !pSettings->strDictionary.IsEmpty())
        return pSettings->strDictionary;
    std::vector<CString> names = ListAspellDictionaries(pSettings != NULL ? (LPCSTR)pSettings->strDictionaryPath : "");
    return names.empty() ? CString("en") : names.front();
}

BOOL CSpellCheckDialog::FillDictionaryCombo(CComboBox* pCombo, LPCSTR lpszDictionaryPath, LPCSTR lpszLanguage)
{
    if (pCombo == NULL || pCombo->GetSafeHwnd() == NULL)
        return FALSE;
    pCombo->ResetContent();
    CEditorSettings* pSettings = FrameSettings();
    CString path = lpszDictionaryPath != NULL ? lpszDictionaryPath : "";
    if (path.IsEmpty() && pSettings != NULL)
        path = pSettings->strDictionaryPath;
    CString language = lpszLanguage != NULL ? lpszLanguage : "";
    if (language.IsEmpty())
        language = GetDefaultLanguage();
    std::vector<CString> names = ListAspellDictionaries(path);
    int nSelect = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        pCombo->AddString(names[i]);
        if (names[i] == language)
            nSelect = (int)i;
    }
    if (names.empty())
        return FALSE;
    pCombo->SetCurSel(nSelect);
    return TRUE;
}

int CSpellCheckDialog::InitSpeller(LPCSTR lpszDictionaryPath, LPCSTR lpszLanguage)
{
    ReleaseSpeller();
    const AspellLibrary* pAspell = Aspell();
    if (pAspell == NULL)
        return 0;
    AspellConfig* pConfig = NewConfig(pAspell, lpszDictionaryPath);
    m_strLanguage = lpszLanguage != NULL ? lpszLanguage : "";
    if (m_strLanguage.IsEmpty())
        m_strLanguage = GetDefaultLanguage();
    pAspell->aspell_config_replace(pConfig, "lang", m_strLanguage);
    pAspell->aspell_config_replace(pConfig, "encoding", "utf-8");
    // The personal word list lives with the user's data, not in the
    // program's folder (which an installation makes read-only).
    CString home = GetAppDataFolder();
    CreateFolder(home);
    pAspell->aspell_config_replace(pConfig, "home-dir", home);
    AspellCanHaveError* pResult = pAspell->new_aspell_speller(pConfig);
    pAspell->delete_aspell_config(pConfig);
    if (pAspell->aspell_error_number(pResult) != 0) {
        pAspell->delete_aspell_can_have_error(pResult);
        return 0;
    }
    m_pSpeller = pAspell->to_aspell_speller(pResult);
    AspellCanHaveError* pCheck = pAspell->new_aspell_document_checker(m_pSpeller);
    if (pAspell->aspell_error_number(pCheck) != 0) {
        pAspell->delete_aspell_can_have_error(pCheck);
        ReleaseSpeller();
        return 0;
    }
    m_pChecker = pAspell->to_aspell_document_checker(pCheck);
    pAspell->aspell_document_checker_reset(m_pChecker);
    return 1;
}

void CSpellCheckDialog::ReleaseSpeller()
{
    const AspellLibrary* pAspell = BoundAspell();
    if (m_pChecker != NULL) {
        pAspell->delete_aspell_document_checker(m_pChecker);
        m_pChecker = NULL;
    }
    if (m_pSpeller != NULL) {
        if (m_bPersonalChanged)
            pAspell->aspell_speller_save_all_word_lists(m_pSpeller);
        m_bPersonalChanged = FALSE;
        pAspell->delete_aspell_speller(m_pSpeller);
        m_pSpeller = NULL;
    }
}

BOOL CSpellCheckDialog::NextChunk()
{
    const AspellLibrary* pAspell = BoundAspell();
    const CMFCScintilla& ed = *m_pEditor;
    while (m_nLine <= m_nLastLine) {
        m_nChunkStart = m_nLine == m_nFirstLine ? m_nRegionStart : (int)ed.PositionFromLine(m_nLine);
        m_nChunkEnd = m_nLine == m_nLastLine ? m_nRegionEnd : (int)ed.GetLineEndPosition(m_nLine);
        ++m_nLine;
        if (m_nChunkEnd <= m_nChunkStart)
            continue;
        m_chunk.assign((size_t)(m_nChunkEnd - m_nChunkStart) + 1, '\0');
        ed.GetTextRange(m_nChunkStart, m_nChunkEnd, m_chunk.data());
        m_nOffsetCorrection = 0;
        pAspell->aspell_document_checker_process(m_pChecker, m_chunk.data(), m_nChunkEnd - m_nChunkStart);
        AspellToken token = pAspell->aspell_document_checker_next_misspelling(m_pChecker);
        m_nMissOffset = (int)token.offset;
        m_nMissLength = (int)token.len;
        if (m_nMissLength > 0)
            return TRUE;
    }
    return FALSE;
}

int CSpellCheckDialog::NextMisspelling(BOOL bShow)
{
    const AspellLibrary* pAspell = BoundAspell();
    if (m_pEditor == NULL || m_pChecker == NULL)
        return 0;
    if (!bShow)
        m_nMissLength = 0;
    if (!m_bRegionSet) {
        Sci_Position nStart = m_pEditor->GetSelectionStart();
        Sci_Position nEnd = m_pEditor->GetSelectionEnd();
        if (nStart == nEnd) {
            nStart = 0;
            nEnd = m_pEditor->GetLength();
        }
        m_nRegionStart = (int)nStart;
        m_nRegionEnd = (int)nEnd;
        m_nFirstLine = (int)m_pEditor->LineFromPosition(nStart);
        m_nLastLine = (int)m_pEditor->LineFromPosition(nEnd);
        m_nLine = m_nFirstLine;
        m_bRegionSet = TRUE;
    } else if (m_nMissLength > 0) {
        AspellToken token = pAspell->aspell_document_checker_next_misspelling(m_pChecker);
        m_nMissOffset = (int)token.offset;
        m_nMissLength = (int)token.len;
    }
    if (m_nMissLength == 0)
        NextChunk();
    if (m_nMissLength > 0) {
        int nPos = m_nChunkStart + m_nOffsetCorrection + m_nMissOffset;
        m_pEditor->SetSel(nPos, nPos + m_nMissLength);
        m_strMisspelled = m_pEditor->GetSelText();
        if (bShow) {
            FillSuggestions();
            m_edit.SetFocus();
        }
        return 1;
    }
    if (bShow && GetSafeHwnd() != NULL) {
        ReleaseSpeller();
        EndDialog(IDOK);
    }
    return 0;
}

void CSpellCheckDialog::FillSuggestions()
{
    const AspellLibrary* pAspell = BoundAspell();
    m_suggestionsLabel.EnableWindow(FALSE);
    m_suggestions.EnableWindow(FALSE);
    m_change.EnableWindow(FALSE);
    m_suggestions.ResetContent();
    if (m_strMisspelled.IsEmpty())
        return;
    m_edit.SetWindowText(m_strMisspelled);
    m_strCurrent = m_strMisspelled;
    if (m_pSpeller == NULL)
        return;
    const AspellWordList* pList = pAspell->aspell_speller_suggest(m_pSpeller, m_strMisspelled, -1);
    if (pList == NULL)
        return;
    int nAdded = 0;
    AspellStringEnumeration* pItems = pAspell->aspell_word_list_elements(pList);
    while (const char* pszWord = pAspell->aspell_string_enumeration_next(pItems)) {
        m_suggestions.AddString(pszWord);
        ++nAdded;
    }
    pAspell->delete_aspell_string_enumeration(pItems);
    if (nAdded > 0) {
        m_suggestionsLabel.EnableWindow(TRUE);
        m_suggestions.EnableWindow(TRUE);
        m_change.EnableWindow(TRUE);
    } else {
        m_suggestions.AddString(kNoSuggestions);
    }
}

void CSpellCheckDialog::DoDataExchange(CDataExchange* pDX)
{
    CQXResizeDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SPELL_WORD, m_edit);
    DDX_Control(pDX, IDC_SPELL_SUGGESTIONS_LABEL, m_suggestionsLabel);
    DDX_Control(pDX, IDC_SPELL_SUGGESTIONS, m_suggestions);
    DDX_Control(pDX, IDC_SPELL_CHANGE, m_change);
}

BOOL CSpellCheckDialog::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    SetResize(IDC_SPELL_WORD, QXRESIZE_TOP_LEFT, QXRESIZE_TOP_RIGHT);
    SetResize(IDC_SPELL_SUGGESTIONS_LABEL, QXRESIZE_TOP_LEFT, QXRESIZE_TOP_RIGHT);
    SetResize(IDC_SPELL_SUGGESTIONS, QXRESIZE_TOP_LEFT, QXRESIZE_BOTTOM_RIGHT);
    for (UINT nID : {IDC_SPELL_IGNORE, IDC_SPELL_IGNORE_ALL, IDC_SPELL_ADD, IDC_SPELL_CHANGE})
        SetResize(nID, QXRESIZE_TOP_RIGHT, QXRESIZE_TOP_RIGHT);
    SetResize(IDCANCEL, QXRESIZE_BOTTOM_RIGHT, QXRESIZE_BOTTOM_RIGHT);
    FillSuggestions();
    SetIconFrom(this, IDR_TEXTTYPE, FALSE);
    m_edit.SetFocus();
    return FALSE;
}

void CSpellCheckDialog::OnOK()
{
    ReleaseSpeller();
    CQXResizeDialog::OnOK();
}

void CSpellCheckDialog::OnCancel()
{
    ReleaseSpeller();
    CQXResizeDialog::OnCancel();
}

void CSpellCheckDialog::OnIgnore()
{
    NextMisspelling(TRUE);
}

void CSpellCheckDialog::OnIgnoreAll()
{
    const AspellLibrary* pAspell = BoundAspell();
    if (m_pSpeller != NULL && !m_strCurrent.IsEmpty())
        pAspell->aspell_speller_add_to_session(m_pSpeller, m_strCurrent, -1);
    NextMisspelling(TRUE);
}

void CSpellCheckDialog::OnAddToDictionary()
{
    const AspellLibrary* pAspell = BoundAspell();
    if (m_pSpeller != NULL && !m_strCurrent.IsEmpty()) {
        pAspell->aspell_speller_add_to_personal(m_pSpeller, m_strCurrent, -1);
        m_bPersonalChanged = TRUE;
    }
    NextMisspelling(TRUE);
}

void CSpellCheckDialog::OnChange()
{
    if (m_pEditor == NULL)
        return;
    m_pEditor->ReplaceSelectedText(m_strCurrent);
    int nDelta = m_strCurrent.GetLength() - m_strMisspelled.GetLength();
    m_nOffsetCorrection += nDelta;
    m_nRegionEnd += nDelta;
    NextMisspelling(TRUE);
}

void CSpellCheckDialog::OnSuggestionChosen()
{
    int nSel = m_suggestions.GetCurSel();
    if (nSel == LB_ERR)
        return;
    m_suggestions.GetText(nSel, m_strCurrent);
}

void CSpellCheckDialog::OnWordEdited()
{
    if (m_edit.GetSafeHwnd() == NULL)
        return;
    m_suggestions.SetCurSel(-1);
    m_edit.GetWindowText(m_strCurrent);
    m_suggestions.EnableWindow(FALSE);
    m_suggestionsLabel.EnableWindow(FALSE);
    m_change.EnableWindow(m_strCurrent != m_strMisspelled);
}
