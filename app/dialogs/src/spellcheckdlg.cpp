// spellcheckdlg.cpp - the Spell Checker dialog over GNU Aspell.
#include "spellcheckdlg.h"

#include <aspell.h>

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

namespace {

const char kNoSuggestions[] = "(no spelling suggestions)";

CEditorSettings* FrameSettings()
{
    IEditorFrame* pFrame = GetEditorFrame();
    return pFrame != NULL ? pFrame->GetEditorSettings() : NULL;
}

// A configuration for the dictionary folder (the stored value).
AspellConfig* NewConfig(LPCSTR lpszDictionaryPath)
{
    AspellConfig* pConfig = new_aspell_config();
    aspell_config_replace(pConfig, "prefix", GetAspellPrefix(lpszDictionaryPath));
    return pConfig;
}

} // namespace

CString GetAspellPrefix(LPCSTR lpszDictionaryPath)
{
    if (lpszDictionaryPath != NULL && *lpszDictionaryPath != '\0')
        return lpszDictionaryPath;
    return GetShippedFolder("aspell");
}

std::vector<CString> ListAspellDictionaries(LPCSTR lpszDictionaryPath)
{
    std::vector<CString> names;
    AspellConfig* pConfig = NewConfig(lpszDictionaryPath);
    AspellDictInfoList* pList = get_aspell_dict_info_list(pConfig);
    AspellDictInfoEnumeration* pItems = aspell_dict_info_list_elements(pList);
    while (const AspellDictInfo* pInfo = aspell_dict_info_enumeration_next(pItems))
        names.push_back(pInfo->name);
    delete_aspell_dict_info_enumeration(pItems);
    delete_aspell_config(pConfig);
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
    AspellConfig* pConfig = NewConfig(lpszDictionaryPath);
    m_strLanguage = lpszLanguage != NULL ? lpszLanguage : "";
    if (m_strLanguage.IsEmpty())
        m_strLanguage = GetDefaultLanguage();
    aspell_config_replace(pConfig, "lang", m_strLanguage);
    aspell_config_replace(pConfig, "encoding", "utf-8");
    // The personal word list lives with the user's data, not in the
    // program's folder (which an installation makes read-only).
    CString home = GetAppDataFolder();
    CreateFolder(home);
    aspell_config_replace(pConfig, "home-dir", home);
    AspellCanHaveError* pResult = new_aspell_speller(pConfig);
    delete_aspell_config(pConfig);
    if (aspell_error_number(pResult) != 0) {
        delete_aspell_can_have_error(pResult);
        return 0;
    }
    m_pSpeller = to_aspell_speller(pResult);
    AspellCanHaveError* pCheck = new_aspell_document_checker(m_pSpeller);
    if (aspell_error_number(pCheck) != 0) {
        delete_aspell_can_have_error(pCheck);
        ReleaseSpeller();
        return 0;
    }
    m_pChecker = to_aspell_document_checker(pCheck);
    aspell_document_checker_reset(m_pChecker);
    return 1;
}

void CSpellCheckDialog::ReleaseSpeller()
{
    if (m_pChecker != NULL) {
        delete_aspell_document_checker(m_pChecker);
        m_pChecker = NULL;
    }
    if (m_pSpeller != NULL) {
        if (m_bPersonalChanged)
            aspell_speller_save_all_word_lists(m_pSpeller);
        m_bPersonalChanged = FALSE;
        delete_aspell_speller(m_pSpeller);
        m_pSpeller = NULL;
    }
}

BOOL CSpellCheckDialog::NextChunk()
{
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
        aspell_document_checker_process(m_pChecker, m_chunk.data(), m_nChunkEnd - m_nChunkStart);
        AspellToken token = aspell_document_checker_next_misspelling(m_pChecker);
        m_nMissOffset = (int)token.offset;
        m_nMissLength = (int)token.len;
        if (m_nMissLength > 0)
            return TRUE;
    }
    return FALSE;
}

int CSpellCheckDialog::NextMisspelling(BOOL bShow)
{
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
        AspellToken token = aspell_document_checker_next_misspelling(m_pChecker);
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
    const AspellWordList* pList = aspell_speller_suggest(m_pSpeller, m_strMisspelled, -1);
    if (pList == NULL)
        return;
    int nAdded = 0;
    AspellStringEnumeration* pItems = aspell_word_list_elements(pList);
    while (const char* pszWord = aspell_string_enumeration_next(pItems)) {
        m_suggestions.AddString(pszWord);
        ++nAdded;
    }
    delete_aspell_string_enumeration(pItems);
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
    if (m_pSpeller != NULL && !m_strCurrent.IsEmpty())
        aspell_speller_add_to_session(m_pSpeller, m_strCurrent, -1);
    NextMisspelling(TRUE);
}

void CSpellCheckDialog::OnAddToDictionary()
{
    if (m_pSpeller != NULL && !m_strCurrent.IsEmpty()) {
        aspell_speller_add_to_personal(m_pSpeller, m_strCurrent, -1);
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
