// functionliststore.h - what the function list's scan produces, stored
// compactly: the comment ranges of a text (CPackedRanges) and lists of
// routine entries (CFunctionEntries).
//
// A large text has hundreds of thousands of comment ranges and tens of
// thousands of routines; as plain arrays of 64-bit positions they cost tens
// of bytes each, and an array that grows by doubling holds its old and its
// new copy at once. These stores write each item as the difference from the
// one before, in variable-length bytes (a few bytes an item), into pages of
// fixed size: growing never copies what is written.
//
// Items are read in order through a Reader, or by index: every kGroup items
// a group starts, whose place in the pages and whose base values (those of
// the item before it) the group index keeps, so an item is found by decoding
// at most one group from its start. Any value a Sci_Position holds is stored
// as it is; small differences are merely cheaper.
#pragma once

#include <Scintilla.h>

#include <stddef.h>
#include <stdint.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

// One routine found.
struct FunctionEntry {
    Sci_Position nLine = -1; // zero-based line of the header match start
    std::string strName;
    Sci_Position nMatchStart = -1; // header match (the end moves past ")" when the parameter check succeeds)
    Sci_Position nMatchEnd = -1;
    Sci_Position nLineStart = -1; // start of the header's line
    Sci_Position nEndPos = -1;    // end of the header, or of the body once found
    bool bInComment = false;      // the header lies inside a comment range
    bool bParamCheck = false;     // the header pattern was cut at its "\("
};

struct CommentRange {
    Sci_Position nStart;
    Sci_Position nEnd;
};

// Bytes in pages: what is written stays where it is. A record longer than a
// page gets a page of its own size. Pages are regions of their own from
// the system (VirtualAlloc), not heap blocks: one is resident only as far
// as it is written, and the heap's free space, which the scan's pieces of
// text come and go in, is not cut up by pages that stay.
class CPagedBytes {
public:
    struct Place {
        uint32_t nPage;   // index into the pages
        uint32_t nOffset; // byte within that page
    };
    enum {
        kPageSize = 64 * 1024 // the system's allocation granularity
    };

    // Room for nBytes in a row; where they go is *pPlace. Throws
    // std::bad_alloc when the system has no page.
    unsigned char* Append(size_t nBytes, Place* pPlace);
    // The first byte of the record at a place. Records follow one another
    // in a page; one that did not fit in what was left of a page starts
    // the next page, so a place past the written bytes of its page moves
    // to the start of the next page first.
    const unsigned char* Record(Place& place) const;
    size_t PageCount() const { return m_pages.size(); }
    // Bytes held by the pages (written or not).
    size_t Capacity() const { return m_nCapacity; }
    void Clear();

private:
    struct PageRelease {
        void operator()(unsigned char* p) const;
    };
    struct Page {
        std::unique_ptr<unsigned char, PageRelease> pBytes;
        size_t nSize; // bytes allocated
        size_t nUsed; // bytes written, from the start
    };
    std::vector<Page> m_pages;
    size_t m_nCapacity = 0;
};

// The groups of a packed list: every kGroup items, where the group starts
// and the base values its first item is coded against.
template <int kBases>
struct PackedGroup {
    CPagedBytes::Place place;
    Sci_Position bases[kBases];

    // Where a reader that is to read item nFrom of nCount items starts: the
    // place and bases of its group; returns the index of the group's first
    // item, from which the reader decodes up to nFrom (nCount when nFrom is
    // past the last item).
    static size_t Seek(const std::vector<PackedGroup>& groups, size_t nGroupSize, size_t nCount, size_t nFrom,
                       CPagedBytes::Place& place, Sci_Position (&prev)[kBases])
    {
        if (nFrom >= nCount)
            return nCount;
        const PackedGroup& group = groups[nFrom / nGroupSize];
        place = group.place;
        for (int i = 0; i < kBases; i++)
            prev[i] = group.bases[i];
        return nFrom / nGroupSize * nGroupSize;
    }
};

// Ascending comment ranges (each start after the start before it), each
// coded as start minus the start before and end minus start.
class CPackedRanges {
public:
    enum {
        kGroup = 64
    };

    void Add(const CommentRange& range);
    size_t size() const { return m_nCount; }
    bool empty() const { return m_nCount == 0; }
    // Empties the list and lets its memory go.
    void Clear();
    // True when the last range that starts at or before nStart ends at or
    // after nEnd (ranges that do not overlap: then no range holds
    // [nStart, nEnd] but that one). Binary search over the groups.
    bool Contains(Sci_Position nStart, Sci_Position nEnd) const;
    // Bytes held, index included.
    size_t MemoryUsed() const;

    class Reader {
    public:
        explicit Reader(const CPackedRanges& ranges, size_t nFrom = 0);
        // The next range; false after the last.
        bool Next(CommentRange& range);

