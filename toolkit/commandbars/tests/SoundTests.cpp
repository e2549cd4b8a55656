// The menu sound thread with a recording player in place of the system's.
#include <qx/soundthread.h>

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

std::mutex g_lock;
std::vector<std::pair<std::string, DWORD>> g_played;

BOOL WINAPI RecordPlay(LPCSTR pszSound, HMODULE, DWORD fdwSound)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_played.emplace_back(pszSound ? pszSound : "<purge>", fdwSound);
    return TRUE;
}

size_t PlayedCount()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_played.size();
}

bool WaitFor(size_t n)
{
    for (int i = 0; i < 200 && PlayedCount() < n; i++)
        Sleep(10);
    return PlayedCount() >= n;
}

TEST(MenuSounds, RequestsPlayTheAliasesWithoutDefaultSoundAndStopPurges)
{
    ToolkitSoundThread* pSounds = ToolkitSoundThread::Instance();
    pSounds->SetPlayer(&RecordPlay);
    pSounds->Stop();
    EXPECT_FALSE(pSounds->IsRunning());
    pSounds->Stop(); // no thread: nothing

    pSounds->Play(qxpSoundMenuCommand);
    EXPECT_TRUE(pSounds->IsRunning()) << "the first request starts the worker";
    ASSERT_TRUE(WaitFor(1));
    pSounds->Play(qxpSoundMenuPopup);
    ASSERT_TRUE(WaitFor(2));
    Sleep(30);
    EXPECT_EQ(2u, PlayedCount()) << "each request plays once";

    DWORD dwStart = GetTickCount();
    pSounds->Stop();
    EXPECT_LT(GetTickCount() - dwStart, 1500u);
    EXPECT_FALSE(pSounds->IsRunning());

    std::lock_guard<std::mutex> guard(g_lock);
    ASSERT_EQ(3u, g_played.size());
    EXPECT_EQ("MenuCommand", g_played[0].first);
    EXPECT_EQ((DWORD)(SND_ALIAS | SND_NOWAIT | SND_NODEFAULT), g_played[0].second);
    EXPECT_EQ("MenuPopup", g_played[1].first);
    EXPECT_EQ("<purge>", g_played[2].first);
    EXPECT_EQ((DWORD)SND_PURGE, g_played[2].second);
}

} // namespace
