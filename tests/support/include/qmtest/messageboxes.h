// The one message-box recorder of the tests: while it lives, every
// AfxMessageBox of the process is answered here instead of being shown, and
// its text, style and help id are recorded. Answers are given in the order of
// a list (IDOK once the list runs out), or one answer for every box.
//
//     qmtest::MessageBoxRecorder boxes(IDNO);          // every box: No
//     qmtest::MessageBoxRecorder boxes({IDNO, IDYES}); // first No, then Yes, then OK
#pragma once

#include <fx/app.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

namespace qmtest {

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int nAnswer = IDOK) : m_nDefault(nAnswer) { Install(); }
    explicit MessageBoxRecorder(std::initializer_list<int> answers) : m_answers(answers) { Install(); }
    ~MessageBoxRecorder() { fx::SetMessageBoxHook(m_pfnOld, NULL); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Queues the answer to a later box (before the default answer).
    void Answer(int nAnswer) { m_answers.push_back(nAnswer); }

    // One entry per box, in the order they were asked.
    const std::vector<std::string>& Texts() const { return m_texts; }
    const std::vector<UINT>& Types() const { return m_types; }
    const std::vector<UINT>& HelpIds() const { return m_helpIds; }

private:
    void Install() { m_pfnOld = fx::SetMessageBoxHook(&MessageBoxRecorder::Hook, this); }
    static int Hook(LPCSTR lpszText, UINT nType, UINT nIDHelp, void* pContext)
    {
        MessageBoxRecorder* self = static_cast<MessageBoxRecorder*>(pContext);
        self->m_texts.push_back(lpszText ? lpszText : "");
        self->m_types.push_back(nType);
        self->m_helpIds.push_back(nIDHelp);
        if (self->m_answers.empty())
            return self->m_nDefault;
        int n = self->m_answers.front();
        self->m_answers.pop_front();
        return n;
    }

    int m_nDefault = IDOK;     // the answer once the queued ones are used up
    std::deque<int> m_answers; // answers still to give, first in front
    std::vector<std::string> m_texts;
    std::vector<UINT> m_types;
    std::vector<UINT> m_helpIds;
    fx::MessageBoxHook m_pfnOld = NULL;
};

} // namespace qmtest
