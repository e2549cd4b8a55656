// pairview.dll: loading the library registers the "CompareWin" window class.
#include "compare_view.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(module);
        return pairview::RegisterCompareWinClass(module) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        pairview::UnregisterCompareWinClass(module);
        break;
    }
    return TRUE;
}
