// walllimit.h - qmtest::WallLimit: a generous wall-clock limit on one step of
// a test that must end (a search that could run away, a worker that must
// stop), for steps that cannot be moved to a thread and stopped from outside.
//
//     {
//         qmtest::WallLimit limit("FindText .*.*b$", std::chrono::seconds(60));
//         editor.FindText(...);
//     } // the step ended in time
//
// When the step is still running after the limit, the name of the step is
// printed and the test program ends at once with exit code 3, so the test
// fails with that name instead of hanging until the whole run's timeout.
// The limit is no speed assertion: it only tells "ends" from "runs away".
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace qmtest {

class WallLimit {
public:
    WallLimit(std::string what, std::chrono::seconds limit) : m_what(std::move(what))
    {
        m_watcher = std::thread([this, limit] {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_cv.wait_for(lock, limit, [this] { return m_done; }))
                return;
            std::fprintf(stderr, "\nwall limit of %lld s passed, still running: %s\n",
                         static_cast<long long>(limit.count()), m_what.c_str());
            std::fflush(stderr);
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        });
    }
    ~WallLimit()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_cv.notify_all();
        m_watcher.join();
    }
    WallLimit(const WallLimit&) = delete;
    WallLimit& operator=(const WallLimit&) = delete;

private:
    std::string m_what;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
    std::thread m_watcher;
};

} // namespace qmtest
