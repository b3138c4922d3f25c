#include "ui/main/slot_commands.h"

void SaveSlot(int, HWND) {}
