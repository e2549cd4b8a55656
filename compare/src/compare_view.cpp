#include "compare_view.h"

#include "compare_engine.h"
#include "comparewin.h"
#include "mapped_file.h"

#include <windowsx.h>

#include <fx/clipboard.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace pairview {

namespace {

constexpr UINT_PTR kAutoScrollTimer = 0xDEADBEEF;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFirstFileColour = RGB(248, 133, 118);
constexpr COLORREF kSecondFileColour = RGB(247, 243, 121);
constexpr std::uint64_t kIndexBlock = 0x8000;

// The rows are UTF-8 text (see compare_engine.h), while GDI's A functions
// take bytes in the character set of the selected font: a row is drawn and
// measured in UTF-16. A piece cut inside a character shows U+FFFD there.
std::wstring Utf16Of(const char* p, int n)
{
    std::wstring w(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    if (n > 0)
        w.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, p, n, &w[0], n)));
    return w;
}

void DrawRowText(HDC dc, int x, int y, const RECT& rect, const char* p, int n)
{
    const std::wstring w = Utf16Of(p, n);
    ExtTextOutW(dc, x, y, ETO_OPAQUE, &rect, w.data(), static_cast<UINT>(w.size()), nullptr);
}

SIZE RowTextExtent(HDC dc, const char* p, int n)
{
    const std::wstring w = Utf16Of(p, n);
    SIZE size = {};
    GetTextExtentPoint32W(dc, w.data(), static_cast<int>(w.size()), &size);
    return size;
}

// Row kinds, from the marker at the start of a row.
enum Kind : signed char {
    kUndecided = -1,
    kPlain = 0,
    kFirstOnly = 1,
    kSecondOnly = 2,
    kMovedFrom = 3,
    kMovedTo = 4,
};

struct LineRecord {
    std::uint64_t offset;     // first byte of the row in the file
    std::uint64_t textLength; // bytes before the row's line end
    signed char kind;
};

struct TextPos {
    long long col = -1;
    long long line = -1;
    bool set() const { return col >= 0 && line >= 0; }
    bool operator<(const TextPos& o) const { return line != o.line ? line < o.line : col < o.col; }
    bool operator==(const TextPos& o) const { return line == o.line && col == o.col; }
};

class CCompareWinCtrl {
public:
    explicit CCompareWinCtrl(HWND hwnd);
    ~CCompareWinCtrl();
    CCompareWinCtrl(const CCompareWinCtrl&) = delete;
    CCompareWinCtrl& operator=(const CCompareWinCtrl&) = delete;

    // Handles a message; false sends it on to DefWindowProcA.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    LRESULT compare(const CompareRequest* request);
    bool load(const char* path);
    void unload();
    void buildIndex();

    long long lineCount() const { return static_cast<long long>(lines_.size()); }
    long long textLength(long long line) const { return static_cast<long long>(lines_[line].textLength); }
    int pageLines() const { return std::max(1, clientHeight_ / lineHeight_); }
    int pageColumns() const { return std::max(1, clientWidth_ / charWidth_); }
    long long maxFirstLine() const { return std::max(0LL, lineCount() - pageLines()); }
    long long maxFirstColumn() const { return std::max(0LL, horzMax_ - horzPage_ + 1); }
    signed char kindOf(std::size_t line);

    bool updateScrollBars();
    void scrollLinesTo(long long first);
    void scrollColumnsTo(long long first);
    void onVScroll(int code);
    void onHScroll(int code);
    void onWheel(int delta);

    void paint(HDC dc, const RECT& update);
    void invalidateLines(long long a, long long b);

    bool hasSelection() const { return anchor_.set() && end_.set(); }
    bool selectionEmpty() const { return !hasSelection() || anchor_ == end_; }
    void clearSelection();
    void copy();
    void selectAll();

    void onKeyDown(WPARAM key);
    void onKeyUp(WPARAM key);
    bool moveCaret(WPARAM key);
    void ensureCaretVisible();
    void placeCaret();

    TextPos hitTest(int x, int y) const;
    void onButtonDown(int x, int y);
    void onMouseMove(int x, int y);
    void onButtonUp();
    void setAutoScroll(int direction);
    void onTimer();

    HWND hwnd_;
    HFONT font_ = nullptr;
    int charWidth_ = 8;
    int lineHeight_ = 13;

