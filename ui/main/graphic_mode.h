// Plain and skinned looks of the main dialog.
#pragma once

#include <windows.h>

// Switches the look; any non-zero `on` means graphic mode. Stores exactly 0
// or 1 in graphicMode.
void SetGraphicMode(HWND dialog, BYTE on);
// WM_PAINT: TRUE when the skin was painted.
BOOL PaintSkin(HWND dialog);
// WM_CTLCOLORLISTBOX: the brush in graphic mode, null in plain mode.
HBRUSH ColorListBox(HDC listDc);
// On a first run, falls back to plain mode on a display that is not at the
// default font resolution, with a hint. Reads the display itself.
void ApplyFontResolutionRule();
// The same rule for a font resolution given by the caller (0: not reported).
void ApplyFontResolutionRuleAt(WORD logPixels);
// The display's font resolution as the rule sees it (0: not reported).
WORD DisplayLogPixels();
