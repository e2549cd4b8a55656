// fx/core.h - the base of the framework layer: common macros and types,
// diagnostics, module state, CObject and run-time class information.
//
// Every framework header includes this one first; it pulls in the full
// <windows.h> (common controls and shell headers are included by the window
// half where needed).
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdarg>

// winbase.h maps GetCurrentTime() to GetTickCount(); CTime has a member of
// that name.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class CArchive;
class CDumpContext;
class CObject;
class CWinApp;
struct CRuntimeClass;

// ---------------------------------------------------------------------------
// Calling-convention and linkage words used in declarations.
#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#define AFX_INLINE inline
#define AFX_STATIC static
#define AFX_STATIC_DATA static
#define AFX_DATA
#define AFX_DATADEF
#define AFX_CORE_DATA
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define AFX_EXT_DATA
#define AFX_NOVTABLE
#define AFX_COMDAT
#ifndef afx_msg
#define afx_msg
#endif

// ---------------------------------------------------------------------------
// Diagnostics. ASSERT and TRACE are active only when _DEBUG is defined;
// VERIFY always evaluates its argument.
namespace fx {
void AssertFailed(const char* file, int line, const char* expr);
void __cdecl Trace(const char* format, ...);
void __cdecl Trace(const wchar_t* format, ...);
} // namespace fx

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : ::fx::AssertFailed(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define TRACE ::fx::Trace
#define DEBUG_ONLY(f) (f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define ASSERT_VALID(p) ((void)0)
#define ASSERT_POINTER(p, type) ASSERT((p) != NULL)
#define ASSERT_NULL_OR_POINTER(p, type) ((void)0)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))

// Pointer checks kept for callers; they reject only null pointers.
inline BOOL AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL bReadWrite = TRUE)
{
    (void)bReadWrite;
    return p != NULL || nBytes == 0;
}
inline BOOL AfxIsValidString(LPCSTR psz, int nLength = -1)
{
    (void)nLength;
    return psz != NULL;
}
inline BOOL AfxIsValidString(LPCWSTR psz, int nLength = -1)
{
    (void)nLength;
    return psz != NULL;
}

extern const char afxChNil;
extern const wchar_t afxWchNil;

// Error paths shared by headers that cannot include the exception header.
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowMemoryException();

// ---------------------------------------------------------------------------
// Module state: one record per module (program or DLL) that links the
// framework. It holds the module's instance handle, the handle resources are
// loaded from and the application object of the module.
struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCSTR m_lpszCurrentAppName;
    CWinApp* m_pCurrentWinApp;
};
AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState();
// All code of a module shares its one state, so switching is a no-op.
#define AFX_MANAGE_STATE(p) ((void)(p))

// The module this copy of the framework is linked into, and the handle its
// strings and other resources are loaded from (the same unless changed).
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// The resource handle when it holds the named resource, else the instance
// handle.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

// ---------------------------------------------------------------------------
// Run-time class information.
#define VERSIONABLE_SCHEMA (0x80000000)

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                        // 0xFFFF for classes that are not serializable
    CObject*(PASCAL* m_pfnCreateObject)(); // NULL for abstract / dynamic-only classes
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass; // chain of the module's registered classes

    // Creates an object of this class; NULL when the class has no creator.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Lookup by exact (case-sensitive) class name among the registered
    // classes of this module, then of any added class sources.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CRuntimeClass* PASCAL FromName(LPCWSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCWSTR lpszClassName);

    // Stored class record: WORD schema, WORD name length, name bytes.
    void Store(CArchive& ar) const;
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);
};

namespace fx {
// Links a class into the module's class list (run by the IMPLEMENT_ macros
// during static initialisation).
struct ClassRegistrar {
    explicit ClassRegistrar(CRuntimeClass* pClass);
};
// Another module (an extension DLL) can offer its classes to FromName by
// handing over a lookup function.
typedef CRuntimeClass* (*ClassLookupFn)(LPCSTR lpszClassName);
void AddClassSource(ClassLookupFn pfn);
void RemoveClassSource(ClassLookupFn pfn);
// Looks up only this module's own classes.
CRuntimeClass* FindModuleClass(LPCSTR lpszClassName);
} // namespace fx

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name) \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, (int)sizeof(class_name), (UINT)(wSchema), pfnNew, \
        RUNTIME_CLASS(base_class_name), NULL}; \
    static const ::fx::ClassRegistrar fxClassInit_##class_name(&class_name::class##class_name); \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) \
    { \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
        return ar; \
    }

// ---------------------------------------------------------------------------
// CObject: the root of the framework's class tree. Objects are not copyable.
class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

protected:
    CObject() = default;

public:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext& dc) const;

    static CRuntimeClass classCObject;
};

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// ---------------------------------------------------------------------------
// A small debug-output stream (writes to the debugger output).
class CDumpContext {
public:
    CDumpContext() = default;
    int GetDepth() const { return m_nDepth; }
    void SetDepth(int nNewDepth) { m_nDepth = nNewDepth; }
    CDumpContext& operator<<(LPCSTR lpsz);
    CDumpContext& operator<<(LPCWSTR lpsz);
    CDumpContext& operator<<(const void* lp);
    CDumpContext& operator<<(const CObject* pOb);
    CDumpContext& operator<<(const CObject& ob);
    CDumpContext& operator<<(int n);
    CDumpContext& operator<<(UINT u);
    CDumpContext& operator<<(long l);
    CDumpContext& operator<<(DWORD dw);
    CDumpContext& operator<<(LONGLONG n);
    CDumpContext& operator<<(ULONGLONG n);
    CDumpContext& operator<<(double d);
    void Flush() {}

private:
    int m_nDepth = 0;
};
extern CDumpContext afxDump;
