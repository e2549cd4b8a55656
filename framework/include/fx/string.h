// fx/string.h - the framework's string classes.
//
// CStringT<char> (CString, CStringA) is the program's ANSI string; CStringT<
// wchar_t> (CStringW) the wide one. Each converts from the other through the
// ANSI code page (CP_ACP); UTF-8 helpers are below. Strings have value
// semantics over one contiguous buffer that is always NUL-terminated; moves
// are cheap, so multi-megabyte texts can be passed around by value.
//
// Format/AppendFormat follow the Microsoft printf conventions: in a narrow
// format %s takes a char string and %S a wide one; in a wide format the other
// way round. String objects may be passed directly for %s/%S: they are
// converted to their character pointer before the call.
//
// This header needs nothing but <windows.h> and the C++ library, so programs
// without an application object can use it.
#pragma once

#include "fx/core.h"
#include <string>
#include <type_traits>
#include <utility>

template <typename T>
class CStringT;
typedef CStringT<char> CStringA;
typedef CStringT<wchar_t> CStringW;
typedef CStringA CString;

namespace fx {
namespace detail {
template <typename T>
struct OtherChar;
template <>
struct OtherChar<char> {
    typedef wchar_t type;
};
template <>
struct OtherChar<wchar_t> {
    typedef char type;
};

// Code-page conversions; nLength < 0 means NUL-terminated.
std::wstring Widen(const char* psz, int nLength, UINT nCodePage);
std::string Narrow(const wchar_t* psz, int nLength, UINT nCodePage);

// Converts a string object passed to Format to its character pointer and
// passes everything else through unchanged.
template <typename A>
inline const A& FormatArg(const A& a) { return a; }
template <typename C>
inline const C* FormatArg(const CStringT<C>& s) { return s.GetString(); }
} // namespace detail
} // namespace fx

template <typename T>
class CStringT {
public:
    typedef T XCHAR;
    typedef T* PXSTR;
    typedef const T* PCXSTR;
    typedef typename fx::detail::OtherChar<T>::type YCHAR;
    typedef YCHAR* PYSTR;
    typedef const YCHAR* PCYSTR;
    typedef std::basic_string<T> StdString;

    // --- construction ------------------------------------------------------
    CStringT() noexcept {}
    CStringT(const CStringT& src) = default;
    CStringT(CStringT&& src) noexcept = default;
    // A null pointer gives an empty string; a MAKEINTRESOURCE value loads
    // that string resource.
    CStringT(PCXSTR psz) { AssignPsz(psz); }
    CStringT(PCXSTR pch, int nLength)
    {
        if (pch && nLength > 0) m_s.assign(pch, (size_t)nLength);
    }
    CStringT(XCHAR ch, int nRepeat = 1)
    {
        if (nRepeat > 0) m_s.assign((size_t)nRepeat, ch);
    }
    CStringT(PCYSTR psz) { AssignOther(psz, -1); }
    CStringT(PCYSTR pch, int nLength) { AssignOther(pch, nLength < 0 ? 0 : nLength); }
    CStringT(const CStringT<YCHAR>& src) { AssignOther(src.GetString(), src.GetLength()); }
    CStringT(const unsigned char* psz) { AssignPsz(reinterpret_cast<PCXSTR>(psz)); }
    CStringT(const StdString& s) : m_s(s) {}
    CStringT(StdString&& s) noexcept : m_s(std::move(s)) {}

    CStringT& operator=(const CStringT& src) = default;
    CStringT& operator=(CStringT&& src) noexcept = default;
    CStringT& operator=(PCXSTR psz)
    {
        AssignPsz(psz);
        return *this;
    }
    CStringT& operator=(PCYSTR psz)
    {
        m_s.clear();
        AssignOther(psz, -1);
        return *this;
    }
    CStringT& operator=(const CStringT<YCHAR>& src)
    {
        m_s.clear();
        AssignOther(src.GetString(), src.GetLength());
        return *this;
    }
    CStringT& operator=(XCHAR ch)
    {
        m_s.assign(1, ch);
        return *this;
    }
    CStringT& operator=(const unsigned char* psz)
    {
        AssignPsz(reinterpret_cast<PCXSTR>(psz));
        return *this;
    }

