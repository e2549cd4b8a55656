// fx/coll.h - collections: CArray, CList and CMap templates, the typed
// forms (CPtrArray, CObArray, CStringArray, CDWordArray, CPtrList,
// CStringList, CMapStringToPtr, ...) and the CTypedPtr wrappers.
//
// - Arrays hold their elements contiguously; new elements are
//   value-initialised (zero for plain types). Any index outside the array
//   throws CInvalidArgException*.
// - Lists are doubly linked; a POSITION is a node and stays valid until that
//   node is removed, so removing the element just returned by GetNext while
//   iterating is allowed.
// - Maps are hash tables (InitHashTable sets the bucket count; the table
//   grows as entries are added). Removing the key just returned by
//   GetNextAssoc while iterating is allowed; adding keys while iterating is
//   not.
// - Serialize stores WriteCount(n) and then the elements: plain data as its
//   bytes, strings as archive strings, CObject pointers as archive objects.
#pragma once

#include "fx/core.h"
#include "fx/string.h"
#include "fx/archive.h"
#include "fx/except.h"

#include <new>
#include <type_traits>
#include <utility>

struct FxPositionTag {};
typedef FxPositionTag* POSITION;
#define BEFORE_START_POSITION ((POSITION)(INT_PTR)-1)

// ---------------------------------------------------------------------------
// Element helpers (may be specialised for a type).

namespace fx {
namespace detail {

template <typename T, typename = void>
struct IsStreamable : std::false_type {};
template <typename T>
struct IsStreamable<T, decltype((void)(std::declval<CArchive&>() << std::declval<const T&>()),
                                (void)(std::declval<CArchive&>() >> std::declval<T&>()))> : std::true_type {};

template <typename T>
struct IsObjectPointer
    : std::integral_constant<bool, std::is_pointer<T>::value &&
                                       std::is_base_of<CObject, typename std::remove_cv<
                                                                    typename std::remove_pointer<T>::type>::type>::value> {};

inline UINT MixHash(ULONGLONG v)
{
    v ^= v >> 33;
    v *= 0xff51afd7ed558ccdULL;
    v ^= v >> 33;
    v *= 0xc4ceb9fe1a85ec53ULL;
    v ^= v >> 33;
    return (UINT)v;
}

UINT HashString(const char* psz);
UINT HashString(const wchar_t* psz);

template <typename T>
struct AlwaysFalse : std::false_type {};

} // namespace detail
} // namespace fx

template <class TYPE>
inline void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    if (nCount <= 0)
        return;
    if constexpr (fx::detail::IsObjectPointer<TYPE>::value) {
        for (INT_PTR i = 0; i < nCount; ++i) {
            if (ar.IsStoring())
                ar.WriteObject(pElements[i]);
            else
                pElements[i] = static_cast<TYPE>(ar.ReadObject(NULL));
        }
    } else if constexpr (std::is_trivially_copyable<TYPE>::value) {
        // In pieces so that the byte count fits the archive's UINT.
        BYTE* p = reinterpret_cast<BYTE*>(pElements);
        ULONGLONG nBytes = (ULONGLONG)nCount * sizeof(TYPE);
        while (nBytes > 0) {
            UINT n = nBytes > 0x40000000 ? 0x40000000 : (UINT)nBytes;
            if (ar.IsStoring()) {
                ar.Write(p, n);
            } else if (ar.Read(p, n) != n) {
                AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
            }
            p += n;
            nBytes -= n;
        }
    } else if constexpr (fx::detail::IsStreamable<TYPE>::value) {
        for (INT_PTR i = 0; i < nCount; ++i) {
            if (ar.IsStoring())
                ar << pElements[i];
            else
                ar >> pElements[i];
        }
    } else {
        (void)ar;
        (void)pElements;
        AfxThrowNotSupportedException();
    }
}

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key)
{
    typedef typename std::decay<ARG_KEY>::type K;
    if constexpr (std::is_pointer<K>::value) {
        return fx::detail::MixHash((ULONGLONG)(UINT_PTR)key);
    } else if constexpr (std::is_integral<K>::value || std::is_enum<K>::value) {
        return fx::detail::MixHash((ULONGLONG)key);
    } else {
        static_assert(fx::detail::AlwaysFalse<K>::value, "HashKey needs a specialisation for this key type");
        return 0;
    }
}
template <>
inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) { return fx::detail::HashString(key); }
template <>
inline UINT AFXAPI HashKey<LPSTR>(LPSTR key) { return fx::detail::HashString(key); }
template <>
inline UINT AFXAPI HashKey<LPCWSTR>(LPCWSTR key) { return fx::detail::HashString(key); }
template <>
inline UINT AFXAPI HashKey<LPWSTR>(LPWSTR key) { return fx::detail::HashString(key); }
template <>
inline UINT AFXAPI HashKey<const CStringA&>(const CStringA& key) { return fx::detail::HashString(key.GetString()); }
template <>
inline UINT AFXAPI HashKey<const CStringW&>(const CStringW& key) { return fx::detail::HashString(key.GetString()); }
template <>
inline UINT AFXAPI HashKey<CStringA>(CStringA key) { return fx::detail::HashString(key.GetString()); }
template <>
inline UINT AFXAPI HashKey<CStringW>(CStringW key) { return fx::detail::HashString(key.GetString()); }

