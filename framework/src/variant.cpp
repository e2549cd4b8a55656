// COleDateTime and COleVariant.
#include "fx/variant.h"
#include "fx/archive.h"
#include "fx/except.h"
#include "fx/time.h"

#include <cstring>
#include <vector>

namespace {

const DATE kMinDate = -657434.0;     // year 100
const DATE kMaxDate = 2958465.99999; // year 9999

bool ToSystemTime(DATE dt, SYSTEMTIME& st)
{
    if (dt < kMinDate || dt > kMaxDate)
        return false;
    return VariantTimeToSystemTime(dt, &st) != 0;
}

void ThrowIfFailed(HRESULT hr)
{
    if (FAILED(hr)) {
        if (hr == E_OUTOFMEMORY)
            AfxThrowMemoryException();
        AfxThrowOleException(hr);
    }
}

BSTR MakeBstr(LPCWSTR p, UINT n)
{
    BSTR b = SysAllocStringLen(p, n);
    if (!b)
        AfxThrowMemoryException();
    return b;
}

BSTR MakeBstrA(LPCSTR p)
{
    std::wstring w = fx::detail::Widen(p ? p : "", -1, CP_ACP);
    return MakeBstr(w.data(), (UINT)w.size());
}

} // namespace

// ---------------------------------------------------------------------------
// COleDateTime

COleDateTime PASCAL COleDateTime::GetCurrentTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    st.wMilliseconds = 0;
    return COleDateTime(st);
}

COleDateTime::COleDateTime(const VARIANT& varSrc) : m_dt(0), m_status(valid)
{
    *this = varSrc;
}

COleDateTime::COleDateTime(__time64_t timeSrc) : m_dt(0), m_status(valid)
{
    SYSTEMTIME st;
    if (timeSrc < 0 || !CTime(timeSrc).GetAsSystemTime(st))
        m_status = invalid;
    else
        *this = COleDateTime(st);
}

COleDateTime::COleDateTime(const SYSTEMTIME& st) : m_dt(0), m_status(valid)
{
    SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

COleDateTime::COleDateTime(const FILETIME& ft) : m_dt(0), m_status(valid)
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (FileTimeToLocalFileTime(&ft, &ftLocal) && FileTimeToSystemTime(&ftLocal, &st))
        SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    else
        m_status = invalid;
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) : m_dt(0), m_status(valid)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime& COleDateTime::operator=(const VARIANT& varSrc)
{
    if (varSrc.vt == VT_DATE) {
        m_dt = varSrc.date;
        m_status = valid;
        return *this;
    }
    VARIANT v;
    VariantInit(&v);
    if (SUCCEEDED(VariantChangeType(&v, const_cast<VARIANT*>(&varSrc), 0, VT_DATE))) {
        m_dt = v.date;
        m_status = valid;
    } else {
        m_dt = 0;
        m_status = invalid;
    }
    VariantClear(&v);
    return *this;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool ok = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 &&
              nDay <= kDays[nMonth - 1] && nHour >= 0 && nHour <= 23 && nMin >= 0 && nMin <= 59 && nSec >= 0 &&
              nSec <= 59;
    if (ok && nMonth == 2 && nDay == 29) {
        bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
        ok = bLeap;
    }
    SYSTEMTIME st;
    std::memset(&st, 0, sizeof(st));
    st.wYear = (WORD)nYear;
    st.wMonth = (WORD)nMonth;
    st.wDay = (WORD)nDay;
    st.wHour = (WORD)nHour;
    st.wMinute = (WORD)nMin;
    st.wSecond = (WORD)nSec;
    DATE dt = 0;
    if (ok && SystemTimeToVariantTime(&st, &dt)) {
        m_dt = dt;
        m_status = valid;
        return 0;
    }
    m_dt = 0;
    m_status = invalid;
    return 1;
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    return m_status == valid && ToSystemTime(m_dt, sysTime);
}

namespace {
SYSTEMTIME Parts(const COleDateTime& d)
{
    SYSTEMTIME st;
    if (!d.GetAsSystemTime(st))
        std::memset(&st, 0xFF, sizeof(st)); // every field reads as -1 below
    return st;
}
int Field(WORD w) { return w == 0xFFFF ? -1 : (int)w; }
} // namespace

