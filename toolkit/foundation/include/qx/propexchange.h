// qx/propexchange.h - the property exchange: the toolkit's one persistence
// mechanism. An object writes one routine that names each of its values once;
// the same routine loads or stores depending on the exchange's direction.
// Three back-ends: the registry (CQXPPropExchangeRegistry), an INI file
// (CQXPPropExchangeIniFile) and a framework archive (CQXPPropExchangeArchive).
//
// Values travel with a type code (VARTYPE):
//
//   code  value (pointer to)         archive          registry            INI text
//   2     short                      2 bytes          REG_DWORD           "%i"
//   3     int                        4 bytes          REG_DWORD           "%i"
//   4     float                      4 bytes          REG_BINARY 4        "%g"
//   5     double                     8 bytes          REG_BINARY 8        "%g"
//   6     CURRENCY                   low, high DWORD  -                   -
//   7     COleDateTime               its archive form -                   date text
//   8     wide string (wchar_t*)     ignored          -                   -
//   11    BOOL                       4 bytes          REG_DWORD           "%i"
//   12    COleVariant                its archive form -                   text
//   17    BYTE                       1 byte           REG_DWORD           "%i"
//   30    CString (default: LPCSTR)  CString form     REG_SZ              escaped text
//   100   RECT                       16 bytes         REG_SZ "%i, %i, %i, %i"
//   101   SIZE or POINT              8 bytes          REG_SZ "%i, %i"
//
// Registry DWORDs and INI numbers of codes 2, 11, 17 hold the value's own bytes
// zero-extended (a short -1 is 65535 and reads back as -1). Codes a back-end
// does not support fail there (value untouched); the archive ignores them.
//
// Registry and INI: a value equal to its default is removed on store (unless
// the section was just emptied), and a missing value loads as the default.
// The archive has no names and no defaults: the loading side must make the
// same calls in the same order as the storing side.
#pragma once

#include <fx/fx.h>

#include <map>

class CQXPPropExchange;

// Type codes of the toolkit's own value kinds.
#define VT_QX_RECT ((VARTYPE)100)
#define VT_QX_SIZE ((VARTYPE)101)

// ---------------------------------------------------------------------------
// Numbered child sections: prefix + index from 0 ("%s%i").
class PropExchangeEnumerator {
public:
    PropExchangeEnumerator(CQXPPropExchange* pPX, LPCSTR lpszPrefix);
    virtual ~PropExchangeEnumerator();

    // Exchanges the item count (value "Count", or the compact count of the
    // exchange when bCompact) and returns the first position, NULL when the
    // count is 0. Storing writes nCount; loading reads it (GetCount).
    POSITION First(DWORD nCount = 0, BOOL bCompact = FALSE);
    // Opens the section of the item at pos (the caller releases it) and moves
    // pos on; pos becomes NULL after the last item.
    CQXPPropExchange* Next(POSITION& pos);
    DWORD GetCount() const { return m_nCount; }

protected:
    CQXPPropExchange* m_pPX;
    CString m_strPrefix;
    DWORD m_nCount;
};

// ---------------------------------------------------------------------------
class CQXPPropExchange : public CCmdTarget {
    DECLARE_DYNAMIC(CQXPPropExchange)
public:
    CQXPPropExchange();
    ~CQXPPropExchange() override;

    // One named value (see the table above). pDefault may be NULL. TRUE on
    // success.
    virtual BOOL ExchangeValue(LPCSTR lpszName, VARTYPE vt, void* pValue, const void* pDefault = NULL) = 0;
    // A byte block. Loading with *ppData NULL allocates the block with malloc
    // (the caller frees it) and sets *pnBytes; with a block given, *pnBytes is
    // its size and must be large enough.
    virtual BOOL ExchangeBinary(LPCSTR lpszName, void** ppData, UINT* pnBytes);
    // A run-time class by name; a missing name loads as pDefault. Loading an
    // unknown class name fails.
    virtual BOOL ExchangeClassName(LPCSTR lpszName, CRuntimeClass** ppClass, CRuntimeClass* pDefault);
    // An object's class under "Class"; loading creates the object, which must
    // derive from pExpected.
    virtual BOOL ExchangeInstance(CObject** ppObject, CRuntimeClass* pExpected);
    // An archive for an object's own serialization under a named value: NULL
    // on load when there is nothing stored. Always end it with
    // EndObjectArchive.
    virtual CArchive* BeginObjectArchive(LPCSTR lpszName);
    virtual void EndObjectArchive(LPCSTR lpszName, CArchive* pArchive);
    // A child exchange of the same back-end and direction; the caller releases
    // it (InternalRelease, or hold it in a PropExchangeSectionPtr).
    virtual CQXPPropExchange* OpenSection(LPCSTR lpszName) = 0;
    // Removes what the section holds in the store before a save.
    virtual void ClearSection();
    virtual void WriteItemCount(DWORD dwCount);
    virtual DWORD ReadItemCount();
    virtual void WriteBytes(LPCSTR lpszName, const BYTE* pData, UINT nBytes);
    virtual UINT ReadBytes(LPCSTR lpszName, BYTE* pData, UINT nBytes);
    // Whether callers may leave out values equal to their defaults (and empty
    // collections): FALSE for the positional archive.
    virtual BOOL CanSkipDefaults() const;
    // Whether binary values are kept as such (registry and archive).
    virtual BOOL PrefersBinary() const;
    virtual BOOL IsArchive() const { return FALSE; }
    // Opens the store; TRUE when it is open.
    virtual BOOL Prepare();
    // A new enumerator the caller deletes.
    virtual PropExchangeEnumerator* OpenEnumerator(LPCSTR lpszPrefix);
    // The schema number: value "Schema" (default 24), or the archive's marker.
    virtual void SchemaProp();

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    BOOL IsSection() const { return m_bSection; }
    UINT GetSchema() const { return m_nSchema; }

