// Start-up and shutdown around the main dialog, and the embedded font that
// the main dialog draws with.
#pragma once

#define TEMP_FONT_NAME   "temp$$$.ttf"
#define SKIN_FONT_FACE   "Exocet"
#define MAIN_FONT_HEIGHT 13

#define STARTUP_ERROR_CAPTION "Error"
#define FONT_ERROR_TEXT       "Error loading font"
#define COM_ERROR_TEXT        "Unable to initialize COM"
#define CONTROLS_ERROR_TEXT   "Unable to initialize Common Controls 32"

// Writes the font resource to appState.tempFontPath (unless an earlier run
// left it there) and registers it. True when the font is registered.
bool InstallSkinFont();
// Unregisters the font and deletes its file, unless another copy of the
// program still uses it.
void RemoveSkinFont();

// The box of a failed start; the caller then ends the process with -1.
void ShowStartupError(const char* text);

// Everything between a settled save path and the end of the main dialog:
// settings, characters, main font and the dialog itself, then the settings
// written back and those resources and the font released in reverse order.
void RunMainDialog();