int COleDateTime::GetYear() const { return Field(Parts(*this).wYear); }
int COleDateTime::GetMonth() const { return Field(Parts(*this).wMonth); }
int COleDateTime::GetDay() const { return Field(Parts(*this).wDay); }
int COleDateTime::GetHour() const { return Field(Parts(*this).wHour); }
int COleDateTime::GetMinute() const { return Field(Parts(*this).wMinute); }
int COleDateTime::GetSecond() const { return Field(Parts(*this).wSecond); }
int COleDateTime::GetDayOfWeek() const
{
    int n = Field(Parts(*this).wDayOfWeek);
    return n < 0 ? -1 : n + 1;
}
int COleDateTime::GetDayOfYear() const
{
    SYSTEMTIME st;
    if (!GetAsSystemTime(st))
        return -1;
    COleDateTime jan1(st.wYear, 1, 1, 0, 0, 0);
    COleDateTime day(st.wYear, st.wMonth, st.wDay, 0, 0, 0);
    return (int)(day.m_dt - jan1.m_dt + 0.5) + 1;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    if (m_status == null)
        return CString();
    if (m_status != valid)
        return CString("Invalid DateTime");
    BSTR b = NULL;
    if (FAILED(VarBstrFromDate(m_dt, lcid, dwFlags, &b)) || !b)
        return CString("Invalid DateTime");
    CString s(fx::ToNarrow(b, CP_ACP, (int)SysStringLen(b)));
    SysFreeString(b);
    return s;
}

CString COleDateTime::Format(LPCSTR lpszFormat) const
{
    if (m_status == null)
        return CString();
    SYSTEMTIME st;
    if (!GetAsSystemTime(st))
        return CString("Invalid DateTime");
    struct tm t;
    std::memset(&t, 0, sizeof(t));
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay;
    t.tm_hour = st.wHour;
    t.tm_min = st.wMinute;
    t.tm_sec = st.wSecond;
    t.tm_wday = st.wDayOfWeek;
    t.tm_yday = GetDayOfYear() - 1;
    t.tm_isdst = -1;
    return fx::FormatTm(lpszFormat, t);
}

CString COleDateTime::Format(UINT nFormatID) const
{
    CString fmt;
    fmt.LoadString(nFormatID);
    return Format(fmt.GetString());
}

BOOL COleDateTime::ParseDateTime(LPCSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    if (lpszDate == NULL) {
        m_status = invalid;
        return FALSE;
    }
    std::wstring w = fx::detail::Widen(lpszDate, -1, CP_ACP);
    DATE dt;
    HRESULT hr = VarDateFromStr(const_cast<LPOLESTR>(w.c_str()), lcid, dwFlags, &dt);
    if (FAILED(hr)) {
        m_dt = 0;
        m_status = invalid;
        return FALSE;
    }
    m_dt = dt;
    m_status = valid;
    return TRUE;
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTime& dateSrc)
{
    ar << (LONG)dateSrc.m_status;
    return ar << (double)dateSrc.m_dt;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc)
{
    LONG status;
    double dt;
    ar >> status >> dt;
    dateSrc.m_status = (COleDateTime::DateTimeStatus)status;
    dateSrc.m_dt = dt;
    return ar;
}

// ---------------------------------------------------------------------------
// COleVariant

COleVariant::COleVariant(const VARIANT& varSrc)
{
    VariantInit(this);
    ThrowIfFailed(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
}

COleVariant::COleVariant(LPCVARIANT pSrc)
{
    VariantInit(this);
    if (pSrc)
        ThrowIfFailed(VariantCopy(this, const_cast<VARIANT*>(pSrc)));
}

COleVariant::COleVariant(const COleVariant& varSrc) : tagVARIANT()
{
    VariantInit(this);
    ThrowIfFailed(VariantCopy(this, const_cast<COleVariant*>(&varSrc)));
}

COleVariant::COleVariant(COleVariant&& varSrc) noexcept : tagVARIANT()
{
    std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&varSrc), sizeof(VARIANT));
    VariantInit(&varSrc);
}

COleVariant::COleVariant(LPCSTR lpszSrc)
{
    VariantInit(this);
    *this = lpszSrc;
}

COleVariant::COleVariant(LPCWSTR lpszSrc)
{
    VariantInit(this);
    *this = lpszSrc;
}

COleVariant::COleVariant(const CString& strSrc)
{
    VariantInit(this);
    *this = strSrc;
}

COleVariant::COleVariant(BYTE nSrc)
{
    VariantInit(this);
    vt = VT_UI1;
    bVal = nSrc;
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt = VT_I2;
        iVal = nSrc;
    }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (vtSrc == VT_ERROR) {
        vt = VT_ERROR;
        scode = lSrc;
    } else {
        vt = VT_I4;
        lVal = lSrc;
    }
}

COleVariant::COleVariant(int nSrc, VARTYPE vtSrc) : COleVariant((long)nSrc, vtSrc)
{
}

