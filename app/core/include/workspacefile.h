// workspacefile.h - the workspace file (".dpf") of the Project Explorer: an
// XML text read and written here, without windows.
//
// Layout, as TinyXML prints it (four blanks per level, CR LF, no XML
// declaration, childless elements closed as "<NODE ... />"):
//
//     <ROOT>
//         <NODE label="Project [name]" pathname="" encoding="4" type="0" folder="1">
//             <NODE label="a.txt" pathname="C:\x\a.txt" encoding="0" type="0" folder="0" />
//         </NODE>
//     </ROOT>
//
// ROOT has one NODE per top-level item; a NODE's attributes come in that
// order: label, pathname (empty for a folder), encoding (the text
// document's encoding code; 4 for folders), type (1: a file found binary),
// folder (1: a folder). Labels and paths are the program's ANSI bytes.
#pragma once

#include <fx/fx.h>

#include <string>
#include <vector>

// Bounds of an item record (the tree keeps them in fixed arrays): labels
// are cut to WORKSPACE_LABEL_MAX bytes, entries with longer paths than
// WORKSPACE_PATH_MAX bytes are not read.
enum {
    WORKSPACE_LABEL_MAX = 99,
    WORKSPACE_PATH_MAX = 263
};

// The length of the longest start of a text that has at most nMax bytes and
// does not split a UTF-8 character.
size_t BoundedTextLength(const char* pszText, size_t nMax);

struct WorkspaceNode {
    CString strLabel;                    // at most WORKSPACE_LABEL_MAX bytes once read
    CString strPath;                     // a file entry's full path; empty for a folder
    int nEncoding = 4;                   // encoding code 0..4 (4: detect)
    int nType = 0;                       // 1: binary file, else 0
    int nFolder = 1;                     // 1: folder, 0: file entry
    std::vector<WorkspaceNode> children; // a file entry has none
};

// Reads a workspace text. The first element must be ROOT (an XML
// declaration or comments before it are passed over); its NODE elements
// are read depth first, anything else among them (other elements, text,
// comments) is passed over. A folder NODE without a label and a file NODE
// without a path are left out with what lies below them; numbers that are
// missing or no decimal integer read as 0, an encoding outside 0..4 as 4,
// a type other than 1 as 0, a folder flag other than 1 as a file entry.
// FALSE with a reason in error when the text is no XML or has no ROOT.
BOOL ParseWorkspaceText(const std::string& text, std::vector<WorkspaceNode>& nodes, CString& error);

// The same for a file (refused when it cannot be read or nests too deep).
BOOL ReadWorkspaceFile(LPCSTR lpszPath, std::vector<WorkspaceNode>& nodes, CString& error);

// The bytes of a workspace file holding these top-level nodes.
std::string FormatWorkspace(const std::vector<WorkspaceNode>& nodes);

// Writes the file whole or not at all (a temporary file replaces the old
// one only when all was written); FALSE leaves the old file as it was.
BOOL WriteWorkspaceFile(LPCSTR lpszPath, const std::vector<WorkspaceNode>& nodes);
