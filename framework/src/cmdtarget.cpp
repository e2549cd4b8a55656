// CCmdTarget.
#include "fx/cmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
