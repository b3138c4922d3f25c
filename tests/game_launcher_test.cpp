// Switching to the game. A stand-in program that writes its command line
// into a marker file plays the game.
#include <gtest/gtest.h>

#include <string>

#include "store/game.h"
#include "support/files.h"
#include "support/program.h"
#include "support/registry.h"
#include "ui/main/game_launcher.h"

const char kNotStarted[] = "<not started>";

static HWND OpenWindow(const char* className)
{
    WNDCLASSA windowClass = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr),
                             nullptr, nullptr, nullptr, nullptr, className};
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, GAME_WINDOW_TITLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           40, 40, 320, 240, nullptr, nullptr, nullptr, nullptr);
}

class GameLauncher : public ::testing::Test {
protected:
    void SetUp() override { ClearAllKeys(); }
    void TearDown() override { ClearAllKeys(); RemoveTree(dir); }
    // What the stand-in got; an unwanted start is waited for long enough to be seen.
    std::string Activate(bool expectStart)
    {
        DeleteFileA(marker.c_str());
        ActivateGame();
        for (DWORD start = GetTickCount(); !FileExists(marker); Sleep(20))
            if (GetTickCount() - start > (expectStart ? 10000u : 1500u))
                return kNotStarted;
        return ReadBytes(marker);
    }
    std::string dir = MakeTempDir("launch");
    std::string marker = dir + "\\started.txt";
    std::string command = "\"" + ProgramDirectory() + "\\write_marker.exe\" \"" + marker + "\" ";
};

TEST_F(GameLauncher, RunningGameIsMaximisedInsteadOfStartedAndOnlyItsClassCounts)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, command + "started");
    HWND lookAlike = OpenWindow("Some Other Program");
    EXPECT_EQ(Activate(true), "started");
    EXPECT_FALSE(IsZoomed(lookAlike));
    HWND game = OpenWindow(GAME_WINDOW_CLASS);
    EXPECT_FALSE(IsZoomed(game));
    EXPECT_EQ(Activate(false), kNotStarted);
    EXPECT_TRUE(IsZoomed(game));
    DestroyWindow(game);
    DestroyWindow(lookAlike);
}

// The user's key wins as soon as it exists, even without the value; a value
// without terminator that fills the buffer would be cut, and is refused.
TEST_F(GameLauncher, CommandComesFromTheUserKeyElseTheMachineKeyAndRunsWholeOrNotAtAll)
{
    EXPECT_EQ(Activate(false), kNotStarted);
    SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_PROGRAM_VALUE, command + "machine");
    EXPECT_EQ(Activate(true), "machine");
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, "C:\\saves");
    EXPECT_EQ(Activate(false), kNotStarted);
    std::string longest = command + std::string(MAX_PATH - 1 - command.size(), 'x');
    SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, REG_SZ, longest);
    EXPECT_EQ(Activate(true), longest.substr(command.size()));
    SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, REG_SZ, longest + "y");
    EXPECT_EQ(Activate(false), kNotStarted);
}