    CMappedFile file_;
    std::vector<LineRecord> lines_;
    std::uint64_t longestLine_ = 0;

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    long long firstLine_ = 0;
    long long firstColumn_ = 0;
    long long horzMax_ = 0;
    long long horzPage_ = 1;
    int bufferWidth_ = 4;

    TextPos anchor_, end_;
    TextPos caret_{0, 0};
    bool shift_ = false, ctrl_ = false, alt_ = false;
    bool extending_ = false;
    bool mouseSelecting_ = false;
    bool focused_ = false;
    UINT_PTR timer_ = 0;
    int autoScroll_ = 0; // -1 up, 0 none, 1 down
};

CCompareWinCtrl::CCompareWinCtrl(HWND hwnd) : hwnd_(hwnd)
{
    font_ = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier");
    HDC dc = GetDC(hwnd_);
    if (dc) {
        HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(ANSI_FIXED_FONT));
        TEXTMETRICA tm = {};
        if (GetTextMetricsA(dc, &tm)) {
            charWidth_ = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 8;
            lineHeight_ = tm.tmHeight + 1;
        }
        SelectObject(dc, old);
        ReleaseDC(hwnd_, dc);
    }
    if (lineHeight_ < 2)
        lineHeight_ = 13;
    RECT rc;
    if (GetClientRect(hwnd_, &rc)) {
        clientWidth_ = rc.right;
        clientHeight_ = rc.bottom;
    }
    bufferWidth_ = clientWidth_ / charWidth_ + 4;
}

CCompareWinCtrl::~CCompareWinCtrl()
{
    unload();
    if (font_)
        DeleteObject(font_);
}

// ---------------------------------------------------------------------------
// Loading

LRESULT CCompareWinCtrl::compare(const CompareRequest* request)
{
    if (!request)
        return 0;
    // One window shows one result: drop the earlier one first, which also
    // frees the result file in case the same path is written again.
    unload();
    updateScrollBars();
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (CompareToResultFile(request->firstPath, request->secondPath, request->resultPath) != CompareStatus::Ok)
        return 0;
    if (!load(request->resultPath))
        return 0;
    updateScrollBars();
    InvalidateRect(hwnd_, nullptr, TRUE);
    return 1;
}

bool CCompareWinCtrl::load(const char* path)
{
    if (!file_.open(path))
        return false;
    try {
        buildIndex();
    } catch (...) {
        unload();
        return false;
    }
    return true;
}

void CCompareWinCtrl::unload()
{
    if (mouseSelecting_ && GetCapture() == hwnd_)
        ReleaseCapture();
    mouseSelecting_ = false;
    setAutoScroll(0);
    file_.close();
    std::vector<LineRecord>().swap(lines_);
    longestLine_ = 0;
    firstLine_ = firstColumn_ = 0;
    anchor_ = end_ = TextPos();
    caret_ = TextPos{0, 0};
    extending_ = false;
}

// Rows are the pieces between '\n' bytes; the piece after the last '\n' is
// one more row, also when it is empty. An empty file has no rows.
void CCompareWinCtrl::buildIndex()
{
    const std::uint64_t size = file_.size();
    if (size == 0)
        return;
    std::vector<char> block(kIndexBlock);
    std::uint64_t start = 0;
    char previous = 0; // the byte before the block, for a CR split from its LF
    for (std::uint64_t at = 0; at < size;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kIndexBlock, size - at));
        if (!file_.read(block.data(), at, n))
            throw std::runtime_error("result file unreadable");
        const char* b = block.data();
        for (const char* nl = static_cast<const char*>(std::memchr(b, '\n', n)); nl;
             nl = static_cast<const char*>(std::memchr(nl + 1, '\n', n - (nl + 1 - b)))) {
            const std::uint64_t pos = at + static_cast<std::uint64_t>(nl - b);
            const char before = nl > b ? nl[-1] : previous;
            const std::uint64_t text = pos - start - (before == '\r' && pos > start ? 1 : 0);
            lines_.push_back({start, text, kUndecided});
            longestLine_ = std::max(longestLine_, text);
            start = pos + 1;
        }
        previous = b[n - 1];
        at += n;
    }
    std::uint64_t text = size - start - (previous == '\r' && size > start ? 1 : 0);
    lines_.push_back({start, text, kUndecided});
    longestLine_ = std::max(longestLine_, text);
}

