// docchildframe.h - what the child frames of the extra documents share.
//
// While it exists, such a frame is a member of the main frame's list of open
// child frames. When it gets the focus it comes to the top of the z-order,
// becomes the current child frame and passes the focus to its active view.
// Frames made with bMaximizeFirst show maximized when they open into an MDI
// client that holds no other child window.
#pragma once

#include <fx/fx.h>

class CExtraDocFrame : public CMDIChildWnd {
    DECLARE_DYNAMIC(CExtraDocFrame)
public:
    explicit CExtraDocFrame(BOOL bMaximizeFirst = TRUE) : m_bMaximizeFirst(bMaximizeFirst) {}

    void ActivateFrame(int nCmdShow = -1) override;

    // TRUE when no other child window shares the MDI client with this frame.
    BOOL IsOnlyChild() const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

    BOOL m_bMaximizeFirst;
};
