// navhistory.h - CNavigationHistory: the caret places Navigate Backward and
// Navigate Forward step through, across documents.
//
// No windows are touched: a view is only a handle to compare and to hand
// back. The text views add their caret place on every caret update and
// remove their entries when they are destroyed.
#pragma once

#include <windows.h>

#include <deque>

struct CNavigationEntry {
    HWND hView;   // null: no entry
    INT_PTR nPos; // caret position in that view
};

class CNavigationHistory {
public:
    enum {
        kLimit = 20
    };

    // Appends (view, position) unless the same pair is listed anywhere; at
    // kLimit entries the oldest goes first. The new entry becomes current.
    void Add(HWND hView, INT_PTR nPos);
    // One step back or forward; {null, 0} (and nothing moves) at either end.
    CNavigationEntry Back();
    CNavigationEntry Forward();
    // Drops every entry of a view; the newest entry becomes current.
    void RemoveView(HWND hView);

    BOOL CanGoBack() const { return GetCount() >= 2 && m_nCurrent > 0; }
    BOOL CanGoForward() const { return GetCount() > 1 && m_nCurrent < GetCount() - 1; }

    int GetCount() const { return (int)m_entries.size(); }
    // -1 when empty, else 0 .. GetCount() - 1.
    int GetCurrent() const { return m_nCurrent; }
    const CNavigationEntry& GetAt(int nIndex) const { return m_entries[(size_t)nIndex]; }

private:
    std::deque<CNavigationEntry> m_entries; // oldest first, at most kLimit
    int m_nCurrent = -1;                    // index into m_entries, -1 when empty
};
