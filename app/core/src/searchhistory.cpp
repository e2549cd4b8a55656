// searchhistory.cpp - the search lists the find boxes share.
#include "apphelpers.h"
#include "profile.h"

#include <stdio.h>

namespace {

CString ComboItem(HWND hCombo, int nIndex)
{
    int nLen = (int)::SendMessageA(hCombo, CB_GETLBTEXTLEN, (WPARAM)nIndex, 0);
    if (nLen <= 0)
        return CString();
    std::vector<char> text((size_t)nLen + 1, '\0');
    ::SendMessageA(hCombo, CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)text.data());
    return CString(text.data());
}

std::vector<CString> ComboItems(HWND hCombo)
{
    std::vector<CString> items;
    int nCount = (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < nCount; ++i)
        items.push_back(ComboItem(hCombo, i));
    return items;
}

CString WindowText(HWND hWnd)
{
    int nLen = ::GetWindowTextLengthA(hWnd);
    std::vector<char> text((size_t)nLen + 1, '\0');
    ::GetWindowTextA(hWnd, text.data(), nLen + 1);
    return CString(text.data());
}

bool SameIgnoringCase(const CString& a, const CString& b)
{
    return ::lstrcmpiA(a.GetString(), b.GetString()) == 0;
}

int IndexIgnoringCase(const std::vector<CString>& list, const CString& text)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (SameIgnoringCase(list[i], text))
            return (int)i;
    return -1;
}

// Takes into the box the texts other boxes stored since it last read the
// list: the stored list first, then the box's own texts it lacks. The edit
// text, its selection and the selected entry stay as they were.
void MergeStoredHistory(HWND hCombo, LPCSTR lpszSection)
{
    std::vector<CString> merged = ReadSearchHistory(lpszSection);
    const std::vector<CString> own = ComboItems(hCombo);
    for (const CString& text : own)
        if (!text.IsEmpty() && IndexIgnoringCase(merged, text) < 0)
            merged.push_back(text);
    if (merged == own)
        return;
    const int nSel = (int)::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    const CString selected = nSel >= 0 ? ComboItem(hCombo, nSel) : CString();
    const CString edit = WindowText(hCombo);
    const DWORD dwEditSel = (DWORD)::SendMessageA(hCombo, CB_GETEDITSEL, 0, 0);
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    for (const CString& text : merged)
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)text.GetString());
    if (nSel >= 0)
        for (size_t i = 0; i < merged.size(); ++i)
            if (merged[i] == selected) {
                ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)i, 0);
                break;
            }
    ::SetWindowTextA(hCombo, edit.GetString());
    ::SendMessageA(hCombo, CB_SETEDITSEL, 0, (LPARAM)dwEditSel);
}

// Writes the box's first 50 entries and its selection.
void WriteSearchHistory(HWND hCombo, LPCSTR lpszSection)
{
    const std::vector<CString> items = ComboItems(hCombo);
    char szName[16];
    for (size_t i = 0; i < items.size() && i < (size_t)COMBO_HISTORY_MAX; ++i) {
        snprintf(szName, sizeof(szName), "%d", (int)i);
        qm::WriteProfileString(lpszSection, szName, items[i].GetString());
    }
    qm::WriteProfileInt(lpszSection, "Selected", (int)::SendMessageA(hCombo, CB_GETCURSEL, 0, 0));
}

} // namespace

std::vector<CString> ReadSearchHistory(LPCSTR lpszSection)
{
    std::vector<CString> list;
    const int nValues = (int)qm::EnumProfileValues(lpszSection).size();
    if (nValues == 0)
        return list;
    const int nLast = nValues > COMBO_HISTORY_MAX ? nValues : COMBO_HISTORY_MAX;
    char szName[16];
    for (int i = 0; i < nLast; ++i) {
        snprintf(szName, sizeof(szName), "%d", i);
        CString text = qm::GetProfileString(lpszSection, szName, "");
        if (!text.IsEmpty())
            list.push_back(text);
    }
    return list;
}

void LoadSearchHistory(HWND hCombo, LPCSTR lpszSection)
{
    if (hCombo == NULL || lpszSection == NULL)
        return;
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    for (const CString& text : ReadSearchHistory(lpszSection))
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)text.GetString());
    if (qm::EnumProfileValues(lpszSection).empty())
        return;
    const int nSelected = qm::GetProfileInt(lpszSection, "Selected", 0);
    const int nCount = (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    if (nSelected == -1) {
        if (nCount > 0)
            ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    } else if (nSelected >= 0 && nSelected < nCount) {
        ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nSelected, 0);
    }
}

void SaveSearchHistory(HWND hCombo, LPCSTR lpszSection)
{
    if (hCombo == NULL || lpszSection == NULL)
        return;
    MergeStoredHistory(hCombo, lpszSection);
    WriteSearchHistory(hCombo, lpszSection);
}

BOOL AddToComboHistory(HWND hCombo, LPCSTR lpszText, LPCSTR lpszSection)
{
    if (hCombo == NULL || lpszText == NULL || *lpszText == '\0')
        return FALSE;
    const CString text(lpszText);
    MergeStoredHistory(hCombo, lpszSection);
    const int nFound = IndexIgnoringCase(ComboItems(hCombo), text);
    if (nFound >= 0) {
        // Selecting the entry writes it into the edit; the box goes on
        // showing (and searching) what was typed.
        ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nFound, 0);
        ::SetWindowTextA(hCombo, lpszText);
        ::SendMessageA(hCombo, CB_SETEDITSEL, 0, MAKELPARAM(text.GetLength(), text.GetLength()));
        return FALSE;
    }
    ::SendMessageA(hCombo, CB_INSERTSTRING, 0, (LPARAM)lpszText);
    ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    WriteSearchHistory(hCombo, lpszSection);
    return TRUE;
}
