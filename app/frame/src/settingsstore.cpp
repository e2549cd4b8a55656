// settingsstore.cpp - the main frame's settings record in the profile.
#include "settingsstore.h"

#include <qx/profile.h>

#include <string.h>

namespace {

const char kView[] = "ViewSettings";
const char kPrint[] = "PrintSettings";
const char kBackup[] = "BackupSettings";
const char kOutput[] = "OutputSettings";
const char kEdit[] = "EditSettings";
const char kGeneral[] = "GenSettings";

// An integer read with its default; values outside [nMin, nMax] are damage
// and give the default too.
int ReadInt(CQXProfileStore& store, LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault, int nMin, int nMax)
{
    int n = store.GetProfileInt(lpszSection, lpszEntry, nDefault);
    return n < nMin || n > nMax ? nDefault : n;
}

int ReadFlag(CQXProfileStore& store, LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    return store.GetProfileInt(lpszSection, lpszEntry, nDefault);
}

COLORREF ReadColour(CQXProfileStore& store, LPCSTR lpszEntry, COLORREF clrDefault)
{
    DWORD dw = clrDefault;
    if (!store.GetProfileDword(kView, lpszEntry, &dw))
        return clrDefault;
    return (COLORREF)(dw & 0x00FFFFFF);
}

void WriteColour(CQXProfileStore& store, LPCSTR lpszEntry, COLORREF clr)
{
    DWORD dw = clr;
    store.WriteProfileDword(kView, lpszEntry, &dw);
}

} // namespace

void SetDefaultViewSettings(CViewSettings& s)
{
    char* pszFace = s.pszFontFace;
    memset(&s, 0, sizeof(s));
    s.pszFontFace = pszFace;
    if (pszFace)
        lstrcpynA(pszFace, "Courier New", kFontFaceBufferSize);
    s.nFontSize = 10;
    s.nTabsAsSpaces = 1;
    s.nTabWidth = 4;
    s.clrBraceBad = RGB(255, 0, 0);
    s.clrBrace = RGB(255, 0, 0);
    s.clrCaretLine = 0xEED2C1;
    s.nCaretLineAlpha = 126;
    s.nLargeIcons = 1;
    s.nTheme = THEME_DEFAULT;
}

void LoadViewSettingsFromProfile(CViewSettings& s, int* pTabsActive)
{
    CQXProfileStore store;
    SetDefaultViewSettings(s);
    s.nWordWrap = ReadFlag(store, kView, "WordWrap", 0);
    s.nWhitespace = ReadFlag(store, kView, "Whitespace", 0);
    s.nLineEndings = ReadFlag(store, kView, "LineEndings", 0);
    s.nCaretLine = ReadFlag(store, kView, "CaretLine", 0);
    s.nLineNumbers = ReadFlag(store, kView, "LineNumbers", 0);
    s.nFontSize = ReadInt(store, kView, "FontSize", 10, 1, 400);
    s.nBold = ReadFlag(store, kView, "FontBold", 0);
    s.nItalic = ReadFlag(store, kView, "FontItalic", 0);
    s.nCodeFolding = ReadFlag(store, kView, "CodeFolding", 0);
    s.nBlockSelect = ReadFlag(store, kView, "BlockSelect", 0);
    s.nLargeIcons = ReadFlag(store, kView, "LargeTBIcons", 1);
    CString face = store.GetProfileString(kView, "FontStyle", "Courier New");
    if (face.IsEmpty())
        face = "Courier New";
    if (s.pszFontFace)
        lstrcpynA(s.pszFontFace, face, kFontFaceBufferSize); // cut to 31 characters
    s.nTabsAsSpaces = ReadFlag(store, kView, "TabAsSpaces", 1);
    s.nTabGuides = ReadFlag(store, kView, "TabGuides", 0);
    // The options page takes 1 to 999 columns.
    s.nTabWidth = ReadInt(store, kView, "TabWidth", 4, 1, 999);
    s.nMatchBracket = ReadFlag(store, kView, "MatchBracket", 0);
    s.nTheme = ReadInt(store, kView, "Theme", THEME_DEFAULT, THEME_FIRST, THEME_LAST);
    s.nRulers = ReadFlag(store, kView, "Rulers", 0);
    int nTabs = ReadFlag(store, kGeneral, "MDITabsActive", 0);
    if (pTabsActive)
        *pTabsActive = nTabs;
    s.clrBraceBad = ReadColour(store, "BraceBadColour", RGB(255, 0, 0));
    s.clrBrace = ReadColour(store, "BraceHighlight", RGB(255, 0, 0));
    s.clrCaretLine = ReadColour(store, "CaretLineColour", 0xEED2C1);
    s.nCaretLineAlpha = ReadInt(store, kView, "CaretLineTransparency", 126, 0, 256);
}

void ApplyLocaleMargins(CEditorSettings& e, BOOL bMetric)
{
    e.nMetric = bMetric ? 1 : 0;
    int n = bMetric ? 1500 : 600;
    e.rcMargins.left = e.rcMargins.top = e.rcMargins.right = e.rcMargins.bottom = n;
}

