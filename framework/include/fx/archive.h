// fx/archive.h - CArchive: a buffered binary stream over a CFile (or any
// derived file such as CMemFile) for storing or loading objects.
//
// Stored formats (all little-endian):
// - scalars at fixed widths: BYTE/char/bool 1, WORD/short/wchar_t 2,
//   LONG/DWORD/int/UINT/float 4, double/LONGLONG/ULONGLONG 8;
// - counts (WriteCount/ReadCount): WORD when below 0xFFFF, else 0xFFFF and
//   a DWORD;
// - strings: a length prefix, then the characters without a terminator.
//   Narrow: BYTE length below 0xFF; else 0xFF and a WORD length below
//   0xFFFE; else 0xFF, 0xFFFF and a DWORD length. Wide strings start with the
//   marker 0xFF 0xFFFE followed by the same prefix counting UTF-16 units.
//   Loading accepts either form and converts through the ANSI code page;
// - objects and classes: tag WORD 0 for a null object; 0xFFFF for a new
//   class followed by the class record (WORD schema, WORD name length, name)
//   and the object's own data; 0x8000 | index for a class already stored;
//   index alone for an object already stored; 0x7FFF and a DWORD (with
//   0x80000000 for classes) when the index does not fit in 15 bits. Indexes
//   count classes and objects together from 1 in the order first stored.
//
// Errors throw CArchiveException* (endOfFile, badClass, badSchema,
// badIndex, readOnly, writeOnly), CFileException* from the file, and
// CMemoryException*.
#pragma once

#include "fx/core.h"
#include "fx/string.h"

class CFile;
class CDocument;

class CArchive {
public:
    enum Mode {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };

    // lpBuf (optional) is a caller's buffer of nBufSize bytes.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    // Flushes a storing archive that was not closed (errors are dropped;
    // call Close to see them).
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const;
    CFile* GetFile() const { return m_pFile; }

    // The schema of the object being loaded; reading it resets it to
    // (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Raw bytes. Read returns the number of bytes read (fewer at the end).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Copies the next nCount bytes without consuming them; FALSE when the
    // stream has fewer left.
    BOOL Peek(void* lpBuf, UINT nCount);

    // Storing: writes the buffer to the file. Loading: moves the file back to
    // the first byte not yet consumed.
    void Flush();
    void Close();
    // Detaches from the file without flushing.
    void Abort();

    // Text lines: WriteString writes the text alone; ReadString reads up to
    // "\r\n" or "\n" (not kept).
    void WriteString(LPCSTR lpsz);
    LPSTR ReadString(LPSTR lpsz, UINT nMax);
    BOOL ReadString(CString& rString);

    // Objects and classes.
    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteObject(const CObject* pOb);
    // Registers an object so that later references to it are stored as
    // back-references (or, loading, so that stored references resolve).
    void MapObject(const CObject* pOb);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);
    void SerializeClass(const CRuntimeClass* pClassRef);
    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
    void SetLoadParams(UINT nGrowBy = 1024);

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    // Scalars.
    CArchive& operator<<(BYTE by) { return WriteScalar(by); }
    CArchive& operator<<(WORD w) { return WriteScalar(w); }
    CArchive& operator<<(LONG l) { return WriteScalar(l); }
    CArchive& operator<<(DWORD dw) { return WriteScalar(dw); }
    CArchive& operator<<(float f) { return WriteScalar(f); }
    CArchive& operator<<(double d) { return WriteScalar(d); }
    CArchive& operator<<(LONGLONG n) { return WriteScalar(n); }
    CArchive& operator<<(ULONGLONG n) { return WriteScalar(n); }
    CArchive& operator<<(int i) { return WriteScalar((LONG)i); }
    CArchive& operator<<(UINT u) { return WriteScalar((LONG)u); }
    CArchive& operator<<(short w) { return WriteScalar((WORD)w); }
    CArchive& operator<<(char ch) { return WriteScalar((BYTE)ch); }
    CArchive& operator<<(signed char ch) { return WriteScalar((BYTE)ch); }
    CArchive& operator<<(wchar_t ch) { return WriteScalar((WORD)ch); }
    CArchive& operator<<(bool b) { return WriteScalar((BYTE)(b ? 1 : 0)); }
    CArchive& operator<<(LPCSTR lpsz);          // as a narrow string
    CArchive& operator<<(LPCWSTR lpsz);         // as a wide string
    CArchive& operator<<(const void*) = delete; // raw pointers cannot be stored

    CArchive& operator>>(BYTE& by) { return ReadScalar(by); }
    CArchive& operator>>(WORD& w) { return ReadScalar(w); }
    CArchive& operator>>(LONG& l) { return ReadScalar(l); }
    CArchive& operator>>(DWORD& dw) { return ReadScalar(dw); }
    CArchive& operator>>(float& f) { return ReadScalar(f); }
    CArchive& operator>>(double& d) { return ReadScalar(d); }
    CArchive& operator>>(LONGLONG& n) { return ReadScalar(n); }
    CArchive& operator>>(ULONGLONG& n) { return ReadScalar(n); }
    CArchive& operator>>(int& i)
    {
        LONG l;
        ReadScalar(l);
        i = (int)l;
        return *this;
    }
    CArchive& operator>>(UINT& u)
    {
        LONG l;
        ReadScalar(l);
        u = (UINT)l;
        return *this;
    }
    CArchive& operator>>(short& w)
    {
        WORD v;
        ReadScalar(v);
        w = (short)v;
        return *this;
    }
    CArchive& operator>>(char& ch)
    {
        BYTE v;
        ReadScalar(v);
        ch = (char)v;
        return *this;
    }
    CArchive& operator>>(signed char& ch)
    {
        BYTE v;
        ReadScalar(v);
        ch = (signed char)v;
        return *this;
    }
    CArchive& operator>>(wchar_t& ch)
    {
        WORD v;
        ReadScalar(v);
        ch = (wchar_t)v;
        return *this;
    }
    CArchive& operator>>(bool& b)
    {
        BYTE v;
        ReadScalar(v);
        b = v != 0;
        return *this;
    }

    // Strings (see the format above).
    void WriteStringData(const char* p, size_t nLength);
    void WriteStringData(const wchar_t* p, size_t nLength);
    void ReadStringData(CStringA& s);
    void ReadStringData(CStringW& s);

    CString m_strFileName;
    CDocument* m_pDocument;

