// An in-test data object holding a file drop list (CF_HDROP), as Explorer
// hands one to a context-menu extension or drops one on a window.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace qmtest {

class DropData : public IDataObject {
public:
    // Names in UTF-8; with `wide` the drop holds UTF-16 names, as Explorer's
    // does; without, the 8-bit names go into the list as they are.
    DropData(std::vector<std::string> names, bool wide, bool offerDrop = true)
        : m_names(std::move(names)), m_wide(wide), m_offerDrop(offerDrop) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG)
    AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG)
    Release() override { return --m_refs; } // lives on the test's stack

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        ++getDataCalls;
        if (!m_offerDrop || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        std::vector<BYTE> list;
        for (const std::string& name : m_names) {
            if (m_wide) {
                int n = MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, nullptr, 0);
                std::vector<wchar_t> w(n);
                MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, w.data(), n);
                const BYTE* b = reinterpret_cast<const BYTE*>(w.data());
                list.insert(list.end(), b, b + n * sizeof(wchar_t));
            } else {
                list.insert(list.end(), name.begin(), name.end());
                list.push_back(0);
            }
        }
        // The list ends with an empty name; an empty list is that name alone.
        size_t terminator = m_wide ? 2 : 1;
        if (m_names.empty())
            list.insert(list.end(), terminator, 0);
        list.insert(list.end(), terminator, 0);
        HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
        auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = m_wide;
        memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(mem);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = mem;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return m_offerDrop && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int getDataCalls = 0;

private:
    std::vector<std::string> m_names;
    bool m_wide;
    bool m_offerDrop;
    ULONG m_refs = 1;
};

} // namespace qmtest
