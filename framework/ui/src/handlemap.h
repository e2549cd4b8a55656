// handlemap.h - the maps from Win32 handles to their C++ wrapper objects.
//
// Permanent objects are those a program made and attached itself (a CWnd
// that created or subclassed its window, a CPaintDC, a CFont that created
// its font); the map of them is shared by all threads and guarded by a
// slim reader/writer lock. Temporary objects are made by FromHandle for
// handles nobody attached; they belong to the calling thread and are deleted
// at that thread's next idle time (or by DeleteTempMap), so a pointer from
// FromHandle must not be kept across messages.
#pragma once

#include "fx/core.h"
#include <windows.h>
#include <unordered_map>

class CException;

namespace fx {
namespace detail {

template <class T, class H>
class HandleMap {
public:
    typedef T* (*NewFn)(H h);      // makes a temporary object wrapping h
    typedef void (*ClearFn)(T* p); // forgets the handle(s) of a temporary before deletion

    explicit HandleMap(ClearFn pfnClear) : m_pfnClear(pfnClear) { ::InitializeSRWLock(&m_lock); }

    void SetPermanent(H h, T* p)
    {
        ::AcquireSRWLockExclusive(&m_lock);
        m_permanent[h] = p;
        ::ReleaseSRWLockExclusive(&m_lock);
    }

    // Removes h when it maps to p (or to anything when p is NULL).
    void RemovePermanent(H h, T* p = NULL)
    {
        ::AcquireSRWLockExclusive(&m_lock);
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && (p == NULL || it->second == p))
            m_permanent.erase(it);
        ::ReleaseSRWLockExclusive(&m_lock);
    }

    T* LookupPermanent(H h)
    {
        if (h == NULL)
            return NULL;
        ::AcquireSRWLockShared(&m_lock);
        auto it = m_permanent.find(h);
        T* p = it == m_permanent.end() ? NULL : it->second;
        ::ReleaseSRWLockShared(&m_lock);
        return p;
    }

    T* LookupTemporary(H h)
    {
        if (h == NULL)
            return NULL;
        auto& temp = Temp().map;
        auto it = temp.find(h);
        return it == temp.end() ? NULL : it->second;
    }

    // The permanent object of h, else the thread's temporary one, made by
    // pfnNew when there is none yet. NULL for a NULL handle.
    T* FromHandle(H h, NewFn pfnNew)
    {
        if (h == NULL)
            return NULL;
        if (T* p = LookupPermanent(h))
            return p;
        auto& temp = Temp().map;
        auto it = temp.find(h);
        if (it != temp.end())
            return it->second;
        T* p = pfnNew(h);
        temp[h] = p;
        return p;
    }

    // Drops h from the calling thread's temporary map without deleting the
    // object (it is being attached permanently or deleted by its owner).
    void RemoveTemporary(H h) { Temp().map.erase(h); }

    // Deletes the calling thread's temporary objects.
    void DeleteTemp()
    {
        TempMap& t = Temp();
        t.Clear(m_pfnClear);
    }

    size_t TemporaryCount() { return Temp().map.size(); }

private:
    struct TempMap {
        std::unordered_map<H, T*> map;
        ClearFn pfnClear = NULL;
        void Clear(ClearFn pfn)
        {
            pfnClear = pfn;
            // A destructor may make new temporaries; take the map first.
            std::unordered_map<H, T*> old;
            old.swap(map);
            for (auto& kv : old) {
                pfn(kv.second);
                delete kv.second;
            }
        }
        ~TempMap()
        {
            if (pfnClear)
                Clear(pfnClear);
        }
    };
    TempMap& Temp()
    {
        static thread_local TempMap t;
        if (t.pfnClear == NULL)
            t.pfnClear = m_pfnClear;
        return t;
    }

    ClearFn m_pfnClear;
    SRWLOCK m_lock;
    std::unordered_map<H, T*> m_permanent;
};

// Deletes the temporary objects of every kind for the calling thread.
void DeleteAllTempMaps();

// The framework's own steps of the message pump (the thread object's
// virtual functions call them).
BOOL AFXAPI InternalPreTranslateMessage(MSG* pMsg);
BOOL AFXAPI InternalPumpMessage();
BOOL AFXAPI InternalIsIdleMessage(MSG* pMsg);
// Ends OLE on the calling thread when AfxOleInit started it; what the
// program left on the clipboard is rendered so it outlives the program.
void OleTerm();

// The answer of a window procedure whose handler threw e.
LRESULT DefaultWndProcException(CException* e, const MSG* pMsg);

// Temporary objects of each kind held by the calling thread.
size_t WndTempCount();
size_t MenuTempCount();
size_t DCTempCount();
size_t GdiTempCount();
size_t ImageListTempCount();

} // namespace detail
} // namespace fx