// ---------------------------------------------------------------------------
// CArray

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(-1) {}
    ~CArray() override { Release(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // Sets the number of elements; nGrowBy (when >= 0) sets the minimum
    // number of elements added when the array has to grow.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize > m_nMaxSize)
            Reserve(nNewSize, nNewSize > m_nSize + 1);
        for (INT_PTR i = m_nSize; i < nNewSize; ++i)
            ::new ((void*)(m_pData + i)) TYPE();
        for (INT_PTR i = nNewSize; i < m_nSize; ++i)
            (m_pData + i)->~TYPE();
        m_nSize = nNewSize;
    }
    void FreeExtra()
    {
        if (m_nSize != m_nMaxSize)
            Reallocate(m_nSize);
    }
    void RemoveAll() { SetSize(0); }

    const TYPE& GetAt(INT_PTR nIndex) const
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    TYPE& GetAt(INT_PTR nIndex)
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        CheckIndex(nIndex);
        m_pData[nIndex] = newElement;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    TYPE& ElementAt(INT_PTR nIndex)
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        TYPE tmp(newElement); // newElement may refer into this array
        if (nIndex >= m_nSize)
            SetSize(nIndex + 1);
        m_pData[nIndex] = std::move(tmp);
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOldSize = m_nSize;
        if (this == &src) {
            SetSize(2 * nOldSize);
            for (INT_PTR i = 0; i < nOldSize; ++i)
                m_pData[nOldSize + i] = m_pData[i];
        } else {
            SetSize(nOldSize + src.m_nSize);
            for (INT_PTR i = 0; i < src.m_nSize; ++i)
                m_pData[nOldSize + i] = src.m_pData[i];
        }
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (this == &src)
            return;
        SetSize(src.m_nSize);
        for (INT_PTR i = 0; i < src.m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }

    // Inserts nCount copies at nIndex (past the end: the array grows).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            AfxThrowInvalidArgException();
        TYPE tmp(newElement);
        if (nIndex >= m_nSize) {
            SetSize(nIndex + nCount);
        } else {
            INT_PTR nOldSize = m_nSize;
            SetSize(m_nSize + nCount);
            for (INT_PTR i = nOldSize - 1; i >= nIndex; --i)
                m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (INT_PTR i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = tmp;
    }
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray)
    {
        if (pNewArray == NULL || nStartIndex < 0)
            AfxThrowInvalidArgException();
        INT_PTR n = pNewArray->GetSize();
        if (n == 0)
            return;
        CArray copy; // pNewArray may be this array
        copy.Copy(*pNewArray);
        InsertAt(nStartIndex, copy.GetAt(0), n);
        for (INT_PTR i = 0; i < n; ++i)
            m_pData[nStartIndex + i] = copy.m_pData[i];
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nCount > m_nSize - nIndex)
            AfxThrowInvalidArgException();
        if (nCount == 0)
            return;
        for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
            m_pData[i] = std::move(m_pData[i + nCount]);
        SetSize(m_nSize - nCount);
    }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD_PTR)m_nSize);
            SerializeElements<TYPE>(ar, m_pData, m_nSize);
            return;
        }
        // Grow while reading, so that a damaged count runs into the end of
        // the stream instead of allocating what it claims.
        const INT_PTR nCount = (INT_PTR)ar.ReadCount();
        const INT_PTR nChunk = 65536;
        SetSize(0);
        for (INT_PTR nDone = 0; nDone < nCount;) {
            INT_PTR n = nCount - nDone < nChunk ? nCount - nDone : nChunk;
            if (nDone + n > m_nMaxSize)
                Reallocate(nDone + n > 2 * m_nMaxSize ? nDone + n : 2 * m_nMaxSize);
            SetSize(nDone + n);
            SerializeElements<TYPE>(ar, m_pData + nDone, n);
            nDone += n;
        }
    }

