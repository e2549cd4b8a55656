// String classes: the members that are not inline, conversions and helpers.
#include "fx/string.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <algorithm>
#include <new>

namespace {

// Character-type specific operations.
template <typename T>
struct Ops;

template <>
struct Ops<char> {
    static size_t Len(const char* p) { return std::strlen(p); }
    static int CmpNoCase(const char* a, const char* b) { return _stricmp(a, b); }
    static int Coll(const char* a, const char* b) { return std::strcoll(a, b); }
    static int CollNoCase(const char* a, const char* b) { return _stricoll(a, b); }
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static void Upper(char* p, DWORD n)
    {
        if (n) CharUpperBuffA(p, n);
    }
    static void Lower(char* p, DWORD n)
    {
        if (n) CharLowerBuffA(p, n);
    }
    static int Count(const char* fmt, va_list args) { return _vscprintf(fmt, args); }
    static int Print(char* buf, size_t n, const char* fmt, va_list args) { return _vsnprintf(buf, n, fmt, args); }
};

template <>
struct Ops<wchar_t> {
    static size_t Len(const wchar_t* p) { return std::wcslen(p); }
    static int CmpNoCase(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }
    static int Coll(const wchar_t* a, const wchar_t* b) { return std::wcscoll(a, b); }
    static int CollNoCase(const wchar_t* a, const wchar_t* b) { return _wcsicoll(a, b); }
    static bool IsSpace(wchar_t c) { return std::iswspace(c) != 0; }
    static void Upper(wchar_t* p, DWORD n)
    {
        if (n) CharUpperBuffW(p, n);
    }
    static void Lower(wchar_t* p, DWORD n)
    {
        if (n) CharLowerBuffW(p, n);
    }
    static int Count(const wchar_t* fmt, va_list args) { return _vscwprintf(fmt, args); }
    static int Print(wchar_t* buf, size_t n, const wchar_t* fmt, va_list args) { return _vsnwprintf(buf, n, fmt, args); }
};

template <typename T>
bool InSet(T ch, const T* set)
{
    for (; *set; ++set)
        if (*set == ch)
            return true;
    return false;
}

// Finds a string resource; returns its UTF-16 text and length or NULL.
const wchar_t* FindStringResource(HINSTANCE hInst, UINT nID, int* pnLength)
{
    HRSRC hRes = FindResourceW(hInst, MAKEINTRESOURCEW((nID >> 4) + 1), (LPCWSTR)RT_STRING);
    if (!hRes)
        return NULL;
    HGLOBAL hGlobal = LoadResource(hInst, hRes);
    if (!hGlobal)
        return NULL;
    const WORD* p = static_cast<const WORD*>(LockResource(hGlobal));
    DWORD cb = SizeofResource(hInst, hRes);
    if (!p || cb < 2)
        return NULL;
    const WORD* pEnd = p + cb / sizeof(WORD);
    for (UINT i = 0; i < (nID & 15); ++i) {
        if (p >= pEnd)
            return NULL;
        p += 1 + *p;
    }
    if (p >= pEnd || *p == 0 || p + 1 + *p > pEnd)
        return NULL;
    *pnLength = *p;
    return reinterpret_cast<const wchar_t*>(p + 1);
}

} // namespace

namespace fx {
namespace detail {

std::wstring Widen(const char* psz, int nLength, UINT nCodePage)
{
    std::wstring out;
    if (!psz)
        return out;
    if (nLength < 0)
        nLength = (int)std::strlen(psz);
    if (nLength == 0)
        return out;
    int n = MultiByteToWideChar(nCodePage, 0, psz, nLength, NULL, 0);
    if (n <= 0)
        return out;
    out.resize((size_t)n);
    MultiByteToWideChar(nCodePage, 0, psz, nLength, &out[0], n);
    return out;
}

std::string Narrow(const wchar_t* psz, int nLength, UINT nCodePage)
{
    std::string out;
    if (!psz)
        return out;
    if (nLength < 0)
        nLength = (int)std::wcslen(psz);
    if (nLength == 0)
        return out;
    int n = WideCharToMultiByte(nCodePage, 0, psz, nLength, NULL, 0, NULL, NULL);
    if (n <= 0)
        return out;
    out.resize((size_t)n);
    WideCharToMultiByte(nCodePage, 0, psz, nLength, &out[0], n, NULL, NULL);
    return out;
}

template <typename T>
struct OtherConv;
template <>
struct OtherConv<char> {
    static std::string From(const wchar_t* p, int n) { return Narrow(p, n, CP_ACP); }
};
template <>
struct OtherConv<wchar_t> {
    static std::wstring From(const char* p, int n) { return Widen(p, n, CP_ACP); }
};

} // namespace detail

CStringW ToWide(const char* psz, UINT nCodePage, int nLength)
{
    return CStringW(detail::Widen(psz, nLength, nCodePage));
}

CStringA ToNarrow(const wchar_t* psz, UINT nCodePage, int nLength)
{
    return CStringA(detail::Narrow(psz, nLength, nCodePage));
}

} // namespace fx