    // --- access ------------------------------------------------------------
    int GetLength() const noexcept { return (int)m_s.size(); }
    BOOL IsEmpty() const noexcept { return m_s.empty(); }
    void Empty() noexcept { m_s.clear(); }
    PCXSTR GetString() const noexcept { return m_s.c_str(); }
    operator PCXSTR() const noexcept { return m_s.c_str(); }
    const StdString& str() const noexcept { return m_s; }
    StdString& str() noexcept { return m_s; }

    XCHAR GetAt(int iChar) const
    {
        CheckIndex(iChar);
        return m_s[(size_t)iChar];
    }
    void SetAt(int iChar, XCHAR ch)
    {
        CheckIndex(iChar);
        m_s[(size_t)iChar] = ch;
    }
    template <typename I, typename = typename std::enable_if<std::is_integral<I>::value>::type>
    XCHAR operator[](I iChar) const
    {
        CheckIndex((long long)iChar);
        return m_s[(size_t)iChar];
    }

    // --- buffer access -------------------------------------------------------
    // The buffer holds at least nMinBufferLength characters plus the NUL;
    // ReleaseBuffer sets the length (-1: up to the first NUL).
    PXSTR GetBuffer(int nMinBufferLength = 0);
    PXSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    PXSTR LockBuffer() { return GetBuffer(0); }
    void UnlockBuffer() {}
    void Preallocate(int nLength)
    {
        if (nLength > 0) m_s.reserve((size_t)nLength);
    }
    void FreeExtra() { m_s.shrink_to_fit(); }
    int GetAllocLength() const { return (int)m_s.capacity(); }
    void Truncate(int nNewLength);