protected:
    void CheckIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
    }
    void Reserve(INT_PTR nNeeded, bool bExact)
    {
        INT_PTR nGrow = m_nGrowBy;
        if (nGrow < 0) {
            nGrow = m_nSize / 8;
            nGrow = nGrow < 4 ? 4 : (nGrow > 1024 ? 1024 : nGrow);
        }
        INT_PTR nNew = m_nMaxSize + (nGrow > m_nMaxSize / 2 ? nGrow : m_nMaxSize / 2);
        if (nNew < nNeeded || bExact)
            nNew = nNeeded > nNew ? nNeeded : nNew;
        Reallocate(nNew);
    }
    void Reallocate(INT_PTR nNewMax)
    {
        TYPE* pNew = NULL;
        if (nNewMax > 0) {
            if ((ULONGLONG)nNewMax > (ULONGLONG)(~(SIZE_T)0) / sizeof(TYPE))
                AfxThrowMemoryException();
            pNew = static_cast<TYPE*>(::operator new((SIZE_T)nNewMax * sizeof(TYPE), std::nothrow));
            if (!pNew)
                AfxThrowMemoryException();
        }
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            ::new ((void*)(pNew + i)) TYPE(std::move(m_pData[i]));
            (m_pData + i)->~TYPE();
        }
        ::operator delete(m_pData);
        m_pData = pNew;
        m_nMaxSize = nNewMax;
    }
    void Release()
    {
        for (INT_PTR i = 0; i < m_nSize; ++i)
            (m_pData + i)->~TYPE();
        ::operator delete(m_pData);
        m_pData = NULL;
        m_nSize = m_nMaxSize = 0;
    }

    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;
};

// ---------------------------------------------------------------------------
// CList

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
        template <typename A>
        CNode(CNode* n, CNode* p, A&& v) : pNext(n), pPrev(p), data(std::forward<A>(v)) {}
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead()
    {
        CheckNotEmpty();
        return m_pNodeHead->data;
    }
    const TYPE& GetHead() const
    {
        CheckNotEmpty();
        return m_pNodeHead->data;
    }
    TYPE& GetTail()
    {
        CheckNotEmpty();
        return m_pNodeTail->data;
    }
    const TYPE& GetTail() const
    {
        CheckNotEmpty();
        return m_pNodeTail->data;
    }

    TYPE RemoveHead()
    {
        CheckNotEmpty();
        CNode* p = m_pNodeHead;
        TYPE ret(std::move(p->data));
        Unlink(p);
        return ret;
    }
    TYPE RemoveTail()
    {
        CheckNotEmpty();
        CNode* p = m_pNodeTail;
        TYPE ret(std::move(p->data));
        Unlink(p);
        return ret;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(NULL, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(NULL, newElement); }
    void AddHead(CList* pNewList)
    {
        if (!pNewList)
            AfxThrowInvalidArgException();
        CList copy;
        for (CNode* p = pNewList->m_pNodeHead; p; p = p->pNext)
            copy.AddTail(p->data);
        for (CNode* p = copy.m_pNodeTail; p; p = p->pPrev)
            AddHead(p->data);
    }
    void AddTail(CList* pNewList)
    {
        if (!pNewList)
            AfxThrowInvalidArgException();
        INT_PTR n = pNewList->m_nCount; // the list may be this one
        CNode* p = pNewList->m_pNodeHead;
        for (INT_PTR i = 0; i < n; ++i, p = p->pNext)
            AddTail(p->data);
    }

    void RemoveAll()
    {
        CNode* p = m_pNodeHead;
        while (p) {
            CNode* pNext = p->pNext;
            delete p;
            p = pNext;
        }
        m_pNodeHead = m_pNodeTail = NULL;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pNext;
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pNext;
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pPrev;
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pPrev;
        return p->data;
    }
    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }

    // A NULL position inserts at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* pOld = position ? Node(position) : m_pNodeHead;
        CNode* pNew = new CNode(pOld, pOld ? pOld->pPrev : m_pNodeTail, newElement);
        Link(pNew);
        return (POSITION)pNew;
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* pOld = position ? Node(position) : m_pNodeTail;
        CNode* pNew = new CNode(pOld ? pOld->pNext : m_pNodeHead, pOld, newElement);
        Link(pNew);
        return (POSITION)pNew;
    }

    // The first element equal to searchValue after startAfter (NULL: from the
    // head); NULL when there is none.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const
    {
        CNode* p = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
        for (; p; p = p->pNext) {
            if (CompareElements<TYPE>(&p->data, &searchValue))
                return (POSITION)p;
        }
        return NULL;
    }
    // The position of the nIndex-th element (from 0), NULL when out of range.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return NULL;
        CNode* p = m_pNodeHead;
        while (nIndex--)
            p = p->pNext;
        return (POSITION)p;
    }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD_PTR)m_nCount);
            for (CNode* p = m_pNodeHead; p; p = p->pNext)
                SerializeElements<TYPE>(ar, &p->data, 1);
        } else {
            DWORD_PTR nNewCount = ar.ReadCount();
            while (nNewCount--) {
                TYPE newData = TYPE();
                SerializeElements<TYPE>(ar, &newData, 1);
                AddTail(newData);
            }
        }
    }

