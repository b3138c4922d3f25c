#include "ui/main/game_launcher.h"

#include <windows.h>

#include "store/game.h"

namespace {

// The game's key under the current user wins as soon as it opens, even when
// it lacks the value sought; the machine-wide key is only the fallback.
bool OpenGameKey(HKEY* key)
{
    if (RegOpenKeyExA(HKEY_CURRENT_USER, GAME_KEY, 0, KEY_READ, key) == ERROR_SUCCESS)
        return true;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, GAME_KEY, 0, KEY_READ, key) == ERROR_SUCCESS;
}

// The registry keeps a string's terminator only when its writer stored one.
// A value that fills the whole buffer without one would be cut, and a cut
// command line starts something else: it is refused.
bool ReadGameProgram(char (&program)[MAX_PATH])
{
    HKEY key;
    if (!OpenGameKey(&key))
        return false;
    DWORD type;
    DWORD size = MAX_PATH;
    LONG result = RegQueryValueExA(key, GAME_PROGRAM_VALUE, nullptr, &type,
                                   reinterpret_cast<BYTE*>(program), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    if (size < MAX_PATH) {
        program[size] = '\0';
        return true;
    }
    return program[MAX_PATH - 1] == '\0';
}

}  // namespace

void ActivateGame()
{
    HWND game = FindWindowA(GAME_WINDOW_CLASS, GAME_WINDOW_TITLE);
    if (game) {
        ShowWindow(game, SW_SHOWMAXIMIZED);
        return;
    }
    char program[MAX_PATH];
    if (ReadGameProgram(program))
        WinExec(program, SW_SHOW);
}
