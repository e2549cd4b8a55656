#include "SearchFile.h"

#include <fx/codepage.h>

#include "EncodingDetector.h"
#include "FindInFiles.h"
#include "LineSearchers.h"
#include "Scan.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

namespace filescan {

namespace {

const size_t npos = static_cast<size_t>(-1);

int ClampInt(long long v)
{
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

// Reads up to room bytes; returns the count, or -1 on a read error.  eof is
// set when the file had fewer bytes than asked for.
long long ReadBlock(HANDLE file, uint8_t* dst, size_t room, bool& eof)
{
    size_t total = 0;
    while (total < room) {
        const DWORD ask = static_cast<DWORD>(room - total > 0x40000000u ? 0x40000000u : room - total);
        DWORD got = 0;
        if (!ReadFile(file, dst + total, ask, &got, nullptr))
            return -1;
        total += got;
        if (got == 0) {
            eof = true;
            break;
        }
        // A short read usually means the end of the file; the next read
        // then returns nothing and says so.
    }
    return static_cast<long long>(total);
}

// State of the line walk of one file.
struct LineState {
    long long lineNumber = 1;
    long long lineOffset = 0; // characters of the current line handed out already
    bool midLine = false;     // the next unit continues a line cut into pieces
};

// Where a piece of at most max units starting at p may end without cutting a
// character in two (p[max] must be readable).  Returns a count from 1 to max.
size_t CutUtf8(const uint8_t* p, size_t max)
{
    size_t cut = max;
    for (int k = 0; k < 3 && cut > 1 && (p[cut] & 0xC0) == 0x80; ++k)
        --cut;
    return cut;
}

size_t CutDbcs(const uint8_t* p, size_t max, unsigned codePage)
{
    size_t i = 0;
    while (i < max) {
        const size_t step = IsDBCSLeadByteEx(codePage, p[i]) ? 2 : 1;
        if (i + step > max)
            break;
        i += step;
    }
    return i ? i : max;
}

size_t CutUtf7(const uint8_t* p, size_t max)
{
    // Never end a piece inside a "+...-" run of base64 characters.
    size_t runStart = npos;
    for (size_t i = 0; i < max; ++i) {
        const uint8_t c = p[i];
        if (runStart == npos) {
            if (c == '+')
                runStart = i;
        } else if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
                     c == '/')) {
            runStart = npos;
        }
    }
    if (runStart != npos && runStart > 0 && p[max - 1] != '-')
        return runStart;
    return max;
}

size_t CutUtf16(const uint16_t* p, size_t max)
{
    return (max > 1 && p[max - 1] >= 0xD800 && p[max - 1] <= 0xDBFF) ? max - 1 : max;
}

// Walks the lines of a buffer of units.  With a finder, lines before the
// next place the finder reports are skipped (only counted, and only when a
// later line needs the count); every other line goes to piece() whole, or in
// pieces of at most MaxPiece units.
template <class T, class Find, class Fill, class Cut, class Piece>
bool WalkLines(T* buf, size_t begin, size_t end, size_t cap, bool eof, bool useFinder, LineState& st, Find find,
               Fill fill, Cut cut, Piece piece)
{
    const T nl = static_cast<T>('\n');
    const size_t maxPiece = CSearchFile::MaxPiece;
    // st.lineNumber is the number of the line that starts at 'pending';
    // lines between pending and the current position were skipped uncounted.
    size_t pending = begin;
    auto flush = [&](size_t upto) {
        if (upto > pending) {
            size_t last = 0;
            st.lineNumber += static_cast<long long>(CountUnit(buf + pending, upto - pending, nl, &last));
        }
        pending = upto;
    };
    auto line = [&](size_t s, size_t e) {
        const bool complete = e > s && buf[e - 1] == nl;
        while (e - s > maxPiece) {
            const size_t c = cut(buf + s, maxPiece);
            piece(buf + s, c, false);
            s += c;
        }
        piece(buf + s, e - s, complete);
    };
    auto lineEnd = [&](size_t from, size_t limit) {
        const size_t i = FindUnit(buf + from, limit - from, nl);
        return i < limit - from ? from + i + 1 : limit;
    };
    auto region = [&](size_t s, size_t e) {
        size_t pos = s;
        if (st.midLine && pos < e) {
            flush(pos);
            const size_t le = lineEnd(pos, e);
            line(pos, le);
            pos = le;
            pending = le;
        }
        if (!useFinder) {
            while (pos < e) {
                const size_t le = lineEnd(pos, e);
                line(pos, le);
                pos = le;
            }
            pending = pos;
            return;
        }
        while (pos < e) {
            const size_t c = pos + find(buf + pos, e - pos);
            if (c >= e)
                return; // nothing here: the lines stay uncounted for now
            size_t last = 0;
            const size_t n = CountUnit(buf + pending, c - pending, nl, &last);
            st.lineNumber += static_cast<long long>(n);
            const size_t start = n ? pending + last + 1 : pending;
            const size_t le = lineEnd(c, e);
            line(start, le);
            pos = le;
            pending = le;
        }
    };

    for (;;) {
        const size_t avail = end - begin;
        if (avail) {
            const size_t last = FindLastUnit(buf + begin, avail, nl);
            if (last < avail) {
                region(begin, begin + last + 1);
                begin += last + 1;
                continue;
            }
        }
        // No line end in [begin, end).
        if (eof) {
            if (avail)
                region(begin, end);
            return true;
        }
        if (avail > maxPiece) {
            // A line longer than a piece: hand out a piece (the cut may look
            // at the unit behind it, which is there).
            flush(begin);
            const size_t c = cut(buf + begin, maxPiece);
            piece(buf + begin, c, false);
            begin += c;
            pending = begin;
            continue;
        }
        // Keep the unfinished line (shorter than a piece) and read more
        // behind it; skipped lines are counted before their units go.
        flush(begin);
        if (begin) {
            std::memmove(buf, buf + begin, avail * sizeof(T));
            end = avail;
            begin = 0;
            pending = 0;
        }
        const long long got = fill(buf + end, cap - end, eof);
        if (got < 0)
            return false;
        end += static_cast<size_t>(got);
    }
}

// A filter on the leading positions of a match.  Only positions before which
// every set is ASCII are used: a character of 0x80 and above may take more
// than one unit (UTF-8, double-byte code pages, surrogate pairs).
template <class T>
bool BuildPositionFilter(const CharSetDesc* sets, int count, PositionFilter<T>& f)
{
    std::vector<UnitSet<T>> units;
    for (int k = 0; k < count; ++k) {
        UnitSet<T> set;
        for (unsigned c = 0; c < 128;) {
            if (!sets[k].ascii[c]) {
                ++c;
                continue;
            }
            unsigned e = c;
            while (e + 1 < 128 && sets[k].ascii[e + 1])
                ++e;
            set.Add(c, e);
            c = e + 1;
        }
        set.high = sets[k].nonAscii;
        units.push_back(set);
        if (sets[k].nonAscii)
            break;
    }
    if (units.empty())
        return false;
    // The two positions whose sets are met least often; sets the vector
    // test cannot take count as met everywhere.
    auto score = [&](size_t k) { return units[k].ranges.size() > 6 ? 1 << 30 : units[k].Score(); };
    size_t best = 0;
    for (size_t k = 1; k < units.size(); ++k)
        if (score(k) < score(best))
            best = k;
    size_t second = best;
    for (size_t k = 0; k < units.size(); ++k)
        if (k != best && (second == best || score(k) < score(second)))
            second = k;
    if (score(best) >= 1 << 30)
        return false;
    if (score(second) >= 1 << 30)
        second = best;
    f.offset1 = best < second ? best : second;
    f.offset2 = best < second ? second : best;
    f.set1 = units[f.offset1];
    f.set2 = units[f.offset2];
    // A filter every unit passes only costs time.
    return !(f.set1.high && f.set1.ranges.size() == 1 && f.set1.ranges[0].first == 0 && f.set1.ranges[0].second == 127);
}

void EncodeUtf8(wchar_t c, std::vector<uint8_t>& out)
{
    const unsigned v = static_cast<uint16_t>(c);
    if (v < 0x80) {
        out.push_back(static_cast<uint8_t>(v));
    } else if (v < 0x800) {
        out.push_back(static_cast<uint8_t>(0xC0 | (v >> 6)));
        out.push_back(static_cast<uint8_t>(0x80 | (v & 0x3F)));
    } else {
        out.push_back(static_cast<uint8_t>(0xE0 | (v >> 12)));
        out.push_back(static_cast<uint8_t>(0x80 | ((v >> 6) & 0x3F)));
        out.push_back(static_cast<uint8_t>(0x80 | (v & 0x3F)));
    }
}

// The literal in the bytes of a file, or false when it cannot be expressed
// there (the file is then searched without skipping).
bool ByteLiteral(const std::vector<LiteralChar>& lit, unsigned codePage, bool ansiSingleByte,
                 UnitLiteral<uint8_t>& out)
{
    out.units.clear();
    out.fold.clear();
    if (lit.empty())
        return false;
    for (const LiteralChar& lc : lit) {
        if (codePage == CP_UTF8) {
            const size_t before = out.units.size();
            EncodeUtf8(lc.ch, out.units);
            for (size_t k = before; k < out.units.size(); ++k)
                out.fold.push_back(lc.foldAscii ? 1 : 0);
        } else if (codePage != CP_UTF8 && ansiSingleByte) {
            char b = 0;
            BOOL usedDefault = FALSE;
            if (WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &lc.ch, 1, &b, 1, nullptr, &usedDefault) != 1 ||
                usedDefault)
                return false;
            wchar_t back = 0;
            if (MultiByteToWideChar(codePage, 0, &b, 1, &back, 1) != 1 || back != lc.ch)
                return false;
            out.units.push_back(static_cast<uint8_t>(b));
            out.fold.push_back(lc.foldAscii ? 1 : 0);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

// What a reader prepares from a searcher's pattern to skip lines quickly.
struct CSearchFile::Filters {
    unsigned key = 0;
    std::vector<LiteralChar> literal;
    UnitLiteral<uint16_t> wideLiteral;
    bool leadOk = false; // a filter on the leading positions exists
    PositionFilter<uint8_t> byteLead;
    PositionFilter<uint16_t> wideLead;
    bool utf8Ok = false, ansiOk = false; // the literal has bytes in that encoding
    UnitLiteral<uint8_t> utf8Literal, ansiLiteral;
};

struct CSearchFile::Context {
    HANDLE file;
    const wchar_t* shownPath;
    const wchar_t* encodingName;
    CLineSearcher* searcher;
    CCallBackClass* callback;
};

CSearchFile::CSearchFile()
    : m_filters(new Filters), m_lastEncoding(-1), m_prefilter(true), m_ansiCodePage(fx::LegacyAnsiCodePage()),
      m_ansiSingleByte(!fx::LegacyAnsiIsDoubleByte())
{
}

CSearchFile::~CSearchFile() {}

void CSearchFile::PrepareFilters(const CLineSearcher& searcher)
{
    Filters& f = *m_filters;
    if (f.key == searcher.FilterKey())
        return;
    f = Filters();
    f.key = searcher.FilterKey();
    f.literal = searcher.RequiredLiteral();
    if (!f.literal.empty()) {
        for (const LiteralChar& lc : f.literal) {
            f.wideLiteral.units.push_back(static_cast<uint16_t>(lc.ch));
            f.wideLiteral.fold.push_back(lc.foldAscii ? 1 : 0);
        }
        f.wideLiteral.ChooseAnchors();
        f.utf8Ok = ByteLiteral(f.literal, CP_UTF8, m_ansiSingleByte, f.utf8Literal);
        f.ansiOk = m_ansiCodePage != CP_UTF8 && ByteLiteral(f.literal, m_ansiCodePage, m_ansiSingleByte, f.ansiLiteral);
        if (f.utf8Ok)
            f.utf8Literal.ChooseAnchors();
        if (f.ansiOk)
            f.ansiLiteral.ChooseAnchors();
    } else {
        CharSetDesc sets[8];
        const int count = searcher.LeadingSets(sets, 8);
        f.leadOk = count > 0 && BuildPositionFilter(sets, count, f.byteLead) &&
                   BuildPositionFilter(sets, count, f.wideLead);
    }
}

int CSearchFile::Search(const wchar_t* osPath, const wchar_t* shownPath, CLineSearcher& searcher,
                        CCallBackClass* callback)
{
    searcher.StartFile();
    HANDLE file = CreateFileW(osPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (callback) {
            callback->OnMessage(L"Error: Could not open file: ");
            callback->OnMessage(shownPath);
            callback->OnMessage(L"\r\n");
        }
        return 0;
    }
    struct Closer {
        HANDLE h;
        ~Closer() { CloseHandle(h); }
    } closer{file};

    const size_t capacity = static_cast<size_t>(BlockBytes) + MaxPiece + 64;
    if (m_bytes.size() < capacity)
        m_bytes.resize(capacity);

    PrepareFilters(searcher);
    Context ctx{file, shownPath, L"", &searcher, callback};
    bool eof = false;
    const long long got = ReadBlock(file, m_bytes.data(), BlockBytes, eof);
    if (got < 0) {
        if (callback) {
            const std::wstring text = std::wstring(L"Error: Could not read file: ") + shownPath + L"\r\n";
            callback->OnMessage(text.c_str());
        }
        return 0;
    }
    if (got == 0) {
        m_lastEncoding = EncodingAnsi;
        return 1;
    }
    int mark = 0;
    const int code = CEncodingDetector::Detect(m_bytes.data(), static_cast<size_t>(got), eof, &mark);
    m_lastEncoding = code;
    ctx.encodingName = CEncodingDetector::Name(code);
    const size_t begin = static_cast<size_t>(mark) < static_cast<size_t>(got) ? static_cast<size_t>(mark)
                                                                              : static_cast<size_t>(got);
    switch (code) {
    case EncodingAnsi:
        return SearchBytes(ctx, begin, static_cast<size_t>(got), eof, m_ansiCodePage);
    case EncodingUtf8:
        return SearchBytes(ctx, begin, static_cast<size_t>(got), eof, CP_UTF8);
    case EncodingUtf7:
        // The mark is the start of a base64 run that may go on into the text:
        // decode from the first byte and drop the U+FEFF it gives.
        return SearchBytes(ctx, 0, static_cast<size_t>(got), eof, CP_UTF7);
    case EncodingUtf16Le:
    case EncodingUtf16Be:
    case EncodingUtf32Le:
    case EncodingUtf32Be:
        return SearchWide(ctx, begin, static_cast<size_t>(got), eof, code);
    default:
        // A mark this library recognises but cannot decode: searching the
        // bytes would only find garbage.
        if (callback) {
            const std::wstring text = std::wstring(L"Error: Unsupported encoding (") +
                                      CEncodingDetector::DisplayName(code) + L"), file not searched: " + shownPath +
                                      L"\r\n";
            callback->OnMessage(text.c_str());
        }
        return 1;
    }
}

int CSearchFile::SearchBytes(Context& ctx, size_t begin, size_t end, bool eof, unsigned codePage)
{
    // Skip lines by the literal's bytes, or else by the bytes a match can
    // begin with (not in UTF-7, where ASCII bytes also spell other characters).
    const Filters& f = *m_filters;
    const UnitLiteral<uint8_t>* literal = nullptr;
    const PositionFilter<uint8_t>* lead = nullptr;
    if (m_prefilter && codePage == CP_UTF8 && f.utf8Ok)
        literal = &f.utf8Literal;
    else if (m_prefilter && codePage == m_ansiCodePage && f.ansiOk)
        literal = &f.ansiLiteral;
    else if (m_prefilter && f.leadOk && codePage != CP_UTF7)
        lead = &f.byteLead;
    auto find = [&](const uint8_t* p, size_t n) -> size_t {
        return literal ? FindLiteral(p, n, *literal) : FindPositions(p, n, *lead);
    };
    const bool asciiWidens = codePage == m_ansiCodePage || codePage == CP_UTF8;
    bool dropMark = codePage == CP_UTF7;
    LineState st;

    auto fill = [&](uint8_t* dst, size_t room, bool& atEof) -> long long {
        if (ctx.searcher->FileAbandoned()) {
            atEof = true; // the rest of the file is not wanted
            return 0;
        }
        return ReadBlock(ctx.file, dst, room, atEof);
    };
    auto cut = [&](const uint8_t* p, size_t max) -> size_t {
        if (codePage == CP_UTF8)
            return CutUtf8(p, max);
        if (codePage == CP_UTF7)
            return CutUtf7(p, max);
        if (!m_ansiSingleByte)
            return CutDbcs(p, max, codePage);
        return max;
    };
    auto piece = [&](const uint8_t* p, size_t n, bool complete) {
        if (ctx.searcher->FileAbandoned())
            return;
        if (m_wide.size() < n + 1)
            m_wide.resize(n + 1 + n / 4);
        wchar_t* out = m_wide.data();
        int len = 0;
        if (n == 0) {
            len = 0;
        } else if (asciiWidens && IsAscii(p, n)) {
            WidenAscii(p, n, out);
            len = static_cast<int>(n);
        } else {
            len = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(p), static_cast<int>(n), out,
                                      static_cast<int>(m_wide.size() - 1));
            if (len <= 0) {
                // Undecodable bytes: show them one character per byte.
                for (size_t k = 0; k < n; ++k)
                    out[k] = static_cast<wchar_t>(p[k]);
                len = static_cast<int>(n);
            }
        }
        if (dropMark) {
            dropMark = false;
            if (len > 0 && out[0] == 0xFEFF) {
                std::memmove(out, out + 1, static_cast<size_t>(len - 1) * sizeof(wchar_t));
                --len;
            }
        }
        out[len] = 0;
        int content = len;
        if (complete && content > 0 && out[content - 1] == '\n') {
            --content;
            if (content > 0 && out[content - 1] == '\r')
                --content;
        }
        const LineView view{out, len, content, ClampInt(st.lineNumber), ClampInt(st.lineOffset)};
        ctx.searcher->SearchLine(ctx.shownPath, ctx.encodingName, view);
        if (complete) {
            ++st.lineNumber;
            st.lineOffset = 0;
            st.midLine = false;
        } else {
            st.lineOffset += len;
            st.midLine = true;
        }
    };

    const size_t cap = m_bytes.size();
    if (!WalkLines<uint8_t>(m_bytes.data(), begin, end, cap, eof, literal || lead, st, find, fill, cut, piece)) {
        if (ctx.callback) {
            const std::wstring text = std::wstring(L"Error: Could not read file: ") + ctx.shownPath + L"\r\n";
            ctx.callback->OnMessage(text.c_str());
        }
        return 0;
    }
    return 1;
}

int CSearchFile::SearchWide(Context& ctx, size_t begin, size_t end, bool eof, int code)
{
    // Raw bytes go through m_bytes and come out as 16-bit units.
    const size_t unitCap = static_cast<size_t>(BlockBytes) / 2 + MaxPiece + 64;
    if (m_units.size() < unitCap)
        m_units.resize(unitCap);
    uint8_t carry[4];
    size_t carryLen = 0;

    auto decode = [&](const uint8_t* raw, size_t n, uint16_t* out) -> size_t {
        size_t written = 0;
        size_t i = 0;
        const size_t unitBytes = (code == EncodingUtf32Le || code == EncodingUtf32Be) ? 4 : 2;
        auto unitAt = [&](const uint8_t* b) -> void {
            switch (code) {
            case EncodingUtf16Le:
                out[written++] = static_cast<uint16_t>(b[0] | (b[1] << 8));
                break;
            case EncodingUtf16Be:
                out[written++] = static_cast<uint16_t>((b[0] << 8) | b[1]);
                break;
            default: {
                const uint32_t v = code == EncodingUtf32Le
                                       ? (uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                          uint32_t(b[3]) << 24)
                                       : (uint32_t(b[3]) | uint32_t(b[2]) << 8 | uint32_t(b[1]) << 16 |
                                          uint32_t(b[0]) << 24);
                if (v < 0x10000 && !(v >= 0xD800 && v <= 0xDFFF)) {
                    out[written++] = static_cast<uint16_t>(v);
                } else if (v >= 0x10000 && v <= 0x10FFFF) {
                    out[written++] = static_cast<uint16_t>(0xD800 + ((v - 0x10000) >> 10));
                    out[written++] = static_cast<uint16_t>(0xDC00 + ((v - 0x10000) & 0x3FF));
                } else {
                    out[written++] = 0xFFFD;
                }
                break;
            }
            }
        };
        // Complete a unit split by the previous read.
        while (carryLen && i < n) {
            carry[carryLen++] = raw[i++];
            if (carryLen == unitBytes) {
                unitAt(carry);
                carryLen = 0;
            }
        }
        if (code == EncodingUtf16Le) {
            const size_t pairs = (n - i) / 2;
            std::memcpy(out + written, raw + i, pairs * 2);
            written += pairs;
            i += pairs * 2;
        } else {
            for (; i + unitBytes <= n; i += unitBytes)
                unitAt(raw + i);
        }
        while (i < n)
            carry[carryLen++] = raw[i++];
        return written;
    };

    const size_t firstUnits = decode(m_bytes.data() + begin, end - begin, m_units.data());

    const Filters& f = *m_filters;
    const UnitLiteral<uint16_t>* literal = m_prefilter && !f.wideLiteral.Empty() ? &f.wideLiteral : nullptr;
    const PositionFilter<uint16_t>* lead = m_prefilter && !literal && f.leadOk ? &f.wideLead : nullptr;
    auto find = [&](const uint16_t* p, size_t n) -> size_t {
        return literal ? FindLiteral(p, n, *literal) : FindPositions(p, n, *lead);
    };
    LineState st;
    auto fill = [&](uint16_t* dst, size_t room, bool& atEof) -> long long {
        if (ctx.searcher->FileAbandoned()) {
            atEof = true;
            return 0;
        }
        size_t want = (room - 4) * 2; // bytes that decode to at most room units
        if (want > static_cast<size_t>(BlockBytes))
            want = BlockBytes;
        const long long got = ReadBlock(ctx.file, m_bytes.data(), want, atEof);
        if (got < 0)
            return -1;
        return static_cast<long long>(decode(m_bytes.data(), static_cast<size_t>(got), dst));
    };
    auto cut = [](const uint16_t* p, size_t max) -> size_t { return CutUtf16(p, max); };
    auto piece = [&](const uint16_t* p, size_t n, bool complete) {
        if (ctx.searcher->FileAbandoned())
            return;
        const wchar_t* text = reinterpret_cast<const wchar_t*>(p);
        int content = static_cast<int>(n);
        if (complete && content > 0 && text[content - 1] == '\n') {
            --content;
            if (content > 0 && text[content - 1] == '\r')
                --content;
        }
        const LineView view{text, static_cast<int>(n), content, ClampInt(st.lineNumber), ClampInt(st.lineOffset)};
        ctx.searcher->SearchLine(ctx.shownPath, ctx.encodingName, view);
        if (complete) {
            ++st.lineNumber;
            st.lineOffset = 0;
            st.midLine = false;
        } else {
            st.lineOffset += static_cast<long long>(n);
            st.midLine = true;
        }
    };
    if (!WalkLines<uint16_t>(m_units.data(), 0, firstUnits, m_units.size(), eof, literal || lead, st, find, fill, cut,
                             piece)) {
        if (ctx.callback) {
            const std::wstring text = std::wstring(L"Error: Could not read file: ") + ctx.shownPath + L"\r\n";
            ctx.callback->OnMessage(text.c_str());
        }
        return 0;
    }
    return 1;
}

} // namespace filescan
