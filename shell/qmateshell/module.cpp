// QmateShell.dll: the in-process COM server of the Explorer extension. One
// creatable class (Load, implemented by CLoad), self-registration from the
// library's registry scripts and type library.
#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>
#include <vector>

#include "load.h"
#include "module_state.h"
#include "qmateshell_ids.h"
#include "registrar.h"
#include "resource.h"

namespace {

HINSTANCE g_instance = nullptr;
volatile LONG g_locks = 0;

const char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const char kApprovedData[] = "DllRegShlExt extension";

// ---- class factory -------------------------------------------------------------

class CLoadFactory : public IClassFactory {
public:
    // A live factory keeps the library loaded, like a live object.
    CLoadFactory() { ModuleLock(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG)
    AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG)
    Release() override
    {
        LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CLoad* obj = new (std::nothrow) CLoad();
        if (!obj)
            return E_OUTOFMEMORY;
        HRESULT hr = obj->QueryInterface(riid, ppv);
        obj->Release(); // the caller's reference, if any, keeps it alive
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            ModuleLock();
        else
            ModuleUnlock();
        return S_OK;
    }

private:
    virtual ~CLoadFactory() { ModuleUnlock(); }
    LONG m_refs = 1;
};

// ---- registration helpers -----------------------------------------------------

std::string ModulePath()
{
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(g_instance, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return std::string();
        if (n < buf.size())
            return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::wstring ModulePathW()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(g_instance, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return std::wstring();
        if (n < buf.size())
            return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

HRESULT RunScript(UINT id, bool doRegister)
{
    HRSRC res = FindResourceA(g_instance, MAKEINTRESOURCEA(id), "REGISTRY");
    if (!res)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    HGLOBAL mem = LoadResource(g_instance, res);
    const char* data = mem ? static_cast<const char*>(LockResource(mem)) : nullptr;
    if (!data)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    std::string text(data, SizeofResource(g_instance, res));

    std::string module = ModulePath();
    if (module.empty())
        return HRESULT_FROM_WIN32(GetLastError());
    CRegistryScript script;
    CRegistryScript::Variables vars = {{"MODULE", module}, {"APPID", QMATESHELL_APPID_STR}};
    if (!script.Parse(text, vars))
        return E_UNEXPECTED; // the script is part of this library
    return doRegister ? script.Register() : script.Unregister();
}

HRESULT RegisterTypeLibrary()
{
    std::wstring path = ModulePathW();
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib);
    if (FAILED(hr))
        return hr;
    hr = RegisterTypeLib(lib, &path[0], nullptr);
    lib->Release();
    return hr;
}

HRESULT UnregisterTypeLibrary()
{
    std::wstring path = ModulePathW();
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        // A library that is not registered has nothing to remove.
        char key[128];
        wsprintfA(key, "TypeLib\\%s\\%x.%x", QMATESHELL_LIBID_STR, attr->wMajorVerNum, attr->wMinorVerNum);
        HKEY probe = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &probe) == ERROR_SUCCESS) {
            RegCloseKey(probe);
            hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
        }
        lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    return hr;
}

bool IsNtFamily()
{
    return (GetVersion() & 0x80000000u) == 0;
}

} // namespace

// ---- module state ---------------------------------------------------------------

HINSTANCE ModuleInstance()
{
    return g_instance;
}

void ModuleLock()
{
    InterlockedIncrement(&g_locks);
}

void ModuleUnlock()
{
    InterlockedDecrement(&g_locks);
}

long ModuleLockCount()
{
    return InterlockedCompareExchange(&g_locks, 0, 0);
}

// ---- exports ---------------------------------------------------------------------

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_QmateShellLoad))
        return CLASS_E_CLASSNOTAVAILABLE;
    CLoadFactory* factory = new (std::nothrow) CLoadFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllRegisterServer()
{
    if (IsNtFamily()) {
        HKEY approved = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, &approved) != ERROR_SUCCESS)
            return E_ACCESSDENIED;
        LONG rc = RegSetValueExA(approved, QMATESHELL_CLSID_STR, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(kApprovedData), sizeof(kApprovedData));
        RegCloseKey(approved);
        if (rc != ERROR_SUCCESS)
            return E_ACCESSDENIED;
    }
    HRESULT hr = RunScript(IDR_LOAD, true);
    if (SUCCEEDED(hr))
        hr = RegisterTypeLibrary();
    if (FAILED(hr))
        return hr;
    return RunScript(IDR_QMATESHELL, true);
}

STDAPI DllUnregisterServer()
{
    if (IsNtFamily()) {
        HKEY approved = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, &approved) == ERROR_SUCCESS) {
            RegDeleteValueA(approved, QMATESHELL_CLSID_STR);
            RegCloseKey(approved);
        }
    }
    HRESULT hr = RunScript(IDR_LOAD, false);
    if (SUCCEEDED(hr))
        hr = UnregisterTypeLibrary();
    if (FAILED(hr))
        return hr;
    return RunScript(IDR_QMATESHELL, false);
}
