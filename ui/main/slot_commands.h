// The Save Slot command: the store's save with the description prompt.
#pragma once

#include <windows.h>

void SaveSlot(int slot, HWND dialog);
