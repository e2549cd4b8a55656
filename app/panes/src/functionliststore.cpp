// functionliststore.cpp - the function list's compact stores.
#include "functionliststore.h"

#include <string.h>
#include <windows.h>

#include <algorithm>
#include <new>

namespace {

// Signed differences as unsigned numbers whose size follows the magnitude
// (0, -1, 1, -2 ... become 0, 1, 2, 3 ...), written seven bits a byte, the
// low bits first, the high bit set on every byte but the last.
uint64_t ZigZag(int64_t v)
{
    return ((uint64_t)v << 1) ^ (uint64_t)(v >> 63);
}

int64_t UnZigZag(uint64_t z)
{
    return (int64_t)(z >> 1) ^ -(int64_t)(z & 1);
}

const size_t kMaxVarint = 10; // bytes of the largest 64-bit number

unsigned char* PutVarint(unsigned char* p, uint64_t v)
{
    while (v >= 0x80) {
        *p++ = (unsigned char)(v | 0x80);
        v >>= 7;
    }
    *p++ = (unsigned char)v;
    return p;
}

unsigned char* PutSigned(unsigned char* p, Sci_Position v)
{
    return PutVarint(p, ZigZag((int64_t)v));
}

uint64_t GetVarint(const unsigned char*& p)
{
    uint64_t v = 0;
    for (int nShift = 0;; nShift += 7) {
        unsigned char b = *p++;
        v |= (uint64_t)(b & 0x7F) << nShift;
        if ((b & 0x80) == 0)
            return v;
    }
}

Sci_Position GetSigned(const unsigned char*& p)
{
    return (Sci_Position)UnZigZag(GetVarint(p));
}

// The flags of an entry beside its name's length.
enum {
    kInComment = 1,
    kParamCheck = 2,
    kFlagBits = 2
};

} // namespace

// ===========================================================================
// Pages

