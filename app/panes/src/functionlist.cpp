// functionlist.cpp - the Function List pane's list box and its worker.
#include "functionlist.h"

#include <stdio.h>

#include <algorithm>

#include <qx/fonts.h>

#include "scintillawrap.h"

const char* const CFunctionList::kNotSupported = "Language not supported";

// ===========================================================================
// The list box update

namespace {

std::string ItemText(HWND hList, int nIndex)
{
    LRESULT nLength = ::SendMessageA(hList, LB_GETTEXTLEN, (WPARAM)nIndex, 0);
    if (nLength == LB_ERR)
        return std::string();
    std::string text((size_t)nLength + 1, '\0');
    LRESULT nGot = ::SendMessageA(hList, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)&text[0]);
    text.resize(nGot == LB_ERR ? 0 : (size_t)nGot);
    return text;
}

int ItemCount(HWND hList)
{
    return (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
}

// How far down an item is looked for before it counts as new.
const size_t kLookAhead = 256;

} // namespace

void CFunctionList::UpdateList(HWND hList, const std::vector<std::string>& names, bool bNotSupported)
{
    int nCount = ItemCount(hList);
    if (bNotSupported) {
        if (nCount == 1 && ItemText(hList, 0) == CFunctionList::kNotSupported)
            return;
        ::SendMessageA(hList, LB_RESETCONTENT, 0, 0);
        LRESULT nIndex = ::SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)CFunctionList::kNotSupported);
        ::SendMessageA(hList, LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)-1);
        return;
    }
    // The items as they stand, changed alongside the list box.
    std::vector<std::string> items;
    items.reserve((size_t)nCount);
    for (int i = 0; i < nCount; i++)
        items.push_back(ItemText(hList, i));
    // The list does not redraw item by item (a large file changes
    // thousands); it is drawn once at the end when anything changed.
    bool bChanged = false;
    auto change = [&]() {
        if (!bChanged)
            ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
        bChanged = true;
    };
    for (size_t i = 0; i < names.size(); i++) {
        if (i < items.size()) {
            if (items[i] == names[i])
                continue;
            // The name a little further down: the routines in between were
            // removed, the rest moves up. Otherwise the name is new here.
            size_t nLimit = std::min(items.size(), i + 1 + kLookAhead);
            size_t nFound = i + 1;
            while (nFound < nLimit && items[nFound] != names[i])
                nFound++;
            if (nFound < nLimit) {
                change();
                for (size_t k = i; k < nFound; k++)
                    ::SendMessageA(hList, LB_DELETESTRING, (WPARAM)i, 0);
                items.erase(items.begin() + (ptrdiff_t)i, items.begin() + (ptrdiff_t)nFound);
                continue;
            }
        }
        change();
        ::SendMessageA(hList, LB_INSERTSTRING, (WPARAM)i, (LPARAM)names[i].c_str());
        items.insert(items.begin() + (ptrdiff_t)i, names[i]);
    }
    // Surplus items at the end.
    for (size_t n = items.size(); n > names.size(); n--) {
        change();
        ::SendMessageA(hList, LB_DELETESTRING, (WPARAM)(n - 1), 0);
    }
    if (bChanged) {
        ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hList, NULL, TRUE);
    }
}

// ===========================================================================
// CFunctionList

IMPLEMENT_DYNAMIC(CFunctionList, CListBox)

BEGIN_MESSAGE_MAP(CFunctionList, CListBox)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(CFunctionList::WM_QM_FUNCTIONS_READY, OnFunctionsReady)
END_MESSAGE_MAP()

CFunctionList::CFunctionList()
    : m_hStart(NULL), m_hThread(NULL), m_bRun(1), m_bStopping(0), m_pSource(NULL), m_hSource(NULL), m_nLanguageId(-1), m_nScans(0)
{
}

CFunctionList::~CFunctionList()
{
    StopWorker();
    if (m_hWnd != NULL)
        DestroyWindow();
}

int CFunctionList::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CListBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), 1);
    m_hStart = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    if (m_hStart == NULL) {
        printf("CreateEvent error: %d\n", (int)::GetLastError());
        return 0;
    }
    DWORD dwId = 0;
    m_hThread = ::CreateThread(
        NULL, 0, [](LPVOID p) -> DWORD { return WorkerThread(p); }, this, 0, &dwId);
    if (m_hThread != NULL)
        ::SetThreadPriority(m_hThread, THREAD_PRIORITY_BELOW_NORMAL);
    return 0;
}

