// lexerconfig.cpp - reading and writing the "*.config" language files.
#include "lexerconfig.h"
#include "apphelpers.h"
#include "xmlfile.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// ===========================================================================
// CLexerStyle

CLexerStyle::CLexerStyle()
    : fore(RGB(0, 0, 0)), back(GetDefaultHexColour()), style(32), name("Default"), eolFilled(0)
{
}

CLexerStyle::CLexerStyle(LPCSTR lpszName, int nStyle, COLORREF clrFore, COLORREF clrBack, BOOL bEolFilled)
    : fore(clrFore), back(clrBack), style(nStyle), name(lpszName), eolFilled(bEolFilled ? 1 : 0)
{
}

// ===========================================================================
// CLexerConfig

CLexerConfig::CLexerConfig(int bLoaded)
    : m_styleCount(0), m_keywordCount(0), m_loaded(bLoaded), m_modified(0), m_menuText("Text"),
      m_extensions(".*"), m_commentStart("/"), m_commentEnd("/"), m_lineComment("//"), m_isDefault(0),
      m_lexerId(-1), m_autoNest(0)
{
}

void CLexerConfig::AddKeywords(LPCSTR lpszKeywords)
{
    if (m_keywordCount < MAX_KEYWORDS)
        m_keywords[m_keywordCount++] = lpszKeywords;
}

void CLexerConfig::SetComments(LPCSTR lpszStart, LPCSTR lpszEnd, LPCSTR lpszLine)
{
    m_commentStart = lpszStart;
    m_commentEnd = lpszEnd;
    m_lineComment = lpszLine;
}

void CLexerConfig::AddStyle(LPCSTR lpszName, int nStyle, LPCSTR lpszFore, LPCSTR lpszBack, BOOL bEolFilled)
{
    if (m_styleCount >= MAX_STYLES)
        return;
    m_styles[m_styleCount++] = CLexerStyle(lpszName, nStyle, HexToColour(lpszFore), HexToColour(lpszBack), bEolFilled);
}

CLexerStyle CLexerConfig::GetStyle(int i) const
{
    if (i < 0 || i >= m_styleCount)
        return CLexerStyle();
    return m_styles[i];
}

CString CLexerConfig::GetKeywords(int i) const
{
    if (i < 0 || i >= m_keywordCount)
        return CString();
    return m_keywords[i];
}

void CLexerConfig::SetStyleFore(int i, COLORREF clr)
{
    m_modified = 1;
    if (i >= 0 && i < m_styleCount)
        m_styles[i].fore = clr;
}

void CLexerConfig::SetStyleBack(int i, COLORREF clr)
{
    m_modified = 1;
    if (i >= 0 && i < m_styleCount)
        m_styles[i].back = clr;
}

void CLexerConfig::SetDefault(int bDefault)
{
    m_modified = 1;
    m_isDefault = bDefault;
}