    // Value helpers shared by the back-ends.
    // Copies a value of type vt from pSrc to pDest; FALSE for a NULL source or
    // an unknown code. Code 30 takes an LPCSTR source; code 8 allocates a
    // copy of the wide string with malloc.
    static BOOL AFXAPI CopyDefault(VARTYPE vt, void* pDest, const void* pSrc);
    // TRUE when the value equals the default (code 30: pDefault is LPCSTR).
    static BOOL AFXAPI IsSameValue(VARTYPE vt, const void* pValue, const void* pDefault);
    // The in-memory width of a fixed-size code; 0 for other codes.
    static UINT AFXAPI GetTypeWidth(VARTYPE vt);

    static const UINT kDefaultSchema = 24;
    static const UINT kArchiveSchemaMarker = 0x0FF0ADBF;
    static const UINT kUnmarkedArchiveSchema = 17;

    DWORD_PTR m_dwData;  // caller data, copied into sections
    DWORD_PTR m_dwOwner; // caller owner (not copied)
    BOOL m_bLoading;
    UINT m_nSchema;
    BOOL m_bSection;
    BOOL m_bEmptied;
    BOOL m_bPrepared;
    BOOL m_bUseDefaultOnLoad;
    BOOL m_bUseDefaultOnSave;

protected:
    // Copies the inherited settings into a newly opened section.
    void InitSection(CQXPPropExchange* pSection) const;

private:
    struct ObjectArchive;
    std::map<CArchive*, ObjectArchive*> m_objectArchives;
};

// ---------------------------------------------------------------------------
class CQXPPropExchangeArchive : public CQXPPropExchange {
    DECLARE_DYNAMIC(CQXPPropExchangeArchive)
public:
    explicit CQXPPropExchangeArchive(CArchive& ar);

    BOOL ExchangeValue(LPCSTR lpszName, VARTYPE vt, void* pValue, const void* pDefault = NULL) override;
    BOOL ExchangeBinary(LPCSTR lpszName, void** ppData, UINT* pnBytes) override;
    BOOL ExchangeClassName(LPCSTR lpszName, CRuntimeClass** ppClass, CRuntimeClass* pDefault) override;
    BOOL ExchangeInstance(CObject** ppObject, CRuntimeClass* pExpected) override;
    CArchive* BeginObjectArchive(LPCSTR lpszName) override;
    void EndObjectArchive(LPCSTR lpszName, CArchive* pArchive) override;
    CQXPPropExchange* OpenSection(LPCSTR lpszName) override;
    void WriteItemCount(DWORD dwCount) override;
    DWORD ReadItemCount() override;
    void WriteBytes(LPCSTR lpszName, const BYTE* pData, UINT nBytes) override;
    UINT ReadBytes(LPCSTR lpszName, BYTE* pData, UINT nBytes) override;
    BOOL CanSkipDefaults() const override { return FALSE; }
    BOOL PrefersBinary() const override { return TRUE; }
    BOOL IsArchive() const override { return TRUE; }
    void SchemaProp() override;

    CArchive& GetArchive() const { return m_ar; }

protected:
    CArchive& m_ar;
};

// ---------------------------------------------------------------------------
class CQXPPropExchangeRegistry : public CQXPPropExchange {
    DECLARE_DYNAMIC(CQXPPropExchangeRegistry)
public:
    // A NULL parent key means the application's own settings key
    // (HKEY_CURRENT_USER\Software\<registry key>\<profile name>), which this
    // exchange then opens and closes.
    CQXPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCSTR lpszSection);
    ~CQXPPropExchangeRegistry() override;

    BOOL ExchangeValue(LPCSTR lpszName, VARTYPE vt, void* pValue, const void* pDefault = NULL) override;
    BOOL ExchangeBinary(LPCSTR lpszName, void** ppData, UINT* pnBytes) override;
    CQXPPropExchange* OpenSection(LPCSTR lpszName) override;
    void ClearSection() override;
    BOOL PrefersBinary() const override { return TRUE; }
    BOOL Prepare() override;

    HKEY GetSectionKey() const { return m_hSectionKey; }

