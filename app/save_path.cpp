#include "app/save_path.h"

#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "app/settings.h"
#include "store/game.h"

namespace {

// savePath = a heap copy of `path`, trailing backslashes and all.
void SetSavePath(const char* path)
{
    size_t size = strlen(path) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (!copy)
        return;
    memcpy(copy, path, size);
    appState.savePath = copy;
}

// Reads a path value into `path` only when it arrives whole and terminated.
// A value that fills all 260 bytes without a zero byte would leave `path`
// unterminated, so it counts as absent; on any failure `path` keeps what it
// held before.
bool ReadPathValue(HKEY key, const char* name, char (&path)[MAX_PATH])
{
    char data[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return false;
    if (!memchr(data, '\0', sizeof data))
        return false;
    memcpy(path, data, sizeof data);
    return true;
}

bool ReadStoredSavePath(char (&path)[MAX_PATH])
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool read = ReadPathValue(key, SAVE_PATH_VALUE, path);
    RegCloseKey(key);
    return read;
}

// The game records its path for the user first and for the machine second.
void ReadGameSavePath(char (&path)[MAX_PATH])
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, GAME_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, GAME_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    ReadPathValue(key, GAME_SAVE_PATH_VALUE, path);
    RegCloseKey(key);
}

// The search finds no entry for a name with a trailing backslash, so the
// test strips them. Wildcards would let the search match some other entry.
bool SavePathExists(const char* path)
{
    if (strpbrk(path, "*?"))
        return false;
    char bare[MAX_PATH];
    memcpy(bare, path, strlen(path) + 1);
    size_t length = strlen(bare);
    while (length > 0 && bare[length - 1] == '\\')
        bare[--length] = '\0';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(bare, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

void ConfirmOrBrowse(const char* proposal)
{
    if (proposal[0] == '\0') {
        BrowseForSavePath();
        return;
    }
    if (MessageBoxA(nullptr, proposal, SAVE_PATH_QUESTION_CAPTION, MB_YESNO) == IDYES)
        SetSavePath(proposal);
    else
        BrowseForSavePath();
}

// The value holds the characters without a terminating zero. The platform
// would count a zero that directly follows the data as the terminator, so
// the characters go from a copy that is followed by a non-zero byte.
void StoreSavePath()
{
    size_t length = strlen(appState.savePath);
    if (length >= MAX_PATH)
        return;
    char data[MAX_PATH + 1];
    memcpy(data, appState.savePath, length);
    data[length] = '\x01';
    HKEY key;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, SAVE_PATH_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(length));
    RegCloseKey(key);
}

void WarnAboutRunningGame()
{
    MessageBoxA(nullptr, RUNNING_GAME_WARNING_TEXT, RUNNING_GAME_WARNING_CAPTION,
                MB_OK | MB_ICONEXCLAMATION);
}

bool ConfirmQuit()
{
    return MessageBoxA(nullptr, QUIT_QUESTION_TEXT, QUIT_QUESTION_CAPTION, MB_YESNO) == IDYES;
}

// The folder's file-system path; false for a virtual folder that has none.
bool TakeFolderPath(PIDLIST_ABSOLUTE item, char (&path)[MAX_PATH])
{
    path[0] = '\0';
    bool found = SHGetPathFromIDListA(item, path) && path[0] != '\0';
    CoTaskMemFree(item);
    return found;
}

}  // namespace

bool DiscoverSavePath()
{
    char path[MAX_PATH] = {};
    if (ReadStoredSavePath(path) && SavePathExists(path)) {
        SetSavePath(path);
        return appState.savePath != nullptr;
    }
    // A stale stored path stays in the buffer as the proposal unless the
    // game offers one of its own.
    ReadGameSavePath(path);
    ConfirmOrBrowse(path);
    if (!appState.savePath)
        return false;
    StoreSavePath();
    WarnAboutRunningGame();
    return true;
}

bool BrowseForSavePath()
{
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.pszDisplayName = displayName;
    info.lpszTitle = BROWSE_TITLE;
    for (;;) {
        PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
        if (!item) {
            if (ConfirmQuit())
                return false;
            continue;
        }
        // A folder without a file-system path cannot hold savegames: ask again.
        char path[MAX_PATH];
        if (TakeFolderPath(item, path)) {
            SetSavePath(path);
            return appState.savePath != nullptr;
        }
    }
}
