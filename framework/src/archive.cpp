// CArchive and the stored form of run-time classes.
#include "fx/archive.h"
#include "fx/codepage.h"
#include "fx/except.h"
#include "fx/file.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

namespace {

const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;

// Longest class name accepted in a stored class record.
const UINT nMaxClassName = 64;

// Strings longer than this are read in pieces so that a damaged length
// cannot allocate more than the stream actually holds.
const DWORD nStringChunk = 1u << 20;

} // namespace

struct CArchive::Maps {
    struct Entry {
        void* p;
        bool bClass; // a CRuntimeClass*, else a CObject*
    };
    std::vector<Entry> loadArray;                             // index -> object or class
    std::unordered_map<const void*, DWORD> storeMap;          // object or class -> index
    std::unordered_map<const CRuntimeClass*, UINT> schemaMap; // stored schema of versionable classes
    DWORD nMapCount = 1;
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL), m_pFile(pFile), m_nMode(nMode), m_nObjectSchema((UINT)-1), m_pBufStart(NULL),
      m_pBufCur(NULL), m_pBufMax(NULL), m_nBufSize(0), m_bUserBuf(FALSE), m_pMaps(NULL)
{
    if (pFile == NULL)
        AfxThrowInvalidArgException();
    if (nBufSize < 128)
        nBufSize = 128;
    m_nBufSize = (UINT)nBufSize;
    if (lpBuf) {
        m_pBufStart = static_cast<BYTE*>(lpBuf);
        m_bUserBuf = TRUE;
    } else {
        m_pBufStart = static_cast<BYTE*>(std::malloc(m_nBufSize));
        if (!m_pBufStart)
            AfxThrowMemoryException();
    }
    m_pBufCur = m_pBufStart;
    // Storing: the whole buffer is free space. Loading: nothing read yet.
    m_pBufMax = IsLoading() ? m_pBufStart : m_pBufStart + m_nBufSize;
    m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive()
{
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
    }
    Abort();
    if (!m_bUserBuf)
        std::free(m_pBufStart);
    delete m_pMaps;
}

void CArchive::CopyBytes(void* d, const void* s, size_t n)
{
    std::memcpy(d, s, n);
}

void CArchive::ThrowReadOnly() const { AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName); }
void CArchive::ThrowWriteOnly() const { AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName); }
void CArchive::ThrowArchive(int cause) const { AfxThrowArchiveException(cause, m_strFileName); }

CArchive::Maps& CArchive::GetMaps()
{
    if (!m_pMaps) {
        m_pMaps = new Maps;
        m_pMaps->loadArray.push_back(Maps::Entry{NULL, false}); // index 0: the null object
    }
    return *m_pMaps;
}

BOOL CArchive::IsBufferEmpty() const
{
    return IsLoading() ? m_pBufCur == m_pBufMax : m_pBufCur == m_pBufStart;
}

UINT CArchive::GetObjectSchema()
{
    UINT n = m_nObjectSchema;
    m_nObjectSchema = (UINT)-1;
    return n;
}

// ---------------------------------------------------------------------------
// Buffering

void CArchive::FlushStoreBuffer()
{
    if (m_pFile == NULL)
        ThrowArchive(CArchiveException::genericException);
    if (m_pBufCur != m_pBufStart) {
        UINT n = (UINT)(m_pBufCur - m_pBufStart);
        m_pBufCur = m_pBufStart;
        m_pFile->Write(m_pBufStart, n);
    }
}

BOOL CArchive::TryFill(UINT nBytes)
{
    if (m_pFile == NULL)
        ThrowArchive(CArchiveException::genericException);
    size_t nHave = (size_t)(m_pBufMax - m_pBufCur);
    if (nHave >= nBytes)
        return TRUE;
    if (nBytes > m_nBufSize)
        return FALSE;
    // Move what is left to the start and read more behind it.
    if (m_pBufCur != m_pBufStart && nHave)
        std::memmove(m_pBufStart, m_pBufCur, nHave);
    m_pBufCur = m_pBufStart;
    m_pBufMax = m_pBufStart + nHave;
    while ((size_t)(m_pBufMax - m_pBufCur) < nBytes) {
        UINT nRoom = (UINT)(m_pBufStart + m_nBufSize - m_pBufMax);
        UINT nRead = m_pFile->Read(m_pBufMax, nRoom);
        if (nRead == 0)
            return FALSE;
        m_pBufMax += nRead;
    }
    return TRUE;
}

