// Module-wide state of QmateShell.dll: its instance handle and the lock count
// that DllCanUnloadNow answers from.
#ifndef QMATESHELL_MODULE_STATE_H
#define QMATESHELL_MODULE_STATE_H

#include <windows.h>

HINSTANCE ModuleInstance();
void ModuleLock();
void ModuleUnlock();
long ModuleLockCount();

#endif
