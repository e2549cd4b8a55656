// macros.cpp - the macro store and macros.xml.
#include "macros.h"
#include "apphelpers.h"
#include "fx/app.h"
#include "fx/file.h"
#include "textfile.h"
#include "xmlfile.h"

#include <Scintilla.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstring>

CString GetMacroFilePath()
{
    return GetAppDataFolder() + "\\macros.xml";
}

// ===========================================================================
// CMacroStep

bool CMacroStep::IsTextMessage(int nMsg)
{
    switch (nMsg) {
    case 2001:
    case 2002:
    case 2003:
    case 2056:
    case 2073:
    case 2077:
    case 2170:
    case 2181:
    case 2194:
    case 2195:
    case 2197:
    case 2276:
    case 2282:
    case 2367:
    case 2368:
    case 2443:
        return true;
    default:
        return false;
    }
}

bool CMacroStep::IsLengthMessage(int nMsg)
{
    switch (nMsg) {
    case SCI_ADDTEXT:
    case SCI_ADDSTYLEDTEXT:
    case SCI_REPLACETARGET:
    case SCI_REPLACETARGETRE:
    case SCI_SEARCHINTARGET:
    case SCI_APPENDTEXT:
        return true;
    default:
        return false;
    }
}

bool CMacroStep::IsRecordable(int nMsg)
{
    // The requests the editing component reports while it records.
    static const int kRecordable[] = {
        SCI_CUT,
        SCI_COPY,
        SCI_PASTE,
        SCI_CLEAR,
        SCI_REPLACESEL,
        SCI_ADDTEXT,
        SCI_INSERTTEXT,
        SCI_APPENDTEXT,
        SCI_CLEARALL,
        SCI_SELECTALL,
        SCI_GOTOLINE,
        SCI_GOTOPOS,
        SCI_SEARCHANCHOR,
        SCI_SEARCHNEXT,
        SCI_SEARCHPREV,
        SCI_LINEDOWN,
        SCI_LINEDOWNEXTEND,
        SCI_PARADOWN,
        SCI_PARADOWNEXTEND,
        SCI_LINEUP,
        SCI_LINEUPEXTEND,
        SCI_PARAUP,
        SCI_PARAUPEXTEND,
        SCI_CHARLEFT,
        SCI_CHARLEFTEXTEND,
        SCI_CHARRIGHT,
        SCI_CHARRIGHTEXTEND,
        SCI_WORDLEFT,
        SCI_WORDLEFTEXTEND,
        SCI_WORDRIGHT,
        SCI_WORDRIGHTEXTEND,
        SCI_WORDPARTLEFT,
        SCI_WORDPARTLEFTEXTEND,
        SCI_WORDPARTRIGHT,
        SCI_WORDPARTRIGHTEXTEND,
        SCI_WORDLEFTEND,
        SCI_WORDLEFTENDEXTEND,
        SCI_WORDRIGHTEND,
        SCI_WORDRIGHTENDEXTEND,
        SCI_HOME,
        SCI_HOMEEXTEND,
        SCI_LINEEND,
        SCI_LINEENDEXTEND,
        SCI_HOMEWRAP,
        SCI_HOMEWRAPEXTEND,
        SCI_LINEENDWRAP,
        SCI_LINEENDWRAPEXTEND,
        SCI_DOCUMENTSTART,
        SCI_DOCUMENTSTARTEXTEND,
        SCI_DOCUMENTEND,
        SCI_DOCUMENTENDEXTEND,
        SCI_STUTTEREDPAGEUP,
        SCI_STUTTEREDPAGEUPEXTEND,
        SCI_STUTTEREDPAGEDOWN,
        SCI_STUTTEREDPAGEDOWNEXTEND,
        SCI_PAGEUP,
        SCI_PAGEUPEXTEND,
        SCI_PAGEDOWN,
        SCI_PAGEDOWNEXTEND,
        SCI_EDITTOGGLEOVERTYPE,
        SCI_CANCEL,
        SCI_DELETEBACK,
        SCI_TAB,
        SCI_BACKTAB,
        SCI_FORMFEED,
        SCI_VCHOME,
        SCI_VCHOMEEXTEND,
        SCI_VCHOMEWRAP,
        SCI_VCHOMEWRAPEXTEND,
        SCI_VCHOMEDISPLAY,
        SCI_VCHOMEDISPLAYEXTEND,
        SCI_DELWORDLEFT,
        SCI_DELWORDRIGHT,
        SCI_DELWORDRIGHTEND,
        SCI_DELLINELEFT,
        SCI_DELLINERIGHT,
        SCI_LINECOPY,
        SCI_LINECUT,
        SCI_LINEDELETE,
        SCI_LINETRANSPOSE,
        SCI_LINEREVERSE,
        SCI_LINEDUPLICATE,
        SCI_LOWERCASE,
        SCI_UPPERCASE,
        SCI_LINESCROLLDOWN,
        SCI_LINESCROLLUP,
        SCI_DELETEBACKNOTLINE,
        SCI_HOMEDISPLAY,
        SCI_HOMEDISPLAYEXTEND,
        SCI_LINEENDDISPLAY,
        SCI_LINEENDDISPLAYEXTEND,
        SCI_SETSELECTIONMODE,
        SCI_LINEDOWNRECTEXTEND,
        SCI_LINEUPRECTEXTEND,
        SCI_CHARLEFTRECTEXTEND,
        SCI_CHARRIGHTRECTEXTEND,
        SCI_HOMERECTEXTEND,
        SCI_VCHOMERECTEXTEND,
        SCI_LINEENDRECTEXTEND,
        SCI_PAGEUPRECTEXTEND,
        SCI_PAGEDOWNRECTEXTEND,
        SCI_SELECTIONDUPLICATE,
        SCI_COPYALLOWLINE,
        SCI_VERTICALCENTRECARET,
        SCI_MOVESELECTEDLINESUP,
        SCI_MOVESELECTEDLINESDOWN,
        SCI_SCROLLTOSTART,
        SCI_SCROLLTOEND,
        SCI_NEWLINE,
    };
    return std::find(std::begin(kRecordable), std::end(kRecordable), nMsg) != std::end(kRecordable);
}

