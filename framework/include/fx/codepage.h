// fx/codepage.h - the system's legacy ANSI code page.
//
// The programs of this system run with the UTF-8 process code page (their
// manifest says so): inside them CP_ACP, GetACP() and every A function mean
// UTF-8, which is what file names, window texts and settings want. Text that
// users call "ANSI" - a document in that encoding, the character column of
// the hex view, a searched or compared file without a mark - is in the code
// page of the system locale instead, the one a process without that manifest
// gets. LegacyAnsiCodePage() names it.
//
// Header only, with nothing but <windows.h>, so the stand-alone libraries
// (find in files, compare, hex view) use the same rule as the editor.
#pragma once

#include <windows.h>

namespace fx {

// The default ANSI code page of the system locale (1252 on a Western
// system). Falls back to 1252 when the locale names none (a locale whose
// text is Unicode only) or names one this system cannot convert.
inline UINT LegacyAnsiCodePage()
{
    static const UINT s_nCodePage = [] {
        WCHAR szValue[8] = L"";
        UINT nCodePage = 0;
        if (::GetLocaleInfoW(::GetSystemDefaultLCID(), LOCALE_IDEFAULTANSICODEPAGE, szValue, 8) > 0) {
            for (const WCHAR* p = szValue; *p >= L'0' && *p <= L'9'; ++p)
                nCodePage = nCodePage * 10 + (UINT)(*p - L'0');
        }
        return nCodePage != 0 && ::IsValidCodePage(nCodePage) ? nCodePage : 1252u;
    }();
    return s_nCodePage;
}

// Whether the legacy code page spells some characters with two bytes.
inline bool LegacyAnsiIsDoubleByte()
{
    CPINFO info;
    return ::GetCPInfo(LegacyAnsiCodePage(), &info) && info.MaxCharSize > 1;
}

} // namespace fx
