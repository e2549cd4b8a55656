// dragovertarget.h - the drop target of windows that only look on while data
// is dragged over them (a tab under the data brings its pane or document
// forward: pane tabs, auto-hide tabs and document tabs); nothing is ever
// dropped on them.
#pragma once

#include <fx/fx.h>
#include <fx/oledrop.h>

// Entering is a move like any other; OnDragOver says what happens under the
// point and answers DROPEFFECT_NONE.
class DragOverTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        return OnDragOver(pWnd, pData, dwKeyState, point);
    }
};
