// The right-click menu of the main dialog.
#pragma once

#include <windows.h>

// Opens the menu with its top left corner at the screen point (x, y) and
// carries out the chosen item. A request from the keyboard comes as
// 65535, 65535; the platform moves the menu onto the screen.
void ShowContextMenu(UINT x, UINT y, HWND dialog);
