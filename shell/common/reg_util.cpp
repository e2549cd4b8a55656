#include "reg_util.h"

#include <vector>

#include "wide_text.h"

bool ReadRegString(HKEY key, const char* name, DWORD maxChars, std::string& out)
{
    out.clear();
    if (!key || maxChars == 0)
        return false;
    // One spare unit keeps the copy terminated.
    std::vector<wchar_t> buf(static_cast<size_t>(maxChars) + 1, L'\0');
    DWORD type = 0, size = maxChars * sizeof(wchar_t);
    const std::wstring wideName = WideFromUtf8(name ? name : "");
    LONG rc = RegQueryValueExW(key, name ? wideName.c_str() : nullptr, nullptr, &type,
                               reinterpret_cast<BYTE*>(buf.data()), &size);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    size_t units = size / sizeof(wchar_t);
    if (units > maxChars)
        units = maxChars;
    buf[units] = L'\0';
    out = Utf8FromWide(buf.data()); // stops at the first NUL
    return true;
}

LONG WriteRegString(HKEY key, const char* name, const std::string& value)
{
    const std::wstring wideName = WideFromUtf8(name ? name : "");
    const std::wstring wide = WideFromUtf8(value);
    return RegSetValueExW(key, name ? wideName.c_str() : nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}