void CArchive::FillBuffer(UINT nBytes)
{
    if (!TryFill(nBytes))
        ThrowArchive(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    if (IsStoring())
        ThrowWriteOnly();
    BYTE* pOut = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    // First what is buffered.
    UINT nHave = (UINT)(m_pBufMax - m_pBufCur);
    UINT n = nHave < nMax ? nHave : nMax;
    std::memcpy(pOut, m_pBufCur, n);
    m_pBufCur += n;
    nDone += n;
    while (nDone < nMax) {
        UINT nLeft = nMax - nDone;
        if (nLeft >= m_nBufSize) {
            // Large reads go straight to the caller's memory.
            UINT nRead = m_pFile->Read(pOut + nDone, nLeft);
            if (nRead == 0)
                break;
            nDone += nRead;
        } else {
            m_pBufCur = m_pBufMax = m_pBufStart;
            UINT nRead = m_pFile->Read(m_pBufStart, m_nBufSize);
            if (nRead == 0)
                break;
            m_pBufMax = m_pBufStart + nRead;
            n = nRead < nLeft ? nRead : nLeft;
            std::memcpy(pOut + nDone, m_pBufCur, n);
            m_pBufCur += n;
            nDone += n;
        }
    }
    return nDone;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    if (IsLoading())
        ThrowReadOnly();
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    UINT nRoom = (UINT)(m_pBufMax - m_pBufCur);
    if (nMax <= nRoom) {
        std::memcpy(m_pBufCur, p, nMax);
        m_pBufCur += nMax;
        return;
    }
    FlushStoreBuffer();
    if (nMax >= m_nBufSize) {
        m_pFile->Write(p, nMax);
        return;
    }
    std::memcpy(m_pBufCur, p, nMax);
    m_pBufCur += nMax;
}

BOOL CArchive::Peek(void* lpBuf, UINT nCount)
{
    if (IsStoring())
        ThrowWriteOnly();
    if (!TryFill(nCount))
        return FALSE;
    std::memcpy(lpBuf, m_pBufCur, nCount);
    return TRUE;
}

void CArchive::Flush()
{
    if (m_pFile == NULL)
        return;
    if (IsLoading()) {
        if (m_pBufMax != m_pBufCur)
            m_pFile->Seek(-(LONGLONG)(m_pBufMax - m_pBufCur), CFile::current);
        m_pBufCur = m_pBufMax = m_pBufStart;
    } else {
        FlushStoreBuffer();
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_pFile = NULL;
    m_pBufCur = m_pBufStart;
    m_pBufMax = IsLoading() ? m_pBufStart : m_pBufStart + m_nBufSize;
}

// ---------------------------------------------------------------------------
// Text lines

void CArchive::WriteString(LPCSTR lpsz)
{
    if (lpsz == NULL)
        AfxThrowInvalidArgException();
    Write(lpsz, (UINT)std::strlen(lpsz));
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    if (lpsz == NULL || nMax == 0)
        AfxThrowInvalidArgException();
    if (IsStoring())
        ThrowWriteOnly();
    UINT n = 0;
    bool bAny = false;
    while (n + 1 < nMax) {
        if (!TryFill(1))
            break;
        bAny = true;
        char c = (char)*m_pBufCur++;
        if (c == '\n')
            break;
        if (c == '\r') {
            if (TryFill(1) && *m_pBufCur == '\n')
                ++m_pBufCur;
            break;
        }
        lpsz[n++] = c;
    }
    lpsz[n] = 0;
    return bAny ? lpsz : NULL;
}

BOOL CArchive::ReadString(CString& rString)
{
    if (IsStoring())
        ThrowWriteOnly();
    std::string& s = rString.str();
    s.clear();
    bool bAny = false;
    while (TryFill(1)) {
        bAny = true;
        char c = (char)*m_pBufCur++;
        if (c == '\n')
            break;
        if (c == '\r') {
            if (TryFill(1) && *m_pBufCur == '\n')
                ++m_pBufCur;
            break;
        }
        s.push_back(c);
    }
    return bAny ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Counts and strings

DWORD_PTR CArchive::ReadCount()
{
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    return dw;
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << (WORD)dwCount;
    } else {
        if ((ULONGLONG)dwCount > 0xFFFFFFFFull)
            ThrowArchive(CArchiveException::genericException);
        *this << (WORD)0xFFFF << (DWORD)dwCount;
    }
}

void CArchive::WriteStringLength(size_t nLength, bool bWide)
{
    if (nLength > 0xFFFFFFFEull)
        ThrowArchive(CArchiveException::genericException);
    if (bWide)
        *this << (BYTE)0xFF << (WORD)0xFFFE;
    if (nLength < 0xFF) {
        *this << (BYTE)nLength;
    } else if (nLength < 0xFFFE) {
        *this << (BYTE)0xFF << (WORD)nLength;
    } else {
        *this << (BYTE)0xFF << (WORD)0xFFFF << (DWORD)nLength;
    }
}

DWORD CArchive::ReadStringLength(bool& bWide)
{
    bWide = false;
    BYTE b;
    *this >> b;
    if (b < 0xFF)
        return b;
    WORD w;
    *this >> w;
    if (w == 0xFFFE) {
        bWide = true;
        *this >> b;
        if (b < 0xFF)
            return b;
        *this >> w;
    }
    if (w < 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    if (dw == 0xFFFFFFFF) // a 64-bit length: more than any string held here
        ThrowArchive(CArchiveException::genericException);
    return dw;
}

namespace {

bool IsAscii(const char* p, size_t nLength)
{
    for (size_t i = 0; i < nLength; ++i)
        if ((unsigned char)p[i] >= 0x80)
            return false;
    return true;
}

} // namespace

// The 8-bit form of a stored string holds the system's legacy ANSI code page,
// as it always did; the program's own strings are UTF-8. A narrow string that
// is not plain ASCII is therefore stored in the wide form, which every reader
// takes back whole, and an 8-bit string read is decoded from the legacy page.
void CArchive::WriteStringData(const char* p, size_t nLength)
{
    if (!IsAscii(p, nLength)) {
        std::wstring w = fx::detail::Widen(p, (int)nLength, CP_ACP);
        WriteStringData(w.data(), w.size());
        return;
    }
    WriteStringLength(nLength, false);
    while (nLength > 0) {
        UINT n = nLength > 0x40000000 ? 0x40000000 : (UINT)nLength;
        Write(p, n);
        p += n;
        nLength -= n;
    }
}

void CArchive::WriteStringData(const wchar_t* p, size_t nLength)
{
    WriteStringLength(nLength, true);
    while (nLength > 0) {
        UINT n = nLength > 0x20000000 ? 0x20000000 : (UINT)nLength;
        Write(p, n * (UINT)sizeof(wchar_t));
        p += n;
        nLength -= n;
    }
}

namespace {

// Reads nChars characters of type C into out, in pieces for long strings.
template <typename C>
void ReadChars(CArchive& ar, std::basic_string<C>& out, DWORD nChars, const CString& strFileName)
{
    out.clear();
    try {
        if (nChars <= nStringChunk) {
            out.resize(nChars);
            if (nChars && ar.Read(&out[0], nChars * (UINT)sizeof(C)) != nChars * sizeof(C))
                AfxThrowArchiveException(CArchiveException::endOfFile, strFileName);
            return;
        }
        DWORD nDone = 0;
        while (nDone < nChars) {
            DWORD n = nChars - nDone < nStringChunk ? nChars - nDone : nStringChunk;
            out.resize((size_t)nDone + n);
            if (ar.Read(&out[nDone], n * (UINT)sizeof(C)) != n * sizeof(C))
                AfxThrowArchiveException(CArchiveException::endOfFile, strFileName);
            nDone += n;
        }
    } catch (std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

} // namespace

void CArchive::ReadStringData(CStringA& s)
{
    if (IsStoring())
        ThrowWriteOnly();
    bool bWide;
    DWORD n = ReadStringLength(bWide);
    if (bWide) {
        std::wstring w;
        ReadChars(*this, w, n, m_strFileName);
        s = CStringA(fx::detail::Narrow(w.data(), (int)w.size(), CP_ACP));
    } else {
        ReadChars(*this, s.str(), n, m_strFileName);
        if (!IsAscii(s.str().data(), s.str().size())) {
            std::wstring w = fx::detail::Widen(s.str().data(), (int)s.str().size(), fx::LegacyAnsiCodePage());
            s = CStringA(fx::detail::Narrow(w.data(), (int)w.size(), CP_ACP));
        }
    }
}

void CArchive::ReadStringData(CStringW& s)
{
    if (IsStoring())
        ThrowWriteOnly();
    bool bWide;
    DWORD n = ReadStringLength(bWide);
    if (bWide) {
        ReadChars(*this, s.str(), n, m_strFileName);
    } else {
        std::string a;
        ReadChars(*this, a, n, m_strFileName);
        s = CStringW(fx::detail::Widen(a.data(), (int)a.size(), fx::LegacyAnsiCodePage()));
    }
}

CArchive& CArchive::operator<<(LPCSTR lpsz)
{
    WriteStringData(lpsz ? lpsz : "", lpsz ? std::strlen(lpsz) : 0);
    return *this;
}

CArchive& CArchive::operator<<(LPCWSTR lpsz)
{
    WriteStringData(lpsz ? lpsz : L"", lpsz ? std::wcslen(lpsz) : 0);
    return *this;
}

// ---------------------------------------------------------------------------
// Classes and objects

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = (WORD)std::strlen(m_lpszClassName);
    ar << (WORD)m_wSchema << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema, nLen;
    ar >> wSchema >> nLen;
    if (pwSchemaNum)
        *pwSchemaNum = wSchema;
    char szClassName[nMaxClassName + 1];
    if (nLen >= nMaxClassName || ar.Read(szClassName, nLen) != nLen)
        return NULL;
    szClassName[nLen] = 0;
    return CRuntimeClass::FromName(szClassName);
}

void CArchive::SetStoreParams(UINT nHashSize, UINT nBlockSize)
{
    (void)nBlockSize;
    if (IsStoring())
        GetMaps().storeMap.reserve(nHashSize);
}

void CArchive::SetLoadParams(UINT nGrowBy)
{
    if (IsLoading())
        GetMaps().loadArray.reserve(nGrowBy);
}

void CArchive::MapObject(const CObject* pOb)
{
    Maps& maps = GetMaps();
    if (IsStoring()) {
        if (pOb != NULL && maps.storeMap.find(pOb) == maps.storeMap.end()) {
            if (maps.nMapCount >= nMaxMapCount)
                ThrowArchive(CArchiveException::badIndex);
            maps.storeMap[pOb] = maps.nMapCount++;
        }
    } else {
        if (maps.nMapCount >= nMaxMapCount)
            ThrowArchive(CArchiveException::badIndex);
        maps.loadArray.push_back(Maps::Entry{const_cast<CObject*>(pOb), false});
        maps.nMapCount++;
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    if (pClassRef == NULL)
        AfxThrowInvalidArgException();
    if (IsLoading())
        ThrowReadOnly();
    if (pClassRef->m_wSchema == 0xFFFF) // not serializable
        AfxThrowNotSupportedException();
    Maps& maps = GetMaps();
    auto it = maps.storeMap.find(pClassRef);
    if (it != maps.storeMap.end()) {
        DWORD nClassIndex = it->second;
        if (nClassIndex < wBigObjectTag)
            *this << (WORD)(wClassTag | nClassIndex);
        else
            *this << wBigObjectTag << (DWORD)(dwBigClassTag | nClassIndex);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    if (maps.nMapCount >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    maps.storeMap[pClassRef] = maps.nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    if (IsStoring())
        ThrowWriteOnly();
    Maps& maps = GetMaps();

    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = ((DWORD)(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // An object reference (or the null object), not a class.
        if (pObTag == NULL)
            ThrowArchive(CArchiveException::badIndex);
        *pObTag = obTag;
        return NULL;
    }

    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == NULL)
            ThrowArchive(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
            if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
                ThrowArchive(CArchiveException::badSchema);
            maps.schemaMap[pClassRef] = nSchema;
        }
        if (maps.nMapCount >= nMaxMapCount)
            ThrowArchive(CArchiveException::badIndex);
        maps.loadArray.push_back(Maps::Entry{pClassRef, true});
        maps.nMapCount++;
    } else {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= maps.loadArray.size())
            ThrowArchive(CArchiveException::badIndex);
        // A damaged stream may point at an object where a class belongs.
        if (!maps.loadArray[nClassIndex].bClass)
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(maps.loadArray[nClassIndex].p);
        auto it = maps.schemaMap.find(pClassRef);
        nSchema = it != maps.schemaMap.end() ? it->second : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    }

    if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);

    if (pSchema != NULL)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != NULL)
        *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

void CArchive::WriteObject(const CObject* pOb)
{
    if (IsLoading())
        ThrowReadOnly();
    if (pOb == NULL) {
        *this << wNullTag;
        return;
    }
    Maps& maps = GetMaps();
    auto it = maps.storeMap.find(pOb);
    if (it != maps.storeMap.end()) {
        DWORD nObIndex = it->second;
        if (nObIndex < wBigObjectTag)
            *this << (WORD)nObIndex;
        else
            *this << wBigObjectTag << nObIndex;
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (maps.nMapCount >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    maps.storeMap[pOb] = maps.nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    if (IsStoring())
        ThrowWriteOnly();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    Maps& maps = GetMaps();
    if (pClassRef == NULL) {
        if (obTag >= maps.loadArray.size())
            ThrowArchive(CArchiveException::badIndex);
        if (maps.loadArray[obTag].bClass)
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(maps.loadArray[obTag].p);
        if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchive(CArchiveException::badClass);
        return pOb;
    }
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == NULL)
        ThrowArchive(CArchiveException::badClass);
    size_t nIndex = maps.loadArray.size();
    try {
        MapObject(pOb);
    } catch (...) {
        delete pOb;
        throw;
    }
    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The load is abandoned: the half-read object is not handed out.
        m_nObjectSchema = nSchemaSave;
        maps.loadArray[nIndex].p = NULL;
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}
