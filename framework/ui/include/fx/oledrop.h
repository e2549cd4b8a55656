// fx/oledrop.h - OLE data transfer: data objects (clipboard and drag and
// drop), data sources and drop targets.
//
// The thread must have called AfxOleInit first.
#pragma once

#include "fx/wnd.h"
#include <ole2.h>
#include <vector>

typedef DWORD DROPEFFECT;

// Initialises OLE on the calling thread (once); FALSE when it fails.
BOOL AFXAPI AfxOleInit();

// Reads data offered by another program: the clipboard or a drag.
class COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The current clipboard contents.
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
    // A global memory block the caller owns (GlobalFree); NULL when the
    // format is not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);

protected:
    LPDATAOBJECT m_lpDataObject;
    LPENUMFORMATETC m_lpEnumerator;
    BOOL m_bAutoRelease;
};

// Offers data for the clipboard or a drag.
class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // The source takes ownership of the data.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = NULL);
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
    void Empty();

    // Runs a drag; the effect the target chose (DROPEFFECT_NONE when the
    // drag was cancelled).
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = NULL);
    // Puts the data on the clipboard. The clipboard takes over the creator's
    // reference: the object must come from new and not be deleted by the
    // caller afterwards.
    void SetClipboard();
    static void PASCAL FlushClipboard();

    // The object's IDataObject (with a reference for the caller).
    LPDATAOBJECT GetDataObject();

protected:
    struct Entry {
        FORMATETC formatEtc;
        STGMEDIUM stgMedium;
    };
    std::vector<Entry> m_entries;
    const Entry* Lookup(const FORMATETC* pFormatEtc) const;

    struct XDataObject : public IDataObject {
        COleDataSource* m_pOuter;
        STDMETHOD(QueryInterface)
        (REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)
        () override;
        STDMETHOD_(ULONG, Release)
        () override;
        STDMETHOD(GetData)
        (FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
        STDMETHOD(GetDataHere)
        (FORMATETC* pformatetc, STGMEDIUM* pmedium) override;
        STDMETHOD(QueryGetData)
        (FORMATETC* pformatetc) override;
        STDMETHOD(GetCanonicalFormatEtc)
        (FORMATETC* pformatectIn, FORMATETC* pformatetcOut) override;
        STDMETHOD(SetData)
        (FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) override;
        STDMETHOD(EnumFormatEtc)
        (DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override;
        STDMETHOD(DAdvise)
        (FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink, DWORD* pdwConnection) override;
        STDMETHOD(DUnadvise)
        (DWORD dwConnection) override;
        STDMETHOD(EnumDAdvise)
        (IEnumSTATDATA** ppenumAdvise) override;
    } m_xDataObject;
    friend struct XDataObject;
};

// A window that accepts drops. The point handed to the handlers is in the
// window's client coordinates.
class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;

    BOOL Register(CWnd* pWnd);
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    // TRUE when the data was taken.
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 (the default) lets OnDrop decide.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // The registered interface (what the system calls during a drag).
    IDropTarget* GetDropTargetInterface() { return &m_xDropTarget; }

protected:
    HWND m_hWnd;
    COleDataObject m_dataObject;
    DROPEFFECT m_dropEffectLast;

    struct XDropTarget : public IDropTarget {
        COleDropTarget* m_pOuter;
        STDMETHOD(QueryInterface)
        (REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)
        () override;
        STDMETHOD_(ULONG, Release)
        () override;
        STDMETHOD(DragEnter)
        (IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragOver)
        (DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragLeave)
        () override;
        STDMETHOD(Drop)
        (IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    } m_xDropTarget;
    friend struct XDropTarget;
};