CMacroStep::CMacroStep(int nMsg, WPARAM wParam, LPARAM lParam) : msg(nMsg), wparam(wParam), lparam(lParam)
{
    if (IsTextMessage(nMsg) && lParam > 0) {
        const char* pszText = reinterpret_cast<const char*>(lParam);
        if (IsLengthMessage(nMsg) && (LONG_PTR)wParam >= 0)
            sparam = CString(pszText, (int)std::min<WPARAM>(wParam, 0x7FFFFFFF));
        else
            sparam = pszText;
        lparam = 0;
    }
}

void CMacroStep::GetPlayArguments(WPARAM& wParam, LPARAM& lParam) const
{
    wParam = wparam;
    lParam = lparam;
    if (IsTextMessage(msg)) {
        lParam = reinterpret_cast<LPARAM>(sparam.GetString());
        // A stored length never reaches past the stored text.
        if (IsLengthMessage(msg) && ((LONG_PTR)wParam < 0 || wParam > (WPARAM)sparam.GetLength()))
            wParam = (WPARAM)sparam.GetLength();
    }
}

// ===========================================================================
// macros.xml

namespace {

enum LoadState {
    XML_OK,
    XML_MISSING,    // no such file
    XML_UNREADABLE, // there, but cannot be read (a folder, or locked)
    XML_BROKEN,     // read, but not well-formed
};

// Reads the file as its bytes: text arguments may hold ANSI bytes as well as
// UTF-8, and both must come back unchanged. A UTF-8 mark is skipped.
LoadState LoadMacroFile(LPCSTR lpszPath, TiXmlDocument& doc)
{
    std::string data;
    if (!fx::ReadWholeFile(lpszPath, data))
        return ::GetFileAttributesA(lpszPath) == INVALID_FILE_ATTRIBUTES ? XML_MISSING : XML_UNREADABLE;
    size_t nStart = 0;
    if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0)
        nStart = 3;
    // Nested too deep for the parser's stack: as broken as a file that does
    // not parse.
    if (!XmlNestingWithin(data.data() + nStart, data.size() - nStart))
        return XML_BROKEN;
    doc.Parse(data.c_str() + nStart, NULL, TIXML_ENCODING_LEGACY);
    return doc.Error() ? XML_BROKEN : XML_OK;
}

