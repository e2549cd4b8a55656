// Helpers shared by the foundation's sources.
#include "internal.h"

namespace qx {
namespace detail {

std::string EncodeLetters(const BYTE* pData, size_t nBytes)
{
    std::string s;
    s.reserve(nBytes * 2);
    for (size_t i = 0; i < nBytes; ++i) {
        s += (char)('A' + (pData[i] & 0x0F));
        s += (char)('A' + (pData[i] >> 4));
    }
    return s;
}

bool DecodeLetters(const char* psz, size_t nLength, std::vector<BYTE>& out)
{
    out.clear();
    if (nLength % 2 != 0)
        return false;
    out.resize(nLength / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned lo = (unsigned)(BYTE)psz[2 * i] - 'A';
        unsigned hi = (unsigned)(BYTE)psz[2 * i + 1] - 'A';
        out[i] = (BYTE)((hi * 16 + lo) & 0xFF);
    }
    return true;
}

LONG DeleteKeyTree(HKEY hParent, LPCSTR lpszSubKey)
{
    HKEY hKey = NULL;
    LONG r = ::RegOpenKeyExA(hParent, lpszSubKey, 0, KEY_READ | KEY_WRITE, &hKey);
    if (r != ERROR_SUCCESS)
        return r;
    for (;;) {
        // Always the first sub-key: each one found is deleted before the next.
        char szName[257];
        DWORD cch = sizeof(szName);
        r = ::RegEnumKeyExA(hKey, 0, szName, &cch, NULL, NULL, NULL, NULL);
        if (r != ERROR_SUCCESS)
            break;
        r = DeleteKeyTree(hKey, szName);
        if (r != ERROR_SUCCESS) {
            ::RegCloseKey(hKey);
            return r;
        }
    }
    ::RegCloseKey(hKey);
    return ::RegDeleteKeyA(hParent, lpszSubKey);
}

LONG QueryValue(HKEY hKey, LPCSTR lpszEntry, DWORD& dwType, std::vector<BYTE>& data)
{
    // Most values fit a small buffer: they are read at once, without asking
    // for the size first (each query is a round trip to the server). A larger
    // one, or one that grows meanwhile, is read again at its size.
    DWORD cb = 256;
    LONG r = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 5 && r == ERROR_MORE_DATA; ++attempt) {
        data.resize(cb);
        DWORD cbRead = cb;
        r = ::RegQueryValueExA(hKey, lpszEntry, NULL, &dwType, data.data(), &cbRead);
        if (r == ERROR_SUCCESS)
            data.resize(cbRead);
        else if (r == ERROR_MORE_DATA)
            cb = cbRead > cb ? cbRead : cb * 2;
    }
    if (r != ERROR_SUCCESS)
        data.clear();
    return r;
}

std::string RegText(const std::vector<BYTE>& data)
{
    size_t n = 0;
    while (n < data.size() && data[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(data.data()), n);
}

} // namespace detail
} // namespace qx
