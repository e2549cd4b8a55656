// fx/fx.h - the whole framework layer: include this one header.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "fx/core.h"
#include "fx/string.h"
#include "fx/except.h"
#include "fx/time.h"
#include "fx/handle.h"
#include "fx/file.h"
#include "fx/archive.h"
#include "fx/coll.h"
#include "fx/variant.h"
#include "fx/cmdtarget.h"
#include "fx/thread.h"
#include "fx/app.h"

// The window half: windows, message maps, GDI, dialogs, controls.
#include "fx/ui.h"
// Frames, documents, views, splitters and printing.
#include "fx/docview.h"
