// The web browser control in a window: a minimal in-place site, the host
// and CHtmlView. Every failure of the control is quiet (see fx/htmlview.h).
#include "dvimpl.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleauto.h>

// ---------------------------------------------------------------------------
// The site the control lives in: client site, in-place site and frame.

namespace fx {

class BrowserSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    BrowserSite(HWND hWndContainer, const RECT& rect) : m_nRef(1), m_hWnd(hWndContainer), m_rect(rect) {}
    virtual ~BrowserSite() = default;

    void SetRect(const RECT& rect) { m_rect = rect; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == NULL)
            return E_POINTER;
        *ppv = NULL;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            *ppv = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceSite) || IsEqualIID(riid, IID_IOleWindow))
            *ppv = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceFrame) || IsEqualIID(riid, IID_IOleInPlaceUIWindow))
            *ppv = static_cast<IOleInPlaceFrame*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG)
    AddRef() override { return (ULONG)InterlockedIncrement(&m_nRef); }
    STDMETHODIMP_(ULONG)
    Release() override
    {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override
    {
        if (ppContainer != NULL)
            *ppContainer = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the site and the frame)
    STDMETHODIMP GetWindow(HWND* phwnd) override
    {
        if (phwnd == NULL)
            return E_POINTER;
        *phwnd = m_hWnd;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override
    {
        if (ppFrame != NULL) {
            *ppFrame = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
        }
        if (ppDoc != NULL)
            *ppDoc = NULL;
        if (lprcPosRect != NULL)
            *lprcPosRect = m_rect;
        if (lprcClipRect != NULL)
            *lprcClipRect = m_rect;
        if (lpFrameInfo != NULL) {
            lpFrameInfo->fMDIApp = FALSE;
            lpFrameInfo->hwndFrame = m_hWnd;
            lpFrameInfo->haccel = NULL;
            lpFrameInfo->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    LONG m_nRef;
    HWND m_hWnd;
    RECT m_rect;
};

} // namespace fx

// ---------------------------------------------------------------------------
// CWebBrowserHost

namespace {

BSTR AnsiToBstr(LPCSTR lpsz)
{
    if (lpsz == NULL)
        return NULL;
    int n = ::MultiByteToWideChar(CP_ACP, 0, lpsz, -1, NULL, 0);
    BSTR b = ::SysAllocStringLen(NULL, (UINT)(n > 0 ? n - 1 : 0));
    if (b != NULL && n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, lpsz, -1, b, n);
    return b;
}

// The HTML engine behind the browser control. Without it the control may
// come up and even accept a URL, but never shows a page.
BOOL HtmlEngineAvailable()
{
    static const CLSID kHtmlDocument = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};
    IUnknown* pUnknown = NULL;
    HRESULT hr = ::CoCreateInstance(kHtmlDocument, NULL, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    reinterpret_cast<void**>(&pUnknown));
    if (FAILED(hr) || pUnknown == NULL)
        return FALSE;
    pUnknown->Release();
    return TRUE;
}

} // namespace

CWebBrowserHost::CWebBrowserHost() : m_pBrowser(NULL), m_pOleObject(NULL), m_pSite(NULL) {}

CWebBrowserHost::~CWebBrowserHost()
{
    Destroy();
}

BOOL CWebBrowserHost::Create(HWND hWndContainer, const RECT& rect)
{
    Destroy();
    if (hWndContainer == NULL || !HtmlEngineAvailable())
        return FALSE;
    IOleObject* pOleObject = NULL;
    HRESULT hr = ::CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(&pOleObject));
    if (FAILED(hr) || pOleObject == NULL)
        return FALSE;

    fx::BrowserSite* pSite = new fx::BrowserSite(hWndContainer, rect);
    hr = pOleObject->SetClientSite(static_cast<IOleClientSite*>(pSite));
    RECT rc = rect;
    if (SUCCEEDED(hr))
        hr = pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, static_cast<IOleClientSite*>(pSite), 0, hWndContainer,
                                &rc);
    IWebBrowser2* pBrowser = NULL;
    if (SUCCEEDED(hr))
        hr = pOleObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser));
    if (FAILED(hr) || pBrowser == NULL) {
        pOleObject->Close(OLECLOSE_NOSAVE);
        pOleObject->SetClientSite(NULL);
        pOleObject->Release();
        pSite->Release();
        return FALSE;
    }
    // Script errors and the like are not shown as dialogs.
    pBrowser->put_Silent(VARIANT_TRUE);
    m_pOleObject = pOleObject;
    m_pBrowser = pBrowser;
    m_pSite = pSite;
    return TRUE;
}

void CWebBrowserHost::Destroy()
{
    if (m_pBrowser != NULL) {
        m_pBrowser->Release();
        m_pBrowser = NULL;
    }
    if (m_pOleObject != NULL) {
        m_pOleObject->Close(OLECLOSE_NOSAVE);
        m_pOleObject->SetClientSite(NULL);
        m_pOleObject->Release();
        m_pOleObject = NULL;
    }
    if (m_pSite != NULL) {
        m_pSite->Release();
        m_pSite = NULL;
    }
}