COleVariant::COleVariant(LONGLONG nSrc)
{
    VariantInit(this);
    vt = VT_I8;
    llVal = nSrc;
}

COleVariant::COleVariant(float fltSrc)
{
    VariantInit(this);
    vt = VT_R4;
    fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc)
{
    VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::COleVariant(const COleDateTime& timeSrc)
{
    VariantInit(this);
    *this = timeSrc;
}

void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc)
{
    if (pSrc == NULL)
        pSrc = this;
    if (pSrc != this || vartype != vt)
        ThrowIfFailed(VariantChangeType(this, pSrc, 0, vartype));
}

void COleVariant::Attach(VARIANT& varSrc)
{
    VariantClear(this);
    std::memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
    varSrc.vt = VT_EMPTY;
}

VARIANT COleVariant::Detach()
{
    VARIANT v;
    std::memcpy(&v, static_cast<VARIANT*>(this), sizeof(VARIANT));
    vt = VT_EMPTY;
    return v;
}

COleVariant& COleVariant::operator=(const VARIANT& varSrc)
{
    if (static_cast<const VARIANT*>(this) != &varSrc) {
        HRESULT hr = VariantCopy(this, const_cast<VARIANT*>(&varSrc));
        if (FAILED(hr)) {
            VariantClear(this);
            ThrowIfFailed(hr);
        }
    }
    return *this;
}

COleVariant& COleVariant::operator=(LPCVARIANT pSrc)
{
    if (pSrc == NULL) {
        Clear();
        return *this;
    }
    return *this = *pSrc;
}

COleVariant& COleVariant::operator=(const COleVariant& varSrc)
{
    return *this = static_cast<const VARIANT&>(varSrc);
}

COleVariant& COleVariant::operator=(COleVariant&& varSrc) noexcept
{
    if (this != &varSrc) {
        VariantClear(this);
        std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&varSrc), sizeof(VARIANT));
        VariantInit(&varSrc);
    }
    return *this;
}

COleVariant& COleVariant::operator=(LPCSTR lpszSrc)
{
    BSTR b = MakeBstrA(lpszSrc);
    VariantClear(this);
    vt = VT_BSTR;
    bstrVal = b;
    return *this;
}

COleVariant& COleVariant::operator=(LPCWSTR lpszSrc)
{
    BSTR b = MakeBstr(lpszSrc ? lpszSrc : L"", lpszSrc ? (UINT)wcslen(lpszSrc) : 0);
    VariantClear(this);
    vt = VT_BSTR;
    bstrVal = b;
    return *this;
}

COleVariant& COleVariant::operator=(const CString& strSrc)
{
    BSTR b = strSrc.AllocSysString();
    VariantClear(this);
    vt = VT_BSTR;
    bstrVal = b;
    return *this;
}

COleVariant& COleVariant::operator=(BYTE nSrc)
{
    VariantClear(this);
    vt = VT_UI1;
    bVal = nSrc;
    return *this;
}

COleVariant& COleVariant::operator=(short nSrc)
{
    VariantClear(this);
    vt = VT_I2;
    iVal = nSrc;
    return *this;
}

COleVariant& COleVariant::operator=(long lSrc)
{
    VariantClear(this);
    vt = VT_I4;
    lVal = lSrc;
    return *this;
}

COleVariant& COleVariant::operator=(int nSrc) { return *this = (long)nSrc; }

COleVariant& COleVariant::operator=(float fltSrc)
{
    VariantClear(this);
    vt = VT_R4;
    fltVal = fltSrc;
    return *this;
}

COleVariant& COleVariant::operator=(double dblSrc)
{
    VariantClear(this);
    vt = VT_R8;
    dblVal = dblSrc;
    return *this;
}

COleVariant& COleVariant::operator=(const COleDateTime& dateSrc)
{
    VariantClear(this);
    if (dateSrc.GetStatus() == COleDateTime::null) {
        vt = VT_NULL;
    } else if (dateSrc.GetStatus() == COleDateTime::valid) {
        vt = VT_DATE;
        date = dateSrc.m_dt;
    } else {
        vt = VT_ERROR;
        scode = DISP_E_TYPEMISMATCH;
    }
    return *this;
}

void COleVariant::SetString(LPCSTR lpszSrc, VARTYPE vtSrc)
{
    (void)vtSrc;
    *this = lpszSrc;
}

