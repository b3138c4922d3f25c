// The prompt for a slot's description.
#pragma once

#include <windows.h>

INT_PTR CALLBACK DescriptionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Shows the prompt owned by `owner`. Returns a DESCRIPTION_SIZE heap block
// (release with free) when OK was pressed, null when the prompt was closed
// or could not be shown.
char* AskDescription(HWND owner);
