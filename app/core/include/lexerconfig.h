// lexerconfig.h - syntax configuration: one record per language, read from
// the "*.config" files of the per-user Config folder.
//
// File format (XML, root element PROPERTIES; every child optional):
//   MENU, EXTENSION (".cpp;.h", ".*" = files no other language claims),
//   LEXER, LEXERID, AUTONEST ("Y"), DEFAULT ("Y"),
//   KEYWORDS/KEYWORD (up to 9 sets),
//   COLOURS/COLOUR (style name as text; STYLE, HEXFORE, HEXBACK, EOLFILLED),
//   COMMENT/GROUPSTART, COMMENT/GROUPEND, COMMENT/LINE.
// A file without a usable COLOUR is not listed.
#pragma once

#include <windows.h>
#include <deque>

#include "fx/string.h"

// One colouring style of a language.
struct CLexerStyle {
    CLexerStyle();
    CLexerStyle(LPCSTR lpszName, int nStyle, COLORREF clrFore, COLORREF clrBack, BOOL bEolFilled);

    COLORREF fore;
    COLORREF back;
    int style;      // Scintilla style number
    CString name;   // shown on the options page; the writer's key
    BYTE eolFilled; // 0 or 1
};

// One language.
class CLexerConfig {
public:
    enum {
        MAX_STYLES = 127,
        MAX_KEYWORDS = 9
    };

    explicit CLexerConfig(int bLoaded = 0);

    void SetMenuText(LPCSTR lpsz) { m_menuText = lpsz; }
    void SetExtensions(LPCSTR lpsz) { m_extensions = lpsz; }
    void SetLexerName(LPCSTR lpsz) { m_lexerName = lpsz; }
    void SetFilePath(LPCSTR lpsz) { m_filePath = lpsz; }
    void SetLexerId(int nId) { m_lexerId = nId; }
    void SetAutoNest(int bAutoNest) { m_autoNest = bAutoNest; }
    void SetIsDefault(int bDefault) { m_isDefault = bDefault; } // as read; not a change
    void AddKeywords(LPCSTR lpszKeywords);
    void SetComments(LPCSTR lpszStart, LPCSTR lpszEnd, LPCSTR lpszLine);
    // Appends a style when fewer than MAX_STYLES are held; colours are
    // "#RRGGBB" texts (empty back = the default colour).
    void AddStyle(LPCSTR lpszName, int nStyle, LPCSTR lpszFore, LPCSTR lpszBack, BOOL bEolFilled);

    CLexerStyle GetStyle(int i) const;
    CString GetKeywords(int i) const;
    int GetStyleCount() const { return m_styleCount; }
    int GetKeywordCount() const { return m_keywordCount; }
    CString GetLexerName() const { return m_lexerName; }
    CString GetMenuText() const { return m_menuText; }
    CString GetExtensions() const { return m_extensions; }
    CString GetLineComment() const { return m_lineComment; }
    CString GetCommentStart() const { return m_commentStart; }
    CString GetCommentEnd() const { return m_commentEnd; }
    CString GetFilePath() const { return m_filePath; }
    int GetLexerId() const { return m_lexerId; }
    int GetAutoNest() const { return m_autoNest; }
    int IsDefault() const { return m_isDefault; }
    int IsLoaded() const { return m_loaded; }
    int IsModified() const { return m_modified; }

    // Changes made on the options page; they mark the record modified.
    void SetStyleFore(int i, COLORREF clr);
    void SetStyleBack(int i, COLORREF clr);
    void SetDefault(int bDefault);

    // True when the extension list holds ext as a whole token (case ignored).
    bool MatchesExtension(LPCSTR lpszExt) const;

    // Writes the colours and the default flag back into the record's file;
    // everything else in the file is kept. FALSE when there is no file, it
    // does not parse, or it could not be written (the file is then as it was).
    BOOL SaveConfigFile() const;

private:
    int m_styleCount;
    int m_keywordCount;
    int m_loaded;
    int m_modified;
    CString m_menuText;
    CString m_extensions;
    CString m_keywords[MAX_KEYWORDS];
    CString m_commentStart;
    CString m_commentEnd;
    CString m_lineComment;
    CString m_lexerName;
    CLexerStyle m_styles[MAX_STYLES];
    CString m_filePath;
    int m_isDefault;
    int m_lexerId;
    int m_autoNest;
};

// The ordered list of all languages.
class CLexerConfigList {
public:
    // Folder "<data folder>\Config".
    CLexerConfigList();

    // Reloads every "*.config" file of the folder (NULL keeps the current
    // folder) in the order of their names. TRUE when the folder held at
    // least one such file.
    BOOL LoadAll(LPCSTR lpszFolder = NULL);
    // Reads one file and appends its record. FALSE when the XML does not
    // parse (the file is skipped); TRUE otherwise, also when the file was
    // ignored for lack of styles.
    BOOL LoadConfigFile(LPCSTR lpszPath);

    int GetCount() const { return (int)m_configs.size(); }
    // A copy of record i; the fallback record when i is outside the list.
    CLexerConfig GetAt(int i) const;
    void Replace(int i, const CLexerConfig& config);
    // The first record marked default; else the first claiming ".*"; else 0.
    int FindDefaultIndex() const;
    // The first record whose extensions hold ext; else FindDefaultIndex.
    int FindIndexForExtension(LPCSTR lpszExt) const;

    CString GetFolder() const { return m_folder; }
    // The message of the last file that failed to parse ("Could not load
    // config file '%s'. Error='%s'."); empty when there was none.
    CString GetLastLoadError() const { return m_lastError; }

    // The record used when no language is known: plain text.
    static CLexerConfig MakeFallback();

private:
    std::deque<CLexerConfig> m_configs;
    CString m_folder;
    CString m_lastError;
};
