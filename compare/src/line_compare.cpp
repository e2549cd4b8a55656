// Line compare: lines unique to both files are linked and each link is grown
// forwards and backwards; the stretches left between links are matched the
// same way until nothing changes. The linked runs then become sections, and
// the sections are merged into one sequence in which a common run that changed
// its place is shown twice, at its old and at its new place. No files here:
// compare_engine.cpp reads the inputs and writes the rows.
#include "compare_engine.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace pairview {

std::uint32_t LineHash(std::string_view line)
{
    // Four interleaved lanes give the same sum with shorter dependency chains.
    const std::uint32_t base = 6293815u;
    const std::uint32_t base4 = base * base * base * base;
    const auto* p = reinterpret_cast<const signed char*>(line.data());
    const std::size_t n = line.size();
    std::uint32_t acc[4] = {0, 0, 0, 0};
    std::uint32_t power[4] = {base, base * base, base * base * base, base4};
    std::uint32_t k[4] = {1, 2, 3, 4};
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        for (int j = 0; j < 4; ++j) {
            acc[j] += k[j] * static_cast<std::uint32_t>(static_cast<std::int32_t>(p[i + j])) * power[j];
            power[j] *= base4;
            k[j] += 4;
        }
    }
    std::uint32_t hash = acc[0] + acc[1] + acc[2] + acc[3];
    for (int j = 0; i < n; ++i, ++j)
        hash += k[j] * static_cast<std::uint32_t>(static_cast<std::int32_t>(p[i])) * power[j];
    return hash;
}

namespace {

// ---------------------------------------------------------------------------
// Line identities: equal ids mean byte-for-byte equal lines.

class LineInterner {
public:
    LineInterner(MemoryBudget& budget, std::size_t expectedLines)
        : slots_(BudgetAllocator<Slot>(budget)), reps_(BudgetAllocator<Rep>(budget)),
          hashes_(BudgetAllocator<std::uint32_t>(budget))
    {
        // Room for every line to be distinct without passing the fill limit
        // (half again as many slots as lines at the least).
        std::size_t size = 16;
        while (size < expectedLines + expectedLines / 2 || FillLimit(size - 1) < expectedLines)
            size *= 2;
        slots_.assign(size, Slot{0, -1});
        mask_ = size - 1;
        reps_.reserve(expectedLines / 2 + 16);
    }

    // Gives every line of a file its id. The hashes are computed in one pass
    // first, so the table probes can be fetched ahead of their use.
    void internAll(const TextLines& text, BudgetVector<std::int32_t>& ids)
    {
        const std::size_t n = text.count();
        hashes_.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            hashes_[i] = LineHash(text.line(i));
        ids.resize(n);
        const std::size_t ahead = 8;
        for (std::size_t i = 0; i < n; ++i) {
            if (i + ahead < n)
                __builtin_prefetch(&slots_[Mix(hashes_[i + ahead]) & mask_]);
            ids[i] = intern(text.line(i), hashes_[i]);
        }
    }

    std::size_t count() const { return reps_.size(); }

private:
    std::int32_t intern(std::string_view line, std::uint32_t hash)
    {
        std::size_t at = Mix(hash) & mask_;
        for (;; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.id < 0)
                break;
            if (slot.hash != hash)
                continue;
            // Equal hashes are not enough: the bytes must be the same too.
            const Rep& r = reps_[slot.id];
            if (r.size == line.size() && std::memcmp(r.data, line.data(), line.size()) == 0)
                return slot.id;
        }
        if (reps_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
            reps_.size() + 1 > FillLimit(mask_))
            throw std::bad_alloc(); // cannot happen with the table sized for every line
        std::int32_t id = static_cast<std::int32_t>(reps_.size());
        reps_.push_back({line.data(), line.size()});
        slots_[at] = Slot{hash, id};
        return id;
    }

