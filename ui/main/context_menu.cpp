#include "ui/main/context_menu.h"

void ShowContextMenu(UINT, UINT, HWND) {}
