// toollist.h - the user's external tools: menu text, arguments, command and
// start folder of each, kept in order and stored as the binary value "Tools"
// of section "TOOLS_CUSTOMIZATION" (a framework archive: the count, then
// four strings per tool; read and written by the Tools page,
// customizetools.h).
#pragma once

#include <fx/fx.h>

#include <vector>

class CQXPImageManager;

struct CToolRecord {
    int nIconId = 0; // image-manager id of the tool's icon (0: none); not stored
    CString strMenuText;
    CString strArguments;
    CString strCommand;
    CString strFolder;
    int nOutputMode = 0; // 0 output window, 1 editor window, 2 plain start; not stored
};

class CToolList {
public:
    // The two tools of a first start: "Command Prompt" (cmd.exe), then
    // "Explorer" (explorer.exe); SetDefaults replaces the list with them,
    // AddDefaults appends them.
    void SetDefaults();
    void AddDefaults();

    // Gives every tool whose command is found on the search path the
    // shell's small icon for it, stored in the image manager under the ids
    // kFirstToolIconId, +1, ... in list order (tools without an icon take
    // no id and keep icon id 0); the ids of the last refresh are removed
    // first. pImages NULL: ids only.
    enum {
        kFirstToolIconId = 8000
    };
    void RefreshIcons(CQXPImageManager* pImages);

    // The stored bytes of a list, and the list of stored bytes.
    std::vector<BYTE> ToBytes() const;
    BOOL FromBytes(const BYTE* pData, UINT nBytes);

    int GetCount() const { return (int)m_tools.size(); }
    const CToolRecord& GetAt(int i) const { return m_tools[(size_t)i]; }
    void Add(const CToolRecord& tool) { m_tools.push_back(tool); }
    void RemoveAll() { m_tools.clear(); }
    CToolRecord& GetAt(int i) { return m_tools[(size_t)i]; }

private:
    std::vector<CToolRecord> m_tools;
    UINT m_nNextIconId = kFirstToolIconId; // one past the last icon id given out
};

// The arguments of a tool with "$FilePath", "$FileName", "$FileExt",
// "$FileShortName" and "$FileDir" replaced from the active document's path
// (each by "" when there is none).
CString ExpandToolArguments(LPCSTR lpszArguments, LPCSTR lpszDocumentPath);