    struct Slot {
        std::uint32_t hash;
        std::int32_t id;
    };
    struct Rep {
        const char* data;
        std::size_t size;
    };
    // The most distinct lines a table of mask + 1 slots takes (three quarters
    // full), so that probes stay short.
    static std::size_t FillLimit(std::size_t mask) { return mask / 2 + mask / 4; }
    static std::size_t Mix(std::uint32_t h)
    {
        h ^= h >> 16;
        h *= 0x7FEB352Du;
        h ^= h >> 15;
        h *= 0x846CA68Bu;
        h ^= h >> 16;
        return h;
    }

    BudgetVector<Slot> slots_;
    BudgetVector<Rep> reps_;
    BudgetVector<std::uint32_t> hashes_;
    std::size_t mask_ = 0;
};

// ---------------------------------------------------------------------------
// Sections and the composite

enum State : int {
    kCommon = 1,
    kLeftOnly = 7,
    kRightOnly = 8,
    kMovedLeft = 9,
    kMovedRight = 10,
};

struct Section {
    std::int32_t first, last; // lines, inclusive
    int state;
    std::int32_t match; // matching common section of the other file, or -1
    std::int32_t corr;  // corresponding unmatched section of the other file, or -1
    bool done;          // already put into the composite
    std::int32_t size() const { return last - first + 1; }
};

struct Side {
    Side(MemoryBudget& budget)
        : id(BudgetAllocator<std::int32_t>(budget)), link(BudgetAllocator<std::int32_t>(budget)),
          sections(BudgetAllocator<Section>(budget)), sectionAt(BudgetAllocator<std::int32_t>(budget))
    {
    }
    BudgetVector<std::int32_t> id;
    BudgetVector<std::int32_t> link; // partner line in the other file, or -1
    BudgetVector<Section> sections;
    BudgetVector<std::int32_t> sectionAt; // section starting at a line, valid for first lines only
    std::int32_t count() const { return static_cast<std::int32_t>(id.size()); }
};

class LineMatcher {
public:
    LineMatcher(MemoryBudget& budget, const TextLines& left, const TextLines& right)
        : left_(budget), right_(budget), countL_(BudgetAllocator<std::uint8_t>(budget)),
          countR_(BudgetAllocator<std::uint8_t>(budget)), posR_(BudgetAllocator<std::int32_t>(budget)),
          out_(BudgetAllocator<OutSection>(budget)), forward_(BudgetAllocator<long long>(budget)),
          backward_(BudgetAllocator<long long>(budget))
    {
        const std::size_t limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 1);
        if (left.count() > limit || right.count() > limit)
            throw std::bad_alloc();
        LineInterner interner(budget, left.count() + right.count());
        Fill(left_, left, interner);
        Fill(right_, right, interner);
        countL_.assign(interner.count(), 0);
        countR_.assign(interner.count(), 0);
        posR_.assign(interner.count(), -1);
        // Bounds the in-order search: time stays near linear in the input
        // however different two stretches are.
        workLimit_ = 20000000ull + 100ull * (left.count() + right.count());
    }

    void CompareItemLines()
    {
        for (;;) {
            for (;;) {
                bool linked = MatchSections(0, left_.count() - 1, 0, right_.count() - 1);
                BuildSections(left_, kLeftOnly);
                BuildSections(right_, kRightOnly);
                linked = matchSectionPairs() || linked;
                if (!linked)
                    break;
            }
            // Stretches without unique lines (repeated lines, logs, tables)
            // link nothing above; their equal lines are linked in order.
            if (!linkCorrespondingInOrder())
                break;
        }
        BuildCompositeSections();
    }

    BudgetVector<OutSection> takeComposite() { return std::move(out_); }