int IntAttribute(const TiXmlElement* pElement, const char* pszName)
{
    int n = 0;
    if (pElement->QueryIntAttribute(pszName, &n) != TIXML_SUCCESS)
        n = 0;
    return n;
}

TiXmlElement* FindMacro(TiXmlElement* pRoot, LPCSTR lpszName)
{
    if (pRoot == NULL || strcmp(pRoot->Value(), "macros") != 0 || lpszName == NULL || *lpszName == '\0')
        return NULL;
    for (TiXmlElement* pMacro = pRoot->FirstChildElement("macro"); pMacro;
         pMacro = pMacro->NextSiblingElement("macro")) {
        const char* pszName = pMacro->Attribute("name");
        if (pszName && *pszName && strcmp(pszName, lpszName) == 0)
            return pMacro;
    }
    return NULL;
}

// Moves a file that does not parse out of the way; FALSE when it cannot be.
BOOL SetBrokenFileAside(LPCSTR lpszPath)
{
    for (int i = 0; i < 1000; ++i) {
        CString aside(lpszPath);
        aside += ".bad";
        if (i > 0)
            aside.AppendFormat("%d", i);
        if (::MoveFileExA(lpszPath, aside, 0))
            return TRUE;
        DWORD dwErr = ::GetLastError();
        if (dwErr != ERROR_ALREADY_EXISTS && dwErr != ERROR_FILE_EXISTS)
            return FALSE;
    }
    return FALSE;
}

BOOL SaveMacroFile(TiXmlDocument& doc, LPCSTR lpszPath)
{
    return SaveXmlDocumentSafely(doc, lpszPath, false);
}

} // namespace

// ===========================================================================
// CMacroStore

CMacroStore::CMacroStore() : m_filePath(GetMacroFilePath())
{
}

void CMacroStore::BeginRecording(LPCSTR lpszName)
{
    m_name = lpszName;
    m_steps.clear();
}

void CMacroStore::AddStep(int nMsg, WPARAM wParam, LPARAM lParam)
{
    m_steps.push_back(CMacroStep(nMsg, wParam, lParam));
}

