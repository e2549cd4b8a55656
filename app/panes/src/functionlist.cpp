// functionlist.cpp - the Function List pane's list box and its worker.
#include "functionlist.h"

#include <stdio.h>

#include <algorithm>
#include <deque>
#include <new>

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

// The items that stood in the list box when an update began and are still
// in it: each is read from the list box once, when the update first looks
// at it, and kept only while the update may still look at it (the current
// one and those up to the look-ahead below it). A large list's texts are
// not copied whole.
class COldItems {
public:
    COldItems(HWND hList, size_t nCount) : m_hList(hList), m_nLeft(nCount) {}

    // How many of them are left; they stand from the current position on.
    size_t Left() const { return m_nLeft; }
    // The text of the one nAhead places below the current position nPos
    // (nAhead < Left()).
    const std::string& Ahead(size_t nAhead, size_t nPos)
    {
        while (m_window.size() <= nAhead)
            m_window.push_back(ItemText(m_hList, (int)(nPos + m_window.size())));
        return m_window[nAhead];
    }
    // The next n were kept or deleted.
    void Pass(size_t n)
    {
        m_window.erase(m_window.begin(), m_window.begin() + (ptrdiff_t)std::min(n, m_window.size()));
        m_nLeft -= n;
    }

private:
    HWND m_hList;
    size_t m_nLeft;
    std::deque<std::string> m_window; // the next ones, from the current position
};

} // namespace

void CFunctionList::UpdateList(HWND hList, const std::vector<std::string>& names, bool bNotSupported)
{
    UpdateList(
        hList, names.size(), [&names](size_t i) { return names[i].c_str(); }, bNotSupported);
}

void CFunctionList::UpdateList(HWND hList, size_t nNames, const std::function<const char*(size_t)>& name,
                               bool bNotSupported)
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
    COldItems old(hList, nCount > 0 ? (size_t)nCount : 0);
    // The list does not redraw item by item (a large file changes
    // thousands); it is drawn once at the end when anything changed.
    bool bChanged = false;
    auto change = [&]() {
        if (!bChanged)
            ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
        bChanged = true;
    };
    if (nCount == 0 && nNames > 0) {
        // An empty list takes room for every item at once instead of
        // growing item by item.
        change();
        ::SendMessageA(hList, LB_INITSTORAGE, (WPARAM)nNames, 0);
    }
    // Items before position i are final; the old items left stand from i on.
    for (size_t i = 0; i < nNames; i++) {
        const char* pszName = name(i);
        if (old.Left() > 0) {
            if (old.Ahead(0, i) == pszName) {
                old.Pass(1);
                continue;
            }
            // The name a little further down: the routines in between were
            // removed, the rest moves up. Otherwise the name is new here.
            size_t nLimit = std::min(old.Left(), 1 + kLookAhead);
            size_t nFound = 1;
            while (nFound < nLimit && old.Ahead(nFound, i) != pszName)
                nFound++;
            if (nFound < nLimit) {
                change();
                for (size_t k = 0; k < nFound; k++)
                    ::SendMessageA(hList, LB_DELETESTRING, (WPARAM)i, 0);
                old.Pass(nFound + 1);
                continue;
            }
        }
        change();
        ::SendMessageA(hList, LB_INSERTSTRING, (WPARAM)i, (LPARAM)pszName);
    }
    // Old items left over at the end.
    for (size_t n = nNames + old.Left(); n > nNames; n--) {
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

namespace {

// How long one slice of a scan may run before the interface gets its turn.
const DWORD kSliceMs = 15;
// How long slices may follow one another while no message waits.
const DWORD kTurnMs = 100;

// Thrown from the scan's step to end a dropped scan.
struct ScanDropped {
};

} // namespace

// A running scan: the hidden view it searches and the fiber it runs on.
struct CFunctionList::Job {
    CMFCScintilla editor;
    std::unique_ptr<CFunctionScan> pScan;
    int nLanguageId = -1;
    LPVOID pFiber = nullptr;  // null: the scan runs in one go
    LPVOID pCaller = nullptr; // the fiber that resumed it
    DWORD dwSliceStart = 0;
    bool bStarted = false;
    bool bEnded = false;    // the scan returned (or gave up)
    bool bComplete = false; // ... with every entry found
    bool bNotSupported = false;
    bool bDrop = false;  // the next step ends the scan
    bool bStale = false; // the text changed under it

    ~Job()
    {
        if (pFiber != nullptr)
            ::DeleteFiber(pFiber);
        if (editor.m_hWnd != NULL)
            editor.DestroyWindow();
    }
};

IMPLEMENT_DYNAMIC(CFunctionList, CListBox)

BEGIN_MESSAGE_MAP(CFunctionList, CListBox)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONDBLCLK()
    ON_NOTIFY(SCN_MODIFIED, 0, OnTextModified)
END_MESSAGE_MAP()

CFunctionList::CFunctionList() : m_pSource(NULL), m_hSource(NULL), m_nLanguageId(-1), m_nScans(0) {}

CFunctionList::~CFunctionList()
{
    DropScan();
    if (m_hWnd != NULL)
        DestroyWindow();
}

int CFunctionList::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CListBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), 1);
    return 0;
}

