// CRecentFileList and CCommandLineInfo.
#include "dvimpl.h"

#include <cstdlib>

// ---------------------------------------------------------------------------
// CRecentFileList

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nSize(nSize > 0 ? nSize : 0), m_arrNames(new CString[nSize > 0 ? nSize : 1]),
      m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen)
{
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

CString& CRecentFileList::operator[](int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize) {
        static CString s_empty;
        s_empty.Empty();
        return s_empty;
    }
    return m_arrNames[nIndex];
}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (m_nSize == 0 || lpszPathName == NULL || *lpszPathName == '\0')
        return;
    CString strPath = fx::dv::FullPath(lpszPathName);
    // The path moves to the top; the oldest entry falls out when it is new.
    int nFound = m_nSize - 1;
    for (int i = 0; i < m_nSize; i++) {
        if (m_arrNames[i].CompareNoCase(strPath) == 0) {
            nFound = i;
            break;
        }
    }
    for (int i = nFound; i > 0; i--)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = strPath;
    WriteList();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; i++)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
    WriteList();
}

namespace {

// The length of the root part kept in a shortened path: "C:\" or
// "\\server\share\".
int RootLength(const CString& strPath)
{
    if (strPath.GetLength() >= 3 && strPath[1] == ':' && strPath[2] == '\\')
        return 3;
    if (strPath.GetLength() > 2 && strPath[0] == '\\' && strPath[1] == '\\') {
        int nServerEnd = strPath.Find('\\', 2);
        if (nServerEnd < 0)
            return strPath.GetLength();
        int nShareEnd = strPath.Find('\\', nServerEnd + 1);
        return nShareEnd < 0 ? strPath.GetLength() : nShareEnd + 1;
    }
    return 0;
}

} // namespace

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const
{
    strName.Empty();
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[nIndex];
    int nSlash = strPath.ReverseFind('\\');
    CString strFileName = nSlash >= 0 ? strPath.Mid(nSlash + 1) : strPath;

    // A file of the current folder shows its name alone.
    if (lpszCurDir != NULL && nCurDir > 0 && strPath.GetLength() > nCurDir &&
        strPath.Left(nCurDir).CompareNoCase(CString(lpszCurDir).Left(nCurDir)) == 0 &&
        strPath.Find('\\', nCurDir) < 0) {
        strName = strPath.Mid(nCurDir);
        return TRUE;
    }
    strName = strPath;
    int nMax = m_nMaxDisplayLength;
    if (nMax <= 0 || strName.GetLength() <= nMax)
        return TRUE;

    // Too long: the root, "...", and as many of the last folders as fit.
    if (strFileName.GetLength() >= nMax) {
        strName = bAtLeastName ? strFileName : strFileName.Left(nMax);
        return TRUE;
    }
    int nRoot = RootLength(strPath);
    CString strRoot = strPath.Left(nRoot);
    const char* kEllipsis = "...\\";
    int nBudget = nMax - strRoot.GetLength() - 4;
    // The tail starts right after a backslash and always holds the name.
    int nTailStart = nSlash + 1;
    for (int i = nSlash - 1; i > nRoot; i--) {
        if (strPath[i] == '\\') {
            if (strPath.GetLength() - (i + 1) > nBudget)
                break;
            nTailStart = i + 1;
        }
    }
    if (strRoot.GetLength() + 4 + (strPath.GetLength() - nTailStart) > nMax)
        strName = bAtLeastName ? strFileName : strPath.Right(nMax);
    else
        strName = strRoot + kEllipsis + strPath.Mid(nTailStart);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (pMenu != NULL && m_strOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);

    if (m_nSize == 0 || m_arrNames[0].IsEmpty()) {
        // An empty list keeps only its placeholder, greyed.
        if (pMenu != NULL) {
            for (int i = 1; i < m_nSize; i++)
                pMenu->DeleteMenu(ID_FILE_MRU_FILE1 + m_nStart + (UINT)i, MF_BYCOMMAND);
            pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
        }
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    if (pMenu == NULL)
        return;

    for (int i = 0; i < m_nSize; i++)
        pMenu->DeleteMenu(ID_FILE_MRU_FILE1 + m_nStart + (UINT)i, MF_BYCOMMAND);

    char szCurDir[MAX_PATH + 2];
    int nCurDir = GetCurrentDirForDisplay(szCurDir);

    UINT nIndex = pCmdUI->m_nIndex;
    for (int i = 0; i < m_nSize; i++) {
        CString strName;
        if (!GetDisplayName(strName, i, szCurDir, nCurDir))
            break;
        // Ampersands in names are shown, not taken as access keys.
        strName.Replace("&", "&&");
        CString strText;
        int nNumber = i + 1 + (int)m_nStart;
        if (nNumber < 10)
            strText.Format("&%d %s", nNumber, (LPCSTR)strName);
        else if (nNumber == 10)
            strText.Format("1&0 %s", (LPCSTR)strName);
        else
            strText.Format("%d %s", nNumber, (LPCSTR)strName);
        pMenu->InsertMenu(nIndex++, MF_STRING | MF_BYPOSITION, ID_FILE_MRU_FILE1 + m_nStart + (UINT)i, strText);
    }
    // The update goes on after the items just made.
    pCmdUI->m_nIndex = nIndex - 1;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return;
    for (int i = 0; i < m_nSize; i++) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        m_arrNames[i] = pApp->GetProfileString(m_strSectionName, strEntry, "");
    }
    // Holes (a damaged list) close up.
    int nTo = 0;
    for (int i = 0; i < m_nSize; i++) {
        if (!m_arrNames[i].IsEmpty()) {
            if (nTo != i)
                m_arrNames[nTo] = m_arrNames[i];
            nTo++;
        }
    }
    for (int i = nTo; i < m_nSize; i++)
        m_arrNames[i].Empty();
}

