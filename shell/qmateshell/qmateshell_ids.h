// The fixed identifiers of the Explorer extension. They never change between
// versions: Explorer's handler entry and the approval entry name the class id.
#ifndef QMATESHELL_IDS_H
#define QMATESHELL_IDS_H

#include <windows.h>
#include <oaidl.h>

// coclass Load
inline constexpr CLSID CLSID_QmateShellLoad = {0x9B2B3E60, 0x45D2, 0x4038, {0xA0, 0xFE, 0x09, 0xDF, 0x57, 0x04, 0x49, 0xDD}};
// interface ILoad (dual, no methods of its own)
inline constexpr IID IID_QmateShellILoad = {0x75C45481, 0xDA76, 0x41E7, {0x8B, 0xE8, 0x49, 0xD0, 0xFB, 0x5D, 0xAF, 0x57}};
// application id of the library
inline constexpr GUID APPID_QmateShell = {0x8B7F15D1, 0x794E, 0x40DA, {0xB9, 0x83, 0x06, 0xF4, 0xEB, 0x46, 0x6D, 0x12}};
// type library QmateShellLib, version 1.0
inline constexpr GUID LIBID_QmateShellLib = {0x40767174, 0x442D, 0x46A1, {0x85, 0x48, 0x2A, 0x08, 0x26, 0x68, 0x9B, 0x1C}};

// The same identifiers in registry form.
#define QMATESHELL_CLSID_STR "{9B2B3E60-45D2-4038-A0FE-09DF570449DD}"
#define QMATESHELL_IID_ILOAD_STR "{75C45481-DA76-41E7-8BE8-49D0FB5DAF57}"
#define QMATESHELL_APPID_STR "{8B7F15D1-794E-40DA-B983-06F4EB466D12}"
#define QMATESHELL_LIBID_STR "{40767174-442D-46A1-8548-2A0826689B1C}"

// The dual interface of the object; everything it offers comes from IDispatch.
struct ILoad : public IDispatch {
};

#endif
