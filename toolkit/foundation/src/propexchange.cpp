// The property exchange and its registry, INI-file and archive back-ends.
#include <qx/propexchange.h>
#include <qx/profile.h>

#include "internal.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CQXPPropExchange, CCmdTarget)
IMPLEMENT_DYNAMIC(CQXPPropExchangeArchive, CQXPPropExchange)
IMPLEMENT_DYNAMIC(CQXPPropExchangeRegistry, CQXPPropExchange)
IMPLEMENT_DYNAMIC(CQXPPropExchangeIniFile, CQXPPropExchange)

namespace {

const int kZero = 0;

bool IsIntegerCode(VARTYPE vt) { return vt == VT_I2 || vt == VT_I4 || vt == VT_BOOL || vt == VT_UI1; }

// Parses "a, b" / "a, b, c, d" into n integers; FALSE when fewer were read.
BOOL ParseInts(const char* psz, int n, LONG* pOut)
{
    int v[4] = {0, 0, 0, 0};
    int got = n == 2 ? sscanf(psz, "%i, %i", &v[0], &v[1]) : sscanf(psz, "%i, %i, %i, %i", &v[0], &v[1], &v[2], &v[3]);
    if (got < n)
        return FALSE;
    for (int i = 0; i < n; ++i)
        pOut[i] = v[i];
    return TRUE;
}

CString FormatInts(const LONG* p, int n)
{
    CString s;
    if (n == 2)
        s.Format("%i, %i", (int)p[0], (int)p[1]);
    else
        s.Format("%i, %i, %i, %i", (int)p[0], (int)p[1], (int)p[2], (int)p[3]);
    return s;
}

// The value of an integer code as its zero-extended 32-bit number.
DWORD IntegerBits(VARTYPE vt, const void* pValue)
{
    DWORD dw = 0;
    memcpy(&dw, pValue, CQXPPropExchange::GetTypeWidth(vt));
    return dw;
}

void SetIntegerBits(VARTYPE vt, void* pValue, DWORD dw) { memcpy(pValue, &dw, CQXPPropExchange::GetTypeWidth(vt)); }

// Reads the bytes of a binary block from an archive in steps, so that a
// damaged count cannot make us allocate more than the stream really holds.
bool ReadArchiveBlock(CArchive& ar, DWORD_PTR nCount, std::vector<BYTE>& out)
{
    out.clear();
    const DWORD_PTR kStep = 64 * 1024;
    while (out.size() < nCount) {
        size_t nChunk = (size_t)std::min<DWORD_PTR>(kStep, nCount - out.size());
        size_t nOld = out.size();
        out.resize(nOld + nChunk);
        UINT nRead = ar.Read(out.data() + nOld, (UINT)nChunk);
        if (nRead != nChunk) {
            out.clear();
            return false;
        }
    }
    return true;
}

// Hands a block to the caller: a new malloc'ed block when *ppData is NULL,
// else into the caller's block when it is large enough.
BOOL DeliverBlock(const std::vector<BYTE>& data, void** ppData, UINT* pnBytes)
{
    if (*ppData == NULL) {
        void* p = malloc(data.empty() ? 1 : data.size());
        if (!p)
            return FALSE;
        if (!data.empty())
            memcpy(p, data.data(), data.size());
        *ppData = p;
    } else {
        if (*pnBytes < data.size())
            return FALSE;
        if (!data.empty())
            memcpy(*ppData, data.data(), data.size());
    }
    *pnBytes = (UINT)data.size();
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------
// Enumerator

PropExchangeEnumerator::PropExchangeEnumerator(CQXPPropExchange* pPX, LPCSTR lpszPrefix)
    : m_pPX(pPX), m_strPrefix(lpszPrefix), m_nCount(0)
{
}

PropExchangeEnumerator::~PropExchangeEnumerator() {}

POSITION PropExchangeEnumerator::First(DWORD nCount, BOOL bCompact)
{
    if (m_pPX->IsStoring()) {
        m_nCount = nCount;
        if (bCompact) {
            m_pPX->WriteItemCount(nCount);
        } else {
            int n = (int)nCount;
            m_pPX->ExchangeValue("Count", VT_I4, &n, &kZero);
        }
    } else {
        if (bCompact) {
            m_nCount = m_pPX->ReadItemCount();
        } else {
            int n = 0;
            m_pPX->ExchangeValue("Count", VT_I4, &n, &kZero);
            m_nCount = n > 0 ? (DWORD)n : 0;
        }
    }
    return m_nCount ? (POSITION)(INT_PTR)1 : NULL;
}

CQXPPropExchange* PropExchangeEnumerator::Next(POSITION& pos)
{
    INT_PTR i = (INT_PTR)pos - 1;
    if (i < 0 || (DWORD_PTR)i >= m_nCount) {
        pos = NULL;
        return NULL;
    }
    CString name;
    name.Format("%s%i", m_strPrefix.GetString(), (int)i);
    CQXPPropExchange* pSection = m_pPX->OpenSection(name);
    pos = (DWORD_PTR)(i + 1) < m_nCount ? (POSITION)(INT_PTR)(i + 2) : NULL;
    return pSection;
}

// ---------------------------------------------------------------------------
// Base

struct CQXPPropExchange::ObjectArchive {
    CMemFile* pFile;
    void* pBlock;
};

CQXPPropExchange::CQXPPropExchange()
    : m_dwData(0),
      m_dwOwner(0),
      m_bLoading(FALSE),
      m_nSchema(kDefaultSchema),
      m_bSection(FALSE),
      m_bEmptied(FALSE),
      m_bPrepared(FALSE),
      m_bUseDefaultOnLoad(TRUE),
      m_bUseDefaultOnSave(TRUE)
{
}

CQXPPropExchange::~CQXPPropExchange()
{
    // Archives a caller began but never ended.
    for (auto& entry : m_objectArchives) {
        entry.first->Abort();
        delete entry.first;
        if (entry.second->pFile) {
            entry.second->pFile->Abort();
            delete entry.second->pFile;
        }
        free(entry.second->pBlock);
        delete entry.second;
    }
}

UINT AFXAPI CQXPPropExchange::GetTypeWidth(VARTYPE vt)
{
    switch (vt) {
    case VT_I2: return 2;
    case VT_I4:
    case VT_R4:
    case VT_BOOL: return 4;
    case VT_R8:
    case VT_CY:
    case VT_QX_SIZE: return 8;
    case VT_DATE: return 12;
    case VT_UI1: return 1;
    case VT_QX_RECT: return 16;
    default: return 0;
    }
}

BOOL AFXAPI CQXPPropExchange::CopyDefault(VARTYPE vt, void* pDest, const void* pSrc)
{
    if (!pSrc || !pDest)
        return FALSE;
    switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_BOOL:
    case VT_R8:
    case VT_CY:
    case VT_UI1:
    case VT_QX_RECT:
    case VT_QX_SIZE:
        memcpy(pDest, pSrc, GetTypeWidth(vt));
        return TRUE;
    case VT_DATE:
        *static_cast<COleDateTime*>(pDest) = *static_cast<const COleDateTime*>(pSrc);
        return TRUE;
    case VT_BSTR: {
        const wchar_t* psz = *static_cast<const wchar_t* const*>(pSrc);
        *static_cast<wchar_t**>(pDest) = psz ? _wcsdup(psz) : NULL;
        return TRUE;
    }
    case VT_VARIANT:
        try {
            *static_cast<COleVariant*>(pDest) = *static_cast<const COleVariant*>(pSrc);
        } catch (CException* e) {
            e->Delete();
            return FALSE;
        }
        return TRUE;
    case VT_LPSTR:
        *static_cast<CString*>(pDest) = static_cast<LPCSTR>(pSrc);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL AFXAPI CQXPPropExchange::IsSameValue(VARTYPE vt, const void* pValue, const void* pDefault)
{
    if (pValue == pDefault)
        return TRUE;
    if (!pValue || !pDefault)
        return FALSE;
    switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_BOOL:
    case VT_UI1:
    case VT_QX_RECT:
    case VT_QX_SIZE:
        return memcmp(pValue, pDefault, GetTypeWidth(vt)) == 0;
    case VT_DATE: {
        const COleDateTime& a = *static_cast<const COleDateTime*>(pValue);
        const COleDateTime& b = *static_cast<const COleDateTime*>(pDefault);
        if (a.GetStatus() == COleDateTime::valid && b.GetStatus() == COleDateTime::valid)
            return a.m_dt == b.m_dt;
        return a.GetStatus() == COleDateTime::null && b.GetStatus() == COleDateTime::null;
    }
    case VT_BSTR: {
        const wchar_t* a = *static_cast<const wchar_t* const*>(pValue);
        const wchar_t* b = *static_cast<const wchar_t* const*>(pDefault);
        if (!a || !b)
            return a == b;
        return wcscmp(a, b) == 0;
    }
    case VT_VARIANT:
        return *static_cast<const COleVariant*>(pValue) == *static_cast<const VARIANT*>(pDefault);
    case VT_LPSTR:
        return static_cast<const CString*>(pValue)->Compare(static_cast<LPCSTR>(pDefault)) == 0;
    default:
        return FALSE;
    }
}

void CQXPPropExchange::InitSection(CQXPPropExchange* pSection) const
{
    pSection->m_bSection = TRUE;
    pSection->m_nSchema = m_nSchema;
    pSection->m_dwData = m_dwData;
    pSection->m_bEmptied = m_bEmptied;
    pSection->m_bUseDefaultOnLoad = m_bUseDefaultOnLoad;
    pSection->m_bUseDefaultOnSave = m_bUseDefaultOnSave;
}

BOOL CQXPPropExchange::ExchangeBinary(LPCSTR lpszName, void** ppData, UINT* pnBytes)
{
    if (!ppData || !pnBytes)
        return FALSE;
    if (IsStoring()) {
        std::string text = qx::detail::EncodeLetters(static_cast<const BYTE*>(*ppData), *ppData ? *pnBytes : 0);
        CString s(text.c_str());
        return ExchangeValue(lpszName, VT_LPSTR, &s, "");
    }
    CString s;
    if (!ExchangeValue(lpszName, VT_LPSTR, &s, NULL) || s.IsEmpty())
        return FALSE;
    std::vector<BYTE> data;
    if (!qx::detail::DecodeLetters(s.GetString(), (size_t)s.GetLength(), data))
        return FALSE;
    return DeliverBlock(data, ppData, pnBytes);
}

BOOL CQXPPropExchange::ExchangeClassName(LPCSTR lpszName, CRuntimeClass** ppClass, CRuntimeClass* pDefault)
{
    if (!ppClass)
        return FALSE;
    if (IsStoring()) {
        CRuntimeClass* pClass = *ppClass ? *ppClass : pDefault;
        if (!pClass)
            return FALSE;
        CString name(pClass->m_lpszClassName);
        return ExchangeValue(lpszName, VT_LPSTR, &name, pDefault ? pDefault->m_lpszClassName : NULL);
    }
    CString name;
    ExchangeValue(lpszName, VT_LPSTR, &name, NULL);
    if (name.IsEmpty()) {
        *ppClass = pDefault;
        return pDefault != NULL;
    }
    CRuntimeClass* pClass = CRuntimeClass::FromName(name.GetString());
    if (!pClass)
        return FALSE;
    *ppClass = pClass;
    return TRUE;
}

BOOL CQXPPropExchange::ExchangeInstance(CObject** ppObject, CRuntimeClass* pExpected)
{
    if (!ppObject)
        return FALSE;
    if (IsStoring()) {
        if (!*ppObject)
            return FALSE;
        CRuntimeClass* pClass = (*ppObject)->GetRuntimeClass();
        ExchangeClassName("Class", &pClass, pExpected);
        return TRUE;
    }
    CRuntimeClass* pClass = NULL;
    if (!ExchangeClassName("Class", &pClass, pExpected) || !pClass)
        return FALSE;
    CObject* pObject = pClass->CreateObject();
    if (!pObject)
        return FALSE;
    if (pExpected && !pObject->IsKindOf(pExpected)) {
        delete pObject;
        return FALSE;
    }
    *ppObject = pObject;
    return TRUE;
}

CArchive* CQXPPropExchange::BeginObjectArchive(LPCSTR lpszName)
{
    ObjectArchive* pState = new ObjectArchive{NULL, NULL};
    CArchive* pArchive = NULL;
    try {
        if (IsLoading()) {
            void* pBlock = NULL;
            UINT nBytes = 0;
            if (!ExchangeBinary(lpszName, &pBlock, &nBytes) || nBytes == 0) {
                free(pBlock);
                delete pState;
                return NULL;
            }
            pState->pBlock = pBlock;
            pState->pFile = new CMemFile(static_cast<BYTE*>(pBlock), nBytes);
            pArchive = new CArchive(pState->pFile, CArchive::load, 4096);
        } else {
            pState->pFile = new CMemFile(1024);
            pArchive = new CArchive(pState->pFile, CArchive::store, 4096);
        }
    } catch (CException* e) {
        e->Delete();
        delete pState->pFile;
        free(pState->pBlock);
        delete pState;
        return NULL;
    }
    m_objectArchives[pArchive] = pState;
    return pArchive;
}

void CQXPPropExchange::EndObjectArchive(LPCSTR lpszName, CArchive* pArchive)
{
    auto it = m_objectArchives.find(pArchive);
    if (it == m_objectArchives.end())
        return;
    ObjectArchive* pState = it->second;
    m_objectArchives.erase(it);
    if (pArchive->IsStoring()) {
        try {
            pArchive->Flush();
            UINT nBytes = (UINT)pState->pFile->GetLength();
            void* pData = const_cast<BYTE*>(pState->pFile->GetData());
            ExchangeBinary(lpszName, &pData, &nBytes);
        } catch (CException* e) {
            e->Delete();
        }
    }
    pArchive->Abort();
    delete pArchive;
    pState->pFile->Abort();
    delete pState->pFile;
    free(pState->pBlock);
    delete pState;
}

void CQXPPropExchange::ClearSection() { m_bEmptied = TRUE; }

void CQXPPropExchange::WriteItemCount(DWORD dwCount)
{
    int n = (int)dwCount;
    ExchangeValue("Count", VT_I4, &n, &kZero);
}

DWORD CQXPPropExchange::ReadItemCount()
{
    int n = 0;
    ExchangeValue("Count", VT_I4, &n, &kZero);
    return n > 0 ? (DWORD)n : 0;
}

void CQXPPropExchange::WriteBytes(LPCSTR lpszName, const BYTE* pData, UINT nBytes)
{
    void* p = const_cast<BYTE*>(pData);
    ExchangeBinary(lpszName, &p, &nBytes);
}

UINT CQXPPropExchange::ReadBytes(LPCSTR lpszName, BYTE* pData, UINT nBytes)
{
    if (!pData)
        return 0;
    void* p = pData;
    UINT n = nBytes;
    return ExchangeBinary(lpszName, &p, &n) ? n : 0;
}

BOOL CQXPPropExchange::CanSkipDefaults() const { return TRUE; }
BOOL CQXPPropExchange::PrefersBinary() const { return FALSE; }

BOOL CQXPPropExchange::Prepare()
{
    m_bPrepared = TRUE;
    return TRUE;
}

PropExchangeEnumerator* CQXPPropExchange::OpenEnumerator(LPCSTR lpszPrefix)
{
    return new PropExchangeEnumerator(this, lpszPrefix);
}

void CQXPPropExchange::SchemaProp()
{
    int n = (int)m_nSchema;
    const int nDefault = (int)kDefaultSchema;
    ExchangeValue("Schema", VT_I4, &n, &nDefault);
    m_nSchema = (UINT)n;
}

// ---------------------------------------------------------------------------
// Archive back-end

CQXPPropExchangeArchive::CQXPPropExchangeArchive(CArchive& ar) : m_ar(ar)
{
    m_bLoading = ar.IsLoading();
}

BOOL CQXPPropExchangeArchive::ExchangeValue(LPCSTR, VARTYPE vt, void* pValue, const void*)
{
    if (!Prepare())
        return FALSE;
    if (!pValue)
        return vt == VT_BSTR || GetTypeWidth(vt) == 0 ? TRUE : FALSE;
    if (m_bLoading) {
        switch (vt) {
        case VT_I2: {
            WORD w;
            m_ar >> w;
            *static_cast<short*>(pValue) = (short)w;
            break;
        }
        case VT_I4:
        case VT_BOOL: {
            LONG l;
            m_ar >> l;
            *static_cast<LONG*>(pValue) = l;
            break;
        }
        case VT_R4: m_ar >> *static_cast<float*>(pValue); break;
        case VT_R8: m_ar >> *static_cast<double*>(pValue); break;
        case VT_CY: {
            DWORD lo;
            LONG hi;
            m_ar >> lo >> hi;
            static_cast<CURRENCY*>(pValue)->Lo = lo;
            static_cast<CURRENCY*>(pValue)->Hi = hi;
            break;
        }
        case VT_DATE: m_ar >> *static_cast<COleDateTime*>(pValue); break;
        case VT_VARIANT: m_ar >> *static_cast<COleVariant*>(pValue); break;
        case VT_UI1: m_ar >> *static_cast<BYTE*>(pValue); break;
        case VT_LPSTR: m_ar >> *static_cast<CString*>(pValue); break;
        case VT_QX_RECT: m_ar >> *static_cast<RECT*>(pValue); break;
        case VT_QX_SIZE: m_ar >> *static_cast<SIZE*>(pValue); break;
        default: break; // not carried by the archive
        }
    } else {
        switch (vt) {
        case VT_I2: m_ar << (WORD) * static_cast<const short*>(pValue); break;
        case VT_I4:
        case VT_BOOL: m_ar << *static_cast<const LONG*>(pValue); break;
        case VT_R4: m_ar << *static_cast<const float*>(pValue); break;
        case VT_R8: m_ar << *static_cast<const double*>(pValue); break;
        case VT_CY: {
            const CURRENCY* cy = static_cast<const CURRENCY*>(pValue);
            m_ar << (DWORD)cy->Lo << (LONG)cy->Hi;
            break;
        }
        case VT_DATE: m_ar << *static_cast<const COleDateTime*>(pValue); break;
        case VT_VARIANT: m_ar << *static_cast<const COleVariant*>(pValue); break;
        case VT_UI1: m_ar << *static_cast<const BYTE*>(pValue); break;
        case VT_LPSTR: m_ar << *static_cast<const CString*>(pValue); break;
        case VT_QX_RECT: m_ar << *static_cast<const RECT*>(pValue); break;
        case VT_QX_SIZE: m_ar << *static_cast<const SIZE*>(pValue); break;
        default: break;
        }
    }
    return TRUE;
}

BOOL CQXPPropExchangeArchive::ExchangeBinary(LPCSTR, void** ppData, UINT* pnBytes)
{
    if (!ppData || !pnBytes)
        return FALSE;
    if (!m_bLoading) {
        UINT n = *ppData ? *pnBytes : 0;
        m_ar.WriteCount(n);
        if (n)
            m_ar.Write(*ppData, n);
        return TRUE;
    }
    DWORD_PTR nCount = m_ar.ReadCount();
    if (*ppData && *pnBytes < nCount)
        return FALSE;
    std::vector<BYTE> data;
    if (!ReadArchiveBlock(m_ar, nCount, data))
        return FALSE;
    return DeliverBlock(data, ppData, pnBytes);
}

BOOL CQXPPropExchangeArchive::ExchangeClassName(LPCSTR, CRuntimeClass** ppClass, CRuntimeClass* pDefault)
{
    if (!ppClass)
        return FALSE;
    if (!m_bLoading) {
        CRuntimeClass* pClass = *ppClass ? *ppClass : pDefault;
        if (!pClass)
            return FALSE;
        m_ar.WriteClass(pClass);
        return TRUE;
    }
    UINT nSchema = m_nSchema;
    CRuntimeClass* pClass = m_ar.ReadClass(pDefault, &nSchema);
    if (!pClass)
        return FALSE;
    m_nSchema = nSchema;
    *ppClass = pClass;
    return TRUE;
}

BOOL CQXPPropExchangeArchive::ExchangeInstance(CObject** ppObject, CRuntimeClass* pExpected)
{
    if (!CQXPPropExchange::ExchangeInstance(ppObject, pExpected))
        return FALSE;
    m_ar.MapObject(*ppObject);
    return TRUE;
}

CArchive* CQXPPropExchangeArchive::BeginObjectArchive(LPCSTR) { return &m_ar; }
void CQXPPropExchangeArchive::EndObjectArchive(LPCSTR, CArchive*) {}

CQXPPropExchange* CQXPPropExchangeArchive::OpenSection(LPCSTR)
{
    Prepare();
    CQXPPropExchangeArchive* pSection = new CQXPPropExchangeArchive(m_ar);
    InitSection(pSection);
    return pSection;
}

void CQXPPropExchangeArchive::WriteItemCount(DWORD dwCount) { m_ar.WriteCount(dwCount); }
DWORD CQXPPropExchangeArchive::ReadItemCount() { return (DWORD)m_ar.ReadCount(); }

void CQXPPropExchangeArchive::WriteBytes(LPCSTR, const BYTE* pData, UINT nBytes)
{
    if (nBytes)
        m_ar.Write(pData, nBytes);
}

UINT CQXPPropExchangeArchive::ReadBytes(LPCSTR, BYTE* pData, UINT nBytes) { return m_ar.Read(pData, nBytes); }

void CQXPPropExchangeArchive::SchemaProp()
{
    if (!m_bLoading) {
        m_ar << (DWORD)kArchiveSchemaMarker << (DWORD)m_nSchema;
        return;
    }
    BYTE peek[4];
    DWORD dwMarker = 0;
    if (m_ar.Peek(peek, sizeof(peek)))
        memcpy(&dwMarker, peek, sizeof(dwMarker));
    if (dwMarker == kArchiveSchemaMarker) {
        DWORD dwSchema = 0;
        m_ar >> dwMarker >> dwSchema;
        m_nSchema = dwSchema;
    } else {
        m_nSchema = kUnmarkedArchiveSchema;
    }
}

// ---------------------------------------------------------------------------
// Registry back-end

CQXPPropExchangeRegistry::CQXPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCSTR lpszSection)
    : m_hSectionKey(NULL), m_hParentKey(hParentKey), m_strSection(lpszSection), m_bCloseParentKey(FALSE)
{
    m_bLoading = bLoading;
    if (!m_hParentKey) {
        CQXProfileStore store(HKEY_CURRENT_USER);
        m_hParentKey = store.OpenProfileKey(KEY_READ | KEY_WRITE);
        m_bCloseParentKey = m_hParentKey != NULL;
    }
}

CQXPPropExchangeRegistry::~CQXPPropExchangeRegistry()
{
    if (m_hSectionKey)
        ::RegCloseKey(m_hSectionKey);
    if (m_bCloseParentKey && m_hParentKey)
        ::RegCloseKey(m_hParentKey);
}

BOOL CQXPPropExchangeRegistry::Prepare()
{
    if (!m_hParentKey)
        return FALSE;
    if (!m_bPrepared) {
        m_bPrepared = TRUE;
        // Loading may create the section too; its children need the right to
        // create their keys below it.
        REGSAM sam = m_bLoading ? (KEY_READ | KEY_CREATE_SUB_KEY) : (KEY_READ | KEY_WRITE);
        HKEY hKey = NULL;
        if (::RegCreateKeyExA(m_hParentKey, m_strSection, 0, NULL, REG_OPTION_NON_VOLATILE, sam, NULL, &hKey, NULL) ==
            ERROR_SUCCESS)
            m_hSectionKey = hKey;
    }
    return m_hSectionKey != NULL;
}

BOOL CQXPPropExchangeRegistry::ExchangeValue(LPCSTR lpszName, VARTYPE vt, void* pValue, const void* pDefault)
{
    if (!pValue)
        return FALSE;
    const bool bSupported = IsIntegerCode(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_LPSTR || vt == VT_QX_RECT ||
                            vt == VT_QX_SIZE;
    if (m_bLoading) {
        const void* pDef = m_bUseDefaultOnLoad ? pDefault : NULL;
        if (!Prepare())
            return CopyDefault(vt, pValue, pDef);
        if (!bSupported)
            return FALSE;
        DWORD dwType = 0;
        std::vector<BYTE> data;
        LONG r = qx::detail::QueryValue(m_hSectionKey, lpszName, dwType, data);
        if (IsIntegerCode(vt)) {
            // A value of another type or size is damaged: take the default.
            if (r != ERROR_SUCCESS || dwType != REG_DWORD || data.size() != sizeof(DWORD))
                return CopyDefault(vt, pValue, pDef);
            DWORD dw;
            memcpy(&dw, data.data(), sizeof(dw));
            SetIntegerBits(vt, pValue, dw);
            return TRUE;
        }
        if (vt == VT_R4 || vt == VT_R8) {
            if (r != ERROR_SUCCESS || dwType != REG_BINARY || data.size() != GetTypeWidth(vt))
                return CopyDefault(vt, pValue, pDef);
            memcpy(pValue, data.data(), data.size());
            return TRUE;
        }
        if (r != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
            return CopyDefault(vt, pValue, pDef);
        std::string text = qx::detail::RegText(data);
        if (vt == VT_LPSTR) {
            *static_cast<CString*>(pValue) = text.c_str();
            return TRUE;
        }
        LONG v[4];
        int n = vt == VT_QX_RECT ? 4 : 2;
        if (!ParseInts(text.c_str(), n, v))
            return CopyDefault(vt, pValue, pDef);
        memcpy(pValue, v, n * sizeof(LONG));
        return TRUE;
    }

    const void* pDef = m_bUseDefaultOnSave ? pDefault : NULL;
    if (!Prepare())
        return FALSE;
    if (!bSupported)
        return FALSE;
    if (pDef && IsSameValue(vt, pValue, pDef)) {
        if (m_hSectionKey && !m_bEmptied)
            ::RegDeleteValueA(m_hSectionKey, lpszName);
        return TRUE;
    }
    LONG r;
    if (IsIntegerCode(vt)) {
        DWORD dw = IntegerBits(vt, pValue);
        r = ::RegSetValueExA(m_hSectionKey, lpszName, 0, REG_DWORD, (const BYTE*)&dw, sizeof(dw));
    } else if (vt == VT_R4 || vt == VT_R8) {
        r = ::RegSetValueExA(m_hSectionKey, lpszName, 0, REG_BINARY, (const BYTE*)pValue, GetTypeWidth(vt));
    } else {
        CString text = vt == VT_LPSTR ? *static_cast<const CString*>(pValue)
                                      : FormatInts(static_cast<const LONG*>(pValue), vt == VT_QX_RECT ? 4 : 2);
        r = ::RegSetValueExA(m_hSectionKey, lpszName, 0, REG_SZ, (const BYTE*)text.GetString(),
                             (DWORD)text.GetLength() + 1);
    }
    return r == ERROR_SUCCESS;
}

BOOL CQXPPropExchangeRegistry::ExchangeBinary(LPCSTR lpszName, void** ppData, UINT* pnBytes)
{
    if (!ppData || !pnBytes || !Prepare())
        return FALSE;
    if (!m_bLoading) {
        UINT n = *ppData ? *pnBytes : 0;
        return ::RegSetValueExA(m_hSectionKey, lpszName, 0, REG_BINARY, (const BYTE*)*ppData, n) == ERROR_SUCCESS;
    }
    DWORD dwType = 0;
    std::vector<BYTE> data;
    if (qx::detail::QueryValue(m_hSectionKey, lpszName, dwType, data) != ERROR_SUCCESS || dwType != REG_BINARY)
        return FALSE;
    return DeliverBlock(data, ppData, pnBytes);
}

CQXPPropExchange* CQXPPropExchangeRegistry::OpenSection(LPCSTR lpszName)
{
    Prepare();
    CQXPPropExchangeRegistry* pSection = new CQXPPropExchangeRegistry(m_bLoading, m_hSectionKey, lpszName);
    InitSection(pSection);
    return pSection;
}

void CQXPPropExchangeRegistry::ClearSection()
{
    m_bEmptied = TRUE;
    if (m_hSectionKey) {
        ::RegCloseKey(m_hSectionKey);
        m_hSectionKey = NULL;
    }
    if (m_hParentKey) {
        if (m_strSection.IsEmpty()) {
            // The section is the parent key itself: empty it, keep the key.
            HKEY hKey = NULL;
            if (::RegOpenKeyExA(m_hParentKey, NULL, 0, KEY_READ | KEY_WRITE, &hKey) == ERROR_SUCCESS) {
                char szName[513];
                for (;;) {
                    DWORD cch = sizeof(szName);
                    if (::RegEnumKeyExA(hKey, 0, szName, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS ||
                        qx::detail::DeleteKeyTree(hKey, szName) != ERROR_SUCCESS)
                        break;
                }
                for (;;) {
                    DWORD cch = sizeof(szName);
                    if (::RegEnumValueA(hKey, 0, szName, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS ||
                        ::RegDeleteValueA(hKey, szName) != ERROR_SUCCESS)
                        break;
                }
                ::RegCloseKey(hKey);
            }
        } else {
            qx::detail::DeleteKeyTree(m_hParentKey, m_strSection);
        }
    }
    m_bPrepared = FALSE;
}

// ---------------------------------------------------------------------------
// INI-file back-end

CQXPPropExchangeIniFile::CQXPPropExchangeIniFile(BOOL bLoading, LPCSTR lpszParentSection, LPCSTR lpszSection)
    : m_bTempFile(TRUE)
{
    m_bLoading = bLoading;
    m_bEmptied = TRUE;
    if (lpszParentSection) {
        m_strSection = lpszParentSection;
        m_strSection += "\\";
        m_strSection += lpszSection;
    } else {
        m_strSection = lpszSection;
    }
}

CQXPPropExchangeIniFile::~CQXPPropExchangeIniFile()
{
    if (!m_bSection && !m_strFile.IsEmpty() && m_bTempFile)
        ::DeleteFileA(m_strFile);
}

void CQXPPropExchangeIniFile::AssignFile(LPCSTR lpszFile)
{
    m_strFile = lpszFile;
    m_bTempFile = FALSE;
    m_bEmptied = FALSE;
}

BOOL CQXPPropExchangeIniFile::Prepare()
{
    if (!m_bPrepared) {
        m_bPrepared = TRUE;
        if (m_strFile.IsEmpty()) {
            char szDir[MAX_PATH], szFile[MAX_PATH];
            if (::GetTempPathA(MAX_PATH, szDir) && ::GetTempFileNameA(szDir, "qxp", 0, szFile)) {
                m_strFile = szFile;
                m_bTempFile = TRUE;
            }
        }
    }
    return !m_strFile.IsEmpty();
}

CString AFXAPI CQXPPropExchangeIniFile::EscapeText(LPCSTR lpsz)
{
    CString out;
    for (const char* p = lpsz; p && *p; ++p) {
        switch (*p) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += *p; break;
        }
    }
    return out;
}

CString AFXAPI CQXPPropExchangeIniFile::UnescapeText(LPCSTR lpsz)
{
    CString s(lpsz);
    if (s.Find('\\') < 0)
        return s;
    s.Replace("\\\\", "\x01\x01");
    s.Replace("\\n", "\n");
    s.Replace("\\r", "\r");
    s.Replace("\\t", "\t");
    s.Replace("\x01\x01", "\\");
    return s;
}

CString AFXAPI CQXPPropExchangeIniFile::FormatDate(const COleDateTime& date)
{
    CString s;
    SYSTEMTIME st;
    if (!::VariantTimeToSystemTime(date.m_dt, &st))
        return s;
    double dDay = date.m_dt < 0 ? -date.m_dt : date.m_dt;
    long nDay = (long)dDay;
    bool bTime = dDay - (double)nDay != 0.0;
    if (nDay != 0 && !bTime)
        s.Format("%04u-%02u-%02u", st.wYear, st.wDay, st.wMonth);
    else if (nDay != 0)
        s.Format("%04u-%02u-%02uT%02u:%02u:%02u", st.wYear, st.wDay, st.wMonth, st.wHour, st.wMinute, st.wSecond);
    else
        s.Format("%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
    return s;
}

BOOL AFXAPI CQXPPropExchangeIniFile::ParseDate(LPCSTR lpsz, COleDateTime& date)
{
    if (!lpsz)
        return FALSE;
    unsigned short f[6] = {0, 0, 0, 0, 0, 0};
    int n = sscanf(lpsz, "%hu-%hu-%huT%hu:%hu:%hu", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]);
    if (n == 3 || n == 5 || n == 6) {
        SYSTEMTIME st;
        ZeroMemory(&st, sizeof(st));
        st.wYear = f[0];
        st.wDay = f[1];
        st.wMonth = f[2];
        st.wHour = f[3];
        st.wMinute = f[4];
        st.wSecond = f[5];
        double dt = 0;
        if (!::SystemTimeToVariantTime(&st, &dt))
            return FALSE;
        date = dt;
        return TRUE;
    }
    unsigned short t[3] = {0, 0, 0};
    n = sscanf(lpsz, "%hu:%hu:%hu", &t[0], &t[1], &t[2]);
    if (n == 2 || n == 3) {
        date = ((double)t[0] * 3600.0 + (double)t[1] * 60.0 + (double)t[2]) / 86400.0;
        return TRUE;
    }
    return FALSE;
}

BOOL CQXPPropExchangeIniFile::ExchangeValue(LPCSTR lpszName, VARTYPE vt, void* pValue, const void* pDefault)
{
    if (!pValue)
        return FALSE;
    const bool bSupported = IsIntegerCode(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_DATE || vt == VT_VARIANT ||
                            vt == VT_LPSTR || vt == VT_QX_RECT || vt == VT_QX_SIZE;
    if (m_bLoading) {
        const void* pDef = m_bUseDefaultOnLoad ? pDefault : NULL;
        if (!Prepare())
            return CopyDefault(vt, pValue, pDef);
        if (!bSupported)
            return FALSE;
        std::vector<char> buf(256);
        DWORD n = ::GetPrivateProfileStringA(m_strSection, lpszName, "", buf.data(), (DWORD)buf.size(), m_strFile);
        if (n == 255) {
            buf.assign(16000, 0);
            n = ::GetPrivateProfileStringA(m_strSection, lpszName, "", buf.data(), (DWORD)buf.size(), m_strFile);
        }
        if (n == 0 || !buf[0])
            return CopyDefault(vt, pValue, pDef);
        const char* psz = buf.data();
        switch (vt) {
        case VT_I2:
        case VT_I4:
        case VT_BOOL:
        case VT_UI1: {
            // Text that is no number is damaged: take the default.
            char* pEnd = NULL;
            long long v = strtoll(psz, &pEnd, 10);
            while (*pEnd == ' ' || *pEnd == '\t')
                pEnd++;
            if (pEnd == psz || *pEnd)
                return CopyDefault(vt, pValue, pDef);
            SetIntegerBits(vt, pValue, (DWORD)v);
            return TRUE;
        }
        case VT_R4:
            *static_cast<float*>(pValue) = (float)atof(psz);
            return TRUE;
        case VT_R8:
            *static_cast<double*>(pValue) = atof(psz);
            return TRUE;
        case VT_DATE: {
            COleDateTime date;
            if (!ParseDate(psz, date))
                return FALSE;
            *static_cast<COleDateTime*>(pValue) = date;
            return TRUE;
        }
        case VT_VARIANT: {
            COleDateTime date;
            try {
                if (ParseDate(psz, date))
                    *static_cast<COleVariant*>(pValue) = date;
                else
                    *static_cast<COleVariant*>(pValue) = psz;
            } catch (CException* e) {
                e->Delete();
                return FALSE;
            }
            return TRUE;
        }
        case VT_LPSTR:
            *static_cast<CString*>(pValue) = UnescapeText(psz);
            return TRUE;
        default: {
            LONG v[4];
            int nInts = vt == VT_QX_RECT ? 4 : 2;
            if (!ParseInts(psz, nInts, v))
                return CopyDefault(vt, pValue, pDef);
            memcpy(pValue, v, nInts * sizeof(LONG));
            return TRUE;
        }
        }
    }

    const void* pDef = m_bUseDefaultOnSave ? pDefault : NULL;
    if (!Prepare() || !bSupported)
        return FALSE;
    if (pDef && IsSameValue(vt, pValue, pDef)) {
        if (!m_bEmptied)
            ::WritePrivateProfileStringA(m_strSection, lpszName, NULL, m_strFile);
        return TRUE;
    }
    CString text;
    switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_UI1:
        text.Format("%i", (int)IntegerBits(vt, pValue));
        break;
    case VT_R4:
        text.Format("%g", (double)*static_cast<const float*>(pValue));
        break;
    case VT_R8:
        text.Format("%g", *static_cast<const double*>(pValue));
        break;
    case VT_DATE:
        text = FormatDate(*static_cast<const COleDateTime*>(pValue));
        if (text.IsEmpty())
            return FALSE;
        break;
    case VT_VARIANT: {
        const VARIANT* pVar = static_cast<const VARIANT*>(pValue);
        if (pVar->vt == VT_DATE) {
            text = FormatDate(COleDateTime(pVar->date));
            if (text.IsEmpty())
                return FALSE;
        } else {
            VARIANT v;
            ::VariantInit(&v);
            if (FAILED(::VariantChangeTypeEx(&v, const_cast<VARIANT*>(pVar), 0, 0, VT_BSTR)))
                return FALSE;
            text = CString(v.bstrVal ? v.bstrVal : L"");
            ::VariantClear(&v);
        }
        break;
    }
    case VT_LPSTR:
        text = EscapeText(*static_cast<const CString*>(pValue));
        break;
    default:
        text = FormatInts(static_cast<const LONG*>(pValue), vt == VT_QX_RECT ? 4 : 2);
        break;
    }
    return ::WritePrivateProfileStringA(m_strSection, lpszName, text, m_strFile);
}

CQXPPropExchange* CQXPPropExchangeIniFile::OpenSection(LPCSTR lpszName)
{
    Prepare();
    CQXPPropExchangeIniFile* pSection = new CQXPPropExchangeIniFile(m_bLoading, m_strSection, lpszName);
    pSection->m_strFile = m_strFile;
    pSection->m_bTempFile = m_bTempFile;
    InitSection(pSection);
    return pSection;
}

void CQXPPropExchangeIniFile::ClearSection()
{
    if (m_bEmptied || m_strSection.IsEmpty())
        return;
    m_bEmptied = TRUE;
    if (!Prepare())
        return;
    std::vector<char> names(8000);
    for (;;) {
        DWORD n = ::GetPrivateProfileSectionNamesA(names.data(), (DWORD)names.size(), m_strFile);
        if (n + 2 < names.size())
            break;
        names.assign(names.size() * 2, 0);
    }
    const CString prefix = m_strSection + "\\";
    std::vector<CString> doomed;
    for (const char* p = names.data(); *p; p += strlen(p) + 1) {
        CString name(p);
        if (name == m_strSection || strncmp(p, prefix.GetString(), (size_t)prefix.GetLength()) == 0)
            doomed.push_back(name);
    }
    for (const CString& name : doomed)
        ::WritePrivateProfileStringA(name, NULL, NULL, m_strFile);
}

// ---------------------------------------------------------------------------
// Section holder

PropExchangeSectionPtr::PropExchangeSectionPtr(CQXPPropExchange* pParent, LPCSTR lpszSection)
    : m_pPX(pParent ? pParent->OpenSection(lpszSection) : NULL)
{
}

void PropExchangeSectionPtr::Release()
{
    if (m_pPX) {
        m_pPX->InternalRelease();
        m_pPX = NULL;
    }
}

CQXPPropExchange* PropExchangeSectionPtr::OpenProfile(BOOL bLoading, LPCSTR lpszSection)
{
    Release();
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pszRegistryKey && *pApp->m_pszRegistryKey) {
        m_pPX = new CQXPPropExchangeRegistry(bLoading, NULL, lpszSection);
    } else {
        CQXPPropExchangeIniFile* pIni = new CQXPPropExchangeIniFile(bLoading, NULL, lpszSection);
        if (pApp && pApp->m_pszProfileName)
            pIni->AssignFile(pApp->m_pszProfileName);
        m_pPX = pIni;
    }
    return m_pPX;
}

// ---------------------------------------------------------------------------
// Typed shorthands

BOOL AFXAPI ExchangeByteProp(CQXPPropExchange* pPX, LPCSTR lpszName, BYTE* pValue, BYTE nDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_UI1, pValue, &nDefault) : FALSE;
}
BOOL AFXAPI ExchangeShortProp(CQXPPropExchange* pPX, LPCSTR lpszName, short* pValue, short nDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_I2, pValue, &nDefault) : FALSE;
}
BOOL AFXAPI ExchangeIntProp(CQXPPropExchange* pPX, LPCSTR lpszName, int* pValue, int nDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_I4, pValue, &nDefault) : FALSE;
}
BOOL AFXAPI ExchangeIntProp(CQXPPropExchange* pPX, LPCSTR lpszName, long* pValue, long nDefault)
{
    static_assert(sizeof(long) == 4, "long is 32 bits on Windows");
    return pPX ? pPX->ExchangeValue(lpszName, VT_I4, pValue, &nDefault) : FALSE;
}
BOOL AFXAPI ExchangeIntProp(CQXPPropExchange* pPX, LPCSTR lpszName, UINT* pValue, UINT nDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_I4, pValue, &nDefault) : FALSE;
}
BOOL AFXAPI ExchangeIntPropNoDefault(CQXPPropExchange* pPX, LPCSTR lpszName, int* pValue)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_I4, pValue, NULL) : FALSE;
}
BOOL AFXAPI ExchangeBoolProp(CQXPPropExchange* pPX, LPCSTR lpszName, BOOL* pValue, BOOL bDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_BOOL, pValue, &bDefault) : FALSE;
}
BOOL AFXAPI ExchangeTextProp(CQXPPropExchange* pPX, LPCSTR lpszName, CString* pValue)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_LPSTR, pValue, NULL) : FALSE;
}
BOOL AFXAPI ExchangeTextPropDefault(CQXPPropExchange* pPX, LPCSTR lpszName, CString* pValue, LPCSTR lpszDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_LPSTR, pValue, lpszDefault) : FALSE;
}
BOOL AFXAPI ExchangeSizeProp(CQXPPropExchange* pPX, LPCSTR lpszName, SIZE* pValue, SIZE sizeDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_QX_SIZE, pValue, &sizeDefault) : FALSE;
}
BOOL AFXAPI ExchangeRectProp(CQXPPropExchange* pPX, LPCSTR lpszName, RECT* pValue, RECT rcDefault)
{
    return pPX ? pPX->ExchangeValue(lpszName, VT_QX_RECT, pValue, &rcDefault) : FALSE;
}
BOOL AFXAPI ExchangeBlobProp(CQXPPropExchange* pPX, LPCSTR lpszName, void** ppData, UINT* pnBytes)
{
    return pPX ? pPX->ExchangeBinary(lpszName, ppData, pnBytes) : FALSE;
}

BOOL AFXAPI ExchangeObjectProp(CQXPPropExchange* pPX, LPCSTR lpszName, CObject* pObject)
{
    if (!pPX || !pObject)
        return FALSE;
    CArchive* pArchive = pPX->BeginObjectArchive(lpszName);
    if (!pArchive)
        return FALSE;
    BOOL bOk = TRUE;
    try {
        pObject->Serialize(*pArchive);
    } catch (CArchiveException* e) {
        e->Delete();
        bOk = FALSE;
    } catch (COleException* e) {
        e->Delete();
        bOk = FALSE;
    }
    pPX->EndObjectArchive(lpszName, pArchive);
    return bOk;
}