void CFunctionList::OnDestroy()
{
    DropScan();
    CListBox::OnDestroy();
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

bool CFunctionList::CreateHiddenEditor(CFunctionList& list, CMFCScintilla& source, CMFCScintilla& editor)
{
    if (!editor.Create(CMFCScintilla::kWindowClass, "FunctionListEditor", WS_CHILD, CRect(0, 0, 0, 0), &list, 0))
        return false;
    // Another view of the user's document: its own target, search flags and
    // shown lines; the text, its colours and the undo history are shared and
    // left alone.
    editor.Call(SCI_SETDOCPOINTER, 0, source.Call(SCI_GETDOCPOINTER));
    editor.Call(SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
    return true;
}

void CALLBACK CFunctionList::ScanFiber(LPVOID pParam)
{
    Job& job = *static_cast<Job*>(pParam);
    try {
        job.bNotSupported = !job.pScan->SetLanguage(job.nLanguageId);
        job.bComplete = job.bNotSupported || job.pScan->Run();
    } catch (const ScanDropped&) {
    } catch (const std::bad_alloc&) {
        // No memory for the entries: the list keeps what it shows.
    }
    job.bEnded = true;
    if (job.pFiber != nullptr)
        ::SwitchToFiber(job.pCaller); // a fiber never returns
}

void CFunctionList::StartScan()
{
    DropScan();
    CMFCScintilla* pSource = SourceEditor();
    if (pSource == NULL)
        return;
    std::unique_ptr<Job> pJob(new Job);
    if (!CreateHiddenEditor(*this, *pSource, pJob->editor))
        return;
    pJob->nLanguageId = m_nLanguageId;
    pJob->pScan.reset(new CFunctionScan(pJob->editor));
    pJob->pScan->SetListOnly(true);
    Job* pRaw = pJob.get();
    ScanPace pace;
    pace.step = [pRaw] {
        if (pRaw->pFiber == nullptr)
            return;
        if (!pRaw->bDrop && ::GetTickCount() - pRaw->dwSliceStart >= kSliceMs)
            ::SwitchToFiber(pRaw->pCaller);
        if (pRaw->bDrop)
            throw ScanDropped();
    };
    pJob->pScan->SetPace(pace);
    // The scan runs on a fiber of this thread; without one it runs in one go.
    if (::IsThreadAFiber() || ::ConvertThreadToFiber(NULL) != NULL)
        pJob->pFiber = ::CreateFiber(0, &CFunctionList::ScanFiber, pRaw);
    m_pJob = std::move(pJob);
    RunSlice();
}

void CFunctionList::RunSlice()
{
    Job* pJob = m_pJob.get();
    if (pJob == nullptr)
        return;
    if (pJob->bStale) {
        DropScan();
        return;
    }
    if (pJob->pFiber != nullptr) {
        // Slices follow one another while nothing waits for this thread (the
        // timer alone would leave it idle between them), for a turn at most.
        const DWORD dwTurnStart = ::GetTickCount();
        do {
            pJob->pCaller = ::GetCurrentFiber();
            pJob->dwSliceStart = ::GetTickCount();
            pJob->bStarted = true;
            ::SwitchToFiber(pJob->pFiber);
        } while (!pJob->bEnded && ::GetTickCount() - dwTurnStart < kTurnMs &&
                 HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT)) == 0);
    } else {
        ScanFiber(pJob);
    }
    if (!pJob->bEnded) {
        SetTimer(TIMER_SCAN, 1, NULL);
        return;
    }
    KillTimer(TIMER_SCAN);
    std::unique_ptr<Job> pDone = std::move(m_pJob);
    if (!pDone->bComplete || pDone->bStale)
        return;
    const bool bNotSupported = pDone->bNotSupported;
    // The scan and its hidden view go before the list box takes the names,
    // which it reads one after another from the packed entries; the old
    // entries go first.
    CFunctionEntries entries = pDone->pScan->TakeTopLevelEntries();
    pDone.reset();
    m_entries.Clear();
    std::unique_ptr<CFunctionEntries::Reader> pReader(new CFunctionEntries::Reader(entries));
    UpdateList(
        m_hWnd, entries.size(),
        [&](size_t i) {
            if (pReader->Index() != i)
                pReader.reset(new CFunctionEntries::Reader(entries, i));
            return pReader->NextName();
        },
        bNotSupported);
    pReader.reset();
    m_entries = std::move(entries);
    m_nScans++;
    if (CMFCScintilla* pEditor = SourceEditor())
        TrackCaret(pEditor);
}

void CFunctionList::DropScan()
{
    if (m_hWnd != NULL)
        KillTimer(TIMER_SCAN);
    std::unique_ptr<Job> pJob = std::move(m_pJob);
    if (pJob == nullptr)
        return;
    // A fiber that has started holds the scan's state on its stack: it is
    // resumed once to unwind it.
    if (pJob->pFiber != nullptr && pJob->bStarted && !pJob->bEnded) {
        pJob->bDrop = true;
        pJob->pCaller = ::GetCurrentFiber();
        ::SwitchToFiber(pJob->pFiber);
    }
}

void CFunctionList::OnTextModified(NMHDR*, LRESULT*)
{
    // Only flagged here: the document is in the middle of its change.
    if (m_pJob != nullptr)
        m_pJob->bStale = true;
}

void CFunctionList::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_REFRESH) {
        KillTimer(TIMER_REFRESH);
        StartScan();
    } else if (nIDEvent == TIMER_SCAN) {
        RunSlice();
    }
    CListBox::OnTimer(nIDEvent);
}
void CFunctionList::TrackCaret(CMFCScintilla* pEditor)
{
    m_pSource = pEditor;
    m_hSource = pEditor != NULL ? pEditor->GetSafeHwnd() : NULL;
    if (pEditor == NULL)
        return;
    bool bFocused = ::GetFocus() == m_hWnd;
    int nSel = GetCurSel();
    ptrdiff_t nFound = m_entries.FindContaining(pEditor->GetCurrentPos());
    if (bFocused)
        return;
    if (nFound < 0)
        SetCurSel(-1);
    else if ((int)nFound != nSel)
        SetCurSel((int)nFound);
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
