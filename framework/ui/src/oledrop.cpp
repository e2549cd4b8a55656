// OLE data objects, data sources and drop targets.
#include "fx/oledrop.h"
#include "fx/except.h"
#include "handlemap.h"

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

namespace {
thread_local int t_nOleState = 0; // 0 not tried, 1 done, -1 failed
} // namespace

BOOL AFXAPI AfxOleInit()
{
    if (t_nOleState == 0) {
        HRESULT hr = ::OleInitialize(NULL);
        t_nOleState = SUCCEEDED(hr) ? 1 : -1;
    }
    return t_nOleState > 0;
}

void fx::detail::OleTerm()
{
    if (t_nOleState > 0) {
        // Data this program put on the clipboard stays there after it ends
        // (nothing happens when the clipboard holds another program's data).
        ::OleFlushClipboard();
        ::OleUninitialize();
    }
    t_nOleState = 0;
}

namespace {

bool SameFormat(const FORMATETC& a, const FORMATETC& b)
{
    return a.cfFormat == b.cfFormat && (a.tymed & b.tymed) != 0 && a.dwAspect == b.dwAspect && a.lindex == b.lindex;
}

void FillFormatEtc(FORMATETC& fe, CLIPFORMAT cfFormat, DWORD tymed, const FORMATETC* pGiven)
{
    if (pGiven != NULL) {
        fe = *pGiven;
        fe.cfFormat = cfFormat;
        return;
    }
    fe.cfFormat = cfFormat;
    fe.ptd = NULL;
    fe.dwAspect = DVASPECT_CONTENT;
    fe.lindex = -1;
    fe.tymed = tymed;
}

// A copy of global memory.
HGLOBAL CopyGlobal(HGLOBAL hSource)
{
    SIZE_T nSize = ::GlobalSize(hSource);
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, nSize);
    if (hCopy == NULL)
        return NULL;
    void* pSrc = ::GlobalLock(hSource);
    void* pDst = ::GlobalLock(hCopy);
    if (pSrc != NULL && pDst != NULL)
        memcpy(pDst, pSrc, nSize);
    if (pSrc != NULL)
        ::GlobalUnlock(hSource);
    if (pDst != NULL)
        ::GlobalUnlock(hCopy);
    return hCopy;
}

// The formats of a data source, enumerated.
class FormatEnumerator : public IEnumFORMATETC {
public:
    explicit FormatEnumerator(const std::vector<FORMATETC>& formats) : m_formats(formats) {}
    STDMETHOD(QueryInterface)
    (REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFORMATETC)) {
            *ppv = static_cast<IEnumFORMATETC*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)
    () override { return (ULONG)InterlockedIncrement(&m_nRef); }
    STDMETHOD_(ULONG, Release)
    () override
    {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }
    STDMETHOD(Next)
    (ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override
    {
        ULONG n = 0;
        while (n < celt && m_nPos < m_formats.size())
            rgelt[n++] = m_formats[m_nPos++];
        if (pceltFetched != NULL)
            *pceltFetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)
    (ULONG celt) override
    {
        m_nPos += celt;
        if (m_nPos > m_formats.size()) {
            m_nPos = m_formats.size();
            return S_FALSE;
        }
        return S_OK;
    }
    STDMETHOD(Reset)
    () override
    {
        m_nPos = 0;
        return S_OK;
    }
    STDMETHOD(Clone)
    (IEnumFORMATETC** ppenum) override
    {
        FormatEnumerator* p = new FormatEnumerator(m_formats);
        p->m_nPos = m_nPos;
        *ppenum = p;
        return S_OK;
    }

private:
    virtual ~FormatEnumerator() = default;
    std::vector<FORMATETC> m_formats;
    size_t m_nPos = 0;
    LONG m_nRef = 1;
};