unsigned char* CPagedBytes::Append(size_t nBytes, Place* pPlace)
{
    if (m_pages.empty() || m_pages.back().nSize - m_pages.back().nUsed < nBytes) {
        Page page;
        page.nSize = (std::max<size_t>(nBytes, 1) + kPageSize - 1) / kPageSize * kPageSize;
        page.pBytes.reset((unsigned char*)::VirtualAlloc(NULL, page.nSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (page.pBytes == nullptr)
            throw std::bad_alloc();
        page.nUsed = 0;
        m_pages.push_back(std::move(page));
        m_nCapacity += m_pages.back().nSize;
    }
    Page& page = m_pages.back();
    pPlace->nPage = (uint32_t)(m_pages.size() - 1);
    pPlace->nOffset = (uint32_t)page.nUsed;
    page.nUsed += nBytes;
    return page.pBytes.get() + pPlace->nOffset;
}

const unsigned char* CPagedBytes::Record(Place& place) const
{
    if (place.nOffset >= m_pages[place.nPage].nUsed) {
        place.nPage++;
        place.nOffset = 0;
    }
    return m_pages[place.nPage].pBytes.get() + place.nOffset;
}

void CPagedBytes::PageRelease::operator()(unsigned char* p) const
{
    ::VirtualFree(p, 0, MEM_RELEASE);
}

void CPagedBytes::Clear()
{
    std::vector<Page>().swap(m_pages);
    m_nCapacity = 0;
}

// ===========================================================================
// Comment ranges

void CPackedRanges::Add(const CommentRange& range)
{
    unsigned char record[2 * kMaxVarint];
    unsigned char* p = PutSigned(record, range.nStart - m_nPrevStart);
    p = PutSigned(p, range.nEnd - range.nStart);
    CPagedBytes::Place place;
    memcpy(m_bytes.Append((size_t)(p - record), &place), record, (size_t)(p - record));
    if (m_nCount % kGroup == 0)
        m_groups.push_back({place, {m_nPrevStart}});
    m_nPrevStart = range.nStart;
    m_nCount++;
}

void CPackedRanges::Clear()
{
    m_bytes.Clear();
    std::vector<Group>().swap(m_groups);
    m_nCount = 0;
    m_nPrevStart = 0;
}

bool CPackedRanges::Contains(Sci_Position nStart, Sci_Position nEnd) const
{
    // The last group whose first range starts at or before nStart holds the
    // last such range.
    size_t nLow = 0, nHigh = m_groups.size(); // groups before nLow start at or before nStart
    while (nLow < nHigh) {
        size_t nMid = (nLow + nHigh) / 2;
        CommentRange first;
        Reader(*this, nMid * kGroup).Next(first);
        if (first.nStart <= nStart)
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    if (nLow == 0)
        return false;
    Reader reader(*this, (nLow - 1) * kGroup);
    CommentRange range, last = {0, 0};
    for (int i = 0; i < kGroup && reader.Next(range) && range.nStart <= nStart; i++)
        last = range;
    return last.nEnd >= nEnd;
}

size_t CPackedRanges::MemoryUsed() const
{
    return m_bytes.Capacity() + m_groups.capacity() * sizeof(Group);
}

std::vector<CommentRange> CPackedRanges::ToVector() const
{
    std::vector<CommentRange> ranges;
    ranges.reserve(m_nCount);
    Reader reader(*this);
    CommentRange range;
    while (reader.Next(range))
        ranges.push_back(range);
    return ranges;
}

CPackedRanges::Reader::Reader(const CPackedRanges& ranges, size_t nFrom)
    : m_ranges(ranges), m_place({0, 0}), m_prev{0}
{
    nFrom = std::min(nFrom, ranges.m_nCount);
    m_nIndex = Group::Seek(ranges.m_groups, kGroup, ranges.m_nCount, nFrom, m_place, m_prev);
    CommentRange skipped;
    while (m_nIndex < nFrom)
        Next(skipped);
}

bool CPackedRanges::Reader::Next(CommentRange& range)
{
    if (m_nIndex >= m_ranges.m_nCount)
        return false;
    const unsigned char* pStart = m_ranges.m_bytes.Record(m_place);
    const unsigned char* p = pStart;
    range.nStart = m_prev[0] + GetSigned(p);
    range.nEnd = range.nStart + GetSigned(p);
    m_place.nOffset += (uint32_t)(p - pStart);
    m_prev[0] = range.nStart;
    m_nIndex++;
    return true;
}

// ===========================================================================
// Entries

CFunctionEntries::CFunctionEntries(CFunctionEntries&& other) noexcept
{
    Swap(other);
}

CFunctionEntries& CFunctionEntries::operator=(CFunctionEntries&& other) noexcept
{
    if (this != &other) {
        Clear();
        Swap(other);
    }
    return *this;
}

void CFunctionEntries::Swap(CFunctionEntries& other) noexcept
{
    std::swap(m_bytes, other.m_bytes);
    m_groups.swap(other.m_groups);
    std::swap(m_nCount, other.m_nCount);
    std::swap(m_nPrevLine, other.m_nPrevLine);
    std::swap(m_nPrevLineStart, other.m_nPrevLineStart);
    std::swap(m_nPrevEnd, other.m_nPrevEnd);
    m_runs.swap(other.m_runs);
    std::swap(m_nRunStart, other.m_nRunStart);
    std::swap(m_bRunsSorted, other.m_bRunsSorted);
    std::swap(m_bTopLevel, other.m_bTopLevel);
}

void CFunctionEntries::BeginRun()
{
    m_runs.push_back(m_nCount);
    m_nRunStart = m_nCount;
}

void CFunctionEntries::Add(const FunctionEntry& entry)
{
    if (m_nCount > m_nRunStart && entry.nLine < m_nPrevLine)
        m_bRunsSorted = false;
    if (m_nCount > 0 && (entry.nEndPos <= m_nPrevEnd || entry.nLineStart < m_nPrevLineStart))
        m_bTopLevel = false;
    unsigned char numbers[6 * kMaxVarint];
    unsigned char* p = PutSigned(numbers, entry.nLine - m_nPrevLine);
    p = PutSigned(p, entry.nLineStart - m_nPrevLineStart);
    p = PutSigned(p, entry.nMatchStart - entry.nLineStart);
    p = PutSigned(p, entry.nMatchEnd - entry.nMatchStart);
    p = PutSigned(p, entry.nEndPos - entry.nMatchEnd);
    uint64_t nFlags = (entry.bInComment ? kInComment : 0) | (entry.bParamCheck ? kParamCheck : 0);
    p = PutVarint(p, ((uint64_t)entry.strName.size() << kFlagBits) | nFlags);
    const size_t nNumbers = (size_t)(p - numbers);
    CPagedBytes::Place place;
    unsigned char* pOut = m_bytes.Append(nNumbers + entry.strName.size(), &place);
    memcpy(pOut, numbers, nNumbers);
    if (!entry.strName.empty())
        memcpy(pOut + nNumbers, entry.strName.data(), entry.strName.size());
    if (m_nCount % kGroup == 0)
        m_groups.push_back({place, {m_nPrevLine, m_nPrevLineStart}});
    m_nPrevLine = entry.nLine;
    m_nPrevLineStart = entry.nLineStart;
    m_nPrevEnd = entry.nEndPos;
    m_nCount++;
}

void CFunctionEntries::Clear()
{
    m_bytes.Clear();
    std::vector<Group>().swap(m_groups);
    std::vector<size_t>().swap(m_runs);
    m_nCount = 0;
    m_nPrevLine = m_nPrevLineStart = m_nPrevEnd = 0;
    m_nRunStart = 0;
    m_bRunsSorted = true;
    m_bTopLevel = true;
}

FunctionEntry CFunctionEntries::operator[](size_t nIndex) const
{
    FunctionEntry entry;
    Reader(*this, nIndex).Next(entry);
    return entry;
}

void CFunctionEntries::SortByLine()
{
    // The runs, without empty ones.
    std::vector<size_t> starts;
    for (size_t nStart : m_runs)
        if (nStart < m_nCount && (starts.empty() || starts.back() != nStart))
            starts.push_back(nStart);
    if (starts.empty() || starts.front() != 0)
        starts.insert(starts.begin(), 0);
    if (m_bRunsSorted && starts.size() < 2)
        return;
    CFunctionEntries sorted;
    if (m_bRunsSorted) {
        // Merge: the lowest line first; of equal lines, the earlier run's.
        struct Head {
            std::unique_ptr<Reader> pReader;
            size_t nEnd; // the run's end
            FunctionEntry entry;
            bool bLive;
        };
        std::vector<Head> heads(starts.size());
        for (size_t r = 0; r < starts.size(); r++) {
            heads[r].pReader.reset(new Reader(*this, starts[r]));
            heads[r].nEnd = r + 1 < starts.size() ? starts[r + 1] : m_nCount;
            heads[r].bLive = heads[r].pReader->Next(heads[r].entry);
        }
        for (;;) {
            Head* pBest = nullptr;
            for (Head& head : heads)
                if (head.bLive && (pBest == nullptr || head.entry.nLine < pBest->entry.nLine))
                    pBest = &head;
            if (pBest == nullptr)
                break;
            sorted.Add(pBest->entry);
            pBest->bLive = pBest->pReader->Index() < pBest->nEnd && pBest->pReader->Next(pBest->entry);
        }
    } else {
        std::vector<FunctionEntry> all;
        all.reserve(m_nCount);
        for (const FunctionEntry& entry : *this)
            all.push_back(entry);
        std::stable_sort(all.begin(), all.end(),
                         [](const FunctionEntry& a, const FunctionEntry& b) { return a.nLine < b.nLine; });
        for (const FunctionEntry& entry : all)
            sorted.Add(entry);
    }
    *this = std::move(sorted);
}

ptrdiff_t CFunctionEntries::FindContaining(Sci_Position nPos) const
{
    FunctionEntry entry;
    size_t nFrom = 0;
    if (m_bTopLevel) {
        // The first entry that ends at or after nPos is the only one that
        // can hold it: those before end before it, those after start on its
        // line or later. Its group is the last whose first entry ends
        // before nPos, or the one after.
        size_t nLow = 0, nHigh = m_groups.size(); // groups before nLow end before nPos
        while (nLow < nHigh) {
            size_t nMid = (nLow + nHigh) / 2;
            Reader(*this, nMid * kGroup).Read(entry, true, false);
            if (entry.nEndPos < nPos)
                nLow = nMid + 1;
            else
                nHigh = nMid;
        }
        nFrom = nLow > 0 ? (nLow - 1) * kGroup : 0;
    }
    Reader reader(*this, nFrom);
    while (reader.Read(entry, true, false)) {
        if (entry.nLineStart <= nPos && entry.nEndPos >= nPos)
            return (ptrdiff_t)reader.Index() - 1;
        if (m_bTopLevel && entry.nEndPos >= nPos)
            break;
    }
    return -1;
}

size_t CFunctionEntries::MemoryUsed() const
{
    return m_bytes.Capacity() + m_groups.capacity() * sizeof(Group) + m_runs.capacity() * sizeof(size_t);
}

CFunctionEntries::Reader::Reader(const CFunctionEntries& entries, size_t nFrom)
    : m_entries(entries), m_place({0, 0}), m_prev{0, 0}
{
    nFrom = std::min(nFrom, entries.m_nCount);
    m_nIndex = Group::Seek(entries.m_groups, kGroup, entries.m_nCount, nFrom, m_place, m_prev);
    FunctionEntry skipped;
    while (m_nIndex < nFrom)
        Read(skipped, false, false);
}

bool CFunctionEntries::Reader::Next(FunctionEntry& entry)
{
    return Read(entry, true, true);
}

const char* CFunctionEntries::Reader::NextName()
{
    return Read(m_entry, false, true) ? m_entry.strName.c_str() : nullptr;
}

bool CFunctionEntries::Reader::Read(FunctionEntry& entry, bool bNumbers, bool bName)
{
    if (m_nIndex >= m_entries.m_nCount)
        return false;
    const unsigned char* pStart = m_entries.m_bytes.Record(m_place);
    const unsigned char* p = pStart;
    // The line and line start are always decoded: the next entry is coded
    // against them.
    entry.nLine = m_prev[0] + GetSigned(p);
    entry.nLineStart = m_prev[1] + GetSigned(p);
    Sci_Position nMatchStart = entry.nLineStart + GetSigned(p);
    Sci_Position nMatchEnd = nMatchStart + GetSigned(p);
    Sci_Position nEndPos = nMatchEnd + GetSigned(p);
    uint64_t nNameAndFlags = GetVarint(p);
    size_t nName = (size_t)(nNameAndFlags >> kFlagBits);
    if (bNumbers) {
        entry.nMatchStart = nMatchStart;
        entry.nMatchEnd = nMatchEnd;
        entry.nEndPos = nEndPos;
        entry.bInComment = (nNameAndFlags & kInComment) != 0;
        entry.bParamCheck = (nNameAndFlags & kParamCheck) != 0;
    }
    if (bName)
        entry.strName.assign((const char*)p, nName);
    p += nName;
    m_place.nOffset += (uint32_t)(p - pStart);
    m_prev[0] = entry.nLine;
    m_prev[1] = entry.nLineStart;
    m_nIndex++;
    return true;
}

CFunctionEntries::const_iterator::const_iterator(const CFunctionEntries* pEntries, bool bEnd) : m_bEnd(bEnd)
{
    if (!m_bEnd) {
        m_pReader = std::make_shared<Reader>(*pEntries);
        m_bEnd = !m_pReader->Next(m_entry);
    }
}

CFunctionEntries::const_iterator& CFunctionEntries::const_iterator::operator++()
{
    m_bEnd = !m_pReader->Next(m_entry);
    return *this;
}