int AFXAPI CRecentFileList::GetCurrentDirForDisplay(char (&szCurDir)[MAX_PATH + 2])
{
    DWORD nCurDir = ::GetCurrentDirectoryA(MAX_PATH, szCurDir);
    if (nCurDir == 0 || nCurDir >= MAX_PATH) {
        szCurDir[0] = '\0';
        return 0;
    }
    if (szCurDir[nCurDir - 1] != '\\') {
        szCurDir[nCurDir++] = '\\';
        szCurDir[nCurDir] = '\0';
    }
    return (int)nCurDir;
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || m_strSectionName.IsEmpty())
        return;
    for (int i = 0; i < m_nSize; i++) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        if (m_arrNames[i].IsEmpty())
            pApp->WriteProfileString(m_strSectionName, strEntry, NULL);
        else
            pApp->WriteProfileString(m_strSectionName, strEntry, m_arrNames[i]);
    }
}

// ---------------------------------------------------------------------------
// CCommandLineInfo

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo() = default;

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast)
{
    if (pszParam == NULL)
        pszParam = "";
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(const char* pszParam)
{
    if (lstrcmpiA(pszParam, "pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (lstrcmpiA(pszParam, "p") == 0)
        m_nShellCommand = FilePrint;
    else if (lstrcmpiA(pszParam, "Register") == 0 || lstrcmpiA(pszParam, "Regserver") == 0)
        m_nShellCommand = AppRegister;
    else if (lstrcmpiA(pszParam, "Unregister") == 0 || lstrcmpiA(pszParam, "Unregserver") == 0)
        m_nShellCommand = AppUnregister;
    else if (lstrcmpiA(pszParam, "dde") == 0)
        m_nShellCommand = FileDDE;
    else if (lstrcmpiA(pszParam, "Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (lstrcmpiA(pszParam, "Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(const char* pszParam)
{
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}

void fx::ParseCommandLineArgs(CCommandLineInfo& rCmdInfo, int argc, char** argv)
{
    for (int i = 0; i < argc; i++) {
        const char* pszParam = argv[i] != NULL ? argv[i] : "";
        BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        if (bFlag)
            pszParam++;
        rCmdInfo.ParseParam(pszParam, bFlag, i == argc - 1);
    }
}