    // --- concatenation -------------------------------------------------------
    CStringT& operator+=(const CStringT& s)
    {
        m_s.append(s.m_s);
        return *this;
    }
    CStringT& operator+=(PCXSTR psz)
    {
        if (psz) m_s.append(psz);
        return *this;
    }
    CStringT& operator+=(PCYSTR psz)
    {
        AssignOther(psz, -1);
        return *this;
    }
    CStringT& operator+=(XCHAR ch)
    {
        m_s.push_back(ch);
        return *this;
    }
    CStringT& Append(PCXSTR psz) { return *this += psz; }
    CStringT& Append(PCXSTR pch, int nLength)
    {
        if (pch && nLength > 0) m_s.append(pch, (size_t)nLength);
        return *this;
    }
    CStringT& Append(const CStringT& s) { return *this += s; }
    CStringT& AppendChar(XCHAR ch)
    {
        m_s.push_back(ch);
        return *this;
    }
    void SetString(PCXSTR psz) { AssignPsz(psz); }
    void SetString(PCXSTR pch, int nLength)
    {
        m_s.clear();
        Append(pch, nLength);
    }

    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        CStringT r;
        r.m_s.reserve(a.m_s.size() + b.m_s.size());
        r.m_s.append(a.m_s).append(b.m_s);
        return r;
    }
    friend CStringT operator+(CStringT&& a, const CStringT& b)
    {
        a.m_s.append(b.m_s);
        return std::move(a);
    }
    friend CStringT operator+(const CStringT& a, PCXSTR b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(CStringT&& a, PCXSTR b)
    {
        a += b;
        return std::move(a);
    }
    friend CStringT operator+(PCXSTR a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, XCHAR ch)
    {
        CStringT r(a);
        r += ch;
        return r;
    }
    friend CStringT operator+(CStringT&& a, XCHAR ch)
    {
        a += ch;
        return std::move(a);
    }
    friend CStringT operator+(XCHAR ch, const CStringT& b)
    {
        CStringT r(ch);
        r += b;
        return r;
    }

    // --- comparison ----------------------------------------------------------
    int Compare(PCXSTR psz) const;       // ordinal, like strcmp
    int CompareNoCase(PCXSTR psz) const; // ordinal ignoring case
    int Collate(PCXSTR psz) const;       // locale collation
    int CollateNoCase(PCXSTR psz) const;

    friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(PCXSTR a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator==(const CStringT& a, XCHAR b) { return a.m_s.size() == 1 && a.m_s[0] == b; }
    friend bool operator==(XCHAR a, const CStringT& b) { return b == a; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return !(a == b); }
    friend bool operator!=(PCXSTR a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, XCHAR b) { return !(a == b); }
    friend bool operator!=(XCHAR a, const CStringT& b) { return !(a == b); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.Compare(b.GetString()) < 0; }
    friend bool operator<(const CStringT& a, PCXSTR b) { return a.Compare(b) < 0; }
    friend bool operator<(PCXSTR a, const CStringT& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return a.Compare(b.GetString()) > 0; }
    friend bool operator>(const CStringT& a, PCXSTR b) { return a.Compare(b) > 0; }
    friend bool operator>(PCXSTR a, const CStringT& b) { return b.Compare(a) < 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return a.Compare(b.GetString()) <= 0; }
    friend bool operator<=(const CStringT& a, PCXSTR b) { return a.Compare(b) <= 0; }
    friend bool operator<=(PCXSTR a, const CStringT& b) { return b.Compare(a) >= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return a.Compare(b.GetString()) >= 0; }
    friend bool operator>=(const CStringT& a, PCXSTR b) { return a.Compare(b) >= 0; }
    friend bool operator>=(PCXSTR a, const CStringT& b) { return b.Compare(a) <= 0; }

    // --- extraction ----------------------------------------------------------
    CStringT Mid(int iFirst) const { return Mid(iFirst, GetLength()); }
    CStringT Mid(int iFirst, int nCount) const;
    CStringT Left(int nCount) const;
    CStringT Right(int nCount) const;
    CStringT SpanIncluding(PCXSTR pszCharSet) const;
    CStringT SpanExcluding(PCXSTR pszCharSet) const;
    // Next token after iStart, skipping leading delimiters; iStart becomes -1
    // (and the result empty) when no token is left.
    CStringT Tokenize(PCXSTR pszTokens, int& iStart) const;

    // --- searching -----------------------------------------------------------
    int Find(XCHAR ch, int iStart = 0) const;
    int Find(PCXSTR pszSub, int iStart = 0) const;
    int ReverseFind(XCHAR ch) const;
    int FindOneOf(PCXSTR pszCharSet) const;

    // --- modification --------------------------------------------------------
    int Replace(XCHAR chOld, XCHAR chNew);
    int Replace(PCXSTR pszOld, PCXSTR pszNew);
    int Remove(XCHAR chRemove);
    int Insert(int iIndex, XCHAR ch);
    int Insert(int iIndex, PCXSTR psz);
    int Delete(int iIndex, int nCount = 1);
    CStringT& MakeUpper();
    CStringT& MakeLower();
    CStringT& MakeReverse();
    CStringT& Trim();
    CStringT& Trim(XCHAR chTarget);
    CStringT& Trim(PCXSTR pszTargets);
    CStringT& TrimLeft();
    CStringT& TrimLeft(XCHAR chTarget);
    CStringT& TrimLeft(PCXSTR pszTargets);
    CStringT& TrimRight();
    CStringT& TrimRight(XCHAR chTarget);
    CStringT& TrimRight(PCXSTR pszTargets);

    // --- formatting and resources -------------------------------------------
    template <typename... Args>
    void Format(PCXSTR pszFormat, const Args&... args)
    {
        FormatRaw(pszFormat, fx::detail::FormatArg(args)...);
    }
    template <typename... Args>
    void Format(UINT nFormatID, const Args&... args)
    {
        CStringT strFormat;
        strFormat.LoadString(nFormatID);
        FormatRaw(strFormat.GetString(), fx::detail::FormatArg(args)...);
    }
    template <typename... Args>
    void AppendFormat(PCXSTR pszFormat, const Args&... args)
    {
        AppendFormatRaw(pszFormat, fx::detail::FormatArg(args)...);
    }
    template <typename... Args>
    void AppendFormat(UINT nFormatID, const Args&... args)
    {
        CStringT strFormat;
        strFormat.LoadString(nFormatID);
        AppendFormatRaw(strFormat.GetString(), fx::detail::FormatArg(args)...);
    }
    void FormatV(PCXSTR pszFormat, va_list args);
    void AppendFormatV(PCXSTR pszFormat, va_list args);
    void __cdecl FormatRaw(PCXSTR pszFormat, ...);
    void __cdecl AppendFormatRaw(PCXSTR pszFormat, ...);

    // Loads a string resource from the module's resource handle (or hInstance).
    // FALSE (string unchanged) when there is no such string.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Converts to a new BSTR (UTF-16 through the ANSI code page for CStringA);
    // the caller frees it with SysFreeString.
    BSTR AllocSysString() const;
    BSTR SetSysString(BSTR* pbstr) const;

private:
    void AssignPsz(PCXSTR psz);
    void AssignOther(PCYSTR psz, int nLength); // appends converted text
    void CheckIndex(long long i) const
    {
        if (i < 0 || i >= (long long)m_s.size())
            AfxThrowInvalidArgException();
    }

    StdString m_s;
};

extern template class CStringT<char>;
extern template class CStringT<wchar_t>;

// ---------------------------------------------------------------------------
// Conversions between ANSI, UTF-8 and UTF-16.
namespace fx {
CStringW ToWide(const char* psz, UINT nCodePage = CP_ACP, int nLength = -1);
CStringA ToNarrow(const wchar_t* psz, UINT nCodePage = CP_ACP, int nLength = -1);
inline CStringW Utf8ToWide(const char* psz, int nLength = -1) { return ToWide(psz, CP_UTF8, nLength); }
inline CStringA WideToUtf8(const wchar_t* psz, int nLength = -1) { return ToNarrow(psz, CP_UTF8, nLength); }
} // namespace fx

// Temporary converters in the style of the conversion classes: construct
// from a string, then use as a pointer for the lifetime of the object.
class CA2W {
public:
    explicit CA2W(LPCSTR psz, UINT nCodePage = CP_ACP)
        : m_null(psz == NULL), m_s(psz ? fx::detail::Widen(psz, -1, nCodePage) : std::wstring()) {}
    operator LPWSTR() const { return m_null ? NULL : const_cast<LPWSTR>(m_s.c_str()); }

private:
    bool m_null;
    std::wstring m_s;
};
class CW2A {
public:
    explicit CW2A(LPCWSTR psz, UINT nCodePage = CP_ACP)
        : m_null(psz == NULL), m_s(psz ? fx::detail::Narrow(psz, -1, nCodePage) : std::string()) {}
    operator LPSTR() const { return m_null ? NULL : const_cast<LPSTR>(m_s.c_str()); }

private:
    bool m_null;
    std::string m_s;
};
typedef CA2W CA2CW;
typedef CW2A CW2CA;
typedef CA2W CT2W;
typedef CA2W CT2CW;
typedef CW2A CW2T;
typedef CW2A CW2CT;

// ---------------------------------------------------------------------------
// Helpers on strings.

// The iSubString-th field of lpszFullString, fields separated by chSep.
// FALSE (and rString empty) when there are fewer fields.
BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');
// Replaces %1 .. %9 in the format with the given strings.
void AFXAPI AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString);
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
// File name (with extension) and title (without extension) of a path;
// return the length needed (including the NUL) when the buffer is too small
// or NULL, else 0.
UINT AFXAPI AfxGetFileName(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax);
UINT AFXAPI AfxGetFileTitle(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax);

namespace fx {
// The file-name part of a path (after the last '\\', '/' or ':').
CString PathFileName(LPCSTR lpszPath);
// The file name without its extension.
CString PathFileTitle(LPCSTR lpszPath);
} // namespace fx
