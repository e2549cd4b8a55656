// The program's numbers first, then the framework's (see header_order_a.cpp).
#include "resource.h"
#include <fx/uidefs.h>

static_assert(ID_EDIT_UNDO == 57643 && AFX_IDS_MDICHILD == 61215 && ID_INDICATOR_SCRL == 59139, "");
