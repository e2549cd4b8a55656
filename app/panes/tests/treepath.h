// treepath.h - finds the item of a path in a File Explorer tree, expanding
// on the way (the pane tests and the benchmark browse with it).
#pragma once

#include "filesystree.h"

#include <string>
#include <vector>

namespace panetest {

inline std::string Lower(std::string s)
{
    for (char& c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

// Whether prefix names path or a folder above it (case ignored).
inline bool IsPrefixPath(const std::string& prefix, const std::string& path)
{
    std::string p = Lower(prefix), q = Lower(path);
    if (p.empty() || q.compare(0, p.size(), p) != 0)
        return false;
    return q.size() == p.size() || p.back() == '\\' || q[p.size()] == '\\';
}

// At each level the child whose path starts the target; virtual items on
// the way (no path, such as My Computer) are looked into one level. NULL
// when the path cannot be reached.
inline HTREEITEM FindTreePath(CFileSysTreeCtrl& tree, const std::string& target)
{
    HTREEITEM hLevel = TVI_ROOT;
    for (int depth = 0; depth < 64; ++depth) {
        HTREEITEM hBest = NULL;
        size_t nBest = 0;
        std::vector<HTREEITEM> virtuals;
        auto consider = [&](HTREEITEM h) {
            std::string path = (const char*)tree.GetItemPath(h);
            if (path.empty())
                virtuals.push_back(h);
            else if (IsPrefixPath(path, target) && path.size() > nBest) {
                hBest = h;
                nBest = path.size();
            }
        };
        HTREEITEM hChild = hLevel == TVI_ROOT ? tree.GetRootItem() : tree.GetChildItem(hLevel);
        for (; hChild != NULL; hChild = tree.GetNextSiblingItem(hChild))
            consider(hChild);
        if (hBest == NULL) {
            std::vector<HTREEITEM> outer;
            outer.swap(virtuals);
            for (HTREEITEM hVirtual : outer) {
                tree.Expand(hVirtual, TVE_EXPAND);
                for (HTREEITEM h = tree.GetChildItem(hVirtual); h != NULL; h = tree.GetNextSiblingItem(h))
                    consider(h);
            }
        }
        if (hBest == NULL)
            return NULL;
        if (Lower((const char*)tree.GetItemPath(hBest)) == Lower(target))
            return hBest;
        tree.Expand(hBest, TVE_EXPAND);
        hLevel = hBest;
    }
    return NULL;
}

} // namespace panetest