private:
    template <typename T>
    CArchive& WriteScalar(T v)
    {
        if (IsLoading())
            ThrowReadOnly();
        if ((size_t)(m_pBufMax - m_pBufCur) < sizeof(T))
            FlushStoreBuffer();
        CopyBytes(m_pBufCur, &v, sizeof(T));
        m_pBufCur += sizeof(T);
        return *this;
    }
    template <typename T>
    CArchive& ReadScalar(T& v)
    {
        if (IsStoring())
            ThrowWriteOnly();
        if ((size_t)(m_pBufMax - m_pBufCur) < sizeof(T))
            FillBuffer(sizeof(T));
        CopyBytes(&v, m_pBufCur, sizeof(T));
        m_pBufCur += sizeof(T);
        return *this;
    }
    static void CopyBytes(void* d, const void* s, size_t n);
    [[noreturn]] void ThrowReadOnly() const;
    [[noreturn]] void ThrowWriteOnly() const;
    [[noreturn]] void ThrowArchive(int cause) const;
    void FlushStoreBuffer();
    // Makes at least nBytes available in the load buffer or throws endOfFile.
    void FillBuffer(UINT nBytes);
    // As FillBuffer but returns FALSE instead of throwing.
    BOOL TryFill(UINT nBytes);
    // Reads a string length prefix; sets bWide for the wide form.
    DWORD ReadStringLength(bool& bWide);
    void WriteStringLength(size_t nLength, bool bWide);
    struct Maps;
    Maps& GetMaps();

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nObjectSchema;
    BYTE* m_pBufStart;
    BYTE* m_pBufCur;
    BYTE* m_pBufMax; // end of the data (loading) or of the buffer (storing)
    UINT m_nBufSize;
    BOOL m_bUserBuf;
    Maps* m_pMaps;
};

// Strings.
template <typename T>
inline CArchive& AFXAPI operator<<(CArchive& ar, const CStringT<T>& s)
{
    ar.WriteStringData(s.GetString(), (size_t)s.GetLength());
    return ar;
}
template <typename T>
inline CArchive& AFXAPI operator>>(CArchive& ar, CStringT<T>& s)
{
    ar.ReadStringData(s);
    return ar;
}

// Objects.
inline CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}
inline CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}
inline CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

// Rectangles, points and sizes as their 32-bit fields.
inline CArchive& AFXAPI operator<<(CArchive& ar, const RECT& rc) { return ar << rc.left << rc.top << rc.right << rc.bottom; }
inline CArchive& AFXAPI operator>>(CArchive& ar, RECT& rc) { return ar >> rc.left >> rc.top >> rc.right >> rc.bottom; }
inline CArchive& AFXAPI operator<<(CArchive& ar, const POINT& pt) { return ar << pt.x << pt.y; }
inline CArchive& AFXAPI operator>>(CArchive& ar, POINT& pt) { return ar >> pt.x >> pt.y; }
inline CArchive& AFXAPI operator<<(CArchive& ar, const SIZE& sz) { return ar << sz.cx << sz.cy; }
inline CArchive& AFXAPI operator>>(CArchive& ar, SIZE& sz) { return ar >> sz.cx >> sz.cy; }
