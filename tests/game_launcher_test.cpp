// Switching to the game: a running game's window is brought up, otherwise
// the command line in the game's registry key is run. A stand-in program
// that leaves a marker file plays the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/game.h"
#include "support/files.h"
#include "support/program.h"
#include "support/registry.h"
#include "ui/main/game_launcher.h"

namespace {

const char kNotStarted[] = "<not started>";

class GameLauncher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAllKeys();
        dir = MakeTempDir("launch");
        marker = dir + "\\started.txt";
    }

    void TearDown() override
    {
        for (HWND window : windows)
            DestroyWindow(window);
        for (const char* name : {GAME_WINDOW_CLASS, "Some Other Program"})
            UnregisterClassA(name, GetModuleHandleA(nullptr));
        ClearAllKeys();
        RemoveTree(dir);
    }

    std::string GameCommand(const std::string& text) const
    {
        return "\"" + ProgramDirectory() + "\\write_marker.exe\" \"" + marker + "\" " + text;
    }

    // Activates and returns what the stand-in was started with, if it was.
    // A start that should not happen is waited for long enough to be seen.
    std::string Activate(bool expectStart)
    {
        DeleteFileA(marker.c_str());
        ActivateGame();
        DWORD start = GetTickCount();
        while (!FileExists(marker)) {
            if (GetTickCount() - start > (expectStart ? 10000u : 1500u))
                return kNotStarted;
            Sleep(20);
        }
        return ReadBytes(marker);
    }

    HWND OpenNormalWindow(const char* className)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(0, className, GAME_WINDOW_TITLE, WS_OVERLAPPEDWINDOW, 40, 40,
                                      320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        windows.push_back(window);
        return window;
    }

    std::string dir;
    std::string marker;
    std::vector<HWND> windows;
};

TEST_F(GameLauncher, RunningGameIsMaximisedInsteadOfStartedAndOnlyItsClassCounts)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, GameCommand("started"));
    HWND lookAlike = OpenNormalWindow("Some Other Program");
    ASSERT_TRUE(lookAlike);
    EXPECT_EQ(Activate(true), "started");
    EXPECT_FALSE(IsZoomed(lookAlike));

    HWND game = OpenNormalWindow(GAME_WINDOW_CLASS);
    ASSERT_TRUE(game);
    ASSERT_FALSE(IsZoomed(game));
    EXPECT_EQ(Activate(false), kNotStarted);
    EXPECT_TRUE(IsZoomed(game));
    EXPECT_TRUE(IsWindowVisible(game));
}

// The user's key wins as soon as it exists, even without the value.
TEST_F(GameLauncher, MachineKeyCountsOnlyWithoutAUserKey)
{
    EXPECT_EQ(Activate(false), kNotStarted);

    SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_PROGRAM_VALUE, GameCommand("machine"));
    EXPECT_EQ(Activate(true), "machine");

    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, "C:\\saves");
    EXPECT_EQ(Activate(false), kNotStarted);
}

// A value without its terminator is run as written, never with whatever
// followed it in memory; one that fills the whole buffer would be cut, and
// is refused.
TEST_F(GameLauncher, CommandFillingTheBufferRunsWholeOrNotAtAll)
{
    std::string head = GameCommand("");
    std::string longest = head + std::string(MAX_PATH - 1 - head.size(), 'x');

    SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, REG_SZ, longest);
    EXPECT_EQ(Activate(true), longest.substr(head.size()));

    SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, REG_SZ, longest + "y");
    EXPECT_EQ(Activate(false), kNotStarted);
}

}  // namespace
