// Dialog data exchange and validation.
#include "fx/dialog.h"
#include "fx/app.h"
#include "fx/except.h"
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

// The prompt of a validation failure: the program's string when it has one,
// else the built-in text; %1 and %2 are replaced.
void ShowPrompt(UINT nIDPrompt, LPCSTR lpszDefault, LPCSTR lpsz1 = NULL, LPCSTR lpsz2 = NULL)
{
    CString strFormat;
    if (!strFormat.LoadString(nIDPrompt))
        strFormat = lpszDefault;
    LPCSTR args[2] = {lpsz1 ? lpsz1 : "", lpsz2 ? lpsz2 : ""};
    CString strPrompt;
    AfxFormatStrings(strPrompt, strFormat, args, 2);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
}

const char kParseInt[] = "Please enter an integer.";
const char kParseUInt[] = "Please enter a positive integer.";
const char kParseReal[] = "Please enter a number.";
const char kParseByte[] = "Please enter an integer between 0 and 255.";
const char kIntRange[] = "Please enter an integer between %1 and %2.";
const char kRealRange[] = "Please enter a number between %1 and %2.";
const char kStringSize[] = "Please enter no more than %1 characters.";

bool OnlySpaceLeft(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == '\0';
}

// Whole-text signed and unsigned integer parsing (leading and trailing
// blanks allowed, nothing else).
bool ParseLongLong(const char* psz, long long& value)
{
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    if (*psz == '\0')
        return false;
    errno = 0;
    char* pEnd = NULL;
    value = strtoll(psz, &pEnd, 10);
    return errno == 0 && pEnd != psz && OnlySpaceLeft(pEnd);
}

bool ParseULongLong(const char* psz, unsigned long long& value)
{
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    if (*psz == '\0' || *psz == '-')
        return false;
    errno = 0;
    char* pEnd = NULL;
    value = strtoull(psz, &pEnd, 10);
    return errno == 0 && pEnd != psz && OnlySpaceLeft(pEnd);
}

bool ParseDouble(const char* psz, double& value)
{
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    if (*psz == '\0')
        return false;
    errno = 0;
    char* pEnd = NULL;
    value = strtod(psz, &pEnd);
    return errno == 0 && pEnd != psz && OnlySpaceLeft(pEnd);
}

CString WindowText(HWND hWnd)
{
    CString str;
    CWnd(hWnd).GetWindowText(str);
    return str;
}

// Sets the text only when it differs (a same-text update would flicker and
// reset the caret).
void SetWindowTextIfChanged(HWND hWnd, LPCSTR lpszNew)
{
    if (WindowText(hWnd) != lpszNew)
        ::SetWindowTextA(hWnd, lpszNew);
}

template <class T>
void TextSigned(CDataExchange* pDX, int nIDC, T& value, long long minVal, long long maxVal, UINT nIDPrompt,
                LPCSTR lpszPrompt)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseLongLong(WindowText(hWnd), v) || v < minVal || v > maxVal) {
            ShowPrompt(nIDPrompt, lpszPrompt);
            pDX->Fail();
        }
        value = (T)v;
    } else {
        char sz[32];
        snprintf(sz, sizeof(sz), "%lld", (long long)value);
        SetWindowTextIfChanged(hWnd, sz);
    }
}

template <class T>
void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long maxVal, UINT nIDPrompt, LPCSTR lpszPrompt)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long long v = 0;
        if (!ParseULongLong(WindowText(hWnd), v) || v > maxVal) {
            ShowPrompt(nIDPrompt, lpszPrompt);
            pDX->Fail();
        }
        value = (T)v;
    } else {
        char sz[32];
        snprintf(sz, sizeof(sz), "%llu", (unsigned long long)value);
        SetWindowTextIfChanged(hWnd, sz);
    }
}

template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, const char* pszFormat, bool bReal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[64], szMax[64];
    snprintf(szMin, sizeof(szMin), pszFormat, minVal);
    snprintf(szMax, sizeof(szMax), pszFormat, maxVal);
    if (bReal)
        ShowPrompt(AFX_IDP_PARSE_REAL_RANGE, kRealRange, szMin, szMax);
    else
        ShowPrompt(AFX_IDP_PARSE_INT_RANGE, kIntRange, szMin, szMax);
    pDX->Fail();
}

} // namespace

