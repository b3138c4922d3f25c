#include "ui/main/graphic_mode.h"
#include "app/app_state.h"

void SetGraphicMode(HWND, BYTE on) { appState.graphicMode = on ? 1 : 0; }
BOOL PaintSkin(HWND) { return FALSE; }
HBRUSH ColorListBox(HDC) { return nullptr; }
void ApplyFontResolutionRule() {}
WORD DisplayLogPixels() { return 0; }
