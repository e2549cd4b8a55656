#include "load.h"

#include <shellapi.h>

#include <cstdio>

#include "../common/wide_text.h"
#include "editor_launcher.h"
#include "module_state.h"
#include "resource.h"

namespace {

const char kCommandText[] = "Quillmate";
const char kHelpFormat[] = "Open the selected files in %s";

} // namespace

CLoad::CLoad()
{
    ModuleLock();
    m_menuBitmap = LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_MENU));
}

CLoad::~CLoad()
{
    if (m_typeInfo)
        m_typeInfo->Release();
    if (m_menuBitmap)
        DeleteObject(m_menuBitmap);
    ModuleUnlock();
}

// ---- IUnknown ----------------------------------------------------------------

STDMETHODIMP CLoad::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_QmateShellILoad))
        *ppv = static_cast<ILoad*>(this);
    else if (IsEqualIID(riid, IID_IShellExtInit))
        *ppv = static_cast<IShellExtInit*>(this);
    else if (IsEqualIID(riid, IID_IContextMenu))
        *ppv = static_cast<IContextMenu*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG)
CLoad::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG)
CLoad::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// ---- IDispatch ---------------------------------------------------------------

HRESULT CLoad::LoadTypeInfo()
{
    if (m_typeInfo)
        return S_OK;
    wchar_t path[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH * 4);
    if (n == 0 || n >= MAX_PATH * 4)
        return TYPE_E_CANTLOADLIBRARY;
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &lib);
    if (FAILED(hr))
        return hr;
    hr = lib->GetTypeInfoOfGuid(IID_QmateShellILoad, &m_typeInfo);
    lib->Release();
    return hr;
}

STDMETHODIMP CLoad::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CLoad::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    HRESULT hr = LoadTypeInfo();
    if (FAILED(hr))
        return hr;
    m_typeInfo->AddRef();
    *info = m_typeInfo;
    return S_OK;
}

STDMETHODIMP CLoad::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = LoadTypeInfo();
    if (FAILED(hr))
        return hr;
    return DispGetIDsOfNames(m_typeInfo, names, count, ids);
}

STDMETHODIMP CLoad::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excep, UINT* argErr)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = LoadTypeInfo();
    if (FAILED(hr))
        return hr;
    return DispInvoke(static_cast<ILoad*>(this), m_typeInfo, id, flags, params, result, excep, argErr);
}

// ---- IShellExtInit -----------------------------------------------------------

STDMETHODIMP CLoad::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    // A second call replaces the selection rather than adding to it.
    m_files.clear();
    if (!data)
        return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return E_INVALIDARG;
    if (medium.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&medium);
        return E_INVALIDARG;
    }
    HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    if (!drop) {
        ReleaseStgMedium(&medium);
        return E_INVALIDARG;
    }
    // The names are read wide: Explorer's code page cannot spell every name.
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Each name is fetched whole, however long it is.
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring name(length + 1, L'\0');
        UINT got = DragQueryFileW(drop, i, &name[0], length + 1);
        if (got == 0)
            continue;
        m_files.push_back(Utf8FromWide(name.c_str(), static_cast<int>(got)));
    }
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return m_files.empty() ? E_INVALIDARG : S_OK;
}

// ---- IContextMenu ------------------------------------------------------------

STDMETHODIMP CLoad::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags)
{
    if ((flags & CMF_DEFAULTONLY) || firstId > lastId)
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    if (!InsertMenuA(menu, index, MF_STRING | MF_BYPOSITION, firstId, kCommandText))
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    if (m_menuBitmap)
        SetMenuItemBitmaps(menu, index, MF_BYPOSITION, m_menuBitmap, nullptr);
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
}

STDMETHODIMP CLoad::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (!info)
        return E_INVALIDARG;
    // A verb given as a string is not ours; a command offset is.
    if (!IS_INTRESOURCE(info->lpVerb))
        return E_INVALIDARG;
    if (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0)
        return E_INVALIDARG;
    CEditorLauncher launcher(m_files);
    launcher.OpenFiles(); // every failure has been shown to the user already
    return S_OK;
}

STDMETHODIMP CLoad::GetCommandString(UINT_PTR command, UINT flags, UINT*, CHAR* name, UINT size)
{
    if (!(flags & GCS_HELPTEXTA))
        return S_OK; // verbs and validation: nothing to say
    if (command != 0)
        return E_INVALIDARG;
    if (!name)
        return E_INVALIDARG;
    if (size == 0)
        return S_OK;
    char text[128];
    std::snprintf(text, sizeof(text), kHelpFormat, kCommandText);
    if (flags & GCS_UNICODE) {
        wchar_t wide[128] = {};
        MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide, 128);
        lstrcpynW(reinterpret_cast<wchar_t*>(name), wide, static_cast<int>(size));
    } else {
        lstrcpynA(name, text, static_cast<int>(size));
    }
    return S_OK;
}
