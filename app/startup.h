// Installing the embedded font for the run.
#pragma once

#define TEMP_FONT_NAME  "temp$$$.ttf"

// Writes the font resource to appState.tempFontPath (unless an earlier run
// left it there) and registers it. True when the font is registered.
bool InstallSkinFont();
