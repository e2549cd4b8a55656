// qmtest/remotectl.h - reading list boxes and tree views of another process
// (the program under test). Tree-view messages are not carried across
// processes: their pointers must point into the window's own process, so
// they go through a block of memory allocated there.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace qmtest {

// A block of memory in the process that owns a window; freed with the object.
class RemoteMemory {
public:
    RemoteMemory(HWND hwnd, size_t size) : m_size(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        m_proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_proc)
            m_remote = VirtualAllocEx(m_proc, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory()
    {
        if (m_remote)
            VirtualFreeEx(m_proc, m_remote, 0, MEM_RELEASE);
        if (m_proc)
            CloseHandle(m_proc);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    explicit operator bool() const { return m_remote != nullptr; }
    void* Address() const { return m_remote; }
    char* At(size_t offset) const { return static_cast<char*>(m_remote) + offset; }
    bool Write(const void* data, size_t size, size_t offset = 0) const
    {
        SIZE_T done = 0;
        return m_remote && WriteProcessMemory(m_proc, At(offset), data, size, &done) && done == size;
    }
    bool Read(void* data, size_t size, size_t offset = 0) const
    {
        SIZE_T done = 0;
        return m_remote && ReadProcessMemory(m_proc, At(offset), data, size, &done) && done == size;
    }
    // Reads any address of that process (up to size bytes; false when none).
    bool ReadAt(const void* address, void* data, size_t size) const
    {
        SIZE_T done = 0;
        return m_proc && ReadProcessMemory(m_proc, address, data, size, &done) && done > 0;
    }

private:
    HANDLE m_proc = nullptr;
    void* m_remote = nullptr;
    size_t m_size;
};

// The rows of a list box of another process, as UTF-8. The system carries
// list box texts across processes itself; asked through the wide message,
// since Wine hands the ANSI form back in UTF-16 when it crosses processes.
inline std::vector<std::string> RemoteListRows(HWND list)
{
    std::vector<std::string> rows;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        int len = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
        std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(wcsnlen(text.c_str(), text.size()));
        int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], n, nullptr, nullptr);
        rows.push_back(utf8);
    }
    return rows;
}

// The client rectangle of a list box row (carried across like the texts).
inline RECT RemoteListItemRect(HWND list, int index)
{
    RECT rc = {};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

// Tree views: items by handle, texts and rectangles through the owner's memory.
inline HTREEITEM RemoteTreeNext(HWND tree, HTREEITEM item, UINT code)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

inline std::string RemoteTreeText(HWND tree, HTREEITEM item)
{
    const size_t textSize = 1024;
    RemoteMemory block(tree, sizeof(TVITEMA) + textSize);
    if (!block)
        return std::string();
    TVITEMA tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = block.At(sizeof(TVITEMA));
    tvi.cchTextMax = static_cast<int>(textSize);
    std::string text(textSize, '\0');
    if (!block.Write(&tvi, sizeof(tvi)) || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.Address())) ||
        !block.Read(&text[0], textSize, sizeof(TVITEMA)))
        return std::string();
    text.resize(strnlen(text.c_str(), text.size()));
    return text;
}

inline std::vector<HTREEITEM> RemoteTreeChildren(HWND tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> items;
    HTREEITEM h = parent ? RemoteTreeNext(tree, parent, TVGN_CHILD) : RemoteTreeNext(tree, nullptr, TVGN_ROOT);
    for (; h; h = RemoteTreeNext(tree, h, TVGN_NEXT))
        items.push_back(h);
    return items;
}

inline std::vector<std::string> RemoteTreeChildTexts(HWND tree, HTREEITEM parent)
{
    std::vector<std::string> texts;
    for (HTREEITEM h : RemoteTreeChildren(tree, parent))
        texts.push_back(RemoteTreeText(tree, h));
    return texts;
}

inline UINT RemoteTreeState(HWND tree, HTREEITEM item, UINT mask)
{
    return static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

inline RECT RemoteTreeItemRect(HWND tree, HTREEITEM item)
{
    RECT rc = {};
    RemoteMemory block(tree, sizeof(RECT));
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    if (block && block.Write(&item, sizeof(item)) &&
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.Address())))
        block.Read(&rc, sizeof(rc));
    return rc;
}

} // namespace qmtest
