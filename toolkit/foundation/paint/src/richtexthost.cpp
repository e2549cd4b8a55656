// richtexthost.cpp - the windowless rich-text host over the run-time bound
// rich-edit engine.
#include <qx/richtexthost.h>

#include <string.h>

namespace {

// The engine's interface ids. Only the engine's own import library carries
// them, and the engine is bound at run time.
const IID kIID_ITextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIID_ITextHost = {0x13E670F4, 0x1A5A, 0x11CF, {0xAB, 0xEB, 0x00, 0xAA, 0x00, 0xB6, 0x5E, 0xA1}};

const DWORD kMaxLength = 0x1000000;
const DWORD kPropertyBits = TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP;

// The text being streamed in, read from the front.
struct MemoryFile {
    const char* pData;
    LONG nLength;
    LONG nPos;
};

DWORD CALLBACK ReadMemoryFile(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    MemoryFile* pFile = reinterpret_cast<MemoryFile*>(dwCookie);
    LONG n = pFile->nLength - pFile->nPos;
    if (n > cb)
        n = cb;
    if (n < 0)
        n = 0;
    memcpy(pbBuff, pFile->pData + pFile->nPos, (size_t)n);
    pFile->nPos += n;
    *pcb = n;
    return 0;
}

} // namespace

RichTextHost::RichTextHost(LPCSTR lpszEngine)
    : m_pServices(NULL), m_cxRequested(0), m_cyRequested(0), m_hEngine(NULL), m_cxMeasured(0), m_cyMeasured(0)
{
    memset(&m_cf, 0, sizeof(m_cf));
    m_cf.cbSize = sizeof(m_cf);
    m_cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET | CFM_FACE | CFM_COLOR | CFM_SIZE;
    NONCLIENTMETRICSA ncm;
    memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    HDC hdcScreen = ::GetDC(NULL);
    int nDpi = hdcScreen ? ::GetDeviceCaps(hdcScreen, LOGPIXELSY) : 96;
    if (hdcScreen)
        ::ReleaseDC(NULL, hdcScreen);
    m_cf.yHeight = -::MulDiv(ncm.lfMessageFont.lfHeight, 1440, nDpi > 0 ? nDpi : 96);
    m_cf.crTextColor = ::GetSysColor(COLOR_BTNTEXT);
    // The field holds 31 characters and the terminating zero.
    const int nFace = (int)(sizeof(m_cf.szFaceName) / sizeof(m_cf.szFaceName[0]));
    int n = ::MultiByteToWideChar(CP_ACP, 0, ncm.lfMessageFont.lfFaceName, -1, m_cf.szFaceName, nFace);
    if (n <= 0) {
        // Too long for the field (or not convertible): as much as fits.
        int nLen = (int)strnlen(ncm.lfMessageFont.lfFaceName, LF_FACESIZE);
        n = ::MultiByteToWideChar(CP_ACP, 0, ncm.lfMessageFont.lfFaceName, nLen, m_cf.szFaceName, nFace - 1);
        if (n < 0)
            n = 0;
    }
    m_cf.szFaceName[nFace - 1] = 0;
    if (n < nFace)
        m_cf.szFaceName[n] = 0;

    memset(&m_pf, 0, sizeof(m_pf));
    m_pf.cbSize = sizeof(m_pf);
    m_pf.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING |
                  PFM_RTLPARA | PFM_OFFSETINDENT;
    m_pf.wAlignment = PFA_LEFT;

    m_hEngine = lpszEngine ? ::LoadLibraryA(lpszEngine) : NULL;
    if (!m_hEngine)
        return;
    PCreateTextServices pfnCreate = (PCreateTextServices)(void*)::GetProcAddress(m_hEngine, "CreateTextServices");
    IUnknown* pUnknown = NULL;
    if (!pfnCreate || FAILED(pfnCreate(NULL, this, &pUnknown)) || !pUnknown)
        return;
    void* pServices = NULL;
    if (SUCCEEDED(pUnknown->QueryInterface(kIID_ITextServices, &pServices)))
        m_pServices = static_cast<ITextServices*>(pServices);
    pUnknown->Release();
}

RichTextHost::~RichTextHost()
{
    if (m_pServices)
        m_pServices->Release();
    m_pServices = NULL;
    if (m_hEngine)
        ::FreeLibrary(m_hEngine);
}

LRESULT RichTextHost::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (m_pServices)
        m_pServices->TxSendMessage(message, wParam, lParam, &lResult);
    return lResult;
}

void RichTextHost::SetDefaultCharFormat(const CHARFORMATW* pFormat)
{
    if (!pFormat)
        return;
    m_cf = *pFormat;
    m_cf.cbSize = sizeof(m_cf);
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&m_cf);
}

int RichTextHost::SetText(LPCSTR lpszText)
{
    if (!m_pServices)
        return 0;
    if (!lpszText || !*lpszText) {
        m_pServices->TxSetText(L"");
        return 0;
    }
    MemoryFile file = {lpszText, (LONG)strlen(lpszText), 0};
    EDITSTREAM es;
    es.dwCookie = (DWORD_PTR)&file;
    es.dwError = 0;
    es.pfnCallback = ReadMemoryFile;
    int nRead = (int)Send(EM_STREAMIN, SF_RTF, (LPARAM)&es);
    if (nRead < 1) {
        // Not RTF: the same bytes as plain text.
        file.nPos = 0;
        es.dwError = 0;
        nRead = (int)Send(EM_STREAMIN, SF_TEXT, (LPARAM)&es);
    }
    return nRead;
}