private:
    static void Fill(Side& side, const TextLines& text, LineInterner& interner)
    {
        std::size_t n = text.count();
        interner.internAll(text, side.id);
        side.link.assign(n, -1);
        side.sectionAt.assign(n, -1);
    }

    bool link(std::int32_t l, std::int32_t r)
    {
        if (left_.link[l] >= 0 || right_.link[r] >= 0 || left_.id[l] != right_.id[r])
            return false;
        left_.link[l] = r;
        right_.link[r] = l;
        return true;
    }

    // Links (l, r) and the pairs after it while they are equal and free, then,
    // when (l, r) is linked, the pairs before it in the same way.
    bool grow(std::int32_t l, std::int32_t r, std::int32_t ls, std::int32_t le, std::int32_t rs, std::int32_t re)
    {
        bool any = false;
        for (std::int32_t i = l, j = r; i <= le && j <= re && link(i, j); ++i, ++j)
            any = true;
        if (left_.link[l] == r) {
            for (std::int32_t i = l - 1, j = r - 1; i >= ls && j >= rs && link(i, j); --i, --j)
                any = true;
        }
        return any;
    }

    bool MatchSections(std::int32_t ls, std::int32_t le, std::int32_t rs, std::int32_t re)
    {
        if (ls > le || rs > re)
            return false;
        bool any = grow(ls, rs, ls, le, rs, re);
        any = grow(le, re, ls, le, rs, re) || any;

        // How often each line occurs among the still free lines of each side.
        for (std::int32_t i = ls; i <= le; ++i)
            if (left_.link[i] < 0 && countL_[left_.id[i]] < 2)
                ++countL_[left_.id[i]];
        for (std::int32_t j = rs; j <= re; ++j) {
            if (right_.link[j] < 0) {
                std::int32_t id = right_.id[j];
                if (countR_[id] < 2)
                    ++countR_[id];
                posR_[id] = j;
            }
        }
        for (std::int32_t i = ls; i <= le; ++i) {
            std::int32_t id = left_.id[i];
            if (left_.link[i] < 0 && countL_[id] == 1 && countR_[id] == 1)
                any = grow(i, posR_[id], ls, le, rs, re) || any;
        }
        for (std::int32_t i = ls; i <= le; ++i)
            countL_[left_.id[i]] = 0;
        for (std::int32_t j = rs; j <= re; ++j) {
            countR_[right_.id[j]] = 0;
            posR_[right_.id[j]] = -1;
        }
        return any;
    }

    // Runs of lines linked to consecutive partners are common sections; runs
    // of free lines are sections found only in this file.
    static void BuildSections(Side& side, int freeState)
    {
        side.sections.clear();
        const std::int32_t n = side.count();
        for (std::int32_t i = 0; i < n; ++i) {
            std::int32_t first = i;
            int state;
            if (side.link[i] >= 0) {
                while (i + 1 < n && side.link[i + 1] >= 0 && side.link[i + 1] == side.link[i] + 1)
                    ++i;
                state = kCommon;
            } else {
                while (i + 1 < n && side.link[i + 1] < 0)
                    ++i;
                state = freeState;
            }
            side.sectionAt[first] = static_cast<std::int32_t>(side.sections.size());
            side.sections.push_back({first, i, state, -1, -1, false});
        }
    }

    // Pairs the common sections of both files, then matches each free stretch
    // of the left file with the free stretch of the right file that lies
    // between the same common neighbours.
    bool matchSectionPairs()
    {
        auto& L = left_.sections;
        auto& R = right_.sections;
        const std::int32_t nl = static_cast<std::int32_t>(L.size());
        const std::int32_t nr = static_cast<std::int32_t>(R.size());
        for (std::int32_t k = 0; k < nl; ++k) {
            if (L[k].state != kCommon)
                continue;
            std::int32_t partner = left_.link[L[k].first];
            std::int32_t r = right_.sectionAt[partner];
            if (r >= 0 && r < nr && R[r].first == partner && R[r].state == kCommon) {
                L[k].match = r;
                R[r].match = k;
            }
        }
        bool any = false;
        for (std::int32_t k = 0; k < nl; ++k) {
            if (L[k].state != kLeftOnly)
                continue;
            const bool hasPrev = k > 0, hasNext = k + 1 < nl;
            std::int32_t c = -1;
            if (!hasPrev && !hasNext) {
                c = nr > 0 && R[0].state == kRightOnly ? 0 : -1;
            } else if (hasPrev) {
                std::int32_t cand = L[k - 1].match >= 0 ? L[k - 1].match + 1 : -1;
                if (cand >= 0 && cand < nr && R[cand].state == kRightOnly &&
                    (!hasNext || (L[k + 1].match >= 0 && cand + 1 == L[k + 1].match)))
                    c = cand;
            } else {
                std::int32_t cand = L[k + 1].match >= 0 ? L[k + 1].match - 1 : -1;
                if (cand >= 0 && R[cand].state == kRightOnly)
                    c = cand;
            }
            if (c < 0)
                continue;
            L[k].corr = c;
            R[c].corr = k;
            any = MatchSections(L[k].first, L[k].last, R[c].first, R[c].last) || any;
        }
        return any;
    }

    bool linkCorrespondingInOrder()
    {
        bool any = false;
        for (const Section& l : left_.sections) {
            if (l.state != kLeftOnly || l.corr < 0)
                continue;
            const Section& r = right_.sections[static_cast<std::size_t>(l.corr)];
            any = linkInOrder(l.first, l.last + 1, r.first, r.last + 1) || any;
        }
        return any;
    }

    // Links the equal lines of left [a0, a1) and right [b0, b1) along a
    // shortest edit script: Myers' divide and conquer on the middle snake,
    // in linear space. A stretch whose search would exceed the compare's work
    // allowance keeps its lines unlinked.
    bool linkInOrder(std::int32_t a0, std::int32_t a1, std::int32_t b0, std::int32_t b1)
    {
        bool any = false;
        while (a0 < a1 && b0 < b1 && left_.id[a0] == right_.id[b0])
            any = link(a0++, b0++) || any;
        while (a0 < a1 && b0 < b1 && left_.id[a1 - 1] == right_.id[b1 - 1])
            any = link(--a1, --b1) || any;
        if (a0 == a1 || b0 == b1)
            return any;
        Snake s;
        if (!middleSnake(a0, a1, b0, b1, s))
            return any;
        any = linkInOrder(a0, s.x0, b0, s.y0) || any;
        for (std::int32_t x = s.x0, y = s.y0; x < s.x1; ++x, ++y)
            any = link(x, y) || any;
        return linkInOrder(s.x1, a1, s.y1, b1) || any;
    }

    struct Snake {
        std::int32_t x0, y0, x1, y1;
    };

    bool spend()
    {
        return ++work_ <= workLimit_;
    }

    bool middleSnake(std::int32_t a0, std::int32_t a1, std::int32_t b0, std::int32_t b1, Snake& out)
    {
        const long long n = a1 - a0, m = b1 - b0;
        const long long maxD = (n + m + 1) / 2;
        const long long delta = n - m;
        const bool odd = (delta & 1) != 0;
        const std::size_t need = static_cast<std::size_t>(2 * maxD + 3);
        if (forward_.size() < need) {
            forward_.resize(need);
            backward_.resize(need);
        }
        auto vf = [&](long long k) -> long long& { return forward_[static_cast<std::size_t>(k + maxD + 1)]; };
        auto vb = [&](long long k) -> long long& { return backward_[static_cast<std::size_t>(k + maxD + 1)]; };
        const std::int32_t *li = left_.id.data(), *ri = right_.id.data();
        vf(1) = 0;
        vb(1) = 0;
        for (long long d = 0; d <= maxD; ++d) {
            for (long long k = -d; k <= d; k += 2) {
                if (!spend())
                    return false;
                long long x = (k == -d || (k != d && vf(k - 1) < vf(k + 1))) ? vf(k + 1) : vf(k - 1) + 1;
                long long y = x - k;
                const long long xs = x, ys = y;
                while (x < n && y < m && li[a0 + x] == ri[b0 + y]) {
                    ++x;
                    ++y;
                }
                work_ += static_cast<unsigned long long>(x - xs);
                vf(k) = x;
                const long long c = delta - k;
                if (odd && c >= -(d - 1) && c <= d - 1 && vf(k) + vb(c) >= n) {
                    out = {static_cast<std::int32_t>(a0 + xs), static_cast<std::int32_t>(b0 + ys),
                           static_cast<std::int32_t>(a0 + x), static_cast<std::int32_t>(b0 + y)};
                    return true;
                }
            }
            for (long long c = -d; c <= d; c += 2) {
                if (!spend())
                    return false;
                long long x = (c == -d || (c != d && vb(c - 1) < vb(c + 1))) ? vb(c + 1) : vb(c - 1) + 1;
                long long y = x - c;
                const long long xs = x, ys = y;
                while (x < n && y < m && li[a1 - 1 - x] == ri[b1 - 1 - y]) {
                    ++x;
                    ++y;
                }
                work_ += static_cast<unsigned long long>(x - xs);
                vb(c) = x;
                const long long k = delta - c;
                if (!odd && k >= -d && k <= d && vb(c) + vf(k) >= n) {
                    out = {static_cast<std::int32_t>(a0 + n - x), static_cast<std::int32_t>(b0 + m - y),
                           static_cast<std::int32_t>(a0 + n - xs), static_cast<std::int32_t>(b0 + m - ys)};
                    return true;
                }
            }
        }
        return false;
    }

    void put(Section& s, int state, bool fromLeft)
    {
        s.done = true;
        out_.push_back({state, fromLeft, s.first, s.last});
    }

    void BuildCompositeSections()
    {
        auto& L = left_.sections;
        auto& R = right_.sections;
        std::size_t i = 0, j = 0;
        out_.clear();
        out_.reserve(L.size() + R.size());
        for (;;) {
            if (i == L.size()) {
                for (; j < R.size(); ++j)
                    put(R[j], R[j].match >= 0 ? kMovedRight : kRightOnly, false);
                break;
            }
            if (j == R.size()) {
                for (; i < L.size(); ++i)
                    put(L[i], L[i].match >= 0 ? kMovedLeft : kLeftOnly, true);
                break;
            }
            Section& l = L[i];
            Section& r = R[j];
            if (l.state == kLeftOnly) {
                put(l, kLeftOnly, true);
                ++i;
            } else if (l.match < 0) {
                ++i; // a common section without partner: nothing to show
            } else if (R[l.match].done) {
                put(l, kMovedLeft, true);
                ++i;
            } else if (r.match < 0) {
                put(r, r.state, false);
                ++j;
            } else if (L[r.match].done) {
                put(r, kMovedRight, false);
                ++j;
            } else if (l.match == static_cast<std::int32_t>(j)) {
                l.done = true;
                put(r, kCommon, false);
                ++i;
                ++j;
            } else if (l.size() >= r.size()) {
                put(r, kMovedRight, false);
                ++j;
            } else {
                put(l, kMovedLeft, true);
                ++i;
            }
        }
    }

    Side left_, right_;
    BudgetVector<std::uint8_t> countL_, countR_;
    BudgetVector<std::int32_t> posR_;
    BudgetVector<OutSection> out_;
    BudgetVector<long long> forward_, backward_; // furthest reaches of the in-order search
    unsigned long long work_ = 0;
    unsigned long long workLimit_ = 0;
};

const char* Marker(int state)
{
    switch (state) {
    case kCommon: return "    ";
    case kLeftOnly: return " <! ";
    case kRightOnly: return " !> ";
    case kMovedLeft: return " <- ";
    case kMovedRight: return " -> ";
    }
    return "    ";
}

} // namespace

BudgetVector<OutSection> CompareLines(MemoryBudget& budget, const TextLines& left, const TextLines& right)
{
    LineMatcher matcher(budget, left, right);
    matcher.CompareItemLines();
    return matcher.takeComposite();
}

void WriteResultRows(const BudgetVector<OutSection>& composite, const TextLines& left, const TextLines& right,
                     ResultSink& sink)
{
    bool openRow = false; // the last line written had no line end
    for (const OutSection& s : composite) {
        const TextLines& text = s.fromLeft ? left : right;
        for (std::int32_t k = s.first; k <= s.last; ++k) {
            if (openRow)
                sink.put("\n", 1);
            sink.put(Marker(s.state), 4);
            std::string_view line = text.line(static_cast<std::size_t>(k));
            sink.put(line.data(), line.size());
            openRow = line.empty() || line.back() != '\n';
        }
    }
}

} // namespace pairview
