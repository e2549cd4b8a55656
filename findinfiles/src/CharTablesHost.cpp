// The C library's character data for the engine's tables, in a UTF-8 locale:
// the host build of the portable cores uses it in place of the system's.
#include "CharTables.h"

#include <locale.h>
#include <wctype.h>

namespace filescan {

void PlatformCharacters(uint16_t first, int count, uint16_t* lower, uint16_t* upper, bool* word, bool* space)
{
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    for (int i = 0; i < count; ++i) {
        const wint_t c = static_cast<wint_t>(first + i);
        if (!utf8 || (c >= 0xD800 && c <= 0xDFFF)) {
            lower[i] = upper[i] = static_cast<uint16_t>(c);
            word[i] = space[i] = false;
            continue;
        }
        const wint_t lo = towlower_l(c, utf8), up = towupper_l(c, utf8);
        // A mapping out of the plane has no 16-bit form: the character stays.
        lower[i] = static_cast<uint16_t>(lo <= 0xFFFF ? lo : c);
        upper[i] = static_cast<uint16_t>(up <= 0xFFFF ? up : c);
        word[i] = iswalnum_l(c, utf8) != 0;
        space[i] = iswspace_l(c, utf8) != 0;
    }
}

} // namespace filescan