signed char CCompareWinCtrl::kindOf(std::size_t line)
{
    LineRecord& rec = lines_[line];
    if (rec.kind != kUndecided)
        return rec.kind;
    rec.kind = kPlain;
    char head[4];
    if (rec.textLength >= 4 && file_.read(head, rec.offset, 4)) {
        if (std::memcmp(head, COMPAREWIN_MARK_FIRSTONLY, 4) == 0)
            rec.kind = kFirstOnly;
        else if (std::memcmp(head, COMPAREWIN_MARK_SECONDONLY, 4) == 0)
            rec.kind = kSecondOnly;
        else if (std::memcmp(head, COMPAREWIN_MARK_MOVEDFROM, 4) == 0)
            rec.kind = kMovedFrom;
        else if (std::memcmp(head, COMPAREWIN_MARK_MOVEDTO, 4) == 0)
            rec.kind = kMovedTo;
    }
    return rec.kind;
}

// ---------------------------------------------------------------------------
// Scrolling

// Returns true when the first visible line had to move.
bool CCompareWinCtrl::updateScrollBars()
{
    const int page = pageLines();
    long long oldFirst = firstLine_;
    firstLine_ = std::min(firstLine_, maxFirstLine());
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = static_cast<int>(std::min<long long>(std::max(0LL, lineCount() - 1), INT_MAX));
    si.nPage = static_cast<UINT>(page);
    si.nPos = static_cast<int>(std::min<long long>(firstLine_, INT_MAX));
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);

    // Columns: one more than the longest row, so the caret fits behind it.
    horzPage_ = pageColumns();
    horzMax_ = static_cast<long long>(std::min<std::uint64_t>(longestLine_, INT_MAX - 1));
    firstColumn_ = std::min(firstColumn_, maxFirstColumn());
    si.nMax = static_cast<int>(horzMax_);
    si.nPage = static_cast<UINT>(horzPage_);
    si.nPos = static_cast<int>(firstColumn_);
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    return oldFirst != firstLine_;
}

void CCompareWinCtrl::scrollLinesTo(long long first)
{
    first = std::max(0LL, std::min(first, maxFirstLine()));
    if (first == firstLine_)
        return;
    long long delta = firstLine_ - first;
    firstLine_ = first;
    SetScrollPos(hwnd_, SB_VERT, static_cast<int>(std::min<long long>(first, INT_MAX)), TRUE);
    if (std::llabs(delta) < pageLines() + 1)
        ScrollWindowEx(hwnd_, 0, static_cast<int>(delta * lineHeight_), nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE);
    else
        InvalidateRect(hwnd_, nullptr, TRUE);
    placeCaret();
    UpdateWindow(hwnd_);
}

void CCompareWinCtrl::scrollColumnsTo(long long first)
{
    first = std::max(0LL, std::min(first, maxFirstColumn()));
    if (first == firstColumn_)
        return;
    long long delta = firstColumn_ - first;
    firstColumn_ = first;
    SetScrollPos(hwnd_, SB_HORZ, static_cast<int>(first), TRUE);
    if (std::llabs(delta) < pageColumns() + 1)
        ScrollWindowEx(hwnd_, static_cast<int>(delta * charWidth_), 0, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE);
    else
        InvalidateRect(hwnd_, nullptr, TRUE);
    placeCaret();
    UpdateWindow(hwnd_);
}

void CCompareWinCtrl::onVScroll(int code)
{
    long long first = firstLine_;
    switch (code) {
    case SB_LINEUP: first -= 1; break;
    case SB_LINEDOWN: first += 1; break;
    case SB_PAGEUP: first -= pageLines(); break;
    case SB_PAGEDOWN: first += pageLines(); break;
    case SB_TOP: first = 0; break;
    case SB_BOTTOM: first = maxFirstLine(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (!GetScrollInfo(hwnd_, SB_VERT, &si))
            return;
        first = si.nTrackPos;
        break;
    }
    default: return;
    }
    scrollLinesTo(first);
}