// ---------------------------------------------------------------------------

template <typename T>
void CStringT<T>::AssignPsz(PCXSTR psz)
{
    if (psz == NULL) {
        m_s.clear();
    } else if (IS_INTRESOURCE(psz)) {
        m_s.clear();
        LoadString((UINT)(UINT_PTR)psz);
    } else {
        m_s.assign(psz);
    }
}

template <typename T>
void CStringT<T>::AssignOther(PCYSTR psz, int nLength)
{
    if (psz == NULL)
        return;
    if (nLength < 0 && IS_INTRESOURCE(psz)) {
        LoadString((UINT)(UINT_PTR)psz);
        return;
    }
    m_s += fx::detail::OtherConv<T>::From(psz, nLength);
}

template <typename T>
typename CStringT<T>::PXSTR CStringT<T>::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        AfxThrowInvalidArgException();
    if ((size_t)nMinBufferLength > m_s.size())
        m_s.resize((size_t)nMinBufferLength);
    return &m_s[0];
}

template <typename T>
typename CStringT<T>::PXSTR CStringT<T>::GetBufferSetLength(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    m_s.resize((size_t)nLength);
    return &m_s[0];
}

template <typename T>
void CStringT<T>::ReleaseBuffer(int nNewLength)
{
    size_t n;
    if (nNewLength < 0) {
        // Up to the first NUL within the buffer.
        n = 0;
        const T* p = m_s.data();
        const size_t nMax = m_s.size();
        while (n < nMax && p[n] != 0)
            ++n;
    } else {
        n = (size_t)nNewLength;
    }
    m_s.resize(n);
}

template <typename T>
void CStringT<T>::Truncate(int nNewLength)
{
    if (nNewLength < 0 || (size_t)nNewLength > m_s.size())
        AfxThrowInvalidArgException();
    m_s.resize((size_t)nNewLength);
}

template <typename T>
int CStringT<T>::Compare(PCXSTR psz) const
{
    if (psz == NULL)
        psz = m_s.c_str() + m_s.size(); // compare with ""
    // Ordinal comparison up to the first NUL, characters as unsigned values.
    const T* a = m_s.c_str();
    const T* b = psz;
    typedef typename std::make_unsigned<T>::type U;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    U ua = (U)*a, ub = (U)*b;
    return ua < ub ? -1 : (ua > ub ? 1 : 0);
}

template <typename T>
int CStringT<T>::CompareNoCase(PCXSTR psz) const
{
    static const T empty[1] = {0};
    return Ops<T>::CmpNoCase(m_s.c_str(), psz ? psz : empty);
}

template <typename T>
int CStringT<T>::Collate(PCXSTR psz) const
{
    static const T empty[1] = {0};
    return Ops<T>::Coll(m_s.c_str(), psz ? psz : empty);
}

template <typename T>
int CStringT<T>::CollateNoCase(PCXSTR psz) const
{
    static const T empty[1] = {0};
    return Ops<T>::CollNoCase(m_s.c_str(), psz ? psz : empty);
}

template <typename T>
CStringT<T> CStringT<T>::Mid(int iFirst, int nCount) const
{
    if (iFirst < 0)
        iFirst = 0;
    if (nCount < 0)
        nCount = 0;
    const int nLength = GetLength();
    if (iFirst >= nLength)
        return CStringT();
    if (nCount > nLength - iFirst)
        nCount = nLength - iFirst;
    if (iFirst == 0 && nCount == nLength)
        return *this;
    return CStringT(m_s.c_str() + iFirst, nCount);
}

template <typename T>
CStringT<T> CStringT<T>::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetLength())
        return *this;
    return CStringT(m_s.c_str(), nCount);
}

