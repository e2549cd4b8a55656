// qx/richtexthost.h - rich text measured and drawn without a window.
//
// RichTextHost loads the rich-edit engine "RICHED20.dll" at run time and
// makes a windowless text-services object that it hosts itself: the
// tooltip window of style 3 streams its text in (RTF, or plain text when
// the RTF reader takes nothing), asks for the narrowest size that keeps
// the text's line count within a width, and draws it into its DC.
//
// Without the engine (or when it makes no object) every operation is inert:
// SetText gives 0, GetIdealSize (0, 0), Draw draws nothing.
//
// One object per window, on the UI thread; the engine holds a pointer to
// the host, so the host is neither copied nor reference counted (it owns
// the engine's object and frees it first).
#pragma once

#include <qx/tooltips.h>

#include <windows.h>

#include <richedit.h>
#include <textserv.h>

class RichTextHost : public ITextHost {
public:
    // lpszEngine: the engine's module (another name only in tests).
    explicit RichTextHost(LPCSTR lpszEngine = "RICHED20.dll");
    virtual ~RichTextHost();
    RichTextHost(const RichTextHost&) = delete;
    RichTextHost& operator=(const RichTextHost&) = delete;

    // FALSE when the engine could not be loaded or made no object.
    BOOL IsAvailable() const { return m_pServices != NULL; }

    // Copies the format as the engine's default (ignored for null).
    void SetDefaultCharFormat(const CHARFORMATW* pFormat);
    const CHARFORMATW& GetDefaultCharFormat() const { return m_cf; }
    // Streams the text in as RTF, else as plain text; the characters read
    // (0 for null or empty text, which empties the engine).
    int SetText(LPCSTR lpszText);
    // The narrowest width at which the text keeps the line count it has at
    // nWidth, and the height there; (0, 0) without the engine.
    SIZE GetIdealSize(HDC hDC, int nWidth);
    void Draw(HDC hDC, const RECT& rc);

    // --- IUnknown (not counted: the owner controls the lifetime) -------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // --- ITextHost ---------------------------------------------------------------
    HDC TxGetDC() override { return NULL; }
    INT TxReleaseDC(HDC) override { return 0; }
    WINBOOL TxShowScrollBar(INT, WINBOOL) override { return FALSE; }
    WINBOOL TxEnableScrollBar(INT, INT) override { return FALSE; }
    WINBOOL TxSetScrollRange(INT, LONG, INT, WINBOOL) override { return FALSE; }
    WINBOOL TxSetScrollPos(INT, INT, WINBOOL) override { return FALSE; }
    void TxInvalidateRect(LPCRECT, WINBOOL) override {}
    void TxViewChange(WINBOOL) override {}
    WINBOOL TxCreateCaret(HBITMAP, INT, INT) override { return FALSE; }
    WINBOOL TxShowCaret(WINBOOL) override { return FALSE; }
    WINBOOL TxSetCaretPos(INT, INT) override { return FALSE; }
    WINBOOL TxSetTimer(UINT, UINT) override { return FALSE; }
    void TxKillTimer(UINT) override {}
    void TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) override {}
    void TxSetCapture(WINBOOL) override {}
    void TxSetFocus() override {}
    void TxSetCursor(HCURSOR, WINBOOL) override {}
    WINBOOL TxScreenToClient(LPPOINT) override { return FALSE; }
    WINBOOL TxClientToScreen(LPPOINT) override { return FALSE; }
    HRESULT TxActivate(LONG*) override { return E_FAIL; }
    HRESULT TxDeactivate(LONG) override { return E_FAIL; }
    // E_FAIL with an empty rectangle: some engines size their resize
    // requests from it whatever the answer.
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override { return ::GetSysColor(nIndex); }
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pStyle) override;
    HRESULT TxGetMaxLength(DWORD* pLength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR*) override { return S_FALSE; }
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL) override { return E_NOTIMPL; }
    HRESULT OnTxCharFormatChange(const CHARFORMATW*) override { return E_FAIL; }
    HRESULT OnTxParaFormatChange(const PARAFORMAT*) override { return E_FAIL; }
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    // EN_REQUESTRESIZE: keeps the requested width and height.
    HRESULT TxNotify(DWORD iNotify, void* pv) override;
    HIMC TxImmGetContext() override { return NULL; }
    void TxImmReleaseContext(HIMC) override {}
    HRESULT TxGetSelectionBarWidth(LONG* pWidth) override;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    // Draws at width cx so the engine requests its size there.
    void Probe(HDC hDC, int cx);

    ITextServices* m_pServices; // null without the engine
    CHARFORMATW m_cf;
    PARAFORMAT m_pf;
    int m_cxRequested, m_cyRequested; // the last EN_REQUESTRESIZE
    HMODULE m_hEngine;
    int m_cxMeasured, m_cyMeasured;
};

// The tooltip window of style 3: the tip as rich text, at most the
// maximum tip width wide and no wider than its lines need. Without the
// engine it measures and draws as style 2.
class CQXPToolTipRichText : public CQXPToolTipContextToolTip {
public:
    explicit CQXPToolTipRichText(CQXPToolTipContext* pContext);

    CSize CalcSize(CDC* pDC, const CString& strText) override;
    void DrawContent(CDC* pDC, CRect rc, const CString& strText) override;

    RichTextHost m_host;
};
