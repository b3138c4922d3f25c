#include "app/settings.h"

#include "app/app_state.h"

namespace {

// Both settings calls write the same one-byte value.
void WriteGraphicMode(HKEY key, BYTE mode)
{
    RegSetValueExA(key, GRAPHIC_MODE_VALUE, 0, REG_NONE, &mode, 1);
}

// The stored byte, whatever the value's type; false when the value is
// missing or does not hold exactly one byte (a zero-byte value has no byte
// to take, and a longer one does not fit the one-byte query).
bool ReadGraphicMode(HKEY key, BYTE* mode)
{
    BYTE data = 0;
    DWORD type = 0;
    DWORD size = 1;
    if (RegQueryValueExA(key, GRAPHIC_MODE_VALUE, nullptr, &type, &data, &size) != ERROR_SUCCESS)
        return false;
    if (size != 1)
        return false;
    *mode = data;
    return true;
}

}  // namespace

bool LoadSettings()
{
    HKEY key;
    // Read and write together: a key the user cannot write counts as absent,
    // so a run never shows first-run hints it could not remember.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return false;
    BYTE mode = 0;
    if (ReadGraphicMode(key, &mode)) {
        appState.graphicMode = mode;
        appState.firstRun = 0;
    } else {
        appState.graphicMode = 1;
        appState.firstRun = 1;
        WriteGraphicMode(key, 1);
    }
    RegCloseKey(key);
    return true;
}

bool SaveSettings()
{
    BYTE mode = appState.graphicMode;
    HKEY key;
    // Only opened: the key belongs to the save path, which creates it.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    WriteGraphicMode(key, mode);
    RegCloseKey(key);
    return true;
}
