// The main dialog IDD_MAIN: the character list and the slot buttons.
#pragma once

#include <windows.h>

struct CharacterEntry;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void InitMainDialog(HWND dialog);
