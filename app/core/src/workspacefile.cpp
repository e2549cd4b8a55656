// workspacefile.cpp - reading and writing the Project Explorer's ".dpf"
// files with TinyXML.
#include "workspacefile.h"
#include "xmlparse.h"

#include "textfile.h"
#include "xmlfile.h"

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const char kRoot[] = "ROOT";
const char kNode[] = "NODE";

// A decimal integer (optional sign, digits, nothing else); 0 when the text
// is missing, not such a number or beyond an int.
int ReadNumber(const TiXmlElement* pElement, const char* pszName)
{
    const char* pszText = pElement->Attribute(pszName);
    if (pszText == NULL)
        return 0;
    const char* p = pszText;
    if (*p == '-' || *p == '+')
        ++p;
    if (*p == '\0')
        return 0;
    for (const char* q = p; *q != '\0'; ++q)
        if (*q < '0' || *q > '9')
            return 0;
    errno = 0;
    long long nValue = strtoll(pszText, NULL, 10);
    if (errno != 0 || nValue < INT_MIN || nValue > INT_MAX)
        return 0;
    return (int)nValue;
}

CString ReadText(const TiXmlElement* pElement, const char* pszName)
{
    const char* pszText = pElement->Attribute(pszName);
    return CString(pszText != NULL ? pszText : "");
}

void ReadNodes(const TiXmlNode* pParent, std::vector<WorkspaceNode>& nodes)
{
    for (const TiXmlElement* pElement = pParent->FirstChildElement(kNode); pElement != NULL;
         pElement = pElement->NextSiblingElement(kNode)) {
        WorkspaceNode node;
        node.strLabel = ReadText(pElement, "label");
        node.strLabel = node.strLabel.Left((int)BoundedTextLength(node.strLabel, WORKSPACE_LABEL_MAX));
        node.strPath = ReadText(pElement, "pathname");
        node.nEncoding = ReadNumber(pElement, "encoding");
        if (node.nEncoding < 0 || node.nEncoding > 4)
            node.nEncoding = 4;
        node.nType = ReadNumber(pElement, "type") == 1 ? 1 : 0;
        node.nFolder = ReadNumber(pElement, "folder") == 1 ? 1 : 0;
        if (node.nFolder) {
            if (node.strLabel.IsEmpty())
                continue;
            node.strPath.Empty();
            ReadNodes(pElement, node.children);
        } else {
            if (node.strPath.IsEmpty() || node.strPath.GetLength() > WORKSPACE_PATH_MAX)
                continue;
            if (node.strLabel.IsEmpty()) {
                int nSlash = std::max(node.strPath.ReverseFind('\\'), node.strPath.ReverseFind('/'));
                node.strLabel = node.strPath.Mid(nSlash + 1);
                node.strLabel = node.strLabel.Left((int)BoundedTextLength(node.strLabel, WORKSPACE_LABEL_MAX));
            }
        }
        nodes.push_back(node);
    }
}

BOOL ReadDocument(const TiXmlDocument& doc, std::vector<WorkspaceNode>& nodes, CString& error)
{
    const TiXmlElement* pRoot = doc.FirstChildElement();
    if (pRoot == NULL || strcmp(pRoot->Value(), kRoot) != 0) {
        error = "The file holds no workspace (its first element is not ROOT).";
        return FALSE;
    }
    ReadNodes(pRoot, nodes);
    return TRUE;
}

void AddNodes(TiXmlNode* pParent, const std::vector<WorkspaceNode>& nodes)
{
    for (const WorkspaceNode& node : nodes) {
        TiXmlElement element(kNode);
        element.SetAttribute("label", node.strLabel.GetString());
        element.SetAttribute("pathname", node.strPath.GetString());
        element.SetAttribute("encoding", node.nEncoding);
        element.SetAttribute("type", node.nType);
        element.SetAttribute("folder", node.nFolder);
        TiXmlNode* pAdded = pParent->InsertEndChild(element);
        if (pAdded != NULL)
            AddNodes(pAdded, node.children);
    }
}

void BuildDocument(TiXmlDocument& doc, const std::vector<WorkspaceNode>& nodes)
{
    TiXmlElement root(kRoot);
    TiXmlNode* pRoot = doc.InsertEndChild(root);
    if (pRoot != NULL)
        AddNodes(pRoot, nodes);
}

} // namespace

size_t BoundedTextLength(const char* pszText, size_t nMax)
{
    size_t n = pszText != NULL ? strlen(pszText) : 0;
    if (n <= nMax)
        return n;
    n = nMax;
    while (n > 0 && ((unsigned char)pszText[n] & 0xC0) == 0x80)
        --n;
    return n;
}

BOOL ParseWorkspaceText(const std::string& text, std::vector<WorkspaceNode>& nodes, CString& error)
{
    nodes.clear();
    error.Empty();
    if (!XmlNestingWithin(text.data(), text.size())) {
        error.Format("Elements nested more than %d deep", (int)XML_MAX_NESTING);
        return FALSE;
    }
    TiXmlDocument doc;
    ParseXmlText(doc, text);
    if (doc.Error()) {
        error = doc.ErrorDesc();
        return FALSE;
    }
    return ReadDocument(doc, nodes, error);
}

BOOL ReadWorkspaceFile(LPCSTR lpszPath, std::vector<WorkspaceNode>& nodes, CString& error)
{
    nodes.clear();
    TiXmlDocument doc;
    if (!LoadXmlFile(doc, lpszPath, error))
        return FALSE;
    return ReadDocument(doc, nodes, error);
}

std::string FormatWorkspace(const std::vector<WorkspaceNode>& nodes)
{
    TiXmlDocument doc;
    BuildDocument(doc, nodes);
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    doc.Accept(&printer);
    return std::string(printer.CStr(), printer.Size());
}

BOOL WriteWorkspaceFile(LPCSTR lpszPath, const std::vector<WorkspaceNode>& nodes)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    TiXmlDocument doc;
    BuildDocument(doc, nodes);
    return SaveXmlDocumentSafely(doc, lpszPath, false);
}
