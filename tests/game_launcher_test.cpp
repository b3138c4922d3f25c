// Switching to the game: a running game's window is brought up, otherwise
// the command line recorded in the game's registry key is run. A small
// stand-in program that leaves a marker file plays the game.
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
// The stand-in leaves its marker well within this; a start that should not
// happen is given as long before the test calls it absent.
const DWORD kStartTimeoutMs = 10000;
const DWORD kNoStartWaitMs = 1500;

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
        UnregisterClassA(GAME_WINDOW_CLASS, GetModuleHandleA(nullptr));
        UnregisterClassA(kOtherClass, GetModuleHandleA(nullptr));
        ClearAllKeys();
        RemoveTree(dir);
    }

    // A command line that starts the stand-in, which writes `text` into the marker.
    std::string GameCommand(const std::string& text = "game") const
    {
        return "\"" + ProgramDirectory() + "\\write_marker.exe\" \"" + marker + "\" " + text;
    }

    // The stand-in's text, or kNotStarted when it has not run within the wait.
    std::string StartedWith(DWORD waitMs) const
    {
        DWORD start = GetTickCount();
        while (!FileExists(marker)) {
            if (GetTickCount() - start > waitMs)
                return kNotStarted;
            Sleep(20);
        }
        return ReadBytes(marker);
    }

    // A normal, not maximised top-level window of this class and title.
    HWND OpenWindow(const char* className, const char* title)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 40, 40, 320, 240,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        windows.push_back(window);
        return window;
    }

    static constexpr const char* kOtherClass = "Some Other Program";
    std::string dir;
    std::string marker;
    std::vector<HWND> windows;
};

TEST_F(GameLauncher, RunningGameIsShownMaximisedAndNothingIsStarted)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, GameCommand());
    HWND game = OpenWindow(GAME_WINDOW_CLASS, GAME_WINDOW_TITLE);
    ASSERT_TRUE(game);
    ASSERT_FALSE(IsZoomed(game));

    ActivateGame();

    EXPECT_TRUE(IsZoomed(game));
    EXPECT_TRUE(IsWindowVisible(game));
    EXPECT_EQ(StartedWith(kNoStartWaitMs), kNotStarted);
}

TEST_F(GameLauncher, WindowTitledLikeTheGameOfAnotherClassDoesNotCount)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, GameCommand("from the user key"));
    HWND impostor = OpenWindow(kOtherClass, GAME_WINDOW_TITLE);
    ASSERT_TRUE(impostor);

    ActivateGame();

    EXPECT_EQ(StartedWith(kStartTimeoutMs), "from the user key");
    EXPECT_FALSE(IsZoomed(impostor));
}

TEST_F(GameLauncher, MachineKeyIsReadOnlyWhenTheUserKeyIsMissing)
{
    SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_PROGRAM_VALUE, GameCommand("from the machine key"));

    ActivateGame();

    EXPECT_EQ(StartedWith(kStartTimeoutMs), "from the machine key");
}

TEST_F(GameLauncher, UserKeyWithoutProgramStartsNothingEvenWhenTheMachineKeyHasOne)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, "C:\\saves");
    SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_PROGRAM_VALUE, GameCommand());

    ActivateGame();

    EXPECT_EQ(StartedWith(kNoStartWaitMs), kNotStarted);
}

TEST_F(GameLauncher, NoGameKeyStartsNothing)
{
    ActivateGame();

    EXPECT_EQ(StartedWith(kNoStartWaitMs), kNotStarted);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE).present);
}

// The command line is run whole, never cut and never with whatever followed
// it in memory, whether or not its writer stored the terminator.
TEST_F(GameLauncher, CommandFillingTheBufferRunsWholeOrNotAtAll)
{
    std::string head = GameCommand("");
    ASSERT_LT(head.size(), 200u);
    std::string longest = head + std::string(MAX_PATH - 1 - head.size(), 'x');
    ASSERT_EQ(longest.size(), 259u);

    SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, REG_SZ, longest);
    ActivateGame();
    EXPECT_EQ(StartedWith(kStartTimeoutMs), longest.substr(head.size()));
    DeleteFileA(marker.c_str());

    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, longest);
    ActivateGame();
    EXPECT_EQ(StartedWith(kStartTimeoutMs), longest.substr(head.size()));
    DeleteFileA(marker.c_str());

    // One byte more, with no terminator in the buffer: refused.
    SetValue(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, REG_SZ, longest + "y");
    ActivateGame();
    EXPECT_EQ(StartedWith(kNoStartWaitMs), kNotStarted);
    DeleteFileA(marker.c_str());

    // Longer still: the read itself fails.
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_PROGRAM_VALUE, longest + "yyyy");
    ActivateGame();
    EXPECT_EQ(StartedWith(kNoStartWaitMs), kNotStarted);
}

}  // namespace