// Ends a drag on Escape or when the mouse button that started it goes up.
class DropSource : public IDropSource {
public:
    DropSource() = default;
    virtual ~DropSource() = default;
    STDMETHOD(QueryInterface)
    (REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    // Lives on the stack of DoDragDrop.
    STDMETHOD_(ULONG, AddRef)
    () override { return 2; }
    STDMETHOD_(ULONG, Release)
    () override { return 1; }
    STDMETHOD(QueryContinueDrag)
    (BOOL fEscapePressed, DWORD grfKeyState) override
    {
        if (fEscapePressed)
            return DRAGDROP_S_CANCEL;
        if (!(grfKeyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    STDMETHOD(GiveFeedback)
    (DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

// ---------------------------------------------------------------------------
// COleDataObject

COleDataObject::COleDataObject() : m_lpDataObject(NULL), m_lpEnumerator(NULL), m_bAutoRelease(TRUE) {}

COleDataObject::~COleDataObject()
{
    Release();
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    if (m_lpEnumerator != NULL) {
        m_lpEnumerator->Release();
        m_lpEnumerator = NULL;
    }
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = NULL;
    return lpDataObject;
}

void COleDataObject::Release()
{
    if (m_lpEnumerator != NULL) {
        m_lpEnumerator->Release();
        m_lpEnumerator = NULL;
    }
    if (m_lpDataObject != NULL) {
        if (m_bAutoRelease)
            m_lpDataObject->Release();
        m_lpDataObject = NULL;
    }
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT lpDataObject = NULL;
    if (FAILED(::OleGetClipboard(&lpDataObject)) || lpDataObject == NULL)
        return FALSE;
    Attach(lpDataObject, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef)
{
    if (bAddRef && m_lpDataObject != NULL)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

void COleDataObject::BeginEnumFormats()
{
    if (m_lpEnumerator != NULL) {
        m_lpEnumerator->Release();
        m_lpEnumerator = NULL;
    }
    if (m_lpDataObject != NULL)
        m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc)
{
    if (m_lpEnumerator == NULL)
        return FALSE;
    ULONG nFetched = 0;
    if (m_lpEnumerator->Next(1, lpFormatEtc, &nFetched) != S_OK || nFetched != 1)
        return FALSE;
    // The target device belongs to the caller otherwise; not used here.
    if (lpFormatEtc->ptd != NULL) {
        ::CoTaskMemFree(lpFormatEtc->ptd);
        lpFormatEtc->ptd = NULL;
    }
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (m_lpDataObject == NULL)
        return FALSE;
    FORMATETC fe;
    FillFormatEtc(fe, cfFormat, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_GDI | TYMED_MFPICT | TYMED_ENHMF, lpFormatEtc);
    return m_lpDataObject->QueryGetData(&fe) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    if (m_lpDataObject == NULL)
        return FALSE;
    FORMATETC fe;
    FillFormatEtc(fe, cfFormat, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_GDI | TYMED_MFPICT | TYMED_ENHMF, lpFormatEtc);
    ZeroMemory(lpStgMedium, sizeof(STGMEDIUM));
    return SUCCEEDED(m_lpDataObject->GetData(&fe, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (m_lpDataObject == NULL)
        return NULL;
    FORMATETC fe;
    FillFormatEtc(fe, cfFormat, TYMED_HGLOBAL, lpFormatEtc);
    fe.tymed = TYMED_HGLOBAL;
    STGMEDIUM stg;
    ZeroMemory(&stg, sizeof(stg));
    if (FAILED(m_lpDataObject->GetData(&fe, &stg)))
        return NULL;
    if (stg.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&stg);
        return NULL;
    }
    // Memory still owned by the source is copied; otherwise it is ours.
    if (stg.pUnkForRelease != NULL) {
        HGLOBAL hCopy = CopyGlobal(stg.hGlobal);
        ::ReleaseStgMedium(&stg);
        return hCopy;
    }
    return stg.hGlobal;
}

// ---------------------------------------------------------------------------
// COleDataSource

COleDataSource::COleDataSource()
{
    m_xDataObject.m_pOuter = this;
}

COleDataSource::~COleDataSource()
{
    Empty();
}

void COleDataSource::Empty()
{
    for (Entry& e : m_entries) {
        ::ReleaseStgMedium(&e.stgMedium);
        if (e.formatEtc.ptd != NULL)
            ::CoTaskMemFree(e.formatEtc.ptd);
    }
    m_entries.clear();
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    Entry entry;
    FillFormatEtc(entry.formatEtc, cfFormat, lpStgMedium->tymed, lpFormatEtc);
    entry.formatEtc.tymed = lpStgMedium->tymed;
    entry.stgMedium = *lpStgMedium;
    // A format cached again replaces the older data.
    for (Entry& e : m_entries) {
        if (e.formatEtc.cfFormat == cfFormat && e.formatEtc.dwAspect == entry.formatEtc.dwAspect &&
            e.formatEtc.tymed == entry.formatEtc.tymed) {
            ::ReleaseStgMedium(&e.stgMedium);
            e = entry;
            return;
        }
    }
    m_entries.push_back(entry);
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc)
{
    STGMEDIUM stg;
    ZeroMemory(&stg, sizeof(stg));
    stg.tymed = TYMED_HGLOBAL;
    stg.hGlobal = hGlobal;
    CacheData(cfFormat, &stg, lpFormatEtc);
}

const COleDataSource::Entry* COleDataSource::Lookup(const FORMATETC* pFormatEtc) const
{
    for (const Entry& e : m_entries) {
        if (SameFormat(e.formatEtc, *pFormatEtc))
            return &e;
    }
    return NULL;
}

LPDATAOBJECT COleDataSource::GetDataObject()
{
    m_xDataObject.AddRef();
    return &m_xDataObject;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT)
{
    DropSource source;
    DWORD dwEffect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(&m_xDataObject, &source, dwEffects, &dwEffect);
    return hr == DRAGDROP_S_DROP ? dwEffect : DROPEFFECT_NONE;
}

void COleDataSource::SetClipboard()
{
    if (SUCCEEDED(::OleSetClipboard(&m_xDataObject))) {
        // The clipboard holds its own reference now; the creator's goes.
        InternalRelease();
    }
}

void PASCAL COleDataSource::FlushClipboard()
{
    ::OleFlushClipboard();
}

STDMETHODIMP COleDataSource::XDataObject::QueryInterface(REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG)
COleDataSource::XDataObject::AddRef() { return m_pOuter->InternalAddRef(); }
STDMETHODIMP_(ULONG)
COleDataSource::XDataObject::Release() { return m_pOuter->InternalRelease(); }

STDMETHODIMP COleDataSource::XDataObject::GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium)
{
    if (pformatetcIn == NULL || pmedium == NULL)
        return E_INVALIDARG;
    ZeroMemory(pmedium, sizeof(STGMEDIUM));
    const Entry* pEntry = m_pOuter->Lookup(pformatetcIn);
    if (pEntry == NULL)
        return DV_E_FORMATETC;
    // The receiver gets its own copy (it may free it).
    const STGMEDIUM& src = pEntry->stgMedium;
    pmedium->tymed = src.tymed;
    switch (src.tymed) {
    case TYMED_HGLOBAL:
        pmedium->hGlobal = CopyGlobal(src.hGlobal);
        return pmedium->hGlobal != NULL ? S_OK : E_OUTOFMEMORY;
    case TYMED_ISTREAM:
        pmedium->pstm = src.pstm;
        pmedium->pstm->AddRef();
        return S_OK;
    case TYMED_ISTORAGE:
        pmedium->pstg = src.pstg;
        pmedium->pstg->AddRef();
        return S_OK;
    default:
        pmedium->hGlobal = (HGLOBAL)::OleDuplicateData(src.hGlobal, pEntry->formatEtc.cfFormat, 0);
        return pmedium->hGlobal != NULL ? S_OK : E_OUTOFMEMORY;
    }
}

STDMETHODIMP COleDataSource::XDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

STDMETHODIMP COleDataSource::XDataObject::QueryGetData(FORMATETC* pformatetc)
{
    if (pformatetc == NULL)
        return E_INVALIDARG;
    return m_pOuter->Lookup(pformatetc) != NULL ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pformatetcOut)
{
    if (pformatetcOut != NULL)
        pformatetcOut->ptd = NULL;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP COleDataSource::XDataObject::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc)
{
    if (ppenumFormatEtc == NULL)
        return E_INVALIDARG;
    *ppenumFormatEtc = NULL;
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Entry& e : m_pOuter->m_entries) {
        FORMATETC fe = e.formatEtc;
        fe.ptd = NULL;
        formats.push_back(fe);
    }
    *ppenumFormatEtc = new FormatEnumerator(formats);
    return S_OK;
}

STDMETHODIMP COleDataSource::XDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::XDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP COleDataSource::XDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

// ---------------------------------------------------------------------------
// COleDropTarget

COleDropTarget::COleDropTarget() : m_hWnd(NULL), m_dropEffectLast(DROPEFFECT_NONE)
{
    m_xDropTarget.m_pOuter = this;
}

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL || m_hWnd != NULL)
        return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget)))
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == NULL)
        return;
    ::RevokeDragDrop(m_hWnd);
    m_hWnd = NULL;
    m_dataObject.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return (DROPEFFECT)-1; }
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG)
COleDropTarget::XDropTarget::AddRef() { return m_pOuter->InternalAddRef(); }
STDMETHODIMP_(ULONG)
COleDropTarget::XDropTarget::Release() { return m_pOuter->InternalRelease(); }