void CCompareWinCtrl::onHScroll(int code)
{
    long long first = firstColumn_;
    switch (code) {
    case SB_LINELEFT: first -= 1; break;
    case SB_LINERIGHT: first += 1; break;
    case SB_PAGELEFT: first -= pageColumns(); break;
    case SB_PAGERIGHT: first += pageColumns(); break;
    case SB_LEFT: first = 0; break;
    case SB_RIGHT: first = maxFirstColumn(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (!GetScrollInfo(hwnd_, SB_HORZ, &si))
            return;
        first = si.nTrackPos;
        break;
    }
    default: return; // SB_ENDSCROLL
    }
    scrollColumnsTo(first);
}

// One page per notch when the system scrolls by pages, else its line count.
void CCompareWinCtrl::onWheel(int delta)
{
    if (delta == 0)
        return;
    UINT perNotch = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    int notches = std::max(1, std::abs(delta) / WHEEL_DELTA);
    bool up = delta > 0;
    for (int n = 0; n < notches; ++n) {
        if (perNotch == WHEEL_PAGESCROLL) {
            PostMessageA(hwnd_, WM_VSCROLL, up ? SB_PAGEUP : SB_PAGEDOWN, 0);
        } else {
            for (UINT k = 0; k < perNotch && k < 1000; ++k)
                PostMessageA(hwnd_, WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
        }
    }
}

// ---------------------------------------------------------------------------
// Painting

void CCompareWinCtrl::paint(HDC dc, const RECT& update)
{
    HGDIOBJ oldFont = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(ANSI_FIXED_FONT));
    const int oldMode = SetBkMode(dc, OPAQUE);
    const int width = std::max<int>(clientWidth_, update.right);
    const int buffer = std::max(bufferWidth_, 1);
    std::string row(static_cast<std::size_t>(buffer), ' ');

    TextPos selStart, selEnd;
    bool selecting = hasSelection();
    if (selecting) {
        selStart = std::min(anchor_, end_);
        selEnd = std::max(anchor_, end_);
    }

    const int top = std::max(0L, static_cast<long>(update.top)) / lineHeight_;
    const int bottom = (std::max(0L, static_cast<long>(update.bottom)) + lineHeight_ - 1) / lineHeight_;
    for (int r = top; r < bottom; ++r) {
        const int y = r * lineHeight_;
        RECT rowRect = {0, y, width, y + lineHeight_};
        const long long line = firstLine_ + r;
        if (line >= lineCount()) {
            SetBkColor(dc, kWhite);
            ExtTextOutA(dc, 0, y, ETO_OPAQUE, &rowRect, "", 0, nullptr);
            continue;
        }
        std::fill(row.begin(), row.end(), ' ');
        const LineRecord& rec = lines_[static_cast<std::size_t>(line)];
        const long long text = textLength(line);
        if (text > firstColumn_) {
            long long n = std::min<long long>(text - firstColumn_, buffer);
            if (file_.read(&row[0], rec.offset + firstColumn_, static_cast<std::uint64_t>(n))) {
                for (long long k = 0; k < n; ++k) {
                    char& c = row[static_cast<std::size_t>(k)];
                    if (c == '\0' || c == '\t' || c == '\r' || c == '\n')
                        c = ' ';
                }
            } else {
                std::fill(row.begin(), row.end(), ' ');
            }
        }
        COLORREF back = kWhite;
        switch (kindOf(static_cast<std::size_t>(line))) {
        case kFirstOnly:
        case kMovedFrom: back = kFirstFileColour; break;
        case kSecondOnly:
        case kMovedTo: back = kSecondFileColour; break;
        default: break;
        }
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, back);
        DrawRowText(dc, 0, y, rowRect, row.data(), buffer);

        if (!selecting || line < selStart.line || line > selEnd.line)
            continue;
        const long long a = line == selStart.line ? selStart.col : 0;
        const long long b = line == selEnd.line ? selEnd.col : text;
        const long long va = std::max(a, firstColumn_);
        const long long vb = std::min(b, firstColumn_ + buffer);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        if (vb > va) {
            const SIZE s1 = RowTextExtent(dc, row.data(), static_cast<int>(va - firstColumn_));
            const SIZE s2 = RowTextExtent(dc, row.data(), static_cast<int>(vb - firstColumn_));
            RECT sel = {s1.cx, y, s2.cx, y + lineHeight_};
            DrawRowText(dc, s1.cx, y, sel, row.data() + (va - firstColumn_), static_cast<int>(vb - va));
        } else if (a == b && line < selEnd.line && firstColumn_ == 0) {
            // A selected row with nothing selected on it: its line end is.
            const SIZE s1 = RowTextExtent(dc, row.data(), static_cast<int>(std::min<long long>(a, buffer)));
            RECT sel = {s1.cx, y, s1.cx + std::max(1, charWidth_ / 2), y + lineHeight_};
            ExtTextOutA(dc, 0, y, ETO_OPAQUE, &sel, "", 0, nullptr);
        }
    }
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void CCompareWinCtrl::invalidateLines(long long a, long long b)
{
    if (a > b)
        std::swap(a, b);
    long long top = std::max(a - firstLine_, 0LL);
    long long bottom = std::min(b - firstLine_ + 1, static_cast<long long>(pageLines()) + 1);
    if (bottom <= top)
        return;
    RECT rc = {0, static_cast<LONG>(top * lineHeight_), clientWidth_, static_cast<LONG>(bottom * lineHeight_)};
    InvalidateRect(hwnd_, &rc, FALSE);
}

