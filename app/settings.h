// The tool's own settings under HKEY_LOCAL_MACHINE "Software\Slotkeeper".
#pragma once

#define SETTINGS_KEY       "Software\\Slotkeeper"
#define GRAPHIC_MODE_VALUE "Graphic Mode Enabled"
#define SAVE_PATH_VALUE    "Diablo 2 Save Path"

// Reads "Graphic Mode Enabled" into graphicMode, creating it on a first run.
// False only when the key cannot be opened.
bool LoadSettings();
// Writes graphicMode back. False only when the key cannot be opened.
bool SaveSettings();