// ---------------------------------------------------------------------------
// CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == NULL)
        AfxThrowNotSupportedException(); // no such control: a programming error
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate) {
        // A failure while loading the controls: nothing to focus.
    } else if (m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

// ---------------------------------------------------------------------------
// DDX

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWnd);
    else
        SetWindowTextIfChanged(hWnd, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, LPSTR value, int nMaxLen)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if (nMaxLen > 0) {
            int nLen = ::GetWindowTextA(hWnd, value, nMaxLen);
            value[nLen < 0 ? 0 : nLen] = '\0';
        }
    } else {
        SetWindowTextIfChanged(hWnd, value);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextSigned(pDX, nIDC, value, INT_MIN, INT_MAX, AFX_IDP_PARSE_INT, kParseInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX, AFX_IDP_PARSE_INT, kParseInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    TextSigned(pDX, nIDC, value, SHRT_MIN, SHRT_MAX, AFX_IDP_PARSE_INT, kParseInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextUnsigned(pDX, nIDC, value, UINT_MAX, AFX_IDP_PARSE_UINT, kParseUInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    TextUnsigned(pDX, nIDC, value, 0xFFFFFFFFull, AFX_IDP_PARSE_UINT, kParseUInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    TextUnsigned(pDX, nIDC, value, 255, AFX_IDP_PARSE_BYTE, kParseByte);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double d = 0;
        if (!ParseDouble(WindowText(hWnd), d)) {
            ShowPrompt(AFX_IDP_PARSE_REAL, kParseReal);
            pDX->Fail();
        }
        value = d;
    } else {
        char sz[64];
        snprintf(sz, sizeof(sz), "%.*g", DBL_DIG, value);
        SetWindowTextIfChanged(hWnd, sz);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double d = 0;
        if (!ParseDouble(WindowText(hWnd), d) || d > FLT_MAX || d < -FLT_MAX) {
            ShowPrompt(AFX_IDP_PARSE_REAL, kParseReal);
            pDX->Fail();
        }
        value = (float)d;
    } else {
        char sz[64];
        snprintf(sz, sizeof(sz), "%.*g", FLT_DIG, (double)value);
        SetWindowTextIfChanged(hWnd, sz);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageA(hWnd, BM_GETCHECK, 0, 0);
    } else {
        if (value < 0 || value > 2)
            value = 0; // not a check state
        ::SendMessageA(hWnd, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;

    // The group: this button and the following siblings up to the next one
    // with WS_GROUP; only radio buttons count.
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = iButton;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    BOOL bHasEdit = (::GetWindowLongPtrA(hWnd, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST;
    if (pDX->m_bSaveAndValidate) {
        if (bHasEdit) {
            value = WindowText(hWnd);
        } else {
            int nIndex = (int)::SendMessageA(hWnd, CB_GETCURSEL, 0, 0);
            value.Empty();
            if (nIndex != CB_ERR) {
                int nLen = (int)::SendMessageA(hWnd, CB_GETLBTEXTLEN, (WPARAM)nIndex, 0);
                if (nLen > 0) {
                    int nGot = (int)::SendMessageA(hWnd, CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)value.GetBuffer(nLen + 1));
                    value.ReleaseBuffer(nGot == CB_ERR ? 0 : nGot);
                }
            }
        }
    } else {
        // Select the first item starting with the text; an editable combo
        // box shows the text even when no item matches.
        if (::SendMessageA(hWnd, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)value.GetString()) == CB_ERR && bHasEdit)
            SetWindowTextIfChanged(hWnd, value);
    }
}

void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_CBString(pDX, nIDC, value);
        return;
    }
    BOOL bHasEdit = (::GetWindowLongPtrA(hWnd, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST;
    int i = (int)::SendMessageA(hWnd, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)value.GetString());
    if (i >= 0)
        ::SendMessageA(hWnd, CB_SETCURSEL, (WPARAM)i, 0);
    else if (bHasEdit)
        SetWindowTextIfChanged(hWnd, value);
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWnd, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWnd, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nIndex = (int)::SendMessageA(hWnd, LB_GETCURSEL, 0, 0);
        value.Empty();
        if (nIndex != LB_ERR) {
            int nLen = (int)::SendMessageA(hWnd, LB_GETTEXTLEN, (WPARAM)nIndex, 0);
            if (nLen > 0) {
                int nGot = (int)::SendMessageA(hWnd, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)value.GetBuffer(nLen + 1));
                value.ReleaseBuffer(nGot == LB_ERR ? 0 : nGot);
            }
        }
    } else {
        // Not found: nothing selected.
        if (::SendMessageA(hWnd, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)value.GetString()) == LB_ERR)
            ::SendMessageA(hWnd, LB_SETCURSEL, (WPARAM)-1, 0);
    }
}

void AFXAPI DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_LBString(pDX, nIDC, value);
        return;
    }
    int i = (int)::SendMessageA(hWnd, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)value.GetString());
    ::SendMessageA(hWnd, LB_SETCURSEL, (WPARAM)(i >= 0 ? i : -1), 0);
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWnd, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWnd, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ::GetScrollPos(hWnd, SB_CTL);
    else
        ::SetScrollPos(hWnd, SB_CTL, value, TRUE);
}

void AFXAPI DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(hWnd, TBM_GETPOS, 0, 0);
    else
        ::SendMessageA(hWnd, TBM_SETPOS, TRUE, (LPARAM)value);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return; // attached by an earlier exchange
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();
}

// ---------------------------------------------------------------------------
// DDV

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange(pDX, (long long)value, (long long)minVal, (long long)maxVal, "%lld", false);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    CheckRange(pDX, (long long)value, (long long)minVal, (long long)maxVal, "%lld", false);
}

void AFXAPI DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal)
{
    CheckRange(pDX, (long long)value, (long long)minVal, (long long)maxVal, "%lld", false);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange(pDX, (unsigned long long)value, (unsigned long long)minVal, (unsigned long long)maxVal, "%llu", false);
}

void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    CheckRange(pDX, (unsigned long long)value, (unsigned long long)minVal, (unsigned long long)maxVal, "%llu", false);
}

void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    CheckRange(pDX, (unsigned long long)value, (unsigned long long)minVal, (unsigned long long)maxVal, "%llu", false);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, "%g", true);
}

void AFXAPI DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal)
{
    CheckRange(pDX, (double)value, (double)minVal, (double)maxVal, "%g", true);
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            char sz[16];
            snprintf(sz, sizeof(sz), "%d", nChars);
            ShowPrompt(AFX_IDP_PARSE_STRING_SIZE, kStringSize, sz);
            pDX->Fail();
        }
    } else if (pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl) {
        // Limit the edit control of the preceding DDX_Text; a combo box
        // limits its edit part.
        char szClass[16] = "";
        ::GetClassNameA(pDX->m_hWndLastControl, szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, "ComboBox") == 0)
            ::SendMessageA(pDX->m_hWndLastControl, CB_LIMITTEXT, (WPARAM)nChars, 0);
        else
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}