bool COleVariant::operator==(const VARIANT& v) const
{
    if (vt != v.vt)
        return false;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL: return true;
    case VT_BOOL: return (boolVal != 0) == (v.boolVal != 0);
    case VT_UI1:
    case VT_I1: return bVal == v.bVal;
    case VT_I2:
    case VT_UI2: return iVal == v.iVal;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR: return lVal == v.lVal;
    case VT_I8:
    case VT_UI8: return llVal == v.llVal;
    case VT_R4: return fltVal == v.fltVal;
    case VT_R8: return dblVal == v.dblVal;
    case VT_DATE: return date == v.date;
    case VT_CY: return cyVal.int64 == v.cyVal.int64;
    case VT_BSTR: {
        UINT n1 = SysStringByteLen(bstrVal), n2 = SysStringByteLen(v.bstrVal);
        return n1 == n2 && (n1 == 0 || std::memcmp(bstrVal, v.bstrVal, n1) == 0);
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: return punkVal == v.punkVal;
    default: return false;
    }
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& v)
{
    ar << (WORD)v.vt;
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_BOOL: ar << (WORD)v.boolVal; break;
    case VT_UI1:
    case VT_I1: ar << (BYTE)v.bVal; break;
    case VT_I2:
    case VT_UI2: ar << (WORD)v.iVal; break;
    case VT_I4:
    case VT_INT:
    case VT_ERROR: ar << (LONG)v.lVal; break;
    case VT_UI4:
    case VT_UINT: ar << (DWORD)v.ulVal; break;
    case VT_I8: ar << (LONGLONG)v.llVal; break;
    case VT_UI8: ar << (ULONGLONG)v.ullVal; break;
    case VT_R4: ar << v.fltVal; break;
    case VT_R8: ar << v.dblVal; break;
    case VT_DATE: ar << (double)v.date; break;
    case VT_CY: ar << (DWORD)v.cyVal.Lo << (LONG)v.cyVal.Hi; break;
    case VT_BSTR: {
        DWORD nBytes = v.bstrVal ? SysStringByteLen(v.bstrVal) : 0;
        ar << nBytes;
        if (nBytes)
            ar.Write(v.bstrVal, nBytes);
        break;
    }
    default: AfxThrowNotSupportedException();
    }
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& v)
{
    WORD wType;
    ar >> wType;
    VARIANT tmp;
    VariantInit(&tmp);
    tmp.vt = wType;
    switch (wType) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_BOOL: {
        WORD w;
        ar >> w;
        tmp.boolVal = (VARIANT_BOOL)w;
        break;
    }
    case VT_UI1:
    case VT_I1: ar >> tmp.bVal; break;
    case VT_I2:
    case VT_UI2: {
        WORD w;
        ar >> w;
        tmp.iVal = (SHORT)w;
        break;
    }
    case VT_I4:
    case VT_INT:
    case VT_ERROR: {
        LONG l;
        ar >> l;
        tmp.lVal = l;
        break;
    }
    case VT_UI4:
    case VT_UINT: {
        DWORD dw;
        ar >> dw;
        tmp.ulVal = dw;
        break;
    }
    case VT_I8: {
        LONGLONG n;
        ar >> n;
        tmp.llVal = n;
        break;
    }
    case VT_UI8: {
        ULONGLONG n;
        ar >> n;
        tmp.ullVal = n;
        break;
    }
    case VT_R4: ar >> tmp.fltVal; break;
    case VT_R8: ar >> tmp.dblVal; break;
    case VT_DATE: {
        double d;
        ar >> d;
        tmp.date = d;
        break;
    }
    case VT_CY: {
        DWORD lo;
        LONG hi;
        ar >> lo >> hi;
        tmp.cyVal.Lo = lo;
        tmp.cyVal.Hi = hi;
        break;
    }
    case VT_BSTR: {
        DWORD nBytes;
        ar >> nBytes;
        // Read in pieces first, so a damaged count cannot allocate more than
        // the stream holds.
        std::vector<BYTE> bytes;
        const DWORD nChunk = 1u << 20;
        for (DWORD nDone = 0; nDone < nBytes;) {
            DWORD n = nBytes - nDone < nChunk ? nBytes - nDone : nChunk;
            bytes.resize((size_t)nDone + n);
            if (ar.Read(&bytes[nDone], n) != n)
                AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
            nDone += n;
        }
        tmp.bstrVal = SysAllocStringByteLen(bytes.empty() ? "" : reinterpret_cast<LPCSTR>(bytes.data()), nBytes);
        if (!tmp.bstrVal)
            AfxThrowMemoryException();
        break;
    }
    default: AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    }
    v.Clear();
    std::memcpy(static_cast<VARIANT*>(&v), &tmp, sizeof(VARIANT));
    return ar;
}
