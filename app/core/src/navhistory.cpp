// navhistory.cpp - the caret places of Navigate Backward and Forward.
#include "navhistory.h"

#include <algorithm>

void CNavigationHistory::Add(HWND hView, INT_PTR nPos)
{
    for (const CNavigationEntry& e : m_entries)
        if (e.hView == hView && e.nPos == nPos)
            return;
    if ((int)m_entries.size() >= kLimit)
        m_entries.pop_front();
    m_entries.push_back(CNavigationEntry{hView, nPos});
    m_nCurrent = GetCount() - 1;
}

CNavigationEntry CNavigationHistory::Back()
{
    if (m_nCurrent <= 0 || m_entries.empty())
        return CNavigationEntry{NULL, 0};
    --m_nCurrent;
    return m_entries[(size_t)m_nCurrent];
}

CNavigationEntry CNavigationHistory::Forward()
{
    // The current index stays on an entry: stepping past the newest one
    // would leave it pointing at nothing.
    if (m_nCurrent >= GetCount() - 1)
        return CNavigationEntry{NULL, 0};
    ++m_nCurrent;
    return m_entries[(size_t)m_nCurrent];
}

void CNavigationHistory::RemoveView(HWND hView)
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [hView](const CNavigationEntry& e) { return e.hView == hView; }),
                    m_entries.end());
    m_nCurrent = GetCount() - 1;
}
