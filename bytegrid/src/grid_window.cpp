// The "BytegridWin" window: layout, painting, keyboard and mouse, the
// clipboard and the control messages.
#include "grid_window.h"

#include "../include/bytegrid.h"
#include "clip_text.h"
#include "document.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace bytegrid {

namespace {

// Columns of one row, in character cells:
//   00000010  00 11 22 33 44 55 66 77  88 99 AA BB CC DD EE FF  0123456789ABCDEF
constexpr int kBytesPerRow = 16;
constexpr int kOffsetDigits = 8;
constexpr int kHexStart = kOffsetDigits + 2;
constexpr int kAsciiStart = kHexStart + 3 * kBytesPerRow + 1 + 1;
constexpr int kTotalColumns = kAsciiStart + kBytesPerRow + 1;
constexpr int kMargin = 4; // pixels left of the first column
constexpr size_t kMaxClipboardBytes = 64u << 20;
constexpr size_t kMaxPattern = 65536;

int HexColumn(int i) { return kHexStart + 3 * i + (i >= 8 ? 1 : 0); }

COLORREF Blend(COLORREF a, COLORREF b, int percentOfA)
{
    auto mix = [&](int x, int y) { return (x * percentOfA + y * (100 - percentOfA)) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

class Grid {
public:
    explicit Grid(HWND hwnd) : hwnd_(hwnd) {}
    ~Grid()
    {
        if (ownFont_)
            DeleteObject(ownFont_);
    }

    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

private:
    // ---- state helpers
    uint64_t Length() const { return doc_.Length(); }
    uint64_t SelStart() const { return std::min(cs_.caret, cs_.anchor); }
    uint64_t SelEnd() const { return std::max(cs_.caret, cs_.anchor); }
    bool HasSelection() const { return cs_.caret != cs_.anchor; }
    bool ReadOnly() const { return (options_ & BGO_READONLY) != 0; }
    uint64_t TotalRows() const { return Length() / kBytesPerRow + 1; }
    uint64_t MaxTopRow() const
    {
        uint64_t rows = TotalRows(), page = PageRows();
        return rows > page ? rows - page : 0;
    }
    uint64_t PageRows() const;
    int PageColumns() const;

    void Fail(DWORD error)
    {
        lastError_ = error ? error : ERROR_GEN_FAILURE;
    }

    // ---- changes
    void Changed(bool showCaret);
    void Notify(int code);
    void MoveCaret(uint64_t pos, bool extend);
    void EnsureVisible(uint64_t pos);
    void CentreOn(uint64_t pos);
    void SetTopRow(uint64_t row);
    void SetLeftColumn(int col);
    bool Edit(uint64_t pos, uint64_t oldLen, const uint8_t* data, size_t n, bool typing,
              const CaretState& after);
    void ResetView();

    // ---- input
    void OnKeyDown(UINT vk);
    void OnChar(unsigned ch);
    void TypeHexDigit(int digit);
    void TypeByte(uint8_t b);
    void DeleteSelectionOrByte(bool backwards);
    void HitTest(int x, int y, uint64_t* pos, int* pane, int* nibble) const;
    void OnMouseDown(int x, int y, bool shift);
    void OnMouseMove(int x, int y);
    void SetScrollBar(int bar, const SCROLLINFO& si);
    void OnScroll(bool vertical, int code);
    void OnWheel(int delta);

    // ---- clipboard
    bool Copy();
    bool Cut();
    bool Paste();
    bool CanPaste() const;
    bool OpenClipboardRetry();

    // ---- search
    LRESULT SetFindData(const BGFINDDATA* data);
    LRESULT FindNext(const BGFINDNEXT* run);

    // ---- drawing
    void SetFont(HFONT font);
    void Measure();
    void UpdateScrollBars();
    void PlaceCaret();
    void MakeCaret();
    void Paint(HDC hdc);
    int X(int column) const { return kMargin + (column - leftCol_) * cw_; }
    int RowY(uint64_t row) const { return headerH_ + static_cast<int>(row - topRow_) * ch_; }

    HWND hwnd_;
    Document doc_;
    CaretState cs_;
    bool insert_ = false;
    DWORD options_ = 0;
    DWORD lastError_ = 0;

    HFONT font_ = nullptr;
    HFONT ownFont_ = nullptr;
    int cw_ = 8, ch_ = 16, headerH_ = 18;
    uint64_t topRow_ = 0;
    int leftCol_ = 0;
    bool focused_ = false;
    bool dragging_ = false;
    int wheelRest_ = 0;
    bool inScrollUpdate_ = false;

    std::vector<uint8_t> pattern_;
    bool patternCase_ = true;

    // What the parent was last told.
    uint64_t toldCaret_ = 0, toldAnchor_ = 0;
    bool toldModified_ = false, toldInsert_ = false;
};

// ------------------------------------------------------------------------
// Geometry and scrolling

uint64_t Grid::PageRows() const
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    int rows = (rc.bottom - headerH_) / ch_;
    return rows > 0 ? static_cast<uint64_t>(rows) : 1;
}

int Grid::PageColumns() const
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    int cols = (rc.right - kMargin) / cw_;
    return cols > 0 ? cols : 1;
}

void Grid::SetTopRow(uint64_t row)
{
    row = std::min(row, MaxTopRow());
    if (row != topRow_) {
        topRow_ = row;
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Grid::SetLeftColumn(int col)
{
    int maxCol = std::max(0, kTotalColumns - PageColumns());
    col = std::max(0, std::min(col, maxCol));
    if (col != leftCol_) {
        leftCol_ = col;
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Grid::EnsureVisible(uint64_t pos)
{
    uint64_t row = pos / kBytesPerRow, page = PageRows();
    if (row < topRow_)
        SetTopRow(row);
    else if (row >= topRow_ + page)
        SetTopRow(row - page + 1);
    int i = static_cast<int>(pos % kBytesPerRow);
    int col = cs_.pane == BGPANE_HEX ? HexColumn(i) : kAsciiStart + i;
    int width = cs_.pane == BGPANE_HEX ? 2 : 1;
    int cols = PageColumns();
    if (col < leftCol_)
        SetLeftColumn(col);
    else if (col + width > leftCol_ + cols)
        SetLeftColumn(col + width - cols);
}

void Grid::CentreOn(uint64_t pos)
{
    uint64_t row = pos / kBytesPerRow, page = PageRows();
    if (row >= topRow_ && row < topRow_ + page)
        return;
    SetTopRow(row > page / 2 ? row - page / 2 : 0);
}

// The scroll bars count rows in 32-bit ints: halve the unit until the row
// count fits (a document under 4 GiB never needs it, but it stays correct).
namespace {
int ScrollShift(uint64_t rows)
{
    int shift = 0;
    while ((rows >> shift) > 0x7FFFFFFEull)
        ++shift;
    return shift;
}
} // namespace

void Grid::UpdateScrollBars()
{
    if (inScrollUpdate_)
        return;
    inScrollUpdate_ = true;
    // Showing or hiding one bar changes the room for the other: repeat
    // until the client area stays the same.
    for (int round = 0; round < 3; ++round) {
        RECT before;
        GetClientRect(hwnd_, &before);
        topRow_ = std::min(topRow_, MaxTopRow());
        leftCol_ = std::max(0, std::min(leftCol_, kTotalColumns - PageColumns()));
        uint64_t rows = TotalRows();
        int shift = ScrollShift(rows);
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = static_cast<int>((rows - 1) >> shift);
        si.nPage = static_cast<UINT>(std::max<uint64_t>(1, PageRows() >> shift));
        si.nPos = static_cast<int>(topRow_ >> shift);
        SetScrollBar(SB_VERT, si);

        si.nMax = kTotalColumns - 1;
        si.nPage = static_cast<UINT>(PageColumns());
        si.nPos = leftCol_;
        SetScrollBar(SB_HORZ, si);
        RECT after;
        GetClientRect(hwnd_, &after);
        if (EqualRect(&before, &after))
            break;
    }
    inScrollUpdate_ = false;
}

void Grid::SetScrollBar(int bar, const SCROLLINFO& si)
{
    // Setting a bar redraws it at once, which costs more than the rest of a
    // small change (a save, a typed byte): leave a bar that shows these
    // values already.
    SCROLLINFO now = {};
    now.cbSize = sizeof now;
    now.fMask = si.fMask;
    if (GetScrollInfo(hwnd_, bar, &now) && now.nMin == si.nMin && now.nMax == si.nMax && now.nPage == si.nPage &&
        now.nPos == si.nPos)
        return;
    SCROLLINFO copy = si;
    SetScrollInfo(hwnd_, bar, &copy, TRUE);
}

void Grid::OnScroll(bool vertical, int code)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, vertical ? SB_VERT : SB_HORZ, &si);
    if (vertical) {
        int shift = ScrollShift(TotalRows());
        uint64_t page = PageRows();
        uint64_t row = topRow_;
        switch (code) {
        case SB_LINEUP: row = row ? row - 1 : 0; break;
        case SB_LINEDOWN: row += 1; break;
        case SB_PAGEUP: row = row > page ? row - page : 0; break;
        case SB_PAGEDOWN: row += page; break;
        case SB_TOP: row = 0; break;
        case SB_BOTTOM: row = MaxTopRow(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: row = static_cast<uint64_t>(si.nTrackPos) << shift; break;
        default: return;
        }
        SetTopRow(row);
    } else {
        int col = leftCol_;
        switch (code) {
        case SB_LINELEFT: --col; break;
        case SB_LINERIGHT: ++col; break;
        case SB_PAGELEFT: col -= PageColumns(); break;
        case SB_PAGERIGHT: col += PageColumns(); break;
        case SB_LEFT: col = 0; break;
        case SB_RIGHT: col = kTotalColumns; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: col = si.nTrackPos; break;
        default: return;
        }
        SetLeftColumn(col);
    }
    UpdateScrollBars();
    PlaceCaret();
}

void Grid::OnWheel(int delta)
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == 0 || lines > 1000)
        lines = 3;
    wheelRest_ += delta;
    int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (!notches)
        return;
    uint64_t step = static_cast<uint64_t>(lines) * static_cast<uint64_t>(notches < 0 ? -notches : notches);
    if (notches > 0)
        SetTopRow(topRow_ > step ? topRow_ - step : 0);
    else
        SetTopRow(topRow_ + step);
    UpdateScrollBars();
    PlaceCaret();
}

// ------------------------------------------------------------------------
// Changes and notifications

void Grid::Notify(int code)
{
    if (!(options_ & BGO_NOTIFY))
        return;
    HWND parent = GetParent(hwnd_);
    if (!parent)
        return;
    BGNOTIFY nm = {};
    nm.hdr.hwndFrom = hwnd_;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
    nm.hdr.code = static_cast<UINT>(code);
    nm.position = cs_.caret;
    nm.selStart = SelStart();
    nm.selLength = SelEnd() - SelStart();
    nm.modified = doc_.Modified();
    nm.insertMode = insert_;
    SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void Grid::Changed(bool showCaret)
{
    uint64_t len = Length();
    cs_.caret = std::min(cs_.caret, len);
    cs_.anchor = std::min(cs_.anchor, len);
    if (cs_.caret >= len || HasSelection())
        cs_.nibble = 0;
    topRow_ = std::min(topRow_, MaxTopRow());
    if (showCaret)
        EnsureVisible(cs_.caret);
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(hwnd_, nullptr, FALSE);

    // Tell the parent; it may call back, so the record is updated first.
    bool posChanged = cs_.caret != toldCaret_ || cs_.anchor != toldAnchor_;
    bool modChanged = doc_.Modified() != toldModified_;
    bool modeChanged = insert_ != toldInsert_;
    toldCaret_ = cs_.caret;
    toldAnchor_ = cs_.anchor;
    toldModified_ = doc_.Modified();
    toldInsert_ = insert_;
    if (modChanged)
        Notify(BGN_MODIFIEDCHANGED);
    if (modeChanged)
        Notify(BGN_MODECHANGED);
    if (posChanged)
        Notify(BGN_POSCHANGED);
}

void Grid::MoveCaret(uint64_t pos, bool extend)
{
    cs_.caret = std::min(pos, Length());
    if (!extend)
        cs_.anchor = cs_.caret;
    cs_.nibble = 0;
    doc_.SealTyping();
}

bool Grid::Edit(uint64_t pos, uint64_t oldLen, const uint8_t* data, size_t n, bool typing,
                const CaretState& after)
{
    if (ReadOnly()) {
        Fail(ERROR_WRITE_PROTECT);
        return false;
    }
    DWORD error = 0;
    if (!doc_.Replace(pos, oldLen, data, n, typing, cs_, after, &error)) {
        Fail(error);
        return false;
    }
    cs_ = after;
    return true;
}

void Grid::ResetView()
{
    cs_ = CaretState();
    topRow_ = 0;
    leftCol_ = 0;
    Changed(true);
}

// ------------------------------------------------------------------------
// Keyboard

void Grid::OnKeyDown(UINT vk)
{
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    uint64_t len = Length(), caret = cs_.caret;
    uint64_t row = caret - caret % kBytesPerRow;
    uint64_t page = PageRows() * kBytesPerRow;

    if (ctrl && !shift) {
        switch (vk) {
        case 'A':
            cs_.anchor = 0;
            cs_.caret = len;
            cs_.nibble = 0;
            doc_.SealTyping();
            Changed(true);
            return;
        case 'C':
        case VK_INSERT:
            if (!Copy())
                MessageBeep(MB_ICONEXCLAMATION);
            return;
        case 'X':
            if (!Cut())
                MessageBeep(MB_ICONEXCLAMATION);
            Changed(true);
            return;
        case 'V':
            if (!Paste())
                MessageBeep(MB_ICONEXCLAMATION);
            Changed(true);
            return;
        case 'Z':
            if (!ReadOnly() && doc_.Undo(&cs_))
                Changed(true);
            return;
        case 'Y':
            if (!ReadOnly() && doc_.Redo(&cs_))
                Changed(true);
            return;
        default: break;
        }
    }
    if (ctrl && shift && vk == 'Z') {
        if (!ReadOnly() && doc_.Redo(&cs_))
            Changed(true);
        return;
    }

    switch (vk) {
    case VK_LEFT:
        if (cs_.pane == BGPANE_HEX && cs_.nibble == 1 && !shift)
            MoveCaret(caret, false); // back to the first digit of this byte
        else
            MoveCaret(caret ? caret - 1 : 0, shift);
        break;
    case VK_RIGHT: MoveCaret(caret + 1, shift); break;
    case VK_UP: MoveCaret(caret >= kBytesPerRow ? caret - kBytesPerRow : caret, shift); break;
    case VK_DOWN: MoveCaret(caret + kBytesPerRow, shift); break;
    case VK_PRIOR: {
        uint64_t rows = PageRows();
        SetTopRow(topRow_ > rows ? topRow_ - rows : 0);
        MoveCaret(caret >= page ? caret - page : caret % kBytesPerRow, shift);
        break;
    }
    case VK_NEXT: {
        SetTopRow(topRow_ + PageRows());
        MoveCaret(caret + page, shift);
        break;
    }
    case VK_HOME: MoveCaret(ctrl ? 0 : row, shift); break;
    case VK_END: MoveCaret(ctrl ? len : std::min(row + kBytesPerRow - 1, len), shift); break;
    case VK_TAB:
        cs_.pane = cs_.pane == BGPANE_HEX ? BGPANE_ASCII : BGPANE_HEX;
        cs_.nibble = 0;
        doc_.SealTyping();
        if (focused_)
            MakeCaret();
        break;
    case VK_INSERT:
        if (shift) {
            if (!Paste())
                MessageBeep(MB_ICONEXCLAMATION);
        } else {
            insert_ = !insert_;
            if (focused_)
                MakeCaret();
        }
        break;
    case VK_DELETE:
        if (shift) {
            if (!Cut())
                MessageBeep(MB_ICONEXCLAMATION);
        } else {
            DeleteSelectionOrByte(false);
        }
        break;
    case VK_BACK: DeleteSelectionOrByte(true); break;
    default: return;
    }
    Changed(true);
}

void Grid::DeleteSelectionOrByte(bool backwards)
{
    CaretState after = cs_;
    after.nibble = 0;
    if (HasSelection()) {
        after.caret = after.anchor = SelStart();
        if (!Edit(SelStart(), SelEnd() - SelStart(), nullptr, 0, false, after))
            MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (backwards) {
        if (cs_.caret == 0)
            return;
        if (!insert_) {
            // Overwrite mode keeps the length: backspace only steps back.
            MoveCaret(cs_.caret - 1, false);
            return;
        }
        after.caret = after.anchor = cs_.caret - 1;
        if (!Edit(cs_.caret - 1, 1, nullptr, 0, false, after))
            MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (cs_.caret >= Length())
        return;
    if (!Edit(cs_.caret, 1, nullptr, 0, false, after))
        MessageBeep(MB_ICONEXCLAMATION);
}

void Grid::OnChar(unsigned ch)
{
    if (ch < 0x20 || ch == 0x7F)
        return; // control keys are handled as keys
    if (cs_.pane == BGPANE_HEX) {
        int digit = -1;
        if (ch >= '0' && ch <= '9')
            digit = static_cast<int>(ch - '0');
        else if (ch >= 'a' && ch <= 'f')
            digit = static_cast<int>(ch - 'a' + 10);
        else if (ch >= 'A' && ch <= 'F')
            digit = static_cast<int>(ch - 'A' + 10);
        if (digit < 0) {
            MessageBeep(MB_OK);
            return;
        }
        TypeHexDigit(digit);
    } else {
        TypeByte(static_cast<uint8_t>(ch));
    }
    Changed(true);
}

void Grid::TypeHexDigit(int digit)
{
    if (HasSelection()) {
        uint64_t start = SelStart();
        if (insert_) {
            uint8_t b = static_cast<uint8_t>(digit << 4);
            CaretState after = cs_;
            after.caret = after.anchor = start;
            after.nibble = 1;
            if (!Edit(start, SelEnd() - start, &b, 1, true, after))
                MessageBeep(MB_ICONEXCLAMATION);
            return;
        }
        MoveCaret(start, false);
    }
    uint64_t caret = cs_.caret;
    int current = doc_.ByteAt(caret);
    CaretState after = cs_;
    uint8_t b;
    bool ok;
    if (cs_.nibble == 0) {
        after.nibble = 1;
        if (insert_ || current < 0) {
            b = static_cast<uint8_t>(digit << 4);
            ok = Edit(caret, 0, &b, 1, true, after);
        } else {
            b = static_cast<uint8_t>((digit << 4) | (current & 0x0F));
            ok = Edit(caret, 1, &b, 1, true, after);
        }
    } else {
        if (current < 0)
            return;
        b = static_cast<uint8_t>((current & 0xF0) | digit);
        after.nibble = 0;
        after.caret = after.anchor = caret + 1;
        ok = Edit(caret, 1, &b, 1, true, after);
    }
    if (!ok)
        MessageBeep(MB_ICONEXCLAMATION);
}

void Grid::TypeByte(uint8_t b)
{
    CaretState after = cs_;
    after.nibble = 0;
    bool ok;
    if (HasSelection()) {
        uint64_t start = SelStart();
        after.caret = after.anchor = start + 1;
        // Insert mode replaces the selection; overwrite mode writes over its
        // first byte.
        ok = Edit(start, insert_ ? SelEnd() - start : 1, &b, 1, true, after);
    } else {
        after.caret = after.anchor = cs_.caret + 1;
        ok = Edit(cs_.caret, insert_ ? 0 : 1, &b, 1, true, after);
    }
    if (!ok)
        MessageBeep(MB_ICONEXCLAMATION);
}

// ------------------------------------------------------------------------
// Mouse

void Grid::HitTest(int x, int y, uint64_t* pos, int* pane, int* nibble) const
{
    int rowIndex = y < headerH_ ? 0 : (y - headerH_) / ch_;
    uint64_t row = topRow_ + static_cast<uint64_t>(std::max(0, rowIndex));
    int col = (x - kMargin) / cw_ + leftCol_;
    if (x < kMargin)
        col = leftCol_ - 1;
    int i = 0;
    *nibble = 0;
    if (col >= kAsciiStart - 1) {
        *pane = BGPANE_ASCII;
        i = std::max(0, std::min(col - kAsciiStart, kBytesPerRow - 1));
        if (col >= kAsciiStart + kBytesPerRow)
            i = kBytesPerRow - 1;
    } else {
        *pane = BGPANE_HEX;
        i = 0;
        for (int k = kBytesPerRow - 1; k >= 0; --k)
            if (col >= HexColumn(k)) {
                i = k;
                break;
            }
        if (col == HexColumn(i) + 1)
            *nibble = 1;
    }
    uint64_t p = row * kBytesPerRow + static_cast<uint64_t>(i);
    *pos = std::min(p, Length());
    if (*pos >= Length())
        *nibble = 0;
}

void Grid::OnMouseDown(int x, int y, bool shift)
{
    SetFocus(hwnd_);
    uint64_t pos;
    int pane, nibble;
    HitTest(x, y, &pos, &pane, &nibble);
    bool paneChanged = pane != cs_.pane;
    cs_.pane = pane;
    MoveCaret(pos, shift);
    if (!shift)
        cs_.nibble = nibble;
    if (paneChanged && focused_)
        MakeCaret();
    dragging_ = true;
    SetCapture(hwnd_);
    Changed(true);
}

void Grid::OnMouseMove(int x, int y)
{
    if (!dragging_)
        return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Dragging past the top or the bottom scrolls a row at a time.
    if (y < headerH_ && topRow_ > 0)
        SetTopRow(topRow_ - 1);
    else if (y >= rc.bottom)
        SetTopRow(topRow_ + 1);
    uint64_t pos;
    int pane, nibble;
    HitTest(x, std::max<int>(headerH_, std::min<int>(y, rc.bottom - 1)), &pos, &pane, &nibble);
    if (pos != cs_.caret) {
        MoveCaret(pos, true);
        Changed(true);
    }
}

// ------------------------------------------------------------------------
// Clipboard

bool Grid::OpenClipboardRetry()
{
    for (int i = 0; i < 10; ++i) {
        if (OpenClipboard(hwnd_))
            return true;
        Sleep(20);
    }
    return false;
}

bool Grid::Copy()
{
    if (!HasSelection()) {
        Fail(ERROR_NO_DATA);
        return false;
    }
    uint64_t n64 = SelEnd() - SelStart();
    if (n64 > kMaxClipboardBytes) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    size_t n = static_cast<size_t>(n64);
    std::vector<uint8_t> bytes;
    std::string text;
    try {
        bytes.resize(n);
        doc_.Read(SelStart(), n, bytes.data());
        text = cs_.pane == BGPANE_HEX ? BytesToHexText(bytes.data(), n) : BytesToCharText(bytes.data(), n);
    } catch (const std::bad_alloc&) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    HGLOBAL hBin = GlobalAlloc(GMEM_MOVEABLE, sizeof(uint64_t) + n);
    if (!hText || !hBin) {
        if (hText)
            GlobalFree(hText);
        if (hBin)
            GlobalFree(hBin);
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    char* t = static_cast<char*>(GlobalLock(hText));
    std::memcpy(t, text.c_str(), text.size() + 1);
    GlobalUnlock(hText);
    uint8_t* b = static_cast<uint8_t*>(GlobalLock(hBin));
    uint64_t count = n;
    std::memcpy(b, &count, sizeof count);
    if (n)
        std::memcpy(b + sizeof count, bytes.data(), n);
    GlobalUnlock(hBin);

    if (!OpenClipboardRetry()) {
        GlobalFree(hText);
        GlobalFree(hBin);
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, hText) != nullptr;
    if (!ok)
        GlobalFree(hText);
    UINT format = RegisterClipboardFormatA(BYTEGRID_CLIPFORMAT);
    if (!format || !SetClipboardData(format, hBin))
        GlobalFree(hBin);
    CloseClipboard();
    if (!ok)
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
    return ok;
}

bool Grid::Cut()
{
    if (ReadOnly()) {
        Fail(ERROR_WRITE_PROTECT);
        return false;
    }
    if (!Copy())
        return false;
    CaretState after = cs_;
    after.caret = after.anchor = SelStart();
    after.nibble = 0;
    return Edit(SelStart(), SelEnd() - SelStart(), nullptr, 0, false, after);
}

bool Grid::CanPaste() const
{
    if (ReadOnly())
        return false;
    UINT format = RegisterClipboardFormatA(BYTEGRID_CLIPFORMAT);
    return IsClipboardFormatAvailable(CF_TEXT) || (format && IsClipboardFormatAvailable(format));
}

bool Grid::Paste()
{
    if (ReadOnly()) {
        Fail(ERROR_WRITE_PROTECT);
        return false;
    }
    if (!OpenClipboardRetry()) {
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    std::vector<uint8_t> bytes;
    bool got = false;
    try {
        UINT format = RegisterClipboardFormatA(BYTEGRID_CLIPFORMAT);
        HANDLE h = format ? GetClipboardData(format) : nullptr;
        if (h) {
            const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(h));
            SIZE_T size = GlobalSize(h);
            uint64_t count = 0;
            if (p && size >= sizeof count) {
                std::memcpy(&count, p, sizeof count);
                if (count <= size - sizeof count) {
                    bytes.assign(p + sizeof count, p + sizeof count + count);
                    got = true;
                }
            }
            if (p)
                GlobalUnlock(h);
        }
        if (!got && (h = GetClipboardData(CF_TEXT)) != nullptr) {
            const char* p = static_cast<const char*>(GlobalLock(h));
            if (p) {
                size_t n = strnlen(p, GlobalSize(h));
                if (cs_.pane != BGPANE_HEX || !HexTextToBytes(p, n, &bytes))
                    bytes.assign(p, p + n);
                got = true;
                GlobalUnlock(h);
            }
        }
    } catch (const std::bad_alloc&) {
        CloseClipboard();
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    CloseClipboard();
    if (!got || bytes.empty()) {
        Fail(got ? ERROR_NO_DATA : ERROR_INVALID_DATA);
        return false;
    }
    uint64_t pos, oldLen;
    if (HasSelection()) {
        pos = SelStart();
        oldLen = SelEnd() - pos;
    } else {
        pos = cs_.caret;
        oldLen = insert_ ? 0 : std::min<uint64_t>(bytes.size(), Length() - pos);
    }
    CaretState after = cs_;
    after.caret = after.anchor = pos + bytes.size();
    after.nibble = 0;
    return Edit(pos, oldLen, bytes.data(), bytes.size(), false, after);
}

// ------------------------------------------------------------------------
// Search

LRESULT Grid::SetFindData(const BGFINDDATA* data)
{
    if (!data || !data->pData || data->cbData == 0 || data->cbData > kMaxPattern)
        return 0;
    pattern_.assign(data->pData, data->pData + data->cbData);
    patternCase_ = data->fMatchCase != 0;
    return 1;
}

LRESULT Grid::FindNext(const BGFINDNEXT* run)
{
    if (!run || !run->pResult || pattern_.empty())
        return 0;
    uint64_t from = run->dwStart;
    bool up = run->fSearchUp != 0;
    // Searching up from the end of the selection starts before it, so that
    // a repeated search does not find the match it just selected.
    if (up && HasSelection() && SelEnd() == from)
        from = SelStart();
    uint64_t found = 0;
    if (!doc_.Find(pattern_, patternCase_, up, from, &found))
        return 0;
    *run->pResult = static_cast<DWORD>(found);
    return 1;
}

// ------------------------------------------------------------------------
// Drawing

void Grid::SetFont(HFONT font)
{
    if (!font) {
        if (!ownFont_) {
            ownFont_ = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   FIXED_PITCH | FF_MODERN, "Courier New");
        }
        font = ownFont_ ? ownFont_ : static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    }
    font_ = font;
    Measure();
}

void Grid::Measure()
{
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    // Every cell is as wide as the widest character drawn, so the columns
    // line up even when no fixed-pitch font could be had.
    int widest = tm.tmAveCharWidth;
    static const char sample[] = "0123456789ABCDEFWMm.";
    for (const char* c = sample; *c; ++c) {
        SIZE sz;
        if (GetTextExtentPoint32A(dc, c, 1, &sz))
            widest = std::max<int>(widest, sz.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    cw_ = std::max(1, widest);
    ch_ = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    headerH_ = ch_ + 3;
}

void Grid::MakeCaret()
{
    // Insert mode: a thin bar; overwrite mode: a block over the digit.
    CreateCaret(hwnd_, nullptr, insert_ ? 2 : cw_, ch_);
    PlaceCaret();
    ShowCaret(hwnd_);
}

void Grid::PlaceCaret()
{
    if (!focused_)
        return;
    uint64_t row = cs_.caret / kBytesPerRow;
    int i = static_cast<int>(cs_.caret % kBytesPerRow);
    if (row < topRow_ || row >= topRow_ + PageRows() + 1) {
        SetCaretPos(-1000, -1000);
        return;
    }
    int col = cs_.pane == BGPANE_HEX ? HexColumn(i) + cs_.nibble : kAsciiStart + i;
    SetCaretPos(X(col), RowY(row));
}

void Grid::Paint(HDC target)
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    int w = std::max<int>(1, rc.right), h = std::max<int>(1, rc.bottom);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    HGDIOBJ oldFont = SelectObject(dc, font_);

    const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF text = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const COLORREF gray = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF hilite = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF hiliteText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF softHilite = Blend(hilite, window, 30);
    const COLORREF edited = RGB(200, 0, 0);
    const COLORREF offsetText = Blend(text, face, 60);

    RECT all = {0, 0, w, h};
    SetBkColor(dc, window);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);

    std::vector<INT> dx(kTotalColumns + 4, cw_);
    auto cell = [&](int column, uint64_t row, const char* s, int n, COLORREF fg, COLORREF bg, int extraCells) {
        RECT r = {X(column), RowY(row), X(column + n + extraCells), RowY(row) + ch_};
        SetTextColor(dc, fg);
        SetBkColor(dc, bg);
        ExtTextOutA(dc, r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, s, static_cast<UINT>(n), dx.data());
    };

    // Offset column and header band.
    RECT band = {0, 0, X(kOffsetDigits) + cw_, h};
    SetBkColor(dc, face);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
    RECT head = {0, 0, w, headerH_ - 1};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &head, nullptr, 0, nullptr);
    SetTextColor(dc, gray);
    char buf[32];
    {
        RECT r = {X(0), 1, X(kOffsetDigits + 1), headerH_ - 1};
        ExtTextOutA(dc, r.left, 1, ETO_CLIPPED, &r, "Offset", 6, dx.data());
        for (int i = 0; i < kBytesPerRow; ++i) {
            std::snprintf(buf, sizeof buf, "%02X", i);
            RECT c = {X(HexColumn(i)), 1, X(HexColumn(i) + 2), headerH_ - 1};
            ExtTextOutA(dc, c.left, 1, ETO_CLIPPED, &c, buf, 2, dx.data());
            buf[0] = "0123456789ABCDEF"[i];
            RECT a = {X(kAsciiStart + i), 1, X(kAsciiStart + i + 1), headerH_ - 1};
            ExtTextOutA(dc, a.left, 1, ETO_CLIPPED, &a, buf, 1, dx.data());
        }
    }
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, headerH_ - 1, nullptr);
    LineTo(dc, w, headerH_ - 1);
    MoveToEx(dc, band.right, 0, nullptr);
    LineTo(dc, band.right, h);
    int asciiLine = X(kAsciiStart) - cw_ / 2 - 1;
    MoveToEx(dc, asciiLine, 0, nullptr);
    LineTo(dc, asciiLine, h);

    const uint64_t len = Length();
    const uint64_t selStart = SelStart(), selEnd = SelEnd();
    const uint64_t rows = PageRows() + 1;
    uint8_t bytes[kBytesPerRow];
    bool changed[kBytesPerRow];
    for (uint64_t r = topRow_; r < topRow_ + rows; ++r) {
        uint64_t offset = r * kBytesPerRow;
        if (offset > len)
            break; // a row past the end is shown only for the caret after a full row
        std::snprintf(buf, sizeof buf, "%08llX", static_cast<unsigned long long>(offset));
        cell(0, r, buf, kOffsetDigits, offsetText, face, 0);

        int count = static_cast<int>(std::min<uint64_t>(kBytesPerRow, len - offset));
        int k = 0;
        doc_.Table().ForEachRun(offset, static_cast<uint64_t>(count), [&](const uint8_t* p, size_t n, bool e) {
            for (size_t j = 0; j < n; ++j, ++k) {
                bytes[k] = p[j];
                changed[k] = e;
            }
        });
        for (int i = 0; i < count; ++i) {
            uint64_t pos = offset + static_cast<uint64_t>(i);
            bool selected = pos >= selStart && pos < selEnd;
            bool hexActive = cs_.pane == BGPANE_HEX;
            COLORREF fg = changed[i] ? edited : text;

            // Hex pane: selected bytes join up with the blank between them.
            COLORREF bg = window, hexFg = fg;
            if (selected) {
                bg = hexActive && focused_ ? hilite : softHilite;
                if (hexActive && focused_)
                    hexFg = hiliteText;
            }
            char hex[2] = {"0123456789ABCDEF"[bytes[i] >> 4], "0123456789ABCDEF"[bytes[i] & 15]};
            int gap = (selected && pos + 1 < selEnd && i != kBytesPerRow - 1) ? (i == 7 ? 2 : 1) : 0;
            cell(HexColumn(i), r, hex, 2, hexFg, bg, gap);

            unsigned char c = bytes[i];
            bool printable = c >= 0x20 && c < 0x7F;
            char ch = printable ? static_cast<char>(c) : '.';
            COLORREF aBg = window, aFg = printable ? fg : (changed[i] ? edited : gray);
            if (selected) {
                aBg = !hexActive && focused_ ? hilite : softHilite;
                if (!hexActive && focused_)
                    aFg = hiliteText;
            }
            cell(kAsciiStart + i, r, &ch, 1, aFg, aBg, 0);
        }
    }

    // The caret's byte in the other pane gets a frame.
    uint64_t caretRow = cs_.caret / kBytesPerRow;
    if (caretRow >= topRow_ && caretRow < topRow_ + rows) {
        int i = static_cast<int>(cs_.caret % kBytesPerRow);
        int col = cs_.pane == BGPANE_HEX ? kAsciiStart + i : HexColumn(i);
        int width = cs_.pane == BGPANE_HEX ? 1 : 2;
        RECT f = {X(col) - 1, RowY(caretRow), X(col + width) + 1, RowY(caretRow) + ch_};
        HBRUSH frame = CreateSolidBrush(gray);
        FrameRect(dc, &f, frame);
        DeleteObject(frame);
    }

    SelectObject(dc, oldPen);
    DeleteObject(pen);
    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
}

// ------------------------------------------------------------------------
// Messages

LRESULT Grid::Handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        SetFont(nullptr);
        Changed(false);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        topRow_ = std::min(topRow_, MaxTopRow());
        SetLeftColumn(leftCol_);
        UpdateScrollBars();
        PlaceCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wp));
        if (focused_)
            MakeCaret();
        Changed(false);
        if (LOWORD(lp))
            UpdateWindow(hwnd_);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
        focused_ = true;
        MakeCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        DestroyCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE: InvalidateRect(hwnd_, nullptr, FALSE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_CHAR: OnChar(static_cast<unsigned>(wp) & 0xFF); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnMouseDown(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)), (wp & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED: dragging_ = false; return 0;
    case WM_MOUSEWHEEL: OnWheel(static_cast<short>(HIWORD(wp))); return 0;
    case WM_VSCROLL: OnScroll(true, LOWORD(wp)); return 0;
    case WM_HSCROLL: OnScroll(false, LOWORD(wp)); return 0;

    // Clipboard
    case WM_COPY: return Copy() ? 1 : 0;
    case WM_CUT: {
        bool ok = Cut();
        Changed(true);
        return ok ? 1 : 0;
    }
    case WM_PASTE: {
        bool ok = Paste();
        Changed(true);
        return ok ? 1 : 0;
    }
    case BGM_CLIPBOARDFAILED:
        MessageBeep(MB_ICONEXCLAMATION);
        return static_cast<LRESULT>(lastError_);
    case BGM_CANCOPY: return HasSelection() ? 1 : 0;
    case BGM_CANPASTE: return CanPaste() ? 1 : 0;

    // Caret and view
    case BGM_GETPOSITION: return static_cast<LRESULT>(cs_.caret);
    case BGM_SETPOSITION:
        MoveCaret(static_cast<uint64_t>(wp), false);
        Changed(true);
        return 0;
    case BGM_SETSELECTION: {
        uint64_t start = std::min<uint64_t>(static_cast<uint64_t>(wp), Length());
        uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(static_cast<ULONG_PTR>(lp)), Length() - start);
        MoveCaret(start, false);
        cs_.caret = start + n;
        Changed(true);
        return 0;
    }
    case BGM_GETSELSTART: return static_cast<LRESULT>(SelStart());
    case BGM_GETSELLENGTH: return static_cast<LRESULT>(SelEnd() - SelStart());
    case BGM_SCROLLTO:
        CentreOn(std::min<uint64_t>(static_cast<uint64_t>(wp), Length()));
        Changed(false);
        return 0;
    case BGM_GETLENGTH: return static_cast<LRESULT>(Length());
    case BGM_GETFIRSTVISIBLE: return static_cast<LRESULT>(topRow_ * kBytesPerRow);
    case BGM_GETPAGEROWS: return static_cast<LRESULT>(PageRows());
    case BGM_GETPANE: return cs_.pane;
    case BGM_SETPANE:
        cs_.pane = wp == BGPANE_ASCII ? BGPANE_ASCII : BGPANE_HEX;
        cs_.nibble = 0;
        doc_.SealTyping();
        if (focused_)
            MakeCaret();
        Changed(true);
        return 0;
    case BGM_GETBYTES: {
        BGBYTES* req = reinterpret_cast<BGBYTES*>(wp);
        if (!req || !req->buffer)
            return 0;
        return static_cast<LRESULT>(doc_.Read(req->offset, req->count, req->buffer));
    }

    // Files
    case BGM_NEWFILE:
        doc_.New();
        ResetView();
        return 1;
    case BGM_LOADFILE: {
        const char* path = reinterpret_cast<const char*>(wp);
        DWORD error = 0;
        if (!path || !doc_.Load(path, &error)) {
            Fail(path ? error : ERROR_INVALID_PARAMETER);
            return 0;
        }
        ResetView();
        return 1;
    }
    case BGM_SAVEFILE: {
        const char* path = reinterpret_cast<const char*>(wp);
        DWORD error = 0;
        if (!path || !doc_.Save(path, &error)) {
            Fail(path ? error : ERROR_INVALID_PARAMETER);
            return 0;
        }
        Changed(false);
        return 1;
    }
    case BGM_GETLASTERROR: return static_cast<LRESULT>(lastError_);
    case BGM_ISMODIFIED: return doc_.Modified() ? 1 : 0;

    // Options and mode
    case BGM_SETOPTION: {
        DWORD old = options_;
        options_ = static_cast<DWORD>(wp);
        return static_cast<LRESULT>(old);
    }
    case BGM_GETOPTION: return static_cast<LRESULT>(options_);
    case BGM_GETMODEFLAG: return insert_ ? 1 : 0;
    case BGM_SETMODEFLAG:
        insert_ = wp != 0;
        if (focused_)
            MakeCaret();
        Changed(false);
        return 0;

    // Editing
    case BGM_UNDO:
    case BGM_REDO: {
        if (ReadOnly()) {
            Fail(ERROR_WRITE_PROTECT);
            return 0;
        }
        bool ok = msg == BGM_UNDO ? doc_.Undo(&cs_) : doc_.Redo(&cs_);
        if (ok)
            Changed(true);
        return ok ? 1 : 0;
    }
    case BGM_CANUNDO: return !ReadOnly() && doc_.CanUndo() ? 1 : 0;
    case BGM_CANREDO: return !ReadOnly() && doc_.CanRedo() ? 1 : 0;

    // Search
    case BGM_SETFINDDATA: return SetFindData(reinterpret_cast<const BGFINDDATA*>(wp));
    case BGM_FINDNEXT: return FindNext(reinterpret_cast<const BGFINDNEXT*>(wp));
    default: break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK GridProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Grid* grid = reinterpret_cast<Grid*>(GetWindowLongPtrA(hwnd, 0));
    if (msg == WM_NCCREATE) {
        grid = new (std::nothrow) Grid(hwnd);
        if (!grid)
            return FALSE;
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(grid));
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, 0, 0);
        delete grid;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (!grid)
        return DefWindowProcA(hwnd, msg, wp, lp);
    return grid->Handle(msg, wp, lp);
}

} // namespace

bool RegisterGridClass(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = GridProc;
    wc.cbWndExtra = sizeof(Grid*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = BYTEGRID_CLASSA;
    return RegisterClassExA(&wc) != 0;
}

void UnregisterGridClass(HINSTANCE instance) { UnregisterClassA(BYTEGRID_CLASSA, instance); }

} // namespace bytegrid
