// Diagnostics, module state, run-time classes and CObject.
#include "fx/core.h"
#include "fx/string.h"
#include "fx/except.h"
#include "fx/archive.h"

#include <cstdio>
#include <cstring>
#include <vector>

const char afxChNil = '\0';
const wchar_t afxWchNil = L'\0';

CDumpContext afxDump;

// ---------------------------------------------------------------------------
// Diagnostics

namespace fx {

void AssertFailed(const char* file, int line, const char* expr)
{
    char buf[512];
    _snprintf(buf, sizeof(buf) - 1, "%s(%d): assertion failed: %s\n", file ? file : "?", line, expr ? expr : "");
    buf[sizeof(buf) - 1] = 0;
    OutputDebugStringA(buf);
}

void __cdecl Trace(const char* format, ...)
{
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    CStringA s;
    try {
        s.FormatV(format, args);
    } catch (CException* e) {
        e->Delete();
    }
    va_end(args);
    OutputDebugStringA(s);
}

void __cdecl Trace(const wchar_t* format, ...)
{
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    CStringW s;
    try {
        s.FormatV(format, args);
    } catch (CException* e) {
        e->Delete();
    }
    va_end(args);
    OutputDebugStringW(s);
}

} // namespace fx

// ---------------------------------------------------------------------------
// Module state

namespace {

AFX_MODULE_STATE g_moduleState = {NULL, NULL, NULL, NULL};

HINSTANCE ThisModule()
{
    HMODULE h = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &h);
    return h ? h : GetModuleHandleA(NULL);
}

} // namespace

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    if (g_moduleState.m_hCurrentInstanceHandle == NULL)
        g_moduleState.m_hCurrentInstanceHandle = ThisModule();
    return &g_moduleState;
}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState() { return AfxGetModuleState(); }
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState() { return AfxGetModuleState(); }

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    AFX_MODULE_STATE* p = AfxGetModuleState();
    return p->m_hCurrentResourceHandle ? p->m_hCurrentResourceHandle : p->m_hCurrentInstanceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hRes = AfxGetResourceHandle();
    if (FindResourceA(hRes, lpszName, lpszType) != NULL)
        return hRes;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hInst != hRes && FindResourceA(hInst, lpszName, lpszType) != NULL)
        return hInst;
    return hRes;
}

// ---------------------------------------------------------------------------
// Run-time classes

namespace {

// The class list is linked during static initialisation; the lock covers
// classes of modules loaded later on other threads.
CRuntimeClass* g_pFirstClass = NULL;
SRWLOCK g_classLock = SRWLOCK_INIT;
std::vector<fx::ClassLookupFn>* g_pSources = NULL;

} // namespace

namespace fx {

ClassRegistrar::ClassRegistrar(CRuntimeClass* pClass)
{
    AcquireSRWLockExclusive(&g_classLock);
    pClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pClass;
    ReleaseSRWLockExclusive(&g_classLock);
}

CRuntimeClass* FindModuleClass(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return NULL;
    CRuntimeClass* pFound = NULL;
    AcquireSRWLockShared(&g_classLock);
    for (CRuntimeClass* p = g_pFirstClass; p; p = p->m_pNextClass) {
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) {
            pFound = p;
            break;
        }
    }
    ReleaseSRWLockShared(&g_classLock);
    return pFound;
}

void AddClassSource(ClassLookupFn pfn)
{
    AcquireSRWLockExclusive(&g_classLock);
    if (!g_pSources)
        g_pSources = new std::vector<ClassLookupFn>;
    g_pSources->push_back(pfn);
    ReleaseSRWLockExclusive(&g_classLock);
}

void RemoveClassSource(ClassLookupFn pfn)
{
    AcquireSRWLockExclusive(&g_classLock);
    if (g_pSources) {
        for (size_t i = 0; i < g_pSources->size(); ++i) {
            if ((*g_pSources)[i] == pfn) {
                g_pSources->erase(g_pSources->begin() + (ptrdiff_t)i);
                break;
            }
        }
    }
    ReleaseSRWLockExclusive(&g_classLock);
}

} // namespace fx

CObject* CRuntimeClass::CreateObject() const
{
    if (m_pfnCreateObject == NULL)
        return NULL;
    return (*m_pfnCreateObject)();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != NULL; p = p->m_pBaseClass) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    CRuntimeClass* p = fx::FindModuleClass(lpszClassName);
    if (p || !lpszClassName)
        return p;
    std::vector<fx::ClassLookupFn> sources;
    AcquireSRWLockShared(&g_classLock);
    if (g_pSources)
        sources = *g_pSources;
    ReleaseSRWLockShared(&g_classLock);
    for (fx::ClassLookupFn pfn : sources) {
        if ((p = pfn(lpszClassName)) != NULL)
            return p;
    }
    return NULL;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (!lpszClassName)
        return NULL;
    return FromName(fx::ToNarrow(lpszClassName).GetString());
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : NULL;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : NULL;
}

// ---------------------------------------------------------------------------
// CObject

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL, NULL};
static const fx::ClassRegistrar fxClassInit_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive& ar)
{
    (void)ar; // nothing to store at this level
}

void CObject::Dump(CDumpContext& dc) const
{
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << (const void*)this << "\n";
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != NULL && pObject->IsKindOf(pClass))
        return pObject;
    return NULL;
}

// ---------------------------------------------------------------------------
// CDumpContext

CDumpContext& CDumpContext::operator<<(LPCSTR lpsz)
{
    if (lpsz)
        OutputDebugStringA(lpsz);
    return *this;
}

CDumpContext& CDumpContext::operator<<(LPCWSTR lpsz)
{
    if (lpsz)
        OutputDebugStringW(lpsz);
    return *this;
}

namespace {
template <typename... A>
void DumpFormat(CDumpContext& dc, const char* fmt, A... a)
{
    char buf[64];
    _snprintf(buf, sizeof(buf) - 1, fmt, a...);
    buf[sizeof(buf) - 1] = 0;
    dc << static_cast<LPCSTR>(buf);
}
} // namespace

CDumpContext& CDumpContext::operator<<(const void* lp)
{
    DumpFormat(*this, "$%p", lp);
    return *this;
}
CDumpContext& CDumpContext::operator<<(const CObject* pOb)
{
    if (pOb)
        pOb->Dump(*this);
    else
        *this << "NULL";
    return *this;
}
CDumpContext& CDumpContext::operator<<(const CObject& ob)
{
    ob.Dump(*this);
    return *this;
}
CDumpContext& CDumpContext::operator<<(int n)
{
    DumpFormat(*this, "%d", n);
    return *this;
}
CDumpContext& CDumpContext::operator<<(UINT u)
{
    DumpFormat(*this, "%u", u);
    return *this;
}
CDumpContext& CDumpContext::operator<<(long l)
{
    DumpFormat(*this, "%ld", l);
    return *this;
}
CDumpContext& CDumpContext::operator<<(DWORD dw)
{
    DumpFormat(*this, "%lu", dw);
    return *this;
}
CDumpContext& CDumpContext::operator<<(LONGLONG n)
{
    DumpFormat(*this, "%I64d", n);
    return *this;
}
CDumpContext& CDumpContext::operator<<(ULONGLONG n)
{
    DumpFormat(*this, "%I64u", n);
    return *this;
}
CDumpContext& CDumpContext::operator<<(double d)
{
    DumpFormat(*this, "%g", d);
    return *this;
}