template <typename T>
CStringT<T> CStringT<T>::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    const int nLength = GetLength();
    if (nCount >= nLength)
        return *this;
    return CStringT(m_s.c_str() + nLength - nCount, nCount);
}

template <typename T>
CStringT<T> CStringT<T>::SpanIncluding(PCXSTR pszCharSet) const
{
    if (!pszCharSet)
        return CStringT();
    size_t n = 0;
    while (n < m_s.size() && m_s[n] != 0 && InSet(m_s[n], pszCharSet))
        ++n;
    return Left((int)n);
}

template <typename T>
CStringT<T> CStringT<T>::SpanExcluding(PCXSTR pszCharSet) const
{
    if (!pszCharSet)
        return *this;
    size_t n = 0;
    while (n < m_s.size() && m_s[n] != 0 && !InSet(m_s[n], pszCharSet))
        ++n;
    return Left((int)n);
}

template <typename T>
CStringT<T> CStringT<T>::Tokenize(PCXSTR pszTokens, int& iStart) const
{
    if (iStart < 0)
        AfxThrowInvalidArgException();
    const int nLength = GetLength();
    if (pszTokens == NULL || *pszTokens == 0) {
        // No delimiters: the rest is one token, and then the end.
        if (iStart < nLength) {
            CStringT rest(m_s.c_str() + iStart, nLength - iStart);
            iStart = nLength + 1;
            return rest;
        }
        iStart = -1;
        return CStringT();
    }
    int i = iStart;
    while (i < nLength && InSet(m_s[(size_t)i], pszTokens))
        ++i;
    if (i < nLength) {
        int j = i;
        while (j < nLength && !InSet(m_s[(size_t)j], pszTokens))
            ++j;
        iStart = j + 1;
        return CStringT(m_s.c_str() + i, j - i);
    }
    iStart = -1;
    return CStringT();
}

template <typename T>
int CStringT<T>::Find(XCHAR ch, int iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
        return -1;
    size_t pos = m_s.find(ch, (size_t)iStart);
    return pos == StdString::npos ? -1 : (int)pos;
}

template <typename T>
int CStringT<T>::Find(PCXSTR pszSub, int iStart) const
{
    if (pszSub == NULL || iStart < 0 || iStart > GetLength())
        return -1;
    size_t pos = m_s.find(pszSub, (size_t)iStart);
    return pos == StdString::npos ? -1 : (int)pos;
}

template <typename T>
int CStringT<T>::ReverseFind(XCHAR ch) const
{
    size_t pos = m_s.rfind(ch);
    return pos == StdString::npos ? -1 : (int)pos;
}

template <typename T>
int CStringT<T>::FindOneOf(PCXSTR pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet)
        return -1;
    size_t pos = m_s.find_first_of(pszCharSet);
    return pos == StdString::npos ? -1 : (int)pos;
}

template <typename T>
int CStringT<T>::Replace(XCHAR chOld, XCHAR chNew)
{
    int nCount = 0;
    if (chOld == chNew)
        return 0;
    for (T& c : m_s) {
        if (c == chOld) {
            c = chNew;
            ++nCount;
        }
    }
    return nCount;
}

template <typename T>
int CStringT<T>::Replace(PCXSTR pszOld, PCXSTR pszNew)
{
    if (pszOld == NULL || *pszOld == 0)
        return 0;
    static const T empty[1] = {0};
    if (pszNew == NULL)
        pszNew = empty;
    const size_t nOld = Ops<T>::Len(pszOld);
    const size_t nNew = Ops<T>::Len(pszNew);
    size_t pos = m_s.find(pszOld, 0, nOld);
    if (pos == StdString::npos)
        return 0;
    // Build the result in one pass: matches are taken left to right and do
    // not overlap.
    StdString out;
    out.reserve(m_s.size());
    size_t from = 0;
    int nCount = 0;
    while (pos != StdString::npos) {
        out.append(m_s, from, pos - from);
        out.append(pszNew, nNew);
        from = pos + nOld;
        ++nCount;
        pos = m_s.find(pszOld, from, nOld);
    }
    out.append(m_s, from, StdString::npos);
    m_s.swap(out);
    return nCount;
}

template <typename T>
int CStringT<T>::Remove(XCHAR chRemove)
{
    size_t nBefore = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), chRemove), m_s.end());
    return (int)(nBefore - m_s.size());
}

