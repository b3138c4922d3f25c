// The right-click menu of the main dialog.
#pragma once

#include <windows.h>

void ShowContextMenu(UINT x, UINT y, HWND dialog);