bool CLexerConfig::MatchesExtension(LPCSTR lpszExt) const
{
    if (lpszExt == NULL)
        return false;
    int nStart = 0;
    const int nLength = m_extensions.GetLength();
    while (nStart <= nLength) {
        int nEnd = m_extensions.Find(';', nStart);
        if (nEnd < 0)
            nEnd = nLength;
        CString token = m_extensions.Mid(nStart, nEnd - nStart);
        if (!token.IsEmpty() && token.CompareNoCase(lpszExt) == 0)
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

namespace {

// The text of an element: its first child when that is text, else "".
CString ElementText(const TiXmlElement* pElement)
{
    if (pElement == NULL)
        return CString();
    const char* psz = pElement->GetText();
    return CString(psz ? psz : "");
}

CString ChildText(const TiXmlHandle& parent, const char* pszName)
{
    return ElementText(parent.FirstChild(pszName).ToElement());
}

// The text of a file that reader or writer could not load.
CString LoadErrorText(LPCSTR lpszPath, LPCSTR lpszError)
{
    CString text;
    text.Format("Could not load config file '%s'. Error='%s'.", lpszPath ? lpszPath : "", lpszError);
    return text;
}

} // namespace

BOOL CLexerConfig::SaveConfigFile() const
{
    if (m_filePath.IsEmpty())
        return FALSE;
    DWORD dwAttrs = ::GetFileAttributesA(m_filePath);
    if (dwAttrs == INVALID_FILE_ATTRIBUTES || (dwAttrs & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    TiXmlDocument doc;
    CString error;
    if (!LoadXmlFile(doc, m_filePath, error)) {
        ::OutputDebugStringA(LoadErrorText(m_filePath, error));
        return FALSE;
    }
    TiXmlElement* pRoot = doc.FirstChildElement("PROPERTIES");
    if (pRoot == NULL)
        return FALSE;

    TiXmlElement* pDefault = pRoot->FirstChildElement("DEFAULT");
    if (pDefault == NULL)
        pDefault = static_cast<TiXmlElement*>(pRoot->LinkEndChild(new TiXmlElement("DEFAULT")));
    pDefault->Clear();
    pDefault->LinkEndChild(new TiXmlText(m_isDefault == 1 ? "Y" : "N"));

    if (TiXmlElement* pColours = pRoot->FirstChildElement("COLOURS")) {
        for (TiXmlElement* pColour = pColours->FirstChildElement("COLOUR"); pColour;
             pColour = pColour->NextSiblingElement("COLOUR")) {
            const CString name = ElementText(pColour);
            for (int i = 0; i < m_styleCount; ++i) {
                if (m_styles[i].name == name) {
                    pColour->SetAttribute("HEXFORE", ColourToHex(m_styles[i].fore).GetString());
                    pColour->SetAttribute("HEXBACK", ColourToHex(m_styles[i].back).GetString());
                    pColour->SetAttribute("EOLFILLED", m_styles[i].eolFilled ? "True" : "False");
                    break;
                }
            }
        }
    }
    return SaveXmlDocumentSafely(doc, m_filePath, FileHasUtf8Mark(m_filePath));
}

// ===========================================================================
// CLexerConfigList

CLexerConfigList::CLexerConfigList()
{
    m_folder.Format("%s\\Config", GetAppDataFolder().GetString());
}

CLexerConfig CLexerConfigList::MakeFallback()
{
    CLexerConfig config(0);
    config.SetAutoNest(0);
    config.SetLexerId(-1);
    config.SetMenuText("Text");
    config.SetExtensions(".*");
    config.SetLexerName("");
    config.AddStyle("Default", 0, "#000000", "#FFFFFF", FALSE);
    config.SetComments("", "", "'");
    return config;
}

BOOL CLexerConfigList::LoadAll(LPCSTR lpszFolder)
{
    m_configs.clear();
    if (lpszFolder != NULL)
        m_folder = lpszFolder;

    // The names are sorted, so the order of the View As menu and the winner
    // of an extension that two files claim do not depend on how the file
    // system lists the folder.
    std::vector<CString> names;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA(m_folder + "\\*.config", &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            CString name(fd.cFileName);
            if (name.GetLength() < 7 || name.Right(7).CompareNoCase(".config") != 0)
                continue;
            names.push_back(name);
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) {
        int n = a.CompareNoCase(b);
        return n != 0 ? n < 0 : a.Compare(b) < 0;
    });
    for (const CString& name : names)
        LoadConfigFile(m_folder + "\\" + name);
    return names.empty() ? FALSE : TRUE;
}

BOOL CLexerConfigList::LoadConfigFile(LPCSTR lpszPath)
{
    // A file nested too deep for the parser is refused like one that does
    // not parse.
    TiXmlDocument doc;
    CString error;
    if (!LoadXmlFile(doc, lpszPath, error)) {
        m_lastError = LoadErrorText(lpszPath, error);
        ::OutputDebugStringA(m_lastError);
        return FALSE;
    }
    TiXmlHandle root = TiXmlHandle(&doc).FirstChild("PROPERTIES");

    CLexerConfig config(1);
    config.SetFilePath(lpszPath);
    config.SetMenuText(ChildText(root, "MENU"));
    config.SetExtensions(ChildText(root, "EXTENSION"));
    config.SetLexerName(ChildText(root, "LEXER"));
    int nLexerId = -1;
    if (sscanf(ChildText(root, "LEXERID").GetString(), "%d", &nLexerId) != 1)
        nLexerId = -1;
    config.SetLexerId(nLexerId);
    config.SetAutoNest(ChildText(root, "AUTONEST").CompareNoCase("Y") == 0 ? 1 : 0);
    config.SetIsDefault(ChildText(root, "DEFAULT").CompareNoCase("Y") == 0 ? 1 : 0);

    for (TiXmlElement* pKeyword = root.FirstChild("KEYWORDS").FirstChild("KEYWORD").ToElement(); pKeyword;
         pKeyword = pKeyword->NextSiblingElement("KEYWORD")) {
        const TiXmlNode* pFirst = pKeyword->FirstChild();
        if (pFirst == NULL)
            continue; // no content: takes no index
        config.AddKeywords(pFirst->ToText() ? pFirst->Value() : "");
    }

    for (TiXmlElement* pColour = root.FirstChild("COLOURS").FirstChild("COLOUR").ToElement(); pColour;
         pColour = pColour->NextSiblingElement("COLOUR")) {
        const char* pszStyle = pColour->Attribute("STYLE");
        const char* pszFore = pColour->Attribute("HEXFORE");
        const char* pszBack = pColour->Attribute("HEXBACK");
        const char* pszEol = pColour->Attribute("EOLFILLED");
        if (pszStyle == NULL || *pszStyle == '\0' || pszFore == NULL || *pszFore == '\0')
            continue;
        // The editing component has styles 0 to 255; a number outside that
        // range would make it grow its style table without bound.
        long nStyle = strtol(pszStyle, NULL, 10);
        if (nStyle < 0 || nStyle > 255)
            continue;
        config.AddStyle(ElementText(pColour), (int)nStyle, pszFore, pszBack ? pszBack : "",
                        pszEol != NULL && strcmp(pszEol, "True") == 0);
    }

    config.SetComments(ChildText(root.FirstChild("COMMENT"), "GROUPSTART"),
                       ChildText(root.FirstChild("COMMENT"), "GROUPEND"),
                       ChildText(root.FirstChild("COMMENT"), "LINE"));

    if (config.GetStyleCount() > 0)
        m_configs.push_back(config);
    return TRUE;
}

CLexerConfig CLexerConfigList::GetAt(int i) const
{
    if (i < 0 || i >= (int)m_configs.size())
        return MakeFallback();
    return m_configs[(size_t)i];
}

void CLexerConfigList::Replace(int i, const CLexerConfig& config)
{
    if (i >= 0 && i < (int)m_configs.size())
        m_configs[(size_t)i] = config;
}

int CLexerConfigList::FindDefaultIndex() const
{
    int nWildcard = -1;
    for (int i = 0; i < (int)m_configs.size(); ++i) {
        const CLexerConfig& config = m_configs[(size_t)i];
        if (nWildcard < 0 && config.MatchesExtension(".*"))
            nWildcard = i;
        if (config.IsDefault())
            return i;
    }
    return nWildcard >= 0 ? nWildcard : 0;
}

int CLexerConfigList::FindIndexForExtension(LPCSTR lpszExt) const
{
    for (int i = 0; i < (int)m_configs.size(); ++i)
        if (m_configs[(size_t)i].MatchesExtension(lpszExt))
            return i;
    return FindDefaultIndex();
}