protected:
    HKEY m_hSectionKey;
    HKEY m_hParentKey;
    CString m_strSection;
    BOOL m_bCloseParentKey;
};

// ---------------------------------------------------------------------------
class CQXPPropExchangeIniFile : public CQXPPropExchange {
    DECLARE_DYNAMIC(CQXPPropExchangeIniFile)
public:
    // The section is "<parent>\<name>" with a parent, else the name.
    CQXPPropExchangeIniFile(BOOL bLoading, LPCSTR lpszParentSection, LPCSTR lpszSection);
    ~CQXPPropExchangeIniFile() override;

    // Works on this file (clears the temporary-file and emptied flags).
    void AssignFile(LPCSTR lpszFile);
    const CString& GetFilePath() const { return m_strFile; }
    const CString& GetSectionName() const { return m_strSection; }

    BOOL ExchangeValue(LPCSTR lpszName, VARTYPE vt, void* pValue, const void* pDefault = NULL) override;
    CQXPPropExchange* OpenSection(LPCSTR lpszName) override;
    void ClearSection() override;
    BOOL Prepare() override;

    // Text forms used in the file.
    static CString AFXAPI EscapeText(LPCSTR lpsz);
    static CString AFXAPI UnescapeText(LPCSTR lpsz);
    static CString AFXAPI FormatDate(const COleDateTime& date);
    // FALSE when the text is not a date of the forms FormatDate writes.
    static BOOL AFXAPI ParseDate(LPCSTR lpsz, COleDateTime& date);

protected:
    CString m_strSection;
    CString m_strFile;
    BOOL m_bTempFile;
};

// ---------------------------------------------------------------------------
// Holds one exchange (a section or a profile exchange) and releases it.
class PropExchangeSectionPtr {
public:
    explicit PropExchangeSectionPtr(CQXPPropExchange* pPX = NULL) : m_pPX(pPX) {}
    // Opens a section of a parent exchange.
    PropExchangeSectionPtr(CQXPPropExchange* pParent, LPCSTR lpszSection);
    ~PropExchangeSectionPtr() { Release(); }
    PropExchangeSectionPtr(const PropExchangeSectionPtr&) = delete;
    PropExchangeSectionPtr& operator=(const PropExchangeSectionPtr&) = delete;

    // An exchange on a section of the application's profile: the registry
    // kind when the application has a registry key, else the INI kind on its
    // profile file.
    CQXPPropExchange* OpenProfile(BOOL bLoading, LPCSTR lpszSection);

    void Release();
    CQXPPropExchange* operator->() const { return m_pPX; }
    CQXPPropExchange* get() const { return m_pPX; }
    operator CQXPPropExchange*() const { return m_pPX; }

private:
    CQXPPropExchange* m_pPX;
};

// ---------------------------------------------------------------------------
// Typed shorthands. Each returns FALSE and does nothing for a NULL exchange.
BOOL AFXAPI ExchangeByteProp(CQXPPropExchange* pPX, LPCSTR lpszName, BYTE* pValue, BYTE nDefault);
BOOL AFXAPI ExchangeShortProp(CQXPPropExchange* pPX, LPCSTR lpszName, short* pValue, short nDefault);
BOOL AFXAPI ExchangeIntProp(CQXPPropExchange* pPX, LPCSTR lpszName, int* pValue, int nDefault);
BOOL AFXAPI ExchangeIntProp(CQXPPropExchange* pPX, LPCSTR lpszName, long* pValue, long nDefault);
BOOL AFXAPI ExchangeIntProp(CQXPPropExchange* pPX, LPCSTR lpszName, UINT* pValue, UINT nDefault);
BOOL AFXAPI ExchangeIntPropNoDefault(CQXPPropExchange* pPX, LPCSTR lpszName, int* pValue);
BOOL AFXAPI ExchangeBoolProp(CQXPPropExchange* pPX, LPCSTR lpszName, BOOL* pValue, BOOL bDefault);
BOOL AFXAPI ExchangeTextProp(CQXPPropExchange* pPX, LPCSTR lpszName, CString* pValue);
BOOL AFXAPI ExchangeTextPropDefault(CQXPPropExchange* pPX, LPCSTR lpszName, CString* pValue, LPCSTR lpszDefault);
BOOL AFXAPI ExchangeSizeProp(CQXPPropExchange* pPX, LPCSTR lpszName, SIZE* pValue, SIZE sizeDefault);
BOOL AFXAPI ExchangeRectProp(CQXPPropExchange* pPX, LPCSTR lpszName, RECT* pValue, RECT rcDefault);
BOOL AFXAPI ExchangeBlobProp(CQXPPropExchange* pPX, LPCSTR lpszName, void** ppData, UINT* pnBytes);
// The object's own Serialize through BeginObjectArchive / EndObjectArchive;
// archive and OLE exceptions of the serialization give FALSE.
BOOL AFXAPI ExchangeObjectProp(CQXPPropExchange* pPX, LPCSTR lpszName, CObject* pObject);