void CFunctionList::OnDestroy()
{
    CListBox::OnDestroy();
    StopWorker();
    if (m_hLoaderWnd != NULL) {
        ::DestroyWindow(m_hLoaderWnd);
        m_hLoaderWnd = NULL;
    }
}

void CFunctionList::StopWorker()
{
    ::InterlockedExchange(&m_bRun, 0);
    ::InterlockedExchange(&m_bStopping, 1);
    if (m_hThread != NULL) {
        ::SetEvent(m_hStart);
        // The worker never waits for this thread; messages other threads
        // send here are still answered while it ends.
        while (::MsgWaitForMultipleObjects(1, &m_hThread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        ::CloseHandle(m_hThread);
        m_hThread = NULL;
    }
    if (m_hStart != NULL) {
        ::CloseHandle(m_hStart);
        m_hStart = NULL;
    }
    CSingleLock lock(&m_lock, TRUE);
    m_pRequest.reset();
    m_pResult.reset();
}

UINT CFunctionList::WorkerThread(LPVOID pParam)
{
    static_cast<CFunctionList*>(pParam)->RunWorker();
    return 0;
}

bool CFunctionList::CreateHiddenEditor(CMFCScintilla& editor, Request& request)
{
    // The copy lives in a window of this thread with no parent: nothing it
    // does waits for the UI thread.
    if (!editor.CreateEx(0, CMFCScintilla::kWindowClass, "FunctionListEditor", WS_POPUP, 0, 0, 0, 0, NULL, NULL))
        return false;
    // The window takes the copied document over; the loader's own
    // reference goes with the request.
    void* pDocument = request.pLoader->ConvertToDocument();
    request.pLoader = nullptr;
    editor.Call(SCI_SETDOCPOINTER, 0, reinterpret_cast<sptr_t>(pDocument));
    editor.Call(SCI_RELEASEDOCUMENT, 0, reinterpret_cast<sptr_t>(pDocument));
    editor.Call(SCI_SETUNDOCOLLECTION, 0);
    return true;
}

void CFunctionList::RunWorker()
{
    HWND hList = m_hWnd;
    while (m_bRun) {
        if (::WaitForSingleObject(m_hStart, INFINITE) != WAIT_OBJECT_0)
            continue;
        if (!m_bRun)
            break;
        std::unique_ptr<Request> pRequest;
        {
            CSingleLock lock(&m_lock, TRUE);
            pRequest = std::move(m_pRequest);
        }
        if (!pRequest)
            continue;

        CMFCScintilla editor;
        if (!CreateHiddenEditor(editor, *pRequest))
            continue;
        int nLanguageId = pRequest->nLanguageId;
        pRequest.reset();

        CFunctionScan scan(editor);
        std::unique_ptr<Result> pResult(new Result);
        pResult->bNotSupported = !scan.SetLanguage(nLanguageId);
        // The scan stops as soon as the pane is going away.
        scan.SetCancelFlag(&m_bStopping);
        bool bComplete = pResult->bNotSupported || scan.Run();
        editor.DestroyWindow();
        if (!bComplete || !m_bRun)
            continue;
        pResult->entries = scan.GetTopLevelEntries();
        {
            CSingleLock lock(&m_lock, TRUE);
            m_pResult = std::move(pResult);
        }
        ::PostMessageA(hList, WM_QM_FUNCTIONS_READY, 0, 0);
    }
}

CMFCScintilla* CFunctionList::SourceEditor() const
{
    if (m_pSource == NULL || m_hSource == NULL || !::IsWindow(m_hSource))
        return NULL;
    return CWnd::FromHandlePermanent(m_hSource) == m_pSource ? m_pSource : NULL;
}

void CFunctionList::AttachView(CMFCScintilla* pEditor, int nLanguageId)
{
    m_pSource = pEditor;
    m_hSource = pEditor != NULL ? pEditor->GetSafeHwnd() : NULL;
    m_nLanguageId = nLanguageId;
}

void CFunctionList::Refresh(UINT nElapse)
{
    KillTimer(TIMER_REFRESH);
    SetTimer(TIMER_REFRESH, nElapse, NULL);
}

CFunctionList::Request::~Request()
{
    if (pLoader != nullptr)
        pLoader->Release();
}

namespace {

// The editor's text as a new document of the component (no styles), read
// from its buffer a piece at a time; null when the component refuses (no
// memory for the copy: the list then keeps what it shows). The loader comes
// from the pane's own hidden window: a window that makes one forgets which
// of its lines are shown, so the user's editor must never be asked.
Scintilla::ILoader* CopyText(const CMFCScintilla& editor, HWND hLoaderWnd)
{
    const Sci_Position nLength = editor.GetLength();
    auto* pLoader = reinterpret_cast<Scintilla::ILoader*>(
        ::SendMessageA(hLoaderWnd, SCI_CREATELOADER, (WPARAM)nLength, SC_DOCUMENTOPTION_STYLES_NONE));
    if (pLoader == nullptr)
        return nullptr;
    const Sci_Position kPiece = 1 << 20;
    for (Sci_Position nPos = 0; nPos < nLength; nPos += kPiece) {
        const Sci_Position nCount = std::min(kPiece, nLength - nPos);
        const char* pText = reinterpret_cast<const char*>(editor.Call(SCI_GETRANGEPOINTER, (uptr_t)nPos, nCount));
        if (pText == nullptr || pLoader->AddData(pText, nCount) != SC_STATUS_OK) {
            pLoader->Release();
            return nullptr;
        }
    }
    return pLoader;
}

} // namespace

void CFunctionList::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_REFRESH) {
        KillTimer(TIMER_REFRESH);
        CMFCScintilla* pEditor = SourceEditor();
        if (pEditor != NULL && m_hThread != NULL) {
            std::unique_ptr<Request> pRequest(new Request);
            if (m_hLoaderWnd == NULL)
                m_hLoaderWnd = ::CreateWindowExA(0, CMFCScintilla::kWindowClass, "FunctionListLoader", WS_POPUP, 0, 0, 0,
                                                 0, NULL, NULL, NULL, NULL);
            if (m_hLoaderWnd != NULL)
                pRequest->pLoader = CopyText(*pEditor, m_hLoaderWnd);
            pRequest->nLanguageId = m_nLanguageId;
            if (pRequest->pLoader != nullptr) {
                {
                    CSingleLock lock(&m_lock, TRUE);
                    m_pRequest = std::move(pRequest);
                }
                // Stays set while a scan runs: the worker takes this one next.
                ::SetEvent(m_hStart);
            }
        }
    }
    CListBox::OnTimer(nIDEvent);
}

