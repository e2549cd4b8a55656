// The framework's standard numbers first, then the program's: both headers
// define some names, which must agree without a redefinition warning (this
// file is compiled with warnings as errors).
#include <fx/uidefs.h>
#include "resource.h"
#include "resource.h"

static_assert(ID_FILE_NEW == 57600 && AFX_IDS_IDLEMESSAGE == 57345 && AFX_IDW_PANE_FIRST == 59648, "");
