// bytegrid.dll: loading the library registers the control's window class.
#include "grid_window.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        // Another copy of the library loaded under a different path has
        // registered the class already: its windows work just the same.
        return bytegrid::RegisterGridClass(instance) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    case DLL_PROCESS_DETACH:
        // At process exit the system cleans up; only a FreeLibrary unloads.
        if (!reserved)
            bytegrid::UnregisterGridClass(instance);
        break;
    default: break;
    }
    return TRUE;
}
