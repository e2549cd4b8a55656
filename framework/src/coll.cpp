// Run-time classes of the typed collections and string hashing.
#include "fx/coll.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)

namespace fx {
namespace detail {

// FNV-1a over the characters, finished with a mixer.
UINT HashString(const char* psz)
{
    ULONGLONG h = 14695981039346656037ULL;
    if (psz) {
        for (; *psz; ++psz) {
            h ^= (unsigned char)*psz;
            h *= 1099511628211ULL;
        }
    }
    return MixHash(h);
}

UINT HashString(const wchar_t* psz)
{
    ULONGLONG h = 14695981039346656037ULL;
    if (psz) {
        for (; *psz; ++psz) {
            h ^= (unsigned short)*psz;
            h *= 1099511628211ULL;
        }
    }
    return MixHash(h);
}

} // namespace detail
} // namespace fx
