// Registration of the "BytegridWin" window class.
#pragma once

#include <windows.h>

namespace bytegrid {

bool RegisterGridClass(HINSTANCE instance);
void UnregisterGridClass(HINSTANCE instance);

} // namespace bytegrid