template <typename T>
int CStringT<T>::Insert(int iIndex, XCHAR ch)
{
    if (iIndex < 0)
        iIndex = 0;
    if (iIndex > GetLength())
        iIndex = GetLength();
    m_s.insert(m_s.begin() + iIndex, ch);
    return GetLength();
}

template <typename T>
int CStringT<T>::Insert(int iIndex, PCXSTR psz)
{
    if (iIndex < 0)
        iIndex = 0;
    if (iIndex > GetLength())
        iIndex = GetLength();
    if (psz)
        m_s.insert((size_t)iIndex, psz);
    return GetLength();
}

template <typename T>
int CStringT<T>::Delete(int iIndex, int nCount)
{
    if (iIndex < 0)
        iIndex = 0;
    const int nLength = GetLength();
    if (nCount > 0 && iIndex < nLength) {
        if (nCount > nLength - iIndex)
            nCount = nLength - iIndex;
        m_s.erase((size_t)iIndex, (size_t)nCount);
    }
    return GetLength();
}

template <typename T>
CStringT<T>& CStringT<T>::MakeUpper()
{
    if (!m_s.empty())
        Ops<T>::Upper(&m_s[0], (DWORD)m_s.size());
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::MakeLower()
{
    if (!m_s.empty())
        Ops<T>::Lower(&m_s[0], (DWORD)m_s.size());
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::TrimLeft()
{
    size_t n = 0;
    while (n < m_s.size() && Ops<T>::IsSpace(m_s[n]))
        ++n;
    m_s.erase(0, n);
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::TrimLeft(XCHAR chTarget)
{
    size_t n = 0;
    while (n < m_s.size() && m_s[n] == chTarget)
        ++n;
    m_s.erase(0, n);
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::TrimLeft(PCXSTR pszTargets)
{
    if (!pszTargets || !*pszTargets)
        return *this;
    size_t n = 0;
    while (n < m_s.size() && m_s[n] != 0 && InSet(m_s[n], pszTargets))
        ++n;
    m_s.erase(0, n);
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && Ops<T>::IsSpace(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::TrimRight(XCHAR chTarget)
{
    size_t n = m_s.size();
    while (n > 0 && m_s[n - 1] == chTarget)
        --n;
    m_s.resize(n);
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::TrimRight(PCXSTR pszTargets)
{
    if (!pszTargets || !*pszTargets)
        return *this;
    size_t n = m_s.size();
    while (n > 0 && m_s[n - 1] != 0 && InSet(m_s[n - 1], pszTargets))
        --n;
    m_s.resize(n);
    return *this;
}

template <typename T>
CStringT<T>& CStringT<T>::Trim()
{
    TrimRight();
    return TrimLeft();
}

template <typename T>
CStringT<T>& CStringT<T>::Trim(XCHAR chTarget)
{
    TrimRight(chTarget);
    return TrimLeft(chTarget);
}

template <typename T>
CStringT<T>& CStringT<T>::Trim(PCXSTR pszTargets)
{
    TrimRight(pszTargets);
    return TrimLeft(pszTargets);
}

namespace {

// Appends printf-style output to a string.
template <typename T>
void AppendFormatted(std::basic_string<T>& out, const T* pszFormat, va_list args)
{
    if (pszFormat == NULL)
        AfxThrowInvalidArgException();
    va_list argsCount;
    va_copy(argsCount, args);
    int n = Ops<T>::Count(pszFormat, argsCount);
    va_end(argsCount);
    if (n < 0)
        AfxThrowInvalidArgException();
    if (n == 0)
        return;
    const size_t nOld = out.size();
    out.resize(nOld + (size_t)n);
    // The buffer has room for n characters plus the terminating NUL.
    int nWritten = Ops<T>::Print(&out[nOld], (size_t)n + 1, pszFormat, args);
    if (nWritten < 0 || nWritten > n)
        nWritten = n;
    out.resize(nOld + (size_t)nWritten);
}

} // namespace

// The arguments may point into this string: output goes to a new buffer
// first and replaces or extends the string only when complete.
template <typename T>
void CStringT<T>::FormatV(PCXSTR pszFormat, va_list args)
{
    StdString tmp;
    AppendFormatted(tmp, pszFormat, args);
    m_s.swap(tmp);
}

template <typename T>
void CStringT<T>::AppendFormatV(PCXSTR pszFormat, va_list args)
{
    StdString tmp;
    AppendFormatted(tmp, pszFormat, args);
    m_s += tmp;
}

template <typename T>
void __cdecl CStringT<T>::FormatRaw(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    try {
        FormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

template <typename T>
void __cdecl CStringT<T>::AppendFormatRaw(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    try {
        AppendFormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

template <typename T>
BOOL CStringT<T>::LoadString(UINT nID)
{
    return LoadString(AfxGetResourceHandle(), nID);
}

template <typename T>
BOOL CStringT<T>::LoadString(HINSTANCE hInstance, UINT nID)
{
    int n = 0;
    const wchar_t* p = FindStringResource(hInstance, nID, &n);
    if (!p)
        return FALSE;
    if constexpr (std::is_same<T, char>::value)
        m_s = fx::detail::Narrow(p, n, CP_ACP);
    else
        m_s.assign(p, (size_t)n);
    return TRUE;
}

template <typename T>
BSTR CStringT<T>::AllocSysString() const
{
    BSTR b;
    if constexpr (std::is_same<T, char>::value) {
        std::wstring w = fx::detail::Widen(m_s.data(), (int)m_s.size(), CP_ACP);
        b = SysAllocStringLen(w.data(), (UINT)w.size());
    } else {
        b = SysAllocStringLen(m_s.data(), (UINT)m_s.size());
    }
    if (!b)
        AfxThrowMemoryException();
    return b;
}

template <typename T>
BSTR CStringT<T>::SetSysString(BSTR* pbstr) const
{
    BSTR b = AllocSysString();
    if (*pbstr)
        SysFreeString(*pbstr);
    *pbstr = b;
    return b;
}

template class CStringT<char>;
template class CStringT<wchar_t>;

// ---------------------------------------------------------------------------

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep)
{
    if (lpszFullString == NULL) {
        rString.Empty();
        return FALSE;
    }
    while (iSubString-- > 0) {
        lpszFullString = std::strchr(lpszFullString, chSep);
        if (lpszFullString == NULL || chSep == 0) {
            rString.Empty();
            return FALSE;
        }
        ++lpszFullString;
    }
    const char* pEnd = chSep ? std::strchr(lpszFullString, chSep) : NULL;
    int nLen = pEnd ? (int)(pEnd - lpszFullString) : (int)std::strlen(lpszFullString);
    rString = CString(lpszFullString, nLen);
    return TRUE;
}

void AFXAPI AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString)
{
    CString out;
    if (lpszFormat) {
        for (const char* p = lpszFormat; *p; ++p) {
            if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
                int i = p[1] - '1';
                if (i < nString && rglpsz && rglpsz[i])
                    out += rglpsz[i];
                else if (i >= nString)
                    out += '?';
                ++p;
            } else {
                out += *p;
            }
        }
    }
    rString = std::move(out);
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1)
{
    CString strFormat;
    strFormat.LoadString(nIDS);
    LPCSTR args[1] = {lpsz1};
    AfxFormatStrings(rString, strFormat, args, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2)
{
    CString strFormat;
    strFormat.LoadString(nIDS);
    LPCSTR args[2] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, strFormat, args, 2);
}

namespace fx {

CString PathFileName(LPCSTR lpszPath)
{
    if (!lpszPath)
        return CString();
    const char* pName = lpszPath;
    for (const char* p = lpszPath; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            pName = p + 1;
    }
    return CString(pName);
}

CString PathFileTitle(LPCSTR lpszPath)
{
    CString name = PathFileName(lpszPath);
    int nDot = name.ReverseFind('.');
    if (nDot > 0)
        name.Truncate(nDot);
    return name;
}

} // namespace fx

namespace {
UINT CopyOut(const CString& s, LPSTR lpszTitle, UINT nMax)
{
    UINT nNeeded = (UINT)s.GetLength() + 1;
    if (lpszTitle == NULL || nMax < nNeeded)
        return nNeeded;
    std::memcpy(lpszTitle, s.GetString(), nNeeded);
    return 0;
}
} // namespace

UINT AFXAPI AfxGetFileName(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax)
{
    return CopyOut(fx::PathFileName(lpszPathName), lpszTitle, nMax);
}

UINT AFXAPI AfxGetFileTitle(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax)
{
    return CopyOut(fx::PathFileTitle(lpszPathName), lpszTitle, nMax);
}
