#include "app/startup.h"

#include <cstring>

#include "app/app_state.h"
#include "app/settings.h"
#include "resource.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "store/journal.h"
#include "ui/main/main_dialog.h"

namespace {

// "<temp dir>\temp$$$.ttf"; the temp directory already ends in a backslash,
// and the doubled separator is harmless. Without a usable temp directory, or
// when the name would not fit, the file goes to the current directory.
void FormTempFontPath()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH &&
        BuildPath(appState.tempFontPath, "%s\\" TEMP_FONT_NAME, temp))
        return;
    memcpy(appState.tempFontPath, TEMP_FONT_NAME, sizeof TEMP_FONT_NAME);
}

// Hidden, because it is only a vehicle for the registration.
bool WriteFontFile(const void* bytes, DWORD size)
{
    // A read-only file is not ours to replace. The system refuses that too,
    // but not for a privileged user everywhere, so it is checked here.
    DWORD attributes = GetFileAttributesA(appState.tempFontPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    HANDLE file = CreateFileA(appState.tempFontPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    if (written != size) {
        CloseHandle(file);
        DeleteFileA(appState.tempFontPath);
        return false;
    }
    FlushFileBuffers(file);
    CloseHandle(file);
    return true;
}

// The embedded font's bytes; a missing resource gives none, so an empty file,
// which the registration refuses.
void LocateFontResource(const void** bytes, DWORD* size)
{
    *bytes = nullptr;
    *size = 0;
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_SKIN_FONT), RT_FONT);
    if (resource) {
        *bytes = LockResource(LoadResource(nullptr, resource));
        *size = SizeofResource(nullptr, resource);
    }
    if (!*bytes)
        *size = 0;
}

// Every copy of the program running at the same time registers the same
// file. Each keeps it open for reading while it runs, without letting it be
// deleted: the copy that ends first then cannot delete the file from under
// the others, whose registration still reads it, and the last one out
// removes it. Reading stays shared, so a copy that starts later can compare
// the bytes, while nobody can rewrite the file under a copy that uses it.
HANDLE heldFontFile = INVALID_HANDLE_VALUE;

void HoldFontFile()
{
    heldFontFile = CreateFileA(appState.tempFontPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
}

void ReleaseFontFile()
{
    if (heldFontFile != INVALID_HANDLE_VALUE)
        CloseHandle(heldFontFile);
    heldFontFile = INVALID_HANDLE_VALUE;
}

// True when the held file holds exactly these bytes.
bool HeldFileHoldsBytes(const void* bytes, DWORD size)
{
    if (heldFontFile == INVALID_HANDLE_VALUE)
        return false;
    const char* expected = static_cast<const char*>(bytes);
    char chunk[4096];
    DWORD compared = 0;
    DWORD got = 0;
    bool same = true;
    while (same && ReadFile(heldFontFile, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        same = got <= size - compared && memcmp(chunk, expected + compared, got) == 0;
        compared += got;
    }
    return same && compared == size;
}

void CreateMainFont()
{
    appState.mainFont = CreateFontA(MAIN_FONT_HEIGHT, 0, 0, 0, FW_DONTCARE, 0, 0, 0, ANSI_CHARSET,
                                    0, 0, 0, 0, SKIN_FONT_FACE);
}

}  // namespace

bool InstallSkinFont()
{
    FormTempFontPath();
    const void* bytes;
    DWORD size;
    LocateFontResource(&bytes, &size);
    // Every run uses the same name, so an earlier run's file is reused as is.
    // The name is plain and fixed, though: a file there may hold another font
    // or an older one, and registering that would draw the window in the
    // wrong face without a word. Only our own bytes are reused; anything else
    // is replaced, or the start fails when it cannot be, as when another
    // copy of the program holds it.
    HoldFontFile();
    if (HeldFileHoldsBytes(bytes, size) && AddFontResourceA(appState.tempFontPath))
        return true;
    ReleaseFontFile();
    if (!WriteFontFile(bytes, size))
        return false;
    HoldFontFile();
    if (AddFontResourceA(appState.tempFontPath))
        return true;
    ReleaseFontFile();
    DeleteFileA(appState.tempFontPath);
    return false;
}

void RemoveSkinFont()
{
    RemoveFontResourceA(appState.tempFontPath);
    ReleaseFontFile();
    // Fails while another copy still holds the file; that one removes it.
    DeleteFileA(appState.tempFontPath);
}

void ShowStartupError(const char* text)
{
    MessageBoxA(nullptr, text, STARTUP_ERROR_CAPTION, MB_OK);
}

void RunMainDialog()
{
    LoadSettings();
    // Before the list is made, so that it shows the slots as they end up.
    RecoverInterrupted(appState.savePath);
    ScanCharacters(appState.savePath, &appState.characters);
    CreateMainFont();
    DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    SaveSettings();
    DeleteObject(appState.mainFont);
    appState.mainFont = nullptr;
    RemoveSkinFont();
    ReleaseStore();
}
