// fx/ui.h - the window half of the framework layer: include this one header.
#pragma once

#include "fx/types.h"
#include "fx/uidefs.h"
#include "fx/cmdtarget.h"
#include "fx/gdi.h"
#include "fx/menu.h"
#include "fx/msgmap.h"
#include "fx/wnd.h"
#include "fx/cmdui.h"
#include "fx/imagelist.h"
#include "fx/ctrls.h"
#include "fx/dialog.h"
#include "fx/propsheet.h"
#include "fx/commdlg.h"
#include "fx/oledrop.h"