    private:
        const CPackedRanges& m_ranges;
        size_t m_nIndex;
        CPagedBytes::Place m_place; // of the next range
        Sci_Position m_prev[1];     // the start of the range before
    };
    std::vector<CommentRange> ToVector() const;

private:
    typedef PackedGroup<1> Group; // base: the start of the range before
    CPagedBytes m_bytes;
    std::vector<Group> m_groups;
    size_t m_nCount = 0;
    Sci_Position m_nPrevStart = 0;
};

// A list of routine entries in the order added, or sorted by line. Each
// entry is coded against the one before: line, line start, match start
// from the line start, match end from the match start, end from the match
// end, the two flags and the name.
//
// Runs: a scan adds the entries of one pattern set after another, each set
// in line order; SortByLine merges the runs (equal lines keep the order in
// which they were added, as a stable sort of the whole list does).
class CFunctionEntries {
public:
    enum {
        kGroup = 32
    };

    CFunctionEntries() = default;
    CFunctionEntries(CFunctionEntries&& other) noexcept;
    CFunctionEntries& operator=(CFunctionEntries&& other) noexcept;
    CFunctionEntries(const CFunctionEntries&) = delete;
    CFunctionEntries& operator=(const CFunctionEntries&) = delete;

    // The entries added from here on are a run of their own.
    void BeginRun();
    void Add(const FunctionEntry& entry);
    size_t size() const { return m_nCount; }
    bool empty() const { return m_nCount == 0; }
    // Empties the list and lets its memory go.
    void Clear();
    // The entry at nIndex (decoded from its group's start).
    FunctionEntry operator[](size_t nIndex) const;
    // Sorts the entries by line; entries of equal lines keep their order.
    void SortByLine();
    // The index of the first entry whose line start is not after nPos and
    // whose end is not before it, or -1. A list whose ends rise and whose
    // line starts do not fall (a top-level list) is searched by halves;
    // any other is walked.
    ptrdiff_t FindContaining(Sci_Position nPos) const;
    // Bytes held, index included.
    size_t MemoryUsed() const;

    class Reader {
    public:
        explicit Reader(const CFunctionEntries& entries, size_t nFrom = 0);
        // The next entry; false after the last.
        bool Next(FunctionEntry& entry);
        // Only the name of the next entry; nullptr after the last. The
        // pointer holds until the next call.
        const char* NextName();
        // The index of the entry the next call reads.
        size_t Index() const { return m_nIndex; }
        // The next entry in part: its line and line start always, the
        // other numbers and the name when asked.
        bool Read(FunctionEntry& entry, bool bNumbers, bool bName);

    private:
        const CFunctionEntries& m_entries;
        size_t m_nIndex;
        CPagedBytes::Place m_place; // of the next entry
        Sci_Position m_prev[2];     // the line and line start of the entry before
        FunctionEntry m_entry; // the last entry read by NextName
    };

    // Reading in order (an input iterator: its copies read on together).
    class const_iterator {
    public:
        typedef std::input_iterator_tag iterator_category;
        typedef FunctionEntry value_type;
        typedef ptrdiff_t difference_type;
        typedef const FunctionEntry* pointer;
        typedef const FunctionEntry& reference;

        const_iterator(const CFunctionEntries* pEntries, bool bEnd);
        const FunctionEntry& operator*() const { return m_entry; }
        const FunctionEntry* operator->() const { return &m_entry; }
        const_iterator& operator++();
        bool operator!=(const const_iterator& other) const { return m_bEnd != other.m_bEnd; }
        bool operator==(const const_iterator& other) const { return m_bEnd == other.m_bEnd; }

    private:
        std::shared_ptr<Reader> m_pReader;
        FunctionEntry m_entry;
        bool m_bEnd;
    };
    const_iterator begin() const { return const_iterator(this, false); }
    const_iterator end() const { return const_iterator(this, true); }
    std::vector<FunctionEntry> ToVector() const { return std::vector<FunctionEntry>(begin(), end()); }

private:
    typedef PackedGroup<2> Group; // bases: the line and line start of the entry before
    void Swap(CFunctionEntries& other) noexcept;

    CPagedBytes m_bytes;
    std::vector<Group> m_groups;
    size_t m_nCount = 0;
    Sci_Position m_nPrevLine = 0;
    Sci_Position m_nPrevLineStart = 0;
    Sci_Position m_nPrevEnd = 0;
    std::vector<size_t> m_runs; // the first index of each run begun
    size_t m_nRunStart = 0;     // the first index of the current run
    bool m_bRunsSorted = true;  // in every run the lines rise or stay
    bool m_bTopLevel = true;    // ends rise strictly, line starts rise or stay
};