LRESULT CFunctionList::OnFunctionsReady(WPARAM, LPARAM)
{
    std::unique_ptr<Result> pResult;
    {
        CSingleLock lock(&m_lock, TRUE);
        pResult = std::move(m_pResult);
    }
    if (!pResult)
        return 0;
    std::vector<std::string> names;
    for (const FunctionEntry& entry : pResult->entries)
        names.push_back(entry.strName);
    UpdateList(m_hWnd, names, pResult->bNotSupported);
    m_entries = std::move(pResult->entries);
    m_nScans++;
    if (CMFCScintilla* pEditor = SourceEditor())
        TrackCaret(pEditor);
    return 0;
}

void CFunctionList::TrackCaret(CMFCScintilla* pEditor)
{
    m_pSource = pEditor;
    m_hSource = pEditor != NULL ? pEditor->GetSafeHwnd() : NULL;
    if (pEditor == NULL)
        return;
    bool bFocused = ::GetFocus() == m_hWnd;
    int nSel = GetCurSel();
    Sci_Position nCaret = pEditor->GetCurrentPos();
    for (size_t i = 0; i < m_entries.size(); i++) {
        if (m_entries[i].nLineStart <= nCaret && m_entries[i].nEndPos >= nCaret) {
            if ((int)i != nSel && !bFocused)
                SetCurSel((int)i);
            return;
        }
    }
    if (!bFocused)
        SetCurSel(-1);
}

void CFunctionList::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CListBox::OnLButtonDblClk(nFlags, point);
    CMFCScintilla* pEditor = SourceEditor();
    if (m_entries.empty() || pEditor == NULL)
        return;
    int nSel = GetCurSel();
    if (nSel >= 0 && nSel < (int)m_entries.size())
        pEditor->GotoLine(m_entries[(size_t)nSel].nLine, TRUE);
    pEditor->SetFocus();
}
