// fx/cmdtarget.h - CCmdTarget, the base of objects that receive commands
// (threads, the application, windows, documents).
#pragma once
#include "fx/core.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
};