namespace {

// The key-state effect a drop would have by default: Ctrl copies, Ctrl+Shift
// links, otherwise move when allowed, else copy.
DROPEFFECT FilterEffect(DROPEFFECT dropEffect, DWORD dwAllowed)
{
    if ((dropEffect & dwAllowed) != (dropEffect & ~DROPEFFECT_SCROLL)) {
        DROPEFFECT de = dropEffect & DROPEFFECT_SCROLL;
        if ((dropEffect & DROPEFFECT_MOVE) && (dwAllowed & DROPEFFECT_COPY))
            de |= DROPEFFECT_COPY;
        else if ((dropEffect & DROPEFFECT_COPY) && (dwAllowed & DROPEFFECT_MOVE))
            de |= DROPEFFECT_MOVE;
        return de;
    }
    return dropEffect;
}

} // namespace

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                    DWORD* pdwEffect)
{
    COleDropTarget* pThis = m_pOuter;
    CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
    if (pWnd == NULL || pdwEffect == NULL)
        return E_UNEXPECTED;
    CPoint point(pt.x, pt.y);
    pWnd->ScreenToClient(&point);
    pDataObj->AddRef();
    pThis->m_dataObject.Attach(pDataObj, TRUE);
    DROPEFFECT de = pThis->OnDragScroll(pWnd, grfKeyState, point);
    if (!(de & DROPEFFECT_SCROLL))
        de = pThis->OnDragEnter(pWnd, &pThis->m_dataObject, grfKeyState, point);
    *pdwEffect = pThis->m_dropEffectLast = FilterEffect(de, *pdwEffect);
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    COleDropTarget* pThis = m_pOuter;
    CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
    if (pWnd == NULL || pdwEffect == NULL)
        return E_UNEXPECTED;
    CPoint point(pt.x, pt.y);
    pWnd->ScreenToClient(&point);
    DROPEFFECT de = pThis->OnDragScroll(pWnd, grfKeyState, point);
    if (!(de & DROPEFFECT_SCROLL))
        de = pThis->OnDragOver(pWnd, &pThis->m_dataObject, grfKeyState, point);
    *pdwEffect = pThis->m_dropEffectLast = FilterEffect(de, *pdwEffect);
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave()
{
    COleDropTarget* pThis = m_pOuter;
    CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
    if (pWnd != NULL)
        pThis->OnDragLeave(pWnd);
    pThis->m_dataObject.Release();
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    COleDropTarget* pThis = m_pOuter;
    CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
    if (pWnd == NULL || pdwEffect == NULL)
        return E_UNEXPECTED;
    CPoint point(pt.x, pt.y);
    pWnd->ScreenToClient(&point);
    pDataObj->AddRef();
    pThis->m_dataObject.Attach(pDataObj, TRUE);

    DWORD dwAllowed = *pdwEffect;
    DROPEFFECT de = pThis->OnDragOver(pWnd, &pThis->m_dataObject, grfKeyState, point);
    de = FilterEffect(de, dwAllowed);
    DROPEFFECT deResult = pThis->OnDropEx(pWnd, &pThis->m_dataObject, de, dwAllowed, point);
    if (deResult == (DROPEFFECT)-1) {
        deResult = de;
        if (de != DROPEFFECT_NONE && !pThis->OnDrop(pWnd, &pThis->m_dataObject, de, point))
            deResult = DROPEFFECT_NONE;
    }
    *pdwEffect = deResult;
    pThis->OnDragLeave(pWnd);
    pThis->m_dataObject.Release();
    return S_OK;
}
