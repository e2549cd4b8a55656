// The entry point of a program that has no WinMain of its own: it runs the
// program's one application object (AfxWinMain). Built as the object library
// framework_winmain, which such a program links.
#include "fx/app.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