BOOL CWebBrowserHost::Navigate2(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTargetFrameName, LPCSTR lpszHeaders,
                                LPVOID lpvPostData, DWORD dwPostDataLen)
{
    if (m_pBrowser == NULL || lpszURL == NULL)
        return FALSE;
    VARIANT vURL, vFlags, vTarget, vPost, vHeaders;
    ::VariantInit(&vURL);
    ::VariantInit(&vFlags);
    ::VariantInit(&vTarget);
    ::VariantInit(&vPost);
    ::VariantInit(&vHeaders);
    vURL.vt = VT_BSTR;
    vURL.bstrVal = AnsiToBstr(lpszURL);
    vFlags.vt = VT_I4;
    vFlags.lVal = (LONG)dwFlags;
    if (lpszTargetFrameName != NULL) {
        vTarget.vt = VT_BSTR;
        vTarget.bstrVal = AnsiToBstr(lpszTargetFrameName);
    }
    if (lpszHeaders != NULL) {
        vHeaders.vt = VT_BSTR;
        vHeaders.bstrVal = AnsiToBstr(lpszHeaders);
    }
    if (lpvPostData != NULL && dwPostDataLen > 0) {
        SAFEARRAY* psa = ::SafeArrayCreateVector(VT_UI1, 0, dwPostDataLen);
        if (psa != NULL) {
            void* pData = NULL;
            if (SUCCEEDED(::SafeArrayAccessData(psa, &pData))) {
                memcpy(pData, lpvPostData, dwPostDataLen);
                ::SafeArrayUnaccessData(psa);
            }
            vPost.vt = VT_ARRAY | VT_UI1;
            vPost.parray = psa;
        }
    }
    HRESULT hr = m_pBrowser->Navigate2(&vURL, &vFlags, &vTarget, &vPost, &vHeaders);
    ::VariantClear(&vURL);
    ::VariantClear(&vTarget);
    ::VariantClear(&vPost);
    ::VariantClear(&vHeaders);
    return SUCCEEDED(hr);
}

IDispatch* CWebBrowserHost::GetHtmlDocument() const
{
    if (m_pBrowser == NULL)
        return NULL;
    IDispatch* pDisp = NULL;
    HRESULT hr = m_pBrowser->get_Document(&pDisp);
    if (FAILED(hr) || hr == S_FALSE) {
        if (pDisp != NULL)
            pDisp->Release();
        return NULL;
    }
    return pDisp;
}

void CWebBrowserHost::SetRect(const RECT& rect)
{
    if (m_pSite != NULL)
        m_pSite->SetRect(rect);
    if (m_pOleObject == NULL)
        return;
    IOleInPlaceObject* pInPlace = NULL;
    if (SUCCEEDED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&pInPlace))) &&
        pInPlace != NULL) {
        pInPlace->SetObjectRects(&rect, &rect);
        pInPlace->Release();
    }
}

// ---------------------------------------------------------------------------
// CHtmlView

IMPLEMENT_DYNCREATE(CHtmlView, CView)

BEGIN_MESSAGE_MAP(CHtmlView, CView)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CHtmlView::CHtmlView() = default;

CHtmlView::~CHtmlView() = default;

BOOL CHtmlView::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    if (!CView::Create(lpszClassName, lpszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID, pContext))
        return FALSE;
    // Without a working browser the view stays, empty.
    CRect rectClient;
    GetClientRect(&rectClient);
    m_host.Create(m_hWnd, rectClient);
    return TRUE;
}

BOOL CHtmlView::Navigate2(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTargetFrameName, LPCSTR lpszHeaders,
                          LPVOID lpvPostData, DWORD dwPostDataLen)
{
    return m_host.Navigate2(lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData, dwPostDataLen);
}

BOOL CHtmlView::LoadFromResource(LPCSTR lpszResource)
{
    if (lpszResource == NULL)
        return FALSE;
    char szModule[MAX_PATH];
    if (::GetModuleFileNameA(AfxGetResourceHandle(), szModule, MAX_PATH) == 0)
        return FALSE;
    CString strURL;
    if (IS_INTRESOURCE(lpszResource))
        strURL.Format("res://%s/%u", szModule, (UINT)(UINT_PTR)lpszResource);
    else
        strURL.Format("res://%s/%s", szModule, lpszResource);
    return Navigate2(strURL);
}

BOOL CHtmlView::LoadFromResource(UINT nRes)
{
    return LoadFromResource(MAKEINTRESOURCEA(nRes));
}

void CHtmlView::OnDraw(CDC*) {}

void CHtmlView::OnInitialUpdate() {}

void CHtmlView::OnSize(UINT, int cx, int cy)
{
    Default();
    m_host.SetRect(CRect(0, 0, cx, cy));
}

void CHtmlView::OnDestroy()
{
    m_host.Destroy();
    CView::OnDestroy();
}

BOOL CHtmlView::OnEraseBkgnd(CDC* pDC)
{
    if (m_host.IsCreated())
        return TRUE; // the browser covers the view
    CRect rect;
    GetClientRect(&rect);
    ::FillRect(pDC->GetSafeHdc(), &rect, ::GetSysColorBrush(COLOR_WINDOW));
    return TRUE;
}
