// CTime and CTimeSpan.
#include "fx/time.h"
#include "fx/except.h"

#include <cstring>
#include <vector>

namespace {

const LONGLONG kFileTimeUnixEpoch = 116444736000000000LL; // 1970-01-01 in 100 ns units

bool ValidStrftimeFormat(const char* p)
{
    static const char kCodes[] = "aAbBcdHIjmMpSUwWxXyYzZ%";
    for (; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '#')
            ++p;
        if (*p == 0 || std::strchr(kCodes, *p) == NULL)
            return false;
    }
    return true;
}

struct tm LocalTm(__time64_t t)
{
    struct tm result;
    std::memset(&result, 0, sizeof(result));
    if (t < 0)
        AfxThrowInvalidArgException();
    struct tm* p = _localtime64(&t);
    if (!p)
        AfxThrowInvalidArgException();
    result = *p;
    return result;
}

} // namespace

namespace fx {

CString FormatTm(LPCSTR pszFormat, const struct tm& t)
{
    CString out;
    if (!pszFormat || !*pszFormat || !ValidStrftimeFormat(pszFormat))
        return out;
    for (size_t nBuf = 256; nBuf <= 65536; nBuf *= 4) {
        std::vector<char> buf(nBuf);
        size_t n = std::strftime(buf.data(), nBuf, pszFormat, &t);
        if (n > 0) {
            out = CString(buf.data(), (int)n);
            return out;
        }
    }
    return out;
}

} // namespace fx

// ---------------------------------------------------------------------------

CString CTimeSpan::Format(LPCSTR pFormat) const
{
    CString out;
    if (!pFormat)
        return out;
    char buf[32];
    for (const char* p = pFormat; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 'D':
            _snprintf(buf, sizeof(buf), "%I64d", GetDays());
            out += buf;
            break;
        case 'H':
            _snprintf(buf, sizeof(buf), "%02ld", GetHours());
            out += buf;
            break;
        case 'M':
            _snprintf(buf, sizeof(buf), "%02ld", GetMinutes());
            out += buf;
            break;
        case 'S':
            _snprintf(buf, sizeof(buf), "%02ld", GetSeconds());
            out += buf;
            break;
        case '%': out += '%'; break;
        case 0: return out;
        default:
            out += '%';
            out += *p;
            break;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------

CTime PASCAL CTime::GetCurrentTime() noexcept
{
    return CTime(_time64(NULL));
}

BOOL PASCAL CTime::IsValidFILETIME(const FILETIME& ft) noexcept
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    return FileTimeToLocalFileTime(&ft, &ftLocal) && FileTimeToSystemTime(&ftLocal, &st);
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 ||
        nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        AfxThrowInvalidArgException();
    struct tm t;
    std::memset(&t, 0, sizeof(t));
    t.tm_sec = nSec;
    t.tm_min = nMin;
    t.tm_hour = nHour;
    t.tm_mday = nDay;
    t.tm_mon = nMonth - 1;
    t.tm_year = nYear - 1900;
    t.tm_isdst = nDST;
    m_time = _mktime64(&t);
    if (m_time == -1)
        AfxThrowInvalidArgException();
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F, wDosTime >> 11, (wDosTime >> 5) & 0x3F,
            (wDosTime & 0x1F) * 2, nDST)
{
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{
}

namespace {
SYSTEMTIME LocalSystemTime(const FILETIME& ft)
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &ftLocal) || !FileTimeToSystemTime(&ftLocal, &st))
        AfxThrowInvalidArgException();
    return st;
}
} // namespace

CTime::CTime(const FILETIME& ft, int nDST) : CTime(LocalSystemTime(ft), nDST)
{
}

int CTime::GetYear() const { return LocalTm(m_time).tm_year + 1900; }
int CTime::GetMonth() const { return LocalTm(m_time).tm_mon + 1; }
int CTime::GetDay() const { return LocalTm(m_time).tm_mday; }
int CTime::GetHour() const { return LocalTm(m_time).tm_hour; }
int CTime::GetMinute() const { return LocalTm(m_time).tm_min; }
int CTime::GetSecond() const { return LocalTm(m_time).tm_sec; }
int CTime::GetDayOfWeek() const { return LocalTm(m_time).tm_wday + 1; }

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (!ptm)
        return NULL;
    *ptm = LocalTm(m_time);
    return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (!ptm)
        return NULL;
    __time64_t t = m_time;
    struct tm* p = t >= 0 ? _gmtime64(&t) : NULL;
    if (!p)
        AfxThrowInvalidArgException();
    *ptm = *p;
    return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    if (m_time < 0)
        return FALSE;
    struct tm* p = _localtime64(&m_time);
    if (!p)
        return FALSE;
    st.wYear = (WORD)(p->tm_year + 1900);
    st.wMonth = (WORD)(p->tm_mon + 1);
    st.wDayOfWeek = (WORD)p->tm_wday;
    st.wDay = (WORD)p->tm_mday;
    st.wHour = (WORD)p->tm_hour;
    st.wMinute = (WORD)p->tm_min;
    st.wSecond = (WORD)p->tm_sec;
    st.wMilliseconds = 0;
    return TRUE;
}

BOOL CTime::GetAsFileTime(FILETIME& ft) const
{
    ULONGLONG v = (ULONGLONG)(m_time * 10000000LL + kFileTimeUnixEpoch);
    ft.dwLowDateTime = (DWORD)v;
    ft.dwHighDateTime = (DWORD)(v >> 32);
    return TRUE;
}

CString CTime::Format(LPCSTR pszFormat) const
{
    if (m_time < 0 || !_localtime64(&m_time))
        return CString();
    return fx::FormatTm(pszFormat, LocalTm(m_time));
}

CString CTime::FormatGmt(LPCSTR pszFormat) const
{
    struct tm t;
    if (m_time < 0 || !_gmtime64(&m_time))
        return CString();
    GetGmtTm(&t);
    return fx::FormatTm(pszFormat, t);
}

CString CTime::Format(UINT nFormatID) const
{
    CString fmt;
    fmt.LoadString(nFormatID);
    return Format(fmt.GetString());
}

CString CTime::FormatGmt(UINT nFormatID) const
{
    CString fmt;
    fmt.LoadString(nFormatID);
    return FormatGmt(fmt.GetString());
}
