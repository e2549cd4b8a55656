// fx/htmlview.h - the web browser control inside a window: CWebBrowserHost
// (for any window, the HTML tooltips for example) and CHtmlView (a view).
//
// The control is the system's WebBrowser object, in-place active in a
// child window of the host. The control is made only when the system's HTML
// engine can be loaded: without it the control would accept a URL and
// never show a page. Every call then fails quietly, without a prompt and
// without waiting, and says so in its result (Create FALSE, Navigate2
// FALSE, GetHtmlDocument NULL). The window itself still exists, so a frame
// holding an HTML view opens and shows an empty area.
#pragma once

#include "fx/view.h"

struct IWebBrowser2;
struct IDispatch;
struct IOleObject;

namespace fx {
class BrowserSite;
} // namespace fx

class CWebBrowserHost {
public:
    CWebBrowserHost();
    ~CWebBrowserHost();
    CWebBrowserHost(const CWebBrowserHost&) = delete;
    CWebBrowserHost& operator=(const CWebBrowserHost&) = delete;

    // Makes the control in hWndContainer over rect (client coordinates).
    // COM must be initialised on the thread. FALSE when the control cannot
    // be made; the host then stays empty.
    BOOL Create(HWND hWndContainer, const RECT& rect);
    void Destroy();
    BOOL IsCreated() const { return m_pBrowser != NULL; }

    // Loads a URL ("about:blank", "res://...", a file path). FALSE when there
    // is no control or it refused the URL.
    BOOL Navigate2(LPCSTR lpszURL, DWORD dwFlags = 0, LPCSTR lpszTargetFrameName = NULL,
                   LPCSTR lpszHeaders = NULL, LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    // The loaded HTML document (AddRef'ed; the caller releases it), NULL
    // when there is none.
    IDispatch* GetHtmlDocument() const;
    // Moves the control (client coordinates of the container).
    void SetRect(const RECT& rect);
    IWebBrowser2* GetBrowser() const { return m_pBrowser; }

private:
    IWebBrowser2* m_pBrowser;
    IOleObject* m_pOleObject;
    fx::BrowserSite* m_pSite;
};

class CHtmlView : public CView {
    DECLARE_DYNCREATE(CHtmlView)
public:
    CHtmlView();
    ~CHtmlView() override;

    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    // See CWebBrowserHost. The results tell whether the browser did it.
    BOOL Navigate2(LPCSTR lpszURL, DWORD dwFlags = 0, LPCSTR lpszTargetFrameName = NULL, LPCSTR lpszHeaders = NULL,
                   LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    IDispatch* GetHtmlDocument() const { return m_host.GetHtmlDocument(); }
    // Loads an HTML resource of the program ("res://<module>/<name>").
    BOOL LoadFromResource(LPCSTR lpszResource);
    BOOL LoadFromResource(UINT nRes);
    // TRUE when the browser control exists.
    BOOL IsBrowserAvailable() const { return m_host.IsCreated(); }
    IWebBrowser2* GetBrowserApp() const { return m_host.GetBrowser(); }

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CWebBrowserHost m_host;
};
