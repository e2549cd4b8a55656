// Memory accounting for one compare. Every large container of a compare takes
// its memory through a BudgetAllocator, so running out of memory (or over the
// limit of the compare) ends the compare with an error, never the process.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace pairview {

class MemoryBudget {
public:
    explicit MemoryBudget(std::size_t limit) : limit_(limit) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    void charge(std::size_t bytes)
    {
        if (bytes > limit_ - used_)
            throw std::bad_alloc();
        used_ += bytes;
    }
    void release(std::size_t bytes) { used_ -= bytes < used_ ? bytes : used_; }
    std::size_t used() const { return used_; }
    std::size_t limit() const { return limit_; }

private:
    std::size_t limit_;
    std::size_t used_ = 0;
};

template <class T>
class BudgetAllocator {
public:
    using value_type = T;

    explicit BudgetAllocator(MemoryBudget& budget) noexcept : budget_(&budget) {}
    template <class U>
    BudgetAllocator(const BudgetAllocator<U>& other) noexcept : budget_(other.budget()) {}

    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        budget_->charge(n * sizeof(T));
        try {
            return static_cast<T*>(::operator new(n * sizeof(T)));
        } catch (...) {
            budget_->release(n * sizeof(T));
            throw;
        }
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
        budget_->release(n * sizeof(T));
        ::operator delete(p);
    }
    MemoryBudget* budget() const noexcept { return budget_; }

    // Growing a container leaves plain values uninitialised: buffers that are
    // filled right away need no zeroing first.
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible<U>::value)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const BudgetAllocator<U>& o) const noexcept { return budget_ == o.budget(); }
    template <class U>
    bool operator!=(const BudgetAllocator<U>& o) const noexcept { return budget_ != o.budget(); }

private:
    MemoryBudget* budget_;
};

template <class T>
using BudgetVector = std::vector<T, BudgetAllocator<T>>;

} // namespace pairview
