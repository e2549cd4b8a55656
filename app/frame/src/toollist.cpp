// toollist.cpp - the user's external tools and their stored form.
#include "toollist.h"

#include "apphelpers.h"

#include <qx/images.h>

#include <shellapi.h>

BOOL CToolList::FromBytes(const BYTE* pData, UINT nBytes)
{
    if (pData == NULL || nBytes == 0)
        return FALSE;
    BOOL bOk = TRUE;
    CMemFile file(const_cast<BYTE*>(pData), nBytes);
    CArchive ar(&file, CArchive::load);
    try {
        DWORD_PTR nCount = ar.ReadCount();
        // A count the data cannot hold is damage (each record takes at
        // least four bytes of lengths).
        if (nCount > nBytes / 4)
            throw new CArchiveException(CArchiveException::badIndex);
        for (DWORD_PTR i = 0; i < nCount; ++i) {
            CToolRecord tool;
            ar >> tool.strMenuText >> tool.strArguments >> tool.strCommand >> tool.strFolder;
            m_tools.push_back(tool);
        }
    } catch (CException* e) {
        e->Delete();
        bOk = FALSE;
    }
    try {
        ar.Abort();
    } catch (CException* e) {
        e->Delete();
    }
    return bOk;
}

std::vector<BYTE> CToolList::ToBytes() const
{
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        ar.WriteCount(m_tools.size());
        for (const CToolRecord& tool : m_tools)
            ar << tool.strMenuText << tool.strArguments << tool.strCommand << tool.strFolder;
        ar.Close();
    }
    UINT nLength = (UINT)file.GetLength();
    BYTE* pData = file.Detach();
    std::vector<BYTE> bytes(pData, pData + nLength);
    free(pData);
    return bytes;
}

void CToolList::SetDefaults()
{
    m_tools.clear();
    AddDefaults();
}

void CToolList::AddDefaults()
{
    CToolRecord prompt;
    prompt.strMenuText = "Command Prompt";
    prompt.strCommand = "cmd.exe";
    m_tools.push_back(prompt);
    CToolRecord explorer;
    explorer.strMenuText = "Explorer";
    explorer.strCommand = "explorer.exe";
    m_tools.push_back(explorer);
}

CString ExpandToolArguments(LPCSTR lpszArguments, LPCSTR lpszDocumentPath)
{
    CString args(lpszArguments ? lpszArguments : "");
    CString path(lpszDocumentPath ? lpszDocumentPath : "");
    CPathParts parts(path.IsEmpty() ? NULL : (LPCSTR)path);
    args.Replace("$FilePath", path);
    args.Replace("$FileName", parts.GetFileName());
    args.Replace("$FileExt", parts.GetExtension());
    args.Replace("$FileShortName", parts.GetBaseName());
    args.Replace("$FileDir", parts.GetDir());
    return args;
}

void CToolList::RefreshIcons(CQXPImageManager* pImages)
{
    if (pImages != NULL)
        for (UINT nID = kFirstToolIconId; nID < m_nNextIconId; ++nID)
            pImages->RemoveIcon(nID);
    m_nNextIconId = kFirstToolIconId;
    for (CToolRecord& tool : m_tools) {
        tool.nIconId = 0;
        char szFound[MAX_PATH + 1] = "";
        LPSTR pszFilePart = NULL;
        if (tool.strCommand.IsEmpty() ||
            ::SearchPathA(NULL, tool.strCommand, NULL, MAX_PATH, szFound, &pszFilePart) == 0)
            continue;
        SHFILEINFOA info = {};
        if (::SHGetFileInfoA(szFound, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SHELLICONSIZE | SHGFI_SMALLICON) == 0 ||
            info.hIcon == NULL)
            continue;
        BOOL bStored = pImages == NULL || pImages->SetIcon(info.hIcon, m_nNextIconId);
        ::DestroyIcon(info.hIcon);
        if (bStored)
            tool.nIconId = (int)m_nNextIconId++;
    }
}