void RichTextHost::Probe(HDC hDC, int cx)
{
    RECTL rc = {0, 0, cx, 1};
    m_pServices->TxDraw(DVASPECT_CONTENT, 0, NULL, NULL, hDC, NULL, &rc, NULL, NULL, NULL, 0, TXTVIEW_ACTIVE);
}

SIZE RichTextHost::GetIdealSize(HDC hDC, int nWidth)
{
    SIZE sz = {0, 0};
    if (!m_pServices || !hDC)
        return sz;
    Send(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    m_cxRequested = m_cyRequested = 0;
    int hi = 2 * nWidth, lo = 0, nReference = 0;
    BOOL bFirst = TRUE;
    while (lo < hi) {
        int mid = (hi + lo) / 2;
        // The first probe is at nWidth (the middle of 0 .. 2 nWidth): its
        // height is the one to keep.
        Probe(hDC, mid);
        if (bFirst) {
            nReference = m_cyRequested;
            bFirst = FALSE;
        }
        if (m_cyRequested > nReference)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    if (m_cyRequested > nReference)
        Probe(hDC, hi + 1);
    m_cxMeasured = m_cxRequested;
    m_cyMeasured = m_cyRequested;
    sz.cx = m_cxMeasured;
    sz.cy = m_cyMeasured;
    return sz;
}

void RichTextHost::Draw(HDC hDC, const RECT& rc)
{
    if (!m_pServices || !hDC)
        return;
    RECTL rcl = {rc.left, rc.top, rc.right, rc.bottom};
    m_pServices->TxDraw(DVASPECT_CONTENT, 0, NULL, NULL, hDC, NULL, &rcl, NULL, NULL, NULL, 0, TXTVIEW_ACTIVE);
}

HRESULT STDMETHODCALLTYPE RichTextHost::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIID_ITextHost)) {
        *ppv = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

HRESULT RichTextHost::TxGetClientRect(LPRECT prc)
{
    if (prc)
        ::SetRectEmpty(prc);
    return E_FAIL;
}

HRESULT RichTextHost::TxGetViewInset(LPRECT prc)
{
    if (prc)
        ::SetRectEmpty(prc);
    return S_OK;
}

HRESULT RichTextHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    *ppCF = &m_cf;
    return S_OK;
}

HRESULT RichTextHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    *ppPF = &m_pf;
    return S_OK;
}

HRESULT RichTextHost::TxGetBackStyle(TXTBACKSTYLE* pStyle)
{
    *pStyle = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT RichTextHost::TxGetMaxLength(DWORD* pLength)
{
    *pLength = kMaxLength;
    return S_OK;
}

HRESULT RichTextHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    *pdwScrollBar = 0;
    return S_OK;
}

HRESULT RichTextHost::TxGetAcceleratorPos(LONG* pcp)
{
    *pcp = -1;
    return S_OK;
}

HRESULT RichTextHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    *pdwBits = dwMask & kPropertyBits;
    return S_OK;
}

HRESULT RichTextHost::TxNotify(DWORD iNotify, void* pv)
{
    if (iNotify == EN_REQUESTRESIZE && pv) {
        const REQRESIZE* pResize = static_cast<const REQRESIZE*>(pv);
        m_cxRequested = pResize->rc.right - pResize->rc.left;
        m_cyRequested = pResize->rc.bottom - pResize->rc.top;
    }
    return S_OK;
}

HRESULT RichTextHost::TxGetSelectionBarWidth(LONG* pWidth)
{
    *pWidth = 0;
    return S_OK;
}

// ---------------------------------------------------------------------------
// The rich tooltip window.

CQXPToolTipRichText::CQXPToolTipRichText(CQXPToolTipContext* pContext) : CQXPToolTipContextToolTip(pContext, 3) {}

CSize CQXPToolTipRichText::CalcSize(CDC* pDC, const CString& strText)
{
    if (!m_host.IsAvailable())
        return CQXPToolTipContextToolTip::CalcSize(pDC, strText);
    if (strText.IsEmpty() || m_host.SetText(strText) == 0)
        return CSize(0, 0);
    int nMax = m_nMaxTipWidth == -1 ? ::GetSystemMetrics(SM_CXSCREEN) : m_nMaxTipWidth;
    int cx = nMax - m_rcMargin.left - m_rcMargin.right - 6;
    SIZE sz = m_host.GetIdealSize(pDC->GetSafeHdc(), cx > 1 ? cx : 1);
    return CSize(sz.cx + m_rcMargin.left + m_rcMargin.right + 6, sz.cy + m_rcMargin.top + m_rcMargin.bottom + 6);
}

void CQXPToolTipRichText::DrawContent(CDC* pDC, CRect rc, const CString& strText)
{
    if (!m_host.IsAvailable()) {
        CQXPToolTipContextToolTip::DrawContent(pDC, rc, strText);
        return;
    }
    rc.DeflateRect(m_rcMargin.left + 3, m_rcMargin.top + 3, m_rcMargin.right + 3, m_rcMargin.bottom + 3);
    m_host.SetText(strText);
    m_host.Draw(pDC->GetSafeHdc(), rc);
}