protected:
    static CNode* Node(POSITION pos)
    {
        if (pos == NULL || pos == BEFORE_START_POSITION)
            AfxThrowInvalidArgException();
        return (CNode*)pos;
    }
    void CheckNotEmpty() const
    {
        if (m_nCount == 0)
            AfxThrowInvalidArgException();
    }
    void Link(CNode* pNew)
    {
        if (pNew->pPrev)
            pNew->pPrev->pNext = pNew;
        else
            m_pNodeHead = pNew;
        if (pNew->pNext)
            pNew->pNext->pPrev = pNew;
        else
            m_pNodeTail = pNew;
        ++m_nCount;
    }
    void Unlink(CNode* p)
    {
        if (p->pPrev)
            p->pPrev->pNext = p->pNext;
        else
            m_pNodeHead = p->pNext;
        if (p->pNext)
            p->pNext->pPrev = p->pPrev;
        else
            m_pNodeTail = p->pPrev;
        --m_nCount;
        delete p;
    }

    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
};

// ---------------------------------------------------------------------------
// CMap

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    class CPair {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

protected:
    class CAssoc : public CPair {
    public:
        explicit CAssoc(ARG_KEY keyval, UINT nHash) : CPair(keyval), pNext(NULL), nHashValue(nHash) {}
        CAssoc* pNext;
        UINT nHashValue;
    };

public:
    explicit CMap(INT_PTR nBlockSize = 10) : m_pHashTable(NULL), m_nHashTableSize(17), m_nCount(0) { (void)nBlockSize; }
    ~CMap() override
    {
        RemoveAll();
    }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT nHash;
        CAssoc* p = GetAssocAt(key, nHash);
        if (!p)
            return FALSE;
        rValue = p->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const
    {
        UINT nHash;
        return GetAssocAt(key, nHash);
    }
    CPair* PLookup(ARG_KEY key)
    {
        UINT nHash;
        return GetAssocAt(key, nHash);
    }
    VALUE& operator[](ARG_KEY key)
    {
        UINT nHash;
        CAssoc* p = GetAssocAt(key, nHash);
        if (p)
            return p->value;
        if (m_pHashTable == NULL)
            AllocTable(m_nHashTableSize);
        else if ((UINT)m_nCount >= 2 * m_nHashTableSize)
            Rehash(m_nHashTableSize * 2 + 1);
        p = new CAssoc(key, nHash);
        UINT nBucket = nHash % m_nHashTableSize;
        p->pNext = m_pHashTable[nBucket];
        m_pHashTable[nBucket] = p;
        ++m_nCount;
        return p->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_pHashTable == NULL)
            return FALSE;
        UINT nHash = HashKey<ARG_KEY>(key);
        CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize];
        for (CAssoc* p = *ppPrev; p; ppPrev = &p->pNext, p = p->pNext) {
            if (p->nHashValue == nHash && CompareElements(&p->key, &key)) {
                *ppPrev = p->pNext;
                delete p;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        if (m_pHashTable) {
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                CAssoc* p = m_pHashTable[i];
                while (p) {
                    CAssoc* pNext = p->pNext;
                    delete p;
                    p = pNext;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = NULL;
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* p = NextAssoc(rNextPosition);
        rKey = p->key;
        rValue = p->value;
    }
    const CPair* PGetFirstAssoc() const
    {
        POSITION pos = GetStartPosition();
        return pos ? FirstAssoc() : NULL;
    }
    const CPair* PGetNextAssoc(const CPair* pAssocRet) const
    {
        const CAssoc* p = static_cast<const CAssoc*>(pAssocRet);
        if (!p)
            return NULL;
        return Following(p);
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of hash buckets (existing entries are kept).
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        if (nHashSize == 0)
            AfxThrowInvalidArgException();
        if (m_pHashTable)
            Rehash(nHashSize);
        else if (bAllocNow)
            AllocTable(nHashSize);
        else
            m_nHashTableSize = nHashSize;
    }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount((DWORD_PTR)m_nCount);
            if (m_nCount == 0 || !m_pHashTable)
                return;
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                for (CAssoc* p = m_pHashTable[i]; p; p = p->pNext) {
                    SerializeElements<KEY>(ar, const_cast<KEY*>(&p->key), 1);
                    SerializeElements<VALUE>(ar, &p->value, 1);
                }
            }
        } else {
            DWORD_PTR nNewCount = ar.ReadCount();
            while (nNewCount--) {
                KEY newKey = KEY();
                VALUE newValue = VALUE();
                SerializeElements<KEY>(ar, &newKey, 1);
                SerializeElements<VALUE>(ar, &newValue, 1);
                (*this)[newKey] = newValue;
            }
        }
    }

