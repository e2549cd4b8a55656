// The Explorer context-menu object: one command, "Quillmate", for any
// selection of files, which hands the selection to the editor.
#ifndef QMATESHELL_LOAD_H
#define QMATESHELL_LOAD_H

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "qmateshell_ids.h"

class CLoad : public ILoad, public IShellExtInit, public IContextMenu {
public:
    CLoad();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG)
    AddRef() override;
    STDMETHODIMP_(ULONG)
    Release() override;

    // IDispatch, answered from the type library's description of ILoad
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR command, UINT flags, UINT* reserved, CHAR* name, UINT size) override;

    const std::vector<std::string>& Files() const { return m_files; }

private:
    virtual ~CLoad();
    HRESULT LoadTypeInfo();

    LONG m_refs = 1;
    std::vector<std::string> m_files;
    HBITMAP m_menuBitmap = nullptr;
    ITypeInfo* m_typeInfo = nullptr;
};

#endif