BOOL CMacroStore::SaveMacro(LPCSTR lpszPath, LPCSTR lpszName)
{
    if (lpszPath)
        m_filePath = lpszPath;
    if (lpszName)
        m_name = lpszName;
    if (m_filePath.IsEmpty() || m_name.IsEmpty()) {
        AfxMessageBox("Failed to save macro", MB_ICONEXCLAMATION);
        return FALSE;
    }

    TiXmlDocument doc;
    LoadState state = LoadMacroFile(m_filePath, doc);
    if (state == XML_BROKEN) {
        // Keep what the user had: it is set aside, not overwritten.
        if (!SetBrokenFileAside(m_filePath)) {
            AfxMessageBox("Failed to save macro", MB_ICONEXCLAMATION);
            return FALSE;
        }
        state = XML_MISSING;
    }
    if (state == XML_UNREADABLE) {
        AfxMessageBox("Failed to save macro", MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (state == XML_MISSING) {
        doc = TiXmlDocument();
        doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
        doc.LinkEndChild(new TiXmlElement("macros"));
    }
    TiXmlElement* pRoot = doc.RootElement();
    if (pRoot == NULL || strcmp(pRoot->Value(), "macros") != 0) {
        // A well-formed file of something else is left alone.
        AfxMessageBox("Failed to save macro", MB_ICONEXCLAMATION);
        return FALSE;
    }

    TiXmlElement* pMacro = new TiXmlElement("macro");
    pMacro->SetAttribute("name", m_name.GetString());
    for (const CMacroStep& step : m_steps) {
        TiXmlElement* pStep = new TiXmlElement("step");
        pStep->SetAttribute("msg", step.msg);
        pStep->SetAttribute("wparam", (int)(LONG_PTR)step.wparam);
        pStep->SetAttribute("lparam", (int)step.lparam);
        pStep->SetAttribute("sparam", step.sparam.GetString());
        pMacro->LinkEndChild(pStep);
    }
    pRoot->LinkEndChild(pMacro);

    if (!SaveMacroFile(doc, m_filePath)) {
        AfxMessageBox("Failed to save macro", MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

BOOL CMacroStore::LoadMacro(LPCSTR lpszName, LPCSTR lpszPath)
{
    if (lpszPath)
        m_filePath = lpszPath;
    if (m_filePath.IsEmpty()) {
        AfxMessageBox("Failed to load macro", MB_ICONEXCLAMATION);
        return FALSE;
    }
    TiXmlDocument doc;
    if (LoadMacroFile(m_filePath, doc) != XML_OK)
        return FALSE;
    TiXmlElement* pRoot = doc.RootElement();
    if (pRoot == NULL || strcmp(pRoot->Value(), "macros") != 0)
        return FALSE;
    TiXmlElement* pMacro = FindMacro(pRoot, lpszName);
    if (pMacro == NULL)
        return FALSE;

    m_steps.clear();
    m_name = lpszName;
    for (TiXmlElement* pStep = pMacro->FirstChildElement(); pStep; pStep = pStep->NextSiblingElement()) {
        CMacroStep step;
        step.msg = IntAttribute(pStep, "msg");
        // Only requests the component itself records are played: anything
        // else in the file (pointers, window or document changes) is dropped.
        if (!CMacroStep::IsRecordable(step.msg))
            continue;
        step.wparam = (WPARAM)(LONG_PTR)IntAttribute(pStep, "wparam");
        if (CMacroStep::IsTextMessage(step.msg)) {
            const char* pszText = pStep->Attribute("sparam");
            step.sparam = pszText ? pszText : "";
            step.lparam = 0;
        } else {
            step.lparam = (LPARAM)IntAttribute(pStep, "lparam");
        }
        m_steps.push_back(step);
    }
    return TRUE;
}

std::vector<CString> CMacroStore::ListMacroNames(LPCSTR lpszPath)
{
    std::vector<CString> names;
    TiXmlDocument doc;
    if (lpszPath == NULL || LoadMacroFile(lpszPath, doc) != XML_OK)
        return names;
    TiXmlElement* pRoot = doc.RootElement();
    if (pRoot == NULL || strcmp(pRoot->Value(), "macros") != 0)
        return names;
    for (TiXmlElement* pMacro = pRoot->FirstChildElement("macro"); pMacro;
         pMacro = pMacro->NextSiblingElement("macro")) {
        const char* pszName = pMacro->Attribute("name");
        if (pszName)
            names.push_back(CString(pszName));
    }
    return names;
}

bool CMacroStore::MacroExists(LPCSTR lpszPath, LPCSTR lpszName)
{
    if (lpszName == NULL || *lpszName == '\0')
        return false;
    for (const CString& name : ListMacroNames(lpszPath))
        if (name == lpszName)
            return true;
    return false;
}

BOOL CMacroStore::DeleteMacro(LPCSTR lpszPath, LPCSTR lpszName)
{
    TiXmlDocument doc;
    if (lpszPath == NULL || *lpszPath == '\0' || LoadMacroFile(lpszPath, doc) != XML_OK)
        return FALSE;
    TiXmlElement* pMacro = FindMacro(doc.RootElement(), lpszName);
    if (pMacro == NULL)
        return FALSE;
    doc.RootElement()->RemoveChild(pMacro);
    return SaveMacroFile(doc, lpszPath);
}

BOOL CMacroStore::RenameMacro(LPCSTR lpszPath, LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (lpszNewName == NULL || *lpszNewName == '\0')
        return FALSE;
    TiXmlDocument doc;
    if (lpszPath == NULL || *lpszPath == '\0' || LoadMacroFile(lpszPath, doc) != XML_OK)
        return FALSE;
    TiXmlElement* pMacro = FindMacro(doc.RootElement(), lpszOldName);
    if (pMacro == NULL)
        return FALSE;
    pMacro->SetAttribute("name", lpszNewName);
    return SaveMacroFile(doc, lpszPath);
}
