// fx/handle.h - fx::OwnedHandle, a kernel handle (file, pipe, event, process,
// thread) that its owner closes exactly once: when it goes out of scope, when
// Close is called, or never once Release hands it over. NULL and
// INVALID_HANDLE_VALUE both mean "no handle".
#pragma once

#include "fx/core.h"

#include <memory>

namespace fx {

class OwnedHandle {
public:
    OwnedHandle() : m_h(NULL) {}
    explicit OwnedHandle(HANDLE h) : m_h(h) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : m_h(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != std::addressof(other))
            Reset(other.Release());
        return *this;
    }

    // For the functions that return a new handle through a HANDLE*: the
    // handle held before is closed first.
    HANDLE* operator&()
    {
        Close();
        return &m_h;
    }
    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != NULL && m_h != INVALID_HANDLE_VALUE; }
    // Hands the handle over: the caller closes it from now on.
    HANDLE Release()
    {
        HANDLE h = m_h;
        m_h = NULL;
        return h;
    }
    // Closes the handle held (if any) and takes h.
    void Reset(HANDLE h = NULL)
    {
        if (IsValid())
            ::CloseHandle(m_h);
        m_h = h;
    }
    void Close() { Reset(NULL); }

private:
    HANDLE m_h;
};

// Closes a handle kept in a plain HANDLE member and clears the member.
inline void CloseAndClear(HANDLE& h)
{
    if (h != NULL && h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    h = NULL;
}

} // namespace fx