protected:
    void AllocTable(UINT nSize)
    {
        m_pHashTable = new CAssoc*[nSize]();
        m_nHashTableSize = nSize;
    }
    void Rehash(UINT nNewSize)
    {
        CAssoc** pNew = new CAssoc*[nNewSize]();
        if (m_pHashTable) {
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                CAssoc* p = m_pHashTable[i];
                while (p) {
                    CAssoc* pNext = p->pNext;
                    UINT nBucket = p->nHashValue % nNewSize;
                    p->pNext = pNew[nBucket];
                    pNew[nBucket] = p;
                    p = pNext;
                }
            }
            delete[] m_pHashTable;
        }
        m_pHashTable = pNew;
        m_nHashTableSize = nNewSize;
    }
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const
    {
        nHash = HashKey<ARG_KEY>(key);
        if (m_pHashTable == NULL)
            return NULL;
        for (CAssoc* p = m_pHashTable[nHash % m_nHashTableSize]; p; p = p->pNext) {
            if (p->nHashValue == nHash && CompareElements(&p->key, &key))
                return p;
        }
        return NULL;
    }
    CAssoc* FirstAssoc() const
    {
        if (!m_pHashTable)
            return NULL;
        for (UINT i = 0; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i])
                return m_pHashTable[i];
        return NULL;
    }
    CAssoc* Following(const CAssoc* p) const
    {
        if (p->pNext)
            return p->pNext;
        for (UINT i = p->nHashValue % m_nHashTableSize + 1; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i])
                return m_pHashTable[i];
        return NULL;
    }
    CAssoc* NextAssoc(POSITION& rNextPosition) const
    {
        CAssoc* p = (CAssoc*)rNextPosition;
        if (p == NULL)
            AfxThrowInvalidArgException();
        if (rNextPosition == BEFORE_START_POSITION)
            p = FirstAssoc();
        if (p == NULL)
            AfxThrowInvalidArgException();
        CAssoc* pNext = Following(p);
        rNextPosition = (POSITION)pNext;
        return p;
    }

    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
};

// ---------------------------------------------------------------------------
// Typed collections.

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};
class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
};
class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
};
class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};
class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
};
class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
};
class CStringArray : public CArray<CString, LPCSTR> {
    DECLARE_SERIAL(CStringArray)
public:
    INT_PTR Add(LPCSTR newElement) { return CArray<CString, LPCSTR>::Add(newElement); }
    INT_PTR Add(const CString& newElement)
    {
        INT_PTR nIndex = GetSize();
        SetSize(nIndex + 1);
        ElementAt(nIndex) = newElement; // keeps embedded NULs
        return nIndex;
    }
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};
class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};
class CStringList : public CList<CString, LPCSTR> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, LPCSTR>(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    explicit CMapWordToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

// ---------------------------------------------------------------------------
// Typed pointer wrappers over the pointer collections.

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](INT_PTR nIndex) const { return (TYPE)BASE_CLASS::operator[](nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return (TYPE&)BASE_CLASS::operator[](nIndex); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_VALUE v;
        if (!BASE_CLASS::Lookup(key, v))
            return FALSE;
        rValue = (VALUE)v;
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_KEY k;
        typename BASE_CLASS::BASE_VALUE v;
        BASE_CLASS::GetNextAssoc(rPosition, k, v);
        rKey = (KEY)k;
        rValue = (VALUE)v;
    }
};
