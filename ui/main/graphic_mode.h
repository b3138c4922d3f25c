// Plain and skinned looks of the main dialog.
#pragma once

#include <windows.h>

// Switches the look; any non-zero `on` means graphic mode.
void SetGraphicMode(HWND dialog, BYTE on);
// WM_PAINT: TRUE when the skin was painted.
BOOL PaintSkin(HWND dialog);
// WM_CTLCOLORLISTBOX: the brush in graphic mode, null in plain mode.
HBRUSH ColorListBox(HDC listDc);
// On a first run, falls back to plain mode on a display that is not at the
// default font resolution, with a hint.
void ApplyFontResolutionRule();
// The display's font resolution as the rule sees it (0: not reported).
WORD DisplayLogPixels();
