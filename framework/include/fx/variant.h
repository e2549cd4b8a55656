// fx/variant.h - OLE value types: COleDateTime (a DATE and a status) and
// COleVariant (a VARIANT that owns its contents), with their archive forms.
//
// Archive forms:
// - COleDateTime: LONG status, then the DATE as a double (12 bytes);
// - COleVariant: WORD type, then the value: BYTE for VT_UI1/VT_I1, WORD for
//   VT_I2/VT_UI2/VT_BOOL, 4 bytes for VT_I4/VT_UI4/VT_INT/VT_UINT/VT_ERROR/
//   VT_R4, 8 bytes for VT_R8/VT_DATE/VT_I8/VT_UI8, VT_CY as its low DWORD
//   then high LONG, VT_BSTR as a DWORD byte count and the UTF-16 bytes;
//   nothing for VT_EMPTY/VT_NULL. Other types cannot be stored.
#pragma once

#include "fx/core.h"
#include "fx/string.h"

#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

typedef const VARIANT* LPCVARIANT;

class COleDateTime {
public:
    enum DateTimeStatus {
        error = -1,
        valid = 0,
        invalid = 1,
        null = 2
    };

    static COleDateTime PASCAL GetCurrentTime();

    COleDateTime() noexcept : m_dt(0), m_status(valid) {}
    COleDateTime(DATE dtSrc) noexcept : m_dt(dtSrc), m_status(valid) {}
    COleDateTime(const VARIANT& varSrc);
    COleDateTime(__time64_t timeSrc);
    COleDateTime(const SYSTEMTIME& systimeSrc);
    COleDateTime(const FILETIME& filetimeSrc);
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    DateTimeStatus GetStatus() const noexcept { return m_status; }
    void SetStatus(DateTimeStatus status) noexcept { m_status = status; }

    BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday
    int GetDayOfYear() const; // 1 = January 1st

    operator DATE() const noexcept { return m_dt; }
    COleDateTime& operator=(DATE dtSrc) noexcept
    {
        m_dt = dtSrc;
        m_status = valid;
        return *this;
    }
    COleDateTime& operator=(const VARIANT& varSrc);

    bool operator==(const COleDateTime& date) const noexcept { return m_status == date.m_status && m_dt == date.m_dt; }
    bool operator!=(const COleDateTime& date) const noexcept { return !(*this == date); }
    bool operator<(const COleDateTime& date) const noexcept { return m_dt < date.m_dt; }
    bool operator>(const COleDateTime& date) const noexcept { return m_dt > date.m_dt; }
    bool operator<=(const COleDateTime& date) const noexcept { return m_dt <= date.m_dt; }
    bool operator>=(const COleDateTime& date) const noexcept { return m_dt >= date.m_dt; }

    // Return 0 on success; on invalid values the status becomes invalid and
    // the result is 1.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
    int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

    // The system's date text for the locale (VarBstrFromDate flags).
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    // strftime codes. A null value gives "", an invalid one "Invalid DateTime".
    CString Format(LPCSTR lpszFormat) const;
    CString Format(UINT nFormatID) const;
    // Parses date text with the system's conversion; FALSE (status invalid)
    // when it cannot be read.
    BOOL ParseDateTime(LPCSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    DATE m_dt;
    DateTimeStatus m_status;
};

CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTime& dateSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc);

class COleVariant : public tagVARIANT {
public:
    COleVariant() noexcept { VariantInit(this); }
    COleVariant(const VARIANT& varSrc);
    COleVariant(LPCVARIANT pSrc);
    COleVariant(const COleVariant& varSrc);
    COleVariant(COleVariant&& varSrc) noexcept;
    COleVariant(LPCSTR lpszSrc);        // VT_BSTR (converted through the ANSI code page)
    COleVariant(LPCWSTR lpszSrc);       // VT_BSTR
    COleVariant(const CString& strSrc); // VT_BSTR
    COleVariant(BYTE nSrc);
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2); // VT_I2 or VT_BOOL
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);  // VT_I4, VT_ERROR or VT_BOOL
    COleVariant(int nSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(LONGLONG nSrc);
    COleVariant(float fltSrc);
    COleVariant(double dblSrc);
    COleVariant(const COleDateTime& timeSrc);
    ~COleVariant() { VariantClear(this); }

    void Clear() { VariantClear(this); }
    // Converts in place (or from pSrc); throws COleException* on failure.
    void ChangeType(VARTYPE vartype, LPVARIANT pSrc = NULL);
    void Attach(VARIANT& varSrc);
    VARIANT Detach();

    operator LPVARIANT() noexcept { return this; }
    operator LPCVARIANT() const noexcept { return this; }

    // Assignments throw COleException* or CMemoryException* when the value
    // cannot be copied; the variant is then empty.
    COleVariant& operator=(const VARIANT& varSrc);
    COleVariant& operator=(LPCVARIANT pSrc);
    COleVariant& operator=(const COleVariant& varSrc);
    COleVariant& operator=(COleVariant&& varSrc) noexcept;
    COleVariant& operator=(LPCSTR lpszSrc);
    COleVariant& operator=(LPCWSTR lpszSrc);
    COleVariant& operator=(const CString& strSrc);
    COleVariant& operator=(BYTE nSrc);
    COleVariant& operator=(short nSrc);
    COleVariant& operator=(long lSrc);
    COleVariant& operator=(int nSrc);
    COleVariant& operator=(float fltSrc);
    COleVariant& operator=(double dblSrc);
    COleVariant& operator=(const COleDateTime& dateSrc);

    // Same type and same value (strings compare exactly).
    bool operator==(const VARIANT& varSrc) const;
    bool operator==(LPCVARIANT pSrc) const { return pSrc && *this == *pSrc; }
    bool operator!=(const VARIANT& varSrc) const { return !(*this == varSrc); }

    void SetString(LPCSTR lpszSrc, VARTYPE vtSrc = VT_BSTR);
};

CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& varSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc);