// ---------------------------------------------------------------------------
// Selection and clipboard

void CCompareWinCtrl::clearSelection()
{
    if (hasSelection()) {
        TextPos a = std::min(anchor_, end_), b = std::max(anchor_, end_);
        invalidateLines(a.line, b.line);
    }
    anchor_ = end_ = TextPos();
    extending_ = false;
}

// Copies the bytes from the earlier selection point up to the later one; the
// line ends between the rows come along as they stand in the file.
void CCompareWinCtrl::copy()
{
    if (selectionEmpty() || lines_.empty())
        return;
    TextPos a = std::min(anchor_, end_), b = std::max(anchor_, end_);
    auto offsetOf = [&](const TextPos& p) {
        const LineRecord& rec = lines_[static_cast<std::size_t>(p.line)];
        return rec.offset + static_cast<std::uint64_t>(std::min<long long>(p.col, textLength(p.line)));
    };
    const std::uint64_t from = offsetOf(a), to = offsetOf(b);
    if (to <= from || to > file_.size())
        return;
    const std::uint64_t count = to - from;
    if (count >= static_cast<std::uint64_t>(static_cast<SIZE_T>(-1)))
        return;
    std::string text;
    try {
        text.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!file_.read(&text[0], from, count))
        return;
    // The rows are UTF-8 text: they go on the clipboard as that text and in
    // UTF-16, so every reader gets the same letters.
    fx::SetClipboardText(hwnd_, text.c_str());
}