void LoadPrintSettingsFromProfile(CEditorSettings& e)
{
    CQXProfileStore store;
    e.nPrintHeader = ReadFlag(store, kPrint, "PrintHeader", 0);
    e.nPrintFooter = ReadFlag(store, kPrint, "PrintFooter", 0);
    e.nPrintLineNumbers = ReadFlag(store, kPrint, "PrintLineNumbers", 0);
    char szMeasure[2] = "";
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, szMeasure, sizeof(szMeasure));
    ApplyLocaleMargins(e, szMeasure[0] == '0');
}

void LoadBackupSettingsFromProfile(CEditorSettings& e)
{
    CQXProfileStore store;
    e.nDeleteBackupsOnExit = ReadFlag(store, kBackup, "DeleteOnExit", 0);
    e.nBackupEnabled = ReadFlag(store, kBackup, "Enabled", 1);
    e.nBackupVersions = ReadFlag(store, kBackup, "Versions", 1);
    e.strBackupFolder = store.GetProfileString(kBackup, "BackupFolder", "");
    if (e.strBackupFolder.IsEmpty()) {
        // "backup" beside the program, whose path start-up records.
        CString program = store.GetProfileString("", "QuillmatePath", "");
        CString folder;
        int nSlash = program.ReverseFind('\\');
        if (nSlash >= 0)
            folder = program.Left(nSlash + 1);
        e.strBackupFolder.Format("%sbackup", folder.GetString());
    }
}

void LoadOutputSettingsFromProfile(CEditorSettings& e)
{
    CQXProfileStore store;
    e.nReuseOutputWindows = ReadFlag(store, kOutput, "ReuseWindows", 1);
}

void LoadEditSettingsFromProfile(CEditorSettings& e)
{
    CQXProfileStore store;
    e.nResetUndoOnSave = ReadFlag(store, kEdit, "ResetUndoOnSave", 1);
}

void LoadGeneralSettingsFromProfile(CEditorSettings& e)
{
    CQXProfileStore store;
    e.nRememberOpenFiles = ReadFlag(store, kGeneral, "RememberOpenFiles", 1);
    e.strDictionaryPath = store.GetProfileString(kGeneral, "DictionaryPath", "");
    e.strDictionary = store.GetProfileString(kGeneral, "Dictionary", "");
}

void SaveSettingsToProfile(const CViewSettings& s, const CEditorSettings& e)
{
    CQXProfileStore store;
    store.WriteProfileInt(kView, "WordWrap", s.nWordWrap);
    store.WriteProfileInt(kView, "Whitespace", s.nWhitespace);
    store.WriteProfileInt(kView, "LineEndings", s.nLineEndings);
    store.WriteProfileInt(kView, "CaretLine", s.nCaretLine);
    store.WriteProfileInt(kView, "LineNumbers", s.nLineNumbers);
    store.WriteProfileInt(kView, "FontSize", s.nFontSize);
    store.WriteProfileInt(kView, "FontBold", s.nBold);
    store.WriteProfileInt(kView, "FontItalic", s.nItalic);
    store.WriteProfileInt(kView, "CodeFolding", s.nCodeFolding);
    store.WriteProfileInt(kView, "BlockSelect", s.nBlockSelect);
    store.WriteProfileInt(kView, "LargeTBIcons", s.nLargeIcons);
    store.WriteProfileString(kView, "FontStyle", s.pszFontFace ? s.pszFontFace : "Courier New");
    store.WriteProfileInt(kView, "TabAsSpaces", s.nTabsAsSpaces);
    store.WriteProfileInt(kView, "TabGuides", s.nTabGuides);
    store.WriteProfileInt(kView, "TabWidth", s.nTabWidth);
    store.WriteProfileInt(kView, "MatchBracket", s.nMatchBracket);
    WriteColour(store, "BraceBadColour", s.clrBraceBad);
    WriteColour(store, "BraceHighlight", s.clrBrace);
    WriteColour(store, "CaretLineColour", s.clrCaretLine);
    store.WriteProfileInt(kView, "CaretLineTransparency", s.nCaretLineAlpha);
    store.WriteProfileInt(kView, "Theme", s.nTheme);
    store.WriteProfileInt(kView, "Rulers", s.nRulers);

    store.WriteProfileInt(kPrint, "PrintHeader", e.nPrintHeader);
    store.WriteProfileInt(kPrint, "PrintFooter", e.nPrintFooter);
    store.WriteProfileInt(kPrint, "PrintLineNumbers", e.nPrintLineNumbers);

    store.WriteProfileInt(kBackup, "DeleteOnExit", e.nDeleteBackupsOnExit);
    store.WriteProfileInt(kBackup, "Enabled", e.nBackupEnabled);
    store.WriteProfileString(kBackup, "BackupFolder", e.strBackupFolder);
    store.WriteProfileInt(kBackup, "Versions", e.nBackupVersions);

    store.WriteProfileInt(kOutput, "ReuseWindows", e.nReuseOutputWindows);
    store.WriteProfileInt(kEdit, "ResetUndoOnSave", e.nResetUndoOnSave);

    store.WriteProfileInt(kGeneral, "RememberOpenFiles", e.nRememberOpenFiles);
    store.WriteProfileString(kGeneral, "DictionaryPath", e.strDictionaryPath);
    store.WriteProfileString(kGeneral, "Dictionary", e.strDictionary);
    store.WriteProfileInt(kGeneral, "MDITabsActive", e.nTabsActive);
}
