#include "reg_util.h"

#include <vector>

bool ReadRegString(HKEY key, const char* name, DWORD maxBytes, std::string& out)
{
    out.clear();
    if (!key || maxBytes == 0)
        return false;
    std::vector<char> buf(maxBytes + 1, '\0'); // one spare byte keeps the copy terminated
    DWORD type = 0, size = maxBytes;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    if (size > maxBytes)
        size = maxBytes;
    buf[size] = '\0';
    out.assign(buf.data()); // stops at the first NUL
    return true;
}

LONG WriteRegString(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}