void CCompareWinCtrl::selectAll()
{
    if (lines_.empty())
        return;
    anchor_ = TextPos{0, 0};
    end_ = TextPos{textLength(lineCount() - 1), lineCount() - 1};
    extending_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// Keyboard and caret

void CCompareWinCtrl::placeCaret()
{
    if (!focused_)
        return;
    long long x = (caret_.col - firstColumn_) * charWidth_;
    long long y = (caret_.line - firstLine_) * lineHeight_;
    x = std::max(-1000000LL, std::min(x, 1000000LL));
    y = std::max(-1000000LL, std::min(y, 1000000LL));
    SetCaretPos(static_cast<int>(x), static_cast<int>(y));
}

void CCompareWinCtrl::ensureCaretVisible()
{
    if (caret_.line < firstLine_)
        scrollLinesTo(caret_.line);
    else if (caret_.line >= firstLine_ + pageLines())
        scrollLinesTo(caret_.line - pageLines() + 1);
    if (caret_.col < firstColumn_)
        scrollColumnsTo(caret_.col);
    else if (caret_.col >= firstColumn_ + pageColumns())
        scrollColumnsTo(caret_.col - pageColumns() + 1);
}

bool CCompareWinCtrl::moveCaret(WPARAM key)
{
    const long long last = lineCount() - 1;
    TextPos& c = caret_;
    switch (key) {
    case VK_PRIOR:
        c.line = std::max(0LL, c.line - pageLines());
        scrollLinesTo(firstLine_ - pageLines());
        c.col = std::min(c.col, textLength(c.line));
        break;
    case VK_NEXT:
        c.line = std::min(last, c.line + pageLines());
        scrollLinesTo(firstLine_ + pageLines());
        c.col = std::min(c.col, textLength(c.line));
        break;
    case VK_HOME:
        if (ctrl_) {
            scrollLinesTo(0);
            c = TextPos{0, 0};
        } else {
            c.col = 0;
        }
        scrollColumnsTo(0);
        break;
    case VK_END:
        if (ctrl_) {
            scrollLinesTo(maxFirstLine());
            c.line = last;
        }
        c.col = textLength(c.line);
        break;
    case VK_LEFT:
        if (c.col > 0) {
            --c.col;
        } else if (c.line > 0) {
            --c.line;
            c.col = textLength(c.line);
        }
        break;
    case VK_RIGHT:
        if (c.col < textLength(c.line)) {
            ++c.col;
        } else if (c.line < last) {
            ++c.line;
            c.col = 0;
        }
        break;
    case VK_UP:
        if (c.line > 0) {
            --c.line;
            c.col = std::min(c.col, textLength(c.line));
        }
        break;
    case VK_DOWN:
        if (c.line < last) {
            ++c.line;
            c.col = std::min(c.col, textLength(c.line));
        }
        break;
    default:
        return false;
    }
    return true;
}

void CCompareWinCtrl::onKeyDown(WPARAM key)
{
    switch (key) {
    case VK_SHIFT: shift_ = true; return;
    case VK_CONTROL: ctrl_ = true; return;
    case VK_MENU: alt_ = true; return;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        break;
    default:
        return;
    }
    if (lines_.empty())
        return;
    caret_.line = std::max(0LL, std::min(caret_.line, lineCount() - 1));
    caret_.col = std::max(0LL, std::min(caret_.col, textLength(caret_.line)));
    if (!shift_ && hasSelection())
        clearSelection();
    if (shift_ && !extending_) {
        anchor_ = end_ = caret_;
        extending_ = true;
    }
    moveCaret(key);
    if (extending_) {
        TextPos old = end_;
        end_ = caret_;
        invalidateLines(old.line, end_.line);
    }
    ensureCaretVisible();
    placeCaret();
}

// Only the released key's flag drops: a Shift still held keeps selecting.
void CCompareWinCtrl::onKeyUp(WPARAM key)
{
    switch (key) {
    case VK_SHIFT: shift_ = false; break;
    case VK_CONTROL: ctrl_ = false; break;
    case VK_MENU: alt_ = false; break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Mouse

TextPos CCompareWinCtrl::hitTest(int x, int y) const
{
    TextPos p;
    long long row = y >= 0 ? y / lineHeight_ : -1 - (-y - 1) / lineHeight_;
    p.line = std::max(0LL, std::min(firstLine_ + row, lineCount() - 1));
    long long col = (x >= 0 ? x / charWidth_ : 0) + firstColumn_;
    p.col = std::max(0LL, std::min(col, textLength(p.line)));
    return p;
}

void CCompareWinCtrl::onButtonDown(int x, int y)
{
    if (lines_.empty())
        return;
    SetFocus(hwnd_);
    clearSelection();
    TextPos hit = hitTest(x, y);
    if (y >= 0 && y / lineHeight_ >= pageLines())
        scrollLinesTo(firstLine_ + 1);
    SetCapture(hwnd_);
    mouseSelecting_ = true;
    anchor_ = end_ = caret_ = hit;
    invalidateLines(hit.line, hit.line);
    placeCaret();
}

void CCompareWinCtrl::onMouseMove(int x, int y)
{
    if (!mouseSelecting_ || lines_.empty())
        return;
    if (y < 0)
        setAutoScroll(-1);
    else if (y >= pageLines() * lineHeight_)
        setAutoScroll(1);
    else
        setAutoScroll(0);
    int yIn = std::max(0, std::min(y, pageLines() * lineHeight_ - 1));
    TextPos hit = hitTest(x, yIn);
    TextPos old = end_;
    end_ = caret_ = hit;
    invalidateLines(old.line, hit.line);
    placeCaret();
}

void CCompareWinCtrl::onButtonUp()
{
    setAutoScroll(0);
    if (mouseSelecting_) {
        mouseSelecting_ = false;
        if (GetCapture() == hwnd_)
            ReleaseCapture();
    }
}

void CCompareWinCtrl::setAutoScroll(int direction)
{
    autoScroll_ = direction;
    if (direction != 0 && !timer_)
        timer_ = SetTimer(hwnd_, kAutoScrollTimer, 1, nullptr);
    else if (direction == 0 && timer_) {
        KillTimer(hwnd_, kAutoScrollTimer);
        timer_ = 0;
    }
}

void CCompareWinCtrl::onTimer()
{
    if (autoScroll_ == 0 || !mouseSelecting_ || lines_.empty() || !end_.set()) {
        setAutoScroll(0);
        return;
    }
    scrollLinesTo(firstLine_ + autoScroll_);
    TextPos old = end_;
    end_.line = std::max(0LL, std::min(end_.line + autoScroll_, lineCount() - 1));
    end_.col = std::min(end_.col, textLength(end_.line));
    caret_ = end_;
    invalidateLines(old.line, end_.line);
    placeCaret();
}

// ---------------------------------------------------------------------------

bool CCompareWinCtrl::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_COMPAREWIN_COMPARE:
        result = compare(reinterpret_cast<const CompareRequest*>(wParam));
        return true;
    case WM_COMPAREWIN_CANCOPY:
        result = selectionEmpty() ? 0 : 1;
        return true;
    case WM_COMPAREWIN_COPY:
        copy();
        return true;
    case WM_COMPAREWIN_SELECTALL:
        selectAll();
        return true;
    case WM_SIZE: {
        clientWidth_ = LOWORD(lParam);
        clientHeight_ = HIWORD(lParam);
        bufferWidth_ = clientWidth_ / charWidth_ + 4;
        if (updateScrollBars()) {
            InvalidateRect(hwnd_, nullptr, TRUE);
            UpdateWindow(hwnd_);
        }
        return true;
    }
    case WM_SETFOCUS:
        focused_ = true;
        CreateCaret(hwnd_, nullptr, charWidth_, lineHeight_);
        placeCaret();
        ShowCaret(hwnd_);
        return true;
    case WM_KILLFOCUS:
        focused_ = false;
        shift_ = ctrl_ = alt_ = false; // their key-up messages go elsewhere now
        DestroyCaret();
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        try {
            if (dc)
                paint(dc, ps.rcPaint);
        } catch (...) {
            // Out of memory for a row buffer: leave the rest unpainted this time.
        }
        EndPaint(hwnd_, &ps);
        return true;
    }
    case WM_PRINTCLIENT: {
        RECT rc = {0, 0, clientWidth_, clientHeight_};
        paint(reinterpret_cast<HDC>(wParam), rc);
        return true;
    }
    case WM_KEYDOWN:
        onKeyDown(wParam);
        return true;
    case WM_KEYUP:
        onKeyUp(wParam);
        return true;
    case WM_TIMER:
        if (wParam != kAutoScrollTimer)
            return false;
        onTimer();
        return true;
    case WM_VSCROLL:
        onVScroll(LOWORD(wParam));
        return true;
    case WM_HSCROLL:
        onHScroll(LOWORD(wParam));
        return true;
    case WM_MOUSEMOVE:
        onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return true;
    case WM_LBUTTONDOWN:
        onButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return true;
    case WM_LBUTTONUP:
        onButtonUp();
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_ && mouseSelecting_) {
            mouseSelecting_ = false;
            setAutoScroll(0);
        }
        return false;
    case WM_MOUSEWHEEL:
        onWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return true;
    case WM_DESTROY:
        unload();
        return true;
    default:
        return false;
    }
}

const char kClassName[] = COMPAREWIN_CLASSNAME;

} // namespace

LRESULT CALLBACK CompareWinProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<CCompareWinCtrl*>(GetWindowLongPtrA(hwnd, 0));
    if (message == WM_CREATE) {
        if (!view) {
            view = new (std::nothrow) CCompareWinCtrl(hwnd);
            if (!view)
                return -1;
            SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(view));
        }
        return 0;
    }
    if (!view)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, 0, 0);
        delete view;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (view->handle(message, wParam, lParam, result))
            return result;
    } catch (...) {
        return 0; // nothing escapes into the host's message loop
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool RegisterCompareWinClass(HINSTANCE module)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = CompareWinProc;
    wc.cbWndExtra = sizeof(LONG_PTR); // the window's CCompareWinCtrl
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

void UnregisterCompareWinClass(HINSTANCE module)
{
    UnregisterClassA(kClassName, module);
}

} // namespace pairview
